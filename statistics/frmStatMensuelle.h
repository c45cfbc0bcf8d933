#pragma once
#include "config/configuration.h"
#include "statistics/statmensuelle.h"

#include <QDialog>
#include <QList>

class MagasinReglages;
class PanneauGraphique;
class PortDialogue;
class QComboBox;
class QProgressBar;
class QPushButton;
class QTabWidget;
class VueListe;

// "Statistiques mensuelles": one optometrist's invoices of one month from the annual statistics
// file, their counts and amounts, printed as a summary by day or a detailed list, or mailed.
class frmStatMensuelle : public QDialog {
    Q_OBJECT
public:
    // `agence` and `etablissement`: the entry window's status-bar panels 3 and 4.
    frmStatMensuelle(QString programme, const Configuration& configuration, QString agence,
                     QString etablissement, MagasinReglages& utilisateur, PortDialogue& dialogues,
                     QWidget* parent = nullptr);

    QList<QComboBox*> Combo1;  // 0 optometrist, 1 year, 2 month
    VueListe* ListView1 = nullptr;
    QTabWidget* Onglets = nullptr;  // 0 the list, 1 the chart of the amount billed per day
    PanneauGraphique* Graphique = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    // 0 print the summary, 1 print the list, 2 close, 3 show, 4 mail the summary
    QList<QPushButton*> Command1;

public slots:
    void Combo1_Click();
    void Command1_Click(int index);

private:
    void Form_Load();
    statmensuelle::Entete entete() const;
    bool confirmerImpression(const QString& texte);

    QString programme_;
    const Configuration& configuration_;
    QString agence_, etablissement_;
    MagasinReglages& utilisateur_;
    PortDialogue& dialogues_;
    statmensuelle::Mois mois_;
};
