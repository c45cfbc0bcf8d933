#pragma once

class PortDialogue;

// The numbered message catalogue. Every message sounds the bell once on entry; the store's
// refusals 1 to 3 sound it a second time before their box.
void AfficherMessage(int MessageNo, PortDialogue& dialogues);
