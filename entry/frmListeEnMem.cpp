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
    connect(ListView1, &QAbstractItemView::activated, this, &frmListeEnMem::ListView1_DblClick);
    auBoutonDroit(ListView1, [this](int rangee) {
        if (rangee >= 0) {
            ListView1->choisir(rangee);
            ListView1_Retirer();
        }
    });
    Form_Load();
}

void frmListeEnMem::Form_Load() {
    patients_.clear();
    executerAvecReprise(dialogues_, QStringLiteral("Erreur en lecture"),
                        [&] { patients_ = filepatients::tous(programme_); });
    ListView1->remplir(patients_, filepatients::rangee);
}

void frmListeEnMem::ListView1_DblClick() {
    const int i = ListView1->sourceCourante();
    if (i < 0)
        return;
    emit patientChoisi(patients_[i]);
    close();
}

void frmListeEnMem::ListView1_Retirer() {
    const int i = ListView1->sourceCourante();
    if (i < 0)
        return;
    const filepatients::EnFile& p = patients_[i];
    if (dialogues_.question(Icone::Question, QStringLiteral("Suppression"),
                            filepatients::questionRetrait(p.enregistrement), Boutons::OuiNon, 1) != Reponse::Oui)
        return;
    const QString nam = ListView1->texte(ListView1->courante(), 1);
    int reste = 0;
    executerAvecReprise(dialogues_, QStringLiteral("File d'attente"), [&] {
        reste = filepatients::retirerNam(programme_, nam);
    });
    emit fileChangee(reste);
    Form_Load();
}
