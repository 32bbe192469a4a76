/*
 * One seat's push-or-fold decision over every starting hand: first in (the
 * hero shoves or folds), facing a shove (he calls or folds) or facing a
 * shove and a call (he overcalls or folds), against the ranges of the other
 * players, each outcome valued through the outcome book in money (or
 * chips) and in chips.
 *
 * What the model takes: a pot holds at most three players (a shove, a call,
 * an overcall), everyone in it is all in. A hero who folds first in leaves
 * the players after him to play on: each in turn shoves with his shoving
 * range (none: he folds), the players after him call and overcall; when
 * all fold the big blind takes the pot. A hero who folds to a shove (and a
 * call) leaves the others to call and overcall it. A player in the pot
 * removes his cards from the hands of those who come later in it; a player
 * who folded removes nothing, but his fold weighs the hands of the players
 * before him by the chance that he folds against them (given his range for
 * that situation; without it, nothing). So the fold value is one number
 * for every class: the folded hero's cards remove nothing.
 *
 * Ranges: by situation (calling a seat's shove, overcalling a seat's shove
 * and another's call) where given, else the seat's one range for calling
 * and one for overcalling. A player all in from his blind or ante, before
 * or after the hero, is in every pot with any hand: the others call as if
 * he were not there but do not overcall (the pot holds three), and a shove
 * nobody calls is played against him, after a folding hero too.
 */
#ifndef OSTREL_PUSHFOLD_SPOT_H
#define OSTREL_PUSHFOLD_SPOT_H

#include <array>
#include <deque>
#include <map>
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
    Overcall,
};

struct SpotQuestion
{
    size_t Hero = NoSeat; // table seat, 0-based
    SpotAction Action = SpotAction::FirstIn;
    size_t Shover = NoSeat; // with Call and Overcall
    size_t Caller = NoSeat; // with Overcall: who called the shove
    // By table seat, for every situation not given below: Ranges, a
    // player's range for calling a shove (and the shover's shoving range
    // when the hero faces a shove); Overcalls, for overcalling a shove and a
    // call; Shoves, for shoving first in after the hero folds (the shover's
    // range may also be given here).
    std::vector<std::optional<cards::Range>> Ranges;
    std::vector<std::optional<cards::Range>> Overcalls;
    std::vector<std::optional<cards::Range>> Shoves;
    // By situation, before the ranges by seat; situations the spot does
    // not reach are not looked at. Calls[{seat, shover}];
    // OvercallsAfter[{seat, shover, caller}].
    std::map<std::array<size_t, 2>, cards::Range> Calls;
    std::map<std::array<size_t, 3>, cards::Range> OvercallsAfter;
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
    double BountyCash = 0.0;     // the hero's, in the prize unit (0 without bounties)
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

struct NashAnswer;

/*
 * The equilibrium's strategies (SolveNash's answer for `field`) as ranges of
 * `question` by situation, for every seat whose range by seat the question
 * does not give: calling each shove, overcalling each shove and call, and
 * shoving first in (the shover facing a shove; the players after a hero who
 * folds first in). With them,
 * the spot of an equilibrium decision values each class as the equilibrium
 * does. Cost: O(decisions * 1,326).
 */
void TakeNashRanges(const HandField &field, const NashAnswer &answer, SpotQuestion &question);

class SpotSolver
{
  public:
    // Refuses a hero who cannot act as asked, a missing range (naming the
    // seat), a range by seat that no situation of the spot takes, and what
    // the book refuses. The valuation is the book's; with chipEv it values
    // chips.
    Status Open(const HandField &field, const FieldEquity &valuation, bool chipEv, SpotQuestion question);

    // Every class. Cost: one field valuation per distinct outcome (with k
    // players after the hero at most 1 + 3k + 13k(k - 1)/2 a line), the
    // lines of the fold once (one more for each later player who may shove
    // first in), then for each class one line of hands (hand_lines.h) per
    // combo evaluated: one with suit symmetry, else all. Measured: about
    // 1 ms against one caller, 0.2 s with a caller and an overcaller (6,000
    // draws a class), 0.4 s at a final table of 10 in a field of 100
    // (docs/performance.md). Facing a shove and a call, a line goes over
    // every pair of the shover's and the caller's combos: 0.5 s for 30 % and
    // 5 % ranges, some 7 s when both hold every hand.
    // Accuracy: exact but for the three-way pots, whose standard error is
    // SpotClass::Error.
    Status Solve(SpotAnswer &answer);

    // One combo, every outcome. Refuses a hand whose cards leave the shover
    // (and the caller) no hand.
    Status Explain(int combo, HandBreakdown &breakdown);

    const OutcomeBook &Book() const { return Money; }

  private:
    // A line of the fold: after a first-in fold, one for each later player
    // who may shove and one for the walk, each with its chance.
    struct FoldPart
    {
        Line Of;
        double Chance = 1.0;
        const RangeTable *Shove = nullptr; // the shover's hands; null: the line's shover is alone or forced
        int64_t Seed = -1;
    };
    Status CheckQuestion();
    Status CheckSeats(std::vector<size_t> &later, size_t &forced);
    Status CheckUnused(const std::vector<size_t> &later);
    Status LaterLine(size_t shover, const std::vector<size_t> &after, size_t forced, Line &line);
    Status OvercallLines();
    const RangeTable *Keep(const cards::Range &range);
    const RangeTable *CallRange(size_t seat, size_t shover);
    const RangeTable *OvercallRange(size_t seat, size_t shover, size_t caller);
    Line PlayLine(int heroCombo) const;
    Status ValuesOf(const Line &line, std::vector<double> &value, std::vector<double> &chips);
    std::vector<std::pair<int, double>> ShoverHands(const RangeTable *range, int heroCombo, bool reduce) const;
    double Conditioned(const Line &line, bool play, LineChances &chances) const;
    Status FoldValue(double &value, double &chips, double &error, std::vector<OutcomeView> *outcomes);

    SpotQuestion Question;
    bool ChipEv = false;
    OutcomeBook Money, Chips;
    std::deque<cards::Range> OwnRanges;
    std::deque<RangeTable> Tables;
    std::map<std::array<size_t, 4>, const RangeTable *> Situations; // kept tables by situation
    std::vector<bool> RangeUsed, OvercallUsed, ShoveUsed;
    const RangeTable *ShoverRange = nullptr; // facing a shove: weighed by the folds before the hero
    const RangeTable *AnyHand = nullptr;
    std::vector<LineSeat> Later; // the players after the hero, as they act
    Line OvercallFold, OvercallPlay; // facing a shove and a call; the hero's seat last in the play line
    double FoldMass = 0.0;           // facing a shove and a call: the chance of the situation over the ranges
    std::vector<FoldPart> Fold;
    bool Symmetric = true;
    bool Opened = false;
};

} // namespace ostrel

#endif
