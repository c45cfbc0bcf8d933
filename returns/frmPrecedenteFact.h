#pragma once
#include "returns/precedentes.h"

#include <QDialog>
#include <QList>

class PortDialogue;
class QLabel;
class QPushButton;
class VueListe;

// The billings kept by their request files: the date of the one selected, putting it back
// online for the next sending, striking it out.
class frmPrecedenteFact : public QDialog {
    Q_OBJECT
public:
    frmPrecedenteFact(QString programme, PortDialogue& dialogues, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    VueListe* ListView1 = nullptr;
    QList<QPushButton*> Command1;  // 0 close, 1 put back online, 2 strike out
    QLabel* StatusBar1 = nullptr;

public slots:
    void ListView1_Click();
    void Command1_Click(int index);

private:
    void lister();
    const precedentes::Facturation* choisie() const;

    QString programme_;
    PortDialogue& dialogues_;
    QList<precedentes::Facturation> facturations_;
};
