#include "returns/affichageretour.h"

#include "platform/dialogues.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"
#include "platform/horloge.h"
#include "records/champs.h"
#include "returns/impressionretour.h"
#include "returns/retours.h"

#include <cstring>

namespace affichageretour {

namespace {

using retours::champ;
using retours::montant;

// The reading of one display.
struct Lecture {
    Affichage a;
    QString professionnel;
    bool enteteDetails = false;
    bool messageEtat = false, messageErreurs = false;
};

// The record's code, compared in place: every line of a large return is looked at.
template <qsizetype N>
bool commence(QByteArrayView e, const char (&code)[N]) {
    return e.size() >= N - 1 && std::memcmp(e.data(), code, N - 1) == 0;
}

void demanderImpression(bool& dejaDit, const QString& texte, PortDialogue& d) {
    if (dejaDit)
        return;
    dejaDit = true;
    d.message(Icone::Critique, QStringLiteral("Message"), texte);
}

void lireEtat(Lecture& l, QByteArrayView e, PortDialogue& d) {
    if (commence(e, "00")) {
        l.a.etiquettes[0] = QStringLiteral("RÉCEPTION DES ÉTATS DE COMPTE");
        l.a.etiquettes[1] = QStringLiteral("Agence ") + champ(e, 10, 5);
        l.a.etiquettes[2] = QStringLiteral("# Paiement ") + champ(e, 15, 2);
    } else if (commence(e, "01")) {
        l.professionnel = champ(e, 10, 7);
        l.a.etiquettes[3] = QStringLiteral("Professionnel ") + l.professionnel;
        l.a.etiquettes[4] = QStringLiteral("Groupe ") + champ(e, 18, 5);
    } else if (commence(e, "13") || commence(e, "14")) {
        if (!l.enteteDetails) {
            demanderImpression(l.messageEtat,
                               QStringLiteral("Pour plus de détails, veuillez imprimer cet état de compte ."), d);
            l.a.ajouter(QStringList(7, QStringLiteral("========= ")));
            l.a.ajouter({QStringLiteral(" ")});
            l.a.ajouter({QStringLiteral("Opto ") + l.professionnel});
            l.a.ajouter({QStringLiteral("No "), QStringLiteral("Dem."), QStringLiteral("Récep"), QStringLiteral("Acte"),
                         QStringLiteral("Bén."), QStringLiteral("Co"), QStringLiteral("Montant")});
            l.enteteDetails = true;
        }
        l.a.ajouterDetail(e.data() - l.a.contenu.constData(), e.size());
    } else if (commence(e, "15")) {
        l.enteteDetails = false;
    }
}

void lireErreur(Lecture& l, QByteArrayView e, PortDialogue& d) {
    if (commence(e, " 21")) {
        l.a.etiquettes[0] = QStringLiteral("RETOUR DES ERREURS");
        l.a.etiquettes[3] =
            retours::dateCourte(retours::dateTraitement(champ(e, 13, 3), Horloge::aujourdhui()));
        l.a.etiquettes[4] = champ(e, 4, 7);
    } else if (commence(e, " 28")) {
        l.a.ajouter({QStringLiteral(" ")});
        l.a.ajouter({QStringLiteral("Nombre total"), QStringLiteral("de demandes"), QStringLiteral("de paiement"),
                     QStringLiteral("=========="), QStringLiteral("=========="), QStringLiteral("==========")});
        l.a.ajouter({QStringLiteral("Erreur(s)"), QStringLiteral("Soumises"), QStringLiteral("Valides"),
                     QStringLiteral("Refusées"), QStringLiteral("Annulées"), QStringLiteral("Honoraires")});
        l.a.ajouter({champ(e, 11, 6), champ(e, 17, 6), champ(e, 23, 6), champ(e, 29, 6), champ(e, 35, 6),
                     montant(e, 41, 9)});
        l.a.ajouter({QStringLiteral("========= ")});
        l.a.ajouter({QStringLiteral(" ")});
    } else if (commence(e, " 25") || commence(e, " 27")) {
        demanderImpression(l.messageErreurs,
                           QStringLiteral("Veuillez imprimer ce retour d'erreur(s) pour plus de détails."), d);
    } else if (commence(e, " 26")) {
        l.a.ajouter({QStringLiteral(" ")});
        l.a.ajouter({QStringLiteral("Professionnel"), QStringLiteral("Soumises"), QStringLiteral("Valides"),
                     QStringLiteral("Refusées"), QStringLiteral("Annulées"), QStringLiteral("Honoraires")});
        l.a.ajouter({champ(e, 11, 6), champ(e, 18, 6), champ(e, 24, 6), champ(e, 30, 6), champ(e, 36, 6),
                     montant(e, 42, 9)});
    }
}

}  // namespace

void Affichage::ajouter(QStringList cellules) {
    while (cellules.size() < 7)
        cellules << QString();
    rangees_.append({std::move(cellules)});
}

void Affichage::ajouterDetail(qsizetype debut, qsizetype longueur) { rangees_.append({{}, debut, longueur}); }

QStringList Affichage::rangee(qsizetype i) const {
    const Rangee& r = rangees_.at(i);
    if (r.debut < 0)
        return r.cellules;
    // Counter, request, reception, act (a blank act shown as one blank), beneficiary, code, amount.
    const QByteArrayView e = QByteArrayView(contenu).sliced(r.debut, r.longueur);
    const QString acte = champ(e, 21, 4);
    return {champ(e, 5, 3),
            champ(e, 10, 5),
            champ(e, 15, 5),
            acte == QLatin1String("    ") ? QStringLiteral(" ") : acte,
            champ(e, 25, 4),
            champ(e, 29, 2),
            impressionretour::argent(champs::valeur(retours::colonnes(e, 34, 9).toByteArray()), 11)};
}

QList<QStringList> Affichage::rangees() const {
    QList<QStringList> toutes;
    toutes.reserve(rangees_.size());
    for (qsizetype i = 0; i < rangees_.size(); ++i)
        toutes << rangee(i);
    return toutes;
}

std::optional<Affichage> AfficherRetour(const QString& chemin, PortDialogue& d) {
    if (!chemin.toLower().endsWith(QLatin1String("rmq"))) {
        d.message(Icone::Critique, QStringLiteral("Impression"), QStringLiteral("Aucun fichier à imprimer..."));
        return std::nullopt;
    }
    Lecture l;
    try {
        l.a.contenu = fichiers::lire(chemin);
        retours::pourChaqueLigne(l.a.contenu, [&](QByteArrayView ligne) {
            const QByteArrayView e = retours::sansPrefixe(ligne);
            // The codes of an error return start with a blank, those of a statement never do.
            if (commence(e, " "))
                lireErreur(l, e, d);
            else
                lireEtat(l, e, d);
            return true;
        });
    } catch (const ErreurFichier& e) {
        d.message(Icone::Critique, QStringLiteral("Message"),
                  QStringLiteral("Erreur %1  %2").arg(e.numero()).arg(erreurs::texte(e)));
        return std::nullopt;
    }
    return l.a;
}

}  // namespace affichageretour
