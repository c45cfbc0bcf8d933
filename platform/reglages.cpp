#include "platform/reglages.h"

#include "platform/erreurs.h"
#include "platform/fichiers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QVariantMap>

ReglagesUtilisateur::ReglagesUtilisateur()
    : reglages_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Kestrova"),
                                            QStringLiteral("Kestrova"))) {}

ReglagesUtilisateur::~ReglagesUtilisateur() = default;

QString ReglagesUtilisateur::lire(const QString& cle, const QString& defaut) const {
    return reglages_->value(QStringLiteral("Settings/") + cle, defaut).toString();
}

#ifdef _WIN32

void ReglagesUtilisateur::ecrire(const QString& cle, const QString& valeur) {
    reglages_->setValue(QStringLiteral("Settings/") + cle, valeur);
    reglages_->sync();
    if (echec_.isEmpty() && reglages_->status() != QSettings::NoError)
        echec_ = QStringLiteral("Les réglages de l'utilisateur n'ont pas pu être écrits dans le registre.");
}

#else

namespace {
// Every value of a store, to tell whether a file holds what was written.
QVariantMap valeurs(const QSettings& s) {
    QVariantMap m;
    for (const QString& k : s.allKeys())
        m.insert(k, s.value(k));
    return m;
}
}  // namespace

// The store's file is never written by the settings class itself, which neither reports every
// failed write nor avoids a lock file that a stop can leave behind: the new values are laid out
// in a draft beside it, read back whole, and only then written by the atomic writer.
void ReglagesUtilisateur::ecrire(const QString& cle, const QString& valeur) {
    const QString fichier = reglages_->fileName();
    const QString brouillon = fichiers::cheminTemporaire(fichier + QStringLiteral(".brouillon"));
    try {
        QDir().mkpath(QFileInfo(fichier).absolutePath());
        fichiers::ecrireAtomique(brouillon, QFileInfo::exists(fichier) ? fichiers::lire(fichier) : QByteArray());
        QVariantMap ecrites;
        bool ecrit = false;
        {
            QSettings b(brouillon, QSettings::IniFormat);
            b.setValue(QStringLiteral("Settings/") + cle, valeur);
            b.sync();
            ecrites = valeurs(b);
            // A line of the old file that cannot be read is dropped, as the store always did;
            // only a write that failed stops the save.
            ecrit = b.status() != QSettings::AccessError;
        }
        if (ecrit && valeurs(QSettings(brouillon, QSettings::IniFormat)) == ecrites) {
            fichiers::ecrireAtomique(fichier, fichiers::lire(brouillon));
            reglages_->sync();  // the values just written, read again
        } else if (echec_.isEmpty()) {
            echec_ = QStringLiteral("Le fichier des réglages %1 n'a pas pu être écrit (disque plein ou "
                                    "protégé).")
                         .arg(QDir::toNativeSeparators(fichier));
        }
    } catch (const ErreurFichier& e) {
        // The draft is named as the file it stands for.
        if (echec_.isEmpty())
            echec_ = QStringLiteral("Erreur numéro: %1\n%2")
                         .arg(e.numero())
                         .arg(erreurs::texte(ErreurFichier(e.numero(), e.description(), fichier)));
    }
    QFile::remove(brouillon);
    QFile::remove(brouillon + QStringLiteral(".lock"));
}

#endif

QString ReglagesUtilisateur::echecEcriture() const { return echec_; }

QString ReglagesUtilisateur::fichier() const { return reglages_->fileName(); }

void ReglagesUtilisateur::rediriger(const QString& dossier) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dossier);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dossier);
}
