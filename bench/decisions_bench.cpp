/*
 * The pairwise bubble grid and one row of it, computed by the library's
 * decision rules: by whole fields (the subset or the quadrature method),
 * where every factor costs two field evaluations and the grid of n players
 * 1 + n(n - 1) of them, or by the quadrature method's rows, one pass a row.
 */
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "decisions.h"
#include "quadrature_method.h"
#include "subset_method.h"

namespace
{

std::vector<int64_t> Stacks(size_t players)
{
    std::vector<int64_t> stacks;
    for (size_t seat = 0; seat < players; ++seat)
        stacks.push_back(1500 + static_cast<int64_t>(seat * 7919 % 9000));
    return stacks;
}

std::vector<double> Prizes(size_t paid)
{
    std::vector<double> prizes;
    for (size_t place = 0; place < paid; ++place)
        prizes.push_back(100000.0 / static_cast<double>(place + 1));
    return prizes;
}

const ostrel::FieldEquity BySubsets = [](const ostrel::Field &field, double *equities) {
    return ostrel::SubsetEquities(field, equities, nullptr);
};

// One thread, as a single field of these sizes is computed.
const ostrel::FieldEquity ByQuadrature = [](const ostrel::Field &field, double *equities) {
    return ostrel::QuadratureEquities(field, {}, equities, nullptr);
};

const ostrel::HeroHands ByRows = [](const ostrel::Field &field, size_t hero, double &now, double *won,
                                    double *lost) {
    return ostrel::QuadratureHeroHands(field, hero, {}, now, won, lost);
};

// Arguments: players, paid places, and 1 for the row of seat 1 only.
void Bubble(benchmark::State &state, const ostrel::FieldEquity &equity, const ostrel::HeroHands *hands)
{
    const std::vector<int64_t> stacks = Stacks(static_cast<size_t>(state.range(0)));
    const std::vector<double> prizes = Prizes(static_cast<size_t>(state.range(1)));
    const ostrel::Field field = {stacks.data(), stacks.size(), prizes.data(), prizes.size()};
    const size_t seat = 0;
    for (auto _ : state)
    {
        ostrel::BubbleGrid grid;
        if (!ostrel::ComputeBubbleGrid(field, state.range(2) != 0 ? &seat : nullptr, equity, grid, hands).Ok)
            state.SkipWithError("refused");
    }
}

} // namespace

BENCHMARK_CAPTURE(Bubble, BySubsets, BySubsets, nullptr)
    ->Args({10, 10, 0})
    ->Args({18, 18, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Bubble, QuadratureByRows, ByQuadrature, &ByRows)
    ->Args({18, 18, 0})
    ->Args({100, 15, 0})
    ->Args({1000, 100, 1})
    ->Unit(benchmark::kMillisecond);
// The same by whole fields: 307, 9,901 and 1,999 of them; the last two once.
BENCHMARK_CAPTURE(Bubble, QuadratureByFields, ByQuadrature, nullptr)
    ->Args({18, 18, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Bubble, QuadratureByFields, ByQuadrature, nullptr)
    ->Args({100, 15, 0})
    ->Args({1000, 100, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
