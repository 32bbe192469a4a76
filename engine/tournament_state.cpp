/*
 * The process-wide tournament record and its start values.
 */
#include "tournament_state.h"

#include <cstring>


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

int32_t ShownSeatCount()
{
    const int32_t count = TournamentState.PlayerCount;
    if (count < 0)
        return 0;
    return count > SeatCount ? SeatCount : count;
}
