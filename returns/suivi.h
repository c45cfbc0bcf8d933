#pragma once
#include "platform/tableur.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class PortDialogue;

// The follow-up of the sent invoices: every invoice of the kept payment-request files, met with
// the sending log, the error returns and the statements kept in Sauvramq, and the re-billings
// marked in Sauvramq/Suivi.Dat; what the agency accepted, refused and paid, invoice by invoice.
//
// How the numbers meet: an attestation number names one preparation, so one kept file. An error
// line names its invoice by its position in the sending, which is the record's number in that
// file, and by its NCE, which is the record's invoice number; the two must name the same record.
// A statement detail line names it by the attestation and the payment-request number, whose
// last four digits are the invoice number (its first column is shared with the indicator).
namespace suivi {

enum class Etat { Preparee, Envoyee, SansReponse, Acceptee, Refusee, Payee, Refacturee, AVerifier };
// "Préparée", "Envoyée", "Sans réponse", "Acceptée", "Refusée", "Payée", "Refacturée", "À vérifier".
QString texte(Etat e);
const QList<Etat>& etats();

// Days after the sending past which a billing without an error return is unanswered.
constexpr int DelaiReponseJours = 7;
// Days of the default period of the date of service.
constexpr int PeriodeParDefautJours = 120;

// One row: an invoice of a kept file, or a return line that names none (`numero` 0).
struct Ligne {
    QString facturation;  // the kept file ("D" + agency + sequence); blank when none holds it
    int numero = 0;       // the record's number in that file, its position in the sending
    QString attestation, nce, nam, nom, prenom;
    QDate dateService;
    QString professionnel;
    QStringList actes;
    qint64 factureCents = 0;
    Etat etat = Etat::Preparee;
    std::optional<qint64> payeCents;  // set once a statement line names it
    QString code, message;
    QDate envoi;            // the last sending of its billing
    QDate refacturee;       // the last re-billing, when marked
    int ficheEnMemoire = 0;  // the record it took in Ftmp.Fil then

    // The cells under `colonnes()`.
    QStringList cellules() const;
};

}  // namespace suivi
// Every member moves as its bytes: lists of rows grow without copying them.
Q_DECLARE_TYPEINFO(suivi::Ligne, Q_RELOCATABLE_TYPE);
namespace suivi {

// The columns of the list, in order: "Facturation" ... "Message".
QList<tableur::Colonne> colonnes();

// Every row, kept files in name order and their invoices in file order, then the return lines
// that name no kept invoice. The reading is linear: each file once, invoices found through an
// index by attestation. `aujourdhui` tells the unanswered billings.
QList<Ligne> lire(const QString& programme, QDate aujourdhui);

struct Filtre {
    QDate du, au;            // the date of service; unset: no bound
    QString professionnel;   // six digits; empty: every one
    std::optional<Etat> etat;
    QString recherche;       // part of the NAM, surname or first name, case ignored
    bool garde(const Ligne& l) const;  // a row without a date of service passes any period
};
// The last 120 days up to `aujourdhui`, every professional, state and name.
Filtre filtreParDefaut(QDate aujourdhui);
QList<Ligne> filtrer(const QList<Ligne>& lignes, const Filtre& f);

struct Total {
    int nombre = 0;
    qint64 cents = 0;
};
struct Totaux {
    Total factures;     // every row shown that is an invoice: amounts billed
    Total acceptees;    // "Acceptée": amounts billed
    Total refusees;     // "Refusée": amounts billed
    Total payees;       // "Payée": amounts paid
    Total enAttente;    // sent, neither refused nor paid: amounts billed
};
Totaux totaliser(const QList<Ligne>& lignes);
// The totals as lines of text ("Facturées : 3 factures, $ 105.00").
QStringList texteTotaux(const Totaux& t);

// Whether a row is work for the clerk: refused, unanswered or to be checked.
bool aTraiter(const Ligne& l);

// --- Re-billing -------------------------------------------------------------------------------

// Sauvramq/Suivi.Dat: one 29-byte record per invoice billed again: attestation (1-7), blank,
// NCE (9-12), blank, date yyyymmdd (14-21), blank, record number in Ftmp.Fil (23-27), CR LF.
constexpr int LongueurMarque = 29;
struct Marque {
    QString attestation, nce;
    QDate date;
    int fiche = 0;
};
QByteArray enregistrementMarque(const Marque& m);
QList<Marque> marques(const QString& programme);  // none when the file is missing
QString cheminMarques(const QString& programme);

// A refused row (or one to check, or already billed again) that names a kept invoice.
bool refacturable(const Ligne& l);

// The kept record as it goes back in memory: state "05", "AJJJSSS" and "0000" in place of the
// attestation and invoice numbers, every other byte as kept.
QByteArray enMemoire(const QByteArray& conserve);

enum class Issue {
    Faite,     // appended to Ftmp.Fil and marked
    Retablie,  // an interrupted re-billing had put it in memory: its mark written, nothing appended
    Annulee,   // the user kept the earlier re-billing
    Refusee,   // not refacturable, changed meanwhile, or a file error: nothing written
};
struct Refacturation {
    Issue issue = Issue::Refusee;
    int fiche = 0;  // its record in Ftmp.Fil, for the history window
};

// Puts the invoice of row `l` back in memory and marks it, as of `aujourdhui`. Asks first when
// it was billed again already (OK/Cancel, Cancel the default). Under Ftmp.Fil's lock, the record
// is appended and flushed, then its mark; a failed mark cuts the record back. A kill between the
// two leaves a record without its mark, which this and `reparer` find by its bytes and mark:
// never two records, never a mark without its record.
Refacturation Refacturer(const QString& programme, const Ligne& l, QDate aujourdhui, PortDialogue& d);

// Marks the records of Ftmp.Fil that an interrupted re-billing left without their mark (each
// one once, to the kept invoice still refused that it copies). Run when the follow-up opens and
// before the commands read it. The number of marks written; nothing when another workstation
// holds Ftmp.Fil.
int reparer(const QString& programme, QDate aujourdhui);

}  // namespace suivi

class Page;
namespace suivi {

// The list as a report, landscape: a title with the period, one line per row (the code and
// message of a refusal or payment on a line of their own under it), the totals at the end.
void imprimer(Page& page, const QList<Ligne>& lignes, const QString& periode);

}  // namespace suivi
