#include "returns/listeqt.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

QTreeWidget* nouvelleListe(QWidget* parent, const QString& nom, const QStringList& colonnes) {
    auto* l = new QTreeWidget(parent);
    l->setObjectName(nom);
    l->setRootIsDecorated(false);
    l->setSelectionBehavior(QAbstractItemView::SelectRows);
    l->setAllColumnsShowFocus(true);
    l->setHeaderLabels(colonnes);
    l->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    l->setMinimumHeight(130);
    return l;
}

QTreeWidget* nouvelleListe(QWidget* parent, const QString& nom, const QList<tableur::Colonne>& colonnes) {
    QStringList entetes;
    for (const tableur::Colonne& c : colonnes)
        entetes << c.entete;
    return nouvelleListe(parent, nom, entetes);
}

void trierAuClicDEntete(QTreeWidget* liste) {
    QHeaderView* entete = liste->header();
    entete->setSectionsClickable(true);
    QObject::connect(entete, &QHeaderView::sectionClicked, liste, [liste, entete](int colonne) {
        const bool memeColonne = entete->isSortIndicatorShown() && entete->sortIndicatorSection() == colonne;
        const Qt::SortOrder ordre = memeColonne && entete->sortIndicatorOrder() == Qt::AscendingOrder
                                        ? Qt::DescendingOrder
                                        : Qt::AscendingOrder;
        liste->sortItems(colonne, ordre);
        entete->setSortIndicatorShown(true);
        entete->setSortIndicator(colonne, ordre);
    });
}

namespace {
class FiltreBoutonDroit : public QObject {
public:
    FiltreBoutonDroit(QTreeWidget* liste, std::function<void(QTreeWidgetItem*)> action)
        : QObject(liste), liste_(liste), action_(std::move(action)) {}

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override {
        if (objet == liste_->viewport() && evenement->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(evenement)->button() == Qt::RightButton) {
            action_(liste_->itemAt(static_cast<QMouseEvent*>(evenement)->position().toPoint()));
            return true;
        }
        if (objet == liste_ && parLeClavier(evenement) && liste_->currentItem()) {
            action_(liste_->currentItem());
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

    QTreeWidget* liste_;
    std::function<void(QTreeWidgetItem*)> action_;
};
}  // namespace

void auBoutonDroit(QTreeWidget* liste, const std::function<void(QTreeWidgetItem* rangee)>& action) {
    auto* filtre = new FiltreBoutonDroit(liste, action);
    liste->viewport()->installEventFilter(filtre);
    liste->installEventFilter(filtre);
}

QStringList entetes(const QTreeWidget* liste) {
    QStringList e;
    for (int c = 0; c < liste->columnCount(); ++c)
        e << liste->headerItem()->text(c);
    return e;
}

QList<QStringList> rangees(const QTreeWidget* liste) {
    QList<QStringList> r;
    for (int i = 0; i < liste->topLevelItemCount(); ++i) {
        QStringList cellules;
        for (int c = 0; c < liste->columnCount(); ++c)
            cellules << liste->topLevelItem(i)->text(c);
        r << cellules;
    }
    return r;
}

QPushButton* boutonExporter(QWidget* parent, const std::function<void()>& action) {
    auto* b = new QPushButton(QStringLiteral("E&xporter..."), parent);
    b->setObjectName(QStringLiteral("CommandeExporter"));
    b->setToolTip(QStringLiteral("Exporter la liste pour un tableur (fichier CSV)"));
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::NoFocus);  // the list that has the focus is the one exported
    QObject::connect(b, &QPushButton::clicked, parent, action);
    return b;
}

void exporterListe(const QTreeWidget* liste, const QString& nomPropose,
                   const QList<QPair<QString, tableur::Colonne::Genre>>& genres, PortDialogue& d) {
    tableur::exporter(nomPropose, tableur::colonnes(entetes(liste), genres), rangees(liste), d);
}

bool RangeeTriable::operator<(const QTreeWidgetItem& autre) const {
    const int colonne = treeWidget() ? treeWidget()->sortColumn() : 0;
    const QString a = text(colonne).trimmed(), b = autre.text(colonne).trimmed();
    bool nombreA = false, nombreB = false;
    const qlonglong va = a.toLongLong(&nombreA), vb = b.toLongLong(&nombreB);
    if (nombreA && nombreB && va != vb)
        return va < vb;
    return a < b;
}
