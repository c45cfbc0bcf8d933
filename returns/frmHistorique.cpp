#include "returns/frmHistorique.h"

#include "platform/accessibilite.h"
#include "platform/dialogues.h"
#include "platform/erreurs.h"
#include "platform/filtresaisie.h"
#include "platform/horloge.h"
#include "platform/reprise.h"
#include "records/fichierfactures.h"

#include <QApplication>
#include <algorithm>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

namespace {
const QString TitreLecture = QStringLiteral("Erreur en lecture");
}

frmHistorique::frmHistorique(QString programme, const Configuration& configuration, PortDialogue& dialogues,
                             QWidget* parent)
    : QDialog(parent), programme_(std::move(programme)), configuration_(configuration), dialogues_(dialogues) {
    setObjectName(QStringLiteral("frmHistorique"));
    setWindowTitle(QStringLiteral("Historique des factures en mémoires"));
    // The boxes in rows as a clinic reads an invoice, each as wide as its field.
    static const QList<QList<int>> rangees = {
        {0, 7, 4, 5}, {8, 11, 12, 13, 14}, {10, 9}, {15, 16, 17}, {18, 20, 22, 23},
        {25, 29, 33},  {26, 30, 34},        {27, 31, 35}, {28, 32, 36}, {historique::BoiteTotal, 42},
        {40}};
    auto* grille = new QVBoxLayout;
    const int chiffre = fontMetrics().averageCharWidth() + 2;
    auto* filtre = new FiltreSaisie(this, [this] { dialogues_.bip(); });
    for (const QList<int>& indexes : rangees) {
        auto* rangee = new QHBoxLayout;
        for (int index : indexes) {
            const auto b = std::find_if(historique::boites().cbegin(), historique::boites().cend(),
                                        [index](const historique::Boite& x) { return x.index == index; });
            auto* boite = new QLineEdit(this);
            boite->setObjectName(QStringLiteral("Text1_%1").arg(index));
            // Each box takes what its field holds and no more; the total, computed, shows its
            // whole sum so that one too large for its six digits is seen, never cut.
            const bool calcule = index == historique::BoiteTotal;
            boite->setReadOnly(calcule || b->genre == historique::Boite::Genre::Lecture);
            if (b->genre == historique::Boite::Genre::Nombre && !calcule) {
                boite->setValidator(new QRegularExpressionValidator(
                    QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(b->champ.largeur)), boite));
                connect(boite, &QLineEdit::inputRejected, this, [this] { dialogues_.bip(); });
            } else if (b->genre == historique::Boite::Genre::Texte) {
                boite->setMaxLength(b->champ.largeur);
                filtre->installer(boite);
            }
            if (b->champ.largeur <= 30)
                boite->setFixedWidth(chiffre * b->champ.largeur + 12);
            auto* libelle = new QLabel(b->libelle, this);
            nommer(libelle, boite);
            rangee->addWidget(libelle);
            rangee->addWidget(boite, b->champ.largeur > 30 ? 1 : 0);
            rangee->addSpacing(12);
            boite->installEventFilter(this);
            Text1.insert(index, boite);
        }
        rangee->addStretch();
        grille->addLayout(rangee);
    }
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setPageStep(1);
    VScroll1->setAccessibleName(QStringLiteral("Facture affichée"));
    const QStringList legendes = {QStringLiteral("&Enregistrer la correction"),
                                  QStringLiteral("&Annuler la facture"), QStringLiteral("&Fermer")};
    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    for (int i = 0; i < legendes.size(); ++i) {
        auto* b = new QPushButton(legendes[i], this);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i));
        b->setAutoDefault(false);  // Enter in a box never writes the invoice
        connect(b, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        boutons->addWidget(b);
        Command1 << b;
    }
    StatusBar1 = new QLabel(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFrameShape(QFrame::StyledPanel);
    auto* milieu = new QHBoxLayout;
    milieu->addLayout(grille, 1);
    milieu->addWidget(VScroll1);
    auto* disposition = new QVBoxLayout(this);
    disposition->addLayout(milieu, 1);
    disposition->addLayout(boutons);
    disposition->addWidget(StatusBar1);
    connect(VScroll1, &QScrollBar::valueChanged, this, &frmHistorique::VScroll1_Change);
    // Page Down / Page Up: the next or the previous invoice without the mouse.
    for (const auto& [touche, pas] : {std::pair{QKeySequence::MoveToNextPage, 1}, {QKeySequence::MoveToPreviousPage, -1}})
        connect(new QShortcut(touche, this), &QShortcut::activated, this,
                [this, pas] { VScroll1->setValue(VScroll1->value() + pas); });
    Form_Load();
}

