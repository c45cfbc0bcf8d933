#include "platform/traductions.h"
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
#include <array>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>

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

// The dates' category alone becomes French, whatever the session's variables say; every other
// category keeps the value it had, the numbers' included (an empty variable counts as unset).
TEST(TraductionsQt, SeulesLesDatesPassentAuFrancais) {
    const char* const variables[] = {"LC_ALL", "LANG", "LC_TIME", "LC_NUMERIC"};
    std::map<std::string, std::optional<std::string>> avant;
    for (const char* v : variables)
        avant[v] = std::getenv(v) ? std::optional<std::string>(std::getenv(v)) : std::nullopt;
    using Env = std::array<const char*, 4>;  // LC_ALL, LANG, LC_TIME, LC_NUMERIC; nullptr: unset
    const struct {
        Env session, apres;
    } cas[] = {
        {{nullptr, "fr_CA.UTF-8", nullptr, nullptr}, {nullptr, "fr_CA.UTF-8", nullptr, nullptr}},
        {{"fr_CA.UTF-8", nullptr, nullptr, nullptr}, {"fr_CA.UTF-8", nullptr, nullptr, nullptr}},
        {{nullptr, "en_US.UTF-8", nullptr, "fr_CA.UTF-8"}, {nullptr, "en_US.UTF-8", "fr_CA.UTF-8", "fr_CA.UTF-8"}},
        {{"C", "en_US.UTF-8", nullptr, nullptr}, {nullptr, "C", "fr_CA.UTF-8", nullptr}},
        {{"C", "en_US.UTF-8", nullptr, "fr_CA.UTF-8"}, {nullptr, "C", "fr_CA.UTF-8", "C"}},
        {{"", "fr_CA.UTF-8", nullptr, nullptr}, {"", "fr_CA.UTF-8", nullptr, nullptr}},
        {{"", "en_US.UTF-8", "", nullptr}, {nullptr, "en_US.UTF-8", "fr_CA.UTF-8", nullptr}},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(std::string("LC_ALL=") + (k.session[0] ? k.session[0] : "(rien)") +
                     " LANG=" + (k.session[1] ? k.session[1] : "(rien)") +
                     " LC_NUMERIC=" + (k.session[3] ? k.session[3] : "(rien)"));
        for (int i = 0; i < 4; ++i)
            k.session[i] ? setenv(variables[i], k.session[i], 1) : unsetenv(variables[i]);
        preparerDatesEnFrancais();
        for (int i = 0; i < 4; ++i) {
            const char* v = std::getenv(variables[i]);
            EXPECT_EQ(std::string(v ? v : "(rien)"), std::string(k.apres[i] ? k.apres[i] : "(rien)")) << variables[i];
        }
    }
    for (const auto& [v, valeur] : avant)
        valeur ? setenv(v.c_str(), valeur->c_str(), 1) : unsetenv(v.c_str());
}
