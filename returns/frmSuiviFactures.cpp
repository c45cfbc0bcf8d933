#include "returns/frmSuiviFactures.h"

#include "platform/accessibilite.h"
#include "platform/dialogues.h"
#include "platform/erreurs.h"
#include "platform/horloge.h"
#include "platform/imprimantes.h"
#include "platform/page.h"
#include "returns/frmHistorique.h"
#include "returns/listeqt.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDateEdit>
#include <QFontMetrics>
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
#include <numeric>

// The rows as a table: the cells of each row, sorted on a column as its values compare (amounts
// by their cents, dates by date, the rest as text).
class ModeleSuivi : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void remplacer(QList<suivi::Ligne> lignes) {
        beginResetModel();
        lignes_ = std::move(lignes);
        endResetModel();
        if (colonneTri_ >= 0)
            sort(colonneTri_, ordre_);
    }
    const QList<suivi::Ligne>& lignes() const { return lignes_; }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(lignes_.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(colonnes().size()); }
    // The cells are made when shown, never for every row at once.
    QVariant data(const QModelIndex& i, int role) const override {
        if (!i.isValid())
            return {};
        if (role == Qt::DisplayRole)
            return lignes_[i.row()].cellules().value(i.column());
        if (role == Qt::TextAlignmentRole && (i.column() == 9 || i.column() == 11))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o == Qt::Horizontal && role == Qt::DisplayRole)
            return colonnes().value(section).entete;
        return QAbstractTableModel::headerData(section, o, role);
    }
    void sort(int colonne, Qt::SortOrder ordre) override {
        colonneTri_ = colonne;
        ordre_ = ordre;
        // Each row's key once: amounts by their cents, dates as dates, the rest as text.
        QList<QVariant> cles;
        cles.reserve(lignes_.size());
        for (const suivi::Ligne& l : std::as_const(lignes_))
            switch (colonne) {
            case 6: cles << l.dateService; break;
            case 9: cles << l.factureCents; break;
            case 11: cles << l.payeCents.value_or(-1); break;
            default: cles << l.cellules().value(colonne);
            }
        QList<int> rangs(lignes_.size());
        std::iota(rangs.begin(), rangs.end(), 0);
        std::stable_sort(rangs.begin(), rangs.end(), [&](int a, int b) {
            const auto c = QVariant::compare(cles[a], cles[b]);
            return c == (ordre == Qt::AscendingOrder ? QPartialOrdering::Less : QPartialOrdering::Greater);
        });
        QList<suivi::Ligne> triees;
        triees.reserve(lignes_.size());
        for (int r : rangs)
            triees << lignes_[r];
        beginResetModel();
        lignes_ = std::move(triees);
        endResetModel();
    }
    static const QList<tableur::Colonne>& colonnes() {
        static const QList<tableur::Colonne> c = suivi::colonnes();
        return c;
    }

private:
    QList<suivi::Ligne> lignes_;
    int colonneTri_ = -1;
    Qt::SortOrder ordre_ = Qt::AscendingOrder;
};

namespace {
const QString Titre = QStringLiteral("Suivi des factures envoyées");
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

    modele_ = new ModeleSuivi(this);
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

const QList<suivi::Ligne>& frmSuiviFactures::lignesAffichees() const { return modele_->lignes(); }

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
    const QList<suivi::Ligne>& montrees = modele_->lignes();
    const auto i = std::find_if(montrees.cbegin(), montrees.cend(), [&](const suivi::Ligne& l) {
        return l.facturation == garder->first && l.numero == garder->second;
    });
    if (i == montrees.cend()) {
        Liste->setCurrentIndex({});
        Liste->clearSelection();
    } else {
        Liste->setCurrentIndex(modele_->index(int(i - montrees.cbegin()), 0));
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
    modele_->remplacer(suivi::filtrer(lignes_, f));
    // Column widths from the captions and a sample of the rows, never from every row.
    const QFontMetrics m(Liste->font());
    QList<QStringList> echantillon;
    for (int r = 0; r < std::min<int>(int(modele_->lignes().size()), 200); ++r)
        echantillon << modele_->lignes()[r].cellules();
    for (int c = 0; c < modele_->columnCount() - 1; ++c) {
        int largeur = Liste->horizontalHeader()->fontMetrics().horizontalAdvance(ModeleSuivi::colonnes()[c].entete) + 24;
        for (const QStringList& cellules : std::as_const(echantillon))
            largeur = std::max(largeur, m.horizontalAdvance(cellules.value(c)) + 12);
        Liste->setColumnWidth(c, std::min(largeur, 320));
    }
    Totaux->setText(suivi::texteTotaux(suivi::totaliser(modele_->lignes())).join(QLatin1Char('\n')));
    Refacturer->setEnabled(false);
    if (modele_->rowCount() > 0)
        Liste->setCurrentIndex(modele_->index(0, 0));
}

const suivi::Ligne* frmSuiviFactures::ligneCourante() const {
    const QModelIndex i = Liste->currentIndex();
    return i.isValid() && i.row() < modele_->lignes().size() ? &modele_->lignes()[i.row()] : nullptr;
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
                     [&](Page& page) { suivi::imprimer(page, modele_->lignes(), periode); }, dialogues_,
                     QStringLiteral("Impression"));
}

void frmSuiviFactures::exporter() {
    QList<QStringList> rangees;
    for (const suivi::Ligne& l : modele_->lignes())
        rangees << l.cellules();
    tableur::exporter(Titre, ModeleSuivi::colonnes(), rangees, dialogues_);
}
