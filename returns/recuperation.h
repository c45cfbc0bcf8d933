#pragma once
#include "config/configuration.h"
#include "returns/retours.h"

#include <QList>
#include <QString>

class PortDialogue;

// The fetch of both returns windows: the agency's archive "F" + agency + ".zip" is downloaded
// from the returns folder of the server into the work folder, unpacked there by the archiver,
// every return file in it filed in Sauvramq and listed; the archive is deleted from the server
// only once every return file it holds is kept with the same bytes. An archive that can never be
// unpacked is set aside on the server, so that it does not stop the fetches that follow.
namespace recuperation {

// How long the archiver may take.
inline int delaiArchiveurMs = 60000;

// A return filed under another name than the one it came with.
struct Renomme {
    QString recu, classe;
};

struct Resultat {
    QList<retours::Resume> lignes;  // the return files fetched and kept, by the name kept
    bool archiveSupprimee = false;  // the server archive was deleted
    bool rienSurLeServeur = false;  // the server answered that it holds no archive of the agency
    QStringList fichiersDeTravail;  // what the fetch put in the work folder: the archive, its members
    QList<Renomme> renommes;        // Sauvramq kept another file of their name
    QString archiveMiseDeCote;      // the server name of an archive set aside as unreadable
};

// Every outcome is told through `dialogues`.
Resultat Recuperer(const QString& programme, const ParametresFtp& ftp, const QString& agence,
                   PortDialogue& dialogues);

}  // namespace recuperation
