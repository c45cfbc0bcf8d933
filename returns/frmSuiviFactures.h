#pragma once
#include "config/configuration.h"
#include "returns/suivi.h"

#include <QDialog>
#include <QList>
#include <optional>
#include <utility>

class PortDialogue;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class ModeleListe;

// What the agency accepted, refused and paid, invoice by invoice: the follow-up's rows under the
// filters of the period, the professional, the state and a NAM or name, their totals, and the
// re-billing of a refused invoice.
class frmSuiviFactures : public QDialog {
    Q_OBJECT
public:
    frmSuiviFactures(QString programme, const Configuration& configuration, PortDialogue& dialogues,
                     QWidget* parent = nullptr);

    QDateEdit* Du = nullptr;
    QDateEdit* Au = nullptr;
    QComboBox* Professionnel = nullptr;
    QComboBox* Etat = nullptr;
    QLineEdit* Recherche = nullptr;
    QTableView* Liste = nullptr;
    QLabel* Totaux = nullptr;
    QPushButton* Refacturer = nullptr;
    QPushButton* Imprimer = nullptr;
    QPushButton* Fermer = nullptr;

    // The rows shown, in the order shown.
    QList<suivi::Ligne> lignesAffichees() const;

private:
    // Reads the rows again; the current row stays on the invoice `garder` (facturation, record
    // number) when given: none when it is no longer shown.
    void charger(std::optional<std::pair<QString, int>> garder = {});
    void filtrer();
    void refacturer();
    void imprimer();
    void exporter();
    const suivi::Ligne* ligneCourante() const;

    QString programme_;
    const Configuration& configuration_;
    PortDialogue& dialogues_;
    QList<suivi::Ligne> lignes_;     // every row read
    QList<suivi::Ligne> affichees_;  // those the filters keep, in the order read
    ModeleListe* modele_ = nullptr;
};
