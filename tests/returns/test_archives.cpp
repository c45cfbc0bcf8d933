#include "platform/fichierbrut.h"
#include "platform/horloge.h"
#include "records/fichierenregistrements.h"
#include "records/fichierfactures.h"
#include "returns/archives.h"
#include "returns/historique.h"
#include "returns/precedentes.h"
#include "support/autreposte.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/petitdisque.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <future>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QString Refus =
    "Remettre en traitement | Le fichier ne peut pas être remis en traitement parce qu'il existe "
    "déjà des factures en mémoire.\n\nVous devez transmettre à la Régie les factures en mémoire."
    "\n\n Par la suite cette fonction sera disponible.";

QByteArray facture(const QString& prenom, const QString& date = "20261201", const QByteArray& etat = "05") {
    ValeursFacture v = factureDeBase();
    v.prenom = prenom;
    v.dateService = date;
    return enregistrementDe(v, etat);
}

QByteArray cadre(const char* texte, int largeur) { return QByteArray(texte).leftJustified(largeur, ' '); }

QByteArray joindre(const QList<QByteArray>& enregistrements) {
    QByteArray tout;
    for (const QByteArray& e : enregistrements)
        tout += e;
    return tout;
}

// The kept files are found by the names the preparation gives them, whatever the agency.
TEST(Archives, FichiersConservesEtResumes) {
    DossierTemporaire d;
    const QByteArray fin(1, 26);
    d.ecrire("Sauvramq/D7123407", joindre({facture("A", "20261203"), facture("B", "20261129")}) + fin);
    d.ecrire("Sauvramq/d1234501", joindre({facture("C", "20250101"), facture("X", "20240101", "99")}) + fin);
    d.ecrire("Sauvramq/D7123408", facture("Y", "20261201", "99") + fin);
    for (const char* autre : {"D712340", "D71234070", "D7123407.bak", "R7123407", "DA123407"})
        d.ecrire(QStringLiteral("Sauvramq/") + autre, facture("Z"));
    EXPECT_EQ(archives::fichiersConserves(d.chemin()), (QStringList{"D7123407", "D7123408", "d1234501"}));

    const struct {
        const char* nom;
        QString periode;
        int nombre;
    } attendus[] = {
        {"D7123407", "Du 26/11/29 au 26/12/03", 2},
        {"d1234501", "Du 25/01/01 au 25/01/01", 1},  // the cancelled record counts for nothing
        {"D7123408", "", 0},
    };
    for (const auto& a : attendus) {
        const archives::Conserve c = archives::resumer(d.chemin(), a.nom);
        EXPECT_EQ(c.periode, a.periode) << a.nom;
        EXPECT_EQ(c.nombre, a.nombre) << a.nom;
    }

    // The invoices of a file: state "05" only, each with its number in its file.
    d.ecrire("Sauvramq/Ftmp.Fil", joindre({facture("A", "20261201", "99"), facture("B")}));
    const archives::Factures m = archives::enMemoire(d.chemin());
    EXPECT_EQ(m.numeros, QList<int>{2});
    const QStringList cellules = archives::rangee(m.enregistrements[0], m.numeros[0]);
    ASSERT_EQ(cellules.size(), archives::entetes().size());
    EXPECT_EQ(cellules.mid(0, 4), (QStringList{"002", "TREM80011514", cadre("TREMBLAY", 30), cadre("B", 20)}));
    EXPECT_EQ(cellules[archives::entetes().indexOf("Date fact.")], "261201");
    EXPECT_EQ(cellules[archives::entetes().indexOf("Prix #2")], "001200");
    EXPECT_EQ(cellules.mid(archives::entetes().indexOf("Agence")), (QStringList{"71234", "AJJJSSS", "0000"}));

    // The search: every invoice of one NAM across the files, nothing of another.
    const archives::Factures r =
        archives::rechercher(d.chemin(), archives::fichiersConserves(d.chemin()), "TREM80011514");
    EXPECT_EQ(r.numeros, (QList<int>{1, 2, 1}));
    EXPECT_TRUE(archives::rechercher(d.chemin(), {"D7123407"}, "TREM80011515").enregistrements.isEmpty());
}

