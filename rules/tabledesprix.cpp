#include "rules/tabledesprix.h"

#include "config/initialisation.h"
#include "platform/dialogues.h"

QString PrixDeLActe(const Configuration& c, const QString& code) {
    for (const EntreePrix& p : c.TableDesPrix)
        if (p.code == code)
            return p.prix;
    return {};
}

bool ChangerPrix(std::array<EntreePrix, Configuration::NombrePrix>& table, int entree,
                 const QString& prix, const QString& code, PortDialogue& d) {
    if (entree < 0 || entree >= Configuration::NombrePrix) {
        d.bip();
        d.message(Icone::Information, QStringLiteral("Initialisation"),
                  QStringLiteral("Changement refusé...\nAucun acte de pointer dans la liste."));
        return false;
    }
    if (!ChiffresValides(6, prix, d))
        return false;
    table[entree].prix = prix;
    table[entree].code = code.leftJustified(5, QLatin1Char(' '), true);
    return true;
}
