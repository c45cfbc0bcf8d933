#include "records/statistique.h"

namespace statistique {

bool refacturation(const QString& considerations) {
    return considerations.contains(QLatin1Char('B'));
}

QString nomFichier(const QString& annee) {
    return QStringLiteral("STA") + annee + QStringLiteral(".Dat");
}

QByteArray construire(const ValeursFacture& v) {
    Enregistrement e(Longueur);
    auto texte = [&e](facture::Position p, const QString& valeur) {
        e.ecrireTexte(p.colonne, p.largeur, valeur);
    };
    texte(Professionnel, v.professionnel);
    texte(DateService, v.dateService);
    for (int n = 1; n <= facture::NombreLignes; ++n) {
        texte(acte(n), v.actes[n - 1]);
        texte(honoraire(n), v.honoraires[n - 1]);
    }
    const qint16 drapeau = refacturation(v.considerations) ? -1 : 0;
    const auto brut = static_cast<quint16>(drapeau);
    QByteArray octets(2, '\0');
    octets[0] = static_cast<char>(brut & 0xFF);
    octets[1] = static_cast<char>(brut >> 8);
    e.ecrireOctets(ColonneRefacturation, octets);
    texte(Nam, v.nam);
    texte(Etablissement, v.etablissement);
    return e.octets();
}

}  // namespace statistique
