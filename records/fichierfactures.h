#pragma once
#include "records/facture.h"

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
    int code = 0;    // 0 stored; 1, 2, 3 refused (agency, professional, establishment)
    int numero = 0;  // the new record's number when stored
};

// Builds the record from `v` and appends it to Ftmp.Fil, then shows "La facture #...",
// calls `dossierPatient` (the patient-record update) and appends the statistics record.
// A refusal writes nothing. File failures throw ErreurFichier.
Resultat EnregistrerFacture(const ValeursFacture& v, const QString& programme,
                            PortDialogue& dialogues,
                            const std::function<void()>& dossierPatient = {});

// Record `numero` of Ftmp.Fil, and writing it back in place.
QByteArray lireFacture(const QString& programme, int numero);
void ecrireFacture(const QString& programme, int numero, const QByteArray& enregistrement);
// Cancels invoice `numero` in place (state "99", "ANNULEE").
void annulerFacture(const QString& programme, int numero);

}  // namespace fichierfactures
