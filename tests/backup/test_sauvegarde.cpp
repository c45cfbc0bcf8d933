#include "backup/sauvegarde.h"
#include "platform/archivezip.h"
#include "platform/fichiers.h"
#include "platform/horloge.h"
#include "platform/reglages.h"
#include "records/facture.h"
#include "support/archive.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/petitdisque.h"
#include "support/retours.h"
#include "transmission/preparation.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <memory>
#include <numeric>
#include <sys/time.h>

namespace {

const QByteArray Agence = "R7123407D71234070041ABCDEFGHIJKLMNO041";

// Every file of a folder by its relative name ("Sauvramq/Ftmp.Fil"), and every folder ending
// with "/", byte for byte.
QMap<QString, QByteArray> arbre(const QString& racine, const QStringList& sauf = {}) {
    QMap<QString, QByteArray> tout;
    QDirIterator i(racine, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                   QDirIterator::Subdirectories);
    while (i.hasNext()) {
        const QString chemin = i.next();
        const QString relatif = QDir(racine).relativeFilePath(chemin);
        if (sauf.contains(relatif.section('/', 0, 0)))
            continue;
        tout[i.fileInfo().isDir() ? relatif + '/' : relatif] = i.fileInfo().isDir() ? QByteArray() : fichiers::lire(chemin);
    }
    return tout;
}

// A clinic's folder with something in every file of the table: invoices in memory, a kept
// billing (prepared), returns, statistics, the queue, the sending log, the patient records.
void remplirClinique(const DossierTemporaire& d) {
    d.ecrire("Kestrova.Cfg", donnees("Kestrova.Cfg.defaut"));
    preparerDossier(d, Agence, {enregistrementDe(factureDeBase()), enregistrementDe(factureDeBase())});
    DialoguesScriptes port;
    ASSERT_TRUE(preparation::Preparer(d.chemin(),
                                      preparation::valeursDepuis(preparation::lireAgence(d.chemin()), Horloge::aujourdhui()),
                                      port)
                    .reussi);
    d.ecrire("Sauvramq/Ftmp.Fil", enregistrementDe(factureDeBase()));
    d.ecrire("Sauvramq/STA2026.Dat", QByteArray(3 * 97, '7'));
    d.ecrire("Sauvramq/LstEnvoie.Dat", QByteArray(201, 'L'));
    d.ecrire("Sauvramq/ER7123401.rmq", retour::fichier({retour::entete("9034042", "045")}));
    d.ecrire("MdiTmp.Dat", QByteArray(2 * 188, 'Q'));
    d.ecrire("Tarnwick.ini", "[Kestrova]\r\nSiMotPasse=NON\r\n");
    d.ecrire("Ramq.Chk", "MOTDEPASSE          ");
    d.ecrire("MessagesExplicatifs.txt", "101,\"Texte \xe9\"\r\n");
    d.ecrire("PavoRamq.Txt", "ligne;du;produit\r\n");
    d.ecrire("Patient/KPDBFIL.FIL", QByteArray(640, 'P'));
    d.ecrire("Patient/A/AAKPDB.LEX", "index");
    QDir().mkpath(d.fichier("Vide"));
    d.ecrire("Developpe/Envoi/reste.zip", "travail");
    d.ecrire("Impressions/rapport.pdf", "%PDF");
}

struct Sortie {
    int statut = -1;
    QString texte, erreurs;
};

// The program as a process of its own, with per-user settings of its own.
struct Programme {
    QTemporaryDir reglages;
    QString repertoire;  // the folder the command runs in, when given
    Sortie executer(const QStringList& arguments, const QString& dossier) const {
        QProcess p;
        p.setProcessEnvironment(environnement());
        if (!repertoire.isEmpty())
            p.setWorkingDirectory(repertoire);
        p.start(KESTROVA, QStringList{"--dossier", dossier} + arguments);
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    QProcessEnvironment environnement() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", reglages.path());
        env.remove("DISPLAY");
        return env;
    }
    QString conf() const { return reglages.path() + "/Kestrova/Kestrova.conf"; }
};

QStringList archivesDans(const QString& dossier) {
    return QDir(dossier).entryList({"Kestrova-*.zip"}, QDir::Files, QDir::Name);
}

// An archive whose every member reads back with its CRC, as a map of its members.
QMap<QString, QByteArray> lireArchive(const QString& archive) {
    QMap<QString, QByteArray> m;
    archivezip::parcourir(archive, qint64(1) << 30, qint64(1) << 32,
                          [&](const archivezip::Membre& membre) { m[membre.nom] = membre.octets; });
    return m;
}

}  // namespace

