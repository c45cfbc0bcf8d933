#pragma once
#include "platform/dialogues.h"

class QWidget;

// The dialog port on real Qt windows: message boxes, input boxes and the choice window.
class DialoguesQt : public PortDialogue {
public:
    explicit DialoguesQt(QWidget* parent = nullptr) : parent_(parent) {}
    void fixerParent(QWidget* parent) { parent_ = parent; }
    // Where the first export of the session is proposed: the clinic's folder.
    void fixerDossierExportation(const QString& dossier) { dossierExportation_ = dossier; }

    void message(Icone icone, const QString& titre, const QString& texte) override;
    Reponse question(Icone icone, const QString& titre, const QString& texte, Boutons boutons,
                     int parDefaut) override;
    std::optional<QString> saisie(const QString& titre, const QString& invite,
                                  const QString& defaut) override;
    int choix(const FenetreChoix& fenetre) override;
    std::optional<FichierChoisi> fichierAEnregistrer(const QString& titre, const QString& nomPropose,
                                                     const QStringList& types) override;
    std::optional<QString> fichierAOuvrir(const QString& titre, const QString& dossier, const QString& filtre) override;
    std::optional<QString> dossierAChoisir(const QString& titre, const QString& depart) override;
    void bip() override;
    void sablier(bool actif) override;

private:
    QWidget* parent_;
    QString dossierExportation_;
    int typeExportation_ = 0;  // the file type chosen last in this session
};
