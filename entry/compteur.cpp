#include "entry/compteur.h"

EchelleCompteur echelleCompteur(int nombre) {
    const int pas = (nombre / 50 + 1) * 5;
    return {pas, 10 * pas, nombre / pas};
}
