#pragma once
#include <QStringList>
#include <QTextStream>

// The command line: unattended work on the program folder through the same procedures as the
// windows, each question answered by an option or else by the answer that changes nothing.
namespace commandes {

// True when the arguments ask for a command (or the help, or the version) rather than the window.
bool estCommande(const QStringList& arguments);

// Runs the command of `arguments` (the program's own name first); its report goes to `sortie`,
// its errors to `erreurs`. 0 when it succeeded.
int executer(const QStringList& arguments, QTextStream& sortie, QTextStream& erreurs);

}  // namespace commandes
