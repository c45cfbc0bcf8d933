#include "support/textesfenetre.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTabBar>
#include <QTreeView>

QStringList textesDe(const QWidget* fenetre) {
    QStringList t{fenetre->windowTitle()};
    for (const QWidget* w : fenetre->findChildren<QWidget*>()) {
        t << w->toolTip();
        if (auto* l = qobject_cast<const QLabel*>(w))
            t << l->text();
        else if (auto* b = qobject_cast<const QAbstractButton*>(w))
            t << b->text();
        else if (auto* g = qobject_cast<const QGroupBox*>(w))
            t << g->title();
        else if (auto* o = qobject_cast<const QTabBar*>(w))
            for (int i = 0; i < o->count(); ++i)
                t << o->tabText(i);
        else if (auto* a = qobject_cast<const QTreeView*>(w); a && a->model())
            for (int i = 0; i < a->model()->columnCount(); ++i)
                t << a->model()->headerData(i, Qt::Horizontal).toString();
    }
    for (const QAction* a : fenetre->findChildren<QAction*>())
        t << a->text() << a->toolTip() << a->shortcut().toString(QKeySequence::NativeText);
    t.removeAll(QString());
    return t;
}

QStringList motsAnglais(const QStringList& textes) {
    static const QRegularExpression anglais(
        QStringLiteral("\\b(Cancel|Save|Open|Undo|Redo|Copy|Paste|Cut|Delete|Select All|Yes|Retry|File name|"
                       "Look in|Files of type|Folder|Close)\\b"));
    QStringList trouves;
    for (QString t : textes) {
        t.remove(QLatin1Char('&'));
        if (const auto m = anglais.match(t); m.hasMatch())
            trouves << m.captured(0) + QStringLiteral(" dans « ") + t + QStringLiteral(" »");
        else if (t == QLatin1String("No"))
            trouves << t;
    }
    return trouves;
}
