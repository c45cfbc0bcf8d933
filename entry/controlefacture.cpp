#include "entry/controlefacture.h"

#include "entry/verifications.h"
#include "records/champs.h"

namespace controlefacture {

namespace {

const QString Corrigez = QStringLiteral("\n\nVeuillez corriger la situation.");
const QString TitreCorrection = QStringLiteral("Correction");

QString enClair(const QString& date) {
    return date.left(4) + QLatin1Char('/') + date.mid(4, 2) + QLatin1Char('/') + date.mid(6, 2);
}

Refus caractereIllegal(const QString& contenu, Champ champ, int ligne = 0) {
    return {QStringLiteral("Caractère illégal"),
            QStringLiteral("Le texte suivant %1\ncomporte un caractère illégal.\n\n"
                           "Veuillez corriger la caractère.\n\nLes accents ne sont pas acceptés.")
                .arg(contenu),
            champ, ligne};
}

// The characters of every box, in the order of the entry window: its masked boxes, then its
// text boxes.
std::optional<Refus> caracteres(const ValeursFacture& v) {
    const struct {
        const QString& texte;
        Champ champ;
    } masques[] = {{v.nam, Champ::Nam},
                   {v.naissance, Champ::Naissance},
                   {v.codePostal, Champ::CodePostal},
                   {v.sequenceCarte, Champ::SequenceCarte},
                   {v.expirationCarte, Champ::ExpirationCarte},
                   {v.dateService, Champ::DateService}};
    for (const auto& m : masques)
        if (!CaracteresValides(m.texte))
            return caractereIllegal(m.texte, m.champ);
    for (int i = 0; i < facture::NombreLignes; ++i)
        if (!CaracteresValides(v.diagnostics[i]))
            return caractereIllegal(v.diagnostics[i], Champ::Diagnostic, i);
    const struct {
        const QString& texte;
        Champ champ;
    } textes[] = {{v.nom, Champ::Nom},           {v.prenom, Champ::Prenom},
                  {v.adresse, Champ::Adresse},   {v.ville, Champ::Ville},
                  {v.renseignements, Champ::Renseignements}, {v.considerations, Champ::Considerations}};
    for (const auto& t : textes)
        if (!CaracteresValides(t.texte))
            return caractereIllegal(t.texte, t.champ);
    return std::nullopt;
}

// What a correction writes into fields the entry window masks: the postal code's letters and
// digits, the card numbers and birth date in digits no longer than their field.
std::optional<Refus> formesDesChamps(const ValeursFacture& v) {
    const struct {
        const QString& texte;
        int largeur;
        const char* nom;
        Champ champ;
    } champsNumeriques[] = {{v.sequenceCarte, facture::SequenceCarte.largeur, "la séquence de la carte", Champ::SequenceCarte},
                            {v.expirationCarte, facture::ExpirationCarte.largeur, "l'expiration de la carte", Champ::ExpirationCarte},
                            {v.naissance, facture::Naissance.largeur, "la date de naissance", Champ::Naissance}};
    // The entry window's mask "?#? #?#": letters and digits in turn, so far as it is filled.
    const QString cp = QString(v.codePostal).remove(QLatin1Char(' '));
    bool forme = cp.size() <= facture::CodePostal.largeur;
    for (int i = 0; forme && i < cp.size(); ++i)
        forme = i % 2 == 0 ? cp.at(i) >= QLatin1Char('A') && cp.at(i) <= QLatin1Char('Z')
                           : cp.at(i) >= QLatin1Char('0') && cp.at(i) <= QLatin1Char('9');
    if (!forme)
        return Refus{TitreCorrection,
                     QStringLiteral("Le code postal « %1 » n'est pas valide.\n\nInscrivez une lettre, un chiffre, une "
                                    "lettre, un chiffre, une lettre et un chiffre (exemple: H2X1Y4).")
                         .arg(v.codePostal),
                     Champ::CodePostal};
    for (const auto& n : champsNumeriques)
        if (!champs::queDesChiffres(n.texte) || n.texte.size() > n.largeur)
            return Refus{TitreCorrection,
                         QStringLiteral("La valeur « %1 » de %2 n'est pas valide.\n\nInscrivez au plus %3 "
                                        "chiffres.")
                             .arg(n.texte, QString::fromUtf8(n.nom))
                             .arg(n.largeur),
                         n.champ};
    return std::nullopt;
}

std::optional<Refus> numeroDeLaClinique(const QString& texte, int largeur, const char* nom, Champ champ) {
    if (champs::chiffres(texte, largeur) && (champ != Champ::Professionnel || texte != QLatin1String("000000")))
        return std::nullopt;
    return Refus{TitreCorrection,
                 QStringLiteral("Le %1 « %2 » n'est pas valide.\n\nIl doit être composé de %3 chiffres.")
                     .arg(QString::fromUtf8(nom), texte)
                     .arg(largeur),
                 champ};
}

std::optional<Refus> honoraires(const ValeursFacture& v) {
    const auto refus = [](int i, const char* modele, const QString& prix) {
        return Refus{TitreCorrection, QString::fromUtf8(modele).arg(i + 1).arg(prix), Champ::Honoraire, i};
    };
    for (int i = 0; i < facture::NombreLignes; ++i) {
        const QString& h = v.honoraires[i];
        if (!champs::chiffres(h, facture::honoraire(1).largeur))
            return refus(i, "Le prix #%1 « %2 » n'est pas valide.\n\nIl doit être composé de six chiffres, en "
                            "cents et sans point (exemple: 19.00$ = 001900).", h);
        if (codeActe(v.actes[i]).isEmpty() && champs::valeur(h) != 0)
            return refus(i, "Le prix #%1 (%2) n'a pas de code d'acte sur sa ligne.\n\nInscrivez le code d'acte, "
                            "ou 000000 comme prix.", h);
    }
    return std::nullopt;
}

std::optional<Refus> total(const ValeursFacture& v) {
    const qint64 t = facture::total(v);
    if (t <= facture::TotalMaximal)
        return std::nullopt;
    return Refus{QStringLiteral("Montant de la facture"),
                 QStringLiteral("Le montant de la facture (%1 $) dépasse le plus grand montant qu'une "
                                "facture peut porter (9 999.99 $).\n\nVérifiez les honoraires des codes "
                                "d'acte.")
                     .arg(QString::number(t / 100.0, 'f', 2)),
                 Champ::Honoraire, 0};
}

// The checks of the entry window's store, steps 4 to 8: NAM (a cancelled invoice has none),
// date of service, diagnostics, acts.
std::optional<Refus> regles(const ValeursFacture& v, const Configuration& c, QDate aujourdhui, bool annulee) {
    if (!annulee && (!NamBienForme(v.nam) || !NamValide(v.nam, c, aujourdhui.year())))
        return Refus{QStringLiteral("Caractère illégal"),
                     QStringLiteral("Le numéro d'assurance maladie %1\nn'est pas valide.").arg(v.nam) + Corrigez,
                     Champ::Nam};
    const QString& date = v.dateService;
    if (!DateValide(date))
        return Refus{QStringLiteral("Date invalide"),
                     QStringLiteral("La date de service %1\nn'est pas valide.").arg(enClair(date)) + Corrigez,
                     Champ::DateService};
    if (date > aujourdhui.toString(QStringLiteral("yyyyMMdd")))
        return Refus{QStringLiteral("Date invalide"),
                     QStringLiteral("La date de service %1\nest supérieur à la date d'aujourd'hui.").arg(enClair(date)) +
                         Corrigez,
                     Champ::DateService};
    for (int i = 0; i < facture::NombreLignes; ++i)
        if (!DiagnosticValide(v.diagnostics[i]))
            return Refus{QStringLiteral("Code de diagnostique"),
                         QStringLiteral("Le code de diagnostique %1\nn'est pas valide.").arg(v.diagnostics[i]) +
                             Corrigez,
                         Champ::Diagnostic, i};
    for (int i = 0; i < facture::NombreLignes; ++i)
        if (CodeActeInvalide(codeActe(v.actes[i]), i + 2, c))
            return Refus{QStringLiteral("Code d'acte"),
                         QStringLiteral("Le code d'acte %1\nn'est pas valide.").arg(v.actes[i]) + Corrigez,
                         Champ::Acte, i};
    return std::nullopt;
}

}  // namespace

QString codeActe(const QString& texte) {
    const QString t = texte.trimmed();
    return t == QLatin1String("00000") ? QString() : t;
}

std::optional<Refus> verifier(const ValeursFacture& v, const Configuration& c, QDate aujourdhui, Genre genre) {
    const bool correction = genre == Genre::Correction;
    if (correction && v.etat != facture::EtatAEnvoyer && v.etat != facture::EtatAnnule)
        return Refus{TitreCorrection,
                     QStringLiteral("L'état « %1 » n'est pas valide.\n\nInscrivez 05 pour une facture à envoyer ou "
                                    "99 pour une facture annulée.")
                         .arg(v.etat),
                     Champ::Etat};
    if (auto r = caracteres(v))
        return r;
    const bool annulee = correction && v.etat == facture::EtatAnnule;
    if (auto r = regles(v, c, aujourdhui, annulee))
        return r;
    if (correction) {
        if (auto r = formesDesChamps(v))
            return r;
        if (auto r = honoraires(v))
            return r;
        for (const auto& [texte, largeur, nom, champ] :
             {std::tuple{v.professionnel, 6, "numéro du professionnel", Champ::Professionnel},
              std::tuple{v.groupe, 5, "numéro de groupe", Champ::Groupe},
              std::tuple{v.etablissement, 5, "numéro d'établissement", Champ::Etablissement}})
            if (auto r = numeroDeLaClinique(texte, largeur, nom, champ))
                return r;
    } else {
        // The number of the optometrist billed: never the "000000" of a slot not in use.
        if (v.professionnel.isEmpty() || v.professionnel == QLatin1String("000000"))
            return Refus{QStringLiteral("Optométriste"),
                         QStringLiteral("Aucun optométriste n'est choisi pour cette facture.\n\nInscrivez le nom "
                                        "et le numéro de professionnel de vos optométristes dans FICHIER, puis "
                                        "INITIALISATION."),
                         Champ::Professionnel};
    }
    return total(v);
}

}  // namespace controlefacture
