#include "platform/erreurs.h"
#include "records/facture.h"
#include "records/fichierfactures.h"
#include "records/statistique.h"
#include "support/autreposte.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"
#include "support/factures.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

QByteArray blancs(int n) { return QByteArray(n, ' '); }
QByteArray cadre(const char* texte, int largeur) {
    return QByteArray(texte) + blancs(largeur - int(qstrlen(texte)));
}

// The common invoice with every act and diagnostic box used, some typed short.
ValeursFacture factureComplete() {
    ValeursFacture v = factureDeBase();
    v.dateService = "20261204";
    v.diagnostics = {"3784", "A0015", "", "0673"};  // a five-character entry keeps four
    v.actes = {"09001", "9008", "", "09021"};
    v.honoraires = {"002855", "1200", "", "000570"};
    return v;
}

// The record of factureComplete(), written out column by column from the layout.
QByteArray attendu() {
    QByteArray r;
    r += "05";                               // 1-2 state
    r += "2";                                // 3
    r += " ";                                // 4
    r += ":";                                // 5
    r += "71234";                            // 6-10 agency
    r += "AJJJSSS";                          // 11-17 attestation placeholder
    r += " ";                                // 18
    r += "0000";                             // 19-22 invoice number placeholder
    r += "TREM80011514";                     // 23-34 NAM
    r += cadre("JEAN", 20);                  // 35-54 first name
    r += cadre("TREMBLAY", 30);              // 55-84 surname
    r += "01";                               // 85-86 card sequence
    r += "0427";                             // 87-90 card expiry
    r += "19800115";                         // 91-98 birth date
    r += "M";                                // 99 sex
    r += cadre("123 RUE PRINCIPALE", 30);    // 100-129 address
    r += cadre("ST-OLVANE", 30);             // 130-159 city
    r += "H2X1Y4";                           // 160-165 postal code
    r += "311111";                           // 166-171 professional
    r += " ";                                // 172
    r += "12345";                            // 173-177 group
    r += " ";                                // 178
    r += "52713";                            // 179-183 establishment
    r += "261204";                           // 184-189 date of service yymmdd
    r += blancs(52);                         // 190-241
    r += "3784 09001002855";                 // 242-257 act line 1
    r += "A001 09008001200";                 // 258-273 act line 2
    r += "     00000000000";                 // 274-289 act line 3 (empty, kept in place)
    r += "0673 09021000570";                 // 290-305 act line 4
    r += "004625";                           // 306-311 total
    r += blancs(14);                         // 312-325
    r += cadre("PATHOLOGIE", 200);           // 326-525 complementary information
    r += blancs(15);                         // 526-540
    r += "AB   ";                            // 541-545 special considerations
    r += blancs(175);                        // 546-720
    r += ";\r\n";                            // 721-723
    return r;
}

}  // namespace

TEST(Facture, EnregistrementCompletOctetPourOctet) {
    const QByteArray r = facture::construire(factureComplete());
    ASSERT_EQ(r.size(), 723);
    EXPECT_EQ(r, attendu());
}

