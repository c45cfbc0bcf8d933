#include "config/configuration.h"

QStringList Configuration::listeOptometristes() const {
    QStringList l;
    for (const Optometriste& o : Optometristes)
        if (o.enUsage())
            l << o.nom;
    return l;
}

int Configuration::premierOptometriste() const {
    for (int i = 0; i < NombreOptometristes; ++i)
        if (Optometristes[i].enUsage())
            return i;
    return -1;
}

QStringList Configuration::listeEtablissements() const {
    QStringList l;
    for (const QString& e : Etablissements)
        if (!e.contains(QLatin1String("00000")))
            l << e;
    return l;
}

QStringList Configuration::listeActes() const {
    QStringList l;
    for (const EntreePrix& p : TableDesPrix)
        if (p.enUsage())
            l << p.code;
    return l;
}

const Optometriste* Configuration::optometriste(const QString& nom) const {
    for (const Optometriste& o : Optometristes)
        if (o.nom == nom)
            return &o;
    return nullptr;
}

Configuration Configuration::parDefaut() {
    Configuration c;
    c.version = VersionConfiguration;
    c.PoidsNAM = {1, 3, 7, 9, 1, 7, 1, 3, 4, 5, 7, 6, 9, 1};
    // EBCDIC codes: digits 240-249, the seven signs between "9" and "A" 0, then A-I, J-R, S-Z.
    for (int i = 0; i < 10; ++i)
        c.ValeursCaracteres[i] = 240 + i;
    for (int i = 0; i < 9; ++i)
        c.ValeursCaracteres[17 + i] = 193 + i;
    for (int i = 0; i < 9; ++i)
        c.ValeursCaracteres[26 + i] = 209 + i;
    for (int i = 0; i < 8; ++i)
        c.ValeursCaracteres[35 + i] = 226 + i;
    c.Optometristes[0] = {QStringLiteral("1e Optométriste"), QStringLiteral("311111"),
                          QStringLiteral("00000")};
    for (int i = 1; i < NombreOptometristes; ++i)
        c.Optometristes[i] = {QStringLiteral("%1e Optométriste ").arg(i + 1),
                              QStringLiteral("000000"), QStringLiteral("00000")};
    c.Etablissements[0] = QStringLiteral("St-Olvane 52713");
    for (int i = 1; i < NombreEtablissements; ++i)
        c.Etablissements[i] = QStringLiteral("Vide  00000");
    static const char* const prix[][2] = {
        {"09001", "002855"}, {"09002", "001200"}, {"09003", "001450"}, {"09004", "001350"},
        {"09005", "001000"}, {"09006", "000800"}, {"09007", "000800"}, {"09008", "001200"},
        {"09009", "000600"}, {"09010", "007000"}, {"09011", "006000"}, {"09012", "004800"},
        {"09013", "001600"}, {"09014", "001450"}, {"09015", "000000"}, {"09016", "000000"},
        {"09017", "001350"}, {"09018", "001450"}, {"09019", "001200"}, {"09020", "002073"},
        {"09021", "000570"}, {"09022", "002025"}, {"09024", "000400"}, {"09028", "003300"},
        {"09030", "004600"}};
    for (int i = 0; i < NombrePrix; ++i)
        c.TableDesPrix[i] = {QStringLiteral("00000"), QStringLiteral("000000")};
    for (size_t i = 0; i < std::size(prix); ++i)
        c.TableDesPrix[i] = {QString::fromLatin1(prix[i][0]), QString::fromLatin1(prix[i][1])};
    return c;
}
