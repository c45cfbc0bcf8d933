#pragma once
#include <QByteArray>
#include <QString>

// Whole-file reads and rewrites. A rewrite goes to a temporary file that takes the final name
// only once it is complete, so a crash or a full disk never leaves a half-written file.
// Failures throw ErreurFichier.
namespace fichiers {

QByteArray lire(const QString& chemin);
void ecrireAtomique(const QString& chemin, const QByteArray& octets);
// `destination` becomes a byte-for-byte copy of `source`.
void copierAtomique(const QString& source, const QString& destination);

}  // namespace fichiers
