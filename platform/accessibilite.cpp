#include "platform/accessibilite.h"

#include <QLabel>
#include <QRegularExpression>

QString nomDeLibelle(const QString& libelle) {
    QString nom = libelle;
    // "&&" shows one "&"; a single "&" marks the access key.
    nom.replace(QLatin1String("&&"), QString(QChar(1))).remove(QLatin1Char('&')).replace(QChar(1), QLatin1Char('&'));
    static const QRegularExpression fin(QStringLiteral("[\\s:]+$"));
    return nom.remove(fin).simplified();
}

void nommer(QLabel* libelle, QWidget* controle, const QString& nom) {
    libelle->setBuddy(controle);
    controle->setAccessibleName(nom.isEmpty() ? nomDeLibelle(libelle->text()) : nom);
}
