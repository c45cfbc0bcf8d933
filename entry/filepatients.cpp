#include "entry/filepatients.h"

#include "entry/verifications.h"
#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichierbrut.h"
#include "platform/fichiers.h"
#include "records/champs.h"
#include "records/encodage.h"
#include "records/fileattente.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QThread>
#include <algorithm>
#include <variant>
#include <QRegularExpression>

namespace filepatients {

namespace {

const QString TitreImportation = QStringLiteral("Importation de fichier");

// The lines of a text file, whatever their ends; blank lines left out, with their numbers.
QList<QPair<int, QByteArray>> lignes(const QByteArray& texte) {
    QList<QPair<int, QByteArray>> resultat;
    int numero = 0;
    for (const QByteArray& ligne : fichiers::lignes(texte))
        if (++numero, !ligne.trimmed().isEmpty())
            resultat.append({numero, ligne});
    return resultat;
}

QString nam(const QByteArray& enregistrement) {
    return fileattente::champ(enregistrement, fileattente::Nam).trimmed();
}

// Every record of `tout` that `garder` keeps, in order.
QByteArray garder(const QByteArray& tout, const std::function<bool(const QByteArray&, int)>& garde) {
    QByteArray reste;
    for (qsizetype p = 0; p + fileattente::Longueur <= tout.size(); p += fileattente::Longueur) {
        const QByteArray e = tout.mid(p, fileattente::Longueur);
        if (garde(e, static_cast<int>(p / fileattente::Longueur) + 1))
            reste += e;
    }
    return reste;
}

}  // namespace

FichierEnregistrements fichier(const QString& programme) {
    return FichierEnregistrements(dossiers::resoudre(programme, QStringLiteral("MdiTmp.Dat")),
                                  fileattente::Longueur);
}

QString cheminImportation(const QString& programme) {
    return dossiers::resoudre(programme, QStringLiteral("PavoRamq.Txt"));
}

int nombre(const QString& programme) { return fichier(programme).nombre(); }

std::optional<QByteArray> enregistrementDeLigne(const QByteArray& ligne) {
    QList<QByteArray> valeurs;
    qsizetype debut = 0;
    for (int k = 1; k < fileattente::NombreChamps; ++k) {
        const qsizetype fin = ligne.indexOf(';', debut);
        if (fin < 0)
            return std::nullopt;
        valeurs << ligne.mid(debut, fin - debut);
        debut = fin + 1;
    }
    valeurs << ligne.mid(debut);
    return fileattente::construire(valeurs);
}

QString cheminTravail(const QString& programme) {
    return dossiers::resoudre(programme, QStringLiteral("PavoRamq.Imp"));
}

namespace {

const QString TitreFacture = QStringLiteral("Importation de facture");

struct Travail {
    int importes = 0;  // appended to the queue
    int dejaEnFile = 0;  // of a work file left by a stop: found in the queue already
    int ligneMalFormee = 0;  // the lines before it in the file may be queued (`importes`)
};

// The records of the work file's lines, or the number of its first malformed line.
std::variant<QByteArray, int> enregistrementsDe(const QByteArray& lu, int lignesAvant) {
    QByteArray enregistrements;
    for (const auto& [numero, ligne] : lignes(lu)) {
        const auto e = enregistrementDeLigne(ligne);
        if (!e)
            return lignesAvant + numero;
        enregistrements += *e;
    }
    return enregistrements;
}

void annoncerMalFormee(int numero, const QString& chemin, PortDialogue& d) {
    d.message(Icone::Critique, TitreImportation,
              QStringLiteral("Erreur de lecture de fichier\n\nLa ligne %1 du fichier %2 n'a "
                             "pas ses douze champs séparés par « ; ». Aucun nom n'a été "
                             "importé; corrigez le fichier puis importez-le de nouveau.")
                  .arg(numero)
                  .arg(QDir::toNativeSeparators(chemin)));
}

// Appends the records a stopped import did not, in one rewrite under the queue's lock: each
// record of `enregistrements` found in the queue counts once as queued already.
Travail ajouterManquants(const QString& programme, const QByteArray& enregistrements) {
    Travail t;
    fichier(programme).reecrire([&](const QByteArray& tout) {
        t = {};
        QHash<QByteArray, int> enFile;
        const QByteArray entiers = tout.left(tout.size() - tout.size() % fileattente::Longueur);
        garder(entiers, [&](const QByteArray& e, int) { return ++enFile[e], false; });
        QByteArray manquants;
        garder(enregistrements, [&](const QByteArray& e, int) {
            if (enFile.value(e) > 0) {
                --enFile[e];
                ++t.dejaEnFile;
            } else {
                manquants += e;
                ++t.importes;
            }
            return false;
        });
        return entiers + manquants;  // a record cut by a stop mid-append is dropped
    });
    return t;
}

// Queues the lines of the work file and removes it, under its lock; `laisse` when a stop left
// it (its lines are matched against the queue). Nothing when another workstation finished it
// meanwhile.
std::optional<Travail> terminer(const QString& programme, bool laisse, const SuiviImportation& suivi) {
    const QString chemin = cheminTravail(programme);
    const auto verrouille = std::make_unique<FichierBrut>(chemin, FichierBrut::Mode::LectureEcriture);
    if (!verrouille->verrouiller(FichierEnregistrements::delaiVerrouMs))
        throw ErreurFichier(erreurs::PermissionRefusee,
                            QStringLiteral("Une importation est en cours sur un autre poste de travail."), chemin);
    if (!verrouille->toujoursAuChemin())
        return std::nullopt;  // finished by the workstation that held it
    if (suivi)
        suivi(EtapeImportation::Verrouille);
    // A product that keeps the file open goes on writing into the work file: its lines are
    // queued in further rounds until the file stops growing. After the first round only whole
    // lines are taken, unless the product has stopped writing in the middle of one.
    Travail t;
    qint64 lus = 0;
    int lignesLues = 0;
    for (;;) {
        const qint64 taille = verrouille->taille();
        if (taille <= lus)
            break;
        QByteArray morceau = verrouille->lire(lus, taille - lus);
        const qsizetype finDerniere = std::max(morceau.lastIndexOf('\n'), morceau.lastIndexOf('\r'));
        if (lus > 0 && finDerniere + 1 < morceau.size()) {
            QThread::msleep(50);
            if (verrouille->taille() != taille) {
                if (finDerniere < 0)
                    continue;
                morceau.truncate(finDerniere + 1);
            }
        }
        const auto lu = enregistrementsDe(morceau, lignesLues);
        if (const int* numero = std::get_if<int>(&lu)) {
            t.ligneMalFormee = *numero;
            return t;
        }
        const QByteArray& enregistrements = std::get<QByteArray>(lu);
        if (suivi && lus == 0)
            suivi(EtapeImportation::Lu);
        if (laisse) {
            const Travail manquants = ajouterManquants(programme, enregistrements);
            t.importes += manquants.importes;
            t.dejaEnFile += manquants.dejaEnFile;
        } else if (!enregistrements.isEmpty()) {
            fichier(programme).ajouter(enregistrements);
            t.importes += static_cast<int>(enregistrements.size() / fileattente::Longueur);
        }
        lus += morceau.size();
        lignesLues += static_cast<int>(fichiers::lignes(morceau).size());
    }
    if (suivi)
        suivi(EtapeImportation::Ajoute);
    fichiers::supprimer(chemin);
    fichiers::synchroniserDossier(QFileInfo(chemin).absolutePath());
    return t;
}

void annoncerReprise(const Travail& t, PortDialogue& d) {
    QString texte = QStringLiteral("Une importation interrompue a été terminée.\n\n%1 noms ont été importés pour "
                                   "préparation de factures")
                        .arg(t.importes);
    if (t.dejaEnFile > 0)
        texte += QStringLiteral("; %1 qui étaient déjà dans la file n'ont pas été importés de nouveau").arg(t.dejaEnFile);
    d.message(Icone::Information, TitreImportation, texte + QLatin1Char('.'));
}

void erreurLecture(const ErreurFichier& e, PortDialogue& d) {
    d.message(Icone::Critique, TitreImportation,
              QStringLiteral("Erreur de lecture de fichier\n\n%1\n%2").arg(erreurs::texte(e)).arg(e.numero()));
}

// Finishes the work file a stop left, if any; false when it is malformed (kept, and named).
bool reprendre(const QString& programme, PortDialogue& d, bool& annonce) {
    if (!dossiers::FichierExiste(cheminTravail(programme)))
        return true;
    const auto t = terminer(programme, true, {});
    if (t && t->ligneMalFormee) {
        annoncerMalFormee(t->ligneMalFormee, cheminTravail(programme), d);
        return false;
    }
    if (t) {
        annoncerReprise(*t, d);
        annonce = true;
    }
    return true;
}

}  // namespace

void reprendreImportation(const QString& programme, PortDialogue& d) {
    bool annonce = false;
    try {
        reprendre(programme, d, annonce);
    } catch (const ErreurFichier& e) {
        erreurLecture(e, d);
    }
}

int importer(const QString& programme, PortDialogue& d, const SuiviImportation& suivi) {
    const QString chemin = cheminImportation(programme);
    bool annonce = false;
    try {
        if (!reprendre(programme, d, annonce))
            return 0;
        if (!dossiers::FichierExiste(chemin)) {
            if (!annonce)
                d.message(Icone::Exclamation, TitreFacture,
                          QStringLiteral("Aucun nom à importer pour la préparation des factures."));
            return 0;
        }
        if (!fichiers::renommerSansRemplacer(chemin, cheminTravail(programme)))
            throw erreurs::erreur(erreurs::PermissionRefusee, cheminTravail(programme));
        if (suivi)
            suivi(EtapeImportation::Renomme);
        const auto t = terminer(programme, false, suivi);
        if (!t)
            return 0;
        if (t->ligneMalFormee) {
            // Back under its own name when nothing of it was queued, unless the outside product
            // has started a new file; otherwise the next import finishes it.
            const bool rendu =
                t->importes == 0 && fichiers::renommerSansRemplacer(cheminTravail(programme), chemin);
            annoncerMalFormee(t->ligneMalFormee, rendu ? chemin : cheminTravail(programme), d);
            return 0;
        }
        d.message(Icone::Information, TitreImportation,
                  QStringLiteral(" %1 noms ont été importés pour préparation de factures").arg(t->importes));
        return t->importes;
    } catch (const ErreurFichier& e) {
        erreurLecture(e, d);
        return 0;
    }
}

std::optional<EnFile> lire(const QString& programme, int numero) {
    const FichierEnregistrements f = fichier(programme);
    if (numero < 1 || numero > f.nombre())
        return std::nullopt;
    return EnFile{numero, f.lire(numero)};
}

std::optional<EnFile> chercher(const QString& programme, const QString& tape) {
    const QString t = tape.trimmed().toUpper();
    if (t.isEmpty())
        return std::nullopt;
    const bool numeroDeDossier = champs::queDesChiffres(t);
    if (nombre(programme) == 0)
        return std::nullopt;
    const QByteArray tout = fichiers::lire(fichier(programme).chemin());
    for (qsizetype p = 0; p + fileattente::Longueur <= tout.size(); p += fileattente::Longueur) {
        const QByteArray e = tout.mid(p, fileattente::Longueur);
        const bool parNam = fileattente::champ(e, fileattente::Nam).toUpper().contains(t);
        const QString dossier = fileattente::champ(e, fileattente::Dossier).trimmed();
        const bool parDossier = numeroDeDossier && !dossier.isEmpty() && champs::valeur(dossier) == champs::valeur(t);
        if (parNam || parDossier)
            return EnFile{static_cast<int>(p / fileattente::Longueur) + 1, e};
    }
    return std::nullopt;
}

QList<tableur::Colonne> colonnes() {
    return tableur::colonnes({QStringLiteral("Dossier"), QStringLiteral("NAM"), QStringLiteral("Nom"),
                              QStringLiteral("Prénom"), QStringLiteral("Examen"), QStringLiteral("Fiche")},
                             {{QStringLiteral("Examen"), tableur::Colonne::Genre::Date},
                              {QStringLiteral("Fiche"), tableur::Colonne::Genre::Nombre}});
}

QList<EnFile> tous(const QString& programme) {
    QList<EnFile> liste;
    if (nombre(programme) == 0)
        return liste;
    const QByteArray tout = fichiers::lire(fichier(programme).chemin());
    garder(tout, [&](const QByteArray& e, int numero) {
        liste.append({numero, e});
        return false;
    });
    return liste;
}

QStringList rangee(const EnFile& p) {
    using namespace fileattente;
    const QString examen = champ(p.enregistrement, Examen);
    return {champ(p.enregistrement, Dossier).trimmed(), champ(p.enregistrement, Nam).trimmed(),
            champ(p.enregistrement, Nom).trimmed(), champ(p.enregistrement, Prenom).trimmed(),
            examen.left(4) + QLatin1Char('/') + examen.mid(4, 2) + QLatin1Char('/') + examen.mid(6, 2),
            QString::number(p.numero)};
}

QString questionRetrait(const QByteArray& e) {
    using namespace fileattente;
    return QStringLiteral("Veuillez confirmer le retrait de \n") + champ(e, Nam) + QStringLiteral("\nDossier: ") +
           champ(e, Dossier) + QLatin1Char('\n') + champ(e, Nom) + QLatin1Char(' ') + champ(e, Prenom);
}

Identite identite(const QByteArray& e) {
    using namespace fileattente;
    Identite i;
    i.nam = champ(e, Nam).toUpper();
    i.nom = NettoyerTexte(champ(e, Nom).toUpper());  // the names pass the store as typed ones do
    i.prenom = NettoyerTexte(champ(e, Prenom).toUpper());
    i.naissance = champ(e, Naissance);
    i.masculin = champ(e, Sexe).toUpper() != QLatin1String("F");
    i.adresse = NettoyerTexte(champ(e, Adresse).toUpper());
    i.ville = NettoyerTexte(champ(e, Ville).toUpper());
    i.codePostal = champ(e, CodePostal).toUpper();
    i.sequenceCarte = champ(e, SequenceCarte);
    i.expirationCarte = champ(e, ExpirationCarte);
    i.examen = champ(e, Examen);
    return i;
}

void retirer(const QString& programme, const EnFile& charge) {
    fichier(programme).reecrire([&](const QByteArray& tout) {
        int aRetirer = 0;
        garder(tout, [&](const QByteArray& e, int numero) {
            if (e == charge.enregistrement && (aRetirer == 0 || numero == charge.numero))
                aRetirer = numero;
            return true;
        });
        return garder(tout, [&](const QByteArray&, int numero) { return numero != aRetirer; });
    });
}

int retirerNam(const QString& programme, const QString& n) {
    fichier(programme).reecrire([&](const QByteArray& tout) {
        return garder(tout, [&](const QByteArray& e, int) { return nam(e) != n.trimmed(); });
    });
    return nombre(programme);
}

int apresEnregistrement(const QString& programme, const EnFile& charge, bool afficheConserveInfo,
                        PortDialogue& d) {
    const int n = nombre(programme);
    if (n > 1 && afficheConserveInfo &&
        d.question(Icone::Question, QStringLiteral("Conserver les informations"),
                   QStringLiteral("Désirez-vous conserver les information pour une deuxième facture ?"),
                   Boutons::OuiNon, 1) == Reponse::Oui)
        return n;
    retirer(programme, charge);
    return nombre(programme);
}

QString legendeSuivante(int n) { return QStringLiteral("Préparer la facture suivante... ( %1 )").arg(n); }

}  // namespace filepatients
