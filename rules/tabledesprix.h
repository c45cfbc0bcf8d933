#pragma once
#include "config/configuration.h"

#include <QString>

// The fee of an act code: the price of the first entry of the fee table whose code equals it,
// or an empty text when no entry does.
QString PrixDeLActe(const Configuration& c, const QString& code);
