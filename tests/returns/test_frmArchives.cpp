#include "config/parametres.h"
#include "platform/horloge.h"
#include "platform/imprimantes.h"
#include "platform/reglages.h"
#include "returns/frmArchives.h"
#include "returns/frmHistorique.h"
#include "returns/frmPrecedenteFact.h"
#include "support/classeur.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/pdf.h"
#include "support/serveurftp.h"
#include "transmission/frmTransmettre.h"
#include "transmission/preparation.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include "returns/listeqt.h"
#include <algorithm>
#include <numeric>
#include <gtest/gtest.h>

namespace {

QByteArray facture(const char* nom, const char* prof, const char* date, const QByteArray& etat = "05") {
    ValeursFacture v = factureDeBase();
    v.nom = nom;
    v.professionnel = prof;
    v.dateService = date;
    return enregistrementDe(v, etat);
}

QStringList rangee(const VueListe* l, int r, const QList<int>& colonnes) {
    QStringList cellules;
    for (int c : colonnes)
        cellules << l->texte(r, c).trimmed();
    return cellules;
}

QStringList colonne(const VueListe* l, int c) {
    QStringList cellules;
    for (int r = 0; r < l->nombre(); ++r)
        cellules << l->texte(r, c).trimmed();
    return cellules;
}

class FenetresArchives : public ::testing::Test {
protected:
    void SetUp() override {
        Horloge::fixer(QDateTime(QDate(2009, 2, 3), QTime(9, 30)));
        imprimantes::choisir(imprimantes::Pdf);
        preparerDossier(d, "R7123407D71234070041ABCDEFGHIJKLMNO041", {});
        preparer({facture("TREMBLAY", "311111", "20090115"), facture("GAGNON", "322227", "20090110")});
        preparer({facture("LAVOIE", "311111", "20081201")});
    }
    void TearDown() override { Horloge::liberer(); }

    // Stores `factures` in Ftmp.Fil and prepares them with the real preparation.
    void preparer(const QList<QByteArray>& factures) {
        QByteArray tout;
        for (const QByteArray& f : factures)
            tout += f;
        d.ecrire("Sauvramq/Ftmp.Fil", tout);
        DialoguesScriptes muet;
        const auto v = preparation::valeursDepuis(preparation::lireAgence(d.chemin()), Horloge::aujourdhui());
        ASSERT_TRUE(preparation::Preparer(d.chemin(), v, muet).reussi) << muet.resume().join('\n').toStdString();
    }
    // The lines of each document the print button makes, in the order of their names.
    QList<QStringList> imprimer(frmArchives& w) {
        const QStringList avant = QDir(d.fichier("Impressions")).entryList(QDir::Files, QDir::Name);
        w.bouton("kImprimer")->trigger();
        QList<QStringList> documents;
        QStringList apres = QDir(d.fichier("Impressions")).entryList(QDir::Files, QDir::Name);
        for (const QString& f : apres)
            if (!avant.contains(f))
                documents << DocumentPdf(d.fichier("Impressions/" + f)).toutesLesLignes();
        return documents;
    }
    static void cliquer(VueListe* l, int r) {
        l->choisir(r);
        emit l->clicked(l->modele()->index(r, 0));
    }

