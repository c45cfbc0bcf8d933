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

// The next value of a counter `width` characters wide: value + 1 zero-padded, the rightmost
// `largeur` characters kept; "0000" becomes "0001" (so 9999 -> 0001, 999 -> 000, 99 -> 00).
QString CompteurSuivant(const QString& compteur, int largeur);

// Integer percentage of `position` in `total` (0 when the total is 0).
int Pourcentage(qint64 total, qint64 position);

// The French name of month 1 to 12, in lower case ("février").
QString nomDuMois(int mois);

// "yy/mm/dd" of a six-character yymmdd date; blank for a blank date.
QString dateBarree(const QString& aammjj);

// An amount in cents as Basic's Format with "#,###.00" (`milliers`) or ".00": no digit before
// the point for an amount under one dollar (".50"), a minus sign in front when negative.
QString formatMontant(qint64 cents, bool milliers);
