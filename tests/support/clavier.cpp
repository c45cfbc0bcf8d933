#include "support/clavier.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

Clavier& Clavier::taper(const QString& texte) {
    for (const QChar c : texte) {
        const QChar u = c.toUpper();
        Qt::Key cle = Qt::Key_unknown;
        if ((u >= QLatin1Char('A') && u <= QLatin1Char('Z')) || (u >= QLatin1Char('0') && u <= QLatin1Char('9')))
            cle = static_cast<Qt::Key>(u.unicode());
        else if (c == QLatin1Char(' '))
            cle = Qt::Key_Space;
        else if (c == QLatin1Char('.'))
            cle = Qt::Key_Period;
        else if (c == QLatin1Char('-'))
            cle = Qt::Key_Minus;
        touches_.append({cle, Qt::NoModifier, c, {}, false, {}});
    }
    return *this;
}

Clavier& Clavier::touche(Qt::Key cle, Qt::KeyboardModifiers modificateurs) {
    touches_.append({cle, modificateurs, QChar(), {}, false, {}});
    return *this;
}

Clavier& Clavier::attendreUneFenetre(const QString& nom) {
    touches_.append({Qt::Key_unknown, Qt::NoModifier, QChar(), {}, true, nom});
    return *this;
}

Clavier& Clavier::pause(int ms) {
    touches_.append({Qt::Key_unknown, Qt::NoModifier, QChar(), {}, false, {}, ms});
    return *this;
}

Clavier& Clavier::puis(std::function<void()> action) {
    touches_.append({Qt::Key_unknown, Qt::NoModifier, QChar(), std::move(action), false, {}});
    return *this;
}

QWidget* Clavier::cible() {
    if (QWidget* menu = QApplication::activePopupWidget())
        return menu;
    QWidget* fenetre = QApplication::activeModalWidget();
    if (!fenetre)
        fenetre = QApplication::activeWindow();
    if (!fenetre) {  // the window that closed gave the focus to none: the one below takes it
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && !w->isMinimized() && w->windowType() != Qt::ToolTip)
                fenetre = w;
        if (fenetre)
            QApplication::setActiveWindow(fenetre);
    }
    if (!fenetre)
        return nullptr;
    if (QApplication::activeWindow() != fenetre->window())
        QApplication::setActiveWindow(fenetre->window());
    QWidget* f = fenetre->focusWidget();
    return f ? f : fenetre;
}

bool Clavier::jouer(int delaiMs) {
    const QList<Touche> touches = std::exchange(touches_, {});
    int suivante = 0;
    bool fermee = false;
    QElapsedTimer depuisLaDerniere;
    depuisLaDerniere.start();
    // Each step is a timer of its own, armed before the key is sent: a key that opens a window
    // from within its event (a menu item, an access key) leaves the next step to fire in the
    // window's own event loop.
    QObject contexte;
    bool actif = true;
    std::function<void()> etape;
    etape = [&] {
        if (!actif)
            return;
        QTimer::singleShot(2, &contexte, etape);
        if (suivante >= touches.size()) {
            // A window left waiting for a key that will not come: closed, and told.
            if (QWidget* m = QApplication::activeModalWidget(); m && depuisLaDerniere.elapsed() > 1000) {
                fermee = true;
                m->close();
            }
            return;
        }
        if (touches[suivante].pauseMs > 0) {
            if (depuisLaDerniere.elapsed() >= touches[suivante].pauseMs) {
                ++suivante;
                depuisLaDerniere.restart();
            }
            return;
        }
        if (touches[suivante].attente) {
            QWidget* m = QApplication::activeModalWidget();
            if (m && (touches[suivante].fenetre.isEmpty() || m->objectName() == touches[suivante].fenetre)) {
                ++suivante;
                depuisLaDerniere.restart();
            } else if (depuisLaDerniere.elapsed() > delaiMs) {
                // The window awaited never came: what is open instead is closed, and told.
                ADD_FAILURE() << "Fenêtre attendue : " << qPrintable(touches[suivante].fenetre)
                              << ", ouverte : " << (m ? qPrintable(m->objectName()) : "aucune");
                fermee = true;
                if (m)
                    m->close();
                else
                    suivante = touches.size();
            }
            return;
        }
        QWidget* w = cible();
        if (!w)
            return;
        const Touche t = touches[suivante++];
        depuisLaDerniere.restart();
        if (t.action)
            t.action();
        else if (t.caractere.isNull())
            QTest::keyClick(w, t.cle, t.modificateurs);
        else if (t.cle != Qt::Key_unknown && t.caractere.unicode() < 0x80)
            QTest::keyClick(w, t.caractere.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, w, t.cle, QString(t.caractere), Qt::NoModifier);
    };
    QTimer::singleShot(2, &contexte, etape);
    const bool fini = QTest::qWaitFor([&] { return suivante >= touches.size(); }, delaiMs);
    // What the last key started (a deferred loss of focus) runs to its end.
    for (int i = 0; i < 30; ++i)
        QTest::qWait(5);
    actif = false;
    return fini && !fermee;
}
