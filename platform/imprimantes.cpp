#include "platform/imprimantes.h"

#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/horloge.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTextLayout>
#include <optional>
#include <vector>

namespace imprimantes {

namespace {
QString& actuelle() {
    static QString nom = [] {
        const QString defaut = QPrinterInfo::defaultPrinterName();
        return defaut.isEmpty() ? Pdf : defaut;
    }();
    return nom;
}

std::optional<QStringList>& simulees() {
    static std::optional<QStringList> l;
    return l;
}
}  // namespace

void simulerInstallees(const QStringList& noms) { simulees() = noms; }

QStringList noms() {
    QStringList l = simulees() ? *simulees() : QPrinterInfo::availablePrinterNames();
    l << Pdf;
    return l;
}

QString courante() { return actuelle(); }

void choisir(const QString& nom) {
    if (noms().contains(nom))
        actuelle() = nom;
}

}  // namespace imprimantes

namespace {

// One text in one font: its advance in printer dots and, once drawn, its glyphs.
struct Trace {
    double largeur = 0;
    bool faconne = false;
    QList<QGlyphRun> glyphes;
    double monteeLigne = 0;
};

// One font resolved at a printer's resolution, with the texts printed in it.
struct Police {
    QFont police;
    int resolution;
    QFontMetricsF metriques;
    double hauteur, montee;
    QHash<QString, Trace> traces;
    Police(const QFont& f, QPaintDevice* appareil)
        : police(f), resolution(appareil->logicalDpiX()), metriques(f, appareil),
          hauteur(metriques.height()), montee(metriques.ascent()) {}
};

}  // namespace

// The fonts of the documents of one ImprimanteQt: a report and its per-professional documents
// print the same texts, laid out once for all of them.
struct PolicesImprimees {
    std::vector<std::unique_ptr<Police>> polices;
};

namespace {

// Documents on QPrinters, Letter, a quarter-inch margin all round. A print job is begun at the
// first output and ended once by finDocument(); the next output begins a new one from
// `fabrique`. Measurements use the printer of the coming job, so they need no job.
//
// A report prints the same few texts over and over (dates, codes, numbers) in a handful of
// fonts: each font is resolved once per printer with its metrics, and each distinct text of a
// font is measured once and shaped into glyphs once, then drawn from those glyphs.
class PageQt : public Page {
public:
    using Fabrique = std::function<std::unique_ptr<QPrinter>()>;
    PageQt(Fabrique fabrique, Orientation orientation, std::function<void(const QPrinter&)> commence,
           std::shared_ptr<PolicesImprimees> polices)
        : fabrique_(std::move(fabrique)), commence_(std::move(commence)), polices_(std::move(polices)),
          orientation_(orientation == Orientation::Portrait ? QPageLayout::Portrait
                                                             : QPageLayout::Landscape) {
        preparer();
        police_.setPointSizeF(12);
    }
    ~PageQt() override {
        if (peintre_.isActive())
            peintre_.end();
    }

    double largeur() const override { return largeur_; }
    double hauteur() const override { return hauteur_; }
    void police(const QString& nom) override {
        if (nom != police_.family()) {
            police_.setFamily(nom);
            courante_ = nullptr;
        }
    }
    QString police() const override { return police_.family(); }
    void taille(double points) override {
        if (points != police_.pointSizeF()) {
            police_.setPointSizeF(points);
            courante_ = nullptr;
        }
    }
    double taille() const override { return police_.pointSizeF(); }
    void gras(bool actif) override {
        if (actif != police_.bold()) {
            police_.setBold(actif);
            courante_ = nullptr;
        }
    }
    bool gras() const override { return police_.bold(); }
    double largeurTexte(const QString& texte) const override {
        return trace(texte).largeur / ppp_;
    }
    double hauteurTexte() const override { return actuelle().hauteur / ppp_; }
    void nouvellePage() override {
        // A document not begun yet is at the top of its first page already.
        if (peintre_.isActive())
            imprimante_->newPage();
        CurrentX = CurrentY = 0;
    }
    void finDocument() override {
        if (!peintre_.isActive())
            return;
        termine_ = true;
        CurrentX = CurrentY = 0;
        if (!peintre_.end())
            throw ErreurFichier(erreurs::AccesChemin,
                                QStringLiteral("Le document n'a pas pu être imprimé."));
    }
    void abandonner() override {
        if (!peintre_.isActive())
            return;
        termine_ = true;
        imprimante_->abort();
        peintre_.end();
        if (!imprimante_->outputFileName().isEmpty())
            QFile::remove(imprimante_->outputFileName());
    }

protected:
    void dessinerTexte(double x, double y, const QString& texte) override {
        commencer();
        const Police& p = actuelle();
        Trace& t = trace(texte);
        if (!t.faconne)
            faconner(p, texte, t);
        // The glyphs are placed from the top of their line: its baseline is the font's ascent
        // lower, as a text drawn at its baseline.
        const QPointF origine(x * ppp_, y * ppp_ + p.montee - t.monteeLigne);
        for (const QGlyphRun& g : t.glyphes)
            peintre_.drawGlyphRun(origine, g);
    }
    void dessinerLigne(double x1, double y1, double x2, double y2) override {
        commencer();
        peintre_.drawLine(QPointF(x1 * ppp_, y1 * ppp_), QPointF(x2 * ppp_, y2 * ppp_));
    }
    void dessinerImage(double x, double y, const QString& ressource) override {
        commencer();
        const QImage image(ressource);
        // The picture keeps the size it has on screen (96 dots an inch).
        const QSizeF taille(image.width() * ppp_ / 96.0, image.height() * ppp_ / 96.0);
        peintre_.drawImage(QRectF(QPointF(x * ppp_, y * ppp_), taille), image);
    }

