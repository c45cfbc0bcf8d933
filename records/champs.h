#pragma once
#include <QByteArray>
#include <QString>

// Fixed-width fields: text left-justified, blank-padded and cut on the right; numbers put
// behind a run of zeros with the rightmost characters kept ("7" in a 2-wide field is "07").
namespace champs {

QByteArray texte(const QByteArray& valeur, int largeur);
QByteArray nombre(const QByteArray& chiffres, int largeur);
QByteArray nombre(qint64 valeur, int largeur);

// The numeric value of the leading digits of a text, as Basic's Val reads a field of digits:
// leading blanks skipped, reading stops at the first character that is not a digit.
qint64 valeur(const QByteArray& texte);
qint64 valeur(const QString& texte);

// `texte` without the blanks that pad it on the right.
QString sansBlancsFinaux(QString texte);

// Every character is "0" to "9" (an empty text gives true).
bool queDesChiffres(const QString& texte);
// Exactly `n` characters, each "0" to "9".
bool chiffres(const QString& texte, int n);

}  // namespace champs

// A fixed-length record addressed by 1-based columns; every field goes through the two writers.
class Enregistrement {
public:
    explicit Enregistrement(int longueur);  // all blanks
    explicit Enregistrement(QByteArray octets);

    QByteArray lire(int colonne, int largeur) const;
    QString lireTexte(int colonne, int largeur) const;  // decoded, trailing blanks kept
    QString lireChamp(int colonne, int largeur) const;  // decoded, trailing blanks removed

    void ecrireTexte(int colonne, int largeur, const QByteArray& valeur);
    void ecrireTexte(int colonne, int largeur, const QString& valeur);
    void ecrireNombre(int colonne, int largeur, const QByteArray& chiffres);
    void ecrireNombre(int colonne, int largeur, const QString& chiffres);
    void ecrireOctets(int colonne, const QByteArray& octets);

    const QByteArray& octets() const { return octets_; }
    int longueur() const { return octets_.size(); }

private:
    QByteArray octets_;
};
