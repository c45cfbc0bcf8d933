#include "platform/courriel.h"

#include "platform/sessioncurl.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr long DelaiConnexionS = 15;
constexpr long DelaiTotalS = 120;

bool adresseValide(const QString& a) {
    static const QRegularExpression forme(QStringLiteral("^[^@\\s<>]+@[^@\\s<>]+\\.[^@\\s<>]+$"));
    return forme.match(a).hasMatch();
}

// A header value that may hold accents: an RFC 2047 encoded word when it is not plain ASCII.
QByteArray enTete(const QString& valeur) {
    const QByteArray utf8 = valeur.toUtf8();
    for (const char c : utf8)
        if (static_cast<unsigned char>(c) > 126)
            return "=?UTF-8?B?" + utf8.toBase64() + "?=";
    return utf8;
}

// Frees what the message needs once it is sent.
struct Message {
    curl_mime* mime = nullptr;
    curl_slist* destinataires = nullptr;
    curl_slist* entetes = nullptr;
    ~Message() {
        curl_mime_free(mime);
        curl_slist_free_all(destinataires);
        curl_slist_free_all(entetes);
    }
};

QString echec(CURLcode r, long reponse, const QString& serveur) {
    const QString hote = hoteEtPort(serveur, 25).hote;
    if (const QString tls = raisonTLS(r); !tls.isEmpty())
        return tls;
    switch (r) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("Le serveur de courrier « %1 » est introuvable.").arg(hote);
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("Le serveur de courrier « %1 » ne répond pas.").arg(hote);
    default:
        if (reponse >= 400)
            return QStringLiteral("Le serveur de courrier « %1 » a refusé le message (réponse %2).")
                .arg(hote)
                .arg(reponse);
        return QStringLiteral("La communication avec le serveur de courrier « %1 » a échoué (%2).")
            .arg(hote, QString::fromUtf8(curl_easy_strerror(r)));
    }
}

}  // namespace

std::optional<QString> envoyerCourriel(const Courriel& c) {
    if (!adresseValide(c.expediteur))
        return QStringLiteral("L'adresse de courriel de l'expéditeur n'est pas valide: %1").arg(c.expediteur);
    if (!adresseValide(c.destinataire))
        return QStringLiteral("L'adresse de courriel du destinataire n'est pas valide: %1").arg(c.destinataire);
    for (const QString& chemin : c.piecesJointes)
        if (!QFileInfo(chemin).isFile())
            return QStringLiteral("Le fichier à joindre %1 n'est pas trouvé.").arg(chemin);

    SessionCurl s;
    if (!s.h)
        return QStringLiteral("Le courrier ne peut pas être préparé sur ce poste.");
    Message m;
    const QByteArray de = '<' + c.expediteur.toUtf8() + '>', a = '<' + c.destinataire.toUtf8() + '>';
    m.destinataires = curl_slist_append(nullptr, a.constData());
    for (const QByteArray& l :
         {"Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1(),
          "From: " + de, "To: " + a, "Subject: " + enTete(c.sujet)})
        m.entetes = curl_slist_append(m.entetes, l.constData());

    m.mime = curl_mime_init(s.h);
    curl_mimepart* texte = curl_mime_addpart(m.mime);
    const QByteArray corps = c.corps.toUtf8();
    curl_mime_data(texte, corps.constData(), static_cast<size_t>(corps.size()));
    curl_mime_type(texte, "text/plain; charset=UTF-8");
    curl_mime_encoder(texte, "quoted-printable");
    for (const QString& chemin : c.piecesJointes) {
        curl_mimepart* piece = curl_mime_addpart(m.mime);
        curl_mime_filedata(piece, QFile::encodeName(chemin).constData());
        curl_mime_type(piece, "application/octet-stream");
        curl_mime_encoder(piece, "base64");
    }

    const QByteArray url = urlServeur("smtp", c.serveur, 25);
    curl_easy_setopt(s.h, CURLOPT_URL, url.constData());
    curl_easy_setopt(s.h, CURLOPT_MAIL_FROM, de.constData());
    curl_easy_setopt(s.h, CURLOPT_MAIL_RCPT, m.destinataires);
    curl_easy_setopt(s.h, CURLOPT_HTTPHEADER, m.entetes);
    curl_easy_setopt(s.h, CURLOPT_MIMEPOST, m.mime);
    curl_easy_setopt(s.h, CURLOPT_CONNECTTIMEOUT, DelaiConnexionS);
    curl_easy_setopt(s.h, CURLOPT_TIMEOUT, DelaiTotalS);
    curl_easy_setopt(s.h, CURLOPT_NOSIGNAL, 1L);
    const CURLcode r = s.executer();
    if (r == CURLE_OK)
        return std::nullopt;
    long reponse = 0;
    curl_easy_getinfo(s.h, CURLINFO_RESPONSE_CODE, &reponse);
    return echec(r, reponse, c.serveur);
}
