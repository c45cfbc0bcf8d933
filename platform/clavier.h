#pragma once

// Enter and keypad Enter on a focused push button or toolbar button click it, in every window
// of the program, as Space does (a button of a main window ignores Enter by default). Installed
// once on the application.
void activerEntreeSurBoutons();
