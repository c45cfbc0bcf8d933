#pragma once
#include <QByteArray>
#include <QDate>
#include <QString>
#include <functional>

class PortDialogue;

// Preparation of the files sent to the agency: the payment-request file D + agency + sequence,
// the request file R + agency + sequence (both in Sauvramq), its copy Reqt, the advanced
// counters of Facturat.Lex, the backup Ftmp.Bak and the emptied Ftmp.Fil.
namespace preparation {

constexpr int LongueurAgence = 128;
constexpr int LongueurRequete = 163;
constexpr char FinDeFichier = 26;

// The five values the preparation window keeps in Label2 (indexes 0 to 4).
struct Valeurs {
    QString requete;           // "R" + agency + sequence
    QString demandes;          // "D" + agency + sequence
    QString attestation;       // 7 characters
    QString compteurFactures;  // last invoice number used
    QString sequence;          // file sequence number
    QString agence() const { return requete.mid(1, 5); }
};

// The values from record 1 of Facturat.Lex and today's date.
Valeurs valeursDepuis(const QByteArray& agence, QDate aujourdhui);

// Record 1 of Facturat.Lex (128 characters, blank-padded when the file is shorter).
QByteArray lireAgence(const QString& programme);

// Record 1 after a preparation that gave invoice numbers up to `dernierNumero`: new sequence,
// last invoice number, positions 21-35 kept, attestation counter; blanks to 128.
QByteArray agenceApres(const QByteArray& agence, const Valeurs& v, const QString& dernierNumero);

// The 163-byte request file.
QByteArray fichierRequete(const Valeurs& v, int nombre, qint64 totalCents);

// Invoices of Ftmp.Fil in state "05".
int nombreAEnvoyer(const QString& programme);

// The summary shown in the window.
QString resume(const Valeurs& v, int nombre);

// What the window shows when it opens. `agenceManquante`: Facturat.Lex is missing (its
// message has been shown) and nothing else was read.
struct Chargement {
    bool agenceManquante = false;
    Valeurs valeurs;
    int nombre = 0;
    QString resume;
};
Chargement charger(const QString& programme, PortDialogue& dialogues);

struct Suivi {
    // Prints the reports of the payment-request file at the given path (none when empty).
    std::function<void(const QString& cheminDemandes)> imprimer;
    // Percentage of the invoices stamped so far.
    std::function<void(int)> progression;
};

struct Resultat {
    bool reussi = false;
    int nombre = 0;
    qint64 total = 0;
    QString dernierNumero;
};

// Runs the preparation, reporting failures and the final message through `dialogues`.
// Ftmp.Fil stays locked from the first file written to its emptying, so another workstation
// cannot add an invoice that would be lost, and a refusal at the lock changes no file. A
// preparation that stops undoes what it wrote: the invoices stay in Ftmp.Fil and the counters
// where they were. A damaged Ftmp.Fil is never prepared.
Resultat Preparer(const QString& programme, const Valeurs& v, PortDialogue& dialogues,
                  const Suivi& suivi = {});

// Undoes or finishes a preparation that a crash or a kill stopped midway, telling the user;
// nothing when there is none, or when another workstation holds Ftmp.Fil (it may be preparing).
// Run at start-up and before every preparation.
void reprendreInterrompue(const QString& programme, PortDialogue& dialogues);

QString cheminDans(const QString& programme, const QString& nom);  // in Sauvramq
QString cheminReqt(const QString& programme);

}  // namespace preparation
