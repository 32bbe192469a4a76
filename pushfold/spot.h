/*
 * One seat's push-or-fold decision over every starting hand: first in (the
 * hero shoves or folds) or facing a shove (he calls or folds), against the
 * ranges of the players still to act, each outcome valued through the
 * outcome book in money (or chips) and in chips.
 *
 * What the model takes: a pot holds at most three players (a shove, a call,
 * an overcall), everyone in it is all in; a hero who folds first in leaves
 * the pot to the big blind (the others are taken to fold); a hero who folds
 * to a shove leaves the others to call and overcall it with their ranges.
 * A player all in from his blind or ante is in the pot with any hand; when
 * one is, the others call but do not overcall (the pot holds three).
 */
#ifndef OSTREL_PUSHFOLD_SPOT_H
#define OSTREL_PUSHFOLD_SPOT_H

#include <array>
#include <deque>
#include <optional>
#include <vector>

#include "hand_lines.h"
#include "outcomes.h"

namespace ostrel
{

enum class SpotAction
{
    FirstIn,
    Call,
};

struct SpotQuestion
{
    size_t Hero = NoSeat; // table seat, 0-based
    SpotAction Action = SpotAction::FirstIn;
    size_t Shover = NoSeat; // with Call
    // By table seat: the shover's shoving range, or a later player's range
    // for calling a shove; and for overcalling a shove and a call.
    std::vector<std::optional<cards::Range>> Ranges;
    std::vector<std::optional<cards::Range>> Overcalls;
    LineOptions Sampling;
    // One combo for each class where every range gives a class's combos one
    // weight (the same answer, 169 lines instead of 1,326); off, every combo.
    bool SuitSymmetry = true;
};

// Values in the valuation's unit (money, or chips with chip EV), and the
// same in chips. NaN where the class cannot be dealt (the shover's range
// holds nothing its cards leave).
struct SpotClass
{
    double Combos = 0.0; // the class's share of the 1,326 combos, the shove's card removal counted
    double EvFold = 0.0;
    double EvPlay = 0.0;
    double Error = 0.0; // standard error of EvPlay from three-way draws
    double ChipsFold = 0.0;
    double ChipsPlay = 0.0;
};

struct SpotAnswer
{
    std::array<SpotClass, cards::ClassCount> Classes{};
    double Pool = 0.0;
    double EvBefore = 0.0; // the hero's, before anyone posts
    uint64_t Draws = 0;    // three-way showdowns drawn in all (0: everything exact)
    double LargestError = 0.0;
};

struct OutcomeView
{
    Showdown Pot;
    double Chance = 0.0;
    std::vector<int64_t> Stacks; // the whole field
    double Value = 0.0;          // the hero's
};

struct HandBreakdown
{
    double EvFold = 0.0, EvPlay = 0.0, Error = 0.0, ChipsFold = 0.0, ChipsPlay = 0.0;
    std::vector<OutcomeView> Fold, Play; // outcomes with a chance above 0
    // Facing a shove: the equity needed to call in a heads-up pot,
    // (EV_fold - EV_lose) / (EV_win - EV_lose), in value and in chips, and
    // the equity the hand has against the shover's range.
    bool Needed = false;
    double NeededValue = 0.0, NeededChips = 0.0, Equity = 0.0;
};

class SpotSolver
{
  public:
    // Refuses a hero who cannot act as asked, a missing range (naming the
    // seat), a range for a seat that does not act after the hero, and what
    // the book refuses. The valuation is the book's; with chipEv it values
    // chips.
    Status Open(const HandField &field, const FieldEquity &valuation, bool chipEv, SpotQuestion question);

    // Every class. Cost: one field valuation per distinct outcome (with k
    // players after the hero at most 1 + 3k + 13k(k - 1)/2), then for each
    // class one line of hands (hand_lines.h) per combo evaluated: one with
    // suit symmetry, else all. Measured: about 1 ms against one caller,
    // 0.2 s with a caller and an overcaller (6,000 draws a class), 0.4 s at
    // a final table of 10 in a field of 100 (docs/performance.md).
    // Accuracy: exact but for the three-way pots, whose standard error is
    // SpotClass::Error.
    Status Solve(SpotAnswer &answer);

    // One combo, every outcome. Refuses a shover's range its cards empty.
    Status Explain(int combo, HandBreakdown &breakdown);

    const OutcomeBook &Book() const { return Money; }

  private:
    Status CheckQuestion();
    const RangeTable *Keep(const cards::Range &range);
    Line PlayLine(int heroCombo) const;
    Status ValuesOf(const Line &line, std::vector<double> &value, std::vector<double> &chips);
    std::vector<std::pair<int, double>> ShoverHands(int heroCombo, bool reduce) const;
    Status FoldValue(double &value, double &chips, double &error, LineChances *chances, Line *line);
    Status PlayValue(int heroCombo, double &value, double &chips, double &error, LineChances *chances);

    SpotQuestion Question;
    bool ChipEv = false;
    OutcomeBook Money, Chips;
    std::deque<cards::Range> OwnRanges;
    std::deque<RangeTable> Tables;
    const RangeTable *ShoverRange = nullptr;
    std::vector<LineSeat> Later; // the players after the hero, as they act
    Line FoldLine;
    bool Symmetric = true;
    bool Opened = false;
};

} // namespace ostrel

#endif
