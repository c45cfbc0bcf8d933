#include "app/commandes.h"

#include "backup/sauvegarde.h"
#include "config/fichierconfiguration.h"
#include "config/parametres.h"
#include "entry/filepatients.h"
#include "platform/dialoguesconsole.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichierbrut.h"
#include "platform/fichiers.h"
#include "platform/fluxsortie.h"
#include "platform/horloge.h"
#include "platform/imprimantes.h"
#include "platform/reglages.h"
#include "platform/sessioncurl.h"
#include "platform/tableur.h"
#include "records/facture.h"
#include "records/fichierenregistrements.h"
#include "records/fichierfactures.h"
#include "records/statistique.h"
#include "returns/archives.h"
#include "returns/precedentes.h"
#include "returns/recuperation.h"
#include "returns/suivi.h"
#include "statistics/journalenvois.h"
#include "statistics/statmensuelle.h"
#include "statistics/tendances.h"
#include "transmission/envoi.h"
#include "transmission/preparation.h"
#include "transmission/rapports.h"
#include "transmission/verificationretours.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>

namespace commandes {

namespace {

constexpr int Reussi = 0, Echec = 1, Usage = 2, RienAFaire = 3, DejaEnvoyee = 4, Occupe = 5;

const QStringList Commandes = {QStringLiteral("preparer"), QStringLiteral("transmettre"), QStringLiteral("recuperer"),
                               QStringLiteral("verifier"), QStringLiteral("exporter"), QStringLiteral("suivi"),
                               QStringLiteral("sauvegarder"), QStringLiteral("restaurer")};
// Options taking a value; --dossier is the program folder's.
const QStringList AvecValeur = {QStringLiteral("--dossier"), QStringLiteral("--imprimante"), QStringLiteral("--doublon"),
                                QStringLiteral("--format"),  QStringLiteral("--annee"),      QStringLiteral("--mois"),
                                QStringLiteral("--optometriste"), QStringLiteral("--sortie"), QStringLiteral("--du"),
                                QStringLiteral("--au"), QStringLiteral("--vers"), QStringLiteral("--garder")};

const char* const Aide =
    "Kestrova : facturation à la RAMQ pour les cliniques d'optométrie.\n"
    "\n"
    "Sans commande, le programme ouvre la fenêtre de saisie des factures.\n"
    "\n"
    "Utilisation : kestrova [--dossier DOSSIER] COMMANDE [OPTIONS]\n"
    "\n"
    "Commandes :\n"
    "  preparer [--imprimante NOM]   prépare la facturation des factures en mémoire ; les rapports\n"
    "                                vont à l'imprimante nommée (« PDF » par défaut)\n"
    "  transmettre [--doublon oui|non]\n"
    "                                envoie la facturation préparée ; une facturation déjà envoyée\n"
    "                                ne l'est de nouveau qu'avec --doublon oui\n"
    "  recuperer                     récupère les retours de la RAMQ dans Sauvramq\n"
    "  verifier                      vérifie les fichiers du dossier, sans rien changer\n"
    "  exporter LISTE --format csv|xlsx [--sortie FICHIER [--remplacer]]\n"
    "                                écrit une liste pour un tableur, en CSV ou en classeur Excel\n"
    "                                (xlsx, qui garde les codes en texte, les montants en nombres et\n"
    "                                les dates en dates ; il demande --sortie) ; LISTE est l'une de :\n"
    "                                statistiques-mensuelles (--annee A --mois M --optometriste NO),\n"
    "                                facturations-envoyees, facturations-precedentes,\n"
    "                                facturations-conservees, file-d-attente,\n"
    "                                tendances --annee A (les douze mois d'une année),\n"
    "                                suivi [--du AAAA-MM-JJ] [--au AAAA-MM-JJ] (les factures envoyées\n"
    "                                et ce que la RAMQ en a dit, par date du service) ; un fichier qui\n"
    "                                existe n'est remplacé qu'avec --remplacer, un fichier de la\n"
    "                                clinique jamais\n"
    "  suivi [--du AAAA-MM-JJ] [--au AAAA-MM-JJ]\n"
    "                                les totaux des factures envoyées et une ligne par facture refusée,\n"
    "                                sans réponse ou à vérifier (par défaut les 120 derniers jours) ;\n"
    "                                état 3 quand il n'y en a aucune\n"
    "  sauvegarder [--vers DOSSIER] [--garder N]\n"
    "                                écrit une archive vérifiée de tous les fichiers de la clinique\n"
    "                                (Kestrova-AGENCE-AAAAMMJJ-HHMMSS.zip) dans DOSSIER, sinon dans le\n"
    "                                dernier dossier utilisé, sinon dans Sauvegardes ; garde les N\n"
    "                                plus récentes de la clinique (10 par défaut)\n"
    "  restaurer ARCHIVE --dossier DOSSIER [--remplacer]\n"
    "                                remet les fichiers d'une archive dans DOSSIER, qui doit être vide\n"
    "                                sauf avec --remplacer (le dossier est alors sauvegardé d'abord)\n"
    "\n"
    "Options :\n"
    "  --dossier DOSSIER   le dossier du programme (sinon KESTROVA_DOSSIER)\n"
    "  --help              cette aide\n"
    "  --version           la version du programme\n"
    "\n"
    "État de sortie : 0 réussi, 1 échec, 2 mauvaise utilisation, 3 rien à faire,\n"
    "4 facturation déjà envoyée, 5 une autre opération est en cours.\n";

struct Ligne {
    QString commande;
    QStringList positionnels;
    QMap<QString, QString> options;
    QString erreur;
};

Ligne analyser(const QStringList& arguments) {
    Ligne l;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString a = arguments[i];
        if (a.startsWith(QLatin1String("--"))) {
            const qsizetype egal = a.indexOf(QLatin1Char('='));
            const QString nom = egal > 0 ? a.left(egal) : a;
            if (AvecValeur.contains(nom)) {
                if (egal > 0)
                    l.options[nom] = a.mid(egal + 1);
                else if (i + 1 < arguments.size())
                    l.options[nom] = arguments[++i];
                else
                    l.erreur = QStringLiteral("L'option %1 demande une valeur.").arg(nom);
            } else if (nom == QLatin1String("--help") || nom == QLatin1String("--version") ||
                       nom == QLatin1String("--remplacer")) {
                l.options[nom] = QStringLiteral("oui");
            } else {
                l.erreur = QStringLiteral("Option inconnue : %1").arg(a);
            }
        } else if (l.commande.isEmpty()) {
            l.commande = a;
        } else {
            l.positionnels << a;
        }
    }
    if (l.erreur.isEmpty() && !l.commande.isEmpty() && !Commandes.contains(l.commande))
        l.erreur = QStringLiteral("Commande inconnue : %1").arg(l.commande);
    return l;
}

int preparer(const QString& programme, const Ligne& l, QTextStream& sortie, QTextStream& erreurs) {
    DialoguesConsole d(sortie);
    const QString imprimante = l.options.value(QStringLiteral("--imprimante"), imprimantes::Pdf);
    if (!imprimantes::noms().contains(imprimante)) {
        erreurs << "Imprimante inconnue : " << imprimante << " (imprimantes : " << imprimantes::noms().join(", ") << ")"
                << Qt::endl;
        return Usage;
    }
    preparation::reprendreInterrompue(programme, d);
    const preparation::Chargement c = preparation::charger(programme, d);
    if (c.agenceManquante)
        return Echec;
    if (c.nombre == 0) {
        sortie << "Aucune facture à préparer." << Qt::endl;
        return RienAFaire;
    }
    const Configuration configuration = ChargerConfiguration(programme);
    imprimantes::choisir(imprimante);
    ImprimanteQt impression(programme);
    preparation::Suivi suivi;
    suivi.imprimer = [&](const QString& cheminDemandes) {
        rapports::imprimerRapportsPreparation(impression, cheminDemandes, c.valeurs.requete, c.valeurs.attestation,
                                              configuration);
    };
    const preparation::Resultat r = preparation::Preparer(programme, c.valeurs, d, suivi);
    if (!r.reussi)
        return Echec;
    sortie << "Préparation terminée : " << r.nombre << " factures, " << envoi::montantDollars(r.total)
           << ", fichiers " << c.valeurs.requete << " et " << c.valeurs.demandes << "." << Qt::endl;
    for (const QString& f : impression.fichiers())
        sortie << "Rapport imprimé : " << QDir::toNativeSeparators(f) << Qt::endl;
    return Reussi;
}

void ecrireErreur(QTextStream& erreurs, const ErreurFichier& e) {
    erreurs << "Erreur " << e.numero() << " : " << erreurs::texte(e) << Qt::endl;
}

// The kind of connection an operation begun at `avant` used, when a server answered it.
void ecrireConnexion(QTextStream& sortie, quint64 avant) {
    if (const QString etat = etatConnexion(avant); !etat.isEmpty())
        sortie << etat << Qt::endl;
}

int transmettre(const QString& programme, const Ligne& l, QTextStream& sortie, QTextStream& erreurs) {
    DialoguesConsole d(sortie);
    const QString doublon = l.options.value(QStringLiteral("--doublon"));
    if (!doublon.isEmpty() && doublon != QLatin1String("oui") && doublon != QLatin1String("non")) {
        erreurs << "--doublon vaut oui ou non." << Qt::endl;
        return Usage;
    }
    if (!doublon.isEmpty())
        d.reponses[QStringLiteral("Facturation en double")] = doublon == QLatin1String("oui") ? Reponse::Oui : Reponse::Non;
    const envoi::Ouverture o = envoi::ouvrir(programme, d);
    if (!o.envoiPossible)
        return Echec;
    ReglagesUtilisateur utilisateur;
    envoi::Envoi e;
    e.programme = programme;
    e.dossierTravail = dossiers::dossierTravail(programme);
    e.cheminRequete = o.cheminRequete;
    e.cheminDemandes = o.cheminDemandes;
    e.ftp = parametres::lireParametresFtp(utilisateur);
    e.clinique = {parametres::lire(utilisateur, parametres::NomDeLaClinique),
                  parametres::lire(utilisateur, parametres::NoDeTelephone),
                  parametres::lire(utilisateur, parametres::AdresseDeCourriel)};
    e.paComp = envoi::cheminPaComp(programme);
    const quint64 avant = derniereConnexion().numero;
    const envoi::Issue issue = envoi::Envoyer(e, d);
    ecrireConnexion(sortie, avant);
    if (issue)
        return Reussi;
    // The sending says only that the file did not go; a server that never answered is named.
    if (const Connexion c = derniereConnexion(); c.numero != avant && !c.etablie)
        erreurs << raisonEchec(c) << Qt::endl;
    if (issue.enCours)
        return Occupe;
    if (d.questionsRefusees.contains(QStringLiteral("Facturation en double"))) {
        erreurs << "Cette facturation a déjà été envoyée ; --doublon oui l'enverrait une deuxième fois." << Qt::endl;
        return DejaEnvoyee;
    }
    return Echec;
}

int recuperer(const QString& programme, QTextStream& sortie, QTextStream& erreurs) {
    DialoguesConsole d(sortie);
    ReglagesUtilisateur utilisateur;
    const QString agence = QString::fromLatin1(preparation::lireAgence(programme).mid(1, 5));
    const quint64 avant = derniereConnexion().numero;
    const recuperation::Resultat r =
        recuperation::Recuperer(programme, parametres::lireParametresFtp(utilisateur), agence, d);
    // Nothing is printed here: what was unpacked to be printed does not stay in the work folder.
    for (const QString& f : r.fichiersDeTravail)
        QFile::remove(f);
    ecrireConnexion(sortie, avant);
    for (const retours::Resume& ligne : r.lignes)
        sortie << ligne.colonnes().join(QStringLiteral("  ")) << Qt::endl;
    if (r.rienSurLeServeur)
        return RienAFaire;
    if (d.critiques == 0 && !r.archiveSupprimee)
        erreurs << "L'archive " << verificationretours::nomArchive(agence.trimmed())
                << " est restée sur le serveur : elle sera récupérée de nouveau." << Qt::endl;
    return d.critiques == 0 && r.archiveSupprimee ? Reussi : Echec;
}

// Whole records of `longueur` bytes, each checked by `verification` when given; the problem found.
QString verifierFichier(const QString& chemin, int longueur, FichierEnregistrements::Verification verification,
                        bool finDeFichier) {
    QByteArray tout = fichiers::lire(chemin);
    if (finDeFichier && tout.endsWith(char(26)) && tout.size() % longueur == 1)
        tout.chop(1);
    if (tout.size() % longueur != 0)
        return QStringLiteral("sa longueur (%1 octets) n'est pas un nombre entier d'enregistrements de %2 octets")
            .arg(tout.size())
            .arg(longueur);
    if (verification)
        for (qsizetype p = 0; p < tout.size(); p += longueur)
            if (!verification(QByteArrayView(tout).sliced(p, longueur)))
                return QStringLiteral("l'enregistrement numéro %1 n'a pas ses marques fixes").arg(p / longueur + 1);
    return {};
}

int verifier(const QString& programme, QTextStream& sortie) {
    const QString sauvegarde = fichierfactures::dossierSauvegarde(programme);
    // Each file checked, with what is wrong with it (blank when nothing is) or an exception.
    struct Cible {
        QString chemin;
        std::function<QString()> probleme;
    };
    QList<Cible> cibles;
    const auto enregistrements = [&](const QString& chemin, int longueur,
                                      FichierEnregistrements::Verification verification, bool finDeFichier) {
        cibles.append({chemin, [=] { return verifierFichier(chemin, longueur, verification, finDeFichier); }});
    };
    enregistrements(fichierfactures::cheminFtmp(programme), facture::Longueur, facture::marquesValides, false);
    enregistrements(filepatients::fichier(programme).chemin(), 188, nullptr, false);
    enregistrements(dossiers::resoudre(sauvegarde, QStringLiteral("LstEnvoie.Dat")), envoi::LongueurJournal, nullptr,
                    false);
    for (const QString& nom : archives::fichiersConserves(programme))
        enregistrements(dossiers::resoudre(sauvegarde, nom), facture::Longueur, facture::marquesValides, true);
    for (const QString& nom : dossiers::chercher(sauvegarde, QStringLiteral("STA*.Dat")))
        enregistrements(dossiers::resoudre(sauvegarde, nom), statistique::Longueur, nullptr, false);
    const QString configuration = fichierconfiguration::chemin(programme);
    cibles.append({configuration, [=] {
                       (void)fichierconfiguration::lire(configuration);
                       return QString();
                   }});
    const QString agence = dossiers::resoudre(programme, QStringLiteral("Facturat.Lex"));
    cibles.append({agence, [=] {
                       (void)fichiers::lire(agence);
                       return QString();
                   }});

    int endommages = 0;
    for (const Cible& c : cibles) {
        QString probleme;
        if (!dossiers::FichierExiste(c.chemin)) {
            // Not there yet (a new folder, no queue): nothing in it can be damaged.
            sortie << "ABSENT      " << QDir::toNativeSeparators(c.chemin) << Qt::endl;
            continue;
        }
        try {
            probleme = c.probleme();
        } catch (const ErreurFichier& e) {
            probleme = erreurs::texte(e);
        } catch (const std::exception& e) {
            probleme = QString::fromUtf8(e.what());
        }
        endommages += !probleme.isEmpty();
        sortie << (probleme.isEmpty() ? QStringLiteral("OK          ") : QStringLiteral("ENDOMMAGÉ   "))
               << QDir::toNativeSeparators(c.chemin) << (probleme.isEmpty() ? QString() : QStringLiteral(" : ") + probleme)
               << Qt::endl;
    }
    sortie << (endommages == 0 ? QStringLiteral("Aucun fichier endommagé.")
                               : QStringLiteral("%1 fichier(s) endommagé(s).").arg(endommages))
           << Qt::endl;
    return endommages == 0 ? Reussi : Echec;
}

// Writes the export to `fichier`: a device or a pipe as it is; any other file atomically, an
// existing one only when `remplacer`, one of the clinic's own files never.
int ecrireExportation(const QString& programme, const QString& fichier, bool remplacer, const QByteArray& octets,
                      QTextStream& erreurs) {
    const QFileInfo info(fichier);
    if (info.exists() && !info.isFile() && !info.isDir()) {
        FluxSortie flux(fichier);
        flux.write(octets);
        if (flux.erreur())
            throw *flux.erreur();
        return Reussi;
    }
    const QString cible = dossiers::cheminReel(fichier);
    const QString nom = QDir::toNativeSeparators(fichier);
    if (dossiers::fichierDeLaClinique(programme, cible) ||
        cible == dossiers::cheminReel(ReglagesUtilisateur().fichier())) {
        erreurs << nom << " est un fichier de la clinique : une exportation ne le remplace jamais." << Qt::endl;
        return Echec;
    }
    if (QFileInfo(cible).isDir()) {
        erreurs << nom << " est un dossier : donnez le nom du fichier à écrire." << Qt::endl;
        return Echec;
    }
    if (QFileInfo::exists(cible) && !remplacer) {
        erreurs << "Le fichier " << nom << " existe déjà : --remplacer le remplacerait." << Qt::endl;
        return Echec;
    }
    fichiers::ecrireAtomique(cible, octets);
    return Reussi;
}

// The period of --du and --au over `f`; false (and the usage told) when a date is not AAAA-MM-JJ
// or the period ends before it starts.
bool periode(const Ligne& l, suivi::Filtre& f, QTextStream& erreurs) {
    for (const auto& [option, date] : {std::pair{QStringLiteral("--du"), &f.du}, std::pair{QStringLiteral("--au"), &f.au}}) {
        if (!l.options.contains(option))
            continue;
        *date = QDate::fromString(l.options.value(option), QStringLiteral("yyyy-MM-dd"));
        if (!date->isValid()) {
            erreurs << option << " demande une date AAAA-MM-JJ : " << l.options.value(option) << Qt::endl;
            return false;
        }
    }
    // An inverted period would show nothing, and a nightly job would take it for no work.
    if (f.du.isValid() && f.au.isValid() && f.du > f.au) {
        erreurs << "La période est inversée : le " << f.du.toString(QStringLiteral("yyyy-MM-dd")) << " (--du) vient après le "
                << f.au.toString(QStringLiteral("yyyy-MM-dd")) << " (--au)." << Qt::endl;
        return false;
    }
    return true;
}

// The follow-up of the sent invoices, after the repair of an interrupted re-billing.
QList<suivi::Ligne> lireSuivi(const QString& programme, const suivi::Filtre& f) {
    const QDate aujourdhui = Horloge::aujourdhui();
    suivi::reparer(programme, aujourdhui);
    return suivi::filtrer(suivi::lire(programme, aujourdhui), f);
}

int suiviFactures(const QString& programme, const Ligne& l, QTextStream& sortie, QTextStream& erreurs) {
    suivi::Filtre f = suivi::filtreParDefaut(Horloge::aujourdhui());
    if (!periode(l, f, erreurs))
        return Usage;
    const QList<suivi::Ligne> lignes = lireSuivi(programme, f);
    for (const QString& total : suivi::texteTotaux(suivi::totaliser(lignes)))
        sortie << total << Qt::endl;
    int aTraiter = 0;
    for (const suivi::Ligne& ligne : lignes) {
        if (!suivi::aTraiter(ligne))
            continue;
        ++aTraiter;
        const QStringList c = ligne.cellules();
        // State, billing, attestation, NCE, NAM, surname and first name, date, amount, code, message.
        sortie << QStringList{c[10], c[0], c[1], c[2], c[3], (c[4] + QLatin1Char(' ') + c[5]).trimmed(), c[6], c[9],
                              c[12], c[13]}
                      .join(QStringLiteral("  "))
                      .trimmed()
               << Qt::endl;
    }
    return aTraiter > 0 ? Reussi : RienAFaire;
}

int exporter(const QString& programme, const Ligne& l, QTextStream& sortie, QTextStream& erreurs) {
    const QString nomFormat = l.options.value(QStringLiteral("--format"));
    if ((nomFormat != QLatin1String("csv") && nomFormat != QLatin1String("xlsx")) || l.positionnels.size() != 1) {
        erreurs << "Utilisation : kestrova exporter LISTE --format csv|xlsx [--sortie FICHIER [--remplacer]]" << Qt::endl;
        return Usage;
    }
    const tableur::Format format = nomFormat == QLatin1String("xlsx") ? tableur::Format::Xlsx : tableur::Format::Csv;
    if (format == tableur::Format::Xlsx && !l.options.contains(QStringLiteral("--sortie"))) {
        erreurs << "Un classeur Excel ne s'écrit pas sur le terminal : donnez le fichier à écrire avec --sortie FICHIER."
                << Qt::endl;
        return Usage;
    }
    const QString liste = l.positionnels[0];
    QList<tableur::Colonne> colonnes;
    QList<QStringList> rangees;
    if (liste == QLatin1String("statistiques-mensuelles")) {
        bool annee = false, mois = false;
        const int a = l.options.value(QStringLiteral("--annee")).toInt(&annee);
        const int m = l.options.value(QStringLiteral("--mois")).toInt(&mois);
        const QString optometriste = l.options.value(QStringLiteral("--optometriste"));
        if (!annee || !mois || m < 1 || m > 12 || optometriste.size() != 6) {
            erreurs << "statistiques-mensuelles demande --annee AAAA --mois 1 à 12 --optometriste (6 chiffres)." << Qt::endl;
            return Usage;
        }
        const Configuration configuration = ChargerConfiguration(programme);
        colonnes = statmensuelle::colonnes();
        rangees = statmensuelle::rangees(statmensuelle::lire(programme, optometriste, a, m, configuration), configuration);
    } else if (liste == QLatin1String("facturations-envoyees")) {
        colonnes = journalenvois::entetes();
        for (const QByteArray& e : journalenvois::lire(programme))
            rangees << journalenvois::colonnes(e);
    } else if (liste == QLatin1String("facturations-precedentes")) {
        colonnes = precedentes::colonnes();
        for (const precedentes::Facturation& f : precedentes::lister(programme))
            rangees << f.colonnes();
    } else if (liste == QLatin1String("facturations-conservees")) {
        colonnes = tableur::colonnes({QStringLiteral("Fichier"), QStringLiteral("Période"), QStringLiteral("Nombre")},
                                     {{QStringLiteral("Nombre"), tableur::Colonne::Genre::Nombre}});
        for (const QString& nom : archives::fichiersConserves(programme)) {
            const archives::Conserve c = archives::resumer(programme, nom);
            rangees << QStringList{c.nom, c.periode, QString::number(c.nombre)};
        }
    } else if (liste == QLatin1String("suivi")) {
        suivi::Filtre f;
        if (!periode(l, f, erreurs))
            return Usage;
        colonnes = suivi::colonnes();
        for (const suivi::Ligne& ligne : lireSuivi(programme, f))
            rangees << ligne.cellules();
    } else if (liste == QLatin1String("tendances")) {
        bool annee = false;
        const int a = l.options.value(QStringLiteral("--annee")).toInt(&annee);
        if (!annee || a < 1 || a > 9999) {
            erreurs << "tendances demande --annee AAAA." << Qt::endl;
            return Usage;
        }
        const tendances::Annee figures =
            tendances::lire(programme, a, ChargerConfiguration(programme), lireSuivi(programme, {}));
        colonnes = tendances::colonnes(figures);
        rangees = tendances::rangees(figures);
    } else if (liste == QLatin1String("file-d-attente")) {
        colonnes = filepatients::colonnes();
        for (const filepatients::EnFile& p : filepatients::tous(programme))
            rangees << filepatients::rangee(p);
    } else {
        erreurs << "Liste inconnue : " << liste << Qt::endl;
        return Usage;
    }
    const QString fichier = l.options.value(QStringLiteral("--sortie"));
    if (l.options.contains(QStringLiteral("--sortie")) && fichier.trimmed().isEmpty()) {
        erreurs << "--sortie demande le nom d'un fichier." << Qt::endl;
        return Usage;
    }
    const QByteArray octets = tableur::octets(format, colonnes, rangees, liste);
    if (fichier.isEmpty()) {
        sortie.flush();
        sortie.device()->write(octets);  // a failed write fails the command (executer)
        return Reussi;
    }
    if (const int statut = ecrireExportation(programme, fichier, l.options.contains(QStringLiteral("--remplacer")),
                                             octets, erreurs))
        return statut;
    sortie << rangees.size() << " lignes écrites dans " << QDir::toNativeSeparators(fichier) << "." << Qt::endl;
    return Reussi;
}

}  // namespace

