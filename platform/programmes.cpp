#include "platform/programmes.h"

#include "platform/dossiers.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

namespace programmes {

QString chemin(const QString& programme, const QString& nom) {
    for (const QString& dossier : {programme, QCoreApplication::applicationDirPath()})
        for (const QString& trouve : dossiers::chercher(dossier, nom + QLatin1Char('*')))
            if (trouve.compare(nom, Qt::CaseInsensitive) == 0 ||
                trouve.compare(nom + QStringLiteral(".exe"), Qt::CaseInsensitive) == 0)
                return QDir(dossier).filePath(trouve);
    return {};
}

QString Issue::description(const QString& nom) const {
    switch (genre) {
    case Genre::Reussi: return {};
    case Genre::NonDemarre: return QStringLiteral("Le programme %1 n'a pas pu être lancé.").arg(nom);
    case Genre::DelaiDepasse:
        return QStringLiteral("Le programme %1 n'a pas terminé dans le délai permis; il a été arrêté.").arg(nom);
    case Genre::Echoue: {
        QString texte = QStringLiteral("Le programme %1 a échoué (code %2).").arg(nom).arg(code);
        if (!messages.trimmed().isEmpty())
            texte += QLatin1Char('\n') + messages.trimmed();
        return texte;
    }
    }
    return {};
}

Issue executer(const QString& chemin, const QStringList& arguments, int delaiMs) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(chemin, arguments);
    if (!p.waitForStarted(delaiMs))
        return {Issue::Genre::NonDemarre, 0, {}};
    if (!p.waitForFinished(delaiMs)) {
        p.kill();
        p.waitForFinished(1000);
        return {Issue::Genre::DelaiDepasse, 0, {}};
    }
    const QString sortie = QString::fromUtf8(p.readAll());
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {Issue::Genre::Echoue, p.exitCode(), sortie};
    return {Issue::Genre::Reussi, 0, sortie};
}

}  // namespace programmes
