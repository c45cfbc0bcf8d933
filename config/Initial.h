#pragma once
#include "config/initialisation.h"

#include <QDialog>
#include <QList>
#include <QMap>
#include <functional>

class MagasinReglages;
class PortDialogue;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

// The initialisation window "Initialisation": fees, optometrists, establishments, the agency's
// counters, the FTP logon and the switches. It works on its own copy and saves every store after
// each accepted change; closing it (by "&Fermer" or the title-bar button) saves, lets the main
// window reload, and announces the restart.
class Initial : public QDialog {
    Q_OBJECT
public:
    // `recharger` refreshes the main window from the saved stores before the restart message.
    Initial(QString programme, MagasinReglages& utilisateur, PortDialogue& dialogues,
            const ParametresFtp& ftp, std::function<void()> recharger, QWidget* parent = nullptr);

    QTabWidget* SSTab1 = nullptr;
    QList<QListWidget*> List1;     // 0 act codes, 1 names, 2 numbers, 3 establishments, 4 groups
    QMap<int, QLineEdit*> Text1;   // 0 price, 1 name, 2 number, 4 establishment, 5 agency,
                                   // 6 act code, 7 group
    QList<QLineEdit*> Text2;       // 0 FTP server, 1 FTP user, 2 FTP password (never used)
    QLineEdit* Text3 = nullptr;    // folder of the outside product's export file (read only)
    QList<QCheckBox*> Check1;      // 0-8
    QList<QPushButton*> Command1;  // 0-6
    QList<QLabel*> Instructions;   // fees, optometrists, establishments

    const Initialisation& donnees() const { return init_; }

public slots:
    void Command1_Click(int index);
    void List1_Click(int index);
    void Text1_Change(int index);
    void reject() override;

private:
    void remplirListes();
    void lireInterrupteurs();

    Initialisation init_;
    std::function<void()> recharger_;
};
