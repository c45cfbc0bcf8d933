#include "platform/horloge.h"
#include "support/dialoguesscriptes.h"
#include "support/archive.h"
#include "support/autreposte.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/serveurftp.h"
#include "support/serveursmtp.h"
#include "records/fichierfactures.h"
#include "returns/precedentes.h"
#include "statistics/journalenvois.h"
#include "transmission/envoi.h"
#include "transmission/preparation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

const QString Verification = "Vérification | Identification de votre Agence 71234 sur le serveur\n\n"
                             "Cliquez sur Ok pour poursuivre.";
const QString Identification = "Identification | Votre agence a été identifiée sur le serveur.\n\n"
                               "Cliquez sur Ok pour poursuivre.";
const QString Succes = "Serveur ramq | Vos factures ont été envoyées avec succès...\n\n"
                       "Votre rapport d'erreur(s)  (Confirmation)\nsera généralement disponible "
                       "dans 24 heures\nsauf samedi et dimanche.";
const QString Echec = "Serveur ramq | FICHIER NON TRANSFÉRÉ SUR LE SERVEUR...\n\nPROBLÊME DE "
                      "COMMUNICATION\n\nVEUILLEZ RÉ-ESSAYER PLUS TARD";

class Envoi : public ::testing::Test {
protected:
    void SetUp() override {
        Horloge::fixer(QDateTime(QDate(2009, 2, 3), QTime(9, 30, 5)));
        d.ecrire("Kestrova.Cfg", donnees("Kestrova.Cfg.defaut"));
        preparerDossier(d, "R7123407D71234070041ABCDEFGHIJKLMNO041",
                        {enregistrementDe(factureDeBase())});
        DialoguesScriptes silencieux;
        const auto v = preparation::valeursDepuis(preparation::lireAgence(d.chemin()),
                                                  Horloge::aujourdhui());
        ASSERT_TRUE(preparation::Preparer(d.chemin(), v, silencieux).reussi);
        QFile::copy(PACOMP, d.fichier("PaComp"));
        QFile::setPermissions(d.fichier("PaComp"), QFile::ExeOwner | QFile::ReadOwner);
        e.programme = d.chemin();
        e.dossierTravail = d.fichier("Developpe");
        e.cheminRequete = d.fichier("Sauvramq/R7123407");
        e.cheminDemandes = d.fichier("Sauvramq/D7123407");
        e.ftp = {serveur.hote(), "tollmark", "vorpel"};
        e.clinique = {"Clinique du Lac", "819-555-0101", "lac@exemple.ca"};
        e.paComp = envoi::cheminPaComp(d.chemin());
    }
    void TearDown() override { Horloge::liberer(); }

    QString archiveServeur() const { return serveur.racine() + "/dp_ramq/AGP71234.zip"; }
    bool travailVide() const { return QDir(e.dossierTravail).entryList(QDir::Files).isEmpty(); }

    DossierTemporaire d;
    ServeurFtp serveur;
    envoi::Envoi e;
    DialoguesScriptes dialogues;
};

TEST_F(Envoi, ArchiveSurLeServeurEtJournal) {
    EXPECT_EQ(e.paComp, d.fichier("PaComp"));
    // An archive of an earlier sending already waits on the server.
    d.ecrire("ancien/ANCIEN.txt", "envoi précédent");
    QDir().mkpath(d.fichier("Developpe"));
    e.dossierTravail = d.fichier("ancien");
    ASSERT_EQ(QProcess::execute(e.paComp, {"-aP", d.fichier("ancien/AGP71234.zip"),
                                           d.fichier("ancien/ANCIEN.txt")}), 0);
    QFile::copy(d.fichier("ancien/AGP71234.zip"), archiveServeur());
    e.dossierTravail = d.fichier("Developpe");

    QList<int> progression;
    e.progression = [&](int p) { progression << p; };
    ASSERT_TRUE(envoi::Envoyer(e, dialogues));
    EXPECT_EQ(dialogues.resume(), (QStringList{Verification, Identification, Succes}));
    EXPECT_EQ(progression, (QList<int>{50, 100}));

    const QByteArray identification =
        "Clinique du Lac\r\n819-555-0101\r\nlac@exemple.ca\r\nDate: 2009/02/03 09:30:05\r\n"
        "Version:  5 8 0\r\n";
    EXPECT_EQ(membres(archiveServeur()),
              (QMap<QString, QByteArray>{{"ANCIEN.txt", "envoi précédent"},
                                         {"Identification.txt", identification},
                                         {"Kestrova.Cfg", d.lire("Kestrova.Cfg")},
                                         {"Facturat.Lex", d.lire("Facturat.Lex")},
                                         {"R7123407", d.lire("Sauvramq/R7123407")},
                                         {"D7123407", d.lire("Sauvramq/D7123407")}}));
    const QByteArray journal = "R7123407" "9034042" "000001" "$ 40.55   " "2009020309:30:05    " +
                               QByteArray(150, ' ');
    ASSERT_EQ(journal.size(), 201);
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat"), journal);
    EXPECT_TRUE(travailVide());
}

