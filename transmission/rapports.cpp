#include "transmission/rapports.h"

#include "config/configuration.h"
#include "platform/fichiers.h"
#include "platform/page.h"
#include "records/champs.h"
#include "records/encodage.h"
#include "records/procedures.h"

#include <array>

namespace rapports {

namespace {

constexpr double TailleNormale = 12;
constexpr double TailleEntete = 9;
constexpr double TailleLignes = 8;
constexpr double TaillePetite = 6;
constexpr double MargeLigne = 0.25;  // a new page below this distance from the bottom
constexpr double MargeTotal = 1.25;  // the total block needs this much
constexpr double XTotal = 8.2;

QString champ(const QByteArray& enregistrement, facture::Position p) {
    return encodage::depuisOctets(enregistrement.mid(p.colonne - 1, p.largeur));
}

QString texteColonne(const QByteArray& enregistrement, const Colonne& c) {
    const QString t = champ(enregistrement, c.champ);
    switch (c.coupe) {
    case Colonne::Coupe::Debut: return t.left(c.caracteres);
    case Colonne::Coupe::Fin: return t.right(c.caracteres);
    case Colonne::Coupe::Aucune: break;
    }
    return t;
}

QString date20(const QString& aammjj) {
    return QStringLiteral("20") + aammjj.mid(0, 2) + QLatin1Char('/') + aammjj.mid(2, 2) +
           QLatin1Char('/') + aammjj.mid(4, 2);
}

void sautDePage(Page& page, const Entete& entete) {
    page.nouvellePage();
    page.taille(TailleNormale);
    imprimerEntete(page, entete);
}

}  // namespace

const QList<Colonne>& colonnes() {
    using C = Colonne::Coupe;
    static const QList<Colonne> liste = {
        {QStringLiteral("NRE"), 0, facture::NumeroFacture},
        {QStringLiteral("-------- NOM --------"), 0.35, facture::Nom, C::Debut, 20},
        {QStringLiteral("------- PRÉNOM -------"), 1.7, facture::Prenom, C::Debut, 20},
        {QStringLiteral("------- NAM ------"), 2.85, facture::Nam},
        {QStringLiteral("- DDS -"), 3.75, facture::DateService},
        {QStringLiteral("-OPTO-"), 4.2, facture::Professionnel},
        {QStringLiteral("ÉTABL"), 4.7, facture::Etablissement},
        {QStringLiteral("SC"), 5.1, facture::SequenceCarte},
        {QStringLiteral("EXP."), 5.3, facture::ExpirationCarte},
        {QStringLiteral("S"), 5.6, facture::Sexe},
        {QStringLiteral("Diag."), 5.75, facture::diagnostic(1)},
        {QStringLiteral("------"), 6.05, facture::diagnostic(2)},
        {QStringLiteral("------"), 6.35, facture::diagnostic(3)},
        {QStringLiteral("------"), 6.65, facture::diagnostic(4)},
        {QStringLiteral("Acte."), 7.0, facture::acte(1), C::Fin, 5, true},
        {QStringLiteral("------"), 7.3, facture::acte(2), C::Fin, 5, true},
        {QStringLiteral("------"), 7.6, facture::acte(3), C::Fin, 5, true},
        {QStringLiteral("------"), 7.9, facture::acte(4), C::Fin, 5, true},
        {QStringLiteral("Honorai"), 8.2, facture::Total},
        {QStringLiteral("Rens. Complémentaires"), 8.7, facture::Renseignements, C::Debut, 22},
        {QStringLiteral("C.S."), 10.3, facture::Considerations},
    };
    return liste;
}

QString texteLigne(const ValeursLigne& v) {
    return QStringLiteral("Numéro d'agence: ") + v.requete.mid(1, 5) +
           QStringLiteral("      Numéro de facturation: ") + v.requete +
           QStringLiteral("       Numéro d'attestation: ") + v.attestation +
           QStringLiteral("        Facture numéro: ") + v.premiere + QStringLiteral(" à ") +
           v.derniere + QStringLiteral("      No de groupe: ") + v.groupes;
}

QList<QByteArray> lireEnregistrements(const QString& chemin) {
    const QByteArray tout = fichiers::lire(chemin);
    QList<QByteArray> liste;
    liste.reserve(tout.size() / facture::Longueur);
    for (qsizetype p = 0; p + facture::Longueur <= tout.size(); p += facture::Longueur)
        liste << tout.mid(p, facture::Longueur);
    return liste;
}

QStringList distincts(const QList<QByteArray>& enregistrements, facture::Position p) {
    QStringList valeurs;
    for (const QByteArray& e : enregistrements) {
        const QString v = champ(e, p);
        if (!valeurs.contains(v))
            valeurs << v;
    }
    return valeurs;
}

Entete entetePreparation(const QList<QByteArray>& enregistrements, const QString& requete,
                         const QString& attestation) {
    QString premiere, derniere;
    for (const QByteArray& e : enregistrements) {
        const QString d = champ(e, facture::DateService);
        if (premiere.isEmpty() || d < premiere)
            premiere = d;
        if (derniere.isEmpty() || d > derniere)
            derniere = d;
    }
    ValeursLigne v{requete, attestation, {}, {}, distincts(enregistrements, facture::Groupe).join('-')};
    if (!enregistrements.isEmpty()) {
        // The numbers of a payment-request file run on from the first; the last record's own
        // number is the last one given, also when the counter went round past 9999.
        v.premiere = champ(enregistrements.first(), facture::NumeroFacture);
        v.derniere = champ(enregistrements.last(), facture::NumeroFacture);
    }
    return {QStringLiteral("Rapport sur la facturation du ") + date20(premiere) +
                QStringLiteral(" au ") + date20(derniere),
            texteLigne(v), TailleEntete};
}

Entete enteteAutresFichiers(int titre, const QString& premiereDate, const QString& derniereDate,
                            const ValeursLigne& ligne) {
    const QString debut = titre == 0 ? QStringLiteral("Rapport PRÉLÉMINAIRE sur la facturation du ")
                                     : QStringLiteral("Rapport sur la facturation du ");
    return {debut + premiereDate + QStringLiteral(" au ") + derniereDate, texteLigne(ligne), 10};
}

void imprimerEntete(Page& page, const Entete& entete) {
    page.CurrentX = page.CentrerTexte(entete.titre);
    page.ecrireLigne(entete.titre);
    page.taille(TailleEntete);
    page.regle();
    page.ecrireLigne();
    page.taille(entete.tailleLigne);
    page.ecrireLigne(entete.ligne);
    page.regle();
    page.taille(TailleLignes);
    for (const Colonne& c : colonnes()) {
        page.CurrentX = c.x;
        page.ecrire(c.entete);
    }
    page.ecrireLigne();
}

void imprimerCorps(Page& page, const QList<QByteArray>& enregistrements, const Entete& entete,
                   int filtre, const QString& professionnel) {
    qint64 total = 0;
    for (const QByteArray& e : enregistrements) {
        if (page.CurrentY > page.hauteur() - MargeLigne)
            sautDePage(page, entete);
        if (filtre == -1 && champ(e, facture::Professionnel) != professionnel)
            continue;
        for (const Colonne& c : colonnes()) {
            page.taille(c.petit ? TaillePetite : TailleLignes);
            page.CurrentX = c.x;
            page.ecrire(texteColonne(e, c));
        }
        page.taille(TailleLignes);
        page.ecrireLigne();
        total += champs::valeur(e.mid(facture::Total.colonne - 1, facture::Total.largeur));
    }
    if (page.CurrentY > page.hauteur() - MargeTotal)
        sautDePage(page, entete);
    page.taille(TailleLignes);
    page.CurrentX = XTotal;
    page.ecrireLigne(QStringLiteral("----------"));
    page.CurrentX = XTotal;
    page.ecrireLigne(formatMontant(total, true) + QStringLiteral(" $"));
    if (filtre == 0) {
        page.ecrireLigne();
        page.ecrireLigne();
        page.ecrireLigne(QStringLiteral("Signature____________________________________________ "));
    }
}

void imprimerStatistiques(Page& page, const QList<QByteArray>& enregistrements,
                          const QString& professionnel, const Configuration& configuration) {
    const auto& table = configuration.TableDesPrix;
    std::array<qint64, Configuration::NombrePrix> nombres{};
    for (const QByteArray& e : enregistrements) {
        if (champ(e, facture::Etat) != facture::EtatAEnvoyer ||
            champ(e, facture::Professionnel) != professionnel)
            continue;
        for (int n = 1; n <= facture::NombreLignes; ++n) {
            const QString code = champ(e, facture::acte(n)).right(5);
            for (std::size_t i = 0; i < table.size(); ++i)
                if (table[i].code == code) {
                    ++nombres[i];
                    break;
                }
        }
    }
    const auto ligne = [&page](const QString& acte, const QString& nombre, const QString& prix,
                               const QString& total) {
        if (page.CurrentY > page.hauteur() - MargeLigne)
            page.nouvellePage();
        page.CurrentX = 1.0;
        page.ecrire(acte);
        page.ecrireJusqua(2.5, nombre);
        page.ecrireJusqua(4.0, prix);
        page.ecrireJusqua(5.5, total);
        page.ecrireLigne();
    };
    page.ecrireLigne();
    ligne(QStringLiteral("Acte"), QStringLiteral("Nombre"), QStringLiteral("Prix"),
          QStringLiteral("Total"));
    qint64 general = 0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].prix == QLatin1String("000000") || nombres[i] == 0)
            continue;
        const qint64 prix = champs::valeur(table[i].prix);
        ligne(table[i].code, QString::number(nombres[i]), formatMontant(prix, false),
              formatMontant(nombres[i] * prix, false));
        general += nombres[i] * prix;
    }
    ligne({}, {}, {}, QStringLiteral("========"));
    ligne({}, {}, {}, formatMontant(general, false));
}

