#include "config/MotPasse.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

// The support mode and the change of password, through the window's controls.
TEST(FenetreMotPasse, DepannageEtModification) {
    DossierTemporaire d;
    d.ecrire("Ramq.Chk", "SECRET              ");
    DialoguesScriptes port;
    MotPasse m(d.chemin(), port);
    m.show();
    EXPECT_FALSE(m.zoneModification->isVisible());
    EXPECT_FALSE(m.zoneSoutien->isVisible());

    m.Depannage->trigger();
    EXPECT_TRUE(m.zoneSoutien->isVisible());
    EXPECT_FALSE(m.Text1->isEnabled());
    QTest::keyClicks(m.Text2[1], "1234");
    QTest::keyClick(m.Text2[1], Qt::Key_Return);
    EXPECT_EQ(m.Label1[2]->text(), "Inscrire votre autorisation");
    m.Text2[1]->setText("7319");
    m.Command1[5]->click();
    EXPECT_EQ(m.Label1[2]->text(), "SECRET              ");
    m.Command1[6]->click();
    EXPECT_FALSE(m.zoneSoutien->isVisible());
    EXPECT_TRUE(m.Text1->isEnabled());
    EXPECT_TRUE(port.appels.isEmpty());

    m.Command1[1]->click();
    EXPECT_TRUE(m.zoneModification->isVisible());
    EXPECT_EQ(m.Text2[0]->echoMode(), QLineEdit::Password);
    QTest::keyClicks(m.Text2[0], "secret");
    QTest::keyClick(m.Text2[0], Qt::Key_Return);
    EXPECT_EQ(m.Label1[1]->text(), "Inscrire nouveau mot de passe");
    EXPECT_TRUE(m.Text2[0]->text().isEmpty());
    EXPECT_EQ(port.bips(), 1);
    QTest::keyClicks(m.Text2[0], "neuf");
    QTest::keyClick(m.Text2[0], Qt::Key_Return);
    EXPECT_EQ(m.result(), QDialog::Accepted);
    EXPECT_EQ(port.resume(), (QStringList{"Modification | Modification acceptée...",
                                          "Mot de passe | accès au programme autorisé..."}));
    EXPECT_EQ(d.lire("Ramq.Chk"), "NEUF                ");
}
