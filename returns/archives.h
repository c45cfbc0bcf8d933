#pragma once
#include "records/facture.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class Imprimante;
class PortDialogue;

// The kept payment-request files of Sauvramq ("D" + agency + sequence) and the invoices they
// hold: their listing, the search of one patient across them, the reprint of their report, and
// the return of one of them to Ftmp.Fil.
namespace archives {

// The names of the kept payment-request files, sorted: "D" + seven digits, case ignored.
QStringList fichiersConserves(const QString& programme);

// One row of the list of kept files.
struct Conserve {
    QString nom;
    QString periode;  // "Du yy/mm/dd au yy/mm/dd" over the invoices; blank when none
    int nombre = 0;   // invoices (records in state "05")
};
Conserve resumer(const QString& programme, const QString& nom);

// The invoices shown in the window: records in state "05" with their numbers in their file.
struct Factures {
    enum class Source { EnMemoire, Conserve, Recherche } source = Source::EnMemoire;
    QString nom;  // the kept file's name for Source::Conserve
    QList<QByteArray> enregistrements;
    QList<int> numeros;
    void ajouter(QByteArrayView enregistrement, int numero);
};

Factures enMemoire(const QString& programme);
Factures conserve(const QString& programme, const QString& nom);

// The columns of the invoice list: "Numéro", then one whole field of the record per column.
QStringList entetes();
QStringList rangee(const QByteArray& enregistrement, int numero);

// Every invoice of `nam` in the kept files `noms`, file by file; `progression` gets the
// percentage of the files read.
Factures rechercher(const QString& programme, const QStringList& noms, const QString& nam,
                    const std::function<void(int)>& progression = {});

// The search as the window asks it: the NAM asked for, upper-cased, refused unless it has 12
// characters (with its message), then the search; false when refused.
bool demanderEtRechercher(const QString& programme, const QStringList& noms, PortDialogue& d,
                          Factures& resultat, const std::function<void(int)>& progression = {});

// Puts the kept file `nom` back in Ftmp.Fil when no invoice is in memory; refusals, failures
// and the confirmation are told through `d`. True when done.
bool remettre(const QString& programme, const QString& nom, PortDialogue& d);

// The billing report of `f` in the order given, then one document per professional when they
// are two or more; `progression` gets the percentage of the documents printed. False (and
// the failure told) when a document could not be printed.
bool imprimer(Imprimante& imprimante, const Factures& f, PortDialogue& d,
              const std::function<void(int)>& progression = {});

}  // namespace archives
