/*
 * The main window's ladder display and Calculate button, as the main window
 * and the windows that change the ladder under it (Payout > More, Payout >
 * Open) refresh them.
 */
#include "main_window_refresh.h"

#include <cstdio>

#include "number_entry.h"
#include "resource_ids.h"
#include "tournament_state.h"

void UpdateCalculateEnable(HWND window)
{
    bool usable = SettleLadder(window, 0);
    for (int32_t seat = 0; seat < SeatCount; ++seat)
        if (TournamentState.ChipEntryInvalid[seat] != 0)
            usable = false;
    EnableWindow(GetDlgItem(window, IDC_CALCULATE), usable ? TRUE : FALSE);
}

void ShowPayouts(HWND window, int extra)
{
    const int32_t first = extra != 0 ? MainWindowPlaces : 0;
    const int32_t last = extra != 0 ? PlaceCount : MainWindowPlaces;
    char text[FixedTextCapacity];
    for (int32_t place = first; place < last; ++place)
    {
        FormatFixed(text, sizeof text, TournamentState.Payouts[place],
                    TournamentState.PayoutDecimals[place]);
        SetDlgItemTextA(window, IDC_PAYOUT_FIRST + place, text);
    }
}

void ShowPaidPlaces(HWND window)
{
    char caption[32];
    std::snprintf(caption, sizeof caption, "Payouts(%d)", static_cast<int>(TournamentState.PaidPlaces));
    SetDlgItemTextA(window, IDC_PAYOUT_GROUP, caption);
}
