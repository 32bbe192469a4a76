/*
 * Bubble factor. With equal opponent stacks every opponent leads to the same
 * situation one place lower, so the finishing-order recursion is one chain,
 * weighted by the number of opponents left.
 */
#include "bubble_factor.h"

#include "number_entry.h"
#include "resource_ids.h"
#include "window_seam.h"

double BubbleEquityRecurse(int32_t chipsInPlay, int32_t stacks, int32_t depth)
{
    const TournamentStateRecord &state = TournamentState;
    if (chipsInPlay == 0)
        return 0.0;
    const double stack = static_cast<double>(state.InitChips);
    const double chips = static_cast<double>(chipsInPlay);
    const double own = stack * state.Payouts[depth] * static_cast<double>(stacks) / chips;
    if (depth + 1 >= state.PaidPlaces)
        return own;
    const double below = BubbleEquityRecurse(chipsInPlay - state.InitChips, stacks, depth + 1);
    const int32_t opponents = state.InitPlayers - stacks - depth;
    return below * stack * static_cast<double>(opponents) / chips + own;
}

static void ShowBubbleResult(WindowHandle dialog, int32_t controlId, double value)
{
    char text[FixedTextCapacity];
    SetDialogControlText(dialog, controlId, FormatFixed(text, sizeof text, value, 4));
}

void ComputeBubbleFactor(WindowHandle dialog)
{
    const TournamentStateRecord &state = TournamentState;
    SetDialogControlText(dialog, IDC_BUBBLE_EV1, "");
    SetDialogControlText(dialog, IDC_BUBBLE_EV2, "");
    SetDialogControlText(dialog, IDC_BUBBLE_FACTOR, "");
    const int32_t total = state.InitChips * state.InitPlayers;
    const double single = BubbleEquityRecurse(total, 1, 0);
    ShowBubbleResult(dialog, IDC_BUBBLE_EV1, single);
    const double doubled = BubbleEquityRecurse(total, 2, 0);
    ShowBubbleResult(dialog, IDC_BUBBLE_EV2, doubled);
    const double gain = doubled - single;
    ShowBubbleResult(dialog, IDC_BUBBLE_FACTOR, single / gain);
}
