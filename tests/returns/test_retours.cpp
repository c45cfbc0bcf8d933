#include "platform/horloge.h"
#include "records/encodage.h"
#include "returns/affichageretour.h"
#include "returns/impressionretour.h"
#include "returns/recuperation.h"
#include "returns/retours.h"
#include "support/archive.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/petitdisque.h"
#include "support/retours.h"
#include "support/serveurftp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMap>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDate Aujourdhui(2026, 3, 10);

// An error return: 12 valid requests, fees of 1,234,567.89 $ (nine digits).
QByteArray retourErreur() {
    return retour::fichier({retour::entete("9034042", "045"),
                            retour::erreur("9034042", "123456", "000002", "NAM INVALIDE", "101"),
                            retour::explication("01", "Le NAM est invalide", "101", "0"),
                            retour::professionnel("123456", 13, 12, 1, 0, 123456789),
                            retour::totaux(1, 13, 12, 1, 0, 123456789)});
}

QByteArray etatDeCompte() {
    return retour::fichier({" 16Entete", retour::etat00("71234", "07", "260305", "260228"),
                            " 18"});
}

TEST(Retours, ResumeDeChaqueFichier) {
    struct Cas {
        const char* nom;
        QByteArray contenu;
        QStringList attendu;
    } cas[] = {
        {"ER9034042.rmq", retourErreur(), {"ER9034042.rmq", "2026-02-15", "9034042", "12", "1,234,567.89", ""}},
        {"er1.RMQ", retour::fichier({retour::entete("1", "001"), retour::totaux(0, 1, 1, 0, 0, 50)}),
         {"er1.RMQ", "2026-01-02", "1", "1", ".50", ""}},
        // Processed in the autumn, fetched in March: last year's date, never a future one.
        {"ER2.rmq", retour::fichier({retour::entete("2", "300")}), {"ER2.rmq", "2025-10-28", "2", "", "", ""}},
        // A cut totals record reads zeros; a missing header leaves its cells blank.
        {"ER3.rmq", retour::fichier({" 28       000003"}), {"ER3.rmq", "", "", "0", ".00", ""}},
        {"ER4.rmq", QByteArray(), {"ER4.rmq", "", "", "", "", ""}},
        {"ER5.rmq", retour::fichier({" 21abc"}), {"ER5.rmq", "", "abc", "", "", ""}},
        // Bare line feeds, a last line without its end: the first header and totals count.
        {"ER6.rmq", retour::entete("6", "010") + "\n" + retour::entete("7", "020") + "\r\n" + retour::totaux(0, 2, 2, 0, 0, 75),
         {"ER6.rmq", "2026-01-11", "6", "2", ".75", ""}},
        {"EC7123407.rmq", etatDeCompte(), {"EC7123407.rmq", "2026/03/05", "", "", "", "07"}},
        {"EC8.rmq", retour::fichier({"x", " 1700  71234"}), {"EC8.rmq", "", "", "", "", ""}},
        {"XX1.rmq", retourErreur(), {"XX1.rmq", "", "", "", "", ""}},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(retours::resumer(c.nom, c.contenu, Aujourdhui).colonnes(), c.attendu) << c.nom;
}

// The year goes back only for a date more than 31 days ahead: a return of late December
// fetched in January.
TEST(Retours, DateDeTraitement) {
    const struct {
        const char* jours;
        QDate aujourdhui, attendue;
    } cas[] = {
        {"341", {2026, 12, 7}, {2026, 12, 8}},  // a day ahead: this year, not the year before
        {"364", {2026, 12, 1}, {2026, 12, 31}},
        {"040", {2026, 1, 10}, {2026, 2, 10}},  // 31 days ahead, still this year
        {"041", {2026, 1, 10}, {2025, 2, 11}},
        {"360", {2027, 1, 5}, {2026, 12, 27}},
        {"365", {2029, 1, 2}, {2028, 12, 31}},  // a leap year before
        {"abc", {2026, 3, 10}, {}},
    };
    for (const auto& c : cas)
        EXPECT_EQ(retours::dateTraitement(c.jours, c.aujourdhui), c.attendue) << c.jours;
}

// Amounts are widened, never cut; long messages are cut into pieces, none dropped; the
// messages file is read field by field, however many pairs it holds.
TEST(Retours, MontantsMorceauxEtMessages) {
    using namespace impressionretour;
    EXPECT_EQ(argent(123456789), "$ 1,234,567.89");
    EXPECT_EQ(argent(12345), "  $ 123.45");
    EXPECT_EQ(argent(0, 11), "      $ .00");
    const QString sansBlanc(130, 'x');
    EXPECT_EQ(morceaux(sansBlanc), (QStringList{QString(100, 'x'), QString(30, 'x')}));
    const QString blancAu100e = QString(99, 'a') + " " + QString(50, 'b');
    EXPECT_EQ(morceaux(blancAu100e), (QStringList{QString(99, 'a') + " ", QString(50, 'b')}));
    const QString blancPlusLoin = QString(120, 'a') + " " + QString(10, 'b');
    EXPECT_EQ(morceaux(blancPlusLoin), (QStringList{QString(120, 'a') + " ", QString(10, 'b')}));
    EXPECT_EQ(morceaux("court"), QStringList{"court"});

    const QList<MessageExplicatif> m = lireMessages(
        encodage::versOctets("101,\"Le NAM, est invalide\"\r\n\r\n 205 , Date postérieure\r\n318\r\n"));
    ASSERT_EQ(m.size(), 3);
    EXPECT_EQ(m[0].code, "101");
    EXPECT_EQ(m[0].texte, "Le NAM, est invalide");
    EXPECT_EQ(m[1].code, "205");
    EXPECT_EQ(m[1].texte, "Date postérieure");
    EXPECT_EQ(m[2].code, "318");
    EXPECT_EQ(m[2].texte, "");
    QByteArray beaucoup;
    for (int i = 0; i < 400; ++i)
        beaucoup += QByteArray::number(i) + ",\"texte\"\r\n";
    EXPECT_EQ(lireMessages(beaucoup).size(), 400);
}

TEST(Retours, AfficheurDeChaqueGenre) {
    Horloge::fixer(QDateTime(Aujourdhui, QTime(10, 0)));
    DossierTemporaire d;
    const QStringList barres(7, "========= ");
    const QStringList entetesDetails = {"No ", "Dem.", "Récep", "Acte", "Bén.", "Co", "Montant"};
    struct Cas {
        const char* nom;
        QByteArray contenu;
        std::array<std::optional<QString>, 5> etiquettes;
        QList<QStringList> rangees;
        QStringList messages;
    } cas[] = {
        {"EC1.rmq",
         retour::fichier({" 16x", retour::etat00("71234", "07", "260305", ""),
                          retour::etat("01", {{10, "1234567"}, {18, "12345"}}),
                          retour::detail("001", "12345", "    ", "000", 2855), retour::etat("15", {}),
                          retour::detail("002", "12346", "0901", "101", 123456789), " 18"}),
         {"RÉCEPTION DES ÉTATS DE COMPTE", "Agence 71234", "# Paiement 07", "Professionnel 1234567", "Groupe 12345"},
         {barres, {" ", "", "", "", "", "", ""}, {"Opto 1234567", "", "", "", "", "", ""}, entetesDetails,
          {"001", "12345", "26030", " ", "0101", "01", "    $ 28.55"},
          barres, {" ", "", "", "", "", "", ""}, {"Opto 1234567", "", "", "", "", "", ""}, entetesDetails,
          {"002", "12346", "26030", "0901", "0101", "01", "$ 1,234,567.89"}},
         {"Message | Pour plus de détails, veuillez imprimer cet état de compte ."}},
        {"ER1.rmq",
         retour::fichier({retour::entete("9034042", "045"),
                          retour::erreur("9034042", "123456", "000002", "A", "101"),
                          retour::erreur("9034042", "123456", "000003", "B", "101"),
                          retour::explication("01", "C", "101", "0"),
                          retour::professionnel("123456", 13, 12, 1, 0, 123456789),
                          retour::totaux(2, 13, 12, 1, 0, 123456789)}),
         {"RETOUR DES ERREURS", std::nullopt, std::nullopt, "2026-02-15", "9034042"},
         {{" ", "", "", "", "", "", ""},
          {"Professionnel", "Soumises", "Valides", "Refusées", "Annulées", "Honoraires", ""},
          {"123456", "000013", "000012", "000001", "000000", "1,234,567.89", ""},
          {" ", "", "", "", "", "", ""},
          {"Nombre total", "de demandes", "de paiement", "==========", "==========", "==========", ""},
          {"Erreur(s)", "Soumises", "Valides", "Refusées", "Annulées", "Honoraires", ""},
          {"000002", "000013", "000012", "000001", "000000", "1,234,567.89", ""},
          {"========= ", "", "", "", "", "", ""}, {" ", "", "", "", "", "", ""}},
         {"Message | Veuillez imprimer ce retour d'erreur(s) pour plus de détails."}},
        {"ER2.rmq", "", {}, {}, {}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        d.ecrire(c.nom, c.contenu);
        DialoguesScriptes dialogues;
        const auto a = affichageretour::AfficherRetour(d.fichier(c.nom), dialogues);
        ASSERT_TRUE(a.has_value());
        EXPECT_EQ(a->etiquettes, c.etiquettes);
        EXPECT_EQ(a->rangees(), c.rangees);
        EXPECT_EQ(dialogues.resume(), c.messages);
    }
    DialoguesScriptes dialogues;
    EXPECT_FALSE(affichageretour::AfficherRetour(d.fichier("ER1.txt"), dialogues).has_value());
    EXPECT_EQ(dialogues.resume(), QStringList{"Impression | Aucun fichier à imprimer..."});
    Horloge::liberer();
}

// The archiver's own refusal: nothing is written anywhere when one member is unsafe.
TEST(PowerArc, ExtraitOuRefuseLArchiveEntiere) {
    const QByteArray er = retourErreur();
    struct Cas {
        const char* dangereux;  // the unsafe member, or nullptr
        int statut;
    } cas[] = {{nullptr, 0}, {"../x.rmq", 4}, {"sous/x.rmq", 4}, {"dossier/", 4},
               {"C:x.rmq", 4}, {"a\\x.rmq", 4}, {"@absolu", 4}};
    for (const Cas& c : cas) {
        QTemporaryDir racine;
        const QString travail = racine.filePath("travail");
        QDir().mkpath(travail);
        QString dangereux = c.dangereux ? QString(c.dangereux) : QString();
        if (dangereux == "@absolu")
            dangereux = racine.filePath("x.rmq");
        QList<QPair<QString, QByteArray>> contenu = {{"ER1.rmq", er}, {"EC1.rmq", "etat"}};
        if (!dangereux.isEmpty())
            contenu.append({dangereux, "hors du dossier"});
        creerArchive(racine.filePath("F71234.zip"), contenu);
        QProcess p;
        p.start(POWERARC, {"-e", racine.filePath("F71234.zip"), travail + "/"});
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitCode(), c.statut) << c.dangereux;
        const QStringList extraits = QDir(travail).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot);
        if (c.statut == 0) {
            EXPECT_EQ(extraits, (QStringList{"EC1.rmq", "ER1.rmq"}));
            QFile extrait(travail + "/ER1.rmq");
            ASSERT_TRUE(extrait.open(QIODevice::ReadOnly));
            EXPECT_EQ(extrait.readAll(), er);
        } else {
            EXPECT_TRUE(extraits.isEmpty()) << c.dangereux << extraits.join(",").toStdString();
            EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains("rien n'a été extrait"));
            EXPECT_FALSE(QFileInfo::exists(racine.filePath("x.rmq")));
        }
    }
    for (const QStringList& arguments : {QStringList{"-e", "/aucune/F.zip", QDir::tempPath()}, QStringList{"-x"}}) {
        QProcess p;
        p.start(POWERARC, arguments);
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_NE(p.exitCode(), 0);
        EXPECT_FALSE(p.readAllStandardError().isEmpty());
    }
}

