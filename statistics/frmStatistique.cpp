#include "statistics/frmStatistique.h"

#include "platform/accessibilite.h"
#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/horloge.h"
#include "platform/imprimantes.h"
#include "platform/lignecourante.h"
#include "platform/reprise.h"
#include "records/fichierfactures.h"
#include "returns/archives.h"
#include "returns/listeqt.h"
#include "statistics/frmStatMensuelle.h"
#include "statistics/frmTendances.h"
#include "statistics/statmensuelle.h"
#include "statistics/vuegraphique.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace {
const QString TitreLecture = QStringLiteral("Erreur en lecture");
}

frmStatistique::frmStatistique(QString programme, const Configuration& configuration, QString agence,
                               QString etablissement, MagasinReglages& utilisateur, PortDialogue& dialogues,
                               QWidget* parent)
    : QDialog(parent), programme_(std::move(programme)), configuration_(configuration),
      agence_(std::move(agence)), etablissement_(std::move(etablissement)), utilisateur_(utilisateur),
      dialogues_(dialogues) {
    setObjectName(QStringLiteral("frmStatistique"));
    setWindowTitle(QStringLiteral("Compte rendu"));
    const auto liste = [this](const char* nom, const QString& libelle, QGridLayout* g, int rangee) {
        auto* c = new QComboBox(this);
        c->setObjectName(QLatin1String(nom));
        auto* l = new QLabel(libelle, this);
        nommer(l, c);
        g->addWidget(l, rangee, 0);
        g->addWidget(c, rangee, 1);
        return c;
    };
    auto* grille = new QGridLayout(this);
    Combo1 = liste("Combo1", QStringLiteral("&Optométriste(s) :"), grille, 0);
    Combo2 = liste("Combo2", QStringLiteral("Précédentes facturations:"), grille, 1);
    ListView1 = nouvelleListe(this, QStringLiteral("ListView1"),
                              {QStringLiteral("Fichier"), QStringLiteral("Période"), QStringLiteral("Nombre")});
    ListView1->setAccessibleName(QStringLiteral("Liste des précédentes facturations"));
    grille->addWidget(ListView1, 2, 0, 1, 2);
    MSFlexGrid1 = new QTableWidget(0, 4, this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setAccessibleName(QStringLiteral("Actes comptés"));
    MSFlexGrid1->setHorizontalHeaderLabels(
        {QStringLiteral("Acte"), QStringLiteral("Nombre"), QStringLiteral("Prix"), QStringLiteral("Total")});
    MSFlexGrid1->verticalHeader()->hide();
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Onglets = new QTabWidget(this);
    Onglets->setObjectName(QStringLiteral("Onglets"));
    Graphique = new PanneauGraphique(programme_, dialogues_, Onglets);
    Onglets->addTab(MSFlexGrid1, QStringLiteral("Ta&bleau"));
    Onglets->addTab(Graphique, QStringLiteral("&Graphique"));
    grille->addWidget(Onglets, 0, 2, 5, 2);
    auto* periode = new QLabel(QStringLiteral("Période"), this);
    LabelPeriode = new QLabel(this);
    LabelPeriode->setObjectName(QStringLiteral("LabelPeriode"));
    auto* nombre = new QLabel(QStringLiteral("Nombre de factures :"), this);
    LabelNombre = new QLabel(this);
    LabelNombre->setObjectName(QStringLiteral("LabelNombre"));
    LabelAnnuel = new QLabel(this);
    LabelAnnuel->setObjectName(QStringLiteral("LabelAnnuel"));
    grille->addWidget(periode, 3, 0);
    grille->addWidget(LabelPeriode, 3, 1);
    grille->addWidget(nombre, 4, 0);
    grille->addWidget(LabelNombre, 4, 1);
    Combo3 = liste("Combo3", QStringLiteral("A&nnée :"), grille, 5);
    Command2 = new QPushButton(QStringLiteral("Statistique &annuelle"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setToolTip(QStringLiteral("Calcul des montants sur toute une année"));
    Command3 = new QPushButton(QStringLiteral("Statistique &mensuelle"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setToolTip(QStringLiteral("Afficher les statistiques mensuelles"));
    grille->addWidget(Command2, 6, 0);
    grille->addWidget(LabelAnnuel, 6, 1);
    grille->addWidget(Command3, 7, 0);
    Command4 = new QPushButton(QStringLiteral("&Tendances"), this);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command4->setToolTip(QStringLiteral("Les douze mois d'une année : montants facturés, refusés et payés"));
    grille->addWidget(Command4, 7, 1, Qt::AlignLeft);
    Command1 << new QPushButton(QStringLiteral("&Imprimer"), this) << new QPushButton(QStringLiteral("&Fermer"), this);
    for (int i = 0; i < Command1.size(); ++i) {
        Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        grille->addWidget(Command1[i], 6 + i, 3);
    }
    for (QPushButton* b : {Command1[0], Command1[1], Command2, Command3, Command4})
        b->setAutoDefault(false);
    grille->addWidget(boutonExporter(this, [this] {
        if (ListView1->hasFocus()) {
            exporterListe(ListView1, QStringLiteral("Facturations.csv"),
                          {{QStringLiteral("Nombre"), tableur::Colonne::Genre::Nombre}}, dialogues_);
            return;
        }
        tableur::exporter(QStringLiteral("Compte rendu.csv"),
                          tableur::colonnes({QStringLiteral("Acte"), QStringLiteral("Nombre"), QStringLiteral("Prix"),
                                             QStringLiteral("Total")},
                                            {{QStringLiteral("Nombre"), tableur::Colonne::Genre::Nombre}}),
                          lignesGrille(), dialogues_);
    }), 5, 3);
    grille->setColumnStretch(1, 1);
    grille->setColumnStretch(2, 1);
    resize(900, 560);
    connect(Command2, &QPushButton::clicked, this, &frmStatistique::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmStatistique::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmStatistique::Command4_Click);
    // The billing made current by a click or by the arrow keys is the one counted.
    suivreLaLigneCourante(ListView1);
    connect(ListView1, &QAbstractItemView::clicked, this, &frmStatistique::ListView1_Click);
    connect(ListView1->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &frmStatistique::ListView1_Click);
    Form_Load();
    connect(Combo1, &QComboBox::activated, this, &frmStatistique::Combo1_Click);
}

QList<QStringList> frmStatistique::lignesGrille() const {
    QList<QStringList> g;
    for (int r = 0; r < MSFlexGrid1->rowCount(); ++r) {
        QStringList cellules;
        for (int c = 0; c < 4; ++c)
            cellules << (MSFlexGrid1->item(r, c) ? MSFlexGrid1->item(r, c)->text() : QString());
        g << cellules;
    }
    return g;
}

QString frmStatistique::professionnel() const { return Combo1->currentText().right(6); }

void frmStatistique::Form_Load() {
    Combo1->addItems(comptesrendus::optometristes(configuration_));
    QStringList conserves;
    executerAvecReprise(dialogues_, TitreLecture, [&] { conserves = archives::fichiersConserves(programme_); });
    Combo2->addItems(conserves);
    Sablier sablier(dialogues_);
    StatistiquesActes(QLatin1Char('x'));
    QList<QStringList> resumes;
    for (const QString& nom : conserves) {
        archives::Conserve c{nom, {}, 0};
        executerAvecReprise(dialogues_, TitreLecture, [&] { c = archives::resumer(programme_, nom); });
        resumes << QStringList{c.nom, c.periode, QString::number(c.nombre)};
    }
    ListView1->remplir(resumes, [](const QStringList& r) { return r; });
    Combo3->addItems(statmensuelle::annees(Horloge::aujourdhui()));
    Combo3->setCurrentText(QString::number(Horloge::aujourdhui().year()));
}

void frmStatistique::afficher(const comptesrendus::Compte& compte, bool annuel) {
    const QList<QStringList> g = comptesrendus::grille(compte, configuration_, annuel);
    MSFlexGrid1->setRowCount(static_cast<int>(g.size()));
    for (int r = 0; r < g.size(); ++r)
        for (int c = 0; c < 4; ++c) {
            auto* cellule = new QTableWidgetItem(g[r].value(c));
            if (c > 0)
                cellule->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            MSFlexGrid1->setItem(r, c, cellule);
        }
    LabelNombre->setText(QString::number(compte.factures));
    compte_ = compte;
}

void frmStatistique::StatistiquesActes(QChar chiffreAnnee) {
    comptesrendus::Compte compte;
    executerAvecReprise(dialogues_, TitreLecture, [&] {
        compte = comptesrendus::compter(
            dossiers::resoudre(fichierfactures::dossierSauvegarde(programme_), fichierCourant_), professionnel(),
            chiffreAnnee, configuration_);
    });
    afficher(compte, false);
    LabelPeriode->setText(comptesrendus::periode(compte));
    LabelAnnuel->clear();
    dessiner();
}

void frmStatistique::Combo1_Click() {
    Sablier sablier(dialogues_);
    StatistiquesActes(QLatin1Char('x'));
}

void frmStatistique::ListView1_Click() {
    const int r = ListView1->courante();
    const QString nom = ListView1->texte(r, 0);
    if (r >= 0 && (nom != fichierCourant_ || !LabelAnnuel->text().isEmpty())) {  // not already shown
        fichierCourant_ = nom;
        Sablier sablier(dialogues_);
        StatistiquesActes(QLatin1Char('x'));
    }
}

void frmStatistique::Command2_Click() {
    Sablier sablier(dialogues_);
    const QChar chiffre = Combo3->currentText().right(1).at(0);
    comptesrendus::Compte annee;
    for (int i = 0; i < Combo2->count(); ++i)
        executerAvecReprise(dialogues_, TitreLecture, [&] {
            annee.ajouter(comptesrendus::compter(
                dossiers::resoudre(fichierfactures::dossierSauvegarde(programme_), Combo2->itemText(i)),
                professionnel(), chiffre, configuration_));
        });
    afficher(annee, true);
    LabelPeriode->setText(QStringLiteral("Pour l'année ") + Combo3->currentText());
    LabelAnnuel->setText(QStringLiteral("annuel"));
    dessiner();
}

void frmStatistique::dessiner() {
    const QString titre = LabelAnnuel->text().isEmpty() ? comptesrendus::titreGraphique(compte_)
                                                        : QStringLiteral("Actes de l'année ") + Combo3->currentText();
    Graphique->afficher(comptesrendus::graphique(compte_, configuration_, titre),
                        {QStringLiteral("Compte rendu de ") + Combo1->currentText(), LabelPeriode->text(),
                         QStringLiteral("Nombre de factures : ") + LabelNombre->text()},
                        QStringLiteral("Compte rendu"));
}

void frmStatistique::Command4_Click() {
    construireSousSablier<frmTendances>(dialogues_, programme_, configuration_, dialogues_, this)->exec();
}

void frmStatistique::Command3_Click() {
    frmStatMensuelle(programme_, configuration_, agence_, etablissement_, utilisateur_, dialogues_, this).exec();
}

void frmStatistique::Command1_Click(int index) {
    if (index == 1) {
        close();
        return;
    }
    const QList<QStringList> g = lignesGrille();
    ImprimanteQt imprimante(programme_);
    imprimerDocument(imprimante, QStringLiteral("Compte rendu"), Orientation::Portrait, [&](Page& page) {
        comptesrendus::imprimer(page, Combo1->currentText(), Horloge::aujourdhui(), LabelPeriode->text(),
                                LabelNombre->text(), g);
    }, dialogues_, QStringLiteral("Impression"));
}
