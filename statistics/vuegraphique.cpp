#include "statistics/vuegraphique.h"

#include "platform/dialogues.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"
#include "platform/horloge.h"
#include "platform/imprimantes.h"
#include "platform/page.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QDir>
#include <QEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr double LargeurDesBarres = 0.8;  // of a category

// A font of the size `police` has on the screen, in pixels: drawn on a printer through the
// scale from the screen to the page, it keeps its size relative to the chart.
QFont enPixels(const QFont& police, double facteur = 1.0) {
    QFont f = police;
    f.setPixelSize(qMax(1, qRound(QFontInfo(police).pixelSize() * facteur)));
    return f;
}

// The fill of series `n`: the palette's highlight for the first, then colours that colour-blind
// eyes tell apart, each with its own hatching.
QBrush remplissage(int n, const QPalette& palette) {
    static const QColor couleurs[] = {QColor(0xE6, 0x9F, 0x00), QColor(0x00, 0x9E, 0x73), QColor(0xCC, 0x79, 0xA7),
                                      QColor(0x56, 0xB4, 0xE9), QColor(0xD5, 0x5E, 0x00), QColor(0x00, 0x72, 0xB2)};
    static const Qt::BrushStyle hachures[] = {Qt::BDiagPattern, Qt::CrossPattern, Qt::FDiagPattern,
                                              Qt::DiagCrossPattern, Qt::HorPattern, Qt::VerPattern};
    if (n == 0)
        return QBrush(palette.color(QPalette::Highlight));
    const int i = (n - 1) % int(std::size(couleurs));
    return QBrush(couleurs[i], hachures[i]);
}

// Sets `axe` to the scale of `unite` that reaches `plusGrande`.
void graduer(QValueAxis* axe, graphiques::Unite unite, double plusGrande) {
    const graphiques::Graphique::Echelle e = graphiques::Graphique::echelle(unite, plusGrande);
    axe->setTickType(QValueAxis::TicksFixed);
    axe->setRange(0, e.max);
    axe->setTickCount(e.graduations);
    axe->setLabelFormat(QStringLiteral("%.") + QString::number(e.decimales) + QLatin1Char('f'));
}

void colorerAxe(QAbstractAxis* axe, const QPalette& palette, const QFont& police) {
    const QColor texte = palette.color(QPalette::Text);
    axe->setLabelsBrush(texte);
    axe->setLabelsFont(police);
    axe->setTitleBrush(texte);
    axe->setTitleFont(police);
    axe->setLinePenColor(texte);
    axe->setGridLineColor(palette.color(QPalette::Mid));
}

// Lays the chart out at its size now, as showing it would, its values over their bars.
void mettreEnPage(ChartGraphique* chart) {
    if (QGraphicsLayout* l = chart->layout()) {
        l->invalidate();
        l->activate();
    }
    chart->placerEtiquettes();
}

}  // namespace

// A value's box without the blank a font leaves over and under the letters, so that values
// written side by side, upright over narrow bars, may touch.
QRectF encre(const QGraphicsSimpleTextItem* e) {
    const QRectF r = e->boundingRect();
    const double marge = r.height() * 0.2;
    return e->mapRectToParent(r.adjusted(0, marge, 0, -marge));
}

