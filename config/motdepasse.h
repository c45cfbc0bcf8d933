#pragma once
#include <QString>
#include <optional>

class PortDialogue;

// The password gate: the password in Ramq.Chk (record 1, 20 characters, upper-cased, padded
// with blanks, plain text) and the decisions of the password window. The gate is a convenience
// lock, not a protection of the files.
namespace motdepasse {

constexpr int Longueur = 20;
inline const QString CodeSoutien = QStringLiteral("7319");

QString chemin(const QString& programme);

// The first 20 characters of `texte`, leading blanks kept, upper-cased one character for one
// (a character without a one-byte capital stays as it is), padded with blanks.
QString normaliser(const QString& texte);

// The stored password, normalised; 20 blanks when none is set (no file, a record whose first
// character is a zero byte, or a record of blanks).
QString lire(const QString& programme);
bool defini(const QString& stocke);

// What the window does after a button.
enum class Issue { Attendre, Autorise, Refuse };

class Porte {
public:
    Porte(QString programme, PortDialogue& dialogues);

    // "Ok" of the login: the first password typed is stored; an empty or blank one is asked again.
    Issue connexion(const QString& tape);
    // "Ok" of the change area: first the old password (a wrong one refuses), then the new one.
    Issue modifier(const QString& tape);
    bool attendNouveau() const { return attendNouveau_; }
    // "Ok" of the support mode: the stored password when the support code is right.
    std::optional<QString> soutien(const QString& code);
    // "Annuler", or the window closed without access.
    Issue refuser();

private:
    Issue decider(bool acces);
    bool vide(const QString& tape);  // tells the user when it is
    std::optional<QString> stocke();
    bool enregistrer(const QString& tape);

    QString programme_;
    PortDialogue& d_;
    bool attendNouveau_ = false;
};

}  // namespace motdepasse
