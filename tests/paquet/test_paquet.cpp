#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString executer(const QString& programme, const QStringList& arguments, int* statut = nullptr) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programme, arguments);
    p.waitForFinished(240000);
    if (statut)
        *statut = p.exitCode();
    return QString::fromUtf8(p.readAll());
}

// The Debian package holds the program with its two outside programs where it finds them, a
// launcher, a valid desktop entry with its icon, the README, and runtime dependencies only.
TEST(Paquet, ContenuDependancesEtEntreeDuBureau) {
    QTemporaryDir sortie;
    int statut = -1;
    const QString journal = executer("cpack", {"-G", "DEB", "--config", CPACK_CONFIG, "-B", sortie.path()}, &statut);
    ASSERT_EQ(statut, 0) << qPrintable(journal);
    const QStringList paquets = QDir(sortie.path()).entryList({"kestrova_*.deb"});
    ASSERT_EQ(paquets.size(), 1) << qPrintable(journal);
    const QString deb = sortie.path() + "/" + paquets[0];

    const QString contenu = executer("dpkg-deb", {"-c", deb});
    for (const char* fichier : {"./usr/bin/kestrova", "./usr/lib/kestrova/kestrova", "./usr/lib/kestrova/PaComp",
                                "./usr/lib/kestrova/PowerArc", "./usr/share/applications/kestrova.desktop",
                                "./usr/share/icons/hicolor/scalable/apps/kestrova.svg",
                                "./usr/share/doc/kestrova/README.md"})
        EXPECT_TRUE(contenu.contains(QString(" ") + fichier + "\n")) << fichier;

    const QString controle = executer("dpkg-deb", {"-I", deb});
    const QString dependances = controle.section("Depends:", 1).section('\n', 0, 0);
    for (const char* requis : {"libqt6widgets6", "libqt6printsupport6", "libcurl4", "libzip4", "fonts-liberation2", "ca-certificates",
                                "qt6-translations-l10n"})
        EXPECT_TRUE(dependances.contains(requis)) << requis << ": " << qPrintable(dependances);
    EXPECT_FALSE(dependances.contains("-dev")) << qPrintable(dependances);
    EXPECT_FALSE(dependances.contains("g++")) << qPrintable(dependances);

    executer("dpkg-deb", {"-x", deb, sortie.path() + "/racine"});
    const QString bureau = sortie.path() + "/racine/usr/share/applications/kestrova.desktop";
    EXPECT_EQ(executer("desktop-file-validate", {bureau}, &statut), "");
    EXPECT_EQ(statut, 0);
    // The program packed runs, and finds its outside programs beside it.
    EXPECT_TRUE(executer(sortie.path() + "/racine/usr/lib/kestrova/kestrova", {"--version"}).startsWith("Kestrova 5.8"));
}

}  // namespace
