#include "returns/recuperation.h"

#include "platform/archivezip.h"
#include "platform/arriereplan.h"
#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"
#include "platform/horloge.h"
#include "platform/programmes.h"
#include "platform/sessioncurl.h"
#include "transmission/moduleftp.h"
#include "transmission/verificationretours.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <new>
#include <optional>

namespace recuperation {

namespace {

const QString TitreProgramme = QStringLiteral("Kestrova");

void conserveeSurLeServeur(PortDialogue& d, const QString& archive, const QString& raison) {
    d.message(Icone::Critique, QStringLiteral("Erreur "),
              raison + QStringLiteral("\n\nL'archive %1 est conservée sur le serveur; rien n'y est "
                                      "perdu. Essayez plus tard ou contactez votre fournisseur.")
                           .arg(archive));
}

// An archive that can never be unpacked is set aside on the server under a name that says when
// and why, so that the fetches that follow are not stopped by it; its local copy is dropped.
void mettreDeCote(const ParametresFtp& ftp, const QString& archive, const QString& cheminLocal,
                  const QString& raison, const QString& cause, PortDialogue& d, Resultat& r) {
    QFile::remove(cheminLocal);
    r.archiveMiseDeCote = executerEnArrierePlan(
        [&] { return ModuleFTP::MettreDeCoteFtpFile(ftp, ModuleFTP::DossierRetours, archive, raison); });
    if (r.archiveMiseDeCote.isEmpty()) {
        conserveeSurLeServeur(d, archive, cause);
        return;
    }
    d.message(Icone::Critique, QStringLiteral("Erreur "),
              cause + QStringLiteral("\n\nElle a été mise de côté sur le serveur sous le nom %1, où elle "
                                     "reste à consulter; aucun retour n'en a été classé. Les prochaines "
                                     "vérifications du serveur se feront normalement.\n\nContactez votre "
                                     "fournisseur pour obtenir les retours qu'elle contenait.")
                          .arg(r.archiveMiseDeCote));
}

// The members the archiver must have unpacked, once the whole archive is known to be safe;
// nothing when it is not (the user is told).
std::optional<QList<archivezip::Membre>> membresSurs(const ParametresFtp& ftp, const QString& chemin,
                                                     const QString& archive, PortDialogue& d, Resultat& r) {
    QList<archivezip::Membre> membres;
    try {
        membres = archivezip::lire(chemin);
    } catch (const archivezip::ArchiveIllisible& e) {
        mettreDeCote(ftp, archive, chemin, QStringLiteral("illisible"), e.description(), d, r);
        return std::nullopt;
    } catch (const ErreurFichier& e) {
        conserveeSurLeServeur(d, archive, erreurs::texte(e));
        return std::nullopt;
    }
    for (const archivezip::Membre& m : membres)
        if (!archivezip::nomSur(m.nom)) {
            mettreDeCote(ftp, archive, chemin, QStringLiteral("refusee"),
                         QStringLiteral("L'archive %1 contient « %2 », qui n'est pas un simple nom de "
                                        "fichier. Par prudence, rien n'en a été extrait.")
                             .arg(archive, m.nom),
                         d, r);
            return std::nullopt;
        }
    return membres;
}

// Why the archive did not arrive after the download begun at connection `avant`; blank when
// the server answered that it holds none.
QString raisonNonRecue(quint64 avant, const QString& local) {
    const Connexion c = derniereConnexion();
    if (c.numero != avant && c.code != CURLE_OK)
        return raisonEchec(c);
    // Nothing asked of the server, or the transfer complete: the local copy could not be made.
    return QStringLiteral("L'archive reçue du serveur n'a pas pu être enregistrée : %1")
        .arg(QDir::toNativeSeparators(local));
}

// Files one unpacked return in Sauvramq, under a name of its own when Sauvramq keeps another
// file of its name, and lists it.
void classer(const QString& programme, const QString& travail, const archivezip::Membre& m,
             QDate aujourdhui, Resultat& r) {
    QString copie = QDir(travail).filePath(m.nom);
    if (!dossiers::FichierExiste(copie) || fichiers::lire(copie) != m.octets)
        throw ErreurFichier(erreurs::AccesChemin,
                            QStringLiteral("Le fichier %1 n'a pas été extrait de l'archive tel qu'il y est.")
                                .arg(m.nom));
    const QString nom = retours::nomDeClassement(programme, m.nom, m.octets);
    if (nom != m.nom) {
        // The work copy takes the same name, so that printing it files it where it belongs.
        const QString renommee = QDir(travail).filePath(nom);
        fichiers::renommer(copie, renommee);
        r.fichiersDeTravail.replaceInStrings(copie, renommee);
        copie = renommee;
    }
    retours::deposer(programme, copie);
    const QString garde = dossiers::resoudre(retours::dossierArchives(programme), nom);
    if (fichiers::lire(garde) != m.octets)
        throw ErreurFichier(erreurs::AccesChemin,
                            QStringLiteral("La copie de %1 dans le dossier des archives ne correspond pas à "
                                           "l'original.")
                                .arg(nom),
                            garde);
    if (nom != m.nom)
        r.renommes << Renomme{m.nom, nom};
    r.lignes << retours::resumer(nom, m.octets, aujourdhui);
}

void annoncerRenommes(const QList<Renomme>& renommes, PortDialogue& d) {
    if (renommes.isEmpty())
        return;
    QStringList textes;
    for (const Renomme& r : renommes)
        textes << QStringLiteral("Le dossier des archives garde déjà un fichier %1 dont le contenu est "
                                 "différent; il est conservé tel quel. Le nouveau retour reçu sous ce nom "
                                 "est classé sous le nom %2.")
                      .arg(r.recu, r.classe);
    d.message(Icone::Exclamation, TitreProgramme, textes.join(QStringLiteral("\n\n")));
}

Resultat recuperer(const QString& programme, const ParametresFtp& ftp, const QString& archive,
                   PortDialogue& d) {
    Resultat resultat;
    const QString travail = dossiers::dossierTravail(programme);
    const QString cheminArchive = QDir(travail).filePath(archive);
    const quint64 avant = derniereConnexion().numero;
    const bool recue = executerEnArrierePlan([&] { return ModuleFTP::GetFtpFile(ftp, archive, travail); });
    if (!recue) {
        // A server not reached, a refused TLS connection, an archive not written: not an empty
        // server; the user hears why.
        if (const QString raison = raisonNonRecue(avant, cheminArchive); !raison.isEmpty()) {
            d.message(Icone::Critique, QStringLiteral("Erreur "), raison);
            return resultat;
        }
        resultat.rienSurLeServeur = true;
        d.message(Icone::Exclamation, QStringLiteral("Message"),
                  QStringLiteral("IL N'Y A AUCUN FICHIER SUR LE SERVEUR.\n\nESSAYEZ PLUS TARD."));
        return resultat;
    }
    resultat.fichiersDeTravail << cheminArchive;
    const QString archiveur = programmes::chemin(programme, QStringLiteral("PowerArc"));
    if (archiveur.isEmpty()) {
        d.message(Icone::Critique, QStringLiteral("Erreur "),
                  QStringLiteral("ATTENTION !!!\n\nLe fichier PaComp n'est pas trouvé, contactez votre "
                                 "fournisseur."));
        return resultat;
    }
    auto membres = membresSurs(ftp, cheminArchive, archive, d, resultat);
    if (!membres)
        return resultat;
    for (const archivezip::Membre& m : *membres)
        resultat.fichiersDeTravail << QDir(travail).filePath(m.nom);
    const programmes::Issue issue = executerEnArrierePlan([&] {
        return programmes::executer(archiveur,
                                    {QStringLiteral("-e"), QDir::toNativeSeparators(cheminArchive),
                                     QDir::toNativeSeparators(travail) + QDir::separator()},
                                    delaiArchiveurMs);
    });
    if (!issue.reussi()) {
        conserveeSurLeServeur(d, archive,
                              QStringLiteral("Le fichier %1 n'a pas pu être décompressé.\n\n").arg(archive) +
                                  issue.description(QStringLiteral("PowerArc")));
        return resultat;
    }
    d.message(Icone::Exclamation, TitreProgramme,
              QStringLiteral("Votre agence a été identifiée sur le serveur.\n\nCliquez sur Ok pour poursuivre."));

    // The return files in the order a folder listing gives them.
    std::sort(membres->begin(), membres->end(), [](const auto& a, const auto& b) {
        return a.nom.compare(b.nom, Qt::CaseInsensitive) < 0;
    });
    QStringList problemes;
    const QDate aujourdhui = Horloge::aujourdhui();
    for (const archivezip::Membre& m : *membres) {
        if (retours::genre(m.nom) == retours::Genre::Aucun)
            continue;
        try {
            classer(programme, travail, m, aujourdhui, resultat);
        } catch (const ErreurFichier& e) {
            problemes << erreurs::texte(e);
        }
    }
    if (!problemes.isEmpty()) {
        conserveeSurLeServeur(d, archive, problemes.join(QLatin1Char('\n')));
        return resultat;
    }
    resultat.archiveSupprimee =
        ModuleFTP::DelFtpFile(ftp.serveur, ftp.utilisateur, ftp.motDePasse, ModuleFTP::DossierRetours,
                              archive, d) != 0;
    annoncerRenommes(resultat.renommes, d);
    d.message(Icone::Exclamation, TitreProgramme,
              QStringLiteral("Sélectionnez un ou le fichier dans la liste pour impression."));
    return resultat;
}

}  // namespace

Resultat Recuperer(const QString& programme, const ParametresFtp& ftp, const QString& agence,
                   PortDialogue& d) {
    Sablier sablier(d);
    const QString archive = verificationretours::nomArchive(agence.trimmed());
    try {
        return recuperer(programme, ftp, archive, d);
    } catch (const std::bad_alloc&) {
        // Nothing is deleted on the server before every return is kept, so nothing is lost.
        conserveeSurLeServeur(d, archive,
                              QStringLiteral("La mémoire manque pour traiter l'archive %1.").arg(archive));
        return {};
    }
}

}  // namespace recuperation
