#include "support/factures.h"

#include "support/dossiertemporaire.h"

ValeursFacture factureDeBase() {
    ValeursFacture v;
    v.nam = "TREM80011514";
    v.prenom = "JEAN";
    v.nom = "TREMBLAY";
    v.sequenceCarte = "1";
    v.expirationCarte = "427";
    v.naissance = "19800115";
    v.masculin = true;
    v.adresse = "123 RUE PRINCIPALE";
    v.ville = "ST-OLVANE";
    v.codePostal = "H2X1Y4";
    v.dateService = "20090115";
    v.diagnostics = {"3784", "", "", ""};
    v.actes = {"09001", "09008", "", ""};
    v.honoraires = {"002855", "001200", "", ""};
    v.renseignements = "PATHOLOGIE";
    v.considerations = "AB";
    v.agence = "71234";
    v.professionnel = "311111";
    v.groupe = "12345";
    v.etablissement = "52713";
    return v;
}

QByteArray enregistrementDe(const ValeursFacture& v, const QByteArray& etat) {
    QByteArray r = facture::construire(v);
    r.replace(0, 2, etat);
    return r;
}

void preparerDossier(const DossierTemporaire& d, const QByteArray& agence,
                     const QList<QByteArray>& enregistrements) {
    d.ecrire("Facturat.Lex", agence);
    QByteArray tout;
    for (const QByteArray& e : enregistrements)
        tout += e;
    d.ecrire("Sauvramq/Ftmp.Fil", tout);
}
