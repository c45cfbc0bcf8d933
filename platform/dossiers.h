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

}  // namespace dossiers
