#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// A printed PDF read back with poppler's pdftotext.
struct MotPdf {
    int page;  // from 1
    double xMin, yMin, xMax, yMax;  // points from the top left of the sheet
    QString texte;
};

class DocumentPdf {
public:
    explicit DocumentPdf(const QString& chemin);

    const QList<MotPdf>& mots() const { return mots_; }
    int pages() const { return pages_; }
    // The words of a page joined by blanks, line by line (lines are words sharing a yMin).
    QStringList lignes(int page) const;
    QStringList toutesLesLignes() const;
    // The first word with this text (nullptr when none).
    const MotPdf* mot(const QString& texte, int occurrence = 0) const;

private:
    QList<MotPdf> mots_;
    int pages_ = 0;
};

// Inches from the left edge of the printable area, as the reports place their columns.
double pouces(double points);
