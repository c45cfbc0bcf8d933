#include "platform/dialogues.h"

#include <QStringList>

QStringList FenetreChoix::boutons() const {
    QStringList l;
    for (const ElementChoix& e : elements)
        if (e.genre == ElementChoix::Genre::Bouton)
            l << e.texte;
    return l;
}
