#pragma once
#include "config/configuration.h"

#include <QString>
#include <QStringList>
#include <array>

class MagasinReglages;
class PortDialogue;

// Checks of the initialisation window's fields.

// True when `texte` is exactly `n` decimal digits; otherwise beeps, shows the digit-check
// message naming `n` and returns false. An empty text is refused like any text of the wrong
// length.
bool ChiffresValides(int n, const QString& texte, PortDialogue& dialogues);
// The same, followed by "Changement accepté..." when the text passes.
bool ValiderChiffres(int n, const QString& texte, PortDialogue& dialogues);

// The initialisation window's own copy of the configuration, its switches and FTP values, and
// the procedures that accept a change: each validates, changes the copy, saves every store and
// only then says "Changement accepté..."; a refusal changes nothing.
class Initialisation {
public:
    static constexpr int NombreCases = 10;

    Initialisation(QString programme, MagasinReglages& utilisateur, PortDialogue& dialogues);

    // Kestrova.Cfg into the copy (what can be read of it; the rest told, and the file kept as
    // Kestrova.Cfg.ancien before the first save over it), the switches from their stores, the
    // FTP values from `ftp`.
    void charger(const ParametresFtp& ftp);

    Configuration copie;
    std::array<bool, NombreCases> cases{};  // Check1(0..9)
    QString serveurFtp, utilisateurFtp;      // Text2(0), Text2(1)

    // `entree`/`slot`/`ligne` -1 when nothing is selected in the list.
    bool changerPrix(int entree, const QString& prix, const QString& code);
    bool changerNom(int slot, const QString& nom);
    bool changerNumero(int slot, const QString& numero);
    bool changerGroupe(int slot, const QString& groupe);
    bool changerEtablissement(int ligne, const QString& texte);

    // Whether "&Enregistrer" of the agency frame is enabled for `texte`.
    static bool agenceActivable(const QString& texte);
    // Creates Facturat.Lex (every counter reset) after asking when it exists already.
    bool enregistrerAgence(const QString& texte);

    // Kestrova.Cfg (one fee pair a line), Tarnwick.ini and the settings from the copy, in that
    // order. False when a store could not be written (the message names the file), or when a
    // price in use is not six digits (nothing written).
    bool sauvegarder();

    // The closing message: the switches take effect at the next start.
    void annoncerRedemarrage();
    // After a save failed: whether the user closes the window all the same, losing what the
    // failed save did not write (the question says what; Cancel is the default).
    bool fermerSansEnregistrer();

    static const QStringList& clesCases();
    static const QStringList& legendesCases();
    static const QString InstructionsPrix, InstructionsOptometristes, InstructionsEtablissements;

private:
    bool refuser(const QString& raison);
    bool texteEnregistrable(const QString& texte, const QString& quoi);
    bool accepter();  // saves, then says "Changement accepté..." when it could
    // The professional or group number of `slot`: `n` digits.
    bool changerChiffresOptometriste(int slot, const QString& texte, int n, const QString& raison,
                                     QString Optometriste::*champ);

    QString programme_;
    MagasinReglages& utilisateur_;
    PortDialogue& d_;
    bool illisible_ = false;  // Kestrova.Cfg was not read whole: kept before it is replaced
};