TEST_F(Envoi, DoublonOuiEnvoieNonNEnvoiePas) {
    ASSERT_TRUE(envoi::Envoyer(e, dialogues));
    const QString question = "Facturation en double | ATTENTION !!!\n\nCette facturation dont le "
                             "numéro d'attestation est 9034042, a déja été envoyée à la RAMQ.\n\n"
                             "Désirez-vous l'envoyer une deuxième fois ?";
    dialogues.effacer();
    dialogues.reponses = {Reponse::Non};
    EXPECT_FALSE(envoi::Envoyer(e, dialogues));
    EXPECT_EQ(dialogues.resume(), QStringList{question});
    EXPECT_EQ(dialogues.bips(), 1);
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat").size(), 201);

    dialogues.effacer();
    dialogues.reponses = {Reponse::Oui};
    EXPECT_TRUE(envoi::Envoyer(e, dialogues));
    EXPECT_EQ(dialogues.resume(), (QStringList{question, Verification, Identification, Succes}));
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat").size(), 402);
}

TEST_F(Envoi, ServeurArretePuisRevenuEtPaCompAbsent) {
    serveur.arreter();
    EXPECT_FALSE(envoi::Envoyer(e, dialogues));
    EXPECT_EQ(dialogues.resume(), (QStringList{Verification, Identification, Echec}));
    EXPECT_FALSE(d.existe("Sauvramq/LstEnvoie.Dat"));
    EXPECT_TRUE(travailVide());

    ServeurFtp revenu;
    e.ftp.serveur = revenu.hote();
    dialogues.effacer();
    EXPECT_TRUE(envoi::Envoyer(e, dialogues));
    EXPECT_EQ(dialogues.resume(), (QStringList{Verification, Identification, Succes}));
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat").size(), 201);
    EXPECT_EQ(membres(revenu.racine() + "/dp_ramq/AGP71234.zip").size(), 5);

    // Without the compression program nothing is sent or logged.
    QFile::remove(d.fichier("Sauvramq/LstEnvoie.Dat"));
    QFile::remove(revenu.racine() + "/dp_ramq/AGP71234.zip");
    e.paComp = d.fichier("absent/PaComp");
    dialogues.effacer();
    EXPECT_FALSE(envoi::Envoyer(e, dialogues));
    EXPECT_EQ(dialogues.resume(),
              (QStringList{Verification, "Erreur  | ATTENTION !!!\n\nLe fichier PaComp n'est pas "
                                         "trouvé, contactez votre fournisseur."}));
    EXPECT_FALSE(d.existe("Sauvramq/LstEnvoie.Dat"));
    EXPECT_FALSE(QFile::exists(revenu.racine() + "/dp_ramq/AGP71234.zip"));
    EXPECT_TRUE(travailVide());
}

