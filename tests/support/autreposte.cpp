#include "support/autreposte.h"

AutrePoste::AutrePoste(const QString& fichier) {
    p_.start(QStringLiteral(AUTRE_POSTE), {QStringLiteral("verrouiller"), fichier});
    verrouille_ = p_.waitForReadyRead(10000) && p_.readLine().startsWith("verrouille");
}

void AutrePoste::liberer() {
    if (p_.state() == QProcess::NotRunning)
        return;
    p_.kill();
    p_.waitForFinished(5000);
}
