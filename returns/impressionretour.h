#pragma once
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <functional>

class Imprimante;
class Page;
class PortDialogue;

// The printing of a return file, record by record, on the current printer: the error return
// here; the statement of account adds its records to the same table.
namespace impressionretour {

// What one print carries from record to record.
struct Etat {
    QDate aujourdhui;
    bool entetesErreurs = false;  // the headings of the error lines are printed
    bool finDocument = false;     // the record closed the document
};

// Prints one record from the current position.
using Bloc = std::function<void(Page&, const QByteArray& enregistrement, Etat&)>;
struct Enregistrement {
    QByteArray code;  // the record's first characters
    Bloc bloc;
};
// The records of an error return.
const QList<Enregistrement>& enregistrementsErreur();

// The picture printed at the head of a return.
inline const QString Picture1 = QStringLiteral(":/retours/Picture1.png");

// Prints `chemin` (a path ending in "rmq") on `imprimante`. True once the whole file is printed
// and sent; otherwise the user is told why and nothing unfinished reaches the printer.
bool ImprimerRetour(const QString& chemin, Imprimante& imprimante, PortDialogue& dialogues);

// The print of a fetched return (the row `rangee` of the fetch list): the file of the work
// folder is printed, filed in Sauvramq, then deleted from the work folder; `deplace` runs once
// it is moved, before the user is told. Nothing moves unless the print was complete.
bool imprimerEtArchiver(const QString& programme, const QString& rangee, Imprimante& imprimante,
                        PortDialogue& dialogues, const std::function<void()>& deplace);

}  // namespace impressionretour
