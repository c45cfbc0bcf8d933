#include "config/facturatlex.h"
#include "config/fichierconfiguration.h"
#include "support/dossiertemporaire.h"

#include <gtest/gtest.h>

namespace {

Configuration charger(const DossierTemporaire& d) { return ChargerConfiguration(d.chemin()); }

// The default file with one field replaced (the `n`-th occurrence of `ancien`).
QByteArray defautModifie(const QByteArray& ancien, const QByteArray& nouveau) {
    QByteArray f = donnees("Kestrova.Cfg.defaut");
    const int i = f.indexOf(ancien);
    return f.replace(i, ancien.size(), nouveau);
}

QString messageDe(const DossierTemporaire& d) {
    try {
        charger(d);
    } catch (const ErreurConfiguration& e) {
        return e.texte() + (e.fatale() ? "|fatale" : "");
    }
    return {};
}

}  // namespace

TEST(Configuration, FichierParDefautOctetPourOctet) {
    DossierTemporaire d;
    CreerConfigurationParDefaut(d.chemin());
    EXPECT_EQ(d.lire("Kestrova.Cfg"), donnees("Kestrova.Cfg.defaut"));
}

TEST(Configuration, LeFichierParDefautDonneLesListes) {
    DossierTemporaire d;
    d.ecrire("Kestrova.Cfg", donnees("Kestrova.Cfg.defaut"));
    const Configuration c = charger(d);
    EXPECT_EQ(c, Configuration::parDefaut());
    EXPECT_EQ(c.version, QStringLiteral("Version 5.8.y"));
    EXPECT_EQ(c.listeOptometristes(), QStringList{QStringLiteral("1e Optométriste")});
    EXPECT_EQ(c.listeEtablissements(), QStringList{QStringLiteral("St-Olvane 52713")});
    const QStringList actes = c.listeActes();
    ASSERT_EQ(actes.size(), 25);
    EXPECT_EQ(actes.first(), QStringLiteral("09001"));
    EXPECT_EQ(actes[22], QStringLiteral("09024"));
    EXPECT_EQ(actes.last(), QStringLiteral("09030"));
    EXPECT_EQ(c.PoidsNAM[13], 1);
    EXPECT_EQ(c.ValeursCaracteres['Z' - '0'], 233);
    EXPECT_EQ(c.ValeursCaracteres['A' - '0'], 193);
    EXPECT_EQ(c.ValeursCaracteres[':' - '0'], 0);
}

TEST(Configuration, LesDeuxGroupementsDonnentLesMemesTables) {
    DossierTemporaire d;
    Configuration c = Configuration::parDefaut();
    c.Optometristes[1] = {QStringLiteral("Dr Mathieu Tremblay"), "322227", "12345"};
    c.Etablissements[1] = QStringLiteral("Lac-Brume 52891");
    c.TableDesPrix[40] = {"09999", "001234"};
    fichierconfiguration::ecrire(d.fichier("a.cfg"), c, fichierconfiguration::Groupement::ParSix);
    fichierconfiguration::ecrire(d.fichier("b.cfg"), c,
                                 fichierconfiguration::Groupement::UnePaireParLigne);
    EXPECT_NE(d.lire("a.cfg"), d.lire("b.cfg"));
    EXPECT_EQ(d.lire("b.cfg").count("\r\n"), 1 + 6 + 10 + 5 + 92);
    EXPECT_EQ(fichierconfiguration::lire(d.fichier("a.cfg")), c);
    EXPECT_EQ(fichierconfiguration::lire(d.fichier("b.cfg")), c);
    // Line breaks anywhere, LF alone, blanks around fields: the same fields.
    QByteArray libre = d.lire("b.cfg");
    libre.replace("\r\n", ",\n ");
    libre.chop(3);
    d.ecrire("c.cfg", libre);
    EXPECT_EQ(fichierconfiguration::lire(d.fichier("c.cfg")), c);
}

