#include "backup/sauvegarde.h"

#include "config/facturatlex.h"
#include "entry/filepatients.h"
#include "platform/archivezip.h"
#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichierbrut.h"
#include "platform/fichiers.h"
#include "platform/horloge.h"
#include "platform/reglages.h"
#include "records/fichierfactures.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <memory>
#include <vector>

namespace sauvegarde {

int delaiAttenteMs = 30000;

namespace {

const QString TitreSauvegarde = QStringLiteral("Sauvegarde des données");
const QString TitreRestauration = QStringLiteral("Restauration des données");
const QString NonFaite = QStringLiteral("\n\nLa sauvegarde n'a pas été faite ; refaites-la quand ce sera terminé.");

// The folders of the program folder that are not the clinic's data: the work folder, the
// printed documents and the saved archives. Kept in place when a folder is replaced.
const QStringList DossiersExclus = {QStringLiteral("Developpe"), QStringLiteral("Impressions"),
                                    QStringLiteral("Sauvegardes")};

// An archive as big as a busy clinic's folder may be, once unpacked.
constexpr qint64 MaximumMembre = qint64(1) << 30, MaximumTotal = qint64(16) << 30;

// A save or a restore that cannot be done, with the text the user reads.
struct Refus {
    QString texte;
};

// A record file that another workstation keeps locked past the delay.
struct Occupe {
    QString chemin;
};

// A file listed that was gone when read: another workstation moved it meanwhile.
struct Disparu {};

bool estTemporaire(const QString& nom) { return nom.startsWith(QLatin1String(".~")); }

// A member's name as the archive of a clinic folder holds it: a relative path whose every
// component is a plain name (no "..", no drive, no "\"), a folder ending with "/".
bool nomRestaurable(const QString& nom) {
    QString n = nom;
    if (n.endsWith(QLatin1Char('/')))
        n.chop(1);
    const QStringList parties = n.split(QLatin1Char('/'));
    return !n.isEmpty() && std::all_of(parties.begin(), parties.end(), [](const QString& p) {
        return archivezip::nomSur(p) && !estTemporaire(p);
    });
}

// The top folder of `relatif` ("Sauvramq" of "Sauvramq/Ftmp.Fil"), empty for a file at the top.
QString premierDossier(const QString& relatif) {
    const qsizetype barre = relatif.indexOf(QLatin1Char('/'));
    return barre < 0 ? QString() : relatif.left(barre);
}

bool dossierExclu(const QString& dossier, const QStringList& autres) {
    const auto egal = [&](const QString& n) { return n.compare(dossier, Qt::CaseInsensitive) == 0; };
    return std::any_of(DossiersExclus.begin(), DossiersExclus.end(), egal) ||
           std::any_of(autres.begin(), autres.end(), egal);
}

// True when `relatif` is the folder `dossier` or lies under it.
bool sousDossier(const QString& relatif, const QString& dossier) {
    return relatif.compare(dossier, Qt::CaseInsensitive) == 0 ||
           relatif.startsWith(dossier + QLatin1Char('/'), Qt::CaseInsensitive);
}

// An archive of a save, of this clinic or another: never saved again inside a new one, wherever
// it was written.
bool nomDArchive(const QString& nom) {
    static const QRegularExpression motif(QStringLiteral("^Kestrova-.+-\\d{8}-\\d{6}\\.zip$"),
                                          QRegularExpression::CaseInsensitiveOption);
    return motif.match(nom).hasMatch();
}

// The path of `chemin` relative to `programme` ("Sauvramq/Copies"), when it lies inside it; empty
// outside it and for the folder itself.
QString dossierDansProgramme(const QString& programme, const QString& chemin) {
    const QString base = dossiers::cheminReel(programme) + QLatin1Char('/');
    const QString reel = dossiers::cheminReel(chemin) + QLatin1Char('/');
    if (!reel.startsWith(base) || reel == base)
        return {};
    return reel.mid(base.size()).chopped(1);
}

// The file at `chemin` opened and locked, the one the path names once the lock is had (a
// rewrite may replace it meanwhile); nothing when there is no file. Occupe past `delaiMs`.
std::unique_ptr<FichierBrut> verrouillerExistant(const QString& chemin, int delaiMs) {
    for (;;) {
        if (!dossiers::FichierExiste(chemin))
            return nullptr;
        std::unique_ptr<FichierBrut> f;
        try {
            f = std::make_unique<FichierBrut>(chemin, FichierBrut::Mode::LectureEcriture);
        } catch (const ErreurFichier& e) {
            if (e.numero() == erreurs::FichierIntrouvable)
                return nullptr;
            throw;
        }
        if (!f->verrouiller(delaiMs))
            throw Occupe{chemin};
        if (f->toujoursAuChemin())
            return f;
        if (!dossiers::FichierExiste(chemin))
            return nullptr;
    }
}

QString nomEnMajuscules(const QString& chemin) { return QFileInfo(chemin).fileName().toUpper(); }

// Every file and folder of the clinic, read while the record files are locked and nothing is
// under way, with the per-user settings last.
struct Instantane {
    QList<archivezip::Membre> membres;
    int fichiers = 0;
    qint64 octets = 0;
};

class Photographe {
public:
    Photographe(const QString& programme, const QStringList& autresExclus,
                const std::function<void(int)>& progression)
        : programme_(programme), autresExclus_(autresExclus), progression_(progression) {}

