#include "support/archive.h"
#include "support/dossiertemporaire.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct Sortie {
    int code;
    QString erreur;
};

Sortie pacomp(const QStringList& arguments) {
    QProcess p;
    p.start(PACOMP, arguments);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError())};
}

TEST(PaComp, AjouteRemplaceEtRefuse) {
    DossierTemporaire d;
    const QString archive = d.fichier("travail/AGP71234.zip");
    const QString motif = d.fichier("travail") + "/*.*";
    const QByteArray binaire("\x00\r\n\x1a\xff", 5);
    d.ecrire("travail/R7123407", "requete");
    d.ecrire("travail/D7123407", binaire);

    // Created, without the archive itself.
    ASSERT_EQ(pacomp({"-aP", archive, motif}).code, 0);
    EXPECT_EQ(membres(archive), (QMap<QString, QByteArray>{{"R7123407", "requete"}, {"D7123407", binaire}}));

    // Added to and replaced in an existing archive; earlier members stay.
    QFile::remove(d.fichier("travail/D7123407"));
    d.ecrire("travail/R7123407", "nouvelle requete");
    d.ecrire("travail/Identification.txt", "Clinique");
    ASSERT_EQ(pacomp({"-aP", archive, motif}).code, 0);
    EXPECT_EQ(membres(archive), (QMap<QString, QByteArray>{{"R7123407", "nouvelle requete"},
                                                          {"D7123407", binaire},
                                                          {"Identification.txt", "Clinique"}}));

    const struct {
        const char* cas;
        QStringList arguments;
    } refus[] = {
        {"motif sans fichier", {"-aP", d.fichier("autre.zip"), d.fichier("travail") + "/X*.*"}},
        {"archive impossible à écrire", {"-aP", d.fichier("absent/dossier/A.zip"), motif}},
        {"mauvaise commande", {"-x", archive, motif}},
    };
    for (const auto& r : refus) {
        const Sortie s = pacomp(r.arguments);
        EXPECT_NE(s.code, 0) << r.cas;
        EXPECT_TRUE(s.erreur.startsWith("PaComp: ")) << r.cas;
    }
    EXPECT_FALSE(d.existe("autre.zip"));
}

}  // namespace