// Saved with the command, restored into an empty folder with the command: the same tree byte for
// byte (but the work folder and the printed documents), the per-user settings back in their
// store, and the check of the files passes on the restored folder.
TEST(Sauvegarde, AllerRetourOctetPourOctet) {
    DossierTemporaire clinique;
    remplirClinique(clinique);
    Programme programme;
    QDir().mkpath(programme.reglages.path() + "/Kestrova");
    const QByteArray conf = "[Settings]\nNomDuServeurFtp=ftp.exemple.ca\n";
    fichiers::ecrireAtomique(programme.conf(), conf);
    QTemporaryDir destination;

    const Sortie s = programme.executer({"sauvegarder", "--vers", destination.path()}, clinique.chemin());
    ASSERT_EQ(s.statut, 0) << qPrintable(s.texte + s.erreurs);
    const QStringList archives = archivesDans(destination.path());
    ASSERT_EQ(archives.size(), 1);
    EXPECT_TRUE(QRegularExpression("^Kestrova-71234-\\d{8}-\\d{6}\\.zip$").match(archives[0]).hasMatch()) << qPrintable(archives[0]);
    const QMap<QString, QByteArray> avant = arbre(clinique.chemin(), {"Developpe", "Impressions"});
    EXPECT_EQ(s.texte, QStringLiteral("Sauvegarde terminée : %1, %2 fichiers, %3 octets.\n")
                           .arg(QDir(destination.path()).filePath(archives[0]))
                           .arg(std::count_if(avant.keyBegin(), avant.keyEnd(), [](const QString& n) { return !n.endsWith('/'); }))
                           .arg(std::accumulate(avant.begin(), avant.end(), qint64(0),
                                                [](qint64 t, const QByteArray& b) { return t + b.size(); })));
    const QMap<QString, QByteArray> membres = lireArchive(QDir(destination.path()).filePath(archives[0]));
    EXPECT_EQ(membres.value(sauvegarde::MembreReglages), conf);
    EXPECT_FALSE(membres.contains("Developpe/") || membres.contains("Impressions/rapport.pdf"));
    // The settings remember the destination: the next save goes there without being told.
    EXPECT_TRUE(fichiers::lire(programme.conf()).contains("DossierSauvegardes="));

    Programme ailleurs;  // another workstation, with no settings of its own
    QTemporaryDir parent;
    const QString restaure = parent.path() + "/clinique";
    // What a restore killed two hours ago left beside the folder goes.
    const QString reste = parent.path() + "/.~clinique.restauration.4242";
    QDir().mkpath(reste);
    fichiers::ecrireAtomique(reste + "/Facturat.Lex", Agence);
    const timeval ilYaDeuxHeures[2] = {{time(nullptr) - 7200, 0}, {time(nullptr) - 7200, 0}};
    ASSERT_EQ(utimes(QFile::encodeName(reste).constData(), ilYaDeuxHeures), 0);
    const Sortie r = ailleurs.executer({"restaurer", QDir(destination.path()).filePath(archives[0])}, restaure);
    ASSERT_EQ(r.statut, 0) << qPrintable(r.texte + r.erreurs);
    EXPECT_EQ(arbre(restaure), avant);
    EXPECT_EQ(QDir(parent.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"clinique"});
    EXPECT_TRUE(fichiers::lire(ailleurs.conf()).contains("NomDuServeurFtp=ftp.exemple.ca"));
    const Sortie v = ailleurs.executer({"verifier"}, restaure);
    EXPECT_EQ(v.statut, 0) << qPrintable(v.texte + v.erreurs);
}

