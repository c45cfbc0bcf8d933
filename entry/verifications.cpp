#include "entry/verifications.h"

#include "records/champs.h"

namespace {

const QString Permis = QStringLiteral(" -0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");

bool entre(QChar c, char bas, char haut) {
    return c >= QLatin1Char(bas) && c <= QLatin1Char(haut);
}

// The 14-character control text of the check digit with century `siecle`.
QString texteDeControle(const QString& nam, const QString& siecle) {
    const QString mois = nam.mid(6, 2);
    const int valeurMois = mois.toInt();
    const QString sexe = mois > QLatin1String("50") ? QStringLiteral("F") : QStringLiteral("M");
    const QString moisReel =
        valeurMois < 50 ? mois : QStringLiteral("%1").arg(valeurMois - 50, 2, 10, QLatin1Char('0'));
    return nam.left(4) + siecle + nam.mid(4, 2) + sexe + moisReel + nam.mid(8, 3);
}

bool chiffreDeControleCorrect(const QString& nam, const QString& siecle, const Configuration& c) {
    const QString controle = texteDeControle(nam, siecle);
    // 128 bits: fourteen products of configured 32-bit values never overflow.
    __int128 somme = 0;
    for (int i = 0; i < controle.size() && i < Configuration::NombrePoids; ++i) {
        const int code = controle.at(i).unicode();
        if (code >= 48 && code <= 90)
            somme += static_cast<__int128>(c.PoidsNAM[i]) * c.ValeursCaracteres[code - 48];
    }
    const int dernierChiffre = static_cast<int>((somme < 0 ? -somme : somme) % 10);
    return QString::number(dernierChiffre) == nam.mid(11, 1);
}

}  // namespace

bool CaracteresValides(const QString& texte) {
    for (const QChar c : texte)
        if (!Permis.contains(c))
            return false;
    return true;
}

bool QueDesChiffres(const QString& texte) { return champs::queDesChiffres(texte); }

QString NettoyerTexte(const QString& texte) {
    QString r;
    r.reserve(texte.size());
    for (const QChar c : texte) {
        const QString base = c.decomposition();
        if (c == QLatin1Char(',') || c == QLatin1Char('\'') || c == QLatin1Char('#') || c == QLatin1Char('.'))
            r += QLatin1Char(' ');
        else if (c == QChar(0x0152) || c == QChar(0x00C6))  // Œ, Æ
            r += c == QChar(0x0152) ? QLatin1String("OE") : QLatin1String("AE");
        else if (c.decompositionTag() == QChar::Canonical && !base.isEmpty() && base.at(0).unicode() < 0x80)
            r += base.at(0);  // a letter with its accent: the letter ("É", "Ô", "Ç")
        else
            r += c;
    }
    return r;
}

bool NamValide(const QString& nam, const Configuration& c, int annee) {
    if (nam.size() < 12)
        return false;
    const QString aa = nam.mid(4, 2);
    const QString anneeCourante = QStringLiteral("%1").arg(annee % 100, 2, 10, QLatin1Char('0'));
    const QString siecle = (aa >= QLatin1String("00") && aa <= anneeCourante) ? QStringLiteral("20")
                                                                                : QStringLiteral("19");
    if (chiffreDeControleCorrect(nam, siecle, c))
        return true;
    return chiffreDeControleCorrect(nam, QStringLiteral("19"), c);
}

bool DateValide(const QString& date) {
    if (date.size() != 8 || date.contains(QLatin1Char(' ')))
        return false;
    const QString annee = date.left(4), mois = date.mid(4, 2), jour = date.mid(6, 2);
    return annee >= QLatin1String("1800") && annee <= QLatin1String("2099") &&
           mois >= QLatin1String("01") && mois <= QLatin1String("12") &&
           jour >= QLatin1String("01") && jour <= QLatin1String("31");
}

bool DiagnosticValide(const QString& code) {
    if (code.isEmpty())
        return true;
    return code.size() == 4 && QStringLiteral("AV1234567890").contains(code.at(0)) &&
           champs::queDesChiffres(code.mid(1));
}

bool NamBienForme(const QString& nam) {
    if (nam.size() != 12 || VerifierStructureNam(nam) || QueDesChiffres(nam))
        return false;
    const int mois = nam.mid(6, 2).toInt();
    return (mois >= 1 && mois <= 12) || (mois >= 51 && mois <= 62);
}

