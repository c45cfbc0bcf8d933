#include "config/initialisation.h"

#include "config/facturatlex.h"
#include "config/fichierconfiguration.h"
#include "config/parametres.h"
#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "config/fichierini.h"
#include "platform/reglages.h"
#include "platform/reprise.h"
#include "platform/sessioncurl.h"
#include "records/champs.h"
#include "records/encodage.h"
#include "rules/tabledesprix.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString TitreInitialisation = QStringLiteral("Initialisation");
}

bool ChiffresValides(int n, const QString& texte, PortDialogue& d) {
    const bool valide = champs::chiffres(texte, n);
    if (!valide) {
        d.bip();
        d.message(Icone::Critique, TitreInitialisation,
                  QStringLiteral("Attention...\n\nIl y a erreur,  ce champ doit être composé de ") +
                      QString::number(n) +
                      QStringLiteral(" chiffres.\nIl ne doit pas avoir de point (.) pour séparer "
                                     "les cents.  \nLes espaces vides doivent être comblées par "
                                     "des zéro (0).\n\nExemple: 19.00$ = 001900   2.40$ = 000240\n"
                                     "Exemple: (No Optométriste) 391001\nExemple: (Groupe) "
                                     "00000\nExemple: (Établissement) 52000"));
    }
    return valide;
}

bool ValiderChiffres(int n, const QString& texte, PortDialogue& d) {
    if (!ChiffresValides(n, texte, d))
        return false;
    d.message(Icone::Information, TitreInitialisation, QStringLiteral("Changement accepté..."));
    return true;
}

const QString Initialisation::InstructionsPrix = QStringLiteral(
    "1- Sélectionner dans la liste le code d'acte pour en afficher le prix.\r\n"
    "2- Modifier le montant.  Ex: 12.00$ = 001200\r\n"
    "3- Cliquez sur Ok pour valider votre changement.\r\n");
const QString Initialisation::InstructionsOptometristes = QStringLiteral(
    "1- Sélectionner dans la liste l'optométriste ou une ligne libre.\r\n"
    "2- Modifier le nom de l'optométriste sous la liste.\r\n"
    "3- Cliquez sur Ok pour valider votre changement.\r\n"
    "4- suivre la même procédure pour le numéro du professionnel.\r\n");
const QString Initialisation::InstructionsEtablissements = QStringLiteral(
    "1- Sélectionner dans la liste le code d'établissement pour le modifier ou une ligne vide "
    "pour un nouveau.\r\n\r\n"
    "2- Modifier le nom de la ville, faite un espace et inscrire le numéro d'établissement.\r\n\r\n"
    "3- Cliquez sur Ok pour valider votre changement.\r\n");

const QStringList& Initialisation::clesCases() {
    static const QStringList cles = {parametres::RappelBES2an,      parametres::RappelTOUS2an,
                                     parametres::SiMotPasse,        parametres::UtiliseDossierPatient,
                                     parametres::ChangerDateRappel, parametres::PavoConserveDate,
                                     parametres::AfficheConserveInfo, parametres::FocusCodeActe,
                                     parametres::SansConnectionInternet, parametres::ExigerTLS};
    return cles;
}

const QStringList& Initialisation::legendesCases() {
    static const QStringList legendes = {
        QStringLiteral("Rappel des BES au deux (2) ans"),
        QStringLiteral("Placer la date de rappel pour tout le monde au 2 ans"),
        QStringLiteral("Activer l'inscription d'un mot de passe"),
        QStringLiteral("Utliser le Dossier Patient comme base de donnée"),
        QStringLiteral("Changer la date de rappel au Dossier Patient lors de la facturation d'un 9001"),
        QStringLiteral("Conserver la date de service de la saisie (ne pas utiliser la date du "
                       "logiciel de gestion de la clinique)"),
        QStringLiteral("Afficher « Conserver les informations »"),
        QStringLiteral("Donner  le focus au code d'acte"),
        QStringLiteral("Utiliser Kestrova sans connection Internet"),
        QStringLiteral("Exiger une connexion chiffrée (TLS) avec les serveurs")};
    return legendes;
}

Initialisation::Initialisation(QString programme, MagasinReglages& utilisateur, PortDialogue& d)
    : copie(Configuration::parDefaut()), programme_(std::move(programme)), utilisateur_(utilisateur), d_(d) {}

