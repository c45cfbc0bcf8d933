#pragma once
#include <QString>
#include <QStringList>

// The outside programs (the compression program, the archiver): found by name in the program
// folder first, then beside the executable, and waited for with a time limit.
namespace programmes {

// The path of program `nom` ("PaComp", "PowerArc"; with or without ".exe", case ignored), or
// empty when neither folder holds it.
QString chemin(const QString& programme, const QString& nom);

struct Issue {
    enum class Genre { Reussi, NonDemarre, Echoue, DelaiDepasse } genre = Genre::Reussi;
    int code = 0;       // exit status of a program that failed
    QString messages;   // what it wrote on its outputs
    bool reussi() const { return genre == Genre::Reussi; }
    // A French sentence saying what went wrong, naming the program.
    QString description(const QString& nom) const;
};

// Runs `chemin` with `arguments` and waits at most `delaiMs` for it; a program still running
// then is killed.
Issue executer(const QString& chemin, const QStringList& arguments, int delaiMs);

}  // namespace programmes
