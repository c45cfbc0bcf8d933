#include "returns/affichageretour.h"

#include "platform/dialogues.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"
#include "platform/horloge.h"
#include "records/champs.h"
#include "returns/impressionretour.h"
#include "returns/retours.h"

namespace affichageretour {

namespace {

using retours::champ;
using retours::montant;

QStringList rangee(QStringList cellules) {
    while (cellules.size() < 7)
        cellules << QString();
    return cellules;
}

// The reading of one display.
struct Lecture {
    Affichage a;
    QString professionnel;
    bool enteteDetails = false;
    bool messageEtat = false, messageErreurs = false;
};

void demanderImpression(bool& dejaDit, const QString& texte, PortDialogue& d) {
    if (dejaDit)
        return;
    dejaDit = true;
    d.message(Icone::Critique, QStringLiteral("Message"), texte);
}

void lireEtat(Lecture& l, const QByteArray& e, PortDialogue& d) {
    if (e.startsWith("00")) {
        l.a.etiquettes[0] = QStringLiteral("RÉCEPTION DES ÉTATS DE COMPTE");
        l.a.etiquettes[1] = QStringLiteral("Agence ") + champ(e, 10, 5);
        l.a.etiquettes[2] = QStringLiteral("# Paiement ") + champ(e, 15, 2);
    } else if (e.startsWith("01")) {
        l.professionnel = champ(e, 10, 7);
        l.a.etiquettes[3] = QStringLiteral("Professionnel ") + l.professionnel;
        l.a.etiquettes[4] = QStringLiteral("Groupe ") + champ(e, 18, 5);
    } else if (e.startsWith("13") || e.startsWith("14")) {
        if (!l.enteteDetails) {
            demanderImpression(l.messageEtat,
                               QStringLiteral("Pour plus de détails, veuillez imprimer cet état de compte ."), d);
            l.a.rangees << QStringList(7, QStringLiteral("========= ")) << rangee({QStringLiteral(" ")})
                        << rangee({QStringLiteral("Opto ") + l.professionnel})
                        << rangee({QStringLiteral("No "), QStringLiteral("Dem."), QStringLiteral("Récep"),
                                   QStringLiteral("Acte"), QStringLiteral("Bén."), QStringLiteral("Co"),
                                   QStringLiteral("Montant")});
            l.enteteDetails = true;
        }
        const QString acte = champ(e, 21, 4);
        l.a.rangees << rangee({champ(e, 5, 3), champ(e, 10, 5), champ(e, 15, 5),
                               acte == QLatin1String("    ") ? QStringLiteral(" ") : acte, champ(e, 25, 4),
                               champ(e, 29, 2),
                               impressionretour::argent(champs::valeur(e.mid(33, 9)), 11)});
    } else if (e.startsWith("15")) {
        l.enteteDetails = false;
    }
}

void lireErreur(Lecture& l, const QByteArray& e, PortDialogue& d) {
    if (e.startsWith(" 21")) {
        l.a.etiquettes[0] = QStringLiteral("RETOUR DES ERREURS");
        l.a.etiquettes[3] =
            retours::dateCourte(retours::dateTraitement(champ(e, 13, 3), Horloge::aujourdhui()));
        l.a.etiquettes[4] = champ(e, 4, 7);
    } else if (e.startsWith(" 28")) {
        l.a.rangees << rangee({QStringLiteral(" ")})
                    << rangee({QStringLiteral("Nombre total"), QStringLiteral("de demandes"),
                               QStringLiteral("de paiement"), QStringLiteral("=========="),
                               QStringLiteral("=========="), QStringLiteral("==========")})
                    << rangee({QStringLiteral("Erreur(s)"), QStringLiteral("Soumises"), QStringLiteral("Valides"),
                               QStringLiteral("Refusées"), QStringLiteral("Annulées"), QStringLiteral("Honoraires")})
                    << rangee({champ(e, 11, 6), champ(e, 17, 6), champ(e, 23, 6), champ(e, 29, 6),
                               champ(e, 35, 6), montant(e, 41, 9)})
                    << rangee({QStringLiteral("========= ")}) << rangee({QStringLiteral(" ")});
    } else if (e.startsWith(" 25") || e.startsWith(" 27")) {
        demanderImpression(l.messageErreurs,
                           QStringLiteral("Veuillez imprimer ce retour d'erreur(s) pour plus de détails."), d);
    } else if (e.startsWith(" 26")) {
        l.a.rangees << rangee({QStringLiteral(" ")})
                    << rangee({QStringLiteral("Professionnel"), QStringLiteral("Soumises"), QStringLiteral("Valides"),
                               QStringLiteral("Refusées"), QStringLiteral("Annulées"), QStringLiteral("Honoraires")})
                    << rangee({champ(e, 11, 6), champ(e, 18, 6), champ(e, 24, 6), champ(e, 30, 6),
                               champ(e, 36, 6), montant(e, 42, 9)});
    }
}

}  // namespace

std::optional<Affichage> AfficherRetour(const QString& chemin, PortDialogue& d) {
    if (!chemin.toLower().endsWith(QLatin1String("rmq"))) {
        d.message(Icone::Critique, QStringLiteral("Impression"), QStringLiteral("Aucun fichier à imprimer..."));
        return std::nullopt;
    }
    Lecture l;
    try {
        for (const QByteArray& ligne : retours::lignes(fichiers::lire(chemin))) {
            const QByteArray e = retours::sansPrefixe(ligne);
            lireEtat(l, e, d);
            lireErreur(l, e, d);
        }
    } catch (const ErreurFichier& e) {
        d.message(Icone::Critique, QStringLiteral("Message"),
                  QStringLiteral("Erreur %1  %2").arg(e.numero()).arg(erreurs::texte(e)));
        return std::nullopt;
    }
    return l.a;
}

}  // namespace affichageretour
