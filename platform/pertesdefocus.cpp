#include "platform/pertesdefocus.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>

namespace {

// A focus that leaves for a menu, a popup or another window comes back: not a real loss.
bool perteReelle(const QEvent* e) {
    const auto r = static_cast<const QFocusEvent*>(e)->reason();
    return r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason && r != Qt::MenuBarFocusReason;
}

}  // namespace

void PertesDeFocus::surveiller(QWidget* boite, std::function<bool()> travail) {
    surveillees_.push_back({boite, std::move(travail)});
    boite->installEventFilter(this);
    QLineEdit* edition = qobject_cast<QLineEdit*>(boite);
    if (auto* c = qobject_cast<QComboBox*>(boite))
        edition = c->lineEdit();
    if (edition)
        connect(edition, &QLineEdit::textEdited, this, [this, boite] {
            if (dejaTraitee_ == boite)
                dejaTraitee_ = nullptr;
        });
}

const PertesDeFocus::Surveillee* PertesDeFocus::surveilleeDe(const QObject* objet) const {
    for (const Surveillee& s : surveillees_)
        if (s.boite == objet || (objet && objet->isWidgetType() &&
                                 s.boite->isAncestorOf(static_cast<const QWidget*>(objet))))
            return &s;
    return nullptr;
}

bool PertesDeFocus::eventFilter(QObject* objet, QEvent* e) {
    if (e->type() == QEvent::FocusOut && perteReelle(e))
        if (const Surveillee* s = surveilleeDe(objet); s && s->boite == objet) {
            if (dejaTraitee_ == s->boite)
                dejaTraitee_ = nullptr;  // its work ran when the command was given
            else
                differer(*s);
        }
    return QObject::eventFilter(objet, e);
}

void PertesDeFocus::differer(const Surveillee& s) {
    enAttente_.push_back(s.travail);
    QTimer::singleShot(0, this, &PertesDeFocus::reprendre);
}

void PertesDeFocus::reprendre() {
    if (enCours_ > 0)
        return;  // the work that runs resumes the rest when it ends
    executerEnAttente();
    while (enCours_ == 0 && !commandes_.empty()) {
        const EnAttente c = std::move(commandes_.front());
        commandes_.pop_front();
        if (c.terminerAvant)
            commande(c.action);
        else
            c.action();
    }
}

bool PertesDeFocus::executer(const std::function<bool()>& travail) {
    struct Compte {
        int& n;
        explicit Compte(int& n) : n(n) { ++n; }
        ~Compte() { --n; }
    } compte(enCours_);
    const bool fait = travail();
    if (enCours_ == 1 && (!enAttente_.empty() || !commandes_.empty()))
        QTimer::singleShot(0, this, &PertesDeFocus::reprendre);
    return fait;
}

bool PertesDeFocus::executerEnAttente() {
    bool fait = true;
    while (!enAttente_.empty()) {
        const std::function<bool()> travail = std::move(enAttente_.front());
        enAttente_.pop_front();
        fait = executer(travail) && fait;
    }
    return fait;
}

bool PertesDeFocus::terminer() {
    bool fait = executerEnAttente();
    QWidget* focus = QApplication::focusWidget();
    if (const Surveillee* s = surveilleeDe(focus)) {
        QWidget* boite = s->boite;
        dejaTraitee_ = boite;
        if (!executer(s->travail)) {
            fait = false;
            if (dejaTraitee_ == boite)
                dejaTraitee_ = nullptr;  // refused or cancelled: asked again when the box is left
        }
    }
    return fait;
}

void PertesDeFocus::commande(std::function<void()> action) {
    if (enCours_ > 0) {
        commandes_.push_back({std::move(action), true});
        return;
    }
    if (terminer())
        action();
}

void PertesDeFocus::quandLibre(std::function<void()> action) {
    if (enCours_ > 0)
        commandes_.push_back({std::move(action), false});
    else
        action();
}
