#include "config/Initial.h"
#include "config/MotPasse.h"
#include "config/frmCorrigeCfg.h"
#include "entry/Principal.h"
#include "entry/dossierpatient.h"
#include "entry/filepatients.h"
#include "entry/frmListeEnMem.h"
#include "platform/MaskEdBox.h"
#include "platform/dialoguesqt.h"
#include "platform/horloge.h"
#include "platform/imprimantes.h"
#include "platform/redimensionnement.h"
#include "platform/reglages.h"
#include "records/facture.h"
#include "rules/frmMessageAlaSouris.h"
#include "returns/frmArchives.h"
#include "returns/frmHistorique.h"
#include "transmission/frmTelePrepare.h"
#include "transmission/frmTelecommunication.h"
#include "support/clavier.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/patients.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QTest>
#include "returns/listeqt.h"
#include <gtest/gtest.h>

namespace {

// The demo clinic: two optometrists, two points of service, agency 71234.
QByteArray configurationClinique() {
    QByteArray c = configurationADeuxOptometristes();
    c.replace("\"Vide  00000\"", "\"Lac-Brume 52891\"");
    return c;
}

class FenetrePrincipale : public ::testing::Test {
protected:
    void SetUp() override {
        Horloge::fixer(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
        d.ecrire("Kestrova.Cfg", configurationClinique());
        d.ecrire("Facturat.Lex", "R7123400D71234000000000000000000000000");
        u.ecrire("FocusCodeActe", "NON");
        u.ecrire("UtiliseDossierPatient", "NON");
    }
    void TearDown() override { Horloge::liberer(); }

    Principal& ouvrir() { return ouvrir(dialogues); }
    Principal& ouvrir(PortDialogue& port) {
        w = std::make_unique<Principal>(d.chemin(), port, u);
        EXPECT_TRUE(w->Form_Load());
        w->afficher();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        dialogues.effacer();
        return *w;
    }
    template <typename T>
    T* controle(const char* nom) {
        T* c = w->findChild<T*>(QString::fromLatin1(nom));
        EXPECT_NE(c, nullptr) << nom;
        return c;
    }
    MaskEdBox* masque(int i) { return controle<MaskEdBox>(qPrintable(QStringLiteral("MaskEdBox1_%1").arg(i))); }
    QLineEdit* texte(int i) { return controle<QLineEdit>(qPrintable(QStringLiteral("Text1_%1").arg(i))); }
    QComboBox* combo(int i) { return controle<QComboBox>(qPrintable(QStringLiteral("Combo1_%1").arg(i))); }
    QLabel* label(const char* nom) { return controle<QLabel>(nom); }

    // Types into a box the way a user does: focus, keys, then Tab away.
    void taper(QWidget* boite, const QString& touches) {
        boite->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        QWidget* cible = boite;
        if (auto* c = qobject_cast<QComboBox*>(boite))
            cible = c->lineEdit();
        for (const QChar ch : touches) {
            if (ch.unicode() < 0x80) {
                QTest::keyClick(cible, ch.toLatin1());
            } else {
                QKeyEvent e(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
                QApplication::sendEvent(boite == cible ? boite : cible, &e);
            }
            QApplication::processEvents();
        }
    }
    // A click as a user makes it: the press moves the focus, the release clicks.
    void cliquer(QWidget* bouton) {
        QTest::mousePress(bouton, Qt::LeftButton);
        QApplication::processEvents();
        QTest::mouseRelease(bouton, Qt::LeftButton);
        QApplication::processEvents();
    }
    void quitter(QWidget* boite) {
        boite->clearFocus();
        QApplication::processEvents();
        QApplication::processEvents();
    }

    void taperPatient(bool avecActe = true) {
        combo(0)->setCurrentIndex(1);
        w->Combo1_Click(0);
        masque(5)->setClipText("20261204");
        taper(masque(0), "trem80011514");
        taper(texte(0), "tremblay");
        quitter(masque(0));
        taper(texte(1), "jean");  // the birth date and sex come from the NAM
        taper(masque(3), "1");
        taper(masque(4), "0427");
        taper(texte(2), "123 rue principale");
        taper(texte(3), "st-olvane");
        taper(masque(2), "h2x1y4");
        taper(masque(6), "3784");
        if (!avecActe)
            return;
        taper(combo(2), "9001");
        quitter(combo(2));
    }

    DossierTemporaire d;
    DialoguesScriptes dialogues;
    ReglagesUtilisateur u;
    std::unique_ptr<Principal> w;
};

}  // namespace

TEST_F(FenetrePrincipale, ControlesEtDemarrage) {
    Principal& p = ouvrir();
    EXPECT_EQ(p.windowTitle(), QStringLiteral("Saisie des factures RAMQ"));
    EXPECT_EQ(masque(0)->masque(), QStringLiteral("&&&&########"));
    EXPECT_EQ(masque(2)->masque(), QStringLiteral("?#? #?#"));
    EXPECT_EQ(masque(6)->masque(), QStringLiteral("&####"));
    // Each text box holds its field: a character past it is refused with a beep, never cut.
    for (const auto& [boite, largeur] : {std::pair{4, 200}, {5, 5}, {0, 30}, {1, 20}}) {
        texte(boite)->setText(QString(largeur, QLatin1Char('A')));
        texte(boite)->setFocus();
        dialogues.effacer();
        QTest::keyClick(texte(boite), Qt::Key_B);
        EXPECT_EQ(texte(boite)->text(), QString(largeur, QLatin1Char('A'))) << boite;
        EXPECT_EQ(dialogues.bips(), 1) << boite;
        texte(boite)->clear();
    }
    EXPECT_EQ(combo(0)->count(), 2);
    EXPECT_EQ(combo(1)->count(), 5);
    EXPECT_EQ(combo(3)->count(), 25);
    EXPECT_EQ(label("Label1_14")->text(), QStringLiteral("1e Optométriste"));
    QStringList panneaux;
    for (int i = 1; i <= 5; ++i)
        panneaux << label(qPrintable(QStringLiteral("StatusBar1_Panel%1").arg(i)))->text();
    EXPECT_EQ(panneaux, (QStringList{QStringLiteral("1e Optométriste"), "311111", "71234", "52713",
                                     "00000"}));
    EXPECT_EQ(masque(5)->clipText(), QStringLiteral("20261206"));
    EXPECT_EQ(masque(5)->displayText(), QStringLiteral("2026/12/06"));
    EXPECT_FALSE(p.SousFichier[4]->isEnabled());  // no invoice in memory
    EXPECT_EQ(controle<QPushButton>("Command3")->text(),
              QStringLiteral("&Préparer la facture suivante... ( 0 )"));
    EXPECT_FALSE(controle<QPushButton>("Command3")->isEnabled());
    EXPECT_FALSE(controle<QPushButton>("Command5")->isEnabled());
    EXPECT_FALSE(controle<QPushButton>("Command4")->isEnabled());
    QStringList echelle;
    for (int i = 0; i <= 10; ++i)
        echelle << label(qPrintable(QStringLiteral("Label3_%1").arg(i)))->text();
    EXPECT_EQ(echelle.join(' '), QStringLiteral("0 5 10 15 20 25 30 35 40 45 50"));

    combo(1)->setCurrentIndex(1);
    p.Combo1_Click(1);
    EXPECT_EQ(label("StatusBar1_Panel4")->text(), QStringLiteral("52891"));
    combo(0)->setCurrentIndex(1);
    p.Combo1_Click(0);
    EXPECT_EQ(label("StatusBar1_Panel2")->text(), QStringLiteral("322227"));
    EXPECT_EQ(label("StatusBar1_Panel5")->text(), QStringLiteral("12345"));
    EXPECT_EQ(label("Label1_14")->text(), QStringLiteral("Dr Mathieu Tremblay"));
}

TEST_F(FenetrePrincipale, SaisieEtEnregistrementDUneFacture) {
    d.ecrire("Sauvramq/Ftmp.Fil", enregistrementDe(factureDeBase()).repeated(49));  // the 50th changes the scale
    Principal& p = ouvrir();
    taperPatient();
    EXPECT_EQ(combo(2)->currentText(), QStringLiteral("09001"));
    EXPECT_EQ(label("Label2_0")->text(), QStringLiteral("002855"));
    EXPECT_EQ(label("Label1_27")->text(), QStringLiteral("28.55"));
    EXPECT_EQ(masque(0)->clipText(), QStringLiteral("TREM80011514"));
    EXPECT_EQ(texte(0)->text(), QStringLiteral("TREMBLAY"));
    EXPECT_EQ(masque(2)->clipText(), QStringLiteral("H2X1Y4"));
    // The birth date the NAM fills in is that of a 47-year-old.
    ASSERT_EQ(dialogues.boites().size(), 1) << qPrintable(dialogues.resume().join("\n"));
    EXPECT_EQ(dialogues.boites()[0].titre, "Assurance");
    dialogues.effacer();

    cliquer(controle<QPushButton>("Command1"));
    EXPECT_EQ(dialogues.resume(),
              QStringList{QStringLiteral("Sauvagarde | La facture # 50\nde JEAN TREMBLAY\n à été "
                                         "enregistrée.")});

    const QByteArray ftmp = d.lire("Sauvramq/Ftmp.Fil");
    ASSERT_EQ(ftmp.size(), 50 * 723);
    const QByteArray r = ftmp.right(723);
    EXPECT_EQ(r.left(34), QByteArray("052 :71234AJJJSSS 0000TREM80011514"));
    EXPECT_EQ(r.mid(34, 20), QByteArray("JEAN                "));
    EXPECT_EQ(r.mid(84, 15), QByteArray("01042719800115M"));
    EXPECT_EQ(r.mid(159, 30), QByteArray("H2X1Y4322227 12345 52713261204"));
    EXPECT_EQ(r.mid(241, 16), QByteArray("3784 09001002855"));
    EXPECT_EQ(r.mid(305, 6), QByteArray("002855"));
    EXPECT_EQ(r.right(3), QByteArray(";\r\n"));
    const QByteArray sta = d.lire("Sauvramq/STA2026.Dat");
    ASSERT_EQ(sta.size(), 97);
    EXPECT_EQ(sta, QByteArray("32222720261204" "09001" "               " "002855" "                  ") +
                       QByteArray("\0\0", 2) + "TREM80011514" "52713" + QByteArray(20, ' '));

    EXPECT_EQ(label("Label1_28")->text(), QStringLiteral(" 50 "));
    EXPECT_EQ(controle<QSlider>("Slider1")->maximum(), 100);
    EXPECT_EQ(controle<QSlider>("Slider1")->value(), 50);
    EXPECT_EQ(label("Label3_10")->text(), QStringLiteral("100"));
    EXPECT_TRUE(label("Label3_5")->font().bold());
    EXPECT_FALSE(label("Label3_4")->font().bold());
    EXPECT_TRUE(p.SousFichier[4]->isEnabled());

    // Cleared for the next patient; optometrist, point of service, date and sex kept.
    for (int i : {0, 1, 2, 3, 4, 6})
        EXPECT_TRUE(masque(i)->clipText().isEmpty()) << i;
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(texte(i)->text().isEmpty()) << i;
    EXPECT_TRUE(combo(2)->currentText().isEmpty());
    EXPECT_TRUE(label("Label2_0")->text().isEmpty());
    EXPECT_TRUE(label("Label1_27")->text().isEmpty());
    EXPECT_EQ(masque(5)->clipText(), QStringLiteral("20261204"));
    EXPECT_EQ(label("StatusBar1_Panel2")->text(), QStringLiteral("322227"));
    EXPECT_EQ(QApplication::focusWidget(), masque(0));
}

TEST_F(FenetrePrincipale, RefusAvecLeFocusSurLaBoite) {
    ouvrir();
    taperPatient();
    dialogues.effacer();
    masque(5)->setClipText("20261207");  // tomorrow
    cliquer(controle<QPushButton>("Command1"));
    ASSERT_EQ(dialogues.boites().size(), 1);
    EXPECT_EQ(dialogues.boites()[0].titre, QStringLiteral("Date invalide"));
    EXPECT_EQ(dialogues.boites()[0].icone, Icone::Critique);
    EXPECT_EQ(QApplication::focusWidget(), masque(5));
    EXPECT_FALSE(d.existe("Sauvramq/Ftmp.Fil") && !d.lire("Sauvramq/Ftmp.Fil").isEmpty());
    EXPECT_EQ(texte(0)->text(), QStringLiteral("TREMBLAY"));  // typed values stay

    // A professional number that is not six digits: message 2 of the catalogue.
    masque(5)->setClipText("20261206");
    label("StatusBar1_Panel2")->setText("31111");
    dialogues.effacer();
    w->Command1_Click();
    EXPECT_EQ(dialogues.resume(),
              QStringList{QStringLiteral("Message d'erreur | ATTENTION...\n\nLe numéro du "
                                         "professionnel n'est pas valide.\nConsulter le support "
                                         "informatique pour de l'aide.")});
    EXPECT_EQ(dialogues.bips(), 2);
    EXPECT_TRUE(d.lire("Sauvramq/Ftmp.Fil").isEmpty());
    EXPECT_FALSE(d.existe("Sauvramq/STA2026.Dat"));
}

TEST_F(FenetrePrincipale, NamALaPerteDuFocus) {
    ouvrir();
    taper(masque(0), "TREM8001");
    quitter(masque(0));
    EXPECT_EQ(dialogues.resume(),
              QStringList{QStringLiteral("Saisie du numéro de l'assurance maladie | Numéro "
                                         "d'assurance maladie incomplet.")});
    EXPECT_EQ(QApplication::focusWidget(), masque(0));
    dialogues.effacer();
    masque(0)->setClipText("TR1M80011514");
    quitter(masque(0));
    EXPECT_EQ(dialogues.resume(),
              QStringList{QStringLiteral("Saisie du numéro | Numéro de l'assurance maladie "
                                         "invalide.")});
    // A complete NAM with a surname sends the focus to the first diagnostic, after the
    // insured-age warning (46.9 years round to 47).
    dialogues.effacer();
    masque(0)->setClipText("TREM80011514");
    masque(1)->setClipText("19800115");
    texte(0)->setText("TREMBLAY");
    masque(0)->setFocus(Qt::TabFocusReason);
    quitter(masque(0));
    ASSERT_EQ(dialogues.boites().size(), 1);
    EXPECT_EQ(dialogues.boites()[0].titre, QStringLiteral("Assurance"));
    EXPECT_EQ(dialogues.boites()[0].icone, Icone::Exclamation);
    EXPECT_TRUE(dialogues.boites()[0].texte.contains(QStringLiteral("Cette personne a  47 ans.")));
    EXPECT_EQ(dialogues.bips(), 1);
    EXPECT_EQ(QApplication::focusWidget(), masque(6));
}

TEST_F(FenetrePrincipale, AidesALaFrappe) {
    ouvrir();
    taper(texte(0), QStringLiteral("côté"));
    EXPECT_EQ(texte(0)->text(), QStringLiteral("CôTé"));  // only a-z change; accents stay
    // Pasted text as typed text: capitals, and refused whole (a beep) when it does not fit.
    const struct {
        QWidget* boite;
        QString colle;
        QString attendu;
        int bips;
    } collages[] = {
        {texte(0), "tremblay-roy", "TREMBLAY-ROY", 0},
        {texte(0), "TREMBLAY-LAPOINTE-DESROCHERS-BEAUREGARD", "", 1},
        {texte(1), QStringLiteral("Łukasz"), "UKASZ", 1},
        {masque(0), "trem80011514", "TREM80011514", 0},
        {masque(0), "GAGM755312139", "", 1},
        {masque(1), "1980/01/15", "19800115", 0},
    };
    for (const auto& c : collages) {
        SCOPED_TRACE(c.colle.toStdString());
        if (auto* m = qobject_cast<MaskEdBox*>(c.boite))
            m->vider();
        else
            qobject_cast<QLineEdit*>(c.boite)->clear();
        c.boite->setFocus();
        qobject_cast<QLineEdit*>(c.boite)->setCursorPosition(0);
        QApplication::clipboard()->setText(c.colle);
        dialogues.effacer();
        QTest::keyClick(c.boite, Qt::Key_V, Qt::ControlModifier);
        const auto* m = qobject_cast<MaskEdBox*>(c.boite);
        EXPECT_EQ(m ? m->clipText() : qobject_cast<QLineEdit*>(c.boite)->text(), c.attendu);
        EXPECT_EQ(dialogues.bips(), c.bips);
    }
    texte(0)->clear();
    texte(1)->clear();
    masque(0)->vider();
    masque(1)->vider();
    taper(masque(6), "3784");
    EXPECT_EQ(QApplication::focusWidget(), masque(7));
    taper(combo(3), "9002");
    EXPECT_EQ(QApplication::focusWidget(), combo(4));
    quitter(combo(4));
    EXPECT_EQ(combo(3)->currentText(), QStringLiteral("09002"));
    EXPECT_EQ(label("Label1_27")->text(), QStringLiteral("12.00"));
    // FocusCodeActe "OUI": leaving a masked box sends the focus to the first act box.
    u.ecrire("FocusCodeActe", "OUI");
    taper(masque(1), "1980");
    masque(3)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), combo(2));
}

