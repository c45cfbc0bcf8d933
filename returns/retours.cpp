#include "returns/retours.h"

#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"
#include "records/champs.h"
#include "records/encodage.h"
#include "records/procedures.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>
#include <optional>

namespace retours {

Genre genre(const QString& nom) {
    if (!nom.contains(QLatin1String(".rmq"), Qt::CaseInsensitive))
        return Genre::Aucun;
    if (nom.startsWith(QLatin1String("ER"), Qt::CaseInsensitive))
        return Genre::Erreur;
    if (nom.startsWith(QLatin1String("EC"), Qt::CaseInsensitive))
        return Genre::Etat;
    return Genre::Aucun;
}

QList<QByteArray> lignes(const QByteArray& contenu) {
    QList<QByteArray> l = contenu.split('\n');
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    for (QByteArray& ligne : l)
        if (ligne.endsWith('\r'))
            ligne.chop(1);
    return l;
}

QByteArray sansPrefixe(const QByteArray& ligne) {
    return ligne.startsWith(" 16") || ligne.startsWith(" 17") ? ligne.mid(3) : ligne;
}

QByteArrayView sansPrefixe(QByteArrayView ligne) {
    return ligne.startsWith(" 16") || ligne.startsWith(" 17") ? ligne.sliced(3) : ligne;
}

QString champ(QByteArrayView ligne, int colonne, int largeur) {
    return encodage::depuisOctets(colonnes(ligne, colonne, largeur));
}

QString montant(QByteArrayView ligne, int colonne, int largeur) {
    return formatMontant(champs::valeur(colonnes(ligne, colonne, largeur).toByteArray()), true);
}

QDate dateTraitement(const QString& jours, QDate aujourdhui) {
    bool nombre = false;
    const int n = jours.trimmed().toInt(&nombre);
    if (!nombre || n < 0)
        return {};
    const QDate date = QDate(aujourdhui.year(), 1, 1).addDays(n);
    return date > aujourdhui.addDays(31) ? QDate(aujourdhui.year() - 1, 1, 1).addDays(n) : date;
}

QString dateCourte(QDate date) {
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

namespace {

// A count as a whole number ("000012" -> "12"); blanks read as zero.
QString entier(QByteArrayView ligne, int colonne, int largeur) {
    return QString::number(champs::valeur(colonnes(ligne, colonne, largeur).toByteArray()));
}

// The first line that begins with the three characters `code`: each line's start compared in
// place, the line feeds found by memchr; none when no line does.
std::optional<QByteArrayView> premiereLigne(QByteArrayView contenu, const char* code) {
    const char* const fin = contenu.data() + contenu.size();
    for (const char* l = contenu.data(); l < fin;) {
        const char* const saut = static_cast<const char*>(std::memchr(l, '\n', fin - l));
        const char* const finLigne = saut ? saut : fin;
        if (finLigne - l >= 3 && std::memcmp(l, code, 3) == 0) {
            QByteArrayView ligne(l, finLigne - l);
            if (ligne.endsWith('\r'))
                ligne.chop(1);
            return ligne;
        }
        if (!saut)
            break;
        l = saut + 1;
    }
    return std::nullopt;
}

void resumerErreur(Resume& r, QByteArrayView contenu, QDate aujourdhui) {
    if (const auto entete = premiereLigne(contenu, " 21")) {
        r.date = dateCourte(dateTraitement(champ(*entete, 13, 3), aujourdhui));
        r.attestation = champ(*entete, 4, 7).trimmed();
    }
    if (const auto totaux = premiereLigne(contenu, " 28")) {
        r.nombre = entier(*totaux, 23, 6);
        r.montant = montant(*totaux, 41, 9);  // all nine digits of the fees
    }
}

}  // namespace

QString dateAaMmJj(const QString& aammjj) {
    if (!champs::chiffres(aammjj, 6))
        return {};
    return QStringLiteral("20") + aammjj.left(2) + QLatin1Char('/') + aammjj.mid(2, 2) +
           QLatin1Char('/') + aammjj.mid(4, 2);
}

namespace {

void resumerEtat(Resume& r, QByteArrayView contenu) {
    pourChaqueLigne(contenu, [&](QByteArrayView ligne) {
        const QByteArrayView enregistrement = sansPrefixe(ligne);
        if (!enregistrement.startsWith("00"))
            return true;
        r.date = dateAaMmJj(champ(enregistrement, 17, 6));
        r.paiement = champ(enregistrement, 15, 2).trimmed();
        return false;
    });
}

}  // namespace

Resume resumer(const QString& nom, const QByteArray& contenu, QDate aujourdhui) {
    Resume r;
    r.fichier = nom;
    switch (genre(nom)) {
    case Genre::Erreur: resumerErreur(r, contenu, aujourdhui); break;
    case Genre::Etat: resumerEtat(r, contenu); break;
    case Genre::Aucun: break;
    }
    return r;
}

QString dossierArchives(const QString& programme) {
    return dossiers::creerDossier(programme, QStringLiteral("Sauvramq"));
}

QList<Resume> listerArchives(const QString& programme, Genre g, QDate aujourdhui) {
    const QString dossier = dossiers::resoudre(programme, QStringLiteral("Sauvramq"));
    QList<Resume> l;
    if (!QFileInfo(dossier).isDir())
        return l;
    const QString motif = g == Genre::Erreur ? QStringLiteral("ER*") : QStringLiteral("EC*");
    for (const QString& nom : dossiers::chercher(dossier, motif)) {
        if (genre(nom) != g || !QFileInfo(QDir(dossier).filePath(nom)).isFile())
            continue;
        QByteArray contenu;
        try {
            contenu = fichiers::lire(QDir(dossier).filePath(nom));
        } catch (const ErreurFichier&) {
            // An unreadable kept file is still listed, so that it can be seen and removed.
        }
        l << resumer(nom, contenu, aujourdhui);
    }
    return l;
}

namespace {
// "ER1.rmq" with "-n" put before its ".rmq" ("ER1-2.rmq").
QString numerote(const QString& nom, int n) {
    qsizetype fin = nom.lastIndexOf(QLatin1String(".rmq"), -1, Qt::CaseInsensitive);
    if (fin < 0)
        fin = nom.size();
    return nom.left(fin) + QLatin1Char('-') + QString::number(n) + nom.mid(fin);
}

// True when `chemin` is free or already holds `octets`.
bool libreOuIdentique(const QString& chemin, const QByteArray& octets) {
    return !QFileInfo::exists(chemin) || fichiers::lire(chemin) == octets;
}
}  // namespace

QString nomDeClassement(const QString& programme, const QString& nom, const QByteArray& octets) {
    const QString dossier = dossierArchives(programme);
    const QString garde = dossiers::resoudre(dossier, nom);
    if (libreOuIdentique(garde, octets))
        return nom;
    // Numbered after the kept file's own spelling, so that the two sort together.
    const QString base = QFileInfo(garde).fileName();
    for (int n = 2;; ++n)
        if (const QString candidat = numerote(base, n); libreOuIdentique(dossiers::resoudre(dossier, candidat), octets))
            return candidat;
}

void deposer(const QString& programme, const QString& source) {
    const QString nom = QFileInfo(source).fileName();
    const QByteArray octets = fichiers::lire(source);
    const QString cible = dossiers::resoudre(dossierArchives(programme), nom);
    if (QFileInfo::exists(cible)) {
        if (fichiers::lire(cible) == octets)
            return;
        throw ErreurFichier(erreurs::FichierExistant,
                            QStringLiteral("Le dossier des archives garde déjà un fichier %1 dont le "
                                           "contenu est différent; il n'a pas été remplacé.")
                                .arg(nom),
                            cible);
    }
    fichiers::ecrireAtomique(cible, octets);
}

namespace {
// Deletes each file; a file already gone is passed over. The failures, named.
QStringList supprimerTous(const QStringList& chemins) {
    QStringList echecs;
    for (const QString& chemin : chemins) {
        try {
            fichiers::supprimer(chemin);
        } catch (const ErreurFichier& e) {
            if (e.numero() != erreurs::FichierIntrouvable)
                echecs << erreurs::texte(e);
        }
    }
    return echecs;
}
}  // namespace

bool retirerArchives(const QString& programme, const QStringList& noms, PortDialogue& d) {
    if (d.question(Icone::Question, QStringLiteral("Effacer"),
                   QStringLiteral("Veuillez confirmer le retrait du ou des fichiers sélectionnés ?"),
                   Boutons::OkAnnuler, 1) != Reponse::Ok)
        return false;
    const QString dossier = dossiers::resoudre(programme, QStringLiteral("Sauvramq"));
    QStringList chemins;
    for (const QString& nom : noms)
        chemins << dossiers::resoudre(dossier, nom);
    const QStringList echecs = supprimerTous(chemins);
    if (!echecs.isEmpty())
        d.message(Icone::Critique, QStringLiteral("Effacer"), echecs.join(QLatin1Char('\n')));
    return true;
}

bool fermer(const QString& programme, bool nonImprimes, PortDialogue& d) {
    if (nonImprimes &&
        d.question(Icone::Question, QStringLiteral("Sortie"),
                   QStringLiteral("Il y a au moins un message qui n'a pas été imprimé.\n\n"
                                  "Êtes vous certain de vouloir fermer cette feuille ?"),
                   Boutons::OuiNon, 1) != Reponse::Oui)
        return false;
    QStringList chemins;
    for (const QFileInfo& f : QDir(dossiers::dossierTravail(programme))
                                  .entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks))
        chemins << f.absoluteFilePath();
    const QStringList echecs = supprimerTous(chemins);
    // What could not be deleted is told; the window closes all the same, every return being
    // kept in Sauvramq.
    if (!echecs.isEmpty())
        d.message(Icone::Critique, QStringLiteral("Sortie"), echecs.join(QLatin1Char('\n')));
    return true;
}

}  // namespace retours
