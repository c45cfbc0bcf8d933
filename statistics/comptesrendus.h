#pragma once
#include "config/configuration.h"
#include "statistics/graphiques.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

class Page;

// "Compte rendu": how many times one optometrist billed each act code of the fee table, and what
// it is worth, in a file of 723-byte invoices (Ftmp.Fil or a kept billing) or over a year.
namespace comptesrendus {

// The optometrists in use: name, three blanks, professional number.
QStringList optometristes(const Configuration& c);

struct Compte {
    std::array<qint64, Configuration::NombrePrix> nombres{};
    qint64 factures = 0;
    QString premiere, derniere;  // yymmdd of the invoices counted
    void ajouter(const Compte& autre);
};

// The invoices in state "05" of `professionnel` in the file (none when it is missing); with
// `chiffreAnnee` ('x' for none) only those whose attestation number begins with it.
Compte compter(const QString& chemin, const QString& professionnel, QChar chiffreAnnee,
               const Configuration& c);

// The grid: one row per act code of the fee table (code, count, price, total), then the grand
// total; `annuel` writes the grand total without its "$" as the yearly amounts do.
QList<QStringList> grille(const Compte& compte, const Configuration& c, bool annuel = false);
// "Pour la période du yy/mm/dd au yy/mm/dd" (blank dates when nothing was counted).
QString periode(const Compte& compte);

// The chart of the grid: the count and the amount of each act code counted, in the grid's order,
// under `titre`.
graphiques::Graphique graphique(const Compte& compte, const Configuration& c, const QString& titre);
// The title of the chart of a file: "Actes du yy/mm/dd au yy/mm/dd".
QString titreGraphique(const Compte& compte);

// The printed report: title, date, the period and count labels, the grid, the footer.
void imprimer(Page& page, const QString& optometriste, const QDate& aujourdhui, const QString& periode,
              const QString& nombre, const QList<QStringList>& grille);

}  // namespace comptesrendus
