#include "platform/barreoutils.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

QToolBar* nouvelleBarre(QWidget* parent, std::span<const BoutonBarre> boutons,
                        const std::function<void(const QString& cle)>& clic) {
    auto* barre = new QToolBar(parent);
    barre->setObjectName(QStringLiteral("Toolbar1"));
    barre->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    barre->setIconSize(QSize(32, 32));
    // The button that has the focus is framed, so the keyboard's place is seen at once.
    barre->setStyleSheet(QStringLiteral("QToolButton:focus { border: 2px solid palette(highlight); border-radius: 4px; }"));
    for (const BoutonBarre& b : boutons)
        if (QWidget* bouton = barre->widgetForAction(ajouterBouton(barre, b, clic)))
            bouton->setFocusPolicy(Qt::StrongFocus);
    return barre;
}

QAction* ajouterBouton(QToolBar* barre, const BoutonBarre& b,
                       const std::function<void(const QString& cle)>& clic) {
    const QString cle = QString::fromUtf8(b.cle);
    const QString legende = QString::fromUtf8(b.legende);
    QAction* a = barre->addAction(barre->style()->standardIcon(b.icone), legende);
    a->setObjectName(QStringLiteral("Toolbar1_") + cle);
    a->setData(cle);
    a->setIconText(QString(legende).remove(QLatin1Char('&')));
    if (b.menu)
        a->setText(QString::fromUtf8(b.menu));
    if (!b.raccourci.isEmpty())
        a->setShortcut(b.raccourci);
    QString infobulle = b.infobulle ? QString::fromUtf8(b.infobulle) : a->iconText();
    if (!b.raccourci.isEmpty())
        infobulle += QStringLiteral(" (") + b.raccourci.toString(QKeySequence::NativeText) + QLatin1Char(')');
    a->setToolTip(infobulle);
    QObject::connect(a, &QAction::triggered, barre, [clic, cle] { clic(cle); });
    return a;
}

QMenu* menuDeLaBarre(QMenuBar* menus, const QString& titre, const QToolBar* barre) {
    QMenu* menu = menus->addMenu(titre);
    for (QAction* a : barre->actions())
        menu->addAction(a);
    return menu;
}

QMenuBar* barreDeMenus(QWidget* dialogue, QLayout* disposition) {
    auto* menus = new QMenuBar(dialogue);
    menus->setObjectName(QStringLiteral("BarreDeMenus"));
    disposition->setMenuBar(menus);
    return menus;
}
