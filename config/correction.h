#pragma once
#include "config/configuration.h"
#include "config/fichierconfiguration.h"

#include <QString>

class PortDialogue;

// The configuration correction: an older Kestrova.Cfg rewritten in the current version with its
// optometrists and establishments, the default integer tables and the default fee table.
namespace correction {

// The slots and establishment lines in use of the old file, as the window shows them.
bool optometristeEnUsage(const Optometriste& o);
bool etablissementEnUsage(const QString& ligne);

// The current configuration made from the old file's entries: slots in use with their trimmed
// name, the others "3e Optométriste", "000000", "00000"; establishment lines in use trimmed, the
// others "Vide 00000".
Configuration corrigee(const fichierconfiguration::Ancienne& ancienne);

// Keeps the old file as Kestrova.Cfg.ancien (an earlier copy with other bytes is kept too, the
// new one then named after the moment), writes the corrected one, and tells the user.
// False when a write failed (told through `dialogues`); the old file is then still in place.
bool Reecrire(const QString& programme, const fichierconfiguration::Ancienne& ancienne,
              PortDialogue& dialogues);

}  // namespace correction
