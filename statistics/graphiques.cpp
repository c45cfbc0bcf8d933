#include "statistics/graphiques.h"

#include "records/procedures.h"

namespace graphiques {

QString Graphique::etiquette(Unite unite, qint64 valeur) {
    if (valeur == 0)
        return {};
    return unite == Unite::Cents ? formatMontant(valeur, true) : QString::number(valeur);
}

QString Graphique::axe(Unite unite) {
    return unite == Unite::Cents ? QStringLiteral("Montant ($)") : QStringLiteral("Nombre");
}

QList<Unite> Graphique::unites() const {
    QList<Unite> u;
    for (const Serie& s : series)
        if (!u.contains(s.unite))
            u << s.unite;
    return u;
}

}  // namespace graphiques
