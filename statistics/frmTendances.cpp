#include "statistics/frmTendances.h"

#include "platform/accessibilite.h"
#include "platform/dialogues.h"
#include "platform/erreurs.h"
#include "platform/horloge.h"
#include "platform/reprise.h"
#include "platform/tableur.h"
#include "returns/listeqt.h"
#include "statistics/statmensuelle.h"
#include "statistics/tendances.h"
#include "statistics/vuegraphique.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QString TitreLecture = QStringLiteral("Erreur en lecture");
}

frmTendances::frmTendances(QString programme, const Configuration& configuration, PortDialogue& dialogues,
                           QWidget* parent)
    : QDialog(parent), programme_(std::move(programme)), configuration_(configuration), dialogues_(dialogues) {
    setObjectName(QStringLiteral("frmTendances"));
    setWindowTitle(QStringLiteral("Tendances"));
    Annee = new QComboBox(this);
    Annee->setObjectName(QStringLiteral("Annee"));
    auto* libelle = new QLabel(QStringLiteral("&Année :"), this);
    nommer(libelle, Annee);
    Onglets = new QTabWidget(this);
    Onglets->setObjectName(QStringLiteral("Onglets"));
    Graphique = new PanneauGraphique(programme_, dialogues_, Onglets);
    Tableau = new QTableWidget(this);
    Tableau->setObjectName(QStringLiteral("Tableau"));
    Tableau->setAccessibleName(QStringLiteral("Montants de chaque mois"));
    Tableau->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tableau->verticalHeader()->hide();
    Tableau->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Onglets->addTab(Graphique, QStringLiteral("&Graphique"));
    Onglets->addTab(Tableau, QStringLiteral("Ta&bleau"));
    Fermer = new QPushButton(QStringLiteral("&Fermer"), this);
    Fermer->setObjectName(QStringLiteral("Fermer"));
    Fermer->setAutoDefault(false);
    connect(Fermer, &QPushButton::clicked, this, &QDialog::close);
    // The table's figures, from either tab: the chart draws the same.
    Exporter = boutonExporter(this, [this] {
        tableur::exporter(QStringLiteral("Tendances %1.csv").arg(annee_.annee), tendances::colonnes(annee_),
                          tendances::rangees(annee_), dialogues_);
    });

    auto* haut = new QHBoxLayout;
    haut->addWidget(libelle);
    haut->addWidget(Annee);
    haut->addStretch(1);
    auto* bas = new QHBoxLayout;
    bas->addWidget(Exporter);
    bas->addStretch(1);
    bas->addWidget(Fermer);
    auto* disposition = new QVBoxLayout(this);
    disposition->addLayout(haut);
    disposition->addWidget(Onglets, 1);
    disposition->addLayout(bas);
    resize(900, 560);

    const QDate aujourdhui = Horloge::aujourdhui();
    Annee->addItems(statmensuelle::annees(aujourdhui));
    Annee->setCurrentText(QString::number(aujourdhui.year()));
    {
        Sablier sablier(dialogues_);
        executerAvecReprise(dialogues_, TitreLecture, [&] {
            suivi::reparer(programme_, aujourdhui);
            suivi_ = suivi::lire(programme_, aujourdhui);
        });
    }
    afficher();
    connect(Annee, &QComboBox::activated, this, &frmTendances::afficher);
}

void frmTendances::afficher() {
    Sablier sablier(dialogues_);
    tendances::Annee& a = annee_;
    a = {};
    a.annee = Annee->currentText().toInt();
    executerAvecReprise(dialogues_, TitreLecture, [&] {
        a = tendances::lire(programme_, Annee->currentText().toInt(), configuration_, suivi_);
    });
    const QStringList entetes = tendances::entetes(a);
    const QList<QStringList> rangees = tendances::rangees(a);
    Tableau->clear();
    Tableau->setColumnCount(static_cast<int>(entetes.size()));
    Tableau->setHorizontalHeaderLabels(entetes);
    Tableau->setRowCount(static_cast<int>(rangees.size()));
    for (int r = 0; r < rangees.size(); ++r)
        for (int c = 0; c < rangees[r].size(); ++c) {
            auto* cellule = new QTableWidgetItem(rangees[r][c]);
            if (c > 0)
                cellule->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Tableau->setItem(r, c, cellule);
        }
    Graphique->afficher(tendances::graphique(a),
                        {QStringLiteral("Tendances de la facturation"), QStringLiteral("Année : ") + Annee->currentText(),
                         QStringLiteral("Montants facturés selon les statistiques annuelles, refusés et payés selon "
                                        "le suivi des factures envoyées, par mois de la date du service")},
                        QStringLiteral("Tendances %1").arg(Annee->currentText()));
}
