/*
 * The finishing-order model's inputs and outputs as the library's methods
 * share them: a field of stacks and a prize ladder borrowed from the caller,
 * errors as values, and the finish table. No method keeps any state between
 * calls, so every function here may run on several threads at once.
 */
#ifndef OSTREL_MODEL_FIELD_H
#define OSTREL_MODEL_FIELD_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ostrel
{

// The largest stack a person may type for one seat: 10^15 chips. The library
// itself judges only the total (below), so that a field built inside a
// computation, such as the winner's stack after a hand, is never refused.
constexpr int64_t MaxStack = 1000000000000000;

// The most chips a field may hold in all: 10^18, so that every sum of stacks
// fits in 63 bits and a million seats of up to 10^12 chips still pass.
constexpr int64_t MaxTotalChips = 1000000000000000000;

// Seat i holds Stacks[i] chips, 0 for an empty seat; place m (1-based) pays
// Prizes[m - 1], in the order given. Places beyond the players in play pay
// nothing, and so do places beyond the ladder.
struct Field
{
    const int64_t *Stacks;
    size_t Seats;
    const double *Prizes;
    size_t Places;
};

// A failed call leaves Ok false and says why in Message, for a person.
struct Status
{
    bool Ok = true;
    std::string Message;
};

Status Failure(std::string message);

// Chance[seat * Places + m - 1]: the chance that the player of `seat` finishes
// in place m, for m = 1..Places; an empty seat's row is all 0.
struct FinishTable
{
    size_t Seats = 0;
    size_t Places = 0;
    std::vector<double> Chance;
};

// Stacks of 0 or more adding up to at most MaxTotalChips; prizes finite, not
// negative, and their sum finite too.
Status CheckField(const Field &field);

// Chips of the whole field, saturating at MaxTotalChips + 1.
int64_t TotalChips(const Field &field);

// The counts below read a field as it is, judged or not; missing stacks or
// prizes count as none.

// Seats with chips, in seat order.
size_t PlayersInPlay(const Field &field);

// Places that can pay: up to the last positive prize, at most `players`.
size_t PaidPlaces(const Field &field, size_t players);

// Sum of the prizes of places 1..players (the money the field plays for).
double PrizePool(const Field &field, size_t players);

} // namespace ostrel

#endif
