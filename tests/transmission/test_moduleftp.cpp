#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/serveurftp.h"
#include "config/configurationserveur.h"
#include "transmission/moduleftp.h"

#include <QFile>
#include <gtest/gtest.h>
#include <csignal>
#include <thread>

namespace {

using namespace ModuleFTP;

QByteArray binaire() {
    QByteArray b("D\x00\r\n\x1a\xff", 6);
    for (int i = 0; i < 5000; ++i)
        b += char(i % 256);
    return b + QByteArray("\r\n\x1a\xff\x00", 5);
}

QByteArray lire(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Ftp : public ::testing::Test {
protected:
    ParametresFtp parametres() const { return {serveur.hote(), "tollmark", "vorpel"}; }
    ServeurFtp serveur;
    DossierTemporaire travail;
    DialoguesScriptes dialogues;
};

TEST_F(Ftp, EnvoiPuisReceptionMemesOctets) {
    travail.ecrire("envoi.zip", binaire());
    EXPECT_NE(PutFtpFile(serveur.hote(), "tollmark", "vorpel", DossierEnvoi, "AGP71234.zip",
                         travail.fichier("envoi.zip"), 2), 0);
    EXPECT_EQ(lire(serveur.racine() + "/dp_ramq/AGP71234.zip"), binaire());

    travail.ecrire("AGP71234.zip", "ancien contenu plus long que rien");
    EXPECT_EQ(GetFtpDpFile(parametres(), "AGP71234.zip", travail.chemin()), -1);
    EXPECT_EQ(travail.lire("AGP71234.zip"), binaire());

    QFile::copy(serveur.racine() + "/dp_ramq/AGP71234.zip", serveur.racine() + "/fich_ramq/F71234.zip");
    EXPECT_EQ(GetFtpFichFile(parametres(), "F71234.zip", travail.chemin()), -1);
    EXPECT_EQ(travail.lire("F71234.zip"), binaire());
    QFile::remove(travail.fichier("F71234.zip"));
    EXPECT_TRUE(GetFtpFile(parametres(), "F71234.zip", travail.chemin()));
    EXPECT_EQ(travail.lire("F71234.zip"), binaire());

    EXPECT_NE(DelFtpFile(serveur.hote(), "tollmark", "vorpel", DossierRetours, "F71234.zip", dialogues), 0);
    EXPECT_FALSE(QFile::exists(serveur.racine() + "/fich_ramq/F71234.zip"));
    EXPECT_TRUE(dialogues.appels.isEmpty());
}

TEST_F(Ftp, FichierAbsentMauvaisMotDePasseDossierAbsent) {
    EXPECT_EQ(GetFtpFichFile(parametres(), "F71234.zip", travail.chemin()), 0);
    EXPECT_FALSE(GetFtpFile(parametres(), "F71234.zip", travail.chemin()));
    EXPECT_FALSE(travail.existe("F71234.zip"));
    EXPECT_EQ(DelFtpFile(serveur.hote(), "tollmark", "vorpel", DossierRetours, "F71234.zip", dialogues), 0);
    EXPECT_TRUE(dialogues.appels.isEmpty());

    travail.ecrire("envoi.zip", "x");
    const ParametresFtp faux{serveur.hote(), "tollmark", "mauvais"};
    EXPECT_EQ(PutFtpFile(faux.serveur, faux.utilisateur, faux.motDePasse, DossierEnvoi, "A.zip",
                         travail.fichier("envoi.zip"), 2), 0);
    EXPECT_EQ(GetFtpDpFile(faux, "A.zip", travail.chemin()), 0);
    EXPECT_TRUE(dialogues.appels.isEmpty());
    EXPECT_EQ(DelFtpFile(faux.serveur, faux.utilisateur, faux.motDePasse, DossierEnvoi, "A.zip", dialogues), 0);
    EXPECT_EQ(dialogues.resume(),
              QStringList{"Kestrova | Erreur ouverture session FTP, vérifiez l'adresse, le login/pwd."});

    dialogues.effacer();
    EXPECT_EQ(PutFtpFile(serveur.hote(), "tollmark", "vorpel", "/absent", "A.zip",
                         travail.fichier("envoi.zip"), 2), 0);
    EXPECT_EQ(DelFtpFile(serveur.hote(), "tollmark", "vorpel", "/absent", "A.zip", dialogues), 0);
    EXPECT_EQ(dialogues.resume(),
              QStringList{"Kestrova | Erreur de positionnement dans le répertoire distant!"});
    EXPECT_EQ(dialogues.boites().first().icone, Icone::Aucune);
}

TEST(FtpInterrompu, AucunFichierFinal) {
    ServeurFtp lent(20000);  // 20 kB/s: a 400 kB file takes 20 s
    QFile f(lent.racine() + "/fich_ramq/F71234.zip");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(400000, 'r'));
    f.close();
    DossierTemporaire travail;
    const qint64 pid = lent.pid();
    std::thread arret([pid] {
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    });
    const bool recu = GetFtpFile({lent.hote(), "tollmark", "vorpel"}, "F71234.zip", travail.chemin());
    arret.join();
    EXPECT_FALSE(recu);
    EXPECT_FALSE(travail.existe("F71234.zip"));
}

}  // namespace

namespace {
// Both configuration files replaced only when both arrived; the originals untouched otherwise.
TEST_F(Ftp, ConfigurationPriseSurLeServeur) {
    DossierTemporaire d;
    d.ecrire("Kestrova.Cfg", "ancien cfg");
    d.ecrire("Facturat.Lex", "ancien lex");
    const QString racine = serveur.racine();
    {
        QFile f(racine + "/kestrova.cfg");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("cfg du serveur") > 0);
    }
    DialoguesScriptes port;
    EXPECT_FALSE(PrendreConfigurationSurServeur(d.chemin(), parametres(), port));
    EXPECT_EQ(port.resume(), QStringList{"Communication Web | Fichiers NON Transférés"});
    EXPECT_EQ(d.lire("Kestrova.Cfg"), "ancien cfg");
    EXPECT_EQ(d.lire("Facturat.Lex"), "ancien lex");

    {
        QFile f(racine + "/facturat.lex");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("lex du serveur") > 0);
    }
    port.effacer();
    EXPECT_TRUE(PrendreConfigurationSurServeur(d.chemin(), parametres(), port));
    EXPECT_EQ(port.resume(),
              QStringList{"Communication Web | Fichiers Transférés\n\nLe programme va se fermer."});
    EXPECT_EQ(d.lire("Kestrova.Cfg"), "cfg du serveur");
    EXPECT_EQ(d.lire("Facturat.Lex"), "lex du serveur");
    EXPECT_FALSE(d.existe(".~serveur"));
}
}  // namespace
