#include "returns/suivi.h"

#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichierbrut.h"
#include "platform/fichiers.h"
#include "platform/page.h"
#include "records/champs.h"
#include "records/encodage.h"
#include "records/facture.h"
#include "records/fichierenregistrements.h"
#include "records/fichierfactures.h"
#include "records/procedures.h"
#include "returns/archives.h"
#include "returns/impressionretour.h"
#include "returns/retours.h"
#include "statistics/journalenvois.h"
#include "transmission/envoi.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace suivi {

namespace {

constexpr int L = facture::Longueur;
const QByteArray AttestationProvisoire = "AJJJSSS";
const QByteArray NumeroProvisoire = "0000";

QByteArrayView champ(QByteArrayView e, facture::Position p) { return e.sliced(p.colonne - 1, p.largeur); }
QString texteDe(QByteArrayView v) { return encodage::depuisOctets(v); }
QString sansBlancs(QByteArrayView v) {
    while (!v.isEmpty() && v.back() == ' ')
        v.chop(1);
    return texteDe(v);
}

// Columns `colonne`.. of a return line, as bytes; what the line lacks is left out.
QByteArray colonnes(const QByteArray& ligne, int colonne, int largeur) { return ligne.mid(colonne - 1, largeur); }
QString texteRetour(const QByteArray& ligne, int colonne, int largeur) {
    return retours::champ(ligne, colonne, largeur).trimmed();
}

QString dateIso(QDate d) { return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : QString(); }

// A date "yymmdd" of the 2000s, read from its digits (a date no calendar has: none).
QDate dateCourte(QByteArrayView v) {
    int n[3] = {};
    for (int i = 0; i < 6; ++i) {
        if (i >= v.size() || v[i] < '0' || v[i] > '9')
            return {};
        n[i / 2] = n[i / 2] * 10 + (v[i] - '0');
    }
    return QDate(2000 + n[0], n[1], n[2]);
}

Ligne ligneDe(QByteArrayView e, const QString& fichier, int numero) {
    using namespace facture;
    Ligne l;
    l.facturation = fichier;
    l.numero = numero;
    l.attestation = texteDe(champ(e, Attestation));
    l.nce = texteDe(champ(e, NumeroFacture));
    l.nam = sansBlancs(champ(e, Nam));
    l.nom = sansBlancs(champ(e, Nom));
    l.prenom = sansBlancs(champ(e, Prenom));
    l.dateService = dateCourte(champ(e, DateService));
    l.professionnel = texteDe(champ(e, Professionnel));
    for (int n = 1; n <= NombreLignes; ++n)
        if (const QByteArrayView a = champ(e, acte(n)); a != "00000" && !a.trimmed().isEmpty())
            l.actes << texteDe(a);
    l.factureCents = champs::valeur(champ(e, facture::Total).toByteArray());
    return l;
}

// One billing, by its attestation number: where its invoices stand among the rows.
struct Lot {
    QString fichier;
    bool ambigu = false;  // two kept files carry this attestation: its lines are not trusted
    QHash<int, int> parRang;
    QHash<QByteArray, int> parNce;
    QList<int> rangees;  // in file order
    QDate envoi;
    bool retour = false;
};

// What the returns said of one row, before its state is decided.
struct Constat {
    bool refusee = false, aVerifier = false;
    QString codeRetour, messageRetour;
    QString codeEtat, messageEtat;
};

class Lecture {
public:
    Lecture(const QString& programme, QDate aujourdhui) : programme_(programme), aujourdhui_(aujourdhui) {}

