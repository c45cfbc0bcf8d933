#include "platform/erreurs.h"
#include "records/fichierenregistrements.h"
#include "support/dossiertemporaire.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <gtest/gtest.h>

namespace {
QByteArray rec(char c, int n = 5) { return QByteArray(n, c); }
}  // namespace

TEST(FichierEnregistrements, CompteLitEcritAjoute) {
    DossierTemporaire d;
    FichierEnregistrements f(d.fichier("a.dat"), 5);
    EXPECT_EQ(f.nombre(), 0);
    EXPECT_EQ(f.ajouter(rec('a')), 1);
    EXPECT_EQ(f.ajouter(rec('b')), 2);
    EXPECT_EQ(f.ajouter(rec('c')), 3);
    f.ecrire(2, rec('B'));
    EXPECT_EQ(d.lire("a.dat"), QByteArray("aaaaaBBBBBccccc"));
    EXPECT_EQ(f.lire(3), rec('c'));
    try {
        f.lire(4);
        FAIL();
    } catch (const ErreurFichier& e) {
        EXPECT_EQ(e.numero(), 63);
    }
}

TEST(FichierEnregistrements, UneFinPartielleEstRecouverte) {
    DossierTemporaire d;
    d.ecrire("a.dat", "aaaaabb");  // 7 bytes: one whole record and a torn tail
    FichierEnregistrements f(d.fichier("a.dat"), 5);
    EXPECT_EQ(f.nombre(), 1);
    EXPECT_EQ(f.ajouter(rec('c')), 2);
    EXPECT_EQ(d.lire("a.dat"), QByteArray("aaaaaccccc"));
}

TEST(FichierEnregistrements, DossierManquantEstErreur76) {
    DossierTemporaire d;
    FichierEnregistrements f(d.fichier("absent/a.dat"), 5);
    for (auto action : {std::function<void()>([&] { f.nombre(); }),
                        std::function<void()>([&] { f.ajouter(rec('a')); })}) {
        try {
            action();
            FAIL();
        } catch (const ErreurFichier& e) {
            EXPECT_EQ(e.numero(), 76);
        }
    }
    EXPECT_FALSE(d.existe("absent"));
}

TEST(FichierEnregistrements, AuDelaDuNumeroMaximalRienNEstEcrit) {
    DossierTemporaire d;
    QFile brut(d.fichier("Ftmp.Fil"));
    ASSERT_TRUE(brut.open(QIODevice::WriteOnly));
    ASSERT_TRUE(brut.resize(qint64(32767) * 723));
    brut.close();
    FichierEnregistrements f(d.fichier("Ftmp.Fil"), 723, 32767);
    EXPECT_EQ(f.nombre(), 32767);
    try {
        f.ajouter(QByteArray(723, 'x'));
        FAIL();
    } catch (const ErreurFichier& e) {
        EXPECT_EQ(e.numero(), 6);
    }
    EXPECT_EQ(QFile(d.fichier("Ftmp.Fil")).size(), qint64(32767) * 723);
}

// Two processes append to one file at once: every record whole, every number distinct.
TEST(FichierEnregistrements, DeuxProcessusAjoutentSansCollision) {
    DossierTemporaire d;
    const QString chemin = d.fichier("Ftmp.Fil");
    constexpr int ParProcessus = 300;
    QProcess a, b;
    a.start(QStringLiteral(AUTRE_POSTE), {"ajouter", chemin, "A", QString::number(ParProcessus)});
    b.start(QStringLiteral(AUTRE_POSTE), {"ajouter", chemin, "B", QString::number(ParProcessus)});
    ASSERT_TRUE(a.waitForFinished(60000));
    ASSERT_TRUE(b.waitForFinished(60000));
    ASSERT_EQ(a.exitCode(), 0) << a.readAllStandardError().constData();
    ASSERT_EQ(b.exitCode(), 0) << b.readAllStandardError().constData();

    const QByteArray contenu = d.lire("Ftmp.Fil");
    ASSERT_EQ(contenu.size(), 2 * ParProcessus * 723);
    QSet<QByteArray> vus;
    QSet<QByteArray> numeros;
    for (const QByteArray& sortie : {a.readAllStandardOutput(), b.readAllStandardOutput()})
        for (const QByteArray& n : sortie.split('\n'))
            if (!n.isEmpty())
                numeros.insert(n);
    EXPECT_EQ(numeros.size(), 2 * ParProcessus);  // each process was given distinct numbers
    for (int i = 0; i < 2 * ParProcessus; ++i) {
        const QByteArray r = contenu.mid(i * 723, 723);
        const char qui = r[0];
        ASSERT_TRUE(qui == 'A' || qui == 'B');
        EXPECT_EQ(r.count(qui), 723 - 6) << "record " << i + 1 << " is mixed";
        vus.insert(r);
    }
    EXPECT_EQ(vus.size(), 2 * ParProcessus);
}
