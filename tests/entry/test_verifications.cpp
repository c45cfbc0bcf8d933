#include "entry/verifications.h"

#include <gtest/gtest.h>

// Check digits worked out by hand from the agency rule (EBCDIC values weighted
// 1 3 7 9 1 7 1 3 4 5 7 6 9 1 over surname letters, first-name letter, four-digit year, sex,
// real month, day, administrative character); the current year is 2026.
TEST(Verifications, ChiffreDeControleDuNam) {
    const Configuration c = Configuration::parDefaut();
    struct Cas {
        const char* nam;
        bool valide;
        const char* pourquoi;
    };
    const Cas cas[] = {
        {"TREM80011514", true, "homme né en 1980 (80 > 26: siècle 19)"},
        {"TREM80011512", false, "le chiffre du siècle 20 ne vaut pas pour 80"},
        {"TREM80011525", true, "le caractère administratif entre dans la somme"},
        {"TREM80011524", false, "caractère administratif changé, chiffre inchangé"},
        {"GAGE85523027", true, "femme: mois 52 lu février, sexe F"},
        {"GAGE85523025", false, "femme: chiffre faux"},
        {"LAVP15070410", true, "15 <= 26: siècle 20 d'abord"},
        {"LAVP15070412", true, "repris avec le siècle 19"},
        {"LAVP15070411", false, "aucun des deux siècles"},
        {"ROYM25610136", true, "femme de 2025 (mois 61: novembre)"},
        {"ROYM25610138", true, "femme de 1925, au second essai"},
        {"ZYXW00123102", true, "année 00: siècle 20"},
        {"ZYXW00123104", true, "année 00 d'une personne de 1900"},
        {"TREM8001151", false, "onze caractères"},
        {"", false, "vide"},
    };
    for (const Cas& k : cas)
        EXPECT_EQ(NamValide(QString::fromLatin1(k.nam), c, 2026), k.valide) << k.nam << ": " << k.pourquoi;
    // In 2010, 15 is above the current year: only the century 19 is tried.
    EXPECT_TRUE(NamValide("LAVP15070412", c, 2010));
    EXPECT_FALSE(NamValide("LAVP15070410", c, 2010));
}

TEST(Verifications, SommeLargeSansDebordement) {
    Configuration c = Configuration::parDefaut();
    c.PoidsNAM.fill(9);
    c.ValeursCaracteres.fill(3000);  // 14 x 9 x 3000 = 378000: beyond 16 bits
    EXPECT_TRUE(NamValide("TREM80011510", c, 2026));
    EXPECT_FALSE(NamValide("TREM80011514", c, 2026));
    // The largest values a configuration can hold: 14 x (2^31 - 1)^2 ends in 6.
    c.PoidsNAM.fill(2147483647);
    c.ValeursCaracteres.fill(2147483647);
    EXPECT_TRUE(NamValide("TREM80011516", c, 2026));
    EXPECT_FALSE(NamValide("TREM80011514", c, 2026));
}

TEST(Verifications, CaracteresChiffresNettoyage) {
    EXPECT_TRUE(CaracteresValides(""));
    EXPECT_TRUE(CaracteresValides("ST-OLVANE 123"));
    for (const char* t : {"Tremblay", "CÔTÉ", "A,B", "O'NEIL", "É"})
        EXPECT_FALSE(CaracteresValides(QString::fromUtf8(t))) << t;
    EXPECT_TRUE(QueDesChiffres(""));
    EXPECT_TRUE(QueDesChiffres("0123"));
    EXPECT_FALSE(QueDesChiffres("12 3"));
    EXPECT_EQ(NettoyerTexte(QStringLiteral("12, RUE D'ÉTÉ #4. ÈVE")),
              QStringLiteral("12  RUE D ETE  4  EVE"));
    EXPECT_TRUE(CaracteresValides(NettoyerTexte(QStringLiteral("CÈTE ÉCOLE"))));
    EXPECT_EQ(NettoyerTexte(QStringLiteral("CÔTÉ ÉLISE FRANÇOIS NOËL ŒUVRE LÆTITIA À-L'ÎLE")),
              QStringLiteral("COTE ELISE FRANCOIS NOEL OEUVRE LAETITIA A-L ILE"));
}

