/*
 * The quadrature method: nodes chosen for the field, and at each node the
 * products that give every player's $EV and finish-table row at once; for
 * the $EV of a falling ladder, nested levels of nodes that stop once two
 * successive levels agree (RunLevels).
 */
#include "quadrature_method.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "portable_math.h"
#include "product_tree.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ostrel
{
namespace
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

struct Players
{
    std::vector<double> Stack;
    std::vector<size_t> Seat;
    double Total = 0.0;
    double Smallest = 0.0;
};

Players GatherPlayers(const Field &field, size_t count)
{
    Players players;
    players.Stack.reserve(count);
    players.Seat.reserve(count);
    for (size_t seat = 0; seat < field.Seats; ++seat)
    {
        if (field.Stacks[seat] == 0)
            continue;
        const double stack = static_cast<double>(field.Stacks[seat]); // exact below 2^53
        players.Stack.push_back(stack);
        players.Seat.push_back(seat);
        players.Total += stack;
        players.Smallest = players.Stack.size() == 1 ? stack : std::min(players.Smallest, stack);
    }
    return players;
}

// Stacks grouped by sixteenths of an octave, for bounds on the whole field
// that cost O(bins) rather than O(n) while the nodes are planned.
struct StackBin
{
    double Low;
    double High;
    double Count;
};

std::vector<StackBin> BinStacks(const std::vector<double> &stacks)
{
    std::vector<int> keys(stacks.size());
    for (size_t j = 0; j < stacks.size(); ++j)
    {
        int exponent = 0;
        const double mantissa = std::frexp(stacks[j], &exponent); // 0.5 <= mantissa < 1
        keys[j] = exponent * 16 + static_cast<int>((mantissa - 0.5) * 32.0);
    }
    std::sort(keys.begin(), keys.end());
    std::vector<StackBin> bins;
    for (size_t j = 0; j < keys.size();)
    {
        size_t end = j;
        while (end < keys.size() && keys[end] == keys[j])
            ++end;
        const int exponent = keys[j] / 16; // stacks of 1 or more: keys are positive
        const int sixteenth = keys[j] - exponent * 16;
        bins.push_back({std::ldexp(0.5 + sixteenth / 32.0, exponent),
                        std::ldexp(0.5 + (sixteenth + 1) / 32.0, exponent), static_cast<double>(end - j)});
        j = end;
    }
    return bins;
}

// A lower bound on the expected count of clocks rung by time t.
double RungAtLeast(const std::vector<StackBin> &bins, double t)
{
    double rung = 0.0;
    for (const StackBin &bin : bins)
        rung += bin.Count * -PortableExpm1(-bin.Low * t);
    return rung;
}

double Phi(double y)
{
    return y < 1e-8 ? y : y * y / PortableExpm1(y);
}

// An upper bound on W over the times [from, to].
double SharpnessAtMost(const std::vector<StackBin> &bins, double from, double to)
{
    double sharpness = 0.0;
    for (const StackBin &bin : bins)
    {
        const double low = bin.Low * from;
        const double high = bin.High * to;
        const double peak = low <= PhiPeakAt && PhiPeakAt <= high ? PhiPeak : std::max(Phi(low), Phi(high));
        sharpness += bin.Count * peak;
    }
    return sharpness;
}

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

// The mean count mu beyond which the chance of at most `places` rung clocks
// is under e^-bound: mu - K - K ln(mu / K) >= bound (Chernoff).
double CountPast(size_t places, double bound)
{
    const double k = static_cast<double>(places);
    double low = k;
    double high = k + bound + std::sqrt(bound * bound + 2.0 * bound * k) + 1.0;
    Bisect(low, high, 100, [&](double mid) { return !(mid - k - k * PortableLog(mid / k) >= bound); });
    return high;
}

/*
 * The mean count nu below which the chance of `atLeast` or more unrung clocks
 * is under e^-bound: atLeast ln(atLeast / nu) - atLeast + nu >= bound
 * (Chernoff, the upper tail). Late, when most clocks have rung, this is far
 * tighter than the bound on the count rung: the count's variance is about
 * the few clocks left, not its mean.
 */
double UnrungUnder(double atLeast, double bound)
{
    if (!(atLeast > 0.0))
        return 0.0;
    double low = 0.0;
    double high = atLeast;
    Bisect(low, high, 100, [&](double mid) {
        return !(mid > 0.0) || atLeast * PortableLog(atLeast / mid) - atLeast + mid >= bound;
    });
    return low;
}

// An upper bound on the expected count of clocks not rung by time t.
double UnrungAtMost(const std::vector<StackBin> &bins, double t)
{
    double unrung = 0.0;
    for (const StackBin &bin : bins)
        unrung += bin.Count * PortableExp(-bin.Low * t);
    return unrung;
}

// The earliest ln t in [low, high] by which the bins' upper bound on the
// count unrung falls to `count`.
double LogTimeOfUnrung(const std::vector<StackBin> &bins, double count, double low, double high)
{
    if (UnrungAtMost(bins, PortableExp(high)) > count)
        return high;
    Bisect(low, high, 60, [&](double mid) { return UnrungAtMost(bins, PortableExp(mid)) > count; });
    return high;
}

// The earliest ln t by which the bins' lower bound reaches `count` (so the
// field surely has), searched within [low, high].
double LogTimeOfCount(const std::vector<StackBin> &bins, double count, double low, double high)
{
    if (RungAtLeast(bins, PortableExp(high)) < count)
        return high;
    Bisect(low, high, 60, [&](double mid) { return RungAtLeast(bins, PortableExp(mid)) < count; });
    return high;
}

double Softplus(double z)
{
    return z > 0.0 ? z + PortableLog1p(PortableExp(-z)) : PortableLog1p(PortableExp(z));
}

double Logistic(double z)
{
    return z > 0.0 ? 1.0 / (1.0 + PortableExp(-z)) : PortableExp(z) / (1.0 + PortableExp(z));
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

double Linear(const NodePlan &plan, double u)
{
    const double y =
        plan.Shift + plan.Fine * u - (plan.Coarse - plan.Fine) * plan.Blending * Softplus(-u / plan.Blending);
    if (plan.Edge != 0.0)
        return y - (plan.Fine - plan.Edge) * EdgeBlend * Softplus((u - plan.EdgeAt) / EdgeBlend);
    if (plan.Late != 0.0)
        return y + (plan.Late - plan.Fine) * EdgeBlend * Softplus((u - plan.LateAt) / EdgeBlend);
    return y;
}

double SolveLinear(const NodePlan &plan, double logTime)
{
    double low = -1.0;
    double high = 1.0;
    while (Linear(plan, low) > logTime)
        low *= 2.0;
    while (Linear(plan, high) < logTime)
        high *= 2.0;
    Bisect(low, high, 100, [&](double mid) { return Linear(plan, mid) < logTime; });
    return low;
}

// Time t of node `index` and its weight: the trapezoid step times d t / d u.
void NodeAt(const NodePlan &plan, size_t index, double &time, double &weight)
{
    const double u = plan.First + static_cast<double>(index);
    const double y = Linear(plan, u);
    const double tail = PortableExp(plan.TailAnchor - y);
    time = PortableExp(y - tail);
    double slope = plan.Fine + (plan.Coarse - plan.Fine) * Logistic(-u / plan.Blending);
    if (plan.Edge != 0.0)
        slope -= (plan.Fine - plan.Edge) * Logistic((u - plan.EdgeAt) / EdgeBlend);
    if (plan.Late != 0.0)
        slope += (plan.Late - plan.Fine) * Logistic((u - plan.LateAt) / EdgeBlend);
    weight = time * slope * (1.0 + tail);
}

/*
 * A player who takes place m late, after m - 1 others, has a term shaped like
 * t^m e^(-c t): in ln t the integrand is e^(m x - c e^x), whose trapezoid
 * error with step h is 2 |Gamma(m + 2 pi i / h)| / Gamma(m) of the term
 * (from its Fourier transform), independently of c. That is the step W does
 * not see: the player's own clock sharpens the term (stacks 10 and twenty 1s,
 * place 21 alone: 6.6e-10 at the coarse step). The step below keeps that
 * error under DeepPlaceError for the deepest place m; at m = 1 it is coarser
 * than CoarseStep, for large m about 0.8 / sqrt(m), like the W rule.
 */
constexpr double DeepPlaceError = 1e-14;
// Beyond this place the step follows the Gaussian limit, step * sqrt(m) constant.
constexpr double DeepPlaceExact = 1000.0;

// ln(2 |Gamma(m + i y)| / Gamma(m)), y = 2 pi / step, for a whole m >= 1, from
// |Gamma(i y)|^2 = pi / (y sinh(pi y)) and Gamma(z + 1) = z Gamma(z); only
// the library's own logarithms, so that every platform plans the same nodes.
double DeepPlaceLogError(double m, double step)
{
    const double pi = 3.141592653589793;
    const double ln2 = 0.6931471805599453;
    const double y = 2.0 * pi / step; // at least 10 pi: sinh(pi y) is e^(pi y) / 2 to the last bit
    double sum = 0.5 * (PortableLog(pi) + PortableLog(y) - pi * y + ln2);
    for (double k = 1.0; k < m; k += 1.0)
        sum += 0.5 * PortableLog1p((y / k) * (y / k));
    return ln2 + sum;
}

double DeepPlaceStep(double m)
{
    if (m > DeepPlaceExact)
        return DeepPlaceStep(DeepPlaceExact) * std::sqrt(DeepPlaceExact / m);
    const double bound = PortableLog(DeepPlaceError);
    if (m < 1.0 || DeepPlaceLogError(m, CoarseStep) <= bound)
        return CoarseStep;
    double low = 0.0;
    double high = CoarseStep;
    Bisect(low, high, 60, [&](double mid) { return DeepPlaceLogError(m, mid) <= bound; });
    return low;
}

/*
 * The deepest place's model asks for the own clock at y = s_i t = m. In a
 * field whose stacks are at most `ratio` apart it cannot peak that late: the
 * term's other factor, sum_m prize_m P(m - 1 others rung), grows in ln t by at
 * most (K - 1) psi(y_i / ratio), psi(y) = y / (e^y - 1), since each rung
 * factor b_j grows by psi(y_j) <= psi(y_i / ratio) and no unrung one grows;
 * the integrand, whose own factor s_i t e^(-s_i t) falls by y_i - 1, thus
 * peaks where y_i <= 1 + (K - 1) psi(y_i / ratio). The root of that, plus the
 * bound W on the sharpness of the count of rung clocks (the step's main rule),
 * replaces m where it is smaller: a deep ladder over stacks a few times apart
 * is as sharp as its clocks, not as its length. Stacks 10 and twenty 1s: 21
 * as before; 10,000 players 1,500 to 10,500, all paid: about 50 + W.
 */
double DeepPlaceSharpness(double places, double ratio, double others)
{
    if (places <= 1.0)
        return places;
    double low = 1.0;
    double high = places;
    Bisect(low, high, 100, [&](double mid) {
        const double u = mid / ratio;
        return mid < 1.0 + (places - 1.0) * (u / PortableExpm1(u));
    });
    return std::min(places, high + others);
}

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
NodePlan PlanNodes(const Players &players, const std::vector<StackBin> &bins, size_t places, size_t changed)
{
    const double count = static_cast<double>(players.Stack.size());
    const double spare = static_cast<double>(changed);
    const double coarseUntil = (StepScale / CoarseStep) * (StepScale / CoarseStep);
    NodePlan plan;
    plan.Shift = PortableLog(coarseUntil / players.Total);
    plan.TailAnchor = -PortableLog(players.Total) - TailAnchorBelowTotal;
    const double start = plan.TailAnchor - TailStart;
    double end = PortableLog(40.0 / players.Smallest);
    double relevantEnd = end;
    if (static_cast<double>(places) < count)
    {
        // A player's place counts while at most places - 1 others have rung:
        // while n - places or more clocks are unrung (n - places - changed in a row).
        const double unrung = count - static_cast<double>(places) - spare;
        const double cut = CountPast(places, Negligible) + spare;
        if (cut < count)
            end = LogTimeOfCount(bins, cut, start, end);
        end = LogTimeOfUnrung(bins, UnrungUnder(unrung, Negligible), start, end);
        const double relevant = CountPast(places, Relevant) + spare;
        if (relevant < count)
            relevantEnd = LogTimeOfCount(bins, relevant, start, end);
        relevantEnd = LogTimeOfUnrung(bins, UnrungUnder(unrung, Relevant), start, std::min(relevantEnd, end));
        relevantEnd = std::min(relevantEnd, end);
    }
    // A field too small to reach W = coarseUntil keeps the coarse step.
    double sharpest = 0.0;
    if ((count + spare) * PhiPeak > coarseUntil)
        for (double x = plan.Shift; x < relevantEnd; x += 0.05)
            sharpest = std::max(sharpest, SharpnessAtMost(bins, PortableExp(x), PortableExp(x + 0.05)) +
                                              spare * PhiPeak);
    if (sharpest > coarseUntil)
        plan.Fine = StepScale / std::sqrt(sharpest);
    // W over the whole window: before Shift it is under coarseUntil (phi(y) <= y).
    const double others = sharpest > 0.0 ? std::max(sharpest, coarseUntil) : (count + spare) * PhiPeak;
    // A row's stacks change: any of them is at most the total.
    const double ratio = (changed > 0 ? players.Total : bins.back().High) / players.Smallest;
    plan.Fine =
        std::min(plan.Fine, DeepPlaceStep(DeepPlaceSharpness(static_cast<double>(places), ratio, others)));
    plan.Start = start;
    plan.End = end;
    plan.First = SolveLinear(plan, start);
    const double last = SolveLinear(plan, end);
    plan.Count = static_cast<size_t>(std::ceil(last - plan.First)) + 1;
    return plan;
}

// The smallest count of rung clocks that has a chance under e^-Negligible at
// a node where mu are expected (Chernoff: e^-mu (e mu / c)^c), at most `places`.
size_t Band(double mu, size_t places)
{
    if (!(mu > 0.0))
        return 1;
    for (size_t count = static_cast<size_t>(mu) + 1; count < places; ++count)
    {
        const double c = static_cast<double>(count);
        if (c * PortableLog(c / mu) - c + mu >= Negligible)
            return count;
    }
    return places;
}

/*
 * The polynomial kernels. Multiplying by (a + b z) and pulling a vector back
 * through it both take non-negative numbers to non-negative sums: nothing
 * cancels. Each loop runs in one fixed order, and so does every sum; none
 * writes where it reads, so the compiler may use vector instructions.
 */

// to[d] = a from[d] + b from[d + 1]; what lies past the band counts as 0.
void PullBack(const double *from, double *to, size_t length, double a, double b)
{
    for (size_t d = 0; d + 1 < length; ++d)
        to[d] = a * from[d] + b * from[d + 1];
    to[length - 1] = a * from[length - 1];
}

// to = from (a + b z), truncated to `length` coefficients.
void Multiply(const double *from, double *to, size_t length, double a, double b)
{
    to[0] = a * from[0];
    for (size_t d = 1; d < length; ++d)
        to[d] = a * from[d] + b * from[d - 1];
}

/*
 * Eight running sums, lane d mod 8 taking term d, added pairwise at the end:
 * the loop does not wait on one addition at a time. With SSE2 four vector
 * registers hold the eight lanes; the sums are the same either way.
 */
double Dot(const double *p, const double *g, size_t length)
{
    double sum[8] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    size_t d = 0;
#if defined(__SSE2__)
    __m128d lanes[4] = {_mm_setzero_pd(), _mm_setzero_pd(), _mm_setzero_pd(), _mm_setzero_pd()};
    for (; d + 8 <= length; d += 8)
        for (size_t pair = 0; pair < 4; ++pair)
            lanes[pair] = _mm_add_pd(
                lanes[pair], _mm_mul_pd(_mm_loadu_pd(p + d + 2 * pair), _mm_loadu_pd(g + d + 2 * pair)));
    for (size_t pair = 0; pair < 4; ++pair)
        _mm_storeu_pd(sum + 2 * pair, lanes[pair]);
#else
    for (; d + 8 <= length; d += 8)
        for (size_t lane = 0; lane < 8; ++lane)
            sum[lane] += p[d + lane] * g[d + lane];
#endif
    for (size_t lane = 0; d < length; ++d, ++lane)
        sum[lane] += p[d] * g[d];
    return ((sum[0] + sum[1]) + (sum[2] + sum[3])) + ((sum[4] + sum[5]) + (sum[6] + sum[7]));
}

// One opponent's hand in a hero's row: both stacks after the hero wins it,
// and the hero's after he loses it (0 where a player is busted).
struct Hand
{
    double HeroWon;
    double OtherWon;
    double HeroLost;
};

// What one run shares between its threads.
struct Run
{
    const Players *InPlay;
    const double *Prizes;
    size_t Paid;    // places whose prizes count
    size_t Columns; // finish table places, or 0
    size_t Places;  // the larger of the two
    size_t Block;   // players per block of the recomputed products
    NodePlan Plan;
    size_t Outputs;      // terms per player and node besides the $EV: Columns, or 2 in a row
    size_t Hero;         // a row's hero (player index)
    const Hand *Hands;   // a row's hands by player; none for a whole field
    QuadraturePass Pass; // for the $EV; always the full band with a table or in a row
};

// Entries per saved or recomputed prize vector: the windowed pass reads up
// to a block past the paid places, where the vectors hold zeros.
size_t Stride(const Run &run)
{
    return run.Pass != QuadraturePass::FullBand ? run.Paid + run.Block + 2 : run.Paid;
}

size_t Blocks(const Run &run)
{
    return (run.InPlay->Stack.size() + run.Block - 1) / run.Block;
}

/*
 * One thread's memory. The prize vectors pulled back to each player, G_i,
 * would take n * K doubles; only those at the end of every block of about
 * sqrt(n) players are kept (Saved), and a block's are recomputed from its
 * end just before it is needed (Rows). That costs one more backward pass,
 * and keeps what is touched per block within a cache. The finish table's
 * products of the players after each one (Suffix) are kept the same way.
 */
struct Workspace
{
    std::vector<double> A, B;
    std::vector<double> Saved, Rows, SavedSuffix, SuffixRows;
    std::vector<double> Prefix, NextPrefix, SpareSaved, SpareSuffix;
    std::vector<double> Equity, Finish; // this node's terms, when threads share the totals
    std::vector<double> Mean, Variance; // the windowed pass: of the count rung before each player
    std::vector<size_t> Windows;        // and four bounds per block
    ProductTree Tree;                   // the product tree's pass
    std::vector<double> Sums;

    void Allocate(const Run &run, bool buffered)
    {
        const size_t n = run.InPlay->Stack.size();
        A.resize(n);
        B.resize(n);
        Saved.resize(Blocks(run) * Stride(run));
        Rows.resize(run.Block * Stride(run));
        SavedSuffix.resize(Blocks(run) * run.Columns);
        SuffixRows.resize(run.Block * run.Columns);
        Prefix.resize(run.Places);
        NextPrefix.resize(run.Places);
        SpareSaved.resize(run.Paid);
        SpareSuffix.resize(run.Columns);
        if (run.Pass == QuadraturePass::ProductTree)
        {
            Tree.Prepare(n, run.Paid);
            Sums.resize(n);
        }
        if (run.Pass != QuadraturePass::FullBand)
        {
            Prefix.resize(Stride(run));
            NextPrefix.resize(Stride(run));
            SpareSaved.resize(2 * Stride(run));
            Mean.resize(n + 1);
            Variance.resize(n + 1);
            Windows.resize(4 * Blocks(run));
        }
        if (buffered)
        {
            Equity.resize(n);
            Finish.resize(n * run.Outputs);
        }
    }
};

// In doubles, which do not overflow where size_t has 32 bits.
double WorkspaceDoubles(const Run &run, double n, bool buffered)
{
    const double block = static_cast<double>(run.Block);
    const double stored = static_cast<double>(Stride(run) + run.Columns);
    const double buffers = buffered ? n * (1.0 + static_cast<double>(run.Outputs)) : 0.0;
    const double windowed = run.Pass != QuadraturePass::FullBand
                                ? 2.0 * (n + 1.0) + 4.0 * std::ceil(n / block) + 4.0 * stored
                                : 0.0;
    const double tree = run.Pass == QuadraturePass::ProductTree
                            ? n + ProductTree::Doubles(n, static_cast<double>(run.Paid))
                            : 0.0;
    return 2.0 * n + (std::ceil(n / block) + block + 1.0) * stored + 2.0 * static_cast<double>(run.Places) +
           buffers + windowed + tree;
}

// Where a node's terms go: added to the totals, or stored for a later
// addition in node order. Both add the same numbers in the same order.
struct Sink
{
    double *Equity;
    double *Finish;
    const size_t *Index; // player -> row of Equity and Finish; none: the player's own
    bool Add;

    void Put(double *into, double term) const
    {
        *into = Add ? *into + term : term;
    }
};

// A player whose terms at this node are all 0.
void PutNothing(const Run &run, const Sink &sink, size_t player)
{
    const size_t row = sink.Index != nullptr ? sink.Index[player] : player;
    if (run.Paid > 0)
        sink.Put(&sink.Equity[row], 0.0);
    for (size_t place = 0; place < run.Outputs; ++place)
        sink.Put(&sink.Finish[row * run.Outputs + place], 0.0);
}

// Players [begin, end): G_i for each into Rows (row i - begin), and the
// suffix products likewise, from the block's saved end; degrees from `low`.
void RecomputeBlock(const Run &run, Workspace &work, size_t block, size_t begin, size_t end, size_t low,
                    size_t paid, size_t columns)
{
    double *rows = work.Rows.data();
    double *suffixRows = work.SuffixRows.data();
    const size_t last = end - 1 - begin;
    if (low < paid)
        std::copy(work.Saved.data() + block * run.Paid + low, work.Saved.data() + block * run.Paid + paid,
                  rows + last * run.Paid + low);
    std::copy_n(work.SavedSuffix.data() + block * run.Columns, columns, suffixRows + last * run.Columns);
    for (size_t i = end - 1; i > begin; --i)
    {
        const size_t row = i - begin;
        if (low < paid)
            PullBack(rows + row * run.Paid + low, rows + (row - 1) * run.Paid + low, paid - low, work.A[i],
                     work.B[i]);
        if (columns > 0)
            Multiply(suffixRows + row * run.Columns, suffixRows + (row - 1) * run.Columns, columns, work.A[i],
                     work.B[i]);
    }
}

// The largest count below which the rung clocks, mu expected, fall with a
// chance under e^-Negligible (Chernoff: P(X <= c) <= e^-mu (e mu / c)^c),
// searched upward from `from`.
size_t FloorOfBand(double mu, size_t from)
{
    size_t low = from;
    while (static_cast<double>(low) < mu)
    {
        const double c = static_cast<double>(low); // P(X <= c) must be negligible to drop 0..c
        const double exponent = c > 0.0 ? mu - c - c * PortableLog(mu / c) : mu;
        if (exponent < Negligible)
            break;
        ++low;
    }
    return low;
}

// The chances that a clock of rate s has not rung (a) and has rung (b) by
// time t, y = s t. One of them is at least 1/2, and 1 minus it is exact to
// an ulp.
void Clock(double y, double &a, double &b)
{
    if (y < 0.6931471805599453)
    {
        b = -PortableExpm1(-y);
        a = 1.0 - b;
    }
    else
    {
        a = PortableExp(-y);
        b = 1.0 - a;
    }
}

// Every player's a and b at `time`; returns the expected count rung.
double ClockChances(const Run &run, Workspace &work, double time)
{
    const std::vector<double> &stack = run.InPlay->Stack;
    double mu = 0.0;
    for (size_t j = 0; j < stack.size(); ++j)
    {
        Clock(stack[j] * time, work.A[j], work.B[j]);
        mu += work.B[j];
    }
    return mu;
}

// Backward: the prize vector and the suffix product at the end of every block.
void SaveBlockEnds(const Run &run, Workspace &work, size_t paid, size_t columns)
{
    const size_t n = run.InPlay->Stack.size();
    const size_t blocks = Blocks(run);
    double *saved = work.Saved.data() + (blocks - 1) * run.Paid;
    std::copy_n(run.Prizes, paid, saved);
    double *suffix = work.SavedSuffix.data() + (blocks - 1) * run.Columns;
    std::fill_n(suffix, columns, 0.0);
    if (columns > 0)
        suffix[0] = 1.0;
    for (size_t block = blocks - 1; block > 0; --block)
    {
        // Through the block's players in turn, alternating between its saved
        // end and a scratch vector, into the saved end of the block before.
        const double *from = work.Saved.data() + block * run.Paid;
        const double *suffixFrom = work.SavedSuffix.data() + block * run.Columns;
        double *into = work.Saved.data() + (block - 1) * run.Paid;
        double *suffixInto = work.SavedSuffix.data() + (block - 1) * run.Columns;
        double *spare = work.SpareSaved.data();
        double *suffixSpare = work.SpareSuffix.data();
        const size_t begin = block * run.Block;
        const size_t end = std::min(n, begin + run.Block);
        if ((end - begin) % 2 == 0)
        {
            std::swap(into, spare);
            std::swap(suffixInto, suffixSpare);
        }
        for (size_t i = end - 1; i + 1 > begin; --i)
        {
            if (paid > 0)
                PullBack(from, into, paid, work.A[i], work.B[i]);
            if (columns > 0)
                Multiply(suffixFrom, suffixInto, columns, work.A[i], work.B[i]);
            from = into;
            suffixFrom = suffixInto;
            std::swap(into, spare);
            std::swap(suffixInto, suffixSpare);
        }
    }
}

/*
 * Forward, block by block: each player's terms, given the product of the
 * players before him (from degree `low` on) and his row of the block, then
 * his factor into that product. Counts of rung clocks before the block that
 * are all but impossible are dropped from below too; once they reach the
 * band, no player left can finish in a place that counts.
 */
template <class Terms>
void WalkForward(const Run &run, Workspace &work, size_t band, size_t paid, size_t columns, const Sink &sink,
                 const Terms &terms)
{
    const size_t n = run.InPlay->Stack.size();
    double *prefix = work.Prefix.data();
    double *next = work.NextPrefix.data();
    std::fill_n(prefix, band, 0.0);
    prefix[0] = 1.0;
    double before = 0.0; // expected count rung among the players before the block
    size_t low = 0;
    for (size_t block = 0; block < Blocks(run); ++block)
    {
        const size_t begin = block * run.Block;
        const size_t end = std::min(n, begin + run.Block);
        low = FloorOfBand(before, low);
        if (low >= band)
        {
            for (size_t i = begin; i < n; ++i)
                PutNothing(run, sink, i);
            return;
        }
        RecomputeBlock(run, work, block, begin, end, low, paid, columns);
        for (size_t i = begin; i < end; ++i)
        {
            terms(i, prefix, low, i - begin);
            Multiply(prefix + low, next + low, band - low, work.A[i], work.B[i]);
            std::swap(prefix, next);
            before += work.B[i];
        }
    }
}

/*
 * One node, all players: O(n * band) for the products and the $EV, plus
 * O(n * columns^2 / 2) for the finish table.
 */
void EvaluateBand(const Run &run, Workspace &work, double weight, double mu, const Sink &sink)
{
    const std::vector<double> &stack = run.InPlay->Stack;
    const size_t band = Band(mu, run.Places);
    const size_t paid = std::min(run.Paid, band);
    const size_t columns = std::min(run.Columns, band);
    SaveBlockEnds(run, work, paid, columns);
    WalkForward(
        run, work, band, paid, columns, sink, [&](size_t i, const double *prefix, size_t low, size_t row) {
            const double density = weight * stack[i] * work.A[i];
            const size_t seat = sink.Index != nullptr ? sink.Index[i] : i;
            if (paid > 0)
                sink.Put(&sink.Equity[seat],
                         low < paid ? density * Dot(prefix + low, work.Rows.data() + row * run.Paid + low,
                                                    paid - low)
                                    : 0.0);
            if (run.Columns > 0)
            {
                const double *after = work.SuffixRows.data() + row * run.Columns;
                double *finish = &sink.Finish[seat * run.Columns];
                for (size_t place = 0; place < run.Columns; ++place)
                {
                    double chance = 0.0;
                    for (size_t d = low; d <= place && place < columns; ++d)
                        chance += prefix[d] * after[place - d];
                    sink.Put(&finish[place], density * chance);
                }
            }
        });
}

void EvaluateNode(const Run &run, Workspace &work, size_t node, const Sink &sink)
{
    double time = 0.0;
    double weight = 0.0;
    NodeAt(run.Plan, node, time, weight);
    const double mu = ClockChances(run, work, time);
    EvaluateBand(run, work, weight, mu, sink);
}

/*
 * The windowed pass, for the $EV alone. Of the count rung before player i
 * (mean M_i, variance V_i) only M_i +- r(V_i) has a chance that counts
 * (Bernstein: a sum of independent indicators strays by r or more with a
 * chance under e^-L each way when r = L/3 + sqrt(L^2/9 + 2 L V)), so the
 * prefix products of a block are kept between the bounds of its first and
 * last player, a width of 2 r + the block instead of the band. The prize
 * vectors pulled back to a block's end are needed where a block before it
 * can reach them: by concavity of r, within a block + 2 r((V + block/4) / 2)
 * of the mean there; what lies outside is left as 0. Everything dropped is
 * a count with a chance under e^-L, so L = Negligible + ln(4 (blocks + 1))
 * keeps the total dropped under e^-Negligible of the largest prize, as the
 * band does. All sums stay sums of non-negative terms. (r is BernsteinReach,
 * shared with the product tree.)
 *
 * Cost per node: about 4 n (2 r + 2 block) multiply-adds, r ~ sqrt(2 L V)
 * with V <= n / 4: O(n sqrt(n)) when every place is paid.
 */
size_t FloorAt(double count)
{
    return count <= 0.0 ? 0 : static_cast<size_t>(count);
}

size_t CeilAt(double count, size_t most)
{
    return count >= static_cast<double>(most) ? most : std::min(most, static_cast<size_t>(std::ceil(count)));
}

// Per block: [Low, High) for the prefix products and the dot products,
// [SavedLow, SavedHigh) for the prize vector pulled back to its end.
enum WindowBound
{
    Low,
    High,
    SavedLow,
    SavedHigh
};

void PlanWindows(const Run &run, Workspace &work)
{
    const size_t n = run.InPlay->Stack.size();
    const size_t blocks = Blocks(run);
    const double block = static_cast<double>(run.Block);
    const double bound = Negligible + PortableLog(4.0 * static_cast<double>(blocks + 1));
    size_t low = 0;
    size_t high = 0;
    size_t savedHigh = 0;
    for (size_t b = 0; b < blocks; ++b)
    {
        const size_t begin = b * run.Block;
        const size_t end = std::min(n, begin + run.Block);
        const double spread = BernsteinReach(work.Variance[end], bound);
        // Counts under an earlier block's floor stay under it: the floors and ceilings only rise.
        low = std::max(low, FloorAt(work.Mean[begin] - spread));
        high = std::max(high, CeilAt(work.Mean[end] + spread + 1.0, run.Paid));
        const double reach =
            block + 2.0 * BernsteinReach(0.5 * (work.Variance[end] + 0.25 * block), bound) + 3.0;
        size_t *bounds = &work.Windows[4 * b];
        bounds[Low] = low;
        bounds[High] = high;
        bounds[SavedLow] = std::min(low, FloorAt(work.Mean[end] - reach));
        savedHigh = std::max({savedHigh, CeilAt(work.Mean[end] + reach + 1.0, run.Paid),
                              std::min(run.Paid, high + run.Block)});
        bounds[SavedHigh] = savedHigh;
        bounds[SavedLow] = std::min(bounds[SavedLow], savedHigh);
    }
}

// to[d] = a from[d] + b from[d + 1] for d in [0, length): reads from[length].
void PullBackAll(const double *from, double *to, size_t length, double a, double b)
{
    for (size_t d = 0; d < length; ++d)
        to[d] = a * from[d] + b * from[d + 1];
}

// Into `into`, [low, top): the saved vector of block b within its bounds, 0 elsewhere.
void LoadSaved(const Run &run, const Workspace &work, size_t b, size_t low, size_t top, double *into)
{
    const size_t *bounds = &work.Windows[4 * b];
    const double *saved = work.Saved.data() + b * Stride(run);
    const size_t from = std::min(top, std::max(low, bounds[SavedLow]));
    const size_t to = std::max(from, std::min(top, bounds[SavedHigh]));
    std::fill(into + low, into + from, 0.0);
    std::copy(saved + from, saved + to, into + from);
    std::fill(into + to, into + top, 0.0);
}

// Backward: the prize vector at the end of every block, within its bounds.
void SaveWindowedEnds(const Run &run, Workspace &work)
{
    const size_t n = run.InPlay->Stack.size();
    const size_t blocks = Blocks(run);
    const size_t stride = Stride(run);
    const size_t *last = &work.Windows[4 * (blocks - 1)];
    std::copy(run.Prizes + last[SavedLow], run.Prizes + last[SavedHigh],
              work.Saved.data() + (blocks - 1) * stride + last[SavedLow]);
    for (size_t b = blocks - 1; b > 0; --b)
    {
        const size_t begin = b * run.Block;
        const size_t end = std::min(n, begin + run.Block);
        const size_t *before = &work.Windows[4 * (b - 1)];
        const size_t low = before[SavedLow];
        double *from = work.SpareSaved.data();
        double *into = from + stride;
        LoadSaved(run, work, b, low, before[SavedHigh] + (end - begin) + 1, from);
        for (size_t i = end - 1; i + 1 > begin; --i)
        {
            PullBackAll(from + low, into + low, before[SavedHigh] + (i - begin) - low, work.A[i], work.B[i]);
            std::swap(from, into);
        }
        std::copy(from + low, from + before[SavedHigh], work.Saved.data() + (b - 1) * stride + low);
    }
}

void EvaluateWindowedNode(const Run &run, Workspace &work, size_t node, const Sink &sink)
{
    const std::vector<double> &stack = run.InPlay->Stack;
    const size_t n = stack.size();
    double time = 0.0;
    double weight = 0.0;
    NodeAt(run.Plan, node, time, weight);
    ClockChances(run, work, time);
    work.Mean[0] = 0.0;
    work.Variance[0] = 0.0;
    for (size_t j = 0; j < n; ++j)
    {
        work.Mean[j + 1] = work.Mean[j] + work.B[j];
        work.Variance[j + 1] = work.Variance[j] + work.A[j] * work.B[j];
    }
    PlanWindows(run, work);
    SaveWindowedEnds(run, work);
    const size_t stride = Stride(run);
    double *prefix = work.Prefix.data();
    double *next = work.NextPrefix.data();
    prefix[0] = 1.0;
    size_t valid = 1; // prefix holds the products on [low, valid)
    for (size_t b = 0; b < Blocks(run); ++b)
    {
        const size_t begin = b * run.Block;
        const size_t end = std::min(n, begin + run.Block);
        const size_t low = work.Windows[4 * b + Low];
        const size_t high = work.Windows[4 * b + High];
        if (low >= high)
        {
            for (size_t i = begin; i < n; ++i)
                PutNothing(run, sink, i);
            return;
        }
        if (high > valid)
            std::fill(prefix + valid, prefix + high, 0.0);
        valid = high;
        // The block's rows: row i - begin on [low, high + i - begin).
        double *rows = work.Rows.data();
        const size_t lastRow = end - 1 - begin;
        LoadSaved(run, work, b, low, high + lastRow, rows + lastRow * stride);
        for (size_t i = end - 1; i > begin; --i)
        {
            const size_t row = i - begin;
            PullBackAll(rows + row * stride + low, rows + (row - 1) * stride + low, high + row - 1 - low,
                        work.A[i], work.B[i]);
        }
        for (size_t i = begin; i < end; ++i)
        {
            const size_t seat = sink.Index != nullptr ? sink.Index[i] : i;
            const double density = weight * stack[i] * work.A[i];
            sink.Put(&sink.Equity[seat],
                     density * Dot(prefix + low, rows + (i - begin) * stride + low, high - low));
            Multiply(prefix + low, next + low, high - low, work.A[i], work.B[i]);
            std::swap(prefix, next);
        }
    }
}

/*
 * Below this band the full band is the faster at a node (measured on the
 * benchmark fields of 1,000 to 10,000 players: 0.55 to 0.6 of the tree's
 * time under a band of 40, even at a band of 50 to 60); the early nodes of
 * a field, before a few dozen clocks have rung, take it. Its buffers are
 * within the tree pass's.
 */
constexpr size_t TreeFromBand = 60;

// The product tree's pass, or the windowed pass where the tree refuses the
// node, or the full band where the band is narrow.
void EvaluateTreeNode(const Run &run, Workspace &work, size_t node, const Sink &sink)
{
    const std::vector<double> &stack = run.InPlay->Stack;
    double time = 0.0;
    double weight = 0.0;
    NodeAt(run.Plan, node, time, weight);
    const double mu = ClockChances(run, work, time);
    if (Band(mu, run.Places) < TreeFromBand)
    {
        EvaluateBand(run, work, weight, mu, sink);
        return;
    }
    if (!work.Tree.PrizeSums(work.A.data(), work.B.data(), run.Prizes, Negligible, work.Sums.data()))
    {
        EvaluateWindowedNode(run, work, node, sink);
        return;
    }
    for (size_t i = 0; i < stack.size(); ++i)
    {
        const size_t seat = sink.Index != nullptr ? sink.Index[i] : i;
        sink.Put(&sink.Equity[seat], weight * stack[i] * work.A[i] * work.Sums[i]);
    }
}

/*
 * One node of a hero's row. The hero's factor is taken out of the products
 * (a = 1, b = 0 leaves them unchanged to the bit), so at opponent j the
 * prefix P and the pulled-back prizes G are those of every player but the
 * two. After a hand j's factor is a' + b' z, and the hero's term is
 *     density' * <P (a' + b' z), G> = density' * (a' <P, G> + b' <P, G shifted by one>),
 * two dot products per opponent for both hands. At the hero's own place the
 * same <P, G> is his $EV term on the field as it stands. The band allows for
 * j's clock after a hand: at most one more ring expected.
 *
 * Of the four clocks after a hand, those of a sum of stacks are products of
 * the players' own (e^-(s + s')t = a a', 1 - a a' = b + a b', no cancelling),
 * so only the difference of the two stacks takes an exponential of its own.
 */
void EvaluateRowNode(const Run &run, Workspace &work, size_t node, const Sink &sink)
{
    const std::vector<double> &stack = run.InPlay->Stack;
    double time = 0.0;
    double weight = 0.0;
    NodeAt(run.Plan, node, time, weight);
    double mu = ClockChances(run, work, time);
    const size_t hero = run.Hero;
    const double heroA = work.A[hero];
    mu -= work.B[hero];
    work.A[hero] = 1.0;
    work.B[hero] = 0.0;
    const size_t band = Band(mu + 1.0, run.Places);
    const size_t paid = std::min(run.Paid, band);
    SaveBlockEnds(run, work, paid, 0);
    WalkForward(run, work, band, paid, 0, sink, [&](size_t j, const double *prefix, size_t low, size_t row) {
        const double *after = work.Rows.data() + row * run.Paid;
        const double same = low < paid ? Dot(prefix + low, after + low, paid - low) : 0.0;
        const double shifted = low + 1 < paid ? Dot(prefix + low, after + low + 1, paid - low - 1) : 0.0;
        const size_t seat = sink.Index != nullptr ? sink.Index[j] : j;
        double *hands = &sink.Finish[seat * 2];
        if (j == hero)
        {
            sink.Put(&sink.Equity[seat], weight * stack[j] * heroA * same);
            sink.Put(&hands[0], 0.0);
            sink.Put(&hands[1], 0.0);
            return;
        }
        const Hand &hand = run.Hands[j];
        const double a = work.A[j];
        const double b = work.B[j];
        double differenceA = 0.0; // the clock of |s_hero - s_j|
        double differenceB = 0.0;
        Clock(std::fabs(stack[hero] - stack[j]) * time, differenceA, differenceB);
        sink.Put(&sink.Equity[seat], 0.0);
        if (hand.OtherWon == 0.0) // s_j <= s_hero: j is busted when he loses
        {
            sink.Put(&hands[0], weight * hand.HeroWon * (heroA * a) * same);
            sink.Put(&hands[1], hand.HeroLost > 0.0 ? weight * hand.HeroLost * differenceA *
                                                          ((a * a) * same + (b + a * b) * shifted)
                                                    : 0.0);
        }
        else
        {
            sink.Put(&hands[0],
                     weight * hand.HeroWon * (heroA * heroA) * (differenceA * same + differenceB * shifted));
            sink.Put(&hands[1], 0.0); // s_j > s_hero: the hero is busted when he loses
        }
    });
}

// Threads meet here between the computing and the adding of each round.
class Barrier
{
  public:
    void Reset(size_t parties)
    {
        Parties = parties;
    }

    void Wait()
    {
        std::unique_lock<std::mutex> lock(Mutex);
        const size_t generation = Generation;
        if (++Arrived == Parties)
        {
            Arrived = 0;
            ++Generation;
            Changed.notify_all();
            return;
        }
        Changed.wait(lock, [&] { return Generation != generation; });
    }

  private:
    std::mutex Mutex;
    std::condition_variable Changed;
    size_t Parties = 1;
    size_t Arrived = 0;
    size_t Generation = 0;
};

struct Totals
{
    double *Equity;
    double *Finish;
    const size_t *Seat; // player -> seat
};

void ReportProgress(const QuadratureOptions &options, double done)
{
    if (options.Progress != nullptr)
        options.Progress(options.ProgressContext, done);
}

// The nodes a pass over the threads takes: First, First + Step, ... (Count
// of them), and the share of the run done before it, for the progress.
struct Schedule
{
    size_t First;
    size_t Step;
    size_t Count;
    double DoneBefore;
    double DoneTotal;

    size_t Node(size_t k) const
    {
        return First + k * Step;
    }

    double Done(size_t k) const
    {
        return (DoneBefore + static_cast<double>(k)) / DoneTotal;
    }
};

/*
 * With T threads, round r gives the schedule's node rT + t to thread t, which
 * stores its terms; then thread t adds every stored term of its share of the
 * players to the totals, node by node. Each total thus takes its terms in
 * node order, as a single thread adds them, and the results are the same for
 * any T.
 */
void RunThread(const Run &run, std::vector<Workspace> &work, size_t threads, const Totals &totals,
               Barrier &barrier, const QuadratureOptions &options, const Schedule &schedule, size_t thread)
{
    const size_t n = run.InPlay->Stack.size();
    const size_t nodes = schedule.Count;
    const size_t columns = run.Outputs;
    const auto evaluate = run.Hands != nullptr                      ? EvaluateRowNode
                          : run.Pass == QuadraturePass::ProductTree ? EvaluateTreeNode
                          : run.Pass == QuadraturePass::Windowed    ? EvaluateWindowedNode
                                                                    : EvaluateNode;
    for (size_t first = 0; first < nodes; first += threads)
    {
        if (threads == 1)
        {
            evaluate(run, work[0], schedule.Node(first), {totals.Equity, totals.Finish, totals.Seat, true});
            ReportProgress(options, schedule.Done(first + 1));
            continue;
        }
        Workspace &mine = work[thread];
        if (first + thread < nodes)
            evaluate(run, mine, schedule.Node(first + thread),
                     {mine.Equity.data(), mine.Finish.data(), nullptr, false});
        barrier.Wait();
        const size_t count = std::min(threads, nodes - first);
        for (size_t i = n * thread / threads; i < n * (thread + 1) / threads; ++i)
        {
            const size_t seat = totals.Seat[i];
            for (size_t t = 0; t < count; ++t)
            {
                totals.Equity[seat] += work[t].Equity[i];
                for (size_t place = 0; place < columns; ++place)
                    totals.Finish[seat * columns + place] += work[t].Finish[i * columns + place];
            }
        }
        barrier.Wait();
        if (thread == 0)
            ReportProgress(options, schedule.Done(first + count));
    }
}

// Helpers wait here until the calling thread knows how many of them started.
struct StartGate
{
    std::mutex Mutex;
    std::condition_variable Opened;
    bool Open = false;
    size_t Threads = 0;
};

void RunHelper(const Run &run, std::vector<Workspace> &work, const Totals &totals, Barrier &barrier,
               const QuadratureOptions &options, const Schedule &schedule, StartGate &gate, size_t thread)
{
    size_t threads = 0;
    {
        std::unique_lock<std::mutex> lock(gate.Mutex);
        gate.Opened.wait(lock, [&] { return gate.Open; });
        threads = gate.Threads;
    }
    RunThread(run, work, threads, totals, barrier, options, schedule, thread);
}

/*
 * The calling thread is thread 0. A helper that cannot be started leaves the
 * run to those that were: the results are the same.
 */
void RunAllThreads(const Run &run, std::vector<Workspace> &work, const Totals &totals,
                   const QuadratureOptions &options, const Schedule &schedule)
{
    Barrier barrier;
    StartGate gate;
    std::vector<std::thread> helpers;
    for (size_t thread = 1; thread < work.size(); ++thread)
    {
        try
        {
            helpers.emplace_back(RunHelper, std::cref(run), std::ref(work), std::cref(totals),
                                 std::ref(barrier), std::cref(options), std::cref(schedule), std::ref(gate), thread);
        }
        catch (const std::system_error &)
        {
            break;
        }
    }
    const size_t threads = helpers.size() + 1;
    barrier.Reset(threads);
    {
        std::lock_guard<std::mutex> lock(gate.Mutex);
        gate.Threads = threads;
        gate.Open = true;
    }
    gate.Opened.notify_all();
    RunThread(run, work, threads, totals, barrier, options, schedule, 0);
    for (std::thread &helper : helpers)
        helper.join();
}

/*
 * Nested levels. The planned step is made for the sharpest integrand any
 * ladder could give at the field's clocks (a ladder of random jumps, or the
 * drop to 0 after the last paid place); a smooth ladder over every place
 * keeps the promise with steps several times coarser. So the $EV are taken
 * on the nodes u = First + k 2^L first, L = Top, then L = Top - 1, ... down
 * to 0, whose step keeps the plan's rules (the planned step wherever W may
 * pass (StepScale / NestedCoarseStep)^2, StepScale / sqrt(W) before, and
 * finer at the edge): each level adds the odd multiples of 2^L, so the
 * levels nest and none is evaluated twice, and the window of u is the same
 * at every level (the plan is extended at its start, where every term is
 * below e^-38 of its $EV, so that its length is a multiple of 2^Top).
 *
 * The stop. For an analytic integrand the trapezoid error falls at least
 * geometrically with the step, E(h/2) ~ E(h)^2 / E(0): once the change from
 * level L + 1 to L (about E at L + 1) is under LevelsAgree of every $EV, the
 * error at L is far below it. Two guards against coarse levels that miss a
 * sharp feature alike: the coarsest level, at least 16 nodes, is never
 * accepted; and level L is accepted only if the change before it, from
 * L + 2 to L + 1, was already under LevelsConverging, so two successive
 * changes agree on the convergence for every player (one cancelling alias
 * can hide a change, not two at steps a factor 2 apart). Where they do not,
 * the run goes on to level 0 (within 5e-15 of the plan's answer where
 * measured). Each level's terms are added in node order, and the test is on
 * those sums: the same for any thread count.
 */
constexpr unsigned MostLevels = 4;     // the coarsest: 16 times the planned step
constexpr double CoarsestNodes = 16.0; // nodes at least, at the coarsest level
constexpr unsigned FewestLevels = 3;   // fewer: the run takes the planned step alone
constexpr double LevelsAgree = 1e-13;  // of every $EV, or of TinyShare of the pool
constexpr double LevelsConverging = 1e-5;
constexpr double TinyShare = 1e-20; // $EV under it held to LevelsAgree of it
/*
 * At level L the mapping's own features are sampled 2^L times more coarsely
 * too: the tail's e^(-e^(-y)) and the blend's softplus have poles a quarter
 * period (pi / 2 / Coarse) and pi Blending away from the real axis in u, and
 * the trapezoid error goes as e^(-2 pi distance / step). A nested plan takes
 * a finer coarse step and a slower blend, so that level 2 (step 4) still
 * integrates them to 1e-14: 2.9 times the coarse nodes at the planned step,
 * the same or fewer once a level stops early.
 */
constexpr double NestedCoarseStep = 0.07;
constexpr double NestedBlend = 12.0;

/*
 * Levels are tried where the measurements found them stopping early: a
 * ladder that falls at every paid place. Ties (tiers, the last place alone)
 * and rises (random jumps) are as sharp at their steps as W says, and take
 * the plan as made. Where K < n the nested plan samples the drop to 0 after
 * place K more finely (PlanLevels).
 */
bool TriesLevels(const Field &field, size_t players, size_t paid)
{
    if (paid < 2 || paid > players)
        return false;
    for (size_t place = 1; place < paid; ++place)
        if (!(field.Prizes[place] < field.Prizes[place - 1]))
            return false;
    return true;
}

constexpr double LateFactor = 2.0; // the late step at most this many planned ones (3 left 4e-15 at level 1, 4 3e-13)
constexpr double EdgeShare = 0.25;  // of the planned step at the edge, at level 0 (a third was too coarse)
constexpr double LeastSaving = 0.9;  // level 1's nodes at most this share of the plan's
constexpr double EdgeLead = 2.0;   // blends before the edge: its step is within 40 % of Edge there
constexpr double EdgeReach = 6.0;  // standard deviations of the count
constexpr double EdgeClocks = 5.0; // and clocks more

// The ln t from which the count of rung clocks may come within EdgeReach of
// `paid`, estimated from the bins' middles (any estimate is safe: the levels
// check what it gives).
double EdgeFrom(const std::vector<StackBin> &bins, double paid, double low, double high)
{
    const auto reaches = [&](double logTime) {
        const double t = PortableExp(logTime);
        double mean = 0.0;
        double variance = 0.0;
        for (const StackBin &bin : bins)
        {
            const double unrung = PortableExp(-0.5 * (bin.Low + bin.High) * t);
            mean += bin.Count * (1.0 - unrung);
            variance += bin.Count * unrung * (1.0 - unrung);
        }
        return mean + EdgeReach * std::sqrt(variance) + EdgeClocks >= paid;
    };
    Bisect(low, high, 60, [&](double mid) { return !reaches(mid); });
    return low;
}

// The coarsest level for the plan, 0 for none; a nested plan's mapping, and
// extended at its start so that Count - 1 is a multiple of 2^level.
unsigned PlanLevels(NodePlan &plan, const std::vector<StackBin> &bins, size_t players, size_t paid)
{
    if (static_cast<double>(plan.Count) < CoarsestNodes * std::ldexp(1.0, static_cast<int>(FewestLevels)))
        return 0;
    // The coarse step ends where W may reach (StepScale / Coarse)^2, as in PlanNodes.
    NodePlan nested = plan;
    nested.Coarse = std::max(plan.Fine, NestedCoarseStep);
    nested.Blending = NestedBlend;
    nested.Shift += 2.0 * PortableLog(CoarseStep / nested.Coarse);
    if (paid < players)
    {
        // Where the count of rung clocks may meet the last paid place, the step
        // is a quarter of the planned one at the finest level, so that level 2
        // still takes the drop to 0 after it at the planned step.
        const double edgeFrom = EdgeFrom(bins, static_cast<double>(paid), plan.Start, plan.End);
        nested.EdgeAt = SolveLinear(nested, edgeFrom) - EdgeLead * EdgeBlend;
        nested.Edge = plan.Fine * EdgeShare;
    }
    else
    {
        // Late, with few clocks left, W falls: from where its bound over the
        // rest of the window allows LateFactor times the step (and so does the
        // deepest place's own clock, as in PlanNodes), that step.
        const double coarser = LateFactor * plan.Fine;
        const double sharpness = (StepScale / coarser) * (StepScale / coarser);
        double low = plan.Start;
        double high = plan.End;
        const double last = PortableExp(plan.End);
        Bisect(low, high, 60, [&](double mid) { return SharpnessAtMost(bins, PortableExp(mid), last) > sharpness; });
        const double ratio = bins.back().High / bins.front().Low;
        const double late = std::min(
            coarser, DeepPlaceStep(DeepPlaceSharpness(static_cast<double>(paid), ratio, sharpness)));
        if (late > plan.Fine && high < plan.End)
        {
            nested.LateAt = SolveLinear(nested, high) + EdgeLead * EdgeBlend;
            nested.Late = late;
        }
    }
    nested.First = SolveLinear(nested, nested.Start);
    nested.Count = static_cast<size_t>(std::ceil(SolveLinear(nested, nested.End) - nested.First)) + 1;
    // Level 1, the earliest stop measured, must save nodes: else the plan as made.
    if (static_cast<double>(nested.Count) > 2.0 * LeastSaving * static_cast<double>(plan.Count))
        return 0;
    unsigned top = FewestLevels;
    while (top < MostLevels &&
           static_cast<double>(nested.Count) >= CoarsestNodes * std::ldexp(1.0, static_cast<int>(top) + 1))
        ++top;
    const size_t spacing = size_t{1} << top;
    const size_t extra = (spacing - (nested.Count - 1) % spacing) % spacing;
    nested.First -= static_cast<double>(extra);
    nested.Count += extra;
    plan = nested;
    return top;
}

// The levels from `top` down, into totals.Equity (every player's seat).
void RunLevels(const Run &run, std::vector<Workspace> &work, const Totals &totals, size_t seats,
               const QuadratureOptions &options, unsigned top, double pool, QuadratureReport &report)
{
    const size_t n = run.InPlay->Stack.size();
    const size_t last = run.Plan.Count - 1; // a multiple of 2^top
    const double planned = static_cast<double>(run.Plan.Count);
    const double floor = TinyShare * pool;
    std::vector<double> sum(seats, 0.0);
    std::vector<double> level(seats, 0.0);
    std::vector<double> previous(seats, 0.0);
    double done = 0.0;
    bool converging = false;
    for (unsigned L = top + 1; L-- > 0;)
    {
        const size_t spacing = size_t{1} << L;
        const Schedule schedule = L == top ? Schedule{0, spacing, last / spacing + 1, done, planned}
                                           : Schedule{spacing, 2 * spacing, last / (2 * spacing), done, planned};
        for (size_t i = 0; i < n; ++i)
            level[totals.Seat[i]] = 0.0;
        RunAllThreads(run, work, {level.data(), nullptr, totals.Seat}, options, schedule);
        done += static_cast<double>(schedule.Count);
        double change = 0.0;
        for (size_t i = 0; i < n; ++i)
        {
            const size_t seat = totals.Seat[i];
            sum[seat] += level[seat];
            const double estimate = std::ldexp(sum[seat], static_cast<int>(L));
            const double moved = std::fabs(estimate - previous[seat]) / std::max(std::fabs(estimate), floor);
            if (!(moved <= change)) // a NaN stays
                change = moved;
            previous[seat] = estimate;
        }
        if (L == top)
            change = HUGE_VAL;
        report.Change[L] = change;
        report.Nodes = static_cast<size_t>(done);
        report.Level = L;
        const bool accepted = L + 2 <= top && change <= LevelsAgree && converging;
        converging = change <= LevelsConverging;
        if (accepted)
            break;
    }
    for (size_t i = 0; i < n; ++i)
        totals.Equity[totals.Seat[i]] = previous[totals.Seat[i]];
}

// More threads than this are taken as this many.
constexpr unsigned MostThreads = 256;

struct Setup
{
    Status Checked;
    size_t InPlay = 0;
    size_t Paid = 0;
    size_t Columns = 0;
    size_t Threads = 1;
    size_t Bytes = 0;
};

/*
 * The pass for a field's $EV (a finish table and a row take the full band).
 * Measured on the benchmark fields (docs/performance.md, QuadratureCrossover):
 * with its sixteen-wide schoolbook sums the product tree is as fast as the
 * full band at 50 to 70 paid places and faster from there, whatever the
 * field's size; the windowed pass, on its own, seldom beats the full band
 * and serves as the tree's fallback.
 */
constexpr size_t TreeFromPaid = 80;

QuadraturePass ChoosePass(const QuadratureOptions &options, size_t players, size_t paid, size_t columns)
{
    if (columns > 0 || paid == 0 || players < 2)
        return QuadraturePass::FullBand;
    if (options.Pass != QuadraturePass::Auto)
        return options.Pass;
    return paid >= TreeFromPaid ? QuadraturePass::ProductTree : QuadraturePass::FullBand;
}

size_t BlockFor(size_t n)
{
    size_t block = static_cast<size_t>(std::ceil(std::sqrt(static_cast<double>(n))));
    return std::max<size_t>(block, 1);
}

// Checks the field and picks the thread count that fits the memory limit;
// `row` for a hero's row, which keeps two terms per player and node.
Setup Prepare(const Field &field, const QuadratureOptions &options, bool finish, bool row)
{
    Setup setup;
    setup.Checked = CheckField(field);
    if (!setup.Checked.Ok)
        return setup;
    setup.InPlay = PlayersInPlay(field);
    setup.Paid = PaidPlaces(field, setup.InPlay);
    setup.Columns = finish ? std::min(options.FinishPlaces, setup.InPlay) : 0;
    const size_t n = setup.InPlay;
    const size_t outputs = row ? 2 : setup.Columns;
    Run shape = {nullptr,
                 nullptr,
                 setup.Paid,
                 setup.Columns,
                 std::max(setup.Paid, setup.Columns),
                 BlockFor(n),
                 NodePlan(),
                 outputs,
                 0,
                 nullptr,
                 row ? QuadraturePass::FullBand : ChoosePass(options, n, setup.Paid, setup.Columns)};
    // The players' stacks and seats, their bins and the finish table; a row's
    // hands and its totals.
    const double players = static_cast<double>(n);
    const double fixed =
        players * static_cast<double>(sizeof(double) + sizeof(size_t) + sizeof(int) + sizeof(StackBin)) +
        static_cast<double>(field.Seats) * static_cast<double>(setup.Columns) * sizeof(double) +
        (row || (!finish && TriesLevels(field, n, setup.Paid)) // a row's totals, or the nested levels' sums
             ? static_cast<double>(field.Seats) * 3.0 * sizeof(double)
             : 0.0);
    const double hands = row ? players * sizeof(Hand) : 0.0;
    const size_t wanted = std::min(std::max<unsigned>(options.Threads, 1u), MostThreads);
    for (size_t threads = wanted; threads >= 1; --threads)
    {
        const double bytes = fixed + hands + static_cast<double>(threads) *
                                         WorkspaceDoubles(shape, players, threads > 1) * sizeof(double);
        setup.Threads = threads;
        setup.Bytes = bytes < static_cast<double>(SIZE_MAX) ? static_cast<size_t>(bytes) : SIZE_MAX;
        if (bytes <= static_cast<double>(options.MemoryLimit))
            break;
    }
    return setup;
}

Status Refusal(const Setup &setup, const QuadratureOptions &options)
{
    if (!setup.Checked.Ok)
        return setup.Checked;
    if (setup.InPlay > QuadratureMaxPlayers)
        return Failure("the quadrature method takes at most " + std::to_string(QuadratureMaxPlayers) +
                       " players in play; this field has " + std::to_string(setup.InPlay));
    if (setup.Bytes > options.MemoryLimit)
        return Failure("the quadrature method would need " + std::to_string(setup.Bytes) +
                       " bytes of memory for this field, over the limit of " +
                       std::to_string(options.MemoryLimit));
    return Status();
}

void FinishSeats(const Field &field, size_t columns, FinishTable *finish)
{
    finish->Seats = field.Seats;
    finish->Places = columns;
    finish->Chance.assign(field.Seats * columns, 0.0);
}

} // namespace

double QuadratureSteps(const Field &field, size_t finishPlaces)
{
    if (!CheckField(field).Ok)
        return HUGE_VAL;
    const size_t n = PlayersInPlay(field);
    if (n > QuadratureMaxPlayers)
        return HUGE_VAL;
    const size_t columns = std::min(finishPlaces, n);
    const size_t places = std::max(PaidPlaces(field, n), columns);
    if (n < 2 || places == 0)
        return 0.0;
    const Players players = GatherPlayers(field, n);
    NodePlan plan = PlanNodes(players, BinStacks(players.Stack), places, 0);
    if (columns == 0 && TriesLevels(field, n, places))
        PlanLevels(plan, BinStacks(players.Stack), n, places); // the finest level: an upper bound
    // Each player costs about as much per node as 50 places: his clock's exponential and his share of the passes.
    const double width =
        50.0 + static_cast<double>(places) + 0.5 * static_cast<double>(columns) * static_cast<double>(columns);
    return static_cast<double>(plan.Count) * static_cast<double>(n) * width;
}

size_t QuadratureMemory(const Field &field, const QuadratureOptions &options, bool finish)
{
    return Prepare(field, options, finish, false).Bytes;
}

Status QuadratureEquities(const Field &field, const QuadratureOptions &options, double *equities,
                          FinishTable *finish)
{
    if (equities == nullptr && field.Seats > 0)
        return Failure("no room given for the results");
    const Setup setup = Prepare(field, options, finish != nullptr, false);
    const Status refused = Refusal(setup, options);
    if (!refused.Ok)
        return refused;
    try
    {
        Players players = GatherPlayers(field, setup.InPlay);
        const size_t places = std::max(setup.Paid, setup.Columns);
        Run run = {&players,
                   field.Prizes,
                   setup.Paid,
                   setup.Columns,
                   places,
                   BlockFor(setup.InPlay),
                   NodePlan(),
                   setup.Columns,
                   0,
                   nullptr,
                   ChoosePass(options, setup.InPlay, setup.Paid, setup.Columns)};
        Totals totals = {equities, nullptr, players.Seat.data()};
        if (finish != nullptr)
        {
            FinishSeats(field, setup.Columns, finish);
            totals.Finish = finish->Chance.data();
        }
        std::fill_n(equities, field.Seats, 0.0);
        if (setup.InPlay == 1)
        {
            // One player takes place 1.
            if (setup.Paid > 0)
                equities[players.Seat[0]] = field.Prizes[0];
            if (setup.Columns > 0)
                totals.Finish[players.Seat[0]] = 1.0;
        }
        if (setup.InPlay < 2 || places == 0)
        {
            if (options.Report != nullptr)
                *options.Report = QuadratureReport();
            ReportProgress(options, 1.0);
            return Status();
        }
        run.Plan = PlanNodes(players, BinStacks(players.Stack), places, 0);
        QuadratureReport report;
        report.PlannedNodes = run.Plan.Count;
        report.Top = setup.Columns == 0 && options.Nested && TriesLevels(field, setup.InPlay, setup.Paid)
                         ? PlanLevels(run.Plan, BinStacks(players.Stack), setup.InPlay, setup.Paid)
                         : 0;
        std::vector<Workspace> work(std::min(setup.Threads, run.Plan.Count));
        for (Workspace &space : work)
            space.Allocate(run, work.size() > 1);
        if (report.Top > 0)
        {
            RunLevels(run, work, totals, field.Seats, options, report.Top, PrizePool(field, setup.InPlay),
                      report);
            ReportProgress(options, 1.0);
        }
        else
        {
            const double planned = static_cast<double>(run.Plan.Count);
            RunAllThreads(run, work, totals, options, {0, 1, run.Plan.Count, 0.0, planned});
            report.Nodes = run.Plan.Count;
        }
        if (options.Report != nullptr)
            *options.Report = report;
    }
    catch (const std::bad_alloc &)
    {
        return Failure("the quadrature method could not get the " + std::to_string(setup.Bytes) +
                       " bytes of memory it needs");
    }
    return Status();
}

/*
 * The row's fields all hold the same chips and differ from the field in two
 * stacks, so one plan made with changed = 2, the smallest stack taken over
 * every field, serves them all.
 */
Status QuadratureHeroHands(const Field &field, size_t hero, const QuadratureOptions &options, double &now,
                           double *won, double *lost)
{
    if ((won == nullptr || lost == nullptr) && field.Seats > 0)
        return Failure("no room given for the results");
    const Setup setup = Prepare(field, options, false, true);
    const Status refused = Refusal(setup, options);
    if (!refused.Ok)
        return refused;
    if (hero >= field.Seats || field.Stacks[hero] == 0)
        return Failure("seat " + std::to_string(hero + 1) + " has no player in play");
    const size_t n = setup.InPlay;
    const double lastPlace = n <= field.Places ? field.Prizes[n - 1] : 0.0; // the busted hero's
    try
    {
        Players players = GatherPlayers(field, n);
        const size_t heroPlayer = static_cast<size_t>(
            std::find(players.Seat.begin(), players.Seat.end(), hero) - players.Seat.begin());
        const double heroStack = players.Stack[heroPlayer];
        std::vector<Hand> hands(n);
        for (size_t j = 0; j < n; ++j)
        {
            const double risked = std::min(heroStack, players.Stack[j]);
            hands[j] = {heroStack + risked, players.Stack[j] - risked, heroStack - risked};
            for (double stack : {hands[j].OtherWon, hands[j].HeroLost})
                if (j != heroPlayer && stack > 0.0)
                    players.Smallest = std::min(players.Smallest, stack);
        }
        std::vector<double> nowTotal(field.Seats, 0.0);
        std::vector<double> handTotals(field.Seats * 2, 0.0);
        if (n == 1 && setup.Paid > 0)
            nowTotal[hero] = field.Prizes[0];
        if (n >= 2 && setup.Paid > 0)
        {
            Run run = {&players,
                       field.Prizes,
                       setup.Paid,
                       0,
                       setup.Paid,
                       BlockFor(n),
                       NodePlan(),
                       2,
                       heroPlayer,
                       hands.data(),
                       QuadraturePass::FullBand};
            run.Plan = PlanNodes(players, BinStacks(players.Stack), setup.Paid, 2);
            std::vector<Workspace> work(std::min(setup.Threads, run.Plan.Count));
            for (Workspace &space : work)
                space.Allocate(run, work.size() > 1);
            const double planned = static_cast<double>(run.Plan.Count);
            RunAllThreads(run, work, {nowTotal.data(), handTotals.data(), players.Seat.data()}, options,
                          {0, 1, run.Plan.Count, 0.0, planned});
        }
        else
            ReportProgress(options, 1.0);
        now = nowTotal[hero];
        std::fill_n(won, field.Seats, 0.0);
        std::fill_n(lost, field.Seats, 0.0);
        for (size_t j = 0; j < n; ++j)
        {
            const size_t seat = players.Seat[j];
            won[seat] = handTotals[seat * 2];
            lost[seat] = hands[j].HeroLost > 0.0 ? handTotals[seat * 2 + 1] : lastPlace;
        }
        won[hero] = lost[hero] = 0.0;
    }
    catch (const std::bad_alloc &)
    {
        return Failure("the quadrature method could not get the " + std::to_string(setup.Bytes) +
                       " bytes of memory it needs");
    }
    return Status();
}

} // namespace ostrel
