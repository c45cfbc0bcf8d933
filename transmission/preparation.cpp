#include "transmission/preparation.h"

#include "config/facturatlex.h"
#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"
#include "platform/horloge.h"
#include "records/champs.h"
#include "records/encodage.h"
#include "records/facture.h"
#include "records/fichierenregistrements.h"
#include "records/fichierfactures.h"
#include "records/procedures.h"

#include <QDir>
#include <QLockFile>

namespace preparation {

namespace {

constexpr int DelaiVerrouMs = 2000;

const QString TitreErreur = QStringLiteral("Message d'erreur");
const QString Arret = QStringLiteral("\n\nLe logiciel doit s'arrêter suite à cette erreur.");

// One step with the handling by error number; false when the preparation stops.
bool etape(PortDialogue& d, const std::function<void()>& action) {
    for (;;) {
        try {
            action();
            return true;
        } catch (const ErreurFichier& e) {
            switch (e.numero()) {
            case erreurs::FichierIntrouvable:
                d.message(Icone::Critique, TitreErreur,
                          QStringLiteral("Erreur No. 53 Fichier non trouvé.\n\nVérifiez "
                                         "Inet2000.scr - !TLCM - !UNFI - !UNR - Logiciel Blast. - "
                                         "Facturat.lex") +
                              Arret);
                return false;
            case erreurs::PermissionRefusee:
            case erreurs::DisqueNonPret:
                if (d.question(Icone::Exclamation, QStringLiteral("Sauvegarde"),
                               e.numero() == erreurs::PermissionRefusee
                                   ? QStringLiteral("Fichier réseau présentement occupé...")
                                   : QStringLiteral("Disque non prêt..."),
                               Boutons::ReessayerAnnuler, 0) == Reponse::Reessayer)
                    continue;
                return false;
            default:
                d.message(Icone::Critique, TitreErreur,
                          QStringLiteral("Erreur No. %1").arg(e.numero()) + e.description() +
                              Arret);
                return false;
            }
        }
    }
}

// Load-time handling: a missing Sauvramq is created and the step retried; any other error
// is shown and the load goes on.
void etapeChargement(PortDialogue& d, const QString& programme,
                     const std::function<void()>& action) {
    bool dossierCree = false;
    for (;;) {
        try {
            action();
            return;
        } catch (const ErreurFichier& e) {
            if (e.numero() == erreurs::CheminIntrouvable && !dossierCree) {
                dossierCree = true;
                QDir().mkpath(fichierfactures::dossierSauvegarde(programme));
                continue;
            }
            d.message(Icone::Information, QStringLiteral("Erreur en lecture"),
                      QStringLiteral("Erreur de lecture de fichier.\nErreur numéro:%1\n%2")
                          .arg(e.numero())
                          .arg(e.description()));
            return;
        }
    }
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

namespace {
QByteArray lireFtmp(const QString& programme) {
    const QString chemin = fichierfactures::cheminFtmp(programme);
    FichierEnregistrements f(chemin, facture::Longueur);
    return f.nombre() == 0 ? QByteArray() : fichiers::lire(chemin);
}

bool aEnvoyer(const QByteArray& tout, qsizetype debut) {
    return tout.mid(debut, 2) == QByteArrayView("05");
}
}  // namespace

int nombreAEnvoyer(const QString& programme) {
    const QByteArray tout = lireFtmp(programme);
    int n = 0;
    for (qsizetype p = 0; p + facture::Longueur <= tout.size(); p += facture::Longueur)
        n += aEnvoyer(tout, p);
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
// Steps 3 to 10 under the hourglass.
Resultat preparerFichiers(const QString& programme, const Valeurs& v, PortDialogue& d,
                          const Suivi& suivi) {
    Sablier sablier(d);
    const QString cheminFtmp = fichierfactures::cheminFtmp(programme);
    const QString cheminR = cheminDans(programme, v.requete);
    const QString cheminD = cheminDans(programme, v.demandes);
    FichierEnregistrements ftmp(cheminFtmp, facture::Longueur);
    std::unique_ptr<QLockFile> verrou;
    Resultat r;
    r.dernierNumero = v.compteurFactures;

    // Ftmp.Fil is locked before any file is touched: a refusal here leaves everything as it was.
    if (!etape(d, [&] {
            verrou = ftmp.verrouiller(DelaiVerrouMs);
            fichiers::ecrireAtomique(cheminR, {});
            fichiers::ecrireAtomique(cheminD, {});
        }))
        return r;

    QByteArray enMemoire;
    if (!etape(d, [&] {
            enMemoire = lireFtmp(programme);
            const int total = static_cast<int>(enMemoire.size() / facture::Longueur);
            const QByteArray attestation = octets(v.attestation);
            QString numero = v.compteurFactures;
            QByteArray demandes;
            demandes.reserve(enMemoire.size() + 1);
            int nombre = 0, pourcent = -1;
            qint64 somme = 0;
            for (int i = 1; i <= total; ++i) {
                const qsizetype debut = static_cast<qsizetype>(i - 1) * facture::Longueur;
                if (aEnvoyer(enMemoire, debut)) {
                    Enregistrement e(enMemoire.mid(debut, facture::Longueur));
                    e.ecrireTexte(facture::Attestation.colonne, facture::Attestation.largeur,
                                  attestation);
                    numero = CompteurSuivant(numero, 4);
                    e.ecrireNombre(facture::NumeroFacture.colonne, facture::NumeroFacture.largeur,
                                   octets(numero));
                    somme += champs::valeur(e.lire(facture::Total.colonne, facture::Total.largeur));
                    ++nombre;
                    demandes += e.octets();
                }
                const int p = Pourcentage(total, i);
                if (p != pourcent && suivi.progression)
                    suivi.progression(pourcent = p);
            }
            demandes += FinDeFichier;
            fichiers::ecrireAtomique(cheminD, demandes);
            r.nombre = nombre;
            r.total = somme;
            r.dernierNumero = numero;
        }))
        return r;

    if (!facturatlex::existe(programme)) {
        d.message(Icone::Critique, QStringLiteral("Lecture de fichier"),
                  QStringLiteral("ATTENTION !!!\n\nProblème de lecture du fichier FACTURAT.LEX."));
        return r;
    }
    if (!etape(d, [&] { fichiers::ecrireAtomique(cheminR, fichierRequete(v, r.nombre, r.total)); }))
        return r;
    if (!etape(d, [&] { fichiers::copierAtomique(cheminR, cheminReqt(programme)); }))
        return r;
    if (suivi.imprimer && !etape(d, [&] { suivi.imprimer(cheminD); }))
        return r;
    if (!etape(d, [&] {
            const QString chemin = facturatlex::chemin(programme);
            const QByteArray lu = fichiers::lire(chemin);
            fichiers::ecrireAtomique(chemin, agenceApres(lu, v, r.dernierNumero) +
                                                 lu.mid(LongueurAgence));
        }))
        return r;
    // The backup is the bytes stamped above: Ftmp.Fil has been locked since they were read.
    if (!etape(d, [&] {
            fichiers::ecrireAtomique(cheminDans(programme, QStringLiteral("Ftmp.Bak")), enMemoire);
            ftmp.vider();
        }))
        return r;
    r.reussi = true;
    return r;
}
}  // namespace

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
