/*
 * The two window operations the computation performs on dialogs: enabling a
 * control and setting its text. The Windows build implements them with
 * EnableWindow/GetDlgItem and SetDlgItemTextA (ui/window_seam.cpp); native
 * tests link a recording stand-in, so the ladder rule and the result display
 * are testable without a window system.
 */
#ifndef OSTREL_WINDOW_SEAM_H
#define OSTREL_WINDOW_SEAM_H

#include "tournament_state.h"

void EnableDialogControl(WindowHandle dialog, int32_t controlId, bool enable);
void SetDialogControlText(WindowHandle dialog, int32_t controlId, const char *text);

#endif
