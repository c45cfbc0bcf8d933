#pragma once
#include "config/configuration.h"
#include "entry/controlefacture.h"
#include "records/facture.h"

#include <QDate>
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

class PortDialogue;

// The correction of the invoices in memory, one at a time: each field of the record in a box
// of its own (by the box's index), written back into the same record.
namespace historique {

// Shown the first time the correction window is asked for after the program started.
inline const QString Avertissement = QStringLiteral(
    "Attention !!!\n\nUne facture ne peut pas être effacée, elle peut seulement être annulée ou "
    "corrigée.\nCorrigez uniquement où il y à erreur.\nNe pas remplacer les 000000 par des espaces.\n"
    "---------------------------------------------------------------------\nIl y a peu de "
    "vérification en correction.  Travaillez PRUDEMMENT.");

struct Boite {
    // Texte: letters and digits; Nombre: digits only; Lecture: shown, never written back.
    enum class Genre { Texte, Nombre, Lecture };
    int index;
    QString libelle;
    facture::Position champ;
    Genre genre;
    std::optional<controlefacture::Champ> verifie = {};  // the field a refusal names, with its line
    int ligne = 0;
};
const QList<Boite>& boites();

constexpr int BoiteEtat = 0;
constexpr int BoiteTotal = 38;
constexpr int PremierPrix = 33;  // to 36

using Textes = QMap<int, QString>;  // box index -> text

// The boxes' texts of a record: each field whole, trailing blanks removed.
Textes textes(const QByteArray& enregistrement);

// The total box from the four price boxes (Val of each, in cents): six digits with leading
// zeros, the whole sum when it does not fit (the box shows it whole; the correction refuses it).
QString total(const Textes& t);

// The invoice the boxes describe, on the record shown: the agency, attestation and invoice
// numbers stay the record's; the date of service (yymmdd in its box) as yyyymmdd.
ValeursFacture valeurs(const QByteArray& enregistrement, const Textes& t);

// True when a box that is written back holds other than the record shown.
bool modifiee(const QByteArray& affiche, const Textes& t);
// Changes of invoice `numero` not written: whether the user leaves them (a question, Cancel the
// default).
bool abandonnerChangements(int numero, PortDialogue& d);

// The box that shows the field a refusal names.
int boiteDe(const controlefacture::Refus& r);

// What became of a correction or a cancellation, told to the user through the dialog port.
enum class Issue {
    Ecrite,
    Changee,  // the record changed or left Ftmp.Fil since it was shown: nothing written
    Refusee,  // a field refused, a file error: nothing written
};
struct Resultat {
    Issue issue;
    int boite = -1;  // the box of the field refused, for the focus
};

// Writes the boxes back into invoice `numero`, shown as `affiche`, once they pass the checks of
// a new invoice (with the configuration's NAM tables and fee table, as of `aujourdhui`).
Resultat corriger(const QString& programme, int numero, const QByteArray& affiche, const Textes& t,
                  const Configuration& c, QDate aujourdhui, PortDialogue& d);
// Cancels invoice `numero`, shown as `affiche`, after a question (Cancel the default); the edits
// of the boxes are not written.
Issue annuler(const QString& programme, int numero, const QByteArray& affiche, PortDialogue& d);

}  // namespace historique
