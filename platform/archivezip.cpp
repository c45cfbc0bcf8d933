#include "platform/archivezip.h"

#include <algorithm>

#include "platform/fichierbrut.h"

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
    // The archive is built in memory, then written to the disk by the program's own file calls:
    // every write checked and the file flushed, as every other file of the program.
    const auto partie = [&](int part) {
        if (progression)
            progression(part);
    };
    zip_error_t erreur;
    zip_error_init(&erreur);
    std::unique_ptr<zip_source_t, decltype(&zip_source_free)> tampon(zip_source_buffer_create(nullptr, 0, 0, &erreur),
                                                                     &zip_source_free);
    if (!tampon)
        throw std::bad_alloc();
    zip_source_keep(tampon.get());
    zip_t* zip = zip_open_from_source(tampon.get(), ZIP_TRUNCATE, &erreur);
    if (!zip) {
        zip_source_free(tampon.get());  // the reference kept for the archive
        echec(&erreur, chemin, QStringLiteral("elle ne peut pas être créée"));
    }
    std::unique_ptr<zip_t, decltype(&zip_discard)> garde(zip, &zip_discard);
    for (const Membre& m : membres) {
        // The buffers stay the caller's until the archive is closed.
        zip_source_t* source = zip_source_buffer(zip, m.octets.constData(), quint64(m.octets.size()), 0);
        if (!source || zip_file_add(zip, m.nom.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            if (source)
                zip_source_free(source);
            echec(zip_get_error(zip), chemin, QStringLiteral("le membre « %1 » ne peut pas y être mis").arg(m.nom));
        }
    }
    std::function<void(int)> compression = [&](int part) { partie(part / 2); };
    zip_register_progress_callback_with_state(zip, 0.01, progresser, nullptr, &compression);
    if (zip_close(zip) != 0)
        echec(zip_get_error(zip), chemin, QStringLiteral("elle n'a pas pu être écrite en entier"));
    garde.release();

    QByteArray octets;
    if (zip_source_open(tampon.get()) != 0 || zip_source_seek(tampon.get(), 0, SEEK_END) != 0)
        echec(zip_source_error(tampon.get()), chemin, QStringLiteral("elle n'a pas pu être écrite en entier"));
    octets.resize(static_cast<qsizetype>(zip_source_tell(tampon.get())));
    if (zip_source_seek(tampon.get(), 0, SEEK_SET) != 0 ||
        zip_source_read(tampon.get(), octets.data(), quint64(octets.size())) != octets.size())
        echec(zip_source_error(tampon.get()), chemin, QStringLiteral("elle n'a pas pu être écrite en entier"));
    zip_source_close(tampon.get());

    if (QFileInfo::exists(chemin))
        throw erreurs::erreur(erreurs::FichierExistant, chemin);
    try {
        FichierBrut f(chemin, FichierBrut::Mode::Creation);
        constexpr qsizetype Morceau = qsizetype(1) << 20;
        for (qsizetype p = 0; p < octets.size(); p += Morceau) {
            f.ecrire(p, octets.mid(p, Morceau));
            partie(50 + int(50 * std::min(octets.size(), p + Morceau) / std::max<qsizetype>(1, octets.size())));
        }
        f.synchroniser();
    } catch (...) {
        QFile::remove(chemin);
        throw;
    }
}

}  // namespace archivezip
