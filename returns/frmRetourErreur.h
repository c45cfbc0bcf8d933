#pragma once
#include "returns/retours.h"

#include <QDialog>
#include <QList>
#include <memory>

class MagasinReglages;
class PortDialogue;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class VueListe;

// What distinguishes the two returns windows: the error returns ("Confirmation") and the
// statements of account.
struct GenreRetour {
    retours::Genre genre;
    QString nom, legende, cadre, infobulleRecuperer, infobulleArchives, colonneNombre;
    static GenreRetour erreurs();
    static GenreRetour etats();
};

// A returns window (the error returns, or with GenreRetour::etats() the statements of account
// "frmRetourEtatCmpt"): the fetch from the server with its list (ListView1) and its print, the
// archive section over Sauvramq (ListView2) with its print and removal, the printer choice.
class frmRetourErreur : public QDialog {
    Q_OBJECT
public:
    // `agence`: the agency number shown in the main window's status bar.
    frmRetourErreur(QString programme, QString agence, MagasinReglages& utilisateur,
                    PortDialogue& dialogues, QWidget* parent = nullptr,
                    const GenreRetour& genre = GenreRetour::erreurs());
    ~frmRetourErreur() override;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;  // "Section Archives"
    QLabel* Picture1 = nullptr;
    QPushButton* Command2 = nullptr;   // fetch
    QList<QPushButton*> Command3;      // 0 "Imprimer", 1 "Fermer"
    QList<QPushButton*> Command1;      // 0 list the archive, 1 "Imprimer", 2 "Afficher"
    QComboBox* Combo1 = nullptr;
    VueListe* ListView1 = nullptr;
    VueListe* ListView2 = nullptr;

public slots:
    void Command2_Click();
    void Command3_Click(int index);
    void Command1_Click(int index);
    void Combo1_Click();
    // The removal of the selected kept files (right button released over ListView2, or Delete).
    void ListView2_Retirer();
    // Closing by the title bar or Escape does what "Fermer" does.
    void reject() override;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void Form_Load();
    // Shows `lignes` in `liste`, their cells kept in `rangees`.
    void remplir(VueListe* liste, std::shared_ptr<QList<QStringList>>& rangees, const QList<retours::Resume>& lignes);
    QString selection(const VueListe* liste) const;

    QString programme_;
    QString agence_;
    MagasinReglages& utilisateur_;
    PortDialogue& dialogues_;
    GenreRetour genre_;
    QString imprimantePrecedente_;
    // The cells of ListView1 and ListView2, shared with the lists (a printed file is marked here).
    std::shared_ptr<QList<QStringList>> rangees1_ = std::make_shared<QList<QStringList>>();
    std::shared_ptr<QList<QStringList>> rangees2_ = std::make_shared<QList<QStringList>>();
};
