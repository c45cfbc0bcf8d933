#include "platform/horloge.h"
#include "platform/imprimantes.h"
#include "platform/reglages.h"
#include "config/configuration.h"
#include "config/parametres.h"
#include "records/encodage.h"
#include "returns/frmAfficheRapport.h"
#include "returns/frmRetourErreur.h"
#include "returns/impressionretour.h"
#include "support/archive.h"
#include "support/classeur.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/pdf.h"
#include "support/retours.h"
#include "support/serveurftp.h"
#include "transmission/frmTelecommunication.h"

#include <QApplication>
#include <algorithm>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include "returns/listeqt.h"
#include <gtest/gtest.h>

namespace {

QByteArray retourComplet() {
    return retour::fichier({retour::entete("9034042", "045"),
                            retour::erreur("9034042", "123456", "000002", "NAM INVALIDE", "101"),
                            retour::erreur("9034042", "123456", "000005", "DATE INVALIDE", "102"),
                            retour::explication("01", "Le NAM est invalide", "101", "2"),
                            retour::professionnel("123456", 13, 12, 1, 0, 123456789),
                            "Ligne ignorée",
                            retour::totaux(2, 13, 12, 1, 0, 123456789)});
}

class ImpressionRetour : public ::testing::Test {
protected:
    void SetUp() override {
        Horloge::fixer(QDateTime(QDate(2026, 3, 10), QTime(10, 0)));
        imprimantes::choisir(imprimantes::Pdf);
    }
    void TearDown() override { Horloge::liberer(); }

    // Prints `contenu` as an error return; the PDF documents written.
    QStringList imprimer(const QByteArray& contenu) {
        d.ecrire("ER9034042.rmq", contenu);
        ImprimanteQt imprimante(d.chemin());
        EXPECT_TRUE(impressionretour::ImprimerRetour(d.chemin(), d.fichier("ER9034042.rmq"), imprimante, dialogues));
        return imprimante.fichiers();
    }

