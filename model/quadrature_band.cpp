/*
 * The full band: at each node the prize vectors pulled back to the end of
 * every block of players (backward), then every player's terms from the
 * product of the players before him and his recomputed row (forward), over
 * every count of rung clocks that has a chance that counts.
 * Cost per node: O(n K) for the $EV, plus O(n F^2 / 2) for a finish table
 * of F columns; memory within a cache per block of sqrt(n) players.
 * Accuracy: only counts past a Chernoff bound of e^-Negligible are dropped.
 */
#include "quadrature_passes.h"

#include <algorithm>
#include <cmath>

namespace ostrel
{
namespace quadrature
{

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

void EvaluateBandNode(const Run &run, Workspace &work, size_t node, const Sink &sink)
{
    double time = 0.0;
    double weight = 0.0;
    NodeAt(run.Plan, node, time, weight);
    const double mu = ClockChances(run, work, time);
    EvaluateBand(run, work, weight, mu, sink);
}

} // namespace quadrature
} // namespace ostrel
