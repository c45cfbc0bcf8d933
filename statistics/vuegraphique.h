#pragma once
#include "statistics/graphiques.h"

#include <QChart>
#include <QChartView>
#include <QFont>
#include <QList>
#include <QPalette>
#include <QSize>
#include <QStringList>
#include <QWidget>

class Page;
class PortDialogue;
class QBarSet;
class QGraphicsSimpleTextItem;
class QPushButton;

// A chart drawn from what the core gives (graphiques::Graphique): a bar per category and series,
// the series of a second unit on a right-hand axis, the value written over each bar, a legend.
// Colours come from the palette given and each series after the first also has its own
// hatching, so that neither the colour nor the screen is needed to tell the series apart.
class ChartGraphique : public QChart {
    Q_OBJECT
public:
    ChartGraphique(const graphiques::Graphique& g, const QPalette& palette, const QFont& police);

    // The bar set of each series of the chart, in the order of the series.
    const QList<QBarSet*>& ensembles() const { return ensembles_; }
    // The value texts over the bars, series by series and category by category (an empty text
    // for a zero, which has no bar).
    const QList<QGraphicsSimpleTextItem*>& etiquettes() const { return etiquettes_; }
    // Puts each value over its bar, across it or upright when the bar is narrower, and raises
    // the value axes so the highest fits; done at each change of the plot area.
    void placerEtiquettes();

private:
    graphiques::Graphique graphique_;
    QList<QBarSet*> ensembles_;
    QList<QGraphicsSimpleTextItem*> etiquettes_;
    bool enPlacement_ = false;
};

// The part of the chart where the value text `e` leaves ink: no two values drawn overlap there.
QRectF encre(const QGraphicsSimpleTextItem* e);

// The size of a chart saved as a picture, in pixels.
inline constexpr QSize TailleImage(1200, 750);

// The chart drawn alone at `taille` pixels (the labels and the fonts sized as on a screen).
QImage image(const graphiques::Graphique& g, QSize taille, const QPalette& palette, const QFont& police);
// `entete` (one line each), then the chart over the rest of the page.
void imprimer(Page& page, const graphiques::Graphique& g, const QStringList& entete, const QPalette& palette,
              const QFont& police);

// The chart in a window, with its two commands "Imprimer le graphique" and "Enregistrer
// l'image": it follows the application's palette and font, and a change of either.
class PanneauGraphique : public QWidget {
    Q_OBJECT
public:
    PanneauGraphique(QString programme, PortDialogue& dialogues, QWidget* parent = nullptr);

    // Shows `g`; `entete` heads its printed page, `nom` names its document and its picture.
    void afficher(const graphiques::Graphique& g, const QStringList& entete, const QString& nom);
    const graphiques::Graphique& graphique() const { return graphique_; }
    ChartGraphique* chart() const;

    QChartView* Vue = nullptr;
    QPushButton* Imprimer = nullptr;
    QPushButton* Enregistrer = nullptr;

    void imprimer();
    // Asks where (proposing the name and the moment), writes the PNG atomically, tells the outcome.
    bool enregistrer();

protected:
    void changeEvent(QEvent* e) override;

private:
    void dessiner();

    QString programme_;
    PortDialogue& dialogues_;
    graphiques::Graphique graphique_;
    QStringList entete_;
    QString nom_;
};
