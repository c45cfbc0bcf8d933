#include "platform/clavier.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcutEvent>
#include <QToolButton>

namespace {

class ClavierDesBoutons : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objet, QEvent* e) override {
        // The key of every shortcut is offered to the windows first: whether it repeats is
        // known only there, the shortcut event does not tell. A key let go ends a repeat.
        if (e->type() == QEvent::ShortcutOverride ||
            (e->type() == QEvent::KeyRelease && !static_cast<QKeyEvent*>(e)->isAutoRepeat()))
            repetee_ = e->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(e)->isAutoRepeat();
        if (e->type() == QEvent::Shortcut)
            return parCleDAcces(objet, static_cast<QShortcutEvent*>(e));
        if (e->type() == QEvent::KeyPress)
            return parEntree(objet, static_cast<QKeyEvent*>(e));
        return false;
    }

private:
    // A button receives a shortcut event only for its own access key. An access key held down
    // clicks once: its repeats are swallowed (Qt's delayed click let them pass only while the
    // button showed pressed), unless the button repeats itself.
    bool parCleDAcces(QObject* objet, const QShortcutEvent* raccourci) const {
        auto* bouton = qobject_cast<QAbstractButton*>(objet);
        if (!bouton || raccourci->isAmbiguous() || !bouton->isEnabled())
            return false;
        if (repetee_ && !bouton->autoRepeat())
            return true;
        if (bouton->isCheckable() && (bouton->focusPolicy() & Qt::ClickFocus))
            bouton->setFocus(Qt::ShortcutFocusReason);  // as Qt's own access key does
        bouton->click();
        return true;
    }

    bool repetee_ = false;

    static bool parEntree(QObject* objet, const QKeyEvent* touche) {
        if (touche->key() != Qt::Key_Return && touche->key() != Qt::Key_Enter)
            return false;
        if ((touche->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* bouton = qobject_cast<QAbstractButton*>(objet);
        if (!qobject_cast<QPushButton*>(objet) && !qobject_cast<QToolButton*>(objet))
            bouton = nullptr;  // a check box keeps Enter for the window's default button
        if (!bouton || !bouton->isEnabled() || !bouton->hasFocus())
            return false;
        bouton->click();
        return true;
    }
};

}  // namespace

void activerClavierDesBoutons() {
    static ClavierDesBoutons* filtre = nullptr;
    if (filtre)
        return;
    filtre = new ClavierDesBoutons(qApp);
    qApp->installEventFilter(filtre);
}
