#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// A program's exit status (-1 when it did not run to its end), its output and its errors.
struct Execution {
    int statut = -1;
    QString sortie, erreurs;
};

Execution executer(const QString& programme, const QStringList& arguments, const QStringList& environnement = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& variable : environnement)
        env.insert(variable.section('=', 0, 0), variable.section('=', 1));
    p.setProcessEnvironment(env);
    p.start(programme, arguments);
    p.waitForFinished(240000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// The Debian package that `make package` builds, made afresh by cpack and unpacked beside it.
class Paquet : public testing::Test {
protected:
    void SetUp() override {
        // A builder whose umask lets the group write, as many have, still makes 0755 folders.
        umask(002);
        const Execution cpack = executer("cpack", {"-G", "DEB", "--config", CPACK_CONFIG, "-B", sortie.path()});
        ASSERT_EQ(cpack.statut, 0) << qPrintable(cpack.sortie + cpack.erreurs);
        const QStringList paquets = QDir(sortie.path()).entryList({"kestrova_*.deb"});
        ASSERT_EQ(paquets.size(), 1) << qPrintable(cpack.sortie);
        deb = sortie.path() + "/" + paquets[0];
        racine = sortie.path() + "/racine";
        ASSERT_EQ(executer("dpkg-deb", {"-x", deb, racine}).statut, 0);
    }

    QString champ(const QString& nom) const { return executer("dpkg-deb", {"-f", deb, nom}).sortie; }

    QTemporaryDir sortie;
    QString deb, racine;
};

// The package holds the program with its two outside programs where it finds them, a launcher,
// a valid desktop entry with its icon, the documentation Debian asks for, its description as
// written, and runtime dependencies only.
TEST_F(Paquet, ContenuDescriptionDependancesEtEntreeDuBureau) {
    const QString contenu = executer("dpkg-deb", {"-c", deb}).sortie;
    for (const char* fichier : {"./usr/bin/kestrova", "./usr/lib/kestrova/kestrova", "./usr/lib/kestrova/PaComp",
                                "./usr/lib/kestrova/PowerArc", "./usr/share/applications/kestrova.desktop",
                                "./usr/share/icons/hicolor/scalable/apps/kestrova.svg",
                                "./usr/share/doc/kestrova/README.md", "./usr/share/doc/kestrova/copyright",
                                "./usr/share/doc/kestrova/changelog.gz", "./usr/share/man/man1/kestrova.1.gz"})
        EXPECT_TRUE(contenu.contains(QString(" ") + fichier + "\n")) << fichier;

    const QString dependances = champ("Depends");
    for (const char* requis : {"libqt6widgets6", "libqt6printsupport6", "libqt6charts6", "libcurl4", "libzip4",
                                "libxlsxwriter4", "fonts-liberation2", "ca-certificates",
                                "qt6-translations-l10n"})
        EXPECT_TRUE(dependances.contains(requis)) << requis << ": " << qPrintable(dependances);
    EXPECT_FALSE(dependances.contains("-dev")) << qPrintable(dependances);
    EXPECT_FALSE(dependances.contains("g++")) << qPrintable(dependances);

    // Apostrophes and accents as written, not as XML entities (which lintian lets through).
    EXPECT_TRUE(champ("Description").startsWith(
        "Facturation à la RAMQ pour les cliniques d'optométrie\n"
        " Kestrova sert aux cliniques d'optométrie du Québec à facturer la RAMQ.\n"))
        << qPrintable(champ("Description"));
    // The changelog's last entry is the version packed.
    const Execution journal = executer("gzip", {"-dc", racine + "/usr/share/doc/kestrova/changelog.gz"});
    EXPECT_TRUE(journal.sortie.startsWith("kestrova (" + champ("Version").trimmed() + ") "))
        << qPrintable(journal.sortie.section('\n', 0, 0));

    const Execution bureau =
        executer("desktop-file-validate", {racine + "/usr/share/applications/kestrova.desktop"});
    EXPECT_EQ((bureau.sortie + bureau.erreurs).toStdString(), "");
    EXPECT_EQ(bureau.statut, 0);
    // The program packed runs, and finds its outside programs beside it.
    EXPECT_TRUE(executer(racine + "/usr/lib/kestrova/kestrova", {"--version"}).sortie.startsWith("Kestrova 5.8"));
}

// The manual page renders without a warning, and names every command, option, list and
// environment variable of the packed program's help, so it cannot fall behind it.
TEST_F(Paquet, PageDeManuelAJourDeLAide) {
    const QString page = racine + "/usr/share/man/man1/kestrova.1.gz";
    const auto rendre = [&](int largeur) {
        // man-db's sandbox cannot start in some containers; the page is the package's own.
        return executer("man", {"--warnings", "-E", "UTF-8", "-l", page},
                        {"LC_ALL=C.UTF-8", "MANROFFSEQ=", "MAN_DISABLE_SECCOMP=1",
                         "MANWIDTH=" + QString::number(largeur)});
    };
    const Execution terminal = rendre(80);
    EXPECT_EQ(terminal.statut, 0);
    EXPECT_EQ(terminal.erreurs.toStdString(), "");
    EXPECT_TRUE(terminal.sortie.startsWith("KESTROVA(1)")) << qPrintable(terminal.sortie.left(200));
    EXPECT_TRUE(terminal.sortie.contains("\nNOM\n       kestrova - facturation à la RAMQ"))
        << qPrintable(terminal.sortie);

    // Wide enough that no term is broken across lines; a hyphen or minus sign read as "-".
    QString texte = rendre(1000).sortie;
    texte.replace(QChar(0x2010), '-').replace(QChar(0x2212), '-');
    const Execution aide = executer(racine + "/usr/lib/kestrova/kestrova", {"--help"});
    ASSERT_EQ(aide.statut, 0);
    // A command and a list have an entry of their own, which begins a line; an option or a
    // variable may stand anywhere.
    const struct {
        const char* quoi;
        const char* motif;
        bool entree;
    } sortes[] = {
        {"commande", R"((?m)^  ([a-z]+))", true},
        {"liste", R"((?<![-\w])([a-z]+(?:-[a-z]+)+))", true},
        {"option", R"((--[a-z]+(?:-[a-z]+)*))", false},
        {"variable", R"(\b([A-Z]+_[A-Z_]+)\b)", false},
    };
    for (const auto& sorte : sortes) {
        QStringList termes;
        for (const QRegularExpressionMatch& m : QRegularExpression(sorte.motif).globalMatch(aide.sortie))
            termes << m.captured(1);
        EXPECT_FALSE(termes.isEmpty()) << sorte.quoi << " : aucune dans l'aide";
        const QString avant = sorte.entree ? "(?m)^ +" : "(?<![-\\w])";
        for (const QString& terme : termes)
            EXPECT_TRUE(texte.contains(QRegularExpression(avant + QRegularExpression::escape(terme) + "(?![-\\w])")))
                << sorte.quoi << " " << qPrintable(terme) << " absente de la page de manuel";
    }
}

// lintian finds neither an error nor a warning in the package.
TEST_F(Paquet, LintianNeSignaleRien) {
    if (QStandardPaths::findExecutable("lintian").isEmpty())
        GTEST_SKIP() << "lintian n'est pas installé (scripts/install-deps l'installe)";
    const Execution lintian = executer("lintian", {"--tag-display-limit", "0", deb});
    const QStringList signales = lintian.sortie.split('\n').filter(QRegularExpression("^[EW]: "));
    EXPECT_EQ(signales.join('\n').toStdString(), "");
    EXPECT_EQ(lintian.statut, 0) << qPrintable(lintian.sortie + lintian.erreurs);
}

}  // namespace
