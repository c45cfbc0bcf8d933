#include "config/motdepasse.h"

#include "platform/dialogues.h"
#include "platform/dossiers.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"
#include "platform/reprise.h"
#include "records/encodage.h"

namespace motdepasse {

namespace {
const QString Titre = QStringLiteral("Mot de passe");
}

QString chemin(const QString& programme) {
    return dossiers::resoudre(programme, QStringLiteral("Ramq.Chk"));
}

QString normaliser(const QString& texte) {
    // Character by character, as a single-byte code page does: a capital only where it is one
    // character of Windows-1252 too ("ÿ" becomes "Ÿ"; "ß" and "µ" stay), so a character is
    // always one byte of the file.
    QString n = texte.left(Longueur);
    for (QChar& c : n)
        if (const QChar majuscule = c.toUpper(); encodage::representable(QString(majuscule)))
            c = majuscule;
    return n.leftJustified(Longueur, QLatin1Char(' '));
}

QString lire(const QString& programme) {
    const QString c = chemin(programme);
    if (!dossiers::FichierExiste(c))
        return QString(Longueur, QLatin1Char(' '));
    const QByteArray octets = fichiers::lire(c).left(Longueur);
    if (octets.isEmpty() || octets.at(0) == '\0')
        return QString(Longueur, QLatin1Char(' '));
    return normaliser(encodage::depuisOctets(octets));
}

// A password may begin with blanks as it was typed: only a record of blanks holds none.
bool defini(const QString& stocke) { return !stocke.trimmed().isEmpty(); }

Porte::Porte(QString programme, PortDialogue& dialogues)
    : programme_(std::move(programme)), d_(dialogues) {}

Issue Porte::decider(bool acces) {
    d_.message(Icone::Exclamation, Titre,
               acces ? QStringLiteral("accès au programme autorisé...")
                     : QStringLiteral("accès au LOGICIEL refusé..."));
    return acces ? Issue::Autorise : Issue::Refuse;
}

bool Porte::vide(const QString& tape) {
    // A blank password would read back as "no password" and open the gate to anyone.
    if (!tape.trimmed().isEmpty())
        return false;
    d_.bip();
    d_.message(Icone::Exclamation, Titre,
               QStringLiteral("Veuillez inscrire votre mot de passe dans la case appropriée.\n\n"
                              "Maximum 20 caractères."));
    return true;
}

std::optional<QString> Porte::stocke() {
    std::optional<QString> s;
    executerAvecReprise(d_, Titre, [&] { s = lire(programme_); });
    return s;
}

bool Porte::enregistrer(const QString& tape) {
    if (!encodage::representable(tape)) {
        d_.bip();
        d_.message(Icone::Exclamation, Titre,
                   QStringLiteral("Le mot de passe contient un caractère qui ne peut pas être "
                                  "enregistré.\n\nVeuillez en choisir un autre."));
        return false;
    }
    return executerAvecReprise(d_, Titre, [&] {
        fichiers::ecrireAtomique(chemin(programme_), encodage::versOctets(normaliser(tape)));
    });
}

Issue Porte::connexion(const QString& tape) {
    if (vide(tape))
        return Issue::Attendre;
    const std::optional<QString> s = stocke();
    if (!s)
        return decider(false);
    if (!defini(*s))
        return enregistrer(tape) ? decider(true) : Issue::Attendre;
    return decider(normaliser(tape) == *s);
}

Issue Porte::modifier(const QString& tape) {
    if (attendNouveau_) {
        if (vide(tape) || !enregistrer(tape))
            return Issue::Attendre;
        d_.message(Icone::Information, QStringLiteral("Modification"),
                   QStringLiteral("Modification acceptée..."));
        return decider(true);
    }
    const std::optional<QString> s = stocke();
    if (!s || normaliser(tape) != *s)
        return decider(false);
    d_.bip();
    attendNouveau_ = true;
    return Issue::Attendre;
}

std::optional<QString> Porte::soutien(const QString& code) {
    if (code != CodeSoutien)
        return std::nullopt;
    return stocke();
}

Issue Porte::refuser() { return decider(false); }

}  // namespace motdepasse
