#pragma once
#include <QByteArray>
#include <QString>
#include <limits>
#include <memory>

class QLockFile;

// A random-access file of fixed-length records numbered from 1, without header or separator:
// the count is the length divided by the record length, a new record goes at count + 1.
// Every call opens and closes the file. Failures throw ErreurFichier.
class FichierEnregistrements {
public:
    FichierEnregistrements(QString chemin, int longueur,
                           int numeroMaximal = std::numeric_limits<int>::max());

    const QString& chemin() const { return chemin_; }
    int longueur() const { return longueur_; }

    // 0 for a missing file; 76 when its folder is missing.
    int nombre() const;
    QByteArray lire(int numero) const;
    void ecrire(int numero, const QByteArray& octets);
    // Appends under a lock file, so that two workstations sharing the folder never compute
    // the same number; returns the new record's number. Beyond `numeroMaximal`: error 6,
    // the file unchanged.
    int ajouter(const QByteArray& octets);
    // Empties the file (created when missing), atomically.
    void vider();
    // Takes the lock file "<file>.lck" that appends hold, waiting up to `delaiMs`; error 70
    // when another workstation keeps it. The lock lasts as long as the returned object.
    std::unique_ptr<QLockFile> verrouiller(int delaiMs) const;

    static constexpr int DelaiVerrouMs = 10000;

private:
    void verifierLongueur(const QByteArray& octets) const;
    void ecrireA(qint64 position, const QByteArray& octets);

    QString chemin_;
    int longueur_;
    int numeroMaximal_;
};
