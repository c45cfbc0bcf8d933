#include "platform/horloge.h"
#include "platform/tableur.h"
#include "records/fichierenregistrements.h"
#include "records/statistique.h"
#include "statistics/comptesrendus.h"
#include "statistics/journalenvois.h"
#include "statistics/statmensuelle.h"
#include "statistics/tendances.h"
#include "support/autreposte.h"
#include "support/classeur.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QByteArray stat(const char* date, const QList<QString>& actes, const QList<QString>& honoraires, const char* cs = "",
                const char* prof = "311111") {
    ValeursFacture v = factureDeBase();
    v.professionnel = prof;
    v.dateService = date;
    v.considerations = cs;
    v.actes = {actes.value(0), actes.value(1), actes.value(2), actes.value(3)};
    v.honoraires = {honoraires.value(0), honoraires.value(1), honoraires.value(2), honoraires.value(3)};
    return statistique::construire(v);
}

// The month's counts and the summary by day: fee-table prices, damaged dates left out of the
// days, nothing created when the year has no file.
TEST(StatMensuelles, ComptesEtJours) {
    DossierTemporaire d;
    Configuration c = Configuration::parDefaut();
    c.Optometristes[9] = {"Dixième", "399999", "00000"};
    EXPECT_EQ(statmensuelle::optometristes(c).last(), "Dixième 399999");
    EXPECT_EQ(comptesrendus::optometristes(c).last(), "Dixième   399999");
    int deplacement = -1;
    for (int i = 0; i < Configuration::NombrePrix; ++i)
        if (c.TableDesPrix[i].enUsage() && c.TableDesPrix[i].code != "09001" && deplacement < 0) {
            deplacement = i;
            c.TableDesPrix[i].prix = "000000";  // a travel code: counted, priced 0.00
        }
    const QString codeDeplacement = c.TableDesPrix[deplacement].code;

    // No Sauvramq, no statistics file: an empty month, nothing created.
    statmensuelle::Mois m = statmensuelle::lire(d.chemin(), "311111", 2026, 11, c);
    EXPECT_TRUE(m.lignes.isEmpty());
    EXPECT_EQ(m.montant(), 0);
    EXPECT_FALSE(d.existe("Sauvramq"));
    EXPECT_EQ(statmensuelle::rangees(m, c).mid(0, 3),
              (QList<QStringList>{{"Nombre", "de factures", "0"}, {"Nombre", "d'actes", "0"}, {"Total", "Honoraire", ".00"}}));

    QByteArray tout = stat("20261103", {"09001", codeDeplacement}, {"002855", "004500"}) +
                      stat("20261131", {"09001"}, {"002855"}) +  // day 31 of November: still a day 1 to 31
                      stat("202611  ", {"09001"}, {"002855"}) + stat("20261100", {"09001"}, {"002855"}) +
                      stat("20261199", {"09001"}, {"002855"}) + stat("20261103", {"99999"}, {"001000"}) +
                      stat("20261104", {"09001"}, {"002855"}, "B") + stat("20261104", {"09001"}, {"002855"}, "", "322227") +
                      stat("20261204", {"09001"}, {"002855"});
    d.ecrire("Sauvramq/STA2026.Dat", tout + "court");
    QList<int> progression;
    m = statmensuelle::lire(d.chemin(), "311111", 2026, 11, c, [&](int p) { progression << p; });
    EXPECT_EQ(progression.last(), 100);
    EXPECT_EQ(m.lignes.size(), 7);
    EXPECT_EQ(m.ordinaires.factures, 6);
    EXPECT_EQ(m.ordinaires.actes, 6);  // the code outside the fee table is not counted
    EXPECT_EQ(m.ordinaires.total, 5 * 2855);
    EXPECT_EQ(m.refacturations.factures, 1);
    EXPECT_EQ(m.facturesParJour[3], 2);
    EXPECT_EQ(m.montantParJour[3], 2855);
    EXPECT_EQ(m.facturesParJour[31], 1);
    EXPECT_EQ(m.factures(), 3);  // "  ", "00" and "99" are no day
    EXPECT_EQ(m.montant(), 2 * 2855);
    EXPECT_TRUE(statmensuelle::rangees(m, c).contains(QStringList{codeDeplacement, "1", ".00"}));
}

