#include "entry/Principal.h"
#include "platform/MaskEdBox.h"
#include "platform/horloge.h"
#include "platform/reglages.h"
#include "support/clavier.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/textesfenetre.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// The access keys (Alt+letter) a window answers: its visible buttons and labels, its menu titles
// and the Alt shortcuts of its actions. Two commands on one key are a fault.
QStringList touchesEnDouble(QWidget* fenetre) {
    QMap<QString, QStringList> par;
    const auto ajouter = [&](const QString& texte, const QString& qui) {
        const QKeySequence m = QKeySequence::mnemonic(texte);
        if (!m.isEmpty())
            par[m.toString()] << qui;
    };
    for (QWidget* w : fenetre->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(fenetre) || w->window() != fenetre)
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            ajouter(b->text(), b->objectName());
        else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy())
            ajouter(l->text(), l->objectName());
        else if (auto* o = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < o->count(); ++i)
                ajouter(o->tabText(i), o->tabText(i));
    }
    for (QMenuBar* barre : fenetre->findChildren<QMenuBar*>())
        for (QAction* a : barre->actions())
            ajouter(a->text(), a->text());
    for (QAction* a : fenetre->findChildren<QAction*>())
        if (a->shortcut()[0].keyboardModifiers() == Qt::AltModifier && a->shortcut().count() == 1)
            par[a->shortcut().toString()] << a->objectName();
    QStringList doubles;
    for (auto i = par.cbegin(); i != par.cend(); ++i)
        if (QSet<QString>(i.value().begin(), i.value().end()).size() > 1)
            doubles << i.key() + QStringLiteral(": ") + i.value().join(QStringLiteral(", "));
    return doubles;
}

class FenetresAuClavier : public ::testing::Test {
protected:
    void SetUp() override {
        Horloge::fixer(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
        d.ecrire("Kestrova.Cfg", donnees("Kestrova.Cfg.defaut"));
        d.ecrire("Facturat.Lex", "R7123400D71234000000000000000000000000");
        d.ecrire("Sauvramq/Ftmp.Fil", enregistrementDe(factureDeBase()).repeated(2));
        d.ecrire("PavoRamq.Txt", "GAGM75531213;Marie;Gagnon;1;427;19750312;F;1 rue A;Ville;H2X1Y4;20261204;11\n");
        u.ecrire("UtiliseDossierPatient", "NON");
    }
    void TearDown() override { Horloge::liberer(); }

    DossierTemporaire d;
    DialoguesScriptes dialogues;
    ReglagesUtilisateur u;
};

}  // namespace

