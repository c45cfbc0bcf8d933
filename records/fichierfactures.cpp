#include "records/fichierfactures.h"

#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "records/fichierenregistrements.h"
#include "records/statistique.h"

namespace fichierfactures {

namespace {
FichierEnregistrements ftmp(const QString& programme) {
    return FichierEnregistrements(cheminFtmp(programme), facture::Longueur,
                                  facture::NombreMaximal);
}

QString sansBlancsFinaux(QString t) {
    while (t.endsWith(QLatin1Char(' ')))
        t.chop(1);
    return t;
}
}  // namespace

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

int nombre(const QString& programme) { return ftmp(programme).nombre(); }

Resultat EnregistrerFacture(const ValeursFacture& v, const QString& programme,
                            PortDialogue& dialogues, const std::function<void()>& dossierPatient) {
    if (const int refus = facture::refusNumeros(v))
        return {refus, 0};
    const QByteArray enregistrement = facture::construire(v);
    int numero = 0;
    try {
        numero = ftmp(programme).ajouter(enregistrement);
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

    dialogues.message(Icone::Information, QStringLiteral("Sauvagarde"),
                      QStringLiteral("La facture # %1\nde %2 %3\n à été enregistrée.")
                          .arg(numero)
                          .arg(sansBlancsFinaux(v.prenom), sansBlancsFinaux(v.nom)));

    if (dossierPatient)
        dossierPatient();

    FichierEnregistrements stats(cheminStatistiques(programme, v.dateService.left(4)),
                                 statistique::Longueur);
    stats.ajouter(statistique::construire(v));
    return {0, numero};
}

QByteArray lireFacture(const QString& programme, int numero) { return ftmp(programme).lire(numero); }

void ecrireFacture(const QString& programme, int numero, const QByteArray& enregistrement) {
    ftmp(programme).ecrire(numero, enregistrement);
}

void annulerFacture(const QString& programme, int numero) {
    FichierEnregistrements f = ftmp(programme);
    f.ecrire(numero, facture::annuler(f.lire(numero)));
}

}  // namespace fichierfactures
