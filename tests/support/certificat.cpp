#include "support/certificat.h"

#include "support/dossiertemporaire.h"

#include <QFile>
#include <QProcess>
#include <stdexcept>

QString certificatDeTest(const DossierTemporaire& d, const QString& nom) {
    const QString pem = d.fichier(nom + ".pem"), crt = d.fichier(nom + ".crt");
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                              "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", pem, "-out", crt});
    if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0)
        throw std::runtime_error("openssl n'a pas fait le certificat de test");
    QFile f(pem);
    f.open(QIODevice::Append);
    f.write(d.lire(nom + ".crt"));
    return pem;
}
