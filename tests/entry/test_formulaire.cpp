#include "entry/formulaire.h"

#include <gtest/gtest.h>

namespace {

Formulaire valide() {
    Formulaire f;
    f.masques = {"TREM80011514", "19800115", "H2X1Y4", "01", "0427", "20261204",
                 "3784",         "",         "",       ""};
    f.textes = {"TREMBLAY", "JEAN", "123 RUE PRINCIPALE", "ST-OLVANE", "", ""};
    f.actes = {"09001", "", "", ""};
    f.honoraires = {"002855", "", "", ""};
    f.panneaux = {QStringLiteral("Dre Émilie Gagnon"), "311111", "71234", "52713", "00000"};
    return f;
}

}  // namespace

// Every refusal of the store, in the order of the checks, with its exact title and text and
// the box that gets the focus.
TEST(Formulaire, RefusDeLEnregistrement) {
    const Configuration c = Configuration::parDefaut();
    const QDate aujourdhui(2026, 12, 6);
    const QString corriger = QStringLiteral("\n\nVeuillez corriger la situation.");
    auto illegal = [](const QString& t) {
        return QStringLiteral("Le texte suivant %1\ncomporte un caractère illégal.\n\nVeuillez "
                              "corriger la caractère.\n\nLes accents ne sont pas acceptés.")
            .arg(t);
    };
    using G = Controle::Genre;
    struct Cas {
        std::function<void(Formulaire&)> changer;
        QString titre, texte;
        G genre;
        int index;
    };
    const Cas cas[] = {
        {[](Formulaire& f) { f.masques[0] = QStringLiteral("TRÉM80011514"); },
         "Caractère illégal", illegal(QStringLiteral("TRÉM80011514")), G::Masque, 0},
        {[](Formulaire& f) { f.masques[7] = "a123"; }, "Caractère illégal", illegal("a123"),
         G::Masque, 7},
        {[](Formulaire& f) {
             f.masques[9] = "x";
             f.textes[0] = "x";
         },
         "Caractère illégal", illegal("x"), G::Masque, 9},
        {[](Formulaire& f) { f.textes[1] = QStringLiteral("JOSÉE"); }, "Caractère illégal",
         illegal(QStringLiteral("JOSÉE")), G::Texte, 1},
        {[](Formulaire& f) { f.textes[4] = "VOIR P. 2"; }, "Caractère illégal",
         illegal("VOIR P. 2"), G::Texte, 4},
        {[](Formulaire& f) { f.masques[0] = "TREM80011515"; }, "Caractère illégal",
         "Le numéro d'assurance maladie TREM80011515\nn'est pas valide." + corriger, G::Masque, 0},
        {[](Formulaire& f) { f.masques[5] = "20261301"; }, "Date invalide",
         "La date de service 2026/13/01\nn'est pas valide." + corriger, G::Masque, 5},
        {[](Formulaire& f) { f.masques[5] = "202612"; }, "Date invalide",
         "La date de service 2026/12/\nn'est pas valide." + corriger, G::Masque, 5},
        {[](Formulaire& f) { f.masques[5] = "20261207"; }, "Date invalide",
         "La date de service 2026/12/07\nest supérieur à la date d'aujourd'hui." + corriger,
         G::Masque, 5},
        {[](Formulaire& f) { f.masques[8] = "B123"; }, "Code de diagnostique",
         "Le code de diagnostique B123\nn'est pas valide." + corriger, G::Masque, 8},
        {[](Formulaire& f) { f.masques[6] = "37845"; }, "Code de diagnostique",
         "Le code de diagnostique 37845\nn'est pas valide." + corriger, G::Masque, 6},
        {[](Formulaire& f) { f.actes[0] = ""; }, "Code d'acte",
         "Le code d'acte \nn'est pas valide." + corriger, G::Acte, 2},
        {[](Formulaire& f) { f.actes[3] = "09099"; }, "Code d'acte",
         "Le code d'acte 09099\nn'est pas valide." + corriger, G::Acte, 5},
        {[](Formulaire& f) { f.panneaux[1] = "000000"; }, "Optométriste",
         "Aucun optométriste n'est choisi pour cette facture.\n\nInscrivez le nom et le numéro de "
         "professionnel de vos optométristes dans FICHIER, puis INITIALISATION.", G::Acte, 0},
        {[](Formulaire& f) {
             f.actes = {"09010", "09010", "09011", "09012"};
             f.honoraires = {"500000", "400000", "100000", "000100"};
         },
         "Montant de la facture",
         "Le montant de la facture (10001.00 $) dépasse le plus grand montant qu'une facture peut "
         "porter (9 999.99 $).\n\nVérifiez les honoraires des codes d'acte.", G::Acte, 2},
    };
    for (const Cas& k : cas) {
        Formulaire f = valide();
        k.changer(f);
        const auto r = VerifierFormulaire(f, c, aujourdhui);
        ASSERT_TRUE(r) << qPrintable(k.texte);
        EXPECT_EQ(r->titre, k.titre);
        EXPECT_EQ(r->texte, k.texte);
        EXPECT_EQ(r->controle.genre, k.genre) << qPrintable(k.texte);
        EXPECT_EQ(r->controle.index, k.index) << qPrintable(k.texte);
    }
    EXPECT_FALSE(VerifierFormulaire(valide(), c, aujourdhui));
    Formulaire aujourdhuiMeme = valide();
    aujourdhuiMeme.masques[5] = "20261206";
    aujourdhuiMeme.actes = {"09001", "", "", "09021"};
    EXPECT_FALSE(VerifierFormulaire(aujourdhuiMeme, c, aujourdhui));
}

TEST(Formulaire, ValeursDeLaFacture) {
    const ValeursFacture v = valide().valeurs();
    EXPECT_EQ(v.agence, QStringLiteral("71234"));
    EXPECT_EQ(v.professionnel, QStringLiteral("311111"));
    EXPECT_EQ(v.etablissement, QStringLiteral("52713"));
    EXPECT_EQ(v.groupe, QStringLiteral("00000"));
    EXPECT_EQ(v.nom, QStringLiteral("TREMBLAY"));
    EXPECT_EQ(v.prenom, QStringLiteral("JEAN"));
    EXPECT_EQ(v.dateService, QStringLiteral("20261204"));
    EXPECT_EQ(v.diagnostics[0], QStringLiteral("3784"));
}