    DossierTemporaire d;
    DialoguesScriptes dialogues;
    const Configuration configuration = Configuration::parDefaut();
};

TEST_F(FenetresArchives, ListesRechercheImpressionEtRemise) {
    d.ecrire("Sauvramq/Ftmp.Fil", facture("BOUCHER", "311111", "20090201", "99") +
                                      facture("ROY", "311111", "20090202"));
    frmArchives w(d.chemin(), dialogues);
    EXPECT_EQ(dialogues.resume(), QStringList{"Affichage | Affichage de la facturation en cours."});
    EXPECT_FALSE(w.bouton("kRemettre")->isEnabled());
    EXPECT_EQ(w.Label1->text(), "Liste des précédentes facturations. -------->\nCliquez sur le nom du "
                                "fichier pour afficher la facturation.");
    ASSERT_EQ(w.ListView2->nombre(), 2);
    EXPECT_EQ(rangee(w.ListView2, 0, {0, 1, 2}), (QStringList{"D7123407", "Du 09/01/10 au 09/01/15", "2"}));
    EXPECT_EQ(rangee(w.ListView2, 1, {0, 1, 2}), (QStringList{"D7123408", "Du 08/12/01 au 08/12/01", "1"}));
    ASSERT_EQ(w.ListView1->nombre(), 1);  // the cancelled invoice is not shown
    EXPECT_EQ(rangee(w.ListView1, 0, {0, 2, 14}), (QStringList{"002", "ROY", "090202"}));

    // The invoices in memory print under the preliminary title, without the cancelled one.
    QList<QStringList> docs = imprimer(w);
    ASSERT_EQ(docs.size(), 1);
    EXPECT_EQ(docs[0][0], "Rapport PRÉLÉMINAIRE sur la facturation du 2009/02/02 au 2009/02/02");
    EXPECT_FALSE(docs[0].join('\n').contains("BOUCHER"));
    EXPECT_EQ(docs[0].mid(docs[0].size() - 3, 2), (QStringList{"----------", "40.55 $"}));

    // A kept billing: its rows, each cell a whole field; then its reports.
    cliquer(w.ListView2, 0);
    EXPECT_TRUE(w.bouton("kRemettre")->isEnabled());
    ASSERT_EQ(w.ListView1->nombre(), 2);
    EXPECT_EQ(w.ListView1->texte(0, 2), QString("TREMBLAY").leftJustified(30));
    EXPECT_EQ(rangee(w.ListView1, 0, {0, 1, 3, 4, 5, 6, 7, 10, 11, 13, 14, 15, 19, 20, 23, 24, 27, 28, 29, 30, 31, 32}),
              (QStringList{"001", "TREM80011514", "JEAN", "01", "0427", "19800115", "M", "H2X1Y4", "311111",
                           "52713", "090115", "3784", "09001", "09008", "002855", "001200", "004055",
                           "PATHOLOGIE", "AB", "71234", "9034042", "0042"}));
    EXPECT_EQ(rangee(w.ListView1, 1, {0, 2, 11, 32}), (QStringList{"002", "GAGNON", "322227", "0043"}));
    // Its invoices as a workbook: every code as text with its leading zeros, the prices and the
    // total in dollars, the birth date and the date of service as dates.
    dialogues.effacer();
    dialogues.fichiers = {d.fichier("factures.xlsx")};
    dialogues.typesFichier = {1};
    w.bouton("kExporter")->trigger();
    const Classeur factures = lireClasseur(d.fichier("factures.xlsx"));
    ASSERT_EQ(factures.lignes.size(), 2) << qPrintable(factures.erreurs + dialogues.resume().join('\n'));
    EXPECT_EQ(factures.lignes[0],
              (QStringList{"texte 001", "texte TREM80011514", "texte TREMBLAY", "texte JEAN", "texte 01", "texte 0427",
                           "date 1980-01-15", "texte M", "texte 123 RUE PRINCIPALE", "texte ST-OLVANE", "texte H2X1Y4",
                           "texte 311111", "texte 12345", "texte 52713", "date 2009-01-15", "texte 3784", "vide", "vide",
                           "vide", "texte 09001", "texte 09008", "texte 00000", "texte 00000", "montant 28.55",
                           "montant 12.00", "montant 0.00", "montant 0.00", "montant 40.55", "texte PATHOLOGIE",
                           "texte AB", "texte 71234", "texte 9034042", "texte 0042"}));
    docs = imprimer(w);
    ASSERT_EQ(docs.size(), 3);
    EXPECT_EQ(docs[0][0], "Rapport sur la facturation du 2009/01/10 au 2009/01/15");
    EXPECT_EQ(docs[0][1].simplified(), "Numéro d'agence: 71234 Numéro de facturation: R7123407 Numéro "
                                       "d'attestation: 9034042 Facture numéro: 0042 à 0043 No de groupe: 12345");
    EXPECT_TRUE(docs[0].join('\n').contains("Signature"));
    EXPECT_EQ(docs[1][0], "RAPPORT PERSONNEL DE 311111");
    EXPECT_EQ(docs[2][0], "RAPPORT PERSONNEL DE 322227");
    EXPECT_FALSE(docs[2].join('\n').contains("TREMBLAY"));

    // A heading click sorts; a second one reverses. The current row stays on its invoice.
    w.ListView1->choisir(0);
    w.ListView1->header()->sectionClicked(2);
    EXPECT_EQ(colonne(w.ListView1, 2), (QStringList{"GAGNON", "TREMBLAY"}));
    EXPECT_EQ(w.ListView1->texte(w.ListView1->courante(), 2).trimmed(), "TREMBLAY");
    EXPECT_EQ(w.ListView1->choisies(), QList<int>{1});
    w.ListView1->header()->sectionClicked(2);
    EXPECT_EQ(colonne(w.ListView1, 2), (QStringList{"TREMBLAY", "GAGNON"}));

    // The search: an answer of 11 or 13 characters opens no file (a listed file gone would say so).
    QFile::rename(d.fichier("Sauvramq/D7123408"), d.fichier("ailleurs"));
    dialogues.effacer();
    dialogues.saisies = {"TREM8001151", "TREM800115140", QString()};
    for (int i = 0; i < 3; ++i)
        w.bouton("kRecherchePersonne")->trigger();
    const QString question = "Recherche | Inscrire le numéro de l'assurance maladie de la personne à rechercher.";
    const QString incomplet = "Kestrova | Le numéro de l'assurance maladie est incomplet ou vous avez annulé la fonction.";
    EXPECT_EQ(dialogues.resume(), (QStringList{question, incomplet, question, incomplet, question, incomplet}));
    EXPECT_EQ(w.ListView1->nombre(), 2);
    QFile::rename(d.fichier("ailleurs"), d.fichier("Sauvramq/D7123408"));
    dialogues.effacer();
    dialogues.saisies = {"trem80011514", "TREM80011515"};
    w.bouton("kRecherchePersonne")->trigger();
    EXPECT_EQ(dialogues.resume(), QStringList{question});
    EXPECT_EQ(colonne(w.ListView1, 2), (QStringList{"TREMBLAY", "GAGNON", "LAVOIE"}));
    // The search's rows come in their own order: the heading shows no sort left from before.
    EXPECT_FALSE(w.ListView1->header()->isSortIndicatorShown());
    docs = imprimer(w);
    ASSERT_EQ(docs.size(), 3);
    EXPECT_EQ(docs[0][0], "Rapport sur la facturation du 2008/12/01 au 2009/01/15");
    w.bouton("kRecherchePersonne")->trigger();
    EXPECT_EQ(dialogues.resume().last(),
              "Kestrova | Aucune facture correspondante au numéro d'assurance maladie TREM80011515");
    EXPECT_EQ(w.ListView1->nombre(), 0);

    // Back in memory: refused while invoices are there, then the kept records exactly.
    cliquer(w.ListView2, 1);
    dialogues.effacer();
    w.bouton("kRemettre")->trigger();
    EXPECT_TRUE(dialogues.resume()[0].startsWith("Remettre en traitement | Le fichier ne peut pas"));
    d.ecrire("Sauvramq/Ftmp.Fil", {});
    dialogues.effacer();
    w.bouton("kRemettre")->trigger();
    EXPECT_EQ(dialogues.resume(), QStringList{"Traitement de fichier | Le fichier D7123408 a été remis pour traitement."});
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), d.lire("Sauvramq/D7123408").left(723));
    EXPECT_EQ(colonne(w.ListView1, 2), QStringList{"LAVOIE"});
}

