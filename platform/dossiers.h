#pragma once
#include <QString>
#include <QStringList>

// Where the program keeps its files, and names matched without regard to case.
namespace dossiers {

// The program folder: `--dossier DIR`, else KESTROVA_DOSSIER, else on Windows the
// executable's folder, elsewhere ~/.local/share/Kestrova. The folder is created.
QString dossierProgramme(const QStringList& arguments);

// `relatif` (components separated by "/" or "\") under `base`, each component spelt as it
// already exists on disk whatever its case; components that do not exist keep the given spelling.
QString resoudre(const QString& base, const QString& relatif);

// Names of the files of `dossier` matching a DOS pattern ("d7*.*", "ER*.rmq"), without regard
// to case, sorted. "*.*" matches names with or without an extension.
QStringList chercher(const QString& dossier, const QString& motif);

// Work folder of the archives: <program folder>/Developpe (created when missing).
QString dossierTravail(const QString& programme);

// Creates `relatif` under `base` (case-insensitively resolved) and returns its path.
QString creerDossier(const QString& base, const QString& relatif);

bool FichierExiste(const QString& chemin);

// The path `chemin` names for the system once every link and ".." in it is followed, a link in
// its last component too; for a file that does not exist yet, its folder's real path and its name.
QString cheminReel(const QString& chemin);

// True when `chemin`, however it is written (relative, absolute, through links or ".."), names
// one of the clinic's own files in the program folder `programme`: the configuration and the
// counters, the queue and the import file, whatever is in Sauvramq, Patient, Impressions and the
// work folder. Names are compared without regard to case, as they are found.
bool fichierDeLaClinique(const QString& programme, const QString& chemin);

}  // namespace dossiers
