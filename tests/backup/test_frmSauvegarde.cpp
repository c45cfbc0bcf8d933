#include "backup/frmSauvegarde.h"
#include "backup/sauvegarde.h"
#include "entry/Principal.h"
#include "platform/archivezip.h"
#include "platform/fichiers.h"
#include "platform/horloge.h"
#include "platform/reglages.h"
#include "support/clavier.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class FenetreSauvegarde : public ::testing::Test {
protected:
    void SetUp() override {
        Horloge::fixer(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
        d.ecrire("Kestrova.Cfg", donnees("Kestrova.Cfg.defaut"));
        d.ecrire("Facturat.Lex", "R7123400D71234000000000000000000000000");
        d.ecrire("Sauvramq/Ftmp.Fil", enregistrementDe(factureDeBase()).repeated(2));
        u.ecrire("UtiliseDossierPatient", "NON");
        u.ecrire(sauvegarde::DossierSauvegardes, {});
    }
    void TearDown() override { Horloge::liberer(); }

    DossierTemporaire d;
    DialoguesReels dialogues;
    ReglagesUtilisateur u;
};

}  // namespace

// From the entry window by keys: Alt+F A opens the save with the default destination, a folder
// typed over it, Alt+S saves there under the hourglass with the bar full at the end; then Alt+F U
// restores that archive into an empty folder typed in, by Alt+T.
TEST_F(FenetreSauvegarde, SauvegardeEtRestaurationAuClavier) {
    Principal p(d.chemin(), dialogues, u);
    ASSERT_TRUE(p.Form_Load());
    p.afficher();
    QApplication::setActiveWindow(&p);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p));
    QTemporaryDir destination, parent;
    const QString restaure = parent.path() + "/clinique";
    QString archive, nombre;
    Clavier clavier;
    clavier.touche(Qt::Key_F, Qt::AltModifier).touche(Qt::Key_A).attendreUneFenetre("frmSauvegarde").puis([&] {
        auto* f = qobject_cast<frmSauvegarde*>(QApplication::activeModalWidget());
        ASSERT_TRUE(f);
        EXPECT_EQ(f->Dossier->text(), QDir::toNativeSeparators(d.chemin() + "/Sauvegardes"));
        EXPECT_EQ(QApplication::focusWidget(), f->Dossier);
    });
    clavier.touche(Qt::Key_A, Qt::ControlModifier).taper(destination.path()).touche(Qt::Key_S, Qt::AltModifier).pause(300);
    clavier.puis([&] {
        auto* f = qobject_cast<frmSauvegarde*>(QApplication::activeModalWidget());
        ASSERT_TRUE(f);
        EXPECT_EQ(f->ProgressBar1->value(), 100);
        const QStringList a = QDir(destination.path()).entryList({"Kestrova-71234-*.zip"});
        ASSERT_EQ(a.size(), 1);
        archive = destination.path() + "/" + a[0];
        EXPECT_EQ(a[0], "Kestrova-71234-20261206-100000.zip");
        ASSERT_FALSE(dialogues.boites().isEmpty());
        const QString texte = dialogues.boites().last().texte;
        EXPECT_TRUE(texte.startsWith("La sauvegarde est terminée et vérifiée : ")) << qPrintable(texte);
        EXPECT_TRUE(texte.endsWith(" fichiers dans l'archive\n" + QDir::toNativeSeparators(archive))) << qPrintable(texte);
        nombre = texte.section(' ', 7, 7);
    });
    clavier.touche(Qt::Key_Escape);
    clavier.touche(Qt::Key_F, Qt::AltModifier).touche(Qt::Key_U).attendreUneFenetre("frmRestauration");
    // The archive named after the clock of the test, typed into the box that has the focus.
    clavier.taper(destination.path() + "/Kestrova-71234-20261206-100000.zip");
    clavier.touche(Qt::Key_D, Qt::AltModifier).touche(Qt::Key_A, Qt::ControlModifier).taper(restaure);
    clavier.touche(Qt::Key_T, Qt::AltModifier).pause(300);
    ASSERT_TRUE(clavier.jouer(20000));
    EXPECT_EQ(dialogues.boites().last().texte,
              QStringLiteral("La restauration est terminée : %1 fichiers dans %2.")
                  .arg(nombre, QDir::toNativeSeparators(restaure)));
    EXPECT_EQ(fichiers::lire(restaure + "/Sauvramq/Ftmp.Fil"), d.lire("Sauvramq/Ftmp.Fil"));
}
