/*
 * The process-wide tournament record, its start values and the payout ladder
 * rule that keeps the ladder in normal form.
 */
#include "tournament_state.h"

#include <cstring>

#include "resource_ids.h"
#include "window_seam.h"

// Seats 1-4 and the 250/150/100 ladder as the process starts; everything else
// zero or empty until the settings file is loaded.
static TournamentStateRecord MakeStartState()
{
    TournamentStateRecord state = {};
    const int32_t chips[4] = {6000, 4000, 4000, 6000};
    std::memcpy(state.PlayerChips, chips, sizeof chips);
    state.Payouts[0] = 250.0;
    state.Payouts[1] = 150.0;
    state.Payouts[2] = 100.0;
    return state;
}

TournamentStateRecord TournamentState = MakeStartState();

void ResetTournamentState()
{
    TournamentState = MakeStartState();
}

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
