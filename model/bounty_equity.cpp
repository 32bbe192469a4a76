#include "bounty_equity.h"

#include <cmath>

namespace ostrel
{

Status BountyEquity(const Field &field, double money, double *equity)
{
    if (!std::isfinite(money) || money < 0.0)
        return Failure("the bounty money in play must be a finite amount of 0 or more");
    int64_t total = 0;
    for (size_t seat = 0; seat < field.Seats; ++seat)
    {
        if (field.Stacks[seat] < 0 || field.Stacks[seat] > MaxTotalChips - total)
            return Failure("the field's stacks must be 0 or more and add up to at most 10^18 chips");
        total += field.Stacks[seat];
    }
    if (total == 0 && money > 0.0)
        return Failure("bounty money is in play but no player has chips");
    for (size_t seat = 0; seat < field.Seats; ++seat)
        equity[seat] = total == 0 ? 0.0
                                  : static_cast<double>(field.Stacks[seat]) / static_cast<double>(total) * money;
    return Status();
}

} // namespace ostrel