// An archive claiming more than a returns archive may hold, or more than the memory holds, is
// refused whole with its reason: the archiver never crashes.
TEST(PowerArc, RefuseSansPlanterCeQuiNeTientPas) {
    const QByteArray quaranteMio(40 << 20, ' '), soixanteMio(60 << 20, ' ');
    struct Cas {
        const char* nom;
        std::function<void(const QString&)> creer;
        int memoireKio;  // the archiver's address space, 0 for no limit
        int statut;
        QString message;
    } cas[] = {
        {"1 Tio annoncé", [](const QString& a) { creerArchiveMensongere(a, "ER1.rmq", "petit", quint64(1) << 40); },
         0, 3, "le membre « ER1.rmq » annonce 1099511627776 octets"},
        {"80 Mio en deux membres",
         [&](const QString& a) { creerArchive(a, {{"ER1.rmq", quaranteMio}, {"ER2.rmq", quaranteMio}}); }, 0, 3,
         "ses membres annoncent ensemble plus que les 64 Mio permis une fois décompressés (dépassés au membre « ER2.rmq »)"},
        {"petit, mémoire comptée", [](const QString& a) { creerArchive(a, {{"ER1.rmq", "petit"}}); }, 90000, 0, ""},
        {"60 Mio, mémoire comptée", [&](const QString& a) { creerArchive(a, {{"ER1.rmq", soixanteMio}}); }, 90000, 3,
         "La mémoire manque pour décompresser l'archive."},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        QTemporaryDir racine;
        const QString archive = racine.filePath("F71234.zip"), travail = racine.filePath("travail");
        QDir().mkpath(travail);
        c.creer(archive);
        const QString limite = c.memoireKio ? QString("ulimit -v %1; ").arg(c.memoireKio) : QString();
        QProcess p;
        p.start("/bin/sh", {"-c", limite + "exec \"$0\" -e \"$1\" \"$2\"", POWERARC, archive, travail + "/"});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), c.statut);
        const QString erreurs = QString::fromUtf8(p.readAllStandardError());
        EXPECT_TRUE(erreurs.contains(c.message)) << erreurs.toStdString();
        EXPECT_EQ(QDir(travail).entryList(QDir::Files).size(), c.statut == 0 ? 1 : 0);
    }
}

