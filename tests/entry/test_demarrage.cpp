#include "config/fichierconfiguration.h"
#include "config/parametres.h"
#include "entry/demarrage.h"
#include "platform/reglages.h"
#include "support/autreposte.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "transmission/preparation.h"

#include <QFile>
#include <functional>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

class FenetresNotees : public FenetresDemarrage {
public:
    QStringList ouvertes;
    bool accesAccorde = true;
    bool motDePasse() override {
        ouvertes << "MotPasse";
        return accesAccorde;
    }
    std::function<void()> siInitialisation;  // what the user does in the window
    void initialisation() override {
        ouvertes << "Initial";
        if (siInitialisation)
            siInitialisation();
    }
    void correctionConfiguration() override { ouvertes << "frmCorrigeCfg"; }
};

const QString Creation = QStringLiteral(
    "Création du fichier de configuration | Le fichier de configuration a été créé.\n\nVous devez "
    "vous rendre dans FICHIER, puis INITIALISATION pour y inscrire le ou les noms des "
    "optométristes ainsi que leur numéro de professionnel.");
const QString Lex1 = QStringLiteral(
    "Erreur en lecture | Erreur de lecture de fichier.\n\nLe fichier de configuration FACTURAT.LEX "
    "n'est pas rouvé.\nVérifier à ce qu'il existe dans le dossier RAMQ.");
const QString Lex2 = QStringLiteral(
    "Fichier manquant. | Pour créer le fichier FACTURAT.LEX, veuillez vous rendre à la section "
    "initialisation puis inscrivez votre numéro d'agence.");
const QString Version = QStringLiteral(
    "Création du fichier de configuration | Première utilisation de cette version.\nLe fichier de "
    "configuration va être modifié.\n\nSi les informations qui suivront ne sont pas conforme, "
    "veuillez vous rendre dans Fichier et Initialisation afin de corriger les inscriptions au "
    "logiciel.\n\nCliquez sur Ok pour continuer.");

void dossierClinique(const DossierTemporaire& d) {
    d.ecrire("Kestrova.Cfg", donnees("Kestrova.Cfg.defaut"));
    d.ecrire("Facturat.Lex", "R7123400D71234000000000000000000000000");
}

}  // namespace

TEST(Demarrage, PremierDemarrageDansUnDossierVide) {
    DossierTemporaire d;
    DialoguesScriptes dialogues;
    FenetresNotees fenetres;
    ReglagesUtilisateur u;
    // The FTP server typed in the initialisation window that start-up opens is used at once.
    fenetres.siInitialisation = [&] { u.ecrire(parametres::NomDuServeurFtp, "127.0.0.1:2121"); };
    const EtatDemarrage e = Demarrer(d.chemin(), dialogues, fenetres, u);
    EXPECT_FALSE(e.arreter);
    EXPECT_EQ(e.ftp.serveur, "127.0.0.1:2121");
    EXPECT_EQ(dialogues.resume(), (QStringList{Creation, Lex1, Lex2}));
    EXPECT_EQ(dialogues.boites()[1].icone, Icone::Critique);
    EXPECT_EQ(dialogues.bips(), 1);
    EXPECT_EQ(fenetres.ouvertes, (QStringList{"Initial", "Initial"}));
    EXPECT_EQ(d.lire("Kestrova.Cfg"), donnees("Kestrova.Cfg.defaut"));
    EXPECT_TRUE(d.existe("Sauvramq"));  // created by the handling of error 76
    EXPECT_TRUE(e.configurationChargee);
    EXPECT_EQ(e.configuration.listeOptometristes(), QStringList{QStringLiteral("1e Optométriste")});
    EXPECT_EQ(e.nombreFactures, 0);
    EXPECT_TRUE(e.agence.isEmpty());
    EXPECT_EQ(e.ftp.utilisateur, QStringLiteral("tollmark"));
    EXPECT_EQ(e.ftp.motDePasse, QStringLiteral("vorpel"));
    EXPECT_TRUE(e.interrupteurs.RappelBES2an);
    EXPECT_FALSE(e.interrupteurs.RappelTOUS2an);
    EXPECT_FALSE(e.interrupteurs.UtiliseDossierPatient);
    EXPECT_TRUE(e.interrupteurs.ChangerDateRappel);
}

TEST(Demarrage, CliniqueConfigureeSansMessage) {
    DossierTemporaire d;
    dossierClinique(d);
    d.ecrire("Sauvramq/Ftmp.Fil", QByteArray(3 * 723, ' '));
    d.ecrire("MdiTmp.Dat", QByteArray(2 * 188, ' '));
    d.ecrire("Tarnwick.ini", "[Kestrova]\r\nSiMotPasse=OUI\r\nRappelTOUS2an=OUI\r\n");
    DialoguesScriptes dialogues;
    FenetresNotees fenetres;
    ReglagesUtilisateur u;
    const EtatDemarrage e = Demarrer(d.chemin(), dialogues, fenetres, u);
    EXPECT_TRUE(dialogues.appels.isEmpty()) << qPrintable(dialogues.resume().join("\n"));
    EXPECT_EQ(fenetres.ouvertes, QStringList{"MotPasse"});
    EXPECT_EQ(e.nombreFactures, 3);
    EXPECT_EQ(e.patientsEnFile, 2);
    EXPECT_EQ(e.agence, QStringLiteral("71234"));
    EXPECT_TRUE(e.interrupteurs.RappelTOUS2an);
}