    DossierTemporaire d;
    DialoguesScriptes dialogues;
};

TEST_F(ImpressionRetour, ChaqueEnregistrementASaPlace) {
    const QStringList pdf = imprimer(retourComplet());
    ASSERT_EQ(pdf.size(), 1);  // the totals send the document; the end of the file adds none
    const DocumentPdf doc(pdf[0]);
    EXPECT_EQ(doc.pages(), 1);
    EXPECT_EQ(doc.toutesLesLignes(),
              (QStringList{"RETOUR DES ERREURS",
                           "Date de traitement Numéro d'attestation",
                           "2026-02-15 9034042",
                           "Numéro de Rang de la DP Code",
                           "professionnel: dans l'envoi Attestation: NCE: Message d'erreur d'erreur",
                           "123456 000002 9034042 NCE NAM INVALIDE 101",
                           "123456 000005 9034042 NCE DATE INVALIDE 102",
                           "Type d'erreur: 01",
                           "Erreur: Le NAM est invalide Erreur No: 101",
                           "Ceci entraîne le rejet de toutes les demandes",
                           "de paiement suivant celle identifiée dans le message.",
                           "Numéro de Nombre de demandes de paiement",
                           "professionnel Soumises Valides Refusées Annulées Honoraires",
                           "123456 000013 000012 000001 000000 1,234,567.89",
                           "Nombre Nombre total de demandes de paiement",
                           "d'erreurs Soumises Valides Refusées Annulées Honoraires:",
                           "000002 000013 000012 000001 000000 1,234,567.89"}));
    // Centred on the portrait page, 8.5 inches wide.
    const MotPdf* retourMot = doc.mot("RETOUR");
    const MotPdf* erreurs = doc.mot("ERREURS");
    EXPECT_NEAR((retourMot->xMin + erreurs->xMax) / 2 / 72.0, 8.5 / 2, 0.05);
    const struct {
        const char* mot;
        int occurrence;
        double x;
    } positions[] = {{"Date", 0, 4.0},  {"Rang", 0, 1.25},      {"Code", 0, 7.0}, {"000005", 0, 1.25},
                     {"NCE", 1, 3.0},   {"DATE", 0, 3.5},       {"102", 0, 7.0},  {"Soumises", 0, 2.25},
                     {"Soumises", 1, 2.0}, {"000002", 1, 1.0}, {"Honoraires:", 0, 6.0}};
    for (const auto& p : positions) {
        const MotPdf* m = doc.mot(p.mot, p.occurrence);
        ASSERT_NE(m, nullptr) << p.mot;
        EXPECT_NEAR(pouces(m->xMin), p.x, 0.03) << p.mot;
    }
    // The fees of one professional end at 6.75 inches.
    EXPECT_NEAR(pouces(doc.mot("1,234,567.89")->xMax), 6.75, 0.03);
    EXPECT_NEAR((doc.mot("RETOUR")->yMax - doc.mot("RETOUR")->yMin) /
                    (doc.mot("Rang")->yMax - doc.mot("Rang")->yMin), 16.0 / 10, 0.1);
}

// 80 error lines run over pages, each page break taken before a line that would not fit.
TEST_F(ImpressionRetour, LongRetourSurPlusieursPages) {
    QList<QByteArray> lignes = {retour::entete("9034042", "045")};
    for (int i = 1; i <= 80; ++i)
        lignes << retour::erreur("9034042", "123456", QString("%1").arg(i, 6, 10, QChar('0')),
                                 QString("ERREUR NUMERO %1").arg(i), "101");
    lignes << retour::professionnel("123456", 80, 0, 80, 0, 0) << retour::totaux(80, 80, 0, 80, 0, 0);
    const QStringList pdf = imprimer(retour::fichier(lignes));
    ASSERT_EQ(pdf.size(), 1);
    const DocumentPdf doc(pdf[0]);
    EXPECT_GE(doc.pages(), 2);
    QStringList erreurs;
    for (const QString& l : doc.toutesLesLignes())
        if (l.contains("ERREUR NUMERO"))
            erreurs << l.section(' ', 5);
    ASSERT_EQ(erreurs.size(), 80);
    for (int i = 0; i < 80; ++i)
        EXPECT_EQ(erreurs[i], QString("NUMERO %1 101").arg(i + 1));
    for (const MotPdf& m : doc.mots())
        EXPECT_LE(m.yMax / 72.0, 11 - 0.25) << m.texte.toStdString() << " page " << m.page;
    EXPECT_EQ(doc.toutesLesLignes().last(), "000080 000080 000000 000080 000000 .00");
}

// A message of the full 62 characters keeps left of the code column, the rest on a second line
// broken at a blank; the explanation's text and its number stay on the page.
TEST_F(ImpressionRetour, LongMessageDansSaColonne) {
    const QString message = "LA DATE DE SERVICE EST POSTERIEURE A LA DATE DE RECEPTION WWWW";
    const QString texte = "MMMMMMMMMM WWWWWWWWWW MMMMMMMMMM WWWWWWWWWW MMMMMMMMMM WWWWWWW";  // the widest letters
    ASSERT_EQ(message.size(), 62);
    ASSERT_EQ(texte.size(), 62);
    const QStringList pdf = imprimer(retour::fichier({retour::entete("9034042", "045"),
                                                      retour::erreur("9034042", "123456", "000002", message, "205"),
                                                      retour::explication("01", texte, "205", "0"),
                                                      retour::totaux(1, 1, 0, 1, 0, 0)}));
    ASSERT_EQ(pdf.size(), 1);
    const DocumentPdf doc(pdf[0]);
    // The words of `t` in order, from the line of `debut` on.
    const auto motsDe = [&](const QString& t, const MotPdf* debut) {
        const QStringList attendus = t.split(' ');
        QList<MotPdf> mots;
        for (const MotPdf& m : doc.mots())
            if (m.yMin >= debut->yMin && mots.size() < attendus.size() && m.texte == attendus[mots.size()])
                mots << m;
        EXPECT_EQ(mots.size(), attendus.size()) << t.toStdString();
        return mots;
    };
    const QList<MotPdf> erreur = motsDe(message, doc.mot("LA"));
    ASSERT_FALSE(erreur.isEmpty());
    const auto code = std::find_if(doc.mots().begin(), doc.mots().end(), [&](const MotPdf& m) {
        return m.texte == "205" && m.yMin == erreur.first().yMin;
    });
    ASSERT_NE(code, doc.mots().end());
    EXPECT_NEAR(pouces(code->xMin), 7.0, 0.03);
    QList<double> lignes;
    for (const MotPdf& m : erreur) {
        EXPECT_LT(pouces(m.xMax), 7.0 - 0.05) << m.texte.toStdString();
        if (m.yMin != erreur.first().yMin && !lignes.contains(m.yMin)) {
            EXPECT_NEAR(pouces(m.xMin), 3.5, 0.03) << m.texte.toStdString();  // a line's first word
            lignes << m.yMin;
        }
    }
    EXPECT_EQ(lignes.size(), 1);
    const QList<MotPdf> explication = motsDe("Erreur: " + texte + " Erreur No: 205", doc.mot("Erreur:"));
    for (const MotPdf& m : explication)
        EXPECT_LE(pouces(m.xMax), 8.0) << m.texte.toStdString();  // the printable width
    ASSERT_GE(explication.size(), 2);
    EXPECT_EQ(explication.last().yMin, explication[explication.size() - 2].yMin);  // "No:" and its number
}

QByteArray deuxEtats() {
    const QByteArray releve1 = retour::fichier({
        " 16ENTETE", retour::etat00("71234", "07", "260305", "260228"),
        retour::etat("01", {{10, "1234567"}, {18, "12345"}}),
        retour::etat("04", {{10, "123"}, {13, "0123456789"}, {23, "PAIEMENT"}}),
        retour::etat("11", {{3, "A"}, {10, "000001000"}}), retour::etat("11", {{10, "000009999"}}),
        retour::detail("001", "12345", "    ", "101", 2855),
        retour::detail("002", "12346", "0901", "205", 123456789),
        retour::detail("003", "12347", "0901", "101", 100), retour::etat("15", {}),
        retour::etat("19", {{11, "42"}, {13, "MESSAGE ENVOYE PAR LA REGIE"}}), " 18"});
    const QByteArray releve2 = retour::fichier({
        retour::etat00("71234", "08", "260312", "260305"), retour::etat("01", {{10, "1234567"}, {18, "12345"}}),
        retour::detail("001", "22345", "0901", "318", 5000), " 18"});
    return releve1 + releve2;
}

// Two statements: two documents, each with its own headings and the explanatory messages of its
// own codes in the order of the messages file.
TEST_F(ImpressionRetour, DeuxEtatsDeCompte) {
    d.ecrire("MessagesExplicatifs.txt",
             encodage::versOctets("318,\"" + QString("abcdefghij").repeated(13) + "\"\r\n101,\"Le NAM est invalide\"\r\n"
                                  "205,\"Date postérieure\"\r\n999,\"Jamais utilisé\"\r\n"));
    d.ecrire("EC7123407.rmq", deuxEtats());
    ImprimanteQt imprimante(d.chemin());
    ASSERT_TRUE(impressionretour::ImprimerRetour(d.chemin(), d.fichier("EC7123407.rmq"), imprimante, dialogues));
    EXPECT_TRUE(dialogues.resume().isEmpty());
    ASSERT_EQ(imprimante.fichiers().size(), 2);
    const DocumentPdf premier(imprimante.fichiers()[0]), second(imprimante.fichiers()[1]);
    const QString texte1 = premier.toutesLesLignes().join('\n'), texte2 = second.toutesLesLignes().join('\n');
    for (const QString& t : {texte1, texte2}) {
        EXPECT_TRUE(t.startsWith("RÉCEPTION DES ÉTATS DE COMPTE\n")) << t.toStdString();
        EXPECT_TRUE(t.contains("\nNo. = Compteur d'enregistrement\n"));
        EXPECT_TRUE(t.contains("\nLIGNE DE DÉTAILS...\n"));
        EXPECT_TRUE(t.endsWith("\nFin de l'état de compte."));
    }
    EXPECT_TRUE(texte1.contains("Numéro du professionnel: 1234567 Numéro de groupe: 12345"));
    EXPECT_TRUE(texte1.contains("Code de transaction: 123 PAIEMENT $ 1,234,567.89"));
    EXPECT_TRUE(texte1.contains("\nSOLDES\nSolde reporté: $ 10.00\n"));
    EXPECT_FALSE(texte1.contains("$ 99.99"));  // "11 " prints nothing
    EXPECT_TRUE(texte1.contains("Code: 42 message envoye par la regie"));
    const qsizetype m101 = texte1.indexOf("101 Le NAM est invalide"), m205 = texte1.indexOf("205 Date postérieure");
    EXPECT_GT(m101, texte1.indexOf("Code: 42"));
    EXPECT_GT(m205, m101);
    EXPECT_EQ(texte1.count("Le NAM est invalide"), 1);
    EXPECT_FALSE(texte1.contains("abcdefghij"));
    EXPECT_FALSE(texte1.contains("Jamais"));
    EXPECT_TRUE(texte2.contains("\n318 " + QString("abcdefghij").repeated(10) + "\n" +
                                QString("abcdefghij").repeated(3) + "\n"))
        << texte2.toStdString();
    EXPECT_FALSE(texte2.contains("NAM est invalide"));
    // The second statement starts again from Times New Roman 10, not bold, as the first did.
    const auto largeur = [](const DocumentPdf& doc) { return doc.mot("l'Agence")->xMax - doc.mot("l'Agence")->xMin; };
    EXPECT_NEAR(largeur(second), largeur(premier), 0.1);
    // Right edges: the detail amount at 6 inches, the transaction amount at 7.
    EXPECT_NEAR(pouces(premier.mot("28.55")->xMax), 6.0, 0.03);
    EXPECT_NEAR(pouces(premier.mot("1,234,567.89")->xMax), 7.0, 0.03);
    EXPECT_NEAR(pouces(premier.mot("1,234,567.89", 1)->xMax), 6.0, 0.03);
    EXPECT_NEAR((premier.mot("LIGNE")->xMin + premier.mot("DÉTAILS...")->xMax) / 2 / 72.0, 8.5 / 2, 0.05);

    // Without the messages file the user is told, and the statement is printed all the same.
    QFile::remove(d.fichier("MessagesExplicatifs.txt"));
    dialogues.effacer();
    ImprimanteQt sansMessages(d.chemin());
    ASSERT_TRUE(impressionretour::ImprimerRetour(d.chemin(), d.fichier("EC7123407.rmq"), sansMessages, dialogues));
    EXPECT_EQ(dialogues.resume(),
              QStringList{"Fichier manquant | Le fichier des messages explicatifs n'est pas trouvé.  L'impression "
                          "des messages ne pourront être imprimés.  Contacter votre fournisseur pour corriger la "
                          "situation."});
    ASSERT_EQ(sansMessages.fichiers().size(), 2);
    EXPECT_FALSE(DocumentPdf(sansMessages.fichiers()[0]).toutesLesLignes().join('\n').contains("101 Le NAM"));
}

class FenetreRetours : public ImpressionRetour {
protected:
    void SetUp() override {
        ImpressionRetour::SetUp();
        d.ecrire("MessagesExplicatifs.txt", "101,\"Le NAM est invalide\"\r\n");
        QFile::copy(POWERARC, d.fichier("PowerArc"));
        QFile::setPermissions(d.fichier("PowerArc"), QFile::ExeOwner | QFile::ReadOwner);
        reglages.ecrire(parametres::NomDuServeurFtp, serveur.hote());
        creerArchive(serveur.racine() + "/fich_ramq/F71234.zip",
                     {{"ER1.rmq", retourComplet()}, {"ER2.rmq", retourComplet()},
                      {"EC7123407.rmq", retour::fichier({" 16x", retour::etat00("71234", "07", "260305", "")})}});
        imprimantes::simulerInstallees({"Bureau"});
        imprimantes::choisir("Bureau");
    }
    void TearDown() override {
        ImpressionRetour::TearDown();
        imprimantes::simulerInstallees({});
        reglages.ecrire(parametres::NomDuServeurFtp, "127.0.0.1:1");
    }

