/*
 * The book of outcomes. Cost: one valuation per distinct stack vector
 * (a std::map lookup of O(seats log n) for one already valued), so the cost
 * of a spot is the number of distinct outcomes times one field evaluation.
 */
#include "outcomes.h"

#include <algorithm>

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
    const Status posted = PostBlinds(field.Table, Post);
    if (!posted.Ok)
        return posted;
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
    return Valuation(before, BeforeValues.data());
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
    return Value(StacksAfterShowdown(showdown), values);
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
