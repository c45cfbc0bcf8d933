#include "config/correction.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"

#include <gtest/gtest.h>

namespace {

// An older file: another version line, two optometrists, one establishment, a fee changed.
QByteArray ancienFichier() {
    QByteArray c = donnees("Kestrova.Cfg.defaut");
    c.replace("\"Version 5.8.y\"", "\"Version 5.6.b\"");
    c.replace("\"1e Optom\xE9triste\",\"311111\",\"00000\"", "\"  Dre \xC9milie Gagnon  \",\"311111\",\"12345\"");
    c.replace("\"2e Optom\xE9triste \",\"000000\",\"00000\"", "\"Dr Mathieu Tremblay\",\"322227\",\"00000\"");
    c.replace("\"002855\"", "\"003000\"");
    return c;
}

}  // namespace

// The old entries kept in the current file, the rest back to the defaults, byte for byte; the
// old file kept beside it.
TEST(Correction, AncienFichierReecrit) {
    DossierTemporaire d;
    d.ecrire("Kestrova.Cfg", ancienFichier());
    const auto ancienne = fichierconfiguration::lireAncienne(d.fichier("Kestrova.Cfg"));
    EXPECT_TRUE(ancienne.nonLu.isEmpty());
    DialoguesScriptes port;
    ASSERT_TRUE(correction::Reecrire(d.chemin(), ancienne, port));
    EXPECT_EQ(port.resume(), QStringList{"Modification | Votre fichier de configuration a été modifié "
                                         "avec les paramètres précédemment affichés.\n\nAppuyez sur "
                                         "Ok pour continuer."});
    QByteArray attendu = donnees("Kestrova.Cfg.defaut");
    attendu.replace("\"1e Optom\xE9triste\",\"311111\",\"00000\"", "\"Dre \xC9milie Gagnon\",\"311111\",\"12345\"");
    attendu.replace("\"2e Optom\xE9triste \",\"000000\",\"00000\"", "\"Dr Mathieu Tremblay\",\"322227\",\"00000\"");
    attendu.replace("triste \",\"000000\"", "triste\",\"000000\"");  // slots 3-10: no trailing blank
    attendu.replace("\"Vide  00000\"", "\"Vide 00000\"");
    EXPECT_EQ(d.lire("Kestrova.Cfg"), attendu);
    EXPECT_EQ(d.lire("Kestrova.Cfg.ancien"), ancienFichier());
    EXPECT_EQ(fichierconfiguration::lireVersion(d.fichier("Kestrova.Cfg")), VersionConfiguration);
}

// An old file of any shape is read as far as it goes and never stops the program.
TEST(Correction, AncienFichierTronque) {
    DossierTemporaire d;
    const QByteArray ancien = ancienFichier();
    d.ecrire("Kestrova.Cfg", ancien.left(ancien.indexOf("\"3e Optom") + 4));
    const auto a = fichierconfiguration::lireAncienne(d.fichier("Kestrova.Cfg"));
    EXPECT_EQ(a.nonLu, "Le fichier de configuration Kestrova.Cfg n'est pas valide.\n\nChamp numéro 65 "
                       "(nom de l'optométriste 3) : le texte n'est pas fermé par un guillemet.\n\n"
                       "Veuillez vous rendre dans Fichier et Initialisation afin de corriger la "
                       "configuration.");
    const Configuration c = correction::corrigee(a);
    EXPECT_EQ(c.listeOptometristes(), (QStringList{"Dre Émilie Gagnon", "Dr Mathieu Tremblay"}));
    EXPECT_EQ(c.Etablissements[0], "Vide 00000");
    EXPECT_EQ(c.TableDesPrix, Configuration::parDefaut().TableDesPrix);
    d.ecrire("Kestrova.Cfg", "pas du tout un fichier de configuration");
    EXPECT_FALSE(fichierconfiguration::lireAncienne(d.fichier("Kestrova.Cfg")).nonLu.isEmpty());
}
