#pragma once
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "platform/tableur.h"

class PortDialogue;

// The billings kept in Sauvramq by their request files ("R" + agency + sequence): their list,
// their date, putting one back online for the next sending, and striking one out.
namespace precedentes {

struct Facturation {
    QString requete, agence, attestation, nombre, montant, demandes;
    QStringList colonnes() const { return {requete, agence, attestation, nombre, montant, demandes}; }
};

// The columns of the list.
QList<tableur::Colonne> colonnes();
// One row from a request file's name and bytes; what a short file lacks is blank.
Facturation lire(const QString& requete, const QByteArray& contenu);
// Every kept request file ("R" + seven digits, case ignored), sorted by name; a file that
// cannot be read is listed with blanks.
QList<Facturation> lister(const QString& programme);

// The date of a billing from its attestation number Y DDD CCC: day DDD of the latest year not
// after `aujourdhui` whose last digit is Y. Invalid when the number is not one.
QDate date(const QString& attestation, QDate aujourdhui);
// "Facturation en date du  dd mmmm yyyy" with the French month name; blank for an invalid date.
QString texteDate(QDate date);

// Copies the billing's request file to Reqt and to the program folder, and its payment-request
// file to the program folder, each atomically; the outcome is told through `d`. True when done.
bool remettreEnLigne(const QString& programme, const Facturation& f, PortDialogue& d);
// After the question, deletes the request and payment-request files from Sauvramq and the copy
// of the payment-request file from the program folder; a file already absent counts as
// deleted. True when the billing is struck out.
bool rayer(const QString& programme, const Facturation& f, PortDialogue& d);

}  // namespace precedentes
