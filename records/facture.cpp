#include "records/facture.h"

#include <cctype>

namespace facture {

namespace {

void texte(Enregistrement& e, Position p, const QString& valeur) {
    e.ecrireTexte(p.colonne, p.largeur, valeur);
}

void nombre(Enregistrement& e, Position p, const QString& valeur) {
    e.ecrireNombre(p.colonne, p.largeur, valeur);
}

QString lu(const Enregistrement& e, Position p) { return e.lireChamp(p.colonne, p.largeur); }

void ecrireCorrigeables(Enregistrement& e, const ValeursFacture& v) {
    texte(e, Etat, v.etat);
    texte(e, Nam, v.nam);
    texte(e, Prenom, v.prenom);
    texte(e, Nom, v.nom);
    nombre(e, SequenceCarte, v.sequenceCarte);
    nombre(e, ExpirationCarte, v.expirationCarte);
    nombre(e, Naissance, v.naissance);
    texte(e, Sexe, v.masculin ? QStringLiteral("M") : QStringLiteral("F"));
    texte(e, Adresse, v.adresse);
    texte(e, Ville, v.ville);
    texte(e, CodePostal, QString(v.codePostal).remove(QLatin1Char(' ')));
    texte(e, Professionnel, v.professionnel);
    texte(e, Groupe, v.groupe);
    texte(e, Etablissement, v.etablissement);
    texte(e, DateService, v.dateService.right(6));
    for (int n = 1; n <= NombreLignes; ++n) {
        texte(e, diagnostic(n), v.diagnostics[n - 1]);
        nombre(e, acte(n), v.actes[n - 1].trimmed());  // a box of blanks has no act
        nombre(e, honoraire(n), v.honoraires[n - 1]);
    }
    e.ecrireNombre(Total.colonne, Total.largeur, champs::nombre(total(v), Total.largeur));
    texte(e, Renseignements, v.renseignements);
    texte(e, Considerations, v.considerations);
}

}  // namespace

int refusNumeros(const ValeursFacture& v) {
    if (!champs::chiffres(v.agence, Agence.largeur))
        return 1;
    if (!champs::chiffres(v.professionnel, Professionnel.largeur))
        return 2;
    if (!champs::chiffres(v.etablissement, Etablissement.largeur))
        return 3;
    return 0;
}

qint64 total(const ValeursFacture& v) {
    qint64 somme = 0;
    for (const QString& h : v.honoraires)
        somme += champs::valeur(champs::nombre(h.toLatin1(), honoraire(1).largeur));
    return somme;
}

bool marquesValides(QByteArrayView r) {
    return r.size() == Longueur && std::isdigit(static_cast<unsigned char>(r[0])) &&
           std::isdigit(static_cast<unsigned char>(r[1])) && r.sliced(2, 3) == "2 :" &&
           r.last(3) == ";\r\n";
}

QByteArray construire(const ValeursFacture& v) {
    Enregistrement e(Longueur);
    e.ecrireOctets(3, QByteArrayLiteral("2 :"));
    texte(e, Agence, v.agence);
    texte(e, Attestation, QStringLiteral("AJJJSSS"));
    texte(e, NumeroFacture, QStringLiteral("0000"));
    ecrireCorrigeables(e, v);
    e.ecrireOctets(721, QByteArrayLiteral(";\r\n"));
    return e.octets();
}

QByteArray corriger(const QByteArray& enregistrement, const ValeursFacture& v) {
    Enregistrement e(enregistrement);
    ecrireCorrigeables(e, v);
    return e.octets();
}

ValeursFacture lire(const QByteArray& enregistrement) {
    const Enregistrement e(enregistrement);
    ValeursFacture v;
    v.etat = lu(e, Etat);
    v.agence = lu(e, Agence);
    v.nam = lu(e, Nam);
    v.prenom = lu(e, Prenom);
    v.nom = lu(e, Nom);
    v.sequenceCarte = lu(e, SequenceCarte);
    v.expirationCarte = lu(e, ExpirationCarte);
    v.naissance = lu(e, Naissance);
    v.masculin = lu(e, Sexe) == QLatin1String("M");
    v.adresse = lu(e, Adresse);
    v.ville = lu(e, Ville);
    v.codePostal = lu(e, CodePostal);
    v.professionnel = lu(e, Professionnel);
    v.groupe = lu(e, Groupe);
    v.etablissement = lu(e, Etablissement);
    v.dateService = lu(e, DateService);
    for (int n = 1; n <= NombreLignes; ++n) {
        v.diagnostics[n - 1] = lu(e, diagnostic(n));
        v.actes[n - 1] = lu(e, acte(n));
        v.honoraires[n - 1] = lu(e, honoraire(n));
    }
    v.renseignements = lu(e, Renseignements);
    v.considerations = lu(e, Considerations);
    return v;
}

QByteArray annuler(const QByteArray& enregistrement) {
    Enregistrement e(enregistrement);
    texte(e, Etat, EtatAnnule);
    for (const Position p : {Nam, Prenom, Nom, Adresse, Ville})
        texte(e, p, TexteAnnule);
    return e.octets();
}

}  // namespace facture
