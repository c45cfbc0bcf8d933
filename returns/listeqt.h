#pragma once
#include "platform/tableur.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QTreeView>
#include <functional>

class PortDialogue;
class QPushButton;

// The rows of a list window over the records it shows: the cells of a row are made only when the
// row is shown (or exported), from the record's place in the window's own list, so opening a
// list of 50 000 records costs no more than the rows on screen.
class ModeleListe : public QAbstractTableModel {
public:
    // The cells of the record `source` (its place in the window's list). It holds what it reads
    // (a copy of an implicitly shared list costs nothing): a window's members are gone before its
    // child lists, which may still draw a row while they are destroyed.
    using Cellules = std::function<QStringList(int source)>;
    // The value a record sorts on in a column; an invalid value sorts the column by its cells.
    using Cle = std::function<QVariant(int source, int colonne)>;

    explicit ModeleListe(QStringList entetes, QObject* parent = nullptr);

    // Shows `nombre` records in their order, under no sort.
    void remplacer(int nombre, Cellules cellules);
    // Sorts again on the column last sorted, if any (after remplacer).
    void retrier();
    // The cells of the records changed in place.
    void actualiser();
    void alignerADroite(const QList<int>& colonnes) { aDroite_ = colonnes; }
    void trierSur(Cle cle) { cle_ = std::move(cle); }

    int source(int rangee) const { return ordre_.value(rangee, -1); }
    // The row showing the record `source`, or -1.
    int rangeeDe(int source) const { return int(ordre_.indexOf(source)); }
    QStringList cellules(int rangee) const;
    // What the list shows, in the order shown.
    const QStringList& entetes() const { return entetes_; }
    QList<QStringList> rangees() const;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(ordre_.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(entetes_.size()); }
    QVariant data(const QModelIndex& i, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    // One key per record, then a stable sort of the rows; the current and selected rows follow
    // their records. Runs of digits in cells compare by their values ("45" before "300").
    void sort(int colonne, Qt::SortOrder ordre) override;

private:
    QStringList entetes_;
    Cellules cellules_;
    Cle cle_;
    QList<int> ordre_;  // row shown -> record
    QList<int> aDroite_;
    int colonneTri_ = -1;
    Qt::SortOrder sens_ = Qt::AscendingOrder;
    mutable int rangeeEnCache_ = -1;  // a row is drawn cell by cell: its cells are made once
    mutable QStringList enCache_;
};

// Sets the widths of the columns of `vue` from their captions and a sample of the rows (the
// first ones and some spread over the rest), never from every row; the last column stretches.
void ajusterColonnes(QAbstractItemView* vue, const ModeleListe& modele);

// A list view of the list windows: whole rows selected, columns fitted to a sample of the rows.
class VueListe : public QTreeView {
public:
    VueListe(QWidget* parent, const QString& nom, const QStringList& colonnes);

    ModeleListe* modele() const { return modele_; }
    // Shows `nombre` records, fits the columns and leaves no row current.
    void remplir(int nombre, ModeleListe::Cellules cellules);
    // Shows the records of `liste` (the list keeps a shared copy), each as `cellules` makes it.
    template <typename T, typename F>
    void remplir(const QList<T>& liste, F cellules) {
        remplir(int(liste.size()), [liste, cellules](int i) { return cellules(liste[i]); });
    }
    int nombre() const { return modele_->rowCount(); }
    QString texte(int rangee, int colonne) const { return modele_->cellules(rangee).value(colonne); }
    // The current row, or -1; the record it shows, or -1.
    int courante() const;
    int sourceCourante() const { return modele_->source(courante()); }
    // Makes `rangee` the current row, selected alone.
    void choisir(int rangee);
    // The rows selected, in the order shown.
    QList<int> choisies() const;
    bool estChoisie(int rangee) const;

private:
    ModeleListe* modele_;
};

// A list of the given captions.
VueListe* nouvelleListe(QWidget* parent, const QString& nom, const QStringList& colonnes);
VueListe* nouvelleListe(QWidget* parent, const QString& nom, const QList<tableur::Colonne>& colonnes);

// A click on a column heading sorts the list on that column, ascending then descending.
void trierAuClicDEntete(VueListe* liste);

// Calls `action` with the row under the pointer (or -1) when the right mouse button is released
// over the list, and with the current row when the keyboard asks the same of the list: the Delete
// key or the context-menu key (Menu, Shift+F10).
void auBoutonDroit(VueListe* liste, const std::function<void(int rangee)>& action);

// What a list shows: its column captions and its rows, in the order shown.
QStringList entetes(const VueListe* liste);
QList<QStringList> rangees(const VueListe* liste);

// The "Exporter..." button of the list windows (Alt+X); it leaves the focus where it is, so a
// window of two lists exports the one the user is in.
QPushButton* boutonExporter(QWidget* parent, const std::function<void()>& action);
// Writes what `liste` shows for a spreadsheet, the columns named in `genres` as amounts in cents
// or dates, to a file the user chooses.
void exporterListe(const VueListe* liste, const QString& nomPropose,
                   const QList<QPair<QString, tableur::Colonne::Genre>>& genres, PortDialogue& d);