    // The row of the file `nom`, or -1.
    static int rangee(const VueListe* l, const QString& nom) {
        for (int r = 0; r < l->nombre(); ++r)
            if (l->texte(r, 0) == nom)
                return r;
        return -1;
    }

    ServeurFtp serveur;
    ReglagesUtilisateur reglages;
};

// From the communication window: fetch, print and file, the archive section, closing.
TEST_F(FenetreRetours, ConfirmationDeBoutEnBout) {
    const Configuration configuration = Configuration::parDefaut();
    frmTelecommunication tele(d.chemin(), "71234", configuration, reglages, dialogues);
    ASSERT_TRUE(dialogues.resume().value(0).startsWith("Kestrova | VOUS AVEZ UN OU PLUSIEURS"));
    d.ecrire("Developpe/Envoi/garde.txt", "envoi en cours");
    bool vue = false;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<frmRetourErreur*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        vue = true;
        EXPECT_EQ(w->windowTitle(), "Retour d'erreur(s)");
        EXPECT_EQ(w->Frame1->title(), "Retour d'erreur(s)    ( Confirmation de la RAMQ )");
        EXPECT_EQ(w->Combo1->currentText(), "Bureau");
        w->Combo1->setCurrentText(imprimantes::Pdf);
        emit w->Combo1->activated(w->Combo1->currentIndex());

        dialogues.effacer();
        w->Command2->click();
        ASSERT_EQ(w->ListView1->nombre(), 3);
        EXPECT_EQ(dialogues.resume().value(1), "Kestrova | Sélectionnez un ou le fichier dans la liste pour impression.");
        EXPECT_FALSE(w->Command3[0]->isEnabled());  // nothing selected yet
        const int er1 = rangee(w->ListView1, "ER1.rmq");
        ASSERT_GE(er1, 0);
        EXPECT_EQ(w->ListView1->texte(er1, 4), "1,234,567.89");
        // As a workbook: the processing date a date, the count and the amount numbers.
        dialogues.effacer();
        dialogues.fichiers = {d.fichier("recus.xlsx")};
        dialogues.typesFichier = {1};
        w->findChild<QPushButton*>("CommandeExporter")->click();
        const Classeur recus = lireClasseur(d.fichier("recus.xlsx"));
        EXPECT_EQ(recus.entetes, (QStringList{"Fichier", "Date de traitement", "Attestation", "Nb factures", "Montant",
                                              "No paiement"}))
            << qPrintable(recus.erreurs);
        const auto ligne = std::find_if(recus.lignes.begin(), recus.lignes.end(),
                                        [](const QStringList& l) { return l.value(0) == "texte ER1.rmq"; });
        ASSERT_NE(ligne, recus.lignes.end());
        EXPECT_EQ(*ligne, (QStringList{"texte ER1.rmq", "date 2026-02-15", "texte 9034042", "nombre 12", "montant 1234567.89",
                                       "vide"}));
        w->ListView1->choisir(er1);
        EXPECT_TRUE(w->Command3[0]->isEnabled());

        // A print that cannot be made moves nothing.
        d.ecrire("Impressions", "un fichier à la place du dossier");
        dialogues.effacer();
        w->Command3[0]->click();
        EXPECT_TRUE(dialogues.resume().value(0).startsWith("Message | Erreur 75  L'imprimante"))
            << dialogues.resume().join("|").toStdString();
        EXPECT_EQ(w->ListView1->texte(er1, 0), "ER1.rmq");
        EXPECT_TRUE(d.existe("Developpe/ER1.rmq"));

        QFile::remove(d.fichier("Impressions"));
        dialogues.effacer();
        w->Command3[0]->click();
        EXPECT_EQ(dialogues.resume(),
                  QStringList{"Message | Impression du fichier terminée.\n\nCe fichier a été déplacé dans "
                              "votre dossier des archives."});
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(w->ListView1->texte(er1, c), "**********");
        EXPECT_FALSE(d.existe("Developpe/ER1.rmq"));
        EXPECT_EQ(d.lire("Sauvramq/ER1.rmq"), retourComplet());
        EXPECT_EQ(QDir(d.fichier("Impressions")).entryList(QDir::Files).size(), 1);
        dialogues.effacer();
        w->Command3[0]->click();
        EXPECT_EQ(dialogues.resume(), QStringList{"Message | Impossible d'imprimé ce fichier car il a été "
                                                  "déplacé dans votre dossier archives."});

        // The archive section lists the kept error returns; the removal asks first.
        w->Command1[0]->click();
        ASSERT_EQ(w->ListView2->nombre(), 2);
        EXPECT_FALSE(w->Command1[1]->isEnabled());
        w->ListView2->choisir(rangee(w->ListView2, "ER1.rmq"));
        EXPECT_TRUE(w->Command1[1]->isEnabled());
        for (Reponse r : {Reponse::Annuler, Reponse::Ok}) {
            dialogues.effacer();
            dialogues.reponses = {r};
            QTest::mouseRelease(w->ListView2->viewport(), Qt::RightButton, {}, QPoint(5, 5));
            EXPECT_EQ(dialogues.resume(),
                      QStringList{"Effacer | Veuillez confirmer le retrait du ou des fichiers sélectionnés ?"});
            EXPECT_EQ(d.existe("Sauvramq/ER1.rmq"), r == Reponse::Annuler);
            EXPECT_TRUE(d.existe("Sauvramq/ER2.rmq"));
        }
        EXPECT_EQ(w->ListView2->nombre(), 1);
        EXPECT_FALSE(w->Command1[1]->isEnabled());

        // Closing by the title bar asks while a fetched return is not printed.
        dialogues.effacer();
        dialogues.reponses = {Reponse::Non};
        w->close();
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(dialogues.resume(),
                  QStringList{"Sortie | Il y a au moins un message qui n'a pas été imprimé.\n\n"
                              "Êtes vous certain de vouloir fermer cette feuille ?"});
        dialogues.reponses = {Reponse::Oui};
        w->close();
        EXPECT_FALSE(w->isVisible());
    });
    tele.bouton("Confirmation")->trigger();
    ASSERT_TRUE(vue);
    EXPECT_EQ(imprimantes::courante(), "Bureau");
    EXPECT_TRUE(QDir(d.fichier("Developpe")).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(d.lire("Developpe/Envoi/garde.txt"), "envoi en cours");
    EXPECT_TRUE(d.existe("PowerArc"));
    EXPECT_EQ(QDir(d.fichier("Sauvramq")).entryList(QDir::Files), (QStringList{"EC7123407.rmq", "ER2.rmq"}));
}

