// The charts of the statistics: each says what its table says, is printed and saved from the
// keyboard, and follows the application's palette and font.
#include "config/fichierconfiguration.h"
#include "platform/horloge.h"
#include "platform/imprimantes.h"
#include "platform/reglages.h"
#include "records/procedures.h"
#include "records/statistique.h"
#include "statistics/frmStatMensuelle.h"
#include "statistics/frmStatistique.h"
#include "statistics/frmTendances.h"
#include "statistics/statmensuelle.h"
#include "statistics/vuegraphique.h"
#include "support/classeur.h"
#include "support/clavier.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"
#include "support/pdf.h"

#include <QAbstractAxis>
#include <QApplication>
#include <QBarSet>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QPushButton>
#include <QTabWidget>
#include <QValueAxis>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <QSet>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray stat(const char* date, const QStringList& actes, const char* prof = "311111", const char* cs = "") {
    ValeursFacture v = factureDeBase();
    v.professionnel = prof;
    v.dateService = date;
    v.considerations = cs;
    v.actes = {actes.value(0), actes.value(1), actes.value(2), actes.value(3)};
    v.honoraires = {"002855", "001200", {}, {}};
    return statistique::construire(v);
}

class Graphiques : public ::testing::Test {
protected:
    void SetUp() override {
        Horloge::fixer(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
        imprimantes::choisir(imprimantes::Pdf);
        d.ecrire("Kestrova.Cfg", configurationADeuxOptometristes());
        d.ecrire("Facturat.Lex", "R7123400D71234000000000000000000000000");
        // November: two invoices on the 3rd, a re-billing on the 17th (left out of the days), one
        // of the other optometrist; March and October for the year.
        d.ecrire("Sauvramq/STA2026.Dat",
                 stat("20261103", {"09001"}) + stat("20261103", {"09001", "09008"}) +
                     stat("20261117", {"09001"}, "311111", "B") + stat("20261128", {"09008"}) +
                     stat("20261105", {"09001"}, "322227") + stat("20261020", {"09014"}) +
                     stat("20260302", {"09001", "09008"}, "322227"));
        ValeursFacture autre = factureDeBase();
        autre.actes = {"09001", "09014", {}, {}};
        d.ecrire("Sauvramq/Ftmp.Fil", enregistrementDe(factureDeBase()).repeated(3) + enregistrementDe(autre));
        configuration = fichierconfiguration::lire(d.fichier("Kestrova.Cfg"));
    }
    void TearDown() override { Horloge::liberer(); }

    // Series by series, "category=label" of every bar that has a value; each bar's value is the
    // one its label writes.
    static QStringList etiquettes(const PanneauGraphique* panneau) {
        const ChartGraphique* chart = panneau->chart();
        const graphiques::Graphique& g = panneau->graphique();
        QStringList lues;
        EXPECT_EQ(chart->ensembles().size(), g.series.size());
        for (int s = 0; s < g.series.size(); ++s) {
            const graphiques::Unite unite = g.series[s].unite;
            for (int i = 0; i < g.categories.size(); ++i) {
                const QString texte = chart->etiquettes()[s * g.categories.size() + i]->text();
                const double valeur = chart->ensembles()[s]->at(i);
                EXPECT_EQ(graphiques::Graphique::etiquette(
                              unite, qRound64(unite == graphiques::Unite::Cents ? valeur * 100 : valeur)),
                          texte);
                if (!texte.isEmpty())
                    lues << g.series[s].nom + QLatin1Char(':') + g.categories[i] + QLatin1Char('=') + texte;
            }
        }
        return lues;
    }

    DossierTemporaire d;
    DialoguesScriptes dialogues;
    ReglagesUtilisateur u;
    Configuration configuration;
};

// The chart of each window against the table it draws: the summary by day (as printed and
// mailed), the grid of the acts (of a file, then of the year), the table of the trends.
TEST_F(Graphiques, ChaqueGraphiqueDitCeQueDitSonTableau) {
    frmStatMensuelle mensuelle(d.chemin(), configuration, "71234", "52713", u, dialogues);
    frmStatistique actes(d.chemin(), configuration, "71234", "52713", u, dialogues);
    frmTendances tendances(d.chemin(), configuration, dialogues);
    const struct {
        const char* cas;
        std::function<void()> remplir;
        PanneauGraphique* panneau;
        std::function<QStringList()> tableau;  // what the table says, as "series:category=label"
    } cas[] = {
        {"montant par jour",
         [&] {
             mensuelle.Combo1[2]->setCurrentIndex(10);
             mensuelle.Command1[3]->click();
         },
         mensuelle.Graphique,
         [&] {
             // The lines of the summary by day: "03   2   69.10".
             QStringList t;
             const statmensuelle::Mois m = statmensuelle::lire(d.chemin(), "311111", 2026, 11, configuration);
             for (const QString& l : statmensuelle::sommaire(m, {})) {
                 const QStringList mots = l.simplified().split(' ');
                 if (mots.size() == 3 && mots[0].size() == 2 && mots[0].at(0).isDigit())
                     t << "Montant facturé:" + QString::number(mots[0].toInt()) + "=" + mots[2];
             }
             return t;
         }},
        {"actes en mémoire", [] {}, actes.Graphique,
         [&] {
             QStringList nombres, montants;
             for (int r = 0; r + 1 < actes.MSFlexGrid1->rowCount(); ++r)
                 if (actes.MSFlexGrid1->item(r, 1)->text() != "0") {
                     nombres << "Nombre d'actes:" + actes.MSFlexGrid1->item(r, 0)->text() + "=" +
                                    actes.MSFlexGrid1->item(r, 1)->text();
                     montants << "Montant:" + actes.MSFlexGrid1->item(r, 0)->text() + "=" +
                                     actes.MSFlexGrid1->item(r, 3)->text();
                 }
             return nombres + montants;
         }},
        {"tendances", [] {}, tendances.Graphique,
         [&] {
             QStringList t;
             for (int c = 1; c < tendances.Tableau->columnCount(); ++c) {
                 const QString entete = tendances.Tableau->horizontalHeaderItem(c)->text();
                 const QString serie = c + 2 < tendances.Tableau->columnCount()
                                          ? "Facturé " + entete.section(' ', -1) + " : " + entete.section(' ', 0, -2)
                                          : entete;
                 for (int r = 0; r < 12; ++r)
                     if (tendances.Tableau->item(r, c)->text() != ".00")
                         t << serie + ":" + tendances.Graphique->graphique().categories[r] + "=" +
                                  tendances.Tableau->item(r, c)->text();
             }
             return t;
         }},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.cas);
        k.remplir();
        EXPECT_FALSE(k.tableau().isEmpty());
        EXPECT_EQ(etiquettes(k.panneau), k.tableau());
    }
    const auto prix = [&](const QString& code) {
        for (int r = 0; r < actes.MSFlexGrid1->rowCount(); ++r)
            if (actes.MSFlexGrid1->item(r, 0)->text() == code)
                return actes.MSFlexGrid1->item(r, 3)->text();
        return QString();
    };
    // The figures themselves, once: the chart tells the days, the codes and the months apart.
    EXPECT_EQ(etiquettes(mensuelle.Graphique),
              (QStringList{"Montant facturé:3=69.10", "Montant facturé:28=12.00"}));
    EXPECT_EQ(mensuelle.Graphique->graphique().categories.size(), 30);
    EXPECT_EQ(etiquettes(actes.Graphique), (QStringList{"Nombre d'actes:09001=4", "Nombre d'actes:09008=3",
                                                         "Nombre d'actes:09014=1", "Montant:09001=114.20",
                                                         "Montant:09008=36.00", "Montant:09014=" + prix("09014")}));
    EXPECT_TRUE(etiquettes(tendances.Graphique).contains("Facturé 322227 : Dr Mathieu Tremblay:Mars=40.55"));

