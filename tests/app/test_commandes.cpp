#include "support/archive.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/retours.h"
#include "support/serveurftp.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Sortie {
    int statut = -1;
    QString texte, erreurs;
};

// Each command runs as the program would in a nightly task: its own process, its own settings.
class LigneDeCommande : public ::testing::Test {
protected:
    void SetUp() override {
        d.ecrire("Kestrova.Cfg", donnees("Kestrova.Cfg.defaut"));
        preparerDossier(d, "R7123407D71234070041ABCDEFGHIJKLMNO041",
                        {enregistrementDe(factureDeBase()), enregistrementDe(factureDeBase())});
        QFile::copy(PACOMP, d.fichier("PaComp"));
        QFile::copy(POWERARC, d.fichier("PowerArc"));
        QDir().mkpath(reglages.path() + "/Kestrova");
        regler("");
    }
    void regler(const QString& autres) {
        QFile conf(reglages.path() + "/Kestrova/Kestrova.conf");
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write(("[Settings]\nNomDuServeurFtp=" + serveur.hote() + "\n" + autres).toUtf8());
    }
    QProcess* lancer(const QStringList& arguments) {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", reglages.path());
        env.remove("DISPLAY");
        p->setProcessEnvironment(env);
        p->start(KESTROVA, QStringList{"--dossier", d.chemin()} + arguments);
        return p;
    }
    static Sortie attendre(QProcess* p) {
        p->waitForFinished(60000);
        Sortie s{p->exitCode(), QString::fromUtf8(p->readAllStandardOutput()), QString::fromUtf8(p->readAllStandardError())};
        delete p;
        return s;
    }
    Sortie executer(const QStringList& arguments) { return attendre(lancer(arguments)); }

    DossierTemporaire d;
    ServeurFtp serveur;
    QTemporaryDir reglages;
};

TEST_F(LigneDeCommande, UsageAideEtVersion) {
    const struct {
        QStringList arguments;
        int statut;
        const char* dans;
    } cas[] = {
        {{"--version"}, 0, "Kestrova 5.8"},
        {{"--help"}, 0, "Utilisation : kestrova"},
        {{"imprimer"}, 2, "Commande inconnue : imprimer"},
        {{"preparer", "--vite"}, 2, "Option inconnue : --vite"},
        {{"transmettre", "--doublon", "peut-etre"}, 2, "--doublon vaut oui ou non."},
        {{"exporter", "patients", "--format", "csv"}, 2, "Liste inconnue : patients"},
        {{"preparer", "--imprimante", "Nulle part"}, 2, "Imprimante inconnue : Nulle part"},
    };
    for (const auto& c : cas) {
        const Sortie s = executer(c.arguments);
        EXPECT_EQ(s.statut, c.statut) << qPrintable(c.arguments.join(' '));
        EXPECT_TRUE((s.texte + s.erreurs).contains(c.dans)) << qPrintable(s.texte + s.erreurs);
        if (c.statut == 2 && c.arguments[0] != "transmettre" && c.arguments[0] != "exporter" && c.arguments.size() < 3) {
            EXPECT_TRUE(s.erreurs.contains("Utilisation : kestrova")) << qPrintable(c.arguments.join(' '));
        }
    }
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil").size(), 2 * 723);  // nothing was prepared
}

