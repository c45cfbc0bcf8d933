#pragma once
#include <QString>

class PortDialogue;

// Checks of the initialisation window's fields.

// True when `texte` is exactly `n` decimal digits, after showing "Changement accepté...";
// otherwise beeps, shows the digit-check message naming `n` and returns false. An empty text is
// refused like any text of the wrong length.
bool ValiderChiffres(int n, const QString& texte, PortDialogue& dialogues);
