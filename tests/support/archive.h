#pragma once
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

// The members of a zip archive by name, read with libzip; empty when it cannot be opened.
QMap<QString, QByteArray> membres(const QString& archive);

// Writes a zip archive of these members, in this order, whatever their names; a name ending
// in "/" is a folder.
void creerArchive(const QString& archive, const QList<QPair<QString, QByteArray>>& contenu);

// An archive of one deflated member whose headers claim `tailleAnnoncee` bytes once unpacked
// (sizes in a zip64 field, so that any size can be claimed), whatever `octets` really holds.
void creerArchiveMensongere(const QString& archive, const QString& nom, const QByteArray& octets,
                            quint64 tailleAnnoncee);