TEST(Facture, ValeursVidesEtLongues) {
    ValeursFacture v = factureComplete();
    v.naissance.clear();
    v.sequenceCarte.clear();
    v.expirationCarte.clear();
    v.nom = "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFG";  // 33 characters
    v.diagnostics = {"3784", "", "", ""};
    v.actes = {"09001", "", "", ""};
    v.honoraires = {"002855", "", "", ""};
    v.masculin = false;
    const QByteArray r = facture::construire(v);
    EXPECT_EQ(r.mid(90, 8), QByteArray("00000000"));
    EXPECT_EQ(r.mid(84, 2), QByteArray("00"));
    EXPECT_EQ(r.mid(86, 4), QByteArray("0000"));
    EXPECT_EQ(r.mid(54, 30), QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZABCD"));
    EXPECT_EQ(r.mid(98, 1), QByteArray("F"));
    for (int ligne = 2; ligne <= 4; ++ligne)
        EXPECT_EQ(r.mid(facture::debutLigne(ligne) - 1, 16), QByteArray("     00000000000"));
    EXPECT_EQ(r.mid(305, 6), QByteArray("002855"));  // total = the only fee
}

TEST(Facture, RefusDesNumerosDuCabinet) {
    struct Cas {
        const char *agence, *professionnel, *etablissement;
        int refus;
    };
    const Cas cas[] = {
        {"71234", "311111", "52713", 0}, {"7123", "311111", "52713", 1},
        {"7123A", "311111", "52713", 1}, {"", "311111", "52713", 1},
        {"71234", "31111", "52713", 2},  {"71234", "31111X", "52713", 2},
        {"71234", "311111", "5271", 3},  {"71234", "311111", "5271 ", 3},
        {"7123", "31111", "5271", 1},
    };
    for (const Cas& c : cas) {
        ValeursFacture v = factureComplete();
        v.agence = c.agence;
        v.professionnel = c.professionnel;
        v.etablissement = c.etablissement;
        EXPECT_EQ(facture::refusNumeros(v), c.refus) << c.agence << " " << c.professionnel;
    }
}

TEST(Facture, StatistiqueOctetPourOctet) {
    ValeursFacture v = factureComplete();
    QByteArray s;
    s += "311111";                        // professional
    s += "20261204";                      // service date
    s += "09001" "9008 " "     " "09021"; // act boxes as typed
    s += "002855" "1200  " "      " "000570";  // fee labels as shown
    s += QByteArray("\xFF\xFF", 2);       // re-billing: "B" in the special considerations
    s += "TREM80011514";
    s += "52713";
    s += blancs(20);
    EXPECT_EQ(statistique::construire(v), s);
    v.considerations = "A";
    EXPECT_EQ(statistique::construire(v).mid(58, 2), QByteArray("\0\0", 2));
}

TEST(Facture, AnnulationEtCorrectionEnPlace) {
    const QByteArray original = facture::construire(factureComplete());
    const QByteArray annulee = facture::annuler(original);
    EXPECT_EQ(annulee.left(2), QByteArray("99"));
    EXPECT_EQ(annulee.mid(22, 12), QByteArray("ANNULEE     "));
    EXPECT_EQ(annulee.mid(34, 20), cadre("ANNULEE", 20));
    EXPECT_EQ(annulee.mid(54, 30), cadre("ANNULEE", 30));
    EXPECT_EQ(annulee.mid(99, 30), cadre("ANNULEE", 30));
    EXPECT_EQ(annulee.mid(129, 30), cadre("ANNULEE", 30));
    EXPECT_EQ(annulee.mid(2, 20), original.mid(2, 20));
    EXPECT_EQ(annulee.mid(159), original.mid(159));

    // A stamped record corrected keeps its agency, attestation and invoice numbers.
    QByteArray estampille = original;
    estampille.replace(10, 7, "6338001");
    estampille.replace(18, 4, "0042");
    ValeursFacture v = facture::lire(estampille);
    EXPECT_EQ(v.nom, QStringLiteral("TREMBLAY"));
    EXPECT_EQ(v.dateService, QStringLiteral("261204"));
    v.nom = "TREMBLAY-ROY";
    v.agence = "99999";  // never written by a correction
    const QByteArray corrige = facture::corriger(estampille, v);
    EXPECT_EQ(corrige.mid(54, 30), cadre("TREMBLAY-ROY", 30));
    EXPECT_EQ(corrige.left(54), estampille.left(54));
    EXPECT_EQ(corrige.mid(84), estampille.mid(84));
}

TEST(FichierFactures, EnregistrerLireAnnuler) {
    DossierTemporaire d;
    QDir().mkpath(d.fichier("Sauvramq"));
    DialoguesScriptes dialogues;
    const ValeursFacture v = factureComplete();

    auto r = fichierfactures::EnregistrerFacture(v, d.chemin(), dialogues);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.numero, 1);
    ASSERT_EQ(dialogues.boites().size(), 1);
    EXPECT_EQ(dialogues.boites()[0].titre, QStringLiteral("Sauvagarde"));
    EXPECT_EQ(dialogues.boites()[0].icone, Icone::Information);
    EXPECT_EQ(dialogues.boites()[0].texte,
              QStringLiteral("La facture # 1\nde JEAN TREMBLAY\n à été enregistrée."));
    r = fichierfactures::EnregistrerFacture(v, d.chemin(), dialogues);
    EXPECT_EQ(r.numero, 2);
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), attendu() + attendu());
    EXPECT_EQ(d.lire("Sauvramq/STA2026.Dat").size(), 2 * 97);

    EXPECT_FALSE(fichierfactures::annulerFacture(d.chemin(), 1, attendu().replace(30, 1, "X")));
    EXPECT_FALSE(fichierfactures::annulerFacture(d.chemin(), 3, attendu()));  // past the end
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), attendu() + attendu());
    EXPECT_TRUE(fichierfactures::annulerFacture(d.chemin(), 1, attendu()));
    EXPECT_EQ(fichierfactures::nombre(d.chemin()), 2);  // a cancelled record still counts
    EXPECT_EQ(fichierfactures::lireFacture(d.chemin(), 1).left(2), QByteArray("99"));
    EXPECT_EQ(fichierfactures::lireFacture(d.chemin(), 2), attendu());
}

