#include "config/correction.h"
#include "config/fichierconfiguration.h"
#include "config/initialisation.h"
#include "config/motdepasse.h"
#include "config/parametres.h"
#include "platform/fichiers.h"
#include "platform/reglages.h"
#include "platform/sessioncurl.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/petitdisque.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <gtest/gtest.h>

namespace {

const QString Accepte = "Initialisation | Changement accepté...";

QString chiffres(int n) {
    return QStringLiteral("Initialisation | Attention...\n\nIl y a erreur,  ce champ doit être composé "
                          "de %1 chiffres.\nIl ne doit pas avoir de point (.) pour séparer les cents.  "
                          "\nLes espaces vides doivent être comblées par des zéro (0).\n\nExemple: "
                          "19.00$ = 001900   2.40$ = 000240\nExemple: (No Optométriste) 391001\n"
                          "Exemple: (Groupe) 00000\nExemple: (Établissement) 52000")
        .arg(n);
}

class FenetreInitialisation : public ::testing::Test {
protected:
    void SetUp() override {
        CreerConfigurationParDefaut(d.chemin());
        init.charger({"ftp.exemple.ca", "clinique", "vorpel"});
    }
    DossierTemporaire d;
    DialoguesScriptes port;
    ReglagesUtilisateur u;
    Initialisation init{d.chemin(), u, port};
};

}  // namespace

// Every accepted change is saved at once, then announced; every refusal changes nothing.
TEST_F(FenetreInitialisation, ChangementsAcceptesEtRefuses) {
    const QString guillemet = "Initialisation | Changement refusé...\n%1 ne peut pas contenir de "
                              "guillemet (\") ni de caractère qui ne s'écrit pas dans le fichier de "
                              "configuration.";
    const struct {
        const char* cas;
        std::function<bool()> action;
        bool accepte;
        QString message;
    } cas[] = {
        {"prix sans acte", [&] { return init.changerPrix(-1, "003000", "09001"); }, false,
         "Initialisation | Changement refusé...\nAucun acte de pointer dans la liste."},
        {"prix à 4 chiffres", [&] { return init.changerPrix(0, "3000", "09001"); }, false, chiffres(6)},
        {"code avec guillemet", [&] { return init.changerPrix(30, "001000", "09\"99"); }, false,
         guillemet.arg("Le code d'acte")},
        {"nom sans ligne", [&] { return init.changerNom(-1, "Dre Gagnon"); }, false,
         "Initialisation | Changement refusé...\nNom invalide ou aucun nom de pointer dans la liste."},
        {"nom vide", [&] { return init.changerNom(1, ""); }, false,
         "Initialisation | Changement refusé...\nNom invalide ou aucun nom de pointer dans la liste."},
        {"nom avec guillemet", [&] { return init.changerNom(1, "Dr \"Max\""); }, false,
         guillemet.arg("Le nom")},
        {"nom hors Windows-1252", [&] { return init.changerNom(1, "Dr Łukasz"); }, false,
         guillemet.arg("Le nom")},
        {"numéro à 5 chiffres", [&] { return init.changerNumero(1, "39100"); }, false, chiffres(6)},
        {"groupe sans ligne", [&] { return init.changerGroupe(-1, "12345"); }, false,
         "Initialisation | Changement refusé...\nAucun établissement de pointer dans la liste."},
        {"établissement avec une lettre", [&] { return init.changerEtablissement(1, "Laval 5200A"); },
         false, chiffres(5)},
        {"prix", [&] { return init.changerPrix(0, "003000", "09001"); }, true, Accepte},
        {"nom", [&] { return init.changerNom(1, "Dr Mathieu Tremblay"); }, true, Accepte},
        {"numéro", [&] { return init.changerNumero(1, "391001"); }, true, Accepte},
        {"groupe", [&] { return init.changerGroupe(1, "12345"); }, true, Accepte},
        {"établissement", [&] { return init.changerEtablissement(1, "Lac-Brume 52891"); }, true, Accepte},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        port.effacer();
        const QByteArray avant = d.lire("Kestrova.Cfg");
        EXPECT_EQ(c.action(), c.accepte);
        EXPECT_EQ(port.resume(), QStringList{c.message});
        EXPECT_EQ(port.bips(), c.accepte ? 0 : 1);
        if (!c.accepte) {
            EXPECT_EQ(d.lire("Kestrova.Cfg"), avant);
        }
    }
    const Configuration lu = ChargerConfiguration(d.chemin());
    EXPECT_EQ(lu.Optometristes[1], (Optometriste{"Dr Mathieu Tremblay", "391001", "12345"}));
    EXPECT_EQ(lu.Etablissements[1], "Lac-Brume 52891");
    EXPECT_EQ(lu.TableDesPrix[0].prix, "003000");
}

