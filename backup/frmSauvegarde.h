#pragma once
#include <QDialog>

class MagasinReglages;
class PortDialogue;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The save of the clinic's data (`restauration` false) or the restore of an archive: the paths
// in boxes with a button to browse, a progress bar while the work runs under the hourglass.
class frmSauvegarde : public QDialog {
    Q_OBJECT
public:
    frmSauvegarde(QString programme, MagasinReglages& utilisateur, PortDialogue& dialogues, bool restauration,
                  QWidget* parent = nullptr);

    QLineEdit* Archive = nullptr;  // the restore's only
    QPushButton* ParcourirArchive = nullptr;
    QLineEdit* Dossier = nullptr;  // the destination, or the folder restored into
    QPushButton* ParcourirDossier = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* Executer = nullptr;
    QPushButton* Fermer = nullptr;

    // The folder restored into, once a restore succeeded.
    const QString& dossierRestaure() const { return restaure_; }

private:
    void Executer_Click();
    void progression(int part);

    QString programme_;
    MagasinReglages& utilisateur_;
    PortDialogue& dialogues_;
    bool restauration_;
    QString restaure_;
};
