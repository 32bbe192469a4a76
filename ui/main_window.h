/*
 * The main window: seat chips and results, places 1 to 10, the Player,
 * Calculate and Exit buttons, and the menu that reaches every other tool.
 */
#ifndef OSTREL_MAIN_WINDOW_H
#define OSTREL_MAIN_WINDOW_H

#include <windows.h>

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the ladder rule for the main window and enables Calculate only when,
// on the ladder the rule leaves, no entry is rejected and a place is paid.
void UpdateCalculateEnable(HWND window);
// Writes the stored prizes into the payout edits of `window`: places 1 to 10
// when `extra` is 0, places 11 to 30 otherwise.
void ShowPayouts(HWND window, int extra);
// "Payouts(n)" as the caption of the payouts group box.
void ShowPaidPlaces(HWND window);

#endif
