#pragma once
#include "transmission/preparation.h"

#include <QDialog>
#include <QList>

struct Configuration;
class PortDialogue;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

// "Préparation des factures pour transmission à la RAMQ.": the summary of what will be
// prepared, the printer, and the preparation itself.
class frmTelePrepare : public QDialog {
    Q_OBJECT
public:
    frmTelePrepare(QString programme, const Configuration& configuration, PortDialogue& dialogues,
                   QWidget* parent = nullptr);
    ~frmTelePrepare() override;

    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* Combo1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QList<QLabel*> Label2;         // hidden: the five values of the preparation
    QList<QPushButton*> Command1;  // 0 "&Ok", 1 "&Annuler"

    // True once a preparation has completed.
    bool preparee() const { return preparee_; }

public slots:
    void Command1_Click(int index);
    void Combo1_Click();

signals:
    void facturesPreparees();

private:
    void Form_Load();
    preparation::Valeurs valeurs() const;

    QString programme_;
    const Configuration& configuration_;
    PortDialogue& dialogues_;
    QString imprimantePrecedente_;
    bool preparee_ = false;
};
