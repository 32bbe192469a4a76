/*
 * The four ways the quadrature method evaluates one node, inside the library
 * (model/quadrature_*.cpp only). Each puts every player's terms at node
 * `node` of run.Plan into `sink`: his $EV term, and his finish-table row or,
 * in a hero's row, his two hands' terms.
 *
 * Contract: every term is a sum of non-negative products taken in one fixed
 * order, so a pass gives the same bits for any thread count and on every
 * platform; the passes differ from one another in the last bits only.
 * Accuracy: each drops only counts of rung clocks whose chance is under
 * e^-Negligible in all (Chernoff or Bernstein bounds), far below the
 * method's promise; the step of the plan sets the accuracy.
 * Cost per node, n players, K paid places, F finish places:
 *   band      O(n K) for the $EV, plus O(n F^2 / 2) for a finish table
 *             (quadrature_band.cpp); the reference every other pass is
 *             tested against, and the only one that fills a finish table;
 *   windowed  O(n sqrt(n)) for the $EV alone (quadrature_windowed.cpp);
 *   tree      O(n log^2 n) for the $EV alone, by the product tree
 *             (quadrature_tree.cpp, product_tree.h), falling back to the
 *             windowed pass or the band where it must;
 *   row       the band's O(n K) with two dot products per player: a hero's
 *             all-in against every opponent, both outcomes (quadrature_row.cpp).
 */
#ifndef OSTREL_MODEL_QUADRATURE_PASSES_H
#define OSTREL_MODEL_QUADRATURE_PASSES_H

#include <algorithm>
#include <cstddef>
#include <utility>

#include "quadrature_run.h"

namespace ostrel
{
namespace quadrature
{

// The full band at a node of time weight `weight` where mu clocks are
// expected to have rung: O(n * band) for the products and the $EV, plus
// O(n * columns^2 / 2) for the finish table.
void EvaluateBand(const Run &run, Workspace &work, double weight, double mu, const Sink &sink);
void EvaluateBandNode(const Run &run, Workspace &work, size_t node, const Sink &sink);
void EvaluateWindowedNode(const Run &run, Workspace &work, size_t node, const Sink &sink);
void EvaluateTreeNode(const Run &run, Workspace &work, size_t node, const Sink &sink);
void EvaluateRowNode(const Run &run, Workspace &work, size_t node, const Sink &sink);

// The band's backward and forward walks, which the row shares.
// Players [begin, end): G_i for each into Rows (row i - begin), and the
// suffix products likewise, from the block's saved end; degrees from `low`.
void RecomputeBlock(const Run &run, Workspace &work, size_t block, size_t begin, size_t end, size_t low,
                    size_t paid, size_t columns);
// The largest count below which the rung clocks, mu expected, fall with a
// chance under e^-Negligible (Chernoff: P(X <= c) <= e^-mu (e mu / c)^c),
// searched upward from `from`.
size_t FloorOfBand(double mu, size_t from);
// Backward: the prize vector and the suffix product at the end of every block.
void SaveBlockEnds(const Run &run, Workspace &work, size_t paid, size_t columns);

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

} // namespace quadrature
} // namespace ostrel

#endif
