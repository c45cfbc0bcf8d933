#include "config/initialisation.h"

#include "platform/dialogues.h"

namespace {
const QString TitreInitialisation = QStringLiteral("Initialisation");
}

bool ValiderChiffres(int n, const QString& texte, PortDialogue& d) {
    bool valide = texte.size() == n;
    for (const QChar ch : texte)
        valide = valide && ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
    if (!valide) {
        d.bip();
        d.message(Icone::Critique, TitreInitialisation,
                  QStringLiteral("Attention...\n\nIl y a erreur,  ce champ doit être composé de ") +
                      QString::number(n) +
                      QStringLiteral(" chiffres.\nIl ne doit pas avoir de point (.) pour séparer "
                                     "les cents.  \nLes espaces vides doivent être comblées par "
                                     "des zéro (0).\n\nExemple: 19.00$ = 001900   2.40$ = 000240\n"
                                     "Exemple: (No Optométriste) 391001\nExemple: (Groupe) "
                                     "00000\nExemple: (Établissement) 52000"));
        return false;
    }
    d.message(Icone::Information, TitreInitialisation, QStringLiteral("Changement accepté..."));
    return true;
}
