#pragma once
#include "config/configuration.h"
#include "entry/patientcourant.h"
#include "entry/verifications.h"

#include <QDate>
#include <QString>
#include <optional>

class PortDialogue;

// What the entry window does as it is typed in, decided here and tested without a window.
namespace saisie {

// The NAM box and the boxes it decides on, as the window shows them when the NAM box loses the
// focus.
struct EcranNam {
    QString nam, naissance, nom;
};

enum class Focus { Inchange, Nam, PremierDiagnostic, PremierActe };

struct IssueNam {
    PatientCourant::Chargement chargement;          // the patient loaded, to write in the window
    std::optional<NaissanceNam> naissanceDuNam;      // no patient loaded nor birth date shown: the NAM's
    std::optional<MessageVerification> refus;        // a malformed NAM: told, the focus back to it
    std::optional<MessageVerification> avertissement;  // the insured-age warning, with a beep
    Focus focus = Focus::Inchange;
};

// The NAM box lost the focus: the look-up in the queue (or the patient-record database by file
// number), the NAM's structure checks (skipped for a file number), the database look-up by NAM,
// the birth date and sex the NAM holds when no patient was loaded and no birth date is shown
// (`ecran.naissance` empty), then the insured-age warning on the birth date the window will show
// (loaded, from the NAM or typed), then where the focus goes: the first act of a queued patient,
// the first diagnostic once the NAM is complete and the surname known; the first act box instead
// when `focusCodeActe`.
IssueNam apresNam(PatientCourant& patient, const QString& programme, const EcranNam& ecran,
                  const Configuration& configuration, const PatientCourant::Reglages& reglages,
                  bool focusCodeActe, QDate aujourdhui, PortDialogue& dialogues);

// Tells the user what `issue` holds: the refusal, or the beep and the warning.
void annoncer(const IssueNam& issue, PortDialogue& dialogues);

// True when an act box holding `texte` sends the focus on to the next box: five characters other
// than "00000", or the last four digits of an act code of the fee table.
bool acteComplet(const QString& texte, const Configuration& c);

}  // namespace saisie
