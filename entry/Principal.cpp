#include "entry/Principal.h"

#include "config/Initial.h"
#include "config/MotPasse.h"
#include "config/facturatlex.h"
#include "config/fichierconfiguration.h"
#include "config/configurationserveur.h"
#include "config/frmCorrigeCfg.h"
#include "config/parametres.h"
#include "entry/compteur.h"
#include "platform/barreoutils.h"
#include "platform/filtresaisie.h"
#include "platform/pertesdefocus.h"
#include "platform/redimensionnement.h"
#include "entry/verifications.h"
#include "platform/MaskEdBox.h"
#include "platform/dialogues.h"
#include "platform/erreurs.h"
#include "platform/horloge.h"
#include "platform/reglages.h"
#include "platform/reprise.h"
#include "records/encodage.h"
#include "records/fichierfactures.h"
#include "rules/catalogue.h"
#include "rules/regles.h"
#include "entry/frmListeEnMem.h"
#include "returns/frmArchives.h"
#include "returns/frmHistorique.h"
#include "statistics/frmStatistique.h"
#include "transmission/frmTelecommunication.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

namespace {

constexpr int LargeurFenetre = 880;
constexpr int HauteurCentre = 560;
constexpr int HauteurBandeFile = 40;

const QString TitreFenetre = QStringLiteral("Saisie des factures RAMQ");
const QString NomEtVersion = QStringLiteral("Kestrova - version 5.8");

QString nomIndexe(const char* nom, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(nom)).arg(index);
}

QPixmap logo() {
    QPixmap p(64, 64);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setBrush(QColor(0x1f, 0x5f, 0x9f));
    g.setPen(Qt::NoPen);
    g.drawEllipse(2, 2, 60, 60);
    g.setPen(Qt::white);
    QFont f(QStringLiteral("Liberation Sans"), 30, QFont::Bold);
    g.setFont(f);
    g.drawText(p.rect(), Qt::AlignCenter, QStringLiteral("K"));
    return p;
}

}  // namespace

Principal::Principal(QString programme, PortDialogue& dialogues, MagasinReglages& utilisateur,
                     QWidget* parent)
    : QMainWindow(parent),
      programme_(std::move(programme)),
      dialogues_(dialogues),
      utilisateur_(utilisateur) {
    setObjectName(QStringLiteral("Principal"));
    setWindowTitle(TitreFenetre);
    pertes_ = new PertesDeFocus(this);
    filtre_ = new FiltreSaisie(this, [this] { dialogues_.bip(); });
    construireControles();
    construireMenusEtBarre();
}

Principal::~Principal() = default;

// ---------------------------------------------------------------- controls

