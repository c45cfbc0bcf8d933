#include "config/fichierini.h"

#include "platform/erreurs.h"
#include "platform/fichiers.h"
#include "records/encodage.h"
#include "records/fichierenregistrements.h"

#include <QFileInfo>
#include <optional>

namespace {

// A line of the file, without its end.
struct Ligne {
    QByteArray texte;
    std::optional<QString> section() const {
        const QByteArray t = texte.trimmed();
        if (!t.startsWith('[') || !t.contains(']'))
            return std::nullopt;
        return encodage::depuisOctets(t.mid(1, t.indexOf(']') - 1).trimmed());
    }
    std::optional<QString> cle() const {
        const qsizetype egal = texte.indexOf('=');
        if (egal < 0 || texte.trimmed().startsWith(';'))
            return std::nullopt;
        return encodage::depuisOctets(texte.left(egal).trimmed());
    }
    QString valeur() const {
        QByteArray v = texte.mid(texte.indexOf('=') + 1).trimmed();
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.mid(1, v.size() - 2);
        return encodage::depuisOctets(v);
    }
};

const QByteArray Bom = "\xEF\xBB\xBF";

// The lines of the file, after a leading byte-order mark.
QList<Ligne> lignes(const QByteArray& fichier) {
    QList<Ligne> resultat;
    for (const QByteArray& l : fichiers::lignes(fichier.startsWith(Bom) ? fichier.mid(Bom.size()) : fichier))
        resultat.append({l});
    return resultat;
}

// The line end the file uses; CR LF for a new one, as the profile-string calls write.
QByteArray finDeLigne(const QByteArray& fichier) {
    if (fichier.contains("\r\n") || (!fichier.contains('\n') && !fichier.contains('\r')))
        return "\r\n";
    return fichier.contains('\n') ? "\n" : "\r";
}

bool meme(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

}  // namespace

FichierIni::FichierIni(QString chemin, QString section) : chemin_(std::move(chemin)), section_(std::move(section)) {}

QString FichierIni::lire(const QString& cle, const QString& defaut) const {
    if (!QFileInfo(chemin_).isFile())
        return defaut;
    QByteArray octets;
    try {
        octets = fichiers::lire(chemin_);
    } catch (const ErreurFichier&) {
        return defaut;  // as the profile-string call reads an unreadable file
    }
    bool dedans = false;
    for (const Ligne& l : lignes(octets)) {
        if (const auto s = l.section())
            dedans = meme(*s, section_);
        else if (const auto c = l.cle(); dedans && c && meme(*c, cle))
            return l.valeur();
    }
    return defaut;
}

void FichierIni::ecrire(const QString& cle, const QString& valeur) { ecrire({{cle, valeur}}); }

void FichierIni::ecrire(const QList<QPair<QString, QString>>& valeurs) {
    try {
        fichiers::reecrireSousVerrou(chemin_, FichierEnregistrements::delaiVerrouMs, [&](const QByteArray& actuel) {
            return avecValeurs(actuel, section_, valeurs);
        });
    } catch (const ErreurFichier& e) {
        if (echec_.isEmpty())
            echec_ = QStringLiteral("Erreur numéro: %1\n%2").arg(e.numero()).arg(erreurs::texte(e));
    }
}

QByteArray FichierIni::avecValeurs(const QByteArray& fichier, const QString& section,
                                   const QList<QPair<QString, QString>>& valeurs) {
    const QByteArray fin = finDeLigne(fichier);
    QList<Ligne> l = lignes(fichier);
    for (const auto& [cle, valeur] : valeurs) {
        const QByteArray nouvelle = encodage::versOctets(cle) + '=' + encodage::versOctets(valeur);
        qsizetype debut = -1, apres = -1, trouvee = -1;
        for (qsizetype i = 0; i < l.size() && trouvee < 0; ++i) {
            if (const auto s = l[i].section()) {
                if (debut >= 0)
                    break;
                if (meme(*s, section))
                    debut = apres = i + 1;
            } else if (debut >= 0 && !l[i].texte.trimmed().isEmpty()) {
                apres = i + 1;
                if (const auto c = l[i].cle(); c && meme(*c, cle))
                    trouvee = i;
            }
        }
        if (trouvee >= 0)
            l[trouvee].texte = nouvelle;
        else if (debut >= 0)
            l.insert(apres, {nouvelle});
        else
            l << Ligne{'[' + encodage::versOctets(section) + ']'} << Ligne{nouvelle};
    }
    QByteArray resultat = fichier.startsWith(Bom) ? Bom : QByteArray();
    for (const Ligne& x : l)
        resultat += x.texte + fin;
    return resultat;
}