// While another process stores invoices or prepares the billing, each archive holds the state
// before or the state after: whole records in every record file, no preparation record, and
// FACTURAT.LEX as the kept billings say (the new billing's files with the new counters, or
// neither).
TEST(Sauvegarde, PendantUnEnregistrementOuUnePreparation) {
    DossierTemporaire d;
    d.ecrire("Kestrova.Cfg", donnees("Kestrova.Cfg.defaut"));
    QList<QByteArray> factures;
    for (int i = 0; i < 3000; ++i)
        factures << enregistrementDe(factureDeBase());
    preparerDossier(d, Agence, factures);
    const QByteArray lexAvant = d.lire("Facturat.Lex");
    QTemporaryDir destination;
    sauvegarde::delaiAttenteMs = 20000;
    ReglagesUtilisateur u;
    QList<QString> archives;
    for (const QStringList& autre : {QStringList{"preparer", d.chemin()}, QStringList{"factures", d.chemin(), "400"}}) {
        QProcess p;
        p.start(AUTRE_POSTE, autre);
        ASSERT_TRUE(p.waitForStarted());
        for (int i = 0; i < 4 || !p.waitForFinished(0); ++i) {
            DialoguesScriptes port;
            Horloge::fixer(QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addSecs(archives.size()));
            const auto r = sauvegarde::Sauvegarder(d.chemin(), {destination.path(), 1000, {}}, u, port);
            ASSERT_TRUE(r.reussi) << qPrintable(port.resume().join('\n'));
            archives << r.archive;
        }
        p.waitForFinished(60000);
    }
    Horloge::liberer();
    sauvegarde::delaiAttenteMs = 30000;
    const QStringList demandes = QDir(d.fichier("Sauvramq")).entryList({"D71234*"});
    ASSERT_EQ(demandes.size(), 1);
    const QByteArray lexApres = d.lire("Facturat.Lex");
    ASSERT_NE(lexAvant, lexApres);
    for (const QString& archive : archives) {
        SCOPED_TRACE(qPrintable(archive));
        const QMap<QString, QByteArray> m = lireArchive(archive);
        EXPECT_FALSE(m.contains("Sauvramq/Prepa.Enc"));
        for (const char* nom : {"Sauvramq/Ftmp.Fil", "Sauvramq/Ftmp.Bak"})
            EXPECT_EQ(m.value(nom).size() % facture::Longueur, 0) << nom;
        EXPECT_LE(m.value("Sauvramq/" + demandes[0]).size() % facture::Longueur, 1);  // and its end-of-file byte
        const bool apres = m.value("Facturat.Lex") == lexApres;
        EXPECT_TRUE(apres || m.value("Facturat.Lex") == lexAvant);
        EXPECT_EQ(m.contains("Sauvramq/" + demandes[0]), apres);
        EXPECT_EQ(m.contains("Sauvramq/Ftmp.Bak"), apres);
        if (apres)
            EXPECT_EQ(m.value("Sauvramq/" + demandes[0]), d.lire("Sauvramq/" + demandes[0]));
        else
            EXPECT_EQ(m.value("Sauvramq/Ftmp.Fil").size(), 3000 * facture::Longueur);
    }
}

// A save killed at any moment never leaves under a final name an archive that fails its check;
// the loop is bounded in time.
TEST(Sauvegarde, ArreteeAnImporteQuelMoment) {
    DossierTemporaire clinique;
    remplirClinique(clinique);
    clinique.ecrire("Gros.bin", QByteArray(4 << 20, 'x') + QByteArray::number(QRandomGenerator::global()->generate64()));
    Programme programme;
    QTemporaryDir destination;
    QElapsedTimer duree;
    duree.start();
    int tues = 0;
    for (int i = 0; duree.elapsed() < 15000 && i < 40; ++i) {
        QProcess p;
        p.setProcessEnvironment(programme.environnement());
        p.start(KESTROVA, {"--dossier", clinique.chemin(), "sauvegarder", "--vers", destination.path(), "--garder", "100"});
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(QRandomGenerator::global()->bounded(20 + 15 * i));
        if (!p.waitForFinished(0)) {
            ++tues;
            p.kill();
        }
        p.waitForFinished();
        for (const QString& nom : archivesDans(destination.path())) {
            const QMap<QString, QByteArray> m = lireArchive(QDir(destination.path()).filePath(nom));
            EXPECT_EQ(m.value("Gros.bin"), clinique.lire("Gros.bin")) << qPrintable(nom);
        }
        QThread::msleep(1000);  // one archive name per second
    }
    EXPECT_GT(tues, 0);
}

