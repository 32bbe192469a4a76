/*
 * Posting and the order of action. Cost O(seats); no allocation beyond the
 * result's vectors.
 */
#include "table.h"

#include <algorithm>

namespace ostrel
{
namespace
{

size_t NextInPlay(const std::vector<int64_t> &stacks, size_t seat)
{
    for (size_t step = 1; step <= stacks.size(); ++step)
    {
        const size_t next = (seat + step) % stacks.size();
        if (stacks[next] > 0)
            return next;
    }
    return seat;
}

// Takes up to `amount` from what the seat still has; returns what it took.
int64_t Take(int64_t &left, int64_t amount)
{
    const int64_t taken = std::min(left, amount);
    left -= taken;
    return taken;
}

} // namespace

Status PostBlinds(const TableSetup &table, Posting &posting)
{
    const size_t seats = table.Stacks.size();
    size_t players = 0;
    for (int64_t stack : table.Stacks)
    {
        if (stack < 0 || stack > MaxStack)
            return Failure("a stack is outside 0 to 10^15 chips");
        players += stack > 0 ? 1 : 0;
    }
    if (players < 2)
        return Failure("a hand needs at least two players in play at the table");
    if (table.Button >= seats || table.Stacks[table.Button] == 0)
        return Failure("the button must be on a seat in play");
    if (table.SmallBlind <= 0 || table.BigBlind < table.SmallBlind || table.BigBlind > MaxStack)
        return Failure("the blinds must be whole chips with 0 < small blind <= big blind");
    if (table.Ante < 0 || table.Ante > MaxStack)
        return Failure("the ante must be whole chips, 0 or more");

    posting = Posting();
    posting.Dead.assign(seats, 0);
    posting.Live.assign(seats, 0);
    posting.Behind = table.Stacks;
    const bool headsUp = players == 2;
    posting.SmallBlindSeat = headsUp ? table.Button : NextInPlay(table.Stacks, table.Button);
    posting.BigBlindSeat = NextInPlay(table.Stacks, posting.SmallBlindSeat);
    if (!table.BigBlindAnte)
        for (size_t seat = 0; seat < seats; ++seat)
            posting.Dead[seat] = Take(posting.Behind[seat], table.Ante);
    posting.Live[posting.SmallBlindSeat] = Take(posting.Behind[posting.SmallBlindSeat], table.SmallBlind);
    posting.Live[posting.BigBlindSeat] = Take(posting.Behind[posting.BigBlindSeat], table.BigBlind);
    if (table.BigBlindAnte)
        posting.Dead[posting.BigBlindSeat] = Take(posting.Behind[posting.BigBlindSeat], table.Ante);
    for (int64_t dead : posting.Dead)
        posting.DeadMoney += dead;

    size_t seat = headsUp ? posting.SmallBlindSeat : NextInPlay(table.Stacks, posting.BigBlindSeat);
    for (size_t i = 0; i < players; ++i, seat = NextInPlay(table.Stacks, seat))
        posting.Order.push_back(seat);
    return Status();
}

size_t ActingPosition(const Posting &posting, size_t seat)
{
    const auto found = std::find(posting.Order.begin(), posting.Order.end(), seat);
    return found == posting.Order.end() ? NoSeat : static_cast<size_t>(found - posting.Order.begin());
}

} // namespace ostrel
