#pragma once
#include "returns/affichageretour.h"

#include <QDialog>
#include <QList>

class PortDialogue;
class QLabel;
class QPushButton;
class QTreeView;

// "Rapport": a kept return file shown on screen, its header labels and its rows. Reads only.
class frmAfficheRapport : public QDialog {
    Q_OBJECT
public:
    frmAfficheRapport(const affichageretour::Affichage& affichage, QWidget* parent = nullptr);

    // Reads `chemin` and shows it modally; no window when the file is refused.
    static void afficher(const QString& chemin, PortDialogue& dialogues, QWidget* parent);

    QList<QLabel*> Label1;  // 0 to 4
    QTreeView* ListView1 = nullptr;  // over the display's rows, decoded as they are shown
    QPushButton* Command1 = nullptr;  // "Fermer"
};
