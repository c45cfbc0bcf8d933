#include "platform/filtresaisie.h"

#include "records/encodage.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

void FiltreSaisie::installer(QWidget* boite) { boite->installEventFilter(this); }

bool FiltreSaisie::eventFilter(QObject* objet, QEvent* e) {
    if (e->type() != QEvent::KeyPress)
        return QObject::eventFilter(objet, e);
    auto* touche = static_cast<QKeyEvent*>(e);
    const QString t = touche->text();
    if (t.size() == 1 && t.at(0) >= QLatin1Char('a') && t.at(0) <= QLatin1Char('z')) {
        QKeyEvent majuscule(QEvent::KeyPress, touche->key(), touche->modifiers(), t.toUpper(),
                            touche->isAutoRepeat(), touche->count());
        QCoreApplication::sendEvent(objet, &majuscule);
        return true;
    }
    if (!t.isEmpty() && t.at(0).isPrint() && !encodage::representable(t)) {
        if (refus_)
            refus_();
        return true;
    }
    return QObject::eventFilter(objet, e);
}
