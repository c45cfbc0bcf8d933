#include "records/procedures.h"

QString texteNombre(qint64 n) {
    return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n);
}

QString AgeEnAnnees(const QString& naissance, QDate aujourdhui) {
    QString t = naissance;
    const QString jour = aujourdhui.toString(QStringLiteral("yyMMdd"));
    if (t.size() == 6)
        t = (jour > t ? QStringLiteral("20") : QStringLiteral("19")) + t;
    const QString espace = t.left(4) + QLatin1Char(' ') + t.mid(4, 2) + QLatin1Char(' ') + t.mid(6, 2);
    qint64 n = 0;
    if (espace != QLatin1String("0000 00 00")) {
        // A text that is not a date counts as no date at all.
        const QDate date = QDate::fromString(t, QStringLiteral("yyyyMMdd"));
        if (date.isValid())
            n = qAbs(date.daysTo(aujourdhui));
    }
    return texteNombre((n - (n / 365) / 4) / 365);
}

QString CompteurSuivant(const QString& compteur, int largeur) {
    const QString suivant =
        (QStringLiteral("0000") + QString::number(compteur.trimmed().toLongLong() + 1)).right(largeur);
    return suivant == QLatin1String("0000") ? QStringLiteral("0001") : suivant;
}

int Pourcentage(qint64 total, qint64 position) {
    return total == 0 ? 0 : static_cast<int>(position * 100 / total);
}

QString formatMontant(qint64 cents, bool milliers) {
    const bool negatif = cents < 0;
    const qint64 a = negatif ? -cents : cents;
    QString entier = a >= 100 ? QString::number(a / 100) : QString();
    if (milliers)
        for (qsizetype i = entier.size() - 3; i > 0; i -= 3)
            entier.insert(i, QLatin1Char(','));
    return (negatif ? QStringLiteral("-") : QString()) + entier + QLatin1Char('.') +
           QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
}

QString nomDuMois(int mois) {
    static const char* const noms[] = {"janvier", "février", "mars",      "avril",   "mai",      "juin",
                                       "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};
    return QString::fromUtf8(noms[mois - 1]);
}

QString dateBarree(const QString& aammjj) {
    return aammjj.isEmpty() ? QString()
                            : aammjj.mid(0, 2) + QLatin1Char('/') + aammjj.mid(2, 2) + QLatin1Char('/') + aammjj.mid(4, 2);
}
