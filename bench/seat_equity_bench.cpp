/*
 * Benchmarks of the computation: the plain recursion's rate, one whole
 * Calculate on small and full tables, the plain recursion and the subset
 * method side by side where both finish, and the bubble factor tool.
 */
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench_field.h"
#include "bubble_factor.h"
#include "seat_equity.h"
#include "subset_equity.h"

namespace
{

int32_t Arg(const benchmark::State &state, int index)
{
    return static_cast<int32_t>(state.range(index));
}

// One seat of a full 10-seat table with 10 paid places: 986,410 calls.
void PlainRecursionCalls(benchmark::State &state)
{
    SetBenchField(10, 10);
    for (auto _ : state)
        benchmark::DoNotOptimize(PlainSeatEquity(0));
    const uint64_t calls = PlainEquityCalls(9, 10);
    state.SetItemsProcessed(static_cast<int64_t>(calls * state.iterations()));
    state.counters["calls"] = static_cast<double>(calls);
}

// The Calculate command as the window runs it, the method chosen by the budget.
void Calculate(benchmark::State &state)
{
    SetBenchField(Arg(state, 0), Arg(state, 1));
    for (auto _ : state)
        ShowSeatEquities(nullptr);
    state.counters["plain_calls"] = static_cast<double>(PlainCalculateCalls());
    state.counters["by_subsets"] = PlainCalculateCalls() > PlainCallBudget ? 1 : 0;
}

void PlainCalculate(benchmark::State &state)
{
    SetBenchField(Arg(state, 0), Arg(state, 1));
    for (auto _ : state)
        for (uint32_t seat = 0; seat < static_cast<uint32_t>(ShownSeatCount()); ++seat)
            benchmark::DoNotOptimize(PlainSeatEquity(seat));
    state.counters["plain_calls"] = static_cast<double>(PlainCalculateCalls());
}

void SubsetCalculate(benchmark::State &state)
{
    SetBenchField(Arg(state, 0), Arg(state, 1));
    double equities[SeatCount];
    for (auto _ : state)
    {
        ComputeEquitiesBySubsets(equities);
        benchmark::DoNotOptimize(equities);
    }
}

// The bubble dialog's Do it: 1000 equal stacks, 30 paid places.
void BubbleFactor(benchmark::State &state)
{
    SetBenchField(0, 30);
    TournamentState.InitPlayers = 1000;
    TournamentState.InitChips = 1500;
    for (auto _ : state)
        ComputeBubbleFactor(nullptr);
}

} // namespace

BENCHMARK(PlainRecursionCalls)->Unit(benchmark::kMicrosecond);
BENCHMARK(Calculate)
    ->Args({10, 3})
    ->Args({10, 10})
    ->Args({13, 13})
    ->Args({18, 8})
    ->Args({18, 18})
    ->Args({18, 30})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainCalculate)->Args({10, 3})->Args({10, 10})->Unit(benchmark::kMicrosecond);
// About 1.7e10 calls: one iteration takes minutes, so it runs once, however
// many repetitions the command line asks for.
BENCHMARK(PlainCalculate)
    ->Args({13, 13})
    ->Iterations(1)
    ->Repetitions(1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(SubsetCalculate)->Args({10, 3})->Args({10, 10})->Args({13, 13})->Unit(benchmark::kMicrosecond);

BENCHMARK(BubbleFactor)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
