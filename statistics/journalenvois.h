#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "platform/tableur.h"

class PortDialogue;

// The sending log Sauvramq/LstEnvoie.Dat as a list: its 201-byte records read, and lines
// removed from it.
namespace journalenvois {

// The records of the log in order; none when it is missing (nothing is created).
QList<QByteArray> lire(const QString& programme);
// The nine columns of the list, and those of a record: request file, attestation, invoices, amount, date yyyy/mm/dd,
// time, and the three 40-character fields (trimmed).
QList<tableur::Colonne> entetes();
QStringList colonnes(const QByteArray& enregistrement);

enum class Retrait { Fait, Annule, Change, Echec };
// After the question, removes the records at `selection` (0-based positions in `affiches`, the
// records the list shows): under the log's lock, the log as it stands is kept as LstEnvoie.Bak and
// the new log written atomically, only while it still holds exactly `affiches` (otherwise
// nothing is written, the user is told, and the list must be read again).
Retrait retirer(const QString& programme, const QList<QByteArray>& affiches, const QList<int>& selection,
                PortDialogue& d);

}  // namespace journalenvois
