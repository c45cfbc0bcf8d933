#pragma once
#include "records/facture.h"

#include <QByteArray>
#include <QList>

class DossierTemporaire;

// Invoices for tests: a complete, valid invoice that each test adjusts.
ValeursFacture factureDeBase();

// The 723-byte record of `v`, in state `etat`.
QByteArray enregistrementDe(const ValeursFacture& v, const QByteArray& etat = "05");

// A program folder holding Facturat.Lex and Sauvramq/Ftmp.Fil with `enregistrements`.
void preparerDossier(const DossierTemporaire& d, const QByteArray& agence,
                     const QList<QByteArray>& enregistrements);
