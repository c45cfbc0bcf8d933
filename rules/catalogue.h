#pragma once
#include "platform/dialogues.h"
#include "rules/champsacte.h"

#include <QString>
#include <optional>

// The numbered message catalogue: messages 1-3, 20, 21, 55, 56 and the choice windows 22, 23,
// 50-54, 57 and 61-63. Every message sounds the bell once on entry; 1 to 3 a second time.
// `Index` is the act box concerned (messages 20 and 21 set its fee).
void AfficherMessage(int MessageNo, int Index, ChampsActe& champs, PortDialogue& dialogues);

// Choice window `numero` as the catalogue defines it, or nullptr.
const FenetreChoix* fenetreChoix(int numero);

// The effect of clicking button `bouton` of `fenetre`: window "Code d'Acte 9002" appends the
// caption without its "&" to the complementary information; the others put the caption's first
// four characters in the first empty diagnostic box, except "Ok".
void appliquerChoix(const FenetreChoix& fenetre, int bouton, ChampsActe& champs, PortDialogue& d);

// A travel amount as typed: digits are cents ("1720"), a point or a comma makes it dollars
// ("17.20"); the six-digit fee, or nothing when it does not fit six digits or is not a number.
std::optional<QString> montantDeplacement(const QString& reponse);