void Principal::construireControles() {
    auto* centre = new QWidget(this);
    centre->setObjectName(QStringLiteral("centre"));
    setCentralWidget(centre);
    centre->setMinimumSize(LargeurFenetre, HauteurCentre);

    int indexLibelle = 0;  // Label1 indexes not used by the program hold the captions
    auto libelle = [&](QWidget* parent, const QString& texte, int x, int y, int w = 0) {
        while (indexLibelle == 14 || indexLibelle == 27 || indexLibelle == 28)
            ++indexLibelle;
        auto* l = new QLabel(texte, parent);
        l->setObjectName(nomIndexe("Label1", indexLibelle));
        Label1.insert(indexLibelle++, l);
        l->move(x, y + 3);
        if (w > 0)
            l->setFixedWidth(w);
        return l;
    };
    auto cadre = [&](const QString& titre, int x, int y, int w, int h) {
        auto* g = new QGroupBox(titre, centre);
        g->setGeometry(x, y, w, h);
        return g;
    };
    auto masque = [&](QWidget* parent, int index, const QString& m, int x, int y, int w) {
        auto* b = new MaskEdBox(m, parent);
        b->setObjectName(nomIndexe("MaskEdBox1", index));
        b->setGeometry(x, y, w, 24);
        MaskEdBox1[index] = b;
        b->installEventFilter(this);
        filtre_->installer(b);
        pertes_->surveiller(b, [this, index] { MaskEdBox1_LostFocus(index); });
        connect(b, &QLineEdit::textEdited, this, [this, index] { MaskEdBox1_Change(index); });
        connect(b, &MaskEdBox::caractereRefuse, this, [this] { dialogues_.bip(); });
        return b;
    };
    auto texte = [&](QWidget* parent, int index, int x, int y, int w, int limite) {
        auto* t = new QLineEdit(parent);
        t->setObjectName(nomIndexe("Text1", index));
        t->setGeometry(x, y, w, 24);
        t->setMaxLength(limite);
        Text1[index] = t;
        filtre_->installer(t);
        return t;
    };
    auto valeur = [&](QWidget* parent, int index, int x, int y, int w) {
        auto* l = new QLabel(parent);
        l->setObjectName(nomIndexe("Label1", index));
        l->setGeometry(x, y, w, 24);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        Label1.insert(index, l);
        return l;
    };

    for (int i = 0; i < 10; ++i)
        MaskEdBox1 << nullptr;
    for (int i = 0; i < 6; ++i)
        Text1 << nullptr;

    // Header: the optometrist shown, the program's name, the picture.
    libelle(centre, QStringLiteral("Optométriste:"), 12, 10);
    auto* nom = new QLabel(centre);
    nom->setObjectName(nomIndexe("Label1", 14));
    nom->setGeometry(110, 8, 420, 26);
    QFont grand = nom->font();
    grand.setPointSize(grand.pointSize() + 4);
    grand.setBold(true);
    nom->setFont(grand);
    nom->setStyleSheet(QStringLiteral("color: #1f4f8f;"));
    Label1.insert(14, nom);
    LabelVersion = new QLabel(NomEtVersion, centre);
    LabelVersion->setObjectName(QStringLiteral("LabelVersion"));
    LabelVersion->setGeometry(560, 12, 230, 20);
    LabelVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Image1 = new QLabel(centre);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(logo());
    Image1->setGeometry(802, 4, 64, 64);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);

    // Optometrist, point of service, date of service.
    for (int i = 0; i < 6; ++i) {
        auto* c = new QComboBox(centre);
        c->setObjectName(nomIndexe("Combo1", i));
        Combo1 << c;
        connect(c, &QComboBox::activated, this, [this, i] { Combo1_Click(i); });
    }
    libelle(centre, QStringLiteral("Choix:"), 12, 44);
    Combo1[0]->setGeometry(110, 44, 260, 24);
    libelle(centre, QStringLiteral("Point de service:"), 390, 44);
    Combo1[1]->setGeometry(500, 44, 290, 24);
    libelle(centre, QStringLiteral("Date de service:"), 12, 76);
    masque(centre, 5, QStringLiteral("####/##/##"), 110, 76, 100);

    // The queue of imported patients.
    bandeFile_ = new QFrame(centre);
    bandeFile_->setObjectName(QStringLiteral("bandeFile"));
    bandeFile_->setGeometry(0, 106, LargeurFenetre, HauteurBandeFile);
    auto bouton = [&](QWidget* parent, const char* nomObjet, const QString& legende, int x, int y,
                      int w, int h) {
        auto* b = new QPushButton(legende, parent);
        b->setObjectName(QLatin1String(nomObjet));
        b->setGeometry(x, y, w, h);
        return b;
    };
    Command2 = bouton(bandeFile_, "Command2", QStringLiteral("Vérifier s'il y a des noms à importer"),
                      12, 6, 260, 28);
    Command3 = bouton(bandeFile_, "Command3", QStringLiteral("Préparer la facture suivante... ( 0 )"),
                      282, 6, 260, 28);
    Command4 = bouton(bandeFile_, "Command4", QStringLiteral("Annuler ce NOM"), 552, 6, 150, 28);
    Command5 = bouton(bandeFile_, "Command5", QStringLiteral("Liste"), 712, 6, 90, 28);
    Command5->setToolTip(QStringLiteral("Afficher la liste des noms en mémoire"));

    // The patient.
    const int yPatient = 146;
    QGroupBox* patient = cadre(QStringLiteral("Patient"), 8, yPatient, 864, 124);
    libelle(patient, QStringLiteral("NAM:"), 10, 24);
    masque(patient, 0, QStringLiteral("&&&&########"), 80, 24, 130);
    libelle(patient, QStringLiteral("Nom:"), 226, 24);
    texte(patient, 0, 270, 24, 250, 30);
    libelle(patient, QStringLiteral("Prénom:"), 536, 24);
    texte(patient, 1, 596, 24, 256, 20);
    libelle(patient, QStringLiteral("Naissance:"), 10, 56);
    masque(patient, 1, QStringLiteral("####/##/##"), 80, 56, 100);
    for (int i = 0; i < 2; ++i) {
        auto* o = new QRadioButton(i == 0 ? QStringLiteral("Masculin") : QStringLiteral("Féminin"),
                                   patient);
        o->setObjectName(nomIndexe("Option1", i));
        o->setGeometry(200 + 100 * i, 56, 95, 24);
        Option1 << o;
    }
    Option1[0]->setChecked(true);
    libelle(patient, QStringLiteral("Séq. carte:"), 536, 56);
    masque(patient, 3, QStringLiteral("##"), 610, 56, 40);
    libelle(patient, QStringLiteral("Exp. carte"), 680, 56);
    masque(patient, 4, QStringLiteral("####"), 752, 56, 60);
    libelle(patient, QStringLiteral("Adresse:"), 10, 88);
    texte(patient, 2, 80, 88, 300, 30);
    libelle(patient, QStringLiteral("Ville:"), 396, 88);
    texte(patient, 3, 440, 88, 200, 30);
    libelle(patient, QStringLiteral("Code postal:"), 656, 88);
    masque(patient, 2, QStringLiteral("?#? #?#"), 752, 88, 80);

    // Diagnostics and acts, paired by line.
    const int yLignes = 278;
    QGroupBox* diagnostics = cadre(QStringLiteral("Diagnostiques"), 8, yLignes, 150, 160);
    QGroupBox* actes = cadre(QStringLiteral("Actes"), 166, yLignes, 250, 160);
    for (int ligne = 0; ligne < 4; ++ligne) {
        const int y = 26 + 32 * ligne;
        libelle(diagnostics, QStringLiteral("%1.").arg(ligne + 1), 12, y);
        masque(diagnostics, 6 + ligne, QStringLiteral("&####"), 34, y, 90);
        QComboBox* c = Combo1[2 + ligne];
        c->setParent(actes);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setCompleter(nullptr);
        c->lineEdit()->setMaxLength(5);
        c->setGeometry(12, y, 110, 24);
        connect(c->lineEdit(), &QLineEdit::textEdited, this,
                [this, ligne] { Combo1_Change(2 + ligne); });
        auto* h = new QLabel(actes);
        h->setObjectName(nomIndexe("Label2", ligne));
        h->setGeometry(136, y, 100, 24);
        h->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        h->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Label2 << h;
    }
    QGroupBox* complementaires =
        cadre(QStringLiteral("Renseignements complémentaires"), 424, yLignes, 448, 86);
    texte(complementaires, 4, 12, 30, 424, 200);
    QGroupBox* utiles = cadre(QStringLiteral("Renseignements utiles"), 424, yLignes + 92, 448, 68);
    libelle(utiles, QStringLiteral("Considérations spéciales:"), 12, 28);
    texte(utiles, 5, 180, 28, 70, 5);

    // Amount, count, gauge and the store button.
    const int yBas = 448;
    libelle(centre, QStringLiteral("Montant de la facture en cours:"), 12, yBas);
    valeur(centre, 27, 220, yBas, 100);
    libelle(centre, QStringLiteral("Nombre de factures en mémoire:"), 340, yBas);
    valeur(centre, 28, 548, yBas, 70);
    Slider1 = new QSlider(Qt::Horizontal, centre);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setGeometry(12, yBas + 36, 606, 24);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Slider1->setFocusPolicy(Qt::NoFocus);
    for (int i = 0; i <= 10; ++i) {
        auto* l = new QLabel(centre);
        l->setObjectName(nomIndexe("Label3", i));
        l->setGeometry(12 + 4 + i * 58 - 14, yBas + 62, 40, 18);
        l->setAlignment(Qt::AlignCenter);
        Label3 << l;
    }
    Command1 = bouton(centre, "Command1", QStringLiteral("&Enregistrer"), 660, yBas, 212, 64);
    QFont gras = Command1->font();
    gras.setPointSize(gras.pointSize() + 3);
    gras.setBold(true);
    Command1->setFont(gras);
    connect(Command1, &QPushButton::clicked, this, &Principal::Command1_Click);
    // A command never runs in the middle of a box's work (a box it opened is on screen).
    connect(Command2, &QPushButton::clicked, this, [this] { pertes_->quandLibre([this] { Command2_Click(); }); });
    connect(Command3, &QPushButton::clicked, this, [this] { pertes_->quandLibre([this] { Command3_Click(); }); });
    connect(Command4, &QPushButton::clicked, this, [this] { pertes_->quandLibre([this] { Command4_Click(); }); });
    connect(Command5, &QPushButton::clicked, this, [this] { pertes_->quandLibre([this] { Command5_Click(); }); });
    for (int i = 0; i < 6; ++i)
        pertes_->surveiller(Combo1[i], [this, i] { Combo1_LostFocus(i); });

    sousLaFile_ = {patient, diagnostics, actes, complementaires, utiles};
    for (QLabel* l : Label1)
        if (l->parent() == centre && l->y() >= yBas)
            sousLaFile_ << l;
    sousLaFile_ << Slider1 << Command1;
    for (QLabel* l : Label3)
        sousLaFile_ << l;

    // Keyboard order follows the form.
    const QList<QWidget*> ordre = {Combo1[0], Combo1[1], MaskEdBox1[5], Command2, Command3,
                                   Command4, Command5, MaskEdBox1[0], Text1[0], Text1[1],
                                   MaskEdBox1[1], Option1[0], Option1[1], MaskEdBox1[3],
                                   MaskEdBox1[4], Text1[2], Text1[3], MaskEdBox1[2],
                                   MaskEdBox1[6], MaskEdBox1[7], MaskEdBox1[8], MaskEdBox1[9],
                                   Combo1[2], Combo1[3], Combo1[4], Combo1[5], Text1[4], Text1[5],
                                   Command1};
    for (int i = 1; i < ordre.size(); ++i)
        setTabOrder(ordre[i - 1], ordre[i]);

    // Status bar: name, professional number, agency, establishment, group.
    const int largeurs[] = {300, 90, 80, 90, 80};
    const char* bulles[] = {"Optométriste", "Numéro de professionnel", "Numéro d'agence",
                            "Numéro d'établissement", "Numéro de groupe"};
    for (int i = 0; i < 5; ++i) {
        auto* p = new QLabel(statusBar());
        p->setObjectName(QStringLiteral("StatusBar1_Panel%1").arg(i + 1));
        p->setMinimumWidth(largeurs[i]);
        p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        p->setToolTip(QString::fromUtf8(bulles[i]));
        statusBar()->addWidget(p, i == 0 ? 1 : 0);
        StatusBar1 << p;
    }
}

