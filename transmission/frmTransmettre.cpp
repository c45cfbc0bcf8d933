#include "transmission/frmTransmettre.h"

#include "config/parametres.h"
#include "platform/accessibilite.h"
#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/horloge.h"
#include "platform/reglages.h"
#include "platform/sessioncurl.h"
#include "statistics/frmListeDesFacturations.h"
#include "transmission/envoi.h"

#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString* const ClesClinique[] = {&parametres::NomDeLaClinique, &parametres::NoDeTelephone,
                                       &parametres::AdresseDeCourriel};
}

frmTransmettre::frmTransmettre(QString programme, MagasinReglages& utilisateur,
                               PortDialogue& dialogues, QWidget* parent)
    : QDialog(parent), programme_(std::move(programme)), utilisateur_(utilisateur),
      dialogues_(dialogues) {
    setObjectName(QStringLiteral("frmTransmettre"));
    setWindowTitle(QStringLiteral("Transmission des factures à la RAMQ"));
    auto* disposition = new QVBoxLayout(this);

    auto* resume = new QGroupBox(QStringLiteral("Facturation prête à partir"), this);
    auto* lignes = new QVBoxLayout(resume);
    for (int i = 0; i < 8; ++i) {
        auto* l = new QLabel(resume);
        l->setObjectName(QStringLiteral("Label1_%1").arg(i));
        lignes->addWidget(l);
        Label1 << l;
    }
    disposition->addWidget(resume);

    auto* clinique = new QGroupBox(QStringLiteral("Votre clinique"), this);
    auto* formulaire = new QFormLayout(clinique);
    const QStringList libelles = {QStringLiteral("Nom:"), QStringLiteral("Téléphone:"),
                                  QStringLiteral("Courriel:")};
    const QStringList noms = {QStringLiteral("Nom de la clinique"), QStringLiteral("Téléphone de la clinique"),
                              QStringLiteral("Courriel de la clinique")};
    for (int i = 0; i < 3; ++i) {
        auto* t = new QLineEdit(clinique);
        t->setObjectName(QStringLiteral("Text2_%1").arg(i));
        t->setMinimumWidth(320);
        auto* l = new QLabel(libelles[i], clinique);
        nommer(l, t, noms[i]);
        formulaire->addRow(l, t);
        Text2 << t;
    }
    disposition->addWidget(clinique);
    for (const int i : {8, 9}) {
        auto* t = new QLineEdit(this);
        t->setObjectName(QStringLiteral("Text1_%1").arg(i));
        t->hide();
        Text1[i] = t;
    }
    LabelSoutien = new QLabel(QStringLiteral("Soutien technique: <a href=\"mailto:%1\">%1</a>")
                                  .arg(parametres::AdresseSoutien),
                              this);
    LabelSoutien->setObjectName(QStringLiteral("LabelSoutien"));
    LabelSoutien->setToolTip(QStringLiteral("Cliquez pour écrire au soutien technique, votre fichier "
                                            "requête joint."));
    connect(LabelSoutien, &QLabel::linkActivated, this, [this] { LabelSoutien_Click(); });
    disposition->addWidget(LabelSoutien);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    disposition->addWidget(ProgressBar1);
    LabelConnexion = new QLabel(this);
    LabelConnexion->setObjectName(QStringLiteral("LabelConnexion"));
    disposition->addWidget(LabelConnexion);

    const QStringList legendes = {QStringLiteral("&Envoyer les factures"), QStringLiteral("&Annuler"),
                                  QStringLiteral("Afficher la &liste des facturations envoyées")};
    auto* boutons = new QHBoxLayout;
    for (int i = 0; i < legendes.size(); ++i) {
        auto* b = new QPushButton(legendes[i], this);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i));
        connect(b, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        boutons->addWidget(b);
        Command1 << b;
    }
    disposition->addLayout(boutons);
    Form_Load();
}

void frmTransmettre::Form_Load() {
    for (int i = 0; i < 3; ++i)
        Text2[i]->setText(parametres::lire(utilisateur_, *ClesClinique[i]));
    const envoi::Ouverture o = envoi::ouvrir(programme_, dialogues_);
    for (int i = 0; i < o.resume.size() && i < Label1.size(); ++i)
        Label1[i]->setText(o.resume[i]);
    Text1[8]->setText(o.cheminRequete);
    Text1[9]->setText(o.cheminDemandes);
    Command1[0]->setEnabled(o.envoiPossible);
}

void frmTransmettre::Command1_Click(int index) {
    if (index == 1) {
        close();
        return;
    }
    if (index == 2) {
        frmListeDesFacturations(programme_, dialogues_, this).exec();
        return;
    }
    envoi::Envoi e;
    e.programme = programme_;
    e.dossierTravail = dossiers::dossierTravail(programme_);
    e.cheminRequete = Text1[8]->text();
    e.cheminDemandes = Text1[9]->text();
    e.ftp = parametres::lireParametresFtp(utilisateur_);
    e.clinique = clinique();
    e.paComp = envoi::cheminPaComp(programme_);
    e.progression = [this](int p) {
        ProgressBar1->setValue(p);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    Command1[0]->setEnabled(false);
    Command1[1]->setEnabled(false);
    const quint64 avant = derniereConnexion().numero;
    if (envoi::Envoyer(e, dialogues_).enCours) {  // nothing tried: may be tried again later
        Command1[0]->setEnabled(true);
        Command1[1]->setEnabled(true);
    }
    LabelConnexion->setText(etatConnexion(avant));
}

void frmTransmettre::LabelSoutien_Click() {
    envoi::EcrireAuSoutien(envoi::courrielSoutien(clinique(), Text1[8]->text(),
                                                  parametres::lire(utilisateur_, parametres::AdresseDuSmtp),
                                                  Horloge::maintenant()),
                           dialogues_);
}

envoi::Clinique frmTransmettre::clinique() const {
    return {Text2[0]->text().trimmed(), Text2[1]->text().trimmed(), Text2[2]->text().trimmed()};
}

void frmTransmettre::enregistrerClinique() {
    for (int i = 0; i < 3; ++i)
        utilisateur_.ecrire(*ClesClinique[i], Text2[i]->text().trimmed());
}

void frmTransmettre::done(int resultat) {
    enregistrerClinique();
    QDialog::done(resultat);
}
