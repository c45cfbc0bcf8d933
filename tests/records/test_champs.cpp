#include "records/champs.h"
#include "records/encodage.h"

#include <gtest/gtest.h>

TEST(Champs, EcrivainsDeLargeurFixe) {
    struct Cas {
        const char* valeur;
        int largeur;
        const char* texte;
        const char* nombre;
    };
    const Cas cas[] = {
        {"7", 2, "7 ", "07"},
        {"1999", 6, "1999  ", "001999"},
        {"", 2, "  ", "00"},
        {"", 8, "        ", "00000000"},
        {"1234567", 4, "1234", "4567"},  // text cut on the right, numbers keep the right
        {"09001", 5, "09001", "09001"},
    };
    for (const Cas& c : cas) {
        EXPECT_EQ(champs::texte(c.valeur, c.largeur), QByteArray(c.texte)) << c.valeur;
        EXPECT_EQ(champs::nombre(QByteArray(c.valeur), c.largeur), QByteArray(c.nombre)) << c.valeur;
    }
    EXPECT_EQ(champs::nombre(qint64(1234567), 6), QByteArray("234567"));
}

TEST(Champs, ValeurLitLesChiffresDeTete) {
    EXPECT_EQ(champs::valeur(QByteArray("002855")), 2855);
    EXPECT_EQ(champs::valeur(QByteArray("  12a5")), 12);
    EXPECT_EQ(champs::valeur(QByteArray("")), 0);
    EXPECT_EQ(champs::valeur(QByteArray("      ")), 0);
}

TEST(Champs, EnregistrementParColonnes) {
    Enregistrement e(10);
    e.ecrireTexte(1, 3, QStringLiteral("é"));
    e.ecrireNombre(4, 3, QByteArray("7"));
    EXPECT_EQ(e.octets(), QByteArray("\xE9  007    "));
    EXPECT_EQ(e.lireTexte(1, 1), QStringLiteral("é"));
}

TEST(Encodage, Windows1252SurUnOctet) {
    EXPECT_TRUE(encodage::disponible());
    EXPECT_EQ(encodage::versOctets(QStringLiteral("Optométriste")), QByteArray("Optom\xE9triste"));
    EXPECT_EQ(encodage::versOctets(QStringLiteral("’")), QByteArray("\x92"));
    EXPECT_EQ(encodage::depuisOctets(QByteArray("\xC9t\xE9")), QStringLiteral("Été"));
    EXPECT_TRUE(encodage::representable(QStringLiteral("ÉÈÀ’ ok")));
    EXPECT_FALSE(encodage::representable(QStringLiteral("中")));
    EXPECT_ANY_THROW(encodage::versOctets(QStringLiteral("a中b")));
}
