#include "entry/Principal.h"

#include "entry/verifications.h"

#include "backup/frmSauvegarde.h"
#include "backup/sauvegarde.h"
#include "config/Initial.h"
#include "config/MotPasse.h"
#include "config/facturatlex.h"
#include "config/fichierconfiguration.h"
#include "config/configurationserveur.h"
#include "config/frmCorrigeCfg.h"
#include "config/parametres.h"
#include "entry/compteur.h"
#include "entry/saisie.h"
#include "platform/filtresaisie.h"
#include "platform/pertesdefocus.h"
#include "platform/redimensionnement.h"
#include "platform/MaskEdBox.h"
#include "platform/dialogues.h"
#include "platform/erreurs.h"
#include "platform/horloge.h"
#include "platform/reglages.h"
#include "platform/reprise.h"
#include "records/fichierfactures.h"
#include "rules/catalogue.h"
#include "rules/regles.h"
#include "entry/frmListeEnMem.h"
#include "returns/frmArchives.h"
#include "returns/frmHistorique.h"
#include "returns/frmSuiviFactures.h"
#include "statistics/frmStatistique.h"
#include "statistics/frmTendances.h"
#include "transmission/frmTelecommunication.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QToolBar>


Principal::Principal(QString programme, PortDialogue& dialogues, MagasinReglages& utilisateur,
                     QWidget* parent)
    : QMainWindow(parent),
      programme_(std::move(programme)),
      dialogues_(dialogues),
      utilisateur_(utilisateur) {
    setObjectName(QStringLiteral("Principal"));
    setWindowTitle(QStringLiteral("Saisie des factures RAMQ"));
    pertes_ = new PertesDeFocus(this);
    filtre_ = new FiltreSaisie(this, [this] { dialogues_.bip(); });
    construireControles();
    construireMenusEtBarre();
}

Principal::~Principal() = default;

// ---------------------------------------------------------------- start-up

void Principal::initialisation() {
    Initial fenetre(programme_, utilisateur_, dialogues_, parametres::lireParametresFtp(utilisateur_),
                    [this] { rechargerConfiguration(); }, this);
    fenetre.exec();
}

void Principal::rechargerConfiguration() {
    try {
        configuration_ = ChargerConfiguration(programme_);
        etat_.configurationChargee = true;
    } catch (const ErreurConfiguration& e) {
        dialogues_.message(Icone::Critique, QStringLiteral("Erreur en lecture"), e.texte());
    } catch (const ErreurFichier& e) {
        dialogues_.message(Icone::Critique, QStringLiteral("Erreur en lecture"), erreurs::texte(e));
    }
    remplirListes();
    try {
        etat_.agence = facturatlex::agence(programme_);
    } catch (const ErreurFichier&) {
        // the agency panel keeps what it showed; the next store refuses a wrong agency number
    }
    StatusBar1[2]->setText(etat_.agence);
    etat_.ftp = parametres::lireParametresFtp(utilisateur_);
}

void Principal::correctionConfiguration() {
    frmCorrigeCfg fenetre(programme_, dialogues_, this);
    fenetre.exec();
}

bool Principal::motDePasse() {
    MotPasse fenetre(programme_, dialogues_, this);
    return fenetre.exec() == QDialog::Accepted;
}

