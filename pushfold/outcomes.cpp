/*
 * The book of outcomes. Cost: one valuation per distinct stack vector
 * (a std::map lookup of O(seats log n) for one already valued), so the cost
 * of a spot is the number of distinct outcomes times one field evaluation.
 */
#include "outcomes.h"

#include <algorithm>

#include "bounty_equity.h"

namespace ostrel
{

FieldEquity ChipValuation()
{
    return [](const Field &field, double *values) {
        const Status checked = CheckField(field);
        if (!checked.Ok)
            return checked;
        for (size_t seat = 0; seat < field.Seats; ++seat)
            values[seat] = static_cast<double>(field.Stacks[seat]);
        return Status();
    };
}

void OutcomeBook::PayBusted(const std::vector<int64_t> &stacks, std::vector<double> &values) const
{
    std::vector<size_t> busted;
    for (size_t seat = 0; seat < stacks.size(); ++seat)
        if (StacksBefore[seat] > 0 && stacks[seat] == 0)
            busted.push_back(seat);
    // Places n - b + 1 .. n, the larger starting stack first.
    std::sort(busted.begin(), busted.end(),
              [&](size_t a, size_t b) { return StacksBefore[a] > StacksBefore[b]; });
    const size_t first = PlayersBefore - busted.size() + 1;
    for (size_t i = 0; i < busted.size();)
    {
        size_t j = i;
        double prizes = 0.0;
        for (; j < busted.size() && StacksBefore[busted[j]] == StacksBefore[busted[i]]; ++j)
        {
            const size_t place = first + j;
            prizes += place <= Field_.Prizes.size() ? Field_.Prizes[place - 1] : 0.0;
        }
        for (size_t k = i; k < j; ++k)
            values[busted[k]] = prizes / static_cast<double>(j - i);
        i = j;
    }
}

Status OutcomeBook::Open(const HandField &field, const FieldEquity &valuation, bool bustedPlaces)
{
    Field_ = field;
    BustedPlaces = bustedPlaces;
    Valuation = valuation;
    Kept.clear();
    KeptWithBounties.clear();
    const Status posted = PostBlinds(field.Table, Post);
    if (!posted.Ok)
        return posted;
    const Status bounties = CheckBounties(field.Bounty, field.Table.Stacks.size());
    if (!bounties.Ok)
        return bounties;
    std::vector<int64_t> stacks = field.Table.Stacks;
    stacks.insert(stacks.end(), field.Others.begin(), field.Others.end());
    int64_t total = 0;
    size_t players = 0;
    for (int64_t stack : stacks)
    {
        if (stack < 0 || stack > MaxStack || total > MaxStack * 1000 - stack)
            return Failure("the field's stacks must be 0 to 10^15 chips each");
        total += stack;
        players += stack > 0 ? 1 : 0;
    }
    const Field before = {stacks.data(), stacks.size(), Field_.Prizes.data(), Field_.Prizes.size()};
    PrizePool_ = PrizePool(before, players);
    StacksBefore = stacks;
    PlayersBefore = players;
    BeforeValues.assign(stacks.size(), 0.0);
    const Status valued = Valuation(before, BeforeValues.data());
    if (!valued.Ok)
        return valued;
    return AddBounties(stacks, std::vector<double>(stacks.size(), 0.0), BeforeValues);
}

Status OutcomeBook::AddBounties(const std::vector<int64_t> &stacks, const std::vector<double> &cash,
                                std::vector<double> &values) const
{
    const Bounties &bounties = Field_.Bounty;
    if (!HasBounties(bounties))
        return Status();
    double left = bounties.InPlay;
    for (double won : cash)
        left -= won;
    std::vector<double> equity(stacks.size(), 0.0);
    const Field field = {stacks.data(), stacks.size(), nullptr, 0};
    const Status status = BountyEquity(field, std::max(left, 0.0), equity.data());
    if (!status.Ok)
        return status;
    for (size_t seat = 0; seat < stacks.size(); ++seat)
        values[seat] += bounties.Scale * (cash[seat] + equity[seat]);
    return Status();
}

std::vector<double> OutcomeBook::CashAfterShowdown(const Showdown &showdown) const
{
    std::vector<double> cash(Seats(), 0.0);
    if (HasBounties(Field_.Bounty))
    {
        const std::vector<int64_t> after = StacksAfterShowdown(showdown);
        BountyCash(Field_.Bounty, Post, showdown, StacksBefore.data(), after.data(), cash.data());
    }
    return cash;
}

double OutcomeBook::Worth(bool chipEv) const
{
    double worth = PrizePool_;
    if (chipEv)
    {
        worth = 0.0;
        for (int64_t stack : Field_.Table.Stacks)
            worth += static_cast<double>(stack);
        for (int64_t stack : Field_.Others)
            worth += static_cast<double>(stack);
    }
    return HasBounties(Field_.Bounty) ? worth + Field_.Bounty.Scale * Field_.Bounty.InPlay : worth;
}

std::vector<int64_t> OutcomeBook::StacksAfterShowdown(const Showdown &showdown) const
{
    std::vector<int64_t> stacks(Seats(), 0);
    StacksAfter(Post, Field_.Table.Button, showdown, stacks.data());
    std::copy(Field_.Others.begin(), Field_.Others.end(), stacks.begin() + static_cast<long>(TableSeats()));
    return stacks;
}

Status OutcomeBook::Values(const Showdown &showdown, const double *&values)
{
    if (!HasBounties(Field_.Bounty))
        return Value(StacksAfterShowdown(showdown), values);
    // Who busts whom, not the stacks alone, says where a bounty goes.
    std::vector<int64_t> key(1 + 2 * showdown.Count);
    key[0] = static_cast<int64_t>(showdown.Count);
    for (size_t k = 0; k < showdown.Count; ++k)
    {
        key[1 + 2 * k] = static_cast<int64_t>(showdown.Seats[k]);
        key[2 + 2 * k] = showdown.Rank[k];
    }
    const auto kept = KeptWithBounties.find(key);
    if (kept != KeptWithBounties.end())
    {
        values = kept->second.data();
        return Status();
    }
    const std::vector<int64_t> stacks = StacksAfterShowdown(showdown);
    const double *prizes = nullptr;
    Status status = Value(stacks, prizes);
    if (!status.Ok)
        return status;
    std::vector<double> result(prizes, prizes + stacks.size());
    status = AddBounties(stacks, CashAfterShowdown(showdown), result);
    if (!status.Ok)
        return status;
    values = KeptWithBounties.emplace(std::move(key), std::move(result)).first->second.data();
    return Status();
}

Status OutcomeBook::Value(const std::vector<int64_t> &stacks, const double *&values)
{
    const auto kept = Kept.find(stacks);
    if (kept != Kept.end())
    {
        values = kept->second.data();
        return Status();
    }
    std::vector<double> result(stacks.size(), 0.0);
    const Field field = {stacks.data(), stacks.size(), Field_.Prizes.data(), Field_.Prizes.size()};
    const Status status = Valuation(field, result.data());
    if (!status.Ok)
        return status;
    if (BustedPlaces)
        PayBusted(stacks, result);
    values = Kept.emplace(stacks, std::move(result)).first->second.data();
    return Status();
}

} // namespace ostrel
