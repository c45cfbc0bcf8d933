#include "platform/erreurs.h"
#include "support/impression.h"
#include "platform/fichiers.h"
#include "records/fichierenregistrements.h"
#include "records/fichierfactures.h"
#include "support/autreposte.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/petitdisque.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct Issue {
    int numero = 0;
    QString description;
};

Issue issueDe(const std::function<void()>& action) {
    try {
        action();
    } catch (const ErreurFichier& e) {
        return {e.numero(), e.description()};
    }
    return {};
}

// English words the system's own texts would bring in.
const QRegularExpression Anglais(QStringLiteral("\\b(No such|denied|Permission denied|space|"
                                                "Unknown|error|file|directory|Read-only)\\b"));

QByteArray factureNumero(int i) {
    ValeursFacture v = factureDeBase();
    v.renseignements = QString::number(i);
    return facture::construire(v);
}

}  // namespace

// Each fault a clinic meets gives the program's number and a French text, whatever the call.
TEST(Fichiers, ErreursParNumero) {
    DossierTemporaire d;
    PetitDisque plein(64 * 1024);
    PetitDisque lectureSeule(64 * 1024, true);
    KESTROVA_EXIGER_PETIT_DISQUE(plein);
    plein.laisserLibre(0);
    QDir().mkpath(d.fichier("dossier.dat"));
    d.ecrire("Sauvramq/Ftmp.Fil", factureNumero(1));
    AutrePoste autrePoste(d.fichier("Sauvramq/Ftmp.Fil"));
    ASSERT_TRUE(autrePoste.verrouille());
    FichierEnregistrements::delaiVerrouMs = 200;

    const struct {
        const char* cas;
        std::function<void()> action;
        int numero;
        QString description;
    } cas[] = {
        {"fichier absent", [&] { fichiers::lire(d.fichier("absent")); }, 53, "Fichier introuvable"},
        {"dossier absent, réécriture", [&] { fichiers::ecrireAtomique(d.fichier("absent/x"), "x"); },
         76, "Chemin d'accès introuvable"},
        {"dossier absent, ajout",
         [&] { FichierEnregistrements(d.fichier("absent/x"), 5).ajouter("12345"); }, 76,
         "Chemin d'accès introuvable"},
        {"lecture seule", [&] { fichiers::ecrireAtomique(lectureSeule.fichier("x"), "x"); }, 70,
         "Permission refusée"},
        {"disque plein, réécriture",
         [&] { fichiers::ecrireAtomique(plein.fichier("x"), QByteArray(8192, 'x')); }, 61,
         "Disque plein"},
        {"verrou d'un autre poste", [&] { fichierfactures::fichier(d.chemin()).ajouter(factureNumero(2)); },
         70, "Le fichier est utilisé par un autre poste de travail."},
        {"un dossier à la place du fichier",
         [&] { fichiers::ecrireAtomique(d.fichier("dossier.dat"), "x"); }, 75,
         "Erreur d'accès au chemin/fichier (le chemin désigne un dossier et non un fichier)"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        const Issue i = issueDe(c.action);
        EXPECT_EQ(i.numero, c.numero);
        EXPECT_EQ(i.description, c.description);
        EXPECT_FALSE(Anglais.match(i.description).hasMatch()) << qPrintable(i.description);
    }

    // The lock dies with its holder: the next append goes through at once.
    autrePoste.liberer();
    FichierEnregistrements::delaiVerrouMs = 5000;
    QElapsedTimer chrono;
    chrono.start();
    EXPECT_EQ(fichierfactures::fichier(d.chemin()).ajouter(factureNumero(2)), 2);
    EXPECT_LT(chrono.elapsed(), 2000);  // far below the 5 s a lingering lock would cost
}

// On a full disk a rewrite leaves the original as it was, small or large, and no stray file.
TEST(Fichiers, ReecritureAtomiqueSurDisquePlein) {
    PetitDisque disque(512 * 1024);
    KESTROVA_EXIGER_PETIT_DISQUE(disque);
    const QString cible = disque.fichier("Facturat.Lex");
    for (const qint64 taille : {qint64(38), qint64(200 * 1024)}) {
        const QByteArray original(taille, 'o');
        for (const qint64 libre : {qint64(0), qint64(4096), qint64(64 * 1024)}) {
            SCOPED_TRACE(QStringLiteral("%1 octets, %2 libres").arg(taille).arg(libre).toStdString());
            disque.liberer();
            fichiers::ecrireAtomique(cible, original);
            disque.laisserLibre(libre);
            const QByteArray nouveau(taille + 128, 'n');
            const Issue i = issueDe([&] { fichiers::ecrireAtomique(cible, nouveau); });
            if (i.numero == 0) {
                EXPECT_EQ(fichiers::lire(cible), nouveau);
            } else {
                EXPECT_EQ(i.numero, 61);
                EXPECT_EQ(fichiers::lire(cible), original);
            }
            EXPECT_EQ(QDir(disque.chemin()).entryList(QDir::Files).size(), 1)
                << qPrintable(QDir(disque.chemin()).entryList(QDir::Files).join(' '));
        }
    }
}

// An append that does not fit is cut back: the file keeps its whole records only.
TEST(Fichiers, AjoutSurDisquePleinCoupeLeReste) {
    PetitDisque disque(256 * 1024);
    KESTROVA_EXIGER_PETIT_DISQUE(disque);
    QDir().mkpath(disque.fichier("Sauvramq"));
    QByteArray cinq;
    for (int i = 1; i <= 5; ++i)
        cinq += factureNumero(i);  // 3 615 bytes: the sixth crosses into a page the disk has not
    QFile f(disque.fichier("Sauvramq/Ftmp.Fil"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(cinq) == cinq.size());
    f.close();
    disque.laisserLibre(0);
    const Issue i = issueDe([&] { fichierfactures::fichier(disque.chemin()).ajouter(factureNumero(6)); });
    EXPECT_EQ(i.numero, 61);
    EXPECT_EQ(fichiers::lire(disque.fichier("Sauvramq/Ftmp.Fil")), cinq);
}

// A file damaged from outside is never appended to; the message names the record.
TEST(Fichiers, FactureEndommageeJamaisCompletee) {
    const QByteArray deux = factureNumero(1) + factureNumero(2);
    QByteArray sansPointVirgule = deux;
    sansPointVirgule[2 * 723 - 3] = ' ';
    const struct {
        const char* cas;
        QByteArray contenu;
        int enregistrement;
    } cas[] = {{"un octet manquant", deux.left(deux.size() - 1), 2},
               {"des octets en tête", "XY" + deux, 3},
               {"sans ses marques", sansPointVirgule, 2}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        DossierTemporaire d;
        d.ecrire("Sauvramq/Ftmp.Fil", c.contenu);
        const Issue i = issueDe([&] { fichierfactures::fichier(d.chemin()).ajouter(factureNumero(3)); });
        EXPECT_EQ(i.numero, 75);
        EXPECT_TRUE(i.description.contains(
            QStringLiteral("endommagé à partir de l'enregistrement numéro %1 ").arg(c.enregistrement)))
            << qPrintable(i.description);
        EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), c.contenu);
    }
}
