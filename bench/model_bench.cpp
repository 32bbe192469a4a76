/*
 * Benchmarks of the model library: its two methods side by side where both
 * run, the quadrature method on large fields and on the bubble tools' batches
 * of fields, and its longer accuracy checks.
 */
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "quadrature_method.h"
#include "subset_method.h"

namespace
{

// The uneven spread and the falling ladder of the other benchmarks' fields.
struct BenchField
{
    std::vector<int64_t> Stacks;
    std::vector<double> Prizes;

    BenchField(size_t players, size_t paid) : Stacks(players), Prizes(paid)
    {
        for (size_t seat = 0; seat < players; ++seat)
            Stacks[seat] = 1500 + static_cast<int64_t>((seat * 7919) % 9000);
        for (size_t place = 0; place < paid; ++place)
            Prizes[place] = 100000.0 / static_cast<double>(place + 1);
    }

    ostrel::Field View() const
    {
        return {Stacks.data(), Stacks.size(), Prizes.data(), Prizes.size()};
    }
};

// The process's peak so far: the large fields run first, before the subset
// method's 2^n doubles at 24 players.
double PeakMemoryBytes()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024.0; // KiB on Linux
}

// With `table`, both methods also fill the finish table for every place.
void SubsetMethod(benchmark::State &state, size_t players, size_t paid, bool table)
{
    const BenchField field(players, paid);
    std::vector<double> equities(players);
    ostrel::FinishTable finish;
    for (auto _ : state)
        if (!ostrel::SubsetEquities(field.View(), equities.data(), table ? &finish : nullptr).Ok)
            state.SkipWithError("refused");
}

