#include "returns/frmPrecedenteFact.h"

#include "platform/accessibilite.h"
#include "platform/dialogues.h"
#include "platform/horloge.h"
#include "platform/lignecourante.h"
#include "platform/reprise.h"
#include "returns/listeqt.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmPrecedenteFact::frmPrecedenteFact(QString programme, PortDialogue& dialogues, QWidget* parent)
    : QDialog(parent), programme_(std::move(programme)), dialogues_(dialogues) {
    setObjectName(QStringLiteral("frmPrecedenteFact"));
    setWindowTitle(QStringLiteral("Remise en ligne une facturation précédente"));
    Label1 = new QLabel(QStringLiteral("Liste des précédentes facturations"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ListView1 = nouvelleListe(this, QStringLiteral("ListView1"), precedentes::colonnes());
    ListView1->modele()->alignerADroite({3, 4});
    nommer(Label1, ListView1);
    const QList<QPair<QString, QString>> boutons = {
        {QStringLiteral("&Fermer"), QStringLiteral("Fermer cette fenêtre.")},
        {QStringLiteral("Remettre en &ligne"), QStringLiteral("Remettre en ligne la facturation sélectionnée.")},
        {QStringLiteral("&Rayer"), QStringLiteral("Rayer la facturation sélectionnée.")},
    };
    auto* rangee = new QHBoxLayout;
    rangee->addStretch();
    for (int i = 0; i < boutons.size(); ++i) {
        auto* b = new QPushButton(boutons[i].first, this);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i));
        b->setToolTip(boutons[i].second);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1 << b;
    }
    rangee->addWidget(boutonExporter(this, [this] {
        tableur::exporter(QStringLiteral("Facturations precedentes.csv"), precedentes::colonnes(), rangees(ListView1),
                          dialogues_);
    }));
    for (int i : {1, 2, 0})
        rangee->addWidget(Command1[i]);
    StatusBar1 = new QLabel(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFrameShape(QFrame::StyledPanel);
    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(Label1);
    disposition->addWidget(ListView1, 1);
    disposition->addLayout(rangee);
    disposition->addWidget(StatusBar1);
    resize(640, 380);
    suivreLaLigneCourante(ListView1);  // the row the arrow keys reach is the billing chosen
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &frmPrecedenteFact::ListView1_Click);
    lister();
}

void frmPrecedenteFact::lister() {
    executerAvecReprise(dialogues_, QStringLiteral("Erreur en lecture"),
                        [&] { facturations_ = precedentes::lister(programme_); });
    ListView1->remplir(facturations_, [](const precedentes::Facturation& f) { return f.colonnes(); });
    ListView1_Click();
}

const precedentes::Facturation* frmPrecedenteFact::choisie() const {
    const QList<int> choisies = ListView1->choisies();
    return choisies.isEmpty() ? nullptr : &facturations_[ListView1->modele()->source(choisies.first())];
}

void frmPrecedenteFact::ListView1_Click() {
    const precedentes::Facturation* f = choisie();
    Command1[1]->setEnabled(f);
    Command1[2]->setEnabled(f);
    StatusBar1->setText(
        f ? precedentes::texteDate(precedentes::date(f->attestation, Horloge::aujourdhui())) : QString());
}

void frmPrecedenteFact::Command1_Click(int index) {
    const precedentes::Facturation* f = choisie();
    if (index == 0)
        close();
    else if (f && index == 1)
        precedentes::remettreEnLigne(programme_, *f, dialogues_);
    else if (f && index == 2 && precedentes::rayer(programme_, *f, dialogues_))
        lister();
}
