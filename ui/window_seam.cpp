/*
 * The window operations of the computation (ladder rule, result display,
 * bubble results) on real dialogs.
 */
#include <windows.h>

#include "window_seam.h"

void EnableDialogControl(WindowHandle dialog, int32_t controlId, bool enable)
{
    EnableWindow(GetDlgItem(dialog, controlId), enable ? TRUE : FALSE);
}

void SetDialogControlText(WindowHandle dialog, int32_t controlId, const char *text)
{
    SetDlgItemTextA(dialog, controlId, text);
}
