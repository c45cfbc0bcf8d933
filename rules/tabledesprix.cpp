#include "rules/tabledesprix.h"

QString PrixDeLActe(const Configuration& c, const QString& code) {
    for (const EntreePrix& p : c.TableDesPrix)
        if (p.code == code)
            return p.prix;
    return {};
}
