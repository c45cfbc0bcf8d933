#include "platform/tableur.h"

#include "records/champs.h"

#include "platform/dialogues.h"
#include "platform/horloge.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"

#include <QDir>
#include <QRegularExpression>

namespace tableur {

namespace {

QString champ(const QString& texte) {
    if (!texte.contains(QLatin1Char(';')) && !texte.contains(QLatin1Char('"')) && !texte.contains(QLatin1Char('\n')) &&
        !texte.contains(QLatin1Char('\r')))
        return texte;
    return QLatin1Char('"') + QString(texte).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

}  // namespace

QString montant(const QString& texte) {
    static const QRegularExpression forme(QStringLiteral("^\\s*(-?)\\s*\\$?\\s*([0-9,]*)\\.([0-9]{2})\\s*\\$?\\s*$"));
    const auto m = forme.match(texte);
    if (!m.hasMatch())
        return texte;
    QString entier = m.captured(2).remove(QLatin1Char(','));
    if (entier.isEmpty())
        entier = QStringLiteral("0");
    return m.captured(1) + entier + QLatin1Char(',') + m.captured(3);
}

QString cents(const QString& texte) {
    const QString t = texte.trimmed();
    if (t.isEmpty() || !champs::queDesChiffres(t))
        return t;
    const qint64 c = t.toLongLong();
    return QStringLiteral("%1,%2").arg(c / 100).arg(c % 100, 2, 10, QLatin1Char('0'));
}

QString date(const QString& texte) {
    static const QRegularExpression barree(QStringLiteral("^([0-9]{4})/([0-9]{2})/([0-9]{2})$"));
    static const QRegularExpression huit(QStringLiteral("^([0-9]{4})([0-9]{2})([0-9]{2})$"));
    static const QRegularExpression six(QStringLiteral("^([0-9]{2})([0-9]{2})([0-9]{2})$"));
    const QString t = texte.trimmed();
    for (const QRegularExpression* forme : {&barree, &huit})
        if (const auto m = forme->match(t); m.hasMatch())
            return m.captured(1) + QLatin1Char('-') + m.captured(2) + QLatin1Char('-') + m.captured(3);
    if (const auto m = six.match(t); m.hasMatch())
        return QStringLiteral("20") + m.captured(1) + QLatin1Char('-') + m.captured(2) + QLatin1Char('-') + m.captured(3);
    return t;
}

QByteArray csv(const QList<Colonne>& colonnes, const QList<QStringList>& rangees) {
    QStringList lignes;
    QStringList entetes;
    for (const Colonne& c : colonnes)
        entetes << champ(c.entete);
    lignes << entetes.join(QLatin1Char(';'));
    for (const QStringList& r : rangees) {
        QStringList champs;
        for (int i = 0; i < colonnes.size(); ++i) {
            const QString v = r.value(i);
            switch (colonnes[i].genre) {
            case Colonne::Genre::Texte: champs << champ(montant(v.trimmed())); break;
            case Colonne::Genre::Montant: champs << champ(montant(v)); break;
            case Colonne::Genre::Cents: champs << champ(cents(v)); break;
            case Colonne::Genre::Date: champs << champ(date(v)); break;
            }
        }
        lignes << champs.join(QLatin1Char(';'));
    }
    return QByteArray("\xEF\xBB\xBF") + (lignes.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QList<Colonne> colonnes(const QStringList& entetes, const QList<QPair<QString, Colonne::Genre>>& genres) {
    QList<Colonne> liste;
    for (const QString& e : entetes) {
        Colonne c{e, Colonne::Genre::Texte};
        for (const auto& [entete, genre] : genres)
            if (entete == e)
                c.genre = genre;
        liste << c;
    }
    return liste;
}

QString nomDExportation(const QString& liste, const QDateTime& moment) {
    QString nom = liste;
    if (nom.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        nom.chop(4);
    return nom + moment.toString(QStringLiteral(" yyyy-MM-dd HH'h'mm")) + QStringLiteral(".csv");
}

bool exporter(const QString& nomPropose, const QList<Colonne>& colonnes, const QList<QStringList>& rangees,
              PortDialogue& d) {
    const QString titre = QStringLiteral("Exporter");
    const auto chemin = d.fichierAEnregistrer(titre, nomDExportation(nomPropose, Horloge::maintenant()));
    if (!chemin)
        return false;
    try {
        fichiers::ecrireAtomique(*chemin, csv(colonnes, rangees));
    } catch (const ErreurFichier& e) {
        d.message(Icone::Critique, titre, QStringLiteral("Erreur %1  %2").arg(e.numero()).arg(erreurs::texte(e)));
        return false;
    }
    d.message(Icone::Information, titre,
              QStringLiteral("La liste a été exportée dans le fichier %1.").arg(QDir::toNativeSeparators(*chemin)));
    return true;
}

}  // namespace tableur
