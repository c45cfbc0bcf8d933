#include "entry/patientcourant.h"

#include "entry/verifications.h"
#include "platform/dialogues.h"
#include "platform/erreurs.h"
#include "platform/reprise.h"
#include "records/champs.h"

namespace {

// The database could not be read: told by its number, as the look-up's handling says.
void erreurDossier(PortDialogue& d, const ErreurFichier& e) {
    if (e.numero() == erreurs::AccesChemin || e.numero() == erreurs::CheminIntrouvable ||
        e.numero() == erreurs::FichierIntrouvable)
        d.message(Icone::Aucune, QStringLiteral("Message"),
                  QStringLiteral("La base de donnée DOSSIER PATIENT n'existe pas sur votre disque ou "
                                 "celle-ci n'est pas utilisée.\n\nPour ne pas utiliser cette base de "
                                 "donnée, veuillez vous rendre dans Initialisation, Autres items et "
                                 "enlever le crochet à utiliser le Dossier Patient."));
    else
        d.message(Icone::Critique, QStringLiteral("Message"),
                  erreurs::texte(e) + QLatin1Char('\n') + QString::number(e.numero()));
}

}  // namespace

void PatientCourant::oublierDossier() {
    dossier_.reset();
    namCherche_.clear();
}

void PatientCourant::oublier() {
    oublierDossier();
    file_.reset();
}

PatientCourant::Chargement PatientCourant::depuisFile(const filepatients::EnFile& patient, bool dateExamen) {
    file_ = patient;
    Chargement c;
    c.identite = filepatients::identite(patient.enregistrement);
    c.dateExamen = dateExamen;
    c.deLaFile = true;
    namCherche_ = c.identite->nam;
    return c;
}

PatientCourant::Chargement PatientCourant::nam(const QString& programme, const QString& nam,
                                               const Reglages& r, PortDialogue& d) {
    const QString t = nam.trimmed();
    if (t.isEmpty() || t == namCherche_)
        return {};
    if (!r.UtiliseDossierPatient) {
        namCherche_ = t;
        try {
            if (const auto patient = filepatients::chercher(programme, t))
                return depuisFile(*patient, !r.PavoConserveDate);
        } catch (const ErreurFichier& e) {
            d.message(Icone::Critique, QStringLiteral("Message"), erreurs::texte(e));
        }
        return {};
    }
    if (!QueDesChiffres(t))
        return {};  // a NAM: looked up once its checks pass
    // A file number of the database.
    namCherche_ = t;
    dossier_.reset();
    Chargement c;
    c.parNumeroDeDossier = true;
    try {
        if (const auto fiche = dossierpatient::lire(programme, static_cast<int>(champs::valeur(t)))) {
            dossier_ = fiche;
            dernier09001_ = dossierpatient::dernier09001(fiche->enregistrement);
            c.identite = dossierpatient::identite(fiche->enregistrement);
            namCherche_ = c.identite->nam;
        }
    } catch (const ErreurFichier& e) {
        erreurDossier(d, e);
    }
    return c;
}

PatientCourant::Chargement PatientCourant::namVerifie(const QString& programme, const QString& nam,
                                                      PortDialogue& d) {
    if (nam.trimmed().isEmpty() || nam == namCherche_)
        return {};
    namCherche_ = nam;
    dossier_.reset();
    Chargement c;
    try {
        if (const auto fiche = dossierpatient::chercher(programme, nam)) {
            dossier_ = fiche;
            dernier09001_ = dossierpatient::dernier09001(fiche->enregistrement);
            c.identite = dossierpatient::identite(fiche->enregistrement);
            return c;
        }
    } catch (const ErreurFichier& e) {
        erreurDossier(d, e);
        return c;
    }
    dernier09001_ = QStringLiteral("99/01/01");
    d.message(Icone::Aucune, QStringLiteral("Recherche"),
              QStringLiteral("Aucune personne au fichier patient avec ce numéro d'assurance maladie..."));
    return c;
}

PatientCourant::Enregistrement PatientCourant::enregistrer(const QString& programme, const ValeursFacture& v,
                                                           const Reglages& r, bool afficheConserveInfo,
                                                           PortDialogue& d) {
    Enregistrement e;
    std::function<void()> miseAJour;
    if (dossier_ && r.UtiliseDossierPatient)
        miseAJour = [&, fiche = *dossier_] { dossierpatient::mettreAJour(programme, fiche, v, r.rappels, d); };
    e.resultat = fichierfactures::EnregistrerFacture(v, programme, d, miseAJour);
    if (e.resultat.code != 0)
        oublierFile();
    if (!e.resultat.enregistree())
        return e;
    const auto charge = file_;
    oublier();  // the database record is consumed by this store
    if (charge) {
        int reste = 0;
        executerAvecReprise(d, QStringLiteral("File d'attente"), [&] {
            reste = filepatients::apresEnregistrement(programme, *charge, afficheConserveInfo, d);
        });
        e.resteEnFile = reste;
    }
    return e;
}
