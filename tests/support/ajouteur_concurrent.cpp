// Appends N records to a file, each filled with one letter and its sequence number, and
// prints the record numbers it was given. Used by the two-process append test.
#include "records/fichierenregistrements.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 4)
        return 2;
    FichierEnregistrements f(QString::fromLocal8Bit(argv[1]), 723);
    const char lettre = argv[2][0];
    const int n = QByteArray(argv[3]).toInt();
    for (int i = 0; i < n; ++i) {
        QByteArray r(723, lettre);
        r.replace(717, 6, QByteArray::number(i).rightJustified(6, '0'));
        const int numero = f.ajouter(r);
        std::printf("%d\n", numero);
    }
    return 0;
}
