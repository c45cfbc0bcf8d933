#include "platform/horloge.h"
#include "records/facture.h"
#include "returns/suivi.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/retours.h"
#include "transmission/envoi.h"
#include "transmission/preparation.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>
#include <iostream>
#include <signal.h>

namespace {

constexpr int L = facture::Longueur;
const QByteArray Agence = "R7123407D71234070041ABCDEFGHIJKLMNO041";

// A clinic's Sauvramq built by the real preparation and sending log, with returns laid out as
// the agency writes them.
class Clinique {
public:
    explicit Clinique(QDate jourPreparation = QDate(2009, 2, 3)) : jour_(jourPreparation) {
        preparerDossier(d, Agence, {});
    }

    static QByteArray facture(const QString& nom, const QString& prenom, const QString& service,
                              const QString& professionnel = "311111", const QString& nam = "TREM80011514") {
        ValeursFacture v = factureDeBase();
        v.nom = nom;
        v.prenom = prenom;
        v.dateService = service;
        v.professionnel = professionnel;
        v.nam = nam;
        return facture::construire(v);
    }
    // Prepares `factures` (records as stored) and returns the payment-request file's name.
    QString preparer(const QList<QByteArray>& factures) {
        d.ecrire("Sauvramq/Ftmp.Fil", factures.isEmpty() ? QByteArray() : factures.join());
        originaux += factures;
        DialoguesScriptes muet;
        const auto v = preparation::valeursDepuis(preparation::lireAgence(d.chemin()), jour_);
        EXPECT_TRUE(preparation::Preparer(d.chemin(), v, muet).reussi) << muet.resume().join('\n').toStdString();
        return v.demandes;
    }
    void envoyer(const QString& demandes, const QDateTime& moment) const {
        const QByteArray reqt = d.lire("Sauvramq/R" + demandes.mid(1));
        const QByteArray avant = d.existe("Sauvramq/LstEnvoie.Dat") ? d.lire("Sauvramq/LstEnvoie.Dat") : QByteArray();
        d.ecrire("Sauvramq/LstEnvoie.Dat", avant + envoi::enregistrementJournal(envoi::lireRequete(reqt), moment));
    }
    QByteArray garde(const QString& demandes, int numero) const {
        return d.lire("Sauvramq/" + demandes).mid((numero - 1) * L, L);
    }