    // A choice that empties the list empties the chart; the year's acts are drawn as the grid.
    mensuelle.Combo1[0]->setCurrentIndex(1);
    mensuelle.Combo1_Click();
    EXPECT_TRUE(etiquettes(mensuelle.Graphique).isEmpty());
    EXPECT_FALSE(mensuelle.Graphique->Imprimer->isEnabled());
    d.ecrire("Sauvramq/D7123401", QByteArray(enregistrementDe(factureDeBase())).replace(10, 7, "6034042") + QByteArray(1, 26));
    frmStatistique annee(d.chemin(), configuration, "71234", "52713", u, dialogues);
    annee.Command2->click();
    EXPECT_EQ(etiquettes(annee.Graphique), (QStringList{"Nombre d'actes:09001=1", "Nombre d'actes:09008=1",
                                                         "Montant:09001=28.55", "Montant:09008=12.00"}));
    EXPECT_EQ(annee.Graphique->graphique().titre, "Actes de l'année 2026");
}

// From the keyboard in each window: the chart's tab (Alt+G), printed on the program's printer
// (Alt+P) and read back from its PDF, saved as a PNG of its size (Alt+R); a file that cannot be
// written is told and leaves nothing.
TEST_F(Graphiques, ImprimesEtEnregistresAuClavier) {
    using Touches = std::function<void(Clavier&)>;
    const struct {
        const char* cas;
        std::function<std::unique_ptr<QDialog>()> ouvrir;
        Touches remplir;
        const char* nom;      // of the document and the picture
        QStringList imprime;  // lines of the PDF, in order among the others
    } cas[] = {
        {"statistiques mensuelles",
         [&] {
             auto w = std::make_unique<frmStatMensuelle>(d.chemin(), configuration, "71234", "52713", u, dialogues);
             w->Combo1[2]->setCurrentIndex(10);
             return w;
         },
         [](Clavier& c) { c.touche(Qt::Key_A, Qt::AltModifier).pause(150); }, "Montant par jour",
         {"RAPPORT SUR LA FACTURATION À LA RAMQ", "AGENCE: 71234", "PÉRIODE: Novembre 2026",
          "OPTOMÉTRISTE: 1e Optométriste 311111", "Montant facturé par jour, Novembre 2026", "69.10", "12.00"}},
        {"compte rendu", [&] { return std::make_unique<frmStatistique>(d.chemin(), configuration, "71234", "52713", u, dialogues); },
         [](Clavier&) {}, "Compte rendu",
         {"Compte rendu de 1e Optométriste 311111", "Nombre de factures : 4", "Actes du 09/01/15 au 09/01/15", "114.20",
          "36.00"}},
        {"tendances", [&] { return std::make_unique<frmTendances>(d.chemin(), configuration, dialogues); },
         [](Clavier&) {}, "Tendances 2026",
         {"Tendances de la facturation", "Année : 2026", "Tendances de l'année 2026", "40.55"}},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.cas);
        const std::unique_ptr<QDialog> w = k.ouvrir();
        w->show();
        QApplication::setActiveWindow(w.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        const QStringList avant = QDir(d.fichier("Impressions")).entryList(QDir::Files);
        const QString png = d.fichier(QString("%1.png").arg(k.cas));
        dialogues.effacer();
        dialogues.fichiers = {png, d.fichier("Kestrova.Cfg/refus.png")};
        Clavier clavier;
        k.remplir(clavier);
        clavier.touche(Qt::Key_G, Qt::AltModifier)
            .pause(150)
            .puis([&] {
                auto* onglets = w->findChild<QTabWidget*>("Onglets");
                EXPECT_EQ(onglets->currentWidget()->objectName(), "PanneauGraphique");
            })
            .touche(Qt::Key_P, Qt::AltModifier)
            .pause(150)
            .touche(Qt::Key_R, Qt::AltModifier)
            .pause(150)
            .touche(Qt::Key_R, Qt::AltModifier)
            .pause(150)
            .touche(Qt::Key_Escape);
        EXPECT_TRUE(clavier.jouer()) << qPrintable(dialogues.resume().join('\n'));
        EXPECT_FALSE(w->isVisible());

        QStringList nouveaux;
        for (const QString& f : QDir(d.fichier("Impressions")).entryList(QDir::Files, QDir::Name))
            if (!avant.contains(f))
                nouveaux << f;
        ASSERT_EQ(nouveaux.size(), 1);
        const QStringList lignes = DocumentPdf(d.fichier("Impressions/" + nouveaux[0])).toutesLesLignes();
        qsizetype depuis = 0;
        for (const QString& attendue : k.imprime) {
            qsizetype i = depuis;
            while (i < lignes.size() && !lignes[i].split(' ').contains(attendue) && lignes[i] != attendue)
                ++i;
            EXPECT_LT(i, lignes.size()) << qPrintable(attendue) << "\n" << qPrintable(lignes.join('\n'));
            depuis = qMin(i, lignes.size() - 1);
        }
        EXPECT_EQ(QImage(png).size(), TailleImage);
        const QString propose = "Enregistrer l'image | " + QString(k.nom) + " 2026-12-06 10h00.png";
        ASSERT_EQ(dialogues.boites().size(), 4) << qPrintable(dialogues.resume().join('\n'));
        EXPECT_EQ(dialogues.resume().mid(0, 3),
                  (QStringList{propose,
                               "Enregistrer l'image | Le graphique a été enregistré dans le fichier " +
                                   QDir::toNativeSeparators(png) + ".",
                               propose}));
        EXPECT_EQ(dialogues.boites()[3].icone, Icone::Critique);
        EXPECT_TRUE(dialogues.boites()[3].texte.startsWith("Erreur 76  ")) << qPrintable(dialogues.boites()[3].texte);
        EXPECT_FALSE(QFileInfo::exists(d.fichier("Kestrova.Cfg/refus.png")));
    }
}