TEST(FichierFactures, UnRefusNEcritRien) {
    DossierTemporaire d;
    QDir().mkpath(d.fichier("Sauvramq"));
    d.ecrire("Sauvramq/Ftmp.Fil", attendu());
    DialoguesScriptes dialogues;
    bool patient = false;
    for (int refus = 1; refus <= 3; ++refus) {
        ValeursFacture v = factureComplete();
        (refus == 1 ? v.agence : refus == 2 ? v.professionnel : v.etablissement) = "12";
        const auto r =
            fichierfactures::EnregistrerFacture(v, d.chemin(), dialogues, [&] { patient = true; });
        EXPECT_EQ(r.code, refus);
    }
    EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), attendu());
    EXPECT_FALSE(d.existe("Sauvramq/STA2026.Dat"));
    EXPECT_TRUE(dialogues.appels.isEmpty());
    EXPECT_FALSE(patient);
}

TEST(FichierFactures, LesNomsSontTrouvesSansEgardALaCasse) {
    DossierTemporaire d;
    QDir().mkpath(d.fichier("SAUVRAMQ"));
    d.ecrire("SAUVRAMQ/FTMP.FIL", attendu());
    d.ecrire("SAUVRAMQ/sta2026.dat", QByteArray(97, 's'));
    DialoguesScriptes dialogues;
    const auto r = fichierfactures::EnregistrerFacture(factureComplete(), d.chemin(), dialogues);
    EXPECT_EQ(r.numero, 2);
    EXPECT_EQ(d.lire("SAUVRAMQ/FTMP.FIL").size(), 2 * 723);
    EXPECT_EQ(d.lire("SAUVRAMQ/sta2026.dat").size(), 2 * 97);
    EXPECT_FALSE(d.existe("Sauvramq"));
}

// The statistics file locked by another workstation during a store: the invoice is appended
// once whatever the answers; a Retry once the lock is gone adds the one statistics record, a
// Cancel names what is missing.
TEST(FichierFactures, StatistiquesVerrouilleesUneSeuleFacture) {
    class Port : public DialoguesScriptes {
    public:
        AutrePoste* poste = nullptr;
        int reessais = 0;
        Reponse question(Icone i, const QString& t, const QString& x, Boutons b, int p) override {
            const Reponse r = DialoguesScriptes::question(i, t, x, b, p);
            if (r == Reponse::Reessayer && ++reessais == 2)
                poste->liberer();  // the other workstation is done after the second Retry
            return r;
        }
    };
    for (const bool finalementReessayer : {false, true}) {
        SCOPED_TRACE(finalementReessayer ? "Réessayer" : "Annuler");
        DossierTemporaire d;
        d.ecrire("Sauvramq/STA2026.Dat", QByteArray());
        AutrePoste poste(d.fichier("Sauvramq/STA2026.Dat"));
        ASSERT_TRUE(poste.verrouille());
        Port port;
        port.poste = &poste;
        port.reponses = {Reponse::Reessayer,
                         finalementReessayer ? Reponse::Reessayer : Reponse::Annuler};
        const auto r = fichierfactures::EnregistrerFacture(factureComplete(), d.chemin(), port);
        EXPECT_EQ(r.numero, 1);
        EXPECT_EQ(d.lire("Sauvramq/Ftmp.Fil"), attendu());
        const QStringList resume = port.resume();
        ASSERT_GE(resume.size(), 3);
        EXPECT_EQ(resume[0], "Sauvagarde | La facture # 1\nde JEAN TREMBLAY\n à été enregistrée.");
        EXPECT_TRUE(resume[1].startsWith("Statistiques | Le fichier ")) << qPrintable(resume[1]);
        if (finalementReessayer) {
            EXPECT_EQ(resume.size(), 3);
            EXPECT_EQ(d.lire("Sauvramq/STA2026.Dat").size(), 97);
        } else {
            ASSERT_EQ(resume.size(), 4);
            EXPECT_EQ(resume[3],
                      "Sauvagarde | La facture # 1 est enregistrée.\n\nCependant, son "
                      "enregistrement de statistiques n'a pas pu être ajouté au fichier " +
                          d.fichier("Sauvramq/STA2026.Dat") +
                          " : les statistiques de cette facture manqueront.");
            EXPECT_EQ(d.lire("Sauvramq/STA2026.Dat").size(), 0);
        }
    }
}
