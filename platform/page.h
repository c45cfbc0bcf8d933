#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPainter;
class QRectF;

// A printed page as the reports see it: measurements in inches from the top left corner of the
// printable area, a current position (CurrentX, CurrentY) that printing moves on, a current
// font. Implemented over a real printer or a PDF file by the window library.
class Page {
public:
    virtual ~Page() = default;

    double CurrentX = 0;
    double CurrentY = 0;

    virtual double largeur() const = 0;  // printable width
    virtual double hauteur() const = 0;  // printable height
    virtual void police(const QString& nom) = 0;
    virtual QString police() const = 0;
    virtual void taille(double points) = 0;
    virtual double taille() const = 0;
    virtual void gras(bool actif) = 0;
    virtual bool gras() const = 0;
    virtual double largeurTexte(const QString& texte) const = 0;
    virtual double hauteurTexte() const = 0;  // one line of the current font
    virtual void nouvellePage() = 0;          // then CurrentX = CurrentY = 0
    // Sends the document to the printer; nothing when nothing was printed since the last end.
    // The next output starts a new document from the top of its first page.
    virtual void finDocument() = 0;
    // Drops the document being printed: what was not sent yet is never completed.
    virtual void abandonner() = 0;

    // Prints `texte` at the current position and moves CurrentX past it.
    void ecrire(const QString& texte);
    // Prints `texte` and ends the line: CurrentX back to 0, CurrentY one line lower.
    void ecrireLigne(const QString& texte = {});
    // Prints `texte` so that it ends at `x`.
    void ecrireJusqua(double x, const QString& texte);
    // A rule across the page at the current line, then the line ends.
    void regle();
    // A line between two points; the position does not move.
    void ligne(double x1, double y1, double x2, double y2);
    // A picture of the program's resources (":/..."), its top left corner at (x, y).
    void image(double x, double y, const QString& ressource);
    // A drawing of the window library (a chart) in the rectangle of `largeur` x `hauteur` inches
    // whose top left corner is at (x, y); `peindre` draws with the page's painter over `cible`,
    // that rectangle in the painter's units. The position does not move.
    void dessin(double x, double y, double largeur, double hauteur,
                const std::function<void(QPainter& peintre, const QRectF& cible)>& peindre);
    // The X position that centres `texte` on the page.
    double CentrerTexte(const QString& texte) const;
    // `texte` in lines no wider than `largeur` in the current font, each broken at the last blank
    // that fits (the blanks at the break dropped); a word wider than `largeur` is broken where it
    // reaches it. Nothing is dropped but blanks; an empty text gives no line.
    QStringList couper(const QString& texte, double largeur) const;

    // The height `bloc` would take from the current position: it runs with nothing drawn,
    // then the position and the font are put back as they were.
    double mesurer(const std::function<void()>& bloc);

protected:
    virtual void dessinerTexte(double x, double y, const QString& texte) = 0;
    virtual void dessinerLigne(double x1, double y1, double x2, double y2) = 0;
    virtual void dessinerImage(double x, double y, const QString& ressource) = 0;
    virtual void dessinerPeinture(double x, double y, double largeur, double hauteur,
                                  const std::function<void(QPainter&, const QRectF&)>& peindre) = 0;

private:
    bool mesure_ = false;
};

enum class Orientation { Paysage, Portrait };

// Opens the documents of a report on the current printer, each a print job of its own.
class Imprimante {
public:
    virtual ~Imprimante() = default;
    // A new document on Letter paper; `nom` says what it holds (the PDF printer names its file
    // after it). The print job starts at the first output, and a new one after each end.
    virtual std::unique_ptr<Page> nouveauDocument(const QString& nom,
                                                  Orientation orientation = Orientation::Paysage) = 0;
};

class PortDialogue;

// One document of `contenu` under the hourglass; a print failure drops it and is told under
// `titre` ("Erreur N  cause"). True when printed.
bool imprimerDocument(Imprimante& imprimante, const QString& nom, Orientation orientation,
                      const std::function<void(Page&)>& contenu, PortDialogue& d, const QString& titre);
