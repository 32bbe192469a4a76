/*
 * Bubble factor of the dialog's field of equal stacks, by the model
 * library's equal-stacks chain over the record's ladder.
 */
#include "bubble_factor.h"

#include "equal_stacks.h"

#include "number_entry.h"
#include "resource_ids.h"
#include "window_seam.h"

double BubbleEquityRecurse(int32_t chipsInPlay, int32_t stacks, int32_t depth)
{
    const TournamentStateRecord &state = TournamentState;
    const int32_t paid = state.PaidPlaces < 0 ? 0 : state.PaidPlaces;
    const ostrel::EqualStacksField field = {state.InitPlayers, state.InitChips, stacks, state.Payouts,
                                            static_cast<size_t>(paid > PlaceCount ? PlaceCount : paid)};
    return ostrel::EqualStacksEquity(field, chipsInPlay, depth);
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