// The billing the arrow keys reach is shown, and the one shown is the one put back.
TEST_F(FenetresArchives, LesFlechesMontrentLaFacturationRemise) {
    frmArchives w(d.chemin(), dialogues);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_FALSE(w.bouton("kRemettre")->isEnabled());
    const QRect premiere = w.ListView2->visualRect(w.ListView2->modele()->index(0, 0));
    QTest::mouseClick(w.ListView2->viewport(), Qt::LeftButton, {}, premiere.center());
    EXPECT_EQ(colonne(w.ListView1, 2), (QStringList{"TREMBLAY", "GAGNON"}));
    QTest::keyClick(w.ListView2, Qt::Key_Down);
    EXPECT_TRUE(w.ListView2->estChoisie(1));
    EXPECT_EQ(colonne(w.ListView1, 2), QStringList{"LAVOIE"});
    QTest::keyClick(w.ListView2, Qt::Key_Up);
    EXPECT_EQ(colonne(w.ListView1, 2), (QStringList{"TREMBLAY", "GAGNON"}));
    QTest::keyClick(w.ListView2, Qt::Key_Down);
    dialogues.effacer();
    QTest::keyClick(w.ListView2, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(dialogues.resume(), QStringList{"Traitement de fichier | Le fichier D7123408 a été remis pour traitement."});
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), d.lire("Sauvramq/D7123408").left(723));
    // What is shown now is the invoices in memory: nothing else to put back.
    EXPECT_FALSE(w.bouton("kRemettre")->isEnabled());
    // After a search the list shows no billing of its own: the put-back waits for a choice.
    dialogues.saisies = {"TREM80011514"};
    QTest::keyClick(w.ListView2, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(w.ListView1->nombre(), 3);
    EXPECT_FALSE(w.bouton("kRemettre")->isEnabled());
}

