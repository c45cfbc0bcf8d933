#include "config/MotPasse.h"

#include "platform/accessibilite.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLineEdit* boiteMasquee(QWidget* parent, const QString& nom) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(nom);
    b->setEchoMode(QLineEdit::Password);
    b->setMaxLength(motdepasse::Longueur);
    return b;
}
}  // namespace

MotPasse::MotPasse(QString programme, PortDialogue& dialogues, QWidget* parent)
    : QDialog(parent), porte_(std::move(programme), dialogues) {
    setObjectName(QStringLiteral("MotPasse"));
    setWindowTitle(QStringLiteral("Mot de passe"));
    setModal(true);

    auto* menus = new QMenuBar(this);
    Depannage = menus->addAction(QStringLiteral("&Dépannage"));
    Depannage->setObjectName(QStringLiteral("Depannage"));
    Quitter = menus->addAction(QStringLiteral("&Quitter"));
    Quitter->setObjectName(QStringLiteral("Quitter"));
    connect(Depannage, &QAction::triggered, this, &MotPasse::Depannage_Click);
    connect(Quitter, &QAction::triggered, this, &MotPasse::Quitter_Click);

    const QStringList libelles = {QStringLiteral("Inscrire votre mot de passe:"),
                                  QStringLiteral("Inscrire votre ancien mot de passe"),
                                  QStringLiteral("Inscrire votre autorisation")};
    for (int i = 0; i < libelles.size(); ++i) {
        auto* l = new QLabel(libelles[i], this);
        l->setObjectName(QStringLiteral("Label1_%1").arg(i));
        Label1 << l;
    }
    const QStringList legendes = {QStringLiteral("Ok"),      QStringLiteral("Modifier"),
                                  QStringLiteral("Annuler"), QStringLiteral("Ok"),
                                  QStringLiteral("Annuler"), QStringLiteral("Ok"),
                                  QStringLiteral("Fermer")};
    for (int i = 0; i < legendes.size(); ++i) {
        auto* b = new QPushButton(legendes[i], this);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1 << b;
    }
    Text1 = boiteMasquee(this, QStringLiteral("Text1"));
    Text2 << boiteMasquee(this, QStringLiteral("Text2_0")) << boiteMasquee(this, QStringLiteral("Text2_1"));
    Text2[1]->setEchoMode(QLineEdit::Normal);
    nommer(Label1[0], Text1, QStringLiteral("Mot de passe"));
    nommer(Label1[1], Text2[0], QStringLiteral("Ancien mot de passe"));
    nommer(Label1[2], Text2[1], QStringLiteral("Autorisation"));

    auto zone = [&](QLabel* libelle, QLineEdit* boite, QPushButton* ok, QPushButton* autre) {
        auto* w = new QWidget(this);
        auto* g = new QGridLayout(w);
        g->setContentsMargins(0, 8, 0, 0);
        g->addWidget(libelle, 0, 0, 1, 3);
        g->addWidget(boite, 1, 0);
        g->addWidget(ok, 1, 1);
        g->addWidget(autre, 1, 2);
        return w;
    };
    auto* connexion = new QWidget(this);
    auto* g = new QGridLayout(connexion);
    g->setContentsMargins(0, 0, 0, 0);
    g->addWidget(Label1[0], 0, 0, 1, 4);
    g->addWidget(Text1, 1, 0);
    g->addWidget(Command1[0], 1, 1);
    g->addWidget(Command1[1], 1, 2);
    g->addWidget(Command1[2], 1, 3);
    zoneModification = zone(Label1[1], Text2[0], Command1[3], Command1[4]);
    zoneSoutien = zone(Label1[2], Text2[1], Command1[5], Command1[6]);

    auto* v = new QVBoxLayout(this);
    v->setMenuBar(menus);
    v->addWidget(connexion);
    v->addWidget(zoneModification);
    v->addWidget(zoneSoutien);
    zoneModification->hide();
    zoneSoutien->hide();
    Text1->setFocus();
    // Enter in a box gives its "Ok".
    connect(Text1, &QLineEdit::returnPressed, Command1[0], &QPushButton::click);
    connect(Text2[0], &QLineEdit::returnPressed, Command1[3], &QPushButton::click);
    connect(Text2[1], &QLineEdit::returnPressed, Command1[5], &QPushButton::click);
}

void MotPasse::conclure(motdepasse::Issue issue) {
    if (issue == motdepasse::Issue::Attendre)
        return;
    decide_ = true;
    if (issue == motdepasse::Issue::Autorise)
        accept();
    else
        QDialog::reject();
}

void MotPasse::Command1_Click(int index) {
    switch (index) {
    case 0:
        conclure(porte_.connexion(Text1->text()));
        if (!decide_) {
            Text1->setFocus();
            Text1->selectAll();
        }
        break;
    case 1:
        zoneModification->show();
        Text2[0]->setFocus();
        break;
    case 3: {
        const motdepasse::Issue issue = porte_.modifier(Text2[0]->text());
        if (porte_.attendNouveau()) {
            Label1[1]->setText(QStringLiteral("Inscrire nouveau mot de passe"));
            Text2[0]->setAccessibleName(QStringLiteral("Nouveau mot de passe"));
            Text2[0]->clear();
            Text2[0]->setFocus();
        }
        conclure(issue);
        break;
    }
    case 5:
        if (const auto stocke = porte_.soutien(Text2[1]->text()))
            Label1[2]->setText(*stocke);
        break;
    case 6: modeSoutien(false); break;
    case 2:
    case 4: conclure(porte_.refuser()); break;
    default: break;
    }
}

void MotPasse::modeSoutien(bool actif) {
    zoneSoutien->setVisible(actif);
    for (QWidget* w : {static_cast<QWidget*>(Text1), static_cast<QWidget*>(Command1[0]),
                       static_cast<QWidget*>(Command1[1]), static_cast<QWidget*>(zoneModification)})
        w->setEnabled(!actif);
    if (actif)
        Text2[1]->setFocus();
    else
        Label1[2]->setText(QStringLiteral("Inscrire votre autorisation"));
}

void MotPasse::Depannage_Click() { modeSoutien(true); }

void MotPasse::Quitter_Click() { conclure(porte_.refuser()); }

void MotPasse::reject() {
    // Escape or the title-bar button: without access, a refusal.
    if (!decide_)
        conclure(porte_.refuser());
}
