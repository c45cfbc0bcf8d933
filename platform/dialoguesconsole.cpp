#include "platform/dialoguesconsole.h"

void DialoguesConsole::message(Icone icone, const QString& titre, const QString& texte) {
    critiques += icone == Icone::Critique;
    sortie_ << titre << " : " << QString(texte).replace(QStringLiteral("\n\n"), QStringLiteral("\n")) << Qt::endl;
}

Reponse DialoguesConsole::question(Icone, const QString& titre, const QString& texte, Boutons boutons, int) {
    sortie_ << titre << " : " << QString(texte).replace(QStringLiteral("\n\n"), QStringLiteral("\n")) << Qt::endl;
    if (reponses.contains(titre)) {
        sortie_ << "  -> " << (reponses[titre] == Reponse::Oui || reponses[titre] == Reponse::Ok ? "oui" : "non")
                << Qt::endl;
        return reponses[titre];
    }
    questionsRefusees << titre;
    switch (boutons) {
    case Boutons::OuiNon: return Reponse::Non;
    case Boutons::Ok: return Reponse::Ok;
    case Boutons::OkAnnuler:
    case Boutons::ReessayerAnnuler: return Reponse::Annuler;
    }
    return Reponse::Annuler;
}

std::optional<QString> DialoguesConsole::saisie(const QString&, const QString&, const QString&) { return std::nullopt; }

int DialoguesConsole::choix(const FenetreChoix&) { return -1; }

std::optional<QString> DialoguesConsole::fichierAEnregistrer(const QString&, const QString&) { return std::nullopt; }
