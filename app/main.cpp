#include "app/commandes.h"
#include "config/parametres.h"
#include "entry/Principal.h"
#include "platform/clavier.h"
#include "platform/dialoguesqt.h"
#include "platform/dossiers.h"
#include "platform/fenetres.h"
#include "platform/fluxsortie.h"
#include "platform/reglages.h"
#include "platform/sessioncurl.h"
#include "platform/traductions.h"
#include "records/encodage.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QTextStream>

namespace {

// A command runs without the windows and without a display; printing still needs the GUI
// library, on its offscreen platform when none is set.
int executerCommande(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The report is the command's own; the toolkit's notes about its environment are not.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Kestrova"));
    QGuiApplication::setOrganizationName(QStringLiteral("Kestrova"));
    // Every write of the report is checked: a full disk fails the command.
    FluxSortie fluxSortie(1, QStringLiteral("sortie standard")), fluxErreurs(2, QStringLiteral("sortie d'erreur"));
    QTextStream sortie(&fluxSortie), erreurs(&fluxErreurs);
    if (!encodage::disponible()) {
        erreurs << "Le codage Windows-1252 n'est pas disponible sur ce poste." << Qt::endl;
        return 1;
    }
    return commandes::executer(QGuiApplication::arguments(), sortie, erreurs);
}

}  // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (commandes::estCommande(arguments))
        return executerCommande(argc, argv);

    preparerDatesEnFrancais();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrova"));
    QApplication::setOrganizationName(QStringLiteral("Kestrova"));
    QApplication::setWindowIcon(iconeProgramme());
    chargerTraductionsQt();
    activerClavierDesBoutons();
    ajusterFenetresALEcran();

    if (!encodage::disponible()) {
        QMessageBox::critical(nullptr, QStringLiteral("Kestrova"),
                              QStringLiteral("Le codage Windows-1252 n'est pas disponible sur ce "
                                             "poste. Le logiciel doit s'arrêter."));
        return 1;
    }

    const QString programme = dossiers::dossierProgramme(QApplication::arguments());
    DialoguesQt dialogues;
    dialogues.fixerDossierExportation(programme);
    ReglagesUtilisateur utilisateur;
    exigerTLS(parametres::oui(utilisateur, parametres::ExigerTLS));
    Principal principal(programme, dialogues, utilisateur);
    dialogues.fixerParent(&principal);
    if (!principal.Form_Load())
        return 1;
    principal.afficher();
    principal.rappelerSauvegarde();
    return QApplication::exec();
}