// A fetched return whose name is kept already with other bytes is listed, printed and filed under
// its own name, beside the kept file, which never changes.
TEST_F(FenetreRetours, UnNomDejaGardeSImprimeSousSonPropreNom) {
    d.ecrire("Sauvramq/ER1.rmq", "un autre retour ER1");
    imprimantes::choisir(imprimantes::Pdf);
    frmRetourErreur w(d.chemin(), "71234", reglages, dialogues);
    w.Command2->click();
    const int nouveau = rangee(w.ListView1, "ER1-2.rmq");
    ASSERT_GE(nouveau, 0) << dialogues.resume().join("\n").toStdString();
    EXPECT_EQ(rangee(w.ListView1, "ER1.rmq"), -1);
    w.ListView1->choisir(nouveau);
    dialogues.effacer();
    w.Command3[0]->click();
    EXPECT_EQ(dialogues.resume(), QStringList{"Message | Impression du fichier terminée.\n\nCe fichier a été déplacé "
                                              "dans votre dossier des archives."});
    EXPECT_EQ(w.ListView1->texte(nouveau, 0), "**********");
    EXPECT_EQ(d.lire("Sauvramq/ER1-2.rmq"), retourComplet());
    EXPECT_EQ(d.lire("Sauvramq/ER1.rmq"), "un autre retour ER1");
    w.Command1[0]->click();
    QStringList archives;
    for (const QStringList& r : rangees(w.ListView2))
        archives << r.value(0);
    EXPECT_EQ(archives, (QStringList{"ER1-2.rmq", "ER1.rmq", "ER2.rmq"}));
}

}  // namespace

