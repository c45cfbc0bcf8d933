#include "platform/page.h"

void Page::ecrire(const QString& texte) {
    dessinerTexte(CurrentX, CurrentY, texte);
    CurrentX += largeurTexte(texte);
}

void Page::ecrireLigne(const QString& texte) {
    if (!texte.isEmpty())
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
    dessinerLigne(0, y, largeur(), y);
    CurrentX = 0;
    CurrentY += hauteurTexte();
}

double Page::CentrerTexte(const QString& texte) const {
    return largeur() / 2 - largeurTexte(texte) / 2;
}
