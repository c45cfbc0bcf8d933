#include "platform/imprimantes.h"

#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/horloge.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <optional>

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

// A document on a QPrinter, landscape Letter, a quarter-inch margin all round.
class PageQt : public Page {
public:
    explicit PageQt(std::unique_ptr<QPrinter> imprimante) : imprimante_(std::move(imprimante)) {
        imprimante_->setPageSize(QPageSize(QPageSize::Letter));
        imprimante_->setPageOrientation(QPageLayout::Landscape);
        imprimante_->setPageMargins(QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
        if (!peintre_.begin(imprimante_.get()))
            throw ErreurFichier(erreurs::AccesChemin,
                                QStringLiteral("L'imprimante %1 ne peut pas imprimer.")
                                    .arg(imprimante_->printerName().isEmpty()
                                             ? imprimante_->outputFileName()
                                             : imprimante_->printerName()));
        ppp_ = imprimante_->resolution();
        police_.setPointSizeF(12);
        peintre_.setFont(police_);
        const QRectF zone = imprimante_->pageLayout().paintRect(QPageLayout::Inch);
        largeur_ = zone.width();
        hauteur_ = zone.height();
    }
    ~PageQt() override {
        if (peintre_.isActive())
            peintre_.end();
    }

    double largeur() const override { return largeur_; }
    double hauteur() const override { return hauteur_; }
    void police(const QString& nom) override {
        police_.setFamily(nom);
        peintre_.setFont(police_);
    }
    void taille(double points) override {
        police_.setPointSizeF(points);
        peintre_.setFont(police_);
    }
    double taille() const override { return police_.pointSizeF(); }
    double largeurTexte(const QString& texte) const override {
        return QFontMetricsF(police_, imprimante_.get()).horizontalAdvance(texte) / ppp_;
    }
    double hauteurTexte() const override {
        return QFontMetricsF(police_, imprimante_.get()).height() / ppp_;
    }
    void nouvellePage() override {
        imprimante_->newPage();
        CurrentX = CurrentY = 0;
    }
    void finDocument() override {
        if (!peintre_.end())
            throw ErreurFichier(erreurs::AccesChemin,
                                QStringLiteral("Le document n'a pas pu être imprimé."));
    }

protected:
    void dessinerTexte(double x, double y, const QString& texte) override {
        const QFontMetricsF m(police_, imprimante_.get());
        peintre_.drawText(QPointF(x * ppp_, y * ppp_ + m.ascent()), texte);
    }
    void dessinerLigne(double x1, double y1, double x2, double y2) override {
        peintre_.drawLine(QPointF(x1 * ppp_, y1 * ppp_), QPointF(x2 * ppp_, y2 * ppp_));
    }

private:
    std::unique_ptr<QPrinter> imprimante_;
    QPainter peintre_;
    QFont police_;
    double ppp_ = 72;
    double largeur_ = 0, hauteur_ = 0;
};

QString nomDeFichier(const QString& nom) {
    static const QRegularExpression interdits(QStringLiteral("[^A-Za-z0-9À-ÿ_-]+"));
    return QString(nom).replace(interdits, QStringLiteral("-"));
}

}  // namespace

std::unique_ptr<Page> ImprimanteQt::nouveauDocument(const QString& nom) {
    const QString courante = imprimantes::courante();
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
        fichiers_ << chemin;
    } else {
        p = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(courante), QPrinter::HighResolution);
    }
    p->setDocName(nom);
    return std::make_unique<PageQt>(std::move(p));
}
