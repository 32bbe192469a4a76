/*
 * Who takes a busted player's bounty. The pots are layered as pots.cpp
 * layers them: the busted player's last chips are in the layer that closes
 * at what he put in, which the best hand among the others who reached it
 * takes. Exact but for the division of a bounty among equal hands.
 */
#include "bounties.h"

#include <cmath>
#include <string>

namespace ostrel
{

Status CheckBounties(const Bounties &bounties, size_t tableSeats)
{
    if (!bounties.OnHead.empty() && bounties.OnHead.size() != tableSeats)
        return Failure("give a bounty for each of the table's " + std::to_string(tableSeats) + " seats");
    double sum = 0.0;
    for (double bounty : bounties.OnHead)
    {
        if (!std::isfinite(bounty) || bounty < 0.0)
            return Failure("a bounty must be a finite amount of 0 or more");
        sum += bounty;
    }
    if (!std::isfinite(bounties.InPlay) || bounties.InPlay < 0.0)
        return Failure("the bounty money in play must be a finite amount of 0 or more");
    // A pool typed as the sum of the table's bounties may round below it.
    if (bounties.InPlay < sum * (1.0 - 1e-12))
        return Failure("the bounty money in play is less than the bounties at the table");
    if (!(bounties.CashShare >= 0.0 && bounties.CashShare <= 1.0))
        return Failure("the bounty's cash share must be 0 to 1");
    if (!std::isfinite(bounties.Scale) || bounties.Scale <= 0.0)
        return Failure("the value of a unit of bounty must be finite and above 0");
    return Status();
}

void BountyCash(const Bounties &bounties, const Posting &posting, const Showdown &showdown,
                const int64_t *before, const int64_t *after, double *cash)
{
    const size_t seats = posting.Behind.size();
    for (size_t seat = 0; seat < seats; ++seat)
        cash[seat] = 0.0;
    if (bounties.OnHead.empty())
        return;
    for (size_t k = 0; k < showdown.Count; ++k)
    {
        const size_t busted = showdown.Seats[k];
        if (before[busted] <= 0 || after[busted] != 0 || bounties.OnHead[busted] <= 0.0)
            continue;
        const int64_t top = AllIn(posting, busted);
        uint8_t best = 255;
        for (size_t j = 0; j < showdown.Count; ++j)
            if (j != k && AllIn(posting, showdown.Seats[j]) >= top && showdown.Rank[j] < best)
                best = showdown.Rank[j];
        size_t winners = 0;
        for (size_t j = 0; j < showdown.Count; ++j)
            if (j != k && AllIn(posting, showdown.Seats[j]) >= top && showdown.Rank[j] == best)
                ++winners;
        if (winners == 0)
            continue;
        const double each = bounties.OnHead[busted] * bounties.CashShare / static_cast<double>(winners);
        for (size_t j = 0; j < showdown.Count; ++j)
            if (j != k && AllIn(posting, showdown.Seats[j]) >= top && showdown.Rank[j] == best)
                cash[showdown.Seats[j]] += each;
    }
}

} // namespace ostrel
