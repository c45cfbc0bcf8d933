#include "config/Initial.h"

#include "platform/accessibilite.h"
#include "platform/dialogues.h"
#include "platform/fenetres.h"
#include "platform/lignecourante.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
QString nomIndexe(const char* nom, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(nom)).arg(index);
}
}  // namespace

Initial::Initial(QString programme, MagasinReglages& utilisateur, PortDialogue& dialogues,
                 const ParametresFtp& ftp, std::function<void()> recharger, QWidget* parent)
    : QDialog(parent), init_(std::move(programme), utilisateur, dialogues),
      recharger_(std::move(recharger)) {
    setObjectName(QStringLiteral("Initial"));
    setWindowTitle(QStringLiteral("Initialisation"));
    setModal(true);
    init_.charger(ftp);

    for (int i = 0; i < 7; ++i) {
        auto* b = new QPushButton(i == 4 ? QStringLiteral("&Fermer")
                                  : i == 6 ? QStringLiteral("&Enregistrer")
                                           : QStringLiteral("&Ok"),
                                  this);
        b->setObjectName(nomIndexe("Command1", i));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1 << b;
    }
    for (int i = 0; i < 5; ++i) {
        auto* l = new QListWidget(this);
        l->setObjectName(nomIndexe("List1", i));
        suivreLaLigneCourante(l);  // the row the keyboard reaches is the row shown selected
        connect(l, &QListWidget::currentRowChanged, this, [this, i] { List1_Click(i); });
        List1 << l;
    }
    for (int i : {0, 1, 2, 4, 5, 6, 7}) {
        auto* t = new QLineEdit(this);
        t->setObjectName(nomIndexe("Text1", i));
        connect(t, &QLineEdit::textChanged, this, [this, i] { Text1_Change(i); });
        Text1[i] = t;
    }
    Text1[0]->setMaxLength(6);
    Text1[6]->setMaxLength(5);
    Text1[2]->setMaxLength(6);
    Text1[7]->setMaxLength(5);
    Text1[5]->setMaxLength(5);
    for (int i = 0; i < 3; ++i) {
        auto* t = new QLineEdit(this);
        t->setObjectName(nomIndexe("Text2", i));
        Text2 << t;
    }
    Text2[0]->setText(init_.serveurFtp);
    Text2[1]->setText(init_.utilisateurFtp);
    Text2[2]->setEchoMode(QLineEdit::Password);
    Text2[2]->setEnabled(false);  // the FTP password is fixed
    for (const QString& texte : {Initialisation::InstructionsPrix, Initialisation::InstructionsOptometristes,
                                 Initialisation::InstructionsEtablissements}) {
        auto* l = new QLabel(QString(texte).remove(QLatin1Char('\r')), this);
        l->setWordWrap(true);
        Instructions << l;
    }

    // A caption that names the control it stands by, for a screen reader.
    const auto libelle = [this](const QString& texte, QWidget* controle, const QString& nom = {}) {
        auto* l = new QLabel(texte, this);
        nommer(l, controle, nom);
        return l;
    };
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    auto page = [&](const QString& titre) {
        auto* w = new QWidget(SSTab1);
        SSTab1->addTab(w, titre);
        return new QGridLayout(w);
    };
    QGridLayout* actes = page(QStringLiteral("Liste des actes"));
    actes->addWidget(List1[0], 0, 0, 4, 1);
    List1[0]->setAccessibleName(QStringLiteral("Codes d'actes"));
    actes->addWidget(libelle(QStringLiteral("Code d'acte:"), Text1[6]), 0, 1);
    actes->addWidget(Text1[6], 0, 2);
    actes->addWidget(libelle(QStringLiteral("Prix:"), Text1[0]), 1, 1);
    actes->addWidget(Text1[0], 1, 2);
    actes->addWidget(Command1[0], 2, 2);
    actes->addWidget(Instructions[0], 4, 0, 1, 3);

    QGridLayout* optos = page(QStringLiteral("Optométristes"));
    const QStringList titres = {QStringLiteral("Nom de l'optométriste"), QStringLiteral("# Proff."),
                                QStringLiteral("# Groupe")};
    const QStringList nomsListes = {QStringLiteral("Noms des optométristes"),
                                    QStringLiteral("Numéros de professionnel"), QStringLiteral("Numéros de groupe")};
    const QStringList nomsBoites = {QStringLiteral("Nom de l'optométriste"),
                                    QStringLiteral("Numéro de professionnel"), QStringLiteral("Numéro de groupe")};
    const int listes[] = {1, 2, 4}, boites[] = {1, 2, 7}, boutons[] = {1, 2, 5};
    for (int c = 0; c < 3; ++c) {
        optos->addWidget(libelle(titres[c], List1[listes[c]], nomsListes[c]), 0, c);
        Text1[boites[c]]->setAccessibleName(nomsBoites[c]);
        optos->addWidget(List1[listes[c]], 1, c);
        optos->addWidget(Text1[boites[c]], 2, c);
        optos->addWidget(Command1[boutons[c]], 3, c);
    }
    optos->setColumnStretch(0, 3);
    optos->addWidget(Instructions[1], 4, 0, 1, 3);

    QGridLayout* etabs = page(QStringLiteral("Établissements"));
    List1[3]->setAccessibleName(QStringLiteral("Établissements"));
    Text1[4]->setAccessibleName(QStringLiteral("Établissement"));
    etabs->addWidget(List1[3], 0, 0, 1, 2);
    etabs->addWidget(Text1[4], 1, 0);
    etabs->addWidget(Command1[3], 1, 1);
    etabs->addWidget(Instructions[2], 2, 0, 1, 2);

    QGridLayout* autres = page(QStringLiteral("Autres"));
    for (int i = 0; i < Initialisation::NombreCases; ++i) {
        auto* c = new QCheckBox(Initialisation::legendesCases()[i], this);
        c->setObjectName(nomIndexe("Check1", i));
        c->setChecked(init_.cases[i]);
        autres->addWidget(c, i, 0, 1, 2);
        Check1 << c;
    }
    Check1[7]->setToolTip(QStringLiteral("À la saisie des factures le curseur passe directement au "
                                         "code d'acte."));
    Text3 = new QLineEdit(QStringLiteral("C:\\Pavo\\Export"), this);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setReadOnly(true);
    autres->addWidget(libelle(QStringLiteral("Dossier d'exportation du logiciel de gestion:"), Text3),
                      Initialisation::NombreCases, 0);
    autres->addWidget(Text3, Initialisation::NombreCases, 1);

    auto* compteurs = new QGroupBox(QStringLiteral("Création des compteurs"), this);
    auto* gc = new QGridLayout(compteurs);
    gc->addWidget(
        libelle(QStringLiteral("Indiquez votre numéro d'agence:"), Text1[5], QStringLiteral("Numéro d'agence")), 0, 0);
    gc->addWidget(Text1[5], 0, 1);
    gc->addWidget(Command1[6], 0, 2);
    Command1[6]->setEnabled(false);
    auto* serveur = new QGroupBox(QStringLiteral("Serveur"), this);
    auto* gs = new QGridLayout(serveur);
    const QStringList libelles = {QStringLiteral("Nom du serveur:"), QStringLiteral("Nom d'utilisateur:"),
                                  QStringLiteral("Mot de passe:")};
    for (int i = 0; i < 3; ++i) {
        gs->addWidget(libelle(libelles[i], Text2[i]), i, 0);
        gs->addWidget(Text2[i], i, 1);
    }

    auto* v = new QVBoxLayout(contenuDefilant(this));  // scrolls on a small screen
    v->addWidget(SSTab1);
    v->addWidget(compteurs);
    v->addWidget(serveur);
    v->addWidget(Command1[4], 0, Qt::AlignRight);
    // Enter in an edit box gives its "&Ok" (several share the access key Alt+O).
    const QList<QPair<int, int>> entrees = {{0, 0}, {6, 0}, {1, 1}, {2, 2}, {7, 5}, {4, 3}, {5, 6}};
    for (const auto& [boite, bouton] : entrees)
        connect(Text1[boite], &QLineEdit::returnPressed, this, [this, bouton = bouton] {
            if (Command1[bouton]->isEnabled())
                Command1[bouton]->click();
        });
    remplirListes();
    // No "&Ok" acts before its list shows the row it would change.
    for (int i : {0, 1, 2, 3, 5})
        Command1[i]->setEnabled(false);
    // The keyboard goes through each page as it reads (list, its box, its "&Ok"), then the
    // switches, the agency, the server and "&Fermer".
    QList<QWidget*> ordre = {List1[0], Text1[6], Text1[0], Command1[0], List1[1], Text1[1], Command1[1],
                             List1[2], Text1[2], Command1[2], List1[4], Text1[7], Command1[5],
                             List1[3], Text1[4], Command1[3]};
    for (QCheckBox* c : Check1)
        ordre << c;
    ordre << Text1[5] << Command1[6] << Text2[0] << Text2[1] << Command1[4];
    for (int i = 1; i < ordre.size(); ++i)
        setTabOrder(ordre[i - 1], ordre[i]);
    List1[0]->setFocus(Qt::OtherFocusReason);
    resize(720, 640);
}

