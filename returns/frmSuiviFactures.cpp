#include "returns/frmSuiviFactures.h"

#include "platform/accessibilite.h"
#include "platform/dialogues.h"
#include "platform/erreurs.h"
#include "platform/horloge.h"
#include "platform/imprimantes.h"
#include "platform/page.h"
#include "returns/frmHistorique.h"
#include "returns/listeqt.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const QString Titre = QStringLiteral("Suivi des factures envoyées");

QStringList entetesSuivi() {
    QStringList e;
    for (const tableur::Colonne& c : suivi::colonnes())
        e << c.entete;
    return e;
}
}  // namespace

frmSuiviFactures::frmSuiviFactures(QString programme, const Configuration& configuration, PortDialogue& dialogues,
                                   QWidget* parent)
    : QDialog(parent), programme_(std::move(programme)), configuration_(configuration), dialogues_(dialogues) {
    setObjectName(QStringLiteral("frmSuiviFactures"));
    setWindowTitle(Titre);

    const suivi::Filtre defaut = suivi::filtreParDefaut(Horloge::aujourdhui());
    const auto date = [this](const char* nom, QDate valeur) {
        auto* d = new QDateEdit(valeur, this);
        d->setObjectName(QLatin1String(nom));
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        d->setCalendarPopup(true);
        connect(d, &QDateEdit::dateChanged, this, &frmSuiviFactures::filtrer);
        return d;
    };
    Du = date("Du", defaut.du);
    Au = date("Au", defaut.au);
    Professionnel = new QComboBox(this);
    Professionnel->setObjectName(QStringLiteral("Professionnel"));
    Etat = new QComboBox(this);
    Etat->setObjectName(QStringLiteral("Etat"));
    Etat->addItem(QStringLiteral("Tous"));
    for (suivi::Etat e : suivi::etats())
        Etat->addItem(suivi::texte(e));
    Recherche = new QLineEdit(this);
    Recherche->setObjectName(QStringLiteral("Recherche"));
    Recherche->setPlaceholderText(QStringLiteral("NAM, nom ou prénom"));
    connect(Professionnel, &QComboBox::currentIndexChanged, this, &frmSuiviFactures::filtrer);
    connect(Etat, &QComboBox::currentIndexChanged, this, &frmSuiviFactures::filtrer);
    connect(Recherche, &QLineEdit::textChanged, this, &frmSuiviFactures::filtrer);

    auto* filtres = new QGridLayout;
    const auto libelle = [&](const QString& texte, QWidget* controle, int colonne) {
        auto* l = new QLabel(texte, this);
        nommer(l, controle);
        filtres->addWidget(l, 0, colonne);
        filtres->addWidget(controle, 0, colonne + 1);
    };
    libelle(QStringLiteral("&Du :"), Du, 0);
    libelle(QStringLiteral("&Au :"), Au, 2);
    libelle(QStringLiteral("&Professionnel :"), Professionnel, 4);
    libelle(QStringLiteral("É&tat :"), Etat, 6);
    libelle(QStringLiteral("Rec&hercher :"), Recherche, 8);
    filtres->setColumnStretch(9, 1);

    modele_ = new ModeleListe(entetesSuivi(), this);
    modele_->alignerADroite({9, 11});
    // Amounts by their cents, dates as dates, the rest as text.
    modele_->trierSur([this](int i, int colonne) -> QVariant {
        const suivi::Ligne& l = std::as_const(affichees_)[i];
        switch (colonne) {
        case 6: return l.dateService;
        case 9: return l.factureCents;
        case 11: return l.payeCents.value_or(-1);
        default: return l.cellules().value(colonne);
        }
    });
    Liste = new QTableView(this);
    Liste->setObjectName(QStringLiteral("Liste"));
    Liste->setModel(modele_);
    Liste->setAccessibleName(QStringLiteral("Factures envoyées"));
    Liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    Liste->setSelectionMode(QAbstractItemView::SingleSelection);
    Liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Liste->setSortingEnabled(true);
    Liste->setAlternatingRowColors(true);
    Liste->verticalHeader()->hide();
    Liste->verticalHeader()->setDefaultSectionSize(Liste->fontMetrics().height() + 6);
    Liste->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    Liste->horizontalHeader()->setStretchLastSection(true);
    connect(Liste->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        const suivi::Ligne* l = ligneCourante();
        Refacturer->setEnabled(l && suivi::refacturable(*l));
    });

    Totaux = new QLabel(this);
    Totaux->setObjectName(QStringLiteral("Totaux"));
    Totaux->setTextInteractionFlags(Qt::TextSelectableByMouse);

    Refacturer = new QPushButton(QStringLiteral("&Refacturer"), this);
    Refacturer->setObjectName(QStringLiteral("Refacturer"));
    Refacturer->setToolTip(QStringLiteral("Remettre en mémoire la facture refusée, pour la corriger et la facturer de nouveau"));
    Refacturer->setEnabled(false);
    Imprimer = new QPushButton(QStringLiteral("&Imprimer"), this);
    Imprimer->setObjectName(QStringLiteral("Imprimer"));
    Fermer = new QPushButton(QStringLiteral("&Fermer"), this);
    Fermer->setObjectName(QStringLiteral("Fermer"));
    for (QPushButton* b : {Refacturer, Imprimer, Fermer})
        b->setAutoDefault(false);
    connect(Refacturer, &QPushButton::clicked, this, &frmSuiviFactures::refacturer);
    connect(Imprimer, &QPushButton::clicked, this, &frmSuiviFactures::imprimer);
    connect(Fermer, &QPushButton::clicked, this, &QDialog::close);

    auto* bas = new QHBoxLayout;
    bas->addWidget(Totaux, 1);
    bas->addWidget(Refacturer, 0, Qt::AlignBottom);
    bas->addWidget(Imprimer, 0, Qt::AlignBottom);
    bas->addWidget(boutonExporter(this, [this] { exporter(); }), 0, Qt::AlignBottom);
    bas->addWidget(Fermer, 0, Qt::AlignBottom);
    auto* disposition = new QVBoxLayout(this);
    disposition->addLayout(filtres);
    disposition->addWidget(Liste, 1);
    disposition->addLayout(bas);
    resize(1180, 640);

    charger();
    Liste->setFocus(Qt::OtherFocusReason);
}

