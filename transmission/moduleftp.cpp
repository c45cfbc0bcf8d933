#include "transmission/moduleftp.h"

#include "platform/dialogues.h"
#include "platform/horloge.h"
#include "platform/sessioncurl.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QUrl>

namespace ModuleFTP {

namespace {

constexpr long DelaiConnexionS = 15;
constexpr long DelaiBlocageS = 30;  // a transfer that moves nothing for this long fails

// "ftp://host:port/%2Fdossier/nom": the folder is absolute on the server.
QByteArray adresse(const QString& serveur, const QString& dossier, const QString& nom) {
    QByteArray url = urlServeur("ftp", serveur, 21) + "/%2F";
    const QString relatif = QString(dossier).remove(0, dossier.startsWith('/') ? 1 : 0);
    if (!relatif.isEmpty())  // the root itself has no folder to enter
        url += QUrl::toPercentEncoding(relatif, "/") + '/';
    url += QUrl::toPercentEncoding(nom);
    return url;
}

size_t ignorer(char*, size_t taille, size_t n, void*) { return taille * n; }

void preparer(CURL* h, const QByteArray& url, const QString& utilisateur, const QString& motDePasse) {
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    const QByteArray u = utilisateur.toUtf8(), m = motDePasse.toUtf8();
    curl_easy_setopt(h, CURLOPT_USERNAME, u.constData());  // copied by libcurl
    curl_easy_setopt(h, CURLOPT_PASSWORD, m.constData());
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, DelaiConnexionS);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, DelaiBlocageS);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, 0L);  // binary
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, ignorer);  // what a command without a body says
}

size_t lireFichier(char* tampon, size_t taille, size_t n, void* fichier) {
    const qint64 lu = static_cast<QFile*>(fichier)->read(tampon, static_cast<qint64>(taille * n));
    return lu < 0 ? CURL_READFUNC_ABORT : static_cast<size_t>(lu);
}

size_t ecrireFichier(char* tampon, size_t taille, size_t n, void* fichier) {
    const qint64 total = static_cast<qint64>(taille * n);
    return static_cast<QSaveFile*>(fichier)->write(tampon, total) == total ? taille * n : 0;
}

bool telecharger(const ParametresFtp& p, const QString& dossier, const QString& nom,
                 const QString& dossierLocal) {
    SessionCurl c;
    if (!c.h)
        return false;
    QSaveFile local(QDir(dossierLocal).filePath(nom));
    if (!local.open(QIODevice::WriteOnly))
        return false;
    preparer(c.h, adresse(p.serveur, dossier, nom), p.utilisateur, p.motDePasse);
    curl_easy_setopt(c.h, CURLOPT_WRITEFUNCTION, ecrireFichier);
    curl_easy_setopt(c.h, CURLOPT_WRITEDATA, &local);
    if (c.executer() != CURLE_OK) {
        local.cancelWriting();
        return false;
    }
    return local.commit();
}

// Enters `dossier` and runs `commandes` there; libcurl's result.
CURLcode commandes(const ParametresFtp& p, const QString& dossier, const QList<QByteArray>& liste) {
    SessionCurl c;
    if (!c.h)
        return CURLE_FAILED_INIT;
    // The folder's URL: libcurl enters it, then the commands after it act there.
    preparer(c.h, adresse(p.serveur, dossier, {}), p.utilisateur, p.motDePasse);
    curl_easy_setopt(c.h, CURLOPT_NOBODY, 1L);
    curl_slist* apres = nullptr;
    for (const QByteArray& commande : liste)
        apres = curl_slist_append(apres, commande.constData());
    curl_easy_setopt(c.h, CURLOPT_POSTQUOTE, apres);
    const CURLcode r = c.executer();
    curl_slist_free_all(apres);
    return r;
}

}  // namespace

