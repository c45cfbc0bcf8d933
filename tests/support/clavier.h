#pragma once
#include "platform/dialoguesqt.h"
#include "support/dialoguesscriptes.h"

#include <QList>
#include <QString>
#include <Qt>
#include <functional>

class QWidget;

// The scripted port whose input boxes and choice windows are the program's real windows, so
// that the keyboard reaches them; every call is recorded, the messages answered by script.
class DialoguesReels : public DialoguesScriptes {
public:
    std::optional<QString> saisie(const QString& titre, const QString& invite, const QString& defaut) override {
        DialoguesScriptes::saisie(titre, invite, defaut);
        return qt.saisie(titre, invite, defaut);
    }
    int choix(const FenetreChoix& fenetre) override {
        DialoguesScriptes::choix(fenetre);
        return qt.choix(fenetre);
    }
    DialoguesQt qt;
};

// A keyboard as the user has one: each key goes to the widget that has the focus when it is
// pressed, one key per turn of the event loop, so a window that opens meanwhile (a box opened
// by a loss of focus) receives the keys that follow. When a window closes, the window below
// gets the focus back, as a window manager gives it.
class Clavier {
public:
    // Characters typed one by one (lower-case letters as the user types them).
    Clavier& taper(const QString& texte);
    Clavier& touche(Qt::Key cle, Qt::KeyboardModifiers modificateurs = Qt::NoModifier);
    // The user waits `ms` before the next key.
    Clavier& pause(int ms);
    // A step between two keys: what the test looks at, at that moment.
    Clavier& puis(std::function<void()> action);
    // The keys that follow wait until a window asks something, as a user waits to see it; with
    // a name, until the window of that name is the one waiting.
    Clavier& attendreUneFenetre(const QString& nom = {});
    // Plays every key, then lets the event loop run until what they started has ended. False
    // when the keys were not all played within `delaiMs`, or a window was still waiting for
    // the user a second after the last key (it is then closed, so the test goes on).
    bool jouer(int delaiMs = 10000);

    // The widget a key pressed now would reach: an open menu, else the focus of the window that
    // waits for the user.
    static QWidget* cible();

private:
    struct Touche {
        Qt::Key cle;
        Qt::KeyboardModifiers modificateurs;
        QChar caractere;
        std::function<void()> action;
        bool attente = false;
        QString fenetre;
        int pauseMs = 0;
    };
    QList<Touche> touches_;
};