TEST_F(FenetresArchives, Historique) {
    {   // Nothing in memory: nothing shown, nothing to write.
        frmHistorique vide(d.chemin(), configuration, dialogues);
        EXPECT_EQ(dialogues.resume(), QStringList{"Fichier temporaire | Aucune facture en mémoire"});
        EXPECT_FALSE(vide.Command1[0]->isEnabled());
        EXPECT_FALSE(vide.Command1[1]->isEnabled());
        EXPECT_EQ(vide.Text1[8]->text(), "");
    }
    QByteArray cinq;
    for (const char* nom : {"UN", "DEUX", "TROIS", "QUATRE", "CINQ"})
        cinq += facture(nom, "311111", "20090115");
    d.ecrire("Sauvramq/Ftmp.Fil", cinq);
    dialogues.effacer();
    frmHistorique w(d.chemin(), configuration, dialogues);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.windowTitle(), "Historique des factures en mémoires");
    EXPECT_EQ(w.StatusBar1->text(), "Fiche 1 de 5");
    EXPECT_EQ(w.Text1[10]->text(), "UN");
    w.VScroll1->setValue(2);
    EXPECT_EQ(w.StatusBar1->text(), "Fiche 2 de 5");
    EXPECT_EQ(w.Text1[10]->text(), "DEUX");

    // Typed and left: capitals and the total; then the access key with the focus in a price box.
    w.Text1[9]->setFocus();
    w.Text1[9]->selectAll();
    QTest::keyClicks(w.Text1[9], "jeanne");
    w.Text1[34]->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(w.Text1[9]->text(), "JEANNE");
    w.Text1[34]->selectAll();
    // A price box takes digits only, six at most: "15.00" is typed as "1500", which is refused
    // by name with the focus back in its box, and nothing is written.
    QTest::keyClicks(w.Text1[34], "15.00");
    EXPECT_EQ(w.Text1[34]->text(), "1500");
    QTest::keyClick(w.Text1[34], Qt::Key_E, Qt::AltModifier);
    EXPECT_TRUE(dialogues.resume().last().startsWith("Correction | Le prix #2 « 1500 » n'est pas valide."));
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), cinq);
    EXPECT_EQ(QApplication::focusWidget(), w.Text1[34]);
    QTest::keyClicks(w.Text1[34], "0015000");
    EXPECT_EQ(w.Text1[34]->text(), "001500");
    // What a box cannot hold is refused whole with a beep, never cut: a pasted price of seven
    // digits, a pasted surname of 39 characters.
    for (const auto& [boite, colle] : {std::pair{34, "1234567"}, {10, "TREMBLAY-LAPOINTE-DESROCHERS-BEAUREGARD"}}) {
        const QString avant = w.Text1[boite]->text();
        w.Text1[boite]->setFocus();
        w.Text1[boite]->selectAll();
        QApplication::clipboard()->setText(QString::fromLatin1(colle));
        dialogues.effacer();
        QTest::keyClick(w.Text1[boite], Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(w.Text1[boite]->text(), avant) << boite;
        EXPECT_EQ(dialogues.bips(), 1) << boite;
    }
    w.Text1[34]->setFocus();
    // Two prices too large for the total's six digits: the total box shows the whole sum.
    w.Text1[33]->setText("999999");
    w.Text1[33]->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(w.Text1[historique::BoiteTotal]->text(), "1001499");
    w.Text1[33]->setText("002855");
    w.Text1[34]->setFocus();
    QApplication::processEvents();
    QTest::keyClick(w.Text1[34], Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(w.Text1[historique::BoiteTotal]->text(), "004355");
    QByteArray attendu = cinq;
    attendu.replace(723 + 34, 20, QByteArray("JEANNE").leftJustified(20));
    attendu.replace(723 + 267, 6, "001500");
    attendu.replace(723 + 305, 6, "004355");
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), attendu);
    EXPECT_EQ(dialogues.resume().last(), "Correction | Correction de la facture numéro 2 effectuée.");

    // Cancelling invoice 3 with an unsaved edit: only the cancellation is written.
    w.VScroll1->setValue(3);
    w.Text1[17]->setText("J0J1J0");
    dialogues.reponses = {Reponse::Ok};
    w.Command1[1]->click();
    EXPECT_EQ(w.Text1[0]->text(), "99");
    EXPECT_EQ(w.Text1[8]->text(), "ANNULEE");
    EXPECT_EQ(w.Text1[17]->text(), "H2X1Y4");
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil").mid(723 * 2 + 159, 6), "H2X1Y4");
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil").left(723 * 2), attendu.left(723 * 2));
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil").mid(723 * 3), attendu.mid(723 * 3));

    // Typed changes are never left without a question: Page Down and Escape ask, Cancel stays.
    w.Text1[9]->setText("PIERRE");
    w.Text1[9]->setFocus();
    dialogues.effacer();
    QTest::keyClick(w.Text1[9], Qt::Key_PageDown);
    EXPECT_EQ(w.StatusBar1->text(), "Fiche 3 de 5");
    EXPECT_EQ(w.Text1[9]->text(), "PIERRE");
    QTest::keyClick(w.Text1[9], Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(dialogues.resume(), QStringList(2, "Correction | Les changements de la facture numéro 3 ne sont pas "
                                                 "enregistrés.\n\nLes abandonner ?"));
    dialogues.reponses = {Reponse::Ok};
    QTest::keyClick(w.Text1[9], Qt::Key_PageDown);
    EXPECT_EQ(w.StatusBar1->text(), "Fiche 4 de 5");

    // Another workstation prepared meanwhile: nothing written, the user told.
    d.ecrire("Sauvramq/Ftmp.Fil", facture("AUTRE", "311111", "20090115"));
    dialogues.effacer();
    w.Command1[0]->click();
    EXPECT_TRUE(dialogues.resume()[0].contains("a été changée ou transmise par un autre poste"));
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), facture("AUTRE", "311111", "20090115"));
    EXPECT_EQ(w.StatusBar1->text(), "Fiche 1 de 1");
}