// From the entry window, by keys alone, every window opens and closes with Escape, back to the
// entry window. Each one speaks French and gives each access key to one command only.
TEST_F(FenetresAuClavier, ChaqueFenetreSOuvreEtSeFermeAuClavier) {
    Principal p(d.chemin(), dialogues, u);
    ASSERT_TRUE(p.Form_Load());
    p.afficher();
    QApplication::setActiveWindow(&p);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p));
    // The optometrist and the point of service are chosen: the NAM is typed at once.
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(p.MaskEdBox1[0]));
    EXPECT_EQ(touchesEnDouble(&p), QStringList());
    EXPECT_EQ(motsAnglais(textesDe(&p)), QStringList());

    using Touches = std::function<void(Clavier&)>;
    const struct {
        const char* touches;
        Touches aller;
        QStringList fenetres;  // opened one in the other
    } chemins[] = {
        {"Alt+F I", [&](Clavier& c) { c.touche(Qt::Key_F, Qt::AltModifier).touche(Qt::Key_I); }, {"Initial"}},
        {"Ctrl+H", [&](Clavier& c) { c.touche(Qt::Key_H, Qt::ControlModifier); }, {"frmHistorique"}},
        {"Alt+F H", [&](Clavier& c) { c.touche(Qt::Key_F, Qt::AltModifier).touche(Qt::Key_H); }, {"frmHistorique"}},
        {"Alt+F S, Alt+M", [&](Clavier& c) {
             c.touche(Qt::Key_F, Qt::AltModifier).touche(Qt::Key_S).attendreUneFenetre("frmStatistique");
             c.touche(Qt::Key_M, Qt::AltModifier);
         }, {"frmStatistique", "frmStatMensuelle"}},
        {"Alt+F T", [&](Clavier& c) { c.touche(Qt::Key_F, Qt::AltModifier).touche(Qt::Key_T); }, {"frmTendances"}},
        {"Alt+F S, Alt+T", [&](Clavier& c) {
             c.touche(Qt::Key_F, Qt::AltModifier).touche(Qt::Key_S).attendreUneFenetre("frmStatistique");
             c.touche(Qt::Key_T, Qt::AltModifier);
         }, {"frmStatistique", "frmTendances"}},
        {"Alt+R A", [&](Clavier& c) { c.touche(Qt::Key_R, Qt::AltModifier).touche(Qt::Key_A); }, {"frmArchives"}},
        {"Alt+R T, Alt+P", [&](Clavier& c) {
             c.touche(Qt::Key_R, Qt::AltModifier).touche(Qt::Key_T).attendreUneFenetre("frmTelecommunication");
             c.touche(Qt::Key_P, Qt::AltModifier);
         }, {"frmTelecommunication", "frmTelePrepare"}},
        {"Ctrl+T, Entrée", [&](Clavier& c) {  // the focus on the first button: Préparation
             c.touche(Qt::Key_T, Qt::ControlModifier).attendreUneFenetre("frmTelecommunication");
             c.touche(Qt::Key_Return);
         }, {"frmTelecommunication", "frmTelePrepare"}},
        {"Ctrl+T, Tab Espace, Alt+L", [&](Clavier& c) {
             c.touche(Qt::Key_T, Qt::ControlModifier).attendreUneFenetre("frmTelecommunication");
             c.touche(Qt::Key_Tab).touche(Qt::Key_Space).attendreUneFenetre("frmTransmettre");
             c.touche(Qt::Key_L, Qt::AltModifier);
         }, {"frmTelecommunication", "frmTransmettre", "frmListeDesFacturations"}},
        {"Ctrl+T, Alt+C", [&](Clavier& c) {
             c.touche(Qt::Key_T, Qt::ControlModifier).attendreUneFenetre("frmTelecommunication");
             c.touche(Qt::Key_C, Qt::AltModifier);
         }, {"frmTelecommunication", "frmRetourErreur"}},
        {"Ctrl+T, Alt+O M", [&](Clavier& c) {
             c.touche(Qt::Key_T, Qt::ControlModifier).attendreUneFenetre("frmTelecommunication");
             c.touche(Qt::Key_O, Qt::AltModifier).touche(Qt::Key_M);
         }, {"frmTelecommunication", "frmRetourEtatCmpt"}},
        {"Ctrl+T, Alt+R", [&](Clavier& c) {
             c.touche(Qt::Key_T, Qt::ControlModifier).attendreUneFenetre("frmTelecommunication");
             c.touche(Qt::Key_R, Qt::AltModifier);
         }, {"frmTelecommunication", "frmPrecedenteFact"}},
        {"Alt+R S", [&](Clavier& c) { c.touche(Qt::Key_R, Qt::AltModifier).touche(Qt::Key_S); }, {"frmSuiviFactures"}},
        {"Alt+F A", [&](Clavier& c) { c.touche(Qt::Key_F, Qt::AltModifier).touche(Qt::Key_A); }, {"frmSauvegarde"}},
        {"Alt+F U", [&](Clavier& c) { c.touche(Qt::Key_F, Qt::AltModifier).touche(Qt::Key_U); }, {"frmRestauration"}},
        {"Ctrl+T, Alt+S", [&](Clavier& c) {
             c.touche(Qt::Key_T, Qt::ControlModifier).attendreUneFenetre("frmTelecommunication");
             c.touche(Qt::Key_S, Qt::AltModifier);
         }, {"frmTelecommunication", "frmSuiviFactures"}},
        {"Alt+V, Alt+L", [&](Clavier& c) {  // the import's count shown first, as the user sees it
             c.touche(Qt::Key_V, Qt::AltModifier).pause(300).touche(Qt::Key_L, Qt::AltModifier);
         }, {"frmListeEnMem"}},
    };
    for (const auto& chemin : chemins) {
        SCOPED_TRACE(chemin.touches);
        QStringList ouvertes;
        Clavier clavier;
        chemin.aller(clavier);
        clavier.attendreUneFenetre(chemin.fenetres.last()).puis([&] {
            // Every window of the way, from the first to the one on top.
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && w != &p && qobject_cast<QDialog*>(w) && !w->objectName().isEmpty())
                    ouvertes << w->objectName();
            QWidget* dessus = QApplication::activeModalWidget();
            EXPECT_EQ(touchesEnDouble(dessus), QStringList()) << qPrintable(dessus->objectName());
            EXPECT_EQ(motsAnglais(textesDe(dessus)), QStringList()) << qPrintable(dessus->objectName());
        });
        for (int i = 0; i < chemin.fenetres.size(); ++i)
            clavier.touche(Qt::Key_Escape);
        EXPECT_TRUE(clavier.jouer()) << qPrintable(dialogues.resume().join('\n'));
        ouvertes.sort();
        QStringList attendues = chemin.fenetres;
        attendues.sort();
        EXPECT_EQ(ouvertes, attendues);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        for (QWidget* w : QApplication::topLevelWidgets())
            EXPECT_FALSE(w->isVisible() && qobject_cast<QDialog*>(w)) << qPrintable(w->objectName());
        dialogues.effacer();
    }
}

