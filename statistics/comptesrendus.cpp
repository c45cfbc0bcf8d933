#include "statistics/comptesrendus.h"

#include "platform/dossiers.h"
#include "platform/fichierbrut.h"
#include "platform/page.h"
#include "records/champs.h"
#include "records/encodage.h"
#include "records/facture.h"
#include "records/procedures.h"
#include "statistics/statmensuelle.h"

#include <QDate>

namespace comptesrendus {

QStringList optometristes(const Configuration& c) { return statmensuelle::optometristes(c, QStringLiteral("   ")); }

void Compte::ajouter(const Compte& autre) {
    for (int i = 0; i < Configuration::NombrePrix; ++i)
        nombres[i] += autre.nombres[i];
    factures += autre.factures;
    if (!autre.premiere.isEmpty() && (premiere.isEmpty() || autre.premiere < premiere))
        premiere = autre.premiere;
    if (autre.derniere > derniere)
        derniere = autre.derniere;
}

Compte compter(const QString& chemin, const QString& professionnel, QChar chiffreAnnee,
               const Configuration& c) {
    Compte compte;
    if (!dossiers::FichierExiste(chemin))
        return compte;
    const FichierBrut fichier(chemin, FichierBrut::Mode::Lecture);
    QByteArray tout;
    fichier.lireDans(0, fichier.taille(), tout);
    const QByteArray prof = encodage::versOctets(professionnel);
    constexpr int L = facture::Longueur;
    for (qsizetype p = 0; p + L <= tout.size(); p += L) {
        const QByteArrayView e = QByteArrayView(tout).sliced(p, L);
        const auto champ = [&e](facture::Position pos) { return e.sliced(pos.colonne - 1, pos.largeur); };
        if (champ(facture::Etat) != "05" || champ(facture::Professionnel) != prof ||
            (chiffreAnnee != QLatin1Char('x') && champ(facture::Attestation)[0] != chiffreAnnee.toLatin1()))
            continue;
        ++compte.factures;
        const QString date = encodage::depuisOctets(champ(facture::DateService).toByteArray());
        if (compte.premiere.isEmpty() || date < compte.premiere)
            compte.premiere = date;
        if (date > compte.derniere)
            compte.derniere = date;
        for (int n = 1; n <= facture::NombreLignes; ++n) {
            const QString code = encodage::depuisOctets(champ(facture::acte(n)).toByteArray()).right(5);
            if (code.trimmed().isEmpty())
                continue;
            for (int i = 0; i < Configuration::NombrePrix; ++i)
                if (c.TableDesPrix[i].enUsage() && c.TableDesPrix[i].code == code) {
                    ++compte.nombres[i];
                    break;
                }
        }
    }
    return compte;
}

QList<QStringList> grille(const Compte& compte, const Configuration& c, bool annuel) {
    QList<QStringList> g;
    qint64 grandTotal = 0;
    for (int i = 0; i < Configuration::NombrePrix; ++i) {
        const EntreePrix& e = c.TableDesPrix[i];
        if (!e.enUsage())
            continue;
        const qint64 prix = champs::valeur(e.prix);
        grandTotal += compte.nombres[i] * prix;
        g << QStringList{e.code, QString::number(compte.nombres[i]), formatMontant(prix, false),
                         formatMontant(compte.nombres[i] * prix, false)};
    }
    g << QStringList{QStringLiteral("Grand total : "), {}, {},
                     formatMontant(grandTotal, true) + (annuel ? QString() : QStringLiteral(" $"))};
    return g;
}

graphiques::Graphique graphique(const Compte& compte, const Configuration& c, const QString& titre) {
    graphiques::Graphique g;
    g.titre = titre;
    g.axeCategories = QStringLiteral("Code d'acte");
    graphiques::Serie nombres{QStringLiteral("Nombre d'actes"), graphiques::Unite::Nombre, {}};
    graphiques::Serie montants{QStringLiteral("Montant"), graphiques::Unite::Cents, {}};
    for (int i = 0; i < Configuration::NombrePrix; ++i) {
        const EntreePrix& e = c.TableDesPrix[i];
        if (!e.enUsage() || compte.nombres[i] == 0)
            continue;
        g.categories << e.code;
        nombres.valeurs << compte.nombres[i];
        montants.valeurs << compte.nombres[i] * champs::valeur(e.prix);
    }
    g.series << nombres << montants;
    return g;
}

QString titreGraphique(const Compte& compte) {
    return QStringLiteral("Actes du ") + dateBarree(compte.premiere) + QStringLiteral(" au ") + dateBarree(compte.derniere);
}

QString periode(const Compte& compte) {
    return QStringLiteral("Pour la période du ") + dateBarree(compte.premiere) + QStringLiteral(" au ") +
           dateBarree(compte.derniere);
}

void imprimer(Page& page, const QString& optometriste, const QDate& aujourdhui, const QString& periode,
              const QString& nombre, const QList<QStringList>& grille) {
    page.police(QStringLiteral("Arial"));
    page.taille(14);
    page.gras(true);
    page.ecrireLigne(QStringLiteral("Compte rendu de ") + optometriste);
    page.taille(10);
    page.gras(false);
    page.ecrireLigne(QStringLiteral(" Imprimé le %1 %2 %3")
                         .arg(aujourdhui.day(), 2, 10, QLatin1Char('0'))
                         .arg(nomDuMois(aujourdhui.month()))
                         .arg(aujourdhui.year()));
    page.ecrireLigne();
    page.ecrireLigne(periode);
    page.ecrireLigne(QStringLiteral("Nombre de factures : ") + nombre);
    page.ecrireLigne();
    const auto ligne = [&page](const QStringList& r) {
        if (page.CurrentY > page.hauteur() - 0.75)
            page.nouvellePage();
        page.CurrentX = 0.5;
        page.ecrire(r.value(0));
        page.ecrireJusqua(2.5, r.value(1));
        page.ecrireJusqua(3.75, r.value(2));
        page.ecrireJusqua(5.25, r.value(3));
        page.ecrireLigne();
    };
    ligne({QStringLiteral("Acte"), QStringLiteral("Nombre"), QStringLiteral("Prix"), QStringLiteral("Total")});
    for (const QStringList& r : grille)
        ligne(r);
    page.ecrireLigne();
    page.ecrireLigne(QStringLiteral("Kestrova - %1").arg(aujourdhui.year()));
}

}  // namespace comptesrendus