QList<suivi::Ligne> frmSuiviFactures::lignesAffichees() const {
    QList<suivi::Ligne> l;
    l.reserve(modele_->rowCount());
    for (int r = 0; r < modele_->rowCount(); ++r)
        l << affichees_[modele_->source(r)];
    return l;
}

void frmSuiviFactures::charger(std::optional<std::pair<QString, int>> garder) {
    Sablier sablier(dialogues_);
    const QDate aujourdhui = Horloge::aujourdhui();
    try {
        suivi::reparer(programme_, aujourdhui);
        lignes_ = suivi::lire(programme_, aujourdhui);
    } catch (const ErreurFichier& e) {
        lignes_.clear();
        dialogues_.message(Icone::Critique, QStringLiteral("Erreur en lecture"),
                           QStringLiteral("Erreur de lecture de fichier.\nErreur numéro: %1\n%2")
                               .arg(e.numero())
                               .arg(erreurs::texte(e)));
    }
    const QString choisi = Professionnel->currentData().toString();
    QStringList professionnels;
    for (const suivi::Ligne& l : lignes_)
        if (!l.professionnel.isEmpty() && !professionnels.contains(l.professionnel))
            professionnels << l.professionnel;
    professionnels.sort();
    {
        const QSignalBlocker bloque(Professionnel);
        Professionnel->clear();
        Professionnel->addItem(QStringLiteral("Tous"), QString());
        for (const QString& p : professionnels)
            Professionnel->addItem(p, p);
        Professionnel->setCurrentIndex(std::max(0, Professionnel->findData(choisi)));
    }
    filtrer();
    if (!garder)
        return;
    // Never another invoice under the cursor than the one just handled: a second Alt+R would
    // bill it again without a question.
    const auto i = std::find_if(affichees_.cbegin(), affichees_.cend(), [&](const suivi::Ligne& l) {
        return l.facturation == garder->first && l.numero == garder->second;
    });
    if (i == affichees_.cend()) {
        Liste->setCurrentIndex({});
        Liste->clearSelection();
    } else {
        Liste->setCurrentIndex(modele_->index(modele_->rangeeDe(int(i - affichees_.cbegin())), 0));
    }
}

void frmSuiviFactures::filtrer() {
    suivi::Filtre f;
    f.du = Du->date();
    f.au = Au->date();
    f.professionnel = Professionnel->currentData().toString();
    if (Etat->currentIndex() > 0)
        f.etat = suivi::etats().value(Etat->currentIndex() - 1);
    f.recherche = Recherche->text();
    affichees_ = suivi::filtrer(lignes_, f);
    modele_->remplacer(int(affichees_.size()), [l = affichees_](int i) { return l[i].cellules(); });
    modele_->retrier();
    ajusterColonnes(Liste, *modele_);
    Totaux->setText(suivi::texteTotaux(suivi::totaliser(affichees_)).join(QLatin1Char('\n')));
    Refacturer->setEnabled(false);
    if (modele_->rowCount() > 0)
        Liste->setCurrentIndex(modele_->index(0, 0));
}

const suivi::Ligne* frmSuiviFactures::ligneCourante() const {
    const QModelIndex i = Liste->currentIndex();
    return i.isValid() && i.row() < modele_->rowCount() ? &affichees_[modele_->source(i.row())] : nullptr;
}

void frmSuiviFactures::refacturer() {
    const suivi::Ligne* l = ligneCourante();
    if (!l || !suivi::refacturable(*l))
        return;
    const suivi::Ligne ligne = *l;
    suivi::Refacturation r;
    {
        Sablier sablier(dialogues_);
        r = suivi::Refacturer(programme_, ligne, Horloge::aujourdhui(), dialogues_);
    }
    if (r.issue == suivi::Issue::Faite || r.issue == suivi::Issue::Retablie) {
        // The invoice in memory, shown for its correction before the next preparation.
        const auto fenetre = construireSousSablier<frmHistorique>(dialogues_, programme_, configuration_, dialogues_, this);
        fenetre->VScroll1->setValue(r.fiche);
        fenetre->exec();
    }
    charger(std::pair{ligne.facturation, ligne.numero});
}

void frmSuiviFactures::imprimer() {
    if (dialogues_.question(Icone::Question, QStringLiteral("Impression"),
                            QStringLiteral("Impression du suivi des factures sur\n\n") + imprimantes::courante(),
                            Boutons::OkAnnuler, 0) != Reponse::Ok)
        return;
    const QString periode = QStringLiteral("Services du %1 au %2")
                                .arg(Du->date().toString(QStringLiteral("yyyy-MM-dd")),
                                     Au->date().toString(QStringLiteral("yyyy-MM-dd")));
    ImprimanteQt imprimante(programme_);
    imprimerDocument(imprimante, Titre, Orientation::Paysage,
                     [&](Page& page) { suivi::imprimer(page, lignesAffichees(), periode); }, dialogues_,
                     QStringLiteral("Impression"));
}

void frmSuiviFactures::exporter() {
    tableur::exporter(Titre, suivi::colonnes(), modele_->rangees(), dialogues_);
}