class Recuperation : public ::testing::Test {
protected:
    void SetUp() override {
        Horloge::fixer(QDateTime(Aujourdhui, QTime(10, 0)));
        QFile::copy(POWERARC, d.fichier("PowerArc"));
        QFile::setPermissions(d.fichier("PowerArc"), QFile::ExeOwner | QFile::ReadOwner);
        ftp = {serveur.hote(), "tollmark", "vorpel"};
    }
    void TearDown() override {
        Horloge::liberer();
        recuperation::delaiArchiveurMs = 60000;
    }

    QString archiveServeur() const { return serveur.racine() + "/fich_ramq/F71234.zip"; }
    void deposer(const QList<QPair<QString, QByteArray>>& contenu) { creerArchive(archiveServeur(), contenu); }
    recuperation::Resultat recuperer() { return recuperation::Recuperer(d.chemin(), ftp, "71234", dialogues); }
    void remplacerArchiveur(const QByteArray& script) {
        d.ecrire("PowerArc", "#!/bin/sh\n" + script + "\n");
        QFile::setPermissions(d.fichier("PowerArc"), QFile::ExeOwner | QFile::ReadOwner);
    }

    DossierTemporaire d;
    ServeurFtp serveur;
    ParametresFtp ftp;
    DialoguesScriptes dialogues;
};

