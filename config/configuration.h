#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <exception>

// The program-wide tables filled from Kestrova.Cfg.

struct Optometriste {
    QString nom, professionnel, groupe;
    bool enUsage() const { return professionnel != QLatin1String("000000"); }
};

struct EntreePrix {
    QString code, prix;
    bool enUsage() const { return code != QLatin1String("00000"); }
};

struct ParametresFtp {
    QString serveur, utilisateur, motDePasse;
};

struct Configuration {
    static constexpr int NombrePoids = 14;
    static constexpr int NombreValeurs = 43;
    static constexpr int NombreOptometristes = 10;
    static constexpr int NombreEtablissements = 5;
    static constexpr int NombrePrix = 92;

    QString version;
    std::array<int, NombrePoids> PoidsNAM{};          // positions 1..14 at [0..13]
    std::array<int, NombreValeurs> ValeursCaracteres{};  // "0".."Z" at [0..42]
    std::array<Optometriste, NombreOptometristes> Optometristes;  // slots 1..10
    std::array<QString, NombreEtablissements> Etablissements;     // lines 0..4
    std::array<EntreePrix, NombrePrix> TableDesPrix;              // entries 1..92

    // The contents of the main window's lists.
    QStringList listeOptometristes() const;
    QStringList listeEtablissements() const;
    QStringList listeActes() const;

    // The first slot in use (0-based), or -1 when none is.
    int premierOptometriste() const;

    // The slot whose name is `nom` (first match), or nullptr.
    const Optometriste* optometriste(const QString& nom) const;

    bool operator==(const Configuration&) const = default;

    static Configuration parDefaut();
};

inline bool operator==(const Optometriste& a, const Optometriste& b) {
    return a.nom == b.nom && a.professionnel == b.professionnel && a.groupe == b.groupe;
}
inline bool operator==(const EntreePrix& a, const EntreePrix& b) {
    return a.code == b.code && a.prix == b.prix;
}

// A configuration that cannot be loaded. `fatale`: the program must end after the message.
class ErreurConfiguration : public std::exception {
public:
    ErreurConfiguration(QString texte, bool fatale, QString champ = {})
        : texte_(std::move(texte)), fatale_(fatale), champ_(std::move(champ)) {}
    const QString& texte() const { return texte_; }
    bool fatale() const { return fatale_; }
    // The field that could not be read and why ("Champ numéro 5 (...) : ..."), when known.
    const QString& champ() const { return champ_; }
    const char* what() const noexcept override { return "configuration"; }

private:
    QString texte_;
    bool fatale_;
    QString champ_;
};

inline const QString VersionConfiguration = QStringLiteral("Version 5.8.y");
