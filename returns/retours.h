#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>

class PortDialogue;

// The agency's return files: error returns ("ER...rmq") and statements of account
// ("EC...rmq"), text lines of fixed columns, kept in Sauvramq and worked on in the work folder.
namespace retours {

enum class Genre { Aucun, Erreur, Etat };

// The kind of a file by its name: "ER" or "EC" at the start and ".rmq" in it (case ignored).
Genre genre(const QString& nom);

// The lines of a file, without their line ends.
QList<QByteArray> lignes(const QByteArray& contenu);
// The same lines as views into `contenu`, handed to `f` in order until it returns false: a
// large return is read without a copy of each line.
template <typename F>
void pourChaqueLigne(QByteArrayView contenu, F&& f) {
    qsizetype debut = 0;
    while (debut < contenu.size()) {
        qsizetype fin = contenu.indexOf('\n', debut);
        if (fin < 0)
            fin = contenu.size();
        QByteArrayView ligne = contenu.sliced(debut, fin - debut);
        if (ligne.endsWith('\r'))
            ligne.chop(1);
        if (!f(ligne))
            return;
        debut = fin + 1;
    }
}
// A statement record stored behind " 16" or " 17" loses that prefix.
QByteArray sansPrefixe(const QByteArray& ligne);
QByteArrayView sansPrefixe(QByteArrayView ligne);
// Columns `colonne`.. (1-based) of a line, as bytes; what the line lacks is empty.
inline QByteArrayView colonnes(QByteArrayView ligne, int colonne, int largeur) {
    const qsizetype debut = colonne - 1;
    return debut >= ligne.size() ? QByteArrayView() : ligne.sliced(debut, std::min<qsizetype>(largeur, ligne.size() - debut));
}
// The same, decoded.
QString champ(QByteArrayView ligne, int colonne, int largeur);

// Columns `colonne`.. holding an amount in cents, as "#,###.00" with every digit kept.
QString montant(QByteArrayView ligne, int colonne, int largeur);

// The processing date of an error return: 1 January plus `jours` days, in the current year
// unless that falls more than 31 days after `aujourdhui` (a return of late December fetched in
// January), then in the year before. Invalid when `jours` is not a number.
QDate dateTraitement(const QString& jours, QDate aujourdhui);
// "20" + yy + "/" + mm + "/" + dd of a six-digit yymmdd; blank when it is not six digits.
QString dateAaMmJj(const QString& aammjj);
// The short date form of the lists and reports ("2026-12-07").
QString dateCourte(QDate date);

// One row of a returns list.
struct Resume {
    QString fichier, date, attestation, nombre, montant, paiement;
    QStringList colonnes() const { return {fichier, date, attestation, nombre, montant, paiement}; }
};
// The row of a return file from its name and bytes; a missing or short record leaves its cells
// blank or zero.
Resume resumer(const QString& nom, const QByteArray& contenu, QDate aujourdhui);

// Sauvramq of the program folder (created when missing).
QString dossierArchives(const QString& programme);

// The kept files of one kind in Sauvramq, in name order, each with its row. A file that cannot
// be read gets a row of its name alone.
QList<Resume> listerArchives(const QString& programme, Genre genre, QDate aujourdhui);

// The name under which a return received as `nom` with these bytes is filed in Sauvramq:
// `nom` itself when no file there has that name or the file there has the same bytes;
// otherwise the first of "ER1-2.rmq", "ER1-3.rmq"... (a number put before ".rmq" of the kept
// file's name, as it is spelt) that is free or already holds them. The kept file is never
// replaced; the new name keeps the kind and sorts next to the old one.
QString nomDeClassement(const QString& programme, const QString& nom, const QByteArray& octets);

// Files `source` into Sauvramq under its own name: copied atomically when absent, left when the
// kept copy has the same bytes. Another file of that name with other bytes is never replaced:
// ErreurFichier (58) naming it. Other failures are ErreurFichier as well.
void deposer(const QString& programme, const QString& source);

// Asks, then deletes the named files of Sauvramq. False when the user cancelled.
bool retirerArchives(const QString& programme, const QStringList& noms, PortDialogue& dialogues);

// Asks when some fetched return is not printed yet (`nonImprimes`), then deletes the plain files
// directly inside the work folder (its sub-folders are left). False when the user keeps the window.
bool fermer(const QString& programme, bool nonImprimes, PortDialogue& dialogues);

}  // namespace retours
