#pragma once
#include <QString>
#include <QStringList>
#include <optional>

// A plain-text mail, with files attached, sent through an SMTP server.
struct Courriel {
    QString serveur;  // "host", port 25, or "host:port"
    QString expediteur, destinataire, sujet, corps;
    QStringList piecesJointes;  // paths of the files attached, each under its own name
};

// Nothing when the server accepted the message; otherwise what went wrong, in French, ready to
// be shown to the user.
std::optional<QString> envoyerCourriel(const Courriel& c);
