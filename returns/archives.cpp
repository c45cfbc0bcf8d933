#include "returns/archives.h"

#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichierbrut.h"
#include "platform/fichiers.h"
#include "platform/page.h"
#include "records/encodage.h"
#include "records/procedures.h"
#include "records/fichierenregistrements.h"
#include "records/fichierfactures.h"
#include "returns/retours.h"
#include "transmission/rapports.h"

#include <QRegularExpression>

namespace archives {

namespace {

constexpr int L = facture::Longueur;

QByteArrayView champ(QByteArrayView e, facture::Position p) {
    return e.sliced(p.colonne - 1, p.largeur);
}

bool aEnvoyer(QByteArrayView e) { return champ(e, facture::Etat) == "05"; }

// The whole records of a file (a trailing byte 26 or partial record left out).
QByteArray recordsEntiers(const QString& chemin) {
    QByteArray tout = fichiers::lire(chemin);
    tout.truncate(tout.size() - tout.size() % L);
    return tout;
}

Factures lireFactures(const QString& chemin, Factures::Source source, const QString& nom) {
    Factures f;
    f.source = source;
    f.nom = nom;
    const QByteArray tout = recordsEntiers(chemin);
    for (qsizetype p = 0; p < tout.size(); p += L)
        if (aEnvoyer(QByteArrayView(tout).sliced(p, L)))
            f.ajouter(QByteArrayView(tout).sliced(p, L), static_cast<int>(p / L) + 1);
    return f;
}

void signaler(PortDialogue& d, const QString& titre, const ErreurFichier& e) {
    d.message(Icone::Critique, titre, QStringLiteral("Erreur %1  %2").arg(e.numero()).arg(erreurs::texte(e)));
}

}  // namespace

QStringList fichiersConserves(const QString& programme) {
    static const QRegularExpression nomConserve(QStringLiteral("^D[0-9]{7}$"),
                                                QRegularExpression::CaseInsensitiveOption);
    return dossiers::chercher(fichierfactures::dossierSauvegarde(programme), QStringLiteral("D*"))
        .filter(nomConserve);
}

void Factures::ajouter(QByteArrayView enregistrement, int numero) {
    enregistrements << enregistrement.toByteArray();
    numeros << numero;
}

Conserve resumer(const QString& programme, const QString& nom) {
    Conserve c{nom, {}, 0};
    const QByteArray tout =
        recordsEntiers(dossiers::resoudre(fichierfactures::dossierSauvegarde(programme), nom));
    QByteArray premiere, derniere;
    for (qsizetype p = 0; p < tout.size(); p += L) {
        const QByteArrayView e = QByteArrayView(tout).sliced(p, L);
        if (!aEnvoyer(e))
            continue;
        ++c.nombre;
        const QByteArrayView date = champ(e, facture::DateService);
        if (premiere.isEmpty() || date < premiere)
            premiere = date.toByteArray();
        if (derniere.isEmpty() || date > derniere)
            derniere = date.toByteArray();
    }
    if (c.nombre > 0)
        c.periode = QStringLiteral("Du ") + dateBarree(encodage::depuisOctets(premiere)) + QStringLiteral(" au ") +
                    dateBarree(encodage::depuisOctets(derniere));
    return c;
}

Factures enMemoire(const QString& programme) {
    const QString chemin = fichierfactures::cheminFtmp(programme);
    if (!dossiers::FichierExiste(chemin))
        return {};
    return lireFactures(chemin, Factures::Source::EnMemoire, {});
}

Factures conserve(const QString& programme, const QString& nom) {
    return lireFactures(dossiers::resoudre(fichierfactures::dossierSauvegarde(programme), nom),
                        Factures::Source::Conserve, nom);
}

QStringList entetes() {
    return {QStringLiteral("Numéro"), QStringLiteral("Ass. maladie"), QStringLiteral("Nom"),
            QStringLiteral("Prénom"), QStringLiteral("Seq."), QStringLiteral("Exp."),
            QStringLiteral("Naissance"), QStringLiteral("Sexe"), QStringLiteral("Adresse"),
            QStringLiteral("Ville"), QStringLiteral("Code P."), QStringLiteral("Opto."),
            QStringLiteral("Groupe"), QStringLiteral("Établissement"), QStringLiteral("Date fact."),
            QStringLiteral("Diag #1"), QStringLiteral("Diag #2"), QStringLiteral("Diag #3"),
            QStringLiteral("Diag #4"), QStringLiteral("Acte #1"), QStringLiteral("Acte #2"),
            QStringLiteral("Acte #3"), QStringLiteral("Acte #4"), QStringLiteral("Prix #1"),
            QStringLiteral("Prix #2"), QStringLiteral("Prix #3"), QStringLiteral("Prix #4"),
            QStringLiteral("Total"), QStringLiteral("Renseignements complémentaires"),
            QStringLiteral("C.S."), QStringLiteral("Agence"), QStringLiteral("Attestation"),
            QStringLiteral("NCE")};
}

QStringList rangee(const QByteArray& enregistrement, int numero) {
    using namespace facture;
    QList<Position> positions = {Nam, Nom, Prenom, SequenceCarte, ExpirationCarte, Naissance,
                                 Sexe, Adresse, Ville, CodePostal, Professionnel, Groupe,
                                 Etablissement, DateService};
    for (const auto ligne : {diagnostic, acte, honoraire})
        for (int n = 1; n <= NombreLignes; ++n)
            positions << ligne(n);
    positions << Total << Renseignements << Considerations << Agence << Attestation << NumeroFacture;
    QStringList cellules{QStringLiteral("%1").arg(numero, 3, 10, QLatin1Char('0'))};
    for (const Position p : positions)
        cellules << encodage::depuisOctets(enregistrement.mid(p.colonne - 1, p.largeur));
    return cellules;
}

Factures rechercher(const QString& programme, const QStringList& noms, const QString& nam,
                    const std::function<void(int)>& progression) {
    Factures f;
    f.source = Factures::Source::Recherche;
    const QByteArray cherche = encodage::versOctets(nam);
    const QString dossier = fichierfactures::dossierSauvegarde(programme);
    QByteArray tampon;
    for (int i = 0; i < noms.size(); ++i) {
        const FichierBrut fichier(dossiers::resoudre(dossier, noms[i]), FichierBrut::Mode::Lecture);
        fichier.lireDans(0, fichier.taille(), tampon);
        const QByteArrayView tout(tampon);
        for (qsizetype p = 0; p + L <= tout.size(); p += L) {
            const QByteArrayView e = tout.sliced(p, L);
            if (champ(e, facture::Nam) == cherche && aEnvoyer(e))
                f.ajouter(e, static_cast<int>(p / L) + 1);
        }
        if (progression)
            progression((i + 1) * 100 / noms.size());
    }
    return f;
}

bool demanderEtRechercher(const QString& programme, const QStringList& noms, PortDialogue& d,
                          Factures& resultat, const std::function<void(int)>& progression) {
    const QString nam =
        d.saisie(QStringLiteral("Recherche"),
                 QStringLiteral("Inscrire le numéro de l'assurance maladie de la personne à rechercher."),
                 {})
            .value_or(QString())
            .toUpper();
    if (nam.size() != facture::Nam.largeur) {
        d.message(Icone::Aucune, QStringLiteral("Kestrova"),
                  QStringLiteral("Le numéro de l'assurance maladie est incomplet ou vous avez annulé la fonction."));
        return false;
    }
    try {
        Sablier sablier(d);
        resultat = rechercher(programme, noms, nam, progression);
    } catch (const ErreurFichier& e) {
        signaler(d, QStringLiteral("Recherche"), e);
        return false;
    }
    if (resultat.enregistrements.isEmpty())
        d.message(Icone::Aucune, QStringLiteral("Kestrova"),
                  QStringLiteral("Aucune facture correspondante au numéro d'assurance maladie ") + nam);
    return true;
}

bool remettre(const QString& programme, const QString& nom, PortDialogue& d) {
    const QString titre = QStringLiteral("Remettre en traitement");
    try {
        const QString source = dossiers::resoudre(fichierfactures::dossierSauvegarde(programme), nom);
        // Whole records only (not the end-of-file byte), each with its marks: a damaged kept
        // file would make Ftmp.Fil one that is never appended to nor prepared.
        const QByteArray enregistrements = recordsEntiers(source);
        for (qsizetype p = 0; p < enregistrements.size(); p += L)
            if (!facture::marquesValides(QByteArrayView(enregistrements).sliced(p, L))) {
                d.message(Icone::Exclamation, titre,
                          QStringLiteral("Le fichier %1 est endommagé à l'enregistrement numéro %2; "
                                         "il n'a pas été remis en traitement.")
                              .arg(nom)
                              .arg(p / L + 1));
                return false;
            }

        // Under Ftmp.Fil's lock: no other workstation appends between the count and the rewrite.
        const FichierEnregistrements memoire = fichierfactures::fichier(programme);
        const auto verrou = memoire.verrouiller(FichierEnregistrements::delaiVerrouMs);
        if (verrou->taille() / L > 0) {
            d.message(Icone::Exclamation, titre,
                      QStringLiteral("Le fichier ne peut pas être remis en traitement parce qu'il "
                                     "existe déjà des factures en mémoire.\n\nVous devez transmettre "
                                     "à la Régie les factures en mémoire.\n\n Par la suite cette "
                                     "fonction sera disponible."));
            return false;
        }
        fichiers::ecrireAtomique(memoire.chemin(), enregistrements);
    } catch (const ErreurFichier& e) {
        signaler(d, titre, e);
        return false;
    }
    d.message(Icone::Information, QStringLiteral("Traitement de fichier"),
              QStringLiteral("Le fichier ") + nom + QStringLiteral(" a été remis pour traitement."));
    return true;
}

bool imprimer(Imprimante& imprimante, const Factures& f, PortDialogue& d,
              const std::function<void(int)>& progression) {
    Sablier sablier(d);
    QString premiere, derniere;
    for (const QByteArray& e : f.enregistrements) {
        const QString date = encodage::depuisOctets(e.mid(facture::DateService.colonne - 1, 6));
        if (premiere.isEmpty() || date < premiere)
            premiere = date;
        if (derniere.isEmpty() || date > derniere)
            derniere = date;
    }
    rapports::ValeursLigne ligne;
    if (!f.enregistrements.isEmpty()) {
        const QByteArray& premier = f.enregistrements.first();
        ligne.attestation = encodage::depuisOctets(champ(premier, facture::Attestation).toByteArray());
        ligne.premiere = encodage::depuisOctets(champ(premier, facture::NumeroFacture).toByteArray());
        ligne.derniere = encodage::depuisOctets(
            champ(f.enregistrements.last(), facture::NumeroFacture).toByteArray());
    }
    if (f.source == Factures::Source::Conserve)
        ligne.requete = QStringLiteral("R") + f.nom.mid(1);
    ligne.groupes = rapports::distincts(f.enregistrements, facture::Groupe).join(QLatin1Char('-'));
    const int titre = f.source == Factures::Source::EnMemoire ? 0 : 1;
    const rapports::Entete entete = rapports::enteteAutresFichiers(
        titre, retours::dateAaMmJj(premiere), retours::dateAaMmJj(derniere), ligne);
    const QString nom = f.source == Factures::Source::Conserve   ? f.nom
                        : f.source == Factures::Source::EnMemoire ? QStringLiteral("en mémoire")
                                                                  : QStringLiteral("recherche");
    try {
        rapports::imprimerRapports(imprimante, f.enregistrements, entete, nom, nullptr, progression);
    } catch (const ErreurFichier& e) {
        signaler(d, QStringLiteral("Impression"), e);
        return false;
    }
    return true;
}

}  // namespace archives
