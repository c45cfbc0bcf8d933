#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <memory>

class FichierBrut;

// Whole-file reads and rewrites. A rewrite goes to a temporary file beside the target that
// takes the final name only once every byte is written and on the disk: on any failure (a
// full disk included) the original stays untouched and the temporary file is removed.
// Failures throw ErreurFichier.
namespace fichiers {

QByteArray lire(const QString& chemin);
// The lines of a text, whatever their ends (CR LF, LF, or CR alone), without them; a last line
// without its end counts.
QList<QByteArray> lignes(const QByteArray& texte);

// A rewrite written piece by piece: the pieces go to the temporary file, and `valider()` puts
// them under the final name once they are on the disk. Left unvalidated, nothing changes.
class EcritureAtomique {
public:
    explicit EcritureAtomique(QString chemin);
    ~EcritureAtomique();
    EcritureAtomique(const EcritureAtomique&) = delete;
    EcritureAtomique& operator=(const EcritureAtomique&) = delete;
    void ajouter(QByteArrayView octets);
    // The pieces written so far put on the disk now; `valider()` then has nothing to flush.
    void synchroniser();
    // `Dossier::PlusTard`: the name is taken but reaches the disk only with the next flush of
    // its folder (synchroniserDossier), which the caller owes before relying on it.
    enum class Dossier { Synchroniser, PlusTard };
    void valider(Dossier dossier = Dossier::Synchroniser);

private:
    friend void synchroniserEnsemble(std::initializer_list<EcritureAtomique*> ecritures);
    template <typename F>
    void tenter(F&& action);
    QString chemin_, temporaire_;
    std::unique_ptr<FichierBrut> fichier_;
    qint64 position_ = 0;
    bool synchronisee_ = false;
    bool validee_ = false;
};

// Flushes several rewrites at once: the system starts writing every one of them before the
// first flush waits, so that the disk completes them together rather than one after another.
// Each is then flushed as by `synchroniser()`.
void synchroniserEnsemble(std::initializer_list<EcritureAtomique*> ecritures);

void ecrireAtomique(const QString& chemin, const QByteArray& octets);
// The file at `chemin` (created when missing) opened and held under the system's lock for as
// long as the object lives; when another process replaced the file while this one waited, the
// new one is locked. Error 70 when another workstation keeps the lock past `delaiMs`.
std::unique_ptr<FichierBrut> verrouillerAuChemin(const QString& chemin, int delaiMs);
// The whole file rewritten atomically under that lock: `nouveau` gets the current bytes and
// gives the new ones.
void reecrireSousVerrou(const QString& chemin, int delaiMs,
                        const std::function<QByteArray(const QByteArray& actuel)>& nouveau);
// `destination` becomes a byte-for-byte copy of `source`.
void copierAtomique(const QString& source, const QString& destination);
// `nouveau` takes the place of `ancien` (replacing it), and the change is on the disk.
void renommer(const QString& ancien, const QString& nouveau);
// `ancien` takes the name `nouveau` only while no file has it, in one step of the system, and the
// change is on the disk; false, and nothing moved, when `nouveau` exists.
bool renommerSansRemplacer(const QString& ancien, const QString& nouveau);
// The temporary file of a rewrite of `chemin` by this process: ".~" + name + "." + process,
// beside it, so that no search for the file's own name pattern finds it.
QString cheminTemporaire(const QString& chemin);
// Removes what rewrites of `chemin` stopped by a crash left behind; the temporary of a rewrite
// still under way, in any process, is left to it.
void supprimerTemporaires(const QString& chemin);
// The same for the temporaries in `dossier` whose names match one of `motifs`.
void supprimerTemporairesSelon(const QString& dossier, const QStringList& motifs);
// Removes the file; a missing file is no error.
void supprimer(const QString& chemin);

}  // namespace fichiers
