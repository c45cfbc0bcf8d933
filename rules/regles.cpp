#include "rules/regles.h"

#include "entry/verifications.h"
#include "platform/dialogues.h"
#include "records/procedures.h"
#include "rules/catalogue.h"
#include "rules/tabledesprix.h"

namespace {

// The eighteen diagnostics that satisfy 09003 and 09030.
const std::initializer_list<const char*> AmblyopieStrabisme = {
    "0680", "0681", "0683", "0684", "0689", "2507", "3001", "3682", "3683",
    "3780", "3781", "3782", "3783", "3784", "3785", "3786", "3787", "3789"};

void avertirDernier09001(const ChampsActe& champs, PortDialogue& d) {
    const auto jours = joursDepuisDernier09001(champs.dernier09001, champs.dateService);
    if (!jours)
        return;
    const bool bes = champs.surLeBes();
    if (!(*jours < 365 || (bes && *jours < 730)))
        return;
    d.bip();
    d.message(Icone::Exclamation, QStringLiteral("Vérification du dernier 09001"),
              QStringLiteral("ATTENTION...\n\nSelon le Dossier Patient.\n\n") +
                  (bes ? QStringLiteral("Le dernier examen 09001 de ce patient sur le B.E.S. date "
                                        "de moins de 2 ans.")
                       : QStringLiteral("Le dernier examen 09001 de ce patient date de moins de "
                                        "365 jours.")) +
                  QStringLiteral("\n\nDernier 9001: ") + champs.dernier09001);
}

// The wording steps of 09003, 09005 and 09024: append the wording once; the follow-up test
// runs only when the wording was added.
bool ajouterMention(ChampsActe& champs, const QString& mention, PortDialogue& d) {
    if (champs.renseignements.contains(mention))
        return false;
    return ajouterAuxRenseignements(champs, mention + QLatin1Char(' '), d);
}

void offrir09021(ChampsActe& champs, const Configuration& c, PortDialogue& d, QDate aujourdhui) {
    if (champs.nam.size() != 12)
        return;
    QString naissance = champs.nam.mid(4, 6);
    if (naissance[2] == QLatin1Char('6'))
        naissance[2] = QLatin1Char('1');
    else if (naissance[2] == QLatin1Char('5'))
        naissance[2] = QLatin1Char('0');
    const QString age = AgeEnAnnees(naissance, aujourdhui);
    if (age.trimmed().toInt() <= 74 || champs.actes[0] != QLatin1String("09001"))
        return;
    const Reponse r = d.question(Icone::Information, QStringLiteral("Plus de 75 ans"),
                                 QStringLiteral("Inscription automatique du 9021 ?\n\nCar cette "
                                                "personne à ") +
                                     age + QStringLiteral(" ans."),
                                 Boutons::OuiNon, 0);
    if (r != Reponse::Oui)
        return;
    champs.actes[1] = QStringLiteral("09021");
    // The line takes the fee of the code now in its box, as if the box had been left.
    champs.honoraires[1] = PrixDeLActe(c, champs.actes[1]);
}

void calculerMontant(ChampsActe& champs) {
    qint64 somme = 0;
    for (const QString& h : champs.honoraires)
        somme += h.trimmed().toLongLong();
    champs.montant = QString::number(somme / 100.0, 'f', 2);
}

}  // namespace

bool ajouterAuxRenseignements(ChampsActe& champs, const QString& texte, PortDialogue& d) {
    if (champs.renseignements.size() + texte.size() <= LongueurRenseignements) {
        champs.renseignements += texte;
        return true;
    }
    d.bip();
    d.message(Icone::Exclamation, QStringLiteral("Renseignements complémentaires"),
              QStringLiteral("Les renseignements complémentaires ne peuvent pas dépasser %1 "
                             "caractères.\n\nRaccourcissez-les d'au moins %2 caractères pour y "
                             "inscrire la mention obligatoire :\n%3")
                  .arg(LongueurRenseignements)
                  .arg(champs.renseignements.size() + texte.size() - LongueurRenseignements)
                  .arg(texte.trimmed()));
    return false;
}

bool ChampsActe::diagnosticParmi(std::initializer_list<const char*> codes) const {
    for (const QString& d : diagnostics)
        for (const char* c : codes)
            if (d == QLatin1String(c))
                return true;
    return false;
}

bool ChampsActe::acteParmi(std::initializer_list<const char*> codes) const {
    for (const QString& a : actes)
        for (const char* c : codes)
            if (a == QLatin1String(c))
                return true;
    return false;
}

