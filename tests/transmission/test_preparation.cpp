#include "platform/erreurs.h"
#include "platform/fichierbrut.h"
#include "platform/fichiers.h"
#include "support/petitdisque.h"
#include "platform/horloge.h"
#include "records/fichierfactures.h"
#include "records/procedures.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "transmission/preparation.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>
#include <iostream>
#include <QDirIterator>
#include <QMap>
#include <gtest/gtest.h>

namespace {

using preparation::Preparer;

QByteArray blancs(int n) { return QByteArray(n, ' '); }

// Agency record: agency 71234, sequence, invoice counter, 15 kept characters, attestation counter.
QByteArray agence(const char* sequence, const char* factures, const char* attestation) {
    return QByteArray("R71234") + sequence + "D71234" + sequence + factures + "ABCDEFGHIJKLMNO" +
           attestation;
}

// The record as it should stand in the payment-request file.
QByteArray estampille(const QByteArray& r, const char* attestation, const char* numero) {
    return r.left(10) + attestation + r.mid(17, 1) + numero + r.mid(22);
}

QByteArray avecTotal(QByteArray r, const char* total) { return r.replace(305, 6, total); }

QMap<QString, QByteArray> contenu(const QString& dossier) {
    QMap<QString, QByteArray> fichiers;
    QDirIterator it(dossier, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString c = it.next();
        if (c.endsWith(".lck"))
            continue;  // the other workstation's lock
        QFile f(c);
        f.open(QIODevice::ReadOnly);
        fichiers[QDir(dossier).relativeFilePath(c)] = f.readAll();
    }
    return fichiers;
}

preparation::Valeurs valeursDe(const DossierTemporaire& dossier) {
    return preparation::valeursDepuis(preparation::lireAgence(dossier.chemin()),
                                      Horloge::aujourdhui());
}

class Preparation : public ::testing::Test {
protected:
    void SetUp() override { Horloge::fixer(QDateTime(QDate(2009, 2, 3), QTime(9, 30))); }
    void TearDown() override { Horloge::liberer(); }

    preparation::Valeurs valeurs() const { return valeursDe(d); }

