#pragma once
#include <QKeySequence>
#include <QString>
#include <QStyle>
#include <functional>
#include <span>

class QAction;
class QToolBar;

// A button of a window's toolbar, found by its key: the action is named "Toolbar1_" + key
// and carries the key, so tests and handlers dispatch on it as the windows do.
struct BoutonBarre {
    const char* cle;
    const char* legende;
    QStyle::StandardPixmap icone;
    const char* infobulle = nullptr;
    QKeySequence raccourci = {};  // shown in the tool tip
};

// Adds `bouton` to `barre`; a click calls `clic` with the button's key.
QAction* ajouterBouton(QToolBar* barre, const BoutonBarre& bouton,
                       const std::function<void(const QString& cle)>& clic);

// The toolbar "Toolbar1" of a dialog window: large icons with their captions under them.
QToolBar* nouvelleBarre(QWidget* parent, std::span<const BoutonBarre> boutons,
                        const std::function<void(const QString& cle)>& clic);