    DossierTemporaire d;
    QList<QByteArray> originaux;  // the records as stored in Ftmp.Fil before their preparation

private:
    QDate jour_;
};

// The returns of the clinic of the table: a billing with a refusal, a payment, a disagreement
// and an acceptance; one refused whole (scope "3"), one refused from a request on (scope "2"),
// one unanswered, one sent lately, one never sent; a return line, a whole-batch refusal and a
// statement line that name no kept invoice, and a mark of a re-billing.
class Suivi : public ::testing::Test {
protected:
    const QDate Jour{2009, 2, 20};
    void SetUp() override {
        using C = Clinique;
        a = c.preparer({C::facture("COTE", "MARIE", "20090115"), C::facture("GAGNON", "LUC", "20090115", "311111", "GAGL70010112"),
                        C::facture("ROY", "ANNE", "20090115"), C::facture("LAVOIE", "PAUL", "20090115"),
                        C::facture("BOUCHARD", "EVE", "20090115")});
        b = c.preparer({C::facture("PAGE", "ROSE", "20090116"), C::facture("PAGE", "LEO", "20090116")});
        cc = c.preparer({C::facture("NADEAU", "ALAIN", "20090125", "322227"), C::facture("NADEAU", "JULIE", "20090125", "322227"),
                         C::facture("NADEAU", "ZOE", "20090125", "322227")});
        dd = c.preparer({C::facture("GIROUX", "MARC", "20090117")});
        e = c.preparer({C::facture("FORTIN", "LISE", "20090118")});
        f = c.preparer({C::facture("BEDARD", "LOUIS", "20080901")});
        const QDateTime envoi(QDate(2009, 2, 3), QTime(10, 0));
        for (const QString& billing : {a, b, cc, dd})
            c.envoyer(billing, envoi);
        c.envoyer(e, QDateTime(QDate(2009, 2, 18), QTime(10, 0)));

        using namespace retour;
        c.d.ecrire("Sauvramq/ER9034042.rmq",
                   fichier({entete("9034042", "045"), erreur("9034042", "311111", "0042", "000001", "NAM INVALIDE", "123"),
                            erreur("9034042", "311111", "0045", "000003", "DATE DE SERVICE", "201"),
                            totaux(2, 5, 2, 3, 0, 12165)}));
        c.d.ecrire("Sauvramq/ER9034043.rmq",
                   fichier({entete("9034043", "045"), explication("01", "LOT REJETE", "405", "3"), totaux(1, 2, 0, 2, 0, 0)}));
        c.d.ecrire("Sauvramq/ER9034044.rmq",
                   fichier({entete("9034044", "046"), erreur("9034044", "322227", "0050", "000002", "ACTE NON COUVERT", "310"),
                            explication("02", "REJET DES DEMANDES SUIVANTES", "520", "2"), totaux(1, 3, 1, 2, 0, 4055)}));
        c.d.ecrire("Sauvramq/ER9999999.rmq",
                   fichier({entete("9999999", "046"), erreur("9999999", "311111", "0001", "000001", "INCONNUE", "999"),
                            explication("01", "LOT REJETE", "405", "3")}));
        c.d.ecrire("Sauvramq/EC0001.rmq",
                   fichier({"", etat00("71234", "01", "090219", "090215"), detail("001", "00043", "0901", "085", 2855, "9034042"),
                            detail("002", "00043", "0908", "000", 1000, "9034042"),
                            detail("003", "00077", "0901", "000", 500, "9034042"), etat("15", {}), " 18"}));
        c.d.ecrire("MessagesExplicatifs.txt", "\"085\",\"MONTANT REDUIT SELON L'ENTENTE\"\r\n\"101\",\"AUTRE\"\r\n");
        c.d.ecrire("Sauvramq/Suivi.Dat", "9034043 0047 20090219 00001\r\n");
    }
    void TearDown() override { Horloge::liberer(); }

    const suivi::Ligne& ligne(const QList<suivi::Ligne>& l, const QString& nce) {
        for (const suivi::Ligne& x : l)
            if (x.nce == nce)
                return x;
        ADD_FAILURE() << "no row of NCE " << nce.toStdString();
        return l.first();
    }

