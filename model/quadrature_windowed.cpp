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
#include "quadrature_passes.h"

#include <algorithm>
#include <cmath>

namespace ostrel
{
namespace quadrature
{
namespace
{

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

} // namespace

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

} // namespace quadrature
} // namespace ostrel
