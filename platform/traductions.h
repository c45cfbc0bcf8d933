#pragma once
#include <QString>

// Qt's own texts in French (the file dialogs, the text boxes' context menu, the standard buttons):
// Qt's translations "qtbase_fr" from the system's translations folder, installed on the
// application; the default locale becomes French (Canada). Returns the file loaded, empty when
// none was found (Qt's texts then stay in English).
QString chargerTraductionsQt();
