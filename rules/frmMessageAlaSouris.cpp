#include "rules/frmMessageAlaSouris.h"

#include "platform/fenetres.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmMessageAlaSouris::frmMessageAlaSouris(const FenetreChoix& fenetre, QWidget* parent)
    : QDialog(parent), fenetre_(fenetre) {
    setObjectName(QStringLiteral("frmMessageAlaSouris"));
    setWindowTitle(fenetre.legende);
    setModal(true);
    // A long list of choices scrolls on a small screen.
    auto* disposition = new QVBoxLayout(contenuDefilant(this));
    disposition->setSpacing(6);
    for (const ElementChoix& e : fenetre.elements) {
        if (e.genre == ElementChoix::Genre::Entete) {
            auto* l = new QLabel(e.texte, this);
            l->setObjectName(QStringLiteral("Label1_%1").arg(Label1.size()));
            l->setTextFormat(Qt::PlainText);
            QFont f = l->font();
            f.setBold(true);
            l->setFont(f);
            disposition->addWidget(l);
            Label1 << l;
        } else {
            const int index = Command1.size();
            auto* b = new QPushButton(e.texte, this);
            b->setObjectName(QStringLiteral("Command1_%1").arg(index));
            b->setToolTip(e.infobulle);
            b->setAutoDefault(true);  // the focused choice is drawn as the one Enter picks
            b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
            connect(b, &QPushButton::clicked, this, [this, index] { Command1_Click(index); });
            disposition->addWidget(b, 0, Qt::AlignLeft);
            Command1 << b;
        }
    }
    setSizeGripEnabled(false);
    // The window opens on its first choice, whatever had the focus below it.
    if (!Command1.isEmpty())
        Command1.first()->setFocus(Qt::OtherFocusReason);
}

void frmMessageAlaSouris::Command1_Click(int index) {
    choisi_ = index;
    accept();
}

void frmMessageAlaSouris::keyPressEvent(QKeyEvent* evenement) {
    if (evenement->key() == Qt::Key_Escape) {
        choisi_ = -1;
        reject();
        return;
    }
    QDialog::keyPressEvent(evenement);
}

void frmMessageAlaSouris::keyReleaseEvent(QKeyEvent* evenement) {
    const QString t = evenement->text().toUpper();
    if (t.size() == 1)
        for (const auto& [touche, index] : fenetre_.raccourcis)
            if (touche.toUpper() == t.at(0)) {
                Command1_Click(index);
                return;
            }
    QDialog::keyReleaseEvent(evenement);
}