bool Principal::Form_Load() {
    etat_ = Demarrer(programme_, dialogues_, *this, utilisateur_);
    if (etat_.arreter)
        return false;
    configuration_ = etat_.configuration;

    afficherNombreFactures(etat_.nombreFactures);
    remplirListes();
    if (!etat_.configurationChargee)
        StatusBar1[3]->clear();
    StatusBar1[2]->setText(etat_.agence);
    MaskEdBox1[5]->setClipText(Horloge::aujourdhui().toString(QStringLiteral("yyyyMMdd")));
    MaskEdBox1[0]->vider();

    const parametres::Interrupteurs& i = etat_.interrupteurs;
    reglagesPatient_ = {i.UtiliseDossierPatient, parametres::conserverDateDeService(utilisateur_),
                        {i.ChangerDateRappel, i.RappelBES2an, i.RappelTOUS2an}};
    if (etat_.interrupteurs.UtiliseDossierPatient) {
        for (QPushButton* b : {Command2, Command3, Command4, Command5})
            b->setEnabled(false);
        bandeFile_->hide();
        for (QWidget* w : sousLaFile_)
            w->move(w->x(), w->y() - HauteurBandeFile);
        centre_->setMinimumHeight(HauteurCentre - HauteurBandeFile);
    }
    // The controls keep their proportions when the window is resized or maximised.
    if (!redimensionnement_)
        redimensionnement_ = new Redimensionnement(centre_, centre_->minimumSize());
    return true;
}

void Principal::afficher() {
    if (etat_.interrupteurs.WindowsStateOp == 2)
        showMaximized();
    else
        show();
    if (!reglagesPatient_.UtiliseDossierPatient)
        afficherFile(etat_.patientsEnFile);
    Command4->setEnabled(false);
    // With an optometrist and a point of service chosen, the clinic types the NAM at once.
    if (!Combo1[0]->currentText().isEmpty() && !Combo1[1]->currentText().isEmpty())
        MaskEdBox1[masque::Nam]->setFocus(Qt::OtherFocusReason);
}

void Principal::afficherFile(int nombre) {
    Command3->setText(QStringLiteral("&") + filepatients::legendeSuivante(nombre));  // Alt+P
    Command3->setEnabled(nombre > 0);
    Command5->setEnabled(nombre > 0);
}

void Principal::remplirListes() {
    for (QComboBox* c : Combo1)
        c->clear();
    Combo1[0]->addItems(configuration_.listeOptometristes());
    Combo1[1]->addItems(configuration_.listeEtablissements());
    const QStringList actes = configuration_.listeActes();
    for (int i = 2; i <= 5; ++i) {
        Combo1[i]->addItems(actes);
        Combo1[i]->setCurrentIndex(-1);
        Combo1[i]->setEditText(QString());
    }
    if (Combo1[1]->count() > 0) {
        Combo1[1]->setCurrentIndex(0);
        StatusBar1[3]->setText(Combo1[1]->itemText(0).right(5));
    }
    afficherOptometriste(configuration_.premierOptometriste());
}

void Principal::afficherOptometriste(int slot) {
    // No slot in use: nothing is shown, and the store refuses for want of a number.
    const Optometriste o = slot >= 0 ? configuration_.Optometristes[slot] : Optometriste{};
    Label1[14]->setText(o.nom);
    StatusBar1[0]->setText(o.nom);
    StatusBar1[1]->setText(o.professionnel);
    StatusBar1[4]->setText(o.groupe);
    Combo1[0]->setCurrentIndex(Combo1[0]->findText(o.nom));
}

// ---------------------------------------------------------------- gauge and count

void Principal::AfficherCompteur(int nombre) {
    const EchelleCompteur e = echelleCompteur(nombre);
    // Only what changed is set: a new font or style sheet restyles and lays out the label again,
    // and this runs after every invoice stored.
    for (int i = 0; i <= 10; ++i) {
        QLabel* l = Label3[i];
        const QString texte = QString::number(i * e.pas);
        if (l->text() != texte)
            l->setText(texte);
        const bool rouge = i == e.rouge;
        if (l->font().bold() != rouge) {
            QFont f = l->font();
            f.setBold(rouge);
            l->setFont(f);
        }
        const QString style = rouge ? QStringLiteral("color: red;") : QStringLiteral("color: black;");
        if (l->styleSheet() != style)
            l->setStyleSheet(style);
    }
    Slider1->setRange(0, e.maximum);
    Slider1->setTickInterval(e.pas);
    Slider1->setValue(nombre);
}

