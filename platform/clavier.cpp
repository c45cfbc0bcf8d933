#include "platform/clavier.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

namespace {

class EntreeSurBoutons : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objet, QEvent* e) override {
        if (e->type() != QEvent::KeyPress)
            return false;
        const auto* touche = static_cast<QKeyEvent*>(e);
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

void activerEntreeSurBoutons() {
    static EntreeSurBoutons* filtre = nullptr;
    if (filtre)
        return;
    filtre = new EntreeSurBoutons(qApp);
    qApp->installEventFilter(filtre);
}
