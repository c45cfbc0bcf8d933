#pragma once
#include <QStringList>

class QWidget;

// Every caption of a window as the user may see it: title, labels, buttons, frames, tabs,
// column headers, menus with their items, tool tips, shortcuts.
QStringList textesDe(const QWidget* fenetre);

// The English words among `textes` that would show the toolkit speaking its own language, each
// with the text it is in. "No" counts only as a whole caption ("No facture" is French).
QStringList motsAnglais(const QStringList& textes);
