/*
 * The pairwise bubble grid and one row of it, computed by the library's
 * decision rules over the subset method: every factor costs two field
 * evaluations, so the grid of n players costs 1 + n(n - 1) of them.
 */
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "decisions.h"
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

void BubbleGridBySubsets(benchmark::State &state)
{
    const std::vector<int64_t> stacks = Stacks(static_cast<size_t>(state.range(0)));
    const std::vector<double> prizes = Prizes(static_cast<size_t>(state.range(1)));
    const ostrel::Field field = {stacks.data(), stacks.size(), prizes.data(), prizes.size()};
    for (auto _ : state)
    {
        ostrel::BubbleGrid grid;
        benchmark::DoNotOptimize(ostrel::ComputeBubbleGrid(field, nullptr, BySubsets, grid).Ok);
    }
}

} // namespace

BENCHMARK(BubbleGridBySubsets)->Args({10, 10})->Args({18, 18})->Unit(benchmark::kMillisecond);
