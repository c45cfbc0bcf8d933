// The printed statement of account, record by record, and its explanatory messages.
#include "returns/impressionretour.h"

#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"
#include "records/champs.h"
#include "records/encodage.h"
#include "records/procedures.h"
#include "returns/miseenpage.h"
#include "returns/retours.h"

#include <QDir>

namespace impressionretour {

QString argent(qint64 cents, int largeur) {
    return (QStringLiteral("$ ") + formatMontant(cents, true)).rightJustified(largeur, QLatin1Char(' '));
}

QStringList morceaux(const QString& texte) {
    constexpr int Longueur = 100;
    QStringList l;
    QString reste = texte;
    while (reste.size() > Longueur) {
        const qsizetype blanc = reste.indexOf(QLatin1Char(' '), Longueur - 1);
        const qsizetype fin = blanc < 0 ? Longueur : blanc + 1;
        l << reste.left(fin);
        reste = reste.mid(fin);
    }
    if (!reste.isEmpty() || l.isEmpty())
        l << reste;
    return l;
}

QList<MessageExplicatif> lireMessages(const QByteArray& contenu) {
    // The fields, as Basic's Input # reads them.
    QStringList champs;
    const QString texte = encodage::depuisOctets(contenu);
    qsizetype i = 0;
    while (i < texte.size()) {
        while (i < texte.size() && (texte[i] == QLatin1Char(' ') || texte[i] == QLatin1Char('\t')))
            ++i;
        if (i >= texte.size())
            break;
        QString champ;
        if (texte[i] == QLatin1Char('"')) {
            const qsizetype fin = texte.indexOf(QLatin1Char('"'), i + 1);
            champ = texte.mid(i + 1, (fin < 0 ? texte.size() : fin) - i - 1);
            i = fin < 0 ? texte.size() : fin + 1;
            while (i < texte.size() && texte[i] != QLatin1Char(',') && texte[i] != QLatin1Char('\n'))
                ++i;
        } else {
            const qsizetype debut = i;
            while (i < texte.size() && texte[i] != QLatin1Char(',') && texte[i] != QLatin1Char('\n'))
                ++i;
            champ = texte.mid(debut, i - debut).trimmed();
        }
        const bool finDeLigne = i < texte.size() && texte[i] == QLatin1Char('\n');
        ++i;  // the separator
        // A blank line is no field.
        if (champ.isEmpty() && finDeLigne && (champs.size() % 2 == 0))
            continue;
        champs << champ;
    }
    QList<MessageExplicatif> messages;
    for (qsizetype k = 0; k < champs.size(); k += 2)
        messages.append({champs[k], k + 1 < champs.size() ? champs[k + 1] : QString(), false});
    return messages;
}

QList<MessageExplicatif> chargerMessages(const QString& programme, PortDialogue& d) {
    const QString chemin = dossiers::resoudre(programme, QStringLiteral("MessagesExplicatifs.txt"));
    if (!dossiers::FichierExiste(chemin)) {
        d.message(Icone::Critique, QStringLiteral("Fichier manquant"),
                  QStringLiteral("Le fichier des messages explicatifs n'est pas trouvé.  L'impression des "
                                 "messages ne pourront être imprimés.  Contacter votre fournisseur pour "
                                 "corriger la situation."));
        return {};
    }
    return lireMessages(fichiers::lire(chemin));
}

namespace {

using namespace miseenpage;
using retours::champ;

qint64 valeur(const QByteArray& e, int colonne, int largeur) {
    return champs::valeur(e.mid(colonne - 1, largeur));
}

QString date(const QByteArray& e, int colonne) { return retours::dateAaMmJj(champ(e, colonne, 6)); }

// A labelled field on a line of its own at 1 inch.
void libelle(Page& p, const QString& etiquette, const QString& valeurTexte = {}) {
    a(p, 1.0, etiquette + valeurTexte);
    p.ecrireLigne();
}

// An empty line, a line across from 1 to 7 inches, an empty line.
void regle(Page& p) {
    vide(p);
    p.ligne(1.0, p.CurrentY, 7.0, p.CurrentY);
    vide(p);
}

void policeDeBase(Page& p) {
    p.police(QStringLiteral("Times New Roman"));
    p.taille(10);
    p.gras(false);
}

void enteteEtat(Page& p, const QByteArray& e, Etat&) {
    policeDeBase(p);
    titre(p, QStringLiteral("RÉCEPTION DES ÉTATS DE COMPTE"), 1.15);
    ligneA(p, {{3.25, QStringLiteral("Numéro de")}, {4.25, QStringLiteral("Numéro du")},
               {5.25, QStringLiteral("Date de l'état")}, {6.25, QStringLiteral("Date de")}});
    ligneA(p, {{3.25, QStringLiteral("l'Agence")}, {4.25, QStringLiteral("paiement")},
               {5.25, QStringLiteral("de compte")}, {6.25, QStringLiteral("coupure")}});
    vide(p);
    p.taille(12);
    p.gras(true);
    ligneA(p, {{3.25, champ(e, 10, 5)}, {4.25, champ(e, 15, 2)}, {5.25, date(e, 17)}, {6.25, date(e, 29)}});
    vide(p);
    p.gras(false);
}

void valeurGrasse(Page& p, double x, const QString& etiquette, const QString& v) {
    a(p, x, etiquette);
    p.gras(true);
    p.ecrire(v);
    p.gras(false);
}

void identification(Page& p, const QByteArray& e, Etat&) {
    p.ligne(1.0, p.CurrentY, 7.0, p.CurrentY);
    p.CurrentY += 0.1;
    p.taille(16);
    centre(p, QStringLiteral("IDENTIFICATION DU PROFESSIONNEL"));
    p.taille(14);
    vide(p);
    valeurGrasse(p, 1.5, QStringLiteral("Numéro du professionnel: "), champ(e, 10, 7));
    valeurGrasse(p, 4.5, QStringLiteral("Numéro de groupe: "), champ(e, 18, 5));
    p.ecrireLigne();
    p.taille(10);
    for (int i = 0; i < 3; ++i)
        vide(p);
}

void message(Page& p, const QByteArray& e, Etat&) {
    libelle(p, QStringLiteral("MESSAGE:      "), champ(e, 10, 40));
}

void transaction(Page& p, const QByteArray& e, Etat&) {
    regle(p);
    a(p, 1.0, QStringLiteral("Code de transaction:  ") + champ(e, 10, 3) + QStringLiteral("   ") +
                  encodage::depuisOctets(e.mid(22)).trimmed());
    p.ecrireJusqua(7.0, argent(valeur(e, 13, 10), 12));
    p.ecrireLigne();
}

// A block of a rule, a heading at 1 inch and labelled lines.
void bloc(Page& p, const QString& titre, const QList<std::pair<QString, QString>>& lignes,
          bool titreCentre = false) {
    regle(p);
    if (titreCentre)
        centre(p, titre);
    else
        libelle(p, titre);
    for (const auto& [etiquette, v] : lignes)
        libelle(p, etiquette, v);
}

void coupure(Page& p, const QByteArray& e, Etat&) {
    bloc(p, QStringLiteral("Coupure plafond"),
         {{QStringLiteral("Date de début du trimestre: "), champ(e, 10, 8)},
          {QStringLiteral("Montant de la coupure: "), argent(valeur(e, 18, 10))},
          {QStringLiteral("Libellé du plafond: "), champ(e, 28, 21)}});
}

void saisie(Page& p, const QByteArray& e, Etat&) {
    regle(p);
    libelle(p, QStringLiteral("SAISIE"));
    const QString genre = champ(e, 10, 1);
    const QString genres[] = {QStringLiteral("Arrêt régulier"), QStringLiteral("Impôt fédéral"),
                              QStringLiteral("Impôt provincial")};
    if (genre == QLatin1String("1") || genre == QLatin1String("2") || genre == QLatin1String("3"))
        libelle(p, genres[genre.toInt() - 1]);
    libelle(p, QStringLiteral("Numéro d'enregistrement: "), champ(e, 11, 17));
    libelle(p, QStringLiteral("Montant de saisie: "), champ(e, 28, 9));
}

void deduction(Page& p, const QByteArray& e, Etat&) {
    bloc(p, QStringLiteral("DÉDUCTIONS DIVERSES"),
         {{QStringLiteral("Code de déduction: "), champ(e, 10, 2)},
          {QStringLiteral("Montant de la déduction: "), argent(valeur(e, 13, 9))},
          {QStringLiteral("Libellé de la déduction: "), champ(e, 22, 28)}});
}

void cotisation(Page& p, const QByteArray& e, Etat&) {
    bloc(p, QStringLiteral("COTISATION DE FÉDÉRATION"),
         {{QStringLiteral("Nom de fédération: "), champ(e, 10, 12)},
          {QStringLiteral("Montant de la cotisation: "), argent(valeur(e, 22, 8))}},
         true);
}

void transfert(Page& p, const QByteArray& e, Etat&) {
    bloc(p, QStringLiteral("TRANSFERT DE SOLDE"),
         {{QStringLiteral("Code de transfert: "), champ(e, 10, 1)},
          {QStringLiteral("Classe du groupe de transfert: "), champ(e, 11, 1)},
          {QStringLiteral("Numéro du groupe de transfert: "), champ(e, 12, 5)},
          {QStringLiteral("Montant transféré: "), champ(e, 17, 9)}});
}

void interets(Page& p, const QByteArray& e, Etat&) {
    bloc(p, QStringLiteral("INTÉRÊTS ET AVANCES"),
         {{QStringLiteral("Intérêt sur recouvrement: "), champ(e, 10, 7)},
          {QStringLiteral("Intérêt sur avance: "), champ(e, 17, 7)},
          {QStringLiteral("Avance émise: "), champ(e, 24, 9)},
          {QStringLiteral("Avance recouvré: "), champ(e, 33, 9)}});
}

void soldes(Page& p, const QByteArray& e, Etat&) {
    if (e.size() < 3 || e[2] == ' ')
        return;
    bloc(p, QStringLiteral("SOLDES"),
         {{QStringLiteral("Solde reporté: "), argent(valeur(e, 10, 9))},
          {QStringLiteral("Solde à reporter: "), argent(valeur(e, 19, 9))},
          {QStringLiteral("Modification de solde: "), argent(valeur(e, 28, 9))},
          {QStringLiteral("Paiement reçu: "), argent(valeur(e, 37, 9))},
          {QStringLiteral("Date début d'intérêt sur solde: "), champ(e, 46, 6)},
          {QStringLiteral("Code message: "), champ(e, 52, 1)},
          {QStringLiteral("Montant pour le message: "), champ(e, 53, 5)}});
}

void montantNet(Page& p, const QByteArray& e, Etat&) {
    bloc(p, QStringLiteral("MONTANT NET"),
         {{QStringLiteral("Montant net versé: "), argent(valeur(e, 10, 9))},
          {QStringLiteral("Numéro du chèque: "), champ(e, 19, 8)}},
         true);
}

void enteteDetails(Page& p) {
    regle(p);
    for (const char* l : {"No. = Compteur d'enregistrement",
                          ".   = Indicateur: assurance (H)ospitalisation, C.(S).S.T.,(V)acation",
                          "Dem = Numéro de demande de paiement", "Récep = Date de réception",
                          "Acte. = Acte ou prescription", "Béné  = Bénéficiaire",
                          "Co    = Code de transaction", "Mes   = Code de message explicatif",
                          "Montant/R = Montant payé ou numéro de ligne de référence",
                          "Attesta   = Numéro d'attestation"})
        libelle(p, QString::fromUtf8(l));
    vide(p);
    vide(p);
    p.taille(12);
    p.gras(true);
    centre(p, QStringLiteral("LIGNE DE DÉTAILS..."));
    vide(p);
    p.police(QStringLiteral("Arial"));
    p.taille(12);
    for (const auto& [x, t] : {std::pair{1.0, "No."}, {1.5, "- . -"}, {2.0, "Dem."}, {2.5, "Récep"},
                               {3.2, "Acte"}, {3.75, "Bén."}, {4.4, "Co"}, {4.75, "Mes"}})
        a(p, x, QString::fromUtf8(t));
    p.ecrireJusqua(6.0, QStringLiteral("Montant/R"));
    a(p, 6.3, QStringLiteral("Attesta"));
    p.ecrireLigne();
    p.gras(false);
}

void detail(Page& p, const QByteArray& e, Etat& etat) {
    if (!etat.enteteDetails) {
        enteteDetails(p);
        etat.enteteDetails = true;
    }
    const QString acte = champ(e, 21, 4);
    const QString code = champ(e, 31, 3);
    const std::pair<double, QString> champsDetail[] = {
        {1.0, champ(e, 5, 3)}, {1.5, champ(e, 10, 1)}, {1.9, champ(e, 10, 5)}, {2.5, champ(e, 15, 5)},
        {3.2, acte == QLatin1String("    ") ? QStringLiteral(" ") : acte}, {3.75, champ(e, 25, 4)},
        {4.4, champ(e, 29, 2)}, {4.75, code == QLatin1String("000") ? QStringLiteral(" ") : code}};
    for (const auto& [x, texte] : champsDetail)
        a(p, x, texte);
    p.ecrireJusqua(6.0, argent(valeur(e, 34, 9), 11));
    a(p, 6.3, champ(e, 43, 7));
    p.ecrireLigne();
    if (code != QLatin1String("000"))
        for (MessageExplicatif& m : etat.messages)
            if (m.code == code)
                m.utilise = true;
}

void finGroupe(Page&, const QByteArray&, Etat& etat) {
    etat.enteteDetails = false;
    etat.enteteMessages = false;
}

void cumulatif(Page& p, const QByteArray& e, Etat&) {
    regle(p);
    p.police(QStringLiteral("Times New Roman"));
    p.taille(12);
    centre(p, QStringLiteral("CUMULATIF DE COTISATION DE FÉDÉRATION"));
    libelle(p, QStringLiteral("Nom de fédération: "), champ(e, 10, 12));
    libelle(p, QStringLiteral("Montant cumulatif de cotisation de fédération: "), argent(valeur(e, 22, 8)));
}

void imprimerMessage(Page& p, const MessageExplicatif& m) {
    p.police(QStringLiteral("Times New Roman"));
    p.taille(10);
    p.gras(true);
    a(p, 0.8, QStringLiteral("  ") + m.code);
    p.gras(false);
    for (const QString& morceau : morceaux(m.texte)) {
        a(p, 1.1, morceau);
        p.ecrireLigne();
    }
    vide(p);
}

void finEtat(Page& p, const QByteArray&, Etat& etat) {
    vide(p);
    p.ligne(1.0, p.CurrentY, 7.0, p.CurrentY);
    vide(p);
    for (MessageExplicatif& m : etat.messages) {
        if (m.utilise)
            imprimerMessage(p, m);
        m.utilise = false;  // the next statement prints the messages of its own codes
    }
    p.police(QStringLiteral("Times New Roman"));
    p.taille(12);
    p.gras(true);
    centre(p, QStringLiteral("Fin de l'état de compte."));
    policeDeBase(p);
    etat.finDocument = true;
    etat.enteteDetails = false;
    etat.enteteMessages = false;
}

void messageEnvoye(Page& p, const QByteArray& e, Etat& etat) {
    p.police(QStringLiteral("Times New Roman"));
    p.taille(12);
    if (!etat.enteteMessages) {
        regle(p);
        centre(p, QStringLiteral("MESSAGE EXPLICATIF"));
        vide(p);
        etat.enteteMessages = true;
    }
    p.taille(10);
    p.gras(false);
    a(p, 0.8, QStringLiteral("Code: ") + champ(e, 11, 2) + QStringLiteral("  ") +
                  encodage::depuisOctets(e.mid(12)).toLower());
    p.ecrireLigne();
}

}  // namespace

const QList<Enregistrement>& enregistrementsEtat() {
    static const QList<Enregistrement> table = {
        {"00", enteteEtat}, {"01", identification}, {"03", message},    {"04", transaction},
        {"05", coupure},    {"06", saisie},         {"07", deduction},  {"08", cotisation},
        {"09", transfert},  {"10", interets},       {"11", soldes},     {"12", montantNet},
        {"13", detail},     {"14", detail},         {"15", finGroupe},  {"16", cumulatif},
        {" 18", finEtat},   {"19", messageEnvoye}};
    return table;
}

}  // namespace impressionretour