    void dessinerPeinture(double x, double y, double largeur, double hauteur,
                          const std::function<void(QPainter&, const QRectF&)>& peindre) override {
        commencer();
        peintre_.save();
        peindre(peintre_, QRectF(x * ppp_, y * ppp_, largeur * ppp_, hauteur * ppp_));
        peintre_.restore();
        peintre_.setFont(police_);
    }

private:
    Police& actuelle() const {
        if (!courante_) {
            const int resolution = imprimante_->logicalDpiX();
            for (const auto& p : polices_->polices)
                if (p->resolution == resolution && p->police.pointSizeF() == police_.pointSizeF() &&
                    p->police.bold() == police_.bold() && p->police.family() == police_.family())
                    courante_ = p.get();
            if (!courante_)
                courante_ = polices_->polices.emplace_back(std::make_unique<Police>(police_, imprimante_.get())).get();
        }
        return *courante_;
    }
    Trace& trace(const QString& texte) const {
        Police& p = actuelle();
        auto it = p.traces.find(texte);
        if (it == p.traces.end()) {
            Trace t;
            t.largeur = p.metriques.horizontalAdvance(texte);
            it = p.traces.insert(texte, std::move(t));
        }
        return *it;
    }
    // Shapes `texte` once, on one line, as a text drawn on the printer is. Its trailing blanks
    // leave no mark on the page: they are not drawn (half the glyphs of a report's fixed-width
    // fields), and its width, measured whole, still counts them.
    void faconner(const Police& p, const QString& texte, Trace& t) const {
        qsizetype visibles = texte.size();
        while (visibles > 0 && texte[visibles - 1] == QLatin1Char(' '))
            --visibles;
        QTextLayout disposition(texte.left(visibles), p.police, imprimante_.get());
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        disposition.setTextOption(option);
        disposition.beginLayout();
        QTextLine ligne = disposition.createLine();
        disposition.endLayout();
        if (ligne.isValid()) {
            t.glyphes = ligne.glyphRuns();
            t.monteeLigne = ligne.ascent();
        }
        t.faconne = true;
    }

    void preparer() {
        imprimante_ = fabrique_();
        imprimante_->setPageSize(QPageSize(QPageSize::Letter));
        imprimante_->setPageOrientation(orientation_);
        imprimante_->setPageMargins(QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
        ppp_ = imprimante_->resolution();
        const QRectF zone = imprimante_->pageLayout().paintRect(QPageLayout::Inch);
        largeur_ = zone.width();
        hauteur_ = zone.height();
        courante_ = nullptr;  // found again at the new printer's resolution
    }
    void commencer() {
        if (peintre_.isActive())
            return;
        if (termine_) {
            preparer();
            termine_ = false;
        }
        if (!peintre_.begin(imprimante_.get()))
            throw ErreurFichier(erreurs::AccesChemin,
                                QStringLiteral("L'imprimante %1 ne peut pas imprimer.")
                                    .arg(imprimante_->printerName().isEmpty()
                                             ? imprimante_->outputFileName()
                                             : imprimante_->printerName()));
        commence_(*imprimante_);
    }

    Fabrique fabrique_;
    std::function<void(const QPrinter&)> commence_;
    std::shared_ptr<PolicesImprimees> polices_;
    QPageLayout::Orientation orientation_;
    std::unique_ptr<QPrinter> imprimante_;
    QPainter peintre_;
    QFont police_;
    mutable Police* courante_ = nullptr;
    double ppp_ = 72;
    double largeur_ = 0, hauteur_ = 0;
    bool termine_ = false;
};

QString nomDeFichier(const QString& nom) {
    static const QRegularExpression interdits(QStringLiteral("[^A-Za-z0-9À-ÿ_-]+"));
    return QString(nom).replace(interdits, QStringLiteral("-"));
}

}  // namespace

std::unique_ptr<Page> ImprimanteQt::nouveauDocument(const QString& nom, Orientation orientation) {
    const QString courante = imprimantes::courante();
    auto fabrique = [this, courante, nom]() -> std::unique_ptr<QPrinter> {
        std::unique_ptr<QPrinter> p;
        if (courante == imprimantes::Pdf) {
            p = std::make_unique<QPrinter>(QPrinter::HighResolution);
            const QString dossier = QDir(programme_).filePath(QStringLiteral("Impressions"));
            QDir().mkpath(dossier);
            const QString base = QDir(dossier).filePath(
                nomDeFichier(nom) + Horloge::maintenant().toString(QStringLiteral("-yyyyMMdd-HHmmss")));
            QString chemin = base + QStringLiteral(".pdf");
            for (int n = 2; QFileInfo::exists(chemin) || fichiers_.contains(chemin); ++n)
                chemin = base + QStringLiteral("-%1.pdf").arg(n);
            p->setOutputFormat(QPrinter::PdfFormat);
            p->setOutputFileName(chemin);
        } else {
            p = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(courante), QPrinter::HighResolution);
        }
        p->setDocName(nom);
        return p;
    };
    auto commence = [this](const QPrinter& p) {
        if (!p.outputFileName().isEmpty())
            fichiers_ << p.outputFileName();
    };
    if (!polices_)
        polices_ = std::make_shared<PolicesImprimees>();
    return std::make_unique<PageQt>(std::move(fabrique), orientation, std::move(commence), polices_);
}
