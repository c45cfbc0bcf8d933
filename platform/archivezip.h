#pragma once
#include "platform/erreurs.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

// ZIP archives as the returns come: read member by member with libzip.
namespace archivezip {

struct Membre {
    QString nom;
    QByteArray octets;
};

// The most an archive may hold once unpacked, each member and all together: a return file is
// text of a few megabytes, and an archive that claims more is refused before anything is
// allocated for it.
constexpr qint64 TailleMaximale = qint64(64) << 20;

// An archive whose content cannot be unpacked: not a ZIP archive, damaged, or larger than
// TailleMaximale. Reading it again would fail the same way.
class ArchiveIllisible : public ErreurFichier {
public:
    using ErreurFichier::ErreurFichier;
};

// False for a name that would land outside the folder it is extracted into, or is not a plain
// file every disk can hold: empty, "." or "..", holding "/" or "\" (a path or a folder), a drive
// (":"), a character Windows refuses in a name or a control character, or over 128 characters.
bool nomSur(const QString& nom);

// The members of `archive` in the archive's order. ArchiveIllisible for its content; another
// ErreurFichier when the file cannot be read from the disk or the memory runs short
// (MemoireInsuffisante). A description names the archive by its name alone; its path is the
// error's `chemin`.
QList<Membre> lire(const QString& archive);

// The same reading, one member at a time as it is unpacked and checked (its CRC included), each
// member bounded by `maximumMembre` and all of them by `maximumTotal`: for archives larger than
// a return, read without holding them whole.
void parcourir(const QString& archive, qint64 maximumMembre, qint64 maximumTotal,
               const std::function<void(const Membre&)>& recevoir);

// Writes `membres` as a new ZIP archive at `chemin` (compressed, names in UTF-8), on the disk when
// this returns: an existing file is never replaced. `progression` gets the share done, 0 to 100.
// ErreurFichier when the archive cannot be written whole; what was written is then removed.
void ecrire(const QString& chemin, const QList<Membre>& membres, const std::function<void(int)>& progression = {});

}  // namespace archivezip
