#include "statistics/tendances.h"

#include "records/procedures.h"
#include "statistics/statmensuelle.h"

#include <QDate>

namespace tendances {

Annee lire(const QString& programme, int annee, const Configuration& c, const QList<suivi::Ligne>& suivi) {
    Annee a;
    a.annee = annee;
    const auto montants = statmensuelle::montantsParMois(programme, annee, c);
    for (const Optometriste& o : c.Optometristes)
        if (o.enUsage()) {
            a.optometristes << o.nom + QLatin1Char(' ') + o.professionnel;
            a.factures << montants.value(o.professionnel, {});
        }
    for (int m = 1; m <= 12; ++m) {
        suivi::Filtre f;
        f.du = QDate(annee, m, 1);
        f.au = f.du.addMonths(1).addDays(-1);
        QList<suivi::Ligne> duMois;
        for (const suivi::Ligne& l : suivi)
            if (l.dateService.isValid() && f.garde(l))  // a row without a date belongs to no month
                duMois << l;
        const suivi::Totaux t = suivi::totaliser(duMois);
        a.refusees[m - 1] = t.refusees.cents;
        a.payees[m - 1] = t.payees.cents;
    }
    return a;
}

QStringList entetes(const Annee& a) {
    return QStringList{QStringLiteral("Mois")} + a.optometristes + QStringList{QStringLiteral("Refusé"), QStringLiteral("Payé")};
}

QList<tableur::Colonne> colonnes(const Annee& a) {
    QList<tableur::Colonne> c;
    for (const QString& e : entetes(a))
        c << tableur::Colonne{e, c.isEmpty() ? tableur::Colonne::Genre::Texte : tableur::Colonne::Genre::Montant};
    return c;
}

QList<QStringList> rangees(const Annee& a) {
    QList<QStringList> r;
    QList<qint64> totaux(a.factures.size() + 2, 0);
    const QStringList mois = statmensuelle::mois();
    for (int m = 0; m < 12; ++m) {
        QStringList cellules{mois[m]};
        for (int o = 0; o <= a.factures.size() + 1; ++o) {
            const std::array<qint64, 12>& colonne =
                o < a.factures.size() ? a.factures[o] : o == a.factures.size() ? a.refusees : a.payees;
            cellules << formatMontant(colonne[m], true);
            totaux[o] += colonne[m];
        }
        r << cellules;
    }
    QStringList total{QStringLiteral("Total")};
    for (qint64 t : totaux)
        total << formatMontant(t, true);
    r << total;
    return r;
}

graphiques::Graphique graphique(const Annee& a) {
    graphiques::Graphique g;
    g.titre = QStringLiteral("Tendances de l'année %1").arg(a.annee);
    g.axeCategories = QStringLiteral("Mois");
    // The months shortened as French writes them, so that twelve fit under the bars.
    g.categories = {QStringLiteral("Janv."), QStringLiteral("Févr."), QStringLiteral("Mars"), QStringLiteral("Avr."),
                    QStringLiteral("Mai"),   QStringLiteral("Juin"),  QStringLiteral("Juil."), QStringLiteral("Août"),
                    QStringLiteral("Sept."), QStringLiteral("Oct."),  QStringLiteral("Nov."), QStringLiteral("Déc.")};
    const auto serie = [](const QString& nom, const std::array<qint64, 12>& valeurs) {
        return graphiques::Serie{nom, graphiques::Unite::Cents, QList<qint64>(valeurs.begin(), valeurs.end())};
    };
    // The professional number first: a legend short of room cuts the end of a long name, and
    // two optometrists must still read apart.
    for (int o = 0; o < a.optometristes.size(); ++o) {
        const QString& nom = a.optometristes[o];
        const qsizetype espace = nom.lastIndexOf(QLatin1Char(' '));
        g.series << serie(QStringLiteral("Facturé %1 : %2").arg(nom.mid(espace + 1), nom.left(qMax<qsizetype>(0, espace))),
                          a.factures[o]);
    }
    g.series << serie(QStringLiteral("Refusé"), a.refusees) << serie(QStringLiteral("Payé"), a.payees);
    return g;
}

}  // namespace tendances
