#include "platform/redimensionnement.h"

#include <QEvent>
#include <cmath>

namespace {

// Containers whose children the program places itself; a control of another kind (a combo box,
// a list) places its own inner widgets, which are left to it.
bool conteneur(const QWidget* w) {
    const QByteArray classe = w->metaObject()->className();
    return classe == "QWidget" || classe == "QFrame" || classe == "QGroupBox";
}

int echelle(int valeur, int actuel, int reference) {
    return static_cast<int>(std::lround(static_cast<double>(valeur) * actuel / reference));
}

}  // namespace

Redimensionnement::Redimensionnement(QWidget* zone, QSize conception)
    : QObject(zone), zone_(zone), reference_(conception) {
    retenir(zone);
    zone->installEventFilter(this);
}

void Redimensionnement::retenir(QWidget* parent) {
    if (parent->layout())
        return;  // a layout places these
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow())
            continue;
        if (!w->testAttribute(Qt::WA_Resized))
            w->adjustSize();  // the size it would take when first shown
        // Any size may now be given to it, in proportion.
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        controles_.append({w, w->geometry()});
        if (conteneur(w))
            retenir(w);
    }
}

void Redimensionnement::RedimensionnerFeuille() {
    // Registered hidden or minimised with no size, or shown at none: nothing to scale from.
    if (occupe_ || reference_.width() <= 0 || reference_.height() <= 0 || zone_->width() <= 0 ||
        zone_->height() <= 0)
        return;
    occupe_ = true;
    const int l = zone_->width(), h = zone_->height();
    for (const Controle& c : std::as_const(controles_))
        if (c.widget) {
            const QRect& r = c.conception;
            c.widget->setGeometry(echelle(r.x(), l, reference_.width()), echelle(r.y(), h, reference_.height()),
                                  echelle(r.width(), l, reference_.width()),
                                  echelle(r.height(), h, reference_.height()));
        }
    occupe_ = false;
}

bool Redimensionnement::eventFilter(QObject* objet, QEvent* evenement) {
    if (objet == zone_ && evenement->type() == QEvent::Resize)
        RedimensionnerFeuille();
    return QObject::eventFilter(objet, evenement);
}