// An upload cut midway leaves nothing under the archive's name, and the next sending goes
// through; an unreadable archive on the server is set aside, never a block; a log held by
// another workstation offers Retry, and a Cancel is told.
TEST_F(Envoi, InterrompuIllisibleJournalVerrouille) {
    serveur.couperLesEnvois(true);
    EXPECT_FALSE(envoi::Envoyer(e, dialogues));
    EXPECT_EQ(dialogues.resume(), (QStringList{Verification, Identification, Echec}));
    EXPECT_FALSE(QFile::exists(archiveServeur()));
    EXPECT_FALSE(d.existe("Sauvramq/LstEnvoie.Dat"));

    serveur.couperLesEnvois(false);
    dialogues.effacer();
    EXPECT_TRUE(envoi::Envoyer(e, dialogues));
    EXPECT_EQ(dialogues.resume(), (QStringList{Verification, Identification, Succes}));
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat").size(), 201);
    EXPECT_EQ(membres(archiveServeur()).size(), 5);

    // What an older version left: a truncated archive under the real name.
    QFile::remove(d.fichier("Sauvramq/LstEnvoie.Dat"));
    QFile tronquee(archiveServeur());
    ASSERT_TRUE(tronquee.open(QIODevice::ReadWrite) && tronquee.resize(1000));
    tronquee.close();
    dialogues.effacer();
    EXPECT_TRUE(envoi::Envoyer(e, dialogues));
    const QString aCote = "AGP71234.zip.illisible-20090203-093005";
    EXPECT_EQ(dialogues.resume(),
              (QStringList{"Serveur ramq | L'archive AGP71234.zip trouvée sur le serveur est "
                           "illisible (un envoi précédent a probablement été interrompu).\n\n"
                           "Elle a été mise de côté sur le serveur sous le nom " + aCote +
                           ".\n\nVotre envoi continue avec une nouvelle archive.",
                           Verification, Identification, Succes}));
    EXPECT_EQ(QFileInfo(serveur.racine() + "/dp_ramq/" + aCote).size(), 1000);
    EXPECT_EQ(membres(archiveServeur()).size(), 5);
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat").size(), 201);

    // The log locked by another workstation: Retry, then Cancel.
    QFile::remove(d.fichier("Sauvramq/LstEnvoie.Dat"));
    d.ecrire("Sauvramq/LstEnvoie.Dat", {});
    AutrePoste poste(d.fichier("Sauvramq/LstEnvoie.Dat"));
    ASSERT_TRUE(poste.verrouille());
    dialogues.effacer();
    dialogues.reponses = {Reponse::Reessayer, Reponse::Annuler};
    EXPECT_TRUE(envoi::Envoyer(e, dialogues));
    const QStringList r = dialogues.resume();
    ASSERT_EQ(r.size(), 6);
    EXPECT_TRUE(r[2].startsWith("Serveur ramq | Le fichier ")) << qPrintable(r[2]);
    EXPECT_EQ(r[3], r[2]);
    EXPECT_EQ(r[4], Succes);
    EXPECT_EQ(r[5], "Serveur ramq | Vos factures ont été envoyées à la RAMQ, mais l'envoi n'a pas "
                    "pu être inscrit au journal des envois (" + d.fichier("Sauvramq/LstEnvoie.Dat") +
                    ").\n\nUn nouvel envoi de la facturation 9034042 ne demandera donc pas de "
                    "confirmation.");
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat").size(), 0);
    EXPECT_TRUE(travailVide());
}

// The sending packs only what it placed: the agency's returns waiting in the work folder are
// neither sent back nor removed.
// A dialog port through which another workstation acts while a sending is under way (at its
// "Vérification" box) or while a question waits for its answer.
struct PendantLEnvoi : DialoguesScriptes {
    std::function<void()> action, pendantLaQuestion;
    void message(Icone icone, const QString& titre, const QString& texte) override {
        if (titre == "Vérification" && action)
            action();
        DialoguesScriptes::message(icone, titre, texte);
    }
    Reponse question(Icone icone, const QString& titre, const QString& texte, Boutons boutons, int defaut) override {
        if (pendantLaQuestion)
            pendantLaQuestion();
        return DialoguesScriptes::question(icone, titre, texte, boutons, defaut);
    }
};

