/*
 * Judging entry texts into the tournament record, shared by the main window,
 * the extra payouts dialog and the bubble factor dialog.
 */
#include "entry_checks.h"

#include "number_entry.h"

void ReadEntryText(HWND window, int id, char (&text)[EntryTextCapacity])
{
    SendDlgItemMessageA(window, id, WM_GETTEXT, EntryTextCapacity, reinterpret_cast<LPARAM>(text));
}

bool JudgePayoutEntry(int32_t place, char *text)
{
    double prize = 0;
    int32_t decimals = 0;
    if (!ParsePayoutText(text, &prize, &decimals))
    {
        TournamentState.PayoutDecimals[place] = -1;
        return false;
    }
    TournamentState.Payouts[place] = prize;
    TournamentState.PayoutDecimals[place] = decimals;
    return true;
}

bool JudgeChipEntry(int32_t seat, char *text)
{
    int32_t chips = 0;
    if (!ParseCountText(text, &chips))
    {
        TournamentState.ChipEntryInvalid[seat] = 1;
        return false;
    }
    TournamentState.PlayerChips[seat] = chips;
    TournamentState.ChipEntryInvalid[seat] = 0;
    return true;
}

bool JudgeRangedCount(char *text, bool (*inRange)(int32_t), int32_t *stored, int32_t *valid)
{
    int32_t count = 0;
    const bool accepted = ParseCountText(text, &count) && inRange(count);
    if (accepted)
        *stored = count;
    *valid = accepted ? 1 : 0;
    return accepted;
}