void Principal::afficherNombreFactures(int nombre) {
    const bool factures = nombre >= 1;
    SousFichier[4]->setEnabled(factures);
    actionCorrection_->setEnabled(factures);
    Label1[28]->setText(factures ? QStringLiteral(" %1 ").arg(nombre) : QString());
    AfficherCompteur(nombre);
}

void Principal::rafraichirCompteur() {
    int nombre = 0;
    if (executerAvecReprise(dialogues_, QStringLiteral("Erreur en lecture"),
                            [&] { nombre = fichierfactures::nombre(programme_); }))
        afficherNombreFactures(nombre);
}

// ---------------------------------------------------------------- events

namespace {
// The line edit of a text box, a masked box or an editable combo box.
QLineEdit* champDe(QObject* objet) {
    if (auto* c = qobject_cast<QComboBox*>(objet))
        return c->lineEdit();
    return qobject_cast<QLineEdit*>(objet);
}
}  // namespace

void Principal::retrouverSelection(QLineEdit* champ) {
    if (champ && champ == champDuMenu_.champ && !champ->hasSelectedText() && champDuMenu_.debut >= 0)
        champ->setSelection(champDuMenu_.debut, champDuMenu_.longueur);
    champDuMenu_ = {};
}

bool Principal::eventFilter(QObject* objet, QEvent* e) {
    if (objet == Image1 && e->type() == QEvent::MouseButtonRelease) {
        Image1_Click();
        return true;
    }
    if ((e->type() == QEvent::FocusOut || e->type() == QEvent::FocusIn) &&
        static_cast<QFocusEvent*>(e)->reason() == Qt::MenuBarFocusReason)
        if (QLineEdit* champ = champDe(objet)) {
            if (e->type() == QEvent::FocusOut)
                champDuMenu_ = {champ, champ->selectionStart(), static_cast<int>(champ->selectedText().size())};
            else
                retrouverSelection(champ);  // the menu closed without a command
        }
    if (e->type() == QEvent::FocusIn)
        if (const int m = MaskEdBox1.indexOf(qobject_cast<MaskEdBox*>(objet)); m >= 0)
            MaskEdBox1_GotFocus(m);
    return QMainWindow::eventFilter(objet, e);
}

void Principal::Combo1_Click(int index) {
    if (index == 0) {
        for (int slot = 0; slot < Configuration::NombreOptometristes; ++slot)
            if (configuration_.Optometristes[slot].enUsage() &&
                configuration_.Optometristes[slot].nom == Combo1[0]->currentText()) {
                afficherOptometriste(slot);
                break;
            }
    } else if (index == 1) {
        StatusBar1[3]->setText(Combo1[1]->currentText().right(5));
    }
}

void Principal::Combo1_Change(int index) {
    if (index < 2 || !saisie::acteComplet(Combo1[index]->currentText(), configuration_))
        return;
    if (index < 5)
        Combo1[index + 1]->setFocus(Qt::TabFocusReason);
    else
        Text1[texte::Renseignements]->setFocus(Qt::TabFocusReason);
}

ChampsActe Principal::lireChampsActe() const {
    ChampsActe c;
    for (int i = 0; i < 4; ++i) {
        c.actes[i] = Combo1[2 + i]->currentText();
        c.honoraires[i] = Label2[i]->text();
        c.diagnostics[i] = MaskEdBox1[6 + i]->clipText();
    }
    c.renseignements = Text1[4]->text();
    c.considerations = Text1[5]->text();
    c.dateService = MaskEdBox1[5]->clipText();
    c.nam = MaskEdBox1[0]->clipText();
    c.dernier09001 = patient_.dernier09001();
    c.montant = Label1[27]->text();
    c.deplacements = deplacements_;
    return c;
}

