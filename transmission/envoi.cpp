#include "transmission/envoi.h"

#include "config/facturatlex.h"
#include "config/parametres.h"
#include "config/fichierconfiguration.h"
#include "platform/arriereplan.h"
#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichierbrut.h"
#include "platform/fichiers.h"
#include "platform/horloge.h"
#include "platform/programmes.h"
#include "platform/reprise.h"
#include "platform/sessioncurl.h"
#include "records/champs.h"
#include "records/encodage.h"
#include "records/facture.h"
#include "records/fichierenregistrements.h"
#include "records/fichierfactures.h"
#include "records/procedures.h"
#include "transmission/moduleftp.h"

#include <QDir>
#include <QFileInfo>
#include <zip.h>

namespace envoi {

namespace {

constexpr int DelaiCompressionMs = 60000;

const QString TitreServeur = QStringLiteral("Serveur ramq");

QString texte(const QByteArray& octets, int colonne, int largeur) {
    return encodage::depuisOctets(octets.mid(colonne - 1, largeur));
}

// Runs the compression program over every file of `dossier` and waits for it; false when it
// could not run or failed.
bool compresser(const Envoi& e, const QString& dossier, const QString& archive) {
    return programmes::executer(e.paComp,
                                {QStringLiteral("-aP"), archive, QDir(dossier).filePath(QStringLiteral("*.*"))},
                                DelaiCompressionMs)
               .reussi() &&
           QFileInfo(archive).size() > 0;
}

void copierDans(const QString& source, const QString& dossier) {
    fichiers::copierAtomique(source, QDir(dossier).filePath(QFileInfo(source).fileName()));
}

}  // namespace

Requete lireRequete(const QByteArray& reqt) {
    Requete r;
    r.attestation = texte(reqt, 22, 7);
    r.nombre = texte(reqt, 88, 6);
    r.totalCents = champs::valeur(reqt.mid(93, 9));
    r.demandes = texte(reqt, 103, 8);
    r.agence = texte(reqt, 104, 5);
    r.agenceEtSequence = texte(reqt, 104, 7);
    return r;
}

QString montantDollars(qint64 cents, int largeur) {
    QString m = QStringLiteral("$ ") + formatMontant(cents, true);
    if (largeur > 0 && m.size() > largeur)
        m.remove(1, 1);
    if (largeur > 0 && m.size() > largeur)
        m.remove(QLatin1Char(','));
    return m;
}

QByteArray enregistrementJournal(const Requete& r, const QDateTime& moment) {
    Enregistrement e(LongueurJournal);
    e.ecrireTexte(1, 8, r.nomRequete());
    e.ecrireTexte(9, 7, r.attestation);
    e.ecrireTexte(16, 6, r.nombre);
    e.ecrireTexte(22, 10, montantDollars(r.totalCents, 10));
    e.ecrireTexte(32, 20, moment.toString(QStringLiteral("yyyyMMddHH:mm:ss")));
    return e.octets();
}

QByteArray identification(const Clinique& c, const QDateTime& moment) {
    const QString version = QStringLiteral(" %1 %2 %3")
                                .arg(QStringLiteral(KESTROVA_VERSION_MAJEURE))
                                .arg(QStringLiteral(KESTROVA_VERSION_MINEURE))
                                .arg(QStringLiteral(KESTROVA_VERSION_REVISION));
    const QStringList lignes = {
        c.nom, c.telephone, c.courriel,
        QStringLiteral("Date: ") + moment.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")),
        QStringLiteral("Version: ") + version};
    return encodage::versOctets(lignes.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

Courriel courrielSoutien(const Clinique& c, const QString& cheminRequete, const QString& serveurSmtp,
                         const QDateTime& moment) {
    Courriel m;
    m.serveur = serveurSmtp;
    m.expediteur = c.courriel;
    m.destinataire = parametres::AdresseSoutien;
    m.sujet = QStringLiteral("FACTURATION À LA RAMQ");
    m.corps = QStringList{QStringLiteral("Clinique: ") + c.nom, c.telephone, c.courriel,
                          moment.toString(QStringLiteral("yyyyMMdd")),
                          moment.toString(QStringLiteral("HH:mm:ss"))}
                  .join(QStringLiteral("\r\n")) +
              QStringLiteral("\r\n");
    if (!cheminRequete.isEmpty() && dossiers::FichierExiste(cheminRequete))
        m.piecesJointes << cheminRequete;
    return m;
}

bool EcrireAuSoutien(const Courriel& courriel, PortDialogue& d) {
    const QString titre = QStringLiteral("Courriel au soutien technique");
    const QString joint = courriel.piecesJointes.isEmpty()
                              ? QString()
                              : QStringLiteral(", avec votre fichier requête %1,")
                                    .arg(QFileInfo(courriel.piecesJointes.first()).fileName());
    if (d.question(Icone::Question, titre,
                   QStringLiteral("Envoyer un courriel%1 au soutien technique (%2) ?")
                       .arg(joint, courriel.destinataire),
                   Boutons::OuiNon, 0) != Reponse::Oui)
        return false;
    std::optional<QString> erreur;
    {
        Sablier sablier(d);
        erreur = executerEnArrierePlan([&] { return envoyerCourriel(courriel); });
    }
    if (erreur) {
        d.message(Icone::Critique, titre,
                  QStringLiteral("Le message n'a pas pu être expédié.") + QStringLiteral("\n\n") + *erreur);
        return false;
    }
    d.message(Icone::Information, titre,
              QStringLiteral("Votre message a été envoyé au soutien technique (%1).").arg(courriel.destinataire));
    return true;
}

QString cheminPaComp(const QString& programme) {
    return programmes::chemin(programme, QStringLiteral("PaComp"));
}

int premierEnregistrementEndommage(const QString& cheminDemandes) {
    const QByteArray octets = fichiers::lire(cheminDemandes);
    const qsizetype entiers = (octets.size() - 1) / facture::Longueur;
    for (qsizetype i = 0; i < entiers; ++i)
        if (!facture::marquesValides(QByteArrayView(octets).sliced(i * facture::Longueur, facture::Longueur)))
            return static_cast<int>(i + 1);
    if (octets.isEmpty() || octets.size() % facture::Longueur != 1 || !octets.endsWith('\x1a'))
        return static_cast<int>(entiers + 1);
    return 0;
}

Ouverture ouvrir(const QString& programme, PortDialogue& d) {
    Ouverture o;
    const QString dossier = QDir::toNativeSeparators(programme);
    const QString reqt = dossiers::resoudre(programme, QStringLiteral("Reqt"));
    if (!dossiers::FichierExiste(reqt)) {
        d.message(Icone::Critique, QStringLiteral("Message"),
                  QStringLiteral("Le fichier requête(reqt) dans le dossier %1 n'est pas trouvé.")
                      .arg(dossier));
        return o;
    }
    Requete r;
    try {
        r = lireRequete(fichiers::lire(reqt));
    } catch (const ErreurFichier& x) {
        d.message(Icone::Critique, QStringLiteral("Erreur"), x.description());
        return o;
    }
    const QString sauvegarde = fichierfactures::dossierSauvegarde(programme);
    const QString demandes = dossiers::resoudre(sauvegarde, r.demandes);
    o.envoiPossible = dossiers::FichierExiste(demandes);
    if (!o.envoiPossible)
        d.message(Icone::Critique, QStringLiteral("Message"),
                  QStringLiteral("Le fichier de demande de paiements dans le dossier %1 n'est "
                                 "pas trouvé.")
                      .arg(dossier));
    else if (const int endommage = premierEnregistrementEndommage(demandes)) {
        // A billing damaged since it was prepared is never sent.
        o.envoiPossible = false;
        d.message(Icone::Critique, QStringLiteral("Message"),
                  QStringLiteral("Le fichier de demandes de paiement %1 est endommagé à partir de "
                                 "l'enregistrement numéro %2 : il ne peut pas être envoyé.\n\n"
                                 "Communiquez avec le soutien technique.")
                      .arg(QDir::toNativeSeparators(demandes))
                      .arg(endommage));
    }
    const QDateTime maintenant = Horloge::maintenant();
    o.resume = {QStringLiteral("Agence: ") + r.agence,
                QStringLiteral("Attestation: ") + r.attestation,
                QStringLiteral("Nombre de factures: ") + r.nombre,
                QStringLiteral("Montant: ") + montantDollars(r.totalCents),
                QStringLiteral("Requête: R") + r.agenceEtSequence,
                QStringLiteral("Demandes de paiement: D") + r.agenceEtSequence,
                QStringLiteral("Date: ") + maintenant.toString(QStringLiteral("yyyy/MM/dd")),
                QStringLiteral("Heure: ") + maintenant.toString(QStringLiteral("HH:mm:ss"))};
    if (r.totalCents != 0) {
        o.cheminRequete = dossiers::resoudre(sauvegarde, QStringLiteral("R") + r.agenceEtSequence);
        o.cheminDemandes = dossiers::resoudre(sauvegarde, QStringLiteral("D") + r.agenceEtSequence);
    } else {
        d.bip();
        d.message(Icone::Critique, QStringLiteral("Erreur"),
                  QStringLiteral("Il n'y a pas de facturation prête à partir."));
        o.envoiPossible = false;
    }
    return o;
}

namespace {

// Step 2: false when the user does not want to send the same billing twice.
bool confirmerDoublon(const FichierEnregistrements& journal, const Requete& r, PortDialogue& d) {
    const int n = journal.nombre();
    for (int i = 1; i <= n; ++i) {
        if (texte(journal.lire(i), 9, 7) != r.attestation)
            continue;
        d.bip();
        return d.question(Icone::Exclamation, QStringLiteral("Facturation en double"),
                          QStringLiteral("ATTENTION !!!\n\nCette facturation dont le numéro "
                                         "d'attestation est %1, a déja été envoyée à la RAMQ."
                                         "\n\nDésirez-vous l'envoyer une deuxième fois ?")
                              .arg(r.attestation),
                          Boutons::OuiNon, 0) == Reponse::Oui;
    }
    return true;
}

class PaCompIntrouvable : public std::exception {};

// True when the file is a zip archive that can be read whole.
bool archiveLisible(const QString& chemin) {
    int erreur = 0;
    zip_t* z = zip_open(QFile::encodeName(chemin).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &erreur);
    if (!z)
        return false;
    zip_discard(z);
    return true;
}

// Step 6: the clinic's earlier archive, when the server has one. One that cannot be read (a
// sending cut short by an older version, a damaged file) is set aside on the server under a
// name that tells when and why, and the sending goes on with a new archive.
void archivePrecedente(const Envoi& e, const QString& dossier, const QString& nomArchive,
                       PortDialogue& d) {
    // The windows stay painted while the server answers.
    if (!executerEnArrierePlan([&] { return ModuleFTP::GetFtpDpFile(e.ftp, nomArchive, dossier); }))
        return;
    const QString archive = QDir(dossier).filePath(nomArchive);
    if (archiveLisible(archive))
        return;
    QFile::remove(archive);
    const QString aCote = executerEnArrierePlan([&] {
        return ModuleFTP::MettreDeCoteFtpFile(e.ftp, ModuleFTP::DossierEnvoi, nomArchive,
                                              QStringLiteral("illisible"));
    });
    const bool misDeCote = !aCote.isEmpty();
    d.message(Icone::Exclamation, TitreServeur,
              misDeCote ? QStringLiteral("L'archive %1 trouvée sur le serveur est illisible (un "
                                         "envoi précédent a probablement été interrompu).\n\nElle "
                                         "a été mise de côté sur le serveur sous le nom %2.\n\n"
                                         "Votre envoi continue avec une nouvelle archive.")
                              .arg(nomArchive, aCote)
                        : QStringLiteral("L'archive %1 trouvée sur le serveur est illisible et n'a "
                                         "pas pu être mise de côté.\n\nVotre envoi continue avec "
                                         "une nouvelle archive qui la remplacera.")
                              .arg(nomArchive));
}

// Step 11's record in the sending log, with Retry while another workstation holds the log.
bool journaliser(FichierEnregistrements& journal, const Requete& r, PortDialogue& d) {
    return executerAvecReprise(d, TitreServeur, [&] {
        journal.ajouter(enregistrementJournal(r, Horloge::maintenant()));
    });
}

// Steps 4 to 12 in `dossier`, the sending's own clean folder: only the files placed there are
// packed. True when the archive reached the server.
bool envoyerArchive(const Envoi& e, const Requete& r, const QString& dossier,
                    FichierEnregistrements& journal, PortDialogue& d) {
    fichiers::ecrireAtomique(QDir(dossier).filePath(QStringLiteral("Identification.txt")),
                             identification(e.clinique, Horloge::maintenant()));
    copierDans(fichierconfiguration::chemin(e.programme), dossier);
    copierDans(facturatlex::chemin(e.programme), dossier);
    const QString nomArchive = QStringLiteral("AGP") + r.agence + QStringLiteral(".zip");
    const QString archive = QDir(dossier).filePath(nomArchive);
    archivePrecedente(e, dossier, nomArchive, d);
    copierDans(e.cheminRequete, dossier);
    d.message(Icone::Information, QStringLiteral("Vérification"),
              QStringLiteral("Identification de votre Agence %1 sur le serveur\n\n"
                             "Cliquez sur Ok pour poursuivre.")
                  .arg(r.agence));
    copierDans(e.cheminDemandes, dossier);
    if (e.paComp.isEmpty() || !QFileInfo::exists(e.paComp))
        throw PaCompIntrouvable();
    const bool compresse = compresser(e, dossier, archive);
    d.message(Icone::Information, QStringLiteral("Identification"),
              QStringLiteral("Votre agence a été identifiée sur le serveur.\n\n"
                             "Cliquez sur Ok pour poursuivre."));
    if (e.progression)
        e.progression(50);
    // A failed compression is a failed sending: an empty archive is never uploaded.
    if (!compresse || !executerEnArrierePlan([&] {
            return ModuleFTP::PutFtpFile(e.ftp.serveur, e.ftp.utilisateur, e.ftp.motDePasse,
                                         ModuleFTP::DossierEnvoi, nomArchive, archive, 2);
        })) {
        const QString tls = raisonTLS(derniereConnexion().code);
        d.message(Icone::Critique, TitreServeur,
                  QStringLiteral("FICHIER NON TRANSFÉRÉ SUR LE SERVEUR...\n\n"
                                 "PROBLÊME DE COMMUNICATION\n\nVEUILLEZ RÉ-ESSAYER PLUS TARD") +
                      (tls.isEmpty() ? QString() : QStringLiteral("\n\n") + tls));
        return false;
    }
    if (e.progression)
        e.progression(100);
    const bool journalise = journaliser(journal, r, d);
    d.message(Icone::Information, TitreServeur,
              QStringLiteral("Vos factures ont été envoyées avec succès...\n\n"
                             "Votre rapport d'erreur(s)  (Confirmation)\n"
                             "sera généralement disponible dans 24 heures\n"
                             "sauf samedi et dimanche."));
    if (!journalise)
        d.message(Icone::Exclamation, TitreServeur,
                  QStringLiteral("Vos factures ont été envoyées à la RAMQ, mais l'envoi n'a pas "
                                 "pu être inscrit au journal des envois (%1).\n\nUn nouvel envoi "
                                 "de la facturation %2 ne demandera donc pas de confirmation.")
                      .arg(QDir::toNativeSeparators(journal.chemin()), r.attestation));
    return true;
}

}  // namespace

std::unique_ptr<FichierBrut> reserver(const QString& cheminRequete) {
    auto requete = std::make_unique<FichierBrut>(cheminRequete, FichierBrut::Mode::LectureEcriture);
    if (!requete->verrouiller(0))
        return nullptr;
    return requete;
}

Issue Envoyer(const Envoi& e, PortDialogue& d) {
    FichierEnregistrements journal(
        dossiers::resoudre(fichierfactures::dossierSauvegarde(e.programme),
                           QStringLiteral("LstEnvoie.Dat")),
        LongueurJournal);
    // The sending's own folder inside the work folder: what else waits there (the agency's
    // returns) is neither packed nor removed.
    const QString dossier = QDir(e.dossierTravail).filePath(QStringLiteral("Envoi"));
    Issue issue;
    try {
        const auto requete = reserver(e.cheminRequete);
        if (!requete) {
            d.message(Icone::Exclamation, TitreServeur, TexteEnCours);
            issue.enCours = true;
            return issue;  // the other sending's folder is left alone
        }
        // The billing this sending holds, not what Reqt names now: another workstation may
        // have put another billing back online since the window opened.
        const Requete r = lireRequete(requete->toutLire());
        if (!confirmerDoublon(journal, r, d))
            return issue;
        Sablier sablier(d);
        QDir(dossier).removeRecursively();
        QDir().mkpath(dossier);
        issue.envoyee = envoyerArchive(e, r, dossier, journal, d);
    } catch (const PaCompIntrouvable&) {
        d.message(Icone::Critique, QStringLiteral("Erreur "),
                  QStringLiteral("ATTENTION !!!\n\nLe fichier PaComp n'est pas trouvé, "
                                 "contactez votre fournisseur."));
    } catch (const ErreurFichier& x) {
        d.message(Icone::Critique, QStringLiteral("Erreur"), erreurs::texte(x));
    }
    QDir(dossier).removeRecursively();
    return issue;
}

}  // namespace envoi
