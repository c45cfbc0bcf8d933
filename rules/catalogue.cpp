#include "rules/catalogue.h"

#include "platform/dialogues.h"

#include <QString>

namespace {

QString refusNumero(const char* phrase) {
    return QStringLiteral("ATTENTION...\n\n") + QString::fromUtf8(phrase) +
           QStringLiteral("\nConsulter le support informatique pour de l'aide.");
}

}  // namespace

void AfficherMessage(int MessageNo, PortDialogue& dialogues) {
    dialogues.bip();
    const char* phrase = nullptr;
    switch (MessageNo) {
    case 1: phrase = "Le numéro de l'agence n'est pas valide."; break;
    case 2: phrase = "Le numéro du professionnel n'est pas valide."; break;
    case 3: phrase = "Le CODE D'ÉTABLISSEMENT n'est pas valide."; break;
    default: return;
    }
    dialogues.bip();
    dialogues.message(Icone::Critique, QStringLiteral("Message d'erreur"), refusNumero(phrase));
}
