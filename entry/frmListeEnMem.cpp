#include "entry/frmListeEnMem.h"

#include "platform/dialogues.h"
#include "platform/reprise.h"
#include "returns/listeqt.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

frmListeEnMem::frmListeEnMem(QString programme, PortDialogue& dialogues, QWidget* parent)
    : QDialog(parent), programme_(std::move(programme)), dialogues_(dialogues) {
    setObjectName(QStringLiteral("frmListeEnMem"));
    setWindowTitle(QStringLiteral("Liste des fiches en mémoire"));
    ListView1 = nouvelleListe(this, QStringLiteral("ListView1"), filepatients::colonnes());
    ListView1->setAccessibleName(QStringLiteral("Fiches en mémoire"));
    auto* aides = new QLabel(QStringLiteral("Un double-clic sur une ligne pour facturer cette personne.\n"
                                            "Cliquez avec le bouton droit de la souris pour supprimer une entrée."),
                             this);
    Command1 = new QPushButton(QStringLiteral("&Fermer"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(ListView1, 1);
    disposition->addWidget(aides);
    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(boutonExporter(this, [this] {
        tableur::exporter(QStringLiteral("Patients en attente.csv"), filepatients::colonnes(), rangees(ListView1),
                          dialogues_);
    }));
    boutons->addWidget(Command1);
    disposition->addLayout(boutons);
    resize(620, 360);
    connect(Command1, &QPushButton::clicked, this, &QDialog::close);
    // A double click, or Enter on a row, bills that patient.
    connect(ListView1, &QTreeWidget::itemActivated, this, &frmListeEnMem::ListView1_DblClick);
    auBoutonDroit(ListView1, [this](QTreeWidgetItem* rangee) {
        if (rangee) {
            ListView1->setCurrentItem(rangee);
            ListView1_Retirer();
        }
    });
    Form_Load();
}

void frmListeEnMem::Form_Load() {
    patients_.clear();
    executerAvecReprise(dialogues_, QStringLiteral("Erreur en lecture"),
                        [&] { patients_ = filepatients::tous(programme_); });
    ListView1->clear();
    for (int i = 0; i < patients_.size(); ++i) {
        auto* r = new QTreeWidgetItem(ListView1, filepatients::rangee(patients_[i]));
        r->setData(0, Qt::UserRole, i);
    }
}

void frmListeEnMem::ListView1_DblClick() {
    const QTreeWidgetItem* r = ListView1->currentItem();
    if (!r)
        return;
    emit patientChoisi(patients_[r->data(0, Qt::UserRole).toInt()]);
    close();
}

void frmListeEnMem::ListView1_Retirer() {
    const QTreeWidgetItem* r = ListView1->currentItem();
    if (!r)
        return;
    const filepatients::EnFile& p = patients_[r->data(0, Qt::UserRole).toInt()];
    if (dialogues_.question(Icone::Question, QStringLiteral("Suppression"),
                            filepatients::questionRetrait(p.enregistrement), Boutons::OuiNon, 1) != Reponse::Oui)
        return;
    const QString nam = r->text(1);
    int reste = 0;
    executerAvecReprise(dialogues_, QStringLiteral("File d'attente"), [&] {
        reste = filepatients::retirerNam(programme_, nam);
    });
    emit fileChangee(reste);
    Form_Load();
}
