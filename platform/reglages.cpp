#include "platform/reglages.h"

#include <QSettings>

ReglagesUtilisateur::ReglagesUtilisateur()
    : reglages_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Kestrova"),
                                            QStringLiteral("Kestrova"))) {}

ReglagesUtilisateur::~ReglagesUtilisateur() = default;

QString ReglagesUtilisateur::lire(const QString& cle, const QString& defaut) const {
    return reglages_->value(QStringLiteral("Settings/") + cle, defaut).toString();
}

void ReglagesUtilisateur::ecrire(const QString& cle, const QString& valeur) {
    reglages_->setValue(QStringLiteral("Settings/") + cle, valeur);
    reglages_->sync();
}

namespace {
QString echec(const QSettings& r) {
    return r.status() == QSettings::NoError ? QString() : r.fileName();
}
}  // namespace

QString ReglagesUtilisateur::echecEcriture() const { return echec(*reglages_); }

QString ReglagesUtilisateur::fichier() const { return reglages_->fileName(); }

void ReglagesUtilisateur::rediriger(const QString& dossier) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dossier);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dossier);
}

FichierIni::FichierIni(QString chemin, QString section)
    : reglages_(std::make_unique<QSettings>(chemin, QSettings::IniFormat)),
      section_(std::move(section)) {}

FichierIni::~FichierIni() = default;

QString FichierIni::lire(const QString& cle, const QString& defaut) const {
    return reglages_->value(section_ + QLatin1Char('/') + cle, defaut).toString();
}

void FichierIni::ecrire(const QString& cle, const QString& valeur) {
    reglages_->setValue(section_ + QLatin1Char('/') + cle, valeur);
    reglages_->sync();
}

QString FichierIni::echecEcriture() const { return echec(*reglages_); }