    QList<Ligne> lire() {
        const QString dossier = fichierfactures::dossierSauvegarde(programme_);
        if (!QFileInfo(dossier).isDir())
            return {};
        lireConserves(dossier);
        lireJournal();
        lireMessages();
        for (const QString& nom : dossiers::chercher(dossier, QStringLiteral("ER*")))
            if (retours::genre(nom) == retours::Genre::Erreur)
                lireErreurs(fichiers::lire(QDir(dossier).filePath(nom)));
        for (const QString& nom : dossiers::chercher(dossier, QStringLiteral("EC*")))
            if (retours::genre(nom) == retours::Genre::Etat)
                lireEtat(fichiers::lire(QDir(dossier).filePath(nom)));
        decider();
        lignes_ += std::move(orphelines_);
        return std::move(lignes_);
    }

private:
    void lireConserves(const QString& dossier) {
        const QStringList noms = archives::fichiersConserves(programme_);
        qsizetype enregistrements = 0;  // the rows to come, from the files' sizes
        for (const QString& nom : noms)
            enregistrements += QFileInfo(dossiers::resoudre(dossier, nom)).size() / L;
        lignes_.reserve(enregistrements);
        constats_.reserve(enregistrements);
        lotDe_.reserve(enregistrements);
        for (const QString& nom : noms) {
            const QByteArray tout = fichiers::lire(dossiers::resoudre(dossier, nom));
            const QByteArrayView v(tout);
            QByteArrayView derniere;
            QByteArray cle;
            Lot* lotCourant = nullptr;
            for (qsizetype p = 0; p + L <= v.size(); p += L) {
                const QByteArrayView e = v.sliced(p, L);
                if (champ(e, facture::Etat) != "05")
                    continue;
                const int rangee = static_cast<int>(lignes_.size());
                lignes_ << ligneDe(e, nom, static_cast<int>(p / L) + 1);
                constats_.append(Constat{});
                const QByteArrayView attestation = champ(e, facture::Attestation);
                if (attestation != derniere) {  // the records of a file share theirs
                    derniere = attestation;
                    cle = attestation.toByteArray();
                    lotCourant = &lots_[cle];
                }
                Lot& lot = *lotCourant;
                if (lot.fichier.isEmpty())
                    lot.fichier = nom;
                else if (lot.fichier != nom)
                    lot.ambigu = true;
                lot.parRang.insert(lignes_.last().numero, rangee);
                lot.parNce.insert(champ(e, facture::NumeroFacture).toByteArray(), rangee);
                lot.rangees << rangee;
                lotDe_ << cle;
            }
        }
    }

    void lireJournal() {
        for (const QByteArray& e : journalenvois::lire(programme_)) {
            const auto lot = lots_.find(e.mid(8, 7));
            if (lot == lots_.end())
                continue;
            const QDate date = QDate::fromString(QString::fromLatin1(e.mid(31, 8)), QStringLiteral("yyyyMMdd"));
            if (date.isValid() && (!lot->envoi.isValid() || date > lot->envoi))
                lot->envoi = date;
        }
    }

    void lireMessages() {
        const QString chemin = dossiers::resoudre(programme_, QStringLiteral("MessagesExplicatifs.txt"));
        if (!dossiers::FichierExiste(chemin))
            return;
        for (const impressionretour::MessageExplicatif& m : impressionretour::lireMessages(fichiers::lire(chemin)))
            if (!messages_.contains(m.code.trimmed()))
                messages_.insert(m.code.trimmed(), m.texte);
    }

    // The trusted billing of an attestation, or none.
    Lot* lot(const QByteArray& attestation) {
        const auto i = lots_.find(attestation);
        return i == lots_.end() || i->ambigu ? nullptr : &*i;
    }

    void orpheline(const QByteArray& attestation, const QByteArray& nce, const QString& code, const QString& message,
                   std::optional<qint64> paye = {}) {
        Ligne l;
        const auto i = lots_.constFind(attestation);
        l.facturation = i == lots_.cend() ? QString() : i->fichier;
        l.attestation = encodage::depuisOctets(attestation);
        l.nce = encodage::depuisOctets(nce);
        l.etat = Etat::AVerifier;
        l.code = code;
        l.message = message;
        l.payeCents = paye;
        orphelines_ << l;
    }

