#include "support/dialoguesscriptes.h"

#include <QStringList>

void DialoguesScriptes::message(Icone icone, const QString& titre, const QString& texte) {
    appels << Appel{Appel::Genre::Message, icone, titre, texte, Boutons::Ok, {}, {}, {}};
}

Reponse DialoguesScriptes::question(Icone icone, const QString& titre, const QString& texte,
                                    Boutons boutons, int parDefaut) {
    appels << Appel{Appel::Genre::Question, icone, titre, texte, boutons, {}, {}, {}};
    if (!reponses.empty()) {
        const Reponse r = reponses.front();
        reponses.pop_front();
        return r;
    }
    switch (boutons) {
    case Boutons::Ok: return Reponse::Ok;
    case Boutons::OkAnnuler: return parDefaut == 0 ? Reponse::Ok : Reponse::Annuler;
    case Boutons::OuiNon: return parDefaut == 0 ? Reponse::Oui : Reponse::Non;
    case Boutons::ReessayerAnnuler: return parDefaut == 0 ? Reponse::Reessayer : Reponse::Annuler;
    }
    return Reponse::Annuler;
}

std::optional<QString> DialoguesScriptes::saisie(const QString& titre, const QString& invite,
                                                 const QString& defaut) {
    appels << Appel{Appel::Genre::Saisie, Icone::Aucune, titre, invite, Boutons::OkAnnuler, defaut, {}, {}};
    if (saisies.empty())
        return std::nullopt;
    const QString r = saisies.front();
    saisies.pop_front();
    if (r.isNull())
        return std::nullopt;
    return r;
}

std::optional<PortDialogue::FichierChoisi> DialoguesScriptes::fichierAEnregistrer(const QString& titre, const QString& nomPropose,
                                                                                 const QStringList& types) {
    appels << Appel{Appel::Genre::Saisie, Icone::Aucune, titre, nomPropose, Boutons::OkAnnuler, nomPropose, {}, types};
    if (fichiers.empty())
        return std::nullopt;
    FichierChoisi f{fichiers.front(), 0};
    fichiers.pop_front();
    if (!typesFichier.empty()) {
        f.type = typesFichier.front();
        typesFichier.pop_front();
    }
    return f;
}

std::optional<QString> DialoguesScriptes::fichierAOuvrir(const QString& titre, const QString& dossier,
                                                         const QString&) {
    const auto f = fichierAEnregistrer(titre, dossier, {});
    return f ? std::optional<QString>(f->chemin) : std::nullopt;
}

std::optional<QString> DialoguesScriptes::dossierAChoisir(const QString& titre, const QString& depart) {
    const auto f = fichierAEnregistrer(titre, depart, {});
    return f ? std::optional<QString>(f->chemin) : std::nullopt;
}

int DialoguesScriptes::choix(const FenetreChoix& fenetre) {
    appels << Appel{Appel::Genre::Choix, Icone::Aucune, fenetre.legende, {}, Boutons::Ok, {}, fenetre, {}};
    if (choix_.empty())
        return -1;
    const int r = choix_.front();
    choix_.pop_front();
    return r;
}

void DialoguesScriptes::bip() { appels << Appel{Appel::Genre::Bip, Icone::Aucune, {}, {}, Boutons::Ok, {}, {}, {}}; }

QList<DialoguesScriptes::Appel> DialoguesScriptes::boites() const {
    QList<Appel> l;
    for (const Appel& a : appels)
        if (a.genre != Appel::Genre::Bip)
            l << a;
    return l;
}

int DialoguesScriptes::bips() const {
    int n = 0;
    for (const Appel& a : appels)
        n += a.genre == Appel::Genre::Bip;
    return n;
}

QStringList DialoguesScriptes::resume() const {
    QStringList l;
    for (const Appel& a : boites())
        l << a.titre + QStringLiteral(" | ") + a.texte;
    return l;
}
