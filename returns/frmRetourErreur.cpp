#include "returns/frmRetourErreur.h"

#include "config/parametres.h"
#include "platform/accessibilite.h"
#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/fenetres.h"
#include "platform/horloge.h"
#include "platform/imprimantes.h"
#include "returns/frmAfficheRapport.h"
#include "returns/impressionretour.h"
#include "returns/listeqt.h"
#include "returns/recuperation.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QItemSelectionModel>

namespace {
const QString Deplace = QStringLiteral("**********");
}

GenreRetour GenreRetour::erreurs() {
    return {retours::Genre::Erreur,
            QStringLiteral("frmRetourErreur"),
            QStringLiteral("Retour d'erreur(s)"),
            QStringLiteral("Retour d'erreur(s)    ( Confirmation de la RAMQ )"),
            QStringLiteral("Vérifier s'il y a un ou plusieurs fichiers de confirmations sur le serveur"),
            QStringLiteral("Cliquez ici pour afficher les archives des retours d'erreur(s)"),
            QStringLiteral("Nb factures")};
}

GenreRetour GenreRetour::etats() {
    return {retours::Genre::Etat,
            QStringLiteral("frmRetourEtatCmpt"),
            QStringLiteral("Réception des états de compte"),
            QStringLiteral("États de Compte"),
            QStringLiteral("Vérifier s'il y a un ou plusieurs fichiers d' État de Compte sur le serveur"),
            QStringLiteral("Cliquez ici pour afficher les archives des États de Compte"),
            QStringLiteral("Nb Factures")};
}

frmRetourErreur::frmRetourErreur(QString programme, QString agence, MagasinReglages& utilisateur,
                                 PortDialogue& dialogues, QWidget* parent, const GenreRetour& genre)
    : QDialog(parent), programme_(std::move(programme)), agence_(std::move(agence)),
      utilisateur_(utilisateur), dialogues_(dialogues), genre_(genre) {
    setObjectName(genre_.nom);
    setWindowTitle(genre_.legende);
    setModal(true);

    const auto liste = [this](const QString& nom, const QStringList& colonnes) {
        return nouvelleListe(this, nom, colonnes);
    };
    const auto bouton = [this](const QString& nom, const QString& legende, const QString& infobulle) {
        auto* b = new QPushButton(legende, this);
        b->setObjectName(nom);
        b->setToolTip(infobulle);
        b->setAutoDefault(false);
        return b;
    };

    Frame1 = new QGroupBox(genre_.cadre, this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(QPixmap(impressionretour::Picture1));
    Command2 = bouton(QStringLiteral("Command2"), QStringLiteral("Vérifier le &serveur"), genre_.infobulleRecuperer);
    Command2->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    ListView1 = liste(QStringLiteral("ListView1"),
                      {QStringLiteral("Fichier"), QStringLiteral("Date de traitement"),
                       QStringLiteral("Attestation"), genre_.colonneNombre, QStringLiteral("Montant"),
                       QStringLiteral("No paiement")});
    Command3 << bouton(QStringLiteral("Command3_0"), QStringLiteral("&Imprimer"), {})
             << bouton(QStringLiteral("Command3_1"), QStringLiteral("&Fermer"), {});
    auto* imprimante = new QLabel(QStringLiteral("IMPRIMANTE:"), this);
    imprimante->setObjectName(QStringLiteral("Label1"));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    nommer(imprimante, Combo1, QStringLiteral("Imprimante"));
    ListView1->setAccessibleName(QStringLiteral("Fichiers reçus"));
    ListView1->modele()->alignerADroite({3, 4});

    Frame2 = new QGroupBox(QStringLiteral("Section Archives"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    ListView2 = liste(QStringLiteral("ListView2"),
                      {QStringLiteral("Fichier"), QStringLiteral("Date de traitement"),
                       QStringLiteral("Attestation"), QStringLiteral("Nb Factures"),
                       QStringLiteral("Montant"), QStringLiteral("No Paiement")});
    ListView2->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView2->setAccessibleName(QStringLiteral("Fichiers archivés"));
    ListView2->modele()->alignerADroite({3, 4});
    Command1 << bouton(QStringLiteral("Command1_0"), QStringLiteral("&Archives"), genre_.infobulleArchives)
             << bouton(QStringLiteral("Command1_1"), QStringLiteral("Im&primer"),
                       QStringLiteral("Impression d'un fichier archivé"))
             << bouton(QStringLiteral("Command1_2"), QStringLiteral("Affic&her"),
                       QStringLiteral("Afficher à l'écran un fichier archivé"));
    Command1[0]->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));

    auto* haut = new QGridLayout(Frame1);
    haut->addWidget(Picture1, 0, 0);
    haut->addWidget(Command2, 0, 1, Qt::AlignLeft);
    haut->addWidget(ListView1, 1, 0, 1, 4);
    haut->addWidget(imprimante, 2, 0);
    haut->addWidget(Combo1, 2, 1);
    haut->addWidget(Command3[0], 2, 2);
    haut->addWidget(Command3[1], 2, 3);
    haut->addWidget(boutonExporter(this, [this] {
        const VueListe* liste = ListView2->hasFocus() ? ListView2 : ListView1;
        exporterListe(liste, genre_.nom + QStringLiteral(".csv"),
                      {{QStringLiteral("Date de traitement"), tableur::Colonne::Genre::Date},
                       {genre_.colonneNombre, tableur::Colonne::Genre::Nombre},
                       {QStringLiteral("Nb Factures"), tableur::Colonne::Genre::Nombre}},
                      dialogues_);
    }), 3, 3);
    haut->setColumnStretch(1, 1);
    auto* bas = new QGridLayout(Frame2);
    bas->addWidget(Command1[0], 0, 0, Qt::AlignLeft);
    bas->addWidget(ListView2, 1, 0, 1, 3);
    bas->addWidget(Command1[1], 2, 1);
    bas->addWidget(Command1[2], 2, 2);
    bas->setColumnStretch(0, 1);
    auto* disposition = new QVBoxLayout(contenuDefilant(this));  // scrolls on a small screen
    disposition->addWidget(Frame1);
    disposition->addWidget(Frame2);
    resize(760, 560);

    connect(Command2, &QPushButton::clicked, this, &frmRetourErreur::Command2_Click);
    for (int i = 0; i < Command3.size(); ++i)
        connect(Command3[i], &QPushButton::clicked, this, [this, i] { Command3_Click(i); });
    for (int i = 0; i < Command1.size(); ++i)
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { Command3[0]->setEnabled(!ListView1->choisies().isEmpty()); });
    connect(ListView2->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        for (int i : {1, 2})
            Command1[i]->setEnabled(!ListView2->choisies().isEmpty());
    });
    ListView2->viewport()->installEventFilter(this);
    ListView2->installEventFilter(this);
    Form_Load();
    connect(Combo1, &QComboBox::activated, this, &frmRetourErreur::Combo1_Click);
}

