#pragma once
#include <QString>
#include <optional>

// Facturat.Lex: one 38-character record (agency number and the counters of the
// payment-request files), kept in the program folder.
namespace facturatlex {

constexpr int LongueurCreation = 38;

QString chemin(const QString& programme);
bool existe(const QString& programme);

// The text of the first line of the file; throws ErreurFichier.
QString lireLigne(const QString& programme);

// Positions 2-6 of the record.
QString numeroAgence(const QString& ligne);
// The agency number of the file; empty when there is no file. Throws ErreurFichier.
QString agence(const QString& programme);

// The record written at creation: "R" + agency + "00D" + agency + 24 zeros.
QByteArray enregistrementInitial(const QString& agence);

// Creates (or recreates, every counter reset) the file, atomically.
void creer(const QString& programme, const QString& agence);

}  // namespace facturatlex
