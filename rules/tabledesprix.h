#pragma once
#include "config/configuration.h"

#include <QString>

class PortDialogue;

// The fee of an act code: the price of the first entry of the fee table whose code equals it,
// or an empty text when no entry does.
QString PrixDeLActe(const Configuration& c, const QString& code);

// The fee page's "&Ok": entry `entree` (0 to 91, -1 when none is selected) of `table` takes the
// price `prix` once it passes the six-digit check, and the act code `code` blank-padded or cut
// to five characters. True when the entry changed; the caller says "Changement accepté..." once
// the change is saved.
bool ChangerPrix(std::array<EntreePrix, Configuration::NombrePrix>& table, int entree,
                 const QString& prix, const QString& code, PortDialogue& dialogues);
