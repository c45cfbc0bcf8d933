#pragma once
#include "config/configuration.h"
#include "platform/reglages.h"
#include "support/dialoguesscriptes.h"
#include "support/dossiertemporaire.h"

#include <QList>
#include <QString>
#include <functional>

class QWidget;

// A clinic every window of the program can open over: two optometrists, invoices in memory, a
// kept billing, the user's settings, messages answered by script.
struct CliniqueDeTest {
    CliniqueDeTest();
    ~CliniqueDeTest();
    DossierTemporaire dossier;
    ReglagesUtilisateur reglages;
    DialoguesScriptes dialogues;
    Configuration configuration;
};

// One window the program shows: `ouvrir` opens it over the clinic as the program does, calls
// `examiner` while it is shown (its layout done), then closes it.
struct FabriqueFenetre {
    QString nom;
    std::function<void(CliniqueDeTest& clinique, const std::function<void(QWidget* fenetre)>& examiner)> ouvrir;
};

// Every top-level window and dialog of the program: the entry window, the windows it opens,
// the choice windows of the rules, and the dialog port's boxes.
const QList<FabriqueFenetre>& fenetresDuProgramme();