    DossierTemporaire d;
    DialoguesScriptes dialogues;
};

TEST(CompteurSuivant, EnrouleSelonLaLargeur) {
    const struct {
        const char* avant;
        int largeur;
        const char* apres;
    } cas[] = {{"07", 2, "08"}, {"99", 2, "00"}, {"0041", 4, "0042"}, {"9999", 4, "0001"},
               {"999", 3, "000"}, {"041", 3, "042"}, {"   ", 3, "001"}, {"0000", 4, "0001"}};
    for (const auto& c : cas)
        EXPECT_EQ(CompteurSuivant(c.avant, c.largeur), c.apres) << c.avant;
}

TEST_F(Preparation, FichiersOctetPourOctet) {
    ValeursFacture autre = factureDeBase();
    autre.nom = "GAGNON";
    autre.honoraires = {"002855", "", "", ""};
    autre.actes = {"09001", "", "", ""};
    const QByteArray un = enregistrementDe(factureDeBase());
    const QByteArray annule = enregistrementDe(factureDeBase(), "99");
    const QByteArray deux = enregistrementDe(autre);
    const QByteArray lu = agence("07", "0041", "041") + "\r\n";
    preparerDossier(d, lu, {un, annule, deux});

    const preparation::Chargement c = preparation::charger(d.chemin(), dialogues);
    EXPECT_TRUE(dialogues.appels.isEmpty());
    EXPECT_EQ(c.valeurs.requete, "R7123407");
    EXPECT_EQ(c.valeurs.demandes, "D7123407");
    EXPECT_EQ(c.valeurs.attestation, "9034042");
    EXPECT_EQ(c.valeurs.compteurFactures, "0041");
    EXPECT_EQ(c.valeurs.sequence, "07");
    EXPECT_EQ(c.nombre, 2);
    EXPECT_EQ(c.resume,
              "Fichier requête: R7123407\n\nNuméro d'attestation: 9034042\n\n"
              "Nombre de demandes de paiement: 000002\n\n"
              "Nom du fichier de demandes de paiement: D7123407\n\n"
              "NOTE: Ces renseignements seront tous sur votre rapport officiel.");

    QList<int> progression;
    QStringList imprimes;
    preparation::Suivi suivi;
    suivi.progression = [&](int p) { progression << p; };
    suivi.imprimer = [&](const QString& chemin) { imprimes << chemin; };
    const preparation::Resultat r = Preparer(d.chemin(), c.valeurs, dialogues, suivi);
    ASSERT_TRUE(r.reussi);

    EXPECT_EQ(d.lire("Sauvramq/D7123407"),
              estampille(un, "9034042", "0042") + estampille(deux, "9034042", "0043") + "\x1a");
    const QByteArray requete = "KESTR900       71234T9034042" + blancs(52) + "9034042" +
                               "000002" + "000006910" + "D7123407" + blancs(7) + "17006" +
                               "KESTROVA       " + "5 525" + blancs(18) + "\r\n\x1a";
    ASSERT_EQ(requete.size(), 163);
    EXPECT_EQ(d.lire("Sauvramq/R7123407"), requete);
    EXPECT_EQ(d.lire("Reqt"), requete);
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Bak"), un + annule + deux);
    EXPECT_TRUE(d.existe("Sauvramq/Ftmp.Fil"));
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), QByteArray());
    EXPECT_EQ(d.lire("Facturat.Lex"), QByteArray("R7123408D71234080043ABCDEFGHIJKLMNO042") + blancs(90));
    EXPECT_EQ(imprimes, QStringList{d.chemin() + "/Sauvramq/D7123407"});
    EXPECT_EQ(progression, (QList<int>{33, 66, 100}));
    EXPECT_EQ(dialogues.resume(),
              QStringList{"Préparation des fichiers | Préparation des 000002 fiches,\n\n"
                          "effectuée correctement...\n\nC'est maintenant prêt\n"
                          "pour la transmission à la Régie."});
    EXPECT_EQ(dialogues.boites().first().icone, Icone::Information);

    // The next preparation the same day takes the next names and attestation number.
    const preparation::Valeurs suivantes = valeurs();
    EXPECT_EQ(suivantes.requete, "R7123408");
    EXPECT_EQ(suivantes.attestation, "9034043");
    EXPECT_EQ(suivantes.compteurFactures, "0043");
}

