/*
 * The main window's two layouts: the template's 18 seats with the buttons in
 * a column, and 10 seats with a shorter window and the buttons in a row.
 */
#ifndef OSTREL_PLAYER_LAYOUT_H
#define OSTREL_PLAYER_LAYOUT_H

#include <windows.h>

// Measures the template layout in pixels into LayoutMetrics; called once,
// before anything in the window is moved, hidden or filled.
void MeasureLayout(HWND window);
// Lays out 18 seats (eighteen non-zero) or 10; on the way to 10 the chips of
// seats 11 to 18 become 0. Empties every result field; keeps the window's
// top-left corner.
void ApplyPlayerCount(HWND window, int eighteen);

#endif