ChartGraphique::ChartGraphique(const graphiques::Graphique& g, const QPalette& palette, const QFont& police)
    : graphique_(g) {
    setAnimationOptions(QChart::NoAnimation);
    const QFont texte = enPixels(police);
    QFont titre = enPixels(police, 1.25);
    titre.setBold(true);
    const QColor couleurTexte = palette.color(QPalette::Text);
    setTitle(g.titre.isEmpty() && g.categories.isEmpty() ? QStringLiteral("Aucune donnée à montrer") : g.titre);
    setTitleFont(titre);
    setTitleBrush(couleurTexte);
    setBackgroundBrush(palette.color(QPalette::Base));
    setBackgroundPen(QPen(palette.color(QPalette::Mid)));
    setBackgroundRoundness(0);
    legend()->setAlignment(Qt::AlignBottom);
    legend()->setFont(texte);
    legend()->setLabelColor(couleurTexte);

    auto* categories = new QBarCategoryAxis(this);
    categories->append(g.categories);
    categories->setTitleText(g.axeCategories);
    categories->setTruncateLabels(false);  // "10" to "31" whole under their bars, never "..."
    colorerAxe(categories, palette, texte);
    addAxis(categories, Qt::AlignBottom);

    // One bar series per unit, on its own axis; the chart sets the bars of its series side by
    // side in each category.
    const QList<graphiques::Unite> unites = g.unites();
    ensembles_.resize(g.series.size());
    for (int u = 0; u < unites.size() && u < 2; ++u) {
        auto* valeurs = new QValueAxis(this);
        valeurs->setTitleText(graphiques::Graphique::axe(unites[u]));
        colorerAxe(valeurs, palette, texte);
        auto* barres = new QBarSeries(this);
        barres->setBarWidth(LargeurDesBarres);
        double plusGrande = 0;
        for (int s = 0; s < g.series.size(); ++s) {
            const graphiques::Serie& serie = g.series[s];
            if (serie.unite != unites[u])
                continue;
            auto* ensemble = new QBarSet(serie.nom);
            for (qint64 v : serie.valeurs) {
                const double valeur = serie.unite == graphiques::Unite::Cents ? v / 100.0 : double(v);
                ensemble->append(valeur);
                plusGrande = qMax(plusGrande, valeur);
            }
            ensemble->setBrush(remplissage(s, palette));
            ensemble->setPen(QPen(couleurTexte, 1));
            barres->append(ensemble);
            ensembles_[s] = ensemble;
        }
        graduer(valeurs, unites[u], plusGrande * 1.1);
        if (u > 0)
            valeurs->setGridLineVisible(false);  // the left axis's lines are the grid
        addSeries(barres);
        addAxis(valeurs, u == 0 ? Qt::AlignLeft : Qt::AlignRight);
        barres->attachAxis(categories);
        barres->attachAxis(valeurs);
    }
    for (int s = 0; s < g.series.size(); ++s)
        for (int i = 0; i < g.categories.size(); ++i) {
            auto* e = new QGraphicsSimpleTextItem(
                graphiques::Graphique::etiquette(g.series[s].unite, g.series[s].valeurs.value(i)), this);
            e->setFont(texte);
            e->setBrush(couleurTexte);
            e->setZValue(10);
            etiquettes_ << e;
        }
    connect(this, &QChart::plotAreaChanged, this, &ChartGraphique::placerEtiquettes);
}