TEST_F(Preparation, CompteursEtTotaux) {
    const QByteArray f = enregistrementDe(factureDeBase());
    const struct {
        const char* nom;
        QByteArray agenceLue;
        QList<QByteArray> enregistrements;
        QByteArray agenceEcrite, numeros, requeteNombreTotal;
        QDate jour;
        const char* attestation;
    } cas[] = {
        {"séquence 99", agence("99", "0041", "041"), {f}, "R7123400D71234000042ABCDEFGHIJKLMNO042",
         "0042", "000001000004055", {2009, 2, 3}, "9034042"},
        {"facture 9999", agence("07", "9998", "041"), {f, f},
         "R7123408D71234080001ABCDEFGHIJKLMNO042", "99990001", "000002000008110", {2009, 2, 3},
         "9034042"},
        {"attestation 999", agence("07", "0041", "999"), {f},
         "R7123408D71234080042ABCDEFGHIJKLMNO000", "0042", "000001000004055", {2009, 2, 1},
         "9032000"},
        {"aucune à envoyer", agence("07", "0041", "041"), {enregistrementDe(factureDeBase(), "99")},
         "R7123408D71234080041ABCDEFGHIJKLMNO042", "", "000000000000000", {2016, 12, 31},
         "6366042"},
        {"1 234 567 cents", agence("07", "0041", "041"),
         {avecTotal(f, "999999"), avecTotal(f, "234568")},
         "R7123408D71234080043ABCDEFGHIJKLMNO042", "00420043", "000002001234567", {2009, 2, 3},
         "9034042"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        DossierTemporaire dossier;
        DialoguesScriptes port;
        Horloge::fixer(QDateTime(c.jour, QTime(8, 0)));
        preparerDossier(dossier, c.agenceLue, c.enregistrements);
        const preparation::Valeurs v =
            preparation::valeursDepuis(preparation::lireAgence(dossier.chemin()), c.jour);
        EXPECT_EQ(v.attestation, c.attestation);
        ASSERT_TRUE(Preparer(dossier.chemin(), v, port).reussi);
        EXPECT_EQ(dossier.lire("Facturat.Lex"), c.agenceEcrite + blancs(90));
        const QByteArray dFichier = dossier.lire("Sauvramq/" + v.demandes);
        QByteArray numeros;
        for (qsizetype p = 0; p + 723 <= dFichier.size(); p += 723)
            numeros += dFichier.mid(p + 18, 4);
        EXPECT_EQ(numeros, c.numeros);
        EXPECT_EQ(dFichier.size() % 723, 1);
        EXPECT_EQ(dFichier.right(1), "\x1a");
        EXPECT_EQ(dossier.lire("Sauvramq/" + v.requete).mid(87, 15), c.requeteNombreTotal);
        EXPECT_EQ(dossier.lire("Sauvramq/Ftmp.Fil"), QByteArray());
    }
}

TEST_F(Preparation, AgenceAuDelaDe128OctetsConservee) {
    preparerDossier(d, agence("07", "0041", "041") + blancs(90) + "SUITE", {});
    ASSERT_TRUE(Preparer(d.chemin(), valeurs(), dialogues).reussi);
    EXPECT_EQ(d.lire("Facturat.Lex"),
              QByteArray("R7123408D71234080041ABCDEFGHIJKLMNO042") + blancs(90) + "SUITE");
}

// A port whose Retry answer first lets the other workstation go.
class DialoguesLiberantLeVerrou : public DialoguesScriptes {
public:
    std::unique_ptr<FichierBrut> verrou;
    Reponse question(Icone i, const QString& t, const QString& x, Boutons b, int p) override {
        const Reponse r = DialoguesScriptes::question(i, t, x, b, p);
        if (r == Reponse::Reessayer)
            verrou.reset();
        return r;
    }
};

TEST_F(Preparation, FtmpVerrouilleParUnAutrePoste) {
    const QByteArray f = enregistrementDe(factureDeBase());
    preparerDossier(d, agence("07", "0041", "041"), {f});
    d.ecrire("Sauvramq/R7123407", "ANCIEN R");
    d.ecrire("Reqt", "ANCIEN REQT");
    const QMap<QString, QByteArray> avant = contenu(d.chemin());
    const preparation::Valeurs v = valeurs();

    for (const bool reessayer : {false, true}) {
        SCOPED_TRACE(reessayer ? "Réessayer" : "Annuler");
        DialoguesLiberantLeVerrou port;
        port.verrou = fichierfactures::fichier(d.chemin()).verrouiller(0);
        port.reponses = {reessayer ? Reponse::Reessayer : Reponse::Annuler};
        const bool reussi = Preparer(d.chemin(), v, port).reussi;
        const auto q = port.boites().first();
        EXPECT_EQ(q.genre, DialoguesScriptes::Appel::Genre::Question);
        EXPECT_EQ(q.titre, "Sauvegarde");
        EXPECT_EQ(q.texte, "Fichier réseau présentement occupé...");
        EXPECT_EQ(q.boutons, Boutons::ReessayerAnnuler);
        EXPECT_EQ(q.icone, Icone::Exclamation);
        EXPECT_EQ(reussi, reessayer);
        if (!reessayer) {
            EXPECT_EQ(port.boites().size(), 1);
            EXPECT_EQ(contenu(d.chemin()), avant);
        } else {
            EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), QByteArray());
            EXPECT_EQ(d.lire("Sauvramq/D7123407"), estampille(f, "9034042", "0042") + "\x1a");
        }
    }
}

