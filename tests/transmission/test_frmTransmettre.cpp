#include "config/parametres.h"
#include "platform/horloge.h"
#include "platform/reglages.h"
#include "support/autreposte.h"
#include "support/certificat.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/serveurftp.h"
#include "support/serveursmtp.h"
#include "transmission/frmTransmettre.h"
#include "transmission/preparation.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// A store of settings in memory.
class Reglages : public MagasinReglages {
public:
    QString lire(const QString& cle, const QString& defaut) const override {
        return valeurs.value(cle, defaut);
    }
    void ecrire(const QString& cle, const QString& valeur) override { valeurs[cle] = valeur; }
    QMap<QString, QString> valeurs;
};

class FenetreTransmettre : public ::testing::Test {
protected:
    void SetUp() override {
        Horloge::fixer(QDateTime(QDate(2009, 2, 3), QTime(9, 30, 5)));
        d.ecrire("Kestrova.Cfg", donnees("Kestrova.Cfg.defaut"));
    }
    void TearDown() override { Horloge::liberer(); }
    void preparer(const QList<QByteArray>& factures) {
        preparerDossier(d, "R7123407D71234070041ABCDEFGHIJKLMNO041", factures);
        DialoguesScriptes muet;
        const auto v = preparation::valeursDepuis(preparation::lireAgence(d.chemin()),
                                                  Horloge::aujourdhui());
        ASSERT_TRUE(preparation::Preparer(d.chemin(), v, muet).reussi);
    }
    DossierTemporaire d;
    DialoguesScriptes dialogues;
    Reglages reglages;
};

TEST_F(FenetreTransmettre, ResumeEnvoiEtCliniqueEnregistree) {
    preparer({enregistrementDe(factureDeBase())});
    QFile::copy(PACOMP, d.fichier("PaComp"));
    ServeurFtp serveur;
    reglages.ecrire(parametres::NomDuServeurFtp, serveur.hote());
    reglages.ecrire(parametres::NomDeLaClinique, "Clinique du Lac");

    frmTransmettre w(d.chemin(), reglages, dialogues);
    EXPECT_EQ(w.windowTitle(), "Transmission des factures à la RAMQ");
    QStringList resume;
    for (QLabel* l : w.Label1)
        resume << l->text();
    EXPECT_EQ(resume, (QStringList{"Agence: 71234", "Attestation: 9034042", "Nombre de factures: 000001",
                                   "Montant: $ 40.55", "Requête: R7123407",
                                   "Demandes de paiement: D7123407", "Date: 2009/02/03",
                                   "Heure: 09:30:05"}));
    EXPECT_EQ(w.Text1[8]->text(), d.chemin() + "/Sauvramq/R7123407");
    EXPECT_EQ(w.Text1[9]->text(), d.chemin() + "/Sauvramq/D7123407");
    EXPECT_EQ(w.Text2[0]->text(), "Clinique du Lac");
    EXPECT_EQ(w.Text2[1]->text(), "Inscrire le téléphone de votre clinique ici");
    EXPECT_TRUE(dialogues.appels.isEmpty());
    ASSERT_TRUE(w.Command1[0]->isEnabled());

    w.Command1[0]->click();
    EXPECT_EQ(dialogues.resume().last().left(31), "Serveur ramq | Vos factures ont");
    EXPECT_TRUE(QFile::exists(serveur.racine() + "/dp_ramq/AGP71234.zip"));
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat").size(), 201);
    EXPECT_EQ(w.ProgressBar1->value(), 100);
    EXPECT_EQ(w.LabelConnexion->text(), "Serveur : connexion non chiffrée");
    EXPECT_FALSE(w.Command1[0]->isEnabled());
    EXPECT_FALSE(w.Command1[1]->isEnabled());

    w.show();
    w.Text2[1]->setText("  819-555-0101  ");
    w.close();
    EXPECT_EQ(reglages.valeurs.value(parametres::NoDeTelephone), "819-555-0101");
}

