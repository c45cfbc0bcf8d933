#include "support/patients.h"

#include "entry/dossierpatient.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace patients {

namespace {
void placer(QByteArray& r, facture::Position p, const QByteArray& valeur) {
    r.replace(p.colonne - 1, p.largeur, valeur.leftJustified(p.largeur, ' ', true));
}
void ajouterAuFichier(const QString& chemin, const QByteArray& octets) {
    QDir().mkpath(QFileInfo(chemin).absolutePath());
    QFile f(chemin);
    if (!f.open(QIODevice::Append))
        qFatal("cannot write %s", qPrintable(chemin));
    f.write(octets);
}
}  // namespace

QByteArray enregistrement(const Patient& p, char remplissage) {
    using namespace dossierpatient;
    QByteArray r(Longueur, remplissage);
    r.replace(624, 4, QByteArray("\x01\x00\xFE\x7F", 4));
    placer(r, Nam, p.nam);
    placer(r, Nom, p.nom);
    placer(r, Prenom, p.prenom);
    placer(r, Naissance, p.naissance);
    placer(r, Sexe, p.sexe);
    placer(r, Adresse, p.adresse);
    placer(r, Ville, p.ville);
    placer(r, CodePostal, p.codePostal);
    placer(r, ExpirationCarte, p.expiration);
    placer(r, SequenceCarte, p.sequence);
    placer(r, Dernier09001, p.dernier09001);
    return r;
}

QByteArray entree(const QByteArray& nom, const QByteArray& prenom, qint32 numero) {
    QByteArray e = nom.leftJustified(20, ' ', true) + prenom.leftJustified(20, ' ', true);
    char n[4];
    qToLittleEndian(numero, n);
    return e + QByteArray(n, 4) + QByteArray(4, '\0');
}

void creer(const QString& programme, const QList<QByteArray>& fiches,
           const QList<QPair<QString, QByteArray>>& entreesEnPlus) {
    QByteArray donnees;
    for (const QByteArray& f : fiches)
        donnees += f;
    QDir().mkpath(programme + "/Patient");
    QFile::remove(dossierpatient::cheminDonnees(programme));
    ajouterAuFichier(dossierpatient::cheminDonnees(programme), donnees);
    for (int i = 0; i < fiches.size(); ++i) {
        const QByteArray& f = fiches[i];
        const QString nam = QString::fromLatin1(f.mid(dossierpatient::Nam.colonne - 1, 12));
        ajouterAuFichier(dossierpatient::cheminIndex(programme, nam),
                         entree(f.mid(dossierpatient::Nom.colonne - 1, 20), f.mid(dossierpatient::Prenom.colonne - 1, 20), i + 1));
    }
    for (const auto& [nam, e] : entreesEnPlus)
        ajouterAuFichier(dossierpatient::cheminIndex(programme, nam), e);
}

}  // namespace patients
