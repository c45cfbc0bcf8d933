#include "transmission/preparation.h"

#include "config/facturatlex.h"
#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"
#include "platform/horloge.h"
#include "platform/fichierbrut.h"
#include "platform/reprise.h"
#include "records/champs.h"
#include "records/encodage.h"
#include "records/facture.h"
#include "records/fichierenregistrements.h"
#include "records/fichierfactures.h"
#include "records/procedures.h"

#include <QDir>
#include <cstring>

namespace preparation {

namespace {

const QString TitreErreur = QStringLiteral("Message d'erreur");
const QString Arret = QStringLiteral("\n\nLe logiciel doit s'arrêter suite à cette erreur.");

// The preparation's handling by error number: 70 and 71 offer Retry/Cancel, Retry running the
// failing step again; anything else stops the preparation.
Reprise reprisePreparation() {
    Reprise r;
    r.titre = QStringLiteral("Sauvegarde");
    r.creerDossierManquant = false;
    r.texteReessai = [](const ErreurFichier& e) {
        return e.numero() == erreurs::PermissionRefusee
                   ? QStringLiteral("Fichier réseau présentement occupé...")
                   : QStringLiteral("Disque non prêt...");
    };
    r.arret = [](PortDialogue& d, const ErreurFichier& e) {
        if (e.numero() == erreurs::FichierIntrouvable)
            d.message(Icone::Critique, TitreErreur,
                      QStringLiteral("Erreur No. 53 Fichier non trouvé.\n\nVérifiez "
                                     "Inet2000.scr - !TLCM - !UNFI - !UNR - Logiciel Blast. - "
                                     "Facturat.lex") +
                          Arret);
        else
            d.message(Icone::Critique, TitreErreur,
                      QStringLiteral("Erreur No. %1").arg(e.numero()) + erreurs::texte(e) + Arret);
    };
    return r;
}

bool etape(PortDialogue& d, const std::function<void()>& action) {
    return executerAvecReprise(d, reprisePreparation(), action);
}

// Load-time handling: a missing Sauvramq is created and the step retried; any other error
// is shown and the load goes on.
void etapeChargement(PortDialogue& d, const QString& programme,
                     const std::function<void()>& action) {
    Reprise r;
    r.offrirReessai = false;
    r.creerDossier = [&](const ErreurFichier&) {
        QDir().mkpath(fichierfactures::dossierSauvegarde(programme));
    };
    r.arret = [](PortDialogue& d, const ErreurFichier& e) {
        d.message(Icone::Information, QStringLiteral("Erreur en lecture"),
                  QStringLiteral("Erreur de lecture de fichier.\nErreur numéro:%1\n%2")
                      .arg(e.numero())
                      .arg(erreurs::texte(e)));
    };
    executerAvecReprise(d, r, action);
}

QByteArray octets(const QString& texte) { return encodage::versOctets(texte); }

}  // namespace

QString cheminDans(const QString& programme, const QString& nom) {
    return dossiers::resoudre(fichierfactures::dossierSauvegarde(programme), nom);
}

QString cheminReqt(const QString& programme) {
    return dossiers::resoudre(programme, QStringLiteral("Reqt"));
}

Valeurs valeursDepuis(const QByteArray& agence, QDate aujourdhui) {
    const Enregistrement e(agence.leftJustified(LongueurAgence, ' '));
    const QString numero = e.lireTexte(2, 5);
    Valeurs v;
    v.sequence = e.lireTexte(7, 2);
    v.requete = QStringLiteral("R") + numero + v.sequence;
    v.demandes = QStringLiteral("D") + numero + v.sequence;
    v.compteurFactures = e.lireTexte(17, 4);
    v.attestation = QString::number(aujourdhui.year() % 10) +
                    QStringLiteral("%1").arg(aujourdhui.dayOfYear(), 3, 10, QLatin1Char('0')) +
                    CompteurSuivant(e.lireTexte(36, 3), 3);
    return v;
}

QByteArray lireAgence(const QString& programme) {
    return fichiers::lire(facturatlex::chemin(programme))
        .left(LongueurAgence)
        .leftJustified(LongueurAgence, ' ');
}

QByteArray agenceApres(const QByteArray& agence, const Valeurs& v, const QString& dernierNumero) {
    const Enregistrement lu(agence.leftJustified(LongueurAgence, ' ').left(LongueurAgence));
    const QByteArray suivante = octets(CompteurSuivant(v.sequence, 2));
    const QByteArray numero = octets(v.agence());
    Enregistrement e(LongueurAgence);
    e.ecrireTexte(1, 1, QByteArray("R"));
    e.ecrireTexte(2, 5, numero);
    e.ecrireNombre(7, 2, suivante);
    e.ecrireTexte(9, 1, QByteArray("D"));
    e.ecrireTexte(10, 5, numero);
    e.ecrireNombre(15, 2, suivante);
    e.ecrireNombre(17, 4, octets(dernierNumero));
    e.ecrireOctets(21, lu.lire(21, 15));
    e.ecrireNombre(36, 3, octets(v.attestation.right(3)));
    return e.octets();
}

QByteArray fichierRequete(const Valeurs& v, int nombre, qint64 totalCents) {
    Enregistrement e(LongueurRequete);
    e.ecrireTexte(1, 15, QByteArray("KESTR900"));
    e.ecrireTexte(16, 5, octets(v.agence()));
    e.ecrireTexte(21, 1, QByteArray("T"));
    e.ecrireTexte(22, 7, octets(v.attestation));
    e.ecrireTexte(81, 7, octets(v.attestation));
    e.ecrireOctets(88, champs::nombre(nombre, 6));
    e.ecrireOctets(94, champs::nombre(totalCents, 9));
    e.ecrireTexte(103, 8, octets(v.demandes));
    e.ecrireTexte(118, 5, QByteArray("17006"));
    e.ecrireTexte(123, 15, QByteArray("KESTROVA"));
    e.ecrireTexte(138, 5, QByteArray("5 525"));
    e.ecrireOctets(161, QByteArray("\r\n") + FinDeFichier);
    return e.octets();
}

int nombreAEnvoyer(const QString& programme) {
    const QString chemin = fichierfactures::cheminFtmp(programme);
    if (fichierfactures::nombre(programme) == 0)
        return 0;
    int n = 0;
    fichierfactures::fichier(programme).parcourir(
        FichierBrut(chemin, FichierBrut::Mode::Lecture), [&](QByteArrayView bloc) {
            for (qsizetype p = 0; p + facture::Longueur <= bloc.size(); p += facture::Longueur)
                n += bloc.sliced(p, 2) == QByteArrayView("05");
        });
    return n;
}

QString resume(const Valeurs& v, int nombre) {
    return QStringLiteral("Fichier requête: ") + v.requete + QStringLiteral("\n\n") +
           QStringLiteral("Numéro d'attestation: ") + v.attestation + QStringLiteral("\n\n") +
           QStringLiteral("Nombre de demandes de paiement: ") +
           QStringLiteral("%1").arg(nombre, 6, 10, QLatin1Char('0')) + QStringLiteral("\n\n") +
           QStringLiteral("Nom du fichier de demandes de paiement: ") + v.demandes +
           QStringLiteral("\n\n") +
           QStringLiteral("NOTE: Ces renseignements seront tous sur votre rapport officiel.");
}

Chargement charger(const QString& programme, PortDialogue& d) {
    Chargement c;
    if (!facturatlex::existe(programme)) {
        d.message(Icone::Critique, QStringLiteral("Message"),
                  QStringLiteral("Le fichier Facturat.lex n'existe pas, veuillez le créer.  "
                                 "Ouvrir fichier puis initialisation."));
        c.agenceManquante = true;
        return c;
    }
    etapeChargement(d, programme,
                    [&] { c.valeurs = valeursDepuis(lireAgence(programme), Horloge::aujourdhui()); });
    etapeChargement(d, programme, [&] { c.nombre = nombreAEnvoyer(programme); });
    c.resume = resume(c.valeurs, c.nombre);
    return c;
}

namespace {

// The record of a preparation under way, Sauvramq/Prepa.Enc: written before the first file of
// the preparation and removed after the last, it holds what is needed to undo or to finish a
// preparation stopped at any moment (a crash, a kill, a full disk), so that every invoice is
// either still in Ftmp.Fil or in exactly one prepared billing, and the counters agree.
// The preparation commits when Ftmp.Fil is renamed Ftmp.Bak: whether that happened is told by
// which of the two holds what was taken (its length, its first and last records), and by the
// identity of the file at Ftmp.Fil when that does not decide.
struct Intention {
    QString requete, demandes;
    QByteArray agenceAvant, agenceApres;  // the whole of Facturat.Lex before and after
    bool reqtExistait = false;
    QByteArray reqtAvant;
    qint64 longueur = 0;  // bytes of Ftmp.Fil taken
    QByteArray identite, premier, dernier;