// After a fee change the file is, byte for byte, the one written by hand: one fee pair a line.
TEST_F(FenetreInitialisation, FichierApresUnChangementDePrix) {
    ASSERT_TRUE(init.changerPrix(0, "003000", "09001"));
    EXPECT_EQ(d.lire("Kestrova.Cfg"), donnees("Kestrova.Cfg.initialisation"));
}

// A save that fails names the file and is never followed by "Changement accepté...".
TEST_F(FenetreInitialisation, SauvegardeImpossible) {
    QFile::remove(d.fichier("Kestrova.Cfg"));
    QDir().mkpath(d.fichier("Kestrova.Cfg"));  // a folder where the file goes
    EXPECT_FALSE(init.changerNumero(0, "391001"));
    ASSERT_EQ(port.boites().size(), 1);
    EXPECT_EQ(port.boites()[0].texte, "Erreur numéro: 75\nErreur d'accès au chemin/fichier (le chemin "
                                      "désigne un dossier et non un fichier) : " +
                                          d.fichier("Kestrova.Cfg"));
}

// A configuration that cannot be read whole is never replaced by defaults: what can be read is
// loaded and the rest told; the original is kept as Kestrova.Cfg.ancien before the first save
// over it, and a price that would stop the program is never saved.
TEST_F(FenetreInitialisation, ConfigurationIllisibleJamaisRemplaceeParLesDefauts) {
    Configuration clinique = Configuration::parDefaut();
    clinique.Optometristes[0] = {QStringLiteral("Dre Émilie Gagnon"), "322227", "12345"};
    clinique.Optometristes[1] = {"Dr Luc Roy", "391001", "00000"};
    clinique.Etablissements[1] = "Lac-Brume 52891";
    fichierconfiguration::ecrire(d.fichier("Kestrova.Cfg"), clinique, fichierconfiguration::Groupement::ParSix);
    const QByteArray complet = d.lire("Kestrova.Cfg");
    const int dansLesPrix = complet.indexOf("\"09010\"") + 3;
    const struct {
        const char* cas;
        QByteArray octets;
        QString detail;
        bool prixARefaire;
    } cas[] = {
        {"coupé dans la table des prix", complet.left(dansLesPrix),
         "La lecture s'est arrêtée au champ numéro 112 (code d'acte de l'entrée 10) : le texte n'est pas fermé "
         "par un guillemet.", false},
        {"un poids illisible, le reste lu", QByteArray(complet).replace("1,3,7,9,", "1,3,7,#,"),
         "Ces champs ne peuvent pas être lus ; leur valeur par défaut est affichée :\nChamp numéro 5 (poids 4 du "
         "numéro d'assurance maladie) : un nombre entier est attendu, le fichier contient « # ».", false},
        {"prix à cinq chiffres", QByteArray(complet).replace("\"002855\"", "\"02855\""),
         "Ces prix n'ont pas six chiffres (corrigez-les dans « Liste des actes ») :\nentrée 1 (09001) : « 02855 »",
         true},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        d.ecrire("Kestrova.Cfg", c.octets);
        QFile::remove(d.fichier("Kestrova.Cfg.ancien"));
        DialoguesScriptes p;
        Initialisation i(d.chemin(), u, p);
        i.charger({"ftp.exemple.ca", "clinique", "vorpel"});
        EXPECT_EQ(p.resume(), QStringList{"Initialisation | Le fichier de configuration Kestrova.Cfg ne peut pas être "
                                          "lu en entier.\n\n" + c.detail + "\n\nCe qui a pu être lu est affiché ; le "
                                          "reste a les valeurs par défaut, sans optométriste ni établissement. Vérifiez "
                                          "chaque onglet. Avant le premier enregistrement, le fichier actuel sera "
                                          "conservé sous le nom Kestrova.Cfg.ancien."});
        EXPECT_EQ(i.copie.Optometristes[0], clinique.Optometristes[0]);
        EXPECT_EQ(i.copie.Optometristes[1], clinique.Optometristes[1]);
        EXPECT_EQ(i.copie.Etablissements[1], "Lac-Brume 52891");
        EXPECT_EQ(i.copie.listeOptometristes().size(), 2);  // no placeholder slot in use
        EXPECT_EQ(i.copie.TableDesPrix[8], clinique.TableDesPrix[8]);

        p.effacer();
        const bool accepte = i.changerNom(2, "Dre Nadia Roy");
        EXPECT_EQ(accepte, !c.prixARefaire);
        if (c.prixARefaire) {
            EXPECT_EQ(p.resume(), QStringList{"Initialisation | Rien n'a été enregistré : ces prix n'ont pas six "
                                              "chiffres.\n\n09001 « 02855 »\n\nCorrigez-les dans « Liste des "
                                              "actes » (exemple: 19.00$ = 001900)."});
            EXPECT_EQ(d.lire("Kestrova.Cfg"), c.octets);
            EXPECT_FALSE(d.existe("Kestrova.Cfg.ancien"));
            p.effacer();
            EXPECT_TRUE(i.changerPrix(0, "002855", "09001"));
        }
        EXPECT_EQ(p.resume(), (QStringList{"Initialisation | Le fichier de configuration qui ne pouvait pas être lu "
                                           "en entier est conservé sous le nom Kestrova.Cfg.ancien.",
                                           Accepte}));
        EXPECT_EQ(d.lire("Kestrova.Cfg.ancien"), c.octets);
        const Configuration relue = fichierconfiguration::lire(d.fichier("Kestrova.Cfg"));
        EXPECT_EQ(relue.Optometristes[0], clinique.Optometristes[0]);
        EXPECT_EQ(relue.Optometristes[2].nom, "Dre Nadia Roy");
        EXPECT_EQ(relue.TableDesPrix[0].prix, "002855");
        EXPECT_EQ(relue.PoidsNAM, Configuration::parDefaut().PoidsNAM);
        // Later saves replace the file written by this window: nothing more is kept.
        p.effacer();
        EXPECT_TRUE(i.changerNumero(2, "391002"));
        EXPECT_EQ(p.resume(), QStringList{Accepte});
        EXPECT_EQ(QDir(d.chemin()).entryList({"Kestrova.Cfg.ancien*"}, QDir::Files).size(), 1);
    }
}

