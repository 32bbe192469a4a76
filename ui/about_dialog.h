// The About box: program name, version and notice.
#ifndef OSTREL_ABOUT_DIALOG_H
#define OSTREL_ABOUT_DIALOG_H

#include <windows.h>

// Runs the About box modally; returns when it is closed.
void RunAboutDialog(HINSTANCE instance, HWND owner, int templateId);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