// What a list window does on a right click, the keyboard asks with Delete or Shift+F10 on the
// current row: the withdrawal of a waiting patient, the removal of a sending from the log.
TEST_F(FenetresAuClavier, LeBoutonDroitDesListesAuClavier) {
    d.ecrire("Sauvramq/LstEnvoie.Dat", QByteArray("R71234016034042000012  $ 123.452026120609:30:05").leftJustified(201, ' '));
    Principal p(d.chemin(), dialogues, u);
    ASSERT_TRUE(p.Form_Load());
    p.afficher();
    QApplication::setActiveWindow(&p);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p));
    p.Command2_Click();
    using Touches = std::function<void(Clavier&)>;
    const Touches versLaFile = [](Clavier& c) {
        c.touche(Qt::Key_L, Qt::AltModifier).attendreUneFenetre("frmListeEnMem");
    };
    const Touches versLeJournal = [](Clavier& c) {
        c.touche(Qt::Key_T, Qt::ControlModifier).attendreUneFenetre("frmTelecommunication");
        c.touche(Qt::Key_T, Qt::AltModifier).attendreUneFenetre("frmTransmettre");
        c.touche(Qt::Key_L, Qt::AltModifier).attendreUneFenetre("frmListeDesFacturations");
    };
    const struct {
        const char* cas;
        Touches aller;
        Qt::Key cle;
        Qt::KeyboardModifiers modificateurs;
        QStringList titres;  // the question answered No or Cancel, after what the way there told
        int fenetres;        // closed with Escape afterwards
    } cas[] = {
        {"file, Suppr", versLaFile, Qt::Key_Delete, Qt::NoModifier, {"Suppression"}, 1},
        {"file, Maj+F10", versLaFile, Qt::Key_F10, Qt::ShiftModifier, {"Suppression"}, 1},
        {"journal, Suppr", versLeJournal, Qt::Key_Delete, Qt::NoModifier, {"Message", "Effacer"}, 3},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.cas);
        dialogues.effacer();
        dialogues.reponses = {k.titres.last() == "Effacer" ? Reponse::Annuler : Reponse::Non};
        Clavier clavier;
        k.aller(clavier);
        clavier.touche(Qt::Key_Down).touche(Qt::Key_Space).touche(k.cle, k.modificateurs);
        for (int i = 0; i < k.fenetres; ++i)
            clavier.touche(Qt::Key_Escape);
        EXPECT_TRUE(clavier.jouer()) << qPrintable(dialogues.resume().join('\n'));
        QStringList titres;
        for (const auto& b : dialogues.boites())
            titres << b.titre;
        EXPECT_EQ(titres, k.titres) << qPrintable(dialogues.resume().join('\n'));
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

