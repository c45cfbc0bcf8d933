#include "records/champs.h"

#include "records/encodage.h"

namespace champs {

QByteArray texte(const QByteArray& valeur, int largeur) {
    QByteArray r = valeur.left(largeur);
    if (r.size() < largeur)
        r.append(largeur - r.size(), ' ');
    return r;
}

QByteArray nombre(const QByteArray& chiffres, int largeur) {
    return (QByteArray(largeur, '0') + chiffres).right(largeur);
}

QByteArray nombre(qint64 valeur, int largeur) { return nombre(QByteArray::number(valeur), largeur); }

qint64 valeur(const QByteArray& texte) {
    qint64 v = 0;
    int i = 0;
    while (i < texte.size() && (texte[i] == ' ' || texte[i] == '\t'))
        ++i;
    for (; i < texte.size() && texte[i] >= '0' && texte[i] <= '9'; ++i)
        v = v * 10 + (texte[i] - '0');
    return v;
}

qint64 valeur(const QString& texte) { return valeur(texte.toLatin1()); }

QString sansBlancsFinaux(QString texte) {
    while (texte.endsWith(QLatin1Char(' ')))
        texte.chop(1);
    return texte;
}

bool queDesChiffres(const QString& texte) {
    for (const QChar c : texte)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

bool chiffres(const QString& texte, int n) { return texte.size() == n && queDesChiffres(texte); }

}  // namespace champs

Enregistrement::Enregistrement(int longueur) : octets_(longueur, ' ') {}

Enregistrement::Enregistrement(QByteArray octets) : octets_(std::move(octets)) {}

QByteArray Enregistrement::lire(int colonne, int largeur) const {
    return octets_.mid(colonne - 1, largeur);
}

QString Enregistrement::lireTexte(int colonne, int largeur) const {
    return encodage::depuisOctets(lire(colonne, largeur));
}

QString Enregistrement::lireChamp(int colonne, int largeur) const {
    return champs::sansBlancsFinaux(lireTexte(colonne, largeur));
}

void Enregistrement::ecrireOctets(int colonne, const QByteArray& octets) {
    Q_ASSERT(colonne >= 1 && colonne - 1 + octets.size() <= octets_.size());
    octets_.replace(colonne - 1, octets.size(), octets);
}

void Enregistrement::ecrireTexte(int colonne, int largeur, const QByteArray& valeur) {
    ecrireOctets(colonne, champs::texte(valeur, largeur));
}

void Enregistrement::ecrireTexte(int colonne, int largeur, const QString& valeur) {
    ecrireTexte(colonne, largeur, encodage::versOctets(valeur));
}

void Enregistrement::ecrireNombre(int colonne, int largeur, const QByteArray& chiffres) {
    ecrireOctets(colonne, champs::nombre(chiffres, largeur));
}

void Enregistrement::ecrireNombre(int colonne, int largeur, const QString& chiffres) {
    ecrireNombre(colonne, largeur, encodage::versOctets(chiffres));
}
