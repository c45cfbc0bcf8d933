#pragma once
#include <QString>
#include <curl/curl.h>

// One libcurl easy handle for the life of a scope. The library itself is initialised once per
// process, on first use, so handles may then be used from a worker thread. Every connection uses
// TLS whenever the server offers it (explicit AUTH TLS for FTP, STARTTLS for SMTP), the server's
// certificate verified against the system's store (or the file named by KESTROVA_CERTIFICATS),
// and goes plain only where the server offers no TLS and TLS is not required.
class SessionCurl {
public:
    SessionCurl();
    ~SessionCurl();
    SessionCurl(const SessionCurl&) = delete;
    SessionCurl& operator=(const SessionCurl&) = delete;

    // curl_easy_perform, the connection's protection and outcome kept for derniereConnexion().
    CURLcode executer();

    CURL* h = nullptr;

private:
    static int trace(CURL*, curl_infotype genre, char*, size_t, void* session);
    bool tlsVu_ = false;
    bool repondu_ = false;
};

// Whether a connection in clear is refused (the setting "ExigerTLS"), for the whole process.
void exigerTLS(bool exige);
bool tlsExige();

// What the last connection of the process used, and how it ended; `numero` counts the
// connections tried (0: none yet), `etablie` tells whether the server answered at all.
struct Connexion {
    bool etablie = false;
    bool chiffree = false;
    CURLcode code = CURLE_OK;
    quint64 numero = 0;
    QString serveur;  // "host:port"
};
Connexion derniereConnexion();
// The status line of an operation begun when derniereConnexion().numero was `avant`:
// "Serveur : connexion chiffrée" / "... non chiffrée", "... non chiffrée refusée" (ExigerTLS),
// "... chiffrée refusée" (certificate not verified), blank when the operation reached no server.
QString etatConnexion(quint64 avant);
// Why a connection failed when TLS is the cause, in French; blank otherwise.
QString raisonTLS(CURLcode code);
// Why the connection `c` failed, in French and naming the server: not reached, no answer, the
// user refused, TLS...; blank when it succeeded or the server only lacked the file asked for.
QString raisonEchec(const Connexion& c);

// A server written "host" or "host:port".
struct HoteEtPort {
    QString hote;
    int port = 0;
};
HoteEtPort hoteEtPort(const QString& adresse, int portParDefaut);

// "scheme://host:port", the host in its ASCII form.
QByteArray urlServeur(const char* schema, const QString& adresse, int portParDefaut);
