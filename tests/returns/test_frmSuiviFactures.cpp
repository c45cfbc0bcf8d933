#include "platform/horloge.h"
#include "platform/imprimantes.h"
#include "records/facture.h"
#include "returns/frmSuiviFactures.h"
#include "support/clavier.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/pdf.h"
#include "support/retours.h"
#include "transmission/envoi.h"
#include "transmission/preparation.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A billing of three invoices prepared and sent on 2009-02-03; its error return refuses the
// first (rank 1, NCE 0042) and accepts the others.
class SuiviFactures : public ::testing::Test {
protected:
    void SetUp() override {
        Horloge::fixer(QDateTime(QDate(2009, 2, 3), QTime(9, 0)));
        imprimantes::choisir(imprimantes::Pdf);
        preparerDossier(d, "R7123407D71234070041ABCDEFGHIJKLMNO041", {});
        d.ecrire("Kestrova.Cfg", donnees("Kestrova.Cfg.defaut"));
        QByteArray factures;
        for (const char* nom : {"COTE", "GAGNON", "ROY"}) {
            ValeursFacture v = factureDeBase();
            v.nom = nom;
            v.dateService = "20090115";
            factures += facture::construire(v);
        }
        d.ecrire("Sauvramq/Ftmp.Fil", factures);
        DialoguesScriptes muet;
        const auto v = preparation::valeursDepuis(preparation::lireAgence(d.chemin()), QDate(2009, 2, 3));
        ASSERT_TRUE(preparation::Preparer(d.chemin(), v, muet).reussi);
        d.ecrire("Sauvramq/LstEnvoie.Dat",
                 envoi::enregistrementJournal(envoi::lireRequete(d.lire("Sauvramq/R" + v.demandes.mid(1))),
                                              QDateTime(QDate(2009, 2, 3), QTime(10, 0))));
        using namespace retour;
        d.ecrire("Sauvramq/ER9034042.rmq",
                 fichier({entete("9034042", "045"), erreur("9034042", "311111", "0042", "000001", "NAM INVALIDE", "123"),
                          totaux(1, 3, 2, 1, 0, 5710)}));
        Horloge::fixer(QDateTime(QDate(2009, 2, 20), QTime(9, 0)));
    }
    void TearDown() override { Horloge::liberer(); }

    QStringList etats(const frmSuiviFactures& w) const {
        QStringList e;
        for (const suivi::Ligne& l : w.lignesAffichees())
            e << l.nom + " " + suivi::texte(l.etat);
        return e;
    }

    DossierTemporaire d;
    DialoguesScriptes dialogues;
    Configuration configuration = Configuration::parDefaut();
};

}  // namespace

