#pragma once
#include "config/configuration.h"

#include <QString>
#include <QStringList>

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

// A file read as far as it can be: the fields read, the defaults for the others, except that
// the optometrist slots and the establishments not read are empty (nobody is billed under a
// placeholder number). A field that holds what it should not keeps its default and the reading
// goes on (`illisibles` names each); `nonLu` tells why the reading stopped early (the file ends,
// a text is left open); `prixInvalides` names the entries in use whose price is not six
// characters long (kept as read).
struct Lecture {
    Configuration configuration;
    QString nonLu;
    QStringList illisibles;
    QStringList prixInvalides;
    bool complete() const { return nonLu.isEmpty() && illisibles.isEmpty() && prixInvalides.isEmpty(); }
};
// Only a file that cannot be opened throws (ErreurFichier).
Lecture lirePartielle(const QString& cheminFichier);

// Keeps the bytes of `cheminFichier` as the same name + ".ancien" before it is replaced; an
// earlier kept copy with other bytes is never replaced, the new copy then named after the
// moment. The copy's path.
QString conserverAncien(const QString& cheminFichier);

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
