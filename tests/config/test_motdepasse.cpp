#include "config/motdepasse.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"

#include <gtest/gtest.h>

using motdepasse::Issue;
using motdepasse::Porte;

namespace {
const QString Autorise = "Mot de passe | accès au programme autorisé...";
const QString Refuse = "Mot de passe | accès au LOGICIEL refusé...";
const QString Vide = "Mot de passe | Veuillez inscrire votre mot de passe dans la case appropriée."
                     "\n\nMaximum 20 caractères.";
}  // namespace

// The gate's flows, each from the file as it stands after the one before.
TEST(MotDePasse, ConnexionModificationSoutien) {
    DossierTemporaire d;
    const struct {
        const char* cas;
        std::function<Issue(Porte&)> action;
        Issue issue;
        QStringList boites;
        QByteArray fichier;  // Ramq.Chk afterwards, empty when absent
    } cas[] = {
        {"vide sans mot de passe", [](Porte& p) { return p.connexion("   "); }, Issue::Attendre, {Vide}, ""},
        {"premier: enregistré", [](Porte& p) { return p.connexion("Secret"); }, Issue::Autorise,
         {Autorise}, "SECRET              "},
        {"en minuscules", [](Porte& p) { return p.connexion("secret"); }, Issue::Autorise,
         {Autorise}, "SECRET              "},
        {"faux", [](Porte& p) { return p.connexion("autre"); }, Issue::Refuse, {Refuse},
         "SECRET              "},
        {"ancien faux", [](Porte& p) { return p.modifier("autre"); }, Issue::Refuse, {Refuse},
         "SECRET              "},
        {"ancien, nouveau blanc, nouveau",
         [](Porte& p) {
             EXPECT_EQ(p.modifier("secret"), Issue::Attendre);
             EXPECT_TRUE(p.attendNouveau());
             EXPECT_EQ(p.modifier("  "), Issue::Attendre);
             return p.modifier("abcdefghijklmnopqrstuvwxyz");
         },
         Issue::Autorise, {Vide, "Modification | Modification acceptée...", Autorise},
         "ABCDEFGHIJKLMNOPQRST"},
        {"au-delà de 20 caractères", [](Porte& p) { return p.connexion("abcdefghijklmnopqrst!!"); },
         Issue::Autorise, {Autorise}, "ABCDEFGHIJKLMNOPQRST"},
        {"annuler", [](Porte& p) { return p.refuser(); }, Issue::Refuse, {Refuse},
         "ABCDEFGHIJKLMNOPQRST"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        DialoguesScriptes port;
        Porte porte(d.chemin(), port);
        EXPECT_EQ(c.action(porte), c.issue);
        EXPECT_EQ(port.resume(), c.boites);
        EXPECT_EQ(d.lire("Ramq.Chk"), c.fichier);
    }

    DialoguesScriptes port;
    Porte porte(d.chemin(), port);
    EXPECT_EQ(porte.soutien("1234"), std::nullopt);
    EXPECT_EQ(porte.soutien("7319"), "ABCDEFGHIJKLMNOPQRST");

    // A record that begins with a zero byte is no password: the next one typed is stored.
    d.ecrire("Ramq.Chk", QByteArray(20, '\0'));
    EXPECT_EQ(porte.connexion("neuf"), Issue::Autorise);
    EXPECT_EQ(d.lire("Ramq.Chk"), "NEUF                ");
}

// A password is what the user typed, one character for one byte of the file: each one is
// stored at the first start, let in at the next however its letters are cased, and a near miss
// is refused.
TEST(MotDePasse, CeQuiEstTapeEstCeQuiOuvre) {
    const struct {
        QString tape, autreCasse, presque;
        QByteArray fichier;  // before its padding to 20 blanks
    } cas[] = {
        {" abc", " ABC", "abc", " ABC"},
        {"   trois blancs", "   Trois Blancs", " trois blancs", "   TROIS BLANCS"},
        {"Hélène çà", "HÉLÈNE ÇÀ", "Helene ca", "H\xC9L\xC8NE \xC7\xC0"},
        {"straße", "STRAßE", "strasse", "STRA\xDF" "E"},
        {"ÿ et µ", "Ÿ ET µ", "y et µ", "\x9F ET \xB5"},
        {"š œ æ ø", "Š Œ Æ Ø", "s oe ae o", "\x8A \x8C \xC6 \xD8"},
        {"le mot de passe trop long", "LE MOT DE PASSE TROP", "le mot de passe tro", "LE MOT DE PASSE TROP"},
        {"ßßßßßßßßßßßßßßßßßßßßß", "ßßßßßßßßßßßßßßßßßßßß", "SSSSSSSSSSSSSSSSSSSS", QByteArray(20, '\xDF')},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.tape.toStdString());
        DossierTemporaire d;
        DialoguesScriptes port;
        const QByteArray fichier = c.fichier.leftJustified(20, ' ');
        EXPECT_EQ(Porte(d.chemin(), port).connexion(c.tape), Issue::Autorise);
        EXPECT_EQ(d.lire("Ramq.Chk"), fichier);
        for (const QString& tape : {c.tape, c.autreCasse})  // the next starts
            EXPECT_EQ(Porte(d.chemin(), port).connexion(tape), Issue::Autorise) << tape.toStdString();
        EXPECT_EQ(Porte(d.chemin(), port).connexion(c.presque), Issue::Refuse);
        EXPECT_EQ(d.lire("Ramq.Chk"), fichier);
    }
}
