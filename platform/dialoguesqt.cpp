#include "platform/dialoguesqt.h"
#include <QStandardPaths>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/accessibilite.h"
#include "rules/frmMessageAlaSouris.h"

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {

QMessageBox::Icon iconeQt(Icone icone) {
    switch (icone) {
    case Icone::Critique: return QMessageBox::Critical;
    case Icone::Exclamation: return QMessageBox::Warning;
    case Icone::Information: return QMessageBox::Information;
    case Icone::Question: return QMessageBox::Question;
    case Icone::Aucune: break;
    }
    return QMessageBox::NoIcon;
}

struct BoutonQt {
    QMessageBox::StandardButton bouton;
    const char* legende;
    Reponse reponse;
};

QList<BoutonQt> boutonsDe(Boutons boutons) {
    switch (boutons) {
    case Boutons::Ok: return {{QMessageBox::Ok, "OK", Reponse::Ok}};
    case Boutons::OkAnnuler:
        return {{QMessageBox::Ok, "OK", Reponse::Ok},
                {QMessageBox::Cancel, "Annuler", Reponse::Annuler}};
    case Boutons::OuiNon:
        return {{QMessageBox::Yes, "&Oui", Reponse::Oui}, {QMessageBox::No, "&Non", Reponse::Non}};
    case Boutons::ReessayerAnnuler:
        return {{QMessageBox::Retry, "&Réessayer", Reponse::Reessayer},
                {QMessageBox::Cancel, "Annuler", Reponse::Annuler}};
    }
    return {};
}

// Shows the box with the normal pointer even while an operation holds the hourglass.
class PointeurNormal {
public:
    PointeurNormal() : actif_(QApplication::overrideCursor() != nullptr) {
        if (actif_)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~PointeurNormal() {
        if (actif_)
            QApplication::restoreOverrideCursor();
    }

private:
    bool actif_;
};

// While a box of the port is open, the keys the user typed ahead for the window below never act
// in it. The box opens the moment a box below loses the focus, often before the key that the
// user meant for that window arrives: a Tab or Shift+Tab that comes before any other key is
// dropped, so the box keeps its first choice or its selected text; an Alt+letter that nothing
// in the box takes never types a letter, and once the box is answered it is given to the
// window below (the command the user asked for is carried out after the answer).
class GardeOuverture : public QObject {
public:
    explicit GardeOuverture(QWidget* boite) : boite_(boite), dessous_(QApplication::activeWindow()) {
        qApp->installEventFilter(this);
    }
    ~GardeOuverture() override { qApp->removeEventFilter(this); }

    // The access key typed meanwhile, to the window below; after an answer only.
    void transmettre() const {
        if (!touche_ || !dessous_)
            return;
        const QKeySequence voulue(Qt::ALT | touche_);
        for (QAbstractButton* b : dessous_->findChildren<QAbstractButton*>())
            if (b->window() == dessous_ && b->isVisible() && b->isEnabled() &&
                QKeySequence::mnemonic(b->text()) == voulue) {
                QTimer::singleShot(0, b, &QAbstractButton::click);
                return;
            }
        for (QAction* a : dessous_->findChildren<QAction*>())
            if (a->isEnabled() && a->shortcuts().contains(voulue)) {
                QTimer::singleShot(0, a, &QAction::trigger);
                return;
            }
    }

protected:
    bool eventFilter(QObject* objet, QEvent* e) override {
        if (e->type() != QEvent::KeyPress || !objet->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(objet);
        if (w != boite_ && !boite_->isAncestorOf(w))
            return false;
        const auto* k = static_cast<const QKeyEvent*>(e);
        const int cle = k->key();
        if (cle == Qt::Key_Shift || cle == Qt::Key_Control || cle == Qt::Key_Alt || cle == Qt::Key_Meta ||
            cle == Qt::Key_AltGr)
            return false;
        if (!autreTouche_ && (cle == Qt::Key_Tab || cle == Qt::Key_Backtab))
            return true;
        const auto mods = k->modifiers() & ~Qt::KeypadModifier;
        if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) &&
            ((cle >= Qt::Key_A && cle <= Qt::Key_Z) || (cle >= Qt::Key_0 && cle <= Qt::Key_9))) {
            touche_ = cle;
            return true;
        }
        autreTouche_ = true;
        return false;
    }

private:
    QWidget* boite_;
    QPointer<QWidget> dessous_;
    bool autreTouche_ = false;
    int touche_ = 0;
};

}  // namespace

void DialoguesQt::message(Icone icone, const QString& titre, const QString& texte) {
    question(icone, titre, texte, Boutons::Ok, 0);
}

