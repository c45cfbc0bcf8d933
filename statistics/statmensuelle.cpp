#include "statistics/statmensuelle.h"

#include "config/parametres.h"
#include "platform/arriereplan.h"
#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/fichierbrut.h"
#include "platform/page.h"
#include "platform/reglages.h"
#include "records/champs.h"
#include "records/encodage.h"
#include "records/fichierfactures.h"
#include "records/procedures.h"
#include "records/statistique.h"

#include <QHash>

namespace statmensuelle {

namespace {

const QString Titre = QStringLiteral("RAPPORT SUR LA FACTURATION À LA RAMQ");
const QString TitreDetaille = QStringLiteral("RAPPORT DÉTAILLÉ SUR LA FACTURATION À LA RAMQ");
const QString Regle = QStringLiteral("==========");

QString texte(QByteArrayView e, facture::Position p) {
    return encodage::depuisOctets(e.sliced(p.colonne - 1, p.largeur).toByteArray());
}

// "#,###" for a count, 0 written out.
QString nombre(qint64 n) {
    QString t = QString::number(n);
    for (qsizetype i = t.size() - 3; i > 0; i -= 3)
        t.insert(i, QLatin1Char(','));
    return t;
}

// The index of each act code of the fee table.
QHash<QString, int> indexDesCodes(const Configuration& c) {
    QHash<QString, int> index;
    for (int i = 0; i < Configuration::NombrePrix; ++i)
        if (c.TableDesPrix[i].enUsage() && !index.contains(c.TableDesPrix[i].code))
            index.insert(c.TableDesPrix[i].code, i);
    return index;
}

// The whole records of the year's statistics file; none when the year has no file (none is
// created).
QByteArray enregistrements(const QString& programme, int annee) {
    const QString chemin = fichierfactures::cheminStatistiques(programme, QString::number(annee));
    if (!dossiers::FichierExiste(chemin))
        return {};
    const FichierBrut fichier(chemin, FichierBrut::Mode::Lecture);
    QByteArray tout;
    fichier.lireDans(0, fichier.taille(), tout);
    tout.truncate(tout.size() - tout.size() % statistique::Longueur);
    return tout;
}

bool refacturation(QByteArrayView e) {
    const auto drapeau = static_cast<qint16>(static_cast<quint8>(e[statistique::ColonneRefacturation - 1]) |
                                             static_cast<quint8>(e[statistique::ColonneRefacturation]) << 8);
    return drapeau == -1;
}

// The fee-table entry of act line `n` (1 to 4); -1 when blank or not in the table.
int indexDeLActe(QByteArrayView e, int n, const QHash<QString, int>& codes) {
    return codes.value(texte(e, statistique::acte(n)).trimmed(), -1);
}

// The day (1 to 31) under which the summary by day counts the record; 0 for a re-billing or a
// date without a day.
int jourDuSommaire(QByteArrayView e, bool refacture) {
    const QString jour = texte(e, statistique::DateService).mid(6, 2);
    const int n = static_cast<int>(champs::valeur(jour));
    return !refacture && jour.trimmed().size() == 2 && n >= 1 && n <= 31 ? n : 0;
}

QString ligneJour(const QString& jour, const QString& factures, const QString& montant) {
    return jour.leftJustified(26) + factures.rightJustified(18) + montant.rightJustified(37);
}

void entetePage(Page& page, const QString& titre, const Entete& e) {
    page.police(QStringLiteral("Times New Roman"));
    page.taille(14);
    page.gras(true);
    page.CurrentX = page.CentrerTexte(titre);
    page.ecrireLigne(titre);
    page.police(QStringLiteral("Arial"));
    page.taille(10);
    page.gras(false);
    page.ecrireLigne();
    for (const QString& l : e.lignes())
        page.ecrireLigne(l);
    page.ecrireLigne();
}

void nouvelleLigneSiBesoin(Page& page, const QString& titre, const Entete& e) {
    if (page.CurrentY > page.hauteur() - 0.5) {
        page.nouvellePage();
        entetePage(page, titre, e);
    }
}

}  // namespace

QStringList optometristes(const Configuration& c, const QString& separateur) {
    QStringList liste;
    for (const Optometriste& o : c.Optometristes)
        if (o.enUsage())
            liste << o.nom + separateur + o.professionnel;
    return liste;
}

QStringList annees(QDate aujourdhui) {
    QStringList liste;
    for (int a = aujourdhui.year() - 5; a <= aujourdhui.year() + 2; ++a)
        liste << QString::number(a);
    return liste;
}

QStringList mois() {
    QStringList liste;
    for (int m = 1; m <= 12; ++m) {
        const QString nom = nomDuMois(m);
        liste << nom.left(1).toUpper() + nom.mid(1);
    }
    return liste;
}

qint64 Mois::factures() const {
    qint64 n = 0;
    for (qint64 f : facturesParJour)
        n += f;
    return n;
}

qint64 Mois::montant() const {
    qint64 n = 0;
    for (qint64 m : montantParJour)
        n += m;
    return n;
}

Mois lire(const QString& programme, const QString& professionnel, int annee, int mois,
          const Configuration& c, const std::function<void(int)>& progression) {
    Mois m;
    const QByteArray tout = enregistrements(programme, annee);
    const QHash<QString, int> codes = indexDesCodes(c);
    const QByteArray cherche = encodage::versOctets(professionnel);
    const QByteArray moisCherche = QByteArray::number(mois).rightJustified(2, '0');
    const qsizetype entiers = tout.size();
    for (qsizetype p = 0; p < entiers; p += statistique::Longueur) {
        if (progression && p % (statistique::Longueur * 1024) == 0)
            progression(static_cast<int>(p * 100 / entiers));
        const QByteArrayView e = QByteArrayView(tout).sliced(p, statistique::Longueur);
        if (e.sliced(statistique::DateService.colonne + 3, 2) != moisCherche ||
            e.sliced(statistique::Professionnel.colonne - 1, 6) != cherche)
            continue;
        Ligne l;
        l.date = texte(e, statistique::DateService);
        l.etablissement = texte(e, statistique::Etablissement);
        l.nam = texte(e, statistique::Nam);
        l.refacturation = refacturation(e);
        Compteurs& compteurs = l.refacturation ? m.refacturations : m.ordinaires;
        ++compteurs.factures;
        qint64 montant = 0;
        for (int n = 1; n <= 4; ++n) {
            l.actes[n - 1] = texte(e, statistique::acte(n));
            l.honoraires[n - 1] = texte(e, statistique::honoraire(n));
            const int code = indexDeLActe(e, n, codes);
            if (code < 0)
                continue;  // blank, or not in the fee table: not counted
            const qint64 prix = champs::valeur(c.TableDesPrix[code].prix);
            ++compteurs.actes;
            ++compteurs.nombres[code];
            compteurs.montants[code] += prix;
            compteurs.total += prix;
            montant += prix;
        }
        if (const int jour = jourDuSommaire(e, l.refacturation); jour > 0) {
            ++m.facturesParJour[jour];
            m.montantParJour[jour] += montant;
        }
        m.lignes << l;
    }
    if (progression)
        progression(100);
    return m;
}

graphiques::Graphique graphique(const Mois& m, int annee, int mois) {
    graphiques::Graphique g;
    const QStringList noms = statmensuelle::mois();
    g.titre = QStringLiteral("Montant facturé par jour, %1 %2").arg(noms.value(mois - 1)).arg(annee);
    g.axeCategories = QStringLiteral("Jour");
    graphiques::Serie s{QStringLiteral("Montant facturé"), graphiques::Unite::Cents, {}};
    for (int jour = 1; jour <= QDate(annee, mois, 1).daysInMonth(); ++jour) {
        g.categories << QString::number(jour);
        s.valeurs << m.montantParJour[jour];
    }
    g.series << s;
    return g;
}

QHash<QString, std::array<qint64, 12>> montantsParMois(const QString& programme, int annee, const Configuration& c) {
    QHash<QString, std::array<qint64, 12>> montants;
    const QByteArray tout = enregistrements(programme, annee);
    const QHash<QString, int> codes = indexDesCodes(c);
    for (qsizetype p = 0; p < tout.size(); p += statistique::Longueur) {
        const QByteArrayView e = QByteArrayView(tout).sliced(p, statistique::Longueur);
        if (jourDuSommaire(e, refacturation(e)) == 0)
            continue;
        const int mois = static_cast<int>(champs::valeur(texte(e, statistique::DateService).mid(4, 2)));
        if (mois < 1 || mois > 12)
            continue;
        qint64 montant = 0;
        for (int n = 1; n <= 4; ++n)
            if (const int code = indexDeLActe(e, n, codes); code >= 0)
                montant += champs::valeur(c.TableDesPrix[code].prix);
        auto& annuel = montants[texte(e, statistique::Professionnel)];  // zeroed when new
        annuel[mois - 1] += montant;
    }
    return montants;
}

QList<tableur::Colonne> colonnes() {
    using G = tableur::Colonne::Genre;
    QList<tableur::Colonne> c = {{QStringLiteral("Date"), G::Date}, {QStringLiteral("Établis."), G::Texte},
                                 {QStringLiteral("NAM"), G::Texte}};
    for (int n = 0; n < 4; ++n)
        c << tableur::Colonne{QStringLiteral("Acte"), G::Texte} << tableur::Colonne{QStringLiteral("Hon."), G::Cents};
    c << tableur::Colonne{QStringLiteral("Refact."), G::Texte};
    return c;
}

QList<QStringList> rangees(const Mois& m, const Configuration& c) {
    QList<QStringList> r;
    for (const Ligne& l : m.lignes) {
        QStringList cellules{l.date, l.etablissement, l.nam};
        for (int n = 0; n < 4; ++n)
            cellules << l.actes[n] << l.honoraires[n];
        cellules << (l.refacturation ? QStringLiteral("Oui") : QStringLiteral("Non"));
        r << cellules;
    }
    const auto resume = [&](const Compteurs& k, const QString& premier, bool parCode) {
        r << QStringList{QStringLiteral("Nombre"), premier, nombre(k.factures)};
        r << QStringList{QStringLiteral("Nombre"), QStringLiteral("d'actes"), nombre(k.actes)};
        r << QStringList{QStringLiteral("Total"), QStringLiteral("Honoraire"), formatMontant(k.total, true)};
        if (parCode)
            for (int i = 0; i < Configuration::NombrePrix; ++i)
                if (k.nombres[i] > 0)
                    r << QStringList{c.TableDesPrix[i].code, nombre(k.nombres[i]), formatMontant(k.montants[i], true)};
    };
    resume(m.ordinaires, QStringLiteral("de factures"), true);
    resume(m.refacturations, QStringLiteral("de refacturations"), false);
    return r;
}

QStringList Entete::lignes() const {
    return {QStringLiteral("AGENCE: ") + agence, QStringLiteral("ÉTABLISSEMENT: ") + etablissement,
            QStringLiteral("PÉRIODE: ") + periode, QStringLiteral("OPTOMÉTRISTE: ") + optometriste};
}

QStringList sommaire(const Mois& m, const Entete& e) {
    QStringList l{Titre, QString()};
    l << e.lignes();
    l << QStringLiteral("Jour                      Nombre de factures                      Montant réclamé");
    for (int jour = 1; jour <= 31; ++jour)
        if (m.facturesParJour[jour] > 0)
            l << ligneJour(QStringLiteral("%1").arg(jour, 2, 10, QLatin1Char('0')), nombre(m.facturesParJour[jour]),
                           formatMontant(m.montantParJour[jour], true));
    l << Regle;
    l << ligneJour(QStringLiteral("Total"), nombre(m.factures()), formatMontant(m.montant(), true));
    return l;
}

void imprimerSommaire(Page& page, const Mois& m, const Entete& e) {
    entetePage(page, Titre, e);
    const auto ligne = [&page](const QString& jour, const QString& factures, const QString& montant) {
        page.CurrentX = 0.5;
        page.ecrire(jour);
        page.ecrireJusqua(3.5, factures);
        page.ecrireJusqua(6.0, montant);
        page.ecrireLigne();
    };
    page.gras(true);
    ligne(QStringLiteral("Jour"), QStringLiteral("Nombre de factures"), QStringLiteral("Montant réclamé"));
    page.gras(false);
    for (int jour = 1; jour <= 31; ++jour)
        if (m.facturesParJour[jour] > 0) {
            nouvelleLigneSiBesoin(page, Titre, e);
            ligne(QStringLiteral("%1").arg(jour, 2, 10, QLatin1Char('0')), nombre(m.facturesParJour[jour]),
                  formatMontant(m.montantParJour[jour], true));
        }
    ligne({}, Regle, Regle);
    ligne(QStringLiteral("Total"), nombre(m.factures()), formatMontant(m.montant(), true));
}

void imprimerListe(Page& page, const QList<QStringList>& rangees, const Entete& e) {
    entetePage(page, TitreDetaille, e);
    static const double colonnes[] = {0, 0.8, 1.4, 2.55, 3.1, 3.65, 4.2, 4.75, 5.3, 5.85, 6.4, 7.0};
    page.taille(8);
    for (const QStringList& r : rangees) {
        nouvelleLigneSiBesoin(page, TitreDetaille, e);
        page.taille(8);
        for (int i = 0; i < r.size() && i < 12; ++i) {
            QString cellule = r[i];
            if (i == 0 && cellule.size() == 8 && cellule.at(0).isDigit())
                cellule = cellule.left(4) + QLatin1Char('/') + cellule.mid(4, 2) + QLatin1Char('/') + cellule.mid(6, 2);
            page.CurrentX = colonnes[i];
            page.ecrire(cellule);
        }
        page.ecrireLigne();
    }
}

Courriel courriel(const Mois& m, const Entete& e, const QString& serveur, const QString& expediteur,
                  const QString& destinataire) {
    Courriel c;
    c.serveur = serveur;
    c.expediteur = expediteur;
    c.destinataire = destinataire;
    c.sujet = QStringLiteral("Rapport facturation RAMQ");
    c.corps = sommaire(m, e).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return c;
}

bool envoyer(const Mois& m, const Entete& e, MagasinReglages& utilisateur, PortDialogue& d) {
    const QString titre = QStringLiteral("Courriel privée");
    const QString destinataire =
        d.saisie(QStringLiteral("Courriel automatique"), QStringLiteral("Destinataire du courriel"),
                 parametres::lire(utilisateur, parametres::xxDestinataire))
            .value_or(QString())
            .trimmed();
    if (destinataire.isEmpty())
        return false;
    utilisateur.ecrire(parametres::xxDestinataire, destinataire);
    const Courriel c = courriel(m, e, parametres::lire(utilisateur, parametres::AdresseDuSmtp),
                                parametres::lire(utilisateur, parametres::AdresseDeCourriel), destinataire);
    std::optional<QString> erreur;
    {
        Sablier sablier(d);
        erreur = executerEnArrierePlan([&] { return envoyerCourriel(c); });
    }
    if (erreur) {
        d.message(Icone::Critique, titre, QStringLiteral("Le message n'a pas pu être expédié."));
        return false;
    }
    d.message(Icone::Exclamation, titre, QStringLiteral("Votre fichier a été envoyé avec succès..."));
    return true;
}

}  // namespace statmensuelle