// Every way of storing, with the act still in its box, gives the same record: the box's
// rules and fee run first whatever the way.
TEST_F(FenetrePrincipale, ChaqueFaconDEnregistrerDonneLeMemeEnregistrement) {
    ouvrir();
    QPushButton* enregistrer = controle<QPushButton>("Command1");
    const struct {
        const char* facon;
        std::function<void()> enregistrer;
    } facons[] = {
        {"souris", [&] { cliquer(enregistrer); }},
        {"Alt+E", [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::AltModifier); }},
        {"Entrée", [&] { enregistrer->setFocus(Qt::TabFocusReason);
                         QTest::keyClick(enregistrer, Qt::Key_Return); }},
        {"Entrée du pavé", [&] { enregistrer->setFocus(Qt::TabFocusReason);
                                 QTest::keyClick(enregistrer, Qt::Key_Enter, Qt::KeypadModifier); }},
        {"Espace", [&] { enregistrer->setFocus(Qt::TabFocusReason);
                         QTest::keyClick(enregistrer, Qt::Key_Space); }},
    };
    int stockees = 0;
    for (const bool deLaListe : {true, false})
        for (const auto& f : facons) {
            SCOPED_TRACE(std::string(f.facon) + (deLaListe ? ", acte choisi" : ", acte tapé"));
            taperPatient(false);
            if (deLaListe) {
                combo(2)->setFocus(Qt::MouseFocusReason);
                combo(2)->setCurrentIndex(combo(2)->findText("09001"));
            } else {
                taper(combo(2), "9001");
            }
            dialogues.effacer();
            f.enregistrer();
            QApplication::processEvents();
            ASSERT_EQ(dialogues.boites().size(), 1) << qPrintable(dialogues.resume().join('\n'));
            EXPECT_TRUE(dialogues.boites()[0].texte.startsWith(
                QStringLiteral("La facture # %1\n").arg(++stockees)));
            const QByteArray ftmp = d.lire("Sauvramq/Ftmp.Fil");
            ASSERT_EQ(ftmp.size(), stockees * 723);
            EXPECT_EQ(ftmp.right(723).mid(241, 16), QByteArray("3784 09001002855"));
            EXPECT_EQ(ftmp.right(723).mid(305, 6), QByteArray("002855"));
            EXPECT_EQ(ftmp.right(723), ftmp.left(723));
        }
}

