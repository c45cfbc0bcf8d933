#pragma once
#include "returns/archives.h"

#include <QDialog>

class PortDialogue;
class QLabel;
class QProgressBar;
class QToolBar;
class VueListe;

// The archives of sent billings: the kept payment-request files (ListView2) and the invoices of
// the one chosen, of Ftmp.Fil, or of a search (ListView1), with the toolbar's put back in
// memory, print, search and close.
class frmArchives : public QDialog {
    Q_OBJECT
public:
    frmArchives(QString programme, PortDialogue& dialogues, QWidget* parent = nullptr);

    QToolBar* Toolbar1 = nullptr;
    QLabel* Label1 = nullptr;
    VueListe* ListView1 = nullptr;
    VueListe* ListView2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    QAction* bouton(const QString& cle) const;
    // The invoices as shown, in the order of the list.
    archives::Factures affichees() const;

public slots:
    void Toolbar1_ButtonClick(const QString& cle);
    void ListView2_Click();

private:
    void Form_Load();
    void afficher(const archives::Factures& f);
    std::function<void(int)> progression();

    QString programme_;
    PortDialogue& dialogues_;
    archives::Factures factures_;
    QList<archives::Conserve> conserves_;  // the kept billings ListView2 shows
};
