/*
 * The payout ladder rule that keeps the ladder in normal form and follows it
 * with the payout edits of the window that runs it, and the verdict on the
 * ladder it leaves. Apart from the record so that the computation links
 * without the window seam.
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

bool LadderIsUsable()
{
    const TournamentStateRecord &state = TournamentState;
    if (state.PaidPlaces <= 0)
        return false;
    for (int32_t index = 0; index < PlaceCount; ++index)
        if (state.PayoutDecimals[index] < 0)
            return false;
    return true;
}

/*
 * The walk's own report judges each place before it may clear it, so the run
 * that clears a rejected place behind the ladder's end calls the ladder
 * unusable though nothing rejected is left. When the window answers the "0"
 * it writes, a nested run judges the cleared ladder, but the outer run's
 * report comes last; when the window's guard is set, no nested run happens at
 * all. The verdict is therefore taken from the record once the walk, and every
 * run nested in it, has ended: the same answer either way, and the outermost
 * caller, which acts last, acts on the ladder as it finally stands.
 */
bool SettleLadder(WindowHandle window, int32_t extraDialog)
{
    RecountPaidPlaces(window, extraDialog);
    return LadderIsUsable();
}
