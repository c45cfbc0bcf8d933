#pragma once
#include "records/facture.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The 188-byte record of MdiTmp.Dat, one patient waiting to be invoiced, as imported from the
// outside practice-management product.
namespace fileattente {

constexpr int Longueur = 188;
constexpr int NombreChamps = 12;

// The fields in record order: NAM, first name, surname, card sequence, card expiry, birth date,
// sex, address, city, postal code, date of the examination, file number in the outside product.
inline constexpr facture::Position Champs[NombreChamps] = {{1, 12},  {13, 30},  {43, 30},  {73, 2},
                                                    {75, 4},  {79, 8},   {87, 1},   {88, 40},
                                                    {128, 40}, {168, 6}, {174, 8},  {182, 7}};
inline constexpr const facture::Position& Nam = Champs[0];
inline constexpr const facture::Position& Prenom = Champs[1];
inline constexpr const facture::Position& Nom = Champs[2];
inline constexpr const facture::Position& SequenceCarte = Champs[3];
inline constexpr const facture::Position& ExpirationCarte = Champs[4];
inline constexpr const facture::Position& Naissance = Champs[5];
inline constexpr const facture::Position& Sexe = Champs[6];
inline constexpr const facture::Position& Adresse = Champs[7];
inline constexpr const facture::Position& Ville = Champs[8];
inline constexpr const facture::Position& CodePostal = Champs[9];
inline constexpr const facture::Position& Examen = Champs[10];
inline constexpr const facture::Position& Dossier = Champs[11];

// The record of the twelve field values, each left-justified, blank-padded or cut.
QByteArray construire(const QList<QByteArray>& valeurs);
// A field of a record, decoded, trailing blanks removed.
QString champ(const QByteArray& enregistrement, facture::Position p);

}  // namespace fileattente
