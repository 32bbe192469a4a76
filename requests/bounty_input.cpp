/*
 * Bounties judged in the options' words. Cost: O(seats).
 */
#include "bounty_input.h"

#include <cmath>
#include <string>

#include "number_lists.h"
#include "number_text.h"

namespace ostrel
{
namespace
{

double Sum(const std::vector<double> &amounts)
{
    double sum = 0.0;
    for (double amount : amounts)
        sum += amount;
    return sum;
}

Status CheckAmounts(const char *option, const std::vector<double> &amounts)
{
    for (size_t i = 0; i < amounts.size(); ++i)
        if (!std::isfinite(amounts[i]) || amounts[i] < 0.0)
            return Failure(std::string(option) + ": bounty " + std::to_string(i + 1) +
                           " is not an amount of 0 or more");
    return Status();
}

} // namespace

Status ReadBountyTyped(const BountyTyped &typed, BountyInput &input)
{
    input = BountyInput();
    std::string error;
    if (typed.OnHead)
    {
        input.OnHead = ReadBountyList(*typed.OnHead, error);
        if (!error.empty())
            return Failure("--bounties: " + error);
    }
    if (typed.Others)
    {
        input.Others = ReadBountyList(*typed.Others, error);
        if (!error.empty())
            return Failure("--others-bounties: " + error);
    }
    double amount = 0.0;
    if (typed.Pool)
    {
        error = ParseBounty(*typed.Pool, "bounty pool", amount);
        if (!error.empty())
            return Failure("--bounty-pool: " + error);
        input.Pool = amount;
    }
    if (typed.Share)
    {
        error = ParseBounty(*typed.Share, "share", amount);
        if (!error.empty() || amount > 1.0)
            return Failure("--bounty-share " + *typed.Share +
                           ": the share of a bounty paid in cash is 0 to 1 (1 a knockout, 0.5 the usual progressive "
                           "knockout)");
        input.Share = amount;
    }
    if (typed.ChipsPerUnit)
    {
        error = ParseBounty(*typed.ChipsPerUnit, "rate", amount);
        if (!error.empty() || !(amount > 0.0))
            return Failure("--chips-per-unit " + *typed.ChipsPerUnit +
                           ": the chips a unit of bounty money is worth is a number above 0");
        input.ChipsPerUnit = amount;
    }
    return Status();
}

bool BountyMoneyInPlay(const BountyInput &input)
{
    return BountyMoney(input) > 0.0;
}

double BountyMoney(const BountyInput &input)
{
    return input.Pool ? *input.Pool : Sum(input.OnHead) + Sum(input.Others);
}

Status CheckBountyInput(const BountyInput &input, size_t seats, size_t others, bool chipEv)
{
    const bool any = !input.OnHead.empty() || !input.Others.empty() || input.Pool;
    if (!input.OnHead.empty() && input.OnHead.size() != seats)
        return Failure("--bounties: " + std::to_string(input.OnHead.size()) + " bounties for " +
                       std::to_string(seats) + " seats; give one for each seat, 0 for none");
    if (input.OnHead.empty() && any)
        return Failure("--others-bounties and --bounty-pool need the bounties at the table: give --bounties");
    Status status = CheckAmounts("--bounties", input.OnHead);
    if (status.Ok)
        status = CheckAmounts("--others-bounties", input.Others);
    if (!status.Ok)
        return status;
    if (!input.Others.empty() && input.Pool)
        return Failure("two sources for the bounty money at other tables: give --others-bounties or --bounty-pool, "
                       "not both");
    if (!input.Others.empty() && input.Others.size() != others)
        return Failure("--others-bounties: " + std::to_string(input.Others.size()) + " bounties for " +
                       std::to_string(others) + " players at other tables; give one for each");
    if (!input.OnHead.empty() && others > 0 && input.Others.empty() && !input.Pool)
        return Failure("with players at other tables, give their bounties (--others-bounties) or all the bounty "
                       "money in play (--bounty-pool)");
    if (input.Pool && !(std::isfinite(*input.Pool) && *input.Pool >= 0.0))
        return Failure("--bounty-pool: the bounty money in play is an amount of 0 or more");
    const double here = Sum(input.OnHead);
    if (input.Pool && *input.Pool < here * (1.0 - 1e-12))
        return Failure("--bounty-pool " + ShortestText(*input.Pool) + ": less than the bounties at the table (" +
                       ShortestText(here) + ")");
    if (!(input.Share >= 0.0 && input.Share <= 1.0))
        return Failure("--bounty-share: the share of a bounty paid in cash is 0 to 1 (1 a knockout, 0.5 the "
                       "usual progressive knockout)");
    if (input.ChipsPerUnit && !chipEv)
        return Failure("--chips-per-unit converts bounty money into chips: it goes with --chip-ev");
    if (input.ChipsPerUnit && !(std::isfinite(*input.ChipsPerUnit) && *input.ChipsPerUnit > 0.0))
        return Failure("--chips-per-unit: the chips a unit of bounty money is worth is a number above 0");
    if (chipEv && BountyMoneyInPlay(input) && !input.ChipsPerUnit)
        return Failure("--chip-ev with bounties: give --chips-per-unit, the chips one unit of bounty money is "
                       "worth, or value money without --chip-ev");
    return Status();
}

Bounties BountiesOf(const BountyInput &input, bool chipEv)
{
    Bounties bounties;
    if (!BountyMoneyInPlay(input))
        return bounties;
    bounties.OnHead = input.OnHead;
    bounties.InPlay = BountyMoney(input);
    bounties.CashShare = input.Share;
    bounties.Scale = chipEv && input.ChipsPerUnit ? *input.ChipsPerUnit : 1.0;
    return bounties;
}

} // namespace ostrel
