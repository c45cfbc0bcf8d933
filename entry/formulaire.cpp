#include "entry/formulaire.h"

#include "entry/verifications.h"

ValeursFacture Formulaire::valeurs() const {
    ValeursFacture v;
    v.nam = masques[masque::Nam];
    v.naissance = masques[masque::Naissance];
    v.codePostal = masques[masque::CodePostal];
    v.sequenceCarte = masques[masque::SequenceCarte];
    v.expirationCarte = masques[masque::ExpirationCarte];
    v.dateService = masques[masque::DateService];
    for (int i = 0; i < 4; ++i) {
        v.diagnostics[i] = masques[masque::PremierDiagnostic + i];
        v.actes[i] = actes[i];
        v.honoraires[i] = honoraires[i];
    }
    v.nom = textes[texte::Nom];
    v.prenom = textes[texte::Prenom];
    v.adresse = textes[texte::Adresse];
    v.ville = textes[texte::Ville];
    v.renseignements = textes[texte::Renseignements];
    v.considerations = textes[texte::Considerations];
    v.masculin = masculin;
    v.professionnel = panneaux[1];
    v.agence = panneaux[2];
    v.etablissement = panneaux[3];
    v.groupe = panneaux[4];
    return v;
}

namespace {

const QString Corrigez = QStringLiteral("\n\nVeuillez corriger la situation.");

QString enClair(const QString& date) {
    return date.left(4) + QLatin1Char('/') + date.mid(4, 2) + QLatin1Char('/') + date.mid(6, 2);
}

Refus caractereIllegal(const QString& contenu, Controle c) {
    return {QStringLiteral("Caractère illégal"),
            QStringLiteral("Le texte suivant %1\ncomporte un caractère illégal.\n\n"
                           "Veuillez corriger la caractère.\n\nLes accents ne sont pas acceptés.")
                .arg(contenu),
            c};
}

}  // namespace

std::optional<Refus> VerifierFormulaire(const Formulaire& f, const Configuration& c,
                                        QDate aujourdhui) {
    using G = Controle::Genre;
    for (int i = 0; i < static_cast<int>(f.masques.size()); ++i)
        if (!CaracteresValides(f.masques[i]))
            return caractereIllegal(f.masques[i], {G::Masque, i});
    for (int i = 0; i < static_cast<int>(f.textes.size()); ++i)
        if (!CaracteresValides(f.textes[i]))
            return caractereIllegal(f.textes[i], {G::Texte, i});

    const QString& nam = f.masques[masque::Nam];
    if (!NamValide(nam, c, aujourdhui.year()))
        return Refus{QStringLiteral("Caractère illégal"),
                     QStringLiteral("Le numéro d'assurance maladie %1\nn'est pas valide.").arg(nam) +
                         Corrigez,
                     {G::Masque, masque::Nam}};

    const QString& date = f.masques[masque::DateService];
    if (!DateValide(date))
        return Refus{QStringLiteral("Date invalide"),
                     QStringLiteral("La date de service %1\nn'est pas valide.").arg(enClair(date)) +
                         Corrigez,
                     {G::Masque, masque::DateService}};
    if (date > aujourdhui.toString(QStringLiteral("yyyyMMdd")))
        return Refus{QStringLiteral("Date invalide"),
                     QStringLiteral("La date de service %1\nest supérieur à la date d'aujourd'hui.")
                             .arg(enClair(date)) +
                         Corrigez,
                     {G::Masque, masque::DateService}};

    for (int i = 0; i < 4; ++i) {
        const QString& d = f.masques[masque::PremierDiagnostic + i];
        if (!DiagnosticValide(d))
            return Refus{QStringLiteral("Code de diagnostique"),
                         QStringLiteral("Le code de diagnostique %1\nn'est pas valide.").arg(d) +
                             Corrigez,
                         {G::Masque, masque::PremierDiagnostic + i}};
    }
    for (int i = 0; i < 4; ++i)
        if (CodeActeInvalide(f.actes[i], i + 2, c))
            return Refus{QStringLiteral("Code d'acte"),
                         QStringLiteral("Le code d'acte %1\nn'est pas valide.").arg(f.actes[i]) +
                             Corrigez,
                         {G::Acte, i + 2}};

    // The number of the optometrist billed: never the "000000" of a slot not in use.
    const QString& professionnel = f.panneaux[1];
    if (professionnel.isEmpty() || professionnel == QLatin1String("000000"))
        return Refus{QStringLiteral("Optométriste"),
                     QStringLiteral("Aucun optométriste n'est choisi pour cette facture.\n\n"
                                    "Inscrivez le nom et le numéro de professionnel de vos "
                                    "optométristes dans FICHIER, puis INITIALISATION."),
                     {G::Acte, 0}};
    const qint64 total = facture::total(f.valeurs());
    if (total > facture::TotalMaximal)
        return Refus{QStringLiteral("Montant de la facture"),
                     QStringLiteral("Le montant de la facture (%1 $) dépasse le plus grand montant "
                                    "qu'une facture peut porter (9 999.99 $).\n\nVérifiez les "
                                    "honoraires des codes d'acte.")
                         .arg(QString::number(total / 100.0, 'f', 2)),
                     {G::Acte, 2}};
    return std::nullopt;
}
