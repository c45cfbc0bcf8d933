#include "support/fenetres.h"

#include "config/Initial.h"
#include "config/MotPasse.h"
#include "config/fichierconfiguration.h"
#include "config/frmCorrigeCfg.h"
#include "config/parametres.h"
#include "entry/Principal.h"
#include "entry/frmListeEnMem.h"
#include "platform/dialoguesqt.h"
#include "platform/horloge.h"
#include "returns/affichageretour.h"
#include "returns/frmAfficheRapport.h"
#include "returns/frmArchives.h"
#include "returns/frmHistorique.h"
#include "returns/frmPrecedenteFact.h"
#include "returns/frmSuiviFactures.h"
#include "returns/frmRetourErreur.h"
#include "rules/catalogue.h"
#include "backup/frmSauvegarde.h"
#include "rules/frmMessageAlaSouris.h"
#include "statistics/frmListeDesFacturations.h"
#include "statistics/frmStatMensuelle.h"
#include "statistics/frmStatistique.h"
#include "statistics/frmTendances.h"
#include "statistics/statmensuelle.h"
#include "support/factures.h"
#include "support/retours.h"
#include "transmission/frmTelePrepare.h"
#include "transmission/frmTelecommunication.h"
#include "transmission/frmTransmettre.h"
#include "transmission/frmVerificationInternet.h"

#include <QApplication>
#include <QDialog>
#include <QLayout>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

using Examiner = std::function<void(QWidget*)>;

// Shown as the program shows it, looked at once laid out, then closed without its closing work.
void examinerMontree(QWidget* fenetre, const Examiner& examiner) {
    fenetre->show();
    QApplication::setActiveWindow(fenetre);
    (void)QTest::qWaitForWindowExposed(fenetre);
    if (fenetre->layout())
        fenetre->layout()->activate();
    QApplication::processEvents();
    examiner(fenetre);
    fenetre->hide();
}

template <typename Fenetre, typename... Arguments>
void montrer(const Examiner& examiner, Arguments&&... arguments) {
    const auto fenetre = std::make_unique<Fenetre>(std::forward<Arguments>(arguments)...);
    examinerMontree(fenetre.get(), examiner);
}

// A box that the port opens modally and waits on: looked at once open, then cancelled.
void pendantLaBoite(const std::function<void()>& ouvrir, const Examiner& examiner) {
    bool vue = false;
    std::function<void()> guetter;
    guetter = [&] {
        QWidget* boite = QApplication::activeModalWidget();
        if (!boite || !boite->isVisible()) {
            QTimer::singleShot(10, guetter);
            return;
        }
        vue = true;
        if (boite->layout())
            boite->layout()->activate();
        QApplication::processEvents();
        examiner(boite);
        if (auto* d = qobject_cast<QDialog*>(boite))
            d->reject();
    };
    QTimer::singleShot(0, guetter);
    ouvrir();
    if (!vue)
        examiner(nullptr);  // the box never opened: the examination says so
}

// The error return of an agency, as the return viewer shows a kept one.
QString retourErreurs(const CliniqueDeTest& c) {
    c.dossier.ecrire("ER1.rmq", retour::fichier({retour::entete("9034042", "045"),
                                                 retour::erreur("9034042", "123456", "000002", "A", "101"),
                                                 retour::explication("01", "C", "101", "0"),
                                                 retour::professionnel("123456", 13, 12, 1, 0, 123456789),
                                                 retour::totaux(1, 13, 12, 1, 0, 123456789)}));
    return c.dossier.fichier("ER1.rmq");
}

