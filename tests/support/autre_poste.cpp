// Another workstation on the same program folder, as a separate process, for the tests of
// locks, crashes and concurrent appends:
//   ajouter FICHIER LETTRE N   appends N 723-byte records, prints each number given
//   factures DOSSIER N [ARRET] stores N invoices in Ftmp.Fil (each with its number in the
//                              complementary information), prints each one stored; stops
//                              early once the file ARRET exists
//   verrouiller FICHIER        holds the lock of the record file until killed
//   preparer DOSSIER           runs a preparation, answering every question by default
//   demarrer DOSSIER           what a start does to an interrupted preparation
//   remettre DOSSIER REQUETE [ok]  puts the kept billing REQUETE back online, answering OK to its
//                              question when "ok" is given; prints every box, exits 1 when refused
//   initialiser DOSSIER REGLAGES  saves the initialisation window with every box turned over,
//                              the per-user store in REGLAGES; prints every box, exits 1 on failure
//   importer DOSSIER [ETAPE]   imports PavoRamq.Txt; dies at once after step ETAPE (0, 1, ...)
//   refacturer DOSSIER         bills again every refused invoice of the follow-up, as of
//                              2009-02-20, answering every question by default
#include "platform/erreurs.h"
#include "platform/fichierbrut.h"
#include "platform/horloge.h"
#include "config/initialisation.h"
#include "config/parametres.h"
#include "entry/filepatients.h"
#include "platform/reglages.h"
#include "records/fichierenregistrements.h"
#include "returns/precedentes.h"
#include "returns/suivi.h"
#include "records/fichierfactures.h"
#include "support/dialoguesscriptes.h"
#include "support/factures.h"
#include "transmission/preparation.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    if (a.size() < 3)
        return 2;
    const QString mode = a[1];
    if (mode == "ajouter" && a.size() == 5) {
        FichierEnregistrements f(a[2], 723);
        const char lettre = a[3].at(0).toLatin1();
        for (int i = 0; i < a[4].toInt(); ++i) {
            QByteArray r(723, lettre);
            r.replace(717, 6, QByteArray::number(i).rightJustified(6, '0'));
            std::printf("%d\n", f.ajouter(r));
        }
        return 0;
    }
    if (mode == "factures" && (a.size() == 4 || a.size() == 5)) {
        const QString arret = a.value(4);
        for (int i = 0; i < a[3].toInt() && (arret.isEmpty() || !QFile::exists(arret)); ++i) {
            ValeursFacture v = factureDeBase();
            v.renseignements = QStringLiteral("N%1").arg(i, 6, 10, QLatin1Char('0'));
            try {
                fichierfactures::fichier(a[2]).ajouter(facture::construire(v));
                std::printf("%s\n", qPrintable(v.renseignements));
                std::fflush(stdout);
            } catch (const ErreurFichier&) {
                // locked past the delay by a long preparation: that one is not stored
            }
        }
        return 0;
    }
    if (mode == "verrouiller") {
        const auto verrou = FichierEnregistrements(a[2], 723).verrouiller(0);
        std::printf("verrouille\n");
        std::fflush(stdout);
        for (;;)
            QThread::sleep(1);
    }
    if (mode == "preparer") {
        DialoguesScriptes port;
        const QString dossier = a[2];
        preparation::Preparer(
            dossier, preparation::valeursDepuis(preparation::lireAgence(dossier), Horloge::aujourdhui()),
            port);
        return 0;
    }
    if (mode == "demarrer") {
        DialoguesScriptes port;
        preparation::reprendreInterrompue(a[2], port);
        return 0;
    }
    if (mode == "remettre" && a.size() >= 4) {
        DialoguesScriptes port;
        if (a.value(4) == "ok")
            port.reponses.push_back(Reponse::Ok);
        bool fait = false;
        for (const auto& f : precedentes::lister(a[2]))
            if (f.requete == a[3])
                fait = precedentes::remettreEnLigne(a[2], f, port);
        for (const QString& boite : port.resume())
            std::printf("%s\n", qPrintable(boite));
        return fait ? 0 : 1;
    }
    if (mode == "initialiser" && a.size() == 4) {
        ReglagesUtilisateur::rediriger(a[3]);
        ReglagesUtilisateur u;
        DialoguesScriptes port;
        Initialisation init(a[2], u, port);
        init.charger(parametres::lireParametresFtp(u));
        for (bool& c : init.cases)
            c = !c;
        init.serveurFtp = QStringLiteral("127.0.0.1:2121");
        const bool fait = init.sauvegarder();
        for (const QString& boite : port.resume())
            std::printf("%s\n", qPrintable(boite));
        return fait ? 0 : 1;
    }
    if (mode == "refacturer") {
        DialoguesScriptes port;
        const QDate jour(2009, 2, 20);
        for (const suivi::Ligne& l : suivi::lire(a[2], jour))
            if (l.etat == suivi::Etat::Refusee)
                suivi::Refacturer(a[2], l, jour, port);
        return 0;
    }
    if (mode == "importer") {
        DialoguesScriptes port;
        const int arret = a.size() > 3 ? a[3].toInt() : -1;
        filepatients::importer(a[2], port, [arret](filepatients::EtapeImportation e) {
            if (static_cast<int>(e) == arret)
                _exit(9);  // as a kill would, with nothing cleaned up
        });
        return 0;
    }
    return 2;
}
