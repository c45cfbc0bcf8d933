#include "config/parametres.h"
#include "platform/clavier.h"
#include "platform/reglages.h"
#include "platform/traductions.h"
#include "records/fichierenregistrements.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    preparerDatesEnFrancais();  // as the program does
    QApplication application(argc, argv);
    chargerTraductionsQt();  // as the program does
    activerEntreeSurBoutons();
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
