#include "platform/traductions.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QString chargerTraductionsQt() {
    const QLocale francais(QLocale::French, QLocale::Canada);
    QLocale::setDefault(francais);
    auto* traducteur = new QTranslator(QCoreApplication::instance());
    const QString dossier = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!traducteur->load(francais, QStringLiteral("qtbase"), QStringLiteral("_"), dossier)) {
        delete traducteur;
        return {};
    }
    QCoreApplication::installTranslator(traducteur);
    return traducteur->filePath();
}
