/*
 * The equal-stacks chain, evaluated from its last place upwards: the values
 * and the order of every operation are those of the recursion that defines
 * it, without its depth.
 */
#include "equal_stacks.h"

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
    const int64_t paid = static_cast<int64_t>(field.Paid);
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
    EqualStacksField field = {players, stack, 1, prizes, paid};
    const int64_t total = players * stack;
    result.EquityOneStack = EqualStacksEquity(field, total, 0);
    field.Held = 2;
    result.EquityTwoStacks = EqualStacksEquity(field, total, 0);
    const double gain = result.EquityTwoStacks - result.EquityOneStack;
    result.BubbleFactor = result.EquityOneStack / gain;
    return Status();
}

} // namespace ostrel