Reponse DialoguesQt::question(Icone icone, const QString& titre, const QString& texte,
                              Boutons boutons, int parDefaut) {
    PointeurNormal pointeur;
    QMessageBox boite(iconeQt(icone), titre, texte, QMessageBox::NoButton, parent_);
    boite.setTextFormat(Qt::PlainText);
    const QList<BoutonQt> liste = boutonsDe(boutons);
    for (int i = 0; i < liste.size(); ++i) {
        QPushButton* b = boite.addButton(liste[i].bouton);
        b->setText(QString::fromUtf8(liste[i].legende));
        if (i == parDefaut)
            boite.setDefaultButton(b);
    }
    GardeOuverture garde(&boite);
    boite.exec();
    const auto clique = boite.standardButton(boite.clickedButton());
    if (boite.clickedButton())
        garde.transmettre();
    for (const BoutonQt& b : liste)
        if (b.bouton == clique)
            return b.reponse;
    return liste.size() > 1 ? liste.last().reponse : liste.first().reponse;
}

std::optional<QString> DialoguesQt::saisie(const QString& titre, const QString& invite,
                                           const QString& defaut) {
    PointeurNormal pointeur;
    QInputDialog boite(parent_);
    boite.setWindowTitle(titre);
    boite.setLabelText(invite);
    boite.setTextValue(defaut);
    if (auto* texte = boite.findChild<QLineEdit*>())
        texte->setAccessibleName(nomDeLibelle(invite));
    boite.setOkButtonText(QStringLiteral("OK"));
    boite.setCancelButtonText(QStringLiteral("Annuler"));
    // The text box has the focus and its text is selected, however the box was opened.
    QTimer::singleShot(0, &boite, [&boite] {
        if (auto* texte = boite.findChild<QLineEdit*>()) {
            texte->setFocus(Qt::OtherFocusReason);
            texte->selectAll();
        }
    });
    GardeOuverture garde(&boite);
    if (boite.exec() != QDialog::Accepted)
        return std::nullopt;
    garde.transmettre();
    return boite.textValue();
}

std::optional<PortDialogue::FichierChoisi> DialoguesQt::fichierAEnregistrer(const QString& titre, const QString& nomPropose,
                                                                           const QStringList& types) {
    PointeurNormal pointeur;
    // The last folder an export went to in this session, else the clinic's folder.
    const QString dossier = dossierExportation_.isEmpty()
                                ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                : dossierExportation_;
    // The type chosen last is proposed again, the name with its extension ("(*.xlsx)").
    const int type = typeExportation_ < types.size() ? typeExportation_ : 0;
    QString filtre = types.value(type);
    QString nom = nomPropose;
    static const QRegularExpression motif(QStringLiteral("\\(\\*(\\.[A-Za-z0-9]+)\\)"));
    if (const auto m = motif.match(filtre); m.hasMatch() && type > 0)
        nom = QFileInfo(nom).completeBaseName() + m.captured(1);
    const QString chemin = QFileDialog::getSaveFileName(parent_, titre, QDir(dossier).filePath(nom),
                                                        types.join(QStringLiteral(";;")), &filtre);
    if (chemin.isEmpty())
        return std::nullopt;
    dossierExportation_ = QFileInfo(chemin).absolutePath();
    typeExportation_ = std::max<int>(0, static_cast<int>(types.indexOf(filtre)));
    return FichierChoisi{chemin, typeExportation_};
}

std::optional<QString> DialoguesQt::fichierAOuvrir(const QString& titre, const QString& dossier, const QString& filtre) {
    PointeurNormal pointeur;
    const QString chemin = QFileDialog::getOpenFileName(parent_, titre, dossier, filtre);
    if (chemin.isEmpty())
        return std::nullopt;
    return chemin;
}

std::optional<QString> DialoguesQt::dossierAChoisir(const QString& titre, const QString& depart) {
    PointeurNormal pointeur;
    const QString chemin = QFileDialog::getExistingDirectory(parent_, titre, depart);
    if (chemin.isEmpty())
        return std::nullopt;
    return chemin;
}

int DialoguesQt::choix(const FenetreChoix& fenetre) {
    PointeurNormal pointeur;
    frmMessageAlaSouris f(fenetre, parent_);
    GardeOuverture garde(&f);
    f.exec();
    if (f.boutonChoisi() >= 0)
        garde.transmettre();
    return f.boutonChoisi();
}

void DialoguesQt::bip() { QApplication::beep(); }

void DialoguesQt::sablier(bool actif) {
    if (actif)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}
