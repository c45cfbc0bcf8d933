#pragma once
#include "config/configuration.h"
#include "returns/historique.h"

#include <QDialog>
#include <QList>
#include <QMap>

class PortDialogue;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// The invoices in memory one at a time (VScroll1), each field in its box Text1(index), with
// the correction and the cancellation written back into the same record of Ftmp.Fil.
class frmHistorique : public QDialog {
    Q_OBJECT
public:
    // `configuration`: the NAM tables and the fee table the corrections are checked with.
    frmHistorique(QString programme, const Configuration& configuration, PortDialogue& dialogues,
                  QWidget* parent = nullptr);

    QScrollBar* VScroll1 = nullptr;
    QMap<int, QLineEdit*> Text1;  // by the box's index
    QList<QPushButton*> Command1;  // 0 correction, 1 cancellation, 2 close
    QLabel* StatusBar1 = nullptr;

public slots:
    void VScroll1_Change();
    void Command1_Click(int index);
    // Leaving a box: its text in capitals, and the total again.
    void Text1_LostFocus(int index);
    // Closing (Fermer, Escape, the title bar) with changes not written asks first.
    void reject() override;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void Form_Load();
    void afficher(int numero);
    void aucune();
    // Whether the boxes may leave the invoice shown: nothing typed is lost without a question.
    bool peutQuitterLaFacture();
    historique::Textes textes() const;

    QString programme_;
    const Configuration& configuration_;
    PortDialogue& dialogues_;
    int numero_ = 0;
    QByteArray affiche_;  // the stored record shown
};
