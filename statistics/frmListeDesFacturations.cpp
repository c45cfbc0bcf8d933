#include "statistics/frmListeDesFacturations.h"

#include "platform/reprise.h"
#include "returns/listeqt.h"
#include "statistics/journalenvois.h"

#include <QPushButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

frmListeDesFacturations::frmListeDesFacturations(QString programme, PortDialogue& dialogues, QWidget* parent)
    : QDialog(parent), programme_(std::move(programme)), dialogues_(dialogues) {
    setObjectName(QStringLiteral("frmListeDesFacturations"));
    setWindowTitle(QStringLiteral("Liste des facturations envoyées"));
    ListView1 = nouvelleListe(this, QStringLiteral("ListView1"), journalenvois::entetes());
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setAccessibleName(QStringLiteral("Facturations envoyées"));
    Command1 = new QPushButton(QStringLiteral("&Fermer"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    // The list follows the window's size; the button stays at the bottom right.
    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(ListView1, 1);
    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(boutonExporter(this, [this] {
        tableur::exporter(QStringLiteral("Facturations envoyees.csv"), journalenvois::entetes(), rangees(ListView1),
                          dialogues_);
    }));
    boutons->addWidget(Command1);
    disposition->addLayout(boutons);
    resize(900, 400);
    connect(Command1, &QPushButton::clicked, this, &QDialog::close);
    auBoutonDroit(ListView1, [this](int) { ListView1_MouseUp(); });
    Form_Load();
}

void frmListeDesFacturations::Form_Load() {
    journal_.clear();
    executerAvecReprise(dialogues_, QStringLiteral("Erreur en lecture"),
                        [&] { journal_ = journalenvois::lire(programme_); });
    ListView1->remplir(journal_, journalenvois::colonnes);
}

void frmListeDesFacturations::ListView1_MouseUp() {
    QList<int> selection;
    for (int r : ListView1->choisies())
        selection << ListView1->modele()->source(r);
    if (journalenvois::retirer(programme_, journal_, selection, dialogues_) != journalenvois::Retrait::Annule)
        Form_Load();
}