class RemiseEnMemoire : public ::testing::Test {
protected:
    void SetUp() override {
        kept = joindre({facture("A"), facture("B"), facture("C")});
        d.ecrire("Sauvramq/D7123407", kept + QByteArray(1, 26));
        d.ecrire("Sauvramq/Ftmp.Fil", {});
    }
    DossierTemporaire d;
    DialoguesScriptes dialogues;
    QByteArray kept;
};

TEST_F(RemiseEnMemoire, CopieLesEnregistrementsOuRefuse) {
    ASSERT_TRUE(archives::remettre(d.chemin(), "D7123407", dialogues));
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), kept);  // whole records, not the end byte
    EXPECT_EQ(dialogues.resume(), QStringList{"Traitement de fichier | Le fichier D7123407 a été remis pour traitement."});
    EXPECT_EQ(d.lire("Sauvramq/D7123407").size(), kept.size() + 1);

    dialogues.effacer();
    d.ecrire("Sauvramq/Ftmp.Fil", facture("M"));
    EXPECT_FALSE(archives::remettre(d.chemin(), "D7123407", dialogues));
    EXPECT_EQ(dialogues.resume(), QStringList{Refus});
    EXPECT_EQ(dialogues.boites()[0].icone, Icone::Exclamation);
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), facture("M"));

    // A damaged kept file is not put in memory, where it would block every preparation.
    dialogues.effacer();
    d.ecrire("Sauvramq/Ftmp.Fil", {});
    d.ecrire("Sauvramq/D7123408", facture("A") + facture("B").replace(720, 1, "X"));
    EXPECT_FALSE(archives::remettre(d.chemin(), "D7123408", dialogues));
    EXPECT_TRUE(dialogues.resume()[0].contains("endommagé à l'enregistrement numéro 2"));
    EXPECT_TRUE(d.lire("Sauvramq/Ftmp.Fil").isEmpty());
}

