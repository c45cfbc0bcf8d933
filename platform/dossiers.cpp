#include "platform/dossiers.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
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

namespace {

// The names of the folders met, by their case-folded spelling, so that a name whose case
// differs on disk costs one listing, not one per lookup.
struct CacheNoms {
    QMutex verrou;
    QHash<QString, QHash<QString, QString>> parDossier;
};

CacheNoms& cache() {
    static CacheNoms c;
    return c;
}

QString composantExistant(const QString& dossier, const QString& nom) {
    const QString direct = dossier + QLatin1Char('/') + nom;
    if (QFileInfo::exists(direct))
        return nom;
    const QString cle = nom.toCaseFolded();
    CacheNoms& c = cache();
    QMutexLocker garde(&c.verrou);
    auto dansLeCache = [&]() -> QString {
        const auto d = c.parDossier.constFind(dossier);
        if (d == c.parDossier.cend())
            return {};
        const QString trouve = d->value(cle);
        return !trouve.isEmpty() && QFileInfo::exists(dossier + QLatin1Char('/') + trouve) ? trouve
                                                                                          : QString();
    };
    if (const QString trouve = dansLeCache(); !trouve.isEmpty())
        return trouve;
    const QStringList entrees = QDir(dossier).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    QHash<QString, QString>& noms = c.parDossier[dossier];
    noms.clear();
    for (const QString& e : entrees)
        noms.insert(e.toCaseFolded(), e);
    return noms.value(cle);
}

}  // namespace

QString resoudre(const QString& base, const QString& relatif) {
    QString chemin = base;
    qsizetype debut = 0;
    for (qsizetype i = 0; i <= relatif.size(); ++i) {
        if (i < relatif.size() && relatif[i] != QLatin1Char('/') && relatif[i] != QLatin1Char('\\'))
            continue;
        if (i > debut) {
            const QString composant = relatif.mid(debut, i - debut);
            const QString existant = composantExistant(chemin, composant);
            chemin += QLatin1Char('/') + (existant.isEmpty() ? composant : existant);
        }
        debut = i + 1;
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

QString cheminReel(const QString& chemin) {
    QFileInfo info(chemin);
    for (int liens = 0; info.isSymLink() && liens < 40; ++liens)
        info = QFileInfo(info.symLinkTarget());
    if (info.exists())
        return info.canonicalFilePath();
    const QString dossier = QFileInfo(info.path()).canonicalFilePath();
    return (dossier.isEmpty() ? QDir::cleanPath(info.absolutePath()) : dossier) + QLatin1Char('/') +
           info.fileName();
}

bool fichierDeLaClinique(const QString& programme, const QString& chemin) {
    static const QStringList Dossiers = {QStringLiteral("Sauvramq"), QStringLiteral("Patient"),
                                         QStringLiteral("Impressions"), QStringLiteral("Developpe")};
    static const QStringList Fichiers = {
        QStringLiteral("Kestrova.Cfg"), QStringLiteral("Kestrova.Cfg.ancien"), QStringLiteral("Facturat.Lex"),
        QStringLiteral("Tarnwick.ini"), QStringLiteral("Ramq.Chk"),            QStringLiteral("Reqt"),
        QStringLiteral("MessagesExplicatifs.txt"), QStringLiteral("MdiTmp.Dat"), QStringLiteral("PavoRamq.Txt"),
        QStringLiteral("PavoRamq.Imp")};
    const QString reel = cheminReel(chemin);
#ifdef Q_OS_WIN
    if (reel.startsWith(QStringLiteral("C:/Developpe/"), Qt::CaseInsensitive))
        return true;
#endif
    const QString relatif = QDir(cheminReel(programme)).relativeFilePath(reel);
    if (relatif == QLatin1String("..") || relatif.startsWith(QLatin1String("../")) || QDir::isAbsolutePath(relatif))
        return false;
    const QStringList parties = relatif.split(QLatin1Char('/'));
    return Dossiers.contains(parties[0], Qt::CaseInsensitive) ||
           (parties.size() == 1 && Fichiers.contains(parties[0], Qt::CaseInsensitive));
}

}  // namespace dossiers
