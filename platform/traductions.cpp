#include "platform/traductions.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The few texts of Qt that its French translations lack: the kinds of the file dialog's
// "Type" column.
class TextesManquants : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* contexte, const char* source, const char* desambiguisation, int n) const override {
        (void)desambiguisation;
        (void)n;
        if (std::strcmp(contexte, "QAbstractFileIconProvider") != 0)
            return {};
        static const struct {
            const char* anglais;
            const char* francais;
        } textes[] = {{"Folder", "Dossier"}, {"File Folder", "Dossier"}, {"File", "Fichier"},
                      {"Drive", "Lecteur"},  {"%1 File", "Fichier %1"}, {"Alias", "Alias"},
                      {"Shortcut", "Raccourci"}};
        for (const auto& t : textes)
            if (std::strcmp(source, t.anglais) == 0)
                return QString::fromUtf8(t.francais);
        return {};
    }
};

// A variable set to an empty text counts as unset, as the C library reads it.
const char* valeur(const char* variable) {
    const char* v = std::getenv(variable);
    return v && *v ? v : nullptr;
}

bool estFrancais(const char* variable) {
    const char* v = valeur(variable);
    return v && std::strncmp(v, "fr", 2) == 0;
}

}  // namespace

void preparerDatesEnFrancais() {
    // Qt reads the system's locale from the environment once. Only the dates' category changes,
    // so numbers keep the point that the files and the agency expect: a LC_ALL is kept as the
    // value of every other category, those set on their own included. An empty variable is unset.
    if (estFrancais("LC_ALL") || estFrancais("LC_TIME"))
        return;
    if (const char* tout = valeur("LC_ALL")) {
        const std::string toutes = tout;
        setenv("LANG", toutes.c_str(), 1);
        for (const char* categorie : {"LC_CTYPE", "LC_NUMERIC", "LC_COLLATE", "LC_MONETARY", "LC_MESSAGES",
                                      "LC_PAPER", "LC_NAME", "LC_ADDRESS", "LC_TELEPHONE", "LC_MEASUREMENT",
                                      "LC_IDENTIFICATION"})
            if (valeur(categorie))
                setenv(categorie, toutes.c_str(), 1);  // which LC_ALL overrode
    } else if (estFrancais("LANG") && !valeur("LC_TIME")) {
        return;
    }
    unsetenv("LC_ALL");
    setenv("LC_TIME", "fr_CA.UTF-8", 1);
}

QString chargerTraductionsQt() {
    const QLocale francais(QLocale::French, QLocale::Canada);
    QLocale::setDefault(francais);
    QCoreApplication::installTranslator(new TextesManquants(QCoreApplication::instance()));
    auto* traducteur = new QTranslator(QCoreApplication::instance());
    const QString dossier = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!traducteur->load(francais, QStringLiteral("qtbase"), QStringLiteral("_"), dossier)) {
        delete traducteur;
        return {};
    }
    QCoreApplication::installTranslator(traducteur);
    return traducteur->filePath();
}
