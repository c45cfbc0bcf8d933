#include "returns/frmArchives.h"

#include "platform/barreoutils.h"
#include "platform/dialogues.h"
#include "platform/imprimantes.h"
#include "platform/lignecourante.h"
#include "platform/reprise.h"
#include "returns/listeqt.h"

#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
const BoutonBarre BoutonsBarre[] = {
    {"kRemettre", "&Remettre", QStyle::SP_ArrowBack, "Remettre cette facturation en traitement.", QKeySequence("Alt+R")},
    {"kImprimer", "&Imprimer", QStyle::SP_FileDialogDetailedView, "Impression du rapport.", QKeySequence("Alt+I")},
    {"kRecherchePersonne", "Re&chercher", QStyle::SP_FileDialogContentsView,
     "Rechercher les facturations d'une personne", QKeySequence("Alt+C")},
    {"kExporter", "E&xporter", QStyle::SP_DialogSaveButton, "Exporter la liste pour un tableur (fichier CSV ou classeur Excel)",
     QKeySequence("Alt+X")},
    {"kQuitter", "&Quitter", QStyle::SP_DialogCloseButton, "Fermer cette fenêtre.", QKeySequence("Alt+Q")},
};
const QString TitreLecture = QStringLiteral("Erreur en lecture");
}  // namespace

frmArchives::frmArchives(QString programme, PortDialogue& dialogues, QWidget* parent)
    : QDialog(parent), programme_(std::move(programme)), dialogues_(dialogues) {
    setObjectName(QStringLiteral("frmArchives"));
    setWindowTitle(QStringLiteral("Archives"));
    Toolbar1 = nouvelleBarre(this, BoutonsBarre, [this](const QString& cle) { Toolbar1_ButtonClick(cle); });
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ListView2 = nouvelleListe(this, QStringLiteral("ListView2"),
                              {QStringLiteral("Fichier"), QStringLiteral("Période"), QStringLiteral("Nombre")});
    ListView1 = nouvelleListe(this, QStringLiteral("ListView1"), archives::entetes());
    ListView2->setAccessibleName(QStringLiteral("Précédentes facturations"));
    ListView1->setAccessibleName(QStringLiteral("Factures"));
    ListView2->modele()->alignerADroite({2});
    for (VueListe* l : {ListView1, ListView2})
        trierAuClicDEntete(l);
    suivreLaLigneCourante(ListView2);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setVisible(false);

    auto* haut = new QWidget(this);
    auto* dispositionHaut = new QHBoxLayout(haut);
    dispositionHaut->setContentsMargins(0, 0, 0, 0);
    dispositionHaut->addWidget(Label1);
    dispositionHaut->addWidget(ListView2, 1);
    auto* partage = new QSplitter(Qt::Vertical, this);
    partage->addWidget(haut);
    partage->addWidget(ListView1);
    partage->setStretchFactor(1, 2);
    auto* disposition = new QVBoxLayout(this);
    menuDeLaBarre(barreDeMenus(this, disposition), QStringLiteral("&Archives"), Toolbar1);
    disposition->addWidget(Toolbar1);
    disposition->addWidget(partage, 1);
    disposition->addWidget(ProgressBar1);
    resize(980, 640);

    // The billing made current by a click or by the arrow keys is the one shown below.
    connect(ListView2, &QAbstractItemView::clicked, this, &frmArchives::ListView2_Click);
    connect(ListView2->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &frmArchives::ListView2_Click);
    Form_Load();
    ListView1->setFocus(Qt::OtherFocusReason);  // the invoices in memory stay shown until a billing is chosen
}

QAction* frmArchives::bouton(const QString& cle) const {
    return findChild<QAction*>(QStringLiteral("Toolbar1_") + cle);
}

