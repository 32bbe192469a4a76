/*
 * Bounties in a hand. Each table seat has a bounty on his head; the bounty
 * money in play is every bounty still on a head, here and at other tables.
 * A stack is worth its share of that money by its share of the chips
 * (model/bounty_equity.h). The bounty of a player the hand busts goes to the
 * winner of the highest pot he had chips in (shared equally where that pot
 * is split): CashShare of it in cash at once, the rest onto the winner's own
 * head, where it stays in play. So an outcome is worth, besides the prizes of
 * the stacks after it, the cash won in it and the share of the bounty money
 * left in play that the stack after it holds.
 */
#ifndef OSTREL_PUSHFOLD_BOUNTIES_H
#define OSTREL_PUSHFOLD_BOUNTIES_H

#include <cstdint>
#include <vector>

#include "pots.h"

namespace ostrel
{

struct Bounties
{
    std::vector<double> OnHead; // by table seat, in the prize unit; empty: none
    double InPlay = 0.0;        // all bounty money in play, this table's included; 0: no bounties
    double CashShare = 1.0;     // 1 a knockout, 0.5 the usual progressive knockout
    double Scale = 1.0;         // value units per prize unit: 1 in money, chips per unit with chip EV
};

inline bool HasBounties(const Bounties &bounties)
{
    return bounties.InPlay > 0.0;
}

// Refuses a count that is not the table's seats, a bounty that is negative
// or not finite, money in play below the bounties at the table (beyond
// rounding), a share outside [0, 1] and a scale that is not finite and
// above 0.
Status CheckBounties(const Bounties &bounties, size_t tableSeats);

/*
 * The bounty cash each table seat wins in the showdown, into
 * cash[0..seats), given the stacks before the hand (by table seat) and
 * after it. Cost: O(seats * players in the pot).
 */
void BountyCash(const Bounties &bounties, const Posting &posting, const Showdown &showdown,
                const int64_t *before, const int64_t *after, double *cash);

} // namespace ostrel

#endif
