#pragma once
#include "config/configuration.h"
#include "statistics/comptesrendus.h"

#include <QDialog>
#include <QList>

class MagasinReglages;
class PanneauGraphique;
class PortDialogue;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;
class VueListe;

// "Compte rendu": the acts of one optometrist counted and priced from the fee table, in the
// invoices in memory, in a kept billing chosen in the list, or over a whole year of billings.
class frmStatistique : public QDialog {
    Q_OBJECT
public:
    // `agence` and `etablissement` go to the monthly statistics it opens.
    frmStatistique(QString programme, const Configuration& configuration, QString agence, QString etablissement,
                   MagasinReglages& utilisateur, PortDialogue& dialogues, QWidget* parent = nullptr);

    QComboBox* Combo1 = nullptr;  // optometrists
    QComboBox* Combo2 = nullptr;  // kept billings
    QComboBox* Combo3 = nullptr;  // years
    VueListe* ListView1 = nullptr;
    QTableWidget* MSFlexGrid1 = nullptr;
    QTabWidget* Onglets = nullptr;  // 0 the grid, 1 its chart
    PanneauGraphique* Graphique = nullptr;
    QLabel* LabelPeriode = nullptr;
    QLabel* LabelNombre = nullptr;
    QLabel* LabelAnnuel = nullptr;
    QList<QPushButton*> Command1;  // 0 print, 1 close
    QPushButton* Command2 = nullptr;  // yearly amounts
    QPushButton* Command3 = nullptr;  // monthly statistics
    QPushButton* Command4 = nullptr;  // the year's trends

public slots:
    void Combo1_Click();
    void ListView1_Click();
    void Command1_Click(int index);
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

private:
    void Form_Load();
    void StatistiquesActes(QChar chiffreAnnee);
    void afficher(const comptesrendus::Compte& compte, bool annuel);
    QString professionnel() const;
    QList<QStringList> lignesGrille() const;
    void dessiner();

    QString programme_;
    const Configuration& configuration_;
    QString agence_, etablissement_;
    MagasinReglages& utilisateur_;
    PortDialogue& dialogues_;
    QString fichierCourant_ = QStringLiteral("Ftmp.Fil");
    comptesrendus::Compte compte_;  // what the grid shows
};
