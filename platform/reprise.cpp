#include "platform/reprise.h"

#include "platform/dialogues.h"
#include "platform/erreurs.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString texteReessaiParDefaut(const ErreurFichier& e) {
    const QString fichier = QDir::toNativeSeparators(e.chemin());
    if (e.numero() == erreurs::DisqueNonPret)
        return QStringLiteral("Le disque du fichier %1 n'est pas prêt.\n\nVérifiez le disque ou "
                              "la connexion au dossier réseau, puis cliquez sur Réessayer.")
            .arg(fichier);
    return QStringLiteral("Le fichier %1 n'est pas accessible.\n\n%2\n\nVérifiez qu'il n'est pas "
                          "utilisé par un autre poste de travail, puis cliquez sur Réessayer.")
        .arg(fichier, e.description());
}

void arretParDefaut(PortDialogue& d, const QString& titre, const ErreurFichier& e) {
    QString texte = QStringLiteral("Erreur numéro: %1\n%2").arg(e.numero()).arg(erreurs::texte(e));
    if (e.numero() == erreurs::DisquePlein)
        texte += QStringLiteral("\n\nLibérez de l'espace sur le disque, puis recommencez.");
    d.message(Icone::Critique, titre, texte);
}

}  // namespace

bool executerAvecReprise(PortDialogue& d, const Reprise& r, const std::function<void()>& etape) {
    bool dossierCree = false;
    for (;;) {
        try {
            etape();
            return true;
        } catch (const ErreurFichier& e) {
            if (e.numero() == erreurs::CheminIntrouvable && r.creerDossierManquant && !dossierCree &&
                !e.chemin().isEmpty()) {
                dossierCree = true;
                if (r.creerDossier)
                    r.creerDossier(e);
                else
                    QDir().mkpath(QFileInfo(e.chemin()).absolutePath());
                continue;
            }
            const bool reessayable =
                e.numero() == erreurs::PermissionRefusee || e.numero() == erreurs::DisqueNonPret;
            if (reessayable && r.offrirReessai) {
                const QString texte = r.texteReessai ? r.texteReessai(e) : texteReessaiParDefaut(e);
                if (d.question(Icone::Exclamation, r.titre, texte, Boutons::ReessayerAnnuler, 0) ==
                    Reponse::Reessayer)
                    continue;
                return false;
            }
            if (r.arret)
                r.arret(d, e);
            else
                arretParDefaut(d, r.titre, e);
            return false;
        }
    }
}

bool executerAvecReprise(PortDialogue& d, const QString& titre, const std::function<void()>& etape) {
    Reprise r;
    r.titre = titre;
    return executerAvecReprise(d, r, etape);
}
