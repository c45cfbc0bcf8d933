#include "config/fichierconfiguration.h"
#include "config/parametres.h"
#include "entry/Principal.h"
#include "platform/MaskEdBox.h"
#include "platform/horloge.h"
#include "platform/imprimantes.h"
#include "platform/reglages.h"
#include "statistics/frmListeDesFacturations.h"
#include "statistics/frmStatMensuelle.h"
#include "statistics/frmStatistique.h"
#include "support/classeur.h"
#include "support/clavier.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/pdf.h"
#include "support/serveursmtp.h"
#include "transmission/frmTransmettre.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTimer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include "returns/listeqt.h"
#include <gtest/gtest.h>

namespace {

QStringList lignes(const VueListe* l) {
    QStringList r;
    for (QStringList cellules : l->modele()->rangees()) {
        while (!cellules.isEmpty() && cellules.last().isEmpty())
            cellules.removeLast();
        r << cellules.join('|');
    }
    return r;
}

class Statistiques : public ::testing::Test {
protected:
    void SetUp() override {
        Horloge::fixer(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
        imprimantes::choisir(imprimantes::Pdf);
        d.ecrire("Kestrova.Cfg", configurationADeuxOptometristes());
        d.ecrire("Facturat.Lex", "R7123400D71234000000000000000000000000");
        u.ecrire("UtiliseDossierPatient", "NON");
    }
    void TearDown() override { Horloge::liberer(); }

    // Stores one invoice through the entry window: optometrist slot, date, acts, special codes.
    void facturer(Principal& p, int optometriste, const char* date, const QStringList& actes, const char* cs = "") {
        p.Combo1[0]->setCurrentIndex(optometriste);
        p.Combo1_Click(0);
        p.MaskEdBox1[0]->setClipText("TREM80011514");
        p.Text1[0]->setText("TREMBLAY");
        p.Text1[1]->setText("JEAN");
        p.MaskEdBox1[1]->setClipText("19800115");
        p.MaskEdBox1[5]->setClipText(date);
        p.MaskEdBox1[6]->setClipText("3784");
        p.Text1[5]->setText(cs);
        for (int i = 0; i < actes.size(); ++i) {
            p.Combo1[2 + i]->setEditText(actes[i]);
            p.Combo1_LostFocus(2 + i);
        }
        dialogues.effacer();
        p.Command1_Click();
        ASSERT_TRUE(dialogues.resume().value(0).startsWith("Sauvagarde | La facture #")) << qPrintable(dialogues.resume().join('\n'));
    }
    QList<QStringList> pdf(const QStringList& avant) {
        QList<QStringList> docs;
        for (const QString& f : QDir(d.fichier("Impressions")).entryList(QDir::Files, QDir::Name))
            if (!avant.contains(f))
                docs << DocumentPdf(d.fichier("Impressions/" + f)).toutesLesLignes();
        return docs;
    }

    DossierTemporaire d;
    DialoguesScriptes dialogues;
    ReglagesUtilisateur u;
};

// Invoices stored in the entry window, read back month by month for one optometrist: the list,
// the counts and totals, the printed summary and list, and the mailed summary.
TEST_F(Statistiques, MensuellesDeBoutEnBout) {
    {
        Principal p(d.chemin(), dialogues, u);
        ASSERT_TRUE(p.Form_Load());
        facturer(p, 0, "20261103", {"09001"});
        facturer(p, 0, "20261103", {"09001", "09008"});
        facturer(p, 0, "20261117", {"09001"}, "B");
        facturer(p, 1, "20261105", {"09001"});
        facturer(p, 0, "20261020", {"09014"});
    }
    EXPECT_EQ(d.lire("Sauvramq/STA2026.Dat").size(), 5 * 97);

    const Configuration configuration = fichierconfiguration::lire(d.fichier("Kestrova.Cfg"));
    frmStatMensuelle w(d.chemin(), configuration, "71234", "52713", u, dialogues);
    EXPECT_EQ(w.Combo1[0]->count(), 2);
    EXPECT_EQ(w.Combo1[1]->currentText(), "2026");
    EXPECT_EQ(w.Combo1[2]->currentText(), "Décembre");
    EXPECT_FALSE(w.Command1[0]->isEnabled());
    w.Combo1[2]->setCurrentIndex(10);
    w.Command1[3]->click();
    EXPECT_EQ(lignes(w.ListView1),
              (QStringList{"20261103|52713|TREM80011514|09001|002855|     |      |     |      |     |      |Non",
                           "20261103|52713|TREM80011514|09001|002855|09008|001200|     |      |     |      |Non",
                           "20261117|52713|TREM80011514|09001|002855|     |      |     |      |     |      |Oui",
                           "Nombre|de factures|2", "Nombre|d'actes|3", "Total|Honoraire|69.10",
                           "09001|2|57.10", "09008|1|12.00",
                           "Nombre|de refacturations|1", "Nombre|d'actes|1", "Total|Honoraire|28.55"}));
    EXPECT_TRUE(w.Command1[0]->isEnabled());

    // Exported for a spreadsheet as the list shows it.
    dialogues.fichiers = {d.fichier("novembre.csv")};
    w.findChild<QPushButton*>("CommandeExporter")->click();
    const QStringList csv = QString::fromUtf8(d.lire("novembre.csv").mid(3)).split("\r\n");
    EXPECT_EQ(csv.mid(0, 2), (QStringList{"Date;Établis.;NAM;Acte;Hon.;Acte;Hon.;Acte;Hon.;Acte;Hon.;Refact.",
                                          "2026-11-03;52713;TREM80011514;09001;28,55;;;;;;;Non"}));
    EXPECT_EQ(csv[6], "Total;Honoraire;69,10;;;;;;;;;");
    // The command line exports the same month byte for byte.
    QProcess commande;
    commande.start(KESTROVA, {"--dossier", d.chemin(), "exporter", "statistiques-mensuelles", "--format", "csv",
                              "--annee", "2026", "--mois", "11", "--optometriste", "311111", "--sortie",
                              d.fichier("commande.csv")});
    ASSERT_TRUE(commande.waitForFinished(60000));
    EXPECT_EQ(commande.exitCode(), 0) << commande.readAllStandardError().constData();
    EXPECT_EQ(d.lire("commande.csv"), d.lire("novembre.csv"));

    // The printed summary: one line per day, re-billings left out; the list with slashed dates.
    const QStringList avant = QDir(d.fichier("Impressions")).entryList(QDir::Files);
    dialogues.effacer();
    dialogues.reponses = {Reponse::Ok, Reponse::Ok};
    w.Command1[0]->click();
    w.Command1[1]->click();
    EXPECT_EQ(dialogues.resume(), (QStringList{"Impression | Impression du sommaire mensuel sur\n\nPDF",
                                               "Impression | Impression du rapport détaillé sur\n\nPDF"}));
    const QList<QStringList> docs = pdf(avant);
    ASSERT_EQ(docs.size(), 2);
    const QStringList entete = {"AGENCE: 71234", "ÉTABLISSEMENT: 52713", "PÉRIODE: Novembre 2026",
                                "OPTOMÉTRISTE: 1e Optométriste 311111"};
    const QStringList& detaille = docs[0][0].startsWith("RAPPORT DÉTAILLÉ") ? docs[0] : docs[1];
    const QStringList& sommaire = docs[0][0].startsWith("RAPPORT DÉTAILLÉ") ? docs[1] : docs[0];
    EXPECT_EQ(sommaire, (QStringList{"RAPPORT SUR LA FACTURATION À LA RAMQ"} + entete +
                         QStringList{"Jour Nombre de factures Montant réclamé", "03 2 69.10",
                                     "========== ==========", "Total 2 69.10"}));
    EXPECT_EQ(detaille.mid(0, 5), (QStringList{"RAPPORT DÉTAILLÉ SUR LA FACTURATION À LA RAMQ"} + entete));
    EXPECT_EQ(detaille[5], "2026/11/03 52713 TREM80011514 09001 002855 Non");
    EXPECT_EQ(detaille[7].left(10), "2026/11/17");

    // The mail, against a real server; the recipient is kept for the next time.
    ServeurSmtp smtp;
    u.ecrire(parametres::AdresseDuSmtp, smtp.hote());
    u.ecrire(parametres::AdresseDeCourriel, "lac@exemple.ca");
    dialogues.effacer();
    dialogues.saisies = {"compta@exemple.ca"};
    w.Command1[4]->click();
    EXPECT_EQ(dialogues.resume(), (QStringList{"Courriel automatique | Destinataire du courriel",
                                               "Courriel privée | Votre fichier a été envoyé avec succès..."}));
    ASSERT_EQ(smtp.messages().size(), 1);
    const ServeurSmtp::Message m = smtp.messages()[0];
    EXPECT_EQ(m.de, "lac@exemple.ca");
    EXPECT_EQ(m.a, QStringList{"compta@exemple.ca"});
    EXPECT_EQ(m.sujet, "Rapport facturation RAMQ");
    EXPECT_EQ(m.corps.split("\r\n"),
              ((QStringList{"RAPPORT SUR LA FACTURATION À LA RAMQ", ""} + entete) +
                  QStringList{"Jour                      Nombre de factures                      Montant réclamé",
                              "03                                         2                                69.10",
                              "==========",
                              "Total                                      2                                69.10", ""}));
    EXPECT_EQ(u.lire(parametres::xxDestinataire, {}), "compta@exemple.ca");
    EXPECT_EQ(dialogues.appels[0].defaut, parametres::DestinataireParDefaut);

    // An empty answer sends nothing; a refusing server is told.
    dialogues.effacer();
    dialogues.saisies = {""};
    w.Command1[4]->click();
    EXPECT_EQ(smtp.messages().size(), 1);
    ServeurSmtp refus(true);
    u.ecrire(parametres::AdresseDuSmtp, refus.hote());
    dialogues.saisies = {"compta@exemple.ca"};
    w.Command1[4]->click();
    EXPECT_EQ(dialogues.resume().last(), "Courriel privée | Le message n'a pas pu être expédié.");
    EXPECT_EQ(dialogues.boites().last().icone, Icone::Critique);
}

// "Compte rendu": the acts of the invoices in memory, of a kept billing, of a year.
TEST_F(Statistiques, CompteRendu) {
    ValeursFacture v = factureDeBase();  // 09001 and 09008 of 311111
    ValeursFacture autre = factureDeBase();
    autre.professionnel = "322227";
    QByteArray kept = enregistrementDe(v);
    kept.replace(10, 7, "6034042");
    d.ecrire("Sauvramq/Ftmp.Fil", enregistrementDe(v) + enregistrementDe(v, "99") + enregistrementDe(autre));
    d.ecrire("Sauvramq/D7123401", kept + kept + QByteArray(1, 26));
    d.ecrire("Sauvramq/D7123402", QByteArray(kept).replace(10, 1, "5") + QByteArray(1, 26));
    const Configuration configuration = fichierconfiguration::lire(d.fichier("Kestrova.Cfg"));
    frmStatistique w(d.chemin(), configuration, "71234", "52713", u, dialogues);
    EXPECT_EQ(w.windowTitle(), "Compte rendu");
    EXPECT_EQ(w.Combo1->currentText(), "1e Optométriste   311111");
    const auto ligne = [&](const QString& code) {
        for (int r = 0; r < w.MSFlexGrid1->rowCount(); ++r)
            if (w.MSFlexGrid1->item(r, 0)->text() == code)
                return QStringList{w.MSFlexGrid1->item(r, 1)->text(), w.MSFlexGrid1->item(r, 2)->text(),
                                   w.MSFlexGrid1->item(r, 3)->text()};
        return QStringList{};
    };
    EXPECT_EQ(ligne("09001"), (QStringList{"1", "28.55", "28.55"}));
    EXPECT_EQ(ligne("09008"), (QStringList{"1", "12.00", "12.00"}));
    EXPECT_EQ(ligne("Grand total : "), (QStringList{"", "", "40.55 $"}));
    EXPECT_EQ(w.LabelPeriode->text(), "Pour la période du 09/01/15 au 09/01/15");
    EXPECT_EQ(w.LabelNombre->text(), "1");
    ASSERT_EQ(w.ListView1->nombre(), 2);
    EXPECT_EQ(w.ListView1->texte(0, 2), "2");

    // The keyboard chooses the billing counted: the list taking the focus, then Down and Up.
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.ListView1->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(ligne("09001"), (QStringList{"2", "28.55", "57.10"}));
    EXPECT_TRUE(w.ListView1->estChoisie(0));
    QTest::keyClick(w.ListView1, Qt::Key_Down);
    EXPECT_EQ(ligne("09001"), (QStringList{"1", "28.55", "28.55"}));
    EXPECT_TRUE(w.ListView1->estChoisie(1));
    QTest::keyClick(w.ListView1, Qt::Key_Up);
    EXPECT_EQ(ligne("09001"), (QStringList{"2", "28.55", "57.10"}));
    // The year 2026: only the billings whose attestation begins with 6.
    w.Command2->click();
    EXPECT_EQ(ligne("09008"), (QStringList{"2", "12.00", "24.00"}));
    EXPECT_EQ(ligne("Grand total : "), (QStringList{"", "", "81.10"}));
    EXPECT_EQ(w.LabelPeriode->text(), "Pour l'année 2026");
    EXPECT_EQ(w.LabelAnnuel->text(), "annuel");

    // Alt+X in the list of billings exports that list; the type chosen in the save dialog makes
    // it a workbook, and its extension is added to the name typed.
    dialogues.effacer();
    dialogues.fichiers = {d.fichier("facturations")};
    dialogues.typesFichier = {1};
    ASSERT_TRUE(Clavier().touche(Qt::Key_X, Qt::AltModifier).jouer());
    ASSERT_EQ(dialogues.boites().size(), 2) << qPrintable(dialogues.resume().join('\n'));
    EXPECT_EQ(dialogues.boites()[0].types, (QStringList{"Tableur CSV (*.csv)", "Classeur Excel (*.xlsx)"}));
    EXPECT_EQ(dialogues.resume().last(), "Exporter | La liste a été exportée dans le fichier " + d.fichier("facturations.xlsx") + ".");
    const Classeur lu = lireClasseur(d.fichier("facturations.xlsx"));
    EXPECT_EQ(lu.feuille, "Facturations");
    EXPECT_EQ(lu.entetes, (QStringList{"Fichier", "Période", "Nombre"}));
    EXPECT_EQ(lu.lignes, (QList<QStringList>{{"texte D7123401", "texte Du 09/01/15 au 09/01/15", "nombre 2"},
                                             {"texte D7123402", "texte Du 09/01/15 au 09/01/15", "nombre 1"}}))
        << qPrintable(lu.erreurs);
    // Elsewhere in the window, the acts counted.
    w.Combo1->setFocus(Qt::TabFocusReason);
    dialogues.fichiers = {d.fichier("actes.xlsx")};
    dialogues.typesFichier = {1};
    ASSERT_TRUE(Clavier().touche(Qt::Key_X, Qt::AltModifier).jouer());
    const QList<QStringList> actes = lireClasseur(d.fichier("actes.xlsx")).lignes;
    EXPECT_TRUE(actes.contains(QStringList{"texte 09001", "nombre 2", "montant 28.55", "montant 57.10"}))
        << qPrintable(actes.value(0).join('|'));
    EXPECT_EQ(actes.value(actes.size() - 1), (QStringList{"texte Grand total :", "vide", "vide", "montant 81.10"}));

    const QStringList avant = QDir(d.fichier("Impressions")).entryList(QDir::Files);
    w.Command1[0]->click();
    const QList<QStringList> docs = pdf(avant);
    ASSERT_EQ(docs.size(), 1);
    EXPECT_EQ(docs[0].mid(0, 4), (QStringList{"Compte rendu de 1e Optométriste 311111", "Imprimé le 06 décembre 2026",
                                              "Pour l'année 2026", "Nombre de factures : 2"}));
    EXPECT_TRUE(docs[0].contains("09001 2 28.55 57.10"));
    EXPECT_EQ(docs[0].last(), "Kestrova - 2026");
}

// The list of sent billings: a missing log is an empty list; closing writes nothing, so a
// sending logged meanwhile by another workstation stays; a removal sees it and lists it again.
TEST_F(Statistiques, ListeDesFacturations) {
    {
        frmListeDesFacturations vide(d.chemin(), dialogues);
        EXPECT_EQ(vide.ListView1->nombre(), 0);
        vide.close();
    }
    EXPECT_FALSE(d.existe("Sauvramq/LstEnvoie.Dat"));
    const auto ligne = [](const char* r) {
        return (QByteArray(r) + "6034042000012  $ 123.452026120609:30:05").leftJustified(201, ' ');
    };
    d.ecrire("Sauvramq/LstEnvoie.Dat", ligne("R7123401") + ligne("R7123402"));
    frmListeDesFacturations w(d.chemin(), dialogues);
    EXPECT_EQ(lignes(w.ListView1), (QStringList{"R7123401|6034042|000012|$ 123.45|2026/12/06|09:30:05",
                                                 "R7123402|6034042|000012|$ 123.45|2026/12/06|09:30:05"}));
    const QByteArray ailleurs = ligne("R7123401") + ligne("R7123402") + ligne("R7123403");
    d.ecrire("Sauvramq/LstEnvoie.Dat", ailleurs);  // another workstation's sending
    w.ListView1->choisir(0);
    dialogues.reponses = {Reponse::Ok};
    w.ListView1_MouseUp();
    EXPECT_EQ(w.ListView1->nombre(), 3);
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat"), ailleurs);
    w.ListView1->choisir(0);
    dialogues.reponses = {Reponse::Ok};
    w.ListView1_MouseUp();
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat"), ligne("R7123402") + ligne("R7123403"));
    d.ecrire("Sauvramq/LstEnvoie.Dat", ailleurs);
    w.close();
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat"), ailleurs);

    // The sending window's third button opens it.
    frmTransmettre t(d.chemin(), u, dialogues);
    QString ouverte;
    QTimer::singleShot(0, [&] {
        if (QWidget* f = QApplication::activeModalWidget()) {
            ouverte = f->objectName();
            f->close();
        }
    });
    t.Command1[2]->click();
    EXPECT_EQ(ouverte, "frmListeDesFacturations");
}

}  // namespace