void ChartGraphique::placerEtiquettes() {
    if (enPlacement_ || graphique_.categories.isEmpty() || graphique_.series.isEmpty())
        return;
    enPlacement_ = true;
    const QList<QAbstractSeries*> barres = series();
    const QList<graphiques::Unite> unites = graphique_.unites();
    const int n = static_cast<int>(graphique_.series.size());
    const int groupes = static_cast<int>(barres.size());
    const qsizetype categories = graphique_.categories.size();
    // Where the chart draws the bar of series `s` in category 0, in categories: the series of
    // bars share each category, each its sets side by side.
    const auto centre = [&](int s) {
        const int g = static_cast<int>(unites.indexOf(graphique_.series[s].unite));
        QList<int> duGroupe;
        for (int t = 0; t < n; ++t)
            if (graphique_.series[t].unite == graphique_.series[s].unite)
                duGroupe << t;
        const double largeur = LargeurDesBarres / groupes;
        const double decalage = 0.5 * (1.0 - groupes) / groupes + double(g) / groupes;
        return decalage - largeur / 2 + (duGroupe.indexOf(s) + 0.5) * largeur / duGroupe.size();
    };
    const auto valeur = [&](int s, int i) {
        const qint64 v = graphique_.series[s].valeurs.value(i);
        return graphique_.series[s].unite == graphiques::Unite::Cents ? v / 100.0 : double(v);
    };
    // Written across the bar when it is wide enough, else upright along it.
    double largeurBarre = 1e9;
    for (int s = 0; s < n; ++s) {
        const int g = static_cast<int>(unites.indexOf(graphique_.series[s].unite));
        int parGroupe = 0;
        for (const graphiques::Serie& t : graphique_.series)
            parGroupe += t.unite == graphique_.series[s].unite;
        largeurBarre = qMin(largeurBarre, (mapToPosition(QPointF(1, 0), barres.value(g)).x() -
                                           mapToPosition(QPointF(0, 0), barres.value(g)).x()) *
                                              LargeurDesBarres / groupes / parGroupe);
    }
    bool debout = false;
    for (QGraphicsSimpleTextItem* e : etiquettes_)
        debout = debout || e->boundingRect().width() > largeurBarre + 2;
    // Room over the highest bar of each axis for its text.
    const double hauteurZone = plotArea().height();
    for (int g = 0; g < groupes; ++g) {
        double plusGrande = 0, hauteurTexte = 0;
        for (int s = 0; s < n; ++s) {
            if (graphique_.series[s].unite != unites[g])
                continue;
            for (int i = 0; i < categories; ++i) {
                const QRectF r = etiquettes_[s * categories + i]->boundingRect();
                plusGrande = qMax(plusGrande, valeur(s, i));
                hauteurTexte = qMax(hauteurTexte, debout ? r.width() : r.height());
            }
        }
        auto* axe = qobject_cast<QValueAxis*>(axes(Qt::Vertical, barres.value(g)).value(0));
        if (axe && plusGrande > 0 && hauteurZone > hauteurTexte + 8) {
            const double requis = plusGrande * hauteurZone / (hauteurZone - hauteurTexte - 8);
            if (axe->max() < requis)
                graduer(axe, unites[g], requis);
        }
    }
    for (int s = 0; s < n; ++s) {
        QAbstractSeries* serie = barres.value(static_cast<int>(unites.indexOf(graphique_.series[s].unite)));
        const double x0 = centre(s);
        for (int i = 0; i < categories; ++i) {
            QGraphicsSimpleTextItem* e = etiquettes_[s * categories + i];
            e->setVisible(!e->text().isEmpty());
            const QPointF haut = mapToPosition(QPointF(i + x0, valeur(s, i)), serie);
            const QRectF r = e->boundingRect();
            if (debout) {
                e->setRotation(-90);
                e->setPos(haut.x() - r.height() / 2, haut.y() - 3);
            } else {
                e->setRotation(0);
                e->setPos(haut.x() - r.width() / 2, haut.y() - r.height() - 1);
            }
        }
    }
    // Values that would be written over one another are left out, the first series's first:
    // hundreds of codes would otherwise make a smudge of them (the table gives every value).
    QList<QRectF> ecrites;
    for (QGraphicsSimpleTextItem* e : etiquettes_) {
        if (!e->isVisible())
            continue;
        const QRectF r = encre(e);
        if (std::any_of(ecrites.begin(), ecrites.end(), [&](const QRectF& autre) { return autre.intersects(r); }))
            e->setVisible(false);
        else
            ecrites << r;
    }
    // The codes under the bars upright when they do not fit across.
    if (auto* axe = qobject_cast<QBarCategoryAxis*>(axes(Qt::Horizontal).value(0))) {
        const QFontMetricsF mesure(axe->labelsFont());
        double plusLarge = 0;
        for (const QString& c : graphique_.categories)
            plusLarge = qMax(plusLarge, mesure.horizontalAdvance(c));
        const double place = plotArea().width() / double(categories);
        axe->setLabelsAngle(plusLarge + 4 > place ? -90 : 0);
    }
    enPlacement_ = false;
}

QImage image(const graphiques::Graphique& g, QSize taille, const QPalette& palette, const QFont& police) {
    QGraphicsScene scene;
    auto* chart = new ChartGraphique(g, palette, police);
    scene.addItem(chart);
    chart->resize(taille);
    mettreEnPage(chart);
    QImage image(taille, QImage::Format_ARGB32);
    image.fill(palette.color(QPalette::Base));
    QPainter peintre(&image);
    peintre.setRenderHint(QPainter::Antialiasing);
    scene.render(&peintre, QRectF(QPointF(0, 0), taille), chart->geometry());
    return image;
}

void imprimer(Page& page, const graphiques::Graphique& g, const QStringList& entete, const QPalette& palette,
              const QFont& police) {
    page.police(QStringLiteral("Arial"));
    page.taille(12);
    page.gras(true);
    page.ecrireLigne(entete.value(0));
    page.gras(false);
    page.taille(10);
    for (const QString& ligne : entete.mid(1))
        page.ecrireLigne(ligne);
    page.ecrireLigne();
    const double haut = page.CurrentY;
    page.dessin(0, haut, page.largeur(), page.hauteur() - haut, [&](QPainter& peintre, const QRectF& cible) {
        // Laid out at the size the page has on a screen (96 dots an inch), then drawn to scale.
        QGraphicsScene scene;
        auto* chart = new ChartGraphique(g, palette, police);
        scene.addItem(chart);
        chart->resize(page.largeur() * 96, (page.hauteur() - haut) * 96);
        mettreEnPage(chart);
        peintre.setRenderHint(QPainter::Antialiasing);
        scene.render(&peintre, cible, chart->geometry());
    });
}

