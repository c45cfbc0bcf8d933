#include "support/petitdisque.h"

#include <QFile>
#include <QProcess>
#include <sys/statvfs.h>

namespace {
QString monter(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral("mount"), arguments);
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    return {};
}
}  // namespace

PetitDisque::PetitDisque(qint64 octets, bool lectureSeule) : chemin_(dossier_.path()) {
    QString options = QStringLiteral("size=%1").arg(octets);
    if (lectureSeule)
        options += QStringLiteral(",ro");
    const QString erreur =
        monter({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), options,
                QStringLiteral("tmpfs"), chemin_});
    monte_ = erreur.isEmpty();
    if (!monte_)
        raison_ = QStringLiteral("un petit système de fichiers (tmpfs) ne peut pas être monté "
                                 "ici (il faut être root) : ") + erreur;
}

PetitDisque::~PetitDisque() {
    if (monte_)
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), chemin_});
}

qint64 PetitDisque::libre() const {
    struct statvfs s;
    if (statvfs(QFile::encodeName(chemin_).constData(), &s) != 0)
        return 0;
    return qint64(s.f_bavail) * qint64(s.f_frsize);
}

void PetitDisque::liberer() { QFile::remove(fichier(QStringLiteral(".remplissage"))); }

void PetitDisque::laisserLibre(qint64 libre) {
    liberer();
    const qint64 aOccuper = this->libre() - libre;
    if (aOccuper <= 0)
        return;
    QFile f(fichier(QStringLiteral(".remplissage")));
    f.open(QIODevice::WriteOnly);
    const QByteArray bloc(4096, 'r');
    for (qint64 n = 0; n < aOccuper; n += bloc.size())
        if (f.write(bloc) != bloc.size() || !f.flush())
            break;
}
