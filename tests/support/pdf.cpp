#include "support/pdf.h"

#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <stdexcept>

namespace {
constexpr double MargePouces = 0.25;

QString decoder(QString t) {
    return t.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"")
        .replace("&apos;", "'").replace("&#39;", "'").replace("&amp;", "&");
}
}  // namespace

double pouces(double points) { return points / 72.0 - MargePouces; }

DocumentPdf::DocumentPdf(const QString& chemin) {
    QProcess p;
    p.start("pdftotext", {"-bbox", chemin, "-"});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        throw std::runtime_error(("pdftotext a échoué: " + chemin).toStdString());
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression balise(
        "<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
        "yMax=\"([0-9.]+)\">([^<]*)</word>");
    for (auto it = balise.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith("<page")) {
            ++pages_;
            continue;
        }
        mots_ << MotPdf{pages_, m.captured(1).toDouble(), m.captured(2).toDouble(),
                        m.captured(3).toDouble(), m.captured(4).toDouble(),
                        decoder(m.captured(5))};
    }
}

QStringList DocumentPdf::lignes(int page) const {
    // Text is placed by its top, so the words of one line share their yMin whatever their size.
    QMap<int, QMap<double, QString>> parLigne;
    for (const MotPdf& m : mots_)
        if (m.page == page)
            parLigne[qRound(m.yMin)].insert(m.xMin, m.texte);
    QStringList l;
    for (const auto& mots : parLigne)
        l << QStringList(mots.values()).join(' ');
    return l;
}

QStringList DocumentPdf::toutesLesLignes() const {
    QStringList l;
    for (int p = 1; p <= pages_; ++p)
        l << lignes(p);
    return l;
}

const MotPdf* DocumentPdf::mot(const QString& texte, int occurrence) const {
    for (const MotPdf& m : mots_)
        if (m.texte == texte && occurrence-- == 0)
            return &m;
    return nullptr;
}
