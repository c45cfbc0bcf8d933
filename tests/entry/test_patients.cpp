#include "entry/dossierpatient.h"
#include "entry/filepatients.h"
#include "entry/patientcourant.h"
#include "platform/erreurs.h"
#include "records/fichierenregistrements.h"
#include "records/fichierfactures.h"
#include "rules/regles.h"
#include "support/autreposte.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/patients.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>

namespace {

patients::Patient tremblay() {
    return {"TREM80011514", "TREMBLAY", "MARC", "19800115", "M", "123, RUE PRINCIPALE", "ST-OLVANE",
            "H2X 1Y4", "0427", "01", "20250301"};
}

// Look-ups by NAM and by file number over records full of bytes this program does not know.
TEST(DossierPatient, Recherches) {
    DossierTemporaire d;
    patients::Patient autre = tremblay();
    autre.nam = "TREM80011599";
    patients::Patient deuxieme = tremblay();
    deuxieme.prenom = "MARIE";
    deuxieme.adresse = "9 RUE DU LAC";
    patients::Patient lapointe = tremblay();
    lapointe.nam = "LAPM70020212";
    lapointe.nom = "LAPOINTE";
    lapointe.prenom = "MARIE";
    lapointe.sexe = "F";
    patients::creer(d.chemin(),
                    {patients::enregistrement(tremblay(), '\0'), patients::enregistrement(autre, '\x81'),
                     patients::enregistrement(deuxieme, '\xFF'), patients::enregistrement(lapointe, '\0')},
                    {{"TREM", patients::entree("TREMBLAY", "M", 99)}});  // points past the end
    EXPECT_TRUE(d.existe("Patient/L/LAPKPDB.LEX"));
    EXPECT_TRUE(d.existe("Patient/T/TRKPDB.LEX"));

    // Two entries hold the NAM: the later one is loaded; the entry past the end is skipped.
    const auto trouvee = dossierpatient::chercher(d.chemin(), "TREM80011514");
    ASSERT_TRUE(trouvee);
    EXPECT_EQ(trouvee->numero, 3);
    const Identite i = dossierpatient::identite(trouvee->enregistrement);
    EXPECT_EQ(QStringList({i.nam, i.nom, i.prenom, i.naissance, i.adresse, i.ville, i.codePostal,
                           i.sequenceCarte, i.expirationCarte}),
              QStringList({"TREM80011514", "TREMBLAY", "MARIE", "19800115", "9 RUE DU LAC", "ST-OLVANE",
                           "H2X1Y4", "01", "0427"}));
    EXPECT_TRUE(i.masculin);
    EXPECT_EQ(dossierpatient::chercher(d.chemin(), "LAPM70020212")->numero, 4);
    EXPECT_FALSE(dossierpatient::identite(dossierpatient::lire(d.chemin(), 4)->enregistrement).masculin);
    EXPECT_EQ(dossierpatient::identite(dossierpatient::lire(d.chemin(), 1)->enregistrement).adresse,
              "123  RUE PRINCIPALE");
    EXPECT_FALSE(dossierpatient::chercher(d.chemin(), "TREM80011515"));
    EXPECT_FALSE(dossierpatient::chercher(d.chemin(), "GAGM80011514"));  // no index file
    for (int numero : {0, -1, 5})
        EXPECT_FALSE(dossierpatient::lire(d.chemin(), numero)) << numero;

    // The last 09001 as the rules read it.
    const struct {
        QByteArray stocke;
        QString lu;
    } dates[] = {{"20250301", "25/03/01"}, {"        ", "99/01/01"}, {"00000000", "99/01/01"},
                 {"20251340", "99/01/01"}, {"2025030", "99/01/01"}};
    for (const auto& c : dates) {
        patients::Patient p = tremblay();
        p.dernier09001 = c.stocke;
        EXPECT_EQ(dossierpatient::dernier09001(patients::enregistrement(p, '\0')), c.lu) << c.stocke.constData();
    }

    // The window's look-ups: a file number skips the NAM checks; past the end loads nothing,
    // and a store afterwards leaves the database as it was.
    DialoguesScriptes dialogues;
    PatientCourant courant;
    PatientCourant::Reglages r;
    r.UtiliseDossierPatient = true;
    auto c = courant.nam(d.chemin(), "2", r, dialogues);
    EXPECT_TRUE(c.parNumeroDeDossier);
    EXPECT_EQ(c.identite->nam, "TREM80011599");
    EXPECT_EQ(courant.dossier()->numero, 2);
    EXPECT_FALSE(courant.nam(d.chemin(), "TREM80011599", r, dialogues).identite);  // the same NAM again
    c = courant.nam(d.chemin(), "7", r, dialogues);
    EXPECT_FALSE(c.identite);
    EXPECT_FALSE(courant.dossier());
    EXPECT_FALSE(courant.namVerifie(d.chemin(), "TREM80011515", dialogues).identite);
    EXPECT_EQ(dialogues.resume(), QStringList{"Recherche | Aucune personne au fichier patient avec ce "
                                              "numéro d'assurance maladie..."});
    EXPECT_EQ(courant.dernier09001(), "99/01/01");
    EXPECT_TRUE(courant.namVerifie(d.chemin(), "TREM80011514", dialogues).identite);
    EXPECT_EQ(courant.dernier09001(), "25/03/01");

    // No Patient folder: the database is said to be missing.
    DossierTemporaire vide;
    dialogues.effacer();
    PatientCourant autreCourant;
    autreCourant.nam(vide.chemin(), "3", r, dialogues);
    ASSERT_EQ(dialogues.resume().size(), 1);
    EXPECT_TRUE(dialogues.resume()[0].startsWith("Message | La base de donnée DOSSIER PATIENT n'existe pas"));
}

// The update at store changes only the fields it names, as the switches say.
TEST(DossierPatient, MiseAJourALEnregistrement) {
    const QByteArray avant = patients::enregistrement(tremblay(), '\x81');
    const struct {
        const char* cas;
        int ligne;  // of the examination act
        QString acte;
        bool changer, bes2an, tous2an, surLeBes;
        QByteArray dernierExamen, rappel, dernier09001, actes;
        bool message;
    } cas[] = {
        {"09001, un an", 1, "09001", true, true, false, false, "20260315", "20270315", "20260315",
         "09001 09008         ", false},
        {"tous aux deux ans", 1, "09001", true, true, true, false, "20260315", "20280315", "20260315",
         "09001 09008         ", false},
        {"B.E.S. reporté", 1, "09001", true, true, false, true, "20260315", "20280315", "20260315",
         "09001 09008         ", true},
        {"B.E.S. sans report", 1, "09001", true, false, false, true, "20260315", "20270315", "20260315",
         "09001 09008         ", false},
        {"sans changer le rappel", 1, "09001", false, true, false, false, "", "", "20260315",
         "09001 09008         ", false},
        {"09001 en ligne 2", 2, "09001", true, true, false, false, "20260315", "", "", "", false},
        {"09002 en ligne 1", 1, "09002", true, true, false, false, "20260315", "", "", "", false},
        {"aucun examen", 1, "09008", true, true, false, false, "", "", "", "", false},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        DossierTemporaire d;
        patients::creer(d.chemin(), {patients::enregistrement(tremblay(), '\0'), avant});
        ValeursFacture v = factureDeBase();
        v.dateService = "20260315";
        v.sequenceCarte = "03";
        v.expirationCarte = "0931";
        v.considerations = c.surLeBes ? "A" : "";
        v.actes = {"09008", "", "", ""};
        v.actes[c.ligne - 1] = c.acte;
        if (c.ligne == 1)
            v.actes[1] = "09008";
        DialoguesScriptes dialogues;
        dossierpatient::mettreAJour(d.chemin(), {2, avant}, v, {c.changer, c.bes2an, c.tous2an}, dialogues);

        QByteArray attendu = avant;
        const auto placer = [&](facture::Position p, const QByteArray& valeur) {
            if (!valeur.isEmpty())
                attendu.replace(p.colonne - 1, p.largeur, valeur.leftJustified(p.largeur, ' ', true));
        };
        placer(dossierpatient::DernierExamen, c.dernierExamen);
        placer(dossierpatient::DateRappel, c.rappel);
        placer(dossierpatient::Dernier09001, c.dernier09001);
        placer(dossierpatient::ActesDernier09001, c.actes);
        if (c.acte != "09008") {
            placer(dossierpatient::ExpirationCarte, "0931");
            placer(dossierpatient::SequenceCarte, "03");
        }
        EXPECT_EQ(d.lire("Patient/KPDBFIL.FIL"), patients::enregistrement(tremblay(), '\0') + attendu);
        EXPECT_EQ(dialogues.resume(),
                  c.message ? QStringList{"Message | Cette personne est sur le B.E.S. et sa date de rappel à "
                                          "été reportée deux (2) ans plus tard."}
                            : QStringList{});
    }

    // 29 February, recalled in a year without it; a record that no longer holds the NAM is left.
    ValeursFacture v = factureDeBase();
    v.dateService = "20240229";
    v.considerations = "";
    v.actes = {"09001", "", "", ""};
    EXPECT_EQ(dossierpatient::misAJour(avant, v, {}).mid(dossierpatient::DateRappel.colonne - 1, 8), "20250228");
    DossierTemporaire d;
    patients::creer(d.chemin(), {avant});
    v.nam = "TREM80011599";
    DialoguesScriptes dialogues;
    dossierpatient::mettreAJour(d.chemin(), {1, avant}, v, {}, dialogues);
    dossierpatient::mettreAJour(d.chemin(), {2, avant}, factureDeBase(), {}, dialogues);
    EXPECT_EQ(d.lire("Patient/KPDBFIL.FIL"), avant);
}

// The date from the database makes the last-09001 warning fire.
TEST(DossierPatient, AvertissementDuDernier09001) {
    patients::Patient p = tremblay();
    p.dernier09001 = "20250518";  // 300 days before the service
    ChampsActe champs;
    champs.actes = {"09001", "", "", ""};
    champs.dateService = "20260314";
    champs.dernier09001 = dossierpatient::dernier09001(patients::enregistrement(p, '\0'));
    DialoguesScriptes dialogues;
    VerifierActe(2, champs, Configuration::parDefaut(), dialogues, QDate(2026, 3, 14));
    ASSERT_FALSE(dialogues.resume().isEmpty());
    EXPECT_TRUE(dialogues.resume()[0].startsWith("Vérification du dernier 09001 | ATTENTION..."))
        << qPrintable(dialogues.resume().join('\n'));
}

// A database locked by another workstation: its own Retry/Cancel; the invoice is stored once and
// its statistics record written.
TEST(DossierPatient, MiseAJourImpossible) {
    DossierTemporaire d;
    QDir().mkpath(d.fichier("Sauvramq"));
    patients::creer(d.chemin(), {patients::enregistrement(tremblay(), '\0')});
    AutrePoste poste(d.fichier("Patient/KPDBFIL.FIL"));
    ASSERT_TRUE(poste.verrouille());
    FichierEnregistrements::delaiVerrouMs = 100;
    DialoguesScriptes dialogues;
    dialogues.reponses = {Reponse::Reessayer, Reponse::Annuler};
    ValeursFacture v = factureDeBase();
    const auto fiche = dossierpatient::lire(d.chemin(), 1);
    const auto r = fichierfactures::EnregistrerFacture(v, d.chemin(), dialogues, [&] {
        dossierpatient::mettreAJour(d.chemin(), *fiche, v, {}, dialogues);
    });
    FichierEnregistrements::delaiVerrouMs = 5000;
    EXPECT_EQ(r.numero, 1);
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil").size(), 723);
    EXPECT_EQ(d.lire("Sauvramq/STA2009.Dat").size(), 97);
    EXPECT_EQ(d.lire("Patient/KPDBFIL.FIL"), patients::enregistrement(tremblay(), '\0'));
    EXPECT_EQ(dialogues.boites().size(), 4) << qPrintable(dialogues.resume().join('\n'));
    EXPECT_EQ(dialogues.boites()[1].boutons, Boutons::ReessayerAnnuler);
    EXPECT_TRUE(dialogues.resume().last().endsWith("le dossier du patient n'a pas été mis à jour."));
}

QByteArray patientEnFile(const QList<QByteArray>& champs) {
    const int largeurs[] = {12, 30, 30, 2, 4, 8, 1, 40, 40, 6, 8, 7};
    QByteArray r;
    for (int i = 0; i < 12; ++i)
        r += champs[i].leftJustified(largeurs[i], ' ', true);
    return r;
}

// The import: every line parsed first, all appended in one write; a malformed line imports nothing.
TEST(FilePatients, Importation) {
    DossierTemporaire d;
    d.ecrire("PavoRamq.Txt", "trem80011514;Jean;Tremblay;1;427;19800115;M;123 rue Principale;St-Olvane;H2X1Y4;20261204;12\r\n"
                             "\r\n"
                             "GAGM85022818;H\xE9l\xE8ne;Gagnon;2;531;19850228;f;4 rang \xC9rable;L\xE9vis;G6V4Z2;20261204;A;B\n"
                             "LAPP70010111;Paul;Lapointe;3;1028;19700101;M;1;2;3;20261203;123456789\r");
    DialoguesScriptes dialogues;
    EXPECT_EQ(filepatients::importer(d.chemin(), dialogues), 3);
    EXPECT_EQ(dialogues.resume(), QStringList{"Importation de fichier |  3 noms ont été importés pour préparation de factures"});
    EXPECT_EQ(d.lire("MdiTmp.Dat"),
              patientEnFile({"trem80011514", "Jean", "Tremblay", "1", "427", "19800115", "M", "123 rue Principale",
                             "St-Olvane", "H2X1Y4", "20261204", "12"}) +
                  patientEnFile({"GAGM85022818", "H\xE9l\xE8ne", "Gagnon", "2", "531", "19850228", "f",
                                 "4 rang \xC9rable", "L\xE9vis", "G6V4Z2", "20261204", "A;B"}) +
                  patientEnFile({"LAPP70010111", "Paul", "Lapointe", "3", "1028", "19700101", "M", "1", "2", "3",
                                 "20261203", "1234567"}));
    EXPECT_FALSE(d.existe("PavoRamq.Txt"));
    EXPECT_EQ(filepatients::legendeSuivante(3), "Préparer la facture suivante... ( 3 )");

    const Identite i = filepatients::identite(filepatients::lire(d.chemin(), 2)->enregistrement);
    EXPECT_EQ(QStringList({i.nam, i.nom, i.prenom, i.adresse, i.ville, i.examen}),
              QStringList({"GAGM85022818", "GAGNON", "HELENE", "4 RANG ERABLE", "LEVIS", "20261204"}));
    EXPECT_FALSE(i.masculin);

    // A malformed line 2: nothing imported, the file kept, the line named.
    const QByteArray avant = d.lire("MdiTmp.Dat");
    const QByteArray mauvais = "A;B;C;D;E;F;G;H;I;J;K;L\nA;B;C\n";
    d.ecrire("PavoRamq.Txt", mauvais);
    dialogues.effacer();
    EXPECT_EQ(filepatients::importer(d.chemin(), dialogues), 0);
    EXPECT_EQ(d.lire("MdiTmp.Dat"), avant);
    EXPECT_EQ(d.lire("PavoRamq.Txt"), mauvais);
    EXPECT_TRUE(dialogues.resume()[0].contains("La ligne 2 du fichier")) << qPrintable(dialogues.resume()[0]);
    QFile::remove(d.fichier("PavoRamq.Txt"));
    dialogues.effacer();
    filepatients::importer(d.chemin(), dialogues);
    EXPECT_EQ(dialogues.resume(), QStringList{"Importation de facture | Aucun nom à importer pour la préparation des factures."});
}

// The lines of an import file, each with its own file number so that each record is unique.
QByteArray lignesImportation(int premier, int nombre) {
    QByteArray texte;
    for (int i = premier; i < premier + nombre; ++i)
        texte += "TREM80011514;Jean;Tremblay;1;427;19800115;M;1 rue A;Ville;H2X1Y4;20261204;" + QByteArray::number(i) +
                 "\r\n";
    return texte;
}

// How many times each file number from `premier` is in the queue, as "number:times" for those
// not there exactly once; empty when every one is there once and no other is.
QStringList horsUneFois(const QString& dossier, int premier, int nombre) {
    QMap<int, int> fois;
    for (const auto& p : filepatients::tous(dossier))
        ++fois[filepatients::rangee(p)[0].toInt()];
    QStringList ecarts;
    for (int i = premier; i < premier + nombre; ++i)
        if (fois.value(i) != 1)
            ecarts << QStringLiteral("%1:%2").arg(i).arg(fois.value(i));
    if (fois.size() != nombre)
        ecarts << QStringLiteral("%1 numéros").arg(fois.size());
    return ecarts;
}

// The outside product adds lines while an import runs, by reopening the file (they start a new
// file, queued by the next import) and through a handle it kept open (they reach the work file,
// and this import queues them too).
TEST(FilePatients, LignesAjouteesPendantLImportation) {
    DossierTemporaire d;
    d.ecrire("PavoRamq.Txt", lignesImportation(1, 5));
    QFile garde(d.fichier("PavoRamq.Txt"));
    ASSERT_TRUE(garde.open(QIODevice::Append | QIODevice::Unbuffered));
    DialoguesScriptes dialogues;
    int appels = 0;
    EXPECT_EQ(filepatients::importer(d.chemin(), dialogues,
                                     [&](filepatients::EtapeImportation e) {
                                         if (e != filepatients::EtapeImportation::Lu)
                                             return;
                                         ++appels;
                                         QFile f(d.fichier("PavoRamq.Txt"));
                                         ASSERT_TRUE(f.open(QIODevice::Append));
                                         f.write(lignesImportation(6, 3));
                                         garde.write(lignesImportation(9, 1) + lignesImportation(10, 1).chopped(2));
                                     }),
              7);
    EXPECT_EQ(appels, 1);
    EXPECT_EQ(d.lire("PavoRamq.Txt"), lignesImportation(6, 3));
    EXPECT_FALSE(d.existe("PavoRamq.Imp"));
    EXPECT_EQ(filepatients::importer(d.chemin(), dialogues), 3);
    EXPECT_EQ(horsUneFois(d.chemin(), 1, 10), QStringList());
    EXPECT_EQ(dialogues.resume(), QStringList({"Importation de fichier |  7 noms ont été importés pour préparation de factures",
                                               "Importation de fichier |  3 noms ont été importés pour préparation de factures"}));
}

// An import killed at each of its steps, then at random moments for a while: after the next
// start or import, each line is in the queue exactly once, and no work file is left.
TEST(FilePatients, ImportationInterrompue) {
    const int Lignes = 400;
    struct Arret {
        int etape;  // -1: killed at a random moment
        bool parDemarrage;  // finished at start-up, or by the next import
        const char* message;  // what the finishing says, "" when nothing was left to finish
    };
    const QString reprise = "Importation de fichier | Une importation interrompue a été terminée.\n\n%1 noms ont été "
                            "importés pour préparation de factures%2.";
    const QString deja = "; 400 qui étaient déjà dans la file n'ont pas été importés de nouveau";
    const QList<Arret> arrets = {{0, true, "400/"}, {1, false, "400/"}, {2, true, "400/"}, {3, false, "0/d"}};
    auto verifier = [&](const DossierTemporaire& d, int nombre, const QString& cas) {
        EXPECT_EQ(horsUneFois(d.chemin(), 1, nombre), QStringList()) << qPrintable(cas);
        EXPECT_FALSE(d.existe("PavoRamq.Imp")) << qPrintable(cas);
        EXPECT_FALSE(d.existe("PavoRamq.Txt")) << qPrintable(cas);
    };
    for (const Arret& a : arrets) {
        DossierTemporaire d;
        d.ecrire("PavoRamq.Txt", lignesImportation(1, Lignes));
        QProcess poste;
        poste.start(AUTRE_POSTE, {"importer", d.chemin(), QString::number(a.etape)});
        ASSERT_TRUE(poste.waitForFinished(20000));
        ASSERT_EQ(poste.exitCode(), 9) << a.etape;
        DialoguesScriptes dialogues;
        if (a.parDemarrage)
            filepatients::reprendreImportation(d.chemin(), dialogues);
        else
            EXPECT_EQ(filepatients::importer(d.chemin(), dialogues), 0);
        const QStringList n = QString(a.message).split('/');
        EXPECT_EQ(dialogues.resume(), QStringList{reprise.arg(n[0], n[1].isEmpty() ? "" : deja)}) << a.etape;
        verifier(d, Lignes, QStringLiteral("étape %1").arg(a.etape));
    }
    // Killed at random moments, the file refilled each round with the next lines.
    DossierTemporaire d;
    QElapsedTimer chrono;
    chrono.start();
    int premier = 1, tours = 0;
    while (chrono.elapsed() < 4000) {
        d.ecrire("PavoRamq.Txt", lignesImportation(premier, 50));
        QProcess poste;
        poste.start(AUTRE_POSTE, {"importer", d.chemin()});
        ASSERT_TRUE(poste.waitForStarted());
        QThread::msleep(QRandomGenerator::global()->bounded(60));
        poste.kill();
        poste.waitForFinished();
        DialoguesScriptes dialogues;
        filepatients::reprendreImportation(d.chemin(), dialogues);
        if (d.existe("PavoRamq.Txt"))
            filepatients::importer(d.chemin(), dialogues);
        premier += 50;
        ++tours;
        verifier(d, premier - 1, QStringLiteral("tour %1").arg(tours));
    }
    EXPECT_GT(tours, 10);
}

// Who leaves the queue, and what a typed NAM or file number finds.
TEST(FilePatients, RetraitsEtRecherche) {
    DossierTemporaire d;
    const QByteArray a = patientEnFile({"AAAA11111111", "A", "A", "", "", "", "", "", "", "", "", "123"});
    const QByteArray b = patientEnFile({"BBBB22222222", "B", "B", "", "", "", "", "", "", "", "", ""});
    const QByteArray c = patientEnFile({"CCCC33333333", "C", "C", "", "", "", "", "", "", "", "", "0123"});
    d.ecrire("MdiTmp.Dat", a + b + c + b);

    const struct {
        const char* tape;
        int numero;
    } recherches[] = {{"bbbb", 2}, {" 123 ", 1}, {"0123", 1}, {"3333", 3}, {"0", 0}, {"ZZ", 0}};
    for (const auto& r : recherches) {
        const auto trouve = filepatients::chercher(d.chemin(), r.tape);
        EXPECT_EQ(trouve ? trouve->numero : 0, r.numero) << r.tape;
    }

    // Record 1 loaded, then removed meanwhile: the loaded patient leaves, not the new record 1.
    const auto charge = filepatients::lire(d.chemin(), 1);
    d.ecrire("MdiTmp.Dat", c + a + b);
    filepatients::retirer(d.chemin(), *charge);
    EXPECT_EQ(d.lire("MdiTmp.Dat"), c + b);
    filepatients::retirer(d.chemin(), *charge);  // gone already: nothing leaves
    EXPECT_EQ(d.lire("MdiTmp.Dat"), c + b);
    d.ecrire("MdiTmp.Dat", b + c + b);
    filepatients::retirerNam(d.chemin(), " BBBB22222222 ");
    EXPECT_EQ(d.lire("MdiTmp.Dat"), c);
}

}  // namespace
