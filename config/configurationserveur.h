#pragma once
#include "config/configuration.h"

#include <QString>

class PortDialogue;

// Menu "Prendre les fichiers de configuration sur le serveur": kestrova.cfg and facturat.lex
// downloaded from the server's root into a temporary folder; the two files of the program
// folder are replaced only once both arrived whole. True when they were (the program must then
// end so that the next start reads them); every outcome is told through `dialogues`.
bool PrendreConfigurationSurServeur(const QString& programme, const ParametresFtp& ftp,
                                    PortDialogue& dialogues);
