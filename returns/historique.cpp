#include "returns/historique.h"

#include "platform/dialogues.h"
#include "platform/erreurs.h"
#include "records/champs.h"
#include "records/fichierfactures.h"

namespace historique {

const QList<Boite>& boites() {
    using namespace facture;
    using G = Boite::Genre;
    static const QList<Boite> liste = [] {
        QList<Boite> b = {
            {0, QStringLiteral("État"), Etat, G::Texte},
            {4, QStringLiteral("Agence"), Agence, G::Lecture},
            {5, QStringLiteral("Attestation"), Attestation, G::Lecture},
            {7, QStringLiteral("No facture"), NumeroFacture, G::Lecture},
            {8, QStringLiteral("Ass. maladie"), Nam, G::Texte},
            {9, QStringLiteral("Prénom"), Prenom, G::Texte},
            {10, QStringLiteral("Nom"), Nom, G::Texte},
            {11, QStringLiteral("Séquence"), SequenceCarte, G::Nombre},
            {12, QStringLiteral("Expiration"), ExpirationCarte, G::Nombre},
            {13, QStringLiteral("Naissance"), Naissance, G::Nombre},
            {14, QStringLiteral("Sexe"), Sexe, G::Texte},
            {15, QStringLiteral("Adresse"), Adresse, G::Texte},
            {16, QStringLiteral("Ville"), Ville, G::Texte},
            {17, QStringLiteral("Code postal"), CodePostal, G::Texte},
            {18, QStringLiteral("Professionnel"), Professionnel, G::Texte},
            {20, QStringLiteral("Groupe"), Groupe, G::Texte},
            {22, QStringLiteral("Établissement"), Etablissement, G::Texte},
            {23, QStringLiteral("Date de service"), DateService, G::Texte},
        };
        for (int n = 1; n <= NombreLignes; ++n) {
            b.append({24 + n, QStringLiteral("Diag #%1").arg(n), diagnostic(n), G::Texte});
            b.append({28 + n, QStringLiteral("Acte #%1").arg(n), acte(n), G::Nombre});
            b.append({32 + n, QStringLiteral("Prix #%1").arg(n), honoraire(n), G::Nombre});
        }
        b.append({BoiteTotal, QStringLiteral("Total"), Total, G::Nombre});
        b.append({40, QStringLiteral("Renseignements complémentaires"), Renseignements, G::Texte});
        b.append({42, QStringLiteral("C.S."), Considerations, G::Texte});
        return b;
    }();
    return liste;
}

Textes textes(const QByteArray& enregistrement) {
    const Enregistrement e(enregistrement);
    Textes t;
    for (const Boite& b : boites()) {
        t.insert(b.index, e.lireChamp(b.champ.colonne, b.champ.largeur));
    }
    return t;
}

QString total(const Textes& t) {
    qint64 somme = 0;
    for (int i = PremierPrix; i < PremierPrix + facture::NombreLignes; ++i)
        somme += champs::valeur(t.value(i));
    const QString chiffres = QString::number(somme);
    return chiffres.size() > facture::Total.largeur ? chiffres
                                                    : QStringLiteral("000000").append(chiffres).right(6);
}

QByteArray corrige(const QByteArray& enregistrement, const Textes& t) {
    Enregistrement e(enregistrement);
    for (const Boite& b : boites()) {
        const QString texte = t.value(b.index);
        if (b.genre == Boite::Genre::Texte)
            e.ecrireTexte(b.champ.colonne, b.champ.largeur, texte);
        else if (b.genre == Boite::Genre::Nombre)
            e.ecrireNombre(b.champ.colonne, b.champ.largeur, texte);
    }
    return e.octets();
}

namespace {

void changee(PortDialogue& d, const QString& titre, int numero) {
    d.message(Icone::Exclamation, titre,
              QStringLiteral("La facture numéro %1 a été changée ou transmise par un autre poste "
                             "de travail depuis son affichage. Rien n'a été écrit; vérifiez-la de "
                             "nouveau.")
                  .arg(numero));
}

void echec(PortDialogue& d, const QString& titre, const ErreurFichier& e) {
    d.message(Icone::Critique, titre,
              QStringLiteral("Erreur %1  %2").arg(e.numero()).arg(erreurs::texte(e)));
}

}  // namespace

Issue corriger(const QString& programme, int numero, const QByteArray& affiche, const Textes& t,
              PortDialogue& d) {
    const QString titre = QStringLiteral("Correction");
    if (t.value(BoiteTotal).size() > facture::Total.largeur) {
        d.message(Icone::Exclamation, titre,
                  QStringLiteral("Le total des prix ne tient pas dans les six chiffres de la "
                                 "facture. Rien n'a été écrit; corrigez les prix."));
        return Issue::Refusee;
    }
    try {
        if (!fichierfactures::ecrireFacture(programme, numero, affiche, corrige(affiche, t))) {
            changee(d, titre, numero);
            return Issue::Changee;
        }
    } catch (const ErreurFichier& e) {
        echec(d, titre, e);
        return Issue::Refusee;
    }
    d.message(Icone::Information, titre,
              QStringLiteral("Correction de la facture numéro %1 effectuée.").arg(numero));
    return Issue::Ecrite;
}

Issue annuler(const QString& programme, int numero, const QByteArray& affiche, PortDialogue& d) {
    const QString titre = QStringLiteral("Annulation");
    try {
        if (!fichierfactures::annulerFacture(programme, numero, affiche)) {
            changee(d, titre, numero);
            return Issue::Changee;
        }
    } catch (const ErreurFichier& e) {
        echec(d, titre, e);
        return Issue::Refusee;
    }
    d.message(Icone::Information, titre, QStringLiteral("Facture numéro %1 annulée.").arg(numero));
    return Issue::Ecrite;
}

}  // namespace historique
