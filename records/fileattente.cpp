#include "records/fileattente.h"

#include "records/champs.h"
#include "records/encodage.h"

namespace fileattente {

QByteArray construire(const QList<QByteArray>& valeurs) {
    Enregistrement e(Longueur);
    for (int i = 0; i < NombreChamps && i < valeurs.size(); ++i)
        e.ecrireTexte(Champs[i].colonne, Champs[i].largeur, valeurs[i]);
    return e.octets();
}

QString champ(const QByteArray& enregistrement, facture::Position p) {
    QString t = encodage::depuisOctets(enregistrement.mid(p.colonne - 1, p.largeur));
    while (t.endsWith(QLatin1Char(' ')))
        t.chop(1);
    return t;
}

}  // namespace fileattente
