#include "config/frmCorrigeCfg.h"

#include "config/correction.h"
#include "platform/reprise.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

frmCorrigeCfg::frmCorrigeCfg(QString programme, PortDialogue& dialogues, QWidget* parent)
    : QDialog(parent), programme_(std::move(programme)), dialogues_(dialogues) {
    setObjectName(QStringLiteral("frmCorrigeCfg"));
    setWindowTitle(QStringLiteral("Correction du fichier de configuration"));
    setModal(true);
    executerAvecReprise(dialogues_, QStringLiteral("Erreur en lecture"), [&] {
        ancienne_ = fichierconfiguration::lireAncienne(fichierconfiguration::chemin(programme_));
    });

    auto* g = new QGridLayout(this);
    int ligne = 0;
    auto libelle = [&](const QString& texte, int colonne) {
        auto* l = new QLabel(texte, this);
        l->setObjectName(QStringLiteral("Label1_%1").arg(Label1.size()));
        g->addWidget(l, ligne, colonne);
        Label1 << l;
    };
    auto* titre = new QLabel(QStringLiteral("Optométristes et établissements de votre ancien fichier "
                                            "de configuration:"),
                             this);
    g->addWidget(titre, ligne++, 0, 1, 3);
    for (const Optometriste& o : ancienne_.optometristes) {
        if (!correction::optometristeEnUsage(o))
            continue;
        libelle(o.nom.trimmed(), 0);
        libelle(o.professionnel, 1);
        libelle(o.groupe, 2);
        ++ligne;
    }
    for (int i = 0; i < Configuration::NombreEtablissements; ++i) {
        if (!correction::etablissementEnUsage(ancienne_.etablissements[i]))
            continue;
        libelle(QStringLiteral("Établissement:  #%1").arg(i + 1), 0);
        libelle(ancienne_.etablissements[i].trimmed(), 1);
        ++ligne;
    }
    LabelNonLu = new QLabel(ancienne_.nonLu, this);
    LabelNonLu->setObjectName(QStringLiteral("LabelNonLu"));
    LabelNonLu->setWordWrap(true);
    LabelNonLu->setStyleSheet(QStringLiteral("color: #a00000;"));
    LabelNonLu->setVisible(!ancienne_.nonLu.isEmpty());
    g->addWidget(LabelNonLu, ligne++, 0, 1, 3);
    Command1 = new QPushButton(QStringLiteral("&Ok"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    g->addWidget(Command1, ligne, 2);
    connect(Command1, &QPushButton::clicked, this, &frmCorrigeCfg::Command1_Click);
}

void frmCorrigeCfg::Command1_Click() {
    if (!fait_) {
        fait_ = true;  // one rewrite whatever its outcome (told to the user): start-up goes on
        correction::Reecrire(programme_, ancienne_, dialogues_);
    }
    accept();
}

void frmCorrigeCfg::reject() { Command1_Click(); }
