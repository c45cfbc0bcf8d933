#pragma once
#include "config/configuration.h"

#include <QString>

class PortDialogue;

// The check the communication window makes on opening: has the agency left a returns archive
// (error returns or statement of account) in the returns folder of the server?
namespace verificationretours {

QString nomArchive(const QString& agence);  // "F" + agency + ".zip"

struct Resultat {
    enum class Issue { Trouvee, Absente, Erreur } issue = Issue::Absente;
    QString description;  // for an error
};

// Fetches the archive into the work folder of `programme` (created when missing), where it is
// left for the returns window. Touches no window: it may run on a worker thread.
Resultat chercher(const ParametresFtp& ftp, const QString& agence, const QString& programme);

// The returns message when an archive was found, nothing when there is none, the error's
// description otherwise.
void annoncer(const Resultat& r, PortDialogue& dialogues);

}  // namespace verificationretours
