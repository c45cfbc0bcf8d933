#pragma once
#include "config/configuration.h"
#include "platform/courriel.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class FichierBrut;
class PortDialogue;

// Sending a prepared billing: its files packed with the outside compression program into the
// clinic's archive "AGP" + agency + ".zip" (added to the copy already on the server) and
// uploaded to the sending folder; each successful sending is logged in Sauvramq/LstEnvoie.Dat.
namespace envoi {

constexpr int LongueurJournal = 201;

// What Reqt says of the prepared billing.
struct Requete {
    QString attestation, nombre, demandes, agence, agenceEtSequence;
    qint64 totalCents = 0;
    QString nomRequete() const { return QStringLiteral("R") + agenceEtSequence; }
};
Requete lireRequete(const QByteArray& reqt);

// "$ #,###.00"; widened rather than cut when it must fit `largeur`: the blank after "$" goes
// first, then the thousands separators.
QString montantDollars(qint64 cents, int largeur = 0);

// One 201-byte record of the sending log.
QByteArray enregistrementJournal(const Requete& r, const QDateTime& moment);

// The clinic's identification written with each sending.
struct Clinique {
    QString nom, telephone, courriel;
};
QByteArray identification(const Clinique& c, const QDateTime& moment);

// The mail to the support address: the clinic's identification, the date and time, and the
// request file attached when there is one.
Courriel courrielSoutien(const Clinique& c, const QString& cheminRequete, const QString& serveurSmtp,
                         const QDateTime& moment);
// Sends it once the user agrees; the outcome is told through `dialogues`. True when sent.
bool EcrireAuSoutien(const Courriel& courriel, PortDialogue& dialogues);

// The compression program: in the program folder first, then beside the executable.
QString cheminPaComp(const QString& programme);

struct Envoi {
    QString programme;
    QString dossierTravail;
    QString cheminRequete, cheminDemandes;  // Text1(8), Text1(9)
    ParametresFtp ftp;
    Clinique clinique;
    QString paComp;  // path of the compression program
    std::function<void(int)> progression;
};

// 0 when the payment-request file holds whole records with their marks and its end byte;
// otherwise the number of the first damaged record.
int premierEnregistrementEndommage(const QString& cheminDemandes);

// What the sending window shows when it opens; its refusals are told through `dialogues`.
struct Ouverture {
    bool envoiPossible = false;
    QStringList resume;  // the summary lines
    QString cheminRequete, cheminDemandes;
};
Ouverture ouvrir(const QString& programme, PortDialogue& dialogues);

// How a sending ended: true when the billing was uploaded and logged.
struct Issue {
    bool envoyee = false;
    bool enCours = false;  // another sending of this billing held its request file
    explicit operator bool() const { return envoyee; }
};
inline const QString TexteEnCours = QStringLiteral("Une autre transmission de cette facturation est en cours.");

// The request file of a billing (in Sauvramq) opened and locked for as long as the object lives,
// the lock every sending and every change of the billing online takes; nothing when another
// workstation or window holds it.
std::unique_ptr<FichierBrut> reserver(const QString& cheminRequete);

// One sending at a time of a billing, from any workstation or the command line: its request file
// is held locked for the whole of it, and the billing sent, checked and logged is the one it
// holds, whatever Reqt says meanwhile. Every outcome is told through `dialogues`; the work folder
// is emptied afterwards whatever happened.
Issue Envoyer(const Envoi& e, PortDialogue& dialogues);

}  // namespace envoi
