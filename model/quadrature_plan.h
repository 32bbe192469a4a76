/*
 * The quadrature method's nodes, inside the library (model/quadrature_*.cpp
 * only): the players in play, their stacks in bins, and the trapezoid nodes
 * in ln t that one run evaluates.
 *
 * Contract: PlanNodes gives nodes whose trapezoid sum keeps every $EV and
 * finish chance within the method's promise (quadrature_method.h) for any
 * ladder over the places that count; NodeAt gives node u's time and weight,
 * the same bits on every platform (the library's own exp and log only).
 * Cost: O(n log n) to bin the stacks, then O(bins) per bound: a plan costs a
 * few thousand bound evaluations over the bins, whatever n is.
 * Accuracy: the step rules below, each with the error it was measured at.
 */
#ifndef OSTREL_MODEL_QUADRATURE_PLAN_H
#define OSTREL_MODEL_QUADRATURE_PLAN_H

#include <cstddef>
#include <vector>

#include "field.h"

namespace ostrel
{
namespace quadrature
{

/*
 * Player j's clock rings at an exponential time of rate s_j (his chips); a
 * player finishes in place m when m - 1 other clocks ring before his. With
 * x = ln t, $EV_i is the integral over x of
 *     s_i t e^(-s_i t) * sum_m prize_m [z^(m-1)] prod_{j != i} (a_j + b_j z),
 * a_j = e^(-s_j t) and b_j = 1 - a_j, taken by the trapezoid rule. Its
 * exponentials and logarithms are the library's own (portable_math.h), so
 * that every platform gives the same bits.
 */

/*
 * The nodes. A clock of rate s passes from "not rung" to "rung" over a few
 * units of ln t around ln(1/s), whatever s is, so ln t is the variable. On
 * random fields with stacks 1 to 1e9 apart a step of 0.2 in it keeps every
 * $EV within 1e-13 of the subset method (0.25: 6e-10 on equal stacks).
 *
 * Many clocks ringing at once make sharper features: the chance that exactly
 * m - 1 have rung moves over a width sigma / mu' in ln t, where mu is the
 * expected count rung and sigma^2 its variance. W = (mu' / sigma)^2 is at
 * most sum_j phi(s_j t), phi(y) = y^2 / (e^y - 1) <= 0.648. Ladders of
 * random jumps are the worst case found: with the step 0.8 / sqrt(max W)
 * the errors stayed under 5e-14 (300 to 10,000 players, 100 to all places
 * paid, equal or spread stacks); 1.0 gave up to 1.1e-10, 1.2 up to 1.8e-8.
 */
constexpr double CoarseStep = 0.2;
constexpr double StepScale = 0.8;
constexpr double PhiPeak = 0.6476; // phi(1.5936)
constexpr double PhiPeakAt = 1.5936;
// Below ln t = ln(1/S) - 2 (S all chips) under 0.14 clocks are expected to
// have rung; there ln t becomes y - e^(anchor - y), which spends about 15
// nodes on the rest of the tail, down to a share of e^-40 of any $EV.
constexpr double TailAnchorBelowTotal = 2.0;
constexpr double TailStart = 3.6;
// The fine step takes over within about 3 nodes of its start.
constexpr double Blend = 3.0;
// A chance under e^-80 (2e-35) is left out: counts of rung clocks past a
// Chernoff bound at a node, and the times after which the places that count
// are all but surely taken. Player i wins with chance s_i / S >= 1e-21, so
// even then his $EV keeps 1e-13 relative unless place 1 pays 1e-8 of the
// largest prize or less.
constexpr double Negligible = 80.0;
// The window over which W is bounded ends where the paid places are taken
// but for a chance of e^-30: past it the integrand is too small to matter.
constexpr double Relevant = 30.0;

// The players in play, in seat order: each one's stack and seat.
struct Players
{
    std::vector<double> Stack;
    std::vector<size_t> Seat;
    double Total = 0.0;
    double Smallest = 0.0;
};

Players GatherPlayers(const Field &field, size_t count);

// Stacks grouped by sixteenths of an octave, for bounds on the whole field
// that cost O(bins) rather than O(n) while the nodes are planned.
struct StackBin
{
    double Low;
    double High;
    double Count;
};

std::vector<StackBin> BinStacks(const std::vector<double> &stacks);

// An upper bound on W over the times [from, to].
double SharpnessAtMost(const std::vector<StackBin> &bins, double from, double to);

// Halves [low, high] toward the end where `below` turns false, at most
// `steps` times, and stops once the midpoint meets an end: later steps would
// change nothing.
template <typename Below> void Bisect(double &low, double &high, int steps, Below below)
{
    for (int step = 0; step < steps; ++step)
    {
        const double mid = 0.5 * (low + high);
        const bool last = mid == low || mid == high;
        (below(mid) ? low : high) = mid;
        if (last)
            break;
    }
}

/*
 * Node u (u = First, First + 1, ...) sits at ln t = y - e^(TailAnchor - y),
 * y = Shift + Fine u - (CoarseStep - Fine) Blend softplus(-u / Blend): steps
 * of CoarseStep in ln t before the field's clocks start ringing in numbers,
 * then of Fine. Every piece is analytic, as the trapezoid rule needs.
 */
constexpr double EdgeBlend = 8.0;  // nodes of the passage to the edge's step: poles 8 pi off the axis

struct NodePlan
{
    double Fine = CoarseStep;
    double Coarse = CoarseStep; // the step before the field's clocks ring; nested plans take a finer one
    double Blending = Blend; // nodes over which the coarse step passes into the fine one
    double Shift = 0.0;
    double TailAnchor = 0.0;
    double First = 0.0;
    size_t Count = 0;
    double Start = 0.0; // ln t of the first node and of the end of the window
    double End = 0.0;
    double Edge = 0.0;  // a nested plan's finer step from about u = EdgeAt on, where the count
    double EdgeAt = 0.0; // meets the last paid place; 0: none
    double Late = 0.0;   // a nested plan's coarser step from about u = LateAt on, where the few
    double LateAt = 0.0; // clocks left are as sharp as that step allows; 0: none
};

// The u at which node u lies at `logTime`.
double SolveLinear(const NodePlan &plan, double logTime);

// Time t of node `index` and its weight: the trapezoid step times d t / d u.
void NodeAt(const NodePlan &plan, size_t index, double &time, double &weight);

// The step that keeps the trapezoid error of a player's own term under
// 1e-14 when he finishes in place m (quadrature_plan.cpp), and the m that
// stands for `places` in a field of stacks at most `ratio` apart whose count
// of rung clocks has sharpness at most `others`.
double DeepPlaceStep(double m);
double DeepPlaceSharpness(double places, double ratio, double others);

/*
 * `places` = the places the run needs (paid, or in the finish table). The
 * window ends when every clock has rung but for e^-40, or earlier when more
 * than `places` have, or fewer than n - `places` are left unrung, but for
 * e^-Negligible (the second bound is far the tighter when `places` is near
 * n: the count's spread is then that of the few clocks left).
 *
 * With `changed` > 0 the plan serves every field that has the same total
 * and differs from `players` in at most that many stacks, each of them at
 * least players.Smallest: such a field's expected count rung is at least
 * ours less `changed`, its count unrung at most ours plus `changed`, and its
 * W at most ours plus changed * PhiPeak, so its window ends no later and its
 * step is no finer than the plan's.
 */
NodePlan PlanNodes(const Players &players, const std::vector<StackBin> &bins, size_t places, size_t changed);

// The smallest count of rung clocks that has a chance under e^-Negligible at
// a node where mu are expected (Chernoff: e^-mu (e mu / c)^c), at most `places`.
size_t Band(double mu, size_t places);

} // namespace quadrature
} // namespace ostrel

#endif