    QByteArray octets() const {
        return QByteArrayList{"KESTROVA PREPARATION 2", requete.toLatin1(), demandes.toLatin1(),
                              agenceAvant.toBase64(), agenceApres.toBase64(),
                              reqtExistait ? reqtAvant.toBase64() : QByteArray("-"),
                              QByteArray::number(longueur), identite.toBase64(),
                              premier.toBase64(), dernier.toBase64()}
                   .join('\n') +
               '\n';
    }
    static std::optional<Intention> depuis(const QByteArray& octets) {
        const QByteArrayList l = octets.split('\n');
        if (l.size() < 10 || l[0] != "KESTROVA PREPARATION 2")
            return std::nullopt;
        Intention i;
        i.requete = QString::fromLatin1(l[1]);
        i.demandes = QString::fromLatin1(l[2]);
        i.agenceAvant = QByteArray::fromBase64(l[3]);
        i.agenceApres = QByteArray::fromBase64(l[4]);
        i.reqtExistait = l[5] != "-";
        i.reqtAvant = i.reqtExistait ? QByteArray::fromBase64(l[5]) : QByteArray();
        i.longueur = l[6].toLongLong();
        i.identite = QByteArray::fromBase64(l[7]);
        i.premier = QByteArray::fromBase64(l[8]);
        i.dernier = QByteArray::fromBase64(l[9]);
        return i;
    }
};

QString cheminIntention(const QString& programme) {
    return cheminDans(programme, QStringLiteral("Prepa.Enc"));
}

// True when the file at `chemin` holds what the preparation took (at least its length, the
// same first and last records); `exacte`: that length exactly.
bool contientCeQuiAEtePris(const Intention& i, const QString& chemin, bool exacte) {
    if (!dossiers::FichierExiste(chemin))
        return false;
    const FichierBrut f(chemin, FichierBrut::Mode::Lecture);
    const qint64 taille = f.taille(), n = i.dernier.size();
    return (exacte ? taille == i.longueur : taille >= i.longueur) &&
           f.lire(0, i.premier.size()) == i.premier && f.lire(i.longueur - n, n) == i.dernier;
}

// True when the preparation did not commit: Ftmp.Fil still holds what it took and Ftmp.Bak
// does not; when both or neither do, Ftmp.Fil is still the very file taken (same identity).
bool nonValidee(const Intention& i, const QString& programme) {
    const QString ftmp = fichierfactures::cheminFtmp(programme);
    const bool fil = contientCeQuiAEtePris(i, ftmp, false);
    const bool bak = contientCeQuiAEtePris(
        i, dossiers::resoudre(fichierfactures::dossierSauvegarde(programme), QStringLiteral("Ftmp.Bak")),
        true);
    if (fil != bak)
        return fil;
    return dossiers::FichierExiste(ftmp) &&
           FichierBrut(ftmp, FichierBrut::Mode::Lecture).identite() == i.identite;
}

// Makes `chemin` hold `octets`, writing only when it does not already (a full disk may have
// stopped the preparation: what needs no write cannot fail).
void retablir(const QString& chemin, const QByteArray& octets) {
    if (!dossiers::FichierExiste(chemin) || fichiers::lire(chemin) != octets)
        fichiers::ecrireAtomique(chemin, octets);
}

// What rewrites stopped by a crash left beside the files of a preparation.
void nettoyer(const Intention& i, const QString& programme) {
    for (const QString& c : {cheminDans(programme, i.demandes), cheminDans(programme, i.requete),
                             cheminReqt(programme), facturatlex::chemin(programme),
                             cheminIntention(programme)})
        fichiers::supprimerTemporaires(c);
}

// Puts back the files as they stood before the preparation: its two files removed first (room
// on a full disk), Reqt and Facturat.Lex as they were. Ftmp.Fil was never touched.
void defaire(const Intention& i, const QString& programme) {
    fichiers::supprimer(cheminDans(programme, i.demandes));
    fichiers::supprimer(cheminDans(programme, i.requete));
    nettoyer(i, programme);
    if (i.reqtExistait)
        retablir(cheminReqt(programme), i.reqtAvant);
    else
        fichiers::supprimer(cheminReqt(programme));
    retablir(facturatlex::chemin(programme), i.agenceAvant);
    fichiers::supprimer(cheminIntention(programme));
}

// Finishes a preparation that committed: the counters advanced, Ftmp.Fil present.
void achever(const Intention& i, const QString& programme) {
    nettoyer(i, programme);
    retablir(facturatlex::chemin(programme), i.agenceApres);
    FichierBrut(fichierfactures::cheminFtmp(programme), FichierBrut::Mode::Creation);
    fichiers::supprimer(cheminIntention(programme));
}

// Undoes or finishes the preparation that `i` records, and tells the user which.
void reprendre(const Intention& i, const QString& programme, PortDialogue& d) {
    const QString titre = QStringLiteral("Préparation interrompue");
    if (nonValidee(i, programme)) {
        defaire(i, programme);
        d.message(Icone::Exclamation, titre,
                  QStringLiteral("La préparation de %1 a été interrompue avant la fin.\n\n"
                                 "Elle a été annulée : les factures sont toujours en mémoire et "
                                 "les compteurs de FACTURAT.LEX n'ont pas changé. Vous pouvez "
                                 "refaire la préparation.")
                      .arg(i.demandes));
    } else {
        achever(i, programme);
        d.message(Icone::Information, titre,
                  QStringLiteral("La préparation de %1 a été interrompue après l'enregistrement "
                                 "de ses fichiers.\n\nElle a été complétée : la facturation est "
                                 "prête pour la transmission.")
                      .arg(i.demandes));
    }
}

// With Ftmp.Fil locked: what a crash left of a preparation, undone or finished. No other
// preparation can be under way, so the temporaries of its files are removed too.
void reprendreSousVerrou(const QString& programme, PortDialogue& d) {
    const QString chemin = cheminIntention(programme);
    fichiers::supprimerTemporairesSelon(fichierfactures::dossierSauvegarde(programme),
                                        {QStringLiteral(".~D*"), QStringLiteral(".~R*"),
                                         QStringLiteral(".~Prepa.Enc.*")});
    // Reqt and Facturat.Lex are written beside their names before the record is named.
    fichiers::supprimerTemporaires(cheminReqt(programme));
    fichiers::supprimerTemporaires(facturatlex::chemin(programme));
    if (!dossiers::FichierExiste(chemin))
        return;
    executerAvecReprise(d, reprisePreparation(), [&] {
        const std::optional<Intention> i = Intention::depuis(fichiers::lire(chemin));
        if (!i) {
            fichiers::supprimer(chemin);  // written atomically: only a foreign file gets here
            return;
        }
        reprendre(*i, programme, d);
    });
}

// Stamps the invoices to send, one after the other: the attestation number and the next
// invoice number (CompteurSuivant with width 4: 9999 is followed by 0001), and sums them up.
class Estampilleur {
public:
    explicit Estampilleur(const Valeurs& v)
        : attestation_(octets(v.attestation).leftJustified(facture::Attestation.largeur, ' ', true)),
          compteur_(v.compteurFactures), numero_(CompteurSuivant(v.compteurFactures, 4).toInt() - 1) {}

