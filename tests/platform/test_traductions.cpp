#include "support/textesfenetre.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

template <typename Widget>
QStringList textesVisibles(const QWidget& fenetre) {
    QStringList textes;
    for (const Widget* w : fenetre.findChildren<Widget*>())
        if (w->isVisibleTo(&fenetre))
            textes << w->text();
    return textes;
}

}  // namespace

// Qt's own texts, with Qt's French translations loaded as the program loads them: the text
// boxes' context menu, the save dialog of an export, the standard buttons of a message box.
TEST(TraductionsQt, LesTextesDeQtSontEnFrancais) {
    QLineEdit boite;
    const std::unique_ptr<QMenu> menu(boite.createStandardContextMenu());
    QStringList contexte;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator())
            contexte << a->text();
    EXPECT_EQ(motsAnglais(contexte), QStringList()) << qPrintable(contexte.join(" | "));
    EXPECT_TRUE(contexte.join('|').remove('&').contains("Tout sélectionner"))
        << qPrintable(contexte.join(" | "));

    QTemporaryDir dossier;
    QFileDialog enregistrer(nullptr, "Exporter la liste", dossier.path());
    enregistrer.setOption(QFileDialog::DontUseNativeDialog);
    enregistrer.setAcceptMode(QFileDialog::AcceptSave);
    enregistrer.show();
    const QStringList dialogue = textesVisibles<QLabel>(enregistrer) + textesVisibles<QAbstractButton>(enregistrer);
    EXPECT_EQ(motsAnglais(dialogue), QStringList()) << qPrintable(dialogue.join(" | "));
    // Its list: the kind and the date of a folder in French.
    QDir(dossier.path()).mkdir("Archives");
    auto* modele = enregistrer.findChild<QFileSystemModel*>();
    ASSERT_NE(modele, nullptr);
    const QModelIndex racine = modele->index(dossier.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return modele->rowCount(racine) == 1; }, 5000));
    const QModelIndex ligne = modele->index(0, 0, racine);
    EXPECT_EQ(ligne.siblingAtColumn(2).data().toString(), "Dossier");
    const QString date = ligne.siblingAtColumn(3).data().toString();
    EXPECT_TRUE(date.startsWith(QDate::currentDate().toString("yyyy-MM-dd"))) << qPrintable(date);

    QMessageBox question;
    question.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Retry);
    QStringList boutons;
    for (const auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel, QMessageBox::Retry})
        boutons << question.button(b)->text().remove('&');
    EXPECT_EQ(boutons, QStringList({"Oui", "Non", "Annuler", "Réessayer"}));
}
