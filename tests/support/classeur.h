#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// An .xlsx workbook as openpyxl reads it (tests/support/lirexlsx.py): its first sheet's name, the
// cell where its panes are frozen, its header row and whether it is all bold, each column's width,
// and the cells under it as "texte 09001", "montant 28.55", "nombre 2", "date 2026-11-03" or "vide".
struct Classeur {
    QString feuille, gel;
    QStringList entetes;
    bool gras = false;
    QList<double> largeurs;
    QList<QStringList> lignes;
    QString erreurs;  // what the reader said when it could not read the file
};
Classeur lireClasseur(const QString& chemin);
