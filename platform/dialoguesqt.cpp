#include "platform/dialoguesqt.h"
#include <QStandardPaths>
#include <QDir>
#include <QFileDialog>

#include "rules/frmMessageAlaSouris.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

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
    boite.exec();
    const auto clique = boite.standardButton(boite.clickedButton());
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
    boite.setOkButtonText(QStringLiteral("OK"));
    boite.setCancelButtonText(QStringLiteral("Annuler"));
    if (boite.exec() != QDialog::Accepted)
        return std::nullopt;
    return boite.textValue();
}

std::optional<QString> DialoguesQt::fichierAEnregistrer(const QString& titre, const QString& nomPropose) {
    PointeurNormal pointeur;
    const QString chemin = QFileDialog::getSaveFileName(
        parent_, titre, QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(nomPropose),
        QStringLiteral("Tableur CSV (*.csv)"));
    if (chemin.isEmpty())
        return std::nullopt;
    return chemin;
}

int DialoguesQt::choix(const FenetreChoix& fenetre) {
    PointeurNormal pointeur;
    frmMessageAlaSouris f(fenetre, parent_);
    f.exec();
    return f.boutonChoisi();
}

void DialoguesQt::bip() { QApplication::beep(); }

void DialoguesQt::sablier(bool actif) {
    if (actif)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}
