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