namespace {
std::unique_ptr<Page> documentPret(Imprimante& imprimante, const QString& nom) {
    auto page = imprimante.nouveauDocument(nom);
    page->police(QStringLiteral("Times New Roman"));
    page->police(QStringLiteral("Arial"));
    page->taille(TailleNormale);
    return page;
}
}  // namespace

void imprimerRapports(Imprimante& imprimante, const QList<QByteArray>& enregistrements,
                      const Entete& entete, const QString& nom,
                      const Configuration* statistiques, const std::function<void(int)>& progression) {
    const QStringList professionnels = distincts(enregistrements, facture::Professionnel);
    const int documents = professionnels.size() < 2 ? 1 : 1 + static_cast<int>(professionnels.size());
    const auto avance = [&](int faits) {
        if (progression)
            progression(faits * 100 / documents);
    };
    {
        auto page = documentPret(imprimante, QStringLiteral("Rapport ") + nom);
        imprimerEntete(*page, entete);
        imprimerCorps(*page, enregistrements, entete, 0);
        page->finDocument();
    }
    avance(1);
    if (documents == 1)
        return;
    for (int i = 0; i < professionnels.size(); ++i) {
        const QString& prof = professionnels[i];
        auto page = documentPret(imprimante, QStringLiteral("Rapport ") + nom +
                                                 QStringLiteral(" personnel ") + prof);
        const QString titre = QStringLiteral("RAPPORT PERSONNEL DE ") + prof;
        page->CurrentX = page->CentrerTexte(titre);
        page->ecrireLigne(titre);
        page->regle();
        imprimerEntete(*page, entete);
        imprimerCorps(*page, enregistrements, entete, -1, prof);
        if (statistiques)
            imprimerStatistiques(*page, enregistrements, prof, *statistiques);
        page->finDocument();
        avance(i + 2);
    }
}

void imprimerRapportsPreparation(Imprimante& imprimante, const QString& cheminDemandes,
                                 const QString& requete, const QString& attestation,
                                 const Configuration& configuration) {
    const QList<QByteArray> enregistrements = lireEnregistrements(cheminDemandes);
    imprimerRapports(imprimante, enregistrements,
                     entetePreparation(enregistrements, requete, attestation), requete,
                     &configuration);
}

}  // namespace rapports