namespace {

// The statement window is the same window with its own settings; its "Afficher" opens the viewer.
TEST_F(FenetreRetours, EtatDeCompteDeBoutEnBout) {
    const Configuration configuration = Configuration::parDefaut();
    frmTelecommunication tele(d.chemin(), "71234", configuration, reglages, dialogues);
    imprimantes::choisir(imprimantes::Pdf);
    bool vue = false;
    QString agenceAffichee;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<frmRetourErreur*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        vue = true;
        EXPECT_EQ(w->objectName(), "frmRetourEtatCmpt");
        EXPECT_EQ(w->windowTitle(), "Réception des états de compte");
        EXPECT_EQ(w->Frame1->title(), "États de Compte");
        EXPECT_EQ(entetes(w->ListView1).value(3), "Nb Factures");
        EXPECT_EQ(w->Command2->toolTip(),
                  "Vérifier s'il y a un ou plusieurs fichiers d' État de Compte sur le serveur");
        w->Command2->click();
        ASSERT_EQ(w->ListView1->nombre(), 3);
        // An error return listed here has the same summary as in the error returns window.
        const int er1 = rangee(w->ListView1, "ER1.rmq");
        EXPECT_EQ(w->ListView1->texte(er1, 3), "12");
        EXPECT_EQ(w->ListView1->texte(er1, 4), "1,234,567.89");
        const int ec = rangee(w->ListView1, "EC7123407.rmq");
        EXPECT_EQ(w->ListView1->texte(ec, 1), "2026/03/05");
        EXPECT_EQ(w->ListView1->texte(ec, 5), "07");
        w->ListView1->choisir(ec);
        w->Command3[0]->click();
        EXPECT_EQ(w->ListView1->texte(ec, 0), "**********");
        EXPECT_FALSE(d.existe("Developpe/EC7123407.rmq"));

        w->Command1[0]->click();
        ASSERT_EQ(w->ListView2->nombre(), 1);
        w->ListView2->choisir(0);
        ASSERT_TRUE(w->Command1[2]->isEnabled());
        QTimer::singleShot(0, [&] {
            auto* v = qobject_cast<frmAfficheRapport*>(QApplication::activeModalWidget());
            ASSERT_NE(v, nullptr);
            agenceAffichee = v->Label1[1]->text();
            v->Command1->click();
        });
        w->Command1[2]->click();
        dialogues.reponses = {Reponse::Oui};
        w->Command3[1]->click();
    });
    tele.bouton("État de compte")->trigger();
    ASSERT_TRUE(vue);
    EXPECT_EQ(agenceAffichee, "Agence 71234");
}

}  // namespace
