#pragma once
#include "config/motdepasse.h"

#include <QDialog>
#include <QList>

class PortDialogue;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The password window "Mot de passe", shown before anything else when SiMotPasse is "OUI".
// It ends accepted when access is granted; any other end (a refusal, the title-bar button,
// Escape) is a refusal, and the program must end.
class MotPasse : public QDialog {
    Q_OBJECT
public:
    MotPasse(QString programme, PortDialogue& dialogues, QWidget* parent = nullptr);

    QLineEdit* Text1 = nullptr;
    QList<QLineEdit*> Text2;        // 0 old/new password, 1 support code
    QList<QLabel*> Label1;          // 0 login, 1 change area, 2 support (shows the password)
    QList<QPushButton*> Command1;   // 0-6
    QAction* Depannage = nullptr;
    QAction* Quitter = nullptr;
    QWidget* zoneModification = nullptr;
    QWidget* zoneSoutien = nullptr;

public slots:
    void Command1_Click(int index);
    void Depannage_Click();
    void Quitter_Click();
    void reject() override;

private:
    void conclure(motdepasse::Issue issue);
    void modeSoutien(bool actif);

    motdepasse::Porte porte_;
    bool decide_ = false;
};