void Initial::remplirListes() {
    const Configuration& c = init_.copie;
    auto remplir = [](QListWidget* l, const QStringList& valeurs) {
        const int ligne = l->currentRow();
        const QSignalBlocker bloqueur(l);
        l->clear();
        l->addItems(valeurs);
        l->setCurrentRow(ligne);
    };
    QStringList codes, noms, numeros, groupes, etablissements;
    for (const EntreePrix& p : c.TableDesPrix)
        codes << p.code;
    for (const Optometriste& o : c.Optometristes) {
        noms << o.nom;
        numeros << o.professionnel;
        groupes << o.groupe;
    }
    for (const QString& e : c.Etablissements)
        etablissements << e;
    remplir(List1[0], codes);
    remplir(List1[1], noms);
    remplir(List1[2], numeros);
    remplir(List1[3], etablissements);
    remplir(List1[4], groupes);
}

void Initial::List1_Click(int index) {
    const int ligne = List1[index]->currentRow();
    if (ligne < 0)
        return;
    const Configuration& c = init_.copie;
    switch (index) {
    case 0:
        Text1[0]->setText(c.TableDesPrix[ligne].prix);
        Text1[6]->setText(c.TableDesPrix[ligne].code);
        Command1[0]->setEnabled(true);
        break;
    case 1:
    case 2:
    case 4:
        // The name, number and group of one slot are chosen together: the boxes always hold the
        // slot the three lists show.
        for (int l : {1, 2, 4})
            if (l != index && List1[l]->currentRow() != ligne) {
                const QSignalBlocker bloque(List1[l]);
                List1[l]->setCurrentRow(ligne);
            }
        Text1[1]->setText(c.Optometristes[ligne].nom);
        Text1[2]->setText(c.Optometristes[ligne].professionnel);
        Text1[7]->setText(c.Optometristes[ligne].groupe);
        for (int b : {1, 2, 5})
            Command1[b]->setEnabled(true);
        break;
    case 3:
        Text1[4]->setText(c.Etablissements[ligne]);
        Command1[3]->setEnabled(true);
        break;
    default: break;
    }
}

