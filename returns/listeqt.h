#pragma once
#include <QStringList>
#include <QTreeWidget>
#include <functional>

// The list views of the returns and archives windows: whole rows selected, columns fitted to
// their contents.
QTreeWidget* nouvelleListe(QWidget* parent, const QString& nom, const QStringList& colonnes);

// A click on a column heading sorts the list on that column, ascending then descending; cells
// of digits are compared as numbers.
void trierAuClicDEntete(QTreeWidget* liste);

// Calls `action` with the row under the pointer (or none) when the right mouse button is
// released over the list.
void auBoutonDroit(QTreeWidget* liste, const std::function<void(QTreeWidgetItem* rangee)>& action);

// A row whose digit cells sort as numbers ("45" before "300").
class RangeeTriable : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& autre) const override;
};
