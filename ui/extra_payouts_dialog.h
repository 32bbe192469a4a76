// Places 11 to 30, edited in place in a modal dialog; OK keeps the changes.
#ifndef OSTREL_EXTRA_PAYOUTS_DIALOG_H
#define OSTREL_EXTRA_PAYOUTS_DIALOG_H

#include <windows.h>

// True when the dialog ended with OK; every other way out puts the whole
// ladder back as it was.
bool RunExtraPayoutsDialog();
INT_PTR CALLBACK ExtraPayoutsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// OK needs a usable ladder with more than ten paid places, judged on the
// ladder the rule leaves.
void UpdateExtraPayoutsOkEnable(HWND dialog);

#endif
