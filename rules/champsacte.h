#pragma once
#include <QString>
#include <array>

// A travel amount given for an act line, with the code it was given for.
struct Deplacement {
    QString code, montant;
};

// The entry window's fields that the act-code rules read and write.
struct ChampsActe {
    std::array<QString, 4> actes;        // Combo1(2..5)
    std::array<QString, 4> honoraires;   // Label2(0..3), six digits of cents
    std::array<QString, 4> diagnostics;  // MaskEdBox1(6..9), without literal characters
    QString renseignements;              // Text1(4)
    QString considerations;              // Text1(5); "A": the patient is on the B.E.S.
    QString dateService;                 // MaskEdBox1(5) as yyyymmdd
    QString nam;                         // MaskEdBox1(0)
    QString dernier09001 = QStringLiteral("99/01/01");  // yy/mm/dd, "99/01/01" when unknown
    QString montant;                     // Label1(27)
    bool saisieAnnulee = false;          // the user cancelled a travel amount asked by the rules
    // The travel amount each line was given, kept by the window: asked again for the same code, it
    // is proposed, and a cancelled box keeps it.
    std::array<Deplacement, 4> deplacements;

    bool diagnosticParmi(std::initializer_list<const char*> codes) const;
    bool acteParmi(std::initializer_list<const char*> codes) const;
    bool surLeBes() const { return considerations.contains(QLatin1Char('A')); }
};

class PortDialogue;

// The complementary information's box holds this many characters.
constexpr int LongueurRenseignements = 200;

// Appends `texte` to the complementary information when it fits; otherwise nothing is cut or
// added and the user is told what to shorten. True when it was appended.
bool ajouterAuxRenseignements(ChampsActe& champs, const QString& texte, PortDialogue& d);

// Act box `index` (2 to 5) of the window is act line index - 2.
constexpr int ligneDe(int index) { return index - 2; }
