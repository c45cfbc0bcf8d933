#pragma once
#include "config/fichierconfiguration.h"

#include <QDialog>
#include <QList>

class PortDialogue;
class QLabel;
class QPushButton;

// The configuration-correction window: shows the optometrists and establishments of an older
// Kestrova.Cfg and rewrites the file in the current version. Closing it does what its button
// does, so start-up always goes on with a current file.
class frmCorrigeCfg : public QDialog {
    Q_OBJECT
public:
    frmCorrigeCfg(QString programme, PortDialogue& dialogues, QWidget* parent = nullptr);

    QList<QLabel*> Label1;  // per slot in use: name, number, group; per line: heading, line
    QLabel* LabelNonLu = nullptr;  // what of the old file could not be read
    QPushButton* Command1 = nullptr;

public slots:
    void Command1_Click();
    void reject() override;

private:
    QString programme_;
    PortDialogue& dialogues_;
    fichierconfiguration::Ancienne ancienne_;
    bool fait_ = false;
};