// A full destination: the failure is told and no archive is left, under any name. On a small
// disk of its own when one can be mounted; and in a process whose disk fills up at each of its
// writes in turn, where a save that succeeds leaves a whole archive.
TEST(Sauvegarde, DestinationPleine) {
    DossierTemporaire clinique;
    remplirClinique(clinique);
    QByteArray hasard(1 << 20, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(hasard.data()), hasard.size() / 4);
    clinique.ecrire("Gros.bin", hasard);  // does not compress
    const QString disquePlein = "La sauvegarde n'a pas pu être faite ; aucune archive n'a été gardée.\n\nDisque plein : ";
    const auto rien = [](const QString& dossier) {
        return QDir(dossier).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };

    Programme programme;
    QTemporaryDir destination;
    const auto sauvegarder = [&](long pleinA) {
        QProcess p;
        QProcessEnvironment env = programme.environnement();
        env.insert("LD_PRELOAD", DISQUE_PLEIN);
        env.insert("KESTROVA_DISQUE_PLEIN", QString::number(pleinA));
        p.setProcessEnvironment(env);
        p.start(KESTROVA, {"--dossier", clinique.chemin(), "sauvegarder", "--vers", destination.path()});
        EXPECT_TRUE(p.waitForFinished(60000));
        return std::tuple{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                          QString::fromUtf8(p.readAllStandardError()).section("ecritures: ", 1).trimmed().toLong()};
    };
    const auto [statut, sortie, ecritures] = sauvegarder(0);
    ASSERT_EQ(statut, 0) << qPrintable(sortie);
    ASSERT_GT(ecritures, 2);
    for (const QString& n : rien(destination.path()))
        QFile::remove(destination.path() + "/" + n);
    int echecs = 0;
    for (long a = 1; a <= ecritures; a += std::max(1L, ecritures / 12)) {
        SCOPED_TRACE(a);
        QThread::msleep(1000);  // one archive name per second
        const auto [s, texte, n] = sauvegarder(a);
        (void)n;
        const QStringList laisses = rien(destination.path());
        if (s == 0) {
            ASSERT_EQ(laisses.size(), 1) << qPrintable(laisses.join(' '));
            EXPECT_EQ(lireArchive(destination.path() + "/" + laisses[0]).value("Gros.bin"), hasard);
            QFile::remove(destination.path() + "/" + laisses[0]);
        } else {
            ++echecs;
            EXPECT_EQ(s, 1);
            EXPECT_TRUE(texte.startsWith("Sauvegarde des données : La sauvegarde n'a pas pu être faite ; aucune "
                                         "archive n'a été gardée.\nDisque plein : " + destination.path() + "/Kestrova-71234-"))
                << qPrintable(texte);
            EXPECT_EQ(laisses, QStringList{});
        }
    }
    EXPECT_GT(echecs, 0);

    PetitDisque disque(256 * 1024);
    KESTROVA_EXIGER_PETIT_DISQUE(disque);
    DialoguesScriptes port;
    ReglagesUtilisateur u;
    EXPECT_FALSE(sauvegarde::Sauvegarder(clinique.chemin(), {disque.chemin(), 0, {}}, u, port).reussi);
    ASSERT_EQ(port.boites().size(), 1);
    EXPECT_EQ(port.boites()[0].icone, Icone::Critique);
    EXPECT_TRUE(port.boites()[0].texte.startsWith(disquePlein)) << qPrintable(port.boites()[0].texte);
    EXPECT_EQ(rien(disque.chemin()), QStringList{});
}

