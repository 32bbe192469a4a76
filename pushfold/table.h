/*
 * The table of a push-or-fold hand: stacks before anyone posts, the button,
 * the blinds and the antes; what each seat posts, what it keeps behind and
 * the order in which the seats act. Plain values, no state between calls.
 */
#ifndef OSTREL_PUSHFOLD_TABLE_H
#define OSTREL_PUSHFOLD_TABLE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "field.h"

namespace ostrel
{

constexpr size_t NoSeat = static_cast<size_t>(-1);

// Seat i holds Stacks[i] chips (0 = empty seat). Ante is posted by every
// player, or by the big blind alone for the table when BigBlindAnte is set.
struct TableSetup
{
    std::vector<int64_t> Stacks;
    size_t Button = 0; // 0-based, a seat in play
    int64_t SmallBlind = 0;
    int64_t BigBlind = 0;
    int64_t Ante = 0;
    bool BigBlindAnte = false;
};

// What the posting leaves. Dead[i] is the ante seat i put in (dead money),
// Live[i] its blind (live: it counts toward a call), Behind[i] what it has
// left to play with. A player who cannot cover his posts is all in for what
// he has (Behind 0).
struct Posting
{
    std::vector<int64_t> Dead;
    std::vector<int64_t> Live;
    std::vector<int64_t> Behind;
    size_t SmallBlindSeat = NoSeat;
    size_t BigBlindSeat = NoSeat;
    std::vector<size_t> Order; // seats in play in the order they act, the big blind last
    int64_t DeadMoney = 0;     // all antes together
};

/*
 * Posts the blinds and antes. With three or more players the seat after the
 * button (skipping empty seats) posts the small blind, the next one the big
 * blind, and the seat after the big blind acts first; heads-up the button
 * posts the small blind and acts first. Antes are posted before the blind
 * by every player; a big-blind ante is posted after the big blind (the blind
 * first when he cannot cover both).
 *
 * Refuses fewer than two players, a button on an empty seat or off the
 * table, blinds that are not 0 < SB <= BB, a negative ante, and stacks the
 * field could not hold. Cost: O(seats).
 */
Status PostBlinds(const TableSetup &table, Posting &posting);

// Chips seat `seat` can put in the pot in all: its blind and what is behind.
inline int64_t AllIn(const Posting &posting, size_t seat)
{
    return posting.Live[seat] + posting.Behind[seat];
}

// The position of `seat` in posting.Order, or NoSeat.
size_t ActingPosition(const Posting &posting, size_t seat);

} // namespace ostrel

#endif
