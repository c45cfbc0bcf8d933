#include "entry/saisie.h"

#include "platform/dialogues.h"

namespace saisie {

IssueNam apresNam(PatientCourant& patient, const QString& programme, const EcranNam& ecran,
                  const Configuration& configuration, const PatientCourant::Reglages& reglages,
                  bool focusCodeActe, QDate aujourdhui, PortDialogue& d) {
    IssueNam issue;
    issue.chargement = patient.nam(programme, ecran.nam, reglages, d);
    const PatientCourant::Chargement& c = issue.chargement;
    if (!c.deLaFile && !c.parNumeroDeDossier) {
        issue.refus = VerifierStructureNam(ecran.nam);
        if (issue.refus) {
            issue.focus = Focus::Nam;
            return issue;
        }
        if (reglages.UtiliseDossierPatient)
            issue.chargement = patient.namVerifie(programme, ecran.nam, d);
    }
    const std::optional<Identite>& charge = issue.chargement.identite;
    if (!charge && ecran.naissance.trimmed().isEmpty())
        issue.naissanceDuNam = NaissanceDuNam(ecran.nam, configuration, aujourdhui);
    const QString naissance = charge                  ? charge->naissance
                              : issue.naissanceDuNam ? issue.naissanceDuNam->naissance
                                                     : ecran.naissance;
    issue.avertissement = AvertissementAge(naissance, aujourdhui);
    const QString nam = charge ? charge->nam : ecran.nam;
    const QString nom = charge ? charge->nom : ecran.nom;
    if (c.deLaFile || focusCodeActe)
        issue.focus = Focus::PremierActe;
    else if (nam.size() == 12 && !nom.isEmpty())
        issue.focus = Focus::PremierDiagnostic;
    return issue;
}

void annoncer(const IssueNam& issue, PortDialogue& d) {
    if (issue.refus) {
        d.message(Icone::Critique, issue.refus->titre, issue.refus->texte);
        return;
    }
    if (issue.avertissement) {
        d.bip();
        d.message(Icone::Exclamation, issue.avertissement->titre, issue.avertissement->texte);
    }
}

bool acteComplet(const QString& texte, const Configuration& c) {
    if (texte.size() == 5 && texte != QLatin1String("00000"))
        return true;
    for (const EntreePrix& p : c.TableDesPrix)
        if (p.enUsage() && texte == p.code.right(4))
            return true;
    return false;
}

}  // namespace saisie