TEST_F(FenetresArchives, PrecedentesRemiseEnLigneEtEnvoi) {
    ServeurFtp serveur;
    ReglagesUtilisateur reglages;
    reglages.ecrire(parametres::NomDuServeurFtp, serveur.hote());
    QFile::copy(PACOMP, d.fichier("PaComp"));
    d.ecrire("Kestrova.Cfg", donnees("Kestrova.Cfg.defaut"));
    const auto envoyer = [&] {
        frmTransmettre t(d.chemin(), reglages, dialogues);
        t.Command1[0]->click();
    };
    envoyer();  // the second billing, the last prepared
    ASSERT_TRUE(dialogues.resume().last().startsWith("Serveur ramq | Vos factures ont été envoyées"));
    dialogues.effacer();

    frmPrecedenteFact w(d.chemin(), dialogues);
    EXPECT_EQ(w.windowTitle(), "Remise en ligne une facturation précédente");
    ASSERT_EQ(w.ListView1->nombre(), 2);
    EXPECT_EQ(rangee(w.ListView1, 0, {0, 1, 2, 3, 4, 5}),
              (QStringList{"R7123407", "71234", "9034042", "000002", "000008110", "D7123407"}));
    EXPECT_EQ(rangee(w.ListView1, 1, {0, 2, 3}), (QStringList{"R7123408", "9034043", "000001"}));
    EXPECT_FALSE(w.Command1[1]->isEnabled());
    // The keyboard chooses: the list taking the focus shows its first billing chosen, Down the next.
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.ListView1->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(w.ListView1->estChoisie(0));
    EXPECT_TRUE(w.Command1[1]->isEnabled());
    QTest::keyClick(w.ListView1, Qt::Key_Down);
    EXPECT_TRUE(w.ListView1->estChoisie(1));
    EXPECT_EQ(w.StatusBar1->text(), "Facturation en date du  03 février 2009");

    // Put back online: Reqt is that billing's request, and sending it again asks first.
    w.Command1[1]->click();
    EXPECT_EQ(d.lire("Reqt"), d.lire("Sauvramq/R7123408"));
    EXPECT_EQ(d.lire("D7123408"), d.lire("Sauvramq/D7123408"));
    EXPECT_TRUE(dialogues.resume().last().contains("Le fichier (R7123408) a été remis en ligne"));
    dialogues.effacer();
    dialogues.reponses = {Reponse::Non};
    envoyer();
    EXPECT_TRUE(dialogues.resume().join('\n').contains(
        "Facturation en double | ATTENTION !!!\n\nCette facturation dont le numéro d'attestation est 9034043"))
        << qPrintable(dialogues.resume().join('\n'));

    // Struck out after the question; Cancel keeps everything.
    dialogues.effacer();
    dialogues.reponses = {Reponse::Annuler};
    w.Command1[2]->click();
    EXPECT_TRUE(d.existe("Sauvramq/R7123408") && d.existe("Sauvramq/D7123408") && d.existe("D7123408"));
    dialogues.reponses = {Reponse::Ok};
    w.Command1[2]->click();
    EXPECT_FALSE(d.existe("Sauvramq/R7123408") || d.existe("Sauvramq/D7123408") || d.existe("D7123408"));
    EXPECT_EQ(dialogues.resume().last(), "Kestrova | Le fichier (R7123408) a été rayé.");
    EXPECT_EQ(w.ListView1->nombre(), 1);
    EXPECT_FALSE(w.Command1[2]->isEnabled());
}

}  // namespace