TEST_F(Preparation, ArretsParNumeroDErreur) {
    const QByteArray f = enregistrementDe(factureDeBase());
    const QByteArray lu = agence("07", "0041", "041");
    const QString arret = "\n\nLe logiciel doit s'arrêter suite à cette erreur.";

    {   // 53 while printing: what was written is undone, counters and Ftmp.Fil untouched.
        SCOPED_TRACE("53");
        DossierTemporaire dossier;
        DialoguesScriptes port;
        preparerDossier(dossier, lu, {f});
        dossier.ecrire("Reqt", "ANCIEN REQT");
        preparation::Suivi suivi;
        suivi.imprimer = [](const QString& c) { throw ErreurFichier(53, "Fichier introuvable", c); };
        EXPECT_FALSE(Preparer(dossier.chemin(), valeursDe(dossier), port, suivi).reussi);
        EXPECT_EQ(port.resume(),
                  QStringList{"Message d'erreur | Erreur No. 53 Fichier non trouvé.\n\n"
                              "Vérifiez Inet2000.scr - !TLCM - !UNFI - !UNR - Logiciel Blast. - "
                              "Facturat.lex" + arret});
        EXPECT_EQ(dossier.lire("Reqt"), "ANCIEN REQT");
        EXPECT_FALSE(dossier.existe("Sauvramq/D7123407"));
        EXPECT_FALSE(dossier.existe("Sauvramq/R7123407"));
        EXPECT_FALSE(dossier.existe("Sauvramq/Prepa.Enc"));
        EXPECT_EQ(dossier.lire("Facturat.Lex"), lu);
        EXPECT_EQ(dossier.lire("Sauvramq/Ftmp.Fil"), f);
        EXPECT_FALSE(dossier.existe("Sauvramq/Ftmp.Bak"));
    }
    {   // Facturat.Lex gone before the request file is written.
        SCOPED_TRACE("Facturat.Lex");
        DossierTemporaire dossier;
        DialoguesScriptes port;
        preparerDossier(dossier, lu, {f});
        preparation::Suivi suivi;
        suivi.progression = [&](int) { QFile::remove(dossier.fichier("Facturat.Lex")); };
        EXPECT_FALSE(Preparer(dossier.chemin(), valeursDe(dossier), port, suivi).reussi);
        EXPECT_EQ(port.resume(), QStringList{"Lecture de fichier | ATTENTION !!!\n\n"
                                             "Problème de lecture du fichier FACTURAT.LEX."});
        EXPECT_EQ(port.boites().first().icone, Icone::Critique);
        EXPECT_EQ(dossier.lire("Sauvramq/R7123407"), QByteArray());
        EXPECT_EQ(dossier.lire("Sauvramq/Ftmp.Fil"), f);
    }
    {   // Any other error: its number and the system's description.
        SCOPED_TRACE("autre");
        DossierTemporaire dossier;
        DialoguesScriptes port;
        dossier.ecrire("Facturat.Lex", lu);
        port.reponses = {Reponse::Annuler};  // never retry for ever if the number were 70
        EXPECT_FALSE(Preparer(dossier.chemin(), valeursDe(dossier), port).reussi);
        ASSERT_EQ(port.boites().size(), 1);
        EXPECT_EQ(port.boites().first().titre, "Message d'erreur");
        EXPECT_TRUE(port.boites().first().texte.startsWith("Erreur No. 76Chemin d'accès introuvable"));
        EXPECT_TRUE(port.boites().first().texte.endsWith(arret));
    }
}

