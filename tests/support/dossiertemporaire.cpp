#include "support/dossiertemporaire.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

DossierTemporaire::DossierTemporaire() : chemin_(dossier_.path()) {}

QString DossierTemporaire::fichier(const QString& relatif) const { return chemin_ + '/' + relatif; }

void DossierTemporaire::ecrire(const QString& relatif, const QByteArray& octets) const {
    const QString c = fichier(relatif);
    QDir().mkpath(QFileInfo(c).absolutePath());
    QFile f(c);
    if (!f.open(QIODevice::WriteOnly) || f.write(octets) != octets.size())
        throw std::runtime_error("écriture impossible");
}

QByteArray DossierTemporaire::lire(const QString& relatif) const {
    QFile f(fichier(relatif));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool DossierTemporaire::existe(const QString& relatif) const {
    return QFileInfo::exists(fichier(relatif));
}

QByteArray donnees(const QString& nom) {
    QFile f(QStringLiteral(KESTROVA_DONNEES) + '/' + nom);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(("donnée introuvable: " + nom).toStdString());
    return f.readAll();
}

QByteArray configurationADeuxOptometristes() {
    QByteArray c = donnees("Kestrova.Cfg.defaut");
    c.replace("\"2e Optom\xE9triste \",\"000000\",\"00000\"", "\"Dr Mathieu Tremblay\",\"322227\",\"12345\"");
    return c;
}
