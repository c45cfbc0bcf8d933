#include "platform/tableur.h"

#include "records/champs.h"

#include "platform/dialogues.h"
#include "platform/horloge.h"
#include "platform/erreurs.h"
#include "platform/fichiers.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <xlsxwriter.h>

namespace tableur {

namespace {

QString champ(const QString& texte) {
    if (!texte.contains(QLatin1Char(';')) && !texte.contains(QLatin1Char('"')) && !texte.contains(QLatin1Char('\n')) &&
        !texte.contains(QLatin1Char('\r')))
        return texte;
    return QLatin1Char('"') + QString(texte).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

Cellule texte(const QString& t) {
    if (t.isEmpty())
        return {};
    return {Cellule::Sorte::Texte, t, 0, {}};
}

Cellule enCents(qint64 c) {
    const qint64 a = c < 0 ? -c : c;
    return {Cellule::Sorte::Montant,
            QStringLiteral("%1%2,%3").arg(c < 0 ? QStringLiteral("-") : QString()).arg(a / 100).arg(a % 100, 2, 10, QLatin1Char('0')),
            c, {}};
}

// An amount as a list shows it, in cents.
std::optional<qint64> montantAffiche(const QString& t) {
    static const QRegularExpression forme(QStringLiteral("^\\s*(-?)\\s*\\$?\\s*([0-9,]*)\\.([0-9]{2})\\s*\\$?\\s*$"));
    const auto m = forme.match(t);
    if (!m.hasMatch())
        return std::nullopt;
    const qint64 c = m.captured(2).remove(QLatin1Char(',')).toLongLong() * 100 + m.captured(3).toLongLong();
    return m.captured(1).isEmpty() ? c : -c;
}

Cellule date(const QString& t) {
    static const QRegularExpression formes[] = {
        QRegularExpression(QStringLiteral("^([0-9]{4})/([0-9]{2})/([0-9]{2})$")),
        QRegularExpression(QStringLiteral("^([0-9]{4})-([0-9]{2})-([0-9]{2})$")),
        QRegularExpression(QStringLiteral("^([0-9]{4})([0-9]{2})([0-9]{2})$")),
        QRegularExpression(QStringLiteral("^([0-9]{2})([0-9]{2})([0-9]{2})$")),
    };
    // A date never typed shows as blanks, slashes or zeros.
    static const QRegularExpression separateurs(QStringLiteral("[/ -]"));
    const QString chiffres = QString(t).remove(separateurs);
    if (chiffres.isEmpty() || ((chiffres.size() == 6 || chiffres.size() == 8) && chiffres.count(QLatin1Char('0')) == chiffres.size()))
        return {};
    for (const QRegularExpression& forme : formes) {
        const auto m = forme.match(t);
        if (!m.hasMatch())
            continue;
        const QString annee = (m.captured(1).size() == 2 ? QStringLiteral("20") : QString()) + m.captured(1);
        const QString iso = annee + QLatin1Char('-') + m.captured(2) + QLatin1Char('-') + m.captured(3);
        const QDate d(annee.toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (!d.isValid())
            return texte(iso);
        return {Cellule::Sorte::Date, iso, 0, d};
    }
    return texte(t);
}

}  // namespace

Cellule cellule(Colonne::Genre genre, const QString& brut) {
    const QString t = brut.trimmed();
    switch (genre) {
    case Colonne::Genre::Date: return date(t);
    case Colonne::Genre::Cents:
        if (!t.isEmpty() && champs::queDesChiffres(t))
            return enCents(t.toLongLong());
        break;
    case Colonne::Genre::Nombre: {
        static const QRegularExpression entier(QStringLiteral("^-?[0-9]{1,15}$"));
        if (entier.match(t).hasMatch())
            return {Cellule::Sorte::Entier, t, t.toLongLong(), {}};
        break;
    }
    case Colonne::Genre::Texte:
    case Colonne::Genre::Montant: break;
    }
    if (const auto c = montantAffiche(t))
        return enCents(*c);
    return texte(t);
}

QByteArray csv(const QList<Colonne>& colonnes, const QList<QStringList>& rangees) {
    QStringList lignes;
    QStringList entetes;
    for (const Colonne& c : colonnes)
        entetes << champ(c.entete);
    lignes << entetes.join(QLatin1Char(';'));
    for (const QStringList& r : rangees) {
        QStringList champs;
        for (int i = 0; i < colonnes.size(); ++i)
            champs << champ(cellule(colonnes[i].genre, r.value(i)).texte);
        lignes << champs.join(QLatin1Char(';'));
    }
    return QByteArray("\xEF\xBB\xBF") + (lignes.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QByteArray xlsx(const QList<Colonne>& colonnes, const QList<QStringList>& rangees, const QString& feuille) {
    // The library writes to a file: the workbook is built in a scratch folder of its own and
    // read back, so that its destination is written by the one atomic writer.
    QTemporaryDir brouillon;
    if (!brouillon.isValid())
        throw erreurs::erreur(erreurs::AccesChemin, QDir::tempPath());
    const QString chemin = brouillon.filePath(QStringLiteral("classeur.xlsx"));
    QByteArray dossier = QFile::encodeName(brouillon.path());
    lxw_workbook_options options{};
    options.tmpdir = dossier.data();
    lxw_workbook* classeur = workbook_new_opt(QFile::encodeName(chemin).constData(), &options);
    if (!classeur)
        throw erreurs::erreur(erreurs::MemoireInsuffisante, chemin);

    // A sheet's name has at most 31 characters and none of []:*?/\.
    QString nom = feuille;
    static const QRegularExpression interdits(QStringLiteral("[\\[\\]:*?/\\\\]"));
    nom = nom.replace(interdits, QStringLiteral(" ")).trimmed().left(31).trimmed();
    lxw_worksheet* f = workbook_add_worksheet(classeur, nom.isEmpty() ? nullptr : nom.toUtf8().constData());
    if (!f)
        f = workbook_add_worksheet(classeur, nullptr);
    lxw_format* gras = workbook_add_format(classeur);
    format_set_bold(gras);
    lxw_format* montant = workbook_add_format(classeur);
    format_set_num_format(montant, "0.00");
    lxw_format* jour = workbook_add_format(classeur);
    format_set_num_format(jour, "yyyy-mm-dd");

    QList<int> largeurs;
    for (int c = 0; c < colonnes.size(); ++c) {
        worksheet_write_string(f, 0, static_cast<lxw_col_t>(c), colonnes[c].entete.toUtf8().constData(), gras);
        largeurs << colonnes[c].entete.size() + 1;  // bold
    }
    worksheet_freeze_panes(f, 1, 0);
    for (int r = 0; r < rangees.size(); ++r) {
        const auto ligne = static_cast<lxw_row_t>(r + 1);
        for (int c = 0; c < colonnes.size(); ++c) {
            const Cellule x = cellule(colonnes[c].genre, rangees[r].value(c));
            const auto col = static_cast<lxw_col_t>(c);
            switch (x.sorte) {
            case Cellule::Sorte::Vide: continue;
            case Cellule::Sorte::Texte: worksheet_write_string(f, ligne, col, x.texte.toUtf8().constData(), nullptr); break;
            case Cellule::Sorte::Entier: worksheet_write_number(f, ligne, col, static_cast<double>(x.valeur), nullptr); break;
            case Cellule::Sorte::Montant:
                worksheet_write_number(f, ligne, col, static_cast<double>(x.valeur) / 100.0, montant);
                break;
            case Cellule::Sorte::Date: {
                lxw_datetime d{x.date.year(), x.date.month(), x.date.day(), 0, 0, 0.0};
                worksheet_write_datetime(f, ligne, col, &d, jour);
                break;
            }
            }
            largeurs[c] = std::max(largeurs[c], static_cast<int>(x.texte.size()));
        }
    }
    for (int c = 0; c < colonnes.size(); ++c)
        worksheet_set_column(f, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), std::min(largeurs[c], 80) + 2.0,
                             nullptr);
    errno = 0;
    if (const lxw_error e = workbook_close(classeur); e != LXW_NO_ERROR)
        throw errno ? erreurs::depuisSysteme(errno, chemin) : erreurs::erreur(erreurs::AccesChemin, chemin);
    return fichiers::lire(chemin);
}

QStringList typesDeFichier() {
    return {QStringLiteral("Tableur CSV (*.csv)"), QStringLiteral("Classeur Excel (*.xlsx)")};
}

QString extension(Format format) { return format == Format::Xlsx ? QStringLiteral(".xlsx") : QStringLiteral(".csv"); }

QByteArray octets(Format format, const QList<Colonne>& colonnes, const QList<QStringList>& rangees,
                  const QString& feuille) {
    return format == Format::Xlsx ? xlsx(colonnes, rangees, feuille) : csv(colonnes, rangees);
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

QString avecExtension(const QString& chemin, Format format) {
    const QString e = extension(format);
    return chemin.endsWith(e, Qt::CaseInsensitive) ? chemin : chemin + e;
}

bool exporter(const QString& nomPropose, const QList<Colonne>& colonnes, const QList<QStringList>& rangees,
              PortDialogue& d) {
    const QString titre = QStringLiteral("Exporter");
    const QStringList types = typesDeFichier();
    const auto choisi = d.fichierAEnregistrer(titre, nomDExportation(nomPropose, Horloge::maintenant()), types);
    if (!choisi)
        return false;
    // A name typed with the extension of a format ("essai.xlsx") is written in that format,
    // whatever type the dialog showed; any other name takes the type chosen and its extension.
    Format format = choisi->type == 1 ? Format::Xlsx : Format::Csv;
    for (const Format f : {Format::Csv, Format::Xlsx})
        if (choisi->chemin.endsWith(extension(f), Qt::CaseInsensitive))
            format = f;
    const QString chemin = avecExtension(choisi->chemin, format);
    const QString nom = QDir::toNativeSeparators(chemin);
    // The save dialog asked about the name typed, not about the one completed here.
    if (chemin != choisi->chemin && QFileInfo::exists(chemin) &&
        d.question(Icone::Question, titre, QStringLiteral("Le fichier %1 existe déjà.\n\nVoulez-vous le remplacer ?").arg(nom),
                   Boutons::OuiNon, 1) != Reponse::Oui)
        return false;
    QString feuille = nomPropose;
    if (feuille.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        feuille.chop(4);
    try {
        fichiers::ecrireAtomique(chemin, octets(format, colonnes, rangees, feuille));
    } catch (const ErreurFichier& e) {
        d.message(Icone::Critique, titre, QStringLiteral("Erreur %1  %2").arg(e.numero()).arg(erreurs::texte(e)));
        return false;
    }
    d.message(Icone::Information, titre, QStringLiteral("La liste a été exportée dans le fichier %1.").arg(nom));
    return true;
}

}  // namespace tableur
