#include "returns/impressionretour.h"

#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"
#include "platform/horloge.h"
#include "platform/page.h"
#include "records/champs.h"
#include "returns/miseenpage.h"
#include "returns/retours.h"

#include <QFileInfo>

namespace impressionretour {

namespace {

constexpr double MargeBas = 0.5;
// The columns of an error line's message and code, and the room kept between them.
constexpr double ColonneMessage = 3.5, ColonneCode = 7.0, Espace = 0.1;

using retours::champ;
using retours::montant;
using namespace miseenpage;

void entete(Page& p, const QByteArray& e, Etat& etat) {
    titre(p, QStringLiteral("RETOUR DES ERREURS"), 1.4);
    ligneA(p, {{4.0, QStringLiteral("Date de traitement ")}, {5.5, QStringLiteral("Numéro d'attestation")}});
    p.taille(12);
    ligneA(p, {{4.0, retours::dateCourte(retours::dateTraitement(champ(e, 13, 3), etat.aujourdhui))},
               {5.5, champ(e, 4, 7)}});
    p.taille(10);
    p.ligne(1.0, 2.0, 7.0, 2.0);
    vide(p);
    vide(p);
}

void erreur(Page& p, const QByteArray& e, Etat& etat) {
    if (!etat.entetesErreurs) {
        ligneA(p, {{0.25, QStringLiteral("Numéro de ")}, {1.25, QStringLiteral("Rang de la DP")},
                   {ColonneCode, QStringLiteral("Code")}});
        ligneA(p, {{0.25, QStringLiteral("professionnel: ")}, {1.25, QStringLiteral("dans l'envoi ")},
                   {2.25, QStringLiteral("Attestation: ")}, {3.0, QStringLiteral("NCE: ")},
                   {ColonneMessage, QStringLiteral("Message d'erreur ")}, {ColonneCode, QStringLiteral("d'erreur ")}});
        etat.entetesErreurs = true;
    }
    // The message keeps to the width left of the code column, on as many lines as it needs.
    const QStringList message = p.couper(champ(e, 30, 62), ColonneCode - ColonneMessage - Espace);
    ligneA(p, {{0.25, champ(e, 11, 6)}, {1.25, champ(e, 22, 6)}, {2.25, champ(e, 4, 7)},
               {3.0, champ(e, 18, 4)}, {ColonneMessage, message.value(0)}, {ColonneCode, champ(e, 92, 3)}});
    for (qsizetype i = 1; i < message.size(); ++i)
        ligneA(p, {{ColonneMessage, message[i]}});
}

// "Erreur: " and the text, then "   Erreur No: " and the number, at print column 6 and within the
// page: a text too long goes on the next lines, and the number after it where it fits.
QStringList lignesErreurNo(const Page& p, double x, const QString& texte, const QString& numero) {
    const double largeur = p.largeur() - x;
    QStringList lignes = p.couper(QStringLiteral("Erreur: ") + champs::sansBlancsFinaux(texte), largeur);
    const QString numeroA = QStringLiteral("   Erreur No: ") + numero;
    if (p.largeurTexte(lignes.last() + numeroA) <= largeur)
        lignes.last() += numeroA;
    else
        lignes << numeroA.trimmed();
    return lignes;
}

void explication(Page& p, const QByteArray& e, Etat&) {
    const auto ligne = [&p](const QString& texte) {
        tab(p, 6);
        p.ecrireLigne(texte);
    };
    ligne(QStringLiteral("Type d'erreur: ") + champ(e, 28, 2));
    tab(p, 6);
    for (const QString& texte : lignesErreurNo(p, p.CurrentX, champ(e, 30, 62), champ(e, 92, 3)))
        ligne(texte);
    const QString portee = champ(e, 95, 1);
    if (portee == QLatin1String("0")) {
        ligne(QStringLiteral("Message d'erreur fourni qu'à titre indicatif."));
    } else if (portee == QLatin1String("2")) {
        ligne(QStringLiteral("Ceci entraîne le rejet de toutes les demandes"));
        ligne(QStringLiteral("de paiement suivant celle identifiée dans le message."));
    } else if (portee == QLatin1String("3")) {
        ligne(QStringLiteral("Le lot est rejeté en entier."));
    }
}

void professionnel(Page& p, const QByteArray& e, Etat&) {
    vide(p);
    p.ligne(2.0, p.CurrentY, 6.0, p.CurrentY);
    ligneA(p, {{1.25, QStringLiteral("Numéro de")}, {4.0, QStringLiteral("Nombre de demandes de paiement")}});
    ligneA(p, {{1.25, QStringLiteral("professionnel")}, {2.25, QStringLiteral("Soumises")},
               {3.25, QStringLiteral("Valides")}, {4.25, QStringLiteral("Refusées")},
               {5.25, QStringLiteral("Annulées")}, {6.25, QStringLiteral("Honoraires")}});
    for (const auto& [x, colonne] : {std::pair{1.25, 11}, {2.25, 18}, {3.25, 24}, {4.25, 30}, {5.25, 36}})
        a(p, x, champ(e, colonne, 6));
    p.ecrireJusqua(6.75, montant(e, 42, 9));
    p.ecrireLigne();
}

void totaux(Page& p, const QByteArray& e, Etat& etat) {
    ligneA(p, {{1.0, QStringLiteral("Nombre")}, {2.5, QStringLiteral("Nombre total de demandes de paiement")}});
    ligneA(p, {{1.0, QStringLiteral("d'erreurs ")}, {2.0, QStringLiteral("Soumises")},
               {3.0, QStringLiteral("Valides ")}, {4.0, QStringLiteral("Refusées")},
               {5.0, QStringLiteral("Annulées")}, {6.0, QStringLiteral("Honoraires: ")}});
    ligneA(p, {{1.0, champ(e, 11, 6)}, {2.0, champ(e, 17, 6)}, {3.0, champ(e, 23, 6)},
               {4.0, champ(e, 29, 6)}, {5.0, champ(e, 35, 6)}, {6.0, montant(e, 41, 9)}});
    vide(p);
    etat.finDocument = true;
}

void imprimerLigne(Page& p, const QByteArray& enregistrement, Etat& etat) {
    static const QList<Enregistrement> tous = enregistrementsErreur() + enregistrementsEtat();
    for (const Enregistrement& r : tous) {
        if (!enregistrement.startsWith(r.code))
            continue;
        // A block that would run past the bottom of the page starts on the next one.
        const double hauteur = p.mesurer([&] {
            Etat essai = etat;
            r.bloc(p, enregistrement, essai);
        });
        if (p.CurrentY + hauteur > p.hauteur()) {
            p.nouvellePage();
            vide(p);
        }
        r.bloc(p, enregistrement, etat);
        if (etat.finDocument) {
            p.finDocument();
            etat.finDocument = false;
        }
    }
    if (p.hauteur() - p.CurrentY < MargeBas) {
        p.nouvellePage();
        vide(p);
    }
}

}  // namespace

const QList<Enregistrement>& enregistrementsErreur() {
    static const QList<Enregistrement> table = {
        {" 21", entete}, {" 25", erreur}, {" 27", explication}, {" 26", professionnel}, {" 28", totaux}};
    return table;
}

bool ImprimerRetour(const QString& programme, const QString& chemin, Imprimante& imprimante,
                    PortDialogue& d) {
    QList<MessageExplicatif> messages = chargerMessages(programme, d);
    if (!chemin.toLower().endsWith(QLatin1String("rmq"))) {
        d.message(Icone::Critique, QStringLiteral("Impression"), QStringLiteral("Aucun fichier à imprimer..."));
        return false;
    }
    Sablier sablier(d);
    std::unique_ptr<Page> page;
    try {
        const QList<QByteArray> lignes = retours::lignes(fichiers::lire(chemin));
        page = imprimante.nouveauDocument(QFileInfo(chemin).fileName(), Orientation::Portrait);
        page->police(QStringLiteral("Times New Roman"));
        page->taille(10);
        page->gras(false);
        Etat etat;
        etat.aujourdhui = Horloge::aujourdhui();
        etat.messages = std::move(messages);
        for (const QByteArray& ligne : lignes)
            imprimerLigne(*page, retours::sansPrefixe(ligne), etat);
        page->finDocument();
        return true;
    } catch (const ErreurFichier& e) {
        if (page)
            page->abandonner();
        d.message(Icone::Critique, QStringLiteral("Message"),
                  QStringLiteral("Erreur %1  %2").arg(e.numero()).arg(erreurs::texte(e)));
        return false;
    }
}

bool imprimerEtArchiver(const QString& programme, const QString& rangee, Imprimante& imprimante,
                        PortDialogue& d, const std::function<void()>& deplace) {
    if (rangee.contains(QLatin1String("***"))) {
        d.message(Icone::Critique, QStringLiteral("Message"),
                  QStringLiteral("Impossible d'imprimé ce fichier car il a été déplacé dans votre dossier archives."));
        return false;
    }
    const QString chemin = dossiers::resoudre(dossiers::dossierTravail(programme), rangee);
    if (!ImprimerRetour(programme, chemin, imprimante, d))
        return false;
    try {
        retours::deposer(programme, chemin);
        fichiers::supprimer(chemin);
    } catch (const ErreurFichier& e) {
        d.message(Icone::Critique, QStringLiteral("Message"),
                  QStringLiteral("Erreur %1  %2").arg(e.numero()).arg(erreurs::texte(e)));
        return false;
    }
    deplace();
    d.message(Icone::Information, QStringLiteral("Message"),
              QStringLiteral("Impression du fichier terminée.\n\nCe fichier a été déplacé dans votre "
                             "dossier des archives."));
    return true;
}

}  // namespace impressionretour
