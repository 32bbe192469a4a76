/*
 * The main window: seat chips and results, places 1 to 10, the Player,
 * Calculate and Exit buttons, and the menu that reaches every other tool.
 */
#ifndef OSTREL_MAIN_WINDOW_H
#define OSTREL_MAIN_WINDOW_H

#include <windows.h>

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
