#include "platform/fluxsortie.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>

#ifdef _WIN32
#include <io.h>
#define ecrireSysteme _write
#define fermerSysteme _close
#else
#include <unistd.h>
#define ecrireSysteme ::write
#define fermerSysteme ::close
#endif

FluxSortie::FluxSortie(int descripteur, QString nom) : fd_(descripteur), nom_(std::move(nom)) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

FluxSortie::FluxSortie(const QString& chemin) : proprietaire_(true), nom_(chemin) {
#ifdef _WIN32
    fd_ = _wopen(reinterpret_cast<const wchar_t*>(chemin.utf16()), _O_WRONLY | _O_BINARY);
#else
    fd_ = ::open(QFile::encodeName(chemin).constData(), O_WRONLY | O_CLOEXEC);
#endif
    if (fd_ < 0)
        throw erreurs::depuisSysteme(errno, chemin);
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

FluxSortie::~FluxSortie() {
    if (proprietaire_ && fd_ >= 0)
        fermerSysteme(fd_);
}

qint64 FluxSortie::writeData(const char* donnees, qint64 taille) {
    if (erreur_)
        return -1;
    qint64 ecrits = 0;
    while (ecrits < taille) {
        const auto n = ecrireSysteme(fd_, donnees + ecrits, static_cast<unsigned>(std::min<qint64>(taille - ecrits, 1 << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            erreur_ = erreurs::depuisSysteme(n < 0 ? errno : ENOSPC, nom_);
            return -1;
        }
        ecrits += n;
    }
    return ecrits;
}