// While another workstation sends the same billing (its request file held), nothing is sent, its
// work folder is left alone, and the sending may be tried again; with TLS offered, the sending
// goes encrypted and says so.
TEST_F(FenetreTransmettre, EnvoiDejaEnCoursPuisChiffre) {
    preparer({enregistrementDe(factureDeBase())});
    QFile::copy(PACOMP, d.fichier("PaComp"));
    DossierTemporaire certificats;
    ServeurFtp serveur(0, certificatDeTest(certificats, "serveur"));
    qputenv("KESTROVA_CERTIFICATS", QFile::encodeName(certificats.fichier("serveur.crt")));
    reglages.ecrire(parametres::NomDuServeurFtp, serveur.hote());
    d.ecrire("Developpe/Envoi/AGP71234.zip", "l'envoi de l'autre poste");
    frmTransmettre w(d.chemin(), reglages, dialogues);
    {
        AutrePoste autre(d.fichier("Sauvramq/R7123407"));
        ASSERT_TRUE(autre.verrouille());
        w.Command1[0]->click();
        EXPECT_EQ(dialogues.resume(),
                  QStringList{"Serveur ramq | Une autre transmission de cette facturation est en cours."});
        EXPECT_EQ(w.LabelConnexion->text(), "");
        EXPECT_FALSE(QFile::exists(serveur.racine() + "/dp_ramq/AGP71234.zip"));
        EXPECT_EQ(d.lire("Developpe/Envoi/AGP71234.zip"), "l'envoi de l'autre poste");
        EXPECT_FALSE(d.existe("Sauvramq/LstEnvoie.Dat"));
        EXPECT_TRUE(w.Command1[0]->isEnabled() && w.Command1[1]->isEnabled());
    }
    dialogues.effacer();
    w.Command1[0]->click();
    qunsetenv("KESTROVA_CERTIFICATS");
    EXPECT_EQ(dialogues.resume().last().left(31), "Serveur ramq | Vos factures ont");
    EXPECT_EQ(w.LabelConnexion->text(), "Serveur : connexion chiffrée");
    EXPECT_TRUE(QFile::exists(serveur.racine() + "/dp_ramq/AGP71234.zip"));
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat").size(), 201);
}

// A click on the support address mails what the boxes hold now, with the request file.
TEST_F(FenetreTransmettre, LabelSoutienEcritAuSoutien) {
    preparer({enregistrementDe(factureDeBase())});
    ServeurSmtp smtp;
    reglages.ecrire(parametres::AdresseDuSmtp, smtp.hote());
    frmTransmettre w(d.chemin(), reglages, dialogues);
    w.Text2[0]->setText(" Clinique du Lac ");
    w.Text2[2]->setText("lac@exemple.ca ");
    dialogues.reponses = {Reponse::Oui};
    emit w.LabelSoutien->linkActivated(w.LabelSoutien->text());
    const auto recus = smtp.messages();
    ASSERT_EQ(recus.size(), 1) << dialogues.resume().join('\n').toStdString();
    EXPECT_EQ(recus[0].de, "lac@exemple.ca");
    EXPECT_TRUE(recus[0].corps.startsWith("Clinique: Clinique du Lac\r\nInscrire le téléphone"));
    ASSERT_EQ(recus[0].pieces.size(), 1);
    EXPECT_EQ(recus[0].pieces[0].octets, d.lire("Sauvramq/R7123407"));
}

TEST_F(FenetreTransmettre, RienAEnvoyer) {
    {   // No Reqt.
        frmTransmettre w(d.chemin(), reglages, dialogues);
        EXPECT_EQ(dialogues.resume(), QStringList{"Message | Le fichier requête(reqt) dans le dossier " +
                                                  d.chemin() + " n'est pas trouvé."});
        EXPECT_FALSE(w.Command1[0]->isEnabled());
    }
    // A billing of zero.
    ValeursFacture zero = factureDeBase();
    zero.honoraires = {"000000", "", "", ""};
    preparer({enregistrementDe(zero)});
    dialogues.effacer();
    {
        frmTransmettre w(d.chemin(), reglages, dialogues);
        EXPECT_EQ(dialogues.resume(), QStringList{"Erreur | Il n'y a pas de facturation prête à partir."});
        EXPECT_EQ(dialogues.bips(), 1);
        EXPECT_FALSE(w.Command1[0]->isEnabled());
    }
    // The payment-request file damaged since it was prepared: one byte gone.
    d.ecrire("Sauvramq/D7123407", d.lire("Sauvramq/D7123407").mid(1));
    dialogues.effacer();
    {
        frmTransmettre w(d.chemin(), reglages, dialogues);
        EXPECT_EQ(dialogues.resume().first(),
                  "Message | Le fichier de demandes de paiement " + d.fichier("Sauvramq/D7123407") +
                      " est endommagé à partir de l'enregistrement numéro 1 : il ne peut pas être "
                      "envoyé.\n\nCommuniquez avec le soutien technique.");
        EXPECT_FALSE(w.Command1[0]->isEnabled());
    }
    // The payment-request file gone.
    QFile::remove(d.fichier("Sauvramq/D7123407"));
    dialogues.effacer();
    frmTransmettre w(d.chemin(), reglages, dialogues);
    EXPECT_EQ(dialogues.resume().first(),
              "Message | Le fichier de demande de paiements dans le dossier " + d.chemin() +
                  " n'est pas trouvé.");
    EXPECT_FALSE(w.Command1[0]->isEnabled());
}

}  // namespace
