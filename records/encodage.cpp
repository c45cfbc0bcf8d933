#include "records/encodage.h"

#include "platform/erreurs.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace encodage {

namespace {
constexpr const char* NomCodage = "windows-1252";

bool asciiSeulement(const QString& texte) {
    for (const QChar c : texte)
        if (c.unicode() > 0x7F)
            return false;
    return true;
}
}  // namespace

bool disponible() {
    QStringEncoder e(NomCodage);
    QStringDecoder d(NomCodage);
    return e.isValid() && d.isValid();
}

bool representable(const QString& texte) {
    if (asciiSeulement(texte))
        return true;
    QStringEncoder e(NomCodage, QStringConverter::Flag::Stateless);
    const QByteArray octets = e.encode(texte);
    return !e.hasError() && octets.size() == texte.size();
}

QByteArray versOctets(const QString& texte) {
    if (asciiSeulement(texte))
        return texte.toLatin1();
    QStringEncoder e(NomCodage, QStringConverter::Flag::Stateless);
    QByteArray octets = e.encode(texte);
    if (e.hasError() || octets.size() != texte.size())
        throw ErreurFichier(erreurs::NomIncorrect,
                            QStringLiteral("Le texte « %1 » contient un caractère qui ne peut "
                                           "pas être enregistré.")
                                .arg(texte));
    return octets;
}

QString depuisOctets(QByteArrayView octets) {
    bool ascii = true;
    for (const char c : octets)
        if (static_cast<unsigned char>(c) > 0x7F) {
            ascii = false;
            break;
        }
    if (ascii)
        return QString::fromLatin1(octets.data(), octets.size());
    QStringDecoder d(NomCodage, QStringConverter::Flag::Stateless);
    return d.decode(octets);
}

}  // namespace encodage
