#pragma once
#include "entry/identite.h"
#include "platform/tableur.h"
#include "records/fichierenregistrements.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class PortDialogue;

// The queue of imported patients, MdiTmp.Dat: the import of PavoRamq.Txt, the look-up of a
// typed NAM or file number, the patients leaving it, and what a queued patient puts in the
// entry window.
namespace filepatients {

FichierEnregistrements fichier(const QString& programme);
QString cheminImportation(const QString& programme);  // PavoRamq.Txt
int nombre(const QString& programme);

// The twelve fields of an import line, or nothing when it has fewer than eleven ";" (the
// last field runs to the end of the line).
std::optional<QByteArray> enregistrementDeLigne(const QByteArray& ligne);

// The steps of an import, for the tests that stop one midway.
enum class EtapeImportation { Renomme, Verrouille, Lu, Ajoute };
using SuiviImportation = std::function<void(EtapeImportation)>;

// Imports PavoRamq.Txt. The file is first taken away from the outside product by a rename to
// the work file PavoRamq.Imp, so lines it adds meanwhile start a new file; the work file is
// held under the system's lock, every line parsed first (a malformed line importing nothing),
// all records appended in one write under the queue's lock, and the work file removed last.
// A work file left by a stop is finished first, its lines matched against the queue so that
// none is queued twice. Every outcome is told through `d`; `suivi` is called after each step.
// Returns the number of patients imported.
int importer(const QString& programme, PortDialogue& d, const SuiviImportation& suivi = {});
// At start-up: finishes the work file an import stopped midway left, telling the user.
void reprendreImportation(const QString& programme, PortDialogue& d);
QString cheminTravail(const QString& programme);  // PavoRamq.Imp

// A queued patient: its number and its 188 bytes as read.
struct EnFile {
    int numero = 0;
    QByteArray enregistrement;
};
std::optional<EnFile> lire(const QString& programme, int numero);
// The first patient whose NAM contains `tape` (trimmed, in capitals), or whose file number has
// the value of `tape` when it is all digits.
std::optional<EnFile> chercher(const QString& programme, const QString& tape);

// The columns of the list window.
QList<tableur::Colonne> colonnes();
// Every queued patient, in order.
QList<EnFile> tous(const QString& programme);
// The row of the list window: file number, NAM, surname, first name, examination date as
// yyyy/mm/dd, record number.
QStringList rangee(const EnFile& patient);
// The question before a patient of the list leaves the queue.
QString questionRetrait(const QByteArray& enregistrement);

// What a queued patient puts in the entry window.
Identite identite(const QByteArray& enregistrement);

// The loaded patient leaves the queue: the first record equal to the bytes loaded, at its
// number first. Nothing leaves when no record is (another workstation took it meanwhile).
void retirer(const QString& programme, const EnFile& charge);
// Every patient of that NAM (blanks around it ignored) leaves the queue; the number left.
int retirerNam(const QString& programme, const QString& nam);

// After the invoice of the queued patient `charge` was stored: the patient leaves the queue,
// unless others wait, `afficheConserveInfo` is on and the user keeps the patient for a second
// invoice. Returns the number of patients left.
int apresEnregistrement(const QString& programme, const EnFile& charge, bool afficheConserveInfo,
                        PortDialogue& d);

// "Préparer la facture suivante... ( n )"
QString legendeSuivante(int nombre);

}  // namespace filepatients
