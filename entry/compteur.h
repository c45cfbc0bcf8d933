#pragma once

// The gauge of invoices in memory: eleven scale labels 0, pas, ... 10 x pas; the slider runs
// from 0 to `maximum`; the label of index `rouge` is shown red and bold.
struct EchelleCompteur {
    int pas;
    int maximum;
    int rouge;
};

EchelleCompteur echelleCompteur(int nombre);
