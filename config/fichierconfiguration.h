#pragma once
#include "config/configuration.h"

#include <QString>

// Kestrova.Cfg: 277 fields in the comma-separated "write" style (texts in double quotes,
// integers bare, statements ended by CR LF, Windows-1252), read field by field so that the
// line grouping never matters.
namespace fichierconfiguration {

enum class Groupement {
    ParSix,            // the default file and the configuration correction: six fee pairs a line
    UnePaireParLigne,  // the initialisation window: one fee pair a line
};

QString chemin(const QString& programme);

// Writes `c` to `cheminFichier` atomically.
void ecrire(const QString& cheminFichier, const Configuration& c, Groupement groupement);

// Reads every field; throws ErreurConfiguration (a price of the wrong length is fatal; a file
// that ends early or holds text where a number belongs names the field) or ErreurFichier.
Configuration lire(const QString& cheminFichier);

// What an older Kestrova.Cfg holds that the configuration correction keeps: the optometrist
// slots and the establishment lines, read as far as the file goes (the integer tables and the
// fees are skipped, since the current defaults replace them).
struct Ancienne {
    QString version;
    std::array<Optometriste, Configuration::NombreOptometristes> optometristes;
    std::array<QString, Configuration::NombreEtablissements> etablissements;
    QString nonLu;  // why the reading stopped early, in French; empty when all was read
};
// Never throws on a malformed file; only a file that cannot be opened throws ErreurFichier.
Ancienne lireAncienne(const QString& cheminFichier);

// The first field of the file (the version line); throws as `lire`.
QString lireVersion(const QString& cheminFichier);

}  // namespace fichierconfiguration

// Writes the default Kestrova.Cfg in the program folder, creating or replacing it.
void CreerConfigurationParDefaut(const QString& programme);

// Loads Kestrova.Cfg of the program folder.
Configuration ChargerConfiguration(const QString& programme);
