#include "rules/catalogue.h"

#include <QHash>
#include <QRegularExpression>

namespace {

using G = ElementChoix::Genre;

ElementChoix entete(const char* texte) { return {G::Entete, QString::fromUtf8(texte), {}}; }
ElementChoix bouton(const char* texte, const char* bulle = "") {
    return {G::Bouton, QString::fromUtf8(texte), QString::fromUtf8(bulle)};
}

const char* const Requiert = "REQUIERT UN DES CODES DE DIAGNOSTIQUES SUIVANT:";

ElementChoix enteteRequiert(const char* acte) {
    return {G::Entete, QStringLiteral("LE %1 %2").arg(QLatin1String(acte), QLatin1String(Requiert)), {}};
}

// The amblyopia and strabismus buttons shared by windows 50 and 57.
QList<ElementChoix> amblyopie(const char* diplopie, const char* suppression) {
    return {bouton("0680", "Amblyopie SAI ( de 6/9 (20/30) dans le meilleur oeil )"),
            bouton("0681", "Amblyopie SAI ( de 6/12 à 6/21 (20/40 à 20/70) dans le meilleur oeil )"),
            bouton("0683", "Amblyopie SAI ( inférieure à 6/21 (20/70) dans le meilleur oeil )"),
            bouton("0684", "Amblyopie SAI ( monoculaire )"),
            bouton("0689", "Amblyopie SAI "),
            bouton("2507", "Amblyopie SAI ( diabétique )"),
            bouton("3001", "Amblyopie SAI ( hystérique )"),
            bouton(diplopie),
            bouton(suppression)};
}
QList<ElementChoix> strabisme(bool heterotropie) {
    QList<ElementChoix> l = {bouton("3780", "Strabisme SAI ( convergent concomitant )"),
                             bouton("3781", "Strabisme SAI ( divergent concomitant )"),
                             bouton("3782", "Strabisme SAI ( intermittent )"),
                             bouton("3785", "Strabisme SAI ( paralytique )"),
                             bouton("3786", "Strabisme SAI ( mécanique )"),
                             bouton("3787", "Strabisme SAI ( NCA )"),
                             bouton("3789", "Strabisme SAI ")};
    if (heterotropie)
        l << bouton("3783 Hétérotropie");
    l << bouton("3784 Hétérophorie");
    return l;
}

FenetreChoix fenetre(int numero, const char* legende, QList<ElementChoix> elements) {
    FenetreChoix f;
    f.numero = numero;
    f.legende = QString::fromUtf8(legende);
    f.elements = std::move(elements);
    return f;
}

QHash<int, FenetreChoix> construireFenetres() {
    QHash<int, FenetreChoix> t;
    FenetreChoix f22 = fenetre(22, "Code d'Acte 9002",
                               {entete("Les renseignements complémentaires doivent contenir..."),
                                bouton("&PATHOLOGIE"), entete("OU"),
                                bouton("&IMPOSSIBILITE DE POURSUIVRE L EXAMEN"),
                                entete("Sélectionnez le texte à inscrire dans les renseignements "
                                       "complémentaires")});
    f22.raccourcis = {{QLatin1Char('P'), 0}, {QLatin1Char('I'), 1}};
    t.insert(22, f22);
    t.insert(23, fenetre(23, "Suite Code d'Acte 9002",
                         {enteteRequiert("9002"), bouton("A001 Non coopération de la personne"),
                          bouton("A002 État physique de la personne"),
                          bouton("A003 État psychologique de la personne"),
                          bouton("A004 Transfert de la personne pour une prise en charge par un "
                                 "autre professionnel")}));
    t.insert(50, fenetre(50, "Code d'Acte 9003",
                         QList<ElementChoix>{enteteRequiert("9003"),
                                             entete("Diagnostique d'amblyopie:")} +
                             amblyopie("3682 Diplopie", "3683 Suppression") +
                             QList<ElementChoix>{entete("Diagnostique de strabisme:")} +
                             strabisme(false)));
    t.insert(51, fenetre(51, "Code d'Acte 9005",
                         {enteteRequiert("9005"), entete("Note: Une seule fois par 365 jours."),
                          bouton("0690 Achromatopsie"),
                          bouton("0691 Dyschromatopsie de type trichromatique"),
                          bouton("0692 Dyschromatopsie de type dichromatique"),
                          bouton("0693 Dyschromatopsie de type monochromatique"),
                          bouton("0699 Déficience de la vision des couleurs SAI")}));
    t.insert(52, fenetre(52, "Code d'Acte 9008",
                         {enteteRequiert("9008"),
                          entete("Note: Doit être consécutif à un autre examen."),
                          bouton("3784 Hétérophorie"), bouton("0689 Amblyopie"),
                          bouton("3682 Diplopie"), bouton("3683 Suppression"),
                          bouton("3780 Esotropie"), bouton("3781 Exotropie"),
                          bouton("3787 Strabisme")}));
    t.insert(53, fenetre(53, "Code d'Acte 9010",
                         {enteteRequiert("9010"), bouton("0683 Amblyopie inférieur à 6/21 (20/70)"),
                          bouton("3688 Champ visuel anormal inférieur à 60 degrés")}));
    t.insert(54, fenetre(54, "Code d'Acte 9012",
                         {enteteRequiert("9012"),
                          entete("Note: Doit être consécutif à un autre examen.  Une fois par 365 "
                                 "jours"),
                          bouton("0671 HYPERMÉTROPIE"), bouton("0673 MYOPIE"),
                          bouton("0675 ASTIGMATISME"), bouton("0677 ANISOMÉTROPIE ou ANTIMÉTROPIE"),
                          bouton("0681 AMBLYOPIE"), bouton("0683 AMBLYOPIE inf. à 6/21"),
                          bouton("0685 APHAKIE monoculaire"), bouton("0686 APHAKIE binoculaire"),
                          bouton("2702 ALBINISME "), bouton("3716 KÉRATOCONE"),
                          bouton("3717 Cornée irrégulière."),
                          bouton("3719 Opacités cornéennes et à autre SAI"),
                          bouton("7439 ANIRIDIE  Colobome ou Polycorie")}));
    t.insert(57, fenetre(57, "Code d'Acte 9030",
                         QList<ElementChoix>{enteteRequiert("9030"),
                                             entete("Note: Une fois par 365 jours.  Doit avoir 16 "
                                                    "ans ou moins."),
                                             entete("Diagnostique d'AMBLYOPIE:")} +
                             amblyopie("3682 DIPLOPIE", "3683 SUPPRESSION") +
                             QList<ElementChoix>{entete("Diagnostique de STRABISME:")} +
                             strabisme(true)));
    t.insert(61, fenetre(61, "Code d'Acte 9008",
                         {enteteRequiert("9008"),
                          entete("*** Avec un  3784 ajouter un des codes suivant ***"),
                          bouton("3683 Fixation"), bouton("3683 Fixation ou Fusion ou Stéréoscopique"),
                          bouton("3675 Accomodation ou Accomod/Convergence"),
                          bouton("3788 Convergence ou Mobilité"), bouton("3795 Mobilité"),
                          bouton("3150 Dislexique"), bouton("3681 Asthenopie ou Céphalée")}));
    t.insert(62, fenetre(62, "Code d'Acte 9019",
                         {entete("LE 9019 REQUIERT UN CODE DE DIAGNOSTIQUE OBLIGATOIRE DE LA "
                                 "CLASSIFICATION (CIM)"),
                          entete("ET SI CE CODE NE PERMET PAS DE RELEVER LE CARACTÈRE URGENT DE "
                                 "L'EXAMEN"),
                          entete("AJOUTER UN DES CODES SUIVANTS EN REMPLACEMENT:   ou cliquez sur "
                                 "OK pour poursuivre."),
                          bouton("A005 Douleur oculaire"), bouton("A006 Perte de vision"),
                          bouton("A007 Rougeur anormale"), bouton("A008 Corps étranger"),
                          bouton("A009 Brûlures chimiques"), bouton("Ok")}));
    t.insert(63, fenetre(63, "Code d'Acte 9020",
                         {enteteRequiert("9020"), bouton("0673 Myopie d'au moins 5 dioptries"),
                          bouton("2504 Diabète avec complications oculaires"),
                          bouton("2507 Diabète avec autres complications précisées"),
                          bouton("2509 Diabète avec autres complications non précisées"),
                          bouton("A010 Diabète traité par médication orale"),
                          bouton("A011 Diabète traité par injection d’insuline")}));
    return t;
}

const QString ModeleDeplacement = QStringLiteral(
    "Frais de déplacement relié à une visite à domicile.\n%1\nA 0.86$ le kilomètre.\nIndiquer le "
    "montant dans la case.\n%2\n\n%3");

QString texteDeplacement(int numero) {
    if (numero == 20)
        return ModeleDeplacement.arg(QStringLiteral("De huit à quarante kilomètres."),
                               QStringLiteral("(Si plus de 40 kilomètres utilisez le code 9016)"),
                               QStringLiteral("Exemple pour 20 kilomètres: 001720"));
    return ModeleDeplacement.arg(QStringLiteral("Quarante kilomètres et plus."),
                           QStringLiteral("(Si moins de 40 kilomètres utilisez le code 9015)"),
                           QStringLiteral("Exemple pour 80 kilomètres: 006880"));
}

// Messages 20 and 21: asked until the answer fits the fee; a cancelled box gives "000000", or
// the amount the line was given for this code before.
void saisirDeplacement(int numero, int index, ChampsActe& champs, PortDialogue& d) {
    const QString titre = QStringLiteral("Visite à domicile");
    const int ligne = ligneDe(index);
    Deplacement& donne = champs.deplacements[ligne];
    const QString connu =
        donne.code == champs.actes[ligne] && !donne.montant.isEmpty() ? donne.montant : QStringLiteral("000000");
    QString proposition = connu;
    for (;;) {
        const std::optional<QString> reponse = d.saisie(titre, texteDeplacement(numero), proposition);
        if (!reponse) {
            champs.honoraires[ligne] = connu;
            champs.saisieAnnulee = true;
            return;
        }
        if (const auto montant = montantDeplacement(*reponse)) {
            champs.honoraires[ligne] = *montant;
            donne = {champs.actes[ligne], *montant};
            return;
        }
        d.message(Icone::Exclamation, titre,
                  QStringLiteral("Le montant « %1 » n'est pas valide.\n\nInscrivez le montant en "
                                 "cents sur six chiffres au plus (exemple: 001720) ou en dollars "
                                 "(exemple: 17.20), jusqu'à 9999.99 $.")
                      .arg(*reponse));
        proposition = *reponse;
    }
}

QString refusNumero(const char* phrase) {
    return QStringLiteral("ATTENTION...\n\n") + QString::fromUtf8(phrase) +
           QStringLiteral("\nConsulter le support informatique pour de l'aide.");
}

}  // namespace

