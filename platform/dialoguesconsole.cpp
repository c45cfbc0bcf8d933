#include "platform/dialoguesconsole.h"

namespace {
// The text as a line of the report: paragraphs one a line, without the instructions to click a
// button that a console has not ("Cliquez sur Ok pour poursuivre.").
QString pourLaConsole(const QString& texte) {
    QStringList paragraphes = texte.split(QStringLiteral("\n\n"));
    paragraphes.removeIf([](const QString& p) { return p.startsWith(QLatin1String("Cliquez sur Ok")); });
    return paragraphes.join(QLatin1Char('\n'));
}
}  // namespace

void DialoguesConsole::message(Icone icone, const QString& titre, const QString& texte) {
    critiques += icone == Icone::Critique;
    sortie_ << titre << " : " << pourLaConsole(texte) << Qt::endl;
}

Reponse DialoguesConsole::question(Icone, const QString& titre, const QString& texte, Boutons boutons, int) {
    sortie_ << titre << " : " << pourLaConsole(texte) << Qt::endl;
    Reponse reponse = Reponse::Annuler;
    if (reponses.contains(titre)) {
        reponse = reponses[titre];
        sortie_ << "  -> " << (reponse == Reponse::Oui || reponse == Reponse::Ok ? "oui" : "non") << Qt::endl;
    } else {
        switch (boutons) {
        case Boutons::OuiNon: reponse = Reponse::Non; break;
        case Boutons::Ok: reponse = Reponse::Ok; break;
        case Boutons::OkAnnuler:
        case Boutons::ReessayerAnnuler: reponse = Reponse::Annuler; break;
        }
    }
    if (reponse == Reponse::Non || reponse == Reponse::Annuler)
        questionsRefusees << titre;
    return reponse;
}

std::optional<QString> DialoguesConsole::saisie(const QString&, const QString&, const QString&) { return std::nullopt; }

int DialoguesConsole::choix(const FenetreChoix&) { return -1; }

std::optional<PortDialogue::FichierChoisi> DialoguesConsole::fichierAEnregistrer(const QString&, const QString&,
                                                                                const QStringList&) {
    return std::nullopt;
}
