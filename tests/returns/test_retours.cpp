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
        {"EC7123407.rmq", etatDeCompte(), {"EC7123407.rmq", "2026/03/05", "", "", "", "07"}},
        {"EC8.rmq", retour::fichier({"x", " 1700  71234"}), {"EC8.rmq", "", "", "", "", ""}},
        {"XX1.rmq", retourErreur(), {"XX1.rmq", "", "", "", "", ""}},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(retours::resumer(c.nom, c.contenu, Aujourdhui).colonnes(), c.attendu) << c.nom;
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
        EXPECT_EQ(a->rangees, c.rangees);
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

// Whatever goes wrong, the archive stays on the server, no success is announced, and nothing
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
        {"chemin relatif", {{"ER1.rmq", er}, {"../x.rmq", "hors"}}, {}, "contient « ../x.rmq »"},
        {"chemin absolu", {{"ER1.rmq", er}, {absolu, "hors"}}, {}, "n'est pas un simple nom de fichier"},
        {"dossier", {{"ER1.rmq", er}, {"dossier/", {}}}, {}, "contient « dossier/ »"},
        {"illisible", {}, [&] { QFile f(archiveServeur()); f.open(QIODevice::WriteOnly); f.write("PK pas une archive"); },
         "illisible"},
        {"archiveur absent", {{"ER1.rmq", er}}, [&] { QFile::remove(d.fichier("PowerArc")); },
         "ATTENTION !!!\n\nLe fichier PaComp n'est pas trouvé, contactez votre fournisseur."},
        {"archiveur en échec", {{"ER1.rmq", er}}, [&] { remplacerArchiveur("echo 'archive abîmée' >&2; exit 3"); },
         "Le programme PowerArc a échoué (code 3).\narchive abîmée"},
        {"archiveur bloqué", {{"ER1.rmq", er}}, [&] { remplacerArchiveur("exec sleep 30"); },
         "Le programme PowerArc n'a pas terminé dans le délai permis"},
        {"archiveur muet", {{"ER1.rmq", er}}, [&] { remplacerArchiveur("exit 0"); },
         "Le fichier ER1.rmq n'a pas été extrait de l'archive tel qu'il y est."},
        {"autre fichier gardé", {{"ER1.rmq", er}}, [&] { d.ecrire("Sauvramq/ER1.rmq", "déjà reçu, autre contenu"); },
         "garde déjà un fichier ER1.rmq dont le contenu est différent"},
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
        EXPECT_FALSE(QFileInfo::exists(parent + "/x.rmq"));
        EXPECT_FALSE(QFileInfo::exists(absolu));
        EXPECT_FALSE(d.existe("Developpe/dossier"));
        EXPECT_EQ(d.existe("Sauvramq/ER1.rmq") ? d.lire("Sauvramq/ER1.rmq") : QByteArray(), garde);
        QFile::remove(d.fichier("Sauvramq/ER1.rmq"));
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