// A high-contrast palette and large fonts: the chart draws in the palette's colours and the
// application's font, follows a change of either, and every series has its own hatching and
// its values written, each inside the chart.
TEST_F(Graphiques, SuiventLaPaletteEtLaPoliceDeLApplication) {
    const QPalette paletteAvant = QApplication::palette();
    const QFont policeAvant = QApplication::font();
    QPalette contraste;
    contraste.setColor(QPalette::Base, Qt::black);
    contraste.setColor(QPalette::Window, Qt::black);
    contraste.setColor(QPalette::Text, Qt::white);
    contraste.setColor(QPalette::WindowText, Qt::white);
    contraste.setColor(QPalette::Highlight, Qt::yellow);
    contraste.setColor(QPalette::Mid, Qt::gray);
    QApplication::setPalette(contraste);
    QFont grande = policeAvant;
    grande.setPointSizeF(18);
    QApplication::setFont(grande);

    frmTendances w(d.chemin(), configuration, dialogues);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();
    const auto verifier = [&](const QColor& fond, const QColor& texte, const QColor& premiere) {
        const ChartGraphique* chart = w.Graphique->chart();
        EXPECT_EQ(chart->backgroundBrush().color(), fond);
        EXPECT_EQ(chart->titleBrush().color(), texte);
        EXPECT_EQ(chart->legend()->labelColor(), texte);
        for (const QAbstractAxis* axe : chart->axes()) {
            EXPECT_EQ(axe->labelsBrush().color(), texte);
            EXPECT_EQ(QFontInfo(axe->labelsFont()).pixelSize(), QFontInfo(QApplication::font()).pixelSize());
        }
        QList<Qt::BrushStyle> hachures;
        for (const QBarSet* s : chart->ensembles())
            hachures << s->brush().style();
        EXPECT_EQ(chart->ensembles()[0]->brush().color(), premiere);
        EXPECT_EQ(QSet<Qt::BrushStyle>(hachures.begin(), hachures.end()).size(), hachures.size());
        const QRectF cadre = chart->rect();
        for (const QGraphicsSimpleTextItem* e : chart->etiquettes()) {
            if (!e->isVisible())
                continue;
            EXPECT_EQ(e->brush().color(), texte);
            EXPECT_EQ(e->font().pixelSize(), QFontInfo(QApplication::font()).pixelSize());
            EXPECT_TRUE(cadre.contains(e->mapRectToParent(e->boundingRect()))) << qPrintable(e->text());
        }
    };
    ASSERT_EQ(w.Graphique->chart()->ensembles().size(), 4);  // two optometrists, refused, paid
    verifier(Qt::black, Qt::white, Qt::yellow);
    QApplication::setPalette(paletteAvant);
    QApplication::setFont(policeAvant);
    QApplication::processEvents();
    verifier(paletteAvant.color(QPalette::Base), paletteAvant.color(QPalette::Text),
             paletteAvant.color(QPalette::Highlight));
}

}  // namespace

