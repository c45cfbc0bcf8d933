#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The English words of `textes` (access-key marks removed), whole words only.
QStringList motsAnglais(const QStringList& textes) {
    static const QStringList Anglais = {"Cancel", "Save", "Open", "Undo", "Redo", "Copy", "Paste", "Cut", "Delete",
                                        "Select All", "Yes", "No", "Retry", "File name", "Look in", "Files of type"};
    QStringList trouves;
    for (QString t : textes) {
        t.remove('&');
        for (const QString& mot : Anglais)
            if (t.contains(QRegularExpression("\\b" + mot + "\\b")))
                trouves << mot + " dans « " + t + " »";
    }
    return trouves;
}

template <typename Widget>
QStringList textesDe(const QWidget& fenetre) {
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
    const QStringList dialogue = textesDe<QLabel>(enregistrer) + textesDe<QAbstractButton>(enregistrer);
    EXPECT_EQ(motsAnglais(dialogue), QStringList()) << qPrintable(dialogue.join(" | "));

    QMessageBox question;
    question.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Retry);
    QStringList boutons;
    for (const auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel, QMessageBox::Retry})
        boutons << question.button(b)->text().remove('&');
    EXPECT_EQ(boutons, QStringList({"Oui", "Non", "Annuler", "Réessayer"}));
}
