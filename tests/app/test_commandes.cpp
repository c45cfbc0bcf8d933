#include "platform/fichierbrut.h"
#include "records/fileattente.h"
#include "records/statistique.h"
#include "support/archive.h"
#include "support/classeur.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/retours.h"
#include "support/serveurftp.h"
#include "transmission/envoi.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

struct Sortie {
    int statut = -1;
    QString texte, erreurs;
};

// "127.0.0.1:port" where nothing listens.
QString portFerme() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t taille = sizeof a;
    ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &taille);
    ::close(s);
    return QStringLiteral("127.0.0.1:%1").arg(ntohs(a.sin_port));
}

// A clinic's workstation as a nightly task sees it: a program folder holding two invoices in
// memory and the outside programs, its own per-user settings, each command its own process
// started in the program folder.
struct Poste {
    explicit Poste(const QString& serveur) {
        d.ecrire("Kestrova.Cfg", donnees("Kestrova.Cfg.defaut"));
        preparerDossier(d, "R7123407D71234070041ABCDEFGHIJKLMNO041",
                        {enregistrementDe(factureDeBase()), enregistrementDe(factureDeBase())});
        QFile::copy(PACOMP, d.fichier("PaComp"));
        QFile::copy(POWERARC, d.fichier("PowerArc"));
        QDir().mkpath(reglages.path() + "/Kestrova");
        regler(serveur);
    }
    void regler(const QString& serveur, const QString& autres = {}) const {
        QFile conf(reglages.path() + "/Kestrova/Kestrova.conf");
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write(("[Settings]\nNomDuServeurFtp=" + serveur + "\n" + autres).toUtf8());
    }
    QProcess* lancer(const QStringList& arguments, const QString& sortieStandard = {}) const {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", reglages.path());
        env.remove("DISPLAY");
        p->setProcessEnvironment(env);
        p->setWorkingDirectory(d.chemin());
        if (!sortieStandard.isEmpty())
            p->setStandardOutputFile(sortieStandard);
        p->start(KESTROVA, QStringList{"--dossier", d.chemin()} + arguments);
        return p;
    }
    static Sortie attendre(QProcess* p) {
        p->waitForFinished(60000);
        Sortie s{p->exitCode(), QString::fromUtf8(p->readAllStandardOutput()), QString::fromUtf8(p->readAllStandardError())};
        delete p;
        return s;
    }
    Sortie executer(const QStringList& arguments, const QString& sortieStandard = {}) const {
        return attendre(lancer(arguments, sortieStandard));
    }
    void preparer() const { ASSERT_EQ(executer({"preparer"}).statut, 0); }
    // Every file of the program folder and of the settings, byte for byte.
    QMap<QString, QByteArray> fichiers() const {
        QMap<QString, QByteArray> tous;
        for (const QString& racine : {d.chemin(), reglages.path()}) {
            QDirIterator i(racine, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (i.hasNext()) {
                QFile f(i.next());
                tous[f.fileName()] = f.open(QIODevice::ReadOnly) ? f.readAll() : "illisible";
            }
        }
        return tous;
    }

    DossierTemporaire d;
    QTemporaryDir reglages;
    std::shared_ptr<void> garde;  // held while the command runs
    QString plein = "/dev/full";  // a device that is always full
};

class LigneDeCommande : public ::testing::Test {
protected:
    ServeurFtp serveur;
    Poste poste{serveur.hote()};
    const DossierTemporaire& d = poste.d;
    Sortie executer(const QStringList& arguments) { return poste.executer(arguments); }
    QProcess* lancer(const QStringList& arguments) { return poste.lancer(arguments); }
    void regler(const QString& autres) { poste.regler(serveur.hote(), autres); }
};

const QStringList Export = {"exporter", "file-d-attente", "--format", "csv", "--sortie"};

// Each exit code of the command line, each command in its own process on a workstation of its
// own: what it prints on its output and on its errors, line by line ("%D" the program folder,
// "%R" the settings folder, "%F" a server port closed, "%N" a full device), and what it leaves.
TEST_F(LigneDeCommande, CodesDeSortie) {
    const QString ferme = portFerme();
    const QByteArray er = retour::fichier({retour::entete("9034042", "045"), retour::totaux(0, 2, 2, 0, 0, 8110)});
    const auto injoignable = [&](Poste& p) { p.regler(ferme); };
    const auto dejaEnvoyee = [](Poste& p) {
        p.preparer();
        p.d.ecrire("Sauvramq/LstEnvoie.Dat",
                   envoi::enregistrementJournal(envoi::lireRequete(p.d.lire("Reqt")), QDateTime::currentDateTime()));
    };
    const auto vider = [](Poste& p) {
        QDir(p.d.chemin()).removeRecursively();
        QDir().mkpath(p.d.chemin());
    };
    const auto intact = [](const char* fichier, qsizetype taille) {
        return [=](Poste& p) { EXPECT_EQ(p.d.lire(fichier).size(), taille) << fichier; };
    };
    const struct Cas {
        const char* nom = "";
        std::function<void(Poste&)> preparer = {};
        QStringList arguments = {};
        int statut = 0;
        QStringList lignes = {}, erreurs = {};  // lines of the output and of the errors, each found whole
        QStringList jamais = {};                // in neither
        bool rienNeChange = false;              // every file of the folder and the settings as it was
        std::function<void(Poste&)> ensuite = {};
        QString sortieStandard = {};
    } cas[] = {
        {.nom = "version", .arguments = {"--version"}, .statut = 0, .lignes = {"Kestrova 5.8.0"}, .rienNeChange = true},
        {.nom = "aide", .arguments = {"--help"}, .statut = 0, .lignes = {"Utilisation : kestrova [--dossier DOSSIER] COMMANDE [OPTIONS]"}},
        {.nom = "commande inconnue", .arguments = {"imprimer"}, .statut = 2,
         .erreurs = {"Commande inconnue : imprimer", "Utilisation : kestrova [--dossier DOSSIER] COMMANDE [OPTIONS]"},
         .rienNeChange = true},
        {.nom = "option inconnue", .arguments = {"preparer", "--vite"}, .statut = 2, .erreurs = {"Option inconnue : --vite"},
         .rienNeChange = true},
        {.nom = "doublon ni oui ni non", .arguments = {"transmettre", "--doublon", "peut-etre"}, .statut = 2,
         .erreurs = {"--doublon vaut oui ou non."}, .rienNeChange = true},
        {.nom = "liste inconnue", .arguments = {"exporter", "patients", "--format", "csv"}, .statut = 2,
         .erreurs = {"Liste inconnue : patients"}, .rienNeChange = true},
        {.nom = "imprimante inconnue", .arguments = {"preparer", "--imprimante", "Nulle part"}, .statut = 2,
         .rienNeChange = true},
        {.nom = "rien à préparer", .preparer = [](Poste& p) { p.d.ecrire("Sauvramq/Ftmp.Fil", {}); },
         .arguments = {"preparer"}, .statut = 3, .lignes = {"Aucune facture à préparer."}, .rienNeChange = true},

        {.nom = "déjà envoyée, --doublon non", .preparer = dejaEnvoyee, .arguments = {"transmettre", "--doublon", "non"},
         .statut = 4, .lignes = {"  -> non"},
         .erreurs = {"Cette facturation a déjà été envoyée ; --doublon oui l'enverrait une deuxième fois."},
         .ensuite = [&](Poste& p) {
             EXPECT_EQ(p.d.lire("Sauvramq/LstEnvoie.Dat").size(), 201);
             EXPECT_FALSE(QFile::exists(serveur.racine() + "/dp_ramq/AGP71234.zip"));
         }},
        {.nom = "envoi en cours ailleurs",
         .preparer = [](Poste& p) {
             p.preparer();
             auto requete = std::make_shared<FichierBrut>(p.d.fichier("Sauvramq/R7123407"), FichierBrut::Mode::LectureEcriture);
             ASSERT_TRUE(requete->verrouiller(0));
             p.garde = requete;
         },
         .arguments = {"transmettre"}, .statut = 5,
         .lignes = {"Serveur ramq : Une autre transmission de cette facturation est en cours."},
         .jamais = {"Serveur : connexion"}},
        {.nom = "envoi, serveur injoignable",
         .preparer = [&](Poste& p) {
             p.preparer();
             injoignable(p);
         },
         .arguments = {"transmettre"}, .statut = 1,
         .lignes = {"Vérification : Identification de votre Agence 71234 sur le serveur",
                    "Identification : Votre agence a été identifiée sur le serveur.",
                    "Serveur ramq : FICHIER NON TRANSFÉRÉ SUR LE SERVEUR..."},
         .erreurs = {"Le serveur %F n'a pas pu être joint : la connexion a été refusée ou est impossible."},
         .jamais = {"Serveur : connexion", "Cliquez sur Ok"},
         .ensuite = [](Poste& p) { EXPECT_FALSE(p.d.existe("Sauvramq/LstEnvoie.Dat")); }},

        {.nom = "retours, serveur injoignable", .preparer = injoignable, .arguments = {"recuperer"}, .statut = 1,
         .lignes = {"Erreur  : Le serveur %F n'a pas pu être joint : la connexion a été refusée ou est impossible."},
         .jamais = {"AUCUN FICHIER", "Serveur : connexion"}},
        {.nom = "retours, rien sur le serveur", .arguments = {"recuperer"}, .statut = 3,
         .lignes = {"Message : IL N'Y A AUCUN FICHIER SUR LE SERVEUR.", "ESSAYEZ PLUS TARD.", "Serveur : connexion non chiffrée"},
         .rienNeChange = true},
        {.nom = "retours reçus",
         .preparer = [&](Poste&) {
             creerArchive(serveur.racine() + "/fich_ramq/F71234.zip", {{"ER9034042.rmq", er}, {"LISEZMOI.txt", "autre"}});
         },
         .arguments = {"recuperer"}, .statut = 0,
         .lignes = {"Kestrova : Votre agence a été identifiée sur le serveur.", "Serveur : connexion non chiffrée",
                    "ER9034042.rmq  *"},
         .jamais = {"Cliquez sur Ok"},
         .ensuite = [&](Poste& p) {
             EXPECT_EQ(p.d.lire("Sauvramq/ER9034042.rmq"), er);
             EXPECT_EQ(QDir(p.d.fichier("Developpe")).entryList(QDir::Files | QDir::Hidden), QStringList());
             EXPECT_FALSE(QFile::exists(serveur.racine() + "/fich_ramq/F71234.zip"));
         }},

        {.nom = "vérification d'un dossier neuf", .preparer = vider, .arguments = {"verifier"}, .statut = 0,
         .lignes = {"ABSENT      %D/Sauvramq/Ftmp.Fil", "ABSENT      %D/Kestrova.Cfg", "ABSENT      %D/Facturat.Lex",
                    "Aucun fichier endommagé."},
         .jamais = {"ENDOMMAGÉ"}, .rienNeChange = true},
        {.nom = "vérification de fichiers endommagés",
         .preparer = [](Poste& p) {
             QByteArray ftmp = p.d.lire("Sauvramq/Ftmp.Fil");
             p.d.ecrire("Sauvramq/Ftmp.Fil", ftmp.remove(800, 1));
             p.d.ecrire("Sauvramq/STA2009.Dat", QByteArray(97 * 2 + 5, ' '));
         },
         .arguments = {"verifier"}, .statut = 1,
         .lignes = {"ENDOMMAGÉ   %D/Sauvramq/Ftmp.Fil : sa longueur (1445 octets) n'est pas un nombre entier "
                    "d'enregistrements de 723 octets",
                    "ENDOMMAGÉ   %D/Sauvramq/STA2009.Dat : sa longueur (199 octets) n'est pas un nombre entier "
                    "d'enregistrements de 97 octets",
                    "OK          %D/Kestrova.Cfg", "2 fichier(s) endommagé(s)."},
         .rienNeChange = true},
        {.nom = "rapport sur un disque plein", .arguments = {"verifier"}, .statut = 1,
         .erreurs = {"Erreur 61 : Disque plein : sortie standard"}, .sortieStandard = "/dev/full"},

        {.nom = "exportation sur un fichier qui existe",
         .preparer = [](Poste& p) { p.d.ecrire("liste.csv", "à garder"); }, .arguments = Export + QStringList{"liste.csv"},
         .statut = 1, .erreurs = {"Le fichier liste.csv existe déjà : --remplacer le remplacerait."}, .rienNeChange = true},
        {.nom = "exportation sur un dossier", .preparer = [](Poste& p) { QDir().mkpath(p.d.fichier("listes")); },
         .arguments = Export + QStringList{"listes", "--remplacer"}, .statut = 1,
         .erreurs = {"listes est un dossier : donnez le nom du fichier à écrire."}, .rienNeChange = true},
        {.nom = "classeur sur le terminal", .arguments = {"exporter", "file-d-attente", "--format", "xlsx"}, .statut = 2,
         .erreurs = {"Un classeur Excel ne s'écrit pas sur le terminal : donnez le fichier à écrire avec --sortie FICHIER."},
         .rienNeChange = true},
        {.nom = "format inconnu", .arguments = {"exporter", "file-d-attente", "--format", "ods", "--sortie", "liste.ods"},
         .statut = 2, .erreurs = {"Utilisation : kestrova exporter LISTE --format csv|xlsx [--sortie FICHIER [--remplacer]]"},
         .rienNeChange = true},
        {.nom = "exportation sans nom", .arguments = Export + QStringList{""}, .statut = 2,
         .erreurs = {"--sortie demande le nom d'un fichier."}, .rienNeChange = true},
        {.nom = "exportation qui remplace", .preparer = [](Poste& p) { p.d.ecrire("liste.csv", "à remplacer"); },
         .arguments = Export + QStringList{"liste.csv", "--remplacer"}, .statut = 0,
         .lignes = {"0 lignes écrites dans liste.csv."},
         .ensuite = [](Poste& p) { EXPECT_EQ(p.d.lire("liste.csv"), "\xEF\xBB\xBF" "Dossier;NAM;Nom;Prénom;Examen;Fiche\r\n"); }},
        {.nom = "exportation sur les factures en mémoire", .arguments = Export + QStringList{"Sauvramq/Ftmp.Fil", "--remplacer"},
         .statut = 1, .erreurs = {"Sauvramq/Ftmp.Fil est un fichier de la clinique : une exportation ne le remplace jamais."},
         .rienNeChange = true, .ensuite = intact("Sauvramq/Ftmp.Fil", 2 * 723)},
        {.nom = "chemin absolu", .arguments = Export + QStringList{"%D/Kestrova.Cfg", "--remplacer"}, .statut = 1,
         .erreurs = {"%D/Kestrova.Cfg est un fichier de la clinique : une exportation ne le remplace jamais."},
         .rienNeChange = true},
        {.nom = "par un dossier lié",
         .preparer = [](Poste& p) { ASSERT_TRUE(QFile::link(p.d.fichier("Sauvramq"), p.reglages.path() + "/lien")); },
         .arguments = Export + QStringList{"%R/lien/Ftmp.Fil", "--remplacer"}, .statut = 1, .rienNeChange = true,
         .ensuite = intact("Sauvramq/Ftmp.Fil", 2 * 723)},
        {.nom = "par un fichier lié",
         .preparer = [](Poste& p) { ASSERT_TRUE(QFile::link(p.d.fichier("Facturat.Lex"), p.reglages.path() + "/mon.csv")); },
         .arguments = Export + QStringList{"%R/mon.csv", "--remplacer"}, .statut = 1, .rienNeChange = true},
        {.nom = "par « .. », un fichier pas encore créé", .arguments = Export + QStringList{"./Sauvramq/../Sauvramq/Ftmp.Bak"},
         .statut = 1, .rienNeChange = true, .ensuite = [](Poste& p) { EXPECT_FALSE(p.d.existe("Sauvramq/Ftmp.Bak")); }},
        {.nom = "les réglages", .arguments = Export + QStringList{"%R/Kestrova/Kestrova.conf", "--remplacer"}, .statut = 1,
         .rienNeChange = true},
        {.nom = "exportation sur un disque plein", .arguments = {"exporter", "facturations-envoyees", "--format", "csv"},
         .statut = 1, .erreurs = {"Erreur 61 : Disque plein : sortie standard"}, .sortieStandard = "/dev/full"},
        {.nom = "exportation vers un périphérique plein",
         .preparer = [](Poste& p) {
             // A full device of the test's own when it may make one, never replaced by a file.
             const QString noeud = p.reglages.path() + "/plein";
             if (::mknod(QFile::encodeName(noeud).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0)
                 p.plein = noeud;
         },
         .arguments = Export + QStringList{"%N"}, .statut = 1, .erreurs = {"Erreur 61 : Disque plein : %N"},
         .ensuite = [](Poste& p) { EXPECT_FALSE(QFileInfo(p.plein).isFile()); }},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        Poste p(serveur.hote());
        if (c.preparer)
            c.preparer(p);
        const auto remplacer = [&](QString texte) {
            return texte.replace("%D", p.d.chemin()).replace("%R", p.reglages.path()).replace("%F", ferme).replace("%N", p.plein);
        };
        QStringList arguments;
        for (const QString& a : c.arguments)
            arguments << remplacer(a);
        const QMap<QString, QByteArray> avant = p.fichiers();
        const Sortie s = p.executer(arguments, c.sortieStandard);
        p.garde.reset();
        EXPECT_EQ(s.statut, c.statut) << qPrintable(s.texte + s.erreurs);
        // A line ending in "*" is found by its beginning.
        const auto trouvee = [&](const QString& texte, const QString& attendue) {
            const QString l = remplacer(attendue);
            const QStringList lignes = texte.split('\n');
            return l.endsWith('*') ? std::any_of(lignes.begin(), lignes.end(), [&](const QString& x) { return x.startsWith(l.chopped(1)); })
                                   : lignes.contains(l);
        };
        for (const QString& l : c.lignes)
            EXPECT_TRUE(trouvee(s.texte, l)) << qPrintable(remplacer(l) + "\n--- dans :\n" + s.texte);
        for (const QString& l : c.erreurs)
            EXPECT_TRUE(trouvee(s.erreurs, l)) << qPrintable(remplacer(l) + "\n--- dans :\n" + s.erreurs);
        for (const QString& j : c.jamais)
            EXPECT_FALSE((s.texte + s.erreurs).contains(remplacer(j))) << qPrintable(s.texte + s.erreurs);
        if (c.rienNeChange) {
            EXPECT_EQ(p.fichiers(), avant);
        }
        if (c.ensuite)
            c.ensuite(p);
    }
}

// A night's work: preparation, sending, the same billing refused a second time unless asked,
// then the agency's returns fetched.
TEST_F(LigneDeCommande, PreparerTransmettreRecuperer) {
    Sortie s = executer({"preparer"});
    ASSERT_EQ(s.statut, 0) << qPrintable(s.texte + s.erreurs);
    EXPECT_TRUE(s.texte.contains("Préparation terminée : 2 factures, $ 81.10, fichiers R7123407 et D7123407."));
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), QByteArray());
    EXPECT_EQ(d.lire("Reqt"), d.lire("Sauvramq/R7123407"));
    EXPECT_EQ(QDir(d.fichier("Impressions")).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(executer({"preparer"}).statut, 3);  // nothing left to prepare

    regler("ExigerTLS=OUI\n");  // the test server offers no TLS: nothing goes in clear
    s = executer({"transmettre"});
    EXPECT_EQ(s.statut, 1);
    EXPECT_TRUE(s.texte.contains("Le serveur n'offre pas de connexion chiffrée (TLS)")) << qPrintable(s.texte);
    EXPECT_TRUE(s.texte.contains("Serveur : connexion non chiffrée refusée"));
    EXPECT_FALSE(QFile::exists(serveur.racine() + "/dp_ramq/AGP71234.zip"));
    EXPECT_FALSE(d.existe("Sauvramq/LstEnvoie.Dat"));
    regler("");
    s = executer({"transmettre"});
    ASSERT_EQ(s.statut, 0) << qPrintable(s.texte + s.erreurs);
    EXPECT_TRUE(s.texte.contains("Serveur : connexion non chiffrée\n"));
    EXPECT_TRUE(QFile::exists(serveur.racine() + "/dp_ramq/AGP71234.zip"));
    const QByteArray journal = d.lire("Sauvramq/LstEnvoie.Dat");
    ASSERT_EQ(journal.size(), 201);
    EXPECT_EQ(journal.left(8), "R7123407");
    EXPECT_EQ(journal.mid(8, 7), d.lire("Sauvramq/R7123407").mid(21, 7));  // the attestation
    EXPECT_EQ(journal.mid(15, 6), "000002");
    s = executer({"transmettre"});
    EXPECT_EQ(s.statut, 4);
    EXPECT_TRUE(s.erreurs.contains("déjà été envoyée")) << qPrintable(s.erreurs);
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat"), journal);
    EXPECT_EQ(executer({"transmettre", "--doublon", "oui"}).statut, 0);
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat").size(), 402);

    const QByteArray er = retour::fichier({retour::entete("9034042", "045"),
                                           retour::totaux(0, 2, 2, 0, 0, 8110)});
    creerArchive(serveur.racine() + "/fich_ramq/F71234.zip", {{"ER9034042.rmq", er}});
    s = executer({"recuperer"});
    EXPECT_EQ(s.statut, 0) << qPrintable(s.texte + s.erreurs);
    EXPECT_TRUE(s.texte.contains("ER9034042.rmq")) << qPrintable(s.texte);
    EXPECT_EQ(d.lire("Sauvramq/ER9034042.rmq"), er);
    EXPECT_FALSE(QFile::exists(serveur.racine() + "/fich_ramq/F71234.zip"));
}

// Two sendings of one billing started together: it leaves once.
TEST_F(LigneDeCommande, DeuxTransmissionsEnvoientUneFois) {
    ASSERT_EQ(executer({"preparer"}).statut, 0);
    QProcess* a = lancer({"transmettre"});
    QProcess* b = lancer({"transmettre"});
    const int statuts[] = {Poste::attendre(a).statut, Poste::attendre(b).statut};
    EXPECT_EQ(std::count(std::begin(statuts), std::end(statuts), 0), 1);
    EXPECT_TRUE(statuts[0] == 4 || statuts[0] == 5 || statuts[1] == 4 || statuts[1] == 5);
    EXPECT_EQ(d.lire("Sauvramq/LstEnvoie.Dat").size(), 201);
}

// Each list of the command line written as an Excel workbook and read back by openpyxl, one row
// of each checked column by column: codes as text with their leading zeros, amounts with two
// decimals and counts as numbers, dates as dates and a date never typed as an empty cell; the
// header bold and frozen, every column at least as wide as its caption. The CSV leaves such a date
// empty. A full disk leaves neither the workbook nor a part of it.
TEST_F(LigneDeCommande, ClasseurDeChaqueListe) {
    ASSERT_EQ(executer({"preparer"}).statut, 0);
    d.ecrire("Sauvramq/LstEnvoie.Dat", envoi::enregistrementJournal(envoi::lireRequete(d.lire("Sauvramq/R7123407")),
                                                                    QDateTime(QDate(2009, 2, 3), QTime(10, 5))));
    ValeursFacture v = factureDeBase();
    v.etablissement = "02713";
    v.considerations = "";
    d.ecrire("Sauvramq/STA2009.Dat", statistique::construire(v));
    d.ecrire("MdiTmp.Dat", fileattente::construire({"TREM80011514", "JEAN", "TREMBLAY", "01", "0427", "19800115", "M",
                                                    "", "", "", "20090110", "0000123"}) +
                               fileattente::construire({"GAGM75531213", "MARIE", "GAGNON", "", "", "", "F", "", "", "",
                                                        "00000000", "0004567"}));
    const QString attestation = envoi::lireRequete(d.lire("Sauvramq/R7123407")).attestation;
    const struct Cas {
        QString liste;
        QStringList options;
        int ligne;  // the row checked, under the header
        QStringList cellules;
    } cas[] = {
        {"statistiques-mensuelles", {"--annee", "2009", "--mois", "1", "--optometriste", "311111"}, 0,
         {"date 2009-01-15", "texte 02713", "texte TREM80011514", "texte 09001", "montant 28.55", "texte 09008",
          "montant 12.00", "vide", "vide", "vide", "vide", "texte Non"}},
        {"statistiques-mensuelles", {"--annee", "2009", "--mois", "1", "--optometriste", "311111"}, 4,
         {"texte 09001", "texte 1", "montant 28.55", "vide", "vide", "vide", "vide", "vide", "vide", "vide", "vide", "vide"}},
        {"facturations-envoyees", {}, 0,
         {"texte R7123407", "texte " + attestation, "nombre 2", "montant 81.10", "date 2009-02-03", "texte 10:05:00", "vide",
          "vide", "vide"}},
        {"facturations-precedentes", {}, 0,
         {"texte R7123407", "texte 71234", "texte " + attestation, "nombre 2", "montant 81.10", "texte D7123407"}},
        {"facturations-conservees", {}, 0, {"texte D7123407", "texte *", "nombre 2"}},
        {"file-d-attente", {}, 0,
         {"texte 0000123", "texte TREM80011514", "texte TREMBLAY", "texte JEAN", "date 2009-01-10", "nombre 1"}},
        {"file-d-attente", {}, 1,
         {"texte 0004567", "texte GAGM75531213", "texte GAGNON", "texte MARIE", "vide", "nombre 2"}},
        {"tendances", {"--annee", "2009"}, 0, {"texte Janvier", "montant 40.55", "montant 0.00", "montant 0.00"}},
        {"tendances", {"--annee", "2009"}, 12, {"texte Total", "montant 40.55", "montant 0.00", "montant 0.00"}},
        {"suivi", {}, 0,
         {"texte D7123407", "texte " + attestation, "texte 0042", "texte TREM80011514", "texte TREMBLAY", "texte JEAN",
          "date 2009-01-15", "texte 311111", "texte 09001 09008", "montant 40.55", "texte Sans réponse", "vide", "vide",
          "vide"}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(qPrintable(c.liste + " " + QString::number(c.ligne)));
        const QString fichier = d.fichier(c.liste + ".xlsx");
        const Sortie s = executer(QStringList{"exporter", c.liste, "--format", "xlsx", "--sortie", fichier, "--remplacer"} +
                                  c.options);
        ASSERT_EQ(s.statut, 0) << qPrintable(s.texte + s.erreurs);
        const Classeur lu = lireClasseur(fichier);
        ASSERT_GT(lu.lignes.size(), c.ligne) << qPrintable(lu.erreurs);
        EXPECT_EQ(lu.feuille, c.liste);
        EXPECT_EQ(lu.gel, "A2");
        EXPECT_TRUE(lu.gras);
        ASSERT_EQ(lu.entetes.size(), c.cellules.size()) << qPrintable(lu.entetes.join('|'));
        for (int i = 0; i < c.cellules.size(); ++i) {
            const QString attendue = c.cellules[i];
            if (attendue.endsWith('*'))
                EXPECT_TRUE(lu.lignes[c.ligne][i].startsWith(attendue.chopped(1))) << qPrintable(lu.entetes[i]);
            else
                EXPECT_EQ(lu.lignes[c.ligne][i].toStdString(), attendue.toStdString()) << qPrintable(lu.entetes[i]);
            EXPECT_GE(lu.largeurs.value(i), lu.entetes[i].size()) << qPrintable(lu.entetes[i]);
        }
    }

    const Sortie csv = executer({"exporter", "file-d-attente", "--format", "csv"});
    EXPECT_EQ(csv.texte.split("\r\n").value(2), "0004567;GAGM75531213;GAGNON;MARIE;;2");

    // The disk fills at the first write of the workbook to its place.
    QProcess plein;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", poste.reglages.path());
    env.insert("LD_PRELOAD", DISQUE_PLEIN);
    env.insert("KESTROVA_DISQUE_PLEIN", "1");
    plein.setProcessEnvironment(env);
    plein.start(KESTROVA, {"--dossier", d.chemin(), "exporter", "suivi", "--format", "xlsx", "--sortie", d.fichier("plein.xlsx")});
    ASSERT_TRUE(plein.waitForFinished(60000));
    EXPECT_EQ(plein.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(plein.readAllStandardError()).startsWith("Erreur 61 : Disque plein"));
    EXPECT_EQ(QDir(d.chemin()).entryList({"*plein*"}, QDir::Files | QDir::Hidden), QStringList());
}

}  // namespace
