#include "platform/horloge.h"

std::optional<QDateTime> Horloge::fixe_;

QDate Horloge::aujourdhui() { return maintenant().date(); }

QDateTime Horloge::maintenant() { return fixe_ ? *fixe_ : QDateTime::currentDateTime(); }

void Horloge::fixer(const QDateTime& moment) { fixe_ = moment; }

void Horloge::liberer() { fixe_.reset(); }
