#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// Return files of the agency built from their layouts: every field at its columns.
namespace retour {

// The lines joined with carriage return and line feed.
QByteArray fichier(const QList<QByteArray>& lignes);

// Error return.
QByteArray entete(const QString& attestation, const QString& jours);
QByteArray erreur(const QString& attestation, const QString& professionnel, const QString& rang,
                  const QString& message, const QString& code);
QByteArray professionnel(const QString& numero, int soumises, int valides, int refusees,
                         int annulees, qint64 honoraires);
QByteArray explication(const QString& type, const QString& texte, const QString& numero,
                       const QString& portee);
QByteArray totaux(int erreurs, int soumises, int valides, int refusees, int annulees,
                  qint64 honoraires);

// The "00" record of a statement, stored behind " 16".
QByteArray etat00(const QString& agence, const QString& paiement, const QString& date,
                  const QString& coupure);

}  // namespace retour
