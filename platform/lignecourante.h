#pragma once

class QAbstractItemView;

// A list whose current row is always its selected row: the row the arrow keys (or the focus
// coming in) make current is shown selected, so what the user sees chosen is what a command
// acts on and what the window shows beside the list.
void suivreLaLigneCourante(QAbstractItemView* liste);
