#pragma once
#include "config/configuration.h"
#include "records/facture.h"

#include <QDate>
#include <QString>
#include <array>
#include <optional>

// The entry window's controls as plain values.
struct Formulaire {
    // MaskEdBox1(0..9) without literal characters: 0 NAM, 1 birth date, 2 postal code,
    // 3 card sequence, 4 card expiry, 5 date of service, 6-9 diagnostics.
    std::array<QString, 10> masques;
    // Text1(0..5): surname, first name, address, city, complementary information,
    // special considerations.
    std::array<QString, 6> textes;
    bool masculin = true;
    std::array<QString, 4> actes;       // Combo1(2..5)
    std::array<QString, 4> honoraires;  // Label2(0..3)
    // StatusBar1 panels 1..5: name, professional number, agency, establishment, group.
    std::array<QString, 5> panneaux;

    ValeursFacture valeurs() const;
};

namespace masque {
constexpr int Nam = 0, Naissance = 1, CodePostal = 2, SequenceCarte = 3, ExpirationCarte = 4,
              DateService = 5, PremierDiagnostic = 6;
}
namespace texte {
constexpr int Nom = 0, Prenom = 1, Adresse = 2, Ville = 3, Renseignements = 4, Considerations = 5;
}

// The box a refusal sends the focus to.
struct Controle {
    enum class Genre { Masque, Texte, Acte } genre;
    int index;  // MaskEdBox1 / Text1 / Combo1 index
};

struct Refus {
    QString titre;
    QString texte;
    Controle controle;
};

// The store's checks 2 to 8, in order; the first failure.
std::optional<Refus> VerifierFormulaire(const Formulaire& f, const Configuration& c,
                                        QDate aujourdhui);