// A click never puts the cursor past what was typed; a refused character beeps.
TEST_F(FenetrePrincipale, CurseurDesBoitesMasquees) {
    ouvrir();
    MaskEdBox* nam = masque(0);
    const QPoint aDroite(nam->width() - 8, nam->height() / 2);
    nam->vider();
    QTest::mouseClick(nam, Qt::LeftButton, {}, aDroite);
    EXPECT_EQ(nam->cursorPosition(), 0);
    QTest::keyClicks(nam, "TREM8001");
    EXPECT_EQ(nam->clipText(), "TREM8001");
    QTest::mouseClick(nam, Qt::LeftButton, {}, aDroite);
    EXPECT_EQ(nam->cursorPosition(), 8);
    QTest::mouseClick(nam, Qt::LeftButton, {}, QPoint(3, nam->height() / 2));
    EXPECT_EQ(nam->cursorPosition(), 0);

    MaskEdBox* naissance = masque(1);
    naissance->setFocus(Qt::MouseFocusReason);
    dialogues.effacer();
    taper(naissance, "19a8");
    EXPECT_EQ(naissance->clipText(), "198");
    EXPECT_EQ(dialogues.bips(), 1);
}

// The optometrist named on screen is the one whose numbers are billed.
TEST_F(FenetrePrincipale, LOptometristeAfficheEstCeluiFacture) {
    QByteArray c = configurationClinique();
    c.replace("\"1e Optom\xE9triste\",\"311111\"", "\"1e Optom\xE9triste\",\"000000\"");
    d.ecrire("Kestrova.Cfg", c);
    ouvrir();
    EXPECT_EQ(combo(0)->currentText(), "Dr Mathieu Tremblay");
    EXPECT_EQ(label("Label1_14")->text(), "Dr Mathieu Tremblay");
    EXPECT_EQ(label("StatusBar1_Panel1")->text(), "Dr Mathieu Tremblay");
    EXPECT_EQ(label("StatusBar1_Panel2")->text(), "322227");
    EXPECT_EQ(label("StatusBar1_Panel5")->text(), "12345");

    // No slot in use: refused, nothing stored.
    c.replace("\"Dr Mathieu Tremblay\",\"322227\"", "\"Dr Mathieu Tremblay\",\"000000\"");
    d.ecrire("Kestrova.Cfg", c);
    ouvrir();
    EXPECT_EQ(combo(0)->currentIndex(), -1);
    taperPatient();
    dialogues.effacer();
    cliquer(controle<QPushButton>("Command1"));
    ASSERT_EQ(dialogues.boites().size(), 1);
    EXPECT_EQ(dialogues.boites()[0].titre, "Optométriste");
    EXPECT_TRUE(dialogues.boites()[0].texte.contains("FICHIER, puis INITIALISATION"));
    EXPECT_FALSE(d.existe("Sauvramq/Ftmp.Fil") && d.lire("Sauvramq/Ftmp.Fil").size() > 0);
}

// The password window at start-up, used as a person would: only the right password, in any
// case, lets the main window load; every other way out ends the program.
TEST_F(FenetrePrincipale, MotDePasseAuDemarrage) {
    d.ecrire("Tarnwick.ini", "[Kestrova]\r\nSiMotPasse=OUI\r\n");
    d.ecrire("Ramq.Chk", "SECRET              ");
    auto taper = [](const char* texte) {
        return [texte](MotPasse& m) {
            QTest::keyClicks(m.Text1, texte);
            QTest::keyClick(m.Text1, Qt::Key_Return);
        };
    };
    const struct {
        const char* cas;
        std::function<void(MotPasse&)> agir;
        bool acces;
    } cas[] = {
        {"bon, en minuscules", taper("secret"), true},
        {"faux", taper("autre"), false},
        {"Annuler", [](MotPasse& m) { m.Command1[2]->click(); }, false},
        {"Échap", [](MotPasse& m) { QTest::keyClick(&m, Qt::Key_Escape); }, false},
        {"bouton de fermeture", [](MotPasse& m) { m.close(); }, false},
        {"Quitter", [](MotPasse& m) { m.Quitter->trigger(); }, false},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        bool vue = false;
        QTimer::singleShot(0, [&] {
            for (QWidget* f : QApplication::topLevelWidgets())
                if (auto* m = qobject_cast<MotPasse*>(f); m && m->isVisible()) {
                    vue = true;
                    EXPECT_EQ(m->Text1->echoMode(), QLineEdit::Password);
                    c.agir(*m);
                    return;
                }
        });
        dialogues.effacer();
        w = std::make_unique<Principal>(d.chemin(), dialogues, u);
        EXPECT_EQ(w->Form_Load(), c.acces);
        EXPECT_TRUE(vue);
        ASSERT_FALSE(dialogues.boites().isEmpty());
        EXPECT_EQ(dialogues.resume().first(),
                  c.acces ? "Mot de passe | accès au programme autorisé..."
                          : "Mot de passe | accès au LOGICIEL refusé...");
    }
}

// An older configuration file at start-up: the correction window shows its entries, its button
// rewrites the file, and start-up goes on with it; the next start asks nothing.
TEST_F(FenetrePrincipale, CorrectionDeLaConfigurationAuDemarrage) {
    QByteArray ancien = configurationClinique();
    ancien.replace("\"Version 5.8.y\"", "\"Version 5.6.b\"");
    d.ecrire("Kestrova.Cfg", ancien);
    QStringList affiches;
    QTimer::singleShot(0, [&] {
        for (QWidget* f : QApplication::topLevelWidgets())
            if (auto* c = qobject_cast<frmCorrigeCfg*>(f); c && c->isVisible()) {
                for (QLabel* l : c->Label1)
                    affiches << l->text();
                QTest::keyClick(c->Command1, Qt::Key_Return);
            }
    });
    ouvrir();
    QStringList attendus = {"1e Optométriste", "311111", "00000", "Dr Mathieu Tremblay", "322227",
                            "12345", "Établissement:  #1", "St-Olvane 52713"};
    for (int i = 2; i <= 5; ++i)
        attendus << QStringLiteral("Établissement:  #%1").arg(i) << "Lac-Brume 52891";
    EXPECT_EQ(affiches, attendus);
    EXPECT_EQ(combo(0)->count(), 2);
    EXPECT_EQ(d.lire("Kestrova.Cfg.ancien"), ancien);
    EXPECT_TRUE(d.lire("Kestrova.Cfg").startsWith("\"Version 5.8.y\"\r\n"));

    DialoguesScriptes ensuite;
    ouvrir(ensuite);
    EXPECT_TRUE(ensuite.boites().isEmpty());
}