    void refuser(int rangee, const QString& code, const QString& message) {
        Constat& c = constats_[rangee];
        if (!c.refusee || c.codeRetour.isEmpty()) {
            c.codeRetour = code;
            c.messageRetour = message;
        }
        c.refusee = true;
    }

    void erreur(const QByteArray& ligne) {
        const QByteArray attestation = colonnes(ligne, 4, 7), nce = colonnes(ligne, 18, 4);
        const int rang = static_cast<int>(champs::valeur(colonnes(ligne, 22, 6)));
        const QString code = texteRetour(ligne, 92, 3), message = texteRetour(ligne, 30, 62);
        Lot* l = lot(attestation);
        if (!l) {
            orpheline(attestation, nce, code, message);
            return;
        }
        l->retour = true;
        const int parRang = l->parRang.value(rang, -1), parNce = l->parNce.value(nce, -1);
        if (parRang >= 0 && parRang == parNce) {
            refuser(parRang, code, message);
            return;
        }
        // The position and the NCE name different invoices, or none: both shown to check.
        const QString texte = QStringLiteral("Le rang %1 et la NCE %2 de la ligne d'erreur ne désignent pas la "
                                             "même facture : %3")
                                  .arg(rang)
                                  .arg(encodage::depuisOctets(nce), message);
        bool nommee = false;
        for (const int r : {parRang, parNce})
            if (r >= 0) {
                Constat& c = constats_[r];
                c.aVerifier = true;
                c.codeRetour = code;
                c.messageRetour = texte;
                nommee = true;
            }
        if (!nommee)
            orpheline(attestation, nce, code, texte);
    }

    // Scope "3" refuses the whole billing, "2" every request after the position of the last
    // error line before it (every request when there is none).
    void explication(const QByteArray& ligne, const QByteArray& attestation, int dernierRang) {
        const QByteArray portee = colonnes(ligne, 95, 1);
        if (portee != "2" && portee != "3")
            return;
        const QString code = texteRetour(ligne, 92, 3), message = texteRetour(ligne, 30, 62);
        Lot* l = lot(attestation);
        if (!l) {  // a refusal of a billing no kept file (or two) holds: shown, never lost
            orpheline(attestation, {}, code, message);
            return;
        }
        for (const int r : std::as_const(l->rangees))
            if (portee == "3" || lignes_[r].numero > dernierRang)
                refuser(r, code, message);
    }

    void lireErreurs(const QByteArray& contenu) {
        QByteArray attestation;
        int dernierRang = 0;
        for (const QByteArray& ligne : retours::lignes(contenu)) {
            if (ligne.startsWith(" 21")) {
                attestation = colonnes(ligne, 4, 7);
                dernierRang = 0;
                if (Lot* l = lot(attestation))
                    l->retour = true;
            } else if (ligne.startsWith(" 25")) {
                erreur(ligne);
                dernierRang = static_cast<int>(champs::valeur(colonnes(ligne, 22, 6)));
            } else if (ligne.startsWith(" 27")) {
                explication(ligne, attestation, dernierRang);
            }
        }
    }

    void lireEtat(const QByteArray& contenu) {
        for (const QByteArray& stockee : retours::lignes(contenu)) {
            const QByteArray e = retours::sansPrefixe(stockee);
            if (!e.startsWith("13") && !e.startsWith("14"))
                continue;
            const QByteArray attestation = colonnes(e, 43, 7), nce = colonnes(e, 11, 4);
            const qint64 montant = champs::valeur(colonnes(e, 34, 9));
            const QString code = texteRetour(e, 31, 3);
            const QString texte = code == QLatin1String("000") ? QString() : messages_.value(code);
            const Lot* l = lot(attestation);
            const int rangee = l ? l->parNce.value(nce, -1) : -1;
            if (rangee < 0) {
                orpheline(attestation, nce, code == QLatin1String("000") ? QString() : code, texte, montant);
                continue;
            }
            Ligne& ligne = lignes_[rangee];
            ligne.payeCents = ligne.payeCents.value_or(0) + montant;
            Constat& c = constats_[rangee];
            if (code != QLatin1String("000") && c.codeEtat.isEmpty()) {
                c.codeEtat = code;
                c.messageEtat = texte;
            }
        }
    }

