#include "config/configuration.h"
#include "config/initialisation.h"
#include "records/procedures.h"
#include "rules/catalogue.h"
#include "rules/regles.h"
#include "rules/tabledesprix.h"
#include "support/dialoguesscriptes.h"

#include <gtest/gtest.h>

namespace {

const QDate Aujourdhui(2026, 12, 6);

struct CasRegle {
    const char* nom;
    int index;                      // act box left (2 to 5)
    QString tape;                   // what the box holds when it loses the focus
    std::array<QString, 4> actes;   // the other act boxes (the left box is overwritten)
    std::array<QString, 4> diagnostics;
    QString renseignements;
    std::deque<int> choix;          // buttons clicked, in order (-1: Escape)
    std::deque<QString> saisies;    // amounts typed
    QStringList boites;             // "title | text" of what is shown, in order
    QString renseignementsApres;
    std::array<QString, 4> diagnosticsApres;
    QString code;                   // the box afterwards
    QString honoraire;              // the line's fee afterwards
};

const QString Info9024 = QStringLiteral(
    "Information | Le 9024 Doit être consécutif à un autre examen.\n9001 - 9002 - 9004 - 9022");
const QString Info9028 =
    QStringLiteral("Information | Le 9028 Doit être consécutif à un autre examen.\n9001 - 9004");
const QString Saisie = QStringLiteral(
    "Visite à domicile | Frais de déplacement relié à une visite à domicile.\nDe huit à quarante "
    "kilomètres.\nA 0.86$ le kilomètre.\nIndiquer le montant dans la case.\n(Si plus de 40 "
    "kilomètres utilisez le code 9016)\n\nExemple pour 20 kilomètres: 001720");

QString f(const char* legende) { return QString::fromUtf8(legende) + QStringLiteral(" | "); }

const CasRegle Cas[] = {
    {"code sur quatre chiffres", 2, "9001", {}, {}, "", {}, {}, {}, "", {}, "09001", "002855"},
    {"code absent de la table", 3, "12345", {}, {}, "", {}, {}, {}, "", {}, "12345", ""},
    {"9002 sans mention ni code A", 2, "09002", {}, {}, "", {0, 2}, {},
     {f("Code d'Acte 9002"), f("Suite Code d'Acte 9002")}, "PATHOLOGIE", {"A003"}, "09002", "001200"},
    {"9002 mention par le deuxième bouton, diagnostic par Échap", 2, "09002", {}, {}, "VU ", {1, -1}, {},
     {f("Code d'Acte 9002"), f("Suite Code d'Acte 9002")}, "VU IMPOSSIBILITE DE POURSUIVRE L EXAMEN",
     {}, "09002", "001200"},
    {"9002 complet", 2, "09002", {}, {"", "A004"}, "SUIVI POURSUIVRE", {}, {}, {},
     "SUIVI POURSUIVRE", {"", "A004"}, "09002", "001200"},
    {"9003 sans mention: mention puis fenêtre 50", 4, "09003", {}, {}, "", {-1}, {},
     {f("Code d'Acte 9003")}, "HANDICAPE VISUEL ", {}, "09003", "001450"},
    {"9003 mention qui ne tient pas: jamais coupée, l'utilisateur averti", 2, "09003", {}, {},
     QString(190, 'X'), {}, {},
     {"Renseignements complémentaires | Les renseignements complémentaires ne peuvent pas "
      "dépasser 200 caractères.\n\nRaccourcissez-les d'au moins 7 caractères pour y inscrire la "
      "mention obligatoire :\nHANDICAPE VISUEL"},
     QString(190, 'X'), {}, "09003", "001450"},
    {"9003 mention déjà là: rien d'autre", 4, "09003", {}, {}, "HANDICAPE VISUEL ", {}, {}, {},
     "HANDICAPE VISUEL ", {}, "09003", "001450"},
    {"9003 avec 3783 tapé à la main", 2, "09003", {}, {"3783"}, "", {}, {}, {}, "HANDICAPE VISUEL ",
     {"3783"}, "09003", "001450"},
    {"9005", 2, "09005", {}, {"0671"}, "X", {1}, {}, {f("Code d'Acte 9005")}, "XDEFICIENCE ",
     {"0671", "0691"}, "09005", "001000"},
    {"9005 avec 0692", 2, "09005", {}, {"0692"}, "", {}, {}, {}, "DEFICIENCE ", {"0692"}, "09005",
     "001000"},
    {"9008 avec 3784 et 3683", 2, "09008", {}, {"3784", "3683"}, "", {}, {}, {}, "", {"3784", "3683"},
     "09008", "001200"},
    {"9008 avec 3784 seul: fenêtre 61", 2, "09008", {}, {"3784"}, "", {6}, {},
     {f("Code d'Acte 9008")}, "", {"3784", "3681"}, "09008", "001200"},
    {"9008 sans diagnostic: 52, le 3784 choisi fait venir 61", 2, "09008", {}, {}, "", {0, 0}, {},
     {f("Code d'Acte 9008"), f("Code d'Acte 9008")}, "", {"3784", "3683"}, "09008", "001200"},
    {"9010", 3, "09010", {}, {}, "", {1}, {}, {f("Code d'Acte 9010")}, "", {"3688"}, "09010", "007000"},
    {"9010 avec 0683", 3, "09010", {}, {"0683"}, "", {}, {}, {}, "", {"0683"}, "09010", "007000"},
    {"9012", 5, "09012", {}, {}, "", {12}, {}, {f("Code d'Acte 9012")}, "", {"7439"}, "09012", "004800"},
    {"9015 en dollars", 3, "09015", {}, {}, "", {}, {"17.20"}, {Saisie}, "", {}, "09015", "001720"},
    {"9015 en cents", 3, "09015", {}, {}, "", {}, {"1720"}, {Saisie}, "", {}, "09015", "001720"},
    {"9015 annulé", 3, "09015", {}, {}, "", {}, {QString()}, {Saisie}, "", {}, "09015", "000000"},
    {"9024 après un 9001", 4, "09024", {"", "", "", "09001"}, {}, "", {}, {}, {},
     "BIOMICROSCOPIE ET OU TONOMETRIE ", {}, "09024", "000400"},
    {"9024 seul", 4, "09024", {}, {}, "", {}, {}, {Info9024}, "BIOMICROSCOPIE ET OU TONOMETRIE ", {},
     "09024", "000400"},
    {"9024 mention déjà là", 4, "09024", {}, {}, "BIOMICROSCOPIE ET OU TONOMETRIE ", {}, {}, {},
     "BIOMICROSCOPIE ET OU TONOMETRIE ", {}, "09024", "000400"},
    {"9028 seul", 3, "09028", {}, {}, "", {}, {}, {Info9028}, "", {}, "09028", "003300"},
    {"9028 après un 9004", 3, "09028", {"09004"}, {}, "", {}, {}, {}, "", {}, "09028", "003300"},
    {"9030", 2, "09030", {}, {}, "", {9}, {}, {f("Code d'Acte 9030")}, "", {"3780"}, "09030", "004600"},
    {"9030 avec 3001", 2, "09030", {}, {"3001"}, "", {}, {}, {}, "", {"3001"}, "09030", "004600"},
    {"9019: Ok n'écrit rien", 2, "09019", {}, {"3681"}, "", {5}, {}, {f("Code d'Acte 9019")}, "",
     {"3681"}, "09019", "001200"},
    {"9019 avec A002", 2, "09019", {}, {"A002"}, "", {}, {}, {}, "", {"A002"}, "09019", "001200"},
    {"9020: tout est plein", 2, "09020", {}, {"1111", "2222", "3333", "4444"}, "", {0}, {},
     {f("Code d'Acte 9020")}, "", {"1111", "2222", "3333", "4444"}, "09020", "002073"},
    {"9020 avec A011", 2, "09020", {}, {"A011"}, "", {}, {}, {}, "", {"A011"}, "09020", "002073"},
};

class Regles : public ::testing::TestWithParam<CasRegle> {};

TEST_P(Regles, MessagesEtChampsApresLaSortieDeLaCase) {
    const CasRegle& cas = GetParam();
    ChampsActe champs;
    champs.actes = cas.actes;
    champs.actes[ligneDe(cas.index)] = cas.tape;
    champs.diagnostics = cas.diagnostics;
    champs.renseignements = cas.renseignements;
    champs.dateService = QStringLiteral("20261204");
    DialoguesScriptes d;
    d.choix_ = cas.choix;
    d.saisies = cas.saisies;

    VerifierActe(cas.index, champs, Configuration::parDefaut(), d, Aujourdhui);

    SCOPED_TRACE(cas.nom);
    EXPECT_EQ(d.resume(), cas.boites);
    EXPECT_EQ(d.bips(), cas.boites.size());  // one bell per catalogue message
    EXPECT_TRUE(d.choix_.empty() && d.saisies.empty());
    EXPECT_EQ(champs.renseignements, cas.renseignementsApres);
    EXPECT_EQ(champs.diagnostics, cas.diagnosticsApres);
    EXPECT_EQ(champs.actes[ligneDe(cas.index)], cas.code);
    EXPECT_EQ(champs.honoraires[ligneDe(cas.index)], cas.honoraire);
}

INSTANTIATE_TEST_SUITE_P(ChaqueActe, Regles, ::testing::ValuesIn(Cas),
                         [](const auto& info) { return "cas" + std::to_string(info.index); });

TEST(Regles, LeSecondPassageDuMemeActeNAjoutePasLaMention) {
    ChampsActe champs;
    champs.actes[0] = QStringLiteral("09003");
    DialoguesScriptes d;
    VerifierActe(2, champs, Configuration::parDefaut(), d, Aujourdhui);
    VerifierActe(2, champs, Configuration::parDefaut(), d, Aujourdhui);
    EXPECT_EQ(champs.renseignements, QStringLiteral("HANDICAPE VISUEL "));
    EXPECT_EQ(d.resume(), QStringList{f("Code d'Acte 9003")});
}

TEST(Regles, MontantDeLaFactureApresChaqueCase) {
    ChampsActe champs;
    champs.actes = {"09001", "9021", "", ""};
    champs.honoraires = {"002855", "", "", "001200"};
    DialoguesScriptes d;
    VerifierActe(0, champs, Configuration::parDefaut(), d, Aujourdhui);
    EXPECT_EQ(champs.montant, QStringLiteral("40.55"));
    EXPECT_EQ(champs.actes[1], QStringLiteral("9021"));  // boxes 0 and 1 only add up
    VerifierActe(3, champs, Configuration::parDefaut(), d, Aujourdhui);
    EXPECT_EQ(champs.actes[1], QStringLiteral("09021"));
    EXPECT_EQ(champs.montant, QStringLiteral("46.25"));
    champs.honoraires = {"999999", "999999", "999999", "999999"};
    champs.actes = {};
    champs.actes[2] = "09015";
    d.saisies = {"9999.99"};
    VerifierActe(4, champs, Configuration::parDefaut(), d, Aujourdhui);
    EXPECT_EQ(champs.montant, QStringLiteral("39999.96"));
}

TEST(Catalogue, FenetresDeChoixTellesQuAffichees) {
    const FenetreChoix* f62 = fenetreChoix(62);
    ASSERT_NE(f62, nullptr);
    EXPECT_EQ(f62->legende, QStringLiteral("Code d'Acte 9019"));
    QStringList lignes;
    for (const ElementChoix& e : f62->elements)
        lignes << (e.genre == ElementChoix::Genre::Entete ? "= " : "[] ") + e.texte;
    EXPECT_EQ(lignes, (QStringList{
        "= LE 9019 REQUIERT UN CODE DE DIAGNOSTIQUE OBLIGATOIRE DE LA CLASSIFICATION (CIM)",
        "= ET SI CE CODE NE PERMET PAS DE RELEVER LE CARACTÈRE URGENT DE L'EXAMEN",
        "= AJOUTER UN DES CODES SUIVANTS EN REMPLACEMENT:   ou cliquez sur OK pour poursuivre.",
        "[] A005 Douleur oculaire", "[] A006 Perte de vision", "[] A007 Rougeur anormale",
        "[] A008 Corps étranger", "[] A009 Brûlures chimiques", "[] Ok"}));

    const struct {
        int numero;
        const char* legende;
        int boutons;
        const char* premier;
        const char* dernier;
    } attendus[] = {
        {22, "Code d'Acte 9002", 2, "&PATHOLOGIE", "&IMPOSSIBILITE DE POURSUIVRE L EXAMEN"},
        {23, "Suite Code d'Acte 9002", 4, "A001 Non coopération de la personne",
         "A004 Transfert de la personne pour une prise en charge par un autre professionnel"},
        {50, "Code d'Acte 9003", 17, "0680", "3784 Hétérophorie"},
        {51, "Code d'Acte 9005", 5, "0690 Achromatopsie", "0699 Déficience de la vision des couleurs SAI"},
        {52, "Code d'Acte 9008", 7, "3784 Hétérophorie", "3787 Strabisme"},
        {53, "Code d'Acte 9010", 2, "0683 Amblyopie inférieur à 6/21 (20/70)",
         "3688 Champ visuel anormal inférieur à 60 degrés"},
        {54, "Code d'Acte 9012", 13, "0671 HYPERMÉTROPIE", "7439 ANIRIDIE  Colobome ou Polycorie"},
        {57, "Code d'Acte 9030", 18, "0680", "3784 Hétérophorie"},
        {61, "Code d'Acte 9008", 7, "3683 Fixation", "3681 Asthenopie ou Céphalée"},
        {63, "Code d'Acte 9020", 6, "0673 Myopie d'au moins 5 dioptries",
         "A011 Diabète traité par injection d’insuline"},
    };
    for (const auto& a : attendus) {
        SCOPED_TRACE(a.numero);
        const FenetreChoix* f = fenetreChoix(a.numero);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->legende, QString::fromUtf8(a.legende));
        const QStringList b = f->boutons();
        ASSERT_EQ(b.size(), a.boutons);
        EXPECT_EQ(b.first(), QString::fromUtf8(a.premier));
        EXPECT_EQ(b.last(), QString::fromUtf8(a.dernier));
    }
    const QStringList b57 = fenetreChoix(57)->boutons();
    EXPECT_TRUE(b57.contains("3682 DIPLOPIE") && b57.contains("3683 SUPPRESSION"));
    EXPECT_EQ(b57.indexOf("3783 Hétérotropie") + 1, b57.indexOf("3784 Hétérophorie"));
    EXPECT_FALSE(fenetreChoix(50)->boutons().contains("3783 Hétérotropie"));
    EXPECT_EQ(fenetreChoix(50)->elements[2].infobulle,
              QStringLiteral("Amblyopie SAI ( de 6/9 (20/30) dans le meilleur oeil )"));
    EXPECT_EQ(fenetreChoix(21), nullptr);
}

