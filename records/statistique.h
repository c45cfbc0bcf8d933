#pragma once
#include "records/facture.h"

#include <QByteArray>
#include <QString>

// The 97-byte record of the annual statistics file "STA" + year + ".Dat".
namespace statistique {

constexpr int Longueur = 97;

constexpr facture::Position Professionnel{1, 6};
constexpr facture::Position DateService{7, 8};
constexpr facture::Position acte(int n) { return {15 + 5 * (n - 1), 5}; }
constexpr facture::Position honoraire(int n) { return {35 + 6 * (n - 1), 6}; }
constexpr int ColonneRefacturation = 59;  // 16-bit signed little-endian: -1 or 0
constexpr facture::Position Nam{61, 12};
constexpr facture::Position Etablissement{73, 5};
constexpr facture::Position Reserve{78, 20};

QByteArray construire(const ValeursFacture& v);

// True when the special-considerations codes mark a re-billing ("B").
bool refacturation(const QString& considerations);

// File name of the service year `annee` (four digits).
QString nomFichier(const QString& annee);

}  // namespace statistique
