#pragma once
#include <QString>

class QLabel;
class QWidget;

// What a screen reader announces for a control: its accessible name.

// A caption as a name: without the access key's "&" and the closing colon.
QString nomDeLibelle(const QString& libelle);

// `libelle` becomes the caption of `controle` (its access key, if any, reaches it) and gives it
// its name: `nom` when the caption alone does not say what the control holds, else the caption.
void nommer(QLabel* libelle, QWidget* controle, const QString& nom = {});
