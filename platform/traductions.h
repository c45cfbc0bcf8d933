#pragma once
#include <QString>

// The dates Qt shows by itself (the file dialog's "Date" column) in French, whatever language
// the session speaks: called before the application is built.
void preparerDatesEnFrancais();

// Qt's own texts in French (the file dialogs, the text boxes' context menu, the standard buttons):
// Qt's translations "qtbase_fr" from the system's translations folder, installed on the
// application, with the few texts they lack; the default locale becomes French (Canada).
// Returns the file loaded, empty when none was found (Qt's texts then stay in English).
QString chargerTraductionsQt();
