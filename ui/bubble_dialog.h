// The bubble factor tool: players and chips of a field of equal stacks in,
// $EV(1), $EV(2) and the bubble factor out.
#ifndef OSTREL_BUBBLE_DIALOG_H
#define OSTREL_BUBBLE_DIALOG_H

#include <windows.h>

void RunBubbleDialog();
INT_PTR CALLBACK BubbleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Writes InitPlayers and InitChips into the two entries and marks both valid;
// callers set BubbleUpdating around it.
void FillBubbleFields(HWND dialog);
// "Do it" needs both entries valid and at least one paid place.
void UpdateDoItEnable(HWND dialog);

#endif