// Another workstation puts a kept billing back online while a sending window is open: the
// window sends, checks and logs the billing it shows; neither the billing being sent nor the one
// online while it is sent can be changed meanwhile; and the billing online that was never sent
// is named before it is replaced.
TEST_F(Envoi, RemiseEnLigneDUnAutrePoste) {
    fichierfactures::fichier(d.chemin()).ajouter(enregistrementDe(factureDeBase()));
    ASSERT_TRUE(preparation::Preparer(
        d.chemin(), preparation::valeursDepuis(preparation::lireAgence(d.chemin()), Horloge::aujourdhui()), dialogues)
                    .reussi);
    const QByteArray r07 = d.lire("Sauvramq/R7123407"), r08 = d.lire("Sauvramq/R7123408");
    ASSERT_EQ(d.lire("Reqt"), r08);
    const envoi::Ouverture fenetre = envoi::ouvrir(d.chemin(), dialogues);
    ASSERT_EQ(fenetre.cheminRequete, d.fichier("Sauvramq/R7123408"));
    e.cheminRequete = fenetre.cheminRequete;
    e.cheminDemandes = fenetre.cheminDemandes;

    auto autrePoste = [&](const QStringList& arguments) {
        QProcess p;
        p.start(AUTRE_POSTE, QStringList{"remettre", d.chemin()} + arguments);
        EXPECT_TRUE(p.waitForFinished(20000));
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed() + QStringLiteral(" => %1").arg(p.exitCode());
    };
    const QString question = "Remise en ligne | La facturation en ligne R7123408 n'a jamais été transmise à la "
                             "RAMQ.\n\nSi vous remettez en ligne la facturation R7123407, TRANSMETTRE enverra "
                             "celle-ci à sa place; la facturation R7123408 restera dans la liste des facturations "
                             "précédentes.\n\nDésirez-vous continuer ?";
    const QString remise = "Kestrova | Le fichier (R7123407) a été remis en ligne pour une retransmission à la "
                           "RAMQ.\n\nVeuillez utiliser la fonction TRANSMETTRE d'une facturation (2e boite).";
    auto enCours = [](const char* envoyee, const char* demandee) {
        return QStringLiteral("Remise en ligne | La facturation %1 est en cours de transmission; la facturation %2 "
                              "ne peut pas être remise en ligne maintenant. => 1")
            .arg(envoyee, demandee);
    };
    EXPECT_EQ(autrePoste({"R7123407"}), question + " => 1");  // Cancel, the default
    EXPECT_EQ(d.lire("Reqt"), r08);
    EXPECT_EQ(autrePoste({"R7123407", "ok"}), question + "\n" + remise + " => 0");
    EXPECT_EQ(d.lire("Reqt"), r07);

    PendantLEnvoi port;
    QStringList pendant;
    port.action = [&] { pendant << autrePoste({"R7123408", "ok"}); };
    ASSERT_TRUE(envoi::Envoyer(e, port));
    e.cheminRequete = d.fichier("Sauvramq/R7123407");  // then the billing now online
    e.cheminDemandes = d.fichier("Sauvramq/D7123407");
    ASSERT_TRUE(envoi::Envoyer(e, port));
    EXPECT_EQ(pendant, QStringList({enCours("R7123408", "R7123408"), enCours("R7123407", "R7123408")}));
    EXPECT_EQ(d.lire("Reqt"), r07);

    QStringList journal;
    for (const QByteArray& l : journalenvois::lire(d.chemin()))
        journal << journalenvois::colonnes(l).mid(0, 2).join(' ');
    EXPECT_EQ(journal, QStringList({"R7123408 " + envoi::lireRequete(r08).attestation,
                                    "R7123407 " + envoi::lireRequete(r07).attestation}));
}

// A preparation made while the question before putting a billing back online waits: the new
// billing stays online, the user is told, and a sending is not refused meanwhile.
TEST_F(Envoi, PreparationPendantLaQuestionDeRemise) {
    auto preparer = [&] {
        fichierfactures::fichier(d.chemin()).ajouter(enregistrementDe(factureDeBase()));
        DialoguesScriptes silencieux;
        ASSERT_TRUE(preparation::Preparer(d.chemin(),
                                          preparation::valeursDepuis(preparation::lireAgence(d.chemin()),
                                                                     Horloge::aujourdhui()),
                                          silencieux)
                        .reussi);
    };
    preparer();  // R7123408, never sent
    PendantLEnvoi port;
    port.reponses.push_back(Reponse::Ok);
    bool envoyee = false;
    port.pendantLaQuestion = [&] {
        preparer();  // R7123409
        e.cheminRequete = d.fichier("Sauvramq/R7123408");
        e.cheminDemandes = d.fichier("Sauvramq/D7123408");
        DialoguesScriptes fenetre;
        envoyee = envoi::Envoyer(e, fenetre).envoyee;
    };
    precedentes::Facturation f;
    for (const auto& x : precedentes::lister(d.chemin()))
        if (x.requete == "R7123407")
            f = x;
    EXPECT_FALSE(precedentes::remettreEnLigne(d.chemin(), f, port));
    EXPECT_TRUE(envoyee);
    EXPECT_EQ(d.lire("Reqt"), d.lire("Sauvramq/R7123409"));
    EXPECT_EQ(port.resume().last(), "Remise en ligne | La facturation en ligne a changé entre-temps (une préparation "
                                    "ou un autre poste de travail); la facturation R7123407 n'a pas été remise en "
                                    "ligne.\n\nConsultez la liste de nouveau avant de recommencer.");
}

