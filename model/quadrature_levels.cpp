/*
 * The nested levels: the finer mapping that coarse levels still integrate,
 * and the run from the coarsest level down to the one accepted.
 */
#include "quadrature_levels.h"

#include <algorithm>
#include <cmath>

#include "portable_math.h"

namespace ostrel
{
namespace quadrature
{
namespace
{

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

} // namespace

bool TriesLevels(const Field &field, size_t players, size_t paid)
{
    if (paid < 2 || paid > players)
        return false;
    for (size_t place = 1; place < paid; ++place)
        if (!(field.Prizes[place] < field.Prizes[place - 1]))
            return false;
    return true;
}

namespace
{

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

} // namespace

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

} // namespace quadrature
} // namespace ostrel