PanneauGraphique::PanneauGraphique(QString programme, PortDialogue& dialogues, QWidget* parent)
    : QWidget(parent), programme_(std::move(programme)), dialogues_(dialogues) {
    setObjectName(QStringLiteral("PanneauGraphique"));
    Vue = new QChartView(this);
    Vue->setObjectName(QStringLiteral("VueGraphique"));
    Vue->setRenderHint(QPainter::Antialiasing);
    Vue->setFocusPolicy(Qt::NoFocus);  // nothing to do in it: the keys go to the commands
    Imprimer = new QPushButton(QStringLiteral("Imprimer le gra&phique"), this);
    Imprimer->setObjectName(QStringLiteral("ImprimerGraphique"));
    Enregistrer = new QPushButton(QStringLiteral("En&registrer l'image"), this);
    Enregistrer->setObjectName(QStringLiteral("EnregistrerGraphique"));
    Enregistrer->setToolTip(QStringLiteral("Enregistrer le graphique dans un fichier d'image PNG"));
    for (QPushButton* b : {Imprimer, Enregistrer})
        b->setAutoDefault(false);
    connect(Imprimer, &QPushButton::clicked, this, &PanneauGraphique::imprimer);
    connect(Enregistrer, &QPushButton::clicked, this, &PanneauGraphique::enregistrer);
    auto* boutons = new QHBoxLayout;
    boutons->addStretch(1);
    boutons->addWidget(Imprimer);
    boutons->addWidget(Enregistrer);
    auto* disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->addWidget(Vue, 1);
    disposition->addLayout(boutons);
    dessiner();
}

void PanneauGraphique::afficher(const graphiques::Graphique& g, const QStringList& entete, const QString& nom) {
    graphique_ = g;
    entete_ = entete;
    nom_ = nom;
    dessiner();
}

ChartGraphique* PanneauGraphique::chart() const { return qobject_cast<ChartGraphique*>(Vue->chart()); }

void PanneauGraphique::dessiner() {
    QChart* ancien = Vue->chart();
    Vue->setChart(new ChartGraphique(graphique_, palette(), font()));
    delete ancien;  // the view lets go of the chart it replaces
    Vue->setAccessibleName(graphique_.titre.isEmpty() ? QStringLiteral("Graphique") : graphique_.titre);
    for (QPushButton* b : {Imprimer, Enregistrer})
        b->setEnabled(!graphique_.categories.isEmpty());
}

void PanneauGraphique::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::PaletteChange || e->type() == QEvent::FontChange)
        dessiner();
}

void PanneauGraphique::imprimer() {
    ImprimanteQt imprimante(programme_);
    imprimerDocument(imprimante, nom_, Orientation::Paysage, [&](Page& page) {
        ::imprimer(page, graphique_, entete_, palette(), font());
    }, dialogues_, QStringLiteral("Impression"));
}

bool PanneauGraphique::enregistrer() {
    const QString titre = QStringLiteral("Enregistrer l'image");
    const auto chemin = dialogues_.fichierAEnregistrer(
        titre, nom_ + Horloge::maintenant().toString(QStringLiteral(" yyyy-MM-dd HH'h'mm")) + QStringLiteral(".png"),
        {QStringLiteral("Image PNG (*.png)")});
    if (!chemin)
        return false;
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    image(graphique_, TailleImage, palette(), font()).save(&tampon, "PNG");
    try {
        fichiers::ecrireAtomique(chemin->chemin, octets);
    } catch (const ErreurFichier& e) {
        dialogues_.message(Icone::Critique, titre, QStringLiteral("Erreur %1  %2").arg(e.numero()).arg(erreurs::texte(e)));
        return false;
    }
    dialogues_.message(Icone::Information, titre,
                       QStringLiteral("Le graphique a été enregistré dans le fichier %1.")
                           .arg(QDir::toNativeSeparators(chemin->chemin)));
    return true;
}