TEST_F(Preparation, OuvertureSansAgenceOuSansSauvramq) {
    preparation::Chargement c = preparation::charger(d.chemin(), dialogues);
    EXPECT_TRUE(c.agenceManquante);
    EXPECT_EQ(dialogues.resume(),
              QStringList{"Message | Le fichier Facturat.lex n'existe pas, veuillez le créer.  "
                          "Ouvrir fichier puis initialisation."});
    EXPECT_EQ(dialogues.boites().first().icone, Icone::Critique);

    dialogues.effacer();
    d.ecrire("Facturat.Lex", agence("07", "0041", "041"));
    c = preparation::charger(d.chemin(), dialogues);
    EXPECT_FALSE(c.agenceManquante);
    EXPECT_TRUE(dialogues.appels.isEmpty());
    EXPECT_EQ(c.nombre, 0);
    EXPECT_TRUE(QDir(d.fichier("Sauvramq")).exists());
}

}  // namespace

namespace {

// The invoice marks (complementary information) of the records of a file of invoices.
QStringList marques(QByteArray octets) {
    if (octets.endsWith('\x1a'))
        octets.chop(1);
    QStringList l;
    for (qsizetype p = 0; p + 723 <= octets.size(); p += 723)
        l << QString::fromLatin1(octets.mid(p + 325, 7));
    return l;
}

QByteArray facturesMarquees(int n) {
    QByteArray tout;
    for (int i = 0; i < n; ++i) {
        ValeursFacture v = factureDeBase();
        v.renseignements = QStringLiteral("N%1").arg(i, 6, 10, QLatin1Char('0'));
        tout += enregistrementDe(v);
    }
    return tout;
}

// Every invoice in Ftmp.Fil or in exactly one payment-request file, never both; the counters
// moved on by exactly the billings made; nothing of a preparation left half done.
void verifierCoherence(const QString& dossier, const QStringList& attendues,
                       const QByteArray& agenceInitiale) {
    QStringList vues = marques(fichiers::lire(dossier + "/Sauvramq/Ftmp.Fil"));
    const QStringList d = QDir(dossier + "/Sauvramq").entryList({"D71234*"}, QDir::Files);
    for (const QString& nom : d)
        vues += marques(fichiers::lire(dossier + "/Sauvramq/" + nom));
    vues.sort();
    QStringList triees = attendues;
    triees.sort();
    EXPECT_EQ(vues, triees);
    const QByteArray lex = fichiers::lire(dossier + "/Facturat.Lex");
    const int avance = (lex.mid(6, 2).toInt() - agenceInitiale.mid(6, 2).toInt() + 100) % 100;
    EXPECT_EQ(avance, d.size()) << lex.constData();
    EXPECT_FALSE(QFile::exists(dossier + "/Sauvramq/Prepa.Enc"));
    if (d.size() == 1) {
        EXPECT_EQ(fichiers::lire(dossier + "/Reqt"), fichiers::lire(dossier + "/Sauvramq/R" + d[0].mid(1)));
    }
    EXPECT_EQ(QDir(dossier).entryList({".~*"}, QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(QDir(dossier + "/Sauvramq").entryList({".~*"}, QDir::Files | QDir::Hidden), QStringList());
}

}  // namespace

// Killed at random moments, a preparation is either undone or finished at the next start.
TEST_F(Preparation, TueeNImporteQuandPuisReprise) {
    const QByteArray lu = agence("07", "0041", "041");
    const QByteArray factures = facturesMarquees(150);
    const QStringList attendues = marques(factures);
    auto nouveauDossier = [&](const DossierTemporaire& dossier) {
        dossier.ecrire("Facturat.Lex", lu);
        dossier.ecrire("Reqt", "ANCIEN REQT");
        dossier.ecrire("Sauvramq/Ftmp.Fil", factures);
    };
    auto preparer = [](const QString& dossier, QProcess& p) {
        p.start(QStringLiteral(AUTRE_POSTE), {"preparer", dossier});
        return p.waitForStarted(5000);
    };
    qint64 duree = 0;
    {   // How long a whole preparation takes here, start of the process included.
        DossierTemporaire dossier;
        nouveauDossier(dossier);
        QElapsedTimer chrono;
        chrono.start();
        QProcess p;
        ASSERT_TRUE(preparer(dossier.chemin(), p));
        ASSERT_TRUE(p.waitForFinished(30000));
        duree = chrono.nsecsElapsed() / 1000;
        ASSERT_EQ(dossier.lire("Sauvramq/Ftmp.Fil"), QByteArray());
    }
    QRandomGenerator hasard(20261207);
    QElapsedTimer limite;
    limite.start();
    int tuees = 0, annulees = 0;
    for (int essai = 0; essai < 250 && limite.elapsed() < 90000; ++essai) {
        DossierTemporaire dossier;
        nouveauDossier(dossier);
        QProcess p;
        ASSERT_TRUE(preparer(dossier.chemin(), p));
        QThread::usleep(hasard.bounded(duree + 1));
        if (p.state() != QProcess::NotRunning) {
            ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
            ++tuees;
        }
        p.waitForFinished(10000);
        DialoguesScriptes port;
        preparation::reprendreInterrompue(dossier.chemin(), port);
        annulees += dossier.lire("Sauvramq/Ftmp.Fil").size() > 0;
        SCOPED_TRACE(essai);
        verifierCoherence(dossier.chemin(), attendues, lu);
        if (HasFailure())
            break;
    }
    EXPECT_GE(tuees, 100) << "too few kills landed during a preparation";
    std::cout << tuees << " préparations tuées, " << annulees << " annulées à la reprise\n";
}

// A full disk at every point where the preparation writes: undone at once, never half done.
TEST_F(Preparation, DisquePleinAChaquePointDEcriture) {
    PetitDisque disque(1 << 20);
    KESTROVA_EXIGER_PETIT_DISQUE(disque);
    const QString dossier = disque.chemin();
    const QByteArray lu = agence("07", "0041", "041");
    const QByteArray factures = facturesMarquees(20);
    int echecs = 0, reussites = 0;
    for (qint64 libre = 0; libre <= 16 * 4096; libre += 4096) {
        SCOPED_TRACE(libre);
        disque.liberer();
        for (const QString& f : QDir(dossier + "/Sauvramq").entryList(QDir::Files))
            QFile::remove(dossier + "/Sauvramq/" + f);
        QDir().mkpath(dossier + "/Sauvramq");
        fichiers::ecrireAtomique(dossier + "/Facturat.Lex", lu);
        fichiers::ecrireAtomique(dossier + "/Reqt", "ANCIEN REQT");
        fichiers::ecrireAtomique(dossier + "/Sauvramq/Ftmp.Fil", factures);
        disque.laisserLibre(libre);
        DialoguesScriptes port;
        port.reponses = {Reponse::Annuler};
        const bool reussi =
            Preparer(dossier, preparation::valeursDepuis(lu, Horloge::aujourdhui()), port).reussi;
        disque.liberer();
        DialoguesScriptes prochainDemarrage;
        preparation::reprendreInterrompue(dossier, prochainDemarrage);
        if (reussi) {
            ++reussites;
        } else {
            ++echecs;
            ASSERT_FALSE(port.boites().isEmpty());
            EXPECT_TRUE(port.boites().first().texte.startsWith("Erreur No. 61Disque plein"))
                << qPrintable(port.resume().join('\n'));
            EXPECT_EQ(fichiers::lire(dossier + "/Facturat.Lex"), lu);
            EXPECT_EQ(fichiers::lire(dossier + "/Reqt"), "ANCIEN REQT");
            EXPECT_EQ(fichiers::lire(dossier + "/Sauvramq/Ftmp.Fil"), factures);
        }
        verifierCoherence(dossier, marques(factures), lu);
    }
    EXPECT_GE(echecs, 3);
    EXPECT_GE(reussites, 1);
}

// Another workstation stores invoices while preparations run: each invoice it was told is
// stored ends in a payment-request file or in Ftmp.Fil, once. The stores go on until three
// preparations have succeeded, however fast the machine is.
TEST_F(Preparation, AjoutsDUnAutrePostePendantLesPreparations) {
    const QByteArray lu = agence("07", "0041", "041");
    preparerDossier(d, lu, {});
    const QString arret = d.chemin() + "/arret";
    QProcess poste;
    poste.start(QStringLiteral(AUTRE_POSTE), {"factures", d.chemin(), "900000", arret});
    ASSERT_TRUE(poste.waitForStarted(5000));
    QElapsedTimer limite;
    limite.start();
    int preparations = 0;
    QByteArray sortie;
    while (preparations < 3 && limite.elapsed() < 60000) {
        DialoguesScriptes port;
        if (Preparer(d.chemin(), valeurs(), port).reussi)
            ++preparations;
        poste.waitForReadyRead(20);  // drains its output so that it never blocks on printing
        sortie += poste.readAllStandardOutput();
    }
    QFile(arret).open(QIODevice::WriteOnly);
    ASSERT_TRUE(poste.waitForFinished(30000));
    ASSERT_EQ(poste.exitCode(), 0);
    sortie += poste.readAllStandardOutput();
    QStringList stockees;
    for (const QByteArray& l : sortie.split('\n'))
        if (!l.isEmpty())
            stockees << QString::fromLatin1(l);
    EXPECT_EQ(preparations, 3);
    EXPECT_GT(stockees.size(), 0);
    verifierCoherence(d.chemin(), stockees, lu);
}

// A damaged Ftmp.Fil is never prepared: the message names the record, nothing is written.
TEST_F(Preparation, FtmpEndommageJamaisPrepare) {
    const QByteArray f = enregistrementDe(factureDeBase());
    preparerDossier(d, agence("07", "0041", "041"), {f, f});
    d.ecrire("Sauvramq/Ftmp.Fil", "X" + f + f);
    const QMap<QString, QByteArray> avant = contenu(d.chemin());
    EXPECT_FALSE(Preparer(d.chemin(), valeurs(), dialogues).reussi);
    ASSERT_EQ(dialogues.boites().size(), 1);
    EXPECT_TRUE(dialogues.boites()[0].texte.contains("endommagé à partir de l'enregistrement numéro 1 "))
        << qPrintable(dialogues.resume().join('\n'));
    EXPECT_EQ(contenu(d.chemin()), avant);
}

// Another workstation's preparation, and its start, remove only what dead writers left: the
// rewrites of Facturat.Lex and Reqt under way here (the initialisation saving the agency, a
// billing put back online) keep their temporaries and still take their names afterwards.
TEST_F(Preparation, NettoyageDUnAutrePosteLaisseLesReecrituresEnCours) {
    const QByteArray f = enregistrementDe(factureDeBase());
    preparerDossier(d, agence("07", "0041", "041"), {f});
    d.ecrire("Reqt", "ANCIEN REQT");
    for (const char* mode : {"preparer", "demarrer"}) {
        SCOPED_TRACE(mode);
        d.ecrire(".~Facturat.Lex.1", "ABANDONNE");  // left by a killed writer
        d.ecrire(".~Reqt.1", "ABANDONNE");
        fichiers::EcritureAtomique lex(d.chemin() + "/Facturat.Lex"), reqt(d.chemin() + "/Reqt");
        lex.ajouter("R7123499D7123499");
        reqt.ajouter("NOUVEAU REQT");
        QProcess poste;
        poste.start(QStringLiteral(AUTRE_POSTE), {mode, d.chemin()});
        ASSERT_TRUE(poste.waitForFinished(30000));
        ASSERT_EQ(poste.exitCode(), 0) << poste.readAllStandardError().constData();
        EXPECT_EQ(QDir(d.chemin()).entryList({".~*.1"}, QDir::Files | QDir::Hidden), QStringList());
        EXPECT_NO_THROW(lex.valider());
        EXPECT_NO_THROW(reqt.valider());
        EXPECT_EQ(d.lire("Facturat.Lex"), "R7123499D7123499");
        EXPECT_EQ(d.lire("Reqt"), "NOUVEAU REQT");
    }
}
