#include "config/Initial.h"
#include "config/fichierconfiguration.h"
#include "platform/reglages.h"
#include "support/clavier.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class FenetreInitial : public ::testing::Test {
protected:
    void SetUp() override { CreerConfigurationParDefaut(d.chemin()); }
    // The server saved by the window stays the closed local port every window of the tests uses.
    Initial& ouvrir() {
        w = std::make_unique<Initial>(d.chemin(), u, port, ParametresFtp{"127.0.0.1:1", "tollmark", "vorpel"},
                                      [this] { ++rechargements; });
        w->show();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return *w;
    }
    // The boxes below the optometrists' lists always hold the slot the lists show selected; with
    // none selected, no "&Ok" can change a slot.
    void boitesDeLaLigneAffichee() {
        Initial& f = *w;
        const int ligne = f.List1[1]->currentRow();
        if (ligne < 0 || !f.List1[1]->item(ligne)->isSelected()) {
            for (int b : {1, 2, 5})
                EXPECT_FALSE(f.Command1[b]->isEnabled()) << b;
            return;
        }
        const Optometriste& o = f.donnees().copie.Optometristes[ligne];
        EXPECT_EQ(f.List1[2]->currentRow(), ligne);
        EXPECT_EQ(f.List1[4]->currentRow(), ligne);
        EXPECT_TRUE(f.List1[2]->item(ligne)->isSelected());
        EXPECT_EQ(f.Text1[2]->text(), o.professionnel);
        EXPECT_EQ(f.Text1[7]->text(), o.groupe);
        if (!f.Text1[1]->hasFocus()) {
            EXPECT_EQ(f.Text1[1]->text(), o.nom);
        }
    }
    Configuration lue() { return fichierconfiguration::lire(d.fichier("Kestrova.Cfg")); }

    DossierTemporaire d;
    DialoguesScriptes port;
    ReglagesUtilisateur u;
    std::unique_ptr<Initial> w;
    int rechargements = 0;
};

}  // namespace

// The optometrists' page by the keyboard alone: whatever the path, the row the boxes change is
// the row shown selected, and its three lists move together.
TEST_F(FenetreInitial, OptometristesAuClavier) {
    Initial& f = ouvrir();
    const Configuration avant = lue();
    const auto controle = [this] { boitesDeLaLigneAffichee(); };
    Clavier c;
    c.touche(Qt::Key_Tab, Qt::ControlModifier).puis(controle);
    for (int i = 0; i < 3; ++i)
        c.touche(Qt::Key_Tab).puis(controle);
    c.taper("Dre Nadia Roy").touche(Qt::Key_Return).puis(controle);
    ASSERT_TRUE(c.jouer());
    EXPECT_EQ(f.SSTab1->currentIndex(), 1);
    // Slot 1 kept its name and number, or was renamed while shown selected: never another
    // slot's number under a new name, never a change with no row shown.
    const Configuration apres = lue();
    for (int i = 1; i < Configuration::NombreOptometristes; ++i)
        EXPECT_EQ(apres.Optometristes[i], avant.Optometristes[i]) << i;
    EXPECT_EQ(apres.Optometristes[0].professionnel, avant.Optometristes[0].professionnel);

    // Choosing a free line with the arrow keys, then its name and number.
    f.List1[1]->setFocus(Qt::TabFocusReason);
    port.effacer();
    Clavier choix;
    choix.touche(Qt::Key_Down).puis(controle).touche(Qt::Key_Tab).puis(controle);
    choix.touche(Qt::Key_A, Qt::ControlModifier).taper("Dre Nadia Roy").touche(Qt::Key_Return);
    choix.touche(Qt::Key_Tab).puis(controle).touche(Qt::Key_Tab).puis(controle);
    choix.touche(Qt::Key_A, Qt::ControlModifier).taper("391001").touche(Qt::Key_Return).puis(controle);
    ASSERT_TRUE(choix.jouer());
    EXPECT_EQ(port.resume(), (QStringList{"Initialisation | Changement accepté...", "Initialisation | Changement accepté..."}));
    const Configuration fin = lue();
    EXPECT_EQ(fin.Optometristes[1], (Optometriste{"Dre Nadia Roy", "391001", "00000"}))
        << qPrintable(fin.Optometristes[1].nom);
    EXPECT_EQ(fin.Optometristes[0], apres.Optometristes[0]);
}

// A save that fails at closing ("&Fermer", Escape, the title bar) leaves the window open unless
// the user chooses to close without saving, after a question whose default is to stay.
TEST_F(FenetreInitial, FermerApresUneSauvegardeImpossible) {
    Initial& f = ouvrir();
    QFile::remove(d.fichier("Kestrova.Cfg"));
    QDir().mkpath(d.fichier("Kestrova.Cfg"));  // a folder where the file goes: every save fails
    const struct {
        const char* facon;
        std::function<void()> fermer;
    } facons[] = {
        {"Fermer", [&] { f.Command1[4]->click(); }},
        {"Échap", [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); }},
        {"barre de titre", [&] { f.close(); }},
    };
    for (const auto& k : facons) {
        SCOPED_TRACE(k.facon);
        port.effacer();
        k.fermer();  // no answer scripted: the default button, Cancel
        ASSERT_EQ(port.boites().size(), 2) << qPrintable(port.resume().join('\n'));
        EXPECT_TRUE(port.boites()[0].texte.startsWith("Erreur numéro: 75"));
        EXPECT_EQ(port.boites()[1].boutons, Boutons::OkAnnuler);
        EXPECT_TRUE(port.boites()[1].texte.endsWith("Fermer sans enregistrer ?"));
        EXPECT_TRUE(f.isVisible());
    }
    port.effacer();
    port.reponses = {Reponse::Ok};
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_EQ(rechargements, 0);  // nothing saved: the main window keeps what it had
    EXPECT_FALSE(port.resume().join('\n').contains("redémarrer"));
}
