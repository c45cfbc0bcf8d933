#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// ZIP archives as the returns come: read member by member with libzip.
namespace archivezip {

struct Membre {
    QString nom;
    QByteArray octets;
};

// False for a name that would land outside the folder it is extracted into, or is not a plain
// file: empty, "." or "..", holding "/" or "\" (a path or a folder), or a drive (":").
bool nomSur(const QString& nom);

// The members of `archive` in the archive's order; ErreurFichier when it cannot be read whole.
QList<Membre> lire(const QString& archive);

}  // namespace archivezip