TEST_F(Envoi, LesRetoursDuTravailRestentAPart) {
    d.ecrire("Developpe/F71234.zip", "retours de la RAMQ");
    ASSERT_TRUE(envoi::Envoyer(e, dialogues));
    EXPECT_FALSE(membres(archiveServeur()).contains("F71234.zip"));
    EXPECT_EQ(d.lire("Developpe/F71234.zip"), "retours de la RAMQ");
}

// The support mail carries the clinic, the moment and the request file; it goes only once the
// user agrees, and a server that refuses is told, never taken for a success.
TEST_F(Envoi, CourrielAuSoutien) {
    ServeurSmtp smtp;
    const auto m = envoi::courrielSoutien(e.clinique, e.cheminRequete, smtp.hote(), Horloge::maintenant());
    const QString question = "Courriel au soutien technique | Envoyer un courriel, avec votre fichier "
                             "requête R7123407, au soutien technique (soutien@kestrova.ca) ?";
    dialogues.reponses = {Reponse::Non};
    EXPECT_FALSE(envoi::EcrireAuSoutien(m, dialogues));
    EXPECT_EQ(dialogues.resume(), QStringList{question});
    EXPECT_TRUE(smtp.messages().isEmpty());

    dialogues.effacer();
    dialogues.reponses = {Reponse::Oui};
    EXPECT_TRUE(envoi::EcrireAuSoutien(m, dialogues));
    EXPECT_EQ(dialogues.resume(), (QStringList{question, "Courriel au soutien technique | Votre message a "
                                                         "été envoyé au soutien technique (soutien@kestrova.ca)."}));
    const auto recus = smtp.messages();
    ASSERT_EQ(recus.size(), 1);
    EXPECT_EQ(recus[0].de, "lac@exemple.ca");
    EXPECT_EQ(recus[0].a, QStringList{"soutien@kestrova.ca"});
    EXPECT_EQ(recus[0].sujet, "FACTURATION À LA RAMQ");
    EXPECT_EQ(recus[0].corps, "Clinique: Clinique du Lac\r\n819-555-0101\r\nlac@exemple.ca\r\n"
                              "20090203\r\n09:30:05\r\n");
    ASSERT_EQ(recus[0].pieces.size(), 1);
    EXPECT_EQ(recus[0].pieces[0].nom, "R7123407");
    EXPECT_EQ(recus[0].pieces[0].octets, d.lire("Sauvramq/R7123407"));

    ServeurSmtp refus(true);
    dialogues.effacer();
    dialogues.reponses = {Reponse::Oui};
    EXPECT_FALSE(envoi::EcrireAuSoutien(
        envoi::courrielSoutien(e.clinique, e.cheminRequete, refus.hote(), Horloge::maintenant()), dialogues));
    ASSERT_EQ(dialogues.boites().size(), 2);
    EXPECT_EQ(dialogues.boites()[1].icone, Icone::Critique);
    EXPECT_EQ(dialogues.boites()[1].texte, "Le message n'a pas pu être expédié.\n\nLe serveur de courrier "
                                           "« 127.0.0.1 » a refusé le message (réponse 550).");
}

TEST(MontantDollars, JamaisCoupe) {
    const struct {
        qint64 cents;
        const char* attendu;
    } cas[] = {{0, "$ .00"},           {4055, "$ 40.55"},         {123456, "$ 1,234.56"},
               {1234567, "$12,345.67"}, {12345678, "$123456.78"}};
    for (const auto& c : cas)
        EXPECT_EQ(envoi::montantDollars(c.cents, 10), c.attendu) << c.cents;
}

}  // namespace