// The agency button's enabling, the 38-byte file, and a question before resetting counters.
TEST_F(FenetreInitialisation, NumeroDAgence) {
    const struct {
        const char* texte;
        bool active;
    } activation[] = {{"71234", true}, {"7123", false}, {"72345", false}, {"712345", false}, {"71A34", true}};
    for (const auto& a : activation)
        EXPECT_EQ(Initialisation::agenceActivable(a.texte), a.active) << a.texte;

    EXPECT_FALSE(init.enregistrerAgence("71A34"));
    EXPECT_EQ(port.resume(), QStringList{"Message | Attention !!!\n\nLe numéro d'agence n'est pas valide."});
    EXPECT_FALSE(d.existe("Facturat.Lex"));
    port.effacer();
    EXPECT_TRUE(init.enregistrerAgence("71234"));
    EXPECT_EQ(port.resume(), QStringList{"Message | Agence et compteur créés."});
    EXPECT_EQ(d.lire("Facturat.Lex"), "R7123400D71234000000000000000000000000");

    d.ecrire("Facturat.Lex", "R7123412D71234120041000000000000000041");
    for (const bool ok : {false, true}) {  // no answer scripted: the default button, Cancel
        port.effacer();
        if (ok)
            port.reponses = {Reponse::Ok};
        EXPECT_EQ(init.enregistrerAgence("71235"), ok);
        ASSERT_GE(port.boites().size(), 1);
        EXPECT_EQ(port.boites()[0].boutons, Boutons::OkAnnuler);
        EXPECT_EQ(d.lire("Facturat.Lex"), ok ? "R7123500D71235000000000000000000000000"
                                             : "R7123412D71234120041000000000000000041");
    }
}

