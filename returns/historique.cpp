#include "returns/historique.h"

#include "platform/dialogues.h"
#include "platform/erreurs.h"
#include "records/champs.h"
#include "records/fichierfactures.h"

namespace historique {

const QList<Boite>& boites() {
    using namespace facture;
    using G = Boite::Genre;
    using C = controlefacture::Champ;
    static const QList<Boite> liste = [] {
        QList<Boite> b = {
            {0, QStringLiteral("État"), Etat, G::Texte, C::Etat},
            {4, QStringLiteral("Agence"), Agence, G::Lecture},
            {5, QStringLiteral("Attestation"), Attestation, G::Lecture},
            {7, QStringLiteral("No facture"), NumeroFacture, G::Lecture},
            {8, QStringLiteral("Ass. maladie"), Nam, G::Texte, C::Nam},
            {9, QStringLiteral("Prénom"), Prenom, G::Texte, C::Prenom},
            {10, QStringLiteral("Nom"), Nom, G::Texte, C::Nom},
            {11, QStringLiteral("Séquence"), SequenceCarte, G::Nombre, C::SequenceCarte},
            {12, QStringLiteral("Expiration"), ExpirationCarte, G::Nombre, C::ExpirationCarte},
            {13, QStringLiteral("Naissance"), Naissance, G::Nombre, C::Naissance},
            {14, QStringLiteral("Sexe"), Sexe, G::Texte, C::Sexe},
            {15, QStringLiteral("Adresse"), Adresse, G::Texte, C::Adresse},
            {16, QStringLiteral("Ville"), Ville, G::Texte, C::Ville},
            {17, QStringLiteral("Code postal"), CodePostal, G::Texte, C::CodePostal},
            {18, QStringLiteral("Professionnel"), Professionnel, G::Texte, C::Professionnel},
            {20, QStringLiteral("Groupe"), Groupe, G::Texte, C::Groupe},
            {22, QStringLiteral("Établissement"), Etablissement, G::Texte, C::Etablissement},
            {23, QStringLiteral("Date de service"), DateService, G::Texte, C::DateService},
        };
        for (int n = 1; n <= NombreLignes; ++n) {
            b.append({24 + n, QStringLiteral("Diag #%1").arg(n), diagnostic(n), G::Texte, C::Diagnostic, n - 1});
            b.append({28 + n, QStringLiteral("Acte #%1").arg(n), acte(n), G::Nombre, C::Acte, n - 1});
            b.append({32 + n, QStringLiteral("Prix #%1").arg(n), honoraire(n), G::Nombre, C::Honoraire, n - 1});
        }
        b.append({BoiteTotal, QStringLiteral("Total"), Total, G::Nombre});
        b.append({40, QStringLiteral("Renseignements complémentaires"), Renseignements, G::Texte, C::Renseignements});
        b.append({42, QStringLiteral("C.S."), Considerations, G::Texte, C::Considerations});
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

ValeursFacture valeurs(const QByteArray& enregistrement, const Textes& t) {
    ValeursFacture v = facture::lire(enregistrement);
    v.etat = t.value(BoiteEtat);
    v.nam = t.value(8);
    v.prenom = t.value(9);
    v.nom = t.value(10);
    v.sequenceCarte = t.value(11);
    v.expirationCarte = t.value(12);
    v.naissance = t.value(13);
    v.masculin = t.value(14) != QLatin1String("F");
    v.adresse = t.value(15);
    v.ville = t.value(16);
    v.codePostal = t.value(17);
    v.professionnel = t.value(18);
    v.groupe = t.value(20);
    v.etablissement = t.value(22);
    const QString date = t.value(23);
    v.dateService = date.isEmpty() ? date : QStringLiteral("20") + date;  // services of this century
    for (int n = 0; n < facture::NombreLignes; ++n) {
        v.diagnostics[n] = t.value(25 + n);
        v.actes[n] = t.value(29 + n);
        v.honoraires[n] = t.value(PremierPrix + n);
    }
    v.renseignements = t.value(40);
    v.considerations = t.value(42);
    return v;
}

bool modifiee(const QByteArray& affiche, const Textes& t) {
    const Textes stockes = textes(affiche);
    for (const Boite& b : boites())
        if (b.genre != Boite::Genre::Lecture && b.index != BoiteTotal && t.value(b.index) != stockes.value(b.index))
            return true;
    return false;
}

bool abandonnerChangements(int numero, PortDialogue& d) {
    return d.question(Icone::Exclamation, QStringLiteral("Correction"),
                      QStringLiteral("Les changements de la facture numéro %1 ne sont pas enregistrés.\n\nLes "
                                     "abandonner ?")
                          .arg(numero),
                      Boutons::OkAnnuler, 1) == Reponse::Ok;
}

int boiteDe(const controlefacture::Refus& r) {
    for (const Boite& b : boites())
        if (b.verifie == r.champ && b.ligne == r.ligne)
            return b.index;
    return BoiteEtat;
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

Resultat corriger(const QString& programme, int numero, const QByteArray& affiche, const Textes& t,
                  const Configuration& c, QDate aujourdhui, PortDialogue& d) {
    const QString titre = QStringLiteral("Correction");
    const QString sexe = t.value(14);
    std::optional<controlefacture::Refus> refus;
    if (sexe != QLatin1String("M") && sexe != QLatin1String("F"))
        refus = controlefacture::Refus{titre,
                                       QStringLiteral("Le sexe « %1 » n'est pas valide.\n\nInscrivez M ou F.").arg(sexe),
                                       controlefacture::Champ::Sexe};
    const ValeursFacture v = valeurs(affiche, t);
    if (!refus)
        refus = controlefacture::verifier(v, c, aujourdhui, controlefacture::Genre::Correction);
    if (refus) {
        d.bip();
        d.message(Icone::Critique, refus->titre, refus->texte + QStringLiteral("\n\nRien n'a été écrit."));
        return {Issue::Refusee, boiteDe(*refus)};
    }
    try {
        if (!fichierfactures::ecrireFacture(programme, numero, affiche, facture::corriger(affiche, v))) {
            changee(d, titre, numero);
            return {Issue::Changee};
        }
    } catch (const ErreurFichier& e) {
        echec(d, titre, e);
        return {Issue::Refusee};
    }
    d.message(Icone::Information, titre,
              QStringLiteral("Correction de la facture numéro %1 effectuée.").arg(numero));
    return {Issue::Ecrite};
}

Issue annuler(const QString& programme, int numero, const QByteArray& affiche, PortDialogue& d) {
    const QString titre = QStringLiteral("Annulation");
    // A cancellation cannot be undone: its identity is replaced. Asked first, Cancel the default.
    if (d.question(Icone::Exclamation, titre,
                   QStringLiteral("Voulez-vous vraiment annuler la facture numéro %1 ?\n\nLe numéro d'assurance "
                                  "maladie, le prénom, le nom, l'adresse et la ville y seront remplacés par "
                                  "ANNULEE : une facture annulée ne peut pas être rétablie.")
                       .arg(numero),
                   Boutons::OkAnnuler, 1) != Reponse::Ok)
        return Issue::Refusee;
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
