/*
 * The payout ladder rule that keeps the ladder in normal form and follows it
 * with the payout edits of the window that runs it. Apart from the record so
 * that the computation links without the window seam.
 */
#include "tournament_state.h"

#include "resource_ids.h"
#include "window_seam.h"

static bool EditLivesInWindow(int32_t place, int32_t extraDialog)
{
    return extraDialog ? place > MainWindowPlaces : place <= MainWindowPlaces;
}

/*
 * Writing "0" into an edit raises its EN_UPDATE inside the write, and the
 * owning window answers by running this rule again. The nested run sees the
 * place already cleared, recounts from place 1 and leaves PaidPlaces as this
 * run will; everything this run still needs (chain, usable) is local, and a
 * clearing only happens after the chain has broken, so this run never counts
 * a place after a nested run has finished.
 */
int32_t RecountPaidPlaces(WindowHandle window, int32_t extraDialog)
{
    TournamentStateRecord &state = TournamentState;
    state.PaidPlaces = 0;
    bool chain = true;
    bool usable = true;
    for (int32_t place = 1; place <= PlaceCount; ++place)
    {
        const int32_t index = place - 1;
        const int32_t editId = IDC_PAYOUT_FIRST - 1 + place;
        const bool ownEdit = EditLivesInWindow(place, extraDialog) != 0;
        if (state.PayoutDecimals[index] < 0)
            usable = false;
        if (ownEdit)
            EnableDialogControl(window, editId, chain);
        if (chain && state.Payouts[index] > 0.0)
        {
            state.PaidPlaces += 1;
            continue;
        }
        chain = false;
        if (state.Payouts[index] > 0.0)
        {
            state.Payouts[index] = 0.0;
            state.PayoutDecimals[index] = 0;
            if (ownEdit)
                SetDialogControlText(window, editId, "0");
        }
    }
    if (state.PaidPlaces == 0)
        return 0;
    return usable ? 1 : 0;
}
