#pragma once
#include "records/facture.h"
#include "records/fichierenregistrements.h"

#include <QString>
#include <functional>

class PortDialogue;

// The file of invoices in memory, Sauvramq/Ftmp.Fil, and the procedures on it.
namespace fichierfactures {

QString dossierSauvegarde(const QString& programme);  // <program>/Sauvramq
QString cheminFtmp(const QString& programme);
QString cheminStatistiques(const QString& programme, const QString& annee);

// Number of invoices in memory (0 when Ftmp.Fil is missing; error 76 when Sauvramq is).
int nombre(const QString& programme);

struct Resultat {
    int code = 0;    // 0 stored (or failed); 1, 2, 3 refused (agency, professional, establishment)
    int numero = 0;  // the new record's number when stored, 0 when nothing was stored
    bool enregistree() const { return numero > 0; }
};

// Builds the record from `v` and appends it to Ftmp.Fil exactly once, then shows
// "La facture #...", runs `dossierPatient` (the patient-record update) and appends the
// statistics record. Each write has its own handling by error number, so a Retry runs only
// the write that failed; a follow-up that could not be done is named to the user, the
// invoice staying stored. A refusal writes nothing.
Resultat EnregistrerFacture(const ValeursFacture& v, const QString& programme,
                            PortDialogue& dialogues,
                            const std::function<void()>& dossierPatient = {});

// Ftmp.Fil as a record file: 723-byte records checked for their marks.
FichierEnregistrements fichier(const QString& programme);

// Record `numero` of Ftmp.Fil, and writing it back in place. A record is written back only
// while Ftmp.Fil still holds, at that number, the record the user was shown (`affiche`):
// false, and nothing written, when another workstation changed it or prepared it meanwhile.
QByteArray lireFacture(const QString& programme, int numero);
bool ecrireFacture(const QString& programme, int numero, const QByteArray& affiche,
                   const QByteArray& enregistrement);
// Cancels invoice `numero` in place: state "99" and "ANNULEE" in the stored record, nothing else.
bool annulerFacture(const QString& programme, int numero, const QByteArray& affiche);

}  // namespace fichierfactures
