#include "config/facturatlex.h"

#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"
#include "records/encodage.h"


namespace facturatlex {

QString chemin(const QString& programme) {
    return dossiers::resoudre(programme, QStringLiteral("Facturat.Lex"));
}

bool existe(const QString& programme) { return dossiers::FichierExiste(chemin(programme)); }

QString lireLigne(const QString& programme) {
    QByteArray ligne = fichiers::lire(chemin(programme));
    ligne.truncate(ligne.indexOf('\n') < 0 ? ligne.size() : ligne.indexOf('\n'));
    while (ligne.endsWith('\r'))
        ligne.chop(1);
    return encodage::depuisOctets(ligne);
}

QString numeroAgence(const QString& ligne) { return ligne.mid(1, 5); }

QString agence(const QString& programme) {
    return existe(programme) ? numeroAgence(lireLigne(programme)) : QString();
}

QByteArray enregistrementInitial(const QString& agence) {
    const QByteArray a = encodage::versOctets(agence.toUpper());
    return "R" + a + "00D" + a + QByteArray(24, '0');
}

void creer(const QString& programme, const QString& agence) {
    const QString c = chemin(programme);
    const QByteArray octets = enregistrementInitial(agence).leftJustified(LongueurCreation, ' ');
    fichiers::ecrireAtomique(c, octets);
}

}  // namespace facturatlex
