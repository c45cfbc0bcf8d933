#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class PortDialogue;

// What the return viewer shows of a kept file: five header labels and rows of seven columns.
namespace affichageretour {

struct Affichage {
    std::array<std::optional<QString>, 5> etiquettes;  // unset: the label keeps its design text
    QList<QStringList> rangees;                         // seven cells each
};

// Reads `chemin` (a path ending in "rmq"); the messages asking to print the file for more
// details are told through `dialogues`, each once per display. Nothing when the path is refused.
std::optional<Affichage> AfficherRetour(const QString& chemin, PortDialogue& dialogues);

}  // namespace affichageretour
