// Stand-in for the archiver: "PowerArc -e ARCHIVE FOLDER" extracts every member of the ZIP
// archive ARCHIVE into FOLDER under its own name, each written to a temporary name and renamed
// once whole. An archive holding a member whose name is a path, a drive or a folder is refused
// whole, before anything is written, and so is one that cannot be read whole (damaged, or
// claiming more than a returns archive may hold, or more than the memory holds). Exit status 0
// on success; otherwise a French message on stderr and: 2 bad command line, 3 unreadable
// archive, 4 unsafe member, 5 write failure.
#include "platform/archivezip.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

int echec(const QString& message, int code) {
    std::fprintf(stderr, "PowerArc: %s\n", qPrintable(message));
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() != 4 || args[1].compare("-e", Qt::CaseInsensitive) != 0)
        return echec(QStringLiteral("usage: PowerArc -e ARCHIVE DOSSIER"), 2);
    const QString archive = QDir::fromNativeSeparators(args[2]);
    const QString dossier = QDir::fromNativeSeparators(args[3]);
    if (!QFileInfo(dossier).isDir())
        return echec(QStringLiteral("le dossier %1 n'existe pas").arg(args[3]), 2);

    QList<archivezip::Membre> membres;
    try {
        membres = archivezip::lire(archive);
    } catch (const ErreurFichier& e) {
        return echec(erreurs::texte(e), 3);
    }
    for (const archivezip::Membre& m : membres)
        if (!archivezip::nomSur(m.nom))
            return echec(QStringLiteral("l'archive est refusée: le membre « %1 » n'est pas un simple "
                                        "nom de fichier; rien n'a été extrait")
                             .arg(m.nom),
                         4);
    for (const archivezip::Membre& m : membres) {
        try {
            fichiers::ecrireAtomique(QDir(dossier).filePath(m.nom), m.octets);
        } catch (const ErreurFichier& e) {
            return echec(erreurs::texte(e), 5);
        }
    }
    return 0;
}
