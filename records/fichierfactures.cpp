#include "records/fichierfactures.h"

#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/reprise.h"
#include "records/champs.h"
#include "records/fichierenregistrements.h"
#include "records/statistique.h"

#include <QDir>

namespace fichierfactures {

FichierEnregistrements fichier(const QString& programme) {
    return FichierEnregistrements(cheminFtmp(programme), facture::Longueur, facture::NombreMaximal,
                                  facture::marquesValides);
}

QString dossierSauvegarde(const QString& programme) {
    return dossiers::resoudre(programme, QStringLiteral("Sauvramq"));
}

QString cheminFtmp(const QString& programme) {
    return dossiers::resoudre(programme, QStringLiteral("Sauvramq/Ftmp.Fil"));
}

QString cheminStatistiques(const QString& programme, const QString& annee) {
    return dossiers::resoudre(programme,
                              QStringLiteral("Sauvramq/") + statistique::nomFichier(annee));
}

int nombre(const QString& programme) { return fichier(programme).nombre(); }

namespace {
const QString TitreSauvegarde = QStringLiteral("Sauvagarde");

// A follow-up of a stored invoice could not be done: the user is told what is missing.
void suiteManquante(PortDialogue& d, int numero, const QString& quoi) {
    d.message(Icone::Exclamation, TitreSauvegarde,
              QStringLiteral("La facture # %1 est enregistrée.\n\nCependant, %2").arg(numero).arg(quoi));
}
}  // namespace

Resultat EnregistrerFacture(const ValeursFacture& v, const QString& programme,
                            PortDialogue& dialogues, const std::function<void()>& dossierPatient) {
    if (const int refus = facture::refusNumeros(v))
        return {refus, 0};
    const QByteArray enregistrement = facture::construire(v);
    int numero = 0;
    const bool ajoutee = executerAvecReprise(dialogues, QStringLiteral("Sauvegarde"), [&] {
        try {
            numero = fichier(programme).ajouter(enregistrement);
        } catch (const ErreurFichier& e) {
            if (e.numero() != erreurs::Depassement)
                throw;
            throw ErreurFichier(e.numero(),
                                QStringLiteral("Le fichier des factures en mémoire contient déjà "
                                               "%1 factures.\n\nVeuillez préparer la facturation "
                                               "avant d'enregistrer d'autres factures.")
                                    .arg(facture::NombreMaximal),
                                e.chemin());
        }
    });
    if (!ajoutee)
        return {0, 0};

    dialogues.message(Icone::Information, TitreSauvegarde,
                      QStringLiteral("La facture # %1\nde %2 %3\n à été enregistrée.")
                          .arg(numero)
                          .arg(champs::sansBlancsFinaux(v.prenom), champs::sansBlancsFinaux(v.nom)));

    if (dossierPatient &&
        !executerAvecReprise(dialogues, QStringLiteral("Dossier du patient"), dossierPatient))
        suiteManquante(dialogues, numero,
                       QStringLiteral("le dossier du patient n'a pas été mis à jour."));

    const QString cheminStats = cheminStatistiques(programme, v.dateService.left(4));
    if (!executerAvecReprise(dialogues, QStringLiteral("Statistiques"), [&] {
            FichierEnregistrements(cheminStats, statistique::Longueur)
                .sansSynchronisation()
                .ajouter(statistique::construire(v));
        }))
        suiteManquante(dialogues, numero,
                       QStringLiteral("son enregistrement de statistiques n'a pas pu être ajouté "
                                      "au fichier %1 : les statistiques de cette facture "
                                      "manqueront.")
                           .arg(QDir::toNativeSeparators(cheminStats)));
    return {0, numero};
}

QByteArray lireFacture(const QString& programme, int numero) { return fichier(programme).lire(numero); }

bool ecrireFacture(const QString& programme, int numero, const QByteArray& affiche,
                   const QByteArray& enregistrement) {
    return fichier(programme).remplacer(numero, affiche, enregistrement);
}

bool annulerFacture(const QString& programme, int numero, const QByteArray& affiche) {
    return ecrireFacture(programme, numero, affiche, facture::annuler(affiche));
}

}  // namespace fichierfactures
