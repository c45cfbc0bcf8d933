#include "platform/fichiers.h"

#include "platform/erreurs.h"

#include <QFile>
#include <QSaveFile>

namespace fichiers {

QByteArray lire(const QString& chemin) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        throw erreurs::depuis(f, chemin);
    QByteArray octets = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw erreurs::depuis(f, chemin);
    return octets;
}

void ecrireAtomique(const QString& chemin, const QByteArray& octets) {
    QSaveFile f(chemin);
    if (!f.open(QIODevice::WriteOnly) || f.write(octets) != octets.size() || !f.commit())
        throw erreurs::depuis(f, chemin);
}

void copierAtomique(const QString& source, const QString& destination) {
    ecrireAtomique(destination, lire(source));
}

}  // namespace fichiers
