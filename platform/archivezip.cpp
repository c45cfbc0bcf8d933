#include "platform/archivezip.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>
#include <memory>
#include <new>
#include <zip.h>

namespace archivezip {

bool nomSur(const QString& nom) {
    // A plain name that any disk can hold: no path, no character Windows refuses in a name,
    // and short enough for every file system (a return's name is a dozen characters).
    static const QString Interdits = QStringLiteral("/\\:<>\"|?*");
    if (nom.isEmpty() || nom.size() > 128 || nom == QLatin1String(".") || nom == QLatin1String(".."))
        return false;
    return std::none_of(nom.begin(), nom.end(),
                        [](QChar c) { return c.unicode() < 32 || Interdits.contains(c); });
}

namespace {

[[noreturn]] void illisible(const QString& archive, const QString& cause) {
    throw ArchiveIllisible(erreurs::AccesChemin,
                           QStringLiteral("L'archive %1 est illisible: %2.").arg(QFileInfo(archive).fileName(), cause),
                           archive);
}

// A failure of libzip: the disk's and the memory's are told as such, anything else is the
// archive's content.
[[noreturn]] void echec(const zip_error_t* erreur, const QString& archive, const QString& cause) {
    if (zip_error_code_zip(erreur) == ZIP_ER_MEMORY)
        throw std::bad_alloc();
    if (zip_error_system_type(erreur) == ZIP_ET_SYS)
        throw erreurs::depuisSysteme(zip_error_code_system(erreur), archive);
    illisible(archive, cause);
}

// The members, each read in full; the size each claims is checked before its buffer exists.
void lireMembres(zip_t* zip, const QString& archive, qint64 maximumMembre, qint64 maximumTotal,
                 const std::function<void(const Membre&)>& recevoir) {
    quint64 total = 0;
    const zip_int64_t nombreMembres = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < nombreMembres; ++i) {
        zip_stat_t etat;
        if (zip_stat_index(zip, i, 0, &etat) != 0)
            echec(zip_get_error(zip), archive, QStringLiteral("le membre numéro %1 ne peut pas être lu").arg(i + 1));
        if (!(etat.valid & ZIP_STAT_NAME) || !(etat.valid & ZIP_STAT_SIZE))
            illisible(archive, QStringLiteral("le membre numéro %1 ne dit pas son nom et sa taille").arg(i + 1));
        Membre m;
        m.nom = QString::fromUtf8(etat.name);
        if (etat.size > quint64(maximumMembre))
            illisible(archive, QStringLiteral("le membre « %1 » annonce %2 octets une fois décompressé, "
                                              "plus que les %3 Mio permis")
                                   .arg(m.nom, QString::number(etat.size), QString::number(maximumMembre >> 20)));
        if (total + etat.size > quint64(maximumTotal))
            illisible(archive, QStringLiteral("ses membres annoncent ensemble plus que les %1 Mio permis une "
                                              "fois décompressés (dépassés au membre « %2 »)")
                                   .arg(QString::number(maximumTotal >> 20), m.nom));
        total += etat.size;
        std::unique_ptr<zip_file_t, decltype(&zip_fclose)> f(zip_fopen_index(zip, i, 0), &zip_fclose);
        if (!f)
            echec(zip_get_error(zip), archive, QStringLiteral("le membre « %1 » ne peut pas être lu").arg(m.nom));
        m.octets.resize(static_cast<qsizetype>(etat.size));
        // Reading on to the end checks the member's CRC, and that it holds no more than it says.
        char deTrop;
        if (zip_fread(f.get(), m.octets.data(), etat.size) != static_cast<zip_int64_t>(etat.size) ||
            zip_fread(f.get(), &deTrop, 1) != 0)
            echec(zip_file_get_error(f.get()), archive, QStringLiteral("le membre « %1 » est endommagé").arg(m.nom));
        recevoir(m);
    }
}

}  // namespace

QList<Membre> lire(const QString& archive) {
    QList<Membre> membres;
    parcourir(archive, TailleMaximale, TailleMaximale, [&](const Membre& m) { membres << m; });
    return membres;
}

void parcourir(const QString& archive, qint64 maximumMembre, qint64 maximumTotal,
               const std::function<void(const Membre&)>& recevoir) {
    if (!QFile::exists(archive))
        throw erreurs::erreur(erreurs::FichierIntrouvable, archive);
    try {
        int code = 0;
        std::unique_ptr<zip_t, decltype(&zip_discard)> zip(
            zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code), &zip_discard);
        if (!zip) {
            zip_error_t erreur;
            zip_error_init_with_code(&erreur, code);
            echec(&erreur, archive, QStringLiteral("ce n'est pas une archive ZIP valide"));
        }
        lireMembres(zip.get(), archive, maximumMembre, maximumTotal, recevoir);
    } catch (const std::bad_alloc&) {
        throw ErreurFichier(erreurs::MemoireInsuffisante,
                            QStringLiteral("La mémoire manque pour décompresser l'archive."), archive);
    }
}

namespace {

void progresser(zip_t*, double part, void* suivi) {
    (*static_cast<const std::function<void(int)>*>(suivi))(static_cast<int>(part * 100));
}

}  // namespace

void ecrire(const QString& chemin, const QList<Membre>& membres, const std::function<void(int)>& progression) {
    int code = 0;
    zip_t* zip = zip_open(QFile::encodeName(chemin).constData(), ZIP_CREATE | ZIP_EXCL, &code);
    if (!zip) {
        zip_error_t erreur;
        zip_error_init_with_code(&erreur, code);
        echec(&erreur, chemin, QStringLiteral("elle ne peut pas être créée"));
    }
    std::unique_ptr<zip_t, decltype(&zip_discard)> garde(zip, &zip_discard);
    try {
        for (const Membre& m : membres) {
            // The buffers stay the caller's until the archive is closed.
            zip_source_t* source = zip_source_buffer(zip, m.octets.constData(), quint64(m.octets.size()), 0);
            if (!source || zip_file_add(zip, m.nom.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
                if (source)
                    zip_source_free(source);
                echec(zip_get_error(zip), chemin, QStringLiteral("le membre « %1 » ne peut pas y être mis").arg(m.nom));
            }
        }
        if (progression)
            zip_register_progress_callback_with_state(zip, 0.01, progresser, nullptr,
                                                      const_cast<std::function<void(int)>*>(&progression));
        // libzip writes to a temporary file of its own beside `chemin` and renames it when done;
        // on a failure it removes it.
        if (zip_close(zip) != 0)
            echec(zip_get_error(zip), chemin, QStringLiteral("elle n'a pas pu être écrite en entier"));
        garde.release();
    } catch (...) {
        QFile::remove(chemin);
        throw;
    }
}

}  // namespace archivezip
