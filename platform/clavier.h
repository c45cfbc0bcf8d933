#pragma once

// The keyboard on buttons, in every window of the program, installed once on the application:
// - Enter and keypad Enter on a focused push button or toolbar button click it, as Space does (a
//   button of a main window ignores Enter by default);
// - an access key (Alt+E on "&Enregistrer") clicks its button at once, where Qt shows the button
//   pressed for 100 ms before it clicks. An access key shared by two buttons still only moves the
//   focus between them.
void activerClavierDesBoutons();