// A first start in an empty folder, through the real windows: the default configuration, the
// initialisation window, the missing agency file, the initialisation window again where the
// clinic types its agency, optometrist, number and point of service; then it bills at once.
TEST_F(FenetrePrincipale, PremierDemarrageJusquALaPremiereFacture) {
    QFile::remove(d.fichier("Kestrova.Cfg"));
    QFile::remove(d.fichier("Facturat.Lex"));
    int visites = 0;
    QTimer veilleur;
    auto changer = [](Initial& i, int liste, int ligne, int boite, const char* texte) {
        i.List1[liste]->setCurrentRow(ligne);
        i.Text1[boite]->clear();
        QTest::keyClicks(i.Text1[boite], texte);
        QTest::keyClick(i.Text1[boite], Qt::Key_Return);  // its "&Ok"
    };
    QObject::connect(&veilleur, &QTimer::timeout, [&] {
        for (QWidget* f : QApplication::topLevelWidgets()) {
            auto* i = qobject_cast<Initial*>(f);
            if (!i || !i->isVisible())
                continue;
            if (++visites == 1) {
                i->close();  // the title-bar button does what "&Fermer" does
                continue;
            }
            if (visites == 2) {
                QTest::keyClicks(i->Text1[5], "71234");
                EXPECT_TRUE(i->Command1[6]->isEnabled());
                i->Command1[6]->click();
                changer(*i, 1, 0, 1, "Dre Gagnon");
                changer(*i, 2, 0, 2, "391001");
                changer(*i, 3, 0, 4, "Laval 52000");
            }
            i->Command1[4]->click();  // "&Fermer"
        }
    });
    veilleur.start(10);
    w = std::make_unique<Principal>(d.chemin(), dialogues, u);
    ASSERT_TRUE(w->Form_Load());
    w->afficher();
    veilleur.stop();
    QApplication::setActiveWindow(w.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    EXPECT_EQ(visites, 2);
    QStringList titres;
    for (const auto& b : dialogues.boites())
        titres << b.titre;
    EXPECT_EQ(titres, (QStringList{"Création du fichier de configuration", "Initialisation",
                                   "Erreur en lecture", "Fichier manquant.", "Message",
                                   "Initialisation", "Initialisation", "Initialisation",
                                   "Initialisation"}));
    EXPECT_EQ(d.lire("Facturat.Lex"), "R7123400D71234000000000000000000000000");
    EXPECT_EQ(label("StatusBar1_Panel2")->text(), "391001");
    EXPECT_EQ(label("StatusBar1_Panel3")->text(), "71234");
    EXPECT_EQ(label("StatusBar1_Panel4")->text(), "52000");

    taperPatient();
    dialogues.effacer();
    cliquer(controle<QPushButton>("Command1"));
    ASSERT_EQ(dialogues.boites().size(), 1) << qPrintable(dialogues.resume().join('\n'));
    const QByteArray r = d.lire("Sauvramq/Ftmp.Fil");
    ASSERT_EQ(r.size(), 723);
    EXPECT_EQ(r.mid(5, 5), "71234");
    EXPECT_EQ(r.mid(165, 6), "391001");
    EXPECT_EQ(r.mid(178, 5), "52000");
}

TEST_F(FenetrePrincipale, DossierPatientCacheLaFile) {
    u.ecrire("UtiliseDossierPatient", "OUI");
    d.ecrire("MdiTmp.Dat", QByteArray(3 * 188, ' '));
    Principal& p = ouvrir();
    for (const char* b : {"Command2", "Command3", "Command4", "Command5"}) {
        EXPECT_FALSE(controle<QPushButton>(b)->isVisible()) << b;
        EXPECT_FALSE(controle<QPushButton>(b)->isEnabled()) << b;
    }
    EXPECT_EQ(masque(0)->parentWidget()->y(), 146 - 40);
    Q_UNUSED(p);
}

TEST_F(FenetrePrincipale, FileDAttenteAuDemarrage) {
    d.ecrire("MdiTmp.Dat", QByteArray(3 * 188, ' '));
    ouvrir();
    EXPECT_EQ(controle<QPushButton>("Command3")->text(),
              QStringLiteral("&Préparer la facture suivante... ( 3 )"));
    EXPECT_TRUE(controle<QPushButton>("Command3")->isEnabled());
    EXPECT_TRUE(controle<QPushButton>("Command2")->isVisible());
}

TEST_F(FenetrePrincipale, EtatDeLaFenetreALaFermeture) {
    u.ecrire("WindowsStateOp", "7");
    ouvrir().showMinimized();
    w->close();
    EXPECT_EQ(u.lire("WindowsStateOp", {}), QStringLiteral("7"));
    ouvrir().showMaximized();
    w->close();
    EXPECT_EQ(u.lire("WindowsStateOp", {}), QStringLiteral("2"));
    ouvrir();
    EXPECT_TRUE(w->isMaximized());
    w->showNormal();
    w->close();
    EXPECT_EQ(u.lire("WindowsStateOp", {}), QStringLiteral("0"));
}

TEST_F(FenetrePrincipale, NouveauEtCouperCopierColler) {
    Principal& p = ouvrir();
    taper(texte(3), "LAVAL");
    texte(3)->selectAll();
    p.Toolbar1_ButtonClick("Couper");
    EXPECT_TRUE(texte(3)->text().isEmpty());
    taper(texte(2), "");
    p.Toolbar1_ButtonClick("Coller");
    EXPECT_EQ(texte(2)->text(), QStringLiteral("LAVAL"));
    texte(2)->selectAll();
    p.Toolbar1_ButtonClick("Copier");
    taper(texte(1), "");
    p.Toolbar1_ButtonClick("Coller");
    EXPECT_EQ(texte(1)->text(), QStringLiteral("LAVAL"));
    p.Toolbar1_ButtonClick("Nouveau");
    EXPECT_TRUE(texte(1)->text().isEmpty());
    EXPECT_TRUE(texte(2)->text().isEmpty());
}

namespace {

// Acts on the next choice window as soon as it is shown, and records its caption.
void surLaProchaineFenetre(QStringList& vues, std::function<void(frmMessageAlaSouris&)> action) {
    auto* minuterie = new QTimer;
    minuterie->setInterval(5);
    QObject::connect(minuterie, &QTimer::timeout, [minuterie, &vues, action] {
        auto* f = qobject_cast<frmMessageAlaSouris*>(QApplication::activeModalWidget());
        if (!f || !f->isVisible())
            return;
        minuterie->stop();
        minuterie->deleteLater();
        vues << f->windowTitle();
        action(*f);
    });
    minuterie->start();
}

auto clic(int bouton) {
    return [bouton](frmMessageAlaSouris& f) { QTest::mouseClick(f.Command1[bouton], Qt::LeftButton); };
}
auto touche(Qt::Key k) {
    return [k](frmMessageAlaSouris& f) { QTest::keyClick(&f, k); };
}

}  // namespace

// The choice windows as the user sees them: real modal windows over the entry window.
TEST_F(FenetrePrincipale, FenetresDeChoixReelles) {
    DialoguesQt qt;
    Principal& p = ouvrir(qt);
    qt.fixerParent(&p);
    QStringList vues;
    auto sortirDe = [&](QComboBox* c, const char* code) {
        c->setEditText(QString::fromLatin1(code));
        p.Combo1_LostFocus(c == combo(2) ? 2 : 3);
    };
    auto diagnostics = [&] {
        QStringList l;
        for (int i = 6; i <= 9; ++i)
            l << masque(i)->clipText();
        return l;
    };

    // A click on a wording button, then on a diagnostic button.
    surLaProchaineFenetre(vues, [&](frmMessageAlaSouris& f) {
        EXPECT_TRUE(f.Command1[0]->isVisible());
        EXPECT_EQ(f.Command1[1]->text(), QStringLiteral("&IMPOSSIBILITE DE POURSUIVRE L EXAMEN"));
        clic(0)(f);
        surLaProchaineFenetre(vues, clic(2));
    });
    sortirDe(combo(2), "09002");
    EXPECT_EQ(vues, (QStringList{"Code d'Acte 9002", "Suite Code d'Acte 9002"}));
    EXPECT_EQ(texte(4)->text(), QStringLiteral("PATHOLOGIE"));
    EXPECT_EQ(diagnostics(), (QStringList{"A003", "", "", ""}));
    EXPECT_EQ(label("Label2_0")->text(), QStringLiteral("001200"));

    // The I key, then Escape: nothing chosen.
    texte(4)->clear();
    masque(6)->setClipText("");
    vues.clear();
    surLaProchaineFenetre(vues, [&](frmMessageAlaSouris& f) {
        touche(Qt::Key_I)(f);
        surLaProchaineFenetre(vues, touche(Qt::Key_Escape));
    });
    sortirDe(combo(2), "09002");
    EXPECT_EQ(vues.size(), 2);
    EXPECT_EQ(texte(4)->text(), QStringLiteral("IMPOSSIBILITE DE POURSUIVRE L EXAMEN"));
    EXPECT_EQ(diagnostics(), (QStringList{"", "", "", ""}));

    // The P key appends after the existing text.
    texte(4)->setText("SUIVI ");
    vues.clear();
    surLaProchaineFenetre(vues, [&](frmMessageAlaSouris& f) {
        touche(Qt::Key_P)(f);
        surLaProchaineFenetre(vues, touche(Qt::Key_Escape));
    });
    sortirDe(combo(2), "09002");
    EXPECT_EQ(texte(4)->text(), QStringLiteral("SUIVI PATHOLOGIE"));

    // "Ok" of window 62 writes nothing; a code button fills the first empty box.
    masque(6)->setClipText("3681");
    vues.clear();
    surLaProchaineFenetre(vues, [&](frmMessageAlaSouris& f) {
        ASSERT_EQ(f.Command1.size(), 6);
        EXPECT_EQ(f.Command1[5]->text(), QStringLiteral("Ok"));
        clic(5)(f);
    });
    sortirDe(combo(3), "09019");
    EXPECT_EQ(vues, QStringList{"Code d'Acte 9019"});
    EXPECT_EQ(diagnostics(), (QStringList{"3681", "", "", ""}));
    surLaProchaineFenetre(vues, clic(1));
    sortirDe(combo(3), "09019");
    EXPECT_EQ(diagnostics(), (QStringList{"3681", "A006", "", ""}));

    // All four boxes full: the click writes nothing.
    for (int i = 6; i <= 9; ++i)
        masque(i)->setClipText(QStringLiteral("111%1").arg(i));
    surLaProchaineFenetre(vues, [&](frmMessageAlaSouris& f) {
        EXPECT_EQ(f.Command1[3]->toolTip(), QStringLiteral("Amblyopie SAI ( monoculaire )"));
        clic(3)(f);
    });
    sortirDe(combo(3), "09030");
    EXPECT_EQ(vues.last(), QStringLiteral("Code d'Acte 9030"));
    EXPECT_EQ(diagnostics(), (QStringList{"1116", "1117", "1118", "1119"}));
    EXPECT_EQ(label("Label1_27")->text(), QStringLiteral("58.00"));  // 12.00 + 46.00
}

namespace {

// "Télécomm" opens the communication window; a preparation there empties the count here.
TEST_F(FenetrePrincipale, TelecommunicationEtPreparation) {
    ValeursFacture v;
    v.etat = "05";
    QByteArray enregistrement = facture::construire(v);
    d.ecrire("Sauvramq/Ftmp.Fil", enregistrement + enregistrement);
    Principal& p = ouvrir();
    EXPECT_EQ(label("Label1_28")->text(), " 2 ");
    QAction* correction = controle<QAction>("Toolbar1_Correction");
    EXPECT_TRUE(correction->isEnabled());

    imprimantes::choisir(imprimantes::Pdf);
    bool vue = false;
    // The communication window talks to the server while it opens: act once it is shown.
    QTimer sonde;
    QObject::connect(&sonde, &QTimer::timeout, [&] {
        auto* comm = p.findChild<frmTelecommunication*>();
        if (!comm || !comm->isVisible())
            return;
        sonde.stop();
        QTimer::singleShot(0, [&, comm] {
            auto* prep = comm->findChild<frmTelePrepare*>();
            ASSERT_NE(prep, nullptr);
            vue = true;
            prep->Command1[0]->click();
            comm->bouton("Quitter")->trigger();
        });
        comm->bouton("Préparation")->trigger();
    });
    sonde.start(10);
    p.Toolbar1_ButtonClick("Télécomm");
    ASSERT_TRUE(vue);
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), QByteArray());
    EXPECT_EQ(d.lire("Reqt").size(), 163);
    EXPECT_EQ(label("Label1_28")->text(), "");
    EXPECT_EQ(p.Slider1->value(), 0);
    EXPECT_FALSE(correction->isEnabled());
}

}  // namespace

