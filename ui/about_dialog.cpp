/*
 * The About box (Help > About): centred on its owner, closed by OK, Enter,
 * Escape or the close box. Its texts are drawn on the dialog's own face.
 */
#include "about_dialog.h"

#include "resource_ids.h"
#include "window_helpers.h"

void RunAboutDialog(HINSTANCE instance, HWND owner, int templateId)
{
    DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, AboutDialogProc, 0);
}

static INT_PTR OnAboutCommand(HWND dialog, int id)
{
    if (id == IDC_OK)
        EndDialog(dialog, 1);
    else if (id == IDC_CANCEL)
        EndDialog(dialog, 0);
    else
        return FALSE;
    return TRUE;
}

static INT_PTR OnAboutStaticColor(HDC dc, HWND control)
{
    const int id = GetDlgCtrlID(control);
    if (id < IDC_ABOUT_TEXT_FIRST || id > IDC_ABOUT_TEXT_LAST)
        return FALSE;
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        CenterWindow(dialog, GetParent(dialog));
        LoadWindowCursor(dialog, nullptr, IDC_ARROW);
        return TRUE;
    case WM_COMMAND:
        return OnAboutCommand(dialog, LOWORD(wParam));
    case WM_CTLCOLORSTATIC:
        return OnAboutStaticColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default:
        return FALSE;
    }
}
