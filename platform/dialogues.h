#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// Everything the program asks or tells the user goes through this port: the windows use
// the Qt implementation, tests a scripted one that records every call.

enum class Icone { Aucune, Critique, Exclamation, Information, Question };
enum class Boutons { Ok, OkAnnuler, OuiNon, ReessayerAnnuler };
enum class Reponse { Ok, Annuler, Oui, Non, Reessayer };

// One element of a choice window, in display order: a heading line or a button.
struct ElementChoix {
    enum class Genre { Entete, Bouton } genre = Genre::Bouton;
    QString texte;
    QString infobulle;
};

// A modal choice window: a caption, heading lines and buttons one under the other.
struct FenetreChoix {
    int numero = 0;
    QString legende;
    QList<ElementChoix> elements;
    // Keys acting as a button (P and I of window 22): key letter -> button index.
    QList<QPair<QChar, int>> raccourcis;

    QStringList boutons() const;  // the button captions, in order
};

class PortDialogue {
public:
    virtual ~PortDialogue() = default;
    virtual void message(Icone icone, const QString& titre, const QString& texte) = 0;
    // `parDefaut` is the index (0 or 1) of the default button.
    virtual Reponse question(Icone icone, const QString& titre, const QString& texte,
                             Boutons boutons, int parDefaut) = 0;
    // The text typed, or nothing when the box is cancelled.
    virtual std::optional<QString> saisie(const QString& titre, const QString& invite,
                                          const QString& defaut) = 0;
    // The index of the button clicked, or -1 when the window is closed with Escape.
    virtual int choix(const FenetreChoix& fenetre) = 0;
    // The path chosen to save a file proposed as `nomPropose`, with the index of the file type
    // chosen among `types` ("Tableur CSV (*.csv)"), or nothing when cancelled.
    struct FichierChoisi {
        QString chemin;
        int type = 0;
    };
    virtual std::optional<FichierChoisi> fichierAEnregistrer(const QString& titre, const QString& nomPropose,
                                                             const QStringList& types) = 0;
    // An existing file chosen in `dossier` among `filtre` ("Archives (*.zip)"), or nothing.
    virtual std::optional<QString> fichierAOuvrir(const QString& titre, const QString& dossier, const QString& filtre) {
        (void)titre, (void)dossier, (void)filtre;
        return std::nullopt;
    }
    // A folder chosen from `depart`, or nothing.
    virtual std::optional<QString> dossierAChoisir(const QString& titre, const QString& depart) {
        (void)titre, (void)depart;
        return std::nullopt;
    }
    virtual void bip() = 0;
    // Hourglass pointer while a long operation runs.
    virtual void sablier(bool actif) { (void)actif; }
};

// Sets the hourglass for the life of a scope.
class Sablier {
public:
    explicit Sablier(PortDialogue& d) : d_(d) { d_.sablier(true); }
    ~Sablier() { d_.sablier(false); }
    Sablier(const Sablier&) = delete;
    Sablier& operator=(const Sablier&) = delete;

private:
    PortDialogue& d_;
};

// Builds a window under the hourglass, cleared however the construction ends.
template <typename Fenetre, typename... Arguments>
std::unique_ptr<Fenetre> construireSousSablier(PortDialogue& d, Arguments&&... arguments) {
    Sablier sablier(d);
    return std::make_unique<Fenetre>(std::forward<Arguments>(arguments)...);
}
