#include "platform/dossiers.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace dossiers {

QString dossierProgramme(const QStringList& arguments) {
    QString dossier;
    const int i = arguments.indexOf(QStringLiteral("--dossier"));
    if (i >= 0 && i + 1 < arguments.size())
        dossier = arguments.at(i + 1);
    if (dossier.isEmpty())
        dossier = qEnvironmentVariable("KESTROVA_DOSSIER");
#ifdef Q_OS_WIN
    if (dossier.isEmpty() && !arguments.isEmpty())
        dossier = QFileInfo(arguments.first()).absolutePath();
#endif
    if (dossier.isEmpty())
        dossier = QDir::homePath() + QStringLiteral("/.local/share/Kestrova");
    QDir().mkpath(dossier);
    return QDir(dossier).absolutePath();
}

static QString composantExistant(const QString& dossier, const QString& nom) {
    QDir d(dossier);
    if (!d.exists())
        return {};
    if (QFileInfo::exists(d.filePath(nom)))
        return nom;
    const QStringList entrees =
        d.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entrees)
        if (e.compare(nom, Qt::CaseInsensitive) == 0)
            return e;
    return {};
}

QString resoudre(const QString& base, const QString& relatif) {
    QString chemin = base;
    const QStringList composants =
        relatif.split(QRegularExpression(QStringLiteral("[/\\\\]")), Qt::SkipEmptyParts);
    for (const QString& c : composants) {
        const QString existant = composantExistant(chemin, c);
        chemin += QLatin1Char('/') + (existant.isEmpty() ? c : existant);
    }
    return chemin;
}

static QRegularExpression expressionDe(QString motif) {
    const bool extensionLibre = motif.endsWith(QStringLiteral(".*"));
    if (extensionLibre)
        motif.chop(2);  // DOS: "X*.*" also matches names without an extension
    QString re;
    for (const QChar c : motif) {
        if (c == QLatin1Char('*'))
            re += QStringLiteral(".*");
        else if (c == QLatin1Char('?'))
            re += QLatin1Char('.');
        else
            re += QRegularExpression::escape(QString(c));
    }
    if (extensionLibre)
        re += QStringLiteral("(\\..*)?");
    return QRegularExpression(QRegularExpression::anchoredPattern(re),
                              QRegularExpression::CaseInsensitiveOption);
}

QStringList chercher(const QString& dossier, const QString& motif) {
    const QRegularExpression re = expressionDe(motif);
    QStringList trouves;
    const QStringList fichiers = QDir(dossier).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& f : fichiers)
        if (re.match(f).hasMatch())
            trouves << f;
    return trouves;
}

QString creerDossier(const QString& base, const QString& relatif) {
    const QString chemin = resoudre(base, relatif);
    QDir().mkpath(chemin);
    return chemin;
}

QString dossierTravail(const QString& programme) {
#ifdef Q_OS_WIN
    Q_UNUSED(programme);
    QDir().mkpath(QStringLiteral("C:/Developpe"));
    return QStringLiteral("C:/Developpe");
#else
    return creerDossier(programme, QStringLiteral("Developpe"));
#endif
}

bool FichierExiste(const QString& chemin) {
    return QFileInfo(chemin).isFile();
}

}  // namespace dossiers
