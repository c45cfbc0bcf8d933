// Every window of the program: a screen reader names each of its controls, it fits a small
// laptop's screen at 150 % fonts without cutting a caption, and it shows the program's icon.
#include "support/fenetres.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QString sansAccelerateur(QString texte) {
    texte.replace(QLatin1String("&&"), QString(QChar(1))).remove(QLatin1Char('&'));
    return texte.replace(QChar(1), QLatin1Char('&'));
}

// Children of `fenetre` itself (not of a popup it owns) that the program did not hide.
template <typename T>
QList<T*> controles(QWidget* fenetre) {
    QList<T*> liste;
    for (T* c : fenetre->findChildren<T*>())
        if (c->window() == fenetre && !c->isHidden())
            liste << c;
    return liste;
}

// A control that takes what the user types or chooses; the inner box of a combo or spin box is
// the combo's own, the heading of a list the list's.
bool saisie(QWidget* w) {
    if (qobject_cast<QHeaderView*>(w))
        return false;
    if (auto* t = qobject_cast<QLineEdit*>(w))
        return !qobject_cast<QComboBox*>(t->parentWidget()) && !qobject_cast<QAbstractSpinBox*>(t->parentWidget());
    return qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QCheckBox*>(w) ||
           qobject_cast<QRadioButton*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
           qobject_cast<QAbstractItemView*>(w);
}

// The name given, else the one a screen reader finds (a button's or a check box's caption, a
// box's label); a combo box's interface gives its current text as its name.
QString nomAnnonce(QWidget* w) {
    if (!w->accessibleName().isEmpty())
        return w->accessibleName();
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    return i && !qobject_cast<QComboBox*>(w) ? i->text(QAccessible::Name) : QString();
}

TEST(FenetresDuProgramme, ChaqueControleDeSaisieANomPropre) {
    for (const FabriqueFenetre& f : fenetresDuProgramme()) {
        SCOPED_TRACE(f.nom.toStdString());
        CliniqueDeTest clinique;
        bool vue = false;
        f.ouvrir(clinique, [&](QWidget* fenetre) {
            ASSERT_NE(fenetre, nullptr);
            vue = true;
            QStringList sansNom, enDouble;
            QMap<QString, QString> noms;  // name -> control
            for (QWidget* c : controles<QWidget>(fenetre)) {
                if (!saisie(c))
                    continue;
                const QString nom = nomAnnonce(c);
                if (nom.trimmed().isEmpty())
                    sansNom << c->objectName() + QLatin1Char('(') + c->metaObject()->className() + QLatin1Char(')');
                else if (noms.contains(nom))
                    enDouble << nom + QStringLiteral(": ") + noms[nom] + QStringLiteral(", ") + c->objectName();
                noms.insert(nom, c->objectName());
            }
            EXPECT_EQ(sansNom, QStringList());
            EXPECT_EQ(enDouble, QStringList());
            if (f.nom != QLatin1String("Principal"))
                return;
            // The entry window's boxes say what they hold, the arrays of lines too.
            const QList<QPair<const char*, const char*>> attendus = {
                {"MaskEdBox1_0", "Numéro d'assurance maladie"}, {"Text1_0", "Nom"}, {"Text1_1", "Prénom"},
                {"MaskEdBox1_1", "Date de naissance"}, {"MaskEdBox1_5", "Date du service"},
                {"MaskEdBox1_7", "Diagnostic 2"}, {"Combo1_4", "Acte 3"}, {"Label2_2", "Prix 3"},
                {"Text1_4", "Renseignements complémentaires"}, {"Combo1_0", "Optométriste"}};
            for (const auto& [objet, nom] : attendus)
                if (auto* c = fenetre->findChild<QWidget*>(QLatin1String(objet)))
                    EXPECT_EQ(nomAnnonce(c), QString::fromUtf8(nom)) << objet;
                else
                    ADD_FAILURE() << objet;
        });
        EXPECT_TRUE(vue);
    }
}

TEST(FenetresDuProgramme, MontrentLIconeDuProgramme) {
    const QImage attendue =
        QImage(QStringLiteral(":/kestrova/kestrova-32.png")).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_FALSE(attendue.isNull());
    for (const FabriqueFenetre& f : fenetresDuProgramme()) {
        SCOPED_TRACE(f.nom.toStdString());
        CliniqueDeTest clinique;
        f.ouvrir(clinique, [&](QWidget* fenetre) {
            ASSERT_NE(fenetre, nullptr);
            const QIcon icone = fenetre->windowIcon();
            ASSERT_FALSE(icone.isNull());
            const QImage montree = icone.pixmap(QSize(32, 32), 1.0).toImage();
            EXPECT_TRUE(montree.convertToFormat(QImage::Format_ARGB32_Premultiplied) == attendue);
        });
    }
}