// By keys alone: the rows and their totals, a name typed in the search box, the state filter,
// the refused invoice billed again (the history window opens on it), and the list printed.
TEST_F(SuiviFactures, FiltrerRefacturerEtImprimerAuClavier) {
    frmSuiviFactures w(d.chemin(), configuration, dialogues);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.windowTitle(), "Suivi des factures envoyées");
    EXPECT_EQ(etats(w), (QStringList{"COTE Refusée", "GAGNON Acceptée", "ROY Acceptée"}));
    EXPECT_EQ(w.Du->date(), QDate(2008, 10, 23));
    EXPECT_TRUE(w.Totaux->text().startsWith("Facturées : 3 factures")) << qPrintable(w.Totaux->text());
    EXPECT_TRUE(w.Totaux->text().contains("Refusées : 1 facture,")) << qPrintable(w.Totaux->text());
    EXPECT_EQ(QApplication::focusWidget(), w.Liste);
    EXPECT_TRUE(w.Refacturer->isEnabled());  // the first row, refused

    Clavier clavier;
    clavier.touche(Qt::Key_H, Qt::AltModifier).taper("gag").puis([&] {
        EXPECT_EQ(etats(w), QStringList{"GAGNON Acceptée"});
        EXPECT_FALSE(w.Refacturer->isEnabled());
    });
    clavier.touche(Qt::Key_A, Qt::ControlModifier).touche(Qt::Key_Backspace);
    clavier.touche(Qt::Key_T, Qt::AltModifier).touche(Qt::Key_Down).touche(Qt::Key_Down).touche(Qt::Key_Down).touche(Qt::Key_Down)
        .touche(Qt::Key_Down).puis([&] { EXPECT_EQ(etats(w), QStringList{"COTE Refusée"}); });
    clavier.touche(Qt::Key_R, Qt::AltModifier).attendreUneFenetre("frmHistorique").puis([&] {
        // The invoice put back in memory, shown: its placeholders in place of its numbers.
        EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil").size(), facture::Longueur);
        EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil").mid(10, 7), "AJJJSSS");
    });
    clavier.touche(Qt::Key_Escape);
    ASSERT_TRUE(clavier.jouer()) << qPrintable(dialogues.resume().join('\n'));
    EXPECT_EQ(etats(w), QStringList{}) << "the refused row is billed again: no longer refused";
    EXPECT_EQ(d.lire("Sauvramq/Suivi.Dat").left(21), "9034042 0042 20090220");

    Clavier tous;
    tous.touche(Qt::Key_T, Qt::AltModifier).touche(Qt::Key_Home).touche(Qt::Key_I, Qt::AltModifier);
    ASSERT_TRUE(tous.jouer());
    EXPECT_EQ(etats(w), (QStringList{"COTE Refacturée", "GAGNON Acceptée", "ROY Acceptée"}));
    const QStringList pdfs = QDir(d.fichier("Impressions")).entryList(QDir::Files);
    ASSERT_EQ(pdfs.size(), 1);
    const QStringList lignes = DocumentPdf(d.fichier("Impressions/" + pdfs[0])).toutesLesLignes();
    EXPECT_EQ(lignes.value(0), "SUIVI DES FACTURES ENVOYÉES");
    EXPECT_EQ(lignes.value(1), "Services du 2008-10-23 au 2009-02-20");
    EXPECT_TRUE(lignes.join('\n').contains("COTE")) << qPrintable(lignes.join('\n'));
    EXPECT_TRUE(lignes.join('\n').contains("Refacturée")) << qPrintable(lignes.join('\n'));
    EXPECT_TRUE(lignes.last().startsWith("En attente :")) << qPrintable(lignes.join('\n'));
}

// After a re-billing the cursor stays on the invoice billed again: Alt+R once more asks before a
// second time, and never bills the first row of the list instead.
TEST_F(SuiviFactures, ApresRefacturerLeCurseurResteSurLaFacture) {
    using namespace retour;
    d.ecrire("Sauvramq/ER9034042.rmq",
             fichier({entete("9034042", "045"), erreur("9034042", "311111", "0042", "000001", "NAM INVALIDE", "123"),
                      erreur("9034042", "311111", "0044", "000003", "DATE DE SERVICE", "201"), totaux(2, 3, 1, 2, 0, 4055)}));
    frmSuiviFactures w(d.chemin(), configuration, dialogues);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_EQ(etats(w), (QStringList{"COTE Refusée", "GAGNON Acceptée", "ROY Refusée"}));

    Clavier clavier;
    clavier.touche(Qt::Key_Down).touche(Qt::Key_Down).touche(Qt::Key_R, Qt::AltModifier).attendreUneFenetre("frmHistorique");
    clavier.touche(Qt::Key_Escape).puis([&] {
        EXPECT_EQ(etats(w), (QStringList{"COTE Refusée", "GAGNON Acceptée", "ROY Refacturée"}));
        EXPECT_EQ(w.Liste->currentIndex().row(), 2);
        EXPECT_TRUE(w.Refacturer->isEnabled());
    });
    clavier.touche(Qt::Key_R, Qt::AltModifier);  // Cancel, the default, to the question
    ASSERT_TRUE(clavier.jouer()) << qPrintable(dialogues.resume().join('\n'));
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil").size(), facture::Longueur) << "one invoice in memory, ROY's";
    EXPECT_EQ(d.lire("Sauvramq/Suivi.Dat").left(12), "9034042 0044");
    EXPECT_EQ(d.lire("Sauvramq/Suivi.Dat").size(), suivi::LongueurMarque);
    ASSERT_FALSE(dialogues.appels.isEmpty());
    EXPECT_TRUE(dialogues.appels.last().texte.startsWith("La facture NCE 0044 de JEAN ROY a déjà été refacturée le 2009-02-20."))
        << qPrintable(dialogues.resume().join('\n'));
}
