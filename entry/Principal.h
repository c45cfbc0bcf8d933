#pragma once
#include "config/configuration.h"
#include "entry/demarrage.h"
#include "entry/formulaire.h"
#include "entry/patientcourant.h"
#include "rules/champsacte.h"

#include <QMainWindow>
#include <QPointer>
#include <QMap>
#include <deque>
#include <functional>

class FiltreSaisie;
class MaskEdBox;
class PertesDeFocus;
class MagasinReglages;
class PortDialogue;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QToolBar;
class Redimensionnement;

// The invoice-entry window "Saisie des factures RAMQ": the program's first window.
class Principal : public QMainWindow, private FenetresDemarrage {
    Q_OBJECT
public:
    Principal(QString programme, PortDialogue& dialogues, MagasinReglages& utilisateur,
              QWidget* parent = nullptr);
    ~Principal() override;

    // Start-up steps up to the window being shown; false when the program must end.
    bool Form_Load();
    // Shows the window (maximised when WindowsStateOp is 2) and finishes start-up.
    void afficher();

    // Controls, by the indexes the program uses.
    QList<QComboBox*> Combo1;      // 0 optometrist, 1 point of service, 2-5 act codes
    QList<MaskEdBox*> MaskEdBox1;  // 0 NAM, 1 birth, 2 postal, 3 seq., 4 exp., 5 service, 6-9 diag.
    QList<QLineEdit*> Text1;       // 0 surname, 1 first name, 2 address, 3 city, 4 compl., 5 spec.
    QMap<int, QLabel*> Label1;     // 14 optometrist, 27 invoice amount, 28 invoices in memory
    QList<QLabel*> Label2;         // fees of act lines 1-4
    QList<QLabel*> Label3;         // the gauge's eleven scale labels
    QList<QRadioButton*> Option1;  // 0 Masculin, 1 Féminin
    QSlider* Slider1 = nullptr;
    QList<QLabel*> StatusBar1;     // panels 1-5 at 0-4
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QList<QAction*> SousFichier;  // 0-10, separators at 1, 3, 6, 9
    QList<QAction*> sousAide;     // 0 Aide, 1 A propos de...
    QLabel* Image1 = nullptr;
    QLabel* LabelVersion = nullptr;

    const Configuration& configuration() const { return configuration_; }

    static constexpr int LargeurFenetre = 880;
    static constexpr int HauteurCentre = 560;
    static constexpr int HauteurBandeFile = 40;  // the queue's buttons, hidden with the database
    static inline const QString NomEtVersion = QStringLiteral("Kestrova - version 5.8");

public slots:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Combo1_Click(int index);
    void Combo1_Change(int index);
    // False when the user cancelled what the box's work asked, or the box was refused.
    bool Combo1_LostFocus(int index);
    void MaskEdBox1_GotFocus(int index);
    void MaskEdBox1_Change(int index);
    bool MaskEdBox1_LostFocus(int index);
    void Toolbar1_ButtonClick(const QString& cle);
    void SousFichier_Click(int index);
    void sousAide_Click(int index);
    void Image1_Click();
    void ViderFormulaire();
    void AfficherCompteur(int nombre);
    // Once shown: when the last save is more than 7 days old, says so once a day with a button
    // to save now.
    void rappelerSauvegarde();

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;
    void changeEvent(QEvent* evenement) override;
    void closeEvent(QCloseEvent* evenement) override;

private:
    void construireControles();
    void construireMenusEtBarre();
    void remplirListes();
    void afficherOptometriste(int slot);
    void rafraichirCompteur();
    void afficherNombreFactures(int nombre);
    ChampsActe lireChampsActe() const;
    void ecrireChampsActe(const ChampsActe& champs);
    void focusSur(const Controle& c);
    void nouveau();
    void quitter();
    void ouvrirTelecommunication();
    void ouvrirSuivi();
    void ouvrirTendances();
    // Menu items of Fichier: the save of the clinic's data, and the restore of an archive (the
    // program loads its folder again when it was the one restored).
    void sauvegarderDonnees();
    void restaurerDonnees();
    // A patient's identity into the boxes; the examination date too when `dateExamen`.
    void ecrireIdentite(const PatientCourant::Chargement& c);
    // The queue's count on Command3, and Command3 and Command5 enabled when it holds anyone.
    void afficherFile(int nombre);
    // Menu item 4: the warning the first time, then the correction window.
    void historique();
    // A window of the archives over the program folder, then the count of invoices again.
    template <typename Fenetre>
    void ouvrirModale();
    Formulaire lireFormulaire() const;
    // The store, once the boxes' loss-of-focus work has run.
    void enregistrer();
    // Asks, once per invoice and values, whether to store a birth date or sex the NAM contradicts.
    bool naissanceConfirmee(const Formulaire& f);

    // FenetresDemarrage: the windows that start-up opens modally.
    bool motDePasse() override;
    void initialisation() override;
    // The main window from the saved stores: lists, optometrist, agency, FTP values.
    void rechargerConfiguration();
    void correctionConfiguration() override;

    QString programme_;
    PortDialogue& dialogues_;
    MagasinReglages& utilisateur_;
    Configuration configuration_;
    EtatDemarrage etat_;
    QWidget* centre_ = nullptr;  // the controls, in the window's scroll area
    QFrame* bandeFile_ = nullptr;
    QList<QWidget*> sousLaFile_;  // controls moved up when the queue buttons are hidden
    QAction* actionCorrection_ = nullptr;
    // The text box the menu bar took the focus from (Alt+D), with the selection it held: a line
    // edit drops its selection then, and the Édition commands need it.
    struct ChampDuMenu {
        QPointer<QLineEdit> champ;
        int debut = -1, longueur = 0;
    } champDuMenu_;
    void retrouverSelection(QLineEdit* champ);
    Redimensionnement* redimensionnement_ = nullptr;
    PatientCourant patient_;
    PatientCourant::Reglages reglagesPatient_;
    bool avertiHistorique_ = false;
    // The NAM's disagreement told for this invoice: told again only when the NAM, the birth date
    // or the sex changes.
    QString naissanceAvertie_;
    QString naissanceDuNam_;        // the birth date the NAM filled in, while the box shows it
    std::array<Deplacement, 4> deplacements_;  // the travel amounts given, by act line
    PertesDeFocus* pertes_ = nullptr;  // loss-of-focus work runs before every command
    FiltreSaisie* filtre_ = nullptr;
};
