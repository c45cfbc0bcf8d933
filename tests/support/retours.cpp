#include "support/retours.h"

#include "records/champs.h"

namespace retour {

namespace {
QByteArray n(qint64 v, int largeur) { return champs::nombre(v, largeur); }

// A line of `longueur` characters with each text at its column.
QByteArray ligne(int longueur, std::initializer_list<std::pair<int, QByteArray>> champsA) {
    Enregistrement e(longueur);
    for (const auto& [colonne, texte] : champsA)
        e.ecrireTexte(colonne, texte.size(), texte);
    return e.octets();
}

QByteArray o(const QString& texte) { return texte.toLatin1(); }
}  // namespace

QByteArray fichier(const QList<QByteArray>& lignes) {
    QByteArray f;
    for (const QByteArray& l : lignes)
        f += l + "\r\n";
    return f;
}

QByteArray entete(const QString& attestation, const QString& jours) {
    return ligne(20, {{1, " 21"}, {4, o(attestation)}, {13, o(jours)}});
}

QByteArray erreur(const QString& attestation, const QString& professionnel, const QString& rang,
                  const QString& message, const QString& code) {
    return erreur(attestation, professionnel, "NCE", rang, message, code);
}

QByteArray erreur(const QString& attestation, const QString& professionnel, const QString& nce,
                  const QString& rang, const QString& message, const QString& code) {
    return ligne(94, {{1, " 25"}, {4, o(attestation)}, {11, o(professionnel)}, {18, o(nce)},
                      {22, o(rang)}, {30, o(message).left(62)}, {92, o(code)}});
}

QByteArray professionnel(const QString& numero, int soumises, int valides, int refusees,
                         int annulees, qint64 honoraires) {
    return ligne(50, {{1, " 26"}, {11, o(numero)}, {18, n(soumises, 6)}, {24, n(valides, 6)},
                      {30, n(refusees, 6)}, {36, n(annulees, 6)}, {42, n(honoraires, 9)}});
}

QByteArray explication(const QString& type, const QString& texte, const QString& numero,
                       const QString& portee) {
    return ligne(95, {{1, " 27"}, {28, o(type)}, {30, o(texte).left(62)}, {92, o(numero)}, {95, o(portee)}});
}

QByteArray totaux(int erreurs, int soumises, int valides, int refusees, int annulees,
                  qint64 honoraires) {
    return ligne(49, {{1, " 28"}, {11, n(erreurs, 6)}, {17, n(soumises, 6)}, {23, n(valides, 6)},
                      {29, n(refusees, 6)}, {35, n(annulees, 6)}, {41, n(honoraires, 9)}});
}

QByteArray etat00(const QString& agence, const QString& paiement, const QString& date,
                  const QString& coupure) {
    return " 16" + ligne(34, {{1, "00"}, {10, o(agence)}, {15, o(paiement)}, {17, o(date)}, {29, o(coupure)}});
}

QByteArray etat(const char* code, std::initializer_list<std::pair<int, QByteArray>> champsA, int longueur) {
    QByteArray e = " 16" + ligne(longueur, champsA);
    e.replace(3, 2, code);
    return e;
}

QByteArray detail(const QString& compteur, const QString& demande, const QString& acte,
                  const QString& message, qint64 montant, const QString& attestation) {
    return etat("13", {{5, o(compteur)}, {10, o(demande)}, {15, "26030"}, {21, o(acte)}, {25, "0101"},
                       {29, "01"}, {31, o(message)}, {34, n(montant, 9)}, {43, o(attestation)}});
}

}  // namespace retour
