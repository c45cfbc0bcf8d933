#pragma once
#include <QString>
#include <curl/curl.h>

// One libcurl easy handle for the life of a scope. The library itself is initialised once per
// process, on first use, so handles may then be used from a worker thread.
class SessionCurl {
public:
    SessionCurl();
    ~SessionCurl();
    SessionCurl(const SessionCurl&) = delete;
    SessionCurl& operator=(const SessionCurl&) = delete;

    CURL* h = nullptr;
};

// A server written "host" or "host:port".
struct HoteEtPort {
    QString hote;
    int port = 0;
};
HoteEtPort hoteEtPort(const QString& adresse, int portParDefaut);

// "scheme://host:port", the host in its ASCII form.
QByteArray urlServeur(const char* schema, const QString& adresse, int portParDefaut);