// What another workstation has under way makes the save wait, then refuse with its reason; no
// archive is written. So does a file whose name a restore would refuse, or too big to be read back.
TEST(Sauvegarde, RefuseCeQuiEstEnCours) {
    const struct {
        const char* cas;
        const char* verrouille;  // held by another process
        const char* laisse;      // left by a stop
        QString texte;
        qint64 taille = 0;       // of what is left, without writing it
    } cas[] = {
        {"importation en cours", "PavoRamq.Imp", nullptr,
         "Une importation de patients est en cours sur un autre poste de travail.\n\nLa sauvegarde n'a pas été "
         "faite ; refaites-la quand ce sera terminé."},
        {"importation interrompue", nullptr, "PavoRamq.Imp",
         "Une importation de patients interrompue n'est pas terminée (PAVORAMQ.IMP).\n\nOuvrez le logiciel, qui la "
         "termine, puis refaites la sauvegarde."},
        {"préparation ou enregistrement", "Sauvramq/Ftmp.Fil", nullptr,
         "Une préparation de la facturation ou l'enregistrement d'une facture est en cours sur un autre poste de "
         "travail.\n\nLa sauvegarde n'a pas été faite ; refaites-la quand ce sera terminé."},
        {"préparation interrompue", nullptr, "Sauvramq/Prepa.Enc",
         "Une préparation de la facturation interrompue n'est pas terminée (PREPA.ENC).\n\nOuvrez le logiciel, qui "
         "l'annule ou la termine, puis refaites la sauvegarde."},
        {"transmission", "R", nullptr,
         "Une transmission à la RAMQ est en cours sur un autre poste de travail.\n\nLa sauvegarde n'a pas été faite "
         "; refaites-la quand ce sera terminé."},
        {"file d'attente", "MdiTmp.Dat", nullptr, ""},
        // Not under way, but saved it would make an archive that no restore takes.
        {"nom qu'une restauration refuse", nullptr, "Patient/notes 12:30.txt",
         "Le nom de %1 ne pourrait pas être recréé par une restauration (il contient un des caractères \\ : * ? \" < "
         "> | ou dépasse 128 caractères).\n\nLa sauvegarde n'a pas été faite : renommez-le ou sortez-le du dossier "
         "de la clinique, puis refaites-la."},
        {"fichier énorme", nullptr, "Patient/film.mp4",
         "Le fichier %1 fait 1100 Mio : une sauvegarde contient au plus 1024 Mio par fichier et 16384 Mio en tout."
         "\n\nLa sauvegarde n'a pas été faite : sortez du dossier de la clinique ce qui n'est pas à elle, puis "
         "refaites-la.",
         qint64(1100) << 20},
    };
    sauvegarde::delaiAttenteMs = 300;
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        DossierTemporaire d;
        remplirClinique(d);
        if (c.laisse)
            d.ecrire(c.laisse, "reste");
        if (c.taille) {
            ASSERT_TRUE(QFile::resize(d.fichier(c.laisse), c.taille));
        }
        std::unique_ptr<QProcess> autre;
        if (c.verrouille) {
            // The request file of the billing prepared, as a sending holds it.
            const QString verrouille = QString(c.verrouille) == "R"
                                           ? "Sauvramq/" + QDir(d.fichier("Sauvramq")).entryList({"R71234*"}).value(0)
                                           : QString(c.verrouille);
            autre = std::make_unique<QProcess>();
            autre->start(AUTRE_POSTE, {"verrouiller", d.fichier(verrouille)});
            ASSERT_TRUE(autre->waitForReadyRead(10000));
        }
        QTemporaryDir destination;
        DialoguesScriptes port;
        ReglagesUtilisateur u;
        QElapsedTimer attente;
        attente.start();
        EXPECT_FALSE(sauvegarde::Sauvegarder(d.chemin(), {destination.path(), 0, {}}, u, port).reussi);
        if (c.verrouille) {
            EXPECT_GE(attente.elapsed(), 300);
        }
        const QString texte = c.texte.isEmpty()
                                  ? QStringLiteral("Le fichier %1 est utilisé par un autre poste de travail.\n\nLa "
                                                   "sauvegarde n'a pas été faite ; refaites-la quand ce sera terminé.")
                                        .arg(d.fichier(c.verrouille))
                                  : c.texte.contains("%1") ? c.texte.arg(d.fichier(c.laisse)) : c.texte;
        EXPECT_EQ(port.resume(), QStringList{"Sauvegarde des données | " + texte});
        EXPECT_EQ(QDir(destination.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{});
        if (autre) {
            autre->kill();
            autre->waitForFinished();
        }
    }
    sauvegarde::delaiAttenteMs = 30000;
}

