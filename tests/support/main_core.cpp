#include "platform/reglages.h"
#include "records/fichierenregistrements.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir reglages;  // tests never touch the real user's settings
    ReglagesUtilisateur::rediriger(reglages.path());
    FichierEnregistrements::delaiVerrouMs = 300;  // a lock held by a test is never waited for long
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
