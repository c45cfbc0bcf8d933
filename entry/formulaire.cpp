#include "entry/formulaire.h"

#include "entry/controlefacture.h"

ValeursFacture Formulaire::valeurs() const {
    ValeursFacture v;
    v.nam = masques[masque::Nam];
    v.naissance = masques[masque::Naissance];
    v.codePostal = masques[masque::CodePostal];
    v.sequenceCarte = masques[masque::SequenceCarte];
    v.expirationCarte = masques[masque::ExpirationCarte];
    v.dateService = masques[masque::DateService];
    for (int i = 0; i < 4; ++i) {
        v.diagnostics[i] = masques[masque::PremierDiagnostic + i];
        v.actes[i] = actes[i];
        v.honoraires[i] = honoraires[i];
    }
    v.nom = textes[texte::Nom];
    v.prenom = textes[texte::Prenom];
    v.adresse = textes[texte::Adresse];
    v.ville = textes[texte::Ville];
    v.renseignements = textes[texte::Renseignements];
    v.considerations = textes[texte::Considerations];
    v.masculin = masculin;
    v.professionnel = panneaux[1];
    v.agence = panneaux[2];
    v.etablissement = panneaux[3];
    v.groupe = panneaux[4];
    return v;
}

namespace {

// The box of the entry window that shows `champ`.
Controle boite(const controlefacture::Refus& r) {
    using G = Controle::Genre;
    using C = controlefacture::Champ;
    switch (r.champ) {
    case C::Nam: return {G::Masque, masque::Nam};
    case C::Naissance: return {G::Masque, masque::Naissance};
    case C::CodePostal: return {G::Masque, masque::CodePostal};
    case C::SequenceCarte: return {G::Masque, masque::SequenceCarte};
    case C::ExpirationCarte: return {G::Masque, masque::ExpirationCarte};
    case C::DateService: return {G::Masque, masque::DateService};
    case C::Diagnostic: return {G::Masque, masque::PremierDiagnostic + r.ligne};
    case C::Nom: return {G::Texte, texte::Nom};
    case C::Prenom: return {G::Texte, texte::Prenom};
    case C::Adresse: return {G::Texte, texte::Adresse};
    case C::Ville: return {G::Texte, texte::Ville};
    case C::Renseignements: return {G::Texte, texte::Renseignements};
    case C::Considerations: return {G::Texte, texte::Considerations};
    case C::Professionnel: return {G::Acte, 0};  // the optometrist's list
    case C::Acte:
    case C::Honoraire: return {G::Acte, 2 + r.ligne};
    default: return {G::Masque, masque::Nam};
    }
}

}  // namespace

std::optional<Refus> VerifierFormulaire(const Formulaire& f, const Configuration& c, QDate aujourdhui) {
    const auto r = controlefacture::verifier(f.valeurs(), c, aujourdhui, controlefacture::Genre::Saisie);
    if (!r)
        return std::nullopt;
    return Refus{r->titre, r->texte, boite(*r)};
}
