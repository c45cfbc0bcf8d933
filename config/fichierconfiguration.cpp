#include "config/fichierconfiguration.h"

#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"
#include "platform/horloge.h"
#include "records/encodage.h"

#include <QFile>
#include <functional>
#include <variant>
#include <vector>

namespace fichierconfiguration {

namespace {

using Champ = std::variant<int, QString>;

// One statement: fields separated by commas, texts quoted, ended by CR LF.
QByteArray instruction(const std::vector<Champ>& champs) {
    QByteArray ligne;
    for (size_t i = 0; i < champs.size(); ++i) {
        if (i > 0)
            ligne += ',';
        if (const int* n = std::get_if<int>(&champs[i]))
            ligne += QByteArray::number(*n);
        else
            ligne += '"' + encodage::versOctets(std::get<QString>(champs[i])) + '"';
    }
    return ligne + "\r\n";
}

// Reads fields one by one as Basic's Input # does. A field that is read but holds what it
// should not (a text where a number belongs) is thrown, or, when `mauvaisChamp` is given, told
// to it and read as `defaut`; a file that ends early or a text left open always throws.
class Lecteur {
public:
    Lecteur(QByteArray octets, QString nomFichier,
            std::function<void(const ErreurConfiguration&)> mauvaisChamp = {})
        : octets_(std::move(octets)), nomFichier_(std::move(nomFichier)), mauvaisChamp_(std::move(mauvaisChamp)) {}

    QString texte(const QString& nomChamp) { return encodage::depuisOctets(jeton(nomChamp).valeur); }

    int entier(const QString& nomChamp, int defaut) {
        const Jeton j = jeton(nomChamp);
        bool ok = false;
        const int n = QString::fromLatin1(j.valeur).trimmed().toInt(&ok);
        if (!ok || j.guillemets) {
            mauvais(echec(nomChamp, QStringLiteral("un nombre entier est attendu, le fichier contient « %1 ».")
                                        .arg(encodage::depuisOctets(j.valeur))));
            return defaut;
        }
        return n;
    }

private:
    struct Jeton {
        QByteArray valeur;
        bool guillemets = false;
    };

    bool blanc(char c) const { return c == ' ' || c == '\t'; }
    bool finDeLigne(char c) const { return c == '\r' || c == '\n'; }

    Jeton jeton(const QString& nomChamp) {
        ++numero_;
        const int n = octets_.size();
        while (i_ < n && (blanc(octets_[i_]) || finDeLigne(octets_[i_])))
            ++i_;
        if (i_ >= n)
            throw echec(nomChamp, QStringLiteral("le fichier se termine avant ce champ."));
        Jeton j;
        if (octets_[i_] == '"') {
            j.guillemets = true;
            const int fin = octets_.indexOf('"', i_ + 1);
            if (fin < 0)
                throw echec(nomChamp, QStringLiteral("le texte n'est pas fermé par un guillemet."));
            j.valeur = octets_.mid(i_ + 1, fin - i_ - 1);
            i_ = fin + 1;
            while (i_ < n && octets_[i_] != ',' && !finDeLigne(octets_[i_]))
                ++i_;
        } else {
            const int debut = i_;
            while (i_ < n && octets_[i_] != ',' && !finDeLigne(octets_[i_]))
                ++i_;
            j.valeur = octets_.mid(debut, i_ - debut).trimmed();
            // Such a text could never be written back in quotes: refused here, named.
            if (j.valeur.contains('"')) {
                mauvais(echec(nomChamp, QStringLiteral("un guillemet se trouve dans un champ qui "
                                                       "n'est pas entre guillemets.")));
                j.valeur.clear();
            }
        }
        if (i_ < n && octets_[i_] == ',')
            ++i_;
        else if (i_ < n && octets_[i_] == '\r' && i_ + 1 < n && octets_[i_ + 1] == '\n')
            i_ += 2;
        else if (i_ < n)
            ++i_;
        return j;
    }

    void mauvais(const ErreurConfiguration& e) const {
        if (!mauvaisChamp_)
            throw e;
        mauvaisChamp_(e);
    }

