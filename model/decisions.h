/*
 * Decisions at a final table on top of any method that gives a field's
 * $EV: how to split the money in a deal, and the bubble factors between the
 * real stacks. The method is passed in, so the same rules serve every one.
 */
#ifndef OSTREL_MODEL_DECISIONS_H
#define OSTREL_MODEL_DECISIONS_H

#include <functional>
#include <vector>

#include "field.h"

namespace ostrel
{

// Writes every seat's $EV of `field` into equities[0..field.Seats).
using FieldEquity = std::function<Status(const Field &field, double *equities)>;

enum class DealSplit
{
    Icm,
    Chip,
    Even,
};

// A money unit of Count / 10^Decimals, as typed; Count 0 means no rounding.
struct MoneyUnit
{
    int64_t Count = 0;
    int32_t Decimals = 0;
};

struct DealTerms
{
    DealSplit Split = DealSplit::Icm;
    double Keep = 0.0; // left on the table for the winner, off the first prize
    MoneyUnit Round;
};

struct DealSeat
{
    double Payment = 0.0;
    double DealValue = 0.0;  // payment plus the kept amount times his chance to win
    double Equity = 0.0;     // $EV without a deal, on the full ladder
    double Difference = 0.0; // DealValue - Equity
};

struct Deal
{
    double PrizePool = 0.0; // places 1..n for n players in play
    double Dealt = 0.0;     // PrizePool less the kept amount
    std::vector<DealSeat> Seats;
};

// Cost: two evaluations of the field (one for `Chip` and `Even`) plus O(n^2)
// for the chip split's cap in the worst case.
Status ComputeDeal(const Field &field, const DealTerms &terms, const FieldEquity &equity, Deal &deal);

// Rows are the players who risk, columns every player in play; NaN where a
// factor is undefined (the diagonal, or winning does not raise his $EV).
struct BubbleGrid
{
    std::vector<size_t> Seats; // seats in play, 0-based, the columns
    std::vector<size_t> Rows;  // the seats whose rows were asked for
    std::vector<double> Factor;
    std::vector<double> Premium;
};

// The hero's $EV now and after each hand against each opponent j (per seat, 0-based): Won[j] after
// he takes min(s_i, s_j) from j, Lost[j] after j takes it from him (his EV is then the prize of place
// n when he is busted). Entries for the hero himself and for empty seats are not read.
using HeroHands =
    std::function<Status(const Field &field, size_t hero, double &now, double *won, double *lost)>;

// Every ordered pair (i, j) of players in play, or only i = `onlySeat` when
// it is given: i risks r = min(s_i, s_j) against j. A player left with no
// chips takes place n of the field as it stood. Cost without `hands`:
// 1 + n(n - 1) field evaluations for the grid (each field serves both players
// of a pair), 1 + 2(n - 1) for one row. With `hands`, one call of it per row
// and `equity` is not used.
Status ComputeBubbleGrid(const Field &field, const size_t *onlySeat, const FieldEquity &equity,
                         BubbleGrid &grid, const HeroHands *hands = nullptr);

} // namespace ostrel

#endif
