#pragma once
#include "config/configuration.h"

#include <QString>

class MagasinReglages;

// The switches of Tarnwick.ini (section [Kestrova]) and the per-user settings, with their
// defaults. A yes/no value counts as yes only when it is exactly "OUI".
namespace parametres {

// Defaults that are this program's own choice.
inline const QString ServeurFtpParDefaut = QStringLiteral("ftp.kestrova.ca");
inline const QString UtilisateurFtpParDefaut = QStringLiteral("tollmark");
inline const QString MotDePasseFtp = QStringLiteral("vorpel");
inline const QString ServeurSmtpParDefaut = QStringLiteral("smtp.kestrova.ca");
inline const QString AdresseSoutien = QStringLiteral("soutien@kestrova.ca");
inline const QString DestinataireParDefaut = QStringLiteral("destinataire@exemple.ca");

inline const QString Oui = QStringLiteral("OUI");
inline const QString Non = QStringLiteral("NON");

// Keys of Tarnwick.ini.
inline const QString SiMotPasse = QStringLiteral("SiMotPasse");
inline const QString RappelBES2an = QStringLiteral("RappelBES2an");
inline const QString RappelTOUS2an = QStringLiteral("RappelTOUS2an");

// Keys of the per-user settings.
inline const QString NomDuServeurFtp = QStringLiteral("NomDuServeurFtp");
inline const QString NomUtilisateurFtp = QStringLiteral("NomUtilisateurFtp");
inline const QString UtiliseDossierPatient = QStringLiteral("UtiliseDossierPatient");
inline const QString ChangerDateRappel = QStringLiteral("ChangerDateRappel");
inline const QString PavoConserveDate = QStringLiteral("PavoConserveDate");
inline const QString AfficheConserveInfo = QStringLiteral("AfficheConserveInfo");
inline const QString FocusCodeActe = QStringLiteral("FocusCodeActe");
inline const QString SansConnectionInternet = QStringLiteral("SansConnectionInternet");
// "OUI": the transfers refuse a server that offers no TLS instead of going in clear.
inline const QString ExigerTLS = QStringLiteral("ExigerTLS");
inline const QString WindowsStateOp = QStringLiteral("WindowsStateOp");
inline const QString NomDeLaClinique = QStringLiteral("NomDeLaClinique");
inline const QString NoDeTelephone = QStringLiteral("NoDeTelephone");
inline const QString AdresseDeCourriel = QStringLiteral("AdresseDeCourriel");
inline const QString xxDestinataire = QStringLiteral("xxDestinataire");
inline const QString AdresseDuSmtp = QStringLiteral("Adresse du SMTP");

// The default of a key of either store (the main window's for PavoConserveDate).
QString defaut(const QString& cle);

// The value of `cle`, or its default.
QString lire(const MagasinReglages& magasin, const QString& cle);
bool estOui(const QString& valeur);
bool oui(const MagasinReglages& magasin, const QString& cle);
QString ouiNon(bool valeur);  // "OUI" or "NON"
void ecrireOuiNon(MagasinReglages& magasin, const QString& cle, bool valeur);

// The main window's reading of PavoConserveDate: anything but "NON" keeps the date of service
// when a queued patient is loaded.
bool conserverDateDeService(const MagasinReglages& utilisateur);

QString cheminTarnwick(const QString& programme);

// The switches read once at start-up, held until the program ends.
struct Interrupteurs {
    bool SiMotPasse = false;
    bool RappelBES2an = true;
    bool RappelTOUS2an = false;
    bool UtiliseDossierPatient = false;
    bool ChangerDateRappel = true;
    int WindowsStateOp = 0;
};

// FTP logon values: the two settings and the fixed password.
ParametresFtp lireParametresFtp(const MagasinReglages& utilisateur);

}  // namespace parametres
