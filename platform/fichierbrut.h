#pragma once
#include <QByteArray>
#include <QString>

// One open file of the system, closed with the object. Every call checks its outcome and
// throws ErreurFichier with the program's number (erreurs::depuisSysteme).
class FichierBrut {
public:
    enum class Mode { Lecture, LectureEcriture, Creation };  // Creation: read-write, created
    FichierBrut(const QString& chemin, Mode mode);
    ~FichierBrut();
    FichierBrut(const FichierBrut&) = delete;
    FichierBrut& operator=(const FichierBrut&) = delete;

    const QString& chemin() const { return chemin_; }
    qint64 taille() const;
    QByteArray lire(qint64 position, qint64 nombre) const;  // fewer bytes at the end of the file
    QByteArray toutLire() const;
    // Reads up to `nombre` bytes at `position` into `tampon`, reusing its memory.
    void lireDans(qint64 position, qint64 nombre, QByteArray& tampon) const;
    // What tells this file from any other on its disk (device and file number).
    QByteArray identite() const;
    void ecrire(qint64 position, const QByteArray& octets);
    void tronquer(qint64 taille);
    void synchroniser();  // the data on the disk before returning
    // Starts writing the data to the disk without waiting (where the system offers it), so
    // that the flushes of several files that follow wait once together.
    void commencerEcriture();

    // The system's byte-range lock over the whole file (an open-file-description lock on Linux,
    // LockFileEx on Windows): released with the object or when the process dies. Waits up to
    // `delaiMs`; false when another holder keeps it.
    bool verrouiller(int delaiMs);
    // True while the path still names the file opened (it was not replaced or removed).
    bool toujoursAuChemin() const;

private:
    [[noreturn]] void echec() const;

    QString chemin_;
#ifdef _WIN32
    void* h_ = nullptr;
#else
    int fd_ = -1;
#endif
};

namespace fichiers {
// Makes sure the entries of `dossier` (a new name, a rename) are on the disk.
void synchroniserDossier(const QString& dossier);
// A second name for an existing file where the file system allows it; false otherwise.
bool lier(const QString& existant, const QString& nouveau);
}  // namespace fichiers
