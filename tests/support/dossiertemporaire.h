#pragma once
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "support/impression.h"

// A fresh program folder for one test, with helpers to put and read files byte for byte.
class DossierTemporaire {
public:
    DossierTemporaire();
    const QString& chemin() const { return chemin_; }
    QString fichier(const QString& relatif) const;
    void ecrire(const QString& relatif, const QByteArray& octets) const;
    QByteArray lire(const QString& relatif) const;
    bool existe(const QString& relatif) const;

private:
    QTemporaryDir dossier_;
    QString chemin_;
};

// The bytes of a file of the test data folder (tests/donnees).
QByteArray donnees(const QString& nom);

// The default configuration with a second optometrist, Dr Mathieu Tremblay (322227, group 12345).
QByteArray configurationADeuxOptometristes();
