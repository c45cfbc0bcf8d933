#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class PortDialogue;

// What the return viewer shows of a kept file: five header labels and rows of seven columns.
namespace affichageretour {

class Affichage {
public:
    std::array<std::optional<QString>, 5> etiquettes;  // unset: the label keeps its design text

    qsizetype nombreRangees() const { return rangees_.size(); }
    // The seven cells of row `i`; a detail line of a statement is decoded only when asked, so
    // that a large statement is read at the cost of finding its lines.
    QStringList rangee(qsizetype i) const;
    QList<QStringList> rangees() const;

    // A row of its own cells (completed to seven), and a detail line at `debut` of `contenu`.
    void ajouter(QStringList cellules);
    void ajouterDetail(qsizetype debut, qsizetype longueur);
    QByteArray contenu;

private:
    struct Rangee {
        QStringList cellules;
        qsizetype debut = -1, longueur = 0;  // a detail line of `contenu` when `debut` >= 0
    };
    QList<Rangee> rangees_;
};

// Reads `chemin` (a path ending in "rmq"); the messages asking to print the file for more
// details are told through `dialogues`, each once per display. Nothing when the path is refused.
std::optional<Affichage> AfficherRetour(const QString& chemin, PortDialogue& dialogues);

}  // namespace affichageretour
