// Timings of the bulk operations, each against copying the same number of bytes on this run:
// (a) storing a full file of invoices one by one, (b) the file part of a preparation,
// (c) the billing report of 1 000 invoices rendered to PDF.
#include "config/configuration.h"
#include "platform/dialogues.h"
#include "platform/fichiers.h"
#include "platform/imprimantes.h"
#include "records/facture.h"
#include "records/fichierfactures.h"
#include "transmission/preparation.h"
#include "transmission/rapports.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

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

// The time to copy `octets` bytes from one file to another through the same atomic writer.
double copie(const QString& dossier, qint64 octets) {
    const QString source = dossier + "/copie-source", cible = dossier + "/copie-cible";
    fichiers::ecrireAtomique(source, QByteArray(octets, 'x'));
    return secondes([&] { fichiers::copierAtomique(source, cible); }, 5);
}

void afficher(const char* nom, double s, double reference) {
    std::printf("%-52s %9.3f s   %6.2f x copie (%.3f s)\n", nom, s, s / reference, reference);
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
    DialoguesMuets muet;

    // (a) 32 767 invoices stored one by one.
    const int n = facture::NombreMaximal;
    const double a = secondes([&] {
        for (int i = 1; i <= n; ++i)
            fichierfactures::EnregistrerFacture(uneFacture(i), programme, muet);
    });
    const QString ftmp = fichierfactures::cheminFtmp(programme);
    const QByteArray plein = fichiers::lire(ftmp);
    afficher("(a) 32 767 factures enregistrées une à une", a, copie(programme, plein.size()));

    // (b) The file part of a preparation of the full file (no printing).
    const preparation::Valeurs v =
        preparation::valeursDepuis(preparation::lireAgence(programme), QDate(2026, 12, 7));
    bool reussi = true;
    const double b = secondes(
        [&] { reussi = preparation::Preparer(programme, v, muet).reussi && reussi; }, 5,
        [&] { fichiers::ecrireAtomique(ftmp, plein); });
    const double copieB = copie(programme, plein.size());
    afficher("(b) préparation des fichiers de 32 767 factures", b, copieB);

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
    afficher("(c) rapport de 1 000 factures en PDF", c, copie(programme, octetsMille.size()));

    if (!dossier.autoRemove())
        std::printf("Dossier gardé: %s\n", qPrintable(programme));
    if (!reussi) {
        std::printf("La préparation a échoué.\n");
        return 1;
    }
    if (b / copieB > 3) {
        std::printf("La préparation dépasse 3 fois le temps de la copie.\n");
        return 1;
    }
    return 0;
}