    void decider() {
        QHash<QByteArray, Marque> parFacture;
        for (const Marque& m : marques(programme_))
            parFacture.insert((m.attestation + m.nce).toLatin1(), m);  // digits only
        for (int i = 0; i < lignes_.size(); ++i) {
            Ligne& l = lignes_[i];
            const Constat& c = constats_[i];
            const Lot& lot = lots_[lotDe_[i]];
            l.envoi = lot.envoi;
            const bool payee = l.payeCents.value_or(0) > 0;
            if (c.aVerifier)
                l.etat = Etat::AVerifier;
            else if (payee)
                l.etat = Etat::Payee;
            else if (c.refusee)
                l.etat = Etat::Refusee;
            else if (lot.retour)
                l.etat = Etat::Acceptee;
            else if (lot.envoi.isValid())
                l.etat = lot.envoi.daysTo(aujourdhui_) > DelaiReponseJours ? Etat::SansReponse : Etat::Envoyee;
            else
                l.etat = Etat::Preparee;
            const bool parEtat = payee || c.codeRetour.isEmpty();
            l.code = parEtat ? c.codeEtat : c.codeRetour;
            l.message = parEtat ? c.messageEtat : c.messageRetour;
            if (parFacture.isEmpty())
                continue;
            if (const auto m = parFacture.constFind((l.attestation + l.nce).toLatin1()); m != parFacture.cend()) {
                l.etat = Etat::Refacturee;
                l.refacturee = m->date;
                l.ficheEnMemoire = m->fiche;
                l.message = QStringLiteral("Refacturée le ") + dateIso(m->date) +
                            (l.message.isEmpty() ? QString() : QStringLiteral(" : ") + l.message);
            }
        }
    }

    QString programme_;
    QDate aujourdhui_;
    QList<Ligne> lignes_, orphelines_;
    QList<Constat> constats_;
    QList<QByteArray> lotDe_;
    QHash<QByteArray, Lot> lots_;
    QHash<QString, QString> messages_;
};

}  // namespace

QString texte(Etat e) {
    switch (e) {
    case Etat::Preparee: return QStringLiteral("Préparée");
    case Etat::Envoyee: return QStringLiteral("Envoyée");
    case Etat::SansReponse: return QStringLiteral("Sans réponse");
    case Etat::Acceptee: return QStringLiteral("Acceptée");
    case Etat::Refusee: return QStringLiteral("Refusée");
    case Etat::Payee: return QStringLiteral("Payée");
    case Etat::Refacturee: return QStringLiteral("Refacturée");
    case Etat::AVerifier: return QStringLiteral("À vérifier");
    }
    return {};
}

const QList<Etat>& etats() {
    static const QList<Etat> tous = {Etat::Preparee, Etat::Envoyee, Etat::SansReponse, Etat::Acceptee,
                                     Etat::Refusee,  Etat::Payee,   Etat::Refacturee,  Etat::AVerifier};
    return tous;
}

QStringList Ligne::cellules() const {
    return {facturation,
            attestation,
            nce,
            nam,
            nom,
            prenom,
            dateIso(dateService),
            professionnel,
            actes.join(QLatin1Char(' ')),
            numero > 0 ? formatMontant(factureCents, true) : QString(),
            texte(etat),
            payeCents ? formatMontant(*payeCents, true) : QString(),
            code,
            message};
}

