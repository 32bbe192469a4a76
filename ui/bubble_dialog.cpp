/*
 * The bubble factor dialog. Its two entries edit InitPlayers and InitChips
 * directly; "Do it" computes against the current payout ladder, and "Open"
 * reads a payout structure file, which also brings players and chips.
 */
#include "bubble_dialog.h"

#include <cstdio>

#include "bubble_factor.h"
#include "entry_checks.h"
#include "file_dialogs.h"
#include "number_entry.h"
#include "resource_ids.h"
#include "tournament_state.h"
#include "window_helpers.h"

namespace
{

void SetNumberText(HWND dialog, int id, int32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    SetDlgItemTextA(dialog, id, text);
}

// The entries' own change notifications are not judged while the fields are filled.
void RefillBubbleFields(HWND dialog)
{
    TournamentState.BubbleUpdating = 1;
    FillBubbleFields(dialog);
    UpdateDoItEnable(dialog);
    TournamentState.BubbleUpdating = 0;
}

void OnBubbleEntryUpdate(HWND dialog, int id)
{
    TournamentStateRecord &state = TournamentState;
    const bool players = id == IDC_BUBBLE_PLAYERS;
    int32_t *valid = players ? &state.BubblePlayersValid : &state.BubbleChipsValid;
    const int32_t before = *valid;
    char text[EntryTextCapacity];
    ReadEntryText(dialog, id, text);
    JudgeRangedCount(text, players ? CheckBubblePlayers : CheckBubbleChips,
                     players ? &state.InitPlayers : &state.InitChips, valid);
    if (*valid != before)
        RepaintControl(dialog, id, TRUE);
    UpdateDoItEnable(dialog);
}

INT_PTR OnBubbleInit(HWND dialog)
{
    CenterWindow(dialog, TournamentState.MainWindow);
    RefillBubbleFields(dialog);
    return TRUE;
}

// Open refills both entries whether or not a file was opened, which also
// discards rejected text.
void OpenCommand(HWND dialog)
{
    OpenPayoutStructureCommand(dialog);
    RefillBubbleFields(dialog);
}

void OnBubbleCommand(HWND dialog, int id, int code)
{
    switch (id)
    {
    case IDC_CANCEL: EndDialog(dialog, 0); break;
    case IDC_BUBBLE_OPEN: OpenCommand(dialog); break;
    case IDC_BUBBLE_DO_IT: ComputeBubbleFactor(dialog); break;
    case IDC_BUBBLE_PLAYERS:
    case IDC_BUBBLE_CHIPS:
        if (code == EN_UPDATE && !TournamentState.BubbleUpdating)
            OnBubbleEntryUpdate(dialog, id);
        break;
    default: break;
    }
}

INT_PTR OnBubbleEditColor(HDC dc, HWND control)
{
    const int id = GetDlgCtrlID(control);
    if (id == IDC_BUBBLE_PLAYERS)
        return reinterpret_cast<INT_PTR>(PaintEntryColors(dc, TournamentState.BubblePlayersValid != 0));
    if (id == IDC_BUBBLE_CHIPS)
        return reinterpret_cast<INT_PTR>(PaintEntryColors(dc, TournamentState.BubbleChipsValid != 0));
    return FALSE;
}

INT_PTR OnBubbleStaticColor(HDC dc, HWND control)
{
    const int id = GetDlgCtrlID(control);
    if (id < IDC_BUBBLE_EV1 || id > IDC_BUBBLE_FACTOR)
        return FALSE;
    return reinterpret_cast<INT_PTR>(PaintResultColors(dc));
}

} // namespace

void FillBubbleFields(HWND dialog)
{
    SetNumberText(dialog, IDC_BUBBLE_PLAYERS, TournamentState.InitPlayers);
    SetNumberText(dialog, IDC_BUBBLE_CHIPS, TournamentState.InitChips);
    TournamentState.BubblePlayersValid = 1;
    TournamentState.BubbleChipsValid = 1;
}

void UpdateDoItEnable(HWND dialog)
{
    const TournamentStateRecord &state = TournamentState;
    const bool ready = state.BubblePlayersValid != 0 && state.BubbleChipsValid != 0 && state.PaidPlaces > 0;
    EnableWindow(GetDlgItem(dialog, IDC_BUBBLE_DO_IT), ready ? TRUE : FALSE);
}

INT_PTR CALLBACK BubbleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        return OnBubbleInit(dialog);
    case WM_COMMAND:
        OnBubbleCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        return TRUE;
    case WM_CTLCOLOREDIT:
        return OnBubbleEditColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CTLCOLORSTATIC:
        return OnBubbleStaticColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default:
        return FALSE;
    }
}

void RunBubbleDialog()
{
    DialogBoxParamA(TournamentState.AppInstance, MAKEINTRESOURCEA(IDD_BUBBLE), TournamentState.MainWindow,
                    BubbleDialogProc, 0);
}