std::optional<NaissanceNam> NaissanceDuNam(const QString& nam, const Configuration& c, QDate aujourdhui) {
    if (!NamBienForme(nam))
        return std::nullopt;
    const int aa = nam.mid(4, 2).toInt(), mm = nam.mid(6, 2).toInt(), jj = nam.mid(8, 2).toInt();
    const bool femme = mm > 50;
    const QDate au20(2000 + aa, femme ? mm - 50 : mm, jj), au19(1900 + aa, femme ? mm - 50 : mm, jj);
    // A birth is never after today; of the two centuries left, the one the check digit validates,
    // else the later one.
    const bool passe20 = au20.isValid() && au20 <= aujourdhui, passe19 = au19.isValid() && au19 <= aujourdhui;
    if (!passe19 && !passe20)
        return std::nullopt;
    const bool valide19 = passe19 && chiffreDeControleCorrect(nam, QStringLiteral("19"), c);
    const bool valide20 = passe20 && chiffreDeControleCorrect(nam, QStringLiteral("20"), c);
    const QDate date = valide19 != valide20 ? (valide20 ? au20 : au19) : (passe20 ? au20 : au19);
    return NaissanceNam{date.toString(QStringLiteral("yyyyMMdd")), !femme};
}

namespace {
QString sexeEtNaissance(bool masculin, const QString& naissance) {
    const QDate date = QDate::fromString(naissance, QStringLiteral("yyyyMMdd"));
    return QStringLiteral("sexe %1, date de naissance %2")
        .arg(masculin ? QStringLiteral("masculin") : QStringLiteral("féminin"),
             date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QStringLiteral("non inscrite"));
}
}  // namespace

std::optional<MessageVerification> DesaccordAvecLeNam(const QString& nam, const QString& naissance, bool masculin,
                                                      const Configuration& c, QDate aujourdhui) {
    const auto n = NaissanceDuNam(nam, c, aujourdhui);
    if (!n)
        return std::nullopt;
    const QString tapee = naissance.trimmed();
    const bool dateDiffere = !tapee.isEmpty() && tapee.mid(2) != n->naissance.mid(2);
    if (!dateDiffere && masculin == n->masculin)
        return std::nullopt;
    return MessageVerification{
        QStringLiteral("Date de naissance et sexe"),
        QStringLiteral("La date de naissance ou le sexe inscrit ne correspond pas au numéro d'assurance maladie.\n\n"
                       "Selon le NAM %1 : %2.\nInscrit : %3.\n\nEnregistrer la facture quand même ?")
            .arg(nam, sexeEtNaissance(n->masculin, n->naissance), sexeEtNaissance(masculin, tapee))};
}

bool CodeActeInvalide(const QString& code, int index, const Configuration& c) {
    if (code.isEmpty() && index > 2)
        return false;
    for (const EntreePrix& p : c.TableDesPrix)
        if (p.enUsage() && p.code == code)
            return false;
    return true;
}

std::optional<MessageVerification> VerifierStructureNam(const QString& nam) {
    if (QueDesChiffres(nam))
        return std::nullopt;
    if (nam.size() < 12)
        return MessageVerification{QStringLiteral("Saisie du numéro de l'assurance maladie"),
                                   QStringLiteral("Numéro d'assurance maladie incomplet.")};
    for (int i = 0; i < 12; ++i) {
        const bool correct = i < 4 ? entre(nam.at(i), 'A', 'Z') : entre(nam.at(i), '0', '9');
        if (!correct)
            return MessageVerification{QStringLiteral("Saisie du numéro"),
                                       QStringLiteral("Numéro de l'assurance maladie invalide.")};
    }
    return std::nullopt;
}

std::optional<MessageVerification> AvertissementAge(const QString& naissance, QDate aujourdhui) {
    if (naissance <= QLatin1String("18000101"))
        return std::nullopt;
    const QDate date = QDate::fromString(naissance, QStringLiteral("yyyyMMdd"));
    if (!date.isValid())
        return std::nullopt;
    const qint64 jours = date.daysTo(aujourdhui);
    const qint64 age = qRound64(static_cast<double>(jours) / 365.25);
    if (age <= 18 || age >= 65)
        return std::nullopt;
    return MessageVerification{
        QStringLiteral("Assurance"),
        QStringLiteral("ATTENTION...\n\nCette personne a  %1 ans.\n\nSi cette personne ne détient "
                       "pas un carnet de réclamation valide de la sécurité du revenu, les services "
                       "ne sont pas assurés par la RAMQ.")
            .arg(age)};
}
