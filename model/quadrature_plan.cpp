/*
 * The nodes: bounds on the field's clocks from its stacks in bins, the
 * mapping from node index to ln t, and the step rules that plan it.
 */
#include "quadrature_plan.h"

#include <algorithm>
#include <cmath>

#include "portable_math.h"

namespace ostrel
{
namespace quadrature
{
namespace
{

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

} // namespace

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

namespace
{

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

} // namespace

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

} // namespace quadrature
} // namespace ostrel