void Initial::Text1_Change(int index) {
    if (index == 5)
        Command1[6]->setEnabled(Initialisation::agenceActivable(Text1[5]->text()));
}

void Initial::lireInterrupteurs() {
    for (int i = 0; i < Initialisation::NombreCases; ++i)
        init_.cases[i] = Check1[i]->isChecked();
    init_.serveurFtp = Text2[0]->text().trimmed();
    init_.utilisateurFtp = Text2[1]->text().trimmed();
}

void Initial::Command1_Click(int index) {
    lireInterrupteurs();  // every save writes the switches and the FTP values as they stand
    bool accepte = false;
    switch (index) {
    case 0: accepte = init_.changerPrix(List1[0]->currentRow(), Text1[0]->text(), Text1[6]->text()); break;
    case 1: accepte = init_.changerNom(List1[1]->currentRow(), Text1[1]->text()); break;
    case 2: accepte = init_.changerNumero(List1[2]->currentRow(), Text1[2]->text()); break;
    case 3: accepte = init_.changerEtablissement(List1[3]->currentRow(), Text1[4]->text()); break;
    case 5: accepte = init_.changerGroupe(List1[4]->currentRow(), Text1[7]->text()); break;
    case 6: init_.enregistrerAgence(Text1[5]->text()); return;
    case 4:
        if (!init_.sauvegarder()) {
            // The message named what failed; the window may still be closed, without saving.
            if (init_.fermerSansEnregistrer())
                QDialog::reject();
            return;
        }
        if (recharger_)
            recharger_();
        init_.annoncerRedemarrage();
        accept();
        return;
    default: return;
    }
    if (!accepte)
        return;
    remplirListes();
    if (index == 1 || index == 2 || index == 5)
        Command1[index]->setEnabled(false);
}

void Initial::reject() { Command1_Click(4); }
