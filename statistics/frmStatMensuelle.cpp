#include "statistics/frmStatMensuelle.h"

#include "platform/dialogues.h"
#include "platform/erreurs.h"
#include "platform/horloge.h"
#include "platform/imprimantes.h"
#include "platform/reprise.h"
#include "returns/listeqt.h"
#include "statistics/vuegraphique.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

frmStatMensuelle::frmStatMensuelle(QString programme, const Configuration& configuration, QString agence,
                                   QString etablissement, MagasinReglages& utilisateur, PortDialogue& dialogues,
                                   QWidget* parent)
    : QDialog(parent), programme_(std::move(programme)), configuration_(configuration),
      agence_(std::move(agence)), etablissement_(std::move(etablissement)), utilisateur_(utilisateur),
      dialogues_(dialogues) {
    setObjectName(QStringLiteral("frmStatMensuelle"));
    setWindowTitle(QStringLiteral("Statistiques mensuelles"));
    auto* choix = new QHBoxLayout;
    const QStringList cadres = {QStringLiteral("1 - Sélectionnez l'optométriste"), QStringLiteral("2 - Année"),
                                QStringLiteral("3 - Mois")};
    const QStringList noms = {QStringLiteral("Optométriste"), QStringLiteral("Année"), QStringLiteral("Mois")};
    for (int i = 0; i < cadres.size(); ++i) {
        auto* cadre = new QGroupBox(cadres[i], this);
        auto* c = new QComboBox(cadre);
        c->setObjectName(QStringLiteral("Combo1_%1").arg(i));
        c->setAccessibleName(noms[i]);
        (new QVBoxLayout(cadre))->addWidget(c);
        choix->addWidget(cadre, i == 0 ? 2 : 1);
        Combo1 << c;
    }
    ListView1 = nouvelleListe(this, QStringLiteral("ListView1"), statmensuelle::colonnes());
    ListView1->setAccessibleName(QStringLiteral("Factures du mois"));
    Onglets = new QTabWidget(this);
    Onglets->setObjectName(QStringLiteral("Onglets"));
    Graphique = new PanneauGraphique(programme_, dialogues_, Onglets);
    Onglets->addTab(ListView1, QStringLiteral("Factures du m&ois"));
    Onglets->addTab(Graphique, QStringLiteral("&Graphique par jour"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    const QStringList legendes = {QStringLiteral("Imprimer un &sommaire"), QStringLiteral("Imprimer la &liste"),
                                  QStringLiteral("&Fermer"), QStringLiteral("&Afficher"),
                                  QStringLiteral("Envoyer un sommaire par &courriel")};
    auto* boutons = new QHBoxLayout;
    for (int i = 0; i < legendes.size(); ++i) {
        auto* b = new QPushButton(legendes[i], this);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1 << b;
    }
    for (int i : {3, 0, 1, 4})
        boutons->addWidget(Command1[i]);
    boutons->addWidget(boutonExporter(this, [this] {
        tableur::exporter(QStringLiteral("Statistiques mensuelles.csv"), statmensuelle::colonnes(), rangees(ListView1),
                          dialogues_);
    }));
    boutons->addWidget(Command1[2]);
    auto* disposition = new QVBoxLayout(this);
    disposition->addLayout(choix);
    disposition->addWidget(Command1[3], 0, Qt::AlignLeft);
    disposition->addWidget(Onglets, 1);
    disposition->addWidget(ProgressBar1);
    disposition->addLayout(boutons);
    resize(860, 560);
    Form_Load();
    for (QComboBox* c : Combo1)
        connect(c, &QComboBox::activated, this, &frmStatMensuelle::Combo1_Click);
}

void frmStatMensuelle::Form_Load() {
    const QDate aujourdhui = Horloge::aujourdhui();
    Combo1[0]->addItems(statmensuelle::optometristes(configuration_));
    Combo1[1]->addItems(statmensuelle::annees(aujourdhui));
    Combo1[1]->setCurrentText(QString::number(aujourdhui.year()));
    Combo1[2]->addItems(statmensuelle::mois());
    Combo1[2]->setCurrentIndex(aujourdhui.month() - 1);
    Combo1_Click();
}

void frmStatMensuelle::Combo1_Click() {
    ListView1->remplir(0, {});
    Graphique->afficher({}, {}, {});
    for (int i : {0, 1, 4})
        Command1[i]->setEnabled(false);
}

statmensuelle::Entete frmStatMensuelle::entete() const {
    return {agence_, etablissement_, Combo1[2]->currentText() + QLatin1Char(' ') + Combo1[1]->currentText(),
            Combo1[0]->currentText()};
}

bool frmStatMensuelle::confirmerImpression(const QString& texte) {
    return dialogues_.question(Icone::Question, QStringLiteral("Impression"),
                               texte + QStringLiteral("\n\n") + imprimantes::courante(), Boutons::OkAnnuler,
                               0) == Reponse::Ok;
}

void frmStatMensuelle::Command1_Click(int index) {
    switch (index) {
    case 2: close(); return;
    case 3: {
        const int mois = Combo1[2]->currentIndex() >= 0 ? Combo1[2]->currentIndex() + 1 : Horloge::aujourdhui().month();
        Sablier sablier(dialogues_);
        const bool lu = executerAvecReprise(dialogues_, QStringLiteral("Erreur en lecture"), [&] {
            mois_ = statmensuelle::lire(programme_, Combo1[0]->currentText().right(6),
                                        Combo1[1]->currentText().toInt(), mois, configuration_, [this](int p) {
                                            ProgressBar1->setValue(p);
                                            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                                        });
        });
        if (!lu)
            return;
        ListView1->remplir(statmensuelle::rangees(mois_, configuration_), [](const QStringList& r) { return r; });
        const statmensuelle::Entete e = entete();
        Graphique->afficher(statmensuelle::graphique(mois_, Combo1[1]->currentText().toInt(), mois),
                            QStringList{QStringLiteral("RAPPORT SUR LA FACTURATION À LA RAMQ")} + e.lignes(),
                            QStringLiteral("Montant par jour"));
        for (int i : {0, 1, 4})
            Command1[i]->setEnabled(true);
        return;
    }
    case 0:
    case 1: {
        if (!confirmerImpression(index == 0 ? QStringLiteral("Impression du sommaire mensuel sur")
                                            : QStringLiteral("Impression du rapport détaillé sur")))
            return;
        const QList<QStringList> lignes = rangees(ListView1);
        ImprimanteQt imprimante(programme_);
        imprimerDocument(imprimante, index == 0 ? QStringLiteral("Sommaire mensuel") : QStringLiteral("Rapport détaillé"),
                         Orientation::Portrait, [&](Page& page) {
                             if (index == 0)
                                 statmensuelle::imprimerSommaire(page, mois_, entete());
                             else
                                 statmensuelle::imprimerListe(page, lignes, entete());
                         }, dialogues_, QStringLiteral("Impression"));
        return;
    }
    case 4: statmensuelle::envoyer(mois_, entete(), utilisateur_, dialogues_); return;
    default: return;
    }
}
