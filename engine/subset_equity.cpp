/*
 * The window's fields by the model library's subset method: the shown seats'
 * chips and the paid places of the ladder, as the record holds them.
 */
#include "subset_equity.h"

#include "subset_method.h"

void ComputeEquitiesBySubsets(double equities[SeatCount])
{
    const TournamentStateRecord &state = TournamentState;
    const int32_t seats = ShownSeatCount();
    int64_t stacks[SeatCount] = {};
    for (int32_t seat = 0; seat < seats; ++seat)
        stacks[seat] = state.PlayerChips[seat];
    const int32_t paid = state.PaidPlaces < 0 ? 0 : state.PaidPlaces;
    const ostrel::Field field = {stacks, static_cast<size_t>(seats), state.Payouts,
                                 static_cast<size_t>(paid > PlaceCount ? PlaceCount : paid)};
    for (int32_t seat = 0; seat < SeatCount; ++seat)
        equities[seat] = 0.0;
    // Eighteen seats of 32-bit counts are always a field the method takes; a
    // refusal (no memory) leaves every field empty.
    ostrel::SubsetEquities(field, equities, nullptr);
}
