#include "config/parametres.h"
#include "entry/saisie.h"
#include "entry/filepatients.h"
#include "platform/reglages.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"

#include <gtest/gtest.h>

namespace {

const QString Age47 = "Assurance | ATTENTION...\n\nCette personne a  47 ans.\n\nSi cette personne ne détient pas un "
                      "carnet de réclamation valide de la sécurité du revenu, les services ne sont pas assurés "
                      "par la RAMQ.";

}  // namespace

// The order of the NAM box's work when it loses the focus: look-ups, checks, the age warning
// on the birth date then shown (the NAM's own when none is), and where the focus goes.
TEST(SaisieDuNam, RecherchesVerificationsAvertissementEtFocus) {
    DossierTemporaire d;
    d.ecrire("PavoRamq.Txt", "TREM80011514;Jean;C\xF4t\xE9;1;427;19800115;M;1 rue A;Ville;H2X1Y4;20261204;11\n"
                             "GAGE16523027;\xC9va;Gagnon;2;531;20161223;F;4 rang B;Levis;G6V4Z2;20261203;22\n");
    DialoguesScriptes muet;
    ASSERT_EQ(filepatients::importer(d.chemin(), muet), 2);
    using F = saisie::Focus;
    const struct {
        const char* cas;
        saisie::EcranNam ecran;
        bool focusCodeActe;
        QString charge;  // the surname loaded, if any
        QStringList messages;
        F focus;
    } cas[] = {
        {"début d'un NAM en file", {"TREM", "", ""}, false, "COTE", {Age47}, F::PremierActe},
        {"numéro de dossier en file", {"11", "", ""}, false, "COTE", {Age47}, F::PremierActe},
        {"enfant en file: pas d'avertissement", {"GAGE", "", ""}, false, "GAGNON", {}, F::PremierActe},
        {"NAM tapé complet", {"GAGM75531213", "19800115", "GAGNON"}, false, "", {Age47}, F::PremierDiagnostic},
        {"NAM tapé sans nom, né en 1980 selon lui", {"ROYM80011515", "", ""}, false, "", {Age47}, F::Inchange},
        {"NAM tapé, focus au code d'acte", {"ROYE16122302", "", ""}, true, "", {}, F::PremierActe},
        {"NAM incomplet", {"GAGM7553", "19800115", "GAGNON"}, true, "",
         {"Saisie du numéro de l'assurance maladie | Numéro d'assurance maladie incomplet."}, F::Nam},
        {"NAM invalide", {"GA1M75531213", "19800115", "GAGNON"}, false, "",
         {"Saisie du numéro | Numéro de l'assurance maladie invalide."}, F::Nam},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        PatientCourant patient;
        DialoguesScriptes port;
        const saisie::IssueNam i = saisie::apresNam(patient, d.chemin(), c.ecran, Configuration::parDefaut(), {}, c.focusCodeActe,
                                                    QDate(2026, 12, 6), port);
        saisie::annoncer(i, port);
        EXPECT_EQ(i.chargement.identite ? i.chargement.identite->nom : QString(), c.charge);
        EXPECT_EQ(port.resume(), c.messages);
        EXPECT_EQ(port.bips(), c.messages == QStringList{Age47} ? 1 : 0);
        EXPECT_EQ(i.focus, c.focus);
        EXPECT_EQ(i.chargement.deLaFile, !c.charge.isEmpty());
    }
    // A queued patient's accented names arrive as the store accepts them.
    PatientCourant patient;
    const auto i = saisie::apresNam(patient, d.chemin(), {"GAGE", "", ""}, Configuration::parDefaut(), {}, false, QDate(2026, 12, 6), muet);
    EXPECT_EQ(i.chargement.identite->prenom, "EVA");
}

// An act box sends the focus on when its code is complete, typed with or without its leading 0.
TEST(SaisieDuNam, ActeComplet) {
    const Configuration c = Configuration::parDefaut();
    const struct {
        const char* texte;
        bool complet;
    } cas[] = {{"9001", true}, {"09001", true}, {"9015", true}, {"12345", true}, {"00000", false},
               {"900", false}, {"0900", false}, {"9099", false}, {"", false}, {"   ", false}};
    for (const auto& k : cas)
        EXPECT_EQ(saisie::acteComplet(k.texte, c), k.complet) << k.texte;
}

// The main window keeps the date of service for anything but "NON".
TEST(SaisieDuNam, ConserverLaDateDeService) {
    const struct {
        const char* valeur;  // nullptr: absent
        bool conserve;
    } cas[] = {{nullptr, true}, {"OUI", true}, {"oui", true}, {"Oui", true}, {"", true}, {"NON", false}};
    struct Magasin : MagasinReglages {
        const char* valeur;
        QString lire(const QString&, const QString& defaut) const override { return valeur ? valeur : defaut; }
        void ecrire(const QString&, const QString&) override {}
    };
    for (const auto& k : cas) {
        Magasin m;
        m.valeur = k.valeur;
        EXPECT_EQ(parametres::conserverDateDeService(m), k.conserve) << (k.valeur ? k.valeur : "absent");
    }
}