TEST(Catalogue, RefusDeLEnregistrementSonnentDeuxFois) {
    ChampsActe champs;
    DialoguesScriptes d;
    AfficherMessage(3, 0, champs, d);
    EXPECT_EQ(d.bips(), 2);
    ASSERT_EQ(d.boites().size(), 1);
    EXPECT_EQ(d.boites()[0].icone, Icone::Critique);
    EXPECT_EQ(d.resume()[0], QStringLiteral("Message d'erreur | ATTENTION...\n\nLe CODE "
                                            "D'ÉTABLISSEMENT n'est pas valide.\nConsulter le "
                                            "support informatique pour de l'aide."));
}

TEST(Catalogue, MontantDeDeplacement) {
    const struct {
        std::deque<QString> reponses;
        const char* honoraire;
        int refus;  // answers refused and asked again
    } cas[] = {
        {{"17.20"}, "001720", 0}, {{"1720"}, "001720", 0},      {{"68,8"}, "006880", 0},
        {{""}, "000000", 0},      {{QString()}, "000000", 0},   {{"000000"}, "000000", 0},
        {{"1234567", "12.34"}, "001234", 1},                    {{"10000.00", QString()}, "000000", 1},
        {{"douze", "1.5", "x"}, "000150", 1},                   {{"9999.99"}, "999999", 0},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.reponses.front().toStdString());
        ChampsActe champs;
        DialoguesScriptes d;
        d.saisies = c.reponses;
        AfficherMessage(21, 5, champs, d);
        EXPECT_EQ(champs.honoraires[3], QLatin1String(c.honoraire));
        int saisies = 0, refus = 0;
        for (const auto& a : d.boites()) {
            if (a.genre == DialoguesScriptes::Appel::Genre::Saisie) {
                ++saisies;
                EXPECT_EQ(a.titre, QStringLiteral("Visite à domicile"));
                EXPECT_TRUE(a.texte.endsWith("Exemple pour 80 kilomètres: 006880"));
            } else {
                ++refus;
                EXPECT_TRUE(a.texte.contains("n'est pas valide"));
            }
        }
        EXPECT_EQ(refus, c.refus);
        EXPECT_EQ(saisies, c.refus + 1);
        EXPECT_EQ(d.boites()[0].defaut, QStringLiteral("000000"));
    }
}