    Instantane prendre() {
        verrouiller();
        Instantane instantane;
        const QStringList noms = lister();
        for (int i = 0; i < noms.size(); ++i) {
            const QString& nom = noms[i];
            archivezip::Membre m{nom, {}};
            if (!nom.endsWith(QLatin1Char('/'))) {
                const QString chemin = QDir(programme_).filePath(nom);
                if (const auto v = verrous_.find(QFileInfo(chemin).absoluteFilePath()); v != verrous_.end()) {
                    m.octets = v->second->toutLire();
                } else {
                    try {
                        m.octets = fichiers::lire(chemin);
                    } catch (const ErreurFichier& e) {
                        if (e.numero() == erreurs::FichierIntrouvable)
                            throw Disparu{};
                        throw;
                    }
                }
                ++instantane.fichiers;
                instantane.octets += m.octets.size();
            }
            instantane.membres << m;
            if (progression_)
                progression_(30 * (i + 1) / noms.size());
        }
        verrous_.clear();
        return instantane;
    }

private:
    void garder(std::unique_ptr<FichierBrut> f) {
        if (f) {
            const QString cle = QFileInfo(f->chemin()).absoluteFilePath();
            verrous_.emplace(cle, std::move(f));
        }
    }

    // In the order the other procedures take them, so that no two wait for each other: the
    // import's work file, the invoices in memory, the billings being sent, then the appended files.
    void verrouiller() {
        const QString sauvramq = fichierfactures::dossierSauvegarde(programme_);
        const QString travail = filepatients::cheminTravail(programme_);
        try {
            auto imp = verrouillerExistant(travail, delaiAttenteMs);
            if (imp)
                throw Refus{QStringLiteral("Une importation de patients interrompue n'est pas terminée (%1).\n\n"
                                           "Ouvrez le logiciel, qui la termine, puis refaites la sauvegarde.")
                                .arg(nomEnMajuscules(travail))};
        } catch (const Occupe&) {
            throw Refus{QStringLiteral("Une importation de patients est en cours sur un autre poste de travail.") +
                        NonFaite};
        }
        try {
            garder(verrouillerExistant(fichierfactures::cheminFtmp(programme_), delaiAttenteMs));
        } catch (const Occupe&) {
            throw Refus{QStringLiteral("Une préparation de la facturation ou l'enregistrement d'une facture est en "
                                       "cours sur un autre poste de travail.") +
                        NonFaite};
        }
        const QString intention = dossiers::resoudre(sauvramq, QStringLiteral("Prepa.Enc"));
        if (dossiers::FichierExiste(intention))
            throw Refus{QStringLiteral("Une préparation de la facturation interrompue n'est pas terminée (PREPA.ENC)."
                                       "\n\nOuvrez le logiciel, qui l'annule ou la termine, puis refaites la "
                                       "sauvegarde.")};
        // A sending holds the lock of its request file from start to end.
        const QString agence = facturatlex::agence(programme_);
        try {
            for (const QString& nom : dossiers::chercher(sauvramq, QStringLiteral("R") + agence + QStringLiteral("*")))
                garder(verrouillerExistant(QDir(sauvramq).filePath(nom), delaiAttenteMs));
        } catch (const Occupe&) {
            throw Refus{QStringLiteral("Une transmission à la RAMQ est en cours sur un autre poste de travail.") +
                        NonFaite};
        }
        QStringList ajoutes = {filepatients::fichier(programme_).chemin()};
        for (const QString& nom : dossiers::chercher(sauvramq, QStringLiteral("STA*.Dat")))
            ajoutes << QDir(sauvramq).filePath(nom);
        for (const QString& nom : {QStringLiteral("LstEnvoie.Dat"), QStringLiteral("Suivi.Dat")})
            ajoutes << dossiers::resoudre(sauvramq, nom);
        for (const QString& chemin : ajoutes) {
            try {
                garder(verrouillerExistant(chemin, delaiAttenteMs));
            } catch (const Occupe&) {
                throw Refus{QStringLiteral("Le fichier %1 est utilisé par un autre poste de travail.")
                                .arg(QDir::toNativeSeparators(chemin)) +
                            NonFaite};
            }
        }
    }