// A heading sorts its column in one order whatever the column mixes (numbers, texts starting
// with digits, amounts, dates, blanks), and the second click gives the reverse.
TEST(ListeTriee, UnOrdreQuelQueSoitLeMelange) {
    const struct {
        const char* cas;
        QStringList croissant;
    } cas[] = {
        {"nombres", {"7", "45", "300", "1200"}},
        {"nombres et textes", {"", "1a", "9", "10", "10 ans", "A2", "A10", "B"}},
        {"montants", {"0.99", "9.50", "12.00", "100.00"}},
        {"dates", {"2008/12/01", "2009/01/10", "2009/01/15"}},
        {"zéros en tête", {"007", "7", "08"}},
        {"accents", {"Bedard", "Bélanger", "Roy"}},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.cas);
        // Every order of the cells, so that no luck of the input hides an inconsistent order.
        QList<int> permutation(k.croissant.size());
        std::iota(permutation.begin(), permutation.end(), 0);
        do {
            QStringList cellules;
            for (int i : permutation)
                cellules << k.croissant[i];
            ModeleListe m({QStringLiteral("Valeur")});
            m.remplacer(int(cellules.size()), [cellules](int i) { return QStringList{cellules[i]}; });
            QStringList montrees;
            m.sort(0, Qt::AscendingOrder);
            for (const QStringList& r : m.rangees())
                montrees << r[0];
            ASSERT_EQ(montrees, k.croissant) << qPrintable(cellules.join('|'));
            m.sort(0, Qt::DescendingOrder);
            montrees.clear();
            for (const QStringList& r : m.rangees())
                montrees.prepend(r[0]);
            ASSERT_EQ(montrees, k.croissant) << qPrintable(cellules.join('|'));
        } while (std::next_permutation(permutation.begin(), permutation.end()));
    }
}
