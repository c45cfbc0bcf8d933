#pragma once
#include <QString>
#include <memory>

class QSettings;

// A store of named text values: the per-user settings or one section of an INI file.
class MagasinReglages {
public:
    virtual ~MagasinReglages() = default;
    virtual QString lire(const QString& cle, const QString& defaut) const = 0;
    virtual void ecrire(const QString& cle, const QString& valeur) = 0;
    // What went wrong with the first write that could not be saved, naming the file and the
    // cause; empty while every write was saved.
    virtual QString echecEcriture() const { return {}; }
};

// Per-user settings: application "Kestrova", group "Settings" (the registry on Windows,
// ~/.config/Kestrova/Kestrova.conf elsewhere).
class ReglagesUtilisateur : public MagasinReglages {
public:
    ReglagesUtilisateur();
    ~ReglagesUtilisateur() override;
    QString lire(const QString& cle, const QString& defaut) const override;
    void ecrire(const QString& cle, const QString& valeur) override;
    QString echecEcriture() const override;
    // Where the store is kept (its file, or its registry key on Windows).
    QString fichier() const;

    // Points every per-user store of this process at `dossier` (tests).
    static void rediriger(const QString& dossier);

private:
    std::unique_ptr<QSettings> reglages_;
    QString echec_;
};
