#pragma once
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class Imprimante;
class Page;
class PortDialogue;

// The printing of a return file, record by record, on the current printer: the error return
// here; the statement of account adds its records to the same table.
namespace impressionretour {

// One explanatory message of MessagesExplicatifs.txt, marked when a detail line uses it.
struct MessageExplicatif {
    QString code, texte;
    bool utilise = false;
};

// The explanatory messages: code and text fields, separated by commas or line ends, each plain
// or in double quotes, read pairwise; a lone last code gets an empty text.
QList<MessageExplicatif> lireMessages(const QByteArray& contenu);
// The messages of the program folder; the user is told when the file is missing (none then).
QList<MessageExplicatif> chargerMessages(const QString& programme, PortDialogue& dialogues);

// What one print carries from record to record.
struct Etat {
    QDate aujourdhui;
    bool entetesErreurs = false;  // the headings of the error lines are printed
    bool finDocument = false;     // the record closed the document
    bool enteteDetails = false;   // the legend and headings of the detail lines are printed
    bool enteteMessages = false;  // "MESSAGE EXPLICATIF" is printed
    QList<MessageExplicatif> messages;
};

// Prints one record from the current position.
using Bloc = std::function<void(Page&, const QByteArray& enregistrement, Etat&)>;
struct Enregistrement {
    QByteArray code;  // the record's first characters
    Bloc bloc;
};
// The records of an error return, and of a statement of account (after its " 16"/" 17" prefix).
const QList<Enregistrement>& enregistrementsErreur();
const QList<Enregistrement>& enregistrementsEtat();

// An amount in cents as "$ #,###.00", right-justified in `largeur` characters, widened rather
// than cut when longer.
QString argent(qint64 cents, int largeur = 10);
// A message text in pieces of about 100 characters: each ends at the first blank at or after its
// 100th character, else at the 100th. Nothing is dropped.
QStringList morceaux(const QString& texte);

// The picture printed at the head of a return.
inline const QString Picture1 = QStringLiteral(":/retours/Picture1.png");

// Prints `chemin` (a path ending in "rmq") on `imprimante`. True once the whole file is printed
// and sent; otherwise the user is told why and nothing unfinished reaches the printer.
// The explanatory messages are loaded from `programme` at each print.
bool ImprimerRetour(const QString& programme, const QString& chemin, Imprimante& imprimante,
                    PortDialogue& dialogues);

// The print of a fetched return (the row `rangee` of the fetch list): the file of the work
// folder is printed, filed in Sauvramq, then deleted from the work folder; `deplace` runs once
// it is moved, before the user is told. Nothing moves unless the print was complete.
bool imprimerEtArchiver(const QString& programme, const QString& rangee, Imprimante& imprimante,
                        PortDialogue& dialogues, const std::function<void()>& deplace);

}  // namespace impressionretour
