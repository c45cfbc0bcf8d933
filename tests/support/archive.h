#pragma once
#include <QByteArray>
#include <QMap>
#include <QString>

// The members of a zip archive by name, read with libzip; empty when it cannot be opened.
QMap<QString, QByteArray> membres(const QString& archive);
