/*
 * Window operations shared by every window of the calculator: extents,
 * centring, the class cursor, immediate repaint, and the colour rules of
 * entry fields (white on ErrorRed when rejected) and result fields.
 */
#ifndef OSTREL_WINDOW_HELPERS_H
#define OSTREL_WINDOW_HELPERS_H

#include <windows.h>

#include <cstddef>

const COLORREF ErrorRed = RGB(192, 0, 0);

// A window's rectangle as left, top, width and height, in a RECT whose
// right and bottom members hold the width and the height.
RECT GetWindowExtent(HWND window);
RECT GetWorkArea();

// Where CenterWindow puts a window of extent `window` centred on extent
// `reference` and kept inside the work area rectangle `workArea` (left, top,
// right, bottom).
POINT CenteredPosition(const RECT &window, const RECT &reference, const RECT &workArea);
void CenterWindow(HWND window, HWND reference);

void SetWindowCursor(HWND window, HCURSOR cursor);
void LoadWindowCursor(HWND window, HINSTANCE instance, LPCSTR name);
void RepaintControl(HWND dialog, int controlId, BOOL erase);
void CopyBytes(void *destination, const void *source, size_t count);

HBRUSH PaintEntryColors(HDC dc, bool valid);
HBRUSH PaintResultColors(HDC dc);

#endif
