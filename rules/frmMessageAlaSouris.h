#pragma once
#include "platform/dialogues.h"

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;

// The modal choice window: heading lines and buttons one under the other, each button as
// wide as its caption. It remembers which button was clicked (-1 for Escape).
class frmMessageAlaSouris : public QDialog {
    Q_OBJECT
public:
    explicit frmMessageAlaSouris(const FenetreChoix& fenetre, QWidget* parent = nullptr);
    int boutonChoisi() const { return choisi_; }

    QList<QLabel*> Label1;
    QList<QPushButton*> Command1;

public slots:
    void Command1_Click(int index);

protected:
    void keyPressEvent(QKeyEvent* evenement) override;
    void keyReleaseEvent(QKeyEvent* evenement) override;

private:
    FenetreChoix fenetre_;
    int choisi_ = -1;
};
