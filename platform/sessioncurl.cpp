#include "platform/sessioncurl.h"

#include <QUrl>

SessionCurl::SessionCurl() {
    static const bool initialisee = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (initialisee)
        h = curl_easy_init();
}

SessionCurl::~SessionCurl() {
    if (h)
        curl_easy_cleanup(h);
}

HoteEtPort hoteEtPort(const QString& adresse, int portParDefaut) {
    HoteEtPort r{adresse.trimmed(), portParDefaut};
    const int deuxPoints = r.hote.lastIndexOf(QLatin1Char(':'));
    if (deuxPoints > 0) {
        bool ok = false;
        const int p = r.hote.mid(deuxPoints + 1).toInt(&ok);
        if (ok && p > 0 && p < 65536) {
            r.port = p;
            r.hote.truncate(deuxPoints);
        }
    }
    return r;
}

QByteArray urlServeur(const char* schema, const QString& adresse, int portParDefaut) {
    const HoteEtPort s = hoteEtPort(adresse, portParDefaut);
    return QByteArray(schema) + "://" + QUrl::toAce(s.hote) + ':' + QByteArray::number(s.port);
}
