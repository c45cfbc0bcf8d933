#include "config/configuration.h"
#include "platform/horloge.h"
#include "platform/imprimantes.h"
#include "platform/reglages.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/serveurftp.h"
#include "transmission/frmTelePrepare.h"
#include "transmission/frmTelecommunication.h"
#include "transmission/frmVerificationInternet.h"
#include "config/parametres.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class FenetreTelecommunication : public ::testing::Test {
protected:
    void SetUp() override {
        Horloge::fixer(QDateTime(QDate(2009, 2, 3), QTime(9, 30)));
        configuration = Configuration::parDefaut();
    }
    void TearDown() override {
        Horloge::liberer();
        reglages.ecrire(parametres::NomDuServeurFtp, "127.0.0.1:1");
    }

    // Runs `action` on the preparation window as soon as it is shown.
    void quandLaPreparationSOuvre(std::function<void(frmTelePrepare&)> action) {
        QTimer::singleShot(0, [this, action] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* f = qobject_cast<frmTelePrepare*>(w); f && f->isVisible()) {
                    fenetreVue = true;
                    action(*f);
                    return;
                }
            ADD_FAILURE() << "la fenêtre de préparation ne s'est pas ouverte";
        });
    }

    DossierTemporaire d;
    DialoguesScriptes dialogues;
    Configuration configuration;
    ReglagesUtilisateur reglages;
    bool fenetreVue = false;
};

TEST_F(FenetreTelecommunication, PreparationDeBoutEnBout) {
    const QByteArray f = enregistrementDe(factureDeBase());
    preparerDossier(d, "R7123407D71234070041ABCDEFGHIJKLMNO041", {f, f});
    imprimantes::choisir(imprimantes::Pdf);
    frmTelecommunication w(d.chemin(), "71234", configuration, reglages, dialogues);
    bool prepare = false;
    QObject::connect(&w, &frmTelecommunication::facturesPreparees, [&] { prepare = true; });
    QAction* preparation = w.bouton("Préparation");
    ASSERT_NE(preparation, nullptr);
    EXPECT_TRUE(preparation->isEnabled());
    for (const char* cle : {"Transmettre", "Confirmation", "État de compte", "Précédentes", "Quitter"})
        EXPECT_NE(w.bouton(cle), nullptr) << cle;

    QString resume, legende;
    QStringList imprimantesOffertes;
    int progression = -1;
    quandLaPreparationSOuvre([&](frmTelePrepare& p) {
        legende = p.windowTitle();
        resume = p.Label1->text();
        for (int i = 0; i < p.Combo1->count(); ++i)
            imprimantesOffertes << p.Combo1->itemText(i);
        EXPECT_EQ(p.Combo1->currentText(), imprimantes::Pdf);
        EXPECT_EQ(p.findChild<QLabel*>("Label3")->text(), "Imprimante:");
        EXPECT_EQ(p.findChild<QPushButton*>("Command1_1")->text(), "&Annuler");
        QPushButton* ok = p.findChild<QPushButton*>("Command1_0");
        EXPECT_EQ(ok->text(), "&Ok");
        ok->click();
        progression = p.ProgressBar1->value();
    });
    preparation->trigger();
    ASSERT_TRUE(fenetreVue);

    EXPECT_EQ(legende, "Préparation des factures pour transmission à la RAMQ.");
    EXPECT_TRUE(resume.startsWith("Fichier requête: R7123407\n\nNuméro d'attestation: 9034042\n\n"
                                  "Nombre de demandes de paiement: 000002\n\n"));
    EXPECT_TRUE(imprimantesOffertes.contains("PDF"));
    EXPECT_EQ(progression, 100);
    EXPECT_EQ(dialogues.resume(),
              QStringList{"Préparation des fichiers | Préparation des 000002 fiches,\n\n"
                          "effectuée correctement...\n\nC'est maintenant prêt\n"
                          "pour la transmission à la Régie."});
    EXPECT_TRUE(prepare);
    EXPECT_FALSE(preparation->isEnabled());
    EXPECT_EQ(d.lire("Sauvramq/D7123407").size(), 2 * 723 + 1);
    EXPECT_EQ(d.lire("Sauvramq/R7123407").size(), 163);
    EXPECT_EQ(d.lire("Reqt"), d.lire("Sauvramq/R7123407"));
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Bak"), f + f);
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), QByteArray());
    EXPECT_TRUE(d.lire("Facturat.Lex").startsWith("R7123408D71234080043ABCDEFGHIJKLMNO042"));
    EXPECT_EQ(QDir(d.fichier("Impressions")).entryList({"*.pdf"}).size(), 1);
}