// What of `fenetre` does not fit: the window on a 1280 x 800 screen less its title bar, a
// caption wider than its button, label or frame, a title wider than the title bar leaves.
QStringList debordements(QWidget* fenetre) {
    QStringList d;
    const qreal echelle = fenetre->devicePixelRatioF();
    const QSize physique = fenetre->size() * echelle;
    if (physique.width() > 1280 || physique.height() > 760)
        d << QStringLiteral("fenêtre %1x%2").arg(physique.width()).arg(physique.height());
    QFont gras = QApplication::font();
    gras.setBold(true);
    if (QFontMetrics(gras).horizontalAdvance(fenetre->windowTitle()) + 100 > fenetre->width())
        d << QStringLiteral("titre « %1 » dans %2").arg(fenetre->windowTitle()).arg(fenetre->width());
    for (QAbstractButton* b : controles<QAbstractButton>(fenetre)) {
        const QString texte = sansAccelerateur(b->text());
        if (texte.isEmpty() || !b->isVisible())
            continue;
        const QStyle* s = b->style();
        int requis = b->fontMetrics().horizontalAdvance(texte);
        if (qobject_cast<QPushButton*>(b)) {  // the margins the style keeps around a caption
            requis += s->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b) +
                      2 * s->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
            if (!b->icon().isNull())
                requis += b->iconSize().width() + 4;
        } else if (qobject_cast<QCheckBox*>(b)) {
            requis += s->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, b) +
                      s->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, b);
        } else if (qobject_cast<QRadioButton*>(b)) {
            requis += s->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, b) +
                      s->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, b);
        }
        if (requis > b->contentsRect().width())
            d << QStringLiteral("bouton « %1 » %2 dans %3").arg(texte).arg(requis).arg(b->contentsRect().width());
    }
    for (QLabel* l : controles<QLabel>(fenetre)) {
        if (!l->isVisible() || l->wordWrap() || l->text().isEmpty() || Qt::mightBeRichText(l->text()))
            continue;
        const int place = l->contentsRect().width() - 2 * l->margin() - qMax(l->indent(), 0);
        for (const QString& ligne : sansAccelerateur(l->text()).split(QLatin1Char('\n')))
            if (l->fontMetrics().horizontalAdvance(ligne) > place)
                d << QStringLiteral("libellé « %1 » dans %2").arg(ligne).arg(place);
    }
    for (QGroupBox* g : controles<QGroupBox>(fenetre)) {
        if (!g->isVisible() || g->title().isEmpty())
            continue;
        QStyleOptionGroupBox o;
        o.initFrom(g);
        o.text = g->title();
        o.textAlignment = g->alignment();
        o.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect titre = g->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, g);
        if (!g->rect().contains(titre) || titre.width() < g->fontMetrics().horizontalAdvance(g->title()))
            d << QStringLiteral("cadre « %1 » dans %2").arg(g->title()).arg(g->width());
    }
    return d;
}

// The controls of `fenetre` that the keyboard reaches but that stay out of sight once they
// have the focus (below the fold of a scroll area).
QStringList horsDeVue(QWidget* fenetre) {
    QStringList caches;
    for (QWidget* c : controles<QWidget>(fenetre)) {
        if (!c->isVisible() || !c->isEnabled() || !(c->focusPolicy() & Qt::TabFocus) || c->focusProxy())
            continue;
        c->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        if (c->hasFocus() && c->visibleRegion().isEmpty())
            caches << c->objectName() + QLatin1Char('(') + c->metaObject()->className() + QLatin1Char(')');
    }
    return caches;
}

void verifierLesTailles(int pointsParPouce) {
    for (const FabriqueFenetre& f : fenetresDuProgramme()) {
        SCOPED_TRACE(QStringLiteral("%1 à %2 ppp").arg(f.nom).arg(pointsParPouce).toStdString());
        CliniqueDeTest clinique;
        f.ouvrir(clinique, [&](QWidget* fenetre) {
            ASSERT_NE(fenetre, nullptr);
            EXPECT_EQ(debordements(fenetre), QStringList());
            EXPECT_EQ(horsDeVue(fenetre), QStringList());
        });
    }
}

// QT_FONT_DPI is read once, at start: the large fonts are seen by this same test run again in
// a process of its own.
TEST(FenetresDuProgramme, TiennentDansUnPetitEcranSansCouperUneLegende) {
    if (qEnvironmentVariable("QT_FONT_DPI") == QLatin1String("144")) {
        verifierLesTailles(144);
        return;
    }
    verifierLesTailles(96);
    QProcess grandesPolices;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_FONT_DPI"), QStringLiteral("144"));
    grandesPolices.setProcessEnvironment(env);
    grandesPolices.setProcessChannelMode(QProcess::MergedChannels);
    const QString ceTest = QStringLiteral("FenetresDuProgramme.TiennentDansUnPetitEcranSansCouperUneLegende");
    grandesPolices.start(QApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + ceTest});
    ASSERT_TRUE(grandesPolices.waitForFinished(120000));
    const QString sortie = QString::fromUtf8(grandesPolices.readAll());
    EXPECT_EQ(grandesPolices.exitCode(), 0) << sortie.toStdString();
    EXPECT_TRUE(sortie.contains(QLatin1String("[  PASSED  ] 1 test"))) << sortie.toStdString();
}

}  // namespace