namespace {

// Menu item 4 and "Correction" warn the first time only, then open the correction window;
// "Archives" opens the archives; the count follows what they did.
TEST_F(FenetrePrincipale, HistoriqueEtArchives) {
    d.ecrire("Sauvramq/D7123407", enregistrementDe(factureDeBase()) + QByteArray(1, 26));
    Principal& p = ouvrir();
    QAction* correction = controle<QAction>("Toolbar1_Correction");
    EXPECT_FALSE(correction->isEnabled());
    QStringList ouvertes;
    QTimer sonde;  // the windows read files while they open: act once one is shown
    const auto fermerALOuverture = [&](std::function<void(QDialog*)> action) {
        sonde.disconnect();
        QObject::connect(&sonde, &QTimer::timeout, [&, action] {
            auto* f = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!f)
                return;
            sonde.stop();
            ouvertes << f->objectName();
            action(f);
            f->close();
        });
        sonde.start(10);
    };
    fermerALOuverture([](QDialog* f) {
        auto* a = qobject_cast<frmArchives*>(f);
        a->ListView2->choisir(0);
        a->ListView2_Click();
        a->bouton("kRemettre")->trigger();
    });
    p.Toolbar1_ButtonClick("Archives");
    EXPECT_EQ(label("Label1_28")->text(), " 1 ");  // put back in memory
    EXPECT_TRUE(correction->isEnabled());

    const QString attention = QStringLiteral(
        "Information | Attention !!!\n\nUne facture ne peut pas être effacée, elle peut seulement être "
        "annulée ou corrigée.\nCorrigez uniquement où il y à erreur.\nNe pas remplacer les 000000 par des "
        "espaces.\n---------------------------------------------------------------------\nIl y a peu de "
        "vérification en correction.  Travaillez PRUDEMMENT.");
    dialogues.effacer();
    dialogues.reponses = {Reponse::Ok};
    fermerALOuverture([](QDialog* f) { qobject_cast<frmHistorique*>(f)->Command1[1]->click(); });
    p.SousFichier[4]->trigger();
    fermerALOuverture([](QDialog*) {});
    correction->trigger();
    fermerALOuverture([](QDialog*) {});
    p.Toolbar1_ButtonClick("Statistiques");
    EXPECT_EQ(ouvertes, (QStringList{"frmArchives", "frmHistorique", "frmHistorique", "frmStatistique"}));
    ASSERT_EQ(dialogues.resume().size(), 3);
    EXPECT_EQ(dialogues.resume()[0], attention);
    EXPECT_TRUE(dialogues.resume()[1].startsWith("Annulation | Voulez-vous vraiment annuler la facture numéro 1 ?"));
    EXPECT_EQ(dialogues.resume()[2], "Annulation | Facture numéro 1 annulée.");
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil").left(2), "99");
    EXPECT_EQ(label("Label1_28")->text(), " 1 ");  // a cancelled invoice still counts
}

}  // namespace

