#include "platform/sessioncurl.h"

#include <QUrl>
#include <atomic>
#include <mutex>

namespace {
std::atomic<bool> tlsRequis{false};
std::mutex verrouConnexion;
Connexion connexion;
}  // namespace

void exigerTLS(bool exige) { tlsRequis = exige; }
bool tlsExige() { return tlsRequis; }

SessionCurl::SessionCurl() {
    static const bool initialisee = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (initialisee)
        h = curl_easy_init();
    if (!h)
        return;
    curl_easy_setopt(h, CURLOPT_USE_SSL, tlsRequis ? CURLUSESSL_ALL : CURLUSESSL_TRY);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    const QByteArray certificats = qgetenv("KESTROVA_CERTIFICATS");
    if (!certificats.isEmpty())
        curl_easy_setopt(h, CURLOPT_CAINFO, certificats.constData());
    // The trace callback (silent) tells whether any TLS record went over the connection.
    curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, &SessionCurl::trace);
    curl_easy_setopt(h, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);
}

int SessionCurl::trace(CURL*, curl_infotype genre, char*, size_t, void* session) {
    auto* s = static_cast<SessionCurl*>(session);
    if (genre == CURLINFO_SSL_DATA_IN || genre == CURLINFO_SSL_DATA_OUT)
        s->tlsVu_ = true;
    // A server's reply (its greeting first): the connection reached a server that answers.
    if (genre == CURLINFO_HEADER_IN || genre == CURLINFO_SSL_DATA_IN)
        s->repondu_ = true;
    return 0;
}

namespace {
QString serveurDe(CURL* h) {
    const char* url = nullptr;
    curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &url);
    const QUrl u(QString::fromUtf8(url ? url : ""));
    return u.port() < 0 ? u.host() : u.host() + QLatin1Char(':') + QString::number(u.port());
}
}  // namespace

CURLcode SessionCurl::executer() {
    tlsVu_ = repondu_ = false;
    const CURLcode code = curl_easy_perform(h);
    // A handshake refused (certificate not verified) is not an encrypted connection.
    const bool chiffree = tlsVu_ && raisonTLS(code).isEmpty();
    const QString serveur = serveurDe(h);
    const std::lock_guard garde(verrouConnexion);
    connexion = {repondu_, chiffree, code, connexion.numero + 1, serveur};
    return code;
}

Connexion derniereConnexion() {
    const std::lock_guard garde(verrouConnexion);
    return connexion;
}

QString etatConnexion(quint64 avant) {
    const Connexion c = derniereConnexion();
    if (c.numero == avant || !c.etablie)
        return {};
    if (c.code == CURLE_USE_SSL_FAILED)
        return QStringLiteral("Serveur : connexion non chiffrée refusée");
    if (!raisonTLS(c.code).isEmpty())
        return QStringLiteral("Serveur : connexion chiffrée refusée");
    return c.chiffree ? QStringLiteral("Serveur : connexion chiffrée")
                      : QStringLiteral("Serveur : connexion non chiffrée");
}

QString raisonTLS(CURLcode code) {
    switch (code) {
    case CURLE_USE_SSL_FAILED:
        return QStringLiteral("Le serveur n'offre pas de connexion chiffrée (TLS) et le réglage ExigerTLS "
                              "refuse d'échanger en clair : rien n'a été transmis.");
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
        return QStringLiteral("Le certificat du serveur n'a pas pu être vérifié : la connexion chiffrée a été "
                              "refusée et rien n'a été transmis. Communiquez avec le soutien technique.");
    case CURLE_SSL_CONNECT_ERROR:
        return QStringLiteral("La connexion chiffrée (TLS) avec le serveur n'a pas pu être établie : rien n'a "
                              "été transmis.");
    default: return {};
    }
}

QString raisonEchec(const Connexion& c) {
    if (const QString tls = raisonTLS(c.code); !tls.isEmpty())
        return tls;
    const QString& s = c.serveur;
    switch (c.code) {
    case CURLE_OK:
    case CURLE_REMOTE_FILE_NOT_FOUND: return {};
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("Le serveur %1 est introuvable : vérifiez son nom et la connexion Internet.").arg(s);
    case CURLE_COULDNT_CONNECT:
        if (!c.etablie)
            return QStringLiteral("Le serveur %1 n'a pas pu être joint : la connexion a été refusée ou est "
                                  "impossible.")
                .arg(s);
        break;
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("Le serveur %1 n'a pas répondu dans le délai permis.").arg(s);
    case CURLE_LOGIN_DENIED:
        return QStringLiteral("Le serveur %1 a refusé l'utilisateur ou le mot de passe.").arg(s);
    case CURLE_REMOTE_ACCESS_DENIED:
        return QStringLiteral("Le serveur %1 a refusé l'accès au dossier demandé.").arg(s);
    case CURLE_WRITE_ERROR:
        return QStringLiteral("Le fichier reçu du serveur %1 n'a pas pu être écrit sur le disque.").arg(s);
    default: break;
    }
    return QStringLiteral("La communication avec le serveur %1 a échoué (code %2 de libcurl).").arg(s).arg(int(c.code));
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
