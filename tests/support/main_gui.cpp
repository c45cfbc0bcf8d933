#include "config/parametres.h"
#include "platform/clavier.h"
#include "platform/fenetres.h"
#include "platform/reglages.h"
#include "platform/traductions.h"
#include "records/fichierenregistrements.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Windows open on a screen of 1280 x 800 pixels, a small laptop's, as the program's must fit.
    QTemporaryDir dossierEcran;
    const QString ecran = dossierEcran.filePath(QStringLiteral("ecran.json"));
    {
        QFile f(ecran);
        if (!f.open(QIODevice::WriteOnly) ||
            f.write(R"({"screens":[{"name":"ecran","x":0,"y":0,"width":1280,"height":800,)"
                    R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})") < 0)
            return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(ecran));
    preparerDatesEnFrancais();  // as the program does
    QApplication application(argc, argv);
    QApplication::setWindowIcon(iconeProgramme());  // as the program does
    chargerTraductionsQt();
    activerClavierDesBoutons();
    ajusterFenetresALEcran();
    QTemporaryDir reglages;  // tests never touch the real user's settings
    ReglagesUtilisateur::rediriger(reglages.path());
    FichierEnregistrements::delaiVerrouMs = 300;  // a lock held by a test is never waited for long
    {   // No window opened by a test reaches out to a real server: a closed local port unless
        // the test starts its own.
        ReglagesUtilisateur r;
        r.ecrire(parametres::NomDuServeurFtp, QStringLiteral("127.0.0.1:1"));
        r.ecrire(parametres::AdresseDuSmtp, QStringLiteral("127.0.0.1:1"));
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
