#pragma once
#include <QKeySequence>
#include <QString>
#include <QStyle>
#include <functional>
#include <span>

class QAction;
class QLayout;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

// A button of a window's toolbar, found by its key: the action is named "Toolbar1_" + key
// and carries the key, so tests and handlers dispatch on it as the windows do. The caption may
// hold an access key ("&Préparation"): the button shows it without the "&", the menu item of
// the same command underlines it.
struct BoutonBarre {
    const char* cle;
    const char* legende;
    QStyle::StandardPixmap icone;
    const char* infobulle = nullptr;
    QKeySequence raccourci = {};  // shown in the tool tip and the menu
    const char* menu = nullptr;   // the menu item's text when it says more than the caption
};

// Adds `bouton` to `barre`; a click calls `clic` with the button's key.
QAction* ajouterBouton(QToolBar* barre, const BoutonBarre& bouton,
                       const std::function<void(const QString& cle)>& clic);

// The toolbar "Toolbar1" of a dialog window: large icons with their captions under them. Its
// buttons take the focus, so Tab reaches them and Enter or Space runs them.
QToolBar* nouvelleBarre(QWidget* parent, std::span<const BoutonBarre> boutons,
                        const std::function<void(const QString& cle)>& clic);

// A menu `titre` of `menus` that holds the toolbar's commands in its order, separators
// included. They are the same actions: a menu item and its button are enabled together and
// share one shortcut.
QMenu* menuDeLaBarre(QMenuBar* menus, const QString& titre, const QToolBar* barre);

// A dialog's menu bar, above the content of `disposition`.
QMenuBar* barreDeMenus(QWidget* dialogue, QLayout* disposition);
