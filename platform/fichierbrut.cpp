#include "platform/fichierbrut.h"

#include "platform/erreurs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
constexpr int PauseVerrouMs = 5;
}

#ifndef _WIN32

FichierBrut::FichierBrut(const QString& chemin, Mode mode) : chemin_(chemin) {
    const int drapeaux = mode == Mode::Lecture           ? O_RDONLY
                         : mode == Mode::LectureEcriture ? O_RDWR
                                                         : O_RDWR | O_CREAT;
    const QByteArray nom = QFile::encodeName(chemin);
    do
        fd_ = ::open(nom.constData(), drapeaux | O_CLOEXEC, 0666);
    while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0)
        echec();
}

FichierBrut::~FichierBrut() {
    if (fd_ >= 0)
        ::close(fd_);
}

void FichierBrut::echec() const { throw erreurs::depuisSysteme(errno, chemin_); }

qint64 FichierBrut::taille() const {
    struct stat s;
    if (::fstat(fd_, &s) != 0)
        echec();
    return s.st_size;
}

void FichierBrut::lireDans(qint64 position, qint64 nombre, QByteArray& tampon) const {
    tampon.resize(nombre);
    qint64 lus = 0;
    while (lus < nombre) {
        const ssize_t n = ::pread(fd_, tampon.data() + lus, nombre - lus, position + lus);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            echec();
        if (n == 0)
            break;
        lus += n;
    }
    tampon.truncate(lus);
}

QByteArray FichierBrut::identite() const {
    struct stat s;
    if (::fstat(fd_, &s) != 0)
        echec();
    return QByteArray::number(quint64(s.st_dev)) + ':' + QByteArray::number(quint64(s.st_ino));
}



void FichierBrut::ecrire(qint64 position, const QByteArray& octets) {
    qint64 ecrits = 0;
    while (ecrits < octets.size()) {
        const ssize_t n =
            ::pwrite(fd_, octets.constData() + ecrits, octets.size() - ecrits, position + ecrits);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            echec();
        }
        ecrits += n;
    }
}

void FichierBrut::tronquer(qint64 taille) {
    if (::ftruncate(fd_, taille) != 0)
        echec();
}

void FichierBrut::synchroniser() {
    if (::fdatasync(fd_) != 0)
        echec();
}

void FichierBrut::commencerEcriture() {
#ifdef __linux__
    if (::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE) != 0)
        echec();
#endif
}

bool FichierBrut::verrouiller(int delaiMs) {
    struct flock verrou {};
    verrou.l_type = F_WRLCK;
    verrou.l_whence = SEEK_SET;  // start 0, length 0: the whole file, however long it grows
    QElapsedTimer chrono;
    chrono.start();
    for (;;) {
        if (::fcntl(fd_, F_OFD_SETLK, &verrou) == 0)
            return true;
        if (errno != EAGAIN && errno != EACCES && errno != EINTR)
            echec();
        if (chrono.elapsed() >= delaiMs)
            return false;
        QThread::msleep(PauseVerrouMs);
    }
}

bool FichierBrut::toujoursAuChemin() const {
    struct stat ouvert, nomme;
    if (::fstat(fd_, &ouvert) != 0)
        echec();
    if (::stat(QFile::encodeName(chemin_).constData(), &nomme) != 0)
        return false;
    return ouvert.st_dev == nomme.st_dev && ouvert.st_ino == nomme.st_ino;
}

