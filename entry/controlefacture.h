#pragma once
#include "config/configuration.h"
#include "records/facture.h"

#include <QDate>
#include <QString>
#include <optional>

// The checks of a whole invoice before it is written: one procedure for the store of the entry
// window and for the correction of an invoice in memory, so that a correction can never write
// what the store would refuse.
namespace controlefacture {

// The field a refusal names, for the window to put the focus back on its box.
enum class Champ {
    Etat, Nam, Naissance, CodePostal, SequenceCarte, ExpirationCarte, DateService, Diagnostic,
    Nom, Prenom, Adresse, Ville, Renseignements, Considerations, Sexe, Professionnel, Groupe,
    Etablissement, Acte, Honoraire,
};

struct Refus {
    QString titre;
    QString texte;
    Champ champ;
    int ligne = 0;  // 0 to 3 for a diagnostic, an act or a fee
};

enum class Genre {
    Saisie,      // a new invoice: the values of the entry window
    Correction,  // an invoice in memory corrected box by box: its state, its numbers and its fees too
};

// "00000" or blanks in an act box of lines 2 to 4 mean no act, as an empty box does.
QString codeActe(const QString& texte);

// `v.dateService` is yyyymmdd. For a new invoice: the characters of every box, the NAM's form and
// check digit, the date of service, the diagnostics, the act codes, the optometrist billed and
// the total. A correction passes the same checks (a cancelled invoice, state "99", all but the
// NAM's, which its cancellation replaced), after its state and before its postal code, card
// numbers, fees and clinic numbers.
std::optional<Refus> verifier(const ValeursFacture& v, const Configuration& c, QDate aujourdhui, Genre genre);

}  // namespace controlefacture
