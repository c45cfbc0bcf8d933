#pragma once
#include <QDate>
#include <QDateTime>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Lists written for a spreadsheet, in two formats. CSV: UTF-8 with a byte-order mark, ";" between
// fields (what a French-Canadian spreadsheet opens directly), a header row of the column
// captions, amounts with a decimal comma and no thousands separator, dates as yyyy-mm-dd; it
// carries no types, so a spreadsheet guesses them. Excel workbook (.xlsx): the same cells typed,
// codes as text (leading zeros kept), amounts and counts as numbers, dates as dates, under a bold
// and frozen header row, each column as wide as its content.
class PortDialogue;

namespace tableur {

struct Colonne {
    enum class Genre {
        Texte,    // codes and words, kept as text; an amount as a list shows it ("1,234.56", "$ 1,234.56", ".00") is one
        Montant,
        Cents,    // a stored field of whole cents: "002855"
        Date,     // "yyyy/mm/dd", "yyyy-mm-dd", "yyyymmdd" or "yymmdd" (20yy); blank or zero, no date
        Nombre,   // a count: a whole number
    };
    QString entete;
    Genre genre = Genre::Texte;
};

// One cell as both formats write it: its kind, its CSV text, its value.
struct Cellule {
    enum class Sorte { Vide, Texte, Entier, Montant, Date };
    Sorte sorte = Sorte::Vide;
    QString texte;
    qint64 valeur = 0;  // the whole number, or the amount in cents
    QDate date;
};
Cellule cellule(Colonne::Genre genre, const QString& texte);

// The rows under their columns; a row shorter than the columns is padded with empty cells.
QByteArray csv(const QList<Colonne>& colonnes, const QList<QStringList>& rangees);
// The same as a workbook of one sheet named `feuille`. Throws ErreurFichier when the scratch
// files it is built in cannot be written.
QByteArray xlsx(const QList<Colonne>& colonnes, const QList<QStringList>& rangees, const QString& feuille);

enum class Format { Csv, Xlsx };
// The file types of the save dialog, in the order of Format, and the extension of each.
QStringList typesDeFichier();
QString extension(Format format);
QByteArray octets(Format format, const QList<Colonne>& colonnes, const QList<QStringList>& rangees,
                  const QString& feuille);

// Columns of the given captions, all of one kind unless listed in `genres` by caption.
QList<Colonne> colonnes(const QStringList& entetes,
                        const QList<QPair<QString, Colonne::Genre>>& genres = {});

// The name proposed for an export of the list `liste` ("Compte rendu.csv") made at `moment`:
// "Compte rendu 2026-12-08 14h05.csv".
QString nomDExportation(const QString& liste, const QDateTime& moment);
// `chemin` ending in the extension of `format`, added when it does not.
QString avecExtension(const QString& chemin, Format format);
// Asks where to save the list and in which format, proposing the name of `nomPropose` and the
// moment, and writes it there atomically; the outcome is told through `d`. True when written.
bool exporter(const QString& nomPropose, const QList<Colonne>& colonnes, const QList<QStringList>& rangees,
              PortDialogue& d);

}  // namespace tableur
