/*
 * Seat equity by the plain recursion over finishing orders. The opponents'
 * stacks are permuted in place in a fixed scratch, and every operation is
 * rounded to double in the one order that defines the results' last bits.
 * Fields too large to walk order by order go to the subset method instead.
 */
#include "seat_equity.h"

#include "subset_equity.h"

/*
 * At depth d the unplaced opponents stand in slots d..m-1. Candidate j is
 * placed by moving slot d's stack into slot j, so the level below finds the
 * others in slots d+1..m-1; slot j gets its own stack back afterwards.
 * Called sum(m!/(m-i)!, i = 0..L) times per seat, L = min(m, PaidPlaces - 1).
 */
double EquityRecurse(int32_t depth, int64_t chipsInPlay)
{
    TournamentStateRecord &state = TournamentState;
    const double hero = static_cast<double>(state.HeroStack);
    double sum = hero * state.Payouts[depth];
    if (state.OpponentCount - depth > 0 && depth + 1 < state.PaidPlaces)
    {
        const int32_t first = state.OpponentStacks[depth];
        for (int32_t slot = depth; slot < state.OpponentCount; ++slot)
        {
            const int32_t chips = state.OpponentStacks[slot];
            state.OpponentStacks[slot] = first;
            const double below = EquityRecurse(depth + 1, chipsInPlay - chips);
            state.OpponentStacks[slot] = chips;
            sum = below * static_cast<double>(chips) + sum;
        }
    }
    return sum / static_cast<double>(chipsInPlay);
}

/*
 * Totals are 64-bit: eighteen seats can hold up to 18 * 2^31 chips between
 * them, which a 32-bit total would overflow. Every total is below 2^53, so it
 * converts to double exactly, and up to 2^31 - 1 the results are those of
 * 32-bit arithmetic.
 */
double PlainSeatEquity(uint32_t seatIndex)
{
    TournamentStateRecord &state = TournamentState;
    const int32_t seats = ShownSeatCount();
    if (seats == 0 || seatIndex >= static_cast<uint32_t>(seats))
        return 0.0;
    const int32_t hero = state.PlayerChips[seatIndex];
    state.PlayerChips[seatIndex] = 0;
    if (hero == 0)
        return 0.0;
    state.HeroStack = hero;
    int64_t total = hero;
    int32_t opponents = 0;
    for (int32_t seat = 0; seat < seats; ++seat)
    {
        const int32_t chips = state.PlayerChips[seat];
        if (chips == 0)
            continue;
        state.OpponentStacks[opponents++] = chips;
        total += chips;
    }
    state.PlayerChips[seatIndex] = hero;
    state.OpponentCount = opponents;
    return EquityRecurse(0, total);
}

static int32_t PlayersInPlayCount()
{
    const int32_t seats = ShownSeatCount();
    int32_t players = 0;
    for (int32_t seat = 0; seat < seats; ++seat)
        players += TournamentState.PlayerChips[seat] != 0 ? 1 : 0;
    return players;
}

// Every seat in play has the same number of opponents, so every seat costs
// the same number of calls.
uint64_t PlainCalculateCalls()
{
    const int32_t players = PlayersInPlayCount();
    if (players == 0)
        return 0;
    const uint64_t perSeat = PlainEquityCalls(players - 1, TournamentState.PaidPlaces);
    const uint64_t seats = static_cast<uint64_t>(players);
    return perSeat > UINT64_MAX / seats ? UINT64_MAX : perSeat * seats;
}

bool FieldNeedsSubsets()
{
    return PlainCalculateCalls() > PlainCallBudget;
}

// The method is chosen by the cost of the whole field, as Calculate chooses
// it, so a seat's value is the same whether asked alone or shown by Calculate.
double ComputeSeatEquity(uint32_t seatIndex)
{
    if (!FieldNeedsSubsets())
        return PlainSeatEquity(seatIndex);
    double equities[SeatCount];
    ComputeEquitiesBySubsets(equities);
    return seatIndex < static_cast<uint32_t>(SeatCount) ? equities[seatIndex] : 0.0;
}

uint64_t PlainEquityCalls(int32_t opponents, int32_t paidPlaces)
{
    int32_t levels = paidPlaces - 1 < opponents ? paidPlaces - 1 : opponents;
    if (levels < 0)
        levels = 0;
    uint64_t calls = 1;
    uint64_t term = 1;
    for (int32_t i = 1; i <= levels; ++i)
    {
        const uint64_t factor = static_cast<uint64_t>(opponents - i + 1);
        if (term > UINT64_MAX / factor)
            return UINT64_MAX;
        term *= factor;
        if (calls > UINT64_MAX - term)
            return UINT64_MAX;
        calls += term;
    }
    return calls;
}
