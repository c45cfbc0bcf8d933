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
    return Enregistrement(enregistrement).lireChamp(p.colonne, p.largeur);
}

}  // namespace fileattente