void Principal::construireMenusEtBarre() {
    QMenu* fichier = menuBar()->addMenu(QStringLiteral("&Fichier"));
    const QStringList items = {QStringLiteral("Nouveau"),
                               QString(),
                               QStringLiteral("Initialisation"),
                               QString(),
                               QStringLiteral("Historique / Correction"),
                               QStringLiteral("Statistiques"),
                               QString(),
                               QStringLiteral("Placer les fichiers de configuration sur le serveur"),
                               QStringLiteral("Prendre les fichiers de configuration sur le serveur"),
                               QString(),
                               QStringLiteral("Quitter")};
    for (int i = 0; i < items.size(); ++i) {
        QAction* a = items[i].isEmpty() ? fichier->addSeparator() : fichier->addAction(items[i]);
        a->setObjectName(nomIndexe("SousFichier", i));
        if (!items[i].isEmpty())
            connect(a, &QAction::triggered, this, [this, i] { pertes_->quandLibre([this, i] { SousFichier_Click(i); }); });
        SousFichier << a;
    }
    QMenu* aide = menuBar()->addMenu(QStringLiteral("&Aide"));
    const QStringList itemsAide = {QStringLiteral("Aide"), QStringLiteral("A propos de...")};
    for (int i = 0; i < itemsAide.size(); ++i) {
        QAction* a = aide->addAction(itemsAide[i]);
        a->setObjectName(nomIndexe("sousAide", i));
        connect(a, &QAction::triggered, this, [this, i] { sousAide_Click(i); });
        sousAide << a;
    }

    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setIconSize(QSize(24, 24));
    const BoutonBarre boutons[] = {
        {"Nouveau", "Nouveau", QStyle::SP_FileIcon},
        {"Couper", "Couper", QStyle::SP_DialogDiscardButton},
        {"Copier", "Copier", QStyle::SP_FileDialogNewFolder},
        {"Coller", "Coller", QStyle::SP_DialogApplyButton},
        {"Correction", "Correction", QStyle::SP_FileDialogDetailedView},
        {"Statistiques", "Statistiques", QStyle::SP_FileDialogInfoView},
        {"Archives", "Archives", QStyle::SP_DirIcon},
        {"Télécomm", "Télécomm", QStyle::SP_DriveNetIcon},
        {"Quitter", "Quitter", QStyle::SP_DialogCloseButton},
    };
    for (const BoutonBarre& b : boutons) {
        const QString cle = QString::fromUtf8(b.cle);
        if (cle == QLatin1String("Couper") || cle == QLatin1String("Correction") ||
            cle == QLatin1String("Quitter"))
            Toolbar1->addSeparator();
        QAction* a = ajouterBouton(Toolbar1, b, [this](const QString& c) {
            pertes_->quandLibre([this, c] { Toolbar1_ButtonClick(c); });
        });
        if (cle == QLatin1String("Correction"))
            actionCorrection_ = a;
    }
}

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
    reglagesPatient_ = {i.UtiliseDossierPatient, parametres::oui(utilisateur_, parametres::PavoConserveDate),
                        {i.ChangerDateRappel, i.RappelBES2an, i.RappelTOUS2an}};
    if (etat_.interrupteurs.UtiliseDossierPatient) {
        for (QPushButton* b : {Command2, Command3, Command4, Command5})
            b->setEnabled(false);
        bandeFile_->hide();
        for (QWidget* w : sousLaFile_)
            w->move(w->x(), w->y() - HauteurBandeFile);
        centralWidget()->setMinimumHeight(HauteurCentre - HauteurBandeFile);
    }
    // The controls keep their proportions when the window is resized or maximised.
    if (!redimensionnement_)
        redimensionnement_ = new Redimensionnement(centralWidget(), centralWidget()->minimumSize());
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
}

