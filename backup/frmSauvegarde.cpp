#include "backup/frmSauvegarde.h"

#include "backup/sauvegarde.h"
#include "platform/dialogues.h"
#include "platform/reglages.h"

#include <QApplication>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The per-user settings file the save carries, when the store is one.
QString fichierReglages(const MagasinReglages& utilisateur) {
    const auto* u = dynamic_cast<const ReglagesUtilisateur*>(&utilisateur);
    return u ? u->fichier() : QString();
}

}  // namespace

frmSauvegarde::frmSauvegarde(QString programme, MagasinReglages& utilisateur, PortDialogue& dialogues,
                             bool restauration, QWidget* parent)
    : QDialog(parent), programme_(std::move(programme)), utilisateur_(utilisateur), dialogues_(dialogues),
      restauration_(restauration) {
    setObjectName(restauration ? QStringLiteral("frmRestauration") : QStringLiteral("frmSauvegarde"));
    setWindowTitle(restauration ? QStringLiteral("Restauration des données") : QStringLiteral("Sauvegarde des données"));
    auto* formulaire = new QFormLayout;
    const auto ligne = [&](const QString& libelle, QLineEdit*& boite, QPushButton*& bouton, const char* nom,
                           const QString& legende) {
        boite = new QLineEdit(this);
        boite->setObjectName(QString::fromLatin1(nom));
        boite->setMinimumWidth(420);
        bouton = new QPushButton(legende, this);
        bouton->setObjectName(QStringLiteral("Parcourir") + QString::fromLatin1(nom));
        auto* rangee = new QHBoxLayout;
        rangee->addWidget(boite);
        rangee->addWidget(bouton);
        auto* etiquette = new QLabel(libelle, this);
        etiquette->setBuddy(boite);
        formulaire->addRow(etiquette, rangee);
    };
    if (restauration) {
        ligne(QStringLiteral("&Archive :"), Archive, ParcourirArchive, "Archive", QStringLiteral("&Parcourir..."));
        ligne(QStringLiteral("&Dossier de la clinique :"), Dossier, ParcourirDossier, "Dossier",
              QStringLiteral("Pa&rcourir..."));
        Dossier->setText(QDir::toNativeSeparators(programme_));
    } else {
        ligne(QStringLiteral("&Dossier de destination :"), Dossier, ParcourirDossier, "Dossier",
              QStringLiteral("&Parcourir..."));
        Dossier->setText(QDir::toNativeSeparators(sauvegarde::destinationParDefaut(programme_, utilisateur_)));
    }
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    Executer = new QPushButton(restauration ? QStringLiteral("Res&taurer") : QStringLiteral("&Sauvegarder"), this);
    Executer->setObjectName(QStringLiteral("Executer"));
    Executer->setDefault(true);
    Fermer = new QPushButton(QStringLiteral("&Fermer"), this);
    Fermer->setObjectName(QStringLiteral("Fermer"));
    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(Executer);
    boutons->addWidget(Fermer);
    auto* tout = new QVBoxLayout(this);
    tout->addLayout(formulaire);
    tout->addWidget(ProgressBar1);
    tout->addLayout(boutons);

    const auto parcourir = [this](QLineEdit* boite, bool dossier) {
        const QString titre = windowTitle();
        const auto choisi = dossier ? dialogues_.dossierAChoisir(titre, QDir::fromNativeSeparators(boite->text()))
                                    : dialogues_.fichierAOuvrir(titre, sauvegarde::destinationParDefaut(programme_, utilisateur_),
                                                                QStringLiteral("Sauvegardes de Kestrova (Kestrova-*.zip)"));
        if (choisi)
            boite->setText(QDir::toNativeSeparators(*choisi));
    };
    if (ParcourirArchive)
        connect(ParcourirArchive, &QPushButton::clicked, this, [=, this] { parcourir(Archive, false); });
    connect(ParcourirDossier, &QPushButton::clicked, this, [=, this] { parcourir(Dossier, true); });
    connect(Executer, &QPushButton::clicked, this, &frmSauvegarde::Executer_Click);
    connect(Fermer, &QPushButton::clicked, this, &QDialog::reject);
    (restauration ? Archive : Dossier)->setFocus(Qt::OtherFocusReason);
}

void frmSauvegarde::progression(int part) {
    ProgressBar1->setValue(part);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmSauvegarde::Executer_Click() {
    const QString dossier = QDir::fromNativeSeparators(Dossier->text().trimmed());
    const auto suivi = [this](int part) { progression(part); };
    ProgressBar1->setValue(0);
    setEnabled(false);
    if (restauration_) {
        const QString archive = QDir::fromNativeSeparators(Archive->text().trimmed());
        if (const auto r = sauvegarde::RestaurerDepuisFenetre(archive, dossier, programme_, fichierReglages(utilisateur_),
                                                              utilisateur_, dialogues_, suivi))
            restaure_ = *r;
    } else {
        sauvegarde::SauvegarderDepuisFenetre(programme_, dossier, fichierReglages(utilisateur_), utilisateur_,
                                             dialogues_, suivi);
    }
    setEnabled(true);
    if (!restaure_.isEmpty())
        accept();
}