    Clinique c;
    QString a, b, cc, dd, e, f;
};

TEST_F(Suivi, EtatsDesFacturesDApresLesFichiers) {
    EXPECT_EQ(QStringList({a, b, cc, dd, e, f}),
              QStringList({"D7123407", "D7123408", "D7123409", "D7123410", "D7123411", "D7123412"}));
    const QString ecart =
        "Le rang 3 et la NCE 0045 de la ligne d'erreur ne désignent pas la même facture : DATE DE SERVICE";
    const struct {
        const char* facturation;
        int numero;
        const char* attestation;
        const char* nce;
        const char* etat;
        const char* paye;
        const char* code;
        QString message;
    } attendues[] = {
        {"D7123407", 1, "9034042", "0042", "Refusée", "", "123", "NAM INVALIDE"},
        {"D7123407", 2, "9034042", "0043", "Payée", "38.55", "085", "MONTANT REDUIT SELON L'ENTENTE"},
        {"D7123407", 3, "9034042", "0044", "À vérifier", "", "201", ecart},
        {"D7123407", 4, "9034042", "0045", "À vérifier", "", "201", ecart},
        {"D7123407", 5, "9034042", "0046", "Acceptée", "", "", ""},
        {"D7123408", 1, "9034043", "0047", "Refacturée", "", "405", "Refacturée le 2009-02-19 : LOT REJETE"},
        {"D7123408", 2, "9034043", "0048", "Refusée", "", "405", "LOT REJETE"},
        {"D7123409", 1, "9034044", "0049", "Acceptée", "", "", ""},
        {"D7123409", 2, "9034044", "0050", "Refusée", "", "310", "ACTE NON COUVERT"},
        {"D7123409", 3, "9034044", "0051", "Refusée", "", "520", "REJET DES DEMANDES SUIVANTES"},
        {"D7123410", 1, "9034045", "0052", "Sans réponse", "", "", ""},
        {"D7123411", 1, "9034046", "0053", "Envoyée", "", "", ""},
        {"D7123412", 1, "9034047", "0054", "Préparée", "", "", ""},
        {"", 0, "9999999", "0001", "À vérifier", "", "999", "INCONNUE"},
        {"", 0, "9999999", "", "À vérifier", "", "405", "LOT REJETE"},
        {"D7123407", 0, "9034042", "0077", "À vérifier", "5.00", "", ""},
    };
    const QList<suivi::Ligne> lignes = suivi::lire(c.d.chemin(), Jour);
    ASSERT_EQ(lignes.size(), std::size(attendues));
    for (int i = 0; i < lignes.size(); ++i) {
        const auto& x = attendues[i];
        const QStringList cellules = lignes[i].cellules();
        SCOPED_TRACE(x.nce);
        EXPECT_EQ(lignes[i].numero, x.numero);
        EXPECT_EQ(QStringList({cellules[0], cellules[1], cellules[2], cellules[10], cellules[11], cellules[12], cellules[13]}),
                  QStringList({x.facturation, x.attestation, x.nce, x.etat, x.paye, x.code, x.message}));
    }
    EXPECT_EQ(lignes[0].cellules(), QStringList({"D7123407", "9034042", "0042", "TREM80011514", "COTE", "MARIE", "2009-01-15",
                                                 "311111", "09001 09008", "40.55", "Refusée", "", "123", "NAM INVALIDE"}));
    EXPECT_EQ(lignes[13].cellules()[9], "");  // a return line alone bills nothing
    // Seven days after the sending the billing still waits; the eighth it is unanswered.
    EXPECT_EQ(ligne(suivi::lire(c.d.chemin(), QDate(2009, 2, 10)), "0052").etat, suivi::Etat::Envoyee);
    EXPECT_EQ(ligne(suivi::lire(c.d.chemin(), QDate(2009, 2, 11)), "0052").etat, suivi::Etat::SansReponse);
}

TEST_F(Suivi, FiltresEtTotaux) {
    const QList<suivi::Ligne> lignes = suivi::lire(c.d.chemin(), Jour);
    const auto filtre = [](auto regler) {
        suivi::Filtre f;
        regler(f);
        return f;
    };
    const struct {
        const char* cas;
        suivi::Filtre filtre;
        QStringList nces;
    } cas[] = {
        {"par défaut : 120 jours", suivi::filtreParDefaut(Jour),
         {"0042", "0043", "0044", "0045", "0046", "0047", "0048", "0049", "0050", "0051", "0052", "0053", "0001", "", "0077"}},
        {"professionnel", filtre([](auto& f) { f.professionnel = "322227"; }), {"0049", "0050", "0051"}},
        {"état", filtre([](auto& f) { f.etat = suivi::Etat::Refusee; }), {"0042", "0048", "0050", "0051"}},
        {"nom", filtre([](auto& f) { f.recherche = " gagnon "; }), {"0043"}},
        {"prénom et nom", filtre([](auto& f) { f.recherche = "marie cote"; }), {"0042"}},
        {"NAM", filtre([](auto& f) { f.recherche = "GAGL7"; }), {"0043"}},
        {"période", filtre([](auto& f) { f.du = QDate(2009, 1, 20), f.au = QDate(2009, 1, 31); }),
         {"0049", "0050", "0051", "0001", "", "0077"}},
    };
    for (const auto& x : cas) {
        QStringList nces;
        for (const suivi::Ligne& l : suivi::filtrer(lignes, x.filtre))
            nces << l.nce;
        EXPECT_EQ(nces, x.nces) << x.cas;
    }
    EXPECT_EQ(suivi::texteTotaux(suivi::totaliser(lignes)),
              QStringList({"Facturées : 13 factures, $ 527.15", "Acceptées : 2 factures, $ 81.10",
                           "Refusées : 4 factures, $ 162.20", "Payées : 1 facture, $ 38.55 payés",
                           "En attente : 4 factures, $ 162.20 (envoyées, ni refusées ni payées)"}));
    EXPECT_EQ(suivi::texteTotaux(suivi::totaliser(suivi::filtrer(lignes, cas[1].filtre))),
              QStringList({"Facturées : 3 factures, $ 121.65", "Acceptées : 1 facture, $ 40.55",
                           "Refusées : 2 factures, $ 81.10", "Payées : 0 facture, $ .00 payés",
                           "En attente : 1 facture, $ 40.55 (envoyées, ni refusées ni payées)"}));
}

// The invoice goes back in memory as it was stored before its preparation, once, with one mark.
TEST_F(Suivi, RefacturerEcritUnEnregistrementEtUneMarque) {
    const QString marqueB1 = "9034043 0047 20090219 00001\r\n";
    DialoguesScriptes d;
    auto refacturer = [&](const QString& nce) { return suivi::Refacturer(c.d.chemin(), ligne(suivi::lire(c.d.chemin(), Jour), nce), Jour, d); };

    // Accepted: refused, nothing written.
    EXPECT_EQ(refacturer("0046").issue, suivi::Issue::Refusee);
    EXPECT_EQ(d.resume(), QStringList{"Refacturer | Seule une facture refusée peut être refacturée."});
    EXPECT_EQ(c.d.lire("Sauvramq/Ftmp.Fil"), QByteArray());

    d.effacer();
    const suivi::Refacturation r = refacturer("0048");
    EXPECT_EQ(r.issue, suivi::Issue::Faite);
    EXPECT_EQ(r.fiche, 1);
    EXPECT_EQ(c.d.lire("Sauvramq/Ftmp.Fil"), c.originaux[6]);
    EXPECT_EQ(c.d.lire("Sauvramq/Suivi.Dat"), marqueB1 + "9034043 0048 20090220 00001\r\n");
    EXPECT_EQ(d.resume(), QStringList{"Refacturer | La facture NCE 0048 de LEO PAGE est remise en mémoire (fiche 1). "
                                      "Corrigez ce que la RAMQ a refusé avant la prochaine préparation."});
    EXPECT_EQ(ligne(suivi::lire(c.d.chemin(), Jour), "0048").etat, suivi::Etat::Refacturee);

    // Billed again already: asked, Cancel the default.
    d.effacer();
    EXPECT_EQ(refacturer("0048").issue, suivi::Issue::Annulee);
    ASSERT_EQ(d.boites().size(), 1);
    EXPECT_EQ(d.boites()[0].boutons, Boutons::OkAnnuler);
    EXPECT_EQ(d.resume(), QStringList{"Refacturer | La facture NCE 0048 de LEO PAGE a déjà été refacturée le 2009-02-20."
                                      "\n\nDésirez-vous la refacturer une deuxième fois ?"});
    EXPECT_EQ(c.d.lire("Sauvramq/Ftmp.Fil"), c.originaux[6]);
    d.reponses.push_back(Reponse::Ok);
    EXPECT_EQ(refacturer("0048").fiche, 2);
    EXPECT_EQ(c.d.lire("Sauvramq/Ftmp.Fil"), c.originaux[6] + c.originaux[6]);
    EXPECT_EQ(c.d.lire("Sauvramq/Suivi.Dat"),
              marqueB1 + "9034043 0048 20090220 00001\r\n9034043 0048 20090220 00002\r\n");

    // A copy left without its mark (a re-billing killed between its two writes): marked by the
    // repair, or by the next re-billing, never appended a second time.
    c.d.ecrire("Sauvramq/Ftmp.Fil", c.d.lire("Sauvramq/Ftmp.Fil") + c.originaux[8] + c.originaux[9]);
    const QByteArray memoire = c.d.lire("Sauvramq/Ftmp.Fil");
    EXPECT_EQ(suivi::reparer(c.d.chemin(), Jour), 2);
    EXPECT_EQ(suivi::reparer(c.d.chemin(), Jour), 0);
    EXPECT_TRUE(c.d.lire("Sauvramq/Suivi.Dat").endsWith("9034044 0051 20090220 00004\r\n9034044 0050 20090220 00003\r\n"));
    c.d.ecrire("Sauvramq/Ftmp.Fil", memoire + c.originaux[0]);
    d.effacer();
    EXPECT_EQ(refacturer("0042").issue, suivi::Issue::Retablie);
    EXPECT_EQ(c.d.lire("Sauvramq/Ftmp.Fil"), memoire + c.originaux[0]);
    EXPECT_TRUE(c.d.lire("Sauvramq/Suivi.Dat").endsWith("9034042 0042 20090220 00005\r\n"));
    EXPECT_EQ(d.resume(), QStringList{"Refacturer | La facture NCE 0042 de MARIE COTE était déjà remise en mémoire (fiche 5) "
                                      "par une refacturation interrompue; elle est maintenant marquée refacturée."});

    // The kept file changed since the row was read: nothing written.
    suivi::Ligne perimee = ligne(suivi::lire(c.d.chemin(), Jour), "0051");
    perimee.etat = suivi::Etat::Refusee;
    perimee.nce = "0099";
    d.effacer();
    EXPECT_EQ(suivi::Refacturer(c.d.chemin(), perimee, Jour, d).issue, suivi::Issue::Refusee);
    EXPECT_EQ(d.resume(), QStringList{"Refacturer | La facture numéro 3 du fichier D7123409 n'est plus celle qui est "
                                      "affichée. Rien n'a été remis en mémoire; la liste est affichée de nouveau."});
    EXPECT_EQ(c.d.lire("Sauvramq/Ftmp.Fil"), memoire + c.originaux[0]);
}

// Re-billings killed at random moments: never two records of one invoice, never a mark without
// its record; after the repair every record has its mark, and a last run bills each invoice once.
TEST(SuiviTue, RefacturerTueNImporteQuand) {
    Clinique c;
    QList<QByteArray> factures;
    for (int i = 0; i < 40; ++i)
        factures << Clinique::facture("NOM" + QString(QChar('A' + i % 26)) + QString(QChar('A' + i / 26)), "PRENOM", "20090115");
    c.preparer(factures);
    c.d.ecrire("Sauvramq/ER9034042.rmq",
               retour::fichier({retour::entete("9034042", "045"), retour::explication("01", "LOT REJETE", "405", "3")}));
    const auto verifier = [&](bool repare) {
        const QByteArray memoire = c.d.lire("Sauvramq/Ftmp.Fil");
        const QList<suivi::Marque> marques = suivi::marques(c.d.chemin());
        for (int i = 0; i < factures.size(); ++i) {
            const QString nce = QString::number(42 + i).rightJustified(4, '0');
            int copies = 0, marquees = 0;
            for (qsizetype p = 0; p < memoire.size(); p += L)
                copies += memoire.mid(p, L) == factures[i];
            for (const suivi::Marque& m : marques)
                if (m.nce == nce) {
                    ++marquees;
                    EXPECT_EQ(memoire.mid((m.fiche - 1) * L, L), factures[i]) << "a mark without its record: " << nce.toStdString();
                }
            EXPECT_LE(copies, 1) << nce.toStdString();
            EXPECT_LE(marquees, 1) << nce.toStdString();
            if (repare) {
                EXPECT_EQ(marquees, copies) << nce.toStdString();
            }
        }
    };
    const auto lancer = [&](QProcess& p) {
        p.start(AUTRE_POSTE, {"refacturer", c.d.chemin()});
        return p.waitForStarted(5000);
    };
    qint64 duree = 0;
    {   // How long billing every invoice again takes here, start of the process included.
        QElapsedTimer chrono;
        chrono.start();
        QProcess p;
        ASSERT_TRUE(lancer(p));
        ASSERT_TRUE(p.waitForFinished(30000));
        duree = chrono.nsecsElapsed() / 1000;
        ASSERT_EQ(suivi::marques(c.d.chemin()).size(), factures.size());
    }
    QRandomGenerator hasard(20090220);
    QElapsedTimer limite;
    limite.start();
    int tuees = 0, enCours = 0;
    for (int tour = 0; tour < 80 && limite.elapsed() < 30000; ++tour) {
        c.d.ecrire("Sauvramq/Ftmp.Fil", {});
        c.d.ecrire("Sauvramq/Suivi.Dat", {});
        QProcess p;
        ASSERT_TRUE(lancer(p));
        QThread::usleep(hasard.bounded(duree + 1));
        if (p.state() != QProcess::NotRunning) {
            ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
            ++tuees;
        }
        p.waitForFinished(10000);
        SCOPED_TRACE(tour);
        verifier(false);
        const qsizetype faites = c.d.lire("Sauvramq/Ftmp.Fil").size() / L;
        enCours += faites > 0 && faites < factures.size();
        suivi::reparer(c.d.chemin(), QDate(2009, 2, 20));
        verifier(true);
        // The next run bills the rest, each invoice once.
        QProcess suite;
        ASSERT_TRUE(lancer(suite));
        ASSERT_TRUE(suite.waitForFinished(30000));
        verifier(true);
        EXPECT_EQ(c.d.lire("Sauvramq/Ftmp.Fil").size(), factures.size() * L);
        if (::testing::Test::HasFailure())
            break;
    }
    EXPECT_GE(tuees, 20);
    EXPECT_GE(enCours, 10) << "too few kills landed while invoices were being billed";
    std::cout << tuees << " refacturations tuées, " << enCours << " au milieu\n";
}

// The command line on a clinic of today: the export read back by Python's csv module, the
// follow-up's totals and its work, and its status when there is none.
TEST(SuiviCommandes, ExportationEtSuivi) {
    const QDate aujourdhui = QDate::currentDate();
    Clinique c(aujourdhui);
    const QString service = aujourdhui.addDays(-5).toString("yyyyMMdd");
    const QString g = c.preparer({Clinique::facture("COTE", "MARIE", service), Clinique::facture("ROY", "ANNE", service)});
    const QString h = c.preparer({Clinique::facture("PAGE", "LEO", service)});
    const QString ag = c.garde(g, 1).mid(10, 7), ah = c.garde(h, 1).mid(10, 7);
    c.envoyer(g, QDateTime::currentDateTime().addDays(-10));
    c.envoyer(h, QDateTime::currentDateTime().addDays(-1));
    c.d.ecrire("Sauvramq/ER" + ah + ".rmq",
               retour::fichier({retour::entete(ah, "001"), retour::erreur(ah, "311111", "0044", "000001", "NAM INVALIDE", "123")}));
    QTemporaryDir reglages;
    const auto lancer = [&](const QStringList& arguments) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", reglages.path());
        p.setProcessEnvironment(env);
        p.start(KESTROVA, QStringList{"--dossier", c.d.chemin()} + arguments);
        p.waitForFinished(30000);
        return std::pair{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput())};
    };

    const QString date = aujourdhui.addDays(-5).toString("yyyy-MM-dd");
    const auto [statut, texte] = lancer({"suivi"});
    EXPECT_EQ(statut, 0);
    EXPECT_EQ(texte.split('\n', Qt::SkipEmptyParts),
              QStringList({"Facturées : 3 factures, $ 121.65", "Acceptées : 0 facture, $ .00", "Refusées : 1 facture, $ 40.55",
                           "Payées : 0 facture, $ .00 payés", "En attente : 2 factures, $ 81.10 (envoyées, ni refusées ni payées)",
                           "Sans réponse  D7123407  " + ag + "  0042  TREM80011514  COTE MARIE  " + date + "  40.55",
                           "Sans réponse  D7123407  " + ag + "  0043  TREM80011514  ROY ANNE  " + date + "  40.55",
                           "Refusée  D7123408  " + ah + "  0044  TREM80011514  PAGE LEO  " + date + "  40.55  123  NAM INVALIDE"}));
    // Outside the period: nothing to do.
    EXPECT_EQ(lancer({"suivi", "--au", aujourdhui.addDays(-6).toString("yyyy-MM-dd")}).first, 3);
    // Refused: a date that is none, and a period that ends before it starts (a --du after today too).
    for (const QStringList& mauvaise :
         {QStringList{"suivi", "--du", "demain"}, QStringList{"suivi", "--du", aujourdhui.addDays(1).toString("yyyy-MM-dd")},
          QStringList{"suivi", "--du", date, "--au", aujourdhui.addDays(-6).toString("yyyy-MM-dd")},
          QStringList{"exporter", "suivi", "--format", "csv", "--du", date, "--au", aujourdhui.addDays(-6).toString("yyyy-MM-dd")}})
        EXPECT_EQ(lancer(mauvaise).first, 2) << qPrintable(mauvaise.join(' '));

    ASSERT_EQ(lancer({"exporter", "suivi", "--format", "csv", "--du", date, "--sortie", c.d.fichier("suivi.csv")}).first, 0);
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c", "import csv,json,sys; print(json.dumps(list(csv.reader(open(sys.argv[1], encoding='utf-8-sig', "
                        "newline=''), delimiter=';')), ensure_ascii=False))",
                  c.d.fichier("suivi.csv")});
    ASSERT_TRUE(python.waitForFinished(20000));
    const QJsonArray lu = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    const QList<QStringList> attendu = {
        {"Facturation", "Attestation", "NCE", "Ass. maladie", "Nom", "Prénom", "Date du service", "Professionnel", "Actes",
         "Montant facturé", "État", "Montant payé", "Code", "Message"},
        {"D7123407", ag, "0042", "TREM80011514", "COTE", "MARIE", date, "311111", "09001 09008", "40,55", "Sans réponse", "", "", ""},
        {"D7123407", ag, "0043", "TREM80011514", "ROY", "ANNE", date, "311111", "09001 09008", "40,55", "Sans réponse", "", "", ""},
        {"D7123408", ah, "0044", "TREM80011514", "PAGE", "LEO", date, "311111", "09001 09008", "40,55", "Refusée", "", "123",
         "NAM INVALIDE"},
    };
    ASSERT_EQ(lu.size(), attendu.size());
    for (int i = 0; i < attendu.size(); ++i) {
        QStringList ligne;
        for (const QJsonValue& v : lu[i].toArray())
            ligne << v.toString();
        EXPECT_EQ(ligne, attendu[i]) << i;
    }
    EXPECT_EQ(lancer({"exporter", "suivi", "--format", "csv", "--du", aujourdhui.toString("yyyy-MM-dd")}).second,
              "\xEF\xBB\xBF" + attendu[0].join(';') + "\r\n");
}

}  // namespace