    // The relative names of the clinic's files and folders ("Sauvramq/Ftmp.Fil", "Patient/"),
    // sorted; the temporaries of rewrites under way are no part of it.
    QStringList lister() const {
        QStringList noms;
        qint64 total = 0;
        QDirIterator i(programme_, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories);
        const QDir base(programme_);
        while (i.hasNext()) {
            const QString chemin = i.next();
            const QFileInfo info = i.fileInfo();
            const QString relatif = base.relativeFilePath(chemin);
            const QString haut = premierDossier(relatif);
            if ((haut.isEmpty() && info.isDir() && dossierExclu(relatif, {})) ||
                (!haut.isEmpty() && dossierExclu(haut, {})))
                continue;
            if (std::any_of(autresExclus_.begin(), autresExclus_.end(),
                            [&](const QString& a) { return sousDossier(relatif, a); }))
                continue;
            const QString nom = info.fileName();
            if (nom.startsWith(QLatin1String(".~")) || info.isSymLink() || (info.isFile() && nomDArchive(nom)))
                continue;
            // Saved, it would make an archive that no restore takes.
            if (!nomRestaurable(relatif))
                throw Refus{QStringLiteral("Le nom de %1 ne pourrait pas être recréé par une restauration (il "
                                           "contient un des caractères \\ : * ? \" < > | ou dépasse 128 "
                                           "caractères).\n\nLa sauvegarde n'a pas été faite : renommez-le ou sortez-le du dossier de "
                                           "la clinique, puis refaites-la.")
                                .arg(QDir::toNativeSeparators(chemin))};
            // Too big to be read back, and so to be saved: told before anything is read.
            total += info.isFile() ? info.size() : 0;
            if (info.isFile() && (info.size() > MaximumMembre || total > MaximumTotal))
                throw Refus{QStringLiteral("Le fichier %1 fait %2 Mio : une sauvegarde contient au plus %3 Mio par "
                                           "fichier et %4 Mio en tout.\n\nLa sauvegarde n'a pas été faite : sortez "
                                           "du dossier de la clinique ce qui n'est pas à elle, puis refaites-la.")
                                .arg(QDir::toNativeSeparators(chemin))
                                .arg(info.size() >> 20)
                                .arg(MaximumMembre >> 20)
                                .arg(MaximumTotal >> 20)};
            noms << (info.isDir() ? relatif + QLatin1Char('/') : relatif);
        }
        noms.sort();
        return noms;
    }