void Principal::afficherFile(int nombre) {
    Command3->setText(filepatients::legendeSuivante(nombre));
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
    for (int i = 0; i <= 10; ++i) {
        QLabel* l = Label3[i];
        l->setText(QString::number(i * e.pas));
        const bool rouge = i == e.rouge;
        QFont f = l->font();
        f.setBold(rouge);
        l->setFont(f);
        l->setStyleSheet(rouge ? QStringLiteral("color: red;") : QStringLiteral("color: black;"));
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

bool Principal::eventFilter(QObject* objet, QEvent* e) {
    if (objet == Image1 && e->type() == QEvent::MouseButtonRelease) {
        Image1_Click();
        return true;
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
    if (index < 2)
        return;
    const QString t = Combo1[index]->currentText();
    bool suivant = t.size() == 5 && t != QLatin1String("00000");
    for (const EntreePrix& p : configuration_.TableDesPrix)
        if (p.enUsage() && t == p.code.right(4))
            suivant = true;
    if (!suivant)
        return;
    if (index < 5)
        Combo1[index + 1]->setFocus(Qt::TabFocusReason);
    else
        Text1[4]->setFocus(Qt::TabFocusReason);
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
}

void Principal::Combo1_LostFocus(int index) {
    ChampsActe champs = lireChampsActe();
    VerifierActe(index, champs, configuration_, dialogues_, Horloge::aujourdhui());
    ecrireChampsActe(champs);
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

void Principal::MaskEdBox1_LostFocus(int index) {
    if (index == 0) {
        const QString nam = MaskEdBox1[0]->clipText();
        const PatientCourant::Chargement c = patient_.nam(programme_, nam, reglagesPatient_, dialogues_);
        ecrireIdentite(c);
        if (c.deLaFile) {
            Command4->setEnabled(true);
            Combo1[2]->setFocus(Qt::OtherFocusReason);
            return;
        }
        if (!c.parNumeroDeDossier) {
            if (const auto m = VerifierStructureNam(nam)) {
                dialogues_.message(Icone::Critique, m->titre, m->texte);
                MaskEdBox1[0]->setFocus(Qt::OtherFocusReason);
                return;
            }
            if (reglagesPatient_.UtiliseDossierPatient)
                ecrireIdentite(patient_.namVerifie(programme_, nam, dialogues_));
        }
        if (const auto m = AvertissementAge(MaskEdBox1[1]->clipText(), Horloge::aujourdhui())) {
            dialogues_.bip();
            dialogues_.message(Icone::Exclamation, m->titre, m->texte);
        }
        if (MaskEdBox1[0]->clipText().size() == 12 && !Text1[0]->text().isEmpty())
            MaskEdBox1[6]->setFocus(Qt::OtherFocusReason);
    }
    focusCodeActe();
}

void Principal::focusCodeActe() {
    if (parametres::oui(utilisateur_, parametres::FocusCodeActe))
        Combo1[2]->setFocus(Qt::OtherFocusReason);
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

void Principal::ViderFormulaire() {
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
    auto* champ = qobject_cast<QLineEdit*>(QApplication::focusWidget());
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

void Principal::ouvrirTelecommunication() {
    const auto fenetre = construireSousSablier<frmTelecommunication>(
        dialogues_, programme_, StatusBar1[2]->text(), configuration_, utilisateur_, dialogues_, this);
    connect(fenetre.get(), &frmTelecommunication::facturesPreparees, this, [this] {
        // The invoices left Ftmp.Fil: nothing to correct, the count back to empty.
        actionCorrection_->setEnabled(false);
        SousFichier[4]->setEnabled(false);
        AfficherCompteur(0);
        Label1[28]->clear();
    });
    fenetre->exec();
    rafraichirCompteur();
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
