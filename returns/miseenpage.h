#pragma once
#include "platform/page.h"
#include "returns/impressionretour.h"

#include <QString>
#include <initializer_list>
#include <utility>

// Placing the texts of a printed return.
namespace miseenpage {

inline void a(Page& p, double x, const QString& texte) {
    p.CurrentX = x;
    p.ecrire(texte);
}

// Texts at their positions on one line, which then ends.
inline void ligneA(Page& p, std::initializer_list<std::pair<double, QString>> textes) {
    for (const auto& [x, texte] : textes)
        a(p, x, texte);
    p.ecrireLigne();
}

inline void centre(Page& p, const QString& texte) {
    p.CurrentX = p.CentrerTexte(texte);
    p.ecrireLigne(texte);
}

// An empty line: a print of one blank.
inline void vide(Page& p) { p.ecrireLigne(QStringLiteral(" ")); }

// Basic's Tab(n): the n-th character column of the current font.
inline void tab(Page& p, int colonne) { p.CurrentX = (colonne - 1) * p.largeurTexte(QStringLiteral("0")); }

// The head of a printed return: its title centred in 16 points half an inch from the top, the
// picture, then the position at `yEntetes` in 10 points.
inline void titre(Page& p, const QString& texte, double yEntetes) {
    p.CurrentY = 0.5;
    p.taille(16);
    centre(p, texte);
    p.taille(10);
    p.image(1.0, 1.0, impressionretour::Picture1);
    p.CurrentY = yEntetes;
}

}  // namespace miseenpage
