#include "config/parametres.h"

#include "platform/dossiers.h"
#include "platform/reglages.h"

#include <QHash>

namespace parametres {

QString defaut(const QString& cle) {
    static const QHash<QString, QString> defauts = {
        {SiMotPasse, Non},
        {RappelBES2an, Oui},
        {RappelTOUS2an, Non},
        {NomDuServeurFtp, ServeurFtpParDefaut},
        {NomUtilisateurFtp, UtilisateurFtpParDefaut},
        {UtiliseDossierPatient, Non},
        {ChangerDateRappel, Oui},
        {PavoConserveDate, Oui},
        {AfficheConserveInfo, Non},
        {FocusCodeActe, Non},
        {SansConnectionInternet, Non},
        {ExigerTLS, Non},
        {WindowsStateOp, QStringLiteral("0")},
        {NomDeLaClinique, QStringLiteral("Inscrire le nom de votre clinique ici")},
        {NoDeTelephone, QStringLiteral("Inscrire le téléphone de votre clinique ici")},
        {AdresseDeCourriel, QStringLiteral("Inscrire votre adresse de courriel ici")},
        {xxDestinataire, DestinataireParDefaut},
        {AdresseDuSmtp, ServeurSmtpParDefaut},
    };
    return defauts.value(cle);
}

QString lire(const MagasinReglages& magasin, const QString& cle) {
    return magasin.lire(cle, defaut(cle));
}

bool estOui(const QString& valeur) { return valeur == Oui; }

bool oui(const MagasinReglages& magasin, const QString& cle) { return estOui(lire(magasin, cle)); }

bool conserverDateDeService(const MagasinReglages& utilisateur) {
    return lire(utilisateur, PavoConserveDate) != Non;
}

QString ouiNon(bool valeur) { return valeur ? Oui : Non; }

void ecrireOuiNon(MagasinReglages& magasin, const QString& cle, bool valeur) { magasin.ecrire(cle, ouiNon(valeur)); }

QString cheminTarnwick(const QString& programme) {
    return dossiers::resoudre(programme, QStringLiteral("Tarnwick.ini"));
}

ParametresFtp lireParametresFtp(const MagasinReglages& utilisateur) {
    return {lire(utilisateur, NomDuServeurFtp), lire(utilisateur, NomUtilisateurFtp),
            MotDePasseFtp};
}

}  // namespace parametres
