#include "platform/erreurs.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

ErreurFichier::ErreurFichier(int numero, QString description, QString chemin)
    : numero_(numero), description_(std::move(description)), chemin_(std::move(chemin)),
      quoi_((QString::number(numero_) + " " + description_ + " " + chemin_).toUtf8()) {}

namespace erreurs {

QString description(int numero) {
    switch (numero) {
    case Depassement: return QStringLiteral("Dépassement de capacité");
    case MemoireInsuffisante: return QStringLiteral("Mémoire insuffisante");
    case NomIncorrect: return QStringLiteral("Nom ou numéro de fichier incorrect");
    case FichierIntrouvable: return QStringLiteral("Fichier introuvable");
    case FichierExistant: return QStringLiteral("Le fichier existe déjà");
    case DisquePlein: return QStringLiteral("Disque plein");
    case FinDeFichier: return QStringLiteral("Tentative de lecture après la fin du fichier");
    case NumeroIncorrect: return QStringLiteral("Numéro d'enregistrement incorrect");
    case PermissionRefusee: return QStringLiteral("Permission refusée");
    case DisqueNonPret: return QStringLiteral("Disque non prêt");
    case AccesChemin: return QStringLiteral("Erreur d'accès au chemin/fichier");
    case CheminIntrouvable: return QStringLiteral("Chemin d'accès introuvable");
    default: return QStringLiteral("Erreur d'entrée/sortie");
    }
}

ErreurFichier erreur(int numero, const QString& chemin) {
    return ErreurFichier(numero, description(numero), chemin);
}

namespace {
// The cause of a failure that has no number of its own, in French.
QString cause(int code) {
    switch (code) {
    case EISDIR: return QStringLiteral("le chemin désigne un dossier et non un fichier");
    case EMFILE:
    case ENFILE: return QStringLiteral("trop de fichiers ouverts");
    case ENAMETOOLONG: return QStringLiteral("nom de fichier trop long");
    case EEXIST: return QStringLiteral("le fichier existe déjà");
    case EINVAL: return QStringLiteral("opération refusée par le système de fichiers");
#ifdef ELOOP
    case ELOOP: return QStringLiteral("trop de liens symboliques");
#endif
    default: return QStringLiteral("erreur système numéro %1").arg(code);
    }
}
}  // namespace

ErreurFichier depuisSysteme(int code, const QString& chemin) {
    switch (code) {
    case ENOENT:
        return erreur(QFileInfo(chemin).dir().exists() ? FichierIntrouvable : CheminIntrouvable,
                      chemin);
    case ENOTDIR: return erreur(CheminIntrouvable, chemin);
    case EACCES:
    case EPERM:
    case EROFS:
    case EAGAIN:
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return erreur(PermissionRefusee, chemin);
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG: return erreur(DisquePlein, chemin);
    case EIO:
    case ENXIO:
    case ENODEV:
#ifdef ENOMEDIUM
    case ENOMEDIUM:
#endif
        return erreur(DisqueNonPret, chemin);
    default:
        return ErreurFichier(AccesChemin, description(AccesChemin) + QStringLiteral(" (") +
                                              cause(code) + QLatin1Char(')'),
                             chemin);
    }
}

QString texte(const ErreurFichier& e) {
    if (e.chemin().isEmpty())
        return e.description();
    return e.description() + QStringLiteral(" : ") + QDir::toNativeSeparators(e.chemin());
}

}  // namespace erreurs
