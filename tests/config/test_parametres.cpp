#include "config/parametres.h"
#include "config/fichierini.h"
#include "platform/reglages.h"
#include "support/dossiertemporaire.h"

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
