#include "support/dossiertemporaire.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <gtest/gtest.h>
#include <zip.h>

namespace {

QMap<QString, QByteArray> membres(const QString& archive) {
    QMap<QString, QByteArray> m;
    zip_t* z = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, nullptr);
    if (!z)
        return m;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, i, 0, &st);
        QByteArray octets(static_cast<qsizetype>(st.size), '\0');
        zip_file_t* f = zip_fopen_index(z, i, 0);
        zip_fread(f, octets.data(), st.size);
        zip_fclose(f);
        m[QString::fromUtf8(st.name)] = octets;
    }
    zip_close(z);
    return m;
}

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
