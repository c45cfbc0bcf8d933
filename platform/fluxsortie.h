#pragma once
#include "platform/erreurs.h"

#include <QIODevice>
#include <optional>

// A stream written from start to end and never read back: the standard output or error, or a
// device or pipe named by a path (/dev/stdout, /dev/lp0). Every write is checked: the first
// failure is kept with the program's number (a full disk is 61), and nothing is written after it.
class FluxSortie : public QIODevice {
public:
    // Over the open descriptor `descripteur` (1, 2), called `nom` in messages.
    FluxSortie(int descripteur, QString nom);
    // Opens `chemin` for writing as it is: never created, truncated nor replaced. Throws ErreurFichier.
    explicit FluxSortie(const QString& chemin);
    ~FluxSortie() override;

    const std::optional<ErreurFichier>& erreur() const { return erreur_; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* donnees, qint64 taille) override;

private:
    int fd_ = -1;
    bool proprietaire_ = false;
    QString nom_;
    std::optional<ErreurFichier> erreur_;
};
