#include "config/correction.h"

#include "platform/dialogues.h"
#include "platform/reprise.h"

namespace correction {

bool optometristeEnUsage(const Optometriste& o) {
    return !o.nom.trimmed().isEmpty() && !o.professionnel.isEmpty() && o.enUsage();
}

bool etablissementEnUsage(const QString& ligne) {
    return !ligne.trimmed().isEmpty() && !ligne.contains(QLatin1String("00000"));
}

Configuration corrigee(const fichierconfiguration::Ancienne& a) {
    Configuration c = Configuration::parDefaut();
    for (int i = 0; i < Configuration::NombreOptometristes; ++i) {
        const Optometriste& o = a.optometristes[i];
        c.Optometristes[i] = optometristeEnUsage(o)
                                 ? Optometriste{o.nom.trimmed(), o.professionnel, o.groupe}
                                 : Optometriste{QStringLiteral("%1e Optométriste").arg(i + 1),
                                                QStringLiteral("000000"), QStringLiteral("00000")};
    }
    for (int i = 0; i < Configuration::NombreEtablissements; ++i)
        c.Etablissements[i] = etablissementEnUsage(a.etablissements[i])
                                  ? a.etablissements[i].trimmed()
                                  : QStringLiteral("Vide 00000");
    return c;
}

bool Reecrire(const QString& programme, const fichierconfiguration::Ancienne& a, PortDialogue& d) {
    const QString cfg = fichierconfiguration::chemin(programme);
    const bool fait = executerAvecReprise(d, QStringLiteral("Modification"), [&] {
        fichierconfiguration::conserverAncien(cfg);
        fichierconfiguration::ecrire(cfg, corrigee(a), fichierconfiguration::Groupement::ParSix);
    });
    if (fait)
        d.message(Icone::Information, QStringLiteral("Modification"),
                  QStringLiteral("Votre fichier de configuration a été modifié avec les paramètres "
                                 "précédemment affichés.\n\nAppuyez sur Ok pour continuer."));
    return fait;
}

}  // namespace correction
