#pragma once
#include "entry/identite.h"
#include "records/facture.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>

class PortDialogue;

// The companion patient-record database in the Patient folder: the 640-byte records of
// KPDBFIL.FIL and the 48-byte index records of the KPDB.LEX files. The program reads records
// and updates a few fields of one in place; it never creates, deletes or rewrites the files.
namespace dossierpatient {

constexpr int Longueur = 640;
constexpr int LongueurIndex = 48;

constexpr facture::Position Adresse{69, 30};
constexpr facture::Position Ville{99, 20};
constexpr facture::Position CodePostal{121, 7};
constexpr facture::Position Naissance{155, 8};
constexpr facture::Position Sexe{163, 1};
constexpr facture::Position ExpirationCarte{165, 5};
constexpr facture::Position Nam{170, 12};
constexpr facture::Position DernierExamen{182, 8};
constexpr facture::Position DateRappel{190, 8};
constexpr facture::Position Dernier09001{198, 8};
constexpr facture::Position ActesDernier09001{214, 25};
constexpr facture::Position SequenceCarte{252, 2};
constexpr facture::Position Prenom{390, 20};
constexpr facture::Position Nom{410, 20};

QString cheminDonnees(const QString& programme);
// The index file of a NAM: "LA", "LE" and "BE" split one letter further.
QString cheminIndex(const QString& programme, const QString& nam);

// A patient record found: its number and bytes as read.
struct Fiche {
    int numero = 0;
    QByteArray enregistrement;
};
// Record `numero`, or nothing when it is not one of the file's.
std::optional<Fiche> lire(const QString& programme, int numero);
// The record of `nam` through its index file: the entries whose surname begins with NAM
// characters 1-3 and first name with character 4, the last one whose record holds the NAM
// winning; an entry pointing outside the data file is skipped.
std::optional<Fiche> chercher(const QString& programme, const QString& nam);

Identite identite(const QByteArray& enregistrement);
// The record's last-09001 date in the form the billing rules read (yy/mm/dd); "99/01/01" when
// it is blank, zero or not a date.
QString dernier09001(const QByteArray& enregistrement);

struct Interrupteurs {
    bool ChangerDateRappel = true;
    bool RappelBES2an = true;
    bool RappelTOUS2an = false;
};

// The record after the store of `v`: the examination date, card data, last-09001 date, its
// acts and the recall date, as the switches say; every other byte as it was. `reporte` tells
// whether the recall was put off two years for a person on the B.E.S.
QByteArray misAJour(const QByteArray& enregistrement, const ValeursFacture& v, const Interrupteurs& i,
                    bool* reporte = nullptr);

// The update at store of the record loaded as `fiche`, when it still holds the invoice's NAM;
// written in place. File errors throw ErreurFichier, for the store's Retry/Cancel.
void mettreAJour(const QString& programme, const Fiche& fiche, const ValeursFacture& v,
                 const Interrupteurs& i, PortDialogue& d);

}  // namespace dossierpatient
