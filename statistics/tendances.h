#pragma once
#include "config/configuration.h"
#include "platform/tableur.h"
#include "returns/suivi.h"
#include "statistics/graphiques.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

// "Tendances": the twelve months of a year side by side, the amount each optometrist billed
// each month (as the monthly statistics total it) and, from the follow-up of the sent invoices,
// the amounts refused and paid, each month by the date of service.
namespace tendances {

struct Annee {
    int annee = 0;
    QStringList optometristes;              // name and professional number, as the lists show them
    QList<std::array<qint64, 12>> factures;  // cents, one array per optometrist
    std::array<qint64, 12> refusees{}, payees{};
};

// The optometrists in use of `c`, their year from STA + year + .Dat; the refused and paid
// amounts as the follow-up totals the rows of each month (`suivi` read whole).
Annee lire(const QString& programme, int annee, const Configuration& c, const QList<suivi::Ligne>& suivi);

// The table: "Mois", one column per optometrist, "Refusé", "Payé"; one row per month, then the
// year's totals. Amounts written "#,###.00".
QStringList entetes(const Annee& a);
QList<QStringList> rangees(const Annee& a);
// The same columns for a spreadsheet: the month as text, every other column an amount.
QList<tableur::Colonne> colonnes(const Annee& a);

// The chart of the same figures: a series per optometrist ("Facturé 311111 : Dre Gagnon"), then
// "Refusé" and "Payé".
graphiques::Graphique graphique(const Annee& a);

}  // namespace tendances