// A restore refuses before writing anything: a folder that is not empty, a damaged archive, a
// member whose name holds a path, an archive that is not a clinic's.
TEST(Sauvegarde, RestaurationRefusee) {
    DossierTemporaire clinique;
    remplirClinique(clinique);
    QTemporaryDir destination;
    DialoguesScriptes port;
    ReglagesUtilisateur u;
    const auto r = sauvegarde::Sauvegarder(clinique.chemin(), {destination.path(), 0, {}}, u, port);
    ASSERT_TRUE(r.reussi);

    const QString abimee = destination.path() + "/abimee.zip";
    QByteArray octets = fichiers::lire(r.archive);
    // The first member's data starts after its local header (30 bytes, the name, the extra field).
    const int debut = 30 + quint8(octets[26]) + 256 * quint8(octets[27]) + quint8(octets[28]) + 256 * quint8(octets[29]);
    octets[debut + 3] = char(octets[debut + 3] ^ 0x20);
    fichiers::ecrireAtomique(abimee, octets);
    const auto avecNom = [&](const QString& fichier, const QString& membre) {
        creerArchive(destination.path() + "/" + fichier, {{"Facturat.Lex", Agence}, {membre, "x"}});
        return destination.path() + "/" + fichier;
    };
    const QString etrangere = destination.path() + "/etrangere.zip";
    creerArchive(etrangere, {{"photo.jpg", "x"}});
    const QString refus = "Restauration des données | L'archive %1 ne peut pas être restaurée : le nom de son membre "
                          "« %2 » contient un chemin qui sortirait du dossier.";
    const struct {
        const char* cas;
        QString archive;
        bool occupe;
        QString texte;
    } cas[] = {
        {"dossier occupé", r.archive, true,
         "Restauration des données | Le dossier %1 n'est pas vide : la restauration ne remplace les fichiers d'une "
         "clinique que si on le demande (--remplacer).\n\nAucun fichier n'a été écrit."},
        {"un octet changé", abimee, false,
         "Restauration des données | La restauration n'a pas été faite ; le dossier %1 n'a pas changé.\n\nL'archive "
         "abimee.zip est illisible: le membre « Facturat.Lex » est endommagé."},
        {"remonte", avecNom("remonte.zip", "../Ftmp.Fil"), false, refus.arg("remonte.zip", "../Ftmp.Fil")},
        {"absolu", avecNom("absolu.zip", "/etc/Ftmp.Fil"), false, refus.arg("absolu.zip", "/etc/Ftmp.Fil")},
        {"contre-oblique", avecNom("oblique.zip", "Sauvramq\\..\\..\\x"), false,
         refus.arg("oblique.zip", "Sauvramq\\..\\..\\x")},
        {"lecteur", avecNom("lecteur.zip", "C:Ftmp.Fil"), false, refus.arg("lecteur.zip", "C:Ftmp.Fil")},
        {"pas une clinique", etrangere, false,
         "Restauration des données | L'archive etrangere.zip n'est pas une sauvegarde de Kestrova : elle ne contient "
         "ni KESTROVA.CFG ni FACTURAT.LEX."},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        QTemporaryDir parent;
        const QString dossier = parent.path() + "/clinique";
        QDir().mkpath(dossier);
        if (c.occupe)
            fichiers::ecrireAtomique(dossier + "/notes.txt", "à garder");
        const auto avant = arbre(parent.path());
        DialoguesScriptes p;
        EXPECT_FALSE(sauvegarde::Restaurer(c.archive, dossier, false, {}, u, p).reussi);
        EXPECT_EQ(p.resume(), QStringList{c.texte.contains("%1") ? c.texte.arg(dossier) : c.texte});
        EXPECT_EQ(arbre(parent.path()), avant);
    }
}

// With --remplacer a folder that holds a clinic is saved first, then replaced; its work folder,
// printed documents and saved archives stay.
TEST(Sauvegarde, RestaurationQuiRemplace) {
    DossierTemporaire clinique;
    remplirClinique(clinique);
    DialoguesScriptes port;
    ReglagesUtilisateur u;
    QTemporaryDir ailleurs;
    const auto r = sauvegarde::Sauvegarder(clinique.chemin(), {ailleurs.path(), 0, {}}, u, port);
    ASSERT_TRUE(r.reussi);
    const auto sauvee = arbre(clinique.chemin(), {"Developpe", "Impressions", "Sauvegardes"});
    u.ecrire(sauvegarde::DossierSauvegardes, {});  // the save before the restore goes to the folder's own
    clinique.ecrire("Sauvramq/Ftmp.Fil", QByteArray());
    clinique.ecrire("Perdu.txt", "écrit après");
    const auto r2 = sauvegarde::Restaurer(r.archive, clinique.chemin(), true, {{}, 0, {}}, u, port);
    ASSERT_TRUE(r2.reussi) << qPrintable(port.resume().join('\n'));
    EXPECT_EQ(arbre(clinique.chemin(), {"Developpe", "Impressions", "Sauvegardes"}), sauvee);
    EXPECT_EQ(clinique.lire("Impressions/rapport.pdf"), "%PDF");
    ASSERT_TRUE(r2.sauvegardePrealable.startsWith(clinique.chemin() + "/Sauvegardes/Kestrova-71234-"));
    const auto prealable = lireArchive(r2.sauvegardePrealable);
    EXPECT_EQ(prealable.value("Perdu.txt"), "écrit après");
    EXPECT_EQ(prealable.value("Sauvramq/Ftmp.Fil"), QByteArray());

    // The last destination inside a data folder that the restore replaces: the save made first
    // is found where it was written, whole.
    u.ecrire(sauvegarde::DossierSauvegardes, clinique.fichier("Sauvramq/Copies"));
    clinique.ecrire("Perdu.txt", "écrit encore après");
    const auto r3 = sauvegarde::Restaurer(r.archive, clinique.chemin(), true, {{}, 0, {}}, u, port);
    ASSERT_TRUE(r3.reussi) << qPrintable(port.resume().join('\n'));
    ASSERT_TRUE(r3.sauvegardePrealable.startsWith(clinique.chemin() + "/Sauvramq/Copies/Kestrova-71234-"));
    EXPECT_EQ(lireArchive(r3.sauvegardePrealable).value("Perdu.txt"), "écrit encore après");
    EXPECT_EQ(arbre(clinique.chemin(), {"Developpe", "Impressions", "Sauvegardes"}).value("Sauvramq/Ftmp.Fil"),
              sauvee.value("Sauvramq/Ftmp.Fil"));

    // The archive restored is the oldest of ten in the destination of the save made first: the
    // rotation of that save leaves it, and the restore reads it to the end.
    for (int i = 0; i < 9; ++i)
        fichiers::ecrireAtomique(ailleurs.path() + QStringLiteral("/Kestrova-71234-209901%1-000000.zip").arg(10 + i),
                                 fichiers::lire(r.archive));
    u.ecrire(sauvegarde::DossierSauvegardes, ailleurs.path());
    DialoguesScriptes p4;
    const auto r4 = sauvegarde::Restaurer(r.archive, clinique.chemin(), true, {{}, 0, {}}, u, p4);
    ASSERT_TRUE(r4.reussi) << qPrintable(p4.resume().join('\n'));
    EXPECT_TRUE(QFileInfo::exists(r.archive));
    EXPECT_EQ(archivesDans(ailleurs.path()).size(), 11);
}