// A chart of counts and amounts laid out in a panel as on the screen, whatever the highest value
// and however many codes: each value axis's labels, read from the axis as drawn, are whole
// numbers for a count, no two alike, the top over the highest bar; no two values written over
// the bars overlap, and codes too many to be written across are written upright.
TEST_F(Graphiques, AxesEtValeursLisibles) {
    const struct {
        int codes;
        qint64 nombre;  // the highest count
        qint64 cents;   // the highest amount
        QStringList nombres, montants;  // the labels of each axis, bottom to top
        int angle;  // of the codes
    } cas[] = {
        {2, 1, 45, {"0", "1", "2"}, {"0.0", "0.1", "0.2", "0.3", "0.4", "0.5"}, 0},
        {2, 2, 2855, {"0", "1", "2", "3"}, {"0", "10", "20", "30", "40"}, 0},
        {2, 7, 99, {"0", "2", "4", "6", "8"}, {"0.0", "0.5", "1.0", "1.5"}, 0},
        {2, 13, 999999999, {"0", "5", "10", "15"}, {"0", "5000000", "10000000", "15000000"}, 0},
        {2, 1000, 0, {"0", "500", "1000", "1500"}, {"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}, 0},
        {300, 7, 1427500, {"0", "2", "4", "6", "8"}, {"0", "5000", "10000", "15000", "20000"}, -90},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(qPrintable(QString("%1 codes, %2, %3").arg(c.codes).arg(c.nombre).arg(c.cents)));
        graphiques::Graphique g;
        g.titre = "Actes";
        g.series = {{"Nombre d'actes", graphiques::Unite::Nombre, {}}, {"Montant", graphiques::Unite::Cents, {}}};
        for (int i = 0; i < c.codes; ++i) {
            g.categories << QString("%1").arg(9001 + i, 5, 10, QChar('0'));
            g.series[0].valeurs << (i == 0 ? c.nombre : 1 + i % c.nombre);
            g.series[1].valeurs << (i == 0 ? c.cents : c.cents / (1 + i % 5));
        }
        PanneauGraphique panneau(d.chemin(), dialogues);
        panneau.resize(900, 560);
        panneau.afficher(g, {"Actes"}, "Actes");
        panneau.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panneau));
        QApplication::processEvents();
        QList<QStringList> lus;
        for (int a = 0; a < 2; ++a) {
            const auto* axe = qobject_cast<const QValueAxis*>(panneau.chart()->axes(Qt::Vertical).value(a));
            ASSERT_TRUE(axe);
            EXPECT_EQ(axe->alignment(), a == 0 ? Qt::AlignLeft : Qt::AlignRight);
            QStringList l;
            for (int i = 0; i < axe->tickCount(); ++i)
                l << QString::asprintf(axe->labelFormat().toLatin1().constData(),
                                       axe->min() + i * (axe->max() - axe->min()) / (axe->tickCount() - 1));
            lus << l;
        }
        EXPECT_EQ(lus[0], c.nombres);
        EXPECT_EQ(lus[1], c.montants);
        EXPECT_EQ(panneau.chart()->axes(Qt::Horizontal).value(0)->labelsAngle(), c.angle);
        QList<QRectF> ecrites;
        for (const QGraphicsSimpleTextItem* e : panneau.chart()->etiquettes()) {
            if (!e->isVisible())
                continue;
            const QRectF r = encre(e);
            for (const QRectF& autre : ecrites)
                EXPECT_FALSE(autre.intersects(r)) << qPrintable(e->text());
            ecrites << r;
        }
        EXPECT_GE(ecrites.size(), 2);
    }
}

