// A disk that fills up at a chosen write, for the processes of the tests (LD_PRELOAD): the
// write to a regular file numbered KESTROVA_DISQUE_PLEIN (from 1) and every later one fail with
// ENOSPC. At the end the process prints to stderr how many writes to regular files it made.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

long ecritures = 0;

void bilan() { fprintf(stderr, "ecritures: %ld\n", ecritures); }

// True when this write to `fd` is one the full disk refuses.
bool refusee(int fd) {
    struct stat s;
    if (fstat(fd, &s) != 0 || !S_ISREG(s.st_mode))
        return false;
    static long limite = -1;
    if (limite < 0) {
        const char* v = getenv("KESTROVA_DISQUE_PLEIN");
        limite = v ? atol(v) : 0;
        atexit(bilan);
    }
    ++ecritures;
    return limite > 0 && ecritures >= limite;
}

template <typename F>
F suivante(F, const char* nom) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, nom));
}
#define SUIVANTE(nom) suivante(&::nom, #nom)

}  // namespace

extern "C" {

ssize_t write(int fd, const void* b, size_t n) {
    if (refusee(fd))
        return errno = ENOSPC, -1;
    return SUIVANTE(write)(fd, b, n);
}
ssize_t pwrite(int fd, const void* b, size_t n, off_t p) {
    if (refusee(fd))
        return errno = ENOSPC, -1;
    return SUIVANTE(pwrite)(fd, b, n, p);
}
ssize_t pwrite64(int fd, const void* b, size_t n, off64_t p) {
    if (refusee(fd))
        return errno = ENOSPC, -1;
    return SUIVANTE(pwrite64)(fd, b, n, p);
}
ssize_t writev(int fd, const struct iovec* v, int n) {
    if (refusee(fd))
        return errno = ENOSPC, -1;
    return SUIVANTE(writev)(fd, v, n);
}
}
