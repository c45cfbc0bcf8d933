#pragma once
#include "records/champs.h"

#include <QString>
#include <array>

// The 723-byte invoice record, which is also the agency's payment-request record.
namespace facture {

constexpr int Longueur = 723;
constexpr int NombreMaximal = 32767;  // record numbers are 16-bit
constexpr int NombreLignes = 4;
constexpr qint64 TotalMaximal = 999999;  // the total's 6 digits, in cents

struct Position {
    int colonne;
    int largeur;
};

constexpr Position Etat{1, 2};
constexpr Position Agence{6, 5};
constexpr Position Attestation{11, 7};
constexpr Position NumeroFacture{19, 4};
constexpr Position Nam{23, 12};
constexpr Position Prenom{35, 20};
constexpr Position Nom{55, 30};
constexpr Position SequenceCarte{85, 2};
constexpr Position ExpirationCarte{87, 4};
constexpr Position Naissance{91, 8};
constexpr Position Sexe{99, 1};
constexpr Position Adresse{100, 30};
constexpr Position Ville{130, 30};
constexpr Position CodePostal{160, 6};
constexpr Position Professionnel{166, 6};
constexpr Position Groupe{173, 5};
constexpr Position Etablissement{179, 5};
constexpr Position DateService{184, 6};
constexpr Position Total{306, 6};
constexpr Position Renseignements{326, 200};
constexpr Position Considerations{541, 5};

// Act line n (1 to 4): diagnostic, blank, act code, fee.
constexpr int debutLigne(int n) { return 242 + 16 * (n - 1); }
constexpr Position diagnostic(int n) { return {debutLigne(n), 4}; }
constexpr Position acte(int n) { return {debutLigne(n) + 5, 5}; }
constexpr Position honoraire(int n) { return {debutLigne(n) + 10, 6}; }

inline const QString EtatAEnvoyer = QStringLiteral("05");
inline const QString EtatAnnule = QStringLiteral("99");
inline const QString TexteAnnule = QStringLiteral("ANNULEE");

}  // namespace facture

// The values of one invoice as the entry window (or the correction window) holds them: masked
// boxes without their literal characters, text boxes as typed, the status-bar numbers.
struct ValeursFacture {
    QString etat = facture::EtatAEnvoyer;
    QString nam, prenom, nom, sequenceCarte, expirationCarte, naissance;
    bool masculin = true;
    QString adresse, ville, codePostal, dateService;  // dateService as yyyymmdd
    std::array<QString, facture::NombreLignes> diagnostics, actes, honoraires;
    QString renseignements, considerations;
    QString agence, professionnel, groupe, etablissement;
};

namespace facture {

// 0 when the agency, professional and establishment numbers are well formed, else the
// refusal 1 (agency), 2 (professional) or 3 (establishment).
int refusNumeros(const ValeursFacture& v);

// Sum of the four fees in cents, as stored.
qint64 total(const ValeursFacture& v);

// True when a stored record carries its fixed marks: a two-digit state, "2 :" in columns 3-5,
// ";" and CR LF at the end.
bool marquesValides(QByteArrayView enregistrement);

// A complete new record in state "05" with the placeholders "AJJJSSS" and "0000".
QByteArray construire(const ValeursFacture& v);

// `enregistrement` with its correctable fields replaced by `v`; the agency, attestation and
// invoice numbers, the constants, reserved fields and end mark stay as they are.
QByteArray corriger(const QByteArray& enregistrement, const ValeursFacture& v);

// The correctable fields of a stored record (trailing blanks removed from the texts).
ValeursFacture lire(const QByteArray& enregistrement);

// The record cancelled: state "99" and "ANNULEE" in NAM, first name, surname, address, city.
QByteArray annuler(const QByteArray& enregistrement);

}  // namespace facture