// Another workstation storing invoices while the file is put back: whichever takes Ftmp.Fil's
// lock first, every invoice it was told is stored is in Ftmp.Fil exactly once.
TEST_F(RemiseEnMemoire, UnAutrePosteAjouteAuMemeMoment) {
    int remises = 0;
    for (int tour = 0; tour < 6; ++tour) {
        d.ecrire("Sauvramq/Ftmp.Fil", {});
        auto verrou = fichierfactures::fichier(d.chemin()).verrouiller(1000);
        QProcess poste;
        poste.start(AUTRE_POSTE, {"factures", d.chemin(), "20"});
        ASSERT_TRUE(poste.waitForStarted());
        DialoguesScriptes port;
        auto remise = std::async(std::launch::async, [&] { return archives::remettre(d.chemin(), "D7123407", port); });
        QThread::msleep(50 + 20 * tour);
        verrou.reset();
        const bool remis = remise.get();
        ASSERT_TRUE(poste.waitForFinished(20000));
        const QStringList stockees = QString::fromLatin1(poste.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(stockees.size(), 20);
        const QByteArray ftmp = d.lire("Sauvramq/Ftmp.Fil");
        ASSERT_EQ(ftmp.size(), (20 + (remis ? 3 : 0)) * 723) << "tour " << tour;
        for (const QString& s : stockees)
            EXPECT_EQ(ftmp.count(s.toLatin1()), 1) << qPrintable(s);
        if (remis) {
            EXPECT_TRUE(ftmp.startsWith(kept));
        }
        remises += remis;
    }
    std::printf("remises avant l'autre poste: %d sur 6\n", remises);
}

// A full disk: Ftmp.Fil stays as it was and no success is announced.
TEST(RemiseEnMemoireDisquePlein, FtmpIntact) {
    PetitDisque disque(256 * 1024);
    KESTROVA_EXIGER_PETIT_DISQUE(disque);
    QDir().mkpath(disque.fichier("Sauvramq"));
    QList<QByteArray> beaucoup;
    for (int i = 0; i < 150; ++i)
        beaucoup << facture(QString::number(i));
    QFile f(disque.fichier("Sauvramq/D7123407"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(joindre(beaucoup));
    f.close();
    QFile(disque.fichier("Sauvramq/Ftmp.Fil")).open(QIODevice::WriteOnly);
    disque.laisserLibre(16 * 1024);
    DialoguesScriptes dialogues;
    EXPECT_FALSE(archives::remettre(disque.chemin(), "D7123407", dialogues));
    ASSERT_EQ(dialogues.resume().size(), 1);
    EXPECT_TRUE(dialogues.resume()[0].startsWith("Remettre en traitement | Erreur 61  Disque plein"));
    EXPECT_EQ(QFileInfo(disque.fichier("Sauvramq/Ftmp.Fil")).size(), 0);
    EXPECT_EQ(QDir(disque.fichier("Sauvramq")).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

class Historique : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* p : {"UN", "DEUX", "TROIS", "QUATRE", "CINQ"})
            cinq << facture(p);
        d.ecrire("Sauvramq/Ftmp.Fil", joindre(cinq));
    }
    historique::Resultat corriger(int numero, const QByteArray& affiche, const historique::Textes& t) {
        return historique::corriger(d.chemin(), numero, affiche, t, Configuration::parDefaut(), QDate(2026, 12, 3),
                                    dialogues);
    }
    DossierTemporaire d;
    DialoguesScriptes dialogues;
    QList<QByteArray> cinq;
};

TEST_F(Historique, CorrectionEtAnnulationNeChangentQueLeurChamps) {
    EXPECT_EQ(historique::textes(cinq[1]).value(9), "DEUX");
    EXPECT_EQ(historique::textes(cinq[1]).value(historique::BoiteTotal), "004055");
    // Every box written back unchanged gives the same record.
    const ValeursFacture telle = historique::valeurs(cinq[1], historique::textes(cinq[1]));
    EXPECT_EQ(facture::corriger(cinq[1], telle), cinq[1]);
    EXPECT_EQ(telle.dateService, "20261201");

    historique::Textes t = historique::textes(cinq[1]);
    t[9] = "DEUXIEME";
    t[12] = "528";
    t[34] = "001500";
    EXPECT_EQ(historique::total(t), "004355");
    EXPECT_EQ(corriger(2, cinq[1], t).issue, historique::Issue::Ecrite);
    QList<QByteArray> attendu = cinq;
    attendu[1].replace(34, 20, cadre("DEUXIEME", 20));
    attendu[1].replace(86, 4, "0528");
    attendu[1].replace(257 + 10, 6, "001500");
    attendu[1].replace(305, 6, "004355");
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), joindre(attendu));

    // Cancellation asks first, Cancel the default; then only the state and the five fields change.
    EXPECT_EQ(historique::annuler(d.chemin(), 3, cinq[2], dialogues), historique::Issue::Refusee);
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), joindre(attendu));
    ASSERT_EQ(dialogues.boites().last().boutons, Boutons::OkAnnuler);
    EXPECT_EQ(dialogues.resume().last(), QString(QStringLiteral("Annulation | Voulez-vous vraiment annuler la facture numéro %1 ?\n\nLe numéro d'assurance maladie, le prénom, le nom, l'adresse et la ville y seront remplacés par ANNULEE : une facture annulée ne peut pas être rétablie.")).arg(3));
    dialogues.effacer();
    dialogues.reponses = {Reponse::Ok};
    EXPECT_EQ(historique::annuler(d.chemin(), 3, cinq[2], dialogues), historique::Issue::Ecrite);
    attendu[2].replace(0, 2, "99");
    for (const auto& [colonne, largeur] : {std::pair{23, 12}, {35, 20}, {55, 30}, {100, 30}, {130, 30}})
        attendu[2].replace(colonne - 1, largeur, cadre("ANNULEE", largeur));
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), joindre(attendu));
    EXPECT_EQ(dialogues.resume().last(), "Annulation | Facture numéro 3 annulée.");
    // A cancelled invoice stays correctable as cancelled; state 99 typed in cancels too.
    historique::Textes annulee = historique::textes(attendu[2]);
    annulee[42] = "B";
    EXPECT_EQ(corriger(3, attendu[2], annulee).issue, historique::Issue::Ecrite);
    historique::Textes quatre = historique::textes(cinq[3]);
    quatre[historique::BoiteEtat] = "99";
    EXPECT_EQ(corriger(4, cinq[3], quatre).issue, historique::Issue::Ecrite);
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil").mid(3 * 723, 2), "99");

    // Shown before another workstation changed it, or emptied Ftmp.Fil: nothing written.
    dialogues.effacer();
    const QByteArray avant = d.lire("Sauvramq/Ftmp.Fil");
    EXPECT_EQ(corriger(2, cinq[1], t).issue, historique::Issue::Changee);
    dialogues.reponses = {Reponse::Ok};
    EXPECT_EQ(historique::annuler(d.chemin(), 6, cinq[1], dialogues), historique::Issue::Changee);
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), avant);
    EXPECT_EQ(dialogues.resume()[0], "Correction | La facture numéro 2 a été changée ou transmise par un "
                                     "autre poste de travail depuis son affichage. Rien n'a été écrit; "
                                     "vérifiez-la de nouveau.");
}

