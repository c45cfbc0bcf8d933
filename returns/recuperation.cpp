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
#include <algorithm>
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

// The members the archiver must have unpacked, once the whole archive is known to be safe;
// nothing when it is not (the user is told).
std::optional<QList<archivezip::Membre>> membresSurs(const QString& chemin, const QString& archive,
                                                     PortDialogue& d) {
    QList<archivezip::Membre> membres;
    try {
        membres = archivezip::lire(chemin);
    } catch (const ErreurFichier& e) {
        conserveeSurLeServeur(d, archive, erreurs::texte(e));
        return std::nullopt;
    }
    for (const archivezip::Membre& m : membres)
        if (!archivezip::nomSur(m.nom)) {
            conserveeSurLeServeur(
                d, archive,
                QStringLiteral("L'archive %1 contient « %2 », qui n'est pas un simple nom de fichier. "
                               "Par prudence, rien n'en a été extrait.")
                    .arg(archive, m.nom));
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

}  // namespace

Resultat Recuperer(const QString& programme, const ParametresFtp& ftp, const QString& agence,
                   PortDialogue& d) {
    Sablier sablier(d);
    Resultat resultat;
    const QString travail = dossiers::dossierTravail(programme);
    const QString archive = verificationretours::nomArchive(agence.trimmed());
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
    auto membres = membresSurs(cheminArchive, archive, d);
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
        const QString copie = QDir(travail).filePath(m.nom);
        try {
            if (!dossiers::FichierExiste(copie) || fichiers::lire(copie) != m.octets)
                throw ErreurFichier(erreurs::AccesChemin,
                                    QStringLiteral("Le fichier %1 n'a pas été extrait de l'archive tel qu'il y est.")
                                        .arg(m.nom));
            retours::deposer(programme, copie);
            const QString garde = dossiers::resoudre(retours::dossierArchives(programme), m.nom);
            if (fichiers::lire(garde) != m.octets)
                throw ErreurFichier(erreurs::AccesChemin,
                                    QStringLiteral("La copie de %1 dans le dossier des archives ne "
                                                   "correspond pas à l'original.")
                                        .arg(m.nom),
                                    garde);
            resultat.lignes << retours::resumer(m.nom, m.octets, aujourdhui);
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
    d.message(Icone::Exclamation, TitreProgramme,
              QStringLiteral("Sélectionnez un ou le fichier dans la liste pour impression."));
    return resultat;
}

}  // namespace recuperation
