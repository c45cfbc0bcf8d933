#pragma once
#include "config/configuration.h"
#include "returns/suivi.h"
#include "statistics/tendances.h"

#include <QDialog>
#include <QList>

class PanneauGraphique;
class PortDialogue;
class QComboBox;
class QPushButton;
class QTabWidget;
class QTableWidget;

// "Tendances": the twelve months of a year, what each optometrist billed and what the agency
// refused and paid, as a chart and as the table of the same figures.
class frmTendances : public QDialog {
    Q_OBJECT
public:
    frmTendances(QString programme, const Configuration& configuration, PortDialogue& dialogues,
                 QWidget* parent = nullptr);

    QComboBox* Annee = nullptr;
    QTabWidget* Onglets = nullptr;  // 0 the chart, 1 the table
    PanneauGraphique* Graphique = nullptr;
    QTableWidget* Tableau = nullptr;
    QPushButton* Exporter = nullptr;
    QPushButton* Fermer = nullptr;

private:
    void afficher();

    QString programme_;
    const Configuration& configuration_;
    PortDialogue& dialogues_;
    QList<suivi::Ligne> suivi_;
    tendances::Annee annee_;  // the figures shown
};