// A travel amount asked again for the same code proposes the amount given, and Escape keeps it;
// for another code, or a new line, the box proposes 000000 again.
TEST(Catalogue, MontantDeDeplacementDemandeDeNouveau) {
    ChampsActe champs;
    champs.actes[0] = "09015";
    const struct {
        const char* code;
        QString reponse;  // null: Escape
        const char* propose;
        const char* honoraire;
    } tours[] = {
        {"09015", "17.20", "000000", "001720"}, {"09015", QString(), "001720", "001720"},
        {"09015", "20.64", "001720", "002064"}, {"09016", QString(), "000000", "000000"},
        {"09016", "68.80", "000000", "006880"}, {"09015", QString(), "000000", "000000"},
    };
    for (const auto& t : tours) {
        SCOPED_TRACE(std::string(t.code) + " " + t.reponse.toStdString());
        champs.actes[0] = t.code;
        champs.saisieAnnulee = false;
        DialoguesScriptes d;
        d.saisies = {t.reponse};
        AfficherMessage(t.code == QLatin1String("09015") ? 20 : 21, 2, champs, d);
        EXPECT_EQ(d.boites()[0].defaut, t.propose);
        EXPECT_EQ(champs.honoraires[0], t.honoraire);
        EXPECT_EQ(champs.saisieAnnulee, t.reponse.isNull());
    }
}

