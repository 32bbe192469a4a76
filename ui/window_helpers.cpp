/*
 * Window operations shared by the main window, the tool dialogs and the file
 * dialog hook.
 */
#include "window_helpers.h"

RECT GetWindowExtent(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    rect.right -= rect.left;
    rect.bottom -= rect.top;
    return rect;
}

RECT GetWorkArea()
{
    RECT rect = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rect, 0);
    rect.right -= rect.left;
    rect.bottom -= rect.top;
    return rect;
}

// Halving that rounds toward minus infinity, as an arithmetic shift does:
// -3 gives -2, not -1.
static LONG HalveDown(LONG value)
{
    return value >= 0 ? value / 2 : -((1 - value) / 2);
}

// Only one edge is enforced per axis: the near edge first, and the far edge
// only when the near one held, never re-checked against the near edge. A
// window larger than the work area therefore keeps its top-left corner on
// screen when it was left of or above the work area.
static LONG ClampToSpan(LONG position, LONG size, LONG low, LONG high)
{
    if (position < low)
        return low;
    if (position + size > high)
        return high - size;
    return position;
}

POINT CenteredPosition(const RECT &window, const RECT &reference, const RECT &workArea)
{
    POINT at;
    at.x = reference.left + HalveDown(reference.right - window.right);
    at.y = reference.top + HalveDown(reference.bottom - window.bottom);
    at.x = ClampToSpan(at.x, window.right, workArea.left, workArea.right);
    at.y = ClampToSpan(at.y, window.bottom, workArea.top, workArea.bottom);
    return at;
}

void CenterWindow(HWND window, HWND reference)
{
    const RECT extent = GetWindowExtent(window);
    const RECT target = reference != nullptr ? GetWindowExtent(reference) : GetWorkArea();
    RECT workArea = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    const POINT at = CenteredPosition(extent, target, workArea);
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

// The cursor becomes the class cursor of the window's class, which the main
// window shares with every dialog of the program.
void SetWindowCursor(HWND window, HCURSOR cursor)
{
    ShowCursor(FALSE);
    if (window != nullptr)
        SetClassLongPtrA(window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
    SetCursor(cursor);
    ShowCursor(TRUE);
}

void LoadWindowCursor(HWND window, HINSTANCE instance, LPCSTR name)
{
    SetWindowCursor(window, LoadCursorA(instance, name));
}

void RepaintControl(HWND dialog, int controlId, BOOL erase)
{
    HWND control = GetDlgItem(dialog, controlId);
    InvalidateRect(control, nullptr, erase);
    UpdateWindow(control);
}

void CopyBytes(void *destination, const void *source, size_t count)
{
    if (destination == nullptr || source == nullptr)
        return;
    unsigned char *to = static_cast<unsigned char *>(destination);
    const unsigned char *from = static_cast<const unsigned char *>(source);
    for (size_t i = 0; i < count; ++i)
        to[i] = from[i];
}

HBRUSH PaintEntryColors(HDC dc, bool valid)
{
    if (valid)
    {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return GetSysColorBrush(COLOR_WINDOW);
    }
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, ErrorRed);
    SetDCBrushColor(dc, ErrorRed);
    return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

HBRUSH PaintResultColors(HDC dc)
{
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return GetSysColorBrush(COLOR_WINDOW);
}