TEST(Demarrage, VersionAncienneOuvreLaCorrection) {
    DossierTemporaire d;
    dossierClinique(d);
    QByteArray cfg = donnees("Kestrova.Cfg.defaut");
    d.ecrire("Kestrova.Cfg", cfg.replace("Version 5.8.y", "Version 5.7.b"));
    DialoguesScriptes dialogues;
    FenetresNotees fenetres;
    ReglagesUtilisateur u;
    Demarrer(d.chemin(), dialogues, fenetres, u);
    EXPECT_EQ(dialogues.resume(), QStringList{Version});
    EXPECT_EQ(fenetres.ouvertes, QStringList{"frmCorrigeCfg"});
}

TEST(Demarrage, PrixInvalideArreteLeProgramme) {
    DossierTemporaire d;
    dossierClinique(d);
    QByteArray cfg = donnees("Kestrova.Cfg.defaut");
    d.ecrire("Kestrova.Cfg", cfg.replace("\"002855\"", "\"2855\""));
    DialoguesScriptes dialogues;
    FenetresNotees fenetres;
    ReglagesUtilisateur u;
    const EtatDemarrage e = Demarrer(d.chemin(), dialogues, fenetres, u);
    EXPECT_TRUE(e.arreter);
    EXPECT_EQ(dialogues.resume(),
              QStringList{QStringLiteral("Erreur en lecture | Le fichier de configuration au niveau "
                                         "des prix n'est pas valide.\n\nLe logiciel doit "
                                         "s'arrêter.")});
    EXPECT_EQ(dialogues.bips(), 1);
}

TEST(Demarrage, ConfigurationTronqueeNommeLeChampEtContinue) {
    DossierTemporaire d;
    dossierClinique(d);
    const QByteArray cfg = donnees("Kestrova.Cfg.defaut");
    d.ecrire("Kestrova.Cfg", cfg.left(cfg.indexOf("\"09013\"")));
    DialoguesScriptes dialogues;
    FenetresNotees fenetres;
    ReglagesUtilisateur u;
    const EtatDemarrage e = Demarrer(d.chemin(), dialogues, fenetres, u);
    EXPECT_FALSE(e.arreter);
    EXPECT_FALSE(e.configurationChargee);
    ASSERT_EQ(dialogues.boites().size(), 1);
    EXPECT_TRUE(dialogues.boites()[0].texte.contains(
        QStringLiteral("Champ numéro 118 (code d'acte de l'entrée 13)")))
        << qPrintable(dialogues.boites()[0].texte);
    EXPECT_EQ(e.agence, QStringLiteral("71234"));  // start-up went on
}

// A preparation stopped midway (here while it printed, the folder then copied elsewhere as a
// restored backup would be) is undone at the next start, before the invoices are counted.
TEST(Demarrage, PreparationInterrompueAnnuleeAuDemarrage) {
    const QByteArray f = enregistrementDe(factureDeBase());
    DossierTemporaire d, copie;
    dossierClinique(d);
    preparerDossier(d, "R7123407D71234070041ABCDEFGHIJKLMNO041", {f, f});
    d.ecrire("Reqt", "ANCIEN REQT");
    preparation::Suivi suivi;
    suivi.imprimer = [&](const QString&) {
        QProcess::execute("cp", {"-a", d.chemin() + "/.", copie.chemin()});
    };
    DialoguesScriptes muet;
    const auto v = preparation::valeursDepuis(preparation::lireAgence(d.chemin()), QDate::currentDate());
    ASSERT_TRUE(preparation::Preparer(d.chemin(), v, muet, suivi).reussi);
    ASSERT_TRUE(copie.existe("Sauvramq/Prepa.Enc"));

    FenetresNotees fenetres;
    ReglagesUtilisateur u;
    {   // While another workstation holds Ftmp.Fil it may be preparing: its record is left alone.
        AutrePoste poste(copie.fichier("Sauvramq/Ftmp.Fil"));
        ASSERT_TRUE(poste.verrouille());
        DialoguesScriptes port;
        Demarrer(copie.chemin(), port, fenetres, u);
        EXPECT_TRUE(port.boites().isEmpty()) << qPrintable(port.resume().join('\n'));
        EXPECT_TRUE(copie.existe("Sauvramq/Prepa.Enc"));
        EXPECT_TRUE(copie.existe("Sauvramq/D7123407"));
    }
    DialoguesScriptes port;
    const EtatDemarrage e = Demarrer(copie.chemin(), port, fenetres, u);
    EXPECT_EQ(port.resume().first(),
              "Préparation interrompue | La préparation de D7123407 a été interrompue avant la "
              "fin.\n\nElle a été annulée : les factures sont toujours en mémoire et les "
              "compteurs de FACTURAT.LEX n'ont pas changé. Vous pouvez refaire la préparation.");
    EXPECT_EQ(e.nombreFactures, 2);
    EXPECT_EQ(copie.lire("Sauvramq/Ftmp.Fil"), f + f);
    EXPECT_EQ(copie.lire("Facturat.Lex"), "R7123407D71234070041ABCDEFGHIJKLMNO041");
    EXPECT_EQ(copie.lire("Reqt"), "ANCIEN REQT");
    EXPECT_FALSE(copie.existe("Sauvramq/D7123407"));
    EXPECT_FALSE(copie.existe("Sauvramq/Prepa.Enc"));
}
