#include "platform/dossiers.h"
#include "support/dossiertemporaire.h"

#include <gtest/gtest.h>

TEST(Dossiers, ResolutionSansEgardALaCasse) {
    DossierTemporaire d;
    d.ecrire("sauvramq/FTMP.FIL", "x");
    const QString base = d.chemin();
    EXPECT_EQ(dossiers::resoudre(base, "Sauvramq/Ftmp.Fil"), base + "/sauvramq/FTMP.FIL");
    EXPECT_EQ(dossiers::resoudre(base, "SAUVRAMQ\\ftmp.fil"), base + "/sauvramq/FTMP.FIL");
    EXPECT_EQ(dossiers::resoudre(base, "Sauvramq/STA2026.Dat"), base + "/sauvramq/STA2026.Dat");
    EXPECT_EQ(dossiers::resoudre(base, "Patient/L/LAPKPDB.LEX"), base + "/Patient/L/LAPKPDB.LEX");
}

TEST(Dossiers, MotifsDos) {
    DossierTemporaire d;
    for (const char* n : {"D71234507", "d71234508.old", "R71234507", "ER123.rmq.txt", "x.d7"})
        d.ecrire(n, "x");
    EXPECT_EQ(dossiers::chercher(d.chemin(), "d7*.*"),
              (QStringList{"D71234507", "d71234508.old"}));
    EXPECT_EQ(dossiers::chercher(d.chemin(), "R7123450?"), QStringList{"R71234507"});
    EXPECT_EQ(dossiers::chercher(d.chemin(), "er*"), QStringList{"ER123.rmq.txt"});
}

TEST(Dossiers, DossierDuProgramme) {
    DossierTemporaire d;
    qputenv("KESTROVA_DOSSIER", (d.chemin() + "/env").toLocal8Bit());
    EXPECT_EQ(dossiers::dossierProgramme({"kestrova", "--dossier", d.chemin() + "/arg"}),
              d.chemin() + "/arg");
    EXPECT_EQ(dossiers::dossierProgramme({"kestrova"}), d.chemin() + "/env");
    EXPECT_TRUE(QDir(d.chemin() + "/env").exists());
    qunsetenv("KESTROVA_DOSSIER");
}