std::optional<qint64> joursDepuisDernier09001(const QString& dernier, const QString& dateService) {
    if (!DateValide(dateService))
        return std::nullopt;
    const QDate service = QDate::fromString(dateService, QStringLiteral("yyyyMMdd"));
    if (!service.isValid() || dernier.size() != 8 || dernier[2] != QLatin1Char('/') ||
        dernier[5] != QLatin1Char('/'))
        return std::nullopt;
    bool ok = false;
    const int aa = dernier.left(2).toInt(&ok);
    if (!ok)
        return std::nullopt;
    const int siecle = 2000 + aa <= service.year() ? 2000 : 1900;
    const QDate examen(siecle + aa, dernier.mid(3, 2).toInt(), dernier.mid(6, 2).toInt());
    if (!examen.isValid())
        return std::nullopt;
    return examen.daysTo(service);
}

void VerifierActe(int Index, ChampsActe& champs, const Configuration& c, PortDialogue& d,
                  QDate aujourdhui) {
    if (Index >= 2 && Index <= 5) {
        const int ligne = ligneDe(Index);
        QString& code = champs.actes[ligne];
        if (code.size() == 4)
            code = QLatin1Char('0') + code;
        champs.honoraires[ligne] = PrixDeLActe(c, code);
        auto est = [&](const char* acte) { return champs.actes[ligne] == QLatin1String(acte); };

        if (est("09001"))
            avertirDernier09001(champs, d);
        if (est("09002") && !champs.renseignements.contains(QLatin1String("PATHOLOGIE")) &&
            !champs.renseignements.contains(QLatin1String("POURSUIVRE")))
            AfficherMessage(22, Index, champs, d);
        if (est("09002") && !champs.diagnosticParmi({"A001", "A002", "A003", "A004"}))
            AfficherMessage(23, Index, champs, d);
        if (est("09003") && ajouterMention(champs, QStringLiteral("HANDICAPE VISUEL"), d) &&
            !champs.diagnosticParmi(AmblyopieStrabisme))
            AfficherMessage(50, Index, champs, d);
        if (est("09005") && ajouterMention(champs, QStringLiteral("DEFICIENCE"), d) &&
            !champs.diagnosticParmi({"0690", "0691", "0692", "0693", "0699"}))
            AfficherMessage(51, Index, champs, d);
        if (est("09008")) {
            if (!champs.diagnosticParmi({"0689", "3681", "3682", "3683", "3780", "3781", "3784", "3787"}))
                AfficherMessage(52, Index, champs, d);
            if (champs.diagnosticParmi({"3784"}) &&
                !champs.diagnosticParmi({"3150", "3675", "3681", "3683", "3788", "3795"}))
                AfficherMessage(61, Index, champs, d);
        }
        if (est("09010") && !champs.diagnosticParmi({"0683", "3688"}))
            AfficherMessage(53, Index, champs, d);
        if (est("09012") &&
            !champs.diagnosticParmi({"0671", "0673", "0675", "0677", "0681", "0683", "0685",
                                     "0686", "2702", "3716", "3717", "3719", "7439"}))
            AfficherMessage(54, Index, champs, d);
        if (est("09015"))
            AfficherMessage(20, Index, champs, d);
        if (est("09016"))
            AfficherMessage(21, Index, champs, d);
        if (est("09024") &&
            ajouterMention(champs, QStringLiteral("BIOMICROSCOPIE ET OU TONOMETRIE"), d) &&
            !champs.acteParmi({"09001", "09002", "09004", "09019", "09020", "09022"}))
            AfficherMessage(55, Index, champs, d);
        if (est("09028") && !champs.acteParmi({"09001", "09004"}))
            AfficherMessage(56, Index, champs, d);
        if (est("09030") && !champs.diagnosticParmi(AmblyopieStrabisme))
            AfficherMessage(57, Index, champs, d);
        if (est("09019") &&
            !champs.diagnosticParmi({"A001", "A002", "A003", "A004", "A005", "A006", "A007", "A008", "A009"}))
            AfficherMessage(62, Index, champs, d);
        if (est("09020") &&
            !champs.diagnosticParmi({"0673", "2504", "2507", "2509", "A010", "A011"}))
            AfficherMessage(63, Index, champs, d);
        if (Index == 2)
            offrir09021(champs, c, d, aujourdhui);
    }
    calculerMontant(champs);
}
