/*
 * What one run of the quadrature method holds, inside the library
 * (model/quadrature_*.cpp only): the field's players and plan shared by the
 * threads, one thread's workspace, where a node's terms go, and the
 * polynomial kernels every pass is made of.
 *
 * Contract: the kernels and the clocks give the same bits on every platform
 * and at every call; a Sink adds or stores the same numbers in the same order.
 * Cost: a workspace holds about 2 n + (n / block + block) (K + F) doubles
 * (WorkspaceDoubles), block = sqrt(n); the kernels are one pass over their
 * length.
 * Accuracy: the kernels add non-negative terms only, so nothing cancels.
 */
#ifndef OSTREL_MODEL_QUADRATURE_RUN_H
#define OSTREL_MODEL_QUADRATURE_RUN_H

#include <cstddef>
#include <vector>

#include "portable_math.h"
#include "product_tree.h"
#include "quadrature_options.h"
#include "quadrature_plan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ostrel
{
namespace quadrature
{

/*
 * The polynomial kernels. Multiplying by (a + b z) and pulling a vector back
 * through it both take non-negative numbers to non-negative sums: nothing
 * cancels. Each loop runs in one fixed order, and so does every sum; none
 * writes where it reads, so the compiler may use vector instructions.
 */


// to[d] = a from[d] + b from[d + 1]; what lies past the band counts as 0.
inline void PullBack(const double *from, double *to, size_t length, double a, double b)
{
    for (size_t d = 0; d + 1 < length; ++d)
        to[d] = a * from[d] + b * from[d + 1];
    to[length - 1] = a * from[length - 1];
}

// to = from (a + b z), truncated to `length` coefficients.
inline void Multiply(const double *from, double *to, size_t length, double a, double b)
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
inline double Dot(const double *p, const double *g, size_t length)
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

// The chances that a clock of rate s has not rung (a) and has rung (b) by
// time t, y = s t. One of them is at least 1/2, and 1 minus it is exact to
// an ulp.
inline void Clock(double y, double &a, double &b)
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
inline size_t Stride(const Run &run)
{
    return run.Pass != QuadraturePass::FullBand ? run.Paid + run.Block + 2 : run.Paid;
}

inline size_t Blocks(const Run &run)
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
double WorkspaceDoubles(const Run &run, double n, bool buffered);

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
void PutNothing(const Run &run, const Sink &sink, size_t player);

// Every player's a and b at `time`; returns the expected count rung.
double ClockChances(const Run &run, Workspace &work, double time);

} // namespace quadrature
} // namespace ostrel

#endif