namespace {

// Imported patients loaded by "Préparer la facture suivante" and by the list; each store takes
// the loaded patient off the queue, whatever moved meanwhile.
TEST_F(FenetrePrincipale, FileDAttenteDeBoutEnBout) {
    const QByteArray tremblay11 = "TREM80011514;Marc;Tremblay;1;427;19800115;M;123 rue Principale;St-Olvane;H2X1Y4;20261204;11\n";
    const QByteArray gagnon = "GAGE85523027;Eve;Gagnon;2;531;19850228;F;4 rang Erable;Levis;G6V4Z2;20261203;22\n";
    const QByteArray lavoie = "LAVP15070412;Paul;Lavoie;3;1028;19150704;M;1 rue A;Ville;J0J1J0;20261202;33\n";
    const QByteArray tremblay44 = "TREM80011514;Marc;Tremblay;1;427;19800115;M;9 rue B;St-Olvane;H2X1Y4;20261201;44\n";
    d.ecrire("PavoRamq.Txt", tremblay11 + gagnon + lavoie + tremblay44);
    Principal& p = ouvrir();
    const auto file = [&] {
        QStringList dossiers;
        for (const filepatients::EnFile& e : filepatients::tous(d.chemin()))
            dossiers << filepatients::rangee(e)[0];
        return dossiers;
    };
    const auto facturer = [&] {
        taper(masque(6), "3784");
        taper(combo(2), "9001");
        quitter(combo(2));
        dialogues.effacer();
        cliquer(controle<QPushButton>("Command1"));
    };
    cliquer(p.Command2);
    EXPECT_EQ(dialogues.resume(), QStringList{"Importation de fichier |  4 noms ont été importés pour préparation de factures"});
    EXPECT_EQ(p.Command3->text(), "&Préparer la facture suivante... ( 4 )");

    cliquer(p.Command3);
    EXPECT_EQ(masque(0)->clipText(), "TREM80011514");
    EXPECT_EQ(texte(2)->text(), "123 RUE PRINCIPALE");
    EXPECT_EQ(masque(5)->clipText(), "20261206");  // PavoConserveDate: the date of service stays
    EXPECT_TRUE(p.Command4->isEnabled());
    facturer();
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil").mid(22, 12), "TREM80011514");
    EXPECT_EQ(file(), (QStringList{"22", "33", "44"}));
    EXPECT_EQ(p.Command3->text(), "&Préparer la facture suivante... ( 3 )");

    // The list: record 3 loaded, then record 1 withdrawn, then the store.
    QTimer sonde;
    std::function<void(frmListeEnMem*)> action;
    QObject::connect(&sonde, &QTimer::timeout, [&] {
        if (auto* l = qobject_cast<frmListeEnMem*>(QApplication::activeModalWidget())) {
            sonde.stop();
            action(l);
        }
    });
    action = [](frmListeEnMem* l) {
        EXPECT_EQ(l->ListView1->texte(2, 4), "2026/12/01");
        l->ListView1->choisir(2);
        l->ListView1_DblClick();
    };
    const auto liste = [&] {
        sonde.start(10);
        cliquer(p.Command5);
        QApplication::setActiveWindow(&p);  // back from the modal list, as a user is
        ASSERT_TRUE(QTest::qWaitForWindowActive(&p));
    };
    liste();
    EXPECT_EQ(texte(2)->text(), "9 RUE B");
    EXPECT_EQ(masque(5)->clipText(), "20261201");  // the list always takes the examination date
    action = [&](frmListeEnMem* l) {
        dialogues.effacer();
        dialogues.reponses = {Reponse::Oui};
        l->ListView1->choisir(0);
        l->ListView1_Retirer();
        EXPECT_EQ(dialogues.resume(), QStringList{"Suppression | Veuillez confirmer le retrait de \nGAGE85523027\n"
                                                  "Dossier: 22\nGagnon Eve"});
        EXPECT_EQ(l->ListView1->nombre(), 2);
        l->Command1->click();
    };
    liste();
    EXPECT_EQ(file(), (QStringList{"33", "44"}));
    facturer();
    EXPECT_EQ(file(), QStringList{"33"});
    EXPECT_EQ(p.Command3->text(), "&Préparer la facture suivante... ( 1 )");

    // "Annuler ce NOM": every entry of the NAM leaves.
    d.ecrire("MdiTmp.Dat", {});
    d.ecrire("PavoRamq.Txt", tremblay11 + lavoie + tremblay44);
    cliquer(p.Command2);
    cliquer(p.Command3);
    cliquer(p.Command4);
    EXPECT_EQ(file(), QStringList{"33"});
    EXPECT_EQ(masque(0)->clipText(), "");
    EXPECT_FALSE(p.Command4->isEnabled());
    EXPECT_EQ(p.Command3->text(), "&Préparer la facture suivante... ( 1 )");
}

// With the patient-record database: the NAM fills the window; the store updates that record
// only while the NAM on screen is the one loaded.
TEST_F(FenetrePrincipale, DossierPatientDeBoutEnBout) {
    u.ecrire("UtiliseDossierPatient", "OUI");
    patients::Patient marc{"TREM80011514", "TREMBLAY", "MARC", "19800115", "M", "5 RUE DU QUAI",
                           "ST-OLVANE", "H2X 1Y4", "0427", "01", "20250101"};
    const QByteArray fiche = patients::enregistrement(marc, '\x81');
    patients::creer(d.chemin(), {fiche});
    ouvrir();
    taper(masque(0), "trem80011514");
    quitter(masque(0));
    EXPECT_EQ(texte(0)->text(), "TREMBLAY");
    EXPECT_EQ(texte(1)->text(), "MARC");
    EXPECT_EQ(masque(2)->clipText(), "H2X1Y4");
    // Leaving the same NAM again keeps the user's corrections.
    texte(1)->setText("MARCO");
    masque(0)->setFocus();
    quitter(masque(0));
    EXPECT_EQ(texte(1)->text(), "MARCO");
    taper(masque(6), "3784");
    taper(combo(2), "9001");
    quitter(combo(2));
    cliquer(controle<QPushButton>("Command1"));
    ASSERT_EQ(d.lire("Sauvramq/Ftmp.Fil").size(), 723);
    const QByteArray apres = d.lire("Patient/KPDBFIL.FIL");
    EXPECT_EQ(apres.mid(dossierpatient::Dernier09001.colonne - 1, 8), "20261206");
    EXPECT_EQ(apres.mid(dossierpatient::DateRappel.colonne - 1, 8), "20271206");

    // Loaded, then another NAM typed that the database does not hold: the store leaves it alone.
    taper(masque(0), "trem80011514");
    quitter(masque(0));
    masque(0)->setFocus();
    masque(0)->selectAll();
    taper(masque(0), "gage85523027");
    dialogues.effacer();
    quitter(masque(0));
    EXPECT_TRUE(dialogues.resume().join('\n').contains("Recherche | Aucune personne au fichier patient"));
    taper(masque(6), "3784");
    taper(combo(2), "9001");
    quitter(combo(2));
    masque(5)->setClipText("20261205");
    cliquer(controle<QPushButton>("Command1"));
    ASSERT_EQ(d.lire("Sauvramq/Ftmp.Fil").size(), 2 * 723);
    EXPECT_EQ(d.lire("Patient/KPDBFIL.FIL"), apres);
}

// Controls keep their proportions: twice the width doubles every x and width; the design size
// gives the design places back exactly, also for a window first shown at another size.
TEST_F(FenetrePrincipale, RedimensionnementProportionnel) {
    QWidget zone;
    auto* a = new QPushButton("a", &zone);
    a->setGeometry(10, 20, 30, 40);
    auto* cadre = new QGroupBox("cadre", &zone);
    cadre->setGeometry(100, 50, 200, 100);
    auto* b = new QLabel("b", cadre);
    b->setGeometry(7, 9, 51, 13);
    b->setFixedWidth(51);
    new Redimensionnement(&zone, QSize(400, 300));
    zone.resize(800, 300);
    zone.show();
    EXPECT_EQ(a->geometry(), QRect(20, 20, 60, 40));
    EXPECT_EQ(cadre->geometry(), QRect(200, 50, 400, 100));
    EXPECT_EQ(b->geometry(), QRect(14, 9, 102, 13));
    zone.resize(333, 157);
    zone.resize(400, 300);
    EXPECT_EQ(a->geometry(), QRect(10, 20, 30, 40));
    EXPECT_EQ(b->geometry(), QRect(7, 9, 51, 13));
    zone.resize(0, 0);  // nothing to scale from or to: nothing moves, nothing divides by zero
    EXPECT_EQ(a->geometry(), QRect(10, 20, 30, 40));

    Principal& p = ouvrir();
    QWidget* centre = p.centralWidget();
    const QList<QWidget*> controles = {p.Command1, masque(0), p.Label3[5], combo(2), p.Command3, texte(4)};
    QList<QRect> conception;
    for (QWidget* c : controles)
        conception << c->geometry();
    const QSize design = centre->size();
    p.resize(p.width() + design.width(), p.height());
    QApplication::processEvents();
    ASSERT_EQ(centre->size(), QSize(2 * design.width(), design.height()));
    for (int i = 0; i < controles.size(); ++i) {
        const QRect r = controles[i]->geometry();
        EXPECT_EQ(r, QRect(2 * conception[i].x(), conception[i].y(), 2 * conception[i].width(), conception[i].height()))
            << qPrintable(controles[i]->objectName());
    }
    p.resize(p.width() - design.width(), p.height());
    QApplication::processEvents();
    for (int i = 0; i < controles.size(); ++i)
        EXPECT_EQ(controles[i]->geometry(), conception[i]) << qPrintable(controles[i]->objectName());
}

}  // namespace