TEST(Verifications, DatesDiagnosticsActes) {
    struct CasDate {
        const char* date;
        bool valide;
    };
    const CasDate dates[] = {{"20260230", true}, {"20261301", false}, {"17991231", false},
                             {"18000101", true}, {"20991231", true},  {"21000101", false},
                             {"20260100", false}, {"20260132", false}, {"2026010", false},
                             {"2026 101", false}, {"", false}};
    for (const CasDate& d : dates)
        EXPECT_EQ(DateValide(d.date), d.valide) << d.date;

    for (const char* d : {"", "V123", "A001", "3784", "0673"})
        EXPECT_TRUE(DiagnosticValide(d)) << d;
    for (const char* d : {"B123", "37845", "378", "v123", "3ABC", "3-4 "})
        EXPECT_FALSE(DiagnosticValide(d)) << d;
    // The NAM's form at store: letters, digits, a month of birth (plus 50 for a woman).
    for (const char* n : {"TREM80011514", "GAGM75531213", "TREM80121514", "TREM80511514", "TREM80621514"})
        EXPECT_TRUE(NamBienForme(n)) << n;
    for (const char* n : {"123456789014", "TREM80131513", "TREM80001514", "TREM80501514", "TREM80631514",
                          "TREM8001151", "TRE180011514", "TREM8001151A"})
        EXPECT_FALSE(NamBienForme(n)) << n;

    const Configuration c = Configuration::parDefaut();
    EXPECT_TRUE(CodeActeInvalide("", 2, c));
    EXPECT_FALSE(CodeActeInvalide("", 3, c));
    EXPECT_FALSE(CodeActeInvalide("", 5, c));
    EXPECT_FALSE(CodeActeInvalide("09030", 2, c));
    EXPECT_TRUE(CodeActeInvalide("9001", 2, c));
    EXPECT_TRUE(CodeActeInvalide("09023", 4, c));
}

TEST(Verifications, StructureDuNamALaPerteDuFocus) {
    const QString incomplet = QStringLiteral("Numéro d'assurance maladie incomplet.");
    const QString invalide = QStringLiteral("Numéro de l'assurance maladie invalide.");
    struct Cas {
        QString nam;
        QString message;
        QString titre;
    };
    const Cas cas[] = {
        {"TREM8001151", incomplet, QStringLiteral("Saisie du numéro de l'assurance maladie")},
        {"TRE180011514", invalide, QStringLiteral("Saisie du numéro")},
        {QStringLiteral("TRÉM80011514"), invalide, QStringLiteral("Saisie du numéro")},
        {"TREM8001151A", invalide, QStringLiteral("Saisie du numéro")},
        {"TREM80011514", {}, {}},
        {"12345", {}, {}},  // a patient file number
        {"", {}, {}},
    };
    for (const Cas& k : cas) {
        const auto m = VerifierStructureNam(k.nam);
        EXPECT_EQ(m ? m->texte : QString(), k.message) << qPrintable(k.nam);
        EXPECT_EQ(m ? m->titre : QString(), k.titre) << qPrintable(k.nam);
    }
}

TEST(Verifications, AvertissementDAgeAssure) {
    const QDate aujourdhui(2026, 12, 6);
    struct Cas {
        QDate naissance;
        int age;  // 0: no warning
    };
    const Cas cas[] = {
        {aujourdhui.addYears(-18), 0},
        {aujourdhui.addYears(-19), 19},
        {aujourdhui.addYears(-18).addDays(-185), 19},  // 18.5 years rounds up
        {aujourdhui.addYears(-40), 40},
        {aujourdhui.addYears(-64), 64},
        {aujourdhui.addYears(-65), 0},
        {aujourdhui.addYears(-90), 0},
    };
    for (const Cas& k : cas) {
        const auto m = AvertissementAge(k.naissance.toString("yyyyMMdd"), aujourdhui);
        if (k.age == 0) {
            EXPECT_FALSE(m) << qPrintable(k.naissance.toString());
            continue;
        }
        ASSERT_TRUE(m) << qPrintable(k.naissance.toString());
        EXPECT_EQ(m->titre, QStringLiteral("Assurance"));
        EXPECT_EQ(m->texte,
                  QStringLiteral("ATTENTION...\n\nCette personne a  %1 ans.\n\nSi cette personne "
                                 "ne détient pas un carnet de réclamation valide de la sécurité du "
                                 "revenu, les services ne sont pas assurés par la RAMQ.")
                      .arg(k.age));
    }
    EXPECT_FALSE(AvertissementAge("", aujourdhui));
    EXPECT_FALSE(AvertissementAge("18000101", aujourdhui));
}

