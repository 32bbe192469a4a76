/*
 * The subset method: Chance[S] is the chance that the players of set S take
 * places 1..|S| in some order. From each reachable S, every player j outside
 * it takes place |S| + 1 with chance Chance[S] * c_j / (chips outside S); that
 * pays him its prize and feeds Chance[S + j].
 */
#include "subset_equity.h"

#include <cstdlib>

#include "seat_equity.h"

// The players in play, in seat order, and where each one sits.
struct PlayersInPlay
{
    int32_t Count;
    int32_t Seat[SeatCount];
    double Chips[SeatCount];
    double Total;
};

// Chip counts and every partial total are integers below 2^53, so the double
// sums and differences here are exact: no 32-bit total can overflow.
static PlayersInPlay GatherPlayersInPlay()
{
    PlayersInPlay players = {};
    const int32_t seats = ShownSeatCount();
    for (int32_t seat = 0; seat < seats; ++seat)
    {
        const int32_t chips = TournamentState.PlayerChips[seat];
        if (chips == 0)
            continue;
        players.Seat[players.Count] = seat;
        players.Chips[players.Count] = static_cast<double>(chips);
        players.Total += static_cast<double>(chips);
        players.Count += 1;
    }
    return players;
}

// A running sum with Kahan's compensation: a seat's equity gathers up to 2^17
// terms, whose rounding errors would otherwise add up to about 1e-12.
struct CompensatedSum
{
    double Sum;
    double Lost;
};

static void AddCompensated(CompensatedSum &total, double term)
{
    const double corrected = term - total.Lost;
    const double sum = total.Sum + corrected;
    total.Lost = (sum - total.Sum) - corrected;
    total.Sum = sum;
}

// Index of the lowest set bit of a non-zero mask, by de Bruijn multiplication:
// no branch, so walking a set costs the same whatever its members.
static int32_t LowestMember(uint32_t set)
{
    static const int8_t Position[32] = {0,  1,  28, 2,  29, 14, 24, 3,  30, 22, 20,
                                        15, 25, 17, 4,  8,  31, 27, 13, 23, 21, 19,
                                        16, 7,  26, 12, 18, 6,  11, 5,  10, 9};
    const uint32_t lowest = set & (~set + 1u);
    return Position[(lowest * 0x077CB531u) >> 27];
}

/*
 * Hands out place |set| + 1 from the set `set` of players who took the places
 * above it. Sets are visited in increasing order, and set + j is larger than
 * set, so Chance[set] is complete by the time it is read.
 */
static void PlaceNextFinisher(const PlayersInPlay &players, int32_t places, uint32_t set,
                              double *chance, CompensatedSum *equities)
{
    int32_t taken = 0;
    double chipsLeft = players.Total;
    for (uint32_t members = set; members != 0; members &= members - 1)
    {
        taken += 1;
        chipsLeft -= players.Chips[LowestMember(members)];
    }
    const double share = chance[set] / chipsLeft;
    const double prize = TournamentState.Payouts[taken];
    const bool placesBelow = taken + 1 < places;
    const uint32_t everyone = (1u << players.Count) - 1u;
    for (uint32_t rest = everyone & ~set; rest != 0; rest &= rest - 1)
    {
        const int32_t player = LowestMember(rest);
        const double finish = share * players.Chips[player];
        AddCompensated(equities[player], finish * prize);
        if (placesBelow)
            chance[set | 1u << player] += finish;
    }
}

/*
 * Only sets smaller than the paid places are ever given a chance; the others
 * keep 0.0 and are passed over. A reachable set cannot round to 0.0: each of
 * its at most 17 factors is at least 1 / (18 * 2^31).
 */
void ComputeEquitiesBySubsets(double equities[SeatCount])
{
    for (int32_t seat = 0; seat < SeatCount; ++seat)
        equities[seat] = 0.0;
    const PlayersInPlay players = GatherPlayersInPlay();
    if (players.Count == 0)
        return;
    int32_t places = TournamentState.PaidPlaces < players.Count ? TournamentState.PaidPlaces
                                                                : players.Count;
    if (places < 1)
        places = 1;
    const uint32_t sets = 1u << players.Count;
    double *chance = static_cast<double *>(std::calloc(sets, sizeof(double)));
    if (chance == nullptr)
        return; // no memory: every field stays empty
    CompensatedSum playerEquities[SeatCount] = {};
    chance[0] = 1.0;
    for (uint32_t set = 0; set < sets; ++set)
        if (chance[set] != 0.0)
            PlaceNextFinisher(players, places, set, chance, playerEquities);
    std::free(chance);
    for (int32_t player = 0; player < players.Count; ++player)
        equities[players.Seat[player]] = playerEquities[player].Sum;
}
