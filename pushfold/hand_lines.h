/*
 * The chances of a hand's outcomes once a player has shoved: each later
 * player in turn calls with his calling range, or, after a call, overcalls
 * with his overcalling range, until the pot holds three; a player who is in
 * the pot removes his cards from the ranges of those who come later, a
 * player who folded removes nothing (his hand is not known to be anything).
 *
 * Heads-up pots are exact (the preflop table's counts combo by combo);
 * three-way showdowns are drawn at random with a fixed seed, and the
 * standard error of every value computed from them is reported.
 */
#ifndef OSTREL_PUSHFOLD_HAND_LINES_H
#define OSTREL_PUSHFOLD_HAND_LINES_H

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "pots.h"
#include "range.h"

namespace ostrel
{

// A range with what card removal needs: its total weight, the weight of
// the combos holding each card, and the combos it holds (for drawing).
struct RangeTable
{
    const cards::Range *Range = nullptr;
    double Total = 0.0;
    std::array<double, cards::CardCount> CardWeight{};
    std::vector<int> Support;
    std::vector<double> Cumulative; // running sum over Support
};

RangeTable TableOfRange(const cards::Range &range);

// Weight of the combos of `table` that share no card with `dead` (distinct
// cards, at most four). Cost: O(dead^2).
double LiveWeight(const RangeTable &table, const cards::Card *dead, int count);

// The same for the two cards of one combo.
inline double LiveOfCombo(const RangeTable &table, int combo)
{
    const cards::Combo two = cards::ComboCards(combo);
    const cards::Card dead[2] = {two.High, two.Low};
    return LiveWeight(table, dead, 2);
}

// A player who may enter the pot after the shove. Call and Overcall are
// null when he never does so; Fixed >= 0 is a known combo that calls for
// sure (the hero calling). OvercallAfter, when not empty, holds his
// overcalling range by the caller's index in Line::After (null: he folds
// after that caller) in place of Overcall; FixedOver >= 0 is a known combo
// that overcalls for sure and never calls (the hero overcalling). Forced:
// a player all in from posting, in the pot with any hand of Call without
// acting: the others call as if he were not there, and the pot holds the
// shover, him and at most one caller (nobody overcalls), or the shover and
// him alone when nobody calls. At most one seat of a line is forced.
struct LineSeat
{
    size_t Seat = NoSeat;
    const RangeTable *Call = nullptr;
    const RangeTable *Overcall = nullptr;
    int Fixed = -1;
    std::vector<const RangeTable *> OvercallAfter;
    int FixedOver = -1;
    bool Forced = false;
};

// His overcalling range after the caller at index `caller` of the line.
inline const RangeTable *OvercallOf(const LineSeat &seat, size_t caller)
{
    if (seat.OvercallAfter.empty())
        return seat.Overcall;
    return caller < seat.OvercallAfter.size() ? seat.OvercallAfter[caller] : nullptr;
}

struct Line
{
    size_t Shover = NoSeat;
    std::vector<LineSeat> After; // in the order they act
};

// Outcomes in a fixed layout: 0 no call; then for each later player i the
// three ends of a heads-up pot with him; then for each pair i < j the 13 ends
// of the three-way pot (see FinishRanks).
std::vector<Showdown> LineOutcomes(const Line &line);

struct SampledPot
{
    size_t First = 0;  // its first outcome in the layout
    double Mass = 0.0; // its chance in all
    uint64_t Draws = 0;
};

struct LineChances
{
    std::vector<double> Chance; // by outcome, summing to 1
    std::vector<SampledPot> Sampled;
    // Working room kept between calls: the (shover, caller) combo pairs of
    // each three-way pot and their running weight.
    std::vector<std::vector<std::pair<int, int>>> PairScratch;
    std::vector<std::vector<double>> RunningScratch;
};

struct LineOptions
{
    uint64_t Draws = 6000; // three-way showdowns drawn per line, shared by the pots by their chance
    uint64_t Seed = 1;
};

/*
 * The chances when the shover holds one of `shoverHands` (combo, weight;
 * weights need not sum to 1). Cost: for each shover combo and each later
 * player, his range's combos times the players after him; plus, per line,
 * the draws at some 100 ns each and one running sum per three-way pot over
 * the (shover, caller) combo pairs.
 */
void LineChancesOf(const Line &line, const std::vector<std::pair<int, double>> &shoverHands,
                   const LineOptions &options, LineChances &chances);

// Sum over outcomes of chance * values[outcome], and the standard error of
// that sum from the draws of the three-way pots (0 when none were drawn).
void LineValue(const LineChances &chances, const std::vector<double> &values, double &value, double &error);

} // namespace ostrel

#endif