void Principal::ecrireChampsActe(const ChampsActe& c) {
    for (int i = 0; i < 4; ++i) {
        if (Combo1[2 + i]->currentText() != c.actes[i])
            Combo1[2 + i]->setEditText(c.actes[i]);
        Label2[i]->setText(c.honoraires[i]);
        if (MaskEdBox1[6 + i]->clipText() != c.diagnostics[i])
            MaskEdBox1[6 + i]->setClipText(c.diagnostics[i]);
    }
    Text1[4]->setText(c.renseignements);
    Label1[27]->setText(c.montant);
    deplacements_ = c.deplacements;
}

bool Principal::Combo1_LostFocus(int index) {
    ChampsActe champs = lireChampsActe();
    VerifierActe(index, champs, configuration_, dialogues_, Horloge::aujourdhui());
    ecrireChampsActe(champs);
    return !champs.saisieAnnulee;  // a travel amount cancelled: a store asked meanwhile waits
}

void Principal::MaskEdBox1_GotFocus(int index) {
    MaskEdBox* b = MaskEdBox1[index];
    const QString contenu = b->clipText();
    if (contenu.isEmpty())
        QTimer::singleShot(0, b, [b] { b->setCursorPosition(0); });
    rafraichirCompteur();
}

void Principal::MaskEdBox1_Change(int index) {
    if (index == masque::Nam)
        patient_.oublierDossier();
    if (index >= 6 && index <= 8 && MaskEdBox1[index]->clipText().size() > 3)
        MaskEdBox1[index + 1]->setFocus(Qt::TabFocusReason);
}

bool Principal::MaskEdBox1_LostFocus(int index) {
    const bool versActe = parametres::oui(utilisateur_, parametres::FocusCodeActe);
    saisie::IssueNam issue;
    if (index == masque::Nam) {
        // A birth date the NAM filled in and left as it was counts as none typed: a NAM corrected
        // fills in its own.
        const QString naissance = MaskEdBox1[masque::Naissance]->clipText();
        issue = saisie::apresNam(patient_, programme_,
                                 {MaskEdBox1[0]->clipText(), naissance == naissanceDuNam_ ? QString() : naissance,
                                  Text1[0]->text()},
                                 configuration_, reglagesPatient_, versActe, Horloge::aujourdhui(), dialogues_);
        ecrireIdentite(issue.chargement);
        if (issue.chargement.deLaFile)
            Command4->setEnabled(true);
        if (const auto& n = issue.naissanceDuNam) {
            MaskEdBox1[masque::Naissance]->setClipText(n->naissance);
            Option1[n->masculin ? 0 : 1]->setChecked(true);
            naissanceDuNam_ = MaskEdBox1[masque::Naissance]->clipText();
        }
        saisie::annoncer(issue, dialogues_);
    } else if (versActe) {
        issue.focus = saisie::Focus::PremierActe;
    }
    switch (issue.focus) {
    case saisie::Focus::Nam: MaskEdBox1[masque::Nam]->setFocus(Qt::OtherFocusReason); break;
    case saisie::Focus::PremierDiagnostic: MaskEdBox1[masque::PremierDiagnostic]->setFocus(Qt::OtherFocusReason); break;
    case saisie::Focus::PremierActe: Combo1[2]->setFocus(Qt::OtherFocusReason); break;
    case saisie::Focus::Inchange: break;
    }
    return !issue.refus;  // a NAM refused here: a store asked meanwhile is not run
}

// ---------------------------------------------------------------- store

Formulaire Principal::lireFormulaire() const {
    Formulaire f;
    for (int i = 0; i < 10; ++i)
        f.masques[i] = MaskEdBox1[i]->clipText();
    for (int i = 0; i < 6; ++i)
        f.textes[i] = Text1[i]->text();
    f.masculin = Option1[0]->isChecked();
    for (int i = 0; i < 4; ++i) {
        f.actes[i] = Combo1[2 + i]->currentText();
        f.honoraires[i] = Label2[i]->text();
    }
    for (int i = 0; i < 5; ++i)
        f.panneaux[i] = StatusBar1[i]->text();
    return f;
}

