#include "statistics/journalenvois.h"

#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichierbrut.h"
#include "platform/fichiers.h"
#include "records/encodage.h"
#include "records/fichierenregistrements.h"
#include "records/fichierfactures.h"
#include "transmission/envoi.h"

namespace journalenvois {

namespace {

constexpr int L = envoi::LongueurJournal;

QString chemin(const QString& programme) {
    return dossiers::resoudre(fichierfactures::dossierSauvegarde(programme), QStringLiteral("LstEnvoie.Dat"));
}

QList<QByteArray> enregistrements(const QByteArray& tout) {
    QList<QByteArray> liste;
    for (qsizetype p = 0; p + L <= tout.size(); p += L)
        liste << tout.mid(p, L);
    return liste;
}

QString champ(const QByteArray& e, int colonne, int largeur) {
    return encodage::depuisOctets(e.mid(colonne - 1, largeur));
}

}  // namespace

QList<QByteArray> lire(const QString& programme) {
    const QString c = chemin(programme);
    if (!dossiers::FichierExiste(c))
        return {};
    return enregistrements(fichiers::lire(c));
}

QList<tableur::Colonne> entetes() {
    return tableur::colonnes({QStringLiteral("Facturation"), QStringLiteral("Attestation"), QStringLiteral("Nb Fact."),
                              QStringLiteral("Montant"), QStringLiteral("Date"), QStringLiteral("Heure"),
                              QStringLiteral("Serveur SMTP"), QStringLiteral("Votre adresse de courriel"),
                              QStringLiteral("Destinataire")},
                             {{QStringLiteral("Date"), tableur::Colonne::Genre::Date},
                              {QStringLiteral("Nb Fact."), tableur::Colonne::Genre::Nombre}});
}

QStringList colonnes(const QByteArray& e) {
    const QString moment = champ(e, 32, 20);
    return {champ(e, 1, 8),
            champ(e, 9, 7),
            champ(e, 16, 6),
            champ(e, 22, 10).trimmed(),
            moment.mid(0, 4) + QLatin1Char('/') + moment.mid(4, 2) + QLatin1Char('/') + moment.mid(6, 2),
            moment.mid(8).trimmed(),
            champ(e, 52, 40).trimmed(),
            champ(e, 92, 40).trimmed(),
            champ(e, 132, 40).trimmed()};
}

Retrait retirer(const QString& programme, const QList<QByteArray>& affiches, const QList<int>& selection,
                PortDialogue& d) {
    if (d.question(Icone::Question, QStringLiteral("Effacer"),
                   QStringLiteral("Veuillez confirmer le retrait du ou des fichiers sélectionnés ?"),
                   Boutons::OkAnnuler, 1) != Reponse::Ok)
        return Retrait::Annule;
    try {
        const FichierEnregistrements journal(chemin(programme), L);
        const auto verrou = journal.verrouiller(FichierEnregistrements::delaiVerrouMs);
        const QByteArray actuel = verrou->toutLire();
        if (enregistrements(actuel) != affiches) {
            d.message(Icone::Exclamation, QStringLiteral("Effacer"),
                      QStringLiteral("La liste des facturations envoyées a changé depuis son affichage (un "
                                     "autre poste de travail a envoyé une facturation). Rien n'a été retiré; "
                                     "la liste est affichée de nouveau."));
            return Retrait::Change;
        }
        QByteArray nouveau;
        for (int i = 0; i < affiches.size(); ++i)
            if (!selection.contains(i))
                nouveau += affiches[i];
        fichiers::ecrireAtomique(dossiers::resoudre(fichierfactures::dossierSauvegarde(programme),
                                                    QStringLiteral("LstEnvoie.Bak")),
                                 actuel);
        fichiers::ecrireAtomique(journal.chemin(), nouveau);
    } catch (const ErreurFichier& e) {
        d.message(Icone::Critique, QStringLiteral("Effacer"), erreurs::texte(e));
        return Retrait::Echec;
    }
    return Retrait::Fait;
}

}  // namespace journalenvois