frmRetourErreur::~frmRetourErreur() { imprimantes::choisir(imprimantePrecedente_); }

void frmRetourErreur::Form_Load() {
    Command3[0]->setEnabled(false);
    Command1[1]->setEnabled(false);
    Command1[2]->setEnabled(false);
    imprimantePrecedente_ = imprimantes::courante();
    Combo1->addItems(imprimantes::noms());
    Combo1->setCurrentText(imprimantePrecedente_);
}

void frmRetourErreur::Combo1_Click() { imprimantes::choisir(Combo1->currentText()); }

void frmRetourErreur::remplir(VueListe* liste, std::shared_ptr<QList<QStringList>>& rangees,
                              const QList<retours::Resume>& lignes) {
    rangees = std::make_shared<QList<QStringList>>();
    for (const retours::Resume& r : lignes)
        *rangees << r.colonnes();
    liste->remplir(int(rangees->size()), [rangees](int i) { return rangees->at(i); });
}

QString frmRetourErreur::selection(const VueListe* liste) const {
    const QList<int> choisies = liste->choisies();
    return choisies.isEmpty() ? QString() : liste->texte(choisies.first(), 0);
}

void frmRetourErreur::Command2_Click() {
    remplir(ListView1, rangees1_, {});
    const recuperation::Resultat r = recuperation::Recuperer(
        programme_, parametres::lireParametresFtp(utilisateur_), agence_, dialogues_);
    remplir(ListView1, rangees1_, r.lignes);
}

void frmRetourErreur::Command3_Click(int index) {
    if (index == 1) {
        bool nonImprimes = false;
        for (const QStringList& rangee : std::as_const(*rangees1_))
            nonImprimes |= rangee.value(0) != Deplace;
        if (!retours::fermer(programme_, nonImprimes, dialogues_))
            return;
        imprimantes::choisir(imprimantePrecedente_);
        QDialog::reject();
        return;
    }
    const QList<int> choisies = ListView1->choisies();
    if (choisies.isEmpty())
        return;
    const int i = ListView1->modele()->source(choisies.first());
    ImprimanteQt imprimante(programme_);
    impressionretour::imprimerEtArchiver(programme_, rangees1_->at(i).value(0), imprimante, dialogues_, [this, i] {
        (*rangees1_)[i].fill(Deplace);
        ListView1->modele()->actualiser();
    });
}

void frmRetourErreur::Command1_Click(int index) {
    if (index == 0) {
        Sablier sablier(dialogues_);
        remplir(ListView2, rangees2_, retours::listerArchives(programme_, genre_.genre, Horloge::aujourdhui()));
        return;
    }
    const QString nom = selection(ListView2);
    if (nom.isEmpty())
        return;
    const QString chemin = dossiers::resoudre(retours::dossierArchives(programme_), nom);
    if (index == 1) {
        ImprimanteQt imprimante(programme_);
        impressionretour::ImprimerRetour(programme_, chemin, imprimante, dialogues_);
    } else if (index == 2) {
        frmAfficheRapport::afficher(chemin, dialogues_, this);
    }
}

void frmRetourErreur::ListView2_Retirer() {
    QStringList noms;
    for (int r : ListView2->choisies())
        noms << ListView2->texte(r, 0);
    if (!retours::retirerArchives(programme_, noms, dialogues_))
        return;
    Command1_Click(0);
    Command1[1]->setEnabled(false);
    Command1[2]->setEnabled(false);
}

void frmRetourErreur::reject() { Command3_Click(1); }

bool frmRetourErreur::eventFilter(QObject* objet, QEvent* evenement) {
    if (objet == ListView2->viewport() && evenement->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(evenement)->button() == Qt::RightButton) {
        ListView2_Retirer();
        return true;
    }
    if (objet == ListView2 && evenement->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(evenement)->key() == Qt::Key_Delete) {
        ListView2_Retirer();
        return true;
    }
    return QDialog::eventFilter(objet, evenement);
}
