/*
 * The equal-stacks chain, evaluated from its last place upwards: the values
 * and the order of every operation are those of the recursion that defines
 * it, without its depth.
 */
#include "equal_stacks.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "equities.h"

namespace ostrel
{
namespace
{

double Own(const EqualStacksField &field, int64_t chips, int64_t depth)
{
    return static_cast<double>(field.Stack) * field.Prizes[depth] * static_cast<double>(field.Held) /
           static_cast<double>(chips);
}

} // namespace

double EqualStacksEquity(const EqualStacksField &field, int64_t chipsInPlay, int64_t depth)
{
    const uint64_t most = uint64_t{1} << 53;
    const int64_t paid = static_cast<int64_t>(std::min<uint64_t>(field.Paid, most));
    // Only states of the chain have a value: anything else is worth nothing.
    const bool state = field.Prizes != nullptr && field.Stack >= 1 && field.Held >= 1 && field.Players >= field.Held &&
                       depth >= 0 && depth < paid && chipsInPlay > 0 && chipsInPlay <= (int64_t{1} << 53) &&
                       chipsInPlay % field.Stack == 0 && field.Players <= (int64_t{1} << 53);
    if (!state)
        return 0.0;
    int64_t last = depth;
    while (chipsInPlay - (last - depth) * field.Stack != 0 && last + 1 < paid)
        last += 1;
    const int64_t lastChips = chipsInPlay - (last - depth) * field.Stack;
    double equity = lastChips == 0 ? 0.0 : Own(field, lastChips, last);
    for (int64_t d = last - 1; d >= depth; --d)
    {
        const int64_t chips = chipsInPlay - (d - depth) * field.Stack;
        const double weight = static_cast<double>(field.Players - field.Held - d);
        equity = equity * static_cast<double>(field.Stack) * weight / static_cast<double>(chips) +
                 Own(field, chips, d);
    }
    return equity;
}

Status EqualStacksBubbleFactor(int64_t players, int64_t stack, const double *prizes, size_t paid,
                               EqualStacksBubble &result)
{
    if (players < 2)
        return Failure("the equal-stacks bubble factor needs at least 2 players");
    if (stack < 1)
        return Failure("each stack must hold at least 1 chip");
    const int64_t exact = int64_t{1} << 53;
    if (stack > exact / players)
        return Failure("players times chips must stay within 2^53 (9007199254740992) chips");
    const Field ladder = {nullptr, 0, prizes, paid};
    const Status checked = CheckField(ladder);
    if (!checked.Ok)
        return checked;
    // Prizes near the largest double are scaled by a power of two, which
    // changes no bit of a representable result, and scaled back.
    double scale = 1.0;
    std::vector<double> scaled;
    const Status scaling = ScaledPrizes(ladder, scale, scaled);
    if (!scaling.Ok)
        return scaling;
    EqualStacksField field = {players, stack, 1, scale == 1.0 ? prizes : scaled.data(), paid};
    const int64_t total = players * stack;
    const double one = EqualStacksEquity(field, total, 0);
    field.Held = 2;
    const double two = EqualStacksEquity(field, total, 0);
    const double gain = two - one;
    result.EquityOneStack = one / scale;
    result.EquityTwoStacks = two / scale;
    result.BubbleFactor = one / gain;
    if (!std::isfinite(result.EquityOneStack) || !std::isfinite(result.EquityTwoStacks))
        return Failure("the $EV passes the largest number a double holds");
    return Status();
}

} // namespace ostrel