    ErreurConfiguration echec(const QString& nomChamp, const QString& raison) const {
        const QString champ = QStringLiteral("Champ numéro %1 (%2) : %3").arg(numero_).arg(nomChamp, raison);
        return ErreurConfiguration(
            QStringLiteral("Le fichier de configuration %1 n'est pas valide.\n\n%2\n\n"
                           "Veuillez vous rendre dans Fichier et Initialisation afin de corriger "
                           "la configuration.")
                .arg(nomFichier_, champ),
            false, champ);
    }

    QByteArray octets_;
    QString nomFichier_;
    std::function<void(const ErreurConfiguration&)> mauvaisChamp_;
    int i_ = 0;
    int numero_ = 0;
};

QString nomCaractere(int i) { return QString(QChar(48 + i)); }

}  // namespace

QString chemin(const QString& programme) {
    return dossiers::resoudre(programme, QStringLiteral("Kestrova.Cfg"));
}

void ecrire(const QString& cheminFichier, const Configuration& c, Groupement groupement) {
    QByteArray contenu = instruction({c.version});
    contenu += instruction(std::vector<Champ>(c.PoidsNAM.begin(), c.PoidsNAM.end()));
    // The 43 character values by character group: digits, signs, A-I, J-R, S-Z.
    int debut = 0;
    for (const int taille : {10, 7, 9, 9, 8}) {
        contenu += instruction(std::vector<Champ>(c.ValeursCaracteres.begin() + debut,
                                                  c.ValeursCaracteres.begin() + debut + taille));
        debut += taille;
    }
    for (const Optometriste& o : c.Optometristes)
        contenu += instruction({o.nom, o.professionnel, o.groupe});
    for (const QString& e : c.Etablissements)
        contenu += instruction({e});
    // Fee statements: six pairs a line (entries 25 and 26 share the fifth), or one a line.
    std::vector<int> tailles;
    if (groupement == Groupement::ParSix)
        tailles = {6, 6, 6, 6, 2, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6};
    else
        tailles.assign(Configuration::NombrePrix, 1);
    int entree = 0;
    for (const int taille : tailles) {
        std::vector<Champ> champs;
        for (int k = 0; k < taille; ++k, ++entree) {
            champs.emplace_back(c.TableDesPrix[entree].code);
            champs.emplace_back(c.TableDesPrix[entree].prix);
        }
        contenu += instruction(champs);
    }
    Q_ASSERT(entree == Configuration::NombrePrix);

    fichiers::ecrireAtomique(cheminFichier, contenu);
}

namespace {

// Every field in order into `c`; `prixInvalide` is told of each entry in use whose price is not
// six characters long, by its index.
void lireChamps(Lecteur& l, Configuration& c, const std::function<void(int)>& prixInvalide) {
    c.version = l.texte(QStringLiteral("version"));
    for (int i = 0; i < Configuration::NombrePoids; ++i)
        c.PoidsNAM[i] = l.entier(QStringLiteral("poids %1 du numéro d'assurance maladie").arg(i + 1), c.PoidsNAM[i]);
    for (int i = 0; i < Configuration::NombreValeurs; ++i)
        c.ValeursCaracteres[i] =
            l.entier(QStringLiteral("valeur du caractère « %1 »").arg(nomCaractere(i)), c.ValeursCaracteres[i]);
    for (int i = 0; i < Configuration::NombreOptometristes; ++i) {
        Optometriste& o = c.Optometristes[i];
        o.nom = l.texte(QStringLiteral("nom de l'optométriste %1").arg(i + 1));
        o.professionnel = l.texte(QStringLiteral("numéro de professionnel de l'optométriste %1").arg(i + 1));
        o.groupe = l.texte(QStringLiteral("numéro de groupe de l'optométriste %1").arg(i + 1));
    }
    for (int i = 0; i < Configuration::NombreEtablissements; ++i)
        c.Etablissements[i] = l.texte(QStringLiteral("établissement %1").arg(i + 1));
    for (int i = 0; i < Configuration::NombrePrix; ++i) {
        EntreePrix& p = c.TableDesPrix[i];
        p.code = l.texte(QStringLiteral("code d'acte de l'entrée %1").arg(i + 1));
        p.prix = l.texte(QStringLiteral("prix de l'entrée %1").arg(i + 1));
        if (p.enUsage() && p.prix.size() != 6)
            prixInvalide(i);
    }
}

}  // namespace

Configuration lire(const QString& cheminFichier) {
    Lecteur l(fichiers::lire(cheminFichier), QStringLiteral("Kestrova.Cfg"));
    Configuration c;
    lireChamps(l, c, [](int) {
        throw ErreurConfiguration(
            QStringLiteral("Le fichier de configuration au niveau des prix n'est pas valide."
                           "\n\nLe logiciel doit s'arrêter."),
            true);
    });
    return c;
}

Lecture lirePartielle(const QString& cheminFichier) {
    Lecture r;
    Configuration& c = r.configuration;
    c = Configuration::parDefaut();
    // What is not read bills nobody: no optometrist slot, no point of service in use.
    for (int i = 0; i < Configuration::NombreOptometristes; ++i)
        c.Optometristes[i] = {QStringLiteral("%1e Optométriste ").arg(i + 1), QStringLiteral("000000"),
                              QStringLiteral("00000")};
    for (QString& e : c.Etablissements)
        e = QStringLiteral("Vide  00000");
    QStringList illisibles;
    Lecteur l(fichiers::lire(cheminFichier), QStringLiteral("Kestrova.Cfg"),
              [&](const ErreurConfiguration& e) { illisibles << e.champ(); });
    QStringList prix;
    try {
        lireChamps(l, c, [&](int i) {
            prix << QStringLiteral("entrée %1 (%2) : « %3 »").arg(i + 1).arg(c.TableDesPrix[i].code, c.TableDesPrix[i].prix);
        });
    } catch (const ErreurConfiguration& e) {
        r.nonLu = e.champ();
    }
    r.illisibles = illisibles;
    if (!prix.isEmpty())
        r.prixInvalides = prix;
    return r;
}

QString conserverAncien(const QString& cheminFichier) {
    const QByteArray ancien = fichiers::lire(cheminFichier);
    QString copie = cheminFichier + QStringLiteral(".ancien");
    if (dossiers::FichierExiste(copie) && fichiers::lire(copie) != ancien)
        copie += Horloge::maintenant().toString(QStringLiteral("-yyyyMMdd-HHmmss"));
    fichiers::ecrireAtomique(copie, ancien);
    return copie;
}

Ancienne lireAncienne(const QString& cheminFichier) {
    Lecteur l(fichiers::lire(cheminFichier), QStringLiteral("Kestrova.Cfg"));
    Ancienne a;
    try {
        a.version = l.texte(QStringLiteral("version"));
        for (int i = 0; i < Configuration::NombrePoids + Configuration::NombreValeurs; ++i)
            l.texte(QStringLiteral("table du numéro d'assurance maladie, valeur %1").arg(i + 1));
        for (int i = 0; i < Configuration::NombreOptometristes; ++i) {
            Optometriste o;
            o.nom = l.texte(QStringLiteral("nom de l'optométriste %1").arg(i + 1));
            o.professionnel = l.texte(QStringLiteral("numéro de professionnel de l'optométriste %1").arg(i + 1));
            o.groupe = l.texte(QStringLiteral("numéro de groupe de l'optométriste %1").arg(i + 1));
            a.optometristes[i] = o;
        }
        for (int i = 0; i < Configuration::NombreEtablissements; ++i)
            a.etablissements[i] = l.texte(QStringLiteral("établissement %1").arg(i + 1));
    } catch (const ErreurConfiguration& e) {
        a.nonLu = e.texte();
    }
    return a;
}

QString lireVersion(const QString& cheminFichier) {
    Lecteur l(fichiers::lire(cheminFichier), QStringLiteral("Kestrova.Cfg"));
    return l.texte(QStringLiteral("version"));
}

}  // namespace fichierconfiguration

void CreerConfigurationParDefaut(const QString& programme) {
    fichierconfiguration::ecrire(fichierconfiguration::chemin(programme),
                                 Configuration::parDefaut(),
                                 fichierconfiguration::Groupement::ParSix);
}

Configuration ChargerConfiguration(const QString& programme) {
    return fichierconfiguration::lire(fichierconfiguration::chemin(programme));
}