// A correction passes the checks of a new invoice: each bad value is refused by name, the focus
// sent to its box, and nothing is written.
TEST_F(Historique, UneCorrectionRefuseeNEcritRien) {
    const QString corrigez = "\n\nVeuillez corriger la situation.\n\nRien n'a été écrit.";
    const struct {
        QList<QPair<int, QString>> boites;
        int boite;
        QString message;
    } cas[] = {
        {{{0, "5"}}, 0, "Correction | L'état « 5 » n'est pas valide.\n\nInscrivez 05 pour une facture à "
                        "envoyer ou 99 pour une facture annulée.\n\nRien n'a été écrit."},
        {{{0, ""}}, 0, "Correction | L'état «  » n'est pas valide.\n\nInscrivez 05 pour une facture à "
                       "envoyer ou 99 pour une facture annulée.\n\nRien n'a été écrit."},
        {{{0, "55"}}, 0, "Correction | L'état « 55 » n'est pas valide.\n\nInscrivez 05 pour une facture à "
                         "envoyer ou 99 pour une facture annulée.\n\nRien n'a été écrit."},
        {{{33, "19.00"}}, 33, "Correction | Le prix #1 « 19.00 » n'est pas valide.\n\nIl doit être composé de "
                              "six chiffres, en cents et sans point (exemple: 19.00$ = 001900).\n\nRien n'a été écrit."},
        {{{33, "1900"}}, 33, "Correction | Le prix #1 « 1900 » n'est pas valide.\n\nIl doit être composé de "
                             "six chiffres, en cents et sans point (exemple: 19.00$ = 001900).\n\nRien n'a été écrit."},
        {{{33, "600000"}, {34, "500000"}}, 33,
         "Montant de la facture | Le montant de la facture (11000.00 $) dépasse le plus grand montant "
         "qu'une facture peut porter (9 999.99 $).\n\nVérifiez les honoraires des codes d'acte.\n\nRien n'a été écrit."},
        {{{35, "001000"}}, 35, "Correction | Le prix #3 (001000) n'a pas de code d'acte sur sa ligne.\n\nInscrivez "
                               "le code d'acte, ou 000000 comme prix.\n\nRien n'a été écrit."},
        {{{29, "09A01"}}, 29, "Code d'acte | Le code d'acte 09A01\nn'est pas valide." + corrigez},
        {{{29, "00000"}}, 29, "Code d'acte | Le code d'acte 00000\nn'est pas valide." + corrigez},
        {{{31, "99999"}}, 31, "Code d'acte | Le code d'acte 99999\nn'est pas valide." + corrigez},
        {{{23, "26120"}}, 23, "Date invalide | La date de service 2026/12/0\nn'est pas valide." + corrigez},
        {{{23, "261399"}}, 23, "Date invalide | La date de service 2026/13/99\nn'est pas valide." + corrigez},
        {{{23, "261204"}}, 23, "Date invalide | La date de service 2026/12/04\nest supérieur à la date "
                               "d'aujourd'hui." + corrigez},
        {{{8, "TREM8001151"}}, 8, "Caractère illégal | Le numéro d'assurance maladie TREM8001151\nn'est pas "
                                  "valide." + corrigez},
        {{{8, "TREM80011515"}}, 8, "Caractère illégal | Le numéro d'assurance maladie TREM80011515\nn'est pas "
                                   "valide." + corrigez},
        {{{8, "ANNULEE"}}, 8, "Caractère illégal | Le numéro d'assurance maladie ANNULEE\nn'est pas valide." + corrigez},
        {{{10, "TREMBLÉ"}}, 10, "Caractère illégal | Le texte suivant TREMBLÉ\ncomporte un caractère illégal."
                                "\n\nVeuillez corriger la caractère.\n\nLes accents ne sont pas acceptés.\n\nRien n'a été écrit."},
        {{{25, "B123"}}, 25, "Code de diagnostique | Le code de diagnostique B123\nn'est pas valide." + corrigez},
        {{{26, "3-4 "}}, 26, "Code de diagnostique | Le code de diagnostique 3-4 \nn'est pas valide." + corrigez},
        {{{8, "123456789014"}}, 8, "Caractère illégal | Le numéro d'assurance maladie 123456789014\nn'est pas "
                                   "valide." + corrigez},
        {{{8, "TREM80131513"}}, 8, "Caractère illégal | Le numéro d'assurance maladie TREM80131513\nn'est pas "
                                   "valide." + corrigez},
        // A cancelled invoice keeps "ANNULEE" for its NAM, and every other field checked.
        {{{0, "99"}, {8, "X"}, {23, "999999"}}, 23, "Date invalide | La date de service 2099/99/99\nn'est pas "
                                                    "valide." + corrigez},
        {{{0, "99"}, {29, "99999"}}, 29, "Code d'acte | Le code d'acte 99999\nn'est pas valide." + corrigez},
        {{{14, "X"}}, 14, "Correction | Le sexe « X » n'est pas valide.\n\nInscrivez M ou F.\n\nRien n'a été écrit."},
        {{{17, "AAAAAA"}}, 17, "Correction | Le code postal « AAAAAA » n'est pas valide.\n\nInscrivez une lettre, un "
                               "chiffre, une lettre, un chiffre, une lettre et un chiffre (exemple: H2X1Y4).\n\nRien "
                               "n'a été écrit."},
        {{{11, "A1"}}, 11, "Correction | La valeur « A1 » de la séquence de la carte n'est pas valide.\n\n"
                           "Inscrivez au plus 2 chiffres.\n\nRien n'a été écrit."},
        {{{18, "31111"}}, 18, "Correction | Le numéro du professionnel « 31111 » n'est pas valide.\n\nIl doit "
                              "être composé de 6 chiffres.\n\nRien n'a été écrit."},
        {{{18, "000000"}}, 18, "Correction | Le numéro du professionnel « 000000 » n'est pas valide.\n\nIl doit "
                               "être composé de 6 chiffres.\n\nRien n'a été écrit."},
        {{{22, "5271A"}}, 22, "Correction | Le numéro d'établissement « 5271A » n'est pas valide.\n\nIl doit "
                              "être composé de 5 chiffres.\n\nRien n'a été écrit."},
        {{{20, "1234"}}, 20, "Correction | Le numéro de groupe « 1234 » n'est pas valide.\n\nIl doit être "
                             "composé de 5 chiffres.\n\nRien n'a été écrit."},
    };
    const QByteArray avant = d.lire("Sauvramq/Ftmp.Fil");
    for (const auto& c : cas) {
        SCOPED_TRACE(c.message.toStdString());
        historique::Textes t = historique::textes(cinq[1]);
        for (const auto& [boite, texte] : c.boites)
            t[boite] = texte;
        dialogues.effacer();
        const historique::Resultat r = corriger(2, cinq[1], t);
        EXPECT_EQ(r.issue, historique::Issue::Refusee);
        EXPECT_EQ(r.boite, c.boite);
        EXPECT_EQ(dialogues.resume(), QStringList{c.message});
        EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), avant);
    }
}

