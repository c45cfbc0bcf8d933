#pragma once
#include <QString>
#include <QTemporaryDir>

// A small file system of its own (tmpfs) as a program folder, to fill the disk at will.
// Mounting needs root: `disponible()` is false elsewhere, with the reason in `raison()`,
// and the test skips.
class PetitDisque {
public:
    explicit PetitDisque(qint64 octets = 1 << 20, bool lectureSeule = false);
    ~PetitDisque();
    PetitDisque(const PetitDisque&) = delete;
    PetitDisque& operator=(const PetitDisque&) = delete;

    bool disponible() const { return monte_; }
    const QString& raison() const { return raison_; }
    const QString& chemin() const { return chemin_; }
    QString fichier(const QString& relatif) const { return chemin_ + '/' + relatif; }

    // Fills the disk with a filler file so that only `libre` bytes remain (page-rounded).
    void laisserLibre(qint64 libre);
    void liberer();  // removes the filler
    qint64 libre() const;

private:
    QTemporaryDir dossier_;
    QString chemin_;
    QString raison_;
    bool monte_ = false;
};

#define KESTROVA_EXIGER_PETIT_DISQUE(disque) \
    if (!(disque).disponible())              \
    GTEST_SKIP() << qPrintable((disque).raison())
