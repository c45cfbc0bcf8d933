#pragma once
#include "transmission/envoi.h"

#include <QDialog>
#include <QList>
#include <QMap>

class MagasinReglages;
class PortDialogue;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// "Transmission des factures à la RAMQ": the summary of the prepared billing, the clinic's
// identification, and the sending.
class frmTransmettre : public QDialog {
    Q_OBJECT
public:
    frmTransmettre(QString programme, MagasinReglages& utilisateur, PortDialogue& dialogues,
                   QWidget* parent = nullptr);

    QList<QLabel*> Label1;         // the summary lines
    QList<QLineEdit*> Text2;       // 0 clinic name, 1 telephone, 2 e-mail address
    QMap<int, QLineEdit*> Text1;   // 8 request file, 9 payment-request file (hidden)
    QList<QPushButton*> Command1;  // 0 send, 1 cancel, 2 list of sent billings
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* LabelSoutien = nullptr;  // the support address; a click writes to it
    QLabel* LabelConnexion = nullptr;  // the kind of connection the sending used

public slots:
    void Command1_Click(int index);
    void LabelSoutien_Click();

protected:
    // Closing by any way saves the clinic boxes.
    void done(int resultat) override;

private:
    void Form_Load();
    void enregistrerClinique();
    envoi::Clinique clinique() const;  // the three boxes, trimmed

    QString programme_;
    MagasinReglages& utilisateur_;
    PortDialogue& dialogues_;
};