// An access key clicks its button while its key is being handled, with no 100 ms shown pressed
// first, and once however long it is held down; Enter clicks the button that has the focus. An
// access key two buttons share only moves the focus, and a disabled button answers none.
TEST(BoutonsAuClavier, UneCleDAccesCliqueSurLeChamp) {
    QDialog w;
    auto* champ = new QLineEdit(&w);
    auto* enregistrer = new QPushButton(QStringLiteral("&Enregistrer"), &w);
    auto* coche = new QCheckBox(QStringLiteral("&Coche"), &w);
    auto* outil = new QToolButton(&w);
    outil->setText(QStringLiteral("&Outil"));
    auto* autre = new QPushButton(QStringLiteral("&Autre"), &w);
    auto* aussi = new QPushButton(QStringLiteral("&Aussi"), &w);
    auto* inactif = new QPushButton(QStringLiteral("&Inactif"), &w);
    inactif->setEnabled(false);
    auto* disposition = new QVBoxLayout(&w);
    QMap<QAbstractButton*, int> clics;
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{enregistrer, coche, outil, autre, aussi, inactif}) {
        disposition->addWidget(b);
        QObject::connect(b, &QAbstractButton::clicked, [&clics, b] { ++clics[b]; });
    }
    disposition->addWidget(champ);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const struct {
        const char* cas;
        QWidget* depuis;
        Qt::Key cle;
        Qt::KeyboardModifiers modificateurs;
        QAbstractButton* clique;  // none: no click at all
        QList<QWidget*> focus;    // where the focus can be afterwards
        int repetitions = 0;      // the key held down: as many repeats before it is let go
    } cas[] = {
        {"Alt+E", champ, Qt::Key_E, Qt::AltModifier, enregistrer, {champ}},
        {"Alt+E tenue", champ, Qt::Key_E, Qt::AltModifier, enregistrer, {champ}, 5},
        {"Alt+C tenue", champ, Qt::Key_C, Qt::AltModifier, coche, {coche}, 5},
        {"Alt+O", champ, Qt::Key_O, Qt::AltModifier, outil, {champ}},
        {"Alt+C", champ, Qt::Key_C, Qt::AltModifier, coche, {coche}},
        {"Alt+A", champ, Qt::Key_A, Qt::AltModifier, nullptr, {autre, aussi}},
        {"Alt+I", champ, Qt::Key_I, Qt::AltModifier, nullptr, {champ}},
        {"Entrée", enregistrer, Qt::Key_Return, Qt::NoModifier, enregistrer, {enregistrer}},
        {"Entrée du pavé", outil, Qt::Key_Enter, Qt::KeypadModifier, outil, {outil}},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.cas);
        k.depuis->setFocus(Qt::OtherFocusReason);
        clics.clear();
        const bool cocheAvant = coche->isChecked();
        QTest::keyPress(k.depuis, k.cle, k.modificateurs);
        for (int r = 0; r < k.repetitions; ++r)
            QTest::simulateEvent(QApplication::focusWidget(), true, k.cle, k.modificateurs,
                                 QString(QChar(QTest::keyToAscii(k.cle))), true);
        QTest::keyRelease(QApplication::focusWidget(), k.cle, k.modificateurs);
        // Before any turn of the event loop: a delayed click would not have come yet.
        QMap<QAbstractButton*, int> attendus;
        if (k.clique)
            attendus[k.clique] = 1;
        EXPECT_EQ(clics, attendus);
        EXPECT_EQ(coche->isChecked(), cocheAvant != (k.clique == coche));
        EXPECT_TRUE(k.focus.contains(QApplication::focusWidget()));
        for (QAbstractButton* b : clics.keys())
            EXPECT_FALSE(b->isDown());
    }
}
