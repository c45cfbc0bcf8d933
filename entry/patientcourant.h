#pragma once
#include "entry/dossierpatient.h"
#include "entry/filepatients.h"
#include "entry/identite.h"
#include "records/fichierfactures.h"

#include <QString>
#include <optional>

class PortDialogue;

// Where the patient on screen comes from, and what a store does with it: the record of the
// patient-record database loaded (updated at store), or the queued patient loaded (leaving the
// queue at store). Kept by the entry window, decided here.
class PatientCourant {
public:
    struct Reglages {
        bool UtiliseDossierPatient = false;
        bool PavoConserveDate = true;
        dossierpatient::Interrupteurs rappels;
    };

    // What the NAM box asks when it loses the focus.
    struct Chargement {
        std::optional<Identite> identite;  // to put in the window
        bool dateExamen = false;           // the examination date replaces the date of service
        bool deLaFile = false;             // loaded from the queue: the focus goes to the first act
        bool parNumeroDeDossier = false;   // a file number: the NAM checks are skipped
    };
    // The look-ups of a NAM box that lost the focus holding `nam`, before its checks: the queue
    // (when the database is not used) or the database by file number. The same NAM leaving the
    // box again loads nothing, so the user's corrections stay. Errors are told through `d`.
    Chargement nam(const QString& programme, const QString& nam, const Reglages& r, PortDialogue& d);
    // The database look-up by NAM, once the NAM checks passed; nothing for the same NAM again.
    Chargement namVerifie(const QString& programme, const QString& nam, PortDialogue& d);

    // A queued patient loaded by the list or by "Préparer la facture suivante".
    Chargement depuisFile(const filepatients::EnFile& patient, bool dateExamen);

    // The store of the invoice `v` of this patient, with its follow-ups: the database record
    // loaded is updated (its own Retry/Cancel), the queued patient loaded leaves the queue
    // (unless kept for a second invoice); after it nothing is loaded any more. A refused
    // store only forgets the queued patient.
    struct Enregistrement {
        fichierfactures::Resultat resultat;
        std::optional<int> resteEnFile;  // patients left in the queue, after a queued patient's store
    };
    Enregistrement enregistrer(const QString& programme, const ValeursFacture& v, const Reglages& r,
                               bool afficheConserveInfo, PortDialogue& d);

    // The NAM box changed, "Nouveau", a refused store: nothing loaded any more.
    void oublierDossier();
    void oublier();
    void oublierFile() { file_.reset(); }

    bool enProvenanceDeLaFile() const { return file_.has_value(); }
    const std::optional<filepatients::EnFile>& file() const { return file_; }
    const std::optional<dossierpatient::Fiche>& dossier() const { return dossier_; }
    const QString& dernier09001() const { return dernier09001_; }

private:
    std::optional<dossierpatient::Fiche> dossier_;
    std::optional<filepatients::EnFile> file_;
    QString namCherche_;
    QString dernier09001_ = QStringLiteral("99/01/01");
};
