/*
 * The product tree's pass at a node: the products up the tree and the
 * prizes pulled back down it (product_tree.h), where the band is wide
 * enough to gain from it.
 * Cost per node: O(n log^2 n) (fast products up and down the tree).
 * Accuracy: the tree's own bound on its rounding; a node it cannot vouch
 * for is taken by the windowed pass instead.
 */
#include "quadrature_passes.h"

namespace ostrel
{
namespace quadrature
{

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

} // namespace quadrature
} // namespace ostrel
