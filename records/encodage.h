#pragma once
#include <QByteArrayView>
#include <QByteArray>
#include <QString>

// The one place where window text becomes the single-byte Windows-1252 of the files, and back.
namespace encodage {

// True when the Windows-1252 converter is available (checked at start-up).
bool disponible();

// True when every character of `texte` has a Windows-1252 byte.
bool representable(const QString& texte);

// `texte` in Windows-1252; a character without a byte throws ErreurFichier (52).
QByteArray versOctets(const QString& texte);

QString depuisOctets(QByteArrayView octets);

}  // namespace encodage