// Each switch to its store, and back when the window opens again; PavoConserveDate is "OUI"
// when absent, so opening and closing changes nothing by itself.
TEST_F(FenetreInitialisation, InterrupteursEtServeur) {
    EXPECT_EQ(init.cases, (std::array<bool, 10>{true, false, false, false, true, true, false, false, false, false}));
    for (bool& c : init.cases)
        c = !c;
    init.serveurFtp = "127.0.0.1:2121";
    init.utilisateurFtp = "autre";
    ASSERT_TRUE(init.sauvegarder());
    const QByteArray ini = d.lire("Tarnwick.ini");
    EXPECT_TRUE(ini.contains("RappelBES2an=NON")) << ini.constData();
    EXPECT_TRUE(ini.contains("RappelTOUS2an=OUI"));
    EXPECT_TRUE(ini.contains("SiMotPasse=OUI"));
    const QStringList cles = Initialisation::clesCases();
    for (int i = 3; i < Initialisation::NombreCases; ++i)
        EXPECT_EQ(u.lire(cles[i], {}), init.cases[i] ? "OUI" : "NON") << qPrintable(cles[i]);
    EXPECT_EQ(u.lire(parametres::ExigerTLS, {}), "OUI");
    EXPECT_TRUE(tlsExige());  // at once, for the transfers of this session
    exigerTLS(false);
    EXPECT_EQ(u.lire(parametres::NomDuServeurFtp, {}), "127.0.0.1:2121");
    EXPECT_EQ(u.lire(parametres::NomUtilisateurFtp, {}), "autre");

    Initialisation encore(d.chemin(), u, port);
    encore.charger(parametres::lireParametresFtp(u));
    EXPECT_EQ(encore.cases, init.cases);
    EXPECT_EQ(encore.serveurFtp, "127.0.0.1:2121");
}

// On a full disk every configuration write of these windows fails cleanly: "Disque plein" named,
// never "accepté" nor "autorisé", and the files as they were.
TEST(ConfigurationSurDisquePlein, RienNEstAbimeNiAnnonceAccepte) {
    PetitDisque disque(256 * 1024);
    KESTROVA_EXIGER_PETIT_DISQUE(disque);
    const QString dossier = disque.chemin();
    CreerConfigurationParDefaut(dossier);
    const QByteArray cfg = fichiers::lire(dossier + "/Kestrova.Cfg");
    ReglagesUtilisateur u;
    const struct {
        const char* cas;
        std::function<bool(PortDialogue&)> action;
    } cas[] = {
        {"prix", [&](PortDialogue& p) {
             Initialisation i(dossier, u, p);
             i.charger({});
             return i.changerPrix(0, "003000", "09001");
         }},
        {"agence", [&](PortDialogue& p) { return Initialisation(dossier, u, p).enregistrerAgence("71234"); }},
        {"premier mot de passe", [&](PortDialogue& p) {
             return motdepasse::Porte(dossier, p).connexion("secret") == motdepasse::Issue::Autorise;
         }},
        {"correction", [&](PortDialogue& p) {
             return correction::Reecrire(dossier, fichierconfiguration::lireAncienne(dossier + "/Kestrova.Cfg"), p);
         }},
    };
    disque.laisserLibre(0);
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        DialoguesScriptes port;
        port.reponses = {Reponse::Annuler};
        EXPECT_FALSE(c.action(port));
        const QString tout = port.resume().join('\n');
        EXPECT_TRUE(tout.contains("Erreur numéro: 61\nDisque plein : ")) << qPrintable(tout);
        EXPECT_FALSE(tout.contains("accepté") || tout.contains("autorisé") || tout.contains("créés") ||
                     tout.contains("modifié"))
            << qPrintable(tout);
        EXPECT_EQ(fichiers::lire(dossier + "/Kestrova.Cfg"), cfg);
        EXPECT_FALSE(QFile::exists(dossier + "/Facturat.Lex"));
        EXPECT_FALSE(QFile::exists(dossier + "/Ramq.Chk"));
        EXPECT_FALSE(QFile::exists(dossier + "/Kestrova.Cfg.ancien"));
    }
}

// On a full disk the first save over an unreadable configuration keeps it as it was, with no
// copy half-written beside it: "Disque plein" named, never "accepté".
TEST(ConfigurationSurDisquePlein, IllisibleGardeeTelleQuelle) {
    PetitDisque disque(256 * 1024);
    KESTROVA_EXIGER_PETIT_DISQUE(disque);
    CreerConfigurationParDefaut(disque.chemin());
    const QString cfg = disque.fichier("Kestrova.Cfg");
    const QByteArray abime = fichiers::lire(cfg).replace("1,3,7,9,", "1,3,7,#,");
    fichiers::ecrireAtomique(cfg, abime);
    ReglagesUtilisateur u;
    DialoguesScriptes port;
    Initialisation i(disque.chemin(), u, port);
    i.charger({"127.0.0.1:1", "tollmark", "vorpel"});
    port.effacer();
    disque.laisserLibre(0);
    EXPECT_FALSE(i.changerNom(1, "Dr Luc Roy"));
    const QString tout = port.resume().join('\n');
    EXPECT_TRUE(tout.contains("Erreur numéro: 61\nDisque plein : ")) << qPrintable(tout);
    EXPECT_FALSE(tout.contains("accepté") || tout.contains("conservé")) << qPrintable(tout);
    EXPECT_EQ(fichiers::lire(cfg), abime);
    EXPECT_EQ(QDir(disque.chemin()).entryList({"*Kestrova.Cfg*"}, QDir::Files | QDir::Hidden),
              QStringList{"Kestrova.Cfg"});
    // Room again: the save keeps the unreadable file first, then writes.
    disque.liberer();
    port.effacer();
    EXPECT_TRUE(i.changerNom(1, "Dr Luc Roy"));
    EXPECT_EQ(fichiers::lire(cfg + ".ancien"), abime);
}

