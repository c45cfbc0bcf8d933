#pragma once
#include <QDialog>

struct Configuration;
class MagasinReglages;
class PortDialogue;
class QAction;
class QLabel;
class QToolBar;

// The communication window: a toolbar that opens preparation, sending and the returns windows.
class frmTelecommunication : public QDialog {
    Q_OBJECT
public:
    // `agence`: the agency number shown in the main window's status bar.
    frmTelecommunication(QString programme, QString agence, const Configuration& configuration,
                         MagasinReglages& utilisateur, PortDialogue& dialogues,
                         QWidget* parent = nullptr);

    QToolBar* Toolbar1 = nullptr;
    // The toolbar buttons, by their keys; button 1 is "Préparation".
    QAction* bouton(const QString& cle) const;

    QLabel* LabelConnexion = nullptr;  // the kind of connection the last exchange used

public slots:
    void Toolbar1_ButtonClick(const QString& cle);

signals:
    // A preparation emptied the file of invoices in memory.
    void facturesPreparees();

private:
    void Form_Load();
    void verifierRetours();
    void montrerConnexion(quint64 avant);  // the status line, when a connection was made since

    QString programme_;
    QString agence_;
    const Configuration& configuration_;
    MagasinReglages& utilisateur_;
    PortDialogue& dialogues_;
};
