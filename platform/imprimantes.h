#pragma once
#include "platform/page.h"

#include <QStringList>
#include <memory>

// The printers the program offers: the installed ones plus "PDF", which writes each document
// to <program folder>/Impressions/. The current printer is program-wide.
namespace imprimantes {

inline const QString Pdf = QStringLiteral("PDF");

QStringList noms();
QString courante();
void choisir(const QString& nom);
// Tests: the installed printers taken as `noms` rather than asked of the system.
void simulerInstallees(const QStringList& noms);

}  // namespace imprimantes

struct PolicesImprimees;

// Documents on the current printer.
class ImprimanteQt : public Imprimante {
public:
    explicit ImprimanteQt(QString programme) : programme_(std::move(programme)) {}
    std::unique_ptr<Page> nouveauDocument(const QString& nom,
                                          Orientation orientation = Orientation::Paysage) override;
    // The PDF files written so far, in order.
    const QStringList& fichiers() const { return fichiers_; }

private:
    QString programme_;
    QStringList fichiers_;
    std::shared_ptr<PolicesImprimees> polices_;  // shared by its documents
};
