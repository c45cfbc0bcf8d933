#pragma once
#include "config/configuration.h"

#include <QDate>
#include <QString>
#include <optional>

// The checks that keep an invoice acceptable to the agency, each a pure procedure on text.

// Every character is one of " -0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ" (empty is valid).
bool CaracteresValides(const QString& texte);
// Every character is "0" to "9" (empty gives true).
bool QueDesChiffres(const QString& texte);
// "," "'" "#" "." become blanks; a letter with an accent becomes the letter ("É" and "È" "E",
// "Ô" "O", "Ç" "C"), "Œ" and "Æ" "OE" and "AE", so that loaded text passes the store's checks.
QString NettoyerTexte(const QString& texte);
// The check digit of a 12-character NAM, with the configuration's tables; `annee` is the
// current year (its last two digits choose the century tried first).
bool NamValide(const QString& nam, const Configuration& c, int annee);
// A yyyymmdd text: 8 characters without blanks, year 1800-2099, month 01-12, day 01-31.
bool DateValide(const QString& date);
// Empty, or 4 characters: one of "AV1234567890", then three digits.
bool DiagnosticValide(const QString& code);
// A NAM as the agency gives them, checked at store before its check digit: 4 capitals and 8
// digits, the month of birth 01-12, or 51-62 for a woman.
bool NamBienForme(const QString& nam);
// The birth date (yyyymmdd) and sex a well-formed NAM holds: year, month (plus 50 for a woman)
// and day. Of the centuries that do not put the birth after `aujourdhui`, the one whose check
// digit validates, else the later one. Nothing for a NAM without a real date in the past.
struct NaissanceNam {
    QString naissance;
    bool masculin = true;
};
std::optional<NaissanceNam> NaissanceDuNam(const QString& nam, const Configuration& c, QDate aujourdhui);
// The code of act box `index` (2 to 5) is not one of the codes of the fee table's entries in
// use ("00000" marks an empty entry, never an act); an empty box is acceptable for boxes 3 to 5
// only.
bool CodeActeInvalide(const QString& code, int index, const Configuration& c);

struct MessageVerification {
    QString titre;
    QString texte;
};

// The structure checks of a NAM typed by hand, run when the NAM box loses the focus.
// A NAM of digits only (a patient file number) passes.
std::optional<MessageVerification> VerifierStructureNam(const QString& nam);

// The insured-age warning for a birth date yyyymmdd, as of `aujourdhui`: nothing unless the
// age is above 18 and below 65.
std::optional<MessageVerification> AvertissementAge(const QString& naissance, QDate aujourdhui);

// The warning shown before a store when the birth date typed (yyyymmdd, any century) or the sex
// differs from what the NAM holds; nothing when they agree, when no birth date is typed and the
// sex agrees, or when the NAM holds no real birth date.
std::optional<MessageVerification> DesaccordAvecLeNam(const QString& nam, const QString& naissance, bool masculin,
                                                      const Configuration& c, QDate aujourdhui);
