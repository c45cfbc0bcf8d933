// Timings of the bulk operations, each ratio against its floor measured on the same run:
// (a) storing a full file of invoices one by one, against as many durable one-record appends
// (open, write 723 bytes, fdatasync); (b) the file part of a preparation, against copying its
// bytes with a flush; then, as absolute times, the start-up to the shown entry window with a
// full file of invoices, a store in the real window (p50, p99), and the report of 1 000
// invoices rendered to PDF; (d) the summary and the viewer of a large return, against reading it;
// (e) the archive search and listing over 500 kept billings, against reading their files; (f) a
// month of statistics out of a year of 20 000 invoices, against reading the year's file; (g) the
// follow-up of two years (500 billings of 300, 500 error returns, 100 statements) against
// reading its files.
#include "config/configuration.h"
#include "config/fichierconfiguration.h"
#include "entry/Principal.h"
#include "platform/MaskEdBox.h"
#include "platform/horloge.h"
#include "platform/reglages.h"
#include "platform/dialogues.h"
#include "platform/fichiers.h"
#include "platform/imprimantes.h"
#include "records/champs.h"
#include "records/facture.h"
#include "records/fichierfactures.h"
#include "returns/affichageretour.h"
#include "returns/retours.h"
#include "records/statistique.h"
#include "returns/archives.h"
#include "returns/frmSuiviFactures.h"
#include "returns/suivi.h"
#include "statistics/statmensuelle.h"
#include "transmission/preparation.h"
#include "transmission/rapports.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <algorithm>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace {

class DialoguesMuets : public PortDialogue {
public:
    void message(Icone, const QString&, const QString&) override {}
    Reponse question(Icone, const QString&, const QString&, Boutons, int) override {
        return Reponse::Annuler;
    }
    std::optional<QString> saisie(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    int choix(const FenetreChoix&) override { return -1; }
    std::optional<FichierChoisi> fichierAEnregistrer(const QString&, const QString&, const QStringList&) override {
        return std::nullopt;
    }
    void bip() override {}
};

ValeursFacture uneFacture(int i) {
    ValeursFacture v;
    v.nam = "TREM80011514";
    v.prenom = "JEAN";
    v.nom = QStringLiteral("PATIENT %1").arg(i);
    v.sequenceCarte = "1";
    v.expirationCarte = "427";
    v.naissance = "19800115";
    v.adresse = "123 RUE PRINCIPALE";
    v.ville = "ST-OLVANE";
    v.codePostal = "H2X1Y4";
    v.dateService = "20261204";
    v.diagnostics = {"3784", "", "", ""};
    v.actes = {"09001", "09008", "", ""};
    v.honoraires = {"002855", "001200", "", ""};
    v.agence = "71234";
    v.professionnel = i % 2 ? "311111" : "322227";
    v.groupe = "12345";
    v.etablissement = "52713";
    return v;
}

double secondes(const std::function<void()>& f, int repetitions = 1,
                const std::function<void()>& avant = {}) {
    double meilleur = 1e99;
    for (int i = 0; i < repetitions; ++i) {
        if (avant)
            avant();
        QElapsedTimer t;
        t.start();
        f();
        meilleur = std::min(meilleur, t.nsecsElapsed() / 1e9);
    }
    return meilleur;
}

// The floor of a store: `n` durable appends of one 723-byte record, each opening the file.
double ajoutsDurables(const QString& dossier, int n) {
    const QByteArray chemin = QFile::encodeName(dossier + "/plancher.dat");
    const QByteArray enregistrement(facture::Longueur, 'x');
    const double s = secondes([&] {
        for (int i = 0; i < n; ++i) {
            const int fd = ::open(chemin.constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (fd < 0 || ::write(fd, enregistrement.constData(), enregistrement.size()) < 0 ||
                ::fdatasync(fd) != 0)
                std::abort();
            ::close(fd);
        }
    });
    ::unlink(chemin.constData());
    return s;
}

// The floor of a preparation: copying `octets` bytes from one file to a new one through a
// reused buffer, flushed to the disk and renamed into place.
double copie(const QString& dossier, qint64 octets) {
    const QString source = dossier + "/copie-source";
    fichiers::ecrireAtomique(source, QByteArray(octets, 'x'));
    const QByteArray de = QFile::encodeName(source), temporaire = QFile::encodeName(dossier + "/copie-tmp"),
                     vers = QFile::encodeName(dossier + "/copie-cible");
    return secondes([&] {
        const int entree = ::open(de.constData(), O_RDONLY);
        const int sortie = ::open(temporaire.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        static char tampon[1 << 20];
        ssize_t n;
        while ((n = ::read(entree, tampon, sizeof tampon)) > 0)
            if (::write(sortie, tampon, n) != n)
                std::abort();
        if (::fdatasync(sortie) != 0 || ::rename(temporaire.constData(), vers.constData()) != 0)
            std::abort();
        ::close(entree);
        ::close(sortie);
    }, 5);
}

void afficher(const char* nom, double s, double reference, const char* plancher) {
    std::printf("%-52s %9.3f s   %.2fx %s (%.3f s)\n", nom, s, s / reference, plancher, reference);
}

void afficherAbsolu(const char* nom, double ms) { std::printf("%-52s %9.2f ms\n", nom, ms); }

// The invoice typed into the entry window's boxes.
void taper(Principal& p, int i) {
    const ValeursFacture v = uneFacture(i);
    p.MaskEdBox1[0]->setClipText(v.nam);
    p.MaskEdBox1[1]->setClipText(v.naissance);
    p.MaskEdBox1[2]->setClipText(v.codePostal);
    p.MaskEdBox1[6]->setClipText(v.diagnostics[0]);
    p.Text1[0]->setText(v.nom);
    p.Text1[1]->setText(v.prenom);
    p.Combo1[2]->setEditText(v.actes[0]);
    p.Label2[0]->setText(v.honoraires[0]);
}

double centile(QList<double> v, double c) {
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[std::min<qsizetype>(v.size() - 1, qsizetype(c * v.size()))];
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir dossier;
    // KESTROVA_BENCH_GARDER=1 keeps the folder (and the printed PDF) for a look afterwards.
    dossier.setAutoRemove(qEnvironmentVariableIsEmpty("KESTROVA_BENCH_GARDER"));
    const QString programme = dossier.path();
    QDir(programme).mkpath("Sauvramq");
    fichiers::ecrireAtomique(programme + "/Facturat.Lex", "R7123407D71234070041ABCDEFGHIJKLMNO041");
    // A configured clinic: start-up then opens no initialisation window.
    CreerConfigurationParDefaut(programme);
    DialoguesMuets muet;

    // (a) 32 767 invoices stored one by one.
    const int n = facture::NombreMaximal;
    const double a = secondes([&] {
        for (int i = 1; i <= n; ++i)
            fichierfactures::EnregistrerFacture(uneFacture(i), programme, muet);
    });
    const QString ftmp = fichierfactures::cheminFtmp(programme);
    const QByteArray plein = fichiers::lire(ftmp);
    const double plancherA = ajoutsDurables(programme, n);
    afficher("(a) 32 767 factures enregistrées une à une", a, plancherA, "ajouts durables");

    // Start-up to the shown entry window with the full file of invoices.
    ReglagesUtilisateur::rediriger(programme + "/reglages");
    ReglagesUtilisateur utilisateur;
    QElapsedTimer chrono;
    chrono.start();
    auto principal = std::make_unique<Principal>(programme, muet, utilisateur);
    principal->Form_Load();
    principal->afficher();
    QApplication::processEvents();
    afficherAbsolu("démarrage jusqu'à la fenêtre affichée (32 767 en mémoire)",
                   chrono.nsecsElapsed() / 1e6);

    // Stores in the real window, on a file that holds a few invoices.
    fichiers::ecrireAtomique(ftmp, plein.left(10 * facture::Longueur));
    QList<double> durees;
    for (int i = 0; i < 500; ++i) {
        taper(*principal, i);
        chrono.restart();
        principal->Command1_Click();
        durees << chrono.nsecsElapsed() / 1e6;
    }
    afficherAbsolu("enregistrement dans la fenêtre, p50", centile(durees, 0.50));
    afficherAbsolu("enregistrement dans la fenêtre, p99", centile(durees, 0.99));
    principal.reset();

    // (b) The file part of a preparation of the full file (no printing).
    const preparation::Valeurs v =
        preparation::valeursDepuis(preparation::lireAgence(programme), Horloge::aujourdhui());
    bool reussi = true;
    const QString lex = programme + "/Facturat.Lex";
    const QByteArray agence = fichiers::lire(lex);
    const double b = secondes(
        [&] { reussi = preparation::Preparer(programme, v, muet).reussi && reussi; }, 5,
        [&] {
            fichiers::ecrireAtomique(ftmp, plein);
            fichiers::ecrireAtomique(lex, agence);
        });
    const double copieB = copie(programme, plein.size());
    afficher("(b) préparation des fichiers de 32 767 factures", b, copieB, "copie");

    // (b') The same preparation by the command line, a whole process from start to exit, its
    // report printed to PDF.
    const double commande = secondes(
        [&] {
            QProcess p;
            p.start(QStringLiteral(KESTROVA), {QStringLiteral("--dossier"), programme, QStringLiteral("preparer")});
            reussi = p.waitForFinished(600000) && p.exitCode() == 0 && reussi;
        },
        1,
        [&] {
            fichiers::ecrireAtomique(ftmp, plein);
            fichiers::ecrireAtomique(lex, agence);
        });
    afficher("(b') kestrova preparer, 32 767 factures et leur rapport", commande, copieB, "copie");

    // (c) The report of 1 000 invoices rendered to PDF.
    imprimantes::choisir(imprimantes::Pdf);
    const QString demandes = preparation::cheminDans(programme, v.demandes);
    const QList<QByteArray> mille = rapports::lireEnregistrements(demandes).mid(0, 1000);
    QByteArray octetsMille;
    for (const QByteArray& e : mille)
        octetsMille += e;
    const QString milleChemin = programme + "/Sauvramq/D-mille";
    fichiers::ecrireAtomique(milleChemin, octetsMille + char(26));
    const Configuration configuration = Configuration::parDefaut();
    const double c = secondes([&] {
        ImprimanteQt imprimante(programme);
        rapports::imprimerRapportsPreparation(imprimante, milleChemin, v.requete, v.attestation,
                                              configuration);
    }, 3);
    afficherAbsolu("rapport de 1 000 factures en PDF", c * 1000);

    // (d) A large error return (20 000 error lines): its list summary and its viewer, against
    // reading the same bytes.
    QByteArray retour = " 21903404200045\r\n";
    for (int i = 0; i < 20000; ++i) {
        Enregistrement e(94);
        e.ecrireTexte(1, 3, QByteArray(" 25"));
        e.ecrireTexte(4, 7, QByteArray("9034042"));
        e.ecrireTexte(11, 6, QByteArray("123456"));
        e.ecrireTexte(22, 6, champs::nombre(i, 6));
        e.ecrireTexte(30, 62, QByteArray("NAM INVALIDE"));
        retour += e.octets() + "\r\n";
    }
    retour += " 28       000001000013000012000001000000123456789\r\n";
    const QString cheminRetour = programme + "/Sauvramq/ER9034042.rmq";
    fichiers::ecrireAtomique(cheminRetour, retour);
    const double lecture = secondes([&] { (void)fichiers::lire(cheminRetour).size(); }, 5);
    const double resume = secondes(
        [&] { (void)retours::resumer("ER9034042.rmq", fichiers::lire(cheminRetour), Horloge::aujourdhui()); }, 5);
    const double visionneuse = secondes([&] { (void)affichageretour::AfficherRetour(cheminRetour, muet); }, 5);
    afficher("(d) résumé d'un retour de 20 000 erreurs", resume, lecture, "lecture");
    afficher("(d) visionneuse du même retour", visionneuse, lecture, "lecture");

    // (e) The archive search of one patient over 500 kept billings of 300 invoices, against
    // reading the same files; and the listing of those billings when the window opens.
    const QByteArray billing = plein.left(300 * facture::Longueur) + char(26);
    for (int i = 0; i < 500; ++i)
        fichiers::ecrireAtomique(programme + QStringLiteral("/Sauvramq/D71%1").arg(i, 5, 10, QLatin1Char('0')), billing);
    const QStringList conserves = archives::fichiersConserves(programme);
    const double lectureArchives = secondes([&] {
        for (const QString& nom : conserves)
            (void)fichiers::lire(programme + "/Sauvramq/" + nom).size();
    }, 3);
    const double recherche = secondes(
        [&] { (void)archives::rechercher(programme, conserves, QStringLiteral("TREM80011514")); }, 3);
    const double liste = secondes([&] {
        for (const QString& nom : conserves)
            (void)archives::resumer(programme, nom);
    }, 3);
    afficher("(e) recherche d'un NAM dans 500 facturations de 300", recherche, lectureArchives, "lecture");
    afficher("(e) liste des 500 facturations conservées", liste, lectureArchives, "lecture");

    // (f) A year of statistics (20 000 invoices, one optometrist) read, counted and laid out as
    // the monthly window's list, against reading the same bytes.
    QByteArray annee;
    for (int i = 0; i < 20000; ++i) {
        ValeursFacture s = uneFacture(i);
        s.dateService = QStringLiteral("2026%1%2").arg(i % 12 + 1, 2, 10, QLatin1Char('0')).arg(i % 28 + 1, 2, 10, QLatin1Char('0'));
        annee += statistique::construire(s);
    }
    fichiers::ecrireAtomique(programme + "/Sauvramq/STA2026.Dat", annee);
    const double lectureAnnee = secondes([&] { (void)fichiers::lire(programme + "/Sauvramq/STA2026.Dat").size(); }, 5);
    const double statistiques = secondes([&] {
        for (int mois = 1; mois <= 12; ++mois) {
            const auto m = statmensuelle::lire(programme, uneFacture(0).professionnel, 2026, mois, configuration);
            (void)statmensuelle::rangees(m, configuration).size();
        }
    }, 3) / 12;
    afficher("(f) statistiques d'un mois dans une année de 20 000", statistiques, lectureAnnee, "lecture");

    // (g) The follow-up of two busy years: the 500 kept billings above, each stamped with an
    // attestation of its own, an error return refusing one invoice of each, and 100 statements
    // of 300 paid lines each; against reading the same files.
    QStringList fichiersSuivi;
    for (int i = 0; i < 500; ++i) {
        const QByteArray attestation = QByteArray::number(6000000 + i);
        QByteArray stampe = billing;
        for (int r = 0; r < 300; ++r) {
            stampe.replace(r * facture::Longueur + 10, 7, attestation);
            stampe.replace(r * facture::Longueur + 18, 4, champs::nombre(r + 1, 4));
        }
        const QString nom = QStringLiteral("/Sauvramq/D71%1").arg(i, 5, 10, QLatin1Char('0'));
        fichiers::ecrireAtomique(programme + nom, stampe);
        Enregistrement e(94);
        e.ecrireTexte(1, 3, QByteArray(" 25"));
        e.ecrireTexte(4, 7, attestation);
        e.ecrireTexte(11, 6, QByteArray("311111"));
        e.ecrireTexte(18, 4, QByteArray("0007"));
        e.ecrireTexte(22, 6, QByteArray("000007"));
        e.ecrireTexte(30, 62, QByteArray("NAM INVALIDE"));
        e.ecrireTexte(92, 3, QByteArray("123"));
        const QString er = QStringLiteral("/Sauvramq/ER%1.rmq").arg(QString::fromLatin1(attestation));
        fichiers::ecrireAtomique(programme + er,
                                 " 21" + attestation + "  045\r\n" + e.octets() +
                                     "\r\n 28       000001000300000299000001000000123456789\r\n");
        fichiersSuivi << nom << er;
    }
    for (int i = 0; i < 100; ++i) {
        QByteArray etat = " 1600       71234" + champs::nombre(i, 2) + "261201      261130\r\n";
        for (int r = 1; r <= 300; ++r) {
            Enregistrement e(60);
            e.ecrireTexte(1, 2, QByteArray("13"));
            e.ecrireTexte(5, 3, champs::nombre(r, 3));
            e.ecrireTexte(10, 5, "0" + champs::nombre(r, 4));
            e.ecrireTexte(15, 5, QByteArray("26030"));
            e.ecrireTexte(21, 4, QByteArray("0901"));
            e.ecrireTexte(34, 9, champs::nombre(2855, 9));
            e.ecrireTexte(43, 7, QByteArray::number(6000000 + i * 5));
            etat += " 16" + e.octets() + "\r\n";
        }
        const QString ec = QStringLiteral("/Sauvramq/EC%1.rmq").arg(i, 4, 10, QLatin1Char('0'));
        fichiers::ecrireAtomique(programme + ec, etat);
        fichiersSuivi << ec;
    }
    const double lectureSuivi = secondes([&] {
        for (const QString& nom : fichiersSuivi)
            (void)fichiers::lire(programme + nom).size();
    }, 3);
    qsizetype lignesSuivi = 0;
    const double suiviLu = secondes([&] {
        lignesSuivi = suivi::filtrer(suivi::lire(programme, Horloge::aujourdhui()), suivi::Filtre{}).size();
    }, 3);
    afficher("(g) suivi de 150 000 factures envoyées", suiviLu, lectureSuivi, "lecture");
    const double fenetreSuivi = secondes([&] {
        frmSuiviFactures fenetre(programme, configuration, muet);
        fenetre.Du->setDate(QDate(2000, 1, 1));  // every row shown
        fenetre.show();
        QApplication::processEvents();
    }, 3);
    afficher("(g) fenêtre du suivi, toutes les lignes", fenetreSuivi, lectureSuivi, "lecture");

    if (!dossier.autoRemove())
        std::printf("Dossier gardé: %s\n", qPrintable(programme));
    if (!reussi) {
        std::printf("La préparation a échoué.\n");
        return 1;
    }
    if (statistiques > 0.5) {
        std::printf("Les statistiques d'un mois dépassent une demi-seconde.\n");
        return 1;
    }
    if (fenetreSuivi > 1.0 || lignesSuivi < 150000) {
        std::printf("Le suivi des factures dépasse une seconde (%lld lignes).\n", static_cast<long long>(lignesSuivi));
        return 1;
    }
    if (recherche > 1.0) {
        std::printf("La recherche dans les archives dépasse une seconde.\n");
        return 1;
    }
    if (b / copieB > 3) {
        std::printf("La préparation dépasse 3 fois le temps de la copie.\n");
        return 1;
    }
    return 0;
}
