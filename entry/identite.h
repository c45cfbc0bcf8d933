#pragma once
#include <QString>

// A patient's identity as the entry window shows it, from the queue or the patient-record
// database: masked boxes without their literal characters, texts as they go into the boxes.
struct Identite {
    QString nam, nom, prenom, naissance, codePostal, sequenceCarte, expirationCarte;
    QString adresse, ville;
    bool masculin = true;
    QString examen;  // date of the examination (yyyymmdd), from the queue only
};
