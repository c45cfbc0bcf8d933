#include "platform/courriel.h"
#include "platform/sessioncurl.h"
#include "returns/recuperation.h"
#include "support/certificat.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/serveurftp.h"
#include "support/serveursmtp.h"
#include "transmission/moduleftp.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// TLS whenever the server offers it, verified; clear only where it does not and clear is allowed.
TEST(Tls, FtpEtSmtp) {
    DossierTemporaire d;
    const QString bon = certificatDeTest(d, "bon"), autre = certificatDeTest(d, "autre");
    ASSERT_TRUE(d.existe("bon.crt") && d.existe("autre.crt"));
    qputenv("KESTROVA_CERTIFICATS", QFile::encodeName(d.fichier("bon.crt")));
    d.ecrire("envoi.zip", QByteArray(5000, 'z'));

    ServeurFtp chiffre(0, bon), clair, douteux(0, autre);
    ServeurSmtp smtpChiffre(false, bon), smtpClair, smtpDouteux(false, autre);
    const struct {
        const char* cas;
        ServeurFtp* ftp;
        ServeurSmtp* smtp;
        bool exiger, reussi;
        const char* etat;
        const char* raison;
    } cas[] = {
        {"offert", &chiffre, &smtpChiffre, false, true, "connexion chiffrée", ""},
        {"offert et exigé", &chiffre, &smtpChiffre, true, true, "connexion chiffrée", ""},
        {"non offert", &clair, &smtpClair, false, true, "connexion non chiffrée", ""},
        {"non offert mais exigé", &clair, &smtpClair, true, false, "connexion non chiffrée refusée",
         "Le serveur n'offre pas de connexion chiffrée (TLS) et le réglage ExigerTLS refuse d'échanger en clair"},
        {"certificat non vérifié", &douteux, &smtpDouteux, false, false, "connexion chiffrée refusée",
         "Le certificat du serveur n'a pas pu être vérifié : la connexion chiffrée a été refusée"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        exigerTLS(c.exiger);
        quint64 avant = derniereConnexion().numero;
        const int envoye = ModuleFTP::PutFtpFile(c.ftp->hote(), "tollmark", "vorpel", "/dp_ramq", "AGP71234.zip",
                                                 d.fichier("envoi.zip"), 2);
        EXPECT_EQ(envoye != 0, c.reussi);
        EXPECT_EQ(QFile::exists(c.ftp->racine() + "/dp_ramq/AGP71234.zip"), c.reussi);
        EXPECT_EQ(etatConnexion(avant), QStringLiteral("Serveur : ") + c.etat);
        const QString raison = QString::fromUtf8(c.raison);
        EXPECT_EQ(raisonTLS(derniereConnexion().code).left(raison.size()), raison);
        QFile::remove(c.ftp->racine() + "/dp_ramq/AGP71234.zip");

        Courriel m;
        m.serveur = c.smtp->hote();
        m.expediteur = "lac@exemple.ca";
        m.destinataire = "compta@exemple.ca";
        m.sujet = "Essai";
        m.corps = "Bonjour";
        const qsizetype recus = c.smtp->messages().size();
        avant = derniereConnexion().numero;
        const std::optional<QString> erreur = envoyerCourriel(m);
        EXPECT_EQ(!erreur, c.reussi) << qPrintable(erreur.value_or(""));
        EXPECT_EQ(c.smtp->messages().size() - recus, c.reussi ? 1 : 0);
        EXPECT_EQ(etatConnexion(avant), QStringLiteral("Serveur : ") + c.etat);
        if (!c.reussi) {
            EXPECT_TRUE(erreur->startsWith(c.raison)) << qPrintable(*erreur);
        }
    }
    exigerTLS(false);

    // A fetch of the returns refused for the certificate says so, not that nothing waits.
    QFile archive(douteux.racine() + "/fich_ramq/F71234.zip");
    ASSERT_TRUE(archive.open(QIODevice::WriteOnly));
    archive.write("PK");
    archive.close();
    DialoguesScriptes port;
    recuperation::Recuperer(d.chemin(), {douteux.hote(), "tollmark", "vorpel"}, "71234", port);
    ASSERT_EQ(port.boites().size(), 1) << qPrintable(port.resume().join('\n'));
    EXPECT_TRUE(port.boites()[0].texte.startsWith("Le certificat du serveur n'a pas pu être vérifié"));
    qunsetenv("KESTROVA_CERTIFICATS");
}

}  // namespace
