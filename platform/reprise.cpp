#include "platform/reprise.h"

#include "platform/dialogues.h"
#include "platform/erreurs.h"

#include <QDir>
#include <QFileInfo>

bool executerAvecReprise(PortDialogue& d, const QString& titre,
                         const std::function<void()>& action) {
    bool dossierCree = false;
    for (;;) {
        try {
            action();
            return true;
        } catch (const ErreurFichier& e) {
            const QString detail =
                QStringLiteral("Erreur numéro: %1\n%2").arg(e.numero()).arg(e.description());
            if (e.numero() == erreurs::CheminIntrouvable && !dossierCree && !e.chemin().isEmpty()) {
                dossierCree = QDir().mkpath(QFileInfo(e.chemin()).absolutePath());
                if (dossierCree)
                    continue;
            }
            if (e.numero() == erreurs::PermissionRefusee || e.numero() == erreurs::DisqueNonPret) {
                const Reponse r = d.question(
                    Icone::Exclamation, titre,
                    QStringLiteral("Le fichier %1 n'est pas accessible.\n\n%2\n\nVérifiez qu'il "
                                   "n'est pas utilisé par un autre poste de travail, puis cliquez "
                                   "sur Réessayer.")
                        .arg(QDir::toNativeSeparators(e.chemin()), detail),
                    Boutons::ReessayerAnnuler, 0);
                if (r == Reponse::Reessayer)
                    continue;
                return false;
            }
            d.message(Icone::Critique, titre, detail);
            return false;
        }
    }
}