void Initialisation::charger(const ParametresFtp& ftp) {
    // What can be read is loaded; a file that cannot be read whole is kept before it is replaced.
    const QString cfg = fichierconfiguration::chemin(programme_);
    QStringList nonLu;
    try {
        const fichierconfiguration::Lecture l = fichierconfiguration::lirePartielle(cfg);
        copie = l.configuration;
        if (!l.illisibles.isEmpty())
            nonLu << QStringLiteral("Ces champs ne peuvent pas être lus ; leur valeur par défaut est affichée :\n") +
                         l.illisibles.join(QLatin1Char('\n'));
        if (!l.nonLu.isEmpty())
            nonLu << QStringLiteral("La lecture s'est arrêtée au %1").arg(l.nonLu.left(1).toLower() + l.nonLu.mid(1));
        if (!l.prixInvalides.isEmpty())
            nonLu << QStringLiteral("Ces prix n'ont pas six chiffres (corrigez-les dans « Liste des actes ») :\n") +
                         l.prixInvalides.join(QLatin1Char('\n'));
    } catch (const ErreurFichier& e) {
        copie = Configuration::parDefaut();
        if (e.numero() != erreurs::FichierIntrouvable)
            nonLu << erreurs::texte(e);
    }
    illisible_ = !nonLu.isEmpty();
    if (illisible_)
        d_.message(Icone::Exclamation, TitreInitialisation,
                   QStringLiteral("Le fichier de configuration Kestrova.Cfg ne peut pas être lu en entier.\n\n%1\n\n"
                                  "Ce qui a pu être lu est affiché ; le reste a les valeurs par défaut, sans "
                                  "optométriste ni établissement. Vérifiez chaque onglet. Avant le premier "
                                  "enregistrement, le fichier actuel sera conservé sous le nom Kestrova.Cfg.ancien.")
                       .arg(nonLu.join(QStringLiteral("\n\n"))));
    const FichierIni tarnwick(parametres::cheminTarnwick(programme_), QStringLiteral("Kestrova"));
    for (int i = 0; i < NombreCases; ++i)
        cases[i] = parametres::oui(i < 3 ? static_cast<const MagasinReglages&>(tarnwick) : utilisateur_,
                                   clesCases()[i]);
    serveurFtp = ftp.serveur;
    utilisateurFtp = ftp.utilisateur;
}

bool Initialisation::refuser(const QString& raison) {
    d_.bip();
    d_.message(Icone::Information, TitreInitialisation,
               QStringLiteral("Changement refusé...\n") + raison);
    return false;
}

bool Initialisation::texteEnregistrable(const QString& texte, const QString& quoi) {
    // A quote would end the text in Kestrova.Cfg and make the file unreadable at every start.
    if (!texte.contains(QLatin1Char('"')) && encodage::representable(texte))
        return true;
    return refuser(QStringLiteral("%1 ne peut pas contenir de guillemet (\") ni de caractère "
                                  "qui ne s'écrit pas dans le fichier de configuration.")
                       .arg(quoi));
}

bool Initialisation::accepter() {
    if (!sauvegarder())
        return false;
    d_.message(Icone::Information, TitreInitialisation, QStringLiteral("Changement accepté..."));
    return true;
}

bool Initialisation::changerPrix(int entree, const QString& prix, const QString& code) {
    if (entree >= 0 && !texteEnregistrable(code, QStringLiteral("Le code d'acte")))
        return false;
    return ChangerPrix(copie.TableDesPrix, entree, prix, code, d_) && accepter();
}

bool Initialisation::changerNom(int slot, const QString& nom) {
    if (slot < 0 || nom.isEmpty())
        return refuser(QStringLiteral("Nom invalide ou aucun nom de pointer dans la liste."));
    if (!texteEnregistrable(nom, QStringLiteral("Le nom")))
        return false;
    copie.Optometristes[slot].nom = nom;
    return accepter();
}

bool Initialisation::changerChiffresOptometriste(int slot, const QString& texte, int n,
                                                 const QString& raison, QString Optometriste::*champ) {
    if (slot < 0)
        return refuser(raison);
    if (!ChiffresValides(n, texte, d_))
        return false;
    copie.Optometristes[slot].*champ = texte;
    return accepter();
}

bool Initialisation::changerNumero(int slot, const QString& numero) {
    return changerChiffresOptometriste(slot, numero, 6,
                                       QStringLiteral("Aucun numéro de pointer dans la liste."),
                                       &Optometriste::professionnel);
}

bool Initialisation::changerGroupe(int slot, const QString& groupe) {
    return changerChiffresOptometriste(slot, groupe, 5,
                                       QStringLiteral("Aucun établissement de pointer dans la liste."),
                                       &Optometriste::groupe);
}

bool Initialisation::changerEtablissement(int ligne, const QString& texte) {
    if (ligne < 0)
        return refuser(QStringLiteral("Aucun établissement de pointer dans la liste."));
    if (!texteEnregistrable(texte, QStringLiteral("L'établissement")) ||
        !ChiffresValides(5, texte.right(5), d_))
        return false;
    copie.Etablissements[ligne] = texte;
    return accepter();
}

bool Initialisation::agenceActivable(const QString& texte) {
    return texte.size() == 5 && texte.startsWith(QLatin1String("71"));
}

