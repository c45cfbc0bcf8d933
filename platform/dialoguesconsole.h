#pragma once
#include "platform/dialogues.h"

#include <QMap>
#include <QTextStream>

// The dialog port of the command line: every message is printed ("title : text"), a question is
// answered from the answers given by options (by title) or else by the answer that changes
// nothing (No, Cancel), an input box or a choice is cancelled.
class DialoguesConsole : public PortDialogue {
public:
    explicit DialoguesConsole(QTextStream& sortie) : sortie_(sortie) {}

    QMap<QString, Reponse> reponses;  // by question title
    QStringList questionsRefusees;    // titles of the questions answered No or Cancel
    int critiques = 0;                // messages of failures shown

    void message(Icone icone, const QString& titre, const QString& texte) override;
    Reponse question(Icone icone, const QString& titre, const QString& texte, Boutons boutons,
                     int parDefaut) override;
    std::optional<QString> saisie(const QString& titre, const QString& invite, const QString& defaut) override;
    int choix(const FenetreChoix& fenetre) override;
    std::optional<FichierChoisi> fichierAEnregistrer(const QString& titre, const QString& nomPropose,
                                                     const QStringList& types) override;
    void bip() override {}

private:
    QTextStream& sortie_;
};