    QString programme_;
    QStringList autresExclus_;
    std::function<void(int)> progression_;
    std::map<QString, std::unique_ptr<FichierBrut>> verrous_;
};

// Reads the archive back and compares it with what was put in it, member by member: libzip
// checks each member's CRC while unpacking it, and every name, size and byte must match.
void relire(const QString& chemin, const QList<archivezip::Membre>& membres, const std::function<void(int)>& progression) {
    qsizetype i = 0;
    const auto different = [&](const QString& cause) {
        throw ErreurFichier(erreurs::AccesChemin,
                            QStringLiteral("L'archive écrite ne correspond pas aux fichiers lus (%1).").arg(cause),
                            chemin);
    };
    archivezip::parcourir(chemin, MaximumMembre, MaximumTotal, [&](const archivezip::Membre& lu) {
        if (i >= membres.size())
            different(QStringLiteral("un membre de trop"));
        const archivezip::Membre& attendu = membres[i++];
        if (lu.nom != attendu.nom)
            different(QStringLiteral("« %1 » à la place de « %2 »").arg(lu.nom, attendu.nom));
        if (lu.octets.size() != attendu.octets.size() || lu.octets != attendu.octets)
            different(QStringLiteral("le membre « %1 » diffère").arg(lu.nom));
        if (progression)
            progression(70 + int(30 * i / membres.size()));
    });
    if (i != membres.size())
        different(QStringLiteral("il manque %1 membres").arg(membres.size() - i));
}

// Temporaries of saves of this clinic stopped by a kill or a crash more than an hour ago.
void nettoyerTemporaires(const QString& destination, const QString& agence) {
    const QDir dossier(destination);
    const QDateTime limite = QDateTime::currentDateTime().addSecs(-3600);
    for (const QFileInfo& f : dossier.entryInfoList({QStringLiteral(".~Kestrova-") + agence + QStringLiteral("-*")},
                                                    QDir::Files | QDir::Hidden))
        if (f.lastModified() < limite)
            QFile::remove(f.absoluteFilePath());
}

// The archive written, checked and renamed to the name of the moment it is complete; nothing
// left under any name on a failure. An archive of the same second (two saves in a row, another
// workstation) is never replaced: the name is taken from the next second.
QString ecrireArchive(const QString& destination, const QString& agence, const Instantane& instantane,
                      const std::function<void(int)>& progression) {
    QString final = QDir(destination).filePath(nomArchive(agence, Horloge::maintenant()));
    const QString temporaire = fichiers::cheminTemporaire(final);
    QFile::remove(temporaire);
    try {
        archivezip::ecrire(temporaire, instantane.membres, [&](int part) {
            if (progression)
                progression(30 + part * 40 / 100);
        });
        relire(temporaire, instantane.membres, progression);
        QDateTime moment = Horloge::maintenant();
        for (int essai = 0;; ++essai) {
            final = QDir(destination).filePath(nomArchive(agence, moment));
            if (fichiers::renommerSansRemplacer(temporaire, final))
                break;
            if (essai == 10)
                throw erreurs::erreur(erreurs::FichierExistant, final);
            QThread::msleep(std::max(1, 1000 - moment.time().msec()));
            const QDateTime suivant = Horloge::maintenant();
            moment = suivant.toSecsSinceEpoch() > moment.toSecsSinceEpoch() ? suivant : moment.addSecs(1);
        }
        return final;
    } catch (const archivezip::ArchiveIllisible&) {
        QFile::remove(temporaire);
        throw;
    } catch (const ErreurFichier& e) {
        QFile::remove(temporaire);
        throw ErreurFichier(e.numero(), e.description(), final);  // the name the user will look for
    } catch (...) {
        QFile::remove(temporaire);
        throw;
    }
}

}  // namespace

QString nomArchive(const QString& agence, const QDateTime& moment) {
    return QStringLiteral("Kestrova-%1-%2.zip").arg(agence, moment.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

QString destinationParDefaut(const QString& programme, const MagasinReglages& utilisateur) {
    const QString derniere = utilisateur.lire(DossierSauvegardes, {});
    return derniere.isEmpty() ? QDir(programme).filePath(QStringLiteral("Sauvegardes")) : derniere;
}

QStringList tourner(const QString& dossier, const QString& agence, int garder, const QString& epargnee) {
    const QRegularExpression motif(QStringLiteral("^Kestrova-%1-\\d{8}-\\d{6}\\.zip$")
                                       .arg(QRegularExpression::escape(agence)));
    QStringList archives;
    const QString epargneeReelle = epargnee.isEmpty() ? QString() : dossiers::cheminReel(epargnee);
    for (const QString& nom : QDir(dossier).entryList(QDir::Files | QDir::NoSymLinks))
        if (motif.match(nom).hasMatch() && dossiers::cheminReel(QDir(dossier).filePath(nom)) != epargneeReelle)
            archives << nom;
    archives.sort();  // the date and time in the name: oldest first
    QStringList supprimees;
    for (qsizetype i = 0; i + garder < archives.size(); ++i)
        if (QFile::remove(QDir(dossier).filePath(archives[i])))
            supprimees << archives[i];
    return supprimees;
}

Resultat Sauvegarder(const QString& programme, const Demande& demande, MagasinReglages& utilisateur,
                     PortDialogue& d, const std::function<void(int)>& progression) {
    Sablier sablier(d);
    Resultat r;
    const QString destination =
        QDir::cleanPath(QDir(programme).absoluteFilePath(
            demande.vers.isEmpty() ? destinationParDefaut(programme, utilisateur) : demande.vers));
    try {
        const QString agence = facturatlex::agence(programme);
        if (agence.trimmed().isEmpty())
            throw Refus{QStringLiteral("Le numéro d'agence n'est pas connu : FACTURAT.LEX est absent.\n\n"
                                       "Faites l'initialisation (FICHIER, puis Initialisation) avant de sauvegarder.")};
        if (!QDir().mkpath(destination) || !QFileInfo(destination).isDir())
            throw Refus{QStringLiteral("Le dossier de destination %1 ne peut pas être créé.")
                            .arg(QDir::toNativeSeparators(destination))};
        nettoyerTemporaires(destination, agence);
        QStringList autresExclus;
        if (const QString dedans = dossierDansProgramme(programme, destination); !dedans.isEmpty())
            autresExclus << dedans;
        Instantane instantane;
        for (int essai = 0;; ++essai) {
            try {
                instantane = Photographe(programme, autresExclus, progression).prendre();
                break;
            } catch (const Disparu&) {
                if (essai == 2)
                    throw Refus{QStringLiteral("Les fichiers changent sans cesse sur un autre poste de travail.") +
                                NonFaite};
            }
        }
        if (!demande.fichierReglages.isEmpty() && QFileInfo(demande.fichierReglages).isFile())
            instantane.membres << archivezip::Membre{MembreReglages, fichiers::lire(demande.fichierReglages)};
        const QString final = ecrireArchive(destination, agence, instantane, progression);
        fichiers::synchroniserDossier(destination);
        r.archive = final;
        r.fichiers = instantane.fichiers;
        r.octets = instantane.octets;
        // A setting that is not a number of at least 1 keeps the default: never fewer archives
        // than the clinic expects.
        bool lu = false;
        const int reglage = utilisateur.lire(SauvegardesAGarder, {}).trimmed().toInt(&lu);
        const int garder = demande.garder > 0 ? demande.garder : lu && reglage >= 1 ? reglage : AGarderParDefaut;
        r.supprimees = tourner(destination, agence, garder, demande.epargnee);
        utilisateur.ecrire(DossierSauvegardes, destination);
        utilisateur.ecrire(DerniereSauvegarde, Horloge::maintenant().toString(Qt::ISODate));
        r.reussi = true;
        if (progression)
            progression(100);
    } catch (const Refus& refus) {
        d.message(Icone::Exclamation, TitreSauvegarde, refus.texte);
    } catch (const ErreurFichier& e) {
        d.message(Icone::Critique, TitreSauvegarde,
                  QStringLiteral("La sauvegarde n'a pas pu être faite ; aucune archive n'a été gardée.\n\n") +
                      erreurs::texte(e));
    }
    return r;
}

bool dossierOccupe(const QString& dossier) {
    return QFileInfo(dossier).isDir() &&
           !QDir(dossier).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).isEmpty();
}

namespace {

// Reads the whole archive once, checking every member and its name, before anything is written.
int verifierArchive(const QString& archive) {
    const QString nom = QFileInfo(archive).fileName();
    QSet<QString> vus;
    bool clinique = false;
    int membres = 0;
    archivezip::parcourir(archive, MaximumMembre, MaximumTotal, [&](const archivezip::Membre& m) {
        ++membres;
        if (m.nom == MembreReglages)
            return;
        if (!nomRestaurable(m.nom))
            throw Refus{QStringLiteral("L'archive %1 ne peut pas être restaurée : le nom de son membre « %2 » "
                                       "contient un chemin qui sortirait du dossier.")
                            .arg(nom, m.nom)};
        if (vus.contains(m.nom.toLower()))
            throw Refus{QStringLiteral("L'archive %1 ne peut pas être restaurée : elle contient deux fois le "
                                       "membre « %2 ».")
                            .arg(nom, m.nom)};
        vus.insert(m.nom.toLower());
        clinique = clinique || m.nom.compare(QLatin1String("Facturat.Lex"), Qt::CaseInsensitive) == 0 ||
                   m.nom.compare(QLatin1String("Kestrova.Cfg"), Qt::CaseInsensitive) == 0;
    });
    if (!clinique)
        throw Refus{QStringLiteral("L'archive %1 n'est pas une sauvegarde de Kestrova : elle ne contient ni "
                                   "KESTROVA.CFG ni FACTURAT.LEX.")
                        .arg(nom)};
    return membres;
}

// The per-user settings of the archive written to the store, but what tells of the saves of
// this workstation.
void appliquerReglages(const QByteArray& octets, MagasinReglages& utilisateur) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("Kestrova.conf"));
    fichiers::ecrireAtomique(chemin, octets);
    QSettings lus(chemin, QSettings::IniFormat);
    lus.beginGroup(QStringLiteral("Settings"));
    for (const QString& cle : lus.childKeys())
        if (cle != DossierSauvegardes && cle != DerniereSauvegarde && cle != RappelSauvegarde &&
            cle != QLatin1String("SauvegardesSuiviesDepuis"))
            utilisateur.ecrire(cle, lus.value(cle).toString());
}

}  // namespace

