#pragma once
#include <QString>
#include <functional>

class ErreurFichier;
class PortDialogue;

// How an operation handles a file failure, by error number: 76 creates the missing folder and
// runs the step again (once); 70 and 71 offer Retry/Cancel, Retry running the same step
// again; any other number (53, 61 disk full ...) stops the operation with a message.
struct Reprise {
    QString titre;
    // False: 70 and 71 stop like any other error, without a question.
    bool offrirReessai = true;
    // The question of 70 and 71; by default it names the file and the cause.
    std::function<QString(const ErreurFichier&)> texteReessai;
    // The message of a stop; by default "Erreur numéro: N" and the cause naming the file.
    std::function<void(PortDialogue&, const ErreurFichier&)> arret;
    // Creates the folder that error 76 found missing; by default the failing file's folder.
    std::function<void(const ErreurFichier&)> creerDossier;
    // False: 76 stops like any other error.
    bool creerDossierManquant = true;
};

// Runs `etape` under `reprise`; true when it completed. Only the step given is ever run again,
// so an operation made of several writes gives each its own call.
bool executerAvecReprise(PortDialogue& dialogues, const Reprise& reprise,
                         const std::function<void()>& etape);
// The same with the default texts under `titre`.
bool executerAvecReprise(PortDialogue& dialogues, const QString& titre,
                         const std::function<void()>& etape);