    // Adds the stamped records of `bloc` in state "05" to `sortie` (when given); `apres` is
    // called after each record, sent or not.
    void estampiller(QByteArrayView bloc, QByteArray* sortie, const std::function<void()>& apres = {}) {
        for (qsizetype p = 0; p + facture::Longueur <= bloc.size(); p += facture::Longueur) {
            if (apres && p > 0)
                apres();
            const QByteArrayView e = bloc.sliced(p, facture::Longueur);
            if (e.first(2) != QByteArrayView("05"))
                continue;
            numero_ = numero_ % 9999 + 1;
            ++nombre_;
            somme_ += champs::valeur(
                e.sliced(facture::Total.colonne - 1, facture::Total.largeur).toByteArray());
            if (!sortie)
                continue;
            const qsizetype ici = sortie->size();
            sortie->append(e);
            char* r = sortie->data() + ici;
            std::memcpy(r + facture::Attestation.colonne - 1, attestation_.constData(),
                        facture::Attestation.largeur);
            char* n = r + facture::NumeroFacture.colonne - 1;
            for (int k = facture::NumeroFacture.largeur - 1, reste = numero_; k >= 0; --k, reste /= 10)
                n[k] = static_cast<char>('0' + reste % 10);
        }
        if (apres && !bloc.isEmpty())
            apres();
    }
    void resultat(Resultat& r) const {
        r.nombre = nombre_;
        r.total = somme_;
        r.dernierNumero =
            nombre_ > 0 ? QStringLiteral("%1").arg(numero_, 4, 10, QLatin1Char('0')) : compteur_;
    }

private:
    QByteArray attestation_;
    QString compteur_;
    int numero_;
    int nombre_ = 0;
    qint64 somme_ = 0;
};

// Stamps the invoices of the opened Ftmp.Fil into the payment-request file being written, block
// by block, every record checked on the way; the file takes its name later, at `valider()`.
void ecrireDemandes(fichiers::EcritureAtomique& demandes, Estampilleur& estampilleur,
                    const FichierEnregistrements& ftmp, const FichierBrut& ouvert,
                    const Suivi& suivi) {
    const qint64 total = ouvert.taille() / facture::Longueur;
    qint64 lus = 0;
    int pourcent = -1;
    QByteArray sortie;  // one block's stamped records, its memory kept from block to block
    const auto avancer = [&] {
        if (const int p = Pourcentage(total, ++lus); p != pourcent && suivi.progression)
            suivi.progression(pourcent = p);
    };
    ftmp.parcourir(ouvert, [&](QByteArrayView bloc) {
        sortie.reserve(bloc.size());
        sortie.resize(0);
        estampilleur.estampiller(bloc, &sortie, avancer);
        demandes.ajouter(sortie);
    });
    demandes.ajouter(QByteArrayView(&FinDeFichier, 1));
}

// The writes of a preparation, each run once, from the intention record to the commit. False
// when one stopped; the caller then undoes what was written.
//
// The flushes are grouped: every file is written whole beside its name and all are flushed
// together, each once; then the record of the preparation takes its name and its folder is
// flushed, so that it is on the disk before any other file takes its name. The others take
// theirs without a flush of their folder: the program folder (Reqt, Facturat.Lex) is flushed
// once before the commit, Sauvramq (the two prepared files, Ftmp.Bak) once after it. Until the
// commit is on the disk, a crash is undone from the record whatever names had reached it.
bool ecrireFichiers(const QString& programme, const Valeurs& v, const Intention& i,
                    fichiers::EcritureAtomique& demandes, const Resultat& r, PortDialogue& d,
                    const Suivi& suivi) {
    using fichiers::EcritureAtomique;
    const QString cheminR = cheminDans(programme, v.requete);
    const QByteArray requete = fichierRequete(v, r.nombre, r.total);
    std::unique_ptr<EcritureAtomique> intention, fichierR, reqt, agence;
    if (!etape(d, [&] {
            // A retry starts the files again.
            intention.reset(), fichierR.reset(), reqt.reset(), agence.reset();
            intention = std::make_unique<EcritureAtomique>(cheminIntention(programme));
            intention->ajouter(i.octets());
            fichierR = std::make_unique<EcritureAtomique>(cheminR);
            fichierR->ajouter(requete);
            reqt = std::make_unique<EcritureAtomique>(cheminReqt(programme));
            reqt->ajouter(requete);
            agence = std::make_unique<EcritureAtomique>(facturatlex::chemin(programme));
            agence->ajouter(i.agenceApres);
            fichiers::synchroniserEnsemble({intention.get(), &demandes, fichierR.get(), reqt.get(), agence.get()});
        }))
        return false;
    if (!etape(d, [&] { intention->valider(); }))
        return false;
    if (!etape(d, [&] { demandes.valider(EcritureAtomique::Dossier::PlusTard); }))
        return false;
    if (!facturatlex::existe(programme)) {
        d.message(Icone::Critique, QStringLiteral("Lecture de fichier"),
                  QStringLiteral("ATTENTION !!!\n\nProblème de lecture du fichier FACTURAT.LEX."));
        return false;
    }
    if (!etape(d, [&] { fichierR->valider(EcritureAtomique::Dossier::PlusTard); }))
        return false;
    if (!etape(d, [&] { reqt->valider(EcritureAtomique::Dossier::PlusTard); }))
        return false;
    if (suivi.imprimer && !etape(d, [&] { suivi.imprimer(cheminDans(programme, v.demandes)); }))
        return false;
    if (!etape(d, [&] {
            agence->valider(EcritureAtomique::Dossier::PlusTard);
            fichiers::synchroniserDossier(programme);
        }))
        return false;
    // The commit: the invoices in memory leave Ftmp.Fil in one rename, which keeps them as
    // Ftmp.Bak byte for byte; Sauvramq is flushed after it.
    return etape(d, [&] {
        fichiers::renommer(fichierfactures::cheminFtmp(programme),
                           dossiers::resoudre(fichierfactures::dossierSauvegarde(programme),
                                              QStringLiteral("Ftmp.Bak")));
    });
}

// Steps 3 to 10 under the hourglass, with Ftmp.Fil locked throughout so that no invoice is
// added in the middle; a refusal at the lock changes no file.
Resultat preparerFichiers(const QString& programme, const Valeurs& v, PortDialogue& d,
                          const Suivi& suivi) {
    Sablier sablier(d);
    Resultat r;
    r.dernierNumero = v.compteurFactures;
    const FichierEnregistrements ftmp = fichierfactures::fichier(programme);
    std::unique_ptr<FichierBrut> verrou;
    if (!etape(d, [&] { verrou = ftmp.verrouiller(FichierEnregistrements::delaiVerrouMs); }))
        return r;
    reprendreSousVerrou(programme, d);

    // One reading checks every record and stamps the invoices to send into the payment-request
    // file, which takes its name only after the record of the preparation is written.
    Intention i;
    Estampilleur estampilleur(v);
    std::unique_ptr<fichiers::EcritureAtomique> demandes;
    if (!etape(d, [&] {
            i.agenceAvant = fichiers::lire(facturatlex::chemin(programme));
            if (dossiers::FichierExiste(cheminReqt(programme))) {
                i.reqtExistait = true;
                i.reqtAvant = fichiers::lire(cheminReqt(programme));
            }
            i.longueur = verrou->taille();
            i.identite = verrou->identite();
            i.premier = verrou->lire(0, std::min<qint64>(facture::Longueur, i.longueur));
            i.dernier = verrou->lire(std::max<qint64>(0, i.longueur - facture::Longueur),
                                     std::min<qint64>(facture::Longueur, i.longueur));
            estampilleur = Estampilleur(v);
            demandes.reset();  // a retry starts the file again
            demandes = std::make_unique<fichiers::EcritureAtomique>(cheminDans(programme, v.demandes));
            ecrireDemandes(*demandes, estampilleur, ftmp, *verrou, suivi);
        }))
        return r;
    const Valeurs actuelles = valeursDepuis(i.agenceAvant.left(LongueurAgence), Horloge::aujourdhui());
    if (actuelles.requete != v.requete || actuelles.compteurFactures != v.compteurFactures) {
        d.message(Icone::Critique, TitreErreur,
                  QStringLiteral("Une autre préparation a été faite depuis l'ouverture de cette "
                                 "fenêtre (FACTURAT.LEX a changé).\n\nFermez la fenêtre et "
                                 "ouvrez-la de nouveau."));
        return r;
    }
    estampilleur.resultat(r);
    i.requete = v.requete;
    i.demandes = v.demandes;
    i.agenceApres = agenceApres(i.agenceAvant, v, r.dernierNumero) + i.agenceAvant.mid(LongueurAgence);

    if (!ecrireFichiers(programme, v, i, *demandes, r, d, suivi)) {
        try {
            if (dossiers::FichierExiste(cheminIntention(programme)))
                defaire(i, programme);
        } catch (const ErreurFichier& e) {
            d.message(Icone::Critique, TitreErreur,
                      QStringLiteral("La préparation n'a pas pu être annulée entièrement (%1).\n\n"
                                     "Elle le sera au prochain démarrage du logiciel.")
                          .arg(erreurs::texte(e)));
        }
        return r;
    }
    try {
        FichierBrut(fichierfactures::cheminFtmp(programme), FichierBrut::Mode::Creation);
        fichiers::supprimer(cheminIntention(programme));
    } catch (const ErreurFichier&) {
        // Committed all the same: a missing Ftmp.Fil is an empty one, and the record left
        // behind is finished at the next start.
    }
    r.reussi = true;
    return r;
}
}  // namespace

void reprendreInterrompue(const QString& programme, PortDialogue& d) {
    std::unique_ptr<FichierBrut> verrou;
    try {
        verrou = fichierfactures::fichier(programme).verrouiller(0);
    } catch (const ErreurFichier&) {
        return;  // another workstation is preparing: its record is its own
    }
    reprendreSousVerrou(programme, d);
}

Resultat Preparer(const QString& programme, const Valeurs& v, PortDialogue& d, const Suivi& suivi) {
    const Resultat r = preparerFichiers(programme, v, d, suivi);
    if (r.reussi)
        d.message(Icone::Information, QStringLiteral("Préparation des fichiers"),
              QStringLiteral("Préparation des %1 fiches,\n\neffectuée correctement...\n\n"
                             "C'est maintenant prêt\npour la transmission à la Régie.")
                  .arg(r.nombre, 6, 10, QLatin1Char('0')));
    return r;
}

}  // namespace preparation
