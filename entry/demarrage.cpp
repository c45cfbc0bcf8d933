#include "entry/demarrage.h"

#include "config/facturatlex.h"
#include "entry/filepatients.h"
#include "config/fichierconfiguration.h"
#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "config/fichierini.h"
#include "platform/reglages.h"
#include "platform/reprise.h"
#include "records/fichierenregistrements.h"
#include "records/fichierfactures.h"
#include "transmission/preparation.h"

#include <QDir>

#include <functional>

namespace {

const QString TitreCreation = QStringLiteral("Création du fichier de configuration");
const QString TitreLecture = QStringLiteral("Erreur en lecture");

// Runs one start-up step: a missing Sauvramq is created and the step run again; any other
// error is reported and start-up goes on with the next step.
void etape(const QString& programme, PortDialogue& d, const std::function<void()>& action) {
    Reprise r;
    r.titre = TitreLecture;
    r.offrirReessai = false;
    r.creerDossier = [&](const ErreurFichier&) {
        dossiers::creerDossier(programme, QStringLiteral("Sauvramq"));
    };
    r.arret = [](PortDialogue& d, const ErreurFichier& e) {
        d.message(Icone::Critique, TitreLecture,
                  QStringLiteral("Erreur de lecture de fichier.\nErreur numéro:%1\n%2")
                      .arg(e.numero())
                      .arg(erreurs::texte(e)));
    };
    executerAvecReprise(d, r, action);
}

}  // namespace

int patientsEnFile(const QString& programme) { return filepatients::nombre(programme); }

EtatDemarrage Demarrer(const QString& programme, PortDialogue& d, FenetresDemarrage& fenetres,
                       const MagasinReglages& utilisateur) {
    EtatDemarrage etat;
    const FichierIni tarnwick(parametres::cheminTarnwick(programme), QStringLiteral("Kestrova"));

    etat.interrupteurs.SiMotPasse = parametres::oui(tarnwick, parametres::SiMotPasse);
    if (etat.interrupteurs.SiMotPasse && !fenetres.motDePasse()) {
        etat.arreter = true;
        return etat;
    }

    // A preparation stopped midway by a crash is undone or finished before anything is counted.
    etape(programme, d, [&] {
        if (QDir(fichierfactures::dossierSauvegarde(programme)).exists())
            preparation::reprendreInterrompue(programme, d);
    });
    etape(programme, d, [&] { etat.nombreFactures = fichierfactures::nombre(programme); });
    // So is an import of the outside product's patients.
    filepatients::reprendreImportation(programme, d);

    etat.ftp = parametres::lireParametresFtp(utilisateur);

    const QString cfg = fichierconfiguration::chemin(programme);
    if (!dossiers::FichierExiste(cfg)) {
        etape(programme, d, [&] {
            CreerConfigurationParDefaut(programme);
            d.message(Icone::Information, TitreCreation,
                      QStringLiteral("Le fichier de configuration a été créé.\n\nVous devez vous "
                                     "rendre dans FICHIER, puis INITIALISATION pour y inscrire le "
                                     "ou les noms des optométristes ainsi que leur numéro de "
                                     "professionnel."));
        });
        fenetres.initialisation();
        etat.ftp = parametres::lireParametresFtp(utilisateur);  // what it saved is used at once
    }

    etape(programme, d, [&] {
        QString version;
        try {
            version = fichierconfiguration::lireVersion(fichierconfiguration::chemin(programme));
        } catch (const ErreurConfiguration&) {
            version.clear();  // an empty or unreadable file is an outdated one
        }
        if (version != VersionConfiguration) {
            d.message(Icone::Information, TitreCreation,
                      QStringLiteral("Première utilisation de cette version.\nLe fichier de "
                                     "configuration va être modifié.\n\nSi les informations qui "
                                     "suivront ne sont pas conforme, veuillez vous rendre dans "
                                     "Fichier et Initialisation afin de corriger les inscriptions "
                                     "au logiciel.\n\nCliquez sur Ok pour continuer."));
            fenetres.correctionConfiguration();
        }
    });

    if (!facturatlex::existe(programme)) {
        d.bip();
        d.message(Icone::Critique, TitreLecture,
                  QStringLiteral("Erreur de lecture de fichier.\n\nLe fichier de configuration "
                                 "FACTURAT.LEX n'est pas rouvé.\nVérifier à ce qu'il existe dans le "
                                 "dossier RAMQ."));
        d.message(Icone::Information, QStringLiteral("Fichier manquant."),
                  QStringLiteral("Pour créer le fichier FACTURAT.LEX, veuillez vous rendre à la "
                                 "section initialisation puis inscrivez votre numéro d'agence."));
        fenetres.initialisation();
        etat.ftp = parametres::lireParametresFtp(utilisateur);  // what it saved is used at once
    }

    try {
        etape(programme, d, [&] {
            etat.configuration = ChargerConfiguration(programme);
            etat.configurationChargee = true;
        });
    } catch (const ErreurConfiguration& e) {
        d.bip();
        d.message(Icone::Critique, TitreLecture, e.texte());
        if (e.fatale()) {
            etat.arreter = true;
            return etat;
        }
    }

    etape(programme, d, [&] {
        etat.agence = facturatlex::agence(programme);
    });

    etat.interrupteurs.RappelBES2an = parametres::oui(tarnwick, parametres::RappelBES2an);
    etat.interrupteurs.RappelTOUS2an = parametres::oui(tarnwick, parametres::RappelTOUS2an);
    etat.interrupteurs.UtiliseDossierPatient =
        parametres::oui(utilisateur, parametres::UtiliseDossierPatient);
    etat.interrupteurs.ChangerDateRappel = parametres::oui(utilisateur, parametres::ChangerDateRappel);
    etat.interrupteurs.WindowsStateOp =
        parametres::lire(utilisateur, parametres::WindowsStateOp).toInt();

    etape(programme, d, [&] { etat.patientsEnFile = patientsEnFile(programme); });
    return etat;
}
