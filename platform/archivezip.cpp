#include "platform/archivezip.h"

#include "platform/erreurs.h"

#include <QFile>
#include <memory>
#include <zip.h>

namespace archivezip {

bool nomSur(const QString& nom) {
    return !nom.isEmpty() && nom != QLatin1String(".") && nom != QLatin1String("..") &&
           !nom.contains(QLatin1Char('/')) && !nom.contains(QLatin1Char('\\')) &&
           !nom.contains(QLatin1Char(':'));
}

namespace {
[[noreturn]] void illisible(const QString& archive, const QString& cause) {
    throw ErreurFichier(erreurs::AccesChemin,
                        QStringLiteral("L'archive %1 est illisible: %2.").arg(archive, cause));
}
}  // namespace

QList<Membre> lire(const QString& archive) {
    if (!QFile::exists(archive))
        throw erreurs::erreur(erreurs::FichierIntrouvable, archive);
    int erreur = 0;
    std::unique_ptr<zip_t, decltype(&zip_discard)> zip(
        zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &erreur), &zip_discard);
    if (!zip)
        illisible(archive, QStringLiteral("ce n'est pas une archive ZIP valide"));
    QList<Membre> membres;
    const zip_int64_t nombre = zip_get_num_entries(zip.get(), 0);
    for (zip_int64_t i = 0; i < nombre; ++i) {
        zip_stat_t etat;
        if (zip_stat_index(zip.get(), i, 0, &etat) != 0)
            illisible(archive, QStringLiteral("le membre %1 ne peut pas être lu").arg(i + 1));
        Membre m;
        m.nom = QString::fromUtf8(etat.name);
        std::unique_ptr<zip_file_t, decltype(&zip_fclose)> f(zip_fopen_index(zip.get(), i, 0), &zip_fclose);
        if (!f)
            illisible(archive, QStringLiteral("le membre %1 ne peut pas être lu").arg(m.nom));
        m.octets.resize(static_cast<qsizetype>(etat.size));
        if (zip_fread(f.get(), m.octets.data(), etat.size) != static_cast<zip_int64_t>(etat.size))
            illisible(archive, QStringLiteral("le membre %1 est endommagé").arg(m.nom));
        membres << m;
    }
    return membres;
}

}  // namespace archivezip
