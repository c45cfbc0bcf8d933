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