void QuadratureMethod(benchmark::State &state, size_t players, size_t paid, bool table)
{
    const BenchField field(players, paid);
    std::vector<double> equities(players);
    ostrel::QuadratureOptions options;
    options.FinishPlaces = table ? players : 0;
    ostrel::FinishTable finish;
    for (auto _ : state)
        if (!ostrel::QuadratureEquities(field.View(), options, equities.data(), table ? &finish : nullptr).Ok)
            state.SkipWithError("refused");
    const double bytes = static_cast<double>(ostrel::QuadratureMemory(field.View(), options, table));
    state.counters["memory"] =
        benchmark::Counter(bytes, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["peak_RSS"] =
        benchmark::Counter(PeakMemoryBytes(), benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
}

const char *PassName(ostrel::QuadraturePass pass)
{
    switch (pass)
    {
    case ostrel::QuadraturePass::FullBand: return "FullBand";
    case ostrel::QuadraturePass::Windowed: return "Windowed";
    case ostrel::QuadraturePass::ProductTree: return "ProductTree";
    default: return "Auto";
    }
}

// One pass of the quadrature method on the benchmark field, on `threads`
// threads (0: every core); the memory it estimated before the run.
void QuadraturePassOf(benchmark::State &state, size_t players, size_t paid, ostrel::QuadraturePass pass,
                      unsigned threads)
{
    const BenchField field(players, paid);
    std::vector<double> equities(players);
    ostrel::QuadratureOptions options;
    options.Pass = pass;
    options.Threads = threads != 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
    options.MemoryLimit = size_t{1} << 30;
    ostrel::QuadratureReport report;
    options.Report = &report;
    for (auto _ : state)
        if (!ostrel::QuadratureEquities(field.View(), options, equities.data(), nullptr).Ok)
            state.SkipWithError("refused");
    state.counters["threads"] = options.Threads;
    // The nodes evaluated, and those of the planned step (the finest level).
    state.counters["nodes"] = static_cast<double>(report.Nodes);
    state.counters["planned"] = static_cast<double>(report.PlannedNodes);
    state.counters["level"] = report.Level;
    state.counters["memory"] =
        benchmark::Counter(static_cast<double>(ostrel::QuadratureMemory(field.View(), options, false)),
                           benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
}

// The fields after an all-in between `hero` and `other`: hero doubles through
// the smaller stack, or loses it.
void AddAllIns(const BenchField &base, size_t hero, size_t other, std::vector<BenchField> &fields)
{
    const int64_t stake = std::min(base.Stacks[hero], base.Stacks[other]);
    for (int64_t sign : {1, -1})
    {
        BenchField field = base;
        field.Stacks[hero] += sign * stake;
        field.Stacks[other] -= sign * stake;
        fields.push_back(field);
    }
}

void EvaluateAll(benchmark::State &state, const std::vector<BenchField> &fields)
{
    std::vector<double> equities(fields.front().Stacks.size());
    const ostrel::QuadratureOptions options;
    for (auto _ : state)
        for (const BenchField &field : fields)
            if (!ostrel::QuadratureEquities(field.View(), options, equities.data(), nullptr).Ok)
                state.SkipWithError("refused");
    state.counters["fields"] = static_cast<double>(fields.size());
}

// The pairwise bubble grid of 18 players, 18 paid: 18 x 17 pairs, 2 fields each.
void BubbleGrid(benchmark::State &state)
{
    const BenchField base(18, 18);
    std::vector<BenchField> fields;
    for (size_t hero = 0; hero < 18; ++hero)
        for (size_t other = 0; other < 18; ++other)
            if (other != hero)
                AddAllIns(base, hero, other, fields);
    EvaluateAll(state, fields);
}

// One row of the bubble grid at 1,000 players, 100 paid: the field itself and
// 2 fields for each of the 999 opponents.
void BubbleRow(benchmark::State &state)
{
    const BenchField base(1000, 100);
    std::vector<BenchField> fields = {base};
    for (size_t other = 1; other < 1000; ++other)
        AddAllIns(base, 0, other, fields);
    EvaluateAll(state, fields);
}

/*
 * Accuracy checks: each runs once, however many repetitions are asked for,
 * and reports the largest relative error as a counter; one over 1e-10 marks
 * the benchmark as failed.
 */
void ReportError(benchmark::State &state, double error)
{
    state.counters["max_rel_error"] = error;
    if (!(error <= 1e-10))
        state.SkipWithError("error over 1e-10");
}

double RelativeError(double got, double expected)
{
    return expected == 0.0 ? std::fabs(got) : std::fabs(got - expected) / expected;
}

std::vector<double> Quadrature(const std::vector<int64_t> &stacks, const std::vector<double> &prizes)
{
    std::vector<double> equities(stacks.size());
    const ostrel::Field field = {stacks.data(), stacks.size(), prizes.data(), prizes.size()};
    if (!ostrel::QuadratureEquities(field, {}, equities.data(), nullptr).Ok)
        equities.assign(stacks.size(), NAN);
    return equities;
}

// Random fields of 2 to 20 players, stacks from 1 to 1e9 in each, with
// short, full, longer-than-field and jumpy ladders, against the subset method.
void AccuracyAgainstSubsets(benchmark::State &state)
{
    std::mt19937_64 random(99);
    double worst = 0.0;
    for (auto _ : state)
        for (int trial = 0; trial < 2000; ++trial)
        {
            const size_t players = 2 + random() % 19;
            std::uniform_real_distribution<double> exponent(0.0, std::log(1e9));
            std::vector<int64_t> stacks(players);
            for (int64_t &stack : stacks)
                stack = std::llround(std::exp(exponent(random)));
            stacks[random() % players] = 1;
            stacks[random() % players] = 1000000000;
            const size_t kind = static_cast<size_t>(trial % 4);
            std::vector<double> prizes(kind == 0 ? 3 : kind == 2 ? players + 4 : players);
            for (size_t place = 0; place < prizes.size(); ++place)
                prizes[place] =
                    kind == 3 ? static_cast<double>(random() % 3) : 100.0 / static_cast<double>(place + 1);
            std::vector<double> exact(players);
            const ostrel::Field field = {stacks.data(), players, prizes.data(), prizes.size()};
            ostrel::SubsetEquities(field, exact.data(), nullptr);
            const std::vector<double> equities = Quadrature(stacks, prizes);
            for (size_t seat = 0; seat < players; ++seat)
                worst = std::max(worst, RelativeError(equities[seat], exact[seat]));
        }
    ReportError(state, worst);
}

// Every place paid, n down to 1: $EV_i = 1 + sum_{j != i} s_i / (s_i + s_j).
void AccuracyEveryPlacePaid(benchmark::State &state)
{
    const size_t players = static_cast<size_t>(state.range(0));
    const BenchField field(players, 0);
    std::vector<double> prizes(players);
    for (size_t place = 0; place < players; ++place)
        prizes[place] = static_cast<double>(players - place);
    double worst = 0.0;
    for (auto _ : state)
    {
        const std::vector<double> equities = Quadrature(field.Stacks, prizes);
        for (size_t i = 0; i < players; ++i)
        {
            const long double stack = static_cast<long double>(field.Stacks[i]);
            long double expected = 1.0L;
            for (size_t j = 0; j < players; ++j)
                expected += j == i ? 0.0L : stack / (stack + static_cast<long double>(field.Stacks[j]));
            worst = std::max(worst, RelativeError(equities[i], static_cast<double>(expected)));
        }
    }
    ReportError(state, worst);
}

// Two places: $EV_i = p1 s_i / S + p2 s_i sum_{j != i} s_j / (S (S - s_j)), on
// stacks from 1 to 1e9.
void AccuracyTwoPlaces(benchmark::State &state)
{
    const size_t players = static_cast<size_t>(state.range(0));
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> exponent(0.0, std::log(1e9));
    std::vector<int64_t> stacks(players);
    for (int64_t &stack : stacks)
        stack = std::llround(std::exp(exponent(random)));
    double worst = 0.0;
    for (auto _ : state)
    {
        const std::vector<double> equities = Quadrature(stacks, {600.0, 400.0});
        int64_t total = 0;
        for (int64_t stack : stacks)
            total += stack;
        long double second = 0.0L;
        for (int64_t stack : stacks)
            second += static_cast<long double>(stack) / static_cast<long double>(total - stack);
        for (size_t i = 0; i < players; ++i)
        {
            const long double share = static_cast<long double>(stacks[i]) / static_cast<long double>(total);
            const long double own =
                static_cast<long double>(stacks[i]) / static_cast<long double>(total - stacks[i]);
            const long double expected = 600.0L * share + 400.0L * share * (second - own);
            worst = std::max(worst, RelativeError(equities[i], static_cast<double>(expected)));
        }
    }
    ReportError(state, worst);
}

/*
 * The product tree and the windowed pass against the full band, the
 * reference, on fields of 3,000 players with stacks 1 to 10^6 apart and a
 * tenth, half or all of them paid (falling ladder), and 2,000 with a jumpy
 * ladder of 0, 1 and 2 and one that pays the last place alone. An $EV
 * under 1e-30 of the largest prize is a chance that every pass cuts
 * (e^-80, 1.8e-35, at a node): those are counted apart, held only to be
 * as small.
 */
void AccuracyFastPasses(benchmark::State &state)
{
    double worst = 0.0;
    double tiny = 0.0;
    std::mt19937_64 random(8);
    for (auto _ : state)
    {
        const size_t sizes[][3] = {
            {3000, 300, 0}, {3000, 1500, 0}, {3000, 3000, 0}, {2000, 2000, 1}, {2000, 2000, 2}};
        for (const auto &size : sizes)
        {
            const size_t players = size[0];
            std::uniform_real_distribution<double> exponent(0.0, std::log(1e6));
            std::vector<int64_t> stacks(players);
            for (int64_t &stack : stacks)
                stack = std::llround(std::exp(exponent(random)));
            stacks[0] = 1;
            stacks[1] = 1000000;
            std::vector<double> prizes(size[1]);
            for (size_t place = 0; place < size[1]; ++place)
                prizes[place] = size[2] == 0   ? 100000.0 / static_cast<double>(place + 1)
                                : size[2] == 1 ? static_cast<double>(random() % 3)
                                               : (place + 1 == size[1] ? 1.0 : 0.0);
            const ostrel::Field field = {stacks.data(), players, prizes.data(), prizes.size()};
            std::vector<double> reference(players);
            std::vector<double> equities(players);
            ostrel::QuadratureOptions options;
            options.Pass = ostrel::QuadraturePass::FullBand;
            ostrel::QuadratureEquities(field, options, reference.data(), nullptr);
            for (ostrel::QuadraturePass pass :
                 {ostrel::QuadraturePass::ProductTree, ostrel::QuadraturePass::Windowed})
            {
                options.Pass = pass;
                ostrel::QuadratureEquities(field, options, equities.data(), nullptr);
                const double largest = *std::max_element(prizes.begin(), prizes.end());
                for (size_t seat = 0; seat < players; ++seat)
                {
                    if (reference[seat] >= 1e-30 * largest)
                        worst = std::max(worst, RelativeError(equities[seat], reference[seat]));
                    else if (equities[seat] < 1e-30 * largest)
                        ++tiny;
                    else
                        worst = INFINITY;
                }
            }
        }
    }
    state.counters["under_1e-30"] = tiny;
    ReportError(state, worst);
}

/*
 * The nested levels against the planned step alone (`auto` pass both), on
 * fields that stop early: the benchmark fields with K < n and K = n, stacks
 * 1 to 10^6 with every place or most places paid, falling and linear
 * ladders. Counts the nodes of both.
 */
void AccuracyNestedLevels(benchmark::State &state)
{
    double worst = 0.0;
    double nodes = 0.0;
    double planned = 0.0;
    std::mt19937_64 random(31);
    for (auto _ : state)
    {
        const size_t sizes[][4] = {{1600, 1500, 0, 0}, {5000, 4800, 0, 0}, {10000, 1500, 0, 0},
                                   {3000, 2900, 0, 1}, {3000, 3000, 1, 0},  {3000, 2500, 1, 1},
                                   {10000, 10000, 0, 1}};
        for (const auto &size : sizes)
        {
            BenchField field(size[0], size[1]);
            std::uniform_real_distribution<double> exponent(0.0, std::log(1e6));
            for (int64_t &stack : field.Stacks)
                stack = size[2] == 0 ? stack : std::llround(std::exp(exponent(random)));
            for (size_t place = 0; place < size[1] && size[3] == 1; ++place)
                field.Prizes[place] = static_cast<double>(size[1] - place);
            std::vector<double> reference(size[0]);
            std::vector<double> equities(size[0]);
            ostrel::QuadratureOptions options;
            options.MemoryLimit = size_t{1} << 30;
            options.Nested = false;
            ostrel::QuadratureEquities(field.View(), options, reference.data(), nullptr);
            ostrel::QuadratureReport report;
            options.Nested = true;
            options.Report = &report;
            ostrel::QuadratureEquities(field.View(), options, equities.data(), nullptr);
            nodes += static_cast<double>(report.Nodes);
            planned += static_cast<double>(report.PlannedNodes);
            for (size_t seat = 0; seat < size[0]; ++seat)
                worst = std::max(worst, RelativeError(equities[seat], reference[seat]));
        }
    }
    state.counters["nodes"] = nodes;
    state.counters["planned"] = planned;
    ReportError(state, worst);
}

// The $EV of a large field add up to the prizes paid.
void AccuracyPrizePool(benchmark::State &state)
{
    const BenchField field(10000, 1500);
    double error = 0.0;
    for (auto _ : state)
    {
        double sum = 0.0;
        double pool = 0.0;
        for (double equity : Quadrature(field.Stacks, field.Prizes))
            sum += equity;
        for (double prize : field.Prizes)
            pool += prize;
        error = RelativeError(sum, pool);
    }
    ReportError(state, error);
}

std::string Name(const char *method, size_t players, size_t paid)
{
    return std::string(method) + "/" + std::to_string(players) + "/" + std::to_string(paid);
}

} // namespace

int main(int argc, char **argv)
{
    for (const auto &size : {std::vector<size_t>{1000, 100}, std::vector<size_t>{10000, 1500}})
        benchmark::RegisterBenchmark(Name("QuadratureMethod", size[0], size[1]).c_str(), QuadratureMethod,
                                     size[0], size[1], false)
            ->Unit(benchmark::kMillisecond);
    // The bubble of a large field: the full band beside the pass `auto` takes
    // (the product tree from 80 paid places), one thread; the largest on
    // every core.
    const size_t bubbles[][2] = {{1000, 100},  {1000, 1000},  {1600, 1500},
                                 {5000, 4800}, {10000, 1500}, {10000, 10000}};
    for (const auto &size : bubbles)
        for (ostrel::QuadraturePass pass : {ostrel::QuadraturePass::FullBand, ostrel::QuadraturePass::Auto})
        {
            const bool long_ = pass == ostrel::QuadraturePass::FullBand && size[0] * size[1] > 20000000;
            auto *bench = benchmark::RegisterBenchmark(
                (Name("QuadraturePass", size[0], size[1]) + "/" + PassName(pass)).c_str(), QuadraturePassOf,
                size[0], size[1], pass, 1u);
            bench->Unit(benchmark::kMillisecond);
            if (long_) // about a minute: once
                bench->Iterations(1)->Repetitions(1);
        }
    // Where the tree starts to pay (ChoosePass): both passes, one thread.
    const size_t crossings[][2] = {{100, 30}, {100, 50}, {200, 100}, {400, 50}, {400, 150}, {1000, 50}, {1000, 70}, {1000, 100}, {1000, 150},
                                   {3000, 50}, {3000, 100}, {3000, 150}, {10000, 50}, {10000, 70}, {10000, 100}, {10000, 150}};
    for (const auto &size : crossings)
        for (ostrel::QuadraturePass pass : {ostrel::QuadraturePass::FullBand, ostrel::QuadraturePass::ProductTree})
            benchmark::RegisterBenchmark(
                (Name("QuadratureCrossover", size[0], size[1]) + "/" + PassName(pass)).c_str(), QuadraturePassOf,
                size[0], size[1], pass, 1u)
                ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("QuadraturePass/100000/15000/Auto/AllCores", QuadraturePassOf, 100000, 15000,
                                 ostrel::QuadraturePass::Auto, 0u)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("BubbleGrid/18/18", BubbleGrid)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BubbleRow/1000/100", BubbleRow)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    // Side by side: each size once by subsets, once by quadrature; the finish
    // table for every place where the name says so.
    const size_t grid[][3] = {{10, 2, 0},  {10, 10, 0}, {12, 2, 0},  {12, 6, 0},  {12, 8, 0},  {12, 12, 0},
                              {13, 5, 0},  {13, 7, 0},  {13, 13, 0}, {14, 2, 0},  {14, 5, 0},  {14, 6, 0},
                              {14, 14, 0}, {15, 2, 0},  {15, 4, 0},  {15, 15, 0}, {16, 1, 0},  {16, 2, 0},
                              {16, 4, 0},  {16, 16, 0}, {17, 2, 0},  {18, 2, 0},  {18, 8, 0},  {18, 18, 0},
                              {20, 2, 0},  {20, 20, 0}, {24, 2, 0},  {24, 24, 0}, {10, 10, 1}, {12, 12, 1},
                              {14, 14, 1}, {16, 16, 1}, {18, 18, 1}, {20, 20, 1}};
    for (const auto &size : grid)
    {
        const char *suffix = size[2] != 0 ? "Table" : "";
        benchmark::RegisterBenchmark(
            Name((std::string("SubsetMethod") + suffix).c_str(), size[0], size[1]).c_str(), SubsetMethod,
            size[0], size[1], size[2] != 0)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(
            Name((std::string("QuadratureMethod") + suffix).c_str(), size[0], size[1]).c_str(),
            QuadratureMethod, size[0], size[1], size[2] != 0)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("AccuracyAgainstSubsets", AccuracyAgainstSubsets)
        ->Iterations(1)
        ->Repetitions(1);
    benchmark::RegisterBenchmark("AccuracyEveryPlacePaid", AccuracyEveryPlacePaid)
        ->Arg(10000)
        ->Iterations(1)
        ->Repetitions(1);
    benchmark::RegisterBenchmark("AccuracyTwoPlaces", AccuracyTwoPlaces)
        ->Arg(1000000)
        ->Iterations(1)
        ->Repetitions(1);
    benchmark::RegisterBenchmark("AccuracyPrizePool", AccuracyPrizePool)->Iterations(1)->Repetitions(1);
    benchmark::RegisterBenchmark("AccuracyFastPasses", AccuracyFastPasses)->Iterations(1)->Repetitions(1);
    benchmark::RegisterBenchmark("AccuracyNestedLevels", AccuracyNestedLevels)->Iterations(1)->Repetitions(1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
