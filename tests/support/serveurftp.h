#pragma once
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real FTP server (pyftpdlib) on 127.0.0.1 and a free port, serving a temporary folder that
// holds "dp_ramq" and "fich_ramq"; user "tollmark", password "vorpel". `debitOctets` > 0
// slows transfers down to that many bytes a second.
class ServeurFtp {
public:
    // With `certificat` (a PEM file of certificate and key), the server offers explicit TLS.
    explicit ServeurFtp(int debitOctets = 0, const QString& certificat = {});
    ~ServeurFtp();

    QString hote() const;  // "127.0.0.1:port"
    const QString& racine() const { return racine_; }
    qint64 pid() const { return processus_.processId(); }
    void arreter();
    // While on, every upload is cut after 1000 bytes, the server answering 426.
    void couperLesEnvois(bool couper);

private:
    QTemporaryDir dossier_;
    QString racine_;
    QProcess processus_;
    int port_ = 0;
};
