#pragma once
#include "config/configuration.h"
#include "rules/champsacte.h"

#include <QDate>

class PortDialogue;

// The act-code rules run when act box `Index` (0 to 5) loses the focus: for boxes 2 to 5 the
// code is normalised and priced, the required wording and diagnostics are checked, travel
// amounts asked, a too-recent 09001 reported and the automatic 09021 offered; for every box the
// invoice amount is recomputed. Each step reads the fields afresh.
void VerifierActe(int Index, ChampsActe& champs, const Configuration& c, PortDialogue& dialogues,
                  QDate aujourdhui);

// Days from the last 09001 date (yy/mm/dd) to the service date (yyyymmdd), or nothing when
// either is not a real date. The century is the one that does not put the examination after
// the service's year.
std::optional<qint64> joursDepuisDernier09001(const QString& dernier, const QString& dateService);