void Principal::focusSur(const Controle& c) {
    switch (c.genre) {
    case Controle::Genre::Masque: MaskEdBox1[c.index]->setFocus(Qt::OtherFocusReason); break;
    case Controle::Genre::Texte: Text1[c.index]->setFocus(Qt::OtherFocusReason); break;
    case Controle::Genre::Acte: Combo1[c.index]->setFocus(Qt::OtherFocusReason); break;
    }
}

void Principal::Command1_Click() {
    // The box that has the focus finishes its work first, whichever way the command came.
    pertes_->commande([this] { enregistrer(); });
}

void Principal::enregistrer() {
    const Formulaire f = lireFormulaire();
    std::optional<Refus> refus;
    {
        Sablier sablier(dialogues_);
        refus = VerifierFormulaire(f, configuration_, Horloge::aujourdhui());
    }
    if (refus) {
        dialogues_.message(Icone::Critique, refus->titre, refus->texte);
        focusSur(refus->controle);
        return;
    }
    if (!naissanceConfirmee(f))
        return;

    PatientCourant::Enregistrement e;
    {
        Sablier sablier(dialogues_);
        e = patient_.enregistrer(programme_, f.valeurs(), reglagesPatient_,
                                 parametres::oui(utilisateur_, parametres::AfficheConserveInfo), dialogues_);
    }
    if (e.resultat.code != 0) {
        ChampsActe champs = lireChampsActe();
        AfficherMessage(e.resultat.code, 0, champs, dialogues_);
        return;
    }
    if (!e.resultat.enregistree())
        return;  // nothing stored: the invoice stays on screen
    afficherNombreFactures(e.resultat.numero);
    ViderFormulaire();
    if (!e.resteEnFile) {
        MaskEdBox1[0]->setFocus(Qt::OtherFocusReason);
        return;
    }
    afficherFile(*e.resteEnFile);
    Command4->setEnabled(false);
    Command3->setFocus(Qt::OtherFocusReason);
}

bool Principal::naissanceConfirmee(const Formulaire& f) {
    const auto desaccord = DesaccordAvecLeNam(f.masques[masque::Nam], f.masques[masque::Naissance], f.masculin,
                                              configuration_, Horloge::aujourdhui());
    if (!desaccord || desaccord->texte == naissanceAvertie_)
        return true;
    naissanceAvertie_ = desaccord->texte;
    if (dialogues_.question(Icone::Exclamation, desaccord->titre, desaccord->texte, Boutons::OuiNon, 1) == Reponse::Oui)
        return true;
    MaskEdBox1[masque::Naissance]->setFocus(Qt::OtherFocusReason);
    return false;
}

