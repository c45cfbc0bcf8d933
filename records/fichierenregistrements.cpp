#include "records/fichierenregistrements.h"

#include "platform/erreurs.h"
#include "platform/fichiers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace {
constexpr int VerrouPerimeMs = 30000;
}  // namespace

FichierEnregistrements::FichierEnregistrements(QString chemin, int longueur, int numeroMaximal)
    : chemin_(std::move(chemin)), longueur_(longueur), numeroMaximal_(numeroMaximal) {}

int FichierEnregistrements::nombre() const {
    const QFileInfo info(chemin_);
    if (!info.dir().exists())
        throw ErreurFichier(erreurs::CheminIntrouvable,
                            erreurs::description(erreurs::CheminIntrouvable), chemin_);
    if (!info.exists())
        return 0;
    return static_cast<int>(info.size() / longueur_);
}

QByteArray FichierEnregistrements::lire(int numero) const {
    if (numero < 1 || numero > nombre())
        throw ErreurFichier(erreurs::NumeroIncorrect,
                            erreurs::description(erreurs::NumeroIncorrect), chemin_);
    QFile f(chemin_);
    if (!f.open(QIODevice::ReadOnly))
        throw erreurs::depuis(f, chemin_);
    f.seek(static_cast<qint64>(numero - 1) * longueur_);
    const QByteArray octets = f.read(longueur_);
    if (octets.size() != longueur_)
        throw ErreurFichier(erreurs::FinDeFichier, erreurs::description(erreurs::FinDeFichier),
                            chemin_);
    return octets;
}

void FichierEnregistrements::verifierLongueur(const QByteArray& octets) const {
    Q_ASSERT(octets.size() == longueur_);
    if (octets.size() != longueur_)
        throw ErreurFichier(erreurs::NumeroIncorrect,
                            QStringLiteral("Longueur d'enregistrement incorrecte"), chemin_);
}

void FichierEnregistrements::ecrireA(qint64 position, const QByteArray& octets) {
    QFile f(chemin_);
    if (!f.open(QIODevice::ReadWrite))
        throw erreurs::depuis(f, chemin_);
    if (!f.seek(position) || f.write(octets) != octets.size() || !f.flush())
        throw erreurs::depuis(f, chemin_);
    f.close();
    if (f.error() != QFileDevice::NoError)
        throw erreurs::depuis(f, chemin_);
}

void FichierEnregistrements::ecrire(int numero, const QByteArray& octets) {
    verifierLongueur(octets);
    if (numero < 1 || numero > nombre())
        throw ErreurFichier(erreurs::NumeroIncorrect,
                            erreurs::description(erreurs::NumeroIncorrect), chemin_);
    ecrireA(static_cast<qint64>(numero - 1) * longueur_, octets);
}

int FichierEnregistrements::ajouter(const QByteArray& octets) {
    verifierLongueur(octets);
    const int existants = nombre();  // reports a missing folder before a lock is attempted
    Q_UNUSED(existants);
    const auto verrou = verrouiller(DelaiVerrouMs);
    const int numero = nombre() + 1;
    if (numero > numeroMaximal_)
        throw ErreurFichier(erreurs::Depassement, erreurs::description(erreurs::Depassement),
                            chemin_);
    ecrireA(static_cast<qint64>(numero - 1) * longueur_, octets);
    return numero;
}

void FichierEnregistrements::vider() {
    fichiers::ecrireAtomique(chemin_, {});
}

std::unique_ptr<QLockFile> FichierEnregistrements::verrouiller(int delaiMs) const {
    auto verrou = std::make_unique<QLockFile>(chemin_ + QStringLiteral(".lck"));
    verrou->setStaleLockTime(VerrouPerimeMs);
    if (verrou->tryLock(delaiMs))
        return verrou;
    if (!QFileInfo(chemin_).dir().exists())
        throw ErreurFichier(erreurs::CheminIntrouvable,
                            erreurs::description(erreurs::CheminIntrouvable), chemin_);
    if (verrou->error() != QLockFile::LockFailedError)
        throw ErreurFichier(erreurs::AccesChemin, erreurs::description(erreurs::AccesChemin),
                            chemin_);
    throw ErreurFichier(erreurs::PermissionRefusee,
                        QStringLiteral("Le fichier est utilisé par un autre poste de travail."),
                        chemin_);
}
