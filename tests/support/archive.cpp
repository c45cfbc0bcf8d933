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
