#include "config/parametres.h"
#include "config/fichierini.h"
#include "platform/reglages.h"
#include "support/dossiertemporaire.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

TEST(Parametres, DefautsEtOuiExact) {
    DossierTemporaire d;
    FichierIni ini(d.fichier("Tarnwick.ini"), "Kestrova");
    EXPECT_FALSE(parametres::oui(ini, parametres::SiMotPasse));
    EXPECT_TRUE(parametres::oui(ini, parametres::RappelBES2an));
    EXPECT_FALSE(parametres::oui(ini, parametres::RappelTOUS2an));
    for (const char* valeur : {"oui", "OUI.", "O", "1", ""}) {
        ini.ecrire(parametres::RappelBES2an, QString::fromLatin1(valeur));
        EXPECT_FALSE(parametres::oui(ini, parametres::RappelBES2an)) << valeur;
    }
    parametres::ecrireOuiNon(ini, parametres::SiMotPasse, true);
    EXPECT_TRUE(parametres::oui(ini, parametres::SiMotPasse));
    const QByteArray fichier = d.lire("Tarnwick.ini");
    EXPECT_TRUE(fichier.startsWith("[Kestrova]")) << fichier.constData();
    EXPECT_TRUE(fichier.contains("SiMotPasse=OUI"));
}

TEST(Parametres, ReglagesUtilisateurRedirigesEtParDefaut) {
    ReglagesUtilisateur u;
    EXPECT_EQ(parametres::lire(u, parametres::NomUtilisateurFtp), QStringLiteral("tollmark"));
    EXPECT_EQ(parametres::lire(u, parametres::NomDuServeurFtp), parametres::ServeurFtpParDefaut);
    EXPECT_EQ(parametres::lire(u, parametres::WindowsStateOp), QStringLiteral("0"));
    EXPECT_EQ(parametres::lire(u, parametres::NoDeTelephone),
              QStringLiteral("Inscrire le téléphone de votre clinique ici"));
    const ParametresFtp ftp = parametres::lireParametresFtp(u);
    EXPECT_EQ(ftp.motDePasse, QStringLiteral("vorpel"));
    u.ecrire(parametres::AdresseDuSmtp, "smtp.exemple.ca:2525");
    EXPECT_EQ(ReglagesUtilisateur().lire(parametres::AdresseDuSmtp, {}),
              QStringLiteral("smtp.exemple.ca:2525"));
    // The store is the redirected one, never the real user's.
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, "Kestrova", "Kestrova");
    EXPECT_FALSE(s.fileName().startsWith(QDir::homePath() + "/.config")) << qPrintable(s.fileName());
    u.ecrire(parametres::AdresseDuSmtp, parametres::ServeurSmtpParDefaut);
}

// Tarnwick.ini read and written as the profile-string calls do, whatever wrote it: a value read
// from each shape of file, then one switch written, every other byte kept.
TEST(Parametres, FichierIniCommeLesAppelsDuProfil) {
    const struct {
        const char* cas;
        QByteArray avant;
        const char* siMotPasse;  // read
        QByteArray apres;  // after RappelBES2an=NON
    } cas[] = {
        {"fichier neuf", "", "NON", "[Kestrova]\r\nRappelBES2an=NON\r\n"},
        {"marque d'ordre et CR LF", "\xEF\xBB\xBF[Kestrova]\r\nSiMotPasse=OUI\r\n", "OUI",
         "\xEF\xBB\xBF[Kestrova]\r\nSiMotPasse=OUI\r\nRappelBES2an=NON\r\n"},
        {"CR seuls", "[Kestrova]\rSiMotPasse=OUI\rRappelBES2an=OUI\r", "OUI",
         "[Kestrova]\rSiMotPasse=OUI\rRappelBES2an=NON\r"},
        {"LF, sans fin de dernière ligne", "[kestrova]\nsimotpasse = \"OUI\"", "OUI",
         "[kestrova]\nsimotpasse = \"OUI\"\nRappelBES2an=NON\n"},
        {"autres sections et commentaire", "[Autre]\r\nSiMotPasse=NON\r\n\r\n[Kestrova]\r\n; note\r\nRAPPELBES2AN=OUI\r\n\r\n[Fin]\r\nx=1\r\n",
         "NON", "[Autre]\r\nSiMotPasse=NON\r\n\r\n[Kestrova]\r\n; note\r\nRappelBES2an=NON\r\n\r\n[Fin]\r\nx=1\r\n"},
        {"clé en double", "[Kestrova]\r\nSiMotPasse=OUI\r\nSiMotPasse=NON\r\n", "OUI",
         "[Kestrova]\r\nSiMotPasse=OUI\r\nSiMotPasse=NON\r\nRappelBES2an=NON\r\n"},
        {"sans section", "SiMotPasse=OUI\r\n", "NON", "SiMotPasse=OUI\r\n[Kestrova]\r\nRappelBES2an=NON\r\n"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        DossierTemporaire d;
        if (!c.avant.isEmpty())
            d.ecrire("Tarnwick.ini", c.avant);
        FichierIni ini(d.fichier("Tarnwick.ini"), "Kestrova");
        EXPECT_EQ(ini.lire(parametres::SiMotPasse, "NON"), c.siMotPasse);
        ini.ecrire(parametres::RappelBES2an, "NON");
        EXPECT_EQ(ini.echecEcriture(), "");
        EXPECT_EQ(d.lire("Tarnwick.ini"), c.apres);
        EXPECT_EQ(ini.lire(parametres::SiMotPasse, "NON"), c.siMotPasse);
    }
}

// A per-user store edited by hand with a line it cannot read, or a byte-order mark, still takes
// every new value, and keeps the values it could read.
TEST(Parametres, ReglagesUtilisateurLignesIllisibles) {
    const QString fichier = QSettings(QSettings::NativeFormat, QSettings::UserScope, "Kestrova", "Kestrova").fileName();
    QDir().mkpath(QFileInfo(fichier).absolutePath());
    for (const QByteArray& avant : {QByteArray("[Settings]\nune ligne sans egal\nNoDeTelephone=819-555-0101\n"),
                                    QByteArray("\xEF\xBB\xBF[Settings]\r\nNoDeTelephone=819-555-0101\r\n")}) {
        SCOPED_TRACE(avant.toStdString());
        QFile f(fichier);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(avant);
        f.close();
        ReglagesUtilisateur u;
        u.ecrire(parametres::AdresseDuSmtp, "smtp.exemple.ca:2525");
        EXPECT_EQ(u.echecEcriture(), "");
        ReglagesUtilisateur relu;
        EXPECT_EQ(relu.lire(parametres::AdresseDuSmtp, {}), "smtp.exemple.ca:2525");
        EXPECT_EQ(relu.lire(parametres::NoDeTelephone, {}), "819-555-0101");
    }
    QFile::remove(fichier);
}
