/*
 * The push-or-fold equilibrium of a table: for every seat and every decision
 * it can face (shove first in; call a shove from an earlier seat; overcall a
 * shove and a call), a frequency for each of the 169 starting-hand classes,
 * such that no player gains more than the tolerance by changing his own.
 *
 * The game is the spot's: a pot holds at most three players, side pots
 * follow the stacks, each outcome is valued by the outcome book (money by
 * the caller's valuation, or chips). Card removal: a player in the pot
 * removes his cards from the hands of those who come later in it, a player
 * who folded removes nothing. Heads-up pots are exact (the preflop table's
 * class counts); three-way pots are averaged over a fixed set of drawn
 * showdowns (DrawsPerClass for each class of the player whose EV is
 * computed, the other two hands uniform over the cards left), so the same
 * input always gives the same numbers, and the answer states how far a
 * second, independent set of draws moves the values.
 *
 * Solved by fictitious play: each round every decision takes its best
 * response to the others' average strategies, and the averages move toward
 * it. The best responses of a round also measure the exploitability of the
 * averages (the most one player gains by his best response), which is what
 * stops the run. With three to five players the ranges are then polished
 * hand by hand toward MaxHandLoss below HandBound (kept only where that
 * lowers the loss within the tolerance, on draws made from them).
 */
#ifndef OSTREL_PUSHFOLD_EQUILIBRIUM_H
#define OSTREL_PUSHFOLD_EQUILIBRIUM_H

#include <array>
#include <cstdint>
#include <vector>

#include "hand_class.h"
#include "nash_options.h"
#include "outcomes.h"

namespace ostrel
{


// One decision: Seat acts with Action against Versus (table seats, the
// shover first, then the caller). Frequency[class] in [0, 1]; Share is the
// share of the 1,326 combos played.
struct NashDecision
{
    size_t Seat = NoSeat;
    NashAction Action = NashAction::Shove;
    std::vector<size_t> Versus;
    std::array<double, cards::ClassCount> Frequency{};
    // By class, at the strategies returned: the value of taking the action
    // minus folding's, given the decision is reached with that class (NaN
    // where it never is), in the valuation's unit.
    std::array<double, cards::ClassCount> Advantage{};
    // The two values themselves (NaN where never reached): the value of
    // folding is the same for every class that reaches the decision.
    std::array<double, cards::ClassCount> EvPlay{}, EvFold{};
    double Share = 0.0;
    double Reached = 0.0; // the chance that the hand reaches the decision, over all deals
};


struct NashAnswer
{
    std::vector<size_t> Order; // seats in play, in the order they act
    std::vector<NashDecision> Decisions;
    // By table seat, in the valuation's unit.
    std::vector<double> EvBefore, EvEquilibrium, Gain;
    double Exploitability = 0.0; // the largest Gain
    double Tolerance = 0.0;
    double Pool = 0.0; // the prize pool and any bounty money in play, or the chips in play with chip EV
    uint64_t Iterations = 0;
    bool Converged = false;
    uint64_t Draws = 0;        // three-way showdowns in the fixed set (0: every pot heads-up, all exact)
    double DrawError = 0.0;    // largest change of an equilibrium EV or a gain on an independent set of draws
    // Hand by hand, at the decisions reached with a chance of at least
    // ReachedAtLeast: the most a hand loses by following the answer instead
    // of taking its better action there (a mixed hand loses the share it
    // spends on the worse one), given that it reaches the decision.
    // HandBound is what the run aims at: 0.02 % of the pool, or 0.02 big
    // blind with chip EV.
    double MaxHandLoss = 0.0;
    double HandBound = 0.0;
    size_t HandLossDecision = NoSeat; // index into Decisions, NoSeat when no hand loses
    int HandLossClass = -1;
    // How far a hand's loss moves on the independent set of draws (0 where
    // every pot is heads-up): the error of MaxHandLoss.
    double HandLossNoise = 0.0;
};

constexpr double ReachedAtLeast = 0.01;

/*
 * Solves the table. A player all in from his blind or ante has no decision:
 * he is in every pot with any hand, so a pot takes him, the shover and one
 * caller, and nobody overcalls; when nobody shoves, the big blind takes the
 * pot or shows down against him. Refuses what the outcome book refuses, two
 * players all in from posting, a heads-up table where the small blind is,
 * a negative tolerance and zero iterations; fails when options.Proceed
 * stops it.
 * Cost per round: heads-up pots 169^2 per pot; three-way pots, for each
 * shove and call, the draws (169 * DrawsPerClass) times the later players,
 * squared. Memory: the draws (16 bytes each) and 169 * 13 doubles per
 * possible three-way pot.
 */
Status SolveNash(const HandField &field, const FieldEquity &valuation, bool chipEv, const NashOptions &options,
                 NashAnswer &answer);

/*
 * A rough estimate of SolveNash's seconds for `players` in the hand with
 * `options` (draws and threads), measured on a 2-core x86-64 machine of
 * 2026: a round's pot passes grow with the draws and with the pots times
 * the players who may overcall in each; some thirty rounds, and for three
 * to five players the hand-by-hand polish's at most 120 more. Heads-up,
 * where every pot is exact, well under a second. Meant to refuse runs of
 * hours before they start, not to time them.
 */
double EstimatedNashSeconds(size_t players, const NashOptions &options);

/*
 * The gains of each seat's best response (by table seat) and the values of
 * the seats against `decisions` (the strategies of every decision of the
 * table, as SolveNash returns them), on the same draws as SolveNash with
 * the same options.
 */
Status NashGains(const HandField &field, const FieldEquity &valuation, bool chipEv, const NashOptions &options,
                 const std::vector<NashDecision> &decisions, std::vector<double> &gain, std::vector<double> &ev);

} // namespace ostrel

#endif
