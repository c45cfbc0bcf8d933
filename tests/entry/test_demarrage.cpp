#include "config/fichierconfiguration.h"
#include "entry/demarrage.h"
#include "platform/reglages.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"

#include <gtest/gtest.h>

namespace {

class FenetresNotees : public FenetresDemarrage {
public:
    QStringList ouvertes;
    void motDePasse() override { ouvertes << "MotPasse"; }
    void initialisation() override { ouvertes << "Initial"; }
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
    const EtatDemarrage e = Demarrer(d.chemin(), dialogues, fenetres, u);
    EXPECT_FALSE(e.arreter);
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
