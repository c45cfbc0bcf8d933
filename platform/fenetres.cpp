#include "platform/fenetres.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// What a window's frame takes of the screen: a title bar, and its borders.
constexpr int HauteurTitre = 40;
constexpr int LargeurBords = 8;
// What a title bar shows beside the title: the icon and the buttons.
constexpr int MargeTitre = 128;
const char* const Ajustee = "kestrova_ajustee";

int largeurTitre(const QWidget* fenetre) {
    if (fenetre->windowTitle().isEmpty())
        return 0;
    QFont police = QApplication::font();
    police.setBold(true);  // title bars draw it bold or larger than text
    return QFontMetrics(police).horizontalAdvance(fenetre->windowTitle()) + MargeTitre;
}

class ZoneDefilante : public QScrollArea {
public:
    ZoneDefilante(Qt::Orientations sens, QWidget* parent) : QScrollArea(parent), sens_(sens) {
        if (!(sens & Qt::Horizontal))
            setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (!(sens & Qt::Vertical))
            setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // The control that gets the focus is shown, however it got it (Tab, an access key, the
        // program after a message).
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* nouveau) {
            if (nouveau && widget() && widget()->isAncestorOf(nouveau))
                ensureWidgetVisible(nouveau);
        });
    }
    QSize sizeHint() const override {
        if (!widget())
            return QScrollArea::sizeHint();
        return widget()->sizeHint().expandedTo(minimum()) + cadre();
    }
    // Until its window has its size, the area's own size says nothing of its scroll bars.
    void placer(bool place) {
        place_ = place;
        updateGeometry();
    }
    // A content that scrolls one way only keeps its whole extent the other way, with room for
    // the scroll bar beside it when it scrolls.
    QSize minimumSizeHint() const override {
        QSize m = QScrollArea::minimumSizeHint();
        if (!widget())
            return m;
        const QSize besoin = minimum() + cadre();
        const int barre = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        if (!(sens_ & Qt::Horizontal))
            m.setWidth(besoin.width() + (place_ && besoin.height() > height() ? barre : 0));
        if (!(sens_ & Qt::Vertical))
            m.setHeight(besoin.height() + (place_ && besoin.width() > width() ? barre : 0));
        return m;
    }

protected:
    void resizeEvent(QResizeEvent* e) override {
        QScrollArea::resizeEvent(e);
        if (sens_ != (Qt::Horizontal | Qt::Vertical))
            updateGeometry();  // whether a scroll bar needs room may have changed
    }

private:
    QSize minimum() const {  // below it, the content scrolls
        return widget()->minimumSize().expandedTo(widget()->minimumSizeHint());
    }
    QSize cadre() const { return {2 * frameWidth(), 2 * frameWidth()}; }

    Qt::Orientations sens_;
    bool place_ = false;
};

void placerLesZones(QWidget* fenetre, bool place) {
    for (QScrollArea* zone : fenetre->findChildren<QScrollArea*>())
        if (auto* z = dynamic_cast<ZoneDefilante*>(zone))
            z->placer(place);
    if (fenetre->layout())
        fenetre->layout()->activate();
}

void ajuster(QWidget* fenetre) {
    if (fenetre->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
        return;
    // A size the program gave is kept; otherwise the contents' whole size, not the two thirds
    // of the screen a window is given by default.
    placerLesZones(fenetre, false);
    const QSize libre = espaceLibre(fenetre);
    QSize voulue = fenetre->size();
    if (!fenetre->testAttribute(Qt::WA_Resized) && fenetre->sizeHint().isValid())
        voulue = fenetre->sizeHint().expandedTo(fenetre->minimumSize());
    voulue.setWidth(qMax(voulue.width(), largeurTitre(fenetre)));
    voulue = voulue.boundedTo(libre);
    fenetre->resize(voulue);
    // At that size, a scroll area may need room for its scroll bar.
    if (fenetre->layout())
        fenetre->layout()->activate();
    placerLesZones(fenetre, true);
    fenetre->resize(voulue.expandedTo(fenetre->minimumSize()));
}

class AjustementFenetres : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objet, QEvent* e) override {
        if (e->type() != QEvent::Show || !objet->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(objet);
        const Qt::WindowType genre = w->windowType();
        if (!w->isWindow() || (genre != Qt::Window && genre != Qt::Dialog) || w->property(Ajustee).toBool())
            return false;
        w->setProperty(Ajustee, true);  // once: the user's own sizes are never undone
        ajuster(w);
        return false;
    }
};

}  // namespace

QIcon iconeProgramme() {
    QIcon icone;
    for (int taille : {16, 24, 32, 48, 64, 128, 256})
        icone.addFile(QStringLiteral(":/kestrova/kestrova-%1.png").arg(taille), QSize(taille, taille));
    return icone;
}

void ajusterFenetresALEcran() {
    static AjustementFenetres* filtre = nullptr;
    if (filtre)
        return;
    filtre = new AjustementFenetres(qApp);
    qApp->installEventFilter(filtre);
}

QSize espaceLibre(const QWidget* fenetre) {
    const QScreen* ecran = fenetre->screen() ? fenetre->screen() : QGuiApplication::primaryScreen();
    return ecran->availableGeometry().size() - QSize(LargeurBords, HauteurTitre);
}

QScrollArea* zoneDefilante(QWidget* contenu, QWidget* parent, Qt::Orientations sens) {
    auto* zone = new ZoneDefilante(sens, parent);
    zone->setObjectName(QStringLiteral("defilement"));
    zone->setFrameShape(QFrame::NoFrame);
    zone->setFocusPolicy(Qt::NoFocus);  // the keyboard goes from control to control, as before
    zone->setWidgetResizable(true);
    zone->setWidget(contenu);
    return zone;
}

QWidget* contenuDefilant(QWidget* fenetre) {
    auto* contenu = new QWidget;
    contenu->setObjectName(QStringLiteral("contenu"));
    auto* disposition = new QVBoxLayout(fenetre);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->addWidget(zoneDefilante(contenu, fenetre, Qt::Vertical));
    return contenu;
}
