/*
 * Checks and counts shared by every method of the model.
 */
#include "field.h"

#include <cmath>
#include <utility>

namespace ostrel
{

Status Failure(std::string message)
{
    Status status;
    status.Ok = false;
    status.Message = std::move(message);
    return status;
}

Status CheckField(const Field &field)
{
    if (field.Seats > 0 && field.Stacks == nullptr)
        return Failure("no stacks given");
    if (field.Places > 0 && field.Prizes == nullptr)
        return Failure("no prizes given");
    for (size_t seat = 0; seat < field.Seats; ++seat)
        if (field.Stacks[seat] < 0)
            return Failure("seat " + std::to_string(seat + 1) + ": stack " + std::to_string(field.Stacks[seat]) +
                           " is negative");
    if (TotalChips(field) > MaxTotalChips)
        return Failure("the stacks add up to more than 10^18 chips, the most a field may hold");
    double sum = 0.0;
    for (size_t place = 0; place < field.Places; ++place)
    {
        const double prize = field.Prizes[place];
        if (!std::isfinite(prize) || prize < 0.0)
            return Failure("place " + std::to_string(place + 1) +
                           ": a prize must be a finite amount of 0 or more");
        sum += prize;
    }
    if (!std::isfinite(sum))
        return Failure("the prizes add up to more than the largest number a double holds (1.8e308)");
    return Status();
}

int64_t TotalChips(const Field &field)
{
    if (field.Stacks == nullptr)
        return 0;
    int64_t total = 0;
    for (size_t seat = 0; seat < field.Seats; ++seat)
    {
        const int64_t stack = field.Stacks[seat] > 0 ? field.Stacks[seat] : 0;
        if (stack > MaxTotalChips - total)
            return MaxTotalChips + 1;
        total += stack;
    }
    return total;
}

size_t PlayersInPlay(const Field &field)
{
    if (field.Stacks == nullptr)
        return 0;
    size_t players = 0;
    for (size_t seat = 0; seat < field.Seats; ++seat)
        players += field.Stacks[seat] != 0 ? 1 : 0;
    return players;
}

size_t PaidPlaces(const Field &field, size_t players)
{
    if (field.Prizes == nullptr)
        return 0;
    size_t paid = field.Places < players ? field.Places : players;
    while (paid > 0 && !(field.Prizes[paid - 1] > 0.0))
        paid -= 1;
    return paid;
}

double PrizePool(const Field &field, size_t players)
{
    if (field.Prizes == nullptr)
        return 0.0;
    double pool = 0.0;
    for (size_t place = 0; place < field.Places && place < players; ++place)
        pool += field.Prizes[place];
    return pool;
}

} // namespace ostrel
