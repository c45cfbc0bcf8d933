#include "platform/barreoutils.h"

#include <QAction>
#include <QToolBar>

QToolBar* nouvelleBarre(QWidget* parent, std::span<const BoutonBarre> boutons,
                        const std::function<void(const QString& cle)>& clic) {
    auto* barre = new QToolBar(parent);
    barre->setObjectName(QStringLiteral("Toolbar1"));
    barre->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    barre->setIconSize(QSize(32, 32));
    for (const BoutonBarre& b : boutons)
        ajouterBouton(barre, b, clic);
    return barre;
}

QAction* ajouterBouton(QToolBar* barre, const BoutonBarre& b,
                       const std::function<void(const QString& cle)>& clic) {
    const QString cle = QString::fromUtf8(b.cle);
    QAction* a = barre->addAction(barre->style()->standardIcon(b.icone), QString::fromUtf8(b.legende));
    a->setObjectName(QStringLiteral("Toolbar1_") + cle);
    a->setData(cle);
    if (!b.raccourci.isEmpty())
        a->setShortcut(b.raccourci);
    if (b.infobulle) {
        QString infobulle = QString::fromUtf8(b.infobulle);
        if (!b.raccourci.isEmpty())
            infobulle += QStringLiteral(" (") + b.raccourci.toString(QKeySequence::NativeText) + QLatin1Char(')');
        a->setToolTip(infobulle);
    }
    QObject::connect(a, &QAction::triggered, barre, [clic, cle] { clic(cle); });
    return a;
}
