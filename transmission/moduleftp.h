#pragma once
#include "config/configuration.h"

#include <QString>

class PortDialogue;

// The transfer server: one connection per call, binary transfers, passive mode, port 21
// unless the host is written "host:port". Connecting and a stalled transfer are time-limited,
// so a dead server never hangs the program.
namespace ModuleFTP {

inline const QString DossierEnvoi = QStringLiteral("/dp_ramq");
inline const QString DossierRetours = QStringLiteral("/fich_ramq");

// Non-zero when `cheminLocal` was uploaded to `dossier`/`nomDistant` whole: it goes under a
// temporary name renamed once complete, and the size the server then reports is checked. Silent.
int PutFtpFile(const QString& serveur, const QString& utilisateur, const QString& motDePasse,
               const QString& dossier, const QString& nomDistant, const QString& cheminLocal,
               int typeTransfert);

// The size of a file on the server, -1 when it cannot be had.
qint64 TailleFtpFile(const ParametresFtp& p, const QString& dossier, const QString& nomDistant);
// Renames a file on the server; false when it could not be done.
bool RenFtpFile(const ParametresFtp& p, const QString& dossier, const QString& ancien,
                const QString& nouveau);

// Sets a file that stands in the way aside on the server: renamed `nomDistant` + "." + `raison`
// + "-" + the date and time ("F71234.zip.illisible-20261207-101500"), so that it no longer blocks
// later work and stays there to be looked at. The new name; empty when the server refused.
QString MettreDeCoteFtpFile(const ParametresFtp& p, const QString& dossier, const QString& nomDistant,
                            const QString& raison);

// Non-zero when the file was deleted; the three failures are told to the user.
int DelFtpFile(const QString& serveur, const QString& utilisateur, const QString& motDePasse,
               const QString& dossier, const QString& nomDistant, PortDialogue& dialogues);

// Downloads `nomDistant` into `dossierLocal` (the work folder) under the same name, replacing
// a file there only once the transfer is complete. -1 on success, 0 on failure. Silent.
int GetFtpDpFile(const ParametresFtp& p, const QString& nomDistant, const QString& dossierLocal);
int GetFtpFichFile(const ParametresFtp& p, const QString& nomDistant, const QString& dossierLocal);
bool GetFtpFile(const ParametresFtp& p, const QString& nomDistant, const QString& dossierLocal);
// The same from the server's root folder "/".
bool GetFtpRacine(const ParametresFtp& p, const QString& nomDistant, const QString& dossierLocal);

}  // namespace ModuleFTP
