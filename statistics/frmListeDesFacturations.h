#pragma once
#include <QByteArray>
#include <QDialog>
#include <QList>

class PortDialogue;
class QPushButton;
class VueListe;

// "Liste des facturations envoyées": the sending log, and the removal of the lines selected
// with the right button.
class frmListeDesFacturations : public QDialog {
    Q_OBJECT
public:
    frmListeDesFacturations(QString programme, PortDialogue& dialogues, QWidget* parent = nullptr);

    VueListe* ListView1 = nullptr;
    QPushButton* Command1 = nullptr;

public slots:
    // The right button released over the list.
    void ListView1_MouseUp();

private:
    void Form_Load();

    QString programme_;
    PortDialogue& dialogues_;
    QList<QByteArray> journal_;  // the records the list shows
};
