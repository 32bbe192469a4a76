#include "equity_field.h"

#include <algorithm>

#include "recording_seam.h"
#include "tournament_state.h"

void SetEquityField(const std::vector<int32_t> &chips, const std::vector<double> &payouts,
                    int32_t playerCount)
{
    ResetTournamentState();
    std::fill(std::begin(TournamentState.PlayerChips), std::end(TournamentState.PlayerChips), 0);
    std::fill(std::begin(TournamentState.Payouts), std::end(TournamentState.Payouts), 0.0);
    std::copy(chips.begin(), chips.end(), TournamentState.PlayerChips);
    std::copy(payouts.begin(), payouts.end(), TournamentState.Payouts);
    TournamentState.PlayerCount = playerCount;
    RecountPaidPlaces(nullptr, 0);
    ClearSeamCalls();
}
