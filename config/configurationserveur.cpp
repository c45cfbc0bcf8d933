#include "config/configurationserveur.h"

#include "config/facturatlex.h"
#include "config/fichierconfiguration.h"
#include "platform/arriereplan.h"
#include "platform/dialogues.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"
#include "transmission/moduleftp.h"

#include <QDir>

bool PrendreConfigurationSurServeur(const QString& programme, const ParametresFtp& ftp,
                                    PortDialogue& d) {
    const QString titre = QStringLiteral("Communication Web");
    const QString temporaire = QDir(programme).filePath(QStringLiteral(".~serveur"));
    QDir(temporaire).removeRecursively();
    QDir().mkpath(temporaire);
    const QString cfg = QStringLiteral("kestrova.cfg"), lex = QStringLiteral("facturat.lex");
    bool recus = false;
    {
        Sablier sablier(d);
        recus = executerEnArrierePlan([&] {
            return ModuleFTP::GetFtpRacine(ftp, cfg, temporaire) &&
                   ModuleFTP::GetFtpRacine(ftp, lex, temporaire);
        });
    }
    bool remplaces = false;
    if (recus) {
        try {
            fichiers::renommer(QDir(temporaire).filePath(cfg), fichierconfiguration::chemin(programme));
            fichiers::renommer(QDir(temporaire).filePath(lex), facturatlex::chemin(programme));
            remplaces = true;
        } catch (const ErreurFichier& e) {
            d.message(Icone::Critique, titre, erreurs::texte(e));
        }
    }
    QDir(temporaire).removeRecursively();
    d.message(Icone::Information, titre,
              remplaces ? QStringLiteral("Fichiers Transférés\n\nLe programme va se fermer.")
                        : QStringLiteral("Fichiers NON Transférés"));
    return remplaces;
}