TEST_F(Recuperation, ClasseEtListeLesRetoursPuisEfface) {
    const QByteArray er = retourErreur(), ec = etatDeCompte();
    deposer({{"ER9034042.rmq", er}, {"LISEZMOI.txt", "autre"}, {"XX000001.rmq", "ni ER ni EC"},
             {"EC7123407.rmq", ec}});
    // Kept already by a fetch whose deletion on the server failed: the same bytes are no conflict.
    d.ecrire("Sauvramq/EC7123407.rmq", ec);

    const recuperation::Resultat r = recuperer();
    ASSERT_EQ(r.lignes.size(), 2);
    EXPECT_EQ(r.lignes[0].colonnes(), (QStringList{"EC7123407.rmq", "2026/03/05", "", "", "", "07"}));
    EXPECT_EQ(r.lignes[1].colonnes(),
              (QStringList{"ER9034042.rmq", "2026-02-15", "9034042", "12", "1,234,567.89", ""}));
    EXPECT_EQ(dialogues.resume(),
              (QStringList{"Kestrova | Votre agence a été identifiée sur le serveur.\n\nCliquez sur Ok pour poursuivre.",
                           "Kestrova | Sélectionnez un ou le fichier dans la liste pour impression."}));
    EXPECT_TRUE(r.archiveSupprimee);
    EXPECT_FALSE(QFileInfo::exists(archiveServeur()));
    for (const QString dossier : {"Sauvramq/", "Developpe/"}) {
        EXPECT_EQ(d.lire(dossier + "ER9034042.rmq"), er);
        EXPECT_EQ(d.lire(dossier + "EC7123407.rmq"), ec);
    }
    EXPECT_EQ(QDir(d.fichier("Sauvramq")).entryList(QDir::Files),
              (QStringList{"EC7123407.rmq", "ER9034042.rmq"}));

    dialogues.effacer();
    EXPECT_TRUE(recuperer().lignes.isEmpty());
    EXPECT_EQ(dialogues.resume(),
              QStringList{"Message | IL N'Y A AUCUN FICHIER SUR LE SERVEUR.\n\nESSAYEZ PLUS TARD."});
}

