#include "support/retours.h"

#include "records/champs.h"

namespace retour {

namespace {
QByteArray n(qint64 v, int largeur) { return champs::nombre(v, largeur); }
}  // namespace

QByteArray fichier(const QList<QByteArray>& lignes) {
    QByteArray f;
    for (const QByteArray& l : lignes)
        f += l + "\r\n";
    return f;
}

QByteArray entete(const QString& attestation, const QString& jours) {
    Enregistrement e(20);
    e.ecrireTexte(1, 3, QByteArray(" 21"));
    e.ecrireTexte(4, 7, attestation);
    e.ecrireTexte(13, 3, jours);
    return e.octets();
}

QByteArray erreur(const QString& attestation, const QString& professionnel, const QString& rang,
                  const QString& message, const QString& code) {
    Enregistrement e(94);
    e.ecrireTexte(1, 3, QByteArray(" 25"));
    e.ecrireTexte(4, 7, attestation);
    e.ecrireTexte(11, 6, professionnel);
    e.ecrireTexte(18, 4, QByteArray("NCE"));
    e.ecrireTexte(22, 6, rang);
    e.ecrireTexte(30, 62, message);
    e.ecrireTexte(92, 3, code);
    return e.octets();
}

QByteArray professionnel(const QString& numero, int soumises, int valides, int refusees,
                         int annulees, qint64 honoraires) {
    Enregistrement e(50);
    e.ecrireTexte(1, 3, QByteArray(" 26"));
    e.ecrireTexte(11, 6, numero);
    e.ecrireTexte(18, 6, n(soumises, 6));
    e.ecrireTexte(24, 6, n(valides, 6));
    e.ecrireTexte(30, 6, n(refusees, 6));
    e.ecrireTexte(36, 6, n(annulees, 6));
    e.ecrireTexte(42, 9, n(honoraires, 9));
    return e.octets();
}

QByteArray explication(const QString& type, const QString& texte, const QString& numero,
                       const QString& portee) {
    Enregistrement e(95);
    e.ecrireTexte(1, 3, QByteArray(" 27"));
    e.ecrireTexte(28, 2, type);
    e.ecrireTexte(30, 62, texte);
    e.ecrireTexte(92, 3, numero);
    e.ecrireTexte(95, 1, portee);
    return e.octets();
}

QByteArray totaux(int erreurs, int soumises, int valides, int refusees, int annulees,
                  qint64 honoraires) {
    Enregistrement e(49);
    e.ecrireTexte(1, 3, QByteArray(" 28"));
    e.ecrireTexte(11, 6, n(erreurs, 6));
    e.ecrireTexte(17, 6, n(soumises, 6));
    e.ecrireTexte(23, 6, n(valides, 6));
    e.ecrireTexte(29, 6, n(refusees, 6));
    e.ecrireTexte(35, 6, n(annulees, 6));
    e.ecrireTexte(41, 9, n(honoraires, 9));
    return e.octets();
}

QByteArray etat00(const QString& agence, const QString& paiement, const QString& date,
                  const QString& coupure) {
    Enregistrement e(34);
    e.ecrireTexte(1, 2, QByteArray("00"));
    e.ecrireTexte(10, 5, agence);
    e.ecrireTexte(15, 2, paiement);
    e.ecrireTexte(17, 6, date);
    e.ecrireTexte(29, 6, coupure);
    return " 16" + e.octets();
}

}  // namespace retour
