#include "platform/erreurs.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>

ErreurFichier::ErreurFichier(int numero, QString description, QString chemin)
    : numero_(numero), description_(std::move(description)), chemin_(std::move(chemin)),
      quoi_((QString::number(numero_) + " " + description_ + " " + chemin_).toUtf8()) {}

namespace erreurs {

QString description(int numero) {
    switch (numero) {
    case Depassement: return QStringLiteral("Dépassement de capacité");
    case NomIncorrect: return QStringLiteral("Nom ou numéro de fichier incorrect");
    case FichierIntrouvable: return QStringLiteral("Fichier introuvable");
    case FinDeFichier: return QStringLiteral("Tentative de lecture après la fin du fichier");
    case NumeroIncorrect: return QStringLiteral("Numéro d'enregistrement incorrect");
    case PermissionRefusee: return QStringLiteral("Permission refusée");
    case DisqueNonPret: return QStringLiteral("Disque non prêt");
    case AccesChemin: return QStringLiteral("Erreur d'accès au chemin/fichier");
    case CheminIntrouvable: return QStringLiteral("Chemin d'accès introuvable");
    default: return QStringLiteral("Erreur d'entrée/sortie");
    }
}

ErreurFichier depuis(const QFileDevice& fichier, const QString& chemin) {
    QFileInfo info(chemin);
    int numero = DisqueNonPret;
    if (!info.dir().exists()) {
        numero = CheminIntrouvable;
    } else if (fichier.error() == QFileDevice::PermissionsError) {
        numero = PermissionRefusee;
    } else if (fichier.error() == QFileDevice::OpenError && !info.exists()) {
        numero = FichierIntrouvable;
    } else if (fichier.error() == QFileDevice::OpenError) {
        numero = PermissionRefusee;
    } else if (fichier.error() == QFileDevice::ReadError) {
        numero = FinDeFichier;
    }
    QString texte = description(numero);
    if (!fichier.errorString().isEmpty())
        texte += QStringLiteral(" (") + fichier.errorString() + QStringLiteral(")");
    return ErreurFichier(numero, texte, chemin);
}

}  // namespace erreurs
