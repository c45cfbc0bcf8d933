#pragma once
#include "platform/dialogues.h"
#include "support/impression.h"

#include <QList>
#include <QString>
#include <deque>
#include <optional>

// The dialog port for tests: records every call, answers from queues. A question with no
// queued answer gets its default button; an input box with none is cancelled; a choice
// window with none is closed with Escape.
class DialoguesScriptes : public PortDialogue {
public:
    struct Appel {
        enum class Genre { Message, Question, Saisie, Choix, Bip } genre;
        Icone icone = Icone::Aucune;
        QString titre;
        QString texte;
        Boutons boutons = Boutons::Ok;
        QString defaut;
        FenetreChoix fenetre;
        QStringList types;  // the file types a save dialog offered
    };

    void message(Icone icone, const QString& titre, const QString& texte) override;
    Reponse question(Icone icone, const QString& titre, const QString& texte, Boutons boutons,
                     int parDefaut) override;
    std::optional<QString> saisie(const QString& titre, const QString& invite,
                                  const QString& defaut) override;
    int choix(const FenetreChoix& fenetre) override;
    std::optional<FichierChoisi> fichierAEnregistrer(const QString& titre, const QString& nomPropose,
                                                     const QStringList& types) override;
    // Both answered from `fichiers` too, each call recorded as an input box.
    std::optional<QString> fichierAOuvrir(const QString& titre, const QString& dossier, const QString& filtre) override;
    std::optional<QString> dossierAChoisir(const QString& titre, const QString& depart) override;
    void bip() override;

    std::deque<Reponse> reponses;
    std::deque<QString> saisies;  // a null QString cancels the box
    std::deque<int> choix_;
    std::deque<QString> fichiers;  // paths answered to "save as"; none cancels
    std::deque<int> typesFichier;  // the file type chosen with each path; none is the first

    QList<Appel> appels;
    // Calls other than beeps, in order.
    QList<Appel> boites() const;
    int bips() const;
    // "title | text" of every box, for compact assertions.
    QStringList resume() const;
    void effacer() { appels.clear(); }
};
