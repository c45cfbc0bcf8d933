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
    // The file of the store when its last write could not be saved; empty otherwise.
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
};

// One section of an INI file, read and written as the Windows profile-string calls do.
class FichierIni : public MagasinReglages {
public:
    FichierIni(QString chemin, QString section);
    ~FichierIni() override;
    QString lire(const QString& cle, const QString& defaut) const override;
    void ecrire(const QString& cle, const QString& valeur) override;
    QString echecEcriture() const override;

private:
    std::unique_ptr<QSettings> reglages_;
    QString section_;
};
