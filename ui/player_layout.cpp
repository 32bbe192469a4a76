/*
 * Switching the main window between 10 and 18 seats. All sizes come from the
 * template as the window was created, measured in pixels, so both layouts
 * follow the dialog font and the screen's DPI.
 */
#include "player_layout.h"

#include <cstdio>

#include "resource_ids.h"
#include "tournament_state.h"
#include "window_helpers.h"

#ifndef _WIN64
static_assert(sizeof(WINDOWINFO) == 60, "window information record of a 32-bit build");
static_assert(sizeof(MENUITEMINFOA) == 48, "menu item record of a 32-bit build");
#endif

static const int ButtonIds[3] = {IDC_PLAYERS, IDC_CALCULATE, IDC_EXIT};

void MeasureLayout(HWND window)
{
    LayoutMetricsRecord &metrics = TournamentState.LayoutMetrics;
    WINDOWINFO info = {};
    info.cbSize = sizeof info;
    GetWindowInfo(window, &info);
    const LONG width = info.rcWindow.right - info.rcWindow.left;
    const LONG height = info.rcWindow.bottom - info.rcWindow.top;
    const LONG clientWidth = info.rcClient.right - info.rcClient.left;
    const LONG clientHeight = info.rcClient.bottom - info.rcClient.top;
    const RECT seatGroup = GetWindowExtent(GetDlgItem(window, IDC_SEAT_GROUP));
    const RECT payoutGroup = GetWindowExtent(GetDlgItem(window, IDC_PAYOUT_GROUP));
    RECT firstRow = {}, secondRow = {};
    GetWindowRect(GetDlgItem(window, IDC_CHIPS_FIRST), &firstRow);
    GetWindowRect(GetDlgItem(window, IDC_CHIPS_FIRST + 1), &secondRow);
    const LONG pitch = secondRow.top - firstRow.top;
    RECT button = {};
    for (int k = 0; k < 3; ++k)
    {
        const RECT extent = GetWindowExtent(GetDlgItem(window, ButtonIds[k]));
        metrics.ButtonColumnY[k] = extent.top - info.rcClient.top;
        if (k == 0)
        {
            button = extent;
            metrics.ButtonColumnX = extent.left - info.rcClient.left;
        }
    }
    const LONG margins = clientHeight - seatGroup.bottom;
    const LONG gap = (clientWidth - 3 * button.right) / 4;
    metrics.WindowWidth = width;
    metrics.EighteenSeatWindowHeight = height;
    metrics.SeatGroupWidth = seatGroup.right;
    metrics.SeatGroupHeight = seatGroup.bottom;
    metrics.PayoutGroupHeight = payoutGroup.bottom;
    metrics.ButtonRowY = margins + payoutGroup.bottom;
    metrics.TenSeatWindowHeight = height + margins - 8 * pitch + button.bottom;
    for (int k = 0; k < 3; ++k)
        metrics.ButtonRowX[k] = (k + 1) * gap + k * button.right;
}

/*
 * Seats 11 to 18 are hidden row by row; on the way to 10 seats each one's
 * chips and mark are cleared before "0" is written into its edit, so the
 * entry check that the write raises finds the entry valid already.
 */
static void ShowOrClearUpperSeats(HWND window, int eighteen)
{
    const int state = eighteen ? SW_SHOW : SW_HIDE;
    for (int seat = 11; seat <= SeatCount; ++seat)
    {
        ShowWindow(GetDlgItem(window, IDC_SEAT_LABEL_FIRST - 1 + seat), state);
        ShowWindow(GetDlgItem(window, IDC_CHIPS_FIRST - 1 + seat), state);
        ShowWindow(GetDlgItem(window, IDC_RESULT_FIRST - 1 + seat), state);
        if (eighteen)
            continue;
        TournamentState.PlayerChips[seat - 1] = 0;
        TournamentState.ChipEntryInvalid[seat - 1] = 0;
        SetDlgItemTextA(window, IDC_CHIPS_FIRST - 1 + seat, "0");
    }
}

static void PlaceButtons(HWND window, int eighteen)
{
    const LayoutMetricsRecord &metrics = TournamentState.LayoutMetrics;
    for (int k = 0; k < 3; ++k)
    {
        const int x = eighteen ? metrics.ButtonColumnX : metrics.ButtonRowX[k];
        const int y = eighteen ? metrics.ButtonColumnY[k] : metrics.ButtonRowY;
        SetWindowPos(GetDlgItem(window, ButtonIds[k]), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

// The button and the menu item name the layout the command switches to.
static void NamePlayersCommand(HWND window, const char *text)
{
    SetDlgItemTextA(window, IDC_PLAYERS, text);
    char itemText[32];
    std::snprintf(itemText, sizeof itemText, "%s\tAlt+P", text);
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = itemText;
    SetMenuItemInfoA(GetMenu(window), IDC_PLAYERS, FALSE, &item);
}

void ApplyPlayerCount(HWND window, int eighteen)
{
    const LayoutMetricsRecord &metrics = TournamentState.LayoutMetrics;
    const int groupHeight = eighteen ? metrics.SeatGroupHeight : metrics.PayoutGroupHeight;
    const int windowHeight = eighteen ? metrics.EighteenSeatWindowHeight : metrics.TenSeatWindowHeight;
    ShowOrClearUpperSeats(window, eighteen);
    for (int seat = 0; seat < SeatCount; ++seat)
        SetDlgItemTextA(window, IDC_RESULT_FIRST + seat, "");
    SetWindowPos(GetDlgItem(window, IDC_SEAT_GROUP), nullptr, 0, 0, metrics.SeatGroupWidth, groupHeight,
                 SWP_NOMOVE | SWP_NOZORDER);
    PlaceButtons(window, eighteen);
    NamePlayersCommand(window, eighteen ? "&Player 10" : "&Player 18");
    SetWindowPos(window, nullptr, 0, 0, metrics.WindowWidth, windowHeight, SWP_NOMOVE | SWP_NOZORDER);
    // A group box does not paint its inside: without this, the seat group's
    // old bottom line would stay drawn across row 11 after growing to 18.
    InvalidateRect(window, nullptr, TRUE);
}
