#include "platform/fichiers.h"

#include "platform/erreurs.h"
#include "platform/fichierbrut.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fichiers {

QByteArray lire(const QString& chemin) {
    return FichierBrut(chemin, FichierBrut::Mode::Lecture).toutLire();
}

QList<QByteArray> lignes(const QByteArray& texte) {
    QList<QByteArray> resultat;
    qsizetype debut = 0;
    while (debut < texte.size()) {
        qsizetype fin = debut;
        while (fin < texte.size() && texte[fin] != '\r' && texte[fin] != '\n')
            ++fin;
        resultat.append(texte.mid(debut, fin - debut));
        if (fin + 1 < texte.size() && texte[fin] == '\r' && texte[fin + 1] == '\n')
            ++fin;
        debut = fin + 1;
    }
    return resultat;
}

namespace {
// `nouveau` takes the place of `ancien`; the folder is not flushed.
void deplacer(const QString& ancien, const QString& nouveau) {
#ifdef _WIN32
    if (!MoveFileExW(reinterpret_cast<LPCWSTR>(ancien.utf16()),
                     reinterpret_cast<LPCWSTR>(nouveau.utf16()),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw erreurs::erreur(erreurs::PermissionRefusee, nouveau);
#else
    if (std::rename(QFile::encodeName(ancien).constData(), QFile::encodeName(nouveau).constData()) != 0)
        throw erreurs::depuisSysteme(errno, nouveau);
#endif
}
}  // namespace

void renommer(const QString& ancien, const QString& nouveau) {
    deplacer(ancien, nouveau);
    synchroniserDossier(QFileInfo(nouveau).absolutePath());
}

std::unique_ptr<FichierBrut> verrouillerAuChemin(const QString& chemin, int delaiMs) {
    for (;;) {
        auto f = std::make_unique<FichierBrut>(chemin, FichierBrut::Mode::Creation);
        if (!f->verrouiller(delaiMs))
            throw ErreurFichier(erreurs::PermissionRefusee,
                                QStringLiteral("Le fichier est utilisé par un autre poste de "
                                               "travail."),
                                chemin);
        // A rewrite may have replaced the file while this one waited: lock the new one.
        if (f->toujoursAuChemin())
            return f;
    }
}

void reecrireSousVerrou(const QString& chemin, int delaiMs,
                        const std::function<QByteArray(const QByteArray& actuel)>& nouveau) {
    const auto f = verrouillerAuChemin(chemin, delaiMs);
    ecrireAtomique(chemin, nouveau(f->toutLire()));
}

bool renommerSansRemplacer(const QString& ancien, const QString& nouveau) {
#ifdef _WIN32
    if (!MoveFileExW(reinterpret_cast<LPCWSTR>(ancien.utf16()), reinterpret_cast<LPCWSTR>(nouveau.utf16()),
                     MOVEFILE_WRITE_THROUGH)) {
        if (GetLastError() == ERROR_ALREADY_EXISTS || GetLastError() == ERROR_FILE_EXISTS)
            return false;
        throw erreurs::erreur(erreurs::PermissionRefusee, nouveau);
    }
#else
    const QByteArray a = QFile::encodeName(ancien), n = QFile::encodeName(nouveau);
    if (::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, n.constData(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST)
            return false;
        if (errno != EINVAL && errno != ENOSYS)
            throw erreurs::depuisSysteme(errno, ancien);
        // a file system without the flag: a second name first, which fails when one exists
        if (::link(a.constData(), n.constData()) != 0) {
            if (errno == EEXIST)
                return false;
            throw erreurs::depuisSysteme(errno, ancien);
        }
        if (::unlink(a.constData()) != 0)
            throw erreurs::depuisSysteme(errno, ancien);
    }
#endif
    synchroniserDossier(QFileInfo(nouveau).absolutePath());
    return true;
}

void supprimer(const QString& chemin) {
    const QFileInfo info(chemin);
    if (info.isDir())  // a folder where the file belongs is not a file already absent
        throw erreurs::depuisSysteme(EISDIR, chemin);
    if (info.isFile() && !QFile::remove(chemin))
        throw erreurs::erreur(erreurs::PermissionRefusee, chemin);
}

QString cheminTemporaire(const QString& chemin) {
    const QFileInfo info(chemin);
    return info.absolutePath() + QStringLiteral("/.~") + info.fileName() +
           QStringLiteral(".%1").arg(QCoreApplication::applicationPid());
}

void supprimerTemporairesSelon(const QString& dossier, const QStringList& motifs) {
    for (const QString& r : QDir(dossier).entryList(motifs, QDir::Files | QDir::Hidden)) {
        const QString reste = dossier + QLatin1Char('/') + r;
        try {
            // A rewrite still under way (on another workstation too) holds its temporary
            // locked; only the temporaries of dead writers can be taken.
            if (!FichierBrut(reste, FichierBrut::Mode::LectureEcriture).verrouiller(0))
                continue;
        } catch (const ErreurFichier&) {
            // gone meanwhile, or a file system without locks: removed as before
        }
        QFile::remove(reste);
    }
}

void supprimerTemporaires(const QString& chemin) {
    const QFileInfo info(chemin);
    supprimerTemporairesSelon(info.absolutePath(),
                              {QStringLiteral(".~") + info.fileName() + QStringLiteral(".*")});
}

EcritureAtomique::EcritureAtomique(QString chemin)
    : chemin_(std::move(chemin)), temporaire_(cheminTemporaire(chemin_)) {
    QFile::remove(temporaire_);
    tenter([&] {
        fichier_ = std::make_unique<FichierBrut>(temporaire_, FichierBrut::Mode::Creation);
        fichier_->tronquer(0);
    });
    // Locked while it is written, so that no cleanup of abandoned temporaries takes it; where
    // the file system has no locks, the rewrite goes on unprotected as it did.
    try {
        fichier_->verrouiller(0);
    } catch (const ErreurFichier&) {
    }
}

EcritureAtomique::~EcritureAtomique() {
    fichier_.reset();
    if (!validee_)
        QFile::remove(temporaire_);
}

// A failure is reported on the file being written, not on its temporary name.
template <typename F>
void EcritureAtomique::tenter(F&& action) {
    try {
        action();
    } catch (const ErreurFichier& e) {
        throw ErreurFichier(e.numero(), e.description(), chemin_);
    }
}

void EcritureAtomique::ajouter(QByteArrayView octets) {
    tenter([&] { fichier_->ecrire(position_, QByteArray::fromRawData(octets.data(), octets.size())); });
    position_ += octets.size();
}

void EcritureAtomique::synchroniser() {
    tenter([&] {
        if (fichier_ && !synchronisee_)
            fichier_->synchroniser();
    });
    synchronisee_ = true;
}

void EcritureAtomique::valider(Dossier dossier) {
    synchroniser();
    tenter([&] {
        fichier_.reset();  // a retry after a failed rename has nothing more to flush
        if (dossier == Dossier::Synchroniser)
            renommer(temporaire_, chemin_);
        else
            deplacer(temporaire_, chemin_);
    });
    validee_ = true;
}

void synchroniserEnsemble(std::initializer_list<EcritureAtomique*> ecritures) {
    for (EcritureAtomique* e : ecritures)
        if (e->fichier_ && !e->synchronisee_)
            e->tenter([&] { e->fichier_->commencerEcriture(); });
    for (EcritureAtomique* e : ecritures)
        e->synchroniser();
}

void ecrireAtomique(const QString& chemin, const QByteArray& octets) {
    EcritureAtomique e(chemin);
    e.ajouter(octets);
    e.valider();
}

void copierAtomique(const QString& source, const QString& destination) {
    ecrireAtomique(destination, lire(source));
}

}  // namespace fichiers