// Lines removed from the sending log: the log before in LstEnvoie.Bak, the new one written under
// the log's lock, and only while it still holds what the list shows.
TEST(JournalEnvois, Retraits) {
    DossierTemporaire d;
    DialoguesScriptes dialogues;
    EXPECT_TRUE(journalenvois::lire(d.chemin()).isEmpty());
    EXPECT_FALSE(d.existe("Sauvramq/LstEnvoie.Dat"));
    QList<QByteArray> lignes;
    for (const char* r : {"R7123401", "R7123402", "R7123403"}) {
        QByteArray e = QByteArray(r) + "6034042" + "000012" + "  $ 123.45" + "2026120609:30:05    ";
        lignes << e.leftJustified(201, ' ');
    }
    const QByteArray avant = lignes[0] + lignes[1] + lignes[2];
    d.ecrire("Sauvramq/LstEnvoie.Dat", avant);
    ASSERT_EQ(journalenvois::lire(d.chemin()), lignes);
    EXPECT_EQ(journalenvois::colonnes(lignes[1]),
              (QStringList{"R7123402", "6034042", "000012", "$ 123.45", "2026/12/06", "09:30:05", "", "", ""}));

    const struct {
        const char* cas;
        Reponse reponse;
        QList<int> selection;
        journalenvois::Retrait attendu;
        QByteArray apres;
    } cas[] = {
        {"annulé", Reponse::Annuler, {1}, journalenvois::Retrait::Annule, avant},
        {"rien de choisi", Reponse::Ok, {}, journalenvois::Retrait::Fait, avant},
        {"la ligne du milieu", Reponse::Ok, {1}, journalenvois::Retrait::Fait, lignes[0] + lignes[2]},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        d.ecrire("Sauvramq/LstEnvoie.Dat", avant);
        dialogues.effacer();
        dialogues.reponses = {c.reponse};
        EXPECT_EQ(journalenvois::retirer(d.chemin(), lignes, c.selection, dialogues), c.attendu);
        EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat"), c.apres);
        EXPECT_EQ(dialogues.boites()[0].texte, "Veuillez confirmer le retrait du ou des fichiers sélectionnés ?");
        if (c.attendu == journalenvois::Retrait::Fait) {
            EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Bak"), avant);
        }
    }

    // Another workstation logged a sending since the list was read: nothing removed, told.
    d.ecrire("Sauvramq/LstEnvoie.Dat", avant + lignes[0]);
    dialogues.effacer();
    dialogues.reponses = {Reponse::Ok};
    EXPECT_EQ(journalenvois::retirer(d.chemin(), lignes, {0}, dialogues), journalenvois::Retrait::Change);
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat"), avant + lignes[0]);
    EXPECT_TRUE(dialogues.resume().last().contains("a changé depuis son affichage"));

    // The log held by another workstation: nothing written, the error told.
    d.ecrire("Sauvramq/LstEnvoie.Dat", avant);
    AutrePoste poste(d.fichier("Sauvramq/LstEnvoie.Dat"));
    ASSERT_TRUE(poste.verrouille());
    FichierEnregistrements::delaiVerrouMs = 100;
    dialogues.effacer();
    dialogues.reponses = {Reponse::Ok};
    EXPECT_EQ(journalenvois::retirer(d.chemin(), lignes, {0}, dialogues), journalenvois::Retrait::Echec);
    FichierEnregistrements::delaiVerrouMs = 5000;
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat"), avant);
    EXPECT_TRUE(dialogues.resume().last().contains("utilisé par un autre poste")) << qPrintable(dialogues.resume().last());
}

}  // namespace