// A night's work: preparation, sending, the same billing refused a second time unless asked,
// then the agency's returns fetched.
TEST_F(LigneDeCommande, PreparerTransmettreRecuperer) {
    Sortie s = executer({"preparer"});
    ASSERT_EQ(s.statut, 0) << qPrintable(s.texte + s.erreurs);
    EXPECT_TRUE(s.texte.contains("Préparation terminée : 2 factures, $ 81.10, fichiers R7123407 et D7123407."));
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), QByteArray());
    EXPECT_EQ(d.lire("Reqt"), d.lire("Sauvramq/R7123407"));
    EXPECT_EQ(QDir(d.fichier("Impressions")).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(executer({"preparer"}).statut, 3);  // nothing left to prepare

    regler("ExigerTLS=OUI\n");  // the test server offers no TLS: nothing goes in clear
    s = executer({"transmettre"});
    EXPECT_EQ(s.statut, 1);
    EXPECT_TRUE(s.texte.contains("Le serveur n'offre pas de connexion chiffrée (TLS)")) << qPrintable(s.texte);
    EXPECT_TRUE(s.texte.contains("Serveur : connexion non chiffrée refusée"));
    EXPECT_FALSE(QFile::exists(serveur.racine() + "/dp_ramq/AGP71234.zip"));
    EXPECT_FALSE(d.existe("Sauvramq/LstEnvoie.Dat"));
    regler("");
    s = executer({"transmettre"});
    ASSERT_EQ(s.statut, 0) << qPrintable(s.texte + s.erreurs);
    EXPECT_TRUE(s.texte.contains("Serveur : connexion non chiffrée\n"));
    EXPECT_TRUE(QFile::exists(serveur.racine() + "/dp_ramq/AGP71234.zip"));
    const QByteArray journal = d.lire("Sauvramq/LstEnvoie.Dat");
    ASSERT_EQ(journal.size(), 201);
    EXPECT_EQ(journal.left(8), "R7123407");
    EXPECT_EQ(journal.mid(8, 7), d.lire("Sauvramq/R7123407").mid(21, 7));  // the attestation
    EXPECT_EQ(journal.mid(15, 6), "000002");
    s = executer({"transmettre"});
    EXPECT_EQ(s.statut, 4);
    EXPECT_TRUE(s.erreurs.contains("déjà été envoyée")) << qPrintable(s.erreurs);
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat"), journal);
    EXPECT_EQ(executer({"transmettre", "--doublon", "oui"}).statut, 0);
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat").size(), 402);

    const QByteArray er = retour::fichier({retour::entete("9034042", "045"),
                                           retour::totaux(0, 2, 2, 0, 0, 8110)});
    creerArchive(serveur.racine() + "/fich_ramq/F71234.zip", {{"ER9034042.rmq", er}});
    s = executer({"recuperer"});
    EXPECT_EQ(s.statut, 0) << qPrintable(s.texte + s.erreurs);
    EXPECT_TRUE(s.texte.contains("ER9034042.rmq")) << qPrintable(s.texte);
    EXPECT_EQ(d.lire("Sauvramq/ER9034042.rmq"), er);
    EXPECT_FALSE(QFile::exists(serveur.racine() + "/fich_ramq/F71234.zip"));
}

// Two sendings of one billing started together: it leaves once.
TEST_F(LigneDeCommande, DeuxTransmissionsEnvoientUneFois) {
    ASSERT_EQ(executer({"preparer"}).statut, 0);
    QProcess* a = lancer({"transmettre"});
    QProcess* b = lancer({"transmettre"});
    const int statuts[] = {attendre(a).statut, attendre(b).statut};
    EXPECT_EQ(std::count(std::begin(statuts), std::end(statuts), 0), 1);
    EXPECT_TRUE(statuts[0] == 4 || statuts[0] == 5 || statuts[1] == 4 || statuts[1] == 5);
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat").size(), 201);
}

// Every record file checked; a record with a missing byte named, nothing changed.
TEST_F(LigneDeCommande, Verifier) {
    Sortie s = executer({"verifier"});
    EXPECT_EQ(s.statut, 0) << qPrintable(s.texte);
    EXPECT_TRUE(s.texte.contains("Aucun fichier endommagé."));
    QByteArray ftmp = d.lire("Sauvramq/Ftmp.Fil");
    ftmp.remove(800, 1);
    d.ecrire("Sauvramq/Ftmp.Fil", ftmp);
    d.ecrire("Sauvramq/STA2009.Dat", QByteArray(97 * 2 + 5, ' '));
    s = executer({"verifier"});
    EXPECT_EQ(s.statut, 1);
    EXPECT_TRUE(s.texte.contains("ENDOMMAGÉ   " + d.fichier("Sauvramq/Ftmp.Fil") + " : sa longueur (1445 octets)"))
        << qPrintable(s.texte);
    EXPECT_TRUE(s.texte.contains("ENDOMMAGÉ   " + d.fichier("Sauvramq/STA2009.Dat")));
    EXPECT_TRUE(s.texte.contains("2 fichier(s) endommagé(s)."));
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), ftmp);
}

}  // namespace
