#pragma once
#include <QStringList>
#include "platform/tableur.h"

#include <QTreeWidget>
#include <functional>

class PortDialogue;

// The list views of the returns and archives windows: whole rows selected, columns fitted to
// their contents.
QTreeWidget* nouvelleListe(QWidget* parent, const QString& nom, const QStringList& colonnes);

// A click on a column heading sorts the list on that column, ascending then descending; cells
// of digits are compared as numbers.
void trierAuClicDEntete(QTreeWidget* liste);

// Calls `action` with the row under the pointer (or none) when the right mouse button is
// released over the list, and with the current row when the keyboard asks the same of the list:
// the Delete key or the context-menu key (Menu, Shift+F10).
void auBoutonDroit(QTreeWidget* liste, const std::function<void(QTreeWidgetItem* rangee)>& action);

// What a list shows: its column captions and its rows, in the order shown.
QStringList entetes(const QTreeWidget* liste);
QList<QStringList> rangees(const QTreeWidget* liste);

// The "Exporter..." button of the list windows (Alt+X); it leaves the focus where it is, so a
// window of two lists exports the one the user is in.
class QPushButton;
QPushButton* boutonExporter(QWidget* parent, const std::function<void()>& action);
// Writes what `liste` shows for a spreadsheet, the columns named in `genres` as amounts in cents
// or dates, to a file the user chooses.
void exporterListe(const QTreeWidget* liste, const QString& nomPropose,
                   const QList<QPair<QString, tableur::Colonne::Genre>>& genres, PortDialogue& d);
// A list whose columns are those given.
QTreeWidget* nouvelleListe(QWidget* parent, const QString& nom, const QList<tableur::Colonne>& colonnes);

// A row whose digit cells sort as numbers ("45" before "300").
class RangeeTriable : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& autre) const override;
};
