#pragma once
#include "platform/reglages.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// One section of an INI file, read and written as the Windows profile-string calls do: names of
// sections and keys without regard to case, values trimmed of blanks and of surrounding quotes,
// the other lines of the file kept as they are. Every write rewrites the file atomically under
// the system's lock on it, so a failure (a full disk) leaves it as it was, and a stop never leaves
// a lock behind.
class FichierIni : public MagasinReglages {
public:
    FichierIni(QString chemin, QString section);
    QString lire(const QString& cle, const QString& defaut) const override;
    void ecrire(const QString& cle, const QString& valeur) override;
    // Several values in one write: all of them are saved, or none.
    void ecrire(const QList<QPair<QString, QString>>& valeurs);
    QString echecEcriture() const override { return echec_; }

    // The file's bytes with `valeurs` set in `section`: a key's line replaced where it is, a new
    // key after the section's last value, a new section at the end.
    static QByteArray avecValeurs(const QByteArray& fichier, const QString& section,
                                  const QList<QPair<QString, QString>>& valeurs);

private:
    QString chemin_, section_, echec_;
};