TEST(Precedentes, RangeesEtDates) {
    DossierTemporaire d;
    d.ecrire("Sauvramq/R7123407",
             QByteArray("R712340771234  71234 6034042").leftJustified(87, ' ') + "000012000123456D7123407" +
                 QByteArray(53, ' '));
    d.ecrire("Sauvramq/r1234501", "R1234501 court");
    d.ecrire("Sauvramq/R71234070", "pas une requête");
    d.ecrire("Sauvramq/D7123407", "x");
    const QList<precedentes::Facturation> l = precedentes::lister(d.chemin());
    ASSERT_EQ(l.size(), 2);
    EXPECT_EQ(l[0].colonnes(), (QStringList{"R7123407", "71234", "6034042", "000012", "000123456", "D7123407"}));
    EXPECT_EQ(l[1].colonnes(), (QStringList{"r1234501", "", "", "", "", ""}));

    const QDate aujourdhui(2026, 12, 7);
    const struct {
        const char* attestation;
        QDate date;
    } dates[] = {
        {"6341001", {2026, 12, 7}}, {"6034042", {2026, 2, 3}}, {"5034042", {2025, 2, 3}},
        {"4034042", {2024, 2, 3}},  {"7001001", {2017, 1, 1}}, {"4366001", {2024, 12, 31}},
        {"6366001", {}},            {"6000001", {}},           {"AJJJSSS", {}},
    };
    for (const auto& c : dates)
        EXPECT_EQ(precedentes::date(c.attestation, aujourdhui), c.date) << c.attestation;
    EXPECT_EQ(precedentes::texteDate({2025, 2, 3}), "Facturation en date du  03 février 2025");
    EXPECT_EQ(precedentes::texteDate({2026, 8, 15}), "Facturation en date du  15 août 2026");
    EXPECT_EQ(precedentes::texteDate({}), "");
}