void frmHistorique::Form_Load() {
    int nombre = 0;
    executerAvecReprise(dialogues_, TitreLecture, [&] { nombre = fichierfactures::nombre(programme_); });
    if (nombre < 1) {
        aucune();
        return;
    }
    const QSignalBlocker bloque(VScroll1);
    VScroll1->setRange(1, nombre);
    VScroll1->setValue(1);
    afficher(1);
}

// Nothing in memory (another workstation's preparation may have emptied it): nothing to show,
// nothing to write.
void frmHistorique::aucune() {
    numero_ = 0;
    affiche_.clear();
    for (QLineEdit* boite : std::as_const(Text1))
        boite->clear();
    {
        const QSignalBlocker bloque(VScroll1);
        VScroll1->setRange(0, 0);
    }
    VScroll1->setEnabled(false);
    Command1[0]->setEnabled(false);
    Command1[1]->setEnabled(false);
    StatusBar1->setText(QStringLiteral("Aucune facture en mémoire"));
    dialogues_.message(Icone::Exclamation, QStringLiteral("Fichier temporaire"),
                       QStringLiteral("Aucune facture en mémoire"));
}

void frmHistorique::afficher(int numero) {
    QByteArray enregistrement;
    int nombre = 0;
    if (!executerAvecReprise(dialogues_, TitreLecture, [&] {
            nombre = fichierfactures::nombre(programme_);
            if (numero <= nombre)
                enregistrement = fichierfactures::lireFacture(programme_, numero);
        }))
        return;
    if (nombre < 1) {
        aucune();
        return;
    }
    if (numero > nombre) {  // fewer invoices than when the window opened
        VScroll1->setMaximum(nombre);  // moves the bar, which shows the last one
        return;
    }
    VScroll1->setMaximum(nombre);
    numero_ = numero;
    affiche_ = enregistrement;
    const historique::Textes t = historique::textes(enregistrement);
    for (auto it = Text1.cbegin(); it != Text1.cend(); ++it)
        it.value()->setText(t.value(it.key()));
    StatusBar1->setText(QStringLiteral("Fiche %1 de %2").arg(numero).arg(nombre));
}

bool frmHistorique::peutQuitterLaFacture() {
    if (numero_ < 1 || !historique::modifiee(affiche_, textes()))
        return true;
    return historique::abandonnerChangements(numero_, dialogues_);
}

void frmHistorique::VScroll1_Change() {
    if (!peutQuitterLaFacture()) {
        const QSignalBlocker bloque(VScroll1);
        VScroll1->setValue(numero_);
        return;
    }
    afficher(VScroll1->value());
}

void frmHistorique::reject() {
    if (peutQuitterLaFacture())
        QDialog::reject();
}

historique::Textes frmHistorique::textes() const {
    historique::Textes t;
    for (auto it = Text1.cbegin(); it != Text1.cend(); ++it)
        t.insert(it.key(), it.value()->text());
    return t;
}

void frmHistorique::Text1_LostFocus(int index) {
    QLineEdit* boite = Text1.value(index);
    if (!boite->isReadOnly() && boite->text() != boite->text().toUpper())
        boite->setText(boite->text().toUpper());
    Text1[historique::BoiteTotal]->setText(historique::total(textes()));
}

bool frmHistorique::eventFilter(QObject* objet, QEvent* evenement) {
    if (evenement->type() == QEvent::FocusOut)
        if (auto* boite = qobject_cast<QLineEdit*>(objet))
            Text1_LostFocus(Text1.key(boite));
    return QDialog::eventFilter(objet, evenement);
}

void frmHistorique::Command1_Click(int index) {
    // An access key leaves the focus in its box: its loss-of-focus work first, as a click does.
    if (auto* boite = qobject_cast<QLineEdit*>(QApplication::focusWidget()); boite && Text1.key(boite, -1) >= 0)
        Text1_LostFocus(Text1.key(boite));
    if (index == 2) {
        close();
        return;
    }
    if (numero_ < 1)
        return;
    const historique::Resultat r =
        index == 0 ? historique::corriger(programme_, numero_, affiche_, textes(), configuration_,
                                          Horloge::aujourdhui(), dialogues_)
                   : historique::Resultat{historique::annuler(programme_, numero_, affiche_, dialogues_)};
    if (r.issue != historique::Issue::Refusee)
        afficher(numero_);  // what is stored now; the edits stay when nothing could be written
    else if (QLineEdit* boite = Text1.value(r.boite)) {
        boite->setFocus(Qt::OtherFocusReason);
        boite->selectAll();
    }
}