const FenetreChoix* fenetreChoix(int numero) {
    static const QHash<int, FenetreChoix> fenetres = construireFenetres();
    const auto i = fenetres.constFind(numero);
    return i == fenetres.constEnd() ? nullptr : &*i;
}

std::optional<QString> montantDeplacement(const QString& reponse) {
    const QString t = reponse.trimmed();
    if (t.isEmpty())
        return QStringLiteral("000000");
    static const QRegularExpression cents(QStringLiteral("^[0-9]{1,6}$"));
    static const QRegularExpression dollars(QStringLiteral("^([0-9]*)[.,]([0-9]{0,2})$"));
    if (cents.match(t).hasMatch())
        return t.rightJustified(6, QLatin1Char('0'));
    const auto m = dollars.match(t);
    if (!m.hasMatch() || (m.captured(1).isEmpty() && m.captured(2).isEmpty()))
        return std::nullopt;
    if (m.captured(1).size() > 12)
        return std::nullopt;
    const qint64 valeur = m.captured(1).toLongLong() * 100 +
                          m.captured(2).leftJustified(2, QLatin1Char('0')).toLongLong();
    if (valeur > 999999)
        return std::nullopt;
    return QString::number(valeur).rightJustified(6, QLatin1Char('0'));
}

void appliquerChoix(const FenetreChoix& fenetre, int bouton, ChampsActe& champs, PortDialogue& d) {
    const QStringList boutons = fenetre.boutons();
    if (bouton < 0 || bouton >= boutons.size())
        return;
    const QString& legende = boutons[bouton];
    if (fenetre.legende == QLatin1String("Code d'Acte 9002")) {
        ajouterAuxRenseignements(champs, legende.mid(1), d);
        return;
    }
    if (legende == QLatin1String("Ok"))
        return;
    for (QString& d : champs.diagnostics)
        if (d.isEmpty()) {
            d = legende.left(4);
            return;
        }
}

void AfficherMessage(int MessageNo, int Index, ChampsActe& champs, PortDialogue& d) {
    d.bip();
    switch (MessageNo) {
    case 1:
    case 2:
    case 3: {
        const char* phrases[] = {"Le numéro de l'agence n'est pas valide.",
                                 "Le numéro du professionnel n'est pas valide.",
                                 "Le CODE D'ÉTABLISSEMENT n'est pas valide."};
        d.bip();
        d.message(Icone::Critique, QStringLiteral("Message d'erreur"),
                  refusNumero(phrases[MessageNo - 1]));
        return;
    }
    case 20:
    case 21: saisirDeplacement(MessageNo, Index, champs, d); return;
    case 55:
        d.message(Icone::Information, QStringLiteral("Information"),
                  QStringLiteral("Le 9024 Doit être consécutif à un autre examen.\n9001 - 9002 - "
                                 "9004 - 9022"));
        return;
    case 56:
        d.message(Icone::Information, QStringLiteral("Information"),
                  QStringLiteral("Le 9028 Doit être consécutif à un autre examen.\n9001 - 9004"));
        return;
    default: break;
    }
    if (const FenetreChoix* f = fenetreChoix(MessageNo))
        appliquerChoix(*f, d.choix(*f), champs, d);
}
