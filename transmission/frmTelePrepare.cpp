#include "transmission/frmTelePrepare.h"

#include "platform/accessibilite.h"
#include "platform/dialogues.h"
#include "platform/imprimantes.h"
#include "transmission/rapports.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

frmTelePrepare::frmTelePrepare(QString programme, const Configuration& configuration,
                               PortDialogue& dialogues, QWidget* parent)
    : QDialog(parent), programme_(std::move(programme)), configuration_(configuration),
      dialogues_(dialogues) {
    setObjectName(QStringLiteral("frmTelePrepare"));
    setWindowTitle(QStringLiteral("Préparation des factures pour transmission à la RAMQ."));
    setModal(true);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setMinimumWidth(460);
    Label1->setFrameShape(QFrame::StyledPanel);
    Label1->setMargin(10);
    Label3 = new QLabel(QStringLiteral("Imprimante:"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    nommer(Label3, Combo1);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    for (int i = 0; i < 5; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("Label2_%1").arg(i));
        l->hide();
        Label2 << l;
    }
    const QStringList legendes = {QStringLiteral("&Ok"), QStringLiteral("&Annuler")};
    for (int i = 0; i < legendes.size(); ++i) {
        auto* b = new QPushButton(legendes[i], this);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i));
        connect(b, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1 << b;
    }
    Command1[0]->setDefault(true);

    auto* grille = new QGridLayout(this);
    grille->addWidget(Label1, 0, 0, 1, 4);
    grille->addWidget(Label3, 1, 0);
    grille->addWidget(Combo1, 1, 1, 1, 3);
    grille->addWidget(ProgressBar1, 2, 0, 1, 4);
    grille->addWidget(Command1[0], 3, 2);
    grille->addWidget(Command1[1], 3, 3);
    grille->setColumnStretch(1, 1);

    Form_Load();
    connect(Combo1, &QComboBox::activated, this, &frmTelePrepare::Combo1_Click);
}

frmTelePrepare::~frmTelePrepare() { imprimantes::choisir(imprimantePrecedente_); }

void frmTelePrepare::Form_Load() {
    const preparation::Chargement c = preparation::charger(programme_, dialogues_);
    // Without the agency file there is nothing to prepare from.
    Command1[0]->setEnabled(!c.agenceManquante);
    if (!c.agenceManquante) {
        const preparation::Valeurs& v = c.valeurs;
        const QStringList valeurs = {v.requete, v.demandes, v.attestation, v.compteurFactures,
                                     v.sequence};
        for (int i = 0; i < valeurs.size(); ++i)
            Label2[i]->setText(valeurs[i]);
        Label1->setText(c.resume);
    }
    imprimantePrecedente_ = imprimantes::courante();
    Combo1->addItems(imprimantes::noms());
    Combo1->setCurrentText(imprimantePrecedente_);
    imprimantes::choisir(Combo1->currentText());
}

preparation::Valeurs frmTelePrepare::valeurs() const {
    return {Label2[0]->text(), Label2[1]->text(), Label2[2]->text(), Label2[3]->text(),
            Label2[4]->text()};
}

void frmTelePrepare::Combo1_Click() { imprimantes::choisir(Combo1->currentText()); }

void frmTelePrepare::Command1_Click(int index) {
    if (index == 1) {
        reject();
        return;
    }
    Command1[0]->setEnabled(false);
    const preparation::Valeurs v = valeurs();
    ImprimanteQt imprimante(programme_);
    preparation::Suivi suivi;
    suivi.imprimer = [&](const QString& cheminDemandes) {
        rapports::imprimerRapportsPreparation(imprimante, cheminDemandes, v.requete,
                                              v.attestation, configuration_);
    };
    // The bar is painted at once; no event is processed while Ftmp.Fil is locked, so no
    // click or timer can run in the middle of the preparation.
    suivi.progression = [this](int p) {
        ProgressBar1->setValue(p);
        ProgressBar1->repaint();
    };
    const preparation::Resultat r = preparation::Preparer(programme_, v, dialogues_, suivi);
    if (!r.reussi)
        return;
    preparee_ = true;
    emit facturesPreparees();
    accept();
}
