#pragma once
#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real SMTP server (aiosmtpd) on 127.0.0.1 and a free port. Each message it accepts is read
// back as a standard mail parser saw it. With `refuser`, every recipient is refused (550).
class ServeurSmtp {
public:
    struct Piece {
        QString nom;
        QByteArray octets;
    };
    struct Message {
        QString de;
        QStringList a;
        QString sujet, corps;
        QList<Piece> pieces;
    };

    // With `certificat` (a PEM file of certificate and key), the server offers STARTTLS.
    explicit ServeurSmtp(bool refuser = false, const QString& certificat = {});
    ~ServeurSmtp();

    QString hote() const;  // "127.0.0.1:port"
    QList<Message> messages() const;

private:
    QTemporaryDir dossier_;
    QProcess processus_;
    int port_ = 0;
};