// Whatever goes wrong here, the archive stays on the server, no success is announced, and nothing
// is written outside the work folder.
TEST_F(Recuperation, UnEchecGardeLArchiveSurLeServeur) {
    const QString parent = QFileInfo(d.chemin()).absolutePath();
    const QString absolu = parent + "/absolu-" + QFileInfo(d.chemin()).fileName() + ".rmq";
    const QByteArray er = retourErreur();
    struct Cas {
        QString nom;
        QList<QPair<QString, QByteArray>> contenu;
        std::function<void()> preparer;
        QString message;
    } cas[] = {
        {"archiveur absent", {{"ER1.rmq", er}}, [&] { QFile::remove(d.fichier("PowerArc")); },
         "ATTENTION !!!\n\nLe fichier PaComp n'est pas trouvé, contactez votre fournisseur."},
        {"archiveur en échec", {{"ER1.rmq", er}}, [&] { remplacerArchiveur("echo 'archive abîmée' >&2; exit 3"); },
         "Le programme PowerArc a échoué (code 3).\narchive abîmée"},
        {"archiveur bloqué", {{"ER1.rmq", er}}, [&] { remplacerArchiveur("exec sleep 30"); },
         "Le programme PowerArc n'a pas terminé dans le délai permis"},
        {"archiveur muet", {{"ER1.rmq", er}}, [&] { remplacerArchiveur("exit 0"); },
         "Le fichier ER1.rmq n'a pas été extrait de l'archive tel qu'il y est."},
        {"mise de côté refusée", {}, [&] {
             QFile f(archiveServeur()); f.open(QIODevice::WriteOnly); f.write("PK pas une archive");
             QDir().mkpath(archiveServeur() + ".illisible-20260310-100000");  // the server cannot rename
         }, "L'archive F71234.zip est illisible: ce n'est pas une archive ZIP valide.\n\nL'archive F71234.zip est conservée"},
    };
    recuperation::delaiArchiveurMs = 1500;
    for (Cas& c : cas) {
        SCOPED_TRACE(c.nom.toStdString());
        QDir(d.fichier("Developpe")).removeRecursively();
        QFile::remove(d.fichier("PowerArc"));
        QFile::copy(POWERARC, d.fichier("PowerArc"));
        QFile::setPermissions(d.fichier("PowerArc"), QFile::ExeOwner | QFile::ReadOwner);
        if (!c.contenu.isEmpty())
            deposer(c.contenu);
        if (c.preparer)
            c.preparer();
        QDir(d.fichier("Developpe")).mkpath(".");
        const QStringList avant = QDir(d.chemin()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const QByteArray garde = d.existe("Sauvramq/ER1.rmq") ? d.lire("Sauvramq/ER1.rmq") : QByteArray();
        dialogues.effacer();
        QElapsedTimer chrono;
        chrono.start();
        recuperer();
        EXPECT_LT(chrono.elapsed(), 10000);
        ASSERT_FALSE(dialogues.resume().isEmpty());
        EXPECT_TRUE(dialogues.resume().last().contains(c.message)) << dialogues.resume().join("\n").toStdString();
        EXPECT_FALSE(dialogues.resume().join("").contains("Sélectionnez"));
        EXPECT_TRUE(QFileInfo::exists(archiveServeur()));
        EXPECT_EQ(QDir(d.chemin()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), avant);
        EXPECT_EQ(d.existe("Sauvramq/ER1.rmq") ? d.lire("Sauvramq/ER1.rmq") : QByteArray(), garde);
        QFile::remove(d.fichier("Sauvramq/ER1.rmq"));
    }
}

// An archive that can never be unpacked is set aside on the server under a name that says when
// and why; the user is told, nothing is filed, and the next fetch takes the agency's next archive.
TEST_F(Recuperation, UneArchiveIllisibleEstMiseDeCote) {
    const QString parent = QFileInfo(d.chemin()).absolutePath();
    const QString absolu = parent + "/absolu-" + QFileInfo(d.chemin()).fileName() + ".rmq";
    const QByteArray er = retourErreur();
    const QString refusee = "Par prudence, rien n'en a été extrait.";
    struct Cas {
        const char* nom;
        std::function<void()> deposer;
        QString raison, cause;
    } cas[] = {
        {"1 Tio annoncé", [&] { creerArchiveMensongere(archiveServeur(), "ER1.rmq", "petit", quint64(1) << 40); },
         "illisible", "L'archive F71234.zip est illisible: le membre « ER1.rmq » annonce 1099511627776 octets une "
                      "fois décompressé, plus que les 64 Mio permis."},
        {"pas une archive", [&] { QFile f(archiveServeur()); f.open(QIODevice::WriteOnly); f.write("PK pas une archive"); },
         "illisible", "L'archive F71234.zip est illisible: ce n'est pas une archive ZIP valide."},
        {"chemin relatif", [&] { deposer({{"ER1.rmq", er}, {"../x.rmq", "hors"}}); }, "refusee",
         "L'archive F71234.zip contient « ../x.rmq », qui n'est pas un simple nom de fichier. " + refusee},
        {"chemin absolu", [&] { deposer({{"ER1.rmq", er}, {absolu, "hors"}}); }, "refusee",
         "L'archive F71234.zip contient « " + absolu + " », qui n'est pas un simple nom de fichier. " + refusee},
        {"dossier", [&] { deposer({{"ER1.rmq", er}, {"dossier/", {}}}); }, "refusee",
         "L'archive F71234.zip contient « dossier/ », qui n'est pas un simple nom de fichier. " + refusee},
        {"nom trop long", [&] { deposer({{"ER" + QString(300, '1') + ".rmq", er}}); }, "refusee",
         "L'archive F71234.zip contient « ER" + QString(300, '1') + ".rmq », qui n'est pas un simple nom de fichier. " +
             refusee},
        {"caractère interdit", [&] { deposer({{"ER1?.rmq", er}}); }, "refusee",
         "L'archive F71234.zip contient « ER1?.rmq », qui n'est pas un simple nom de fichier. " + refusee},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        c.deposer();
        QFile serveurArchive(archiveServeur());
        ASSERT_TRUE(serveurArchive.open(QIODevice::ReadOnly));
        const QByteArray octets = serveurArchive.readAll();
        serveurArchive.close();
        const QString aCote = "F71234.zip." + c.raison + "-20260310-100000";
        dialogues.effacer();
        const recuperation::Resultat r = recuperer();
        EXPECT_EQ(dialogues.resume(),
                  QStringList{"Erreur  | " + c.cause + "\n\nElle a été mise de côté sur le serveur sous le nom " +
                              aCote + ", où elle reste à consulter; aucun retour n'en a été classé. Les prochaines "
                              "vérifications du serveur se feront normalement.\n\nContactez votre fournisseur "
                              "pour obtenir les retours qu'elle contenait."});
        EXPECT_EQ(r.archiveMiseDeCote, aCote);
        EXPECT_TRUE(r.lignes.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(archiveServeur()));
        QFile miseDeCote(serveur.racine() + "/fich_ramq/" + aCote);
        ASSERT_TRUE(miseDeCote.open(QIODevice::ReadOnly));
        EXPECT_EQ(miseDeCote.readAll(), octets);
        miseDeCote.remove();
        EXPECT_TRUE(QDir(d.fichier("Developpe")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
        EXPECT_TRUE(QDir(d.fichier("Sauvramq")).entryList(QDir::Files).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(parent + "/x.rmq"));
        EXPECT_FALSE(QFileInfo::exists(absolu));

        deposer({{"ER1.rmq", er}});
        const recuperation::Resultat suivante = recuperer();
        ASSERT_EQ(suivante.lignes.size(), 1);
        EXPECT_EQ(suivante.lignes[0].fichier, "ER1.rmq");
        EXPECT_TRUE(suivante.archiveSupprimee);
        QFile::remove(d.fichier("Sauvramq/ER1.rmq"));
        QDir(d.fichier("Developpe")).removeRecursively();
    }
}

// A return whose name Sauvramq keeps with other bytes is filed under a name of its own, next to
// the kept one, which never changes; the user hears both names and the fetch completes. The same
// archive fetched again finds it kept and files it nowhere else.
TEST_F(Recuperation, UnNomDejaGardeClasseLeRetourAPart) {
    const QByteArray er = retourErreur(), ancien = "ancien retour", autre = "autre ancien";
    // Names that sort close to the kept ones.
    const QMap<QString, QByteArray> voisins = {{"ER90340420.rmq", "v"}, {"ER9034042A.rmq", "v"},
                                               {"EC71234070.rmq", "v"}, {"EC7123407A.rmq", "v"}};
    struct Cas {
        const char* recu;
        QMap<QString, QByteArray> gardes;
        QString classe;
    } cas[] = {
        {"ER9034042.rmq", {{"ER9034042.rmq", ancien}}, "ER9034042-2.rmq"},
        {"ER9034042.rmq", {{"ER9034042.rmq", ancien}, {"ER9034042-2.rmq", autre}}, "ER9034042-3.rmq"},
        {"ER9034042.rmq", {{"er9034042.RMQ", ancien}}, "er9034042-2.RMQ"},
        {"EC7123407.rmq", {{"EC7123407.rmq", ancien}}, "EC7123407-2.rmq"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.recu);
        QDir(d.fichier("Sauvramq")).removeRecursively();
        QDir(d.fichier("Developpe")).removeRecursively();
        QMap<QString, QByteArray> attendus = voisins;
        attendus.insert(c.gardes);
        for (auto [nom, octets] : attendus.asKeyValueRange())
            d.ecrire("Sauvramq/" + nom, octets);
        attendus[c.classe] = er;
        for (int fois = 1; fois <= 2; ++fois) {
            deposer({{c.recu, er}});
            dialogues.effacer();
            const recuperation::Resultat r = recuperer();
            ASSERT_EQ(r.lignes.size(), 1);
            EXPECT_EQ(r.lignes[0].fichier, c.classe);
            EXPECT_EQ(dialogues.resume().mid(1),
                      (QStringList{"Kestrova | Le dossier des archives garde déjà un fichier " + QString(c.recu) +
                                       " dont le contenu est différent; il est conservé tel quel. Le nouveau "
                                       "retour reçu sous ce nom est classé sous le nom " + c.classe + ".",
                                   "Kestrova | Sélectionnez un ou le fichier dans la liste pour impression."}));
            EXPECT_TRUE(r.archiveSupprimee);
            EXPECT_FALSE(QFileInfo::exists(archiveServeur()));
            QMap<QString, QByteArray> gardes;
            for (const QString& nom : QDir(d.fichier("Sauvramq")).entryList(QDir::Files))
                gardes[nom] = d.lire("Sauvramq/" + nom);
            EXPECT_EQ(gardes, attendus) << fois;
            // The work copy bears the new name: it is the one printed, then filed.
            EXPECT_EQ(QDir(d.fichier("Developpe")).entryList(QDir::Files), (QStringList{c.classe, "F71234.zip"}));
        }
        // In the archive section the new name comes next to the kept ones of that name.
        QStringList liste;
        for (const retours::Resume& l : retours::listerArchives(d.chemin(), retours::genre(c.recu), Aujourdhui))
            liste << l.fichier;
        QStringList memeNom = liste;
        memeNom.removeIf([&](const QString& n) { return voisins.contains(n); });
        EXPECT_EQ(liste.mid(liste.indexOf(memeNom.value(0)), memeNom.size()), memeNom) << liste.join(",").toStdString();
    }
}

}  // namespace

namespace {

// A full disk while a return is filed: nothing half-written in Sauvramq, the server archive kept.
TEST(RecuperationDisquePlein, RienDAmputeLArchiveResteSurLeServeur) {
    PetitDisque disque(1 << 20);
    KESTROVA_EXIGER_PETIT_DISQUE(disque);
    ServeurFtp serveur;
    QFile::link(POWERARC, disque.fichier("PowerArc"));
    QByteArray gros(200000, ' ');
    for (char& c : gros)
        c = char('0' + QRandomGenerator::global()->bounded(10));  // does not compress
    const QByteArray er = retour::fichier({retour::entete("9034042", "045"), gros});
    creerArchive(serveur.racine() + "/fich_ramq/F71234.zip", {{"ER1.rmq", er}});
    QDir().mkpath(disque.fichier("Sauvramq"));
    // Room for the download and the unpacking, not for the copy into Sauvramq.
    disque.laisserLibre(470 * 1024);
    DialoguesScriptes dialogues;
    const auto r = recuperation::Recuperer(disque.chemin(), {serveur.hote(), "tollmark", "vorpel"}, "71234", dialogues);
    EXPECT_TRUE(r.lignes.isEmpty());
    EXPECT_TRUE(dialogues.resume().last().contains("Disque plein")) << dialogues.resume().join("\n").toStdString();
    EXPECT_TRUE(dialogues.resume().last().contains("est conservée sur le serveur"));
    EXPECT_TRUE(QFileInfo::exists(serveur.racine() + "/fich_ramq/F71234.zip"));
    EXPECT_TRUE(QDir(disque.fichier("Sauvramq")).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

}  // namespace