QList<tableur::Colonne> colonnes() {
    using G = tableur::Colonne::Genre;
    return tableur::colonnes(
        {QStringLiteral("Facturation"), QStringLiteral("Attestation"), QStringLiteral("NCE"),
         QStringLiteral("Ass. maladie"), QStringLiteral("Nom"), QStringLiteral("Prénom"),
         QStringLiteral("Date du service"), QStringLiteral("Professionnel"), QStringLiteral("Actes"),
         QStringLiteral("Montant facturé"), QStringLiteral("État"), QStringLiteral("Montant payé"),
         QStringLiteral("Code"), QStringLiteral("Message")},
        {{QStringLiteral("Date du service"), G::Date}, {QStringLiteral("Montant facturé"), G::Montant},
         {QStringLiteral("Montant payé"), G::Montant}});
}

QList<Ligne> lire(const QString& programme, QDate aujourdhui) { return Lecture(programme, aujourdhui).lire(); }

bool Filtre::garde(const Ligne& l) const {
    if (l.dateService.isValid() && ((du.isValid() && l.dateService < du) || (au.isValid() && l.dateService > au)))
        return false;
    if (!professionnel.isEmpty() && l.professionnel != professionnel)
        return false;
    if (etat && l.etat != *etat)
        return false;
    const QString cherche = recherche.trimmed();
    if (cherche.isEmpty())
        return true;
    for (const QString& t : {l.nam, l.nom, l.prenom, l.prenom + QLatin1Char(' ') + l.nom, l.nom + QLatin1Char(' ') + l.prenom})
        if (t.contains(cherche, Qt::CaseInsensitive))
            return true;
    return false;
}

Filtre filtreParDefaut(QDate aujourdhui) {
    Filtre f;
    f.du = aujourdhui.addDays(-PeriodeParDefautJours);
    f.au = aujourdhui;
    return f;
}

QList<Ligne> filtrer(const QList<Ligne>& lignes, const Filtre& f) {
    QList<Ligne> gardees;
    for (const Ligne& l : lignes)
        if (f.garde(l))
            gardees << l;
    return gardees;
}

Totaux totaliser(const QList<Ligne>& lignes) {
    Totaux t;
    const auto compter = [](Total& total, qint64 cents) {
        ++total.nombre;
        total.cents += cents;
    };
    for (const Ligne& l : lignes) {
        if (l.numero == 0)
            continue;  // a return line that names no kept invoice
        compter(t.factures, l.factureCents);
        switch (l.etat) {
        case Etat::Acceptee: compter(t.acceptees, l.factureCents); break;
        case Etat::Refusee: compter(t.refusees, l.factureCents); break;
        case Etat::Payee: compter(t.payees, l.payeCents.value_or(0)); break;
        default: break;
        }
        if (l.etat == Etat::Envoyee || l.etat == Etat::SansReponse || l.etat == Etat::Acceptee)
            compter(t.enAttente, l.factureCents);
    }
    return t;
}

QStringList texteTotaux(const Totaux& t) {
    const auto ligne = [](const char* libelle, const Total& total, const char* suite = "") {
        return QStringLiteral("%1 : %2 facture%3, %4%5")
            .arg(QString::fromUtf8(libelle))
            .arg(total.nombre)
            .arg(total.nombre > 1 ? QStringLiteral("s") : QString())
            .arg(envoi::montantDollars(total.cents), QString::fromUtf8(suite));
    };
    return {ligne("Facturées", t.factures), ligne("Acceptées", t.acceptees), ligne("Refusées", t.refusees),
            ligne("Payées", t.payees, " payés"), ligne("En attente", t.enAttente, " (envoyées, ni refusées ni payées)")};
}

bool aTraiter(const Ligne& l) {
    return l.etat == Etat::Refusee || l.etat == Etat::SansReponse || l.etat == Etat::AVerifier;
}

// --- Re-billing -------------------------------------------------------------------------------

