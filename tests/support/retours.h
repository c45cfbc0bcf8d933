#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <initializer_list>
#include <utility>

// Return files of the agency built from their layouts: every field at its columns.
namespace retour {

// The lines joined with carriage return and line feed.
QByteArray fichier(const QList<QByteArray>& lignes);

// Error return.
QByteArray entete(const QString& attestation, const QString& jours);
QByteArray erreur(const QString& attestation, const QString& professionnel, const QString& rang,
                  const QString& message, const QString& code);
// The same line naming its invoice by its NCE as well.
QByteArray erreur(const QString& attestation, const QString& professionnel, const QString& nce,
                  const QString& rang, const QString& message, const QString& code);
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

namespace retour {
// A statement record: its two-character code, then each text at its column (columns of the
// record, before the " 16" prefix that is put in front).
QByteArray etat(const char* code, std::initializer_list<std::pair<int, QByteArray>> champs, int longueur = 60);
// A detail line "13": counter, request, reception, act, beneficiary, transaction code, message
// code, amount in cents, attestation.
QByteArray detail(const QString& compteur, const QString& demande, const QString& acte,
                  const QString& message, qint64 montant, const QString& attestation = "9034042");
}  // namespace retour