int PutFtpFile(const QString& serveur, const QString& utilisateur, const QString& motDePasse,
               const QString& dossier, const QString& nomDistant, const QString& cheminLocal,
               int typeTransfert) {
    Q_UNUSED(typeTransfert);  // always binary
    QFile fichier(cheminLocal);
    if (!fichier.open(QIODevice::ReadOnly))
        return 0;
    const qint64 taille = fichier.size();
    {
        SessionCurl c;
        if (!c.h)
            return 0;
        // Sent under a temporary name that takes the final one only once the transfer is
        // complete: an interrupted upload never leaves a truncated file under the real name.
        const QString temporaire = nomDistant + QStringLiteral(".partiel");
        preparer(c.h, adresse(serveur, dossier, temporaire), utilisateur, motDePasse);
        curl_easy_setopt(c.h, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(c.h, CURLOPT_READFUNCTION, lireFichier);
        curl_easy_setopt(c.h, CURLOPT_READDATA, &fichier);
        curl_easy_setopt(c.h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(taille));
        const QByteArray de = "RNFR " + temporaire.toUtf8(), vers = "RNTO " + nomDistant.toUtf8();
        curl_slist* apres = curl_slist_append(nullptr, de.constData());
        apres = curl_slist_append(apres, vers.constData());
        curl_easy_setopt(c.h, CURLOPT_POSTQUOTE, apres);
        const CURLcode r = c.executer();
        curl_slist_free_all(apres);
        if (r != CURLE_OK)
            return 0;
    }
    // The server says how many bytes it holds under the final name.
    return TailleFtpFile({serveur, utilisateur, motDePasse}, dossier, nomDistant) == taille ? 1 : 0;
}

qint64 TailleFtpFile(const ParametresFtp& p, const QString& dossier, const QString& nomDistant) {
    SessionCurl c;
    if (!c.h)
        return -1;
    preparer(c.h, adresse(p.serveur, dossier, nomDistant), p.utilisateur, p.motDePasse);
    curl_easy_setopt(c.h, CURLOPT_NOBODY, 1L);
    if (c.executer() != CURLE_OK)
        return -1;
    curl_off_t taille = -1;
    curl_easy_getinfo(c.h, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &taille);
    return taille;
}

bool RenFtpFile(const ParametresFtp& p, const QString& dossier, const QString& ancien,
                const QString& nouveau) {
    return commandes(p, dossier, {"RNFR " + ancien.toUtf8(), "RNTO " + nouveau.toUtf8()}) == CURLE_OK;
}

QString MettreDeCoteFtpFile(const ParametresFtp& p, const QString& dossier, const QString& nomDistant,
                            const QString& raison) {
    const QString aCote = nomDistant + QLatin1Char('.') + raison + QLatin1Char('-') +
                          Horloge::maintenant().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return RenFtpFile(p, dossier, nomDistant, aCote) ? aCote : QString();
}

int DelFtpFile(const QString& serveur, const QString& utilisateur, const QString& motDePasse,
               const QString& dossier, const QString& nomDistant, PortDialogue& d) {
    const QString titre = QStringLiteral("Kestrova");
    const CURLcode r = commandes({serveur, utilisateur, motDePasse}, dossier, {"DELE " + nomDistant.toUtf8()});
    if (r == CURLE_FAILED_INIT) {
        d.message(Icone::Aucune, titre, QStringLiteral("Pas de connexion!"));
        return 0;
    }
    switch (r) {
    case CURLE_OK: return 1;
    case CURLE_REMOTE_ACCESS_DENIED:
        d.message(Icone::Aucune, titre,
                  QStringLiteral("Erreur de positionnement dans le répertoire distant!"));
        return 0;
    case CURLE_QUOTE_ERROR: return 0;  // the folder was entered; the file could not be deleted
    default:
        d.message(Icone::Aucune, titre,
                  QStringLiteral("Erreur ouverture session FTP, vérifiez l'adresse, le login/pwd."));
        return 0;
    }
}

int GetFtpDpFile(const ParametresFtp& p, const QString& nomDistant, const QString& dossierLocal) {
    return telecharger(p, DossierEnvoi, nomDistant, dossierLocal) ? -1 : 0;
}

int GetFtpFichFile(const ParametresFtp& p, const QString& nomDistant, const QString& dossierLocal) {
    return telecharger(p, DossierRetours, nomDistant, dossierLocal) ? -1 : 0;
}

bool GetFtpRacine(const ParametresFtp& p, const QString& nomDistant, const QString& dossierLocal) {
    return telecharger(p, QStringLiteral("/"), nomDistant, dossierLocal);
}

bool GetFtpFile(const ParametresFtp& p, const QString& nomDistant, const QString& dossierLocal) {
    return telecharger(p, DossierRetours, nomDistant, dossierLocal);
}

}  // namespace ModuleFTP
