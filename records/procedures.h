#pragma once
#include <QDate>
#include <QString>

// Shared procedures of the program.

// Age in whole years from a yymmdd birth date, as of `aujourdhui`: the century is 20 when
// today's yymmdd is greater than the date, else 19; one day is taken off per four years; the
// result is a signed number's text, with a leading blank when positive (" 80").
QString AgeEnAnnees(const QString& naissance, QDate aujourdhui);

// Basic's Str of an integer: a leading blank for a number that is not negative.
QString texteNombre(qint64 n);