// The birth date and sex a NAM holds: never after today (2026-12-08), the century chosen by the
// check digit, else the later one.
TEST(Verifications, NaissanceDuNam) {
    const Configuration c = Configuration::parDefaut();
    const struct {
        const char* nam;
        const char* naissance;  // "" when the NAM gives none
        bool masculin;
    } cas[] = {
        {"TREM80011514", "19800115", true},   {"TREM80011512", "19800115", true},   // its digit is 2080's
        {"GAGE85523027", "", false},          {"GAGM75531213", "19750312", false},  // 30 February; a woman
        {"LAVP15070410", "20150704", true},   {"LAVP15070412", "19150704", true},
        {"ROYM25610136", "20251101", false},  {"ROYM25610138", "19251101", false},
        {"ZYXW00123102", "20001231", true},   {"ZYXW00123104", "19001231", true},
        {"ABCD26513112", "20260131", false},  {"ABCD26623112", "19261231", false},  // 2026-12-31 is ahead
        {"ABCD80500112", "", true},           {"ABCD80023012", "", true},          // month 50; 30 February
        {"ABCD8002301", "", true},            {"", "", true},
    };
    for (const auto& k : cas) {
        const auto n = NaissanceDuNam(QString::fromLatin1(k.nam), c, QDate(2026, 12, 8));
        EXPECT_EQ(n ? n->naissance : QString(), k.naissance) << k.nam;
        if (n) {
            EXPECT_EQ(n->masculin, k.masculin) << k.nam;
        }
    }
}

// A birth date (any century) or sex typed against the NAM's: what the warning says, or nothing.
TEST(Verifications, DesaccordAvecLeNam) {
    const Configuration c = Configuration::parDefaut();
    const struct {
        const char* nam;
        const char* naissance;
        bool masculin;
        const char* inscrit;  // "" when nothing is told
    } cas[] = {
        {"GAGM75531213", "19750312", false, ""},
        {"GAGM75531213", "20750312", false, ""},  // the century is the user's
        {"GAGM75531213", "", false, ""},
        {"GAGM75531213", "        ", false, ""},
        {"GAGM75531213", "19750312", true, "sexe masculin, date de naissance 1975-03-12"},
        {"GAGM75531213", "19750321", false, "sexe féminin, date de naissance 1975-03-21"},
        {"GAGM75531213", "", true, "sexe masculin, date de naissance non inscrite"},
        {"TREM80011514", "19800116", true, "sexe masculin, date de naissance 1980-01-16"},
        {"ABCD80023012", "19990101", false, ""},  // 30 February: the NAM holds no date
        {"1234567890", "19990101", false, ""},     // a patient file number
    };
    for (const auto& k : cas) {
        const auto d = DesaccordAvecLeNam(k.nam, k.naissance, k.masculin, c, QDate(2026, 12, 8));
        EXPECT_EQ(d ? d->texte.section("Inscrit : ", 1).section(".\n", 0, 0) : QString(), QString::fromUtf8(k.inscrit))
            << k.nam << " " << k.naissance;
    }
    const auto d = DesaccordAvecLeNam("GAGM75531213", "19750312", true, c, QDate(2026, 12, 8));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->titre, "Date de naissance et sexe");
    EXPECT_EQ(d->texte, "La date de naissance ou le sexe inscrit ne correspond pas au numéro d'assurance maladie.\n\n"
                        "Selon le NAM GAGM75531213 : sexe féminin, date de naissance 1975-03-12.\n"
                        "Inscrit : sexe masculin, date de naissance 1975-03-12.\n\nEnregistrer la facture quand même ?");
}
