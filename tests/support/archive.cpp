#include "support/archive.h"

#include <QFile>
#include <zip.h>

QMap<QString, QByteArray> membres(const QString& archive) {
    QMap<QString, QByteArray> m;
    zip_t* z = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, nullptr);
    if (!z)
        return m;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, i, 0, &st);
        QByteArray octets(static_cast<qsizetype>(st.size), '\0');
        zip_file_t* f = zip_fopen_index(z, i, 0);
        zip_fread(f, octets.data(), st.size);
        zip_fclose(f);
        m[QString::fromUtf8(st.name)] = octets;
    }
    zip_close(z);
    return m;
}

void creerArchive(const QString& archive, const QList<QPair<QString, QByteArray>>& contenu) {
    QFile::remove(archive);
    zip_t* z = zip_open(QFile::encodeName(archive).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    for (const auto& [nom, octets] : contenu) {
        const QByteArray n = nom.toUtf8();
        if (nom.endsWith('/')) {
            zip_dir_add(z, n.constData(), ZIP_FL_ENC_UTF_8);
            continue;
        }
        // `contenu` outlives zip_close, which reads the buffers.
        zip_source_t* s = zip_source_buffer(z, octets.constData(), octets.size(), 0);
        zip_file_add(z, n.constData(), s, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    }
    zip_close(z);
}