TEST(Configuration, EntreesNonListees) {
    DossierTemporaire d;
    Configuration c = Configuration::parDefaut();
    c.Optometristes[2] = {QStringLiteral("Dr Sans Numéro"), "000000", "00000"};
    c.Etablissements[2] = QStringLiteral("Laval 00000");
    c.Etablissements[3] = QStringLiteral("Vide 00000");
    c.Etablissements[4] = QStringLiteral("Granby 52999");
    c.TableDesPrix[80] = {"00000", "1200"};  // ignored: an empty entry's price is not checked
    fichierconfiguration::ecrire(d.fichier("Kestrova.Cfg"), c,
                                 fichierconfiguration::Groupement::UnePaireParLigne);
    const Configuration lue = charger(d);
    EXPECT_EQ(lue.listeOptometristes(), QStringList{QStringLiteral("1e Optométriste")});
    EXPECT_EQ(lue.listeEtablissements(),
              (QStringList{QStringLiteral("St-Olvane 52713"), QStringLiteral("Granby 52999")}));
}

TEST(Configuration, EchecsDeChargement) {
    const QString invalide = QStringLiteral(
        "Le fichier de configuration Kestrova.Cfg n'est pas valide.\n\nChamp numéro %1 (%2) : %3"
        "\n\nVeuillez vous rendre dans Fichier et Initialisation afin de corriger la "
        "configuration.");
    struct Cas {
        QByteArray contenu;
        QString message;
    };
    const QByteArray defaut = donnees("Kestrova.Cfg.defaut");
    const Cas cas[] = {
        {defautModifie("\"001200\"", "\"1200\""),
         QStringLiteral("Le fichier de configuration au niveau des prix n'est pas valide.\n\nLe "
                        "logiciel doit s'arrêter.|fatale")},
        {defautModifie("\"004600\"", "\"0046000\""),
         QStringLiteral("Le fichier de configuration au niveau des prix n'est pas valide.\n\nLe "
                        "logiciel doit s'arrêter.|fatale")},
        {defaut.left(defaut.indexOf("\"St-Olvane")),
         invalide.arg(89).arg(QStringLiteral("établissement 1"),
                              QStringLiteral("le fichier se termine avant ce champ."))},
        {defautModifie("243", "\"24x\""),
         invalide.arg(19).arg(QStringLiteral("valeur du caractère « 3 »"),
                              QStringLiteral("un nombre entier est attendu, le fichier contient "
                                             "« 24x »."))},
        {defautModifie(",7,6,", ",sept,6,"),
         invalide.arg(12).arg(QStringLiteral("poids 11 du numéro d'assurance maladie"),
                              QStringLiteral("un nombre entier est attendu, le fichier contient "
                                             "« sept »."))},
        {defautModifie("\"St-Olvane 52713\"", "St-\"Olvane 52713"),
         invalide.arg(89).arg(QStringLiteral("établissement 1"),
                              QStringLiteral("un guillemet se trouve dans un champ qui n'est pas "
                                             "entre guillemets."))},
        {QByteArray(),
         invalide.arg(1).arg(QStringLiteral("version"),
                             QStringLiteral("le fichier se termine avant ce champ."))},
    };
    for (const Cas& c : cas) {
        DossierTemporaire d;
        d.ecrire("Kestrova.Cfg", c.contenu);
        EXPECT_EQ(messageDe(d), c.message);
    }
}

TEST(Configuration, NomTrouveSansEgardALaCasse) {
    DossierTemporaire d;
    d.ecrire("KESTROVA.CFG", donnees("Kestrova.Cfg.defaut"));
    EXPECT_EQ(charger(d), Configuration::parDefaut());
}

TEST(FacturatLex, NumeroDAgenceEtCreation) {
    DossierTemporaire d;
    facturatlex::creer(d.chemin(), "71234");
    EXPECT_EQ(d.lire("Facturat.Lex"), QByteArray("R7123400D71234000000000000000000000000"));
    EXPECT_EQ(facturatlex::numeroAgence(facturatlex::lireLigne(d.chemin())), QStringLiteral("71234"));
    d.ecrire("Facturat.Lex", "R7199903D71999031234000000000000000042\r\nsuite");
    EXPECT_EQ(facturatlex::lireLigne(d.chemin()), QStringLiteral("R7199903D71999031234000000000000000042"));
    EXPECT_EQ(facturatlex::numeroAgence(facturatlex::lireLigne(d.chemin())), QStringLiteral("71999"));
}
