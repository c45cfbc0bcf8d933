#include "support/archive.h"

#include <QDataStream>
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

void creerArchiveMensongere(const QString& archive, const QString& nom, const QByteArray& octets,
                            quint64 tailleAnnoncee) {
    const QByteArray zlib = qCompress(octets);
    const QByteArray deflate = zlib.mid(6, zlib.size() - 10);  // no size, zlib header nor checksum
    const QByteArray n = nom.toUtf8();
    QFile f(archive);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QDataStream s(&f);
    s.setByteOrder(QDataStream::LittleEndian);
    // Version 4.5, deflated, no CRC check reached, sizes 0xFFFFFFFF given in the zip64 field.
    const auto entete = [&](bool central) {
        s << quint32(central ? 0x02014b50 : 0x04034b50);
        if (central)
            s << quint16(45);
        s << quint16(45) << quint16(0) << quint16(8) << quint16(0) << quint16(0x21) << quint32(0)
          << quint32(0xFFFFFFFF) << quint32(0xFFFFFFFF) << quint16(n.size()) << quint16(20);
        if (central)
            s << quint16(0) << quint16(0) << quint16(0) << quint32(0) << quint32(0);
        s.writeRawData(n.constData(), int(n.size()));
        s << quint16(1) << quint16(16) << quint64(tailleAnnoncee) << quint64(deflate.size());
    };
    entete(false);
    s.writeRawData(deflate.constData(), int(deflate.size()));
    const quint32 debutCentral = quint32(f.pos());
    entete(true);
    const quint32 tailleCentral = quint32(f.pos()) - debutCentral;
    s << quint32(0x06054b50) << quint16(0) << quint16(0) << quint16(1) << quint16(1) << tailleCentral
      << debutCentral << quint16(0);
}