void Principal::ViderFormulaire() {
    naissanceAvertie_.clear();
    naissanceDuNam_.clear();
    for (int i : {0, 1, 2, 3, 4, 6, 7, 8, 9})
        MaskEdBox1[i]->vider();
    for (QLineEdit* t : Text1)
        t->clear();
    for (int i = 2; i <= 5; ++i) {
        Combo1[i]->setCurrentIndex(-1);
        Combo1[i]->setEditText(QString());
    }
    for (QLabel* l : Label2)
        l->clear();
    deplacements_ = {};
    Label1[27]->clear();
    Command3->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------- menus and toolbar

void Principal::nouveau() {
    ViderFormulaire();
    patient_.oublier();
    Command4->setEnabled(false);
}

void Principal::ecrireIdentite(const PatientCourant::Chargement& c) {
    if (!c.identite)
        return;
    const Identite& i = *c.identite;
    naissanceDuNam_.clear();
    MaskEdBox1[masque::Nam]->setClipText(i.nam);
    Text1[texte::Nom]->setText(i.nom);
    Text1[texte::Prenom]->setText(i.prenom);
    MaskEdBox1[masque::Naissance]->setClipText(i.naissance);
    Option1[i.masculin ? 0 : 1]->setChecked(true);
    Text1[texte::Adresse]->setText(i.adresse);
    Text1[texte::Ville]->setText(i.ville);
    MaskEdBox1[masque::CodePostal]->setClipText(i.codePostal);
    MaskEdBox1[masque::SequenceCarte]->setClipText(i.sequenceCarte);
    MaskEdBox1[masque::ExpirationCarte]->setClipText(i.expirationCarte);
    if (c.dateExamen && !i.examen.isEmpty())
        MaskEdBox1[masque::DateService]->setClipText(i.examen);
}

void Principal::Command2_Click() {
    filepatients::importer(programme_, dialogues_);
    int n = 0;
    executerAvecReprise(dialogues_, QStringLiteral("Erreur en lecture"), [&] { n = filepatients::nombre(programme_); });
    afficherFile(n);
}

void Principal::Command3_Click() {
    std::optional<filepatients::EnFile> premier;
    executerAvecReprise(dialogues_, QStringLiteral("Erreur en lecture"),
                        [&] { premier = filepatients::lire(programme_, 1); });
    if (!premier)
        return;
    ecrireIdentite(patient_.depuisFile(*premier, !reglagesPatient_.PavoConserveDate));
    Command4->setEnabled(true);
    MaskEdBox1[masque::PremierDiagnostic]->setFocus(Qt::OtherFocusReason);
}

void Principal::Command4_Click() {
    int reste = 0;
    executerAvecReprise(dialogues_, QStringLiteral("File d'attente"),
                        [&] { reste = filepatients::retirerNam(programme_, MaskEdBox1[masque::Nam]->clipText()); });
    nouveau();
    afficherFile(reste);
    Command3->setFocus(Qt::OtherFocusReason);
}

void Principal::Command5_Click() {
    frmListeEnMem liste(programme_, dialogues_, this);
    connect(&liste, &frmListeEnMem::patientChoisi, this, [this](const filepatients::EnFile& p) {
        ecrireIdentite(patient_.depuisFile(p, true));
        Command4->setEnabled(true);
    });
    connect(&liste, &frmListeEnMem::fileChangee, this, [this](int n) {
        afficherFile(n);
        if (n == 0) {
            nouveau();
        }
    });
    liste.exec();
}

void Principal::quitter() { close(); }

void Principal::SousFichier_Click(int index) {
    switch (index) {
    case 0: nouveau(); break;
    case 7:
        dialogues_.message(Icone::Information, QStringLiteral("Communication Web"),
                           QStringLiteral("Pour placer vos fichiers de configuration sur le "
                                          "serveur, veuillez communiquer avec le support "
                                          "informatique de Kestrova.\n\nCourriel : ") +
                               parametres::AdresseSoutien);
        break;
    case 2: initialisation(); break;
    case 4: historique(); break;
    case 5:
        construireSousSablier<frmStatistique>(dialogues_, programme_, configuration_, StatusBar1[2]->text(),
                                              StatusBar1[3]->text(), utilisateur_, dialogues_, this)
            ->exec();
        break;
    case 8:
        if (PrendreConfigurationSurServeur(programme_, etat_.ftp, dialogues_))
            QTimer::singleShot(0, this, &Principal::quitter);  // the next start reads the new files
        break;
    case 10: quitter(); break;
    default: break;  // the windows of the other items come with their own work
    }
}

void Principal::sousAide_Click(int index) {
    if (index == 1)
        dialogues_.message(Icone::Information, QStringLiteral("A propos de..."),
                           NomEtVersion + QStringLiteral("\n\nFacturation à la RAMQ pour les "
                                                         "cliniques d'optométrie."));
}

void Principal::Image1_Click() {
    dialogues_.message(Icone::Information, QStringLiteral("Information"),
                       NomEtVersion + QStringLiteral("\n\nSupport informatique : ") +
                           parametres::AdresseSoutien);
}

void Principal::Toolbar1_ButtonClick(const QString& cle) {
    // The text box that has the focus, that of an act box included; from the menu by the keyboard,
    // the box the menu bar took the focus from, with its selection.
    QLineEdit* champ = champDe(QApplication::focusWidget());
    if (!champ)
        champ = champDuMenu_.champ;
    retrouverSelection(champ);
    if (cle == QLatin1String("Nouveau"))
        SousFichier_Click(0);
    else if (cle == QLatin1String("Quitter"))
        SousFichier_Click(10);
    else if (cle == QLatin1String("Correction"))
        SousFichier_Click(4);
    else if (cle == QLatin1String("Statistiques"))
        SousFichier_Click(5);
    else if (cle == QStringLiteral("Télécomm"))
        ouvrirTelecommunication();
    else if (cle == QLatin1String("Archives"))
        ouvrirModale<frmArchives>();
    else if (champ && cle == QLatin1String("Couper"))
        champ->cut();
    else if (champ && cle == QLatin1String("Copier"))
        champ->copy();
    else if (champ && cle == QLatin1String("Coller"))
        champ->paste();
}

void Principal::historique() {
    if (!avertiHistorique_) {
        avertiHistorique_ = true;
        dialogues_.message(Icone::Aucune, QStringLiteral("Information"), historique::Avertissement);
    }
    construireSousSablier<frmHistorique>(dialogues_, programme_, configuration_, dialogues_, this)->exec();
    rafraichirCompteur();
}

template <typename Fenetre>
void Principal::ouvrirModale() {
    construireSousSablier<Fenetre>(dialogues_, programme_, dialogues_, this)->exec();
    rafraichirCompteur();  // invoices corrected, cancelled or put back in memory
}

void Principal::ouvrirSuivi() {
    construireSousSablier<frmSuiviFactures>(dialogues_, programme_, configuration_, dialogues_, this)->exec();
    rafraichirCompteur();  // invoices billed again are in memory
}

void Principal::ouvrirTendances() {
    construireSousSablier<frmTendances>(dialogues_, programme_, configuration_, dialogues_, this)->exec();
}

void Principal::sauvegarderDonnees() {
    construireSousSablier<frmSauvegarde>(dialogues_, programme_, utilisateur_, dialogues_, false, this)->exec();
}

void Principal::restaurerDonnees() {
    const auto fenetre =
        construireSousSablier<frmSauvegarde>(dialogues_, programme_, utilisateur_, dialogues_, true, this);
    fenetre->exec();
    if (QDir(fenetre->dossierRestaure()) == QDir(programme_))
        Form_Load();
}

void Principal::rappelerSauvegarde() {
    if (sauvegarde::proposerSauvegarde(utilisateur_, dialogues_, Horloge::aujourdhui()))
        sauvegarderDonnees();
}

void Principal::ouvrirTelecommunication() {
    const auto fenetre = construireSousSablier<frmTelecommunication>(
        dialogues_, programme_, StatusBar1[2]->text(), configuration_, utilisateur_, dialogues_, this);
    // The invoices left Ftmp.Fil (those another workstation stored meanwhile stay): counted again.
    connect(fenetre.get(), &frmTelecommunication::facturesPreparees, this, [this] { rafraichirCompteur(); });
    fenetre->exec();
    rafraichirCompteur();
}

void Principal::changeEvent(QEvent* e) {
    // Back to this window: another workstation or the command line may have stored or prepared
    // meanwhile. A count that cannot be read keeps what it showed here; the next box that reads
    // it tells why (a message at each activation would never let the window be used).
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        try {
            afficherNombreFactures(fichierfactures::nombre(programme_));
        } catch (const ErreurFichier&) {
        }
    QMainWindow::changeEvent(e);
}

void Principal::closeEvent(QCloseEvent* evenement) {
    if (isMaximized())
        utilisateur_.ecrire(parametres::WindowsStateOp, QStringLiteral("2"));
    else if (!isMinimized())
        utilisateur_.ecrire(parametres::WindowsStateOp, QStringLiteral("0"));
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->close();
    evenement->accept();
}
