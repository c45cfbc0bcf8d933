#pragma once
#include "records/facture.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

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
    enum class Genre { Texte, Nombre, Lecture };  // Lecture: shown, never written back
    int index;
    QString libelle;
    facture::Position champ;
    Genre genre;
};
const QList<Boite>& boites();

constexpr int BoiteEtat = 0;
constexpr int BoiteTotal = 38;
constexpr int PremierPrix = 33;  // to 36

using Textes = QMap<int, QString>;  // box index -> text

// The boxes' texts of a record: each field whole, trailing blanks removed.
Textes textes(const QByteArray& enregistrement);

// The total box from the four price boxes (Val of each, in cents): six digits with leading
// zeros, the whole sum when it does not fit.
QString total(const Textes& t);

// `enregistrement` with its correctable fields taken from the boxes; every other byte kept.
QByteArray corrige(const QByteArray& enregistrement, const Textes& t);

// What became of a correction or a cancellation, told to the user through the dialog port.
enum class Issue {
    Ecrite,
    Changee,  // the record changed or left Ftmp.Fil since it was shown: nothing written
    Refusee,  // a total that does not fit, a file error: nothing written
};

// Writes the boxes back into invoice `numero`, shown as `affiche`.
Issue corriger(const QString& programme, int numero, const QByteArray& affiche, const Textes& t,
              PortDialogue& d);
// Cancels invoice `numero`, shown as `affiche`; the edits of the boxes are not written.
Issue annuler(const QString& programme, int numero, const QByteArray& affiche, PortDialogue& d);

}  // namespace historique
