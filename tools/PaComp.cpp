// Stand-in for the compression program: "PaComp -aP ARCHIVE PATTERN" adds every file that
// matches PATTERN (a DOS pattern such as "C:\Developpe\*.*") to the ZIP archive ARCHIVE,
// creating it when missing and replacing members of the same name; the archive itself is never
// added. Exit status 0 on success; otherwise a message on stderr and a non-zero status.
#include "platform/dossiers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <zip.h>

namespace {

int echec(const QString& message, int code) {
    std::fprintf(stderr, "PaComp: %s\n", qPrintable(message));
    return code;
}

QString chemin(QString c) { return QDir::fromNativeSeparators(c); }

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() != 4 || args[1].compare("-aP", Qt::CaseInsensitive) != 0)
        return echec("usage: PaComp -aP ARCHIVE MOTIF", 2);
    const QString archive = QFileInfo(chemin(args[2])).absoluteFilePath();
    const QFileInfo motif(chemin(args[3]));
    const QString dossier = motif.absolutePath();

    QStringList fichiers;
    for (const QString& nom : dossiers::chercher(dossier, motif.fileName())) {
        const QString c = QDir(dossier).filePath(nom);
        if (QFileInfo(c).absoluteFilePath() != archive)
            fichiers << c;
    }
    if (fichiers.isEmpty())
        return echec(QStringLiteral("aucun fichier ne correspond à %1").arg(args[3]), 3);

    int erreur = 0;
    zip_t* zip = zip_open(QFile::encodeName(archive).constData(), ZIP_CREATE, &erreur);
    if (!zip) {
        zip_error_t e;
        zip_error_init_with_code(&e, erreur);
        const QString texte = QString::fromUtf8(zip_error_strerror(&e));
        zip_error_fini(&e);
        return echec(QStringLiteral("impossible d'ouvrir %1: %2").arg(archive, texte), 4);
    }
    for (const QString& f : fichiers) {
        zip_source_t* source = zip_source_file(zip, QFile::encodeName(f).constData(), 0, -1);
        const QByteArray nom = QFileInfo(f).fileName().toUtf8();
        if (!source || zip_file_add(zip, nom.constData(), source,
                                    ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            if (source)
                zip_source_free(source);
            const QString texte = QString::fromUtf8(zip_strerror(zip));
            zip_discard(zip);
            return echec(QStringLiteral("impossible d'ajouter %1: %2").arg(f, texte), 5);
        }
    }
    if (zip_close(zip) < 0) {
        const QString texte = QString::fromUtf8(zip_strerror(zip));
        zip_discard(zip);
        return echec(QStringLiteral("impossible d'écrire %1: %2").arg(archive, texte), 6);
    }
    return 0;
}
