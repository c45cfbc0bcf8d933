#include "platform/page.h"

#include "platform/dialogues.h"
#include "platform/erreurs.h"

void Page::ecrire(const QString& texte) {
    if (!mesure_)
        dessinerTexte(CurrentX, CurrentY, texte);
    CurrentX += largeurTexte(texte);
}

void Page::ecrireLigne(const QString& texte) {
    if (!texte.isEmpty() && !mesure_)
        dessinerTexte(CurrentX, CurrentY, texte);
    CurrentX = 0;
    CurrentY += hauteurTexte();
}

void Page::ecrireJusqua(double x, const QString& texte) {
    CurrentX = x - largeurTexte(texte);
    ecrire(texte);
}

void Page::regle() {
    const double y = CurrentY + hauteurTexte() / 2;
    ligne(0, y, largeur(), y);
    CurrentX = 0;
    CurrentY += hauteurTexte();
}

void Page::ligne(double x1, double y1, double x2, double y2) {
    if (!mesure_)
        dessinerLigne(x1, y1, x2, y2);
}

void Page::image(double x, double y, const QString& ressource) {
    if (!mesure_)
        dessinerImage(x, y, ressource);
}

void Page::dessin(double x, double y, double largeur, double hauteur,
                 const std::function<void(QPainter&, const QRectF&)>& peindre) {
    if (!mesure_)
        dessinerPeinture(x, y, largeur, hauteur, peindre);
}

double Page::CentrerTexte(const QString& texte) const {
    return largeur() / 2 - largeurTexte(texte) / 2;
}

QStringList Page::couper(const QString& texte, double largeur) const {
    QStringList lignes;
    QString reste = texte.trimmed();
    while (!reste.isEmpty()) {
        if (largeurTexte(reste) <= largeur) {
            lignes << reste;
            break;
        }
        // The longest start that fits, never less than one character.
        qsizetype n = 1;
        while (n < reste.size() && largeurTexte(reste.left(n + 1)) <= largeur)
            ++n;
        const qsizetype blanc = reste.lastIndexOf(QLatin1Char(' '), n);
        const qsizetype coupure = blanc > 0 ? blanc : n;
        lignes << reste.left(coupure).trimmed();
        reste = reste.mid(coupure).trimmed();
    }
    return lignes;
}

double Page::mesurer(const std::function<void()>& bloc) {
    const double x = CurrentX, y = CurrentY, t = taille();
    const QString p = police();
    const bool g = gras();
    mesure_ = true;
    try {
        bloc();
    } catch (...) {
        mesure_ = false;
        throw;
    }
    mesure_ = false;
    const double hauteurBloc = CurrentY - y;
    CurrentX = x;
    CurrentY = y;
    police(p);
    taille(t);
    gras(g);
    return hauteurBloc;
}

bool imprimerDocument(Imprimante& imprimante, const QString& nom, Orientation orientation,
                      const std::function<void(Page&)>& contenu, PortDialogue& d, const QString& titre) {
    Sablier sablier(d);
    std::unique_ptr<Page> page;
    try {
        page = imprimante.nouveauDocument(nom, orientation);
        contenu(*page);
        page->finDocument();
        return true;
    } catch (const ErreurFichier& e) {
        if (page)
            page->abandonner();
        d.message(Icone::Critique, titre, QStringLiteral("Erreur %1  %2").arg(e.numero()).arg(erreurs::texte(e)));
        return false;
    }
}