Restauration Restaurer(const QString& archive, const QString& dossierDemande, bool remplacer, const Demande& demande,
                       MagasinReglages& utilisateur, PortDialogue& d, const std::function<void(int)>& progression) {
    Sablier sablier(d);
    Restauration r;
    const QString dossier = QDir::cleanPath(QDir::current().absoluteFilePath(dossierDemande));
    const QFileInfo info(dossier);
    const QString parent = info.absolutePath();
    const QString pid = QString::number(QCoreApplication::applicationPid());
    const QString temporaire = QDir(parent).filePath(QStringLiteral(".~") + info.fileName() + QStringLiteral(".restauration.") + pid);
    const QString ancien = QDir(parent).filePath(QStringLiteral(".~") + info.fileName() + QStringLiteral(".remplace.") + pid);
    try {
        const int membres = verifierArchive(archive);
        if (progression)
            progression(20);
        const bool occupe = dossierOccupe(dossier);
        if (occupe && !remplacer)
            throw Refus{QStringLiteral("Le dossier %1 n'est pas vide : la restauration ne remplace les fichiers "
                                       "d'une clinique que si on le demande (--remplacer).\n\nAucun fichier n'a été "
                                       "écrit.")
                            .arg(QDir::toNativeSeparators(dossier))};
        QStringList gardes = DossiersExclus;  // kept from the folder replaced
        QString prealableDedans;              // the path of the save made first, when inside the folder
        if (occupe) {
            // The archive being restored may be the oldest of the destination: never rotated away.
            Demande prealable = demande;
            prealable.epargnee = QFileInfo(archive).absoluteFilePath();
            const Resultat avant = Sauvegarder(dossier, prealable, utilisateur, d);
            if (!avant.reussi)
                throw Refus{QStringLiteral("Le dossier %1 n'a pas pu être sauvegardé avant d'être remplacé.\n\n"
                                           "Aucun fichier n'a été restauré.")
                                .arg(QDir::toNativeSeparators(dossier))};
            r.sauvegardePrealable = avant.archive;
            const QString sien = QFileInfo(avant.archive).absolutePath();
            if (const QString dedans = dossierDansProgramme(dossier, sien); !dedans.isEmpty())
                gardes << dedans;
            if (dossiers::cheminReel(sien) == dossiers::cheminReel(dossier) ||
                !dossierDansProgramme(dossier, sien).isEmpty())
                prealableDedans = QDir(dossiers::cheminReel(dossier)).relativeFilePath(dossiers::cheminReel(avant.archive));
        }
        if (!QDir().mkpath(parent))
            throw erreurs::erreur(erreurs::CheminIntrouvable, parent);
        // The temporary folders of restores into the same folder stopped by a kill or a crash more
        // than an hour ago (the folder a replace set aside is left: it may be the only copy).
        const QString prefixe = QStringLiteral(".~") + info.fileName() + QStringLiteral(".restauration.");
        const QDateTime limite = QDateTime::currentDateTime().addSecs(-3600);
        for (const QFileInfo& reste :
             QDir(parent).entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks))
            if (reste.fileName().startsWith(prefixe) && reste.lastModified() < limite)
                QDir(reste.absoluteFilePath()).removeRecursively();
        QDir(temporaire).removeRecursively();
        if (!QDir().mkpath(temporaire))
            throw erreurs::erreur(erreurs::PermissionRefusee, temporaire);
        QByteArray reglages;
        bool avecReglages = false;
        QSet<QString> dossiersEcrits{temporaire};
        int n = 0;
        archivezip::parcourir(archive, MaximumMembre, MaximumTotal, [&](const archivezip::Membre& m) {
            ++n;
            if (m.nom == MembreReglages) {
                reglages = m.octets;
                avecReglages = true;
                return;
            }
            const QString chemin = QDir(temporaire).filePath(m.nom);
            if (m.nom.endsWith(QLatin1Char('/'))) {
                QDir().mkpath(chemin);
                return;
            }
            const QString sien = QFileInfo(chemin).absolutePath();
            if (!QDir().mkpath(sien))
                throw erreurs::erreur(erreurs::CheminIntrouvable, sien);
            dossiersEcrits.insert(sien);
            FichierBrut f(chemin, FichierBrut::Mode::Creation);
            f.ecrire(0, m.octets);
            f.synchroniser();
            ++r.fichiers;
            if (progression)
                progression(20 + 70 * n / membres);
        });
        for (const QString& ecrit : dossiersEcrits)
            fichiers::synchroniserDossier(ecrit);
        // Into place in renames only: the folder replaced is set aside until the new one has
        // its name.
        if (occupe) {
            if (!fichiers::renommerSansRemplacer(dossier, ancien))
                throw erreurs::erreur(erreurs::FichierExistant, ancien);
        } else if (info.exists() && !QDir().rmdir(dossier)) {
            throw erreurs::erreur(erreurs::PermissionRefusee, dossier);
        }
        if (!fichiers::renommerSansRemplacer(temporaire, dossier)) {
            if (occupe)
                fichiers::renommerSansRemplacer(ancien, dossier);
            throw erreurs::erreur(erreurs::FichierExistant, dossier);
        }
        if (occupe) {
            for (const QString& nom : QDir(ancien).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
                if (dossierExclu(nom, gardes) && !QFileInfo::exists(QDir(dossier).filePath(nom)))
                    fichiers::renommerSansRemplacer(QDir(ancien).filePath(nom), QDir(dossier).filePath(nom));
            // The save of the folder replaced, written inside one of its data folders, goes to the
            // same place in the folder restored: the folder replaced is then removed, and with it
            // would go the only copy of what it held.
            bool prealableGarde = true;
            if (const QString reste = QDir(ancien).filePath(prealableDedans);
                !prealableDedans.isEmpty() && QFileInfo::exists(reste)) {
                const QString place = QDir(dossier).filePath(prealableDedans);
                prealableGarde = QDir().mkpath(QFileInfo(place).absolutePath()) &&
                                 fichiers::renommerSansRemplacer(reste, place);
            }
            if (prealableGarde)
                QDir(ancien).removeRecursively();
        }
        fichiers::synchroniserDossier(parent);
        if (avecReglages)
            appliquerReglages(reglages, utilisateur);
        r.reussi = true;
        if (progression)
            progression(100);
    } catch (const Refus& refus) {
        QDir(temporaire).removeRecursively();
        d.message(Icone::Exclamation, TitreRestauration, refus.texte);
    } catch (const archivezip::ArchiveIllisible& e) {
        QDir(temporaire).removeRecursively();
        d.message(Icone::Critique, TitreRestauration,
                  QStringLiteral("La restauration n'a pas été faite ; le dossier %1 n'a pas changé.\n\n")
                          .arg(QDir::toNativeSeparators(dossier)) +
                      e.description());
    } catch (const ErreurFichier& e) {
        QDir(temporaire).removeRecursively();
        d.message(Icone::Critique, TitreRestauration,
                  QStringLiteral("La restauration n'a pas été faite ; le dossier %1 n'a pas changé.\n\n")
                          .arg(QDir::toNativeSeparators(dossier)) +
                      erreurs::texte(e));
    }
    return r;
}