// The initialisation's save with the disk full from each of its writes in turn, in a process of
// its own: the failure is named and never announced as saved, and Kestrova.Cfg and Tarnwick.ini
// are each as they were or as saved, never cut short. Lock files left empty by a killed save
// never delay the next one.
TEST(ConfigurationSurDisquePlein, AChaqueEcritureDeLaSauvegarde) {
    DossierTemporaire d;
    QDir().mkpath(d.fichier("avant"));
    CreerConfigurationParDefaut(d.fichier("avant"));
    d.ecrire("avant/Tarnwick.ini", "[Kestrova]\r\nSiMotPasse=NON\r\nRappelBES2an=OUI\r\nRappelTOUS2an=NON\r\n");
    struct Sauvegarde {
        int code;
        QString sortie;
        long ecritures;
    };
    int tour = 0;
    auto sauvegarder = [&](long pleinA, const QString& dossier) {
        QDir(dossier).removeRecursively();
        QDir().mkpath(dossier + "/reglages");
        for (const char* f : {"Kestrova.Cfg", "Tarnwick.ini"})
            QFile::copy(d.fichier(QStringLiteral("avant/") + f), dossier + '/' + f);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_PRELOAD", DISQUE_PLEIN);
        env.insert("KESTROVA_DISQUE_PLEIN", QString::number(pleinA));
        p.setProcessEnvironment(env);
        p.start(AUTRE_POSTE, {"initialiser", dossier, dossier + "/reglages"});
        EXPECT_TRUE(p.waitForFinished(20000));
        const QString erreurs = QString::fromUtf8(p.readAllStandardError());
        ++tour;
        return Sauvegarde{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                          erreurs.section("ecritures: ", 1).trimmed().toLong()};
    };
    // With room, and lock files a killed save left empty a moment ago.
    const QString complete = d.fichier("complete");
    QDir().mkpath(complete + "/reglages/Kestrova");
    QElapsedTimer chrono;
    chrono.start();
    for (const char* verrou : {"Tarnwick.ini.lock", "reglages/Kestrova/Kestrova.conf.lock"})
        fichiers::ecrireAtomique(complete + '/' + verrou, {});
    const Sauvegarde reussie = sauvegarder(0, complete);
    ASSERT_EQ(reussie.code, 0) << qPrintable(reussie.sortie);
    EXPECT_LT(chrono.elapsed(), 5000);
    ASSERT_GT(reussie.ecritures, 5);
    const QByteArray tarnwick = fichiers::lire(complete + "/Tarnwick.ini");
    EXPECT_EQ(tarnwick, "[Kestrova]\r\nSiMotPasse=OUI\r\nRappelBES2an=NON\r\nRappelTOUS2an=OUI\r\n");
    const QByteArray cfg = fichiers::lire(complete + "/Kestrova.Cfg");

    QSet<QString> nommes;
    for (long n = 1; n <= reussie.ecritures; ++n) {
        const QString dossier = d.fichier("plein");
        const Sauvegarde s = sauvegarder(n, dossier);
        SCOPED_TRACE(QStringLiteral("plein à l'écriture %1 : %2").arg(n).arg(s.sortie).toStdString());
        EXPECT_EQ(s.code, 1);
        EXPECT_FALSE(s.sortie.contains("accepté") || s.sortie.isEmpty());
        for (const char* f : {"Kestrova.Cfg", "Tarnwick.ini", "Kestrova.conf"})
            if (s.sortie.contains(f))
                nommes << f;
        const QByteArray t = fichiers::lire(dossier + "/Tarnwick.ini"), c = fichiers::lire(dossier + "/Kestrova.Cfg");
        EXPECT_TRUE(t == tarnwick || t == d.lire("avant/Tarnwick.ini")) << t.constData();
        EXPECT_TRUE(c == cfg || c == d.lire("avant/Kestrova.Cfg"));
    }
    EXPECT_EQ(nommes, QSet<QString>({"Kestrova.Cfg", "Tarnwick.ini", "Kestrova.conf"}));
}
