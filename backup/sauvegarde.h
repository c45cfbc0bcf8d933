#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class MagasinReglages;
class PortDialogue;

// The whole clinic folder saved as one ZIP archive, checked before it takes its final name, kept
// in rotation, and restored into a folder.
namespace sauvegarde {

// Keys of the per-user settings.
inline const QString DossierSauvegardes = QStringLiteral("DossierSauvegardes");  // the last destination
inline const QString SauvegardesAGarder = QStringLiteral("SauvegardesAGarder");  // default 10
inline const QString DerniereSauvegarde = QStringLiteral("DerniereSauvegarde");  // ISO date and time
inline const QString RappelSauvegarde = QStringLiteral("RappelSauvegarde");      // ISO date of the last reminder
constexpr int AGarderParDefaut = 10;

// The member that carries the per-user settings file; it is never written into the folder.
inline const QString MembreReglages = QStringLiteral("ReglagesUtilisateur/Kestrova.conf");

// How long a save waits for a preparation, a sending, an import or a store of another
// workstation to end before it refuses (tests shorten it).
extern int delaiAttenteMs;

struct Demande {
    QString vers;            // the destination; empty: the last one used, else <program>/Sauvegardes
    int garder = 0;          // archives of the clinic kept; 0: the setting, else 10
    QString fichierReglages; // the per-user settings file, saved as a member of its own when it exists
    QString epargnee = {};   // an archive the rotation leaves, whatever its age: the one being restored
};

struct Resultat {
    bool reussi = false;
    QString archive;  // the final path
    int fichiers = 0;
    qint64 octets = 0;  // of the files saved
    QStringList supprimees;  // older archives removed by the rotation
};

// `Kestrova-<agency>-<yyyymmdd-HHMMSS>.zip`.
QString nomArchive(const QString& agence, const QDateTime& moment);
// The folder a save goes to when none is given.
QString destinationParDefaut(const QString& programme, const MagasinReglages& utilisateur);

// Saves every file of `programme` (but the work folder, the printed documents and the saved
// archives) as one archive in the destination: the record files read under their locks, and
// nothing while a preparation, a sending or an import is under way (it waits up to
// `delaiAttenteMs`, then refuses). Written under a temporary name, flushed, read back and
// compared member by member with what was read, then renamed; the older archives of the clinic
// beyond `garder` are removed. A failure is told through `d` and leaves no archive under a final
// name. `progression` gets 0 to 100.
Resultat Sauvegarder(const QString& programme, const Demande& demande, MagasinReglages& utilisateur,
                     PortDialogue& d, const std::function<void(int)>& progression = {});

// Removes from `dossier` the archives of agency `agence` but the `garder` newest, oldest first;
// never another file, nor `epargnee`. The names removed.
QStringList tourner(const QString& dossier, const QString& agence, int garder, const QString& epargnee = {});

struct Restauration {
    bool reussi = false;
    int fichiers = 0;
    QString sauvegardePrealable;  // the archive of the folder replaced, with `remplacer`
};

// True when `dossier` holds anything at all.
bool dossierOccupe(const QString& dossier);

// Restores `archive` into `dossier`. The whole archive is checked first (every member's CRC,
// names without a path that leaves the folder); a folder that is not empty is refused unless
// `remplacer`, and then saved first (`demande` says where). The files go to a temporary folder
// beside `dossier` that takes its place once complete; the work folder, the printed documents
// and the saved archives of a folder replaced are kept. The per-user settings of the archive
// are written to `utilisateur`.
Restauration Restaurer(const QString& archive, const QString& dossier, bool remplacer, const Demande& demande,
                       MagasinReglages& utilisateur, PortDialogue& d,
                       const std::function<void(int)>& progression = {});

// The days since the last save, when start-up should remind of it today: more than 7, and not
// reminded yet today (the reminder is then marked as given). Before any save, days are counted
// from the first start that looked.
std::optional<int> rappelDu(MagasinReglages& utilisateur, QDate aujourdhui);
QString texteRappel(int jours);

// The save asked for from the window, into `dossier`, its outcome told through `d`. True when saved.
bool SauvegarderDepuisFenetre(const QString& programme, const QString& dossier, const QString& fichierReglages,
                              MagasinReglages& utilisateur, PortDialogue& d,
                              const std::function<void(int)>& progression = {});
// The restore asked for from the window: a folder that is not empty is replaced only once the
// user confirms it (Cancel the default), and the folder is saved first into the destination of
// the saves of `programme`. The folder restored into, or nothing.
std::optional<QString> RestaurerDepuisFenetre(const QString& archive, const QString& dossier, const QString& programme,
                                              const QString& fichierReglages, MagasinReglages& utilisateur,
                                              PortDialogue& d, const std::function<void(int)>& progression = {});
// Start-up's reminder with a button to save now, when it is due: true when the user chose to save.
bool proposerSauvegarde(MagasinReglages& utilisateur, PortDialogue& d, QDate aujourdhui);

}  // namespace sauvegarde
