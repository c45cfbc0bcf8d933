#include "platform/lignecourante.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

void suivreLaLigneCourante(QAbstractItemView* liste) {
    liste->setSelectionMode(QAbstractItemView::SingleSelection);
    liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    QItemSelectionModel* s = liste->selectionModel();
    QObject::connect(s, &QItemSelectionModel::currentChanged, liste, [s](const QModelIndex& courant) {
        if (courant.isValid() && !s->isRowSelected(courant.row(), courant.parent()))
            s->select(courant, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    });
}