// Putting back online copies both files or reports why not; striking out asks first, and a
// file that cannot be deleted is reported, never announced as struck out.
TEST(Precedentes, RemettreEnLigneEtRayer) {
    DossierTemporaire d;
    const QByteArray requete = QByteArray("R7123407").leftJustified(102, '0') + "D7123407" + QByteArray(53, ' ');
    d.ecrire("Sauvramq/R7123407", requete);
    d.ecrire("Sauvramq/D7123407", facture("A"));
    d.ecrire("Reqt", "ancienne");
    DialoguesScriptes dialogues;
    precedentes::Facturation f = precedentes::lire("R7123407", requete);

    d.ecrire("Sauvramq/D7123407", {});
    QFile::remove(d.fichier("Sauvramq/D7123407"));
    EXPECT_FALSE(precedentes::remettreEnLigne(d.chemin(), f, dialogues));
    EXPECT_EQ(d.lire("Reqt"), "ancienne");
    EXPECT_EQ(dialogues.resume(), QStringList{"Remise en ligne | Le fichier D7123407 est introuvable dans le "
                                              "dossier Sauvramq; la facturation ne peut pas être remise en ligne."});
    d.ecrire("Sauvramq/D7123407", facture("A"));
    dialogues.effacer();
    EXPECT_TRUE(precedentes::remettreEnLigne(d.chemin(), f, dialogues));
    EXPECT_EQ(d.lire("Reqt"), requete);
    EXPECT_EQ(d.lire("R7123407"), requete);
    EXPECT_EQ(d.lire("D7123407"), facture("A"));
    EXPECT_EQ(dialogues.resume(), QStringList{"Kestrova | Le fichier (R7123407) a été remis en ligne pour une "
                                              "retransmission à la RAMQ.\n\nVeuillez utiliser la fonction "
                                              "TRANSMETTRE d'une facturation (2e boite)."});

    const QStringList trois = {"Sauvramq/R7123407", "Sauvramq/D7123407", "D7123407"};
    const auto presents = [&] {
        int n = 0;
        for (const QString& c : trois)
            n += d.existe(c);
        return n;
    };
    dialogues.effacer();
    EXPECT_FALSE(precedentes::rayer(d.chemin(), f, dialogues));  // Cancel is the default
    EXPECT_EQ(presents(), 3);
    ASSERT_EQ(dialogues.boites().size(), 1);
    EXPECT_EQ(dialogues.boites()[0].titre, "Rayer un fichier de facture");
    EXPECT_EQ(dialogues.boites()[0].texte, "Veuillez confirmer le retrait de fichier de facture R7123407");
    EXPECT_EQ(dialogues.boites()[0].boutons, Boutons::OkAnnuler);

    {   // Being sent from another workstation: its request file is held, nothing is struck out.
        AutrePoste envoi(d.fichier("Sauvramq/R7123407"));
        ASSERT_TRUE(envoi.verrouille());
        dialogues.effacer();
        dialogues.reponses = {Reponse::Ok};
        EXPECT_FALSE(precedentes::rayer(d.chemin(), f, dialogues));
        EXPECT_EQ(presents(), 3);
        EXPECT_EQ(dialogues.resume().last(), "Rayer un fichier de facture | La facturation R7123407 est en cours "
                                             "de transmission; elle ne peut pas être rayée maintenant.");
    }

    // A copy that cannot be deleted (a folder in its place stops root as well).
    QFile::remove(d.fichier("D7123407"));
    d.ecrire("D7123407/contenu", "x");
    dialogues.effacer();
    dialogues.reponses = {Reponse::Ok};
    EXPECT_FALSE(precedentes::rayer(d.chemin(), f, dialogues));
    EXPECT_TRUE(d.existe("Sauvramq/R7123407"));
    EXPECT_FALSE(dialogues.resume().join("").contains("rayé"));
    ASSERT_EQ(dialogues.boites().size(), 2);
    EXPECT_TRUE(dialogues.boites()[1].texte.contains("D7123407")) << qPrintable(dialogues.boites()[1].texte);

    // A read-only folder (its permissions do not stop root).
    QDir(d.fichier("D7123407")).removeRecursively();
    if (geteuid() != 0) {
        QFile::setPermissions(d.fichier("Sauvramq"), QFile::ReadOwner | QFile::ExeOwner);
        dialogues.effacer();
        dialogues.reponses = {Reponse::Ok};
        EXPECT_FALSE(precedentes::rayer(d.chemin(), f, dialogues));
        EXPECT_TRUE(dialogues.resume().last().contains("Permission refusée")) << qPrintable(dialogues.resume().last());
        QFile::setPermissions(d.fichier("Sauvramq"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Already absent counts as struck out.
    dialogues.effacer();
    dialogues.reponses = {Reponse::Ok};
    EXPECT_TRUE(precedentes::rayer(d.chemin(), f, dialogues));
    EXPECT_EQ(presents(), 0);
    EXPECT_EQ(dialogues.resume().last(), "Kestrova | Le fichier (R7123407) a été rayé.");
}

}  // namespace
