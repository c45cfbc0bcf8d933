// The entry window's controls, menus and toolbar, laid out as the form reads; the window's
// handlers are in Principal.cpp.
#include "entry/Principal.h"
#include "entry/filepatients.h"

#include "platform/MaskEdBox.h"
#include "platform/accessibilite.h"
#include "platform/barreoutils.h"
#include "platform/dialogues.h"
#include "platform/fenetres.h"
#include "platform/filtresaisie.h"
#include "platform/pertesdefocus.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QHash>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace {

QString nomIndexe(const char* nom, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(nom)).arg(index);
}

}  // namespace

// ---------------------------------------------------------------- controls

void Principal::construireControles() {
    // The controls keep their design size at the least; a screen too small for them scrolls.
    auto* centre = new QWidget;
    centre->setObjectName(QStringLiteral("centre"));
    centre->setMinimumSize(LargeurFenetre, HauteurCentre);
    setCentralWidget(zoneDefilante(centre, this));
    centre_ = centre;

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
        pertes_->surveiller(b, [this, index] { return MaskEdBox1_LostFocus(index); });
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
        t->installEventFilter(this);
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
    Image1->setPixmap(iconeProgramme().pixmap(64, 64));
    Image1->setGeometry(802, 4, 64, 64);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);

    // Optometrist, point of service, date of service.
    for (int i = 0; i < 6; ++i) {
        auto* c = new QComboBox(centre);
        c->setObjectName(nomIndexe("Combo1", i));
        Combo1 << c;
        c->installEventFilter(this);
        connect(c, &QComboBox::activated, this, [this, i] { Combo1_Click(i); });
    }
    // Each box is named for a screen reader by its caption, or by what it holds where the
    // caption alone does not say it.
    nommer(libelle(centre, QStringLiteral("Choix:"), 12, 44), Combo1[0], QStringLiteral("Optométriste"));
    Combo1[0]->setGeometry(110, 44, 260, 24);
    nommer(libelle(centre, QStringLiteral("Point de service:"), 390, 44), Combo1[1]);
    Combo1[1]->setGeometry(500, 44, 290, 24);
    QLabel* l = libelle(centre, QStringLiteral("Date de service:"), 12, 76);
    nommer(l, masque(centre, 5, QStringLiteral("####/##/##"), 110, 76, 100), QStringLiteral("Date du service"));

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
    Command2 = bouton(bandeFile_, "Command2", QStringLiteral("&Vérifier s'il y a des noms à importer"),
                      12, 6, 260, 28);
    Command3 = bouton(bandeFile_, "Command3", QStringLiteral("&") + filepatients::legendeSuivante(0),
                      282, 6, 260, 28);
    Command4 = bouton(bandeFile_, "Command4", QStringLiteral("Annuler ce &NOM"), 552, 6, 150, 28);
    Command5 = bouton(bandeFile_, "Command5", QStringLiteral("&Liste"), 712, 6, 90, 28);
    Command5->setToolTip(QStringLiteral("Afficher la liste des noms en mémoire"));

    // The patient.
    const int yPatient = 146;
    QGroupBox* patient = cadre(QStringLiteral("Patient"), 8, yPatient, 864, 124);
    l = libelle(patient, QStringLiteral("NAM:"), 10, 24);
    nommer(l, masque(patient, 0, QStringLiteral("&&&&########"), 80, 24, 130),
           QStringLiteral("Numéro d'assurance maladie"));
    l = libelle(patient, QStringLiteral("Nom:"), 226, 24);
    nommer(l, texte(patient, 0, 270, 24, 250, 30));
    l = libelle(patient, QStringLiteral("Prénom:"), 536, 24);
    nommer(l, texte(patient, 1, 596, 24, 256, 20));
    l = libelle(patient, QStringLiteral("Naissance:"), 10, 56);
    nommer(l, masque(patient, 1, QStringLiteral("####/##/##"), 80, 56, 100), QStringLiteral("Date de naissance"));
    for (int i = 0; i < 2; ++i) {
        auto* o = new QRadioButton(i == 0 ? QStringLiteral("Masculin") : QStringLiteral("Féminin"),
                                   patient);
        o->setObjectName(nomIndexe("Option1", i));
        o->setGeometry(200 + 100 * i, 56, 95, 24);
        Option1 << o;
    }
    Option1[0]->setChecked(true);
    l = libelle(patient, QStringLiteral("Séq. carte:"), 536, 56);
    nommer(l, masque(patient, 3, QStringLiteral("##"), 610, 56, 40), QStringLiteral("Séquence de la carte"));
    l = libelle(patient, QStringLiteral("Exp. carte"), 680, 56);
    nommer(l, masque(patient, 4, QStringLiteral("####"), 752, 56, 60), QStringLiteral("Expiration de la carte"));
    l = libelle(patient, QStringLiteral("Adresse:"), 10, 88);
    nommer(l, texte(patient, 2, 80, 88, 300, 30));
    l = libelle(patient, QStringLiteral("Ville:"), 396, 88);
    nommer(l, texte(patient, 3, 440, 88, 200, 30));
    l = libelle(patient, QStringLiteral("Code postal:"), 656, 88);
    nommer(l, masque(patient, 2, QStringLiteral("?#? #?#"), 752, 88, 80));

    // Diagnostics and acts, paired by line.
    const int yLignes = 278;
    QGroupBox* diagnostics = cadre(QStringLiteral("Diagnostiques"), 8, yLignes, 150, 160);
    QGroupBox* actes = cadre(QStringLiteral("Actes"), 166, yLignes, 250, 160);
    for (int ligne = 0; ligne < 4; ++ligne) {
        const int y = 26 + 32 * ligne;
        l = libelle(diagnostics, QStringLiteral("%1.").arg(ligne + 1), 12, y);
        nommer(l, masque(diagnostics, 6 + ligne, QStringLiteral("&####"), 34, y, 90),
               QStringLiteral("Diagnostic %1").arg(ligne + 1));
        QComboBox* c = Combo1[2 + ligne];
        c->setAccessibleName(QStringLiteral("Acte %1").arg(ligne + 1));
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
        h->setAccessibleName(QStringLiteral("Prix %1").arg(ligne + 1));
        Label2 << h;
    }
    QGroupBox* complementaires =
        cadre(QStringLiteral("Renseignements complémentaires"), 424, yLignes, 448, 86);
    texte(complementaires, 4, 12, 30, 424, 200)->setAccessibleName(complementaires->title());
    QGroupBox* utiles = cadre(QStringLiteral("Renseignements utiles"), 424, yLignes + 92, 448, 68);
    l = libelle(utiles, QStringLiteral("Considérations spéciales:"), 12, 28);
    nommer(l, texte(utiles, 5, 180, 28, 70, 5));

    // Amount, count, gauge and the store button.
    const int yBas = 448;
    l = libelle(centre, QStringLiteral("Montant de la facture en cours:"), 12, yBas);
    nommer(l, valeur(centre, 27, 220, yBas, 100));
    l = libelle(centre, QStringLiteral("Nombre de factures en mémoire:"), 340, yBas);
    nommer(l, valeur(centre, 28, 548, yBas, 70));
    Slider1 = new QSlider(Qt::Horizontal, centre);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setGeometry(12, yBas + 36, 606, 24);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Slider1->setFocusPolicy(Qt::NoFocus);
    Slider1->setAccessibleName(QStringLiteral("Jauge des factures en mémoire"));
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
    // The box that has the focus finishes its work first, as a click that takes the focus from it
    // does: a patient these buttons load never runs the NAM box's work again when it is left.
    connect(Command2, &QPushButton::clicked, this, [this] { pertes_->commande([this] { Command2_Click(); }); });
    connect(Command3, &QPushButton::clicked, this, [this] { pertes_->commande([this] { Command3_Click(); }); });
    connect(Command4, &QPushButton::clicked, this, [this] { pertes_->commande([this] { Command4_Click(); }); });
    connect(Command5, &QPushButton::clicked, this, [this] { pertes_->commande([this] { Command5_Click(); }); });
    for (int i = 0; i < 6; ++i)
        pertes_->surveiller(Combo1[i], [this, i] { return Combo1_LostFocus(i); });

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
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setIconSize(QSize(24, 24));
    const BoutonBarre boutons[] = {
        {"Nouveau", "Nouveau", QStyle::SP_FileIcon},
        {"Couper", "Cou&per", QStyle::SP_DialogDiscardButton, nullptr, QKeySequence::Cut},
        {"Copier", "&Copier", QStyle::SP_FileDialogNewFolder, nullptr, QKeySequence::Copy},
        {"Coller", "C&oller", QStyle::SP_DialogApplyButton, nullptr, QKeySequence::Paste},
        {"Correction", "Correction", QStyle::SP_FileDialogDetailedView},
        {"Statistiques", "Statistiques", QStyle::SP_FileDialogInfoView},
        {"Archives", "&Archives", QStyle::SP_DirIcon, "Archives des facturations"},
        {"Télécomm", "&Télécomm", QStyle::SP_DriveNetIcon, "Télécommunication avec la RAMQ", QKeySequence("Ctrl+T"),
         "&Télécommunication avec la RAMQ"},
        {"Quitter", "Quitter", QStyle::SP_DialogCloseButton},
    };
    QHash<QString, QAction*> actions;
    for (const BoutonBarre& b : boutons) {
        const QString cle = QString::fromUtf8(b.cle);
        if (cle == QLatin1String("Couper") || cle == QLatin1String("Correction") ||
            cle == QLatin1String("Quitter"))
            Toolbar1->addSeparator();
        actions[cle] = ajouterBouton(Toolbar1, b, [this](const QString& c) {
            pertes_->quandLibre([this, c] { Toolbar1_ButtonClick(c); });
        });
    }
    actionCorrection_ = actions[QStringLiteral("Correction")];

    // The menus: "Fichier" as it always was, with access keys and shortcuts; the toolbar's own
    // commands in "Édition" and "RAMQ".
    QMenu* fichier = menuBar()->addMenu(QStringLiteral("&Fichier"));
    const struct {
        const char* texte;
        QKeySequence raccourci;
    } items[] = {{"&Nouveau", QKeySequence::New},
                 {},
                 {"&Initialisation", {}},
                 {},
                 {"&Historique / Correction", QKeySequence("Ctrl+H")},
                 {"&Statistiques", {}},
                 {},
                 {"&Placer les fichiers de configuration sur le serveur", {}},
                 {"P&rendre les fichiers de configuration sur le serveur", {}},
                 {},
                 {"&Quitter", QKeySequence("Ctrl+Q")}};
    for (int i = 0; i < int(std::size(items)); ++i) {
        QAction* a = items[i].texte ? fichier->addAction(QString::fromUtf8(items[i].texte)) : fichier->addSeparator();
        a->setObjectName(nomIndexe("SousFichier", i));
        a->setShortcut(items[i].raccourci);
        if (items[i].texte)
            connect(a, &QAction::triggered, this, [this, i] { pertes_->quandLibre([this, i] { SousFichier_Click(i); }); });
        SousFichier << a;
    }
    // The year's trends under the statistics; the items above keep their indexes.
    auto* tendances = new QAction(QStringLiteral("&Tendances"), fichier);
    tendances->setObjectName(QStringLiteral("Tendances"));
    fichier->insertAction(SousFichier[6], tendances);
    connect(tendances, &QAction::triggered, this, [this] { pertes_->quandLibre([this] { ouvrirTendances(); }); });
    // The save and the restore of the clinic's data, above the last separator and "Quitter".
    const struct {
        const char* nom;
        const char* texte;
        void (Principal::*commande)();
    } donnees[] = {{"SauvegarderDonnees", "S&auvegarder les données…", &Principal::sauvegarderDonnees},
                   {"RestaurerDonnees", "Restaurer &une sauvegarde…", &Principal::restaurerDonnees}};
    QAction* avantQuitter = SousFichier[SousFichier.size() - 2];
    fichier->insertSeparator(avantQuitter);
    for (const auto& item : donnees) {
        auto* a = new QAction(QString::fromUtf8(item.texte), fichier);
        a->setObjectName(QString::fromLatin1(item.nom));
        fichier->insertAction(avantQuitter, a);
        connect(a, &QAction::triggered, this,
                [this, commande = item.commande] { pertes_->quandLibre([this, commande] { (this->*commande)(); }); });
    }
    QMenu* edition = menuBar()->addMenu(QStringLiteral("É&dition"));
    for (const char* cle : {"Couper", "Copier", "Coller"})
        edition->addAction(actions[QString::fromUtf8(cle)]);
    QMenu* ramq = menuBar()->addMenu(QStringLiteral("&RAMQ"));
    for (const char* cle : {"Télécomm", "Archives"})
        ramq->addAction(actions[QString::fromUtf8(cle)]);
    QAction* suivi = ramq->addAction(QStringLiteral("&Suivi des factures envoyées"));
    suivi->setObjectName(QStringLiteral("SuiviFactures"));
    suivi->setShortcut(QKeySequence(QStringLiteral("Ctrl+U")));
    connect(suivi, &QAction::triggered, this, [this] { pertes_->quandLibre([this] { ouvrirSuivi(); }); });
    QMenu* aide = menuBar()->addMenu(QStringLiteral("&Aide"));
    const struct {
        const char* texte;
        QKeySequence raccourci;
    } itemsAide[] = {{"&Aide", QKeySequence::HelpContents}, {"A &propos de...", {}}};
    for (int i = 0; i < 2; ++i) {
        QAction* a = aide->addAction(QString::fromUtf8(itemsAide[i].texte));
        a->setObjectName(nomIndexe("sousAide", i));
        a->setShortcut(itemsAide[i].raccourci);
        connect(a, &QAction::triggered, this, [this, i] { sousAide_Click(i); });
        sousAide << a;
    }
}