std::optional<int> rappelDu(MagasinReglages& utilisateur, QDate aujourdhui) {
    const QString jour = aujourdhui.toString(Qt::ISODate);
    if (utilisateur.lire(RappelSauvegarde, {}) == jour)
        return std::nullopt;
    QDate depuis = QDateTime::fromString(utilisateur.lire(DerniereSauvegarde, {}), Qt::ISODate).date();
    const bool jamais = !depuis.isValid();
    if (jamais) {
        // No save yet: the days count from the first start that looked.
        const QString suivi = QStringLiteral("SauvegardesSuiviesDepuis");
        depuis = QDate::fromString(utilisateur.lire(suivi, {}), Qt::ISODate);
        if (!depuis.isValid()) {
            utilisateur.ecrire(suivi, jour);
            return std::nullopt;
        }
    }
    const qint64 jours = depuis.daysTo(aujourdhui);
    if (jours <= 7)
        return std::nullopt;
    utilisateur.ecrire(RappelSauvegarde, jour);
    return jamais ? -1 : int(jours);
}

QString texteRappel(int jours) {
    if (jours < 0)
        return QStringLiteral("Aucune sauvegarde des données n'a encore été faite sur ce poste.");
    return QStringLiteral("Dernière sauvegarde : il y a %1 jours.").arg(jours);
}