// The rotation removes this clinic's oldest archives beyond the number kept, and nothing else.
TEST(Sauvegarde, Rotation) {
    const QStringList autres = {"Kestrova-99999-20200101-000000.zip", "Kestrova-71234-2020.zip", "notes.txt",
                                "kestrova-71234-20200101-000000.zip", "Kestrova-71234-20200101-000000.zip.txt",
                                ".~Kestrova-71234-20200101-000000.zip.12"};
    const struct {
        int garder;
        int nombre;
    } cas[] = {{10, 12}, {3, 3}, {1, 4}, {5, 0}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.garder);
        QTemporaryDir dossier;
        QStringList clinique;
        for (int i = 0; i < c.nombre; ++i)
            clinique << QStringLiteral("Kestrova-71234-2026%1-0930%2.zip").arg(1201 + i % 20).arg(10 + i);
        std::reverse(clinique.begin(), clinique.end());  // written in any order
        for (const QString& n : clinique + autres)
            fichiers::ecrireAtomique(dossier.path() + "/" + n, n.toUtf8());
        const QStringList supprimees = sauvegarde::tourner(dossier.path(), "71234", c.garder);
        QStringList attendues = clinique;
        attendues.sort();
        attendues = attendues.mid(0, std::max(0, c.nombre - c.garder));
        EXPECT_EQ(supprimees, attendues);
        QStringList restent = clinique + autres;
        for (const QString& n : attendues)
            restent.removeOne(n);
        restent.sort();
        QStringList presentes = QDir(dossier.path()).entryList(QDir::Files | QDir::Hidden);
        presentes.sort();
        EXPECT_EQ(presentes, restent);
    }
}