namespace {

// The patient part of an invoice put straight into the boxes, with the focus in act box 1.
void patientDansLesBoites(Principal& p) {
    p.MaskEdBox1[0]->setClipText("TREM80011514");
    p.Text1[0]->setText("TREMBLAY");
    p.Text1[1]->setText("JEAN");
    p.MaskEdBox1[5]->setClipText("20261204");
    p.MaskEdBox1[6]->setClipText("3784");
    for (int i = 0; i < 2; ++i) {  // the NAM box's work, if it had the focus, moves it on
        p.Combo1[2]->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
    }
}

}  // namespace

// The travel amount as a user types it: the box opens the moment the code is complete, before
// the key the user meant for the entry window arrives. Tab never moves its focus off the text;
// Alt+E never types an "e" in it: the amount is asked once and the invoice is stored after it.
TEST_F(FenetrePrincipale, MontantDeDeplacementAuClavier) {
    DialoguesReels port;
    Principal& p = ouvrir(port);
    port.qt.fixerParent(&p);
    const auto saisies = [&] {
        int n = 0;
        for (const auto& a : port.appels)
            n += a.genre == DialoguesScriptes::Appel::Genre::Saisie;
        return n;
    };
    const struct {
        const char* voie;
        const char* code;
        const char* montant;
        std::function<void(Clavier&)> apresLeCode;  // the key meant for the entry window
        bool enregistreeParLaTouche;
        const char* ligne;
    } cas[] = {
        {"Tab", "9015", "17.20", [](Clavier& c) { c.touche(Qt::Key_Tab); }, false, "3784 09015001720"},
        {"Alt+E", "9016", "25.80", [](Clavier& c) { c.touche(Qt::Key_E, Qt::AltModifier); }, true,
         "3784 09016002580"},
        {"Maj+Tab", "9015", "1720", [](Clavier& c) { c.touche(Qt::Key_Backtab, Qt::ShiftModifier); }, false,
         "3784 09015001720"},
    };
    int stockees = 0;
    for (const auto& k : cas) {
        SCOPED_TRACE(k.voie);
        patientDansLesBoites(p);
        port.effacer();
        Clavier clavier;
        clavier.taper(k.code);
        k.apresLeCode(clavier);
        clavier.taper(k.montant).touche(Qt::Key_Return);
        if (!k.enregistreeParLaTouche)
            clavier.touche(Qt::Key_E, Qt::AltModifier);
        EXPECT_TRUE(clavier.jouer()) << qPrintable(port.resume().join('\n'));
        EXPECT_EQ(saisies(), 1) << qPrintable(port.resume().join('\n'));
        const QByteArray ftmp = d.lire("Sauvramq/Ftmp.Fil");
        ASSERT_EQ(ftmp.size(), ++stockees * 723) << qPrintable(port.resume().join('\n'));
        EXPECT_EQ(ftmp.right(723).mid(241, 16), QByteArray(k.ligne));
        EXPECT_EQ(ftmp.right(723).mid(305, 6), QByteArray(k.ligne).right(6));
        EXPECT_TRUE(port.resume().last().startsWith(QStringLiteral("Sauvagarde | La facture # %1").arg(stockees)));
    }

    // Escape in the amount box: never an invoice stored at 0.00, whenever Alt+E was typed; the
    // invoice stays on screen and leaving the box asks the amount again.
    const struct {
        const char* voie;
        std::function<void(Clavier&)> jusquALaBoite;
    } annulations[] = {
        {"Alt+E, la boîte ouverte", [](Clavier& c) { c.taper("9016").touche(Qt::Key_E, Qt::AltModifier); }},
        {"Alt+E, le code choisi dans la liste", [](Clavier& c) {
             for (int i = 0; i < 15; ++i)
                 c.touche(Qt::Key_Down);  // 09015, the focus still in the box
             c.touche(Qt::Key_E, Qt::AltModifier);
         }},
    };
    for (const auto& a : annulations) {
        SCOPED_TRACE(a.voie);
        p.ViderFormulaire();
        patientDansLesBoites(p);
        port.effacer();
        Clavier clavier;
        a.jusquALaBoite(clavier);
        clavier.attendreUneFenetre().touche(Qt::Key_Escape);
        EXPECT_TRUE(clavier.jouer());
        EXPECT_EQ(saisies(), 1);
        EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil").size(), stockees * 723) << qPrintable(port.resume().join('\n'));
        EXPECT_EQ(p.Text1[0]->text(), "TREMBLAY");
    }
    port.effacer();
    p.Combo1[2]->setFocus(Qt::MouseFocusReason);
    Clavier encore;
    encore.touche(Qt::Key_Tab).taper("17.20").touche(Qt::Key_Return);
    EXPECT_TRUE(encore.jouer());
    EXPECT_EQ(saisies(), 1);
    EXPECT_EQ(p.Label2[0]->text(), "001720");
}

// Every choice window opens on its first choice, even when the Tab the user pressed to leave
// the act box arrives after it opened; Escape closes it without a choice.
TEST_F(FenetrePrincipale, FenetresDeChoixOuvertesSurLeurPremierChoix) {
    DialoguesReels port;
    Principal& p = ouvrir(port);
    port.qt.fixerParent(&p);
    const struct {
        const char* code;
        QStringList fenetres;
    } cas[] = {
        {"9002", {"Code d'Acte 9002", "Suite Code d'Acte 9002"}}, {"9003", {"Code d'Acte 9003"}},
        {"9005", {"Code d'Acte 9005"}}, {"9008", {"Code d'Acte 9008"}}, {"9010", {"Code d'Acte 9010"}},
        {"9012", {"Code d'Acte 9012"}}, {"9019", {"Code d'Acte 9019"}}, {"9020", {"Code d'Acte 9020"}},
        {"9030", {"Code d'Acte 9030"}},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.code);
        p.ViderFormulaire();
        p.Combo1[2]->setFocus(Qt::MouseFocusReason);
        QStringList vues, focus;
        const auto regarder = [&] {
            auto* f = qobject_cast<frmMessageAlaSouris*>(QApplication::activeModalWidget());
            vues << (f ? f->windowTitle() : QString());
            focus << (f && f->focusWidget() ? f->focusWidget()->objectName() : QString());
        };
        Clavier clavier;
        clavier.taper(k.code).touche(Qt::Key_Tab).puis(regarder).touche(Qt::Key_Escape);
        if (k.fenetres.size() > 1)
            clavier.touche(Qt::Key_Tab).puis(regarder).touche(Qt::Key_Escape);
        EXPECT_TRUE(clavier.jouer());
        EXPECT_EQ(vues, k.fenetres);
        EXPECT_EQ(focus, QStringList(k.fenetres.size(), QStringLiteral("Command1_0")));
        for (int i = 6; i <= 9; ++i)
            EXPECT_TRUE(p.MaskEdBox1[i]->clipText().isEmpty()) << i;  // nothing was chosen
    }
}

// A queued patient found by typing the start of the NAM: the insured-age warning as for a typed
// one, the accented names cleaned so that the store accepts them, a box of blanks stored as no
// act; and the count follows Ftmp.Fil when the window gets the focus back.
TEST_F(FenetrePrincipale, PatientEnFileTapeEtCompteAuRetour) {
    d.ecrire("PavoRamq.Txt", "GAGM75531213;\xC9lise;C\xF4t\xE9;1;427;19750312;F;1 rue A;Ville;H2X1Y4;20261204;11\n");
    Principal& p = ouvrir();
    p.Command2_Click();
    p.MaskEdBox1[5]->setClipText("20261205");
    dialogues.effacer();
    taper(masque(0), "gagm");
    quitter(masque(0));
    EXPECT_EQ(texte(0)->text(), "COTE");
    EXPECT_EQ(texte(1)->text(), "ELISE");
    ASSERT_EQ(dialogues.boites().size(), 1) << qPrintable(dialogues.resume().join('\n'));
    EXPECT_EQ(dialogues.boites()[0].titre, "Assurance");
    EXPECT_TRUE(dialogues.boites()[0].texte.contains("Cette personne a  52 ans."));
    EXPECT_EQ(QApplication::focusWidget(), combo(2));
    EXPECT_EQ(masque(5)->clipText(), "20261205");  // PavoConserveDate absent: the date is kept
    taper(combo(2), "9001");
    taper(combo(3), "   ");
    masque(6)->setClipText("3784");
    dialogues.effacer();
    cliquer(controle<QPushButton>("Command1"));
    ASSERT_TRUE(dialogues.resume().value(0).startsWith("Sauvagarde | La facture # 1\nde ELISE COTE"))
        << qPrintable(dialogues.resume().join('\n'));
    const QByteArray r = d.lire("Sauvramq/Ftmp.Fil");
    EXPECT_EQ(r.mid(34, 50), QByteArray("ELISE").leftJustified(20) + QByteArray("COTE").leftJustified(30));
    EXPECT_EQ(r.mid(257, 16), QByteArray("     00000000000"));

    // Another workstation stores two invoices; the count shows them when the focus comes back.
    d.ecrire("Sauvramq/Ftmp.Fil", r + r + r);
    QDialog autre;
    autre.show();
    QApplication::setActiveWindow(&autre);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&autre));
    autre.close();
    QApplication::setActiveWindow(&p);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p));
    EXPECT_EQ(label("Label1_28")->text(), " 3 ");
}

