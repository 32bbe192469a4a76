/*
 * The main window's dialog procedure. Every edit change is judged at once:
 * an accepted number goes into the tournament record, a rejected one only
 * marks the entry, which then shows white on red and disables Calculate.
 */
#include "main_window.h"

#include "about_dialog.h"
#include "bubble_dialog.h"
#include "entry_checks.h"
#include "extra_payouts_dialog.h"
#include "file_dialogs.h"
#include "main_window_refresh.h"
#include "number_entry.h"
#include "player_layout.h"
#include "resource_ids.h"
#include "seat_equity.h"
#include "settings_file.h"
#include "tournament_state.h"
#include "window_helpers.h"

static bool IsChipEdit(int id)
{
    return id >= IDC_CHIPS_FIRST && id <= IDC_CHIPS_LAST;
}

static bool IsPayoutEdit(int id)
{
    return id >= IDC_PAYOUT_FIRST && id <= IDC_PAYOUT_LAST;
}

static bool EntryIsValid(int id)
{
    if (IsChipEdit(id))
        return TournamentState.ChipEntryInvalid[id - IDC_CHIPS_FIRST] == 0;
    return TournamentState.PayoutDecimals[id - IDC_PAYOUT_FIRST] >= 0;
}

/*
 * The entry check runs nested whenever the program itself writes into an edit
 * with MainUpdating clear: the "0" of the 10-seat switch and of the ladder
 * rule. It keeps nothing between its steps but its own text buffer, so the
 * nested run judges the written text, stores what the writer stored and
 * refreshes the button and caption once more; the outer run then goes on.
 */
static void OnEntryUpdate(HWND window, int id)
{
    char text[EntryTextCapacity];
    ReadEntryText(window, id, text);
    const bool wasValid = EntryIsValid(id);
    if (IsChipEdit(id))
        JudgeChipEntry(id - IDC_CHIPS_FIRST, text);
    else
        JudgePayoutEntry(id - IDC_PAYOUT_FIRST, text);
    if (EntryIsValid(id) != wasValid)
        RepaintControl(window, id, TRUE);
    UpdateCalculateEnable(window);
    ShowPaidPlaces(window);
}

static void CalculateCommand(HWND window)
{
    ShowSeatEquities(window);
    SaveSettings();
}

static void MorePayoutsCommand(HWND window)
{
    if (RunExtraPayoutsDialog())
        ShowPaidPlaces(window);
}

static void PlayersCommand(HWND window)
{
    TournamentState.PlayerCount = TournamentState.PlayerCount == 18 ? 10 : 18;
    ApplyPlayerCount(window, TournamentState.PlayerCount == 18 ? 1 : 0);
}

static void SetWindowIcons(HWND window)
{
    HANDLE big = LoadImageA(TournamentState.AppInstance, MAKEINTRESOURCEA(IDI_OSTREL), IMAGE_ICON,
                            32, 32, LR_DEFAULTCOLOR);
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    HANDLE small = LoadImageA(TournamentState.AppInstance, MAKEINTRESOURCEA(IDI_OSTREL), IMAGE_ICON,
                              16, 16, LR_DEFAULTCOLOR);
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

// Runs inside CreateDialogParamA, before MainWindow is set: only `window` is used.
static INT_PTR OnMainInit(HWND window)
{
    TournamentState.MainUpdating = 1;
    MeasureLayout(window);
    LoadSettings(window);
    ShowPayouts(window, 0);
    ApplyPlayerCount(window, TournamentState.PlayerCount == 18 ? 1 : 0);
    UpdateCalculateEnable(window);
    ShowPaidPlaces(window);
    CenterWindow(window, nullptr);
    LoadWindowCursor(window, nullptr, IDC_ARROW);
    SetWindowIcons(window);
    ShowWindow(window, SW_SHOW);
    TournamentState.MainUpdating = 0;
    return TRUE;
}

static void OnMainCommand(HWND window, int id, int code)
{
    switch (id)
    {
    case IDM_ABOUT: RunAboutDialog(TournamentState.AppInstance, TournamentState.MainWindow, IDD_ABOUT); break;
    case IDC_PLAYERS: PlayersCommand(window); break;
    case IDC_CALCULATE: CalculateCommand(window); break;
    case IDC_EXIT: DestroyWindow(window); break;
    case IDM_OPEN_PAYOUTS: OpenPayoutStructureCommand(window); break;
    case IDM_SAVE_PAYOUTS: SavePayoutStructureCommand(); break;
    case IDM_MORE_PAYOUTS: MorePayoutsCommand(window); break;
    case IDM_BUBBLE: RunBubbleDialog(); break;
    default:
        if ((IsChipEdit(id) || IsPayoutEdit(id)) && code == EN_UPDATE && !TournamentState.MainUpdating)
            OnEntryUpdate(window, id);
        break;
    }
}

static INT_PTR OnMainEditColor(HDC dc, HWND control)
{
    const int id = GetDlgCtrlID(control);
    if (!IsChipEdit(id) && !IsPayoutEdit(id))
        return FALSE;
    return reinterpret_cast<INT_PTR>(PaintEntryColors(dc, EntryIsValid(id)));
}

static INT_PTR OnMainStaticColor(HDC dc, HWND control)
{
    const int id = GetDlgCtrlID(control);
    if (id < IDC_RESULT_FIRST || id > IDC_RESULT_LAST)
        return FALSE;
    return reinterpret_cast<INT_PTR>(PaintResultColors(dc));
}

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        return OnMainInit(window);
    case WM_COMMAND:
        OnMainCommand(window, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CTLCOLOREDIT:
        return OnMainEditColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CTLCOLORSTATIC:
        return OnMainStaticColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CLOSE:
        DestroyWindow(window);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}
