#pragma once
#include <QDate>
#include <QDateTime>
#include <optional>

// "Today" and "now" for the whole program; tests fix them.
class Horloge {
public:
    static QDate aujourdhui();
    static QDateTime maintenant();
    static void fixer(const QDateTime& moment);
    static void liberer();

private:
    static std::optional<QDateTime> fixe_;
};
