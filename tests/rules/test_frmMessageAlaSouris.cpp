#include "rules/frmMessageAlaSouris.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

FenetreChoix fenetre() {
    FenetreChoix f;
    f.numero = 22;
    f.legende = "Code d'Acte 9002";
    f.elements = {{ElementChoix::Genre::Entete, "Les renseignements complémentaires doivent contenir...", {}},
                  {ElementChoix::Genre::Bouton, "&PATHOLOGIE", {}},
                  {ElementChoix::Genre::Entete, "OU", {}},
                  {ElementChoix::Genre::Bouton, "&IMPOSSIBILITE DE POURSUIVRE L EXAMEN", "bulle"}};
    f.raccourcis = {{QLatin1Char('P'), 0}, {QLatin1Char('I'), 1}};
    return f;
}

int executer(frmMessageAlaSouris& f, const std::function<void()>& action) {
    QTimer::singleShot(0, &f, action);
    f.exec();
    return f.boutonChoisi();
}

}  // namespace

TEST(frmMessageAlaSouris, BoutonsLUnSousLAutre) {
    frmMessageAlaSouris f(fenetre());
    f.show();
    ASSERT_EQ(f.Command1.size(), 2);
    ASSERT_EQ(f.Label1.size(), 2);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Code d'Acte 9002"));
    EXPECT_LT(f.Command1[0]->y(), f.Label1[1]->y());
    EXPECT_LT(f.Label1[1]->y(), f.Command1[1]->y());
    EXPECT_EQ(f.Command1[0]->x(), f.Command1[1]->x());
    EXPECT_LT(f.Command1[0]->width(), f.Command1[1]->width());  // as wide as its caption
    EXPECT_EQ(f.Command1[1]->toolTip(), QStringLiteral("bulle"));
}

TEST(frmMessageAlaSouris, ClicEchapEtTouches) {
    {
        frmMessageAlaSouris f(fenetre());
        EXPECT_EQ(executer(f, [&] { QTest::mouseClick(f.Command1[1], Qt::LeftButton); }), 1);
    }
    {
        frmMessageAlaSouris f(fenetre());
        EXPECT_EQ(executer(f, [&] { QTest::keyClick(&f, Qt::Key_Escape); }), -1);
    }
    {
        frmMessageAlaSouris f(fenetre());
        EXPECT_EQ(executer(f, [&] { QTest::keyClick(&f, Qt::Key_I); }), 1);
    }
    {
        frmMessageAlaSouris f(fenetre());
        EXPECT_EQ(executer(f, [&] { QTest::keyClick(&f, 'p'); }), 0);
    }
}
