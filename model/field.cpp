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
    {
        const int64_t stack = field.Stacks[seat];
        if (stack < 0 || stack > MaxStack)
            return Failure("seat " + std::to_string(seat + 1) + ": stack " + std::to_string(stack) +
                           " is outside 0 to 10^15");
    }
    for (size_t place = 0; place < field.Places; ++place)
    {
        const double prize = field.Prizes[place];
        if (!std::isfinite(prize) || prize < 0.0)
            return Failure("place " + std::to_string(place + 1) +
                           ": a prize must be a finite amount of 0 or more");
    }
    return Status();
}

size_t PlayersInPlay(const Field &field)
{
    size_t players = 0;
    for (size_t seat = 0; seat < field.Seats; ++seat)
        players += field.Stacks[seat] != 0 ? 1 : 0;
    return players;
}

size_t PaidPlaces(const Field &field, size_t players)
{
    size_t paid = field.Places < players ? field.Places : players;
    while (paid > 0 && !(field.Prizes[paid - 1] > 0.0))
        paid -= 1;
    return paid;
}

double PrizePool(const Field &field, size_t players)
{
    double pool = 0.0;
    for (size_t place = 0; place < field.Places && place < players; ++place)
        pool += field.Prizes[place];
    return pool;
}

} // namespace ostrel
