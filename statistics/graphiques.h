#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// What a chart shows, built by the core from the figures its table shows, so that the two
// always agree: categories along the bottom, one or more series of values over them. The
// window only draws it.
namespace graphiques {

enum class Unite {
    Nombre,  // a count
    Cents,   // an amount in whole cents, drawn in dollars
};

struct Serie {
    QString nom;
    Unite unite = Unite::Cents;
    QList<qint64> valeurs;  // one per category
};

struct Graphique {
    QString titre;
    QString axeCategories;
    QStringList categories;
    QList<Serie> series;

    // The text written over a bar: the value as the tables write it ("1,234.56" for an amount,
    // "12" for a count); none for zero, which has no bar.
    static QString etiquette(Unite unite, qint64 valeur);
    // The caption of the value axis of a unit: "Montant ($)" or "Nombre".
    static QString axe(Unite unite);
    // The scale of a value axis of `unite` that reaches at least `plusGrande` (dollars for an
    // amount): from 0 to `max`, `graduations` ticks one step of 1, 2 or 5 times a power of ten
    // apart, each label written with `decimales` decimals so that no two read alike. A count is
    // never cut below a step of 1: its ticks are whole numbers.
    struct Echelle {
        double max = 1;
        int graduations = 2;
        int decimales = 0;
    };
    static Echelle echelle(Unite unite, double plusGrande);
    // The units in the order their series first come: the first is drawn on the left axis,
    // the second on the right.
    QList<Unite> unites() const;
};

}  // namespace graphiques
