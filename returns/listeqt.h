#pragma once
#include <QStringList>
#include <QTreeWidget>

// The list views of the returns and archives windows: whole rows selected, columns fitted to
// their contents.
QTreeWidget* nouvelleListe(QWidget* parent, const QString& nom, const QStringList& colonnes);

// A click on a column heading sorts the list on that column, ascending then descending; cells
// of digits are compared as numbers.
void trierAuClicDEntete(QTreeWidget* liste);

// A row whose digit cells sort as numbers ("45" before "300").
class RangeeTriable : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& autre) const override;
};