// The age counts one day off per four years, so 75 comes the day before the birthday.
TEST(Age, AgeEnAnnees) {
    const struct {
        const char* naissance;
        QDate aujourdhui;
        const char* age;
    } cas[] = {
        {"511206", QDate(2026, 12, 6), " 75"}, {"511207", QDate(2026, 12, 6), " 75"},
        {"511208", QDate(2026, 12, 6), " 74"},
        {"520101", QDate(2026, 12, 6), " 74"}, {"761206", QDate(2026, 12, 6), " 50"},
        {"261206", QDate(2026, 12, 6), " 100"}, {"261205", QDate(2026, 12, 6), " 0"},
        {"000000", QDate(2026, 12, 6), " 0"},  {"", QDate(2026, 12, 6), " 0"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(AgeEnAnnees(c.naissance, c.aujourdhui), QLatin1String(c.age)) << c.naissance;
}

TEST(Regles, Inscription09021) {
    // NAM characters 5-10 are the birth date; a woman's month carries 50 more.
    const struct {
        const char* nam;
        const char* acte1;
        int index;
        Reponse reponse;
        const char* texte;  // the question, or "" when none
        const char* acte2;
    } cas[] = {
        {"GAGE51120611", "09001", 2, Reponse::Oui, " 75", "09021"},
        {"GAGE51620611", "09001", 2, Reponse::Oui, " 75", "09021"},
        {"GAGE51620611", "09001", 2, Reponse::Non, " 75", "09012"},
        {"GAGE51120811", "09001", 2, Reponse::Oui, "", "09012"},
        {"GAGE52520111", "09001", 2, Reponse::Oui, "", "09012"},
        {"GAGE40120611", "09002", 2, Reponse::Oui, "", "09012"},
        {"GAGE40120611", "09001", 3, Reponse::Oui, "", "09012"},
        {"GAGE4012061", "09001", 2, Reponse::Oui, "", "09012"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nam);
        ChampsActe champs;
        champs.nam = c.nam;
        champs.actes = {c.acte1, "09012", "", ""};
        champs.renseignements = "x";
        champs.diagnostics = {"0671", "3682"};
        DialoguesScriptes d;
        d.reponses = {c.reponse};
        VerifierActe(c.index, champs, Configuration::parDefaut(), d, Aujourdhui);
        QStringList attendu;
        if (*c.texte)
            attendu << QStringLiteral("Plus de 75 ans | Inscription automatique du 9021 ?\n\nCar "
                                      "cette personne à ") +
                           c.texte + QStringLiteral(" ans.");
        const QStringList vu = d.resume().filter("Plus de 75 ans");
        EXPECT_EQ(vu, attendu);
        EXPECT_EQ(champs.actes[1], QLatin1String(c.acte2));
        if (QLatin1String(c.acte2) == QLatin1String("09021")) {
            EXPECT_EQ(champs.honoraires[1], QStringLiteral("000570"));
        }
    }
}

TEST(Regles, Dernier09001) {
    const QString service = QStringLiteral("20261204");
    const QDate s(2026, 12, 4);
    auto yy = [&](int jours) { return s.addDays(-jours).toString(QStringLiteral("yy/MM/dd")); };
    const struct {
        QString dernier;
        const char* considerations;
        const char* avertissement;  // "" when none
    } cas[] = {
        {yy(364), "", "date de moins de 365 jours."},
        {yy(365), "", ""},
        {yy(364), "A", "sur le B.E.S. date de moins de 2 ans."},
        {yy(400), "", ""},
        {yy(400), " A", "sur le B.E.S. date de moins de 2 ans."},
        {yy(729), "A", "sur le B.E.S. date de moins de 2 ans."},
        {yy(730), "A", ""},
        {yy(800), "A", ""},
        {yy(0), "", "date de moins de 365 jours."},
        {"99/01/01", "A", ""},
        {"26/02/30", "", ""},
        {"inconnue", "", ""},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE((c.dernier + "/" + c.considerations).toStdString());
        ChampsActe champs;
        champs.actes[0] = QStringLiteral("09001");
        champs.dateService = service;
        champs.dernier09001 = c.dernier;
        champs.considerations = c.considerations;
        DialoguesScriptes d;
        VerifierActe(2, champs, Configuration::parDefaut(), d, Aujourdhui);
        if (!*c.avertissement) {
            EXPECT_TRUE(d.appels.isEmpty());
            continue;
        }
        ASSERT_EQ(d.boites().size(), 1);
        EXPECT_EQ(d.boites()[0].icone, Icone::Exclamation);
        EXPECT_EQ(d.resume()[0], QStringLiteral("Vérification du dernier 09001 | ATTENTION...\n\nSelon "
                                                "le Dossier Patient.\n\nLe dernier examen 09001 de "
                                                "ce patient ") +
                                     c.avertissement + QStringLiteral("\n\nDernier 9001: ") + c.dernier);
        EXPECT_EQ(d.bips(), 1);
        EXPECT_EQ(champs.actes[0], QStringLiteral("09001"));
    }
    // A service date that is not valid gives no warning.
    ChampsActe champs;
    champs.actes[0] = QStringLiteral("09001");
    champs.dateService = QStringLiteral("20261304");
    champs.dernier09001 = yy(10);
    DialoguesScriptes d;
    VerifierActe(2, champs, Configuration::parDefaut(), d, Aujourdhui);
    EXPECT_TRUE(d.appels.isEmpty());
}

TEST(TableDesPrix, PrixEtModification) {
    Configuration c = Configuration::parDefaut();
    c.TableDesPrix[30] = {"09001", "999999"};
    EXPECT_EQ(PrixDeLActe(c, "09001"), QStringLiteral("002855"));  // first entry wins
    EXPECT_EQ(PrixDeLActe(c, "9001"), QString());

    const struct {
        int entree;
        const char* prix;
        const char* code;
        bool accepte;
        const char* message;
    } cas[] = {
        {-1, "003000", "09001", false, "Initialisation | Changement refusé...\nAucun acte de pointer dans la liste."},
        {0, "30.00", "09001", false, "Initialisation | Attention...\n\nIl y a erreur,  ce champ doit être composé de 6 chiffres."},
        {0, "3000", "09001", false, "Initialisation | Attention...\n\nIl y a erreur,  ce champ doit être composé de 6 chiffres."},
        {0, "", "09001", false, "Initialisation | Attention...\n\nIl y a erreur,  ce champ doit être composé de 6 chiffres."},
        {0, "003000", "09001", true, ""},
        {40, "001500", "9050", true, ""},
        {41, "001500", "0905012", true, ""},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.prix);
        auto table = c.TableDesPrix;
        DialoguesScriptes d;
        EXPECT_EQ(ChangerPrix(table, k.entree, k.prix, k.code, d), k.accepte);
        // An accepted change is announced by the window once it is saved.
        ASSERT_EQ(d.resume().size(), k.accepte ? 0 : 1);
        if (!k.accepte) {
            EXPECT_TRUE(d.resume()[0].startsWith(QString::fromUtf8(k.message))) << d.resume()[0].toStdString();
        }
        EXPECT_EQ(d.bips(), k.accepte ? 0 : 1);
        if (!k.accepte) {
            EXPECT_EQ(table, c.TableDesPrix);
            continue;
        }
        EXPECT_EQ(table[k.entree].prix, QLatin1String(k.prix));
        EXPECT_EQ(table[k.entree].code, QString(k.code).leftJustified(5, ' ', true));
    }
    // A new code takes its place in the act-code lists.
    auto table = c.TableDesPrix;
    DialoguesScriptes d;
    ASSERT_TRUE(ChangerPrix(table, 25, "001500", "09050", d));
    c.TableDesPrix = table;
    const QStringList actes = c.listeActes();
    EXPECT_EQ(actes.indexOf("09050"), actes.indexOf("09030") + 1);
    EXPECT_EQ(PrixDeLActe(c, "09050"), QStringLiteral("001500"));
}

}  // namespace
