#include "entry/dossierpatient.h"

#include "entry/verifications.h"
#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichierbrut.h"
#include "records/champs.h"
#include "records/encodage.h"
#include "records/fichierenregistrements.h"

#include <QtEndian>

namespace dossierpatient {

namespace {

QString champ(const QByteArray& e, facture::Position p) { return Enregistrement(e).lireChamp(p.colonne, p.largeur); }

FichierEnregistrements donnees(const QString& programme) {
    return FichierEnregistrements(cheminDonnees(programme), Longueur);
}

bool estExamen(const QString& acte) {
    static const QStringList examens = {QStringLiteral("09001"), QStringLiteral("09002"),
                                        QStringLiteral("09004"), QStringLiteral("09014")};
    return examens.contains(acte);
}

// The same month and day `annees` years later; 29 February becomes 28 in a year without it.
QDate plusTard(QDate date, int annees) {
    const int annee = date.year() + annees;
    return QDate(annee, date.month(), std::min(date.day(), QDate(annee, date.month(), 1).daysInMonth()));
}

}  // namespace

QString cheminDonnees(const QString& programme) {
    return dossiers::resoudre(programme, QStringLiteral("Patient/KPDBFIL.FIL"));
}

QString cheminIndex(const QString& programme, const QString& nam) {
    const QString n = nam.toUpper();
    const QString debut = n.left(2);
    const bool divise = debut == QLatin1String("LA") || debut == QLatin1String("LE") || debut == QLatin1String("BE");
    const QString nom = (divise ? n.left(3) : debut) + QStringLiteral("KPDB.LEX");
    return dossiers::resoudre(programme, QStringLiteral("Patient/") + n.left(1) + QLatin1Char('/') + nom);
}

std::optional<Fiche> lire(const QString& programme, int numero) {
    const FichierEnregistrements f = donnees(programme);
    if (numero < 1 || numero > f.nombre())
        return std::nullopt;
    return Fiche{numero, f.lire(numero)};
}

std::optional<Fiche> chercher(const QString& programme, const QString& nam) {
    const QString chemin = cheminIndex(programme, nam);
    if (!dossiers::FichierExiste(chemin))
        return std::nullopt;
    const QByteArray index = FichierBrut(chemin, FichierBrut::Mode::Lecture).toutLire();
    const QString n = nam.toUpper();
    const int nombre = donnees(programme).nombre();
    std::optional<Fiche> trouvee;
    for (qsizetype p = 0; p + LongueurIndex <= index.size(); p += LongueurIndex) {
        const QByteArray entree = index.mid(p, LongueurIndex);
        if (!encodage::depuisOctets(entree.left(20)).toUpper().startsWith(n.left(3)) ||
            !encodage::depuisOctets(entree.mid(20, 20)).toUpper().startsWith(n.mid(3, 1)))
            continue;
        const qint32 numero = qFromLittleEndian<qint32>(entree.constData() + 40);
        if (numero < 1 || numero > nombre)
            continue;  // an entry pointing outside the data file
        const auto fiche = lire(programme, numero);
        if (fiche && champ(fiche->enregistrement, Nam).toUpper() == n)
            trouvee = fiche;
    }
    return trouvee;
}

Identite identite(const QByteArray& e) {
    Identite i;
    i.nam = champ(e, Nam);
    i.nom = NettoyerTexte(champ(e, Nom));
    i.prenom = NettoyerTexte(champ(e, Prenom));
    i.naissance = champ(e, Naissance);
    i.masculin = champ(e, Sexe) == QLatin1String("M");
    i.adresse = NettoyerTexte(champ(e, Adresse));
    i.ville = NettoyerTexte(champ(e, Ville));
    i.codePostal = champ(e, CodePostal).remove(QLatin1Char(' '));
    i.sequenceCarte = champ(e, SequenceCarte);
    i.expirationCarte = champ(e, ExpirationCarte);
    return i;
}

QString dernier09001(const QByteArray& e) {
    const QDate d = QDate::fromString(champ(e, Dernier09001), QStringLiteral("yyyyMMdd"));
    return d.isValid() ? d.toString(QStringLiteral("yy/MM/dd")) : QStringLiteral("99/01/01");
}

QByteArray misAJour(const QByteArray& enregistrement, const ValeursFacture& v, const Interrupteurs& i,
                    bool* reporte) {
    Enregistrement e(enregistrement);
    const auto ecrire = [&e](facture::Position p, const QString& valeur) {
        e.ecrireTexte(p.colonne, p.largeur, valeur);
    };
    for (const QString& acte : v.actes)
        if (estExamen(acte)) {
            if (i.ChangerDateRappel)
                ecrire(DernierExamen, v.dateService);
            ecrire(ExpirationCarte, v.expirationCarte);
            ecrire(SequenceCarte, v.sequenceCarte);
            break;
        }
    const bool bes = v.considerations.contains(QLatin1Char('A')) && i.RappelBES2an;
    if (reporte)
        *reporte = false;
    if (v.actes[0] == QLatin1String("09001")) {
        ecrire(Dernier09001, v.dateService);
        const QDate service = QDate::fromString(v.dateService, QStringLiteral("yyyyMMdd"));
        if (reporte)
            *reporte = bes;
        if (i.ChangerDateRappel && service.isValid())
            ecrire(DateRappel, plusTard(service, bes ? 2 : 1 + (i.RappelTOUS2an ? 1 : 0))
                                   .toString(QStringLiteral("yyyyMMdd")));
        QString actes;
        for (const QString& acte : v.actes)
            actes += acte + QLatin1Char(' ');
        ecrire(ActesDernier09001, actes);
    }
    return e.octets();
}

void mettreAJour(const QString& programme, const Fiche& fiche, const ValeursFacture& v,
                 const Interrupteurs& i, PortDialogue& d) {
    // The database belongs to another product: never created here.
    if (!dossiers::FichierExiste(cheminDonnees(programme)))
        throw erreurs::erreur(erreurs::FichierIntrouvable, cheminDonnees(programme));
    FichierEnregistrements f = donnees(programme);
    if (fiche.numero > f.nombre())
        return;
    const QByteArray actuel = f.lire(fiche.numero);
    if (champ(actuel, Nam).toUpper() != v.nam.toUpper())
        return;  // no longer this patient's record
    bool reporte = false;
    const QByteArray nouveau = misAJour(actuel, v, i, &reporte);
    if (!f.remplacer(fiche.numero, actuel, nouveau))
        throw ErreurFichier(erreurs::PermissionRefusee,
                            QStringLiteral("Le dossier du patient a été changé par un autre poste de "
                                           "travail pendant la mise à jour."),
                            f.chemin());
    if (reporte)
        d.message(Icone::Information, QStringLiteral("Message"),
                  QStringLiteral("Cette personne est sur le B.E.S. et sa date de rappel à été "
                                 "reportée deux (2) ans plus tard."));
}

}  // namespace dossierpatient
