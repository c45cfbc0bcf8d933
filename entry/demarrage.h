#pragma once
#include "config/configuration.h"
#include "config/parametres.h"

#include <QString>

class PortDialogue;
class MagasinReglages;

// The windows that start-up opens modally; the main window provides them.
class FenetresDemarrage {
public:
    virtual ~FenetresDemarrage() = default;
    // True when access is granted; false ends the program.
    virtual bool motDePasse() = 0;
    virtual void initialisation() = 0;
    virtual void correctionConfiguration() = 0;
};

// What start-up found, for the main window to show.
struct EtatDemarrage {
    bool arreter = false;  // access refused, or the configuration's prices are invalid: the program ends
    int nombreFactures = 0;
    ParametresFtp ftp;
    bool configurationChargee = false;
    Configuration configuration;
    QString agence;
    parametres::Interrupteurs interrupteurs;
    int patientsEnFile = 0;
};

// The main window's loading, in order: password, invoices in memory, FTP values, default
// configuration, version check, agency file, configuration, agency number, switches, queue.
// A file error 76 creates Sauvramq and retries the step; any other is reported and start-up
// goes on with the next step.
EtatDemarrage Demarrer(const QString& programme, PortDialogue& dialogues,
                       FenetresDemarrage& fenetres, const MagasinReglages& utilisateur);

// Number of patients waiting in MdiTmp.Dat.
int patientsEnFile(const QString& programme);