bool Initialisation::enregistrerAgence(const QString& texte) {
    const QString agence = texte.trimmed();
    if (!champs::chiffres(agence, 5)) {
        d_.message(Icone::Critique, QStringLiteral("Message"),
                   QStringLiteral("Attention !!!\n\nLe numéro d'agence n'est pas valide."));
        return false;
    }
    // New counters would repeat the file names and attestation numbers of billings already sent.
    if (facturatlex::existe(programme_) &&
        d_.question(Icone::Exclamation, QStringLiteral("Message"),
                    QStringLiteral("ATTENTION !!!\n\nLe fichier FACTURAT.LEX existe déjà. Le créer "
                                   "de nouveau remet tous les compteurs à zéro : les noms de "
                                   "fichiers et les numéros d'attestation des facturations déjà "
                                   "envoyées seraient réutilisés.\n\nVoulez-vous vraiment le "
                                   "créer de nouveau ?"),
                    Boutons::OkAnnuler, 1) != Reponse::Ok)
        return false;
    if (!executerAvecReprise(d_, QStringLiteral("Message"), [&] { facturatlex::creer(programme_, agence); }))
        return false;
    d_.message(Icone::Information, QStringLiteral("Message"), QStringLiteral("Agence et compteur créés."));
    return true;
}

void Initialisation::annoncerRedemarrage() {
    d_.message(Icone::Exclamation, TitreInitialisation,
               QStringLiteral("Vous devez redémarrer le logiciel Kestrova pour que les changements "
                              "prennent effets."));
}

bool Initialisation::fermerSansEnregistrer() {
    return d_.question(Icone::Exclamation, TitreInitialisation,
                       QStringLiteral("Les changements n'ont pas pu être enregistrés.\n\nSi vous fermez la fenêtre "
                                      "maintenant, ce qu'elle affiche et qui n'a pas été accepté par un « Changement "
                                      "accepté... » (optométristes, établissements, prix, cases de l'onglet Autres, "
                                      "serveur) ne sera pas enregistré ; les fichiers restent tels qu'ils étaient."
                                      "\n\nFermer sans enregistrer ?"),
                       Boutons::OkAnnuler, 1) == Reponse::Ok;
}

bool Initialisation::sauvegarder() {
    Configuration c = copie;
    c.version = VersionConfiguration;
    for (Optometriste& o : c.Optometristes) {
        o.professionnel = o.professionnel.leftJustified(6, QLatin1Char(' '), true);
        o.groupe = o.groupe.leftJustified(5, QLatin1Char(' '), true);
    }
    for (EntreePrix& p : c.TableDesPrix) {
        p.code = p.code.leftJustified(5, QLatin1Char(' '), true);
        p.prix = p.prix.leftJustified(6, QLatin1Char(' '), true);
    }
    QStringList prix;
    for (int i = 0; i < Configuration::NombrePrix; ++i)
        if (copie.TableDesPrix[i].enUsage() && !champs::chiffres(copie.TableDesPrix[i].prix, 6))
            prix << QStringLiteral("%1 « %2 »").arg(copie.TableDesPrix[i].code, copie.TableDesPrix[i].prix);
    if (!prix.isEmpty()) {  // such a file would stop the program at its next start
        d_.message(Icone::Critique, TitreInitialisation,
                   QStringLiteral("Rien n'a été enregistré : ces prix n'ont pas six chiffres.\n\n%1\n\nCorrigez-les "
                                  "dans « Liste des actes » (exemple: 19.00$ = 001900).")
                       .arg(prix.join(QLatin1Char('\n'))));
        return false;
    }
    const QString cfg = fichierconfiguration::chemin(programme_);
    QString conserve;
    if (!executerAvecReprise(d_, TitreInitialisation, [&] {
            if (illisible_ && conserve.isEmpty() && dossiers::FichierExiste(cfg))
                conserve = fichierconfiguration::conserverAncien(cfg);
            fichierconfiguration::ecrire(cfg, c, fichierconfiguration::Groupement::UnePaireParLigne);
        }))
        return false;
    if (illisible_) {
        illisible_ = false;
        if (!conserve.isEmpty())
            d_.message(Icone::Information, TitreInitialisation,
                       QStringLiteral("Le fichier de configuration qui ne pouvait pas être lu en entier est "
                                      "conservé sous le nom %1.")
                           .arg(QFileInfo(conserve).fileName()));
    }
    // The three switches of Tarnwick.ini in one write: all saved, or the file as it was.
    FichierIni tarnwick(parametres::cheminTarnwick(programme_), QStringLiteral("Kestrova"));
    QList<QPair<QString, QString>> interrupteurs;
    for (int i = 0; i < 3; ++i)
        interrupteurs.append({clesCases()[i], parametres::ouiNon(cases[i])});
    tarnwick.ecrire(interrupteurs);
    for (int i = 3; i < NombreCases; ++i)
        parametres::ecrireOuiNon(utilisateur_, clesCases()[i], cases[i]);
    exigerTLS(cases[NombreCases - 1]);  // the transfers of this session follow at once
    utilisateur_.ecrire(parametres::NomDuServeurFtp, serveurFtp);
    utilisateur_.ecrire(parametres::NomUtilisateurFtp, utilisateurFtp);
    for (const MagasinReglages* m : {static_cast<const MagasinReglages*>(&tarnwick),
                                     static_cast<const MagasinReglages*>(&utilisateur_)})
        if (const QString echec = m->echecEcriture(); !echec.isEmpty()) {
            d_.message(Icone::Critique, TitreInitialisation,
                       QStringLiteral("Les réglages n'ont pas tous été enregistrés.\n\n") + echec);
            return false;
        }
    return true;
}
