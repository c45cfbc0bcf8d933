#include "transmission/verificationretours.h"

#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "transmission/moduleftp.h"

#include <QFileInfo>

namespace verificationretours {

namespace {
const QString Titre = QStringLiteral("Kestrova");
}

QString nomArchive(const QString& agence) {
    return QStringLiteral("F") + agence + QStringLiteral(".zip");
}

Resultat chercher(const ParametresFtp& ftp, const QString& agence, const QString& programme) {
    const QString travail = dossiers::dossierTravail(programme);
    if (!QFileInfo(travail).isDir())
        return {Resultat::Issue::Erreur, erreurs::description(erreurs::AccesChemin) + QStringLiteral(": ") + travail};
    if (agence.trimmed().isEmpty())
        return {};  // no agency, nothing of ours can be waiting
    if (ModuleFTP::GetFtpFichFile(ftp, nomArchive(agence.trimmed()), travail) == 0)
        return {};
    return {Resultat::Issue::Trouvee, {}};
}

void annoncer(const Resultat& r, PortDialogue& d) {
    switch (r.issue) {
    case Resultat::Issue::Absente: return;
    case Resultat::Issue::Erreur: d.message(Icone::Critique, Titre, r.description); return;
    case Resultat::Issue::Trouvee:
        d.message(Icone::Aucune, Titre,
                  QStringLiteral("VOUS AVEZ UN OU PLUSIEURS\n\nRetour des Erreurs ou État de compte.\n\n"
                                 "Vous pouvez récupérer le ou les fichiers,\nen cliquant sur le bouton "
                                 "Confirmation.\n\nMerci"));
        return;
    }
}

}  // namespace verificationretours
