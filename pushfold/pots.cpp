/*
 * Side pots by layers: each distinct all-in amount of a player in the pot
 * closes a layer, which the best hand among the players who reached it
 * takes; folded chips above the last layer, which no one in the pot
 * matched, go back to the player who put them in. Exact in whole chips.
 */
#include "pots.h"

#include <algorithm>
#include <utility>

namespace ostrel
{
namespace
{

// Weak orders of three hands, ranks of (first, second, third).
const uint8_t ThreeWayRanks[13][3] = {
    {0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}, // all different
    {0, 0, 1}, {0, 1, 0}, {1, 0, 0},                                   // two share the best
    {0, 1, 1}, {1, 0, 1}, {1, 1, 0},                                   // two share the worst
    {0, 0, 0},
};
const uint8_t TwoWayRanks[3][2] = {{0, 1}, {1, 0}, {0, 0}};

bool InPot(const Showdown &showdown, size_t seat)
{
    for (size_t k = 0; k < showdown.Count; ++k)
        if (showdown.Seats[k] == seat)
            return true;
    return false;
}

// Seats from the button's left, so that odd chips go in that order.
size_t DistanceFromButton(size_t seat, size_t button, size_t seats)
{
    return (seat + seats - button - 1) % seats;
}

// At most three entries: an insertion sort (and no bounds warnings from the library's).
template <typename T, typename Less> void SortFew(T *items, size_t count, Less less)
{
    for (size_t i = 1; i < count; ++i)
        for (size_t j = i; j > 0 && less(items[j], items[j - 1]); --j)
            std::swap(items[j], items[j - 1]);
}

} // namespace

size_t FinishCount(size_t count)
{
    return count == 3 ? 13 : count == 2 ? 3 : 1;
}

void FinishRanks(size_t count, size_t index, uint8_t *ranks)
{
    for (size_t k = 0; k < count; ++k)
        ranks[k] = count == 3 ? ThreeWayRanks[index][k] : count == 2 ? TwoWayRanks[index][k] : 0;
}

void StacksAfter(const Posting &posting, size_t button, const Showdown &showdown, int64_t *stacks)
{
    const size_t seats = posting.Behind.size();
    std::vector<int64_t> put(seats, 0);
    for (size_t seat = 0; seat < seats; ++seat)
    {
        const bool in = InPot(showdown, seat);
        put[seat] = in ? AllIn(posting, seat) : posting.Live[seat];
        stacks[seat] = in ? 0 : posting.Behind[seat];
    }
    int64_t levels[MaxPotPlayers] = {};
    for (size_t k = 0; k < showdown.Count; ++k)
        levels[k] = put[showdown.Seats[k]];
    SortFew(levels, showdown.Count, [](int64_t a, int64_t b) { return a < b; });
    const size_t distinct = static_cast<size_t>(std::unique(levels, levels + showdown.Count) - levels);
    int64_t below = 0;
    for (size_t j = 0; j < distinct; ++j)
    {
        int64_t layer = j == 0 ? posting.DeadMoney : 0;
        for (size_t seat = 0; seat < seats; ++seat)
            layer += std::min(put[seat], levels[j]) - std::min(put[seat], below);
        uint8_t best = 255;
        for (size_t k = 0; k < showdown.Count; ++k)
            if (put[showdown.Seats[k]] >= levels[j])
                best = std::min(best, showdown.Rank[k]);
        size_t winners[MaxPotPlayers] = {};
        size_t count = 0;
        for (size_t k = 0; k < showdown.Count; ++k)
            if (put[showdown.Seats[k]] >= levels[j] && showdown.Rank[k] == best)
                winners[count++] = showdown.Seats[k];
        SortFew(winners, count, [&](size_t a, size_t b) {
            return DistanceFromButton(a, button, seats) < DistanceFromButton(b, button, seats);
        });
        const int64_t share = layer / static_cast<int64_t>(count);
        int64_t odd = layer % static_cast<int64_t>(count);
        for (size_t w = 0; w < count; ++w)
        {
            stacks[winners[w]] += share + (odd > 0 ? 1 : 0);
            odd -= odd > 0 ? 1 : 0;
        }
        below = levels[j];
    }
    // Folded chips above every player in the pot (a small blind over a big
    // blind all in for less) were matched by no one: they go back.
    for (size_t seat = 0; seat < seats; ++seat)
        if (put[seat] > below)
            stacks[seat] += put[seat] - below;
}

} // namespace ostrel
