#pragma once
#include "entry/filepatients.h"

#include <QDialog>

class PortDialogue;
class QPushButton;
class VueListe;

// "Liste des fiches en mémoire": the queue of imported patients; a double click loads one into
// the entry window, the right button withdraws one.
class frmListeEnMem : public QDialog {
    Q_OBJECT
public:
    frmListeEnMem(QString programme, PortDialogue& dialogues, QWidget* parent = nullptr);

    VueListe* ListView1 = nullptr;
    QPushButton* Command1 = nullptr;

signals:
    void patientChoisi(const filepatients::EnFile& patient);
    // The number of patients left after a withdrawal.
    void fileChangee(int nombre);

public slots:
    void ListView1_DblClick();
    // The right button released over a row.
    void ListView1_Retirer();

private:
    void Form_Load();

    QString programme_;
    PortDialogue& dialogues_;
    QList<filepatients::EnFile> patients_;
};