QList<FabriqueFenetre> construire() {
    const QString agence = QStringLiteral("71234");
    QList<FabriqueFenetre> f = {
        {"Principal",
         [](CliniqueDeTest& c, const Examiner& e) {
             Principal p(c.dossier.chemin(), c.dialogues, c.reglages);
             if (p.Form_Load()) {
                 p.afficher();
                 (void)QTest::qWaitForWindowExposed(&p);
                 QApplication::processEvents();
                 e(&p);
             }
         }},
        {"MotPasse", [](CliniqueDeTest& c, const Examiner& e) { montrer<MotPasse>(e, c.dossier.chemin(), c.dialogues); }},
        {"Initial",
         [](CliniqueDeTest& c, const Examiner& e) {
             montrer<Initial>(e, c.dossier.chemin(), c.reglages, c.dialogues, parametres::lireParametresFtp(c.reglages),
                              std::function<void()>());
         }},
        {"frmCorrigeCfg",
         [](CliniqueDeTest& c, const Examiner& e) { montrer<frmCorrigeCfg>(e, c.dossier.chemin(), c.dialogues); }},
        {"frmListeEnMem",
         [](CliniqueDeTest& c, const Examiner& e) { montrer<frmListeEnMem>(e, c.dossier.chemin(), c.dialogues); }},
        {"frmHistorique",
         [](CliniqueDeTest& c, const Examiner& e) {
             montrer<frmHistorique>(e, c.dossier.chemin(), c.configuration, c.dialogues);
         }},
        {"frmArchives",
         [](CliniqueDeTest& c, const Examiner& e) { montrer<frmArchives>(e, c.dossier.chemin(), c.dialogues); }},
        {"frmRetourErreur",
         [agence](CliniqueDeTest& c, const Examiner& e) {
             montrer<frmRetourErreur>(e, c.dossier.chemin(), agence, c.reglages, c.dialogues, nullptr,
                                      GenreRetour::erreurs());
         }},
        {"frmRetourEtatCmpt",
         [agence](CliniqueDeTest& c, const Examiner& e) {
             montrer<frmRetourErreur>(e, c.dossier.chemin(), agence, c.reglages, c.dialogues, nullptr,
                                      GenreRetour::etats());
         }},
        {"frmAfficheRapport",
         [](CliniqueDeTest& c, const Examiner& e) {
             const auto affichage = affichageretour::AfficherRetour(retourErreurs(c), c.dialogues);
             if (affichage)
                 montrer<frmAfficheRapport>(e, *affichage);
             else
                 e(nullptr);
         }},
        {"frmPrecedenteFact",
         [](CliniqueDeTest& c, const Examiner& e) { montrer<frmPrecedenteFact>(e, c.dossier.chemin(), c.dialogues); }},
        {"frmSauvegarde",
         [](CliniqueDeTest& c, const Examiner& e) {
             montrer<frmSauvegarde>(e, c.dossier.chemin(), c.reglages, c.dialogues, false);
         }},
        {"frmRestauration",
         [](CliniqueDeTest& c, const Examiner& e) {
             montrer<frmSauvegarde>(e, c.dossier.chemin(), c.reglages, c.dialogues, true);
         }},
        {"frmSuiviFactures",
         [](CliniqueDeTest& c, const Examiner& e) {
             montrer<frmSuiviFactures>(e, c.dossier.chemin(), c.configuration, c.dialogues);
         }},
        {"frmStatistique",
         [agence](CliniqueDeTest& c, const Examiner& e) {
             montrer<frmStatistique>(e, c.dossier.chemin(), c.configuration, agence, QStringLiteral("52891"),
                                     c.reglages, c.dialogues);
         }},
        {"frmStatMensuelle",
         [agence](CliniqueDeTest& c, const Examiner& e) {
             montrer<frmStatMensuelle>(e, c.dossier.chemin(), c.configuration, agence, QStringLiteral("52891"),
                                       c.reglages, c.dialogues);
         }},
        {"frmTendances",
         [](CliniqueDeTest& c, const Examiner& e) {
             montrer<frmTendances>(e, c.dossier.chemin(), c.configuration, c.dialogues);
         }},
        {"frmListeDesFacturations",
         [](CliniqueDeTest& c, const Examiner& e) {
             montrer<frmListeDesFacturations>(e, c.dossier.chemin(), c.dialogues);
         }},
        {"frmTelecommunication",
         [agence](CliniqueDeTest& c, const Examiner& e) {
             montrer<frmTelecommunication>(e, c.dossier.chemin(), agence, c.configuration, c.reglages, c.dialogues);
         }},
        {"frmTelePrepare",
         [](CliniqueDeTest& c, const Examiner& e) {
             montrer<frmTelePrepare>(e, c.dossier.chemin(), c.configuration, c.dialogues);
         }},
        {"frmTransmettre",
         [](CliniqueDeTest& c, const Examiner& e) {
             montrer<frmTransmettre>(e, c.dossier.chemin(), c.reglages, c.dialogues);
         }},
        {"frmVerificationInternet", [](CliniqueDeTest&, const Examiner& e) { montrer<frmVerificationInternet>(e); }},
        // The dialog port's own boxes, with texts the program shows in them.
        {"Message",
         [](CliniqueDeTest&, const Examiner& e) {
             pendantLaBoite([] { DialoguesQt().message(Icone::Exclamation, QStringLiteral("Fichier temporaire"),
                                                       QStringLiteral("Aucune facture en mémoire")); },
                            e);
         }},
        {"Question",
         [](CliniqueDeTest&, const Examiner& e) {
             pendantLaBoite([] {
                 DialoguesQt().question(Icone::Question, QStringLiteral("Impression"),
                                        QStringLiteral("Impression du sommaire mensuel sur\n\nPDF"),
                                        Boutons::OkAnnuler, 0);
             }, e);
         }},
        {"Visite à domicile",  // the input box of a rule
         [](CliniqueDeTest&, const Examiner& e) {
             pendantLaBoite([] {
                 DialoguesQt port;
                 ChampsActe champs;
                 champs.actes[0] = QStringLiteral("09016");
                 AfficherMessage(20, 2, champs, port);
             }, e);
         }},
        {"Courriel automatique",
         [](CliniqueDeTest& c, const Examiner& e) {
             pendantLaBoite([&c] {
                 DialoguesQt port;
                 statmensuelle::envoyer({}, {}, c.reglages, port);
             }, e);
         }},
    };
    // The rules' choice windows, as the port opens them.
    for (int numero = 0; numero < 100; ++numero)
        if (const FenetreChoix* choix = fenetreChoix(numero))
            f.append({QStringLiteral("frmMessageAlaSouris %1").arg(numero), [choix](CliniqueDeTest&, const Examiner& e) {
                          pendantLaBoite([choix] { DialoguesQt().choix(*choix); }, e);
                      }});
    return f;
}

}  // namespace

CliniqueDeTest::CliniqueDeTest() {
    Horloge::fixer(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    QByteArray cfg = donnees("Kestrova.Cfg.defaut");
    cfg.replace("\"2e Optom\xE9triste \",\"000000\",\"00000\"", "\"Dr Mathieu Tremblay\",\"322227\",\"12345\"");
    cfg.replace("\"Vide  00000\"", "\"Lac-Brume 52891\"");
    dossier.ecrire("Kestrova.Cfg", cfg);
    preparerDossier(dossier, "R7123407D71234070041ABCDEFGHIJKLMNO041",
                    {enregistrementDe(factureDeBase()), enregistrementDe(factureDeBase())});
    reglages.ecrire(QStringLiteral("UtiliseDossierPatient"), QStringLiteral("NON"));
    reglages.ecrire(QStringLiteral("FocusCodeActe"), QStringLiteral("NON"));
    configuration = ChargerConfiguration(dossier.chemin());
}

CliniqueDeTest::~CliniqueDeTest() { Horloge::liberer(); }

const QList<FabriqueFenetre>& fenetresDuProgramme() {
    static const QList<FabriqueFenetre> fenetres = construire();
    return fenetres;
}
