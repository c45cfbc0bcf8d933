#include "transmission/frmTelecommunication.h"

#include "config/parametres.h"
#include "platform/arriereplan.h"
#include "platform/barreoutils.h"
#include "platform/dialogues.h"
#include "platform/reprise.h"
#include "platform/sessioncurl.h"
#include "records/fichierfactures.h"
#include "returns/frmPrecedenteFact.h"
#include "returns/frmRetourErreur.h"
#include "returns/frmSuiviFactures.h"
#include "transmission/frmTelePrepare.h"
#include "transmission/frmTransmettre.h"
#include "transmission/frmVerificationInternet.h"
#include "transmission/verificationretours.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
const BoutonBarre BoutonsBarre[] = {
    {"Préparation", "&Préparation", QStyle::SP_FileDialogContentsView, "Préparer les factures en mémoire",
     QKeySequence("Alt+P")},
    {"Transmettre", "&Transmettre", QStyle::SP_ArrowUp, "Transmettre la facturation à la RAMQ", QKeySequence("Alt+T")},
    {"Confirmation", "&Confirmation", QStyle::SP_DialogApplyButton, "Retours de la RAMQ : erreurs",
     QKeySequence("Alt+C")},
    {"État de compte", "État de co&mpte", QStyle::SP_FileDialogDetailedView, "Retours de la RAMQ : états de compte",
     QKeySequence("Alt+M")},
    {"Précédentes", "P&récédentes", QStyle::SP_FileDialogBack, "Facturations précédentes", QKeySequence("Alt+R")},
    {"Suivi", "&Suivi", QStyle::SP_FileDialogListView, "Suivi des factures envoyées", QKeySequence("Alt+S"),
     "&Suivi des factures envoyées"},
    {"Quitter", "&Quitter", QStyle::SP_DialogCloseButton, "Fermer cette fenêtre.", QKeySequence("Alt+Q")},
};
}  // namespace

frmTelecommunication::frmTelecommunication(QString programme, QString agence,
                                           const Configuration& configuration,
                                           MagasinReglages& utilisateur, PortDialogue& dialogues,
                                           QWidget* parent)
    : QDialog(parent), programme_(std::move(programme)), agence_(std::move(agence)),
      configuration_(configuration),
      utilisateur_(utilisateur), dialogues_(dialogues) {
    setObjectName(QStringLiteral("frmTelecommunication"));
    setWindowTitle(QStringLiteral("Télécommunication avec la RAMQ"));
    Toolbar1 = nouvelleBarre(this, BoutonsBarre, [this](const QString& cle) { Toolbar1_ButtonClick(cle); });
    auto* disposition = new QVBoxLayout(this);
    menuDeLaBarre(barreDeMenus(this, disposition), QStringLiteral("&Opérations"), Toolbar1);
    disposition->addWidget(Toolbar1);
    auto* aide = new QLabel(QStringLiteral("Choisissez l'opération dans la barre d'outils ou dans le menu Opérations."), this);
    aide->setAlignment(Qt::AlignCenter);
    disposition->addWidget(aide);
    LabelConnexion = new QLabel(this);
    LabelConnexion->setObjectName(QStringLiteral("LabelConnexion"));
    LabelConnexion->setAlignment(Qt::AlignCenter);
    disposition->addWidget(LabelConnexion);
    // Wide enough for every button, none hidden behind the overflow arrow.
    setMinimumWidth(Toolbar1->sizeHint().width() + 2 * disposition->contentsMargins().left());
    Form_Load();
}

QAction* frmTelecommunication::bouton(const QString& cle) const {
    return findChild<QAction*>(QStringLiteral("Toolbar1_") + cle);
}

void frmTelecommunication::Form_Load() {
    Sablier sablier(dialogues_);
    int nombre = 0;
    executerAvecReprise(dialogues_, QStringLiteral("Erreur en lecture"),
                        [&] { nombre = fichierfactures::nombre(programme_); });
    bouton(QStringLiteral("Préparation"))->setEnabled(nombre > 0);
    verifierRetours();
}

void frmTelecommunication::verifierRetours() {
    const quint64 avant = derniereConnexion().numero;
    verificationretours::Resultat resultat;
    {
        Sablier sablier(dialogues_);
        frmVerificationInternet verification(this);
        verification.show();
        const ParametresFtp ftp = parametres::lireParametresFtp(utilisateur_);
        resultat = executerEnArrierePlan(
            [&] { return verificationretours::chercher(ftp, agence_, programme_); });
    }
    verificationretours::annoncer(resultat, dialogues_);
    montrerConnexion(avant);
}

void frmTelecommunication::montrerConnexion(quint64 avant) {
    if (const QString etat = etatConnexion(avant); !etat.isEmpty())
        LabelConnexion->setText(etat);
}

void frmTelecommunication::Toolbar1_ButtonClick(const QString& cle) {
    const quint64 avant = derniereConnexion().numero;
    if (cle == QLatin1String("Quitter")) {
        close();
    } else if (cle == QStringLiteral("Préparation")) {
        const auto fenetre =
            construireSousSablier<frmTelePrepare>(dialogues_, programme_, configuration_, dialogues_, this);
        connect(fenetre.get(), &frmTelePrepare::facturesPreparees, this, [this] {
            bouton(QStringLiteral("Préparation"))->setEnabled(false);
            emit facturesPreparees();
        });
        fenetre->exec();
    } else if (cle == QLatin1String("Transmettre")) {
        construireSousSablier<frmTransmettre>(dialogues_, programme_, utilisateur_, dialogues_, this)->exec();
    } else if (cle == QLatin1String("Confirmation") || cle == QStringLiteral("État de compte")) {
        const GenreRetour genre =
            cle == QLatin1String("Confirmation") ? GenreRetour::erreurs() : GenreRetour::etats();
        construireSousSablier<frmRetourErreur>(dialogues_, programme_, agence_, utilisateur_, dialogues_, this,
                                               genre)
            ->exec();
    } else if (cle == QStringLiteral("Précédentes")) {
        construireSousSablier<frmPrecedenteFact>(dialogues_, programme_, dialogues_, this)->exec();
    } else if (cle == QLatin1String("Suivi")) {
        construireSousSablier<frmSuiviFactures>(dialogues_, programme_, configuration_, dialogues_, this)->exec();
    }
    montrerConnexion(avant);  // the sending or a fetch of returns connected to the server
}