namespace fichiers {
void synchroniserDossier(const QString& dossier) {
    const int fd = ::open(QFile::encodeName(dossier).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;  // the entries are written by the system all the same
    ::fsync(fd);
    ::close(fd);
}

bool lier(const QString& existant, const QString& nouveau) {
    return ::link(QFile::encodeName(existant).constData(), QFile::encodeName(nouveau).constData()) == 0;
}
}  // namespace fichiers

#else  // Windows

namespace {
int errnoDepuis(DWORD e) {
    switch (e) {
    case ERROR_FILE_NOT_FOUND: return ENOENT;
    case ERROR_PATH_NOT_FOUND: return ENOTDIR;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_NOT_READY: return EIO;
    default: return EINVAL;
    }
}
}  // namespace

FichierBrut::FichierBrut(const QString& chemin, Mode mode) : chemin_(chemin) {
    const DWORD acces = mode == Mode::Lecture ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    const DWORD creation = mode == Mode::Creation ? OPEN_ALWAYS : OPEN_EXISTING;
    h_ = CreateFileW(reinterpret_cast<LPCWSTR>(chemin.utf16()), acces,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, creation,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h_ == INVALID_HANDLE_VALUE) {
        h_ = nullptr;
        echec();
    }
}

FichierBrut::~FichierBrut() {
    if (h_)
        CloseHandle(h_);
}

void FichierBrut::echec() const {
    throw erreurs::depuisSysteme(errnoDepuis(GetLastError()), chemin_);
}

qint64 FichierBrut::taille() const {
    LARGE_INTEGER t;
    if (!GetFileSizeEx(h_, &t))
        echec();
    return t.QuadPart;
}

void FichierBrut::lireDans(qint64 position, qint64 nombre, QByteArray& tampon) const {
    tampon.resize(nombre);
    OVERLAPPED o{};
    o.Offset = DWORD(position);
    o.OffsetHigh = DWORD(position >> 32);
    DWORD lus = 0;
    if (!ReadFile(h_, tampon.data(), DWORD(nombre), &lus, &o) && GetLastError() != ERROR_HANDLE_EOF)
        echec();
    tampon.truncate(lus);
}

QByteArray FichierBrut::identite() const {
    BY_HANDLE_FILE_INFORMATION i;
    if (!GetFileInformationByHandle(h_, &i))
        echec();
    return QByteArray::number(quint64(i.dwVolumeSerialNumber)) + ':' +
           QByteArray::number((quint64(i.nFileIndexHigh) << 32) | i.nFileIndexLow);
}



void FichierBrut::ecrire(qint64 position, const QByteArray& octets) {
    OVERLAPPED o{};
    o.Offset = DWORD(position);
    o.OffsetHigh = DWORD(position >> 32);
    DWORD ecrits = 0;
    if (!WriteFile(h_, octets.constData(), DWORD(octets.size()), &ecrits, &o) ||
        ecrits != DWORD(octets.size()))
        echec();
}

void FichierBrut::tronquer(qint64 taille) {
    LARGE_INTEGER t;
    t.QuadPart = taille;
    if (!SetFilePointerEx(h_, t, nullptr, FILE_BEGIN) || !SetEndOfFile(h_))
        echec();
}

void FichierBrut::synchroniser() {
    if (!FlushFileBuffers(h_))
        echec();
}

void FichierBrut::commencerEcriture() {}

bool FichierBrut::verrouiller(int delaiMs) {
    QElapsedTimer chrono;
    chrono.start();
    for (;;) {
        OVERLAPPED o{};
        if (LockFileEx(h_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                       MAXDWORD, &o))
            return true;
        if (chrono.elapsed() >= delaiMs)
            return false;
        QThread::msleep(PauseVerrouMs);
    }
}

bool FichierBrut::toujoursAuChemin() const {
    BY_HANDLE_FILE_INFORMATION ouvert;
    if (!GetFileInformationByHandle(h_, &ouvert))
        echec();
    HANDLE h = CreateFileW(reinterpret_cast<LPCWSTR>(chemin_.utf16()), 0,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION nomme;
    const bool ok = GetFileInformationByHandle(h, &nomme);
    CloseHandle(h);
    return ok && nomme.dwVolumeSerialNumber == ouvert.dwVolumeSerialNumber &&
           nomme.nFileIndexHigh == ouvert.nFileIndexHigh &&
           nomme.nFileIndexLow == ouvert.nFileIndexLow;
}

namespace fichiers {
void synchroniserDossier(const QString&) {}
bool lier(const QString& existant, const QString& nouveau) {
    return CreateHardLinkW(reinterpret_cast<LPCWSTR>(nouveau.utf16()),
                           reinterpret_cast<LPCWSTR>(existant.utf16()), nullptr);
}
}  // namespace fichiers

#endif

QByteArray FichierBrut::lire(qint64 position, qint64 nombre) const {
    QByteArray octets;
    lireDans(position, nombre, octets);
    return octets;
}

QByteArray FichierBrut::toutLire() const { return lire(0, taille()); }
