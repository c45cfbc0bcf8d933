#pragma once
#include <QIcon>

class QScrollArea;
class QWidget;

// The program's icon, the one of its desktop entry, at the sizes a desktop asks for.
QIcon iconeProgramme();

// Every window of the program, when first shown, keeps to its screen: the size it was given, or
// the one its contents ask for, wide enough for its title and bounded by the screen's free
// area less a title bar. A window cannot shrink below its minimum size: one whose controls
// cannot shrink keeps them in a scroll area (below). Installed once on the application.
void ajusterFenetresALEcran();

// Room left for a window on its screen: the free area less a title bar and borders.
QSize espaceLibre(const QWidget* fenetre);

// A scroll area over `contenu`, without a frame and out of the keyboard's way, that scrolls the
// ways `sens` names: it asks for the content's whole size, so a window opens as it always did
// where its screen allows, and scrolls where it does not; the content grows with it beyond
// that size, and keeps its whole extent the ways it does not scroll.
QScrollArea* zoneDefilante(QWidget* contenu, QWidget* parent, Qt::Orientations sens = Qt::Horizontal | Qt::Vertical);
// The content of a dialog, in such a scroll area filling it that scrolls in height: the caller
// gives it its layout.
QWidget* contenuDefilant(QWidget* fenetre);