namespace {

// The spreadsheet file, read back by Python's csv module as a spreadsheet reads it, and the same
// rows as a workbook read back by openpyxl: amounts of every form, dates of every layout, and
// dates never typed (blank, slashes, zeros) left empty.
TEST(Tableur, LuParLeModuleCsvEtParOpenpyxl) {
    using G = tableur::Colonne::Genre;
    const QList<tableur::Colonne> colonnes = {{"Nom", G::Texte}, {"Montant", G::Montant}, {"Prix", G::Cents},
                                              {"Date", G::Date}, {"Naissance", G::Date}, {"Fact.", G::Date}};
    const QList<QStringList> rangees = {
        {"Hélène « Lévis »; \"la grande\"", "$ 1,234.56", "002855", "2026/11/03", "19850228", "261103"},
        {"  TREMBLAY  ", ".00", "", "", "", ""},
        {"Total", "-12.30 $", "abc", "pas une date"},
        {"00000", "-.50", "000000", "0000/00/00", "    /  /  ", "000000"},
        {"", "", "", "2026/02/30", "00000000", "  "},
    };
    const QByteArray octets = tableur::csv(colonnes, rangees);
    EXPECT_TRUE(octets.startsWith("\xEF\xBB\xBFNom;Montant;Prix;Date;Naissance;Fact.\r\n"));
    DossierTemporaire d;
    d.ecrire("liste.csv", octets);
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c", "import csv,json,sys; print(json.dumps(list(csv.reader(open(sys.argv[1], encoding='utf-8-sig', "
                        "newline=''), delimiter=';')), ensure_ascii=False))",
                  d.fichier("liste.csv")});
    ASSERT_TRUE(python.waitForFinished(20000));
    const QJsonArray lu = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    const QList<QStringList> attendu = {
        {"Nom", "Montant", "Prix", "Date", "Naissance", "Fact."},
        {"Hélène « Lévis »; \"la grande\"", "1234,56", "28,55", "2026-11-03", "1985-02-28", "2026-11-03"},
        {"TREMBLAY", "0,00", "", "", "", ""},
        {"Total", "-12,30", "abc", "pas une date", "", ""},
        {"00000", "-0,50", "0,00", "", "", ""},
        {"", "", "", "2026-02-30", "", ""},
    };
    ASSERT_EQ(lu.size(), attendu.size()) << python.readAllStandardError().constData();
    for (int i = 0; i < attendu.size(); ++i) {
        QStringList ligne;
        for (const QJsonValue& v : lu[i].toArray())
            ligne << v.toString();
        EXPECT_EQ(ligne, attendu[i]) << i;
    }

    d.ecrire("liste.xlsx", tableur::xlsx(colonnes, rangees, "Liste: [2026/12]"));
    const Classeur classeur = lireClasseur(d.fichier("liste.xlsx"));
    EXPECT_EQ(classeur.feuille, "Liste   2026 12") << qPrintable(classeur.erreurs);
    EXPECT_EQ(classeur.entetes, attendu[0]);
    EXPECT_EQ(classeur.lignes,
              (QList<QStringList>{
                  {"texte Hélène « Lévis »; \"la grande\"", "montant 1234.56", "montant 28.55", "date 2026-11-03",
                   "date 1985-02-28", "date 2026-11-03"},
                  {"texte TREMBLAY", "montant 0.00", "vide", "vide", "vide", "vide"},
                  {"texte Total", "montant -12.30", "texte abc", "texte pas une date", "vide", "vide"},
                  {"texte 00000", "montant -0.50", "montant 0.00", "vide", "vide", "vide"},
                  {"vide", "vide", "vide", "texte 2026-02-30", "vide", "vide"},
              }));

    // Proposed under the list's name and the moment; written where the user chose, or nothing
    // when the choice is cancelled.
    DialoguesScriptes dialogues;
    Horloge::fixer(QDateTime(QDate(2026, 12, 8), QTime(14, 5, 30)));
    EXPECT_FALSE(tableur::exporter("Liste.csv", colonnes, rangees, dialogues));
    Horloge::liberer();
    ASSERT_EQ(dialogues.boites().size(), 1);
    EXPECT_EQ(dialogues.boites()[0].defaut, "Liste 2026-12-08 14h05.csv");
    dialogues.fichiers = {d.fichier("choisi.csv")};
    EXPECT_TRUE(tableur::exporter("Liste.csv", colonnes, rangees, dialogues));
    EXPECT_EQ(d.lire("choisi.csv"), octets);
    EXPECT_EQ(dialogues.resume().last(), "Exporter | La liste a été exportée dans le fichier " + d.fichier("choisi.csv") + ".");
    EXPECT_EQ(dialogues.boites()[1].types, tableur::typesDeFichier());

    // A name typed without an extension takes the type chosen and its extension; the save dialog
    // asked about the name typed, so a file of the completed name is replaced only when the user
    // says so (No by default). A name typed with the extension of a format is written in it,
    // whatever the type shown.
    dialogues.effacer();
    dialogues.fichiers = {d.fichier("choisi"), d.fichier("choisi"), d.fichier("essai.XLSX"), d.fichier("essai.csv")};
    dialogues.typesFichier = {1, 1, 0, 1};
    EXPECT_TRUE(tableur::exporter("Liste.csv", colonnes, rangees, dialogues));
    EXPECT_EQ(lireClasseur(d.fichier("choisi.xlsx")).lignes, classeur.lignes);
    d.ecrire("choisi.xlsx", "à garder");
    EXPECT_FALSE(tableur::exporter("Liste.csv", colonnes, rangees, dialogues));
    EXPECT_EQ(d.lire("choisi.xlsx"), "à garder");
    EXPECT_EQ(dialogues.resume().last(), "Exporter | Le fichier " + d.fichier("choisi.xlsx") +
                                             " existe déjà.\n\nVoulez-vous le remplacer ?");
    EXPECT_TRUE(tableur::exporter("Liste.csv", colonnes, rangees, dialogues));
    EXPECT_EQ(lireClasseur(d.fichier("essai.XLSX")).lignes, classeur.lignes);
    EXPECT_TRUE(tableur::exporter("Liste.csv", colonnes, rangees, dialogues));
    EXPECT_EQ(d.lire("essai.csv"), octets);
    EXPECT_EQ(QDir(d.chemin()).entryList({"essai*", "choisi*"}, QDir::Files),
              (QStringList{"choisi.csv", "choisi.xlsx", "essai.csv", "essai.XLSX"}));
    EXPECT_EQ(d.lire("choisi.csv"), octets);
}

}  // namespace

namespace {

// The trends of a year, month by month: what each optometrist billed is what the monthly
// statistics total for that month; what was refused and paid is what the follow-up totals over
// that month of the date of service. Rows of another year or without a date count nowhere.
TEST(Tendances, MoisParMoisCommeLesStatistiquesEtLeSuivi) {
    DossierTemporaire d;
    Configuration c = Configuration::parDefaut();
    c.Optometristes[0] = {"Premier", "311111", "00000"};
    c.Optometristes[1] = {"Second", "322227", "00000"};
    d.ecrire("Sauvramq/STA2026.Dat",
             stat("20260103", {"09001"}, {"002855"}) + stat("20260131", {"09001", "09008"}, {"002855", "001200"}) +
                 stat("20260115", {"09001"}, {"002855"}, "B") + stat("20260100", {"09001"}, {"002855"}) +
                 stat("20261130", {"09008"}, {"001200"}, "", "322227") + stat("20261201", {"99999"}, {"001000"}));
    const auto ligne = [](const char* date, suivi::Etat etat, qint64 facture, std::optional<qint64> paye = {}) {
        suivi::Ligne l;
        l.numero = 1;
        l.dateService = QDate::fromString(QString::fromLatin1(date), "yyyyMMdd");
        l.etat = etat;
        l.factureCents = facture;
        l.payeCents = paye;
        return l;
    };
    using E = suivi::Etat;
    const QList<suivi::Ligne> lignes = {
        ligne("20260110", E::Refusee, 2855), ligne("20260131", E::Refusee, 1200), ligne("20260112", E::Payee, 2855, 2500),
        ligne("20261130", E::Payee, 1200, 1200), ligne("20261201", E::Refacturee, 4000), ligne("20251231", E::Refusee, 999),
        ligne("", E::Refusee, 777), ligne("20260301", E::Acceptee, 2855)};
    const tendances::Annee a = tendances::lire(d.chemin(), 2026, c, lignes);
    ASSERT_EQ(a.optometristes, (QStringList{"Premier 311111", "Second 322227"}));
    for (int m = 1; m <= 12; ++m) {
        SCOPED_TRACE(m);
        for (int o = 0; o < 2; ++o)
            EXPECT_EQ(a.factures[o][m - 1],
                      statmensuelle::lire(d.chemin(), c.Optometristes[o].professionnel, 2026, m, c).montant());
        suivi::Filtre f;
        f.du = QDate(2026, m, 1);
        f.au = f.du.addMonths(1).addDays(-1);
        QList<suivi::Ligne> datees;
        for (const suivi::Ligne& l : lignes)
            if (l.dateService.isValid())
                datees << l;
        const suivi::Totaux t = suivi::totaliser(suivi::filtrer(datees, f));
        EXPECT_EQ(a.refusees[m - 1], t.refusees.cents);
        EXPECT_EQ(a.payees[m - 1], t.payees.cents);
    }
    EXPECT_EQ(tendances::entetes(a), (QStringList{"Mois", "Premier 311111", "Second 322227", "Refusé", "Payé"}));
    const QList<QStringList> r = tendances::rangees(a);
    ASSERT_EQ(r.size(), 13);
    EXPECT_EQ(r[0], (QStringList{"Janvier", "69.10", ".00", "40.55", "25.00"}));
    EXPECT_EQ(r[10], (QStringList{"Novembre", ".00", "12.00", ".00", "12.00"}));
    EXPECT_EQ(r[12], (QStringList{"Total", "69.10", "12.00", "40.55", "37.00"}));
    const graphiques::Graphique g = tendances::graphique(a);
    EXPECT_EQ(g.categories.size(), 12);
    EXPECT_EQ(g.categories[1], "Févr.");
    QStringList noms;
    for (const graphiques::Serie& s : g.series)
        noms << s.nom;
    EXPECT_EQ(noms, (QStringList{"Facturé 311111 : Premier", "Facturé 322227 : Second", "Refusé", "Payé"}));
    EXPECT_EQ(g.series[3].valeurs.value(0), 2500);
}

}  // namespace