namespace {

bool marqueValide(QByteArrayView e) {
    return e.size() == LongueurMarque && e.sliced(27) == "\r\n" && e[7] == ' ' && e[12] == ' ' && e[21] == ' ';
}

FichierEnregistrements fichierMarques(const QString& programme) {
    return FichierEnregistrements(cheminMarques(programme), LongueurMarque, std::numeric_limits<int>::max(),
                                  marqueValide);
}

QList<Marque> marquesDe(const QString& programme, const QString& attestation, const QString& nce) {
    QList<Marque> de;
    for (const Marque& m : marques(programme))
        if (m.attestation == attestation && m.nce == nce)
            de << m;
    return de;
}

QString nomComplet(const Ligne& l) { return l.prenom + QLatin1Char(' ') + l.nom; }

}  // namespace

QString cheminMarques(const QString& programme) {
    return dossiers::resoudre(fichierfactures::dossierSauvegarde(programme), QStringLiteral("Suivi.Dat"));
}

QByteArray enregistrementMarque(const Marque& m) {
    Enregistrement e(LongueurMarque);
    e.ecrireTexte(1, 7, m.attestation);
    e.ecrireTexte(9, 4, m.nce);
    e.ecrireNombre(14, 8, m.date.toString(QStringLiteral("yyyyMMdd")));
    e.ecrireNombre(23, 5, QString::number(m.fiche));
    e.ecrireOctets(28, "\r\n");
    return e.octets();
}

QList<Marque> marques(const QString& programme) {
    const QString chemin = cheminMarques(programme);
    if (!dossiers::FichierExiste(chemin))
        return {};
    const QByteArray tout = fichiers::lire(chemin);
    QList<Marque> liste;
    for (qsizetype p = 0; p + LongueurMarque <= tout.size(); p += LongueurMarque) {
        const Enregistrement e(tout.mid(p, LongueurMarque));
        liste.append({e.lireTexte(1, 7), e.lireTexte(9, 4),
                      QDate::fromString(e.lireTexte(14, 8), QStringLiteral("yyyyMMdd")),
                      static_cast<int>(champs::valeur(e.lire(23, 5)))});
    }
    return liste;
}

bool refacturable(const Ligne& l) {
    return l.numero > 0 && (l.etat == Etat::Refusee || l.etat == Etat::AVerifier || l.etat == Etat::Refacturee);
}

QByteArray enMemoire(const QByteArray& conserve) {
    Enregistrement e(conserve);
    e.ecrireTexte(facture::Etat.colonne, facture::Etat.largeur, QByteArray("05"));
    e.ecrireTexte(facture::Attestation.colonne, facture::Attestation.largeur, AttestationProvisoire);
    e.ecrireTexte(facture::NumeroFacture.colonne, facture::NumeroFacture.largeur, NumeroProvisoire);
    return e.octets();
}

namespace {

// The number of the first record of `memoire` equal to `copie` that is not in `prises`; 0 when none.
int copieNonMarquee(const QByteArray& memoire, const QByteArray& copie, const QList<int>& prises) {
    for (qsizetype p = 0; p + L <= memoire.size(); p += L)
        if (const int n = static_cast<int>(p / L) + 1; !prises.contains(n) && QByteArrayView(memoire).sliced(p, L) == copie)
            return n;
    return 0;
}

QList<int> fiches(const QList<Marque>& m) {
    QList<int> n;
    for (const Marque& x : m)
        n << x.fiche;
    return n;
}

}  // namespace