bool estCommande(const QStringList& arguments) {
    const Ligne l = analyser(arguments);
    return !l.commande.isEmpty() || !l.erreur.isEmpty() || l.options.contains(QStringLiteral("--help")) ||
           l.options.contains(QStringLiteral("--version"));
}

namespace {

// The number of archives to keep: a whole number from 1, or the setting when not given.
std::optional<int> aGarder(const Ligne& l, QTextStream& erreurs) {
    if (!l.options.contains(QStringLiteral("--garder")))
        return 0;
    bool ok = false;
    const int n = l.options.value(QStringLiteral("--garder")).toInt(&ok);
    if (!ok || n < 1) {
        erreurs << "--garder demande un nombre entier d'au moins 1." << Qt::endl;
        return std::nullopt;
    }
    return n;
}

int sauvegarder(const QString& programme, const Ligne& l, QTextStream& sortie, QTextStream& erreurs) {
    if (!l.positionnels.isEmpty()) {
        erreurs << "Utilisation : kestrova sauvegarder [--vers DOSSIER] [--garder N]" << Qt::endl;
        return Usage;
    }
    const std::optional<int> garder = aGarder(l, erreurs);
    if (!garder)
        return Usage;
    // A folder typed on the command line is read from the folder the command runs in, as the
    // archive of a restore is.
    QString vers = l.options.value(QStringLiteral("--vers"));
    if (!vers.isEmpty())
        vers = QDir::current().absoluteFilePath(vers);
    DialoguesConsole d(sortie);
    ReglagesUtilisateur utilisateur;
    const sauvegarde::Resultat r =
        sauvegarde::Sauvegarder(programme, {vers, *garder, utilisateur.fichier()}, utilisateur, d);
    if (!r.reussi)
        return Echec;
    sortie << "Sauvegarde terminée : " << QDir::toNativeSeparators(r.archive) << ", " << r.fichiers << " fichiers, "
           << r.octets << " octets";
    if (!r.supprimees.isEmpty())
        sortie << " ; anciennes sauvegardes supprimées : " << r.supprimees.join(", ");
    sortie << "." << Qt::endl;
    return Reussi;
}

int restaurer(const QString& programme, const Ligne& l, QTextStream& sortie, QTextStream& erreurs) {
    if (l.positionnels.size() != 1 || !l.options.contains(QStringLiteral("--dossier"))) {
        erreurs << "Utilisation : kestrova restaurer ARCHIVE --dossier DOSSIER [--remplacer]" << Qt::endl;
        return Usage;
    }
    DialoguesConsole d(sortie);
    ReglagesUtilisateur utilisateur;
    const sauvegarde::Restauration r =
        sauvegarde::Restaurer(l.positionnels[0], programme, l.options.contains(QStringLiteral("--remplacer")),
                              {QString(), 0, utilisateur.fichier()}, utilisateur, d);
    if (!r.reussi)
        return Echec;
    sortie << "Restauration terminée : " << r.fichiers << " fichiers dans " << QDir::toNativeSeparators(programme);
    if (!r.sauvegardePrealable.isEmpty())
        sortie << " ; l'ancien dossier est sauvegardé dans " << QDir::toNativeSeparators(r.sauvegardePrealable);
    sortie << "." << Qt::endl;
    return Reussi;
}

int executerCommande(const QStringList& arguments, QTextStream& sortie, QTextStream& erreurs) {
    const Ligne l = analyser(arguments);
    if (!l.erreur.isEmpty()) {
        erreurs << l.erreur << Qt::endl << Qt::endl << Aide;
        return Usage;
    }
    if (l.options.contains(QStringLiteral("--help"))) {
        sortie << Aide;
        return Reussi;
    }
    if (l.options.contains(QStringLiteral("--version"))) {
        sortie << "Kestrova " << KESTROVA_VERSION_MAJEURE << "." << KESTROVA_VERSION_MINEURE << "."
               << KESTROVA_VERSION_REVISION << Qt::endl;
        return Reussi;
    }
    const QString programme = dossiers::dossierProgramme(arguments);
    exigerTLS(parametres::oui(ReglagesUtilisateur(), parametres::ExigerTLS));
    try {
        if (l.commande == QLatin1String("preparer"))
            return preparer(programme, l, sortie, erreurs);
        if (l.commande == QLatin1String("transmettre"))
            return transmettre(programme, l, sortie, erreurs);
        if (l.commande == QLatin1String("recuperer"))
            return recuperer(programme, sortie, erreurs);
        if (l.commande == QLatin1String("verifier"))
            return verifier(programme, sortie);
        if (l.commande == QLatin1String("suivi"))
            return suiviFactures(programme, l, sortie, erreurs);
        if (l.commande == QLatin1String("sauvegarder"))
            return sauvegarder(programme, l, sortie, erreurs);
        if (l.commande == QLatin1String("restaurer"))
            return restaurer(programme, l, sortie, erreurs);
        return exporter(programme, l, sortie, erreurs);
    } catch (const ErreurFichier& e) {
        ecrireErreur(erreurs, e);
        return Echec;
    }
}

}  // namespace

int executer(const QStringList& arguments, QTextStream& sortie, QTextStream& erreurs) {
    const int statut = executerCommande(arguments, sortie, erreurs);
    // A report that could not be written (a full disk) is a failure, whatever the command did.
    sortie.flush();
    if (const auto* flux = dynamic_cast<const FluxSortie*>(sortie.device()); flux && flux->erreur()) {
        ecrireErreur(erreurs, *flux->erreur());
        return statut == Reussi ? Echec : statut;
    }
    return statut;
}

}  // namespace commandes
