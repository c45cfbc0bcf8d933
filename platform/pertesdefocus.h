#pragma once
#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>

class QWidget;

// The loss-of-focus work of a window's boxes. It runs once the focus has moved (so that a
// message box it opens never fights the focus change) and always before a command: a command
// first runs the pending work and the work of the box that has the focus, then itself, unless
// that work was refused or cancelled by the user (it returns false: the command is dropped, as
// the box's message asked). A command given while such work runs (a box it opened is on
// screen, an access key's delayed click fires) waits until the work has ended, so it never
// reads a half-done box.
class PertesDeFocus : public QObject {
public:
    explicit PertesDeFocus(QObject* parent) : QObject(parent) {}

    // `boite` (or any widget inside it) losing the focus for real queues `travail`. Editing the
    // box again makes the work due again after a command ran it.
    void surveiller(QWidget* boite, std::function<bool()> travail);

    // Runs `action` after the work described above.
    void commande(std::function<void()> action);
    // Runs `action` now, or once the work that runs has ended; the boxes' work is not run for
    // it (cut, paste or a new window need the box as it stands).
    void quandLibre(std::function<void()> action);

    // Runs the pending work and that of the box that has the focus, now; false when one of them
    // was refused or cancelled.
    bool terminer();

    bool enCours() const { return enCours_ > 0; }

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    struct Surveillee {
        QWidget* boite;
        std::function<bool()> travail;
    };
    void differer(const Surveillee& s);
    bool executerEnAttente();
    bool executer(const std::function<bool()>& travail);
    void reprendre();
    const Surveillee* surveilleeDe(const QObject* objet) const;

    std::deque<Surveillee> surveillees_;
    std::deque<std::function<bool()>> enAttente_;
    struct EnAttente {
        std::function<void()> action;
        bool terminerAvant;  // the boxes' work first, as for `commande`
    };
    std::deque<EnAttente> commandes_;
    QPointer<QWidget> dejaTraitee_;  // box whose work ran at a command, before it lost the focus
    int enCours_ = 0;
};
