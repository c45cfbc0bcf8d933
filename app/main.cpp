#include "entry/Principal.h"
#include "platform/clavier.h"
#include "platform/dialoguesqt.h"
#include "platform/dossiers.h"
#include "platform/reglages.h"
#include "records/encodage.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrova"));
    QApplication::setOrganizationName(QStringLiteral("Kestrova"));
    activerEntreeSurBoutons();

    if (!encodage::disponible()) {
        QMessageBox::critical(nullptr, QStringLiteral("Kestrova"),
                              QStringLiteral("Le codage Windows-1252 n'est pas disponible sur ce "
                                             "poste. Le logiciel doit s'arrêter."));
        return 1;
    }

    const QString programme = dossiers::dossierProgramme(QApplication::arguments());
    DialoguesQt dialogues;
    ReglagesUtilisateur utilisateur;
    Principal principal(programme, dialogues, utilisateur);
    dialogues.fixerParent(&principal);
    if (!principal.Form_Load())
        return 1;
    principal.afficher();
    return QApplication::exec();
}
