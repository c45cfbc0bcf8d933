#include "returns/listeqt.h"

#include <QContextMenuEvent>
#include <QTableView>
#include <QStyle>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>
#include <numeric>

ModeleListe::ModeleListe(QStringList entetes, QObject* parent)
    : QAbstractTableModel(parent), entetes_(std::move(entetes)) {}

void ModeleListe::remplacer(int nombre, Cellules cellules) {
    beginResetModel();
    cellules_ = std::move(cellules);
    ordre_.resize(nombre);
    std::iota(ordre_.begin(), ordre_.end(), 0);
    rangeeEnCache_ = -1;
    endResetModel();
}

void ModeleListe::retrier() {
    if (colonneTri_ >= 0)
        sort(colonneTri_, sens_);
}

void ModeleListe::actualiser() {
    rangeeEnCache_ = -1;
    if (!ordre_.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

QStringList ModeleListe::cellules(int rangee) const {
    if (rangee < 0 || rangee >= ordre_.size() || !cellules_)
        return {};
    if (rangee != rangeeEnCache_) {
        enCache_ = cellules_(ordre_[rangee]);
        rangeeEnCache_ = rangee;
    }
    return enCache_;
}

QList<QStringList> ModeleListe::rangees() const {
    QList<QStringList> r;
    r.reserve(ordre_.size());
    for (int i : ordre_)
        r << cellules_(i);
    return r;
}

QVariant ModeleListe::data(const QModelIndex& i, int role) const {
    if (!i.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return cellules(i.row()).value(i.column());
    if (role == Qt::TextAlignmentRole && aDroite_.contains(i.column()))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ModeleListe::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole)
        return entetes_.value(section);
    return QAbstractTableModel::headerData(section, o, role);
}

namespace {
// What a record sorts on: the window's value when it gives one, else its cell.
struct CleTri {
    QVariant valeur;
    QString texte;
};

// Cells compare character by character, a run of digits against a run of digits by its value
// ("45" before "300", "9,50" before "12,00"), a run of digits against another character as its
// first digit; equal so, they compare as texts ("007" before "7"). The order is the same
// whatever the cells of a column mix: comparing whole cells as numbers only when both are
// numbers, and as texts otherwise, put "10" before "1a", "1a" before "9" and "9" before "10",
// so a column mixing them came out of a sort unsorted.
int comparerCellules(const QString& a, const QString& b) {
    const auto chiffre = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (chiffre(a[i]) && chiffre(b[j])) {
            qsizetype fa = i, fb = j;
            while (fa < a.size() && a[fa] == QLatin1Char('0'))
                ++fa;
            while (fb < b.size() && b[fb] == QLatin1Char('0'))
                ++fb;
            qsizetype ea = fa, eb = fb;
            while (ea < a.size() && chiffre(a[ea]))
                ++ea;
            while (eb < b.size() && chiffre(b[eb]))
                ++eb;
            if (ea - fa != eb - fb)
                return ea - fa < eb - fb ? -1 : 1;
            if (const int c = QStringView(a).sliced(fa, ea - fa).compare(QStringView(b).sliced(fb, eb - fb)))
                return c;
            i = ea, j = eb;
            continue;
        }
        const QChar ca = chiffre(a[i]) ? QLatin1Char('0') : a[i], cb = chiffre(b[j]) ? QLatin1Char('0') : b[j];
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i, ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a.compare(b);
}

bool avant(const CleTri& a, const CleTri& b) {
    if (a.valeur.isValid() || b.valeur.isValid())
        return QVariant::compare(a.valeur, b.valeur) == QPartialOrdering::Less;
    return comparerCellules(a.texte, b.texte) < 0;
}
}  // namespace

void ModeleListe::sort(int colonne, Qt::SortOrder ordre) {
    if (colonne < 0 || colonne >= columnCount()) {
        colonneTri_ = -1;  // no column chosen: the rows stay in their order
        return;
    }
    colonneTri_ = colonne;
    sens_ = ordre;
    QList<CleTri> cles(ordre_.size());
    for (int r = 0; r < ordre_.size(); ++r) {
        CleTri& c = cles[r];
        if (cle_)
            c.valeur = cle_(ordre_[r], colonne);
        if (!c.valeur.isValid())
            c.texte = cellules_(ordre_[r]).value(colonne).trimmed();
    }
    QList<int> rangs(ordre_.size());
    std::iota(rangs.begin(), rangs.end(), 0);
    std::stable_sort(rangs.begin(), rangs.end(), [&](int a, int b) {
        return ordre == Qt::AscendingOrder ? avant(cles[a], cles[b]) : avant(cles[b], cles[a]);
    });

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QList<int> nouvelleRangee(ordre_.size());
    QList<int> nouvelOrdre(ordre_.size());
    for (int r = 0; r < rangs.size(); ++r) {
        nouvelleRangee[rangs[r]] = r;
        nouvelOrdre[r] = ordre_[rangs[r]];
    }
    ordre_ = std::move(nouvelOrdre);
    rangeeEnCache_ = -1;
    const QModelIndexList avant = persistentIndexList();
    QModelIndexList apres;
    apres.reserve(avant.size());
    for (const QModelIndex& i : avant)
        apres << index(nouvelleRangee.value(i.row()), i.column());
    changePersistentIndexList(avant, apres);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ajusterColonnes(QAbstractItemView* vue, const ModeleListe& modele) {
    QHeaderView* entete = nullptr;
    if (auto* arbre = qobject_cast<QTreeView*>(vue))
        entete = arbre->header();
    else if (auto* table = qobject_cast<QTableView*>(vue))
        entete = table->horizontalHeader();
    if (!entete)
        return;
    // The first rows, and as many spread over the rest: a long field further down still fits.
    constexpr int Premieres = 100, Reparties = 100;
    const int n = modele.rowCount();
    QList<int> echantillon;
    for (int r = 0; r < std::min(n, Premieres); ++r)
        echantillon << r;
    if (n > Premieres)
        for (int k = 0; k < Reparties; ++k)
            echantillon << Premieres + int(qint64(n - Premieres) * k / Reparties);
    QList<QStringList> lignes;
    lignes.reserve(echantillon.size());
    for (int r : std::as_const(echantillon))
        lignes << modele.cellules(r);
    const QFontMetrics m(vue->font());
    const QFontMetrics mEntete(entete->font());
    const int marge = vue->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, vue) * 2 + 12;
    for (int c = 0; c < modele.columnCount() - 1; ++c) {
        int largeur = mEntete.horizontalAdvance(modele.entetes()[c]) + 24;
        for (const QStringList& cellules : std::as_const(lignes))
            largeur = std::max(largeur, m.horizontalAdvance(cellules.value(c)) + marge);
        entete->resizeSection(c, std::min(largeur, 400));
    }
}

VueListe::VueListe(QWidget* parent, const QString& nom, const QStringList& colonnes)
    : QTreeView(parent), modele_(new ModeleListe(colonnes, this)) {
    setObjectName(nom);
    setModel(modele_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);  // the rows are laid out without asking each one its height
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMinimumHeight(130);
    ajusterColonnes(this, *modele_);
}

void VueListe::remplir(int nombre, ModeleListe::Cellules cellules) {
    modele_->remplacer(nombre, std::move(cellules));
    // New rows come in their own order (a search's, a billing's): the heading no longer shows a sort.
    modele_->sort(-1, Qt::AscendingOrder);
    header()->setSortIndicatorShown(false);
    ajusterColonnes(this, *modele_);
}

int VueListe::courante() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void VueListe::choisir(int rangee) {
    setCurrentIndex(modele_->index(rangee, 0));
}

QList<int> VueListe::choisies() const {
    QList<int> r;
    for (const QModelIndex& i : selectionModel()->selectedRows())
        r << i.row();
    std::sort(r.begin(), r.end());
    return r;
}

bool VueListe::estChoisie(int rangee) const {
    return selectionModel()->isRowSelected(rangee, {});
}

VueListe* nouvelleListe(QWidget* parent, const QString& nom, const QStringList& colonnes) {
    return new VueListe(parent, nom, colonnes);
}

VueListe* nouvelleListe(QWidget* parent, const QString& nom, const QList<tableur::Colonne>& colonnes) {
    QStringList entetes;
    for (const tableur::Colonne& c : colonnes)
        entetes << c.entete;
    return nouvelleListe(parent, nom, entetes);
}

void trierAuClicDEntete(VueListe* liste) {
    QHeaderView* entete = liste->header();
    entete->setSectionsClickable(true);
    QObject::connect(entete, &QHeaderView::sectionClicked, liste, [liste, entete](int colonne) {
        const bool memeColonne = entete->isSortIndicatorShown() && entete->sortIndicatorSection() == colonne;
        const Qt::SortOrder ordre = memeColonne && entete->sortIndicatorOrder() == Qt::AscendingOrder
                                        ? Qt::DescendingOrder
                                        : Qt::AscendingOrder;
        liste->modele()->sort(colonne, ordre);
        entete->setSortIndicatorShown(true);
        entete->setSortIndicator(colonne, ordre);
    });
}

namespace {
class FiltreBoutonDroit : public QObject {
public:
    FiltreBoutonDroit(VueListe* liste, std::function<void(int)> action)
        : QObject(liste), liste_(liste), action_(std::move(action)) {}

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override {
        if (objet == liste_->viewport() && evenement->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(evenement)->button() == Qt::RightButton) {
            const QModelIndex i = liste_->indexAt(static_cast<QMouseEvent*>(evenement)->position().toPoint());
            action_(i.isValid() ? i.row() : -1);
            return true;
        }
        if (objet == liste_ && parLeClavier(evenement) && liste_->courante() >= 0) {
            action_(liste_->courante());
            return true;
        }
        return QObject::eventFilter(objet, evenement);
    }

private:
    // The keys that ask for the row's command; the context menu the Menu key opens.
    static bool parLeClavier(const QEvent* e) {
        if (e->type() == QEvent::ContextMenu)
            return static_cast<const QContextMenuEvent*>(e)->reason() == QContextMenuEvent::Keyboard;
        if (e->type() != QEvent::KeyPress)
            return false;
        const auto* t = static_cast<const QKeyEvent*>(e);
        const auto modificateurs = t->modifiers() & ~Qt::KeypadModifier;
        return (t->key() == Qt::Key_Delete && modificateurs == Qt::NoModifier) ||
               (t->key() == Qt::Key_F10 && modificateurs == Qt::ShiftModifier);
    }

    VueListe* liste_;
    std::function<void(int)> action_;
};
}  // namespace

void auBoutonDroit(VueListe* liste, const std::function<void(int rangee)>& action) {
    auto* filtre = new FiltreBoutonDroit(liste, action);
    liste->viewport()->installEventFilter(filtre);
    liste->installEventFilter(filtre);
}

QStringList entetes(const VueListe* liste) { return liste->modele()->entetes(); }

QList<QStringList> rangees(const VueListe* liste) { return liste->modele()->rangees(); }

QPushButton* boutonExporter(QWidget* parent, const std::function<void()>& action) {
    auto* b = new QPushButton(QStringLiteral("E&xporter..."), parent);
    b->setObjectName(QStringLiteral("CommandeExporter"));
    b->setToolTip(QStringLiteral("Exporter la liste pour un tableur (fichier CSV ou classeur Excel)"));
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::NoFocus);  // the list that has the focus is the one exported
    QObject::connect(b, &QPushButton::clicked, parent, action);
    return b;
}

void exporterListe(const VueListe* liste, const QString& nomPropose,
                   const QList<QPair<QString, tableur::Colonne::Genre>>& genres, PortDialogue& d) {
    tableur::exporter(nomPropose, tableur::colonnes(entetes(liste), genres), rangees(liste), d);
}