// Where a clinic really puts its archives: in one of its own data folders, in the clinic's folder
// itself, several in the same second, with a setting of the number kept that is not a number,
// beside a link named like an archive, or relative to where the command is typed. Every file of
// the clinic is in each archive, no archive in another, and no archive is lost.
TEST(Sauvegarde, DestinationsDeLaClinique) {
    const struct {
        const char* cas;
        QString vers;  // relative to the clinic's folder
        int saves;
        QString aGarder;
    } cas[] = {
        {"dans Sauvramq", "Sauvramq/Copies", 2, {}},
        {"dans le dossier de la clinique", ".", 2, {}},
        {"trois dans la même seconde", "Sauvegardes", 3, {}},
        {"réglage illisible", "Sauvegardes", 1, "dix"},
        {"réglage nul", "Sauvegardes", 1, "0"},
        {"réglage négatif", "Sauvegardes", 1, "-3"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        DossierTemporaire clinique;
        remplirClinique(clinique);
        const auto fichiersDeLaClinique = arbre(clinique.chemin(), {"Developpe", "Impressions", "Sauvegardes"});
        const QString vers = QDir::cleanPath(clinique.fichier(c.vers));
        QDir().mkpath(vers);
        // Eleven older archives of the clinic and a link named like one more: the default keeps
        // ten, the link is neither counted nor removed.
        QStringList anciennes;
        for (int i = 0; i < 11; ++i)
            anciennes << QStringLiteral("Kestrova-71234-202001%1-000000.zip").arg(10 + i);
        if (c.saves == 1)
            for (const QString& n : anciennes)
                fichiers::ecrireAtomique(vers + "/" + n, "ancienne");
        const QString lien = vers + "/Kestrova-71234-20000101-000000.zip";
        ASSERT_TRUE(QFile::link(clinique.fichier("Kestrova.Cfg"), lien));
        ReglagesUtilisateur u;
        u.ecrire(sauvegarde::SauvegardesAGarder, c.aGarder);
        QStringList faites;
        for (int i = 0; i < c.saves; ++i) {
            DialoguesScriptes port;
            const auto r = sauvegarde::Sauvegarder(clinique.chemin(), {vers, 0, {}}, u, port);
            ASSERT_TRUE(r.reussi) << qPrintable(port.resume().join('\n'));
            faites << QFileInfo(r.archive).fileName();
            QMap<QString, QByteArray> membres = lireArchive(r.archive);
            for (auto m = fichiersDeLaClinique.begin(); m != fichiersDeLaClinique.end(); ++m)
                EXPECT_TRUE(membres.contains(m.key()) && membres[m.key()] == m.value()) << qPrintable(m.key());
            for (const QString& nom : membres.keys())
                EXPECT_FALSE(nom.endsWith(".zip")) << qPrintable(nom);
        }
        EXPECT_EQ(QSet<QString>(faites.begin(), faites.end()).size(), c.saves);
        QStringList restent = archivesDans(vers);
        EXPECT_EQ(restent.size(), c.saves == 1 ? 11 : c.saves + 1);
        EXPECT_TRUE(QFileInfo(lien).isSymLink());
        if (c.saves == 1) {
            EXPECT_FALSE(restent.contains(anciennes[0]));
        }
        for (const QString& n : faites)
            EXPECT_TRUE(restent.contains(n)) << qPrintable(n);
    }

    // A folder typed relative to where the command is run.
    DossierTemporaire clinique;
    remplirClinique(clinique);
    QTemporaryDir ici;
    Programme programme;
    programme.repertoire = ici.path();
    const Sortie s = programme.executer({"sauvegarder", "--vers", "cle"}, clinique.chemin());
    ASSERT_EQ(s.statut, 0) << qPrintable(s.texte + s.erreurs);
    EXPECT_EQ(archivesDans(ici.path() + "/cle").size(), 1);
    EXPECT_FALSE(QFileInfo::exists(clinique.fichier("cle")));
}

// The reminder: once a day, only when the last save is more than 7 days old; before any save,
// the days count from the first start.
TEST(Sauvegarde, Rappel) {
    struct : MagasinReglages {
        QMap<QString, QString> valeurs;
        QString lire(const QString& cle, const QString& defaut) const override { return valeurs.value(cle, defaut); }
        void ecrire(const QString& cle, const QString& valeur) override { valeurs[cle] = valeur; }
    } u;
    const QDate jour(2026, 12, 8);
    EXPECT_EQ(sauvegarde::rappelDu(u, jour), std::nullopt);  // first start: counting begins
    EXPECT_EQ(sauvegarde::rappelDu(u, jour.addDays(7)), std::nullopt);
    EXPECT_EQ(sauvegarde::rappelDu(u, jour.addDays(8)), -1);
    EXPECT_EQ(sauvegarde::texteRappel(-1), "Aucune sauvegarde des données n'a encore été faite sur ce poste.");
    u.ecrire(sauvegarde::DerniereSauvegarde, QDateTime(jour, QTime(22, 0)).toString(Qt::ISODate));
    const struct {
        int jours;
        std::optional<int> rappel;
    } cas[] = {{3, std::nullopt}, {7, std::nullopt}, {9, 9}, {9, std::nullopt}, {10, 10}};
    for (const auto& c : cas)
        EXPECT_EQ(sauvegarde::rappelDu(u, jour.addDays(c.jours)), c.rappel) << c.jours;
    EXPECT_EQ(sauvegarde::texteRappel(10), "Dernière sauvegarde : il y a 10 jours.");

    DialoguesScriptes port;
    port.choix_ = {0};
    EXPECT_TRUE(sauvegarde::proposerSauvegarde(u, port, jour.addDays(12)));
    ASSERT_EQ(port.boites().size(), 1);
    EXPECT_EQ(port.boites()[0].fenetre.boutons(), (QStringList{"&Sauvegarder maintenant", "&Plus tard"}));
    EXPECT_EQ(port.boites()[0].fenetre.elements[0].texte, "Dernière sauvegarde : il y a 12 jours.");
    EXPECT_FALSE(sauvegarde::proposerSauvegarde(u, port, jour.addDays(12)));
    EXPECT_EQ(port.boites().size(), 1);
}
