#include "transmission/frmVerificationInternet.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

frmVerificationInternet::frmVerificationInternet(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmVerificationInternet"));
    setWindowTitle(QStringLiteral("Vérification Internet"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* disposition = new QVBoxLayout(this);
    auto* texte = new QLabel(QStringLiteral("Vérification des retours de la RAMQ sur le serveur...\n"
                                            "Veuillez patienter."),
                             this);
    texte->setAlignment(Qt::AlignCenter);
    disposition->addWidget(texte);
    auto* attente = new QProgressBar(this);
    attente->setRange(0, 0);  // busy, no known end
    disposition->addWidget(attente);
    setMinimumWidth(360);
}