// From the NAM box where the window opens, the next patient of the queue loads the same way by
// a click or by Alt+P: in the first diagnostic box, without the NAM box's work run again on the
// NAM loaded (no insured-age warning, which no click gives). The Édition menu cuts, copies and
// pastes in an act box as in a text box.
TEST_F(FenetrePrincipale, AuClavierCommeALaSouris) {
    d.ecrire("PavoRamq.Txt", "GAGM75531213;Marie;Gagnon;1;427;19750312;F;1 rue A;Ville;H2X1Y4;20261204;11\n");
    Principal& p = ouvrir();
    p.Command2_Click();
    const struct {
        const char* facon;
        std::function<void(Clavier&)> charger;
    } facons[] = {
        {"souris", [&](Clavier& c) { c.puis([&] { cliquer(p.Command3); }); }},
        {"Alt+P", [&](Clavier& c) { c.touche(Qt::Key_P, Qt::AltModifier); }},
    };
    for (const auto& f : facons) {
        SCOPED_TRACE(f.facon);
        p.SousFichier_Click(0);
        p.MaskEdBox1[0]->setFocus(Qt::OtherFocusReason);
        dialogues.effacer();
        Clavier clavier;
        f.charger(clavier);
        clavier.touche(Qt::Key_Tab);
        EXPECT_TRUE(clavier.jouer());
        EXPECT_EQ(texte(0)->text(), "GAGNON");
        EXPECT_EQ(dialogues.resume(), QStringList());
        EXPECT_EQ(QApplication::focusWidget(), masque(7));
    }

    // Cut from act box 1, pasted in act box 2, copied back into box 1 by the menu's keys.
    const auto vers = [&](QComboBox* acte) {
        QApplication::setActiveWindow(&p);
        acte->setFocus(Qt::MouseFocusReason);
    };
    vers(combo(2));
    combo(2)->setEditText("09001");
    combo(2)->lineEdit()->selectAll();
    Clavier clavier;
    clavier.touche(Qt::Key_D, Qt::AltModifier).touche(Qt::Key_P).puis([&] {
        EXPECT_EQ(combo(2)->currentText(), "");
        vers(combo(3));
    });
    clavier.touche(Qt::Key_D, Qt::AltModifier).touche(Qt::Key_O).puis([&] {
        EXPECT_EQ(combo(3)->currentText(), "09001");
        vers(combo(3));
        combo(3)->lineEdit()->selectAll();
    });
    clavier.touche(Qt::Key_D, Qt::AltModifier).touche(Qt::Key_C).puis([&] { vers(combo(2)); });
    clavier.touche(Qt::Key_D, Qt::AltModifier).touche(Qt::Key_O);
    EXPECT_TRUE(clavier.jouer());
    EXPECT_EQ(combo(2)->currentText(), "09001");
}

// A NAM typed and left with Tab fills in the birth date and sex it holds, and the insured-age
// warning is told for that date as for one typed; a birth date already typed is left as it is,
// and so is the sex chosen with it; a NAM corrected over the date it filled fills in its own.
TEST_F(FenetrePrincipale, NaissanceEtSexeDuNam) {
    Principal& p = ouvrir();
    const struct {
        const char* nam;
        const char* naissanceAvant;  // nullptr: what the NAM typed before it filled in
        bool masculinAvant;
        const char* naissance;
        bool masculin;
        int age;  // the age warned of, 0 for none
    } cas[] = {
        {"GAGM75531213", "", true, "19750312", false, 52},
        {"TREM80011514", "", false, "19800115", true, 47},  // after a woman
        {"LAVP15070410", "", false, "20150704", true, 0},
        {"ROYM25610138", "19990101", true, "19990101", true, 28},
        {"GAGM75531213", nullptr, true, "19750312", false, 52},  // typed over a man's NAM
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.nam);
        p.SousFichier_Click(0);
        if (k.naissanceAvant) {
            p.MaskEdBox1[1]->setClipText(k.naissanceAvant);
            p.Option1[k.masculinAvant ? 0 : 1]->setChecked(true);
        } else {
            Clavier avant;
            EXPECT_TRUE(avant.puis([&] { p.MaskEdBox1[0]->setFocus(Qt::MouseFocusReason); })
                            .taper("ROYM80011515").touche(Qt::Key_Tab).jouer());
            EXPECT_EQ(p.MaskEdBox1[1]->clipText(), "19800115");
            p.MaskEdBox1[0]->setClipText("");
        }
        p.Text1[0]->setFocus(Qt::MouseFocusReason);  // the window opens in the NAM box
        p.MaskEdBox1[0]->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        dialogues.effacer();
        Clavier clavier;
        clavier.taper(k.nam).touche(Qt::Key_Tab);
        EXPECT_TRUE(clavier.jouer()) << qPrintable(dialogues.resume().join('\n'));
        EXPECT_EQ(p.MaskEdBox1[1]->clipText(), k.naissance);
        EXPECT_EQ(p.Option1[0]->isChecked(), k.masculin);
        const QStringList avertissements = dialogues.resume().filter("Assurance | ");
        EXPECT_EQ(avertissements.size(), k.age ? 1 : 0) << qPrintable(dialogues.resume().join('\n'));
        if (k.age) {
            EXPECT_TRUE(avertissements.value(0).contains(QStringLiteral("Cette personne a  %1 ans.").arg(k.age)))
                << qPrintable(avertissements.value(0));
        }
    }
}

// A birth date or sex that the NAM contradicts is told once per invoice, before the store:
// "Non" keeps the invoice on screen in the birth date box, and the next store goes on unasked
// while the values stay those told; "Oui" stores at once. Jean's NAM TREM80011514 holds a man
// born 1980-01-15.
TEST_F(FenetrePrincipale, DesaccordAvecLeNamDitUneFoisParFacture) {
    Principal& p = ouvrir();
    const struct {
        const char* cas;
        bool masculin;
        const char* naissance;
        std::deque<Reponse> reponses;
        int alt;        // stores asked
        int questions;  // warnings told
        const char* ensuite = nullptr;  // the birth date typed after the first "Non"
    } cas[] = {
        {"d'accord", true, "19800115", {}, 1, 0},
        {"le sexe, Non puis Alt+E", false, "19800115", {Reponse::Non}, 2, 1},
        {"la date, Non puis Alt+E", true, "19800116", {Reponse::Non}, 2, 1},
        {"les deux, Oui", false, "20800116", {Reponse::Oui}, 1, 1},
        {"la date, Non, une autre date fausse", true, "19800116", {Reponse::Non, Reponse::Non}, 3, 2, "19800117"},
    };
    int stockees = 0;
    for (const auto& k : cas) {
        SCOPED_TRACE(k.cas);
        taperPatient();
        p.MaskEdBox1[1]->setClipText(k.naissance);
        p.Option1[k.masculin ? 0 : 1]->setChecked(true);
        dialogues.effacer();
        dialogues.reponses = k.reponses;
        for (int i = 0; i < k.alt; ++i) {
            Clavier clavier;
            EXPECT_TRUE(clavier.touche(Qt::Key_E, Qt::AltModifier).jouer());
            if (i + 1 < k.alt) {
                EXPECT_EQ(QApplication::focusWidget(), p.MaskEdBox1[1]);
            }
            if (i == 0 && k.ensuite)
                p.MaskEdBox1[1]->setClipText(k.ensuite);
        }
        int questions = 0;
        for (const auto& b : dialogues.boites())
            questions += b.titre == QStringLiteral("Date de naissance et sexe");
        EXPECT_EQ(questions, k.questions) << qPrintable(dialogues.resume().join('\n'));
        EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil").size(), ++stockees * 723) << qPrintable(dialogues.resume().join('\n'));
    }
}