std::function<void(int)> frmArchives::progression() {
    ProgressBar1->setValue(0);
    return [this](int pourcentage) {
        ProgressBar1->setVisible(true);
        ProgressBar1->setValue(pourcentage);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
}

void frmArchives::Form_Load() {
    bouton(QStringLiteral("kRemettre"))->setEnabled(false);
    archives::Factures memoire;
    executerAvecReprise(dialogues_, TitreLecture, [&] { memoire = archives::enMemoire(programme_); });
    afficher(memoire);
    if (!memoire.enregistrements.isEmpty())
        dialogues_.message(Icone::Information, QStringLiteral("Affichage"),
                           QStringLiteral("Affichage de la facturation en cours."));
    else
        dialogues_.message(Icone::Exclamation, QStringLiteral("Fichier temporaire"),
                           QStringLiteral("Aucune facture en mémoire"));
    Label1->setText(QStringLiteral("Liste des précédentes facturations. -------->\nCliquez sur le nom "
                                   "du fichier pour afficher la facturation."));

    Sablier sablier(dialogues_);
    QStringList noms;
    executerAvecReprise(dialogues_, TitreLecture, [&] { noms = archives::fichiersConserves(programme_); });
    const auto avance = progression();
    conserves_.clear();
    for (int i = 0; i < noms.size(); ++i) {
        archives::Conserve c{noms[i], {}, 0};
        executerAvecReprise(dialogues_, TitreLecture, [&] { c = archives::resumer(programme_, noms[i]); });
        conserves_ << c;
        avance((i + 1) * 100 / noms.size());
    }
    ListView2->remplir(conserves_, [](const archives::Conserve& c) {
        return QStringList{c.nom, c.periode, QString::number(c.nombre)};
    });  // no billing chosen yet
    ProgressBar1->setVisible(false);
}

void frmArchives::afficher(const archives::Factures& f) {
    factures_ = f;
    // Only a kept billing shown below can be put back in memory: the one shown.
    bouton(QStringLiteral("kRemettre"))->setEnabled(f.source == archives::Factures::Source::Conserve);
    ListView1->remplir(int(f.enregistrements.size()),
                       [f](int i) { return archives::rangee(f.enregistrements[i], f.numeros[i]); });
}

archives::Factures frmArchives::affichees() const {
    archives::Factures f;
    f.source = factures_.source;
    f.nom = factures_.nom;
    for (int r = 0; r < ListView1->nombre(); ++r) {
        const int i = ListView1->modele()->source(r);
        f.ajouter(factures_.enregistrements[i], factures_.numeros[i]);
    }
    return f;
}

void frmArchives::ListView2_Click() {
    const int i = ListView2->sourceCourante();
    if (i < 0)
        return;
    const QString nom = conserves_[i].nom;
    if (factures_.source == archives::Factures::Source::Conserve && factures_.nom == nom)
        return;  // already shown
    archives::Factures f;
    f.source = archives::Factures::Source::Conserve;
    f.nom = nom;
    executerAvecReprise(dialogues_, TitreLecture, [&] { f = archives::conserve(programme_, nom); });
    afficher(f);
    if (f.enregistrements.isEmpty())
        dialogues_.message(Icone::Exclamation, QStringLiteral("Fichier temporaire"),
                           QStringLiteral("Aucune facture en mémoire"));
}

void frmArchives::Toolbar1_ButtonClick(const QString& cle) {
    if (cle == QLatin1String("kQuitter")) {
        close();
    } else if (cle == QLatin1String("kRemettre")) {
        if (factures_.source == archives::Factures::Source::Conserve &&
            archives::remettre(programme_, factures_.nom, dialogues_)) {
            archives::Factures memoire;
            executerAvecReprise(dialogues_, TitreLecture, [&] { memoire = archives::enMemoire(programme_); });
            afficher(memoire);
        }
    } else if (cle == QLatin1String("kImprimer")) {
        ImprimanteQt imprimante(programme_);
        archives::imprimer(imprimante, affichees(), dialogues_, progression());
        ProgressBar1->setVisible(false);
    } else if (cle == QLatin1String("kExporter")) {
        using G = tableur::Colonne::Genre;
        if (ListView2->hasFocus())
            exporterListe(ListView2, QStringLiteral("Facturations.csv"), {{QStringLiteral("Nombre"), G::Nombre}}, dialogues_);
        else
            exporterListe(ListView1, QStringLiteral("Factures.csv"),
                          {{QStringLiteral("Naissance"), G::Date}, {QStringLiteral("Date fact."), G::Date},
                           {QStringLiteral("Prix #1"), G::Cents}, {QStringLiteral("Prix #2"), G::Cents},
                           {QStringLiteral("Prix #3"), G::Cents}, {QStringLiteral("Prix #4"), G::Cents},
                           {QStringLiteral("Total"), G::Cents}},
                          dialogues_);
    } else if (cle == QLatin1String("kRecherchePersonne")) {
        QStringList noms;
        for (int r = 0; r < ListView2->nombre(); ++r)
            noms << conserves_[ListView2->modele()->source(r)].nom;
        archives::Factures trouvees;
        if (archives::demanderEtRechercher(programme_, noms, dialogues_, trouvees, progression()))
            afficher(trouvees);
        ProgressBar1->setVisible(false);
    }
}
