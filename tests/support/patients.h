#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// The companion patient-record database for tests and the demo clinic: 640-byte data records
// over filler bytes (the fields this program knows written in), and 48-byte index entries.
namespace patients {

struct Patient {
    QByteArray nam, nom, prenom, naissance, sexe, adresse, ville, codePostal, expiration, sequence;
    QByteArray dernier09001;  // yyyymmdd, or blank
};

// A data record: `remplissage` everywhere else, a 4-byte binary value at columns 625-628.
QByteArray enregistrement(const Patient& p, char remplissage);
// An index entry: surname, first name, the data record's number (32-bit little-endian), 4 bytes.
QByteArray entree(const QByteArray& nom, const QByteArray& prenom, qint32 numero);

// Writes Patient/KPDBFIL.FIL with `fiches` and, for each, an entry in its NAM's index file
// (plus the extra entries given), under the program folder `programme`.
void creer(const QString& programme, const QList<QByteArray>& fiches,
           const QList<QPair<QString, QByteArray>>& entreesEnPlus = {});

}  // namespace patients
