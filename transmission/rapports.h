#pragma once
#include "records/facture.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

struct Configuration;
class Imprimante;
class Page;

// The billing reports: one line per invoice of a file of 723-byte records, in landscape, with
// page headers, the total block, the signature line of the whole report, and the act
// statistics of the per-professional documents.
namespace rapports {

// A printed column: heading and field at an X position in inches.
struct Colonne {
    QString entete;
    double x;
    facture::Position champ;
    enum class Coupe { Aucune, Debut, Fin } coupe = Coupe::Aucune;  // keep the first / last n
    int caracteres = 0;
    bool petit = false;  // 6 points
};
const QList<Colonne>& colonnes();

// The values of a page header.
struct Entete {
    QString titre;
    QString ligne;
    double tailleLigne = 9;
};

// The values of the header line of a report.
struct ValeursLigne {
    QString requete, attestation, premiere, derniere, groupes;
};
QString texteLigne(const ValeursLigne& v);

// The records of a file of invoices (a trailing byte 26 or partial record is ignored).
QList<QByteArray> lireEnregistrements(const QString& chemin);

// Distinct values of a field in order of first appearance.
QStringList distincts(const QList<QByteArray>& enregistrements, facture::Position champ);

// The header of the report of a payment-request file, from its records.
Entete entetePreparation(const QList<QByteArray>& enregistrements, const QString& requete,
                         const QString& attestation);

// The header of a report of another file: `titre` 0 for the preliminary report. Dates are
// printed as given; the line is printed in 10 points.
Entete enteteAutresFichiers(int titre, const QString& premiereDate, const QString& derniereDate,
                            const ValeursLigne& ligne);

void imprimerEntete(Page& page, const Entete& entete);

// The lines, page breaks, total and (with `filtre` 0) signature; `filtre` -1 keeps only the
// invoices of `professionnel`.
void imprimerCorps(Page& page, const QList<QByteArray>& enregistrements, const Entete& entete,
                   int filtre, const QString& professionnel = {});

// Count per act code of the acts of `professionnel`, priced from the fee table.
void imprimerStatistiques(Page& page, const QList<QByteArray>& enregistrements,
                          const QString& professionnel, const Configuration& configuration);

// The whole report of `enregistrements` under `entete`, then one document per professional
// when there are two or more, each with its act statistics when `statistiques` is given;
// `progression` gets the percentage of the documents printed. `nom` names the documents.
void imprimerRapports(Imprimante& imprimante, const QList<QByteArray>& enregistrements,
                      const Entete& entete, const QString& nom,
                      const Configuration* statistiques = nullptr,
                      const std::function<void(int)>& progression = {});

// The whole report of a preparation, then one document per professional when there are two
// or more.
void imprimerRapportsPreparation(Imprimante& imprimante, const QString& cheminDemandes,
                                 const QString& requete, const QString& attestation,
                                 const Configuration& configuration);

}  // namespace rapports
