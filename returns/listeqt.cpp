#include "returns/listeqt.h"

#include <QHeaderView>

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

bool RangeeTriable::operator<(const QTreeWidgetItem& autre) const {
    const int colonne = treeWidget() ? treeWidget()->sortColumn() : 0;
    const QString a = text(colonne).trimmed(), b = autre.text(colonne).trimmed();
    bool nombreA = false, nombreB = false;
    const qlonglong va = a.toLongLong(&nombreA), vb = b.toLongLong(&nombreB);
    if (nombreA && nombreB && va != vb)
        return va < vb;
    return a < b;
}
