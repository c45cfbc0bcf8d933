#include "returns/frmAfficheRapport.h"

#include "platform/dialogues.h"

#include <QAbstractTableModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

namespace {

// The rows of a display as a table of seven columns; the row last asked for is kept decoded,
// since a view asks for its cells one by one.
class ModeleRapport : public QAbstractTableModel {
public:
    ModeleRapport(affichageretour::Affichage affichage, QObject* parent)
        : QAbstractTableModel(parent), affichage_(std::move(affichage)) {}
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(affichage_.nombreRangees());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 7; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        if (index.row() != derniere_) {
            cellules_ = affichage_.rangee(index.row());
            derniere_ = index.row();
        }
        return cellules_.value(index.column());
    }

private:
    const affichageretour::Affichage affichage_;
    mutable int derniere_ = -1;
    mutable QStringList cellules_;
};

}  // namespace

frmAfficheRapport::frmAfficheRapport(const affichageretour::Affichage& affichage, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmAfficheRapport"));
    setWindowTitle(QStringLiteral("Rapport"));
    setModal(true);
    auto* grille = new QGridLayout(this);
    for (int i = 0; i < 5; ++i) {
        auto* l = new QLabel(i == 0 ? QStringLiteral("Rapport") : QString(), this);
        l->setObjectName(QStringLiteral("Label1_%1").arg(i));
        if (affichage.etiquettes[i])
            l->setText(*affichage.etiquettes[i]);
        Label1 << l;
    }
    QFont titre = Label1[0]->font();
    titre.setBold(true);
    titre.setPointSizeF(titre.pointSizeF() * 1.3);
    Label1[0]->setFont(titre);
    grille->addWidget(Label1[0], 0, 0, 1, 2);
    for (int i = 1; i < 5; ++i)
        grille->addWidget(Label1[i], 1 + (i - 1) / 2, (i - 1) % 2);

    ListView1 = new QTreeView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setAccessibleName(QStringLiteral("Lignes du rapport"));
    ListView1->setModel(new ModeleRapport(affichage, ListView1));
    ListView1->setHeaderHidden(true);  // the rows carry their own headings
    ListView1->setRootIsDecorated(false);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setUniformRowHeights(true);
    ListView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grille->addWidget(ListView1, 3, 0, 1, 2);

    Command1 = new QPushButton(QStringLiteral("&Fermer"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    grille->addWidget(Command1, 4, 1, Qt::AlignRight);
    resize(860, 480);
}

void frmAfficheRapport::afficher(const QString& chemin, PortDialogue& d, QWidget* parent) {
    std::optional<affichageretour::Affichage> affichage;
    {
        Sablier sablier(d);
        affichage = affichageretour::AfficherRetour(chemin, d);
    }
    if (affichage)
        frmAfficheRapport(*affichage, parent).exec();
}