TEST_F(FenetreTelecommunication, AnnulerNeChangeRienEtRendLImprimante) {
    const QByteArray f = enregistrementDe(factureDeBase());
    preparerDossier(d, "R7123407D71234070041ABCDEFGHIJKLMNO041", {f});
    // Two printers: the one current before, and "PDF" chosen in the window then cancelled.
    imprimantes::simulerInstallees({"Bureau"});
    imprimantes::choisir("Bureau");
    frmTelecommunication w(d.chemin(), "71234", configuration, reglages, dialogues);
    quandLaPreparationSOuvre([](frmTelePrepare& p) {
        EXPECT_EQ(p.Combo1->currentText(), "Bureau");
        p.Combo1->setCurrentText(imprimantes::Pdf);
        emit p.Combo1->activated(p.Combo1->currentIndex());
        EXPECT_EQ(imprimantes::courante(), imprimantes::Pdf);
        p.Command1[1]->click();
    });
    w.bouton("Préparation")->trigger();
    ASSERT_TRUE(fenetreVue);
    EXPECT_TRUE(dialogues.appels.isEmpty());
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), f);
    EXPECT_FALSE(d.existe("Reqt"));
    EXPECT_EQ(imprimantes::courante(), "Bureau");
    imprimantes::simulerInstallees({});
    imprimantes::choisir(imprimantes::Pdf);
    EXPECT_TRUE(w.bouton("Préparation")->isEnabled());
}

TEST_F(FenetreTelecommunication, RienAPreparerOuPasDeFacturatLex) {
    d.ecrire("Sauvramq/Ftmp.Fil", "");
    {
        frmTelecommunication w(d.chemin(), "71234", configuration, reglages, dialogues);
        EXPECT_FALSE(w.bouton("Préparation")->isEnabled());
        // "Précédentes" opens the previous billings.
        QString ouverte;
        QTimer::singleShot(0, [&] {
            if (QWidget* f = QApplication::activeModalWidget()) {
                ouverte = f->objectName();
                f->close();
            }
        });
        w.bouton("Précédentes")->trigger();
        EXPECT_EQ(ouverte, "frmPrecedenteFact");
    }
    // Without Facturat.Lex the window says so and offers nothing to confirm.
    frmTelePrepare p(d.chemin(), configuration, dialogues);
    EXPECT_EQ(dialogues.resume(),
              QStringList{"Message | Le fichier Facturat.lex n'existe pas, veuillez le créer.  "
                          "Ouvrir fichier puis initialisation."});
    EXPECT_FALSE(p.Command1[0]->isEnabled());
}

// Opening asks the server for the agency's returns archive while the check window is up: the
// message when one waits (left in the work folder), silence when none, the error otherwise.
TEST_F(FenetreTelecommunication, VerificationDesRetoursALOuverture) {
    ServeurFtp serveur(30000);  // slow enough for the check window to be seen
    reglages.ecrire(parametres::NomDuServeurFtp, serveur.hote());
    const QByteArray archive(100000, '\x1a');
    QFile f(serveur.racine() + "/fich_ramq/F71234.zip");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(archive);
    f.close();
    bool verificationVue = false;
    QTimer sonde;
    QObject::connect(&sonde, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            verificationVue |= qobject_cast<frmVerificationInternet*>(w) && w->isVisible();
    });
    sonde.start(10);
    {
        frmTelecommunication w(d.chemin(), "71234", configuration, reglages, dialogues);
        EXPECT_EQ(dialogues.resume(),
                  QStringList{"Kestrova | VOUS AVEZ UN OU PLUSIEURS\n\nRetour des Erreurs ou État de "
                              "compte.\n\nVous pouvez récupérer le ou les fichiers,\nen cliquant sur le "
                              "bouton Confirmation.\n\nMerci"});
        EXPECT_EQ(w.LabelConnexion->text(), "Serveur : connexion non chiffrée");
    }
    sonde.stop();
    EXPECT_TRUE(verificationVue);
    EXPECT_EQ(d.lire("Developpe/F71234.zip"), archive);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<frmVerificationInternet*>(w) && w->isVisible());

    dialogues.effacer();
    {   // Another agency: nothing waits for it.
        frmTelecommunication w(d.chemin(), "71999", configuration, reglages, dialogues);
        EXPECT_TRUE(dialogues.appels.isEmpty());
    }
    QDir(d.fichier("Developpe")).removeRecursively();
    d.ecrire("Developpe", "un fichier à la place du dossier de travail");
    frmTelecommunication w(d.chemin(), "71234", configuration, reglages, dialogues);
    EXPECT_EQ(dialogues.resume(),
              QStringList{"Kestrova | Erreur d'accès au chemin/fichier: " + d.fichier("Developpe")});
    EXPECT_EQ(dialogues.boites().first().icone, Icone::Critique);
}

}  // namespace
