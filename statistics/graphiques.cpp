#include "statistics/graphiques.h"

#include "records/procedures.h"

#include <cmath>

namespace graphiques {

QString Graphique::etiquette(Unite unite, qint64 valeur) {
    if (valeur == 0)
        return {};
    return unite == Unite::Cents ? formatMontant(valeur, true) : QString::number(valeur);
}

QString Graphique::axe(Unite unite) {
    return unite == Unite::Cents ? QStringLiteral("Montant ($)") : QStringLiteral("Nombre");
}

Graphique::Echelle Graphique::echelle(Unite unite, double plusGrande) {
    constexpr int Intervalles = 5;  // about as many steps as a chart's height reads at a glance
    const double plancher = unite == Unite::Nombre ? 1.0 : 0.01;
    if (!(plusGrande > 0))
        plusGrande = 1;  // nothing to show: an axis of one step
    const double brut = std::max(plusGrande / Intervalles, plancher);
    const double puissance = std::pow(10.0, std::floor(std::log10(brut)));
    double pas = 10 * puissance;
    for (const double facteur : {1.0, 2.0, 5.0})
        if (facteur * puissance >= brut * (1 - 1e-9)) {
            pas = facteur * puissance;
            break;
        }
    pas = std::max(pas, plancher);
    Echelle e;
    const qint64 intervalles = std::max<qint64>(1, std::llround(std::ceil(plusGrande / pas - 1e-9)));
    e.max = intervalles * pas;
    e.graduations = static_cast<int>(intervalles) + 1;
    e.decimales = std::max(0, -static_cast<int>(std::floor(std::log10(pas) + 1e-9)));
    return e;
}

QList<Unite> Graphique::unites() const {
    QList<Unite> u;
    for (const Serie& s : series)
        if (!u.contains(s.unite))
            u << s.unite;
    return u;
}

}  // namespace graphiques
