#pragma once
#include <QDateTime>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Lists written for a spreadsheet: CSV in UTF-8 with a byte-order mark, ";" between fields (what
// a French-Canadian spreadsheet opens directly), a header row of the column captions, amounts
// with a decimal comma and no thousands separator, dates as yyyy-mm-dd.
class PortDialogue;

namespace tableur {

struct Colonne {
    enum class Genre {
        Texte,    // an amount as a list shows it ("1,234.56", "$ 1,234.56", ".00") is one
        Montant,
        Cents,    // a stored field of whole cents: "002855"
        Date,     // "yyyy/mm/dd", "yyyymmdd" or "yymmdd" (20yy)
    };
    QString entete;
    Genre genre = Genre::Texte;
};

// A whole number of cents and its decimal-comma text; a text that is no amount stays as it is.
QString montant(const QString& texte);
QString cents(const QString& texte);
QString date(const QString& texte);

// The rows under their columns; a row shorter than the columns is padded with empty fields.
QByteArray csv(const QList<Colonne>& colonnes, const QList<QStringList>& rangees);

// Columns of the given captions, all of one kind unless listed in `genres` by caption.
QList<Colonne> colonnes(const QStringList& entetes,
                        const QList<QPair<QString, Colonne::Genre>>& genres = {});

// The name proposed for an export of the list `liste` ("Compte rendu.csv") made at `moment`:
// "Compte rendu 2026-12-08 14h05.csv".
QString nomDExportation(const QString& liste, const QDateTime& moment);
// Asks where to save the list, proposing the name of `nomPropose` and the moment, and writes the
// CSV there atomically; the outcome is told through `d`. True when written.
bool exporter(const QString& nomPropose, const QList<Colonne>& colonnes, const QList<QStringList>& rangees,
              PortDialogue& d);

}  // namespace tableur