Refacturation Refacturer(const QString& programme, const Ligne& l, QDate aujourdhui, PortDialogue& d) {
    const QString titre = QStringLiteral("Refacturer");
    if (!refacturable(l)) {
        d.message(Icone::Exclamation, titre, QStringLiteral("Seule une facture refusée peut être refacturée."));
        return {};
    }
    try {
        const QString chemin = dossiers::resoudre(fichierfactures::dossierSauvegarde(programme), l.facturation);
        const QByteArray conserve = FichierEnregistrements(chemin, L).lire(l.numero);
        if (champ(conserve, facture::Etat) != "05" || texteDe(champ(conserve, facture::Attestation)) != l.attestation ||
            texteDe(champ(conserve, facture::NumeroFacture)) != l.nce || !facture::marquesValides(conserve)) {
            d.message(Icone::Exclamation, titre,
                      QStringLiteral("La facture numéro %1 du fichier %2 n'est plus celle qui est affichée. Rien "
                                     "n'a été remis en mémoire; la liste est affichée de nouveau.")
                          .arg(l.numero)
                          .arg(l.facturation));
            return {};
        }
        const QByteArray copie = enMemoire(conserve);
        const QList<Marque> avant = marquesDe(programme, l.attestation, l.nce);
        // Asked before any lock is taken: no other workstation waits on this question.
        if (!avant.isEmpty() &&
            d.question(Icone::Question, titre,
                       QStringLiteral("La facture NCE %1 de %2 a déjà été refacturée le %3.\n\nDésirez-vous la "
                                      "refacturer une deuxième fois ?")
                           .arg(l.nce, nomComplet(l), dateIso(avant.last().date)),
                       Boutons::OkAnnuler, 1) != Reponse::Ok)
            return {Issue::Annulee, 0};

        FichierEnregistrements memoire = fichierfactures::fichier(programme);
        const auto verrou = memoire.verrouiller(FichierEnregistrements::delaiVerrouMs);
        const QList<Marque> deja = marquesDe(programme, l.attestation, l.nce);
        if (deja.size() != avant.size()) {
            d.message(Icone::Exclamation, titre,
                      QStringLiteral("La facture NCE %1 de %2 vient d'être refacturée par un autre poste de "
                                     "travail. Rien n'a été remis en mémoire.")
                          .arg(l.nce, nomComplet(l)));
            return {};
        }
        FichierEnregistrements suivi = fichierMarques(programme);
        if (const int n = copieNonMarquee(verrou->toutLire(), copie, fiches(deja))) {
            suivi.ajouter(enregistrementMarque({l.attestation, l.nce, aujourdhui, n}));
            d.message(Icone::Information, titre,
                      QStringLiteral("La facture NCE %1 de %2 était déjà remise en mémoire (fiche %3) par une "
                                     "refacturation interrompue; elle est maintenant marquée refacturée.")
                          .arg(l.nce, nomComplet(l))
                          .arg(n));
            return {Issue::Retablie, n};
        }
        const int n = memoire.ajouter(*verrou, copie);
        try {
            suivi.ajouter(enregistrementMarque({l.attestation, l.nce, aujourdhui, n}));
        } catch (const ErreurFichier&) {
            // No record without its mark: the invoice leaves Ftmp.Fil again.
            try {
                verrou->tronquer(static_cast<qint64>(n - 1) * L);
                verrou->synchroniser();
            } catch (const ErreurFichier&) {
                // the first failure is the one the user must hear of; reparer marks it later
            }
            throw;
        }
        d.message(Icone::Information, titre,
                  QStringLiteral("La facture NCE %1 de %2 est remise en mémoire (fiche %3). Corrigez ce que la "
                                 "RAMQ a refusé avant la prochaine préparation.")
                      .arg(l.nce, nomComplet(l))
                      .arg(n));
        return {Issue::Faite, n};
    } catch (const ErreurFichier& e) {
        d.message(Icone::Critique, titre, erreurs::texte(e));
        return {};
    }
}

