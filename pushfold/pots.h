/*
 * The chips after a hand: every player in the pot is all in, the pots are
 * layered by what each put in (side pots follow the stacks), folded blinds
 * count in the layers they reach without a claim on any (what no one in the
 * pot matched goes back), and the antes are dead money in the main pot.
 */
#ifndef OSTREL_PUSHFOLD_POTS_H
#define OSTREL_PUSHFOLD_POTS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "table.h"

namespace ostrel
{

constexpr size_t MaxPotPlayers = 3;

// The players in the pot in the order they went in: the shove, the call, the
// overcall. Rank[k] orders their hands at the showdown, 0 the best; equal
// ranks split.
struct Showdown
{
    size_t Seats[MaxPotPlayers] = {NoSeat, NoSeat, NoSeat};
    uint8_t Rank[MaxPotPlayers] = {0, 0, 0};
    size_t Count = 0;
};

// The ways a showdown of `count` players (1 to 3) can end: every weak order
// of their hands (3 for two players, 13 for three), in a fixed order.
size_t FinishCount(size_t count);
void FinishRanks(size_t count, size_t index, uint8_t *ranks);

/*
 * Every table seat's stack after the showdown, into stacks[0..seats).
 * With one player in the pot he takes it uncontested. A pot split among
 * equal hands gives its odd chips one by one to the winners in seat order
 * from the button's left. Cost: O(seats * count).
 */
void StacksAfter(const Posting &posting, size_t button, const Showdown &showdown, int64_t *stacks);

} // namespace ostrel

#endif
