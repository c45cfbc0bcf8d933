#include "returns/precedentes.h"

#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichierbrut.h"
#include "platform/fichiers.h"
#include "platform/reprise.h"
#include "records/encodage.h"
#include "records/procedures.h"
#include "records/fichierfactures.h"
#include "statistics/journalenvois.h"
#include "transmission/envoi.h"
#include "transmission/preparation.h"

#include <QRegularExpression>
#include <memory>
#include <optional>
#include <vector>

namespace precedentes {

namespace {

QString colonnes(const QByteArray& contenu, int debut, int fin) {
    return encodage::depuisOctets(contenu.mid(debut - 1, fin - debut + 1));
}

// A file operation of these windows: a failure is told (Retry offered for a locked file or a
// disk not ready) and stops the action; a missing folder is not created.
bool etape(PortDialogue& d, const QString& titre, const std::function<void()>& travail) {
    Reprise r;
    r.titre = titre;
    r.creerDossierManquant = false;
    return executerAvecReprise(d, r, travail);
}

// Whether the sending log holds a sending of that attestation.
bool envoyee(const QString& programme, const QString& attestation) {
    for (const QByteArray& e : journalenvois::lire(programme))
        if (journalenvois::colonnes(e).value(1) == attestation)
            return true;
    return false;
}

}  // namespace

QList<tableur::Colonne> colonnes() {
    return tableur::colonnes({QStringLiteral("Requête"), QStringLiteral("Agence"), QStringLiteral("Attestation"),
                              QStringLiteral("Nb factures"), QStringLiteral("Montant"), QStringLiteral("Fichier DP")},
                             {{QStringLiteral("Montant"), tableur::Colonne::Genre::Cents},
                              {QStringLiteral("Nb factures"), tableur::Colonne::Genre::Nombre}});
}

Facturation lire(const QString& requete, const QByteArray& contenu) {
    return {requete,
            colonnes(contenu, 16, 20),
            colonnes(contenu, 22, 28),
            colonnes(contenu, 88, 93),
            colonnes(contenu, 94, 102),
            colonnes(contenu, 103, 110)};
}

QList<Facturation> lister(const QString& programme) {
    static const QRegularExpression nomRequete(QStringLiteral("^R[0-9]{7}$"),
                                               QRegularExpression::CaseInsensitiveOption);
    const QString dossier = fichierfactures::dossierSauvegarde(programme);
    QList<Facturation> liste;
    for (const QString& nom : dossiers::chercher(dossier, QStringLiteral("R*")).filter(nomRequete)) {
        QByteArray contenu;
        try {
            contenu = fichiers::lire(dossier + QLatin1Char('/') + nom);  // the name as listed
        } catch (const ErreurFichier&) {
            // listed with blanks: the user still sees it, and can strike it out
        }
        liste << lire(nom, contenu);
    }
    return liste;
}

QDate date(const QString& attestation, QDate aujourdhui) {
    static const QRegularExpression forme(QStringLiteral("^[0-9]{4}"));
    if (!forme.match(attestation).hasMatch())
        return {};
    const int chiffre = attestation.left(1).toInt();
    int annee = aujourdhui.year() - ((aujourdhui.year() % 10 - chiffre + 10) % 10);
    const int jour = attestation.mid(1, 3).toInt();
    const QDate debut(annee, 1, 1);
    if (jour < 1 || jour > debut.daysInYear())
        return {};
    return debut.addDays(jour - 1);
}

QString texteDate(QDate date) {
    if (!date.isValid())
        return {};
    return QStringLiteral("Facturation en date du  %1 %2 %3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(nomDuMois(date.month()))
        .arg(date.year());
}

bool remettreEnLigne(const QString& programme, const Facturation& f, PortDialogue& d) {
    const QString titre = QStringLiteral("Remise en ligne");
    const QString demandes = f.demandes.trimmed();
    const QString requete = preparation::cheminDans(programme, f.requete);
    const QString paiement = preparation::cheminDans(programme, demandes);
    for (const QString& chemin : {requete, paiement})
        if (demandes.isEmpty() || !dossiers::FichierExiste(chemin)) {
            d.message(Icone::Exclamation, titre,
                      QStringLiteral("Le fichier %1 est introuvable dans le dossier Sauvramq; la "
                                     "facturation ne peut pas être remise en ligne.")
                          .arg(chemin == requete ? f.requete : demandes));
            return false;
        }
    // The billing now online, when Reqt names one that is kept, and whether it was ever sent.
    const QString reqt = preparation::cheminReqt(programme);
    QByteArray reqtLu;
    std::optional<envoi::Requete> courante;
    bool couranteEnvoyee = true;
    if (!etape(d, titre, [&] {
            if (!dossiers::FichierExiste(reqt))
                return;
            reqtLu = fichiers::lire(reqt);
            const envoi::Requete r = envoi::lireRequete(reqtLu);
            if (r.nomRequete() == f.requete || !dossiers::FichierExiste(preparation::cheminDans(programme, r.nomRequete())))
                return;
            courante = r;
            couranteEnvoyee = envoyee(programme, r.attestation);
        }))
        return false;
    // Neither that billing nor this one may be in a sending meanwhile: both request files are
    // held under the sending's lock until Reqt is replaced. They are not held while the user
    // answers, so that no sending is refused meanwhile.
    QStringList aReserver = {f.requete};
    if (courante)
        aReserver << courante->nomRequete();
    std::vector<std::unique_ptr<FichierBrut>> reserves;
    const auto reserver = [&] {
        reserves.clear();
        for (const QString& nom : aReserver) {
            std::unique_ptr<FichierBrut> r;
            if (!etape(d, titre, [&] { r = envoi::reserver(preparation::cheminDans(programme, nom)); }))
                return false;
            if (!r) {
                d.message(Icone::Exclamation, titre,
                          QStringLiteral("La facturation %1 est en cours de transmission; la facturation %2 ne "
                                         "peut pas être remise en ligne maintenant.")
                              .arg(nom, f.requete));
                return false;
            }
            reserves.push_back(std::move(r));
        }
        return true;
    };
    if (!reserver())
        return false;
    if (!couranteEnvoyee) {
        reserves.clear();
        if (d.question(Icone::Exclamation, titre,
                       QStringLiteral("La facturation en ligne %1 n'a jamais été transmise à la RAMQ.\n\n"
                                      "Si vous remettez en ligne la facturation %2, TRANSMETTRE enverra celle-ci "
                                      "à sa place; la facturation %1 restera dans la liste des facturations "
                                      "précédentes.\n\nDésirez-vous continuer ?")
                           .arg(courante->nomRequete(), f.requete),
                       Boutons::OkAnnuler, 1) != Reponse::Ok ||
            !reserver())
            return false;
    }
    // A preparation or another workstation may have changed the billing online since it was read.
    QByteArray reqtMaintenant;
    if (!etape(d, titre, [&] {
            if (dossiers::FichierExiste(reqt))
                reqtMaintenant = fichiers::lire(reqt);
        }))
        return false;
    if (reqtMaintenant != reqtLu) {
        d.message(Icone::Exclamation, titre,
                  QStringLiteral("La facturation en ligne a changé entre-temps (une préparation ou un autre "
                                 "poste de travail); la facturation %1 n'a pas été remise en ligne.\n\n"
                                 "Consultez la liste de nouveau avant de recommencer.")
                      .arg(f.requete));
        return false;
    }
    // Reqt last: until the two copies are made, the next sending still sends what it did.
    const bool fait =
        etape(d, titre, [&] { fichiers::copierAtomique(requete, dossiers::resoudre(programme, f.requete)); }) &&
        etape(d, titre, [&] { fichiers::copierAtomique(paiement, dossiers::resoudre(programme, demandes)); }) &&
        etape(d, titre, [&] { fichiers::copierAtomique(requete, preparation::cheminReqt(programme)); });
    if (!fait)
        return false;
    d.message(Icone::Aucune, QStringLiteral("Kestrova"),
              QStringLiteral("Le fichier (") + f.requete +
                  QStringLiteral(") a été remis en ligne pour une retransmission à la RAMQ.\n\n"
                                 "Veuillez utiliser la fonction TRANSMETTRE d'une facturation (2e boite)."));
    return true;
}

bool rayer(const QString& programme, const Facturation& f, PortDialogue& d) {
    const QString titre = QStringLiteral("Rayer un fichier de facture");
    if (d.question(Icone::Exclamation, titre,
                   QStringLiteral("Veuillez confirmer le retrait de fichier de facture ") + f.requete,
                   Boutons::OkAnnuler, 1) != Reponse::Ok)
        return false;
    // A billing being sent holds its request file: it is not struck out from under the sending.
    const QString requete = preparation::cheminDans(programme, f.requete);
    std::unique_ptr<FichierBrut> verrou;
    bool libre = true;
    if (dossiers::FichierExiste(requete) && !etape(d, titre, [&] {
            verrou = std::make_unique<FichierBrut>(requete, FichierBrut::Mode::LectureEcriture);
            libre = verrou->verrouiller(0);
        }))
        return false;
    if (!libre) {
        d.message(Icone::Exclamation, titre,
                  QStringLiteral("La facturation ") + f.requete +
                      QStringLiteral(" est en cours de transmission; elle ne peut pas être rayée maintenant."));
        return false;
    }
    const QString demandes = f.demandes.trimmed();
    QStringList chemins;
    if (!demandes.isEmpty())
        chemins << dossiers::resoudre(programme, demandes) << preparation::cheminDans(programme, demandes);
    for (const QString& chemin : chemins)
        if (!etape(d, titre, [&] { fichiers::supprimer(chemin); }))
            return false;
    // The request file last: while it stays, the billing stays listed and can be struck again.
    // Its lock is let go first, as a file held open may not be deleted everywhere.
    verrou.reset();
    if (!etape(d, titre, [&] { fichiers::supprimer(requete); }))
        return false;
    d.message(Icone::Aucune, QStringLiteral("Kestrova"),
              QStringLiteral("Le fichier (") + f.requete + QStringLiteral(") a été rayé."));
    return true;
}

}  // namespace precedentes
