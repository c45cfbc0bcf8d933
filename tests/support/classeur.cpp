#include "support/classeur.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

Classeur lireClasseur(const QString& chemin) {
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(LIREXLSX), chemin});
    Classeur c;
    if (!python.waitForFinished(30000)) {
        c.erreurs = QStringLiteral("lirexlsx.py ne s'est pas terminé");
        return c;
    }
    c.erreurs = QString::fromUtf8(python.readAllStandardError());
    const QJsonObject o = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    c.feuille = o.value(QStringLiteral("feuille")).toString();
    c.gel = o.value(QStringLiteral("gel")).toString();
    c.gras = o.value(QStringLiteral("gras")).toBool();
    for (const QJsonValue& v : o.value(QStringLiteral("entetes")).toArray())
        c.entetes << v.toString();
    for (const QJsonValue& v : o.value(QStringLiteral("largeurs")).toArray())
        c.largeurs << v.toDouble();
    for (const QJsonValue& l : o.value(QStringLiteral("lignes")).toArray()) {
        QStringList cellules;
        for (const QJsonValue& v : l.toArray())
            cellules << v.toString();
        c.lignes << cellules;
    }
    return c;
}
