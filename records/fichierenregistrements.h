#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <limits>
#include <memory>

class FichierBrut;

// A random-access file of fixed-length records numbered from 1, without header or separator:
// the count is the length divided by the record length, a new record goes at count + 1.
// Every call opens and closes the file. Failures throw ErreurFichier.
class FichierEnregistrements {
public:
    // Whether a stored record carries its fixed marks; a file with a record that does not is
    // damaged, and is never appended to.
    using Verification = bool (*)(QByteArrayView enregistrement);

    FichierEnregistrements(QString chemin, int longueur,
                           int numeroMaximal = std::numeric_limits<int>::max(),
                           Verification verification = nullptr);

    const QString& chemin() const { return chemin_; }
    int longueur() const { return longueur_; }
    // Appends left to the system to write back, for records that can be derived again (the
    // statistics): one flush per stored invoice instead of two.
    FichierEnregistrements& sansSynchronisation() {
        synchroniser_ = false;
        return *this;
    }

    // 0 for a missing file; 76 when its folder is missing.
    int nombre() const;
    QByteArray lire(int numero) const;
    // Rewrites record `numero` in place, under the lock, and flushes it to the disk.
    void ecrire(int numero, const QByteArray& octets);
    // Count and append under the system's lock on the file, so that two workstations sharing
    // the folder never compute the same number; the record is on the disk when this returns,
    // and a failed write is cut back to the previous length. Returns the new record's number
    // (the first one's when `octets` holds several whole records, appended in one write).
    // Beyond `numeroMaximal`: error 6, the file unchanged.
    int ajouter(const QByteArray& octets);
    // The same append through the file as `verrouiller` gave it, its lock still held by the
    // caller, for an operation that must keep the file locked around more than the append.
    int ajouter(FichierBrut& verrouille, const QByteArray& octets);
    // The whole file rewritten atomically under the lock appends take: `nouveau` gets the
    // current bytes and gives the new ones; an append waiting meanwhile lands in the new file.
    void reecrire(const std::function<QByteArray(const QByteArray& actuel)>& nouveau);
    // Rewrites record `numero` in place only while it still holds `attendu` (another
    // workstation may have changed it, or emptied the file, since it was read); false, and
    // nothing written, otherwise.
    bool remplacer(int numero, const QByteArray& attendu, const QByteArray& octets);
    // The file opened and locked against appends for as long as the object lives; error 70
    // when another workstation keeps the lock past `delaiMs`.
    std::unique_ptr<FichierBrut> verrouiller(int delaiMs) const;
    // The records of the opened file in blocks of whole records, in order, through one reused
    // buffer; each block is checked first: a damaged file (a record without its marks or a
    // length that is not a whole number of records) throws error 75 naming the first damaged
    // record before its block is given.
    void parcourir(const FichierBrut& ouvert,
                   const std::function<void(QByteArrayView enregistrements)>& bloc) const;

    // How long an append waits for another workstation's lock.
    static int delaiVerrouMs;

private:
    void verifierLongueur(const QByteArray& octets) const;
    [[noreturn]] void endommage(qint64 numero) const;

    QString chemin_;
    int longueur_;
    int numeroMaximal_;
    Verification verification_;
    bool synchroniser_ = true;
};