bool SauvegarderDepuisFenetre(const QString& programme, const QString& dossier, const QString& fichierReglages,
                              MagasinReglages& utilisateur, PortDialogue& d,
                              const std::function<void(int)>& progression) {
    if (dossier.isEmpty()) {
        d.message(Icone::Exclamation, TitreSauvegarde, QStringLiteral("Indiquez le dossier où écrire la sauvegarde."));
        return false;
    }
    const Resultat r = Sauvegarder(programme, {dossier, 0, fichierReglages}, utilisateur, d, progression);
    if (!r.reussi)
        return false;
    QString texte = QStringLiteral("La sauvegarde est terminée et vérifiée : %1 fichiers dans l'archive\n%2")
                        .arg(r.fichiers)
                        .arg(QDir::toNativeSeparators(r.archive));
    if (!r.supprimees.isEmpty())
        texte += QStringLiteral("\n\nSauvegardes plus anciennes supprimées : %1").arg(r.supprimees.join(QStringLiteral(", ")));
    d.message(Icone::Information, TitreSauvegarde, texte);
    return true;
}

std::optional<QString> RestaurerDepuisFenetre(const QString& archive, const QString& dossier, const QString& programme,
                                              const QString& fichierReglages, MagasinReglages& utilisateur,
                                              PortDialogue& d, const std::function<void(int)>& progression) {
    if (archive.isEmpty() || dossier.isEmpty()) {
        d.message(Icone::Exclamation, TitreRestauration,
                  QStringLiteral("Indiquez l'archive à restaurer et le dossier de la clinique."));
        return std::nullopt;
    }
    const bool occupe = dossierOccupe(dossier);
    if (occupe && d.question(Icone::Question, TitreRestauration,
                             QStringLiteral("Le dossier %1 contient déjà des fichiers.\n\nIls seront sauvegardés, "
                                            "puis remplacés par ceux de l'archive %2.")
                                 .arg(QDir::toNativeSeparators(dossier), QFileInfo(archive).fileName()),
                             Boutons::OkAnnuler, 1) != Reponse::Ok)
        return std::nullopt;
    const Restauration r = Restaurer(archive, dossier, occupe,
                                     {destinationParDefaut(programme, utilisateur), 0, fichierReglages}, utilisateur,
                                     d, progression);
    if (!r.reussi)
        return std::nullopt;
    QString texte = QStringLiteral("La restauration est terminée : %1 fichiers dans %2.")
                        .arg(r.fichiers)
                        .arg(QDir::toNativeSeparators(dossier));
    if (!r.sauvegardePrealable.isEmpty())
        texte += QStringLiteral("\n\nLes fichiers remplacés sont sauvegardés dans %1.")
                     .arg(QDir::toNativeSeparators(r.sauvegardePrealable));
    d.message(Icone::Information, TitreRestauration, texte);
    return QDir::cleanPath(QDir::current().absoluteFilePath(dossier));
}

bool proposerSauvegarde(MagasinReglages& utilisateur, PortDialogue& d, QDate aujourdhui) {
    const std::optional<int> jours = rappelDu(utilisateur, aujourdhui);
    if (!jours)
        return false;
    FenetreChoix f;
    f.legende = TitreSauvegarde;
    f.elements = {{ElementChoix::Genre::Entete, texteRappel(*jours), {}},
                  {ElementChoix::Genre::Bouton, QStringLiteral("&Sauvegarder maintenant"), {}},
                  {ElementChoix::Genre::Bouton, QStringLiteral("&Plus tard"), {}}};
    return d.choix(f) == 0;
}

}  // namespace sauvegarde
