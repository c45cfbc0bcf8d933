#include "platform/courriel.h"
#include "support/dossiertemporaire.h"
#include "support/serveursmtp.h"

#include <gtest/gtest.h>

namespace {

TEST(Courriel, MessageEtPieceJointeTelsQueRecus) {
    ServeurSmtp serveur;
    DossierTemporaire d;
    const QByteArray octets("R7\x00\r\n\x1a\xff\xe9 fin\r\n", 12);
    d.ecrire("R7123407", octets);
    Courriel c{serveur.hote(), "clinique@exemple.ca", "soutien@exemple.ca", "FACTURATION À LA RAMQ",
               "Clinique: Les Yeux d'Été\r\n514 555-1234\r\n", {d.fichier("R7123407")}};
    EXPECT_EQ(envoyerCourriel(c), std::nullopt);
    const auto recus = serveur.messages();
    ASSERT_EQ(recus.size(), 1);
    EXPECT_EQ(recus[0].de, "clinique@exemple.ca");
    EXPECT_EQ(recus[0].a, QStringList{"soutien@exemple.ca"});
    EXPECT_EQ(recus[0].sujet, "FACTURATION À LA RAMQ");
    EXPECT_EQ(recus[0].corps, "Clinique: Les Yeux d'Été\r\n514 555-1234\r\n");
    ASSERT_EQ(recus[0].pieces.size(), 1);
    EXPECT_EQ(recus[0].pieces[0].nom, "R7123407");
    EXPECT_EQ(recus[0].pieces[0].octets, octets);
}

// Every failure is a French sentence the user can act on; nothing reaches a server that
// refuses, and an address that cannot be one is caught before connecting.
TEST(Courriel, EchecsDitsClairement) {
    ServeurSmtp refus(true);
    DossierTemporaire d;
    struct Cas {
        QString serveur, expediteur, piece, attendu;
    } cas[] = {
        {refus.hote(), "clinique@exemple.ca", "",
         "Le serveur de courrier « 127.0.0.1 » a refusé le message (réponse 550)."},
        {"127.0.0.1:1", "clinique@exemple.ca", "", "Le serveur de courrier « 127.0.0.1 » ne répond pas."},
        {"hote.invalid", "clinique@exemple.ca", "", "Le serveur de courrier « hote.invalid » est introuvable."},
        {refus.hote(), "Inscrire votre adresse de courriel ici", "",
         "L'adresse de courriel de l'expéditeur n'est pas valide: Inscrire votre adresse de courriel ici"},
        {refus.hote(), "clinique@exemple.ca", d.fichier("absent"),
         "Le fichier à joindre " + d.fichier("absent") + " n'est pas trouvé."},
    };
    for (const Cas& k : cas) {
        Courriel c{k.serveur, k.expediteur, "soutien@exemple.ca", "Sujet", "Corps", {}};
        if (!k.piece.isEmpty())
            c.piecesJointes << k.piece;
        EXPECT_EQ(envoyerCourriel(c).value_or("envoyé"), k.attendu) << k.serveur.toStdString();
    }
    EXPECT_TRUE(refus.messages().isEmpty());
}

}  // namespace
