#pragma once
#include "config/configuration.h"
#include "platform/courriel.h"
#include "platform/tableur.h"
#include "statistics/graphiques.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

class MagasinReglages;
class Page;
class PortDialogue;

// The monthly statistics of one optometrist, read from the annual statistics file
// Sauvramq/STA + year + .Dat (97-byte records): the invoices of the month, their counts and
// amounts, the summary by day, printed or mailed.
namespace statmensuelle {

// The choice lists: the optometrists in use (name, `separateur`, professional number), the
// years from five before `aujourdhui` to two after, the month names.
QStringList optometristes(const Configuration& c, const QString& separateur = QStringLiteral(" "));
QStringList annees(QDate aujourdhui);
QStringList mois();

// One invoice of the month, as stored.
struct Ligne {
    QString date, etablissement, nam;
    std::array<QString, 4> actes, honoraires;
    bool refacturation = false;
};

// Counts and amounts of ordinary invoices or of re-billings, priced from the fee table.
struct Compteurs {
    qint64 factures = 0, actes = 0, total = 0;
    std::array<qint64, Configuration::NombrePrix> nombres{}, montants{};
};

struct Mois {
    QList<Ligne> lignes;
    Compteurs ordinaires, refacturations;
    std::array<qint64, 32> facturesParJour{}, montantParJour{};  // days 1 to 31, re-billings left out
    qint64 factures() const;  // of the days
    qint64 montant() const;
};

// The month `mois` (1 to 12) of `annee` for the professional number `professionnel`; a year with
// no statistics file is an empty month (no file is created). `progression` gets the percentage read.
Mois lire(const QString& programme, const QString& professionnel, int annee, int mois,
          const Configuration& c, const std::function<void(int)>& progression = {});

// The amount billed each day of the month `mois` of `annee` (1 to its last day), as the summary
// by day totals it: re-billings left out, acts priced from the fee table.
graphiques::Graphique graphique(const Mois& m, int annee, int mois);

// The amount billed each month of `annee` by each professional number, as `lire` totals each
// month (Mois::montant()), the year's file read once. A year with no file is none.
QHash<QString, std::array<qint64, 12>> montantsParMois(const QString& programme, int annee, const Configuration& c);

// The twelve columns of the list, and the list itself: the invoices, then the summary rows.
QList<tableur::Colonne> colonnes();
QList<QStringList> rangees(const Mois& m, const Configuration& c);

// The four header lines of the printed and mailed reports.
struct Entete {
    QString agence, etablissement, periode, optometriste;
    QStringList lignes() const;
};

// The summary by day as text lines: title, blank line, header, headings, days, rule, totals.
QStringList sommaire(const Mois& m, const Entete& e);
void imprimerSommaire(Page& page, const Mois& m, const Entete& e);
// The detailed list: the rows as they stand in the list, dates written with slashes.
void imprimerListe(Page& page, const QList<QStringList>& rangees, const Entete& e);

Courriel courriel(const Mois& m, const Entete& e, const QString& serveur, const QString& expediteur,
                  const QString& destinataire);
// Asks the recipient (saved back to "xxDestinataire"), then mails the summary through the
// server of the settings on a worker thread; the outcome is told through `d`. True when sent.
bool envoyer(const Mois& m, const Entete& e, MagasinReglages& utilisateur, PortDialogue& d);

}  // namespace statmensuelle