// The table of the trends exported from the keyboard (Alt+X, from either tab) as a workbook and
// as CSV: every cell the table shows, the month as text and each amount as a number.
TEST_F(Graphiques, TendancesExporteesCommeLeTableau) {
    frmTendances w(d.chemin(), configuration, dialogues);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QList<QStringList> attendues, csv;
    for (int r = 0; r < w.Tableau->rowCount(); ++r) {
        QStringList types{"texte " + w.Tableau->item(r, 0)->text()}, champs{w.Tableau->item(r, 0)->text()};
        for (int c = 1; c < w.Tableau->columnCount(); ++c) {
            const QString montant = QString(w.Tableau->item(r, c)->text()).remove(',');
            types << "montant " + (montant.startsWith('.') ? "0" + montant : montant);
            champs << QString(types.last().mid(8)).replace('.', ',');
        }
        attendues << types;
        csv << champs;
    }
    ASSERT_EQ(attendues.size(), 13);
    EXPECT_TRUE(attendues[2].contains("montant 40.55"));
    dialogues.fichiers = {d.fichier("tendances"), d.fichier("tendances.csv")};
    dialogues.typesFichier = {1, 0};
    Clavier clavier;
    clavier.touche(Qt::Key_X, Qt::AltModifier).pause(150).touche(Qt::Key_B, Qt::AltModifier).touche(Qt::Key_X, Qt::AltModifier);
    ASSERT_TRUE(clavier.jouer()) << qPrintable(dialogues.resume().join('\n'));
    EXPECT_EQ(w.Onglets->currentIndex(), 1);
    ASSERT_EQ(dialogues.boites().size(), 4) << qPrintable(dialogues.resume().join('\n'));
    EXPECT_EQ(dialogues.resume()[0], "Exporter | Tendances 2026 2026-12-06 10h00.csv");
    const Classeur lu = lireClasseur(d.fichier("tendances.xlsx"));
    EXPECT_EQ(lu.feuille, "Tendances 2026");
    QStringList entetes;
    for (int c = 0; c < w.Tableau->columnCount(); ++c)
        entetes << w.Tableau->horizontalHeaderItem(c)->text();
    EXPECT_EQ(lu.entetes, entetes);
    EXPECT_EQ(lu.lignes, attendues) << qPrintable(lu.erreurs);
    QStringList lignes = QString::fromUtf8(d.lire("tendances.csv").mid(3)).split("\r\n");
    EXPECT_EQ(lignes.takeFirst(), entetes.join(';'));
    for (int r = 0; r < csv.size(); ++r)
        EXPECT_EQ(lignes.value(r), csv[r].join(';'));
}