int reparer(const QString& programme, QDate aujourdhui) {
    if (!dossiers::FichierExiste(fichierfactures::cheminFtmp(programme)))
        return 0;
    FichierEnregistrements memoire = fichierfactures::fichier(programme);
    std::unique_ptr<FichierBrut> verrou;
    try {
        verrou = memoire.verrouiller(0);
    } catch (const ErreurFichier& e) {
        if (e.numero() == erreurs::PermissionRefusee)
            return 0;  // another workstation works on Ftmp.Fil; the next opening repairs
        throw;
    }
    // The records still carrying the placeholders, by their bytes.
    const QByteArray tout = verrou->toutLire();
    QHash<QByteArray, QList<int>> copies;
    for (qsizetype p = 0; p + L <= tout.size(); p += L) {
        const QByteArrayView e = QByteArrayView(tout).sliced(p, L);
        if (champ(e, facture::Attestation) == AttestationProvisoire && champ(e, facture::NumeroFacture) == NumeroProvisoire)
            copies[e.toByteArray()] << static_cast<int>(p / L) + 1;
    }
    if (copies.isEmpty())
        return 0;
    int marquees = 0;
    FichierEnregistrements suivi = fichierMarques(programme);
    const QString dossier = fichierfactures::dossierSauvegarde(programme);
    const QList<Ligne> lignes = lire(programme, aujourdhui);
    // The latest kept invoices first: a copy goes to the last billing that refused it.
    for (auto l = lignes.crbegin(); l != lignes.crend(); ++l) {
        if (l->numero == 0 || (l->etat != Etat::Refusee && l->etat != Etat::AVerifier))
            continue;
        const QByteArray copie =
            enMemoire(FichierEnregistrements(dossiers::resoudre(dossier, l->facturation), L).lire(l->numero));
        const auto c = copies.find(copie);
        if (c == copies.end() || c->isEmpty())
            continue;
        suivi.ajouter(enregistrementMarque({l->attestation, l->nce, aujourdhui, c->takeFirst()}));
        ++marquees;
    }
    return marquees;
}

}  // namespace suivi

namespace suivi {

void imprimer(Page& page, const QList<Ligne>& lignes, const QString& periode) {
    // Where each column starts (inches); the two amounts end where the next column starts.
    static const double X[] = {0.0, 0.8, 1.45, 1.9, 2.95, 4.15, 5.15, 5.95, 6.6, 7.55, 8.65, 9.25, 10.0};
    const auto rangee = [&](const QStringList& c) {
        for (int i = 0; i < 12; ++i) {
            if (i == 9 || i == 11) {
                page.ecrireJusqua(X[i + 1] - 0.1, c.value(i));
            } else {
                page.CurrentX = X[i];
                page.ecrire(page.couper(c.value(i), X[i + 1] - X[i] - 0.05).value(0));
            }
        }
        page.ecrireLigne();
    };
    const auto enTete = [&] {
        page.taille(12);
        page.gras(true);
        const QString titre = QStringLiteral("SUIVI DES FACTURES ENVOYÉES");
        page.CurrentX = page.CentrerTexte(titre);
        page.ecrireLigne(titre);
        page.taille(8);
        page.gras(false);
        page.CurrentX = page.CentrerTexte(periode);
        page.ecrireLigne(periode);
        page.ecrireLigne();
        page.gras(true);
        rangee({QStringLiteral("Facturation"), QStringLiteral("Attestation"), QStringLiteral("NCE"),
                QStringLiteral("Ass. maladie"), QStringLiteral("Nom"), QStringLiteral("Prénom"),
                QStringLiteral("Date du service"), QStringLiteral("Prof."), QStringLiteral("Actes"),
                QStringLiteral("Facturé"), QStringLiteral("État"), QStringLiteral("Payé")});
        page.gras(false);
        page.regle();
    };
    const auto place = [&](int lignesVoulues) {
        if (page.CurrentY + lignesVoulues * page.hauteurTexte() > page.hauteur() - 0.3) {
            page.nouvellePage();
            enTete();
        }
    };
    page.police(QStringLiteral("Arial"));
    enTete();
    for (const Ligne& l : lignes) {
        const bool suite = !l.code.isEmpty() || !l.message.isEmpty();
        place(suite ? 2 : 1);
        rangee(l.cellules());
        if (suite) {
            page.CurrentX = X[1];
            page.ecrireLigne((l.code.isEmpty() ? QString() : l.code + QStringLiteral("  ")) + l.message);
        }
    }
    page.regle();
    place(6);
    for (const QString& t : texteTotaux(totaliser(lignes)))
        page.ecrireLigne(t);
}

}  // namespace suivi
