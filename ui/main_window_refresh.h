/*
 * What the other windows refresh on the main window after they change the
 * ladder: its payout edits, the "Payouts(n)" caption and the Calculate
 * button. Apart from the main window's dialog procedure, which opens those
 * windows, so that they need not include it.
 */
#ifndef OSTREL_MAIN_WINDOW_REFRESH_H
#define OSTREL_MAIN_WINDOW_REFRESH_H

#include <windows.h>

// Runs the ladder rule for the main window and enables Calculate only when,
// on the ladder the rule leaves, no entry is rejected and a place is paid.
void UpdateCalculateEnable(HWND window);
// Writes the stored prizes into the payout edits of `window`: places 1 to 10
// when `extra` is 0, places 11 to 30 otherwise.
void ShowPayouts(HWND window, int extra);
// "Payouts(n)" as the caption of the payouts group box.
void ShowPaidPlaces(HWND window);

#endif
