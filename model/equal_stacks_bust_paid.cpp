/*
 * One subtraction on the window's equities: the bust's prize comes off what
 * the call risks, nothing else changes.
 */
#include "equal_stacks_bust_paid.h"

namespace ostrel
{

double BustPrize(int64_t players, const double *prizes, size_t paid)
{
    if (prizes == nullptr || players < 1 || static_cast<uint64_t>(players) > paid)
        return 0.0;
    return prizes[players - 1];
}

double EqualStacksFactorBustPaid(const EqualStacksBubble &bubble, int64_t players, const double *prizes,
                                 size_t paid)
{
    const double gain = bubble.EquityTwoStacks - bubble.EquityOneStack;
    return (bubble.EquityOneStack - BustPrize(players, prizes, paid)) / gain;
}

} // namespace ostrel
