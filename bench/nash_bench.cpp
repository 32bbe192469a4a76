/*
 * The push-or-fold equilibrium at the default tolerance: the whole
 * ostrel-icm nash process (start to exit, one thread and two), and the
 * solver in process with the three-way draws at a quarter of the default
 * beside the default. Each figure reports the iterations, the
 * exploitability reached and the draws' error, from the same solve in
 * process (the command prints the same numbers).
 */
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "equilibrium.h"
#include "field_methods.h"
#include "number_lists.h"
#include "run_process.h"

namespace
{

struct Table
{
    std::vector<int64_t> Stacks;
    std::vector<double> Prizes;
    int64_t SmallBlind, BigBlind, Ante;
};

const Table Tables[] = {
    {{3000, 2000}, {65, 35}, 100, 200, 0},
    {{5000, 3000, 2000}, {50, 30, 20}, 100, 200, 25},
    {{9000, 4000, 2500, 7000, 3000, 1200}, {50, 30, 20}, 100, 200, 25},
    {{9000, 4000, 2500, 7000, 3000, 1200, 6000, 5000, 800, 4400}, {30, 20, 14, 10, 8, 6, 5, 4, 3}, 200, 400, 50},
};

ostrel::HandField FieldOf(const Table &table)
{
    ostrel::HandField field;
    field.Table.Stacks = table.Stacks;
    field.Table.Button = 0;
    field.Table.SmallBlind = table.SmallBlind;
    field.Table.BigBlind = table.BigBlind;
    field.Table.Ante = table.Ante;
    field.Prizes = table.Prizes;
    return field;
}

void Report(benchmark::State &state, const ostrel::HandField &field, uint32_t draws)
{
    ostrel::RunOptions run;
    ostrel::MethodLog log;
    const ostrel::FieldEquity valuation = ostrel::EquityBy(ostrel::Method::Automatic, run, log, nullptr);
    ostrel::NashOptions options;
    options.DrawsPerClass = draws;
    ostrel::NashAnswer answer;
    if (!ostrel::SolveNash(field, valuation, false, options, answer).Ok)
        state.SkipWithError("refused");
    state.counters["iterations"] = static_cast<double>(answer.Iterations);
    state.counters["exploitability"] = answer.Exploitability;
    state.counters["tolerance"] = answer.Tolerance;
    state.counters["draw_error"] = answer.DrawError;
}

void Process(benchmark::State &state, size_t which, int threads)
{
    const Table &table = Tables[which];
    std::string stacks, prizes;
    for (int64_t s : table.Stacks)
        stacks += (stacks.empty() ? "" : ",") + std::to_string(s);
    for (double p : table.Prizes)
        prizes += (prizes.empty() ? "" : ",") + ostrel::ShortestText(p);
    std::vector<std::string> arguments = {OSTREL_ICM_PATH, "nash", "--stacks", stacks, "--prizes", prizes,
                                          "--button", "1", "--blinds",
                                          std::to_string(table.SmallBlind) + "," + std::to_string(table.BigBlind),
                                          "--ante", std::to_string(table.Ante), "--threads", std::to_string(threads),
                                          "--format", "json"};
    RunProcesses(state, arguments);
    Report(state, FieldOf(table), ostrel::NashOptions().DrawsPerClass);
}

// `bounty` on every head at the table, half in cash, as much again
// elsewhere; 0: none. Rounds are capped at `rounds` (0: the default stop),
// so that with and without bounties the same number of rounds is timed.
void InProcess(benchmark::State &state, size_t which, uint32_t draws, double bounty = 0.0, uint64_t rounds = 0)
{
    ostrel::HandField field = FieldOf(Tables[which]);
    if (bounty > 0.0)
    {
        field.Bounty.OnHead.assign(field.Table.Stacks.size(), bounty);
        field.Bounty.InPlay = 2.0 * bounty * static_cast<double>(field.Table.Stacks.size());
        field.Bounty.CashShare = 0.5;
    }
    ostrel::RunOptions run;
    ostrel::MethodLog log;
    const ostrel::FieldEquity valuation = ostrel::EquityBy(ostrel::Method::Automatic, run, log, nullptr);
    for (auto _ : state)
    {
        ostrel::NashOptions options;
        options.DrawsPerClass = draws;
        if (rounds > 0)
        {
            options.MaxIterations = rounds;
            options.Tolerance = 1e-12;
        }
        ostrel::NashAnswer answer;
        if (!ostrel::SolveNash(field, valuation, false, options, answer).Ok)
            state.SkipWithError("refused");
    }
    Report(state, field, draws);
}

} // namespace

BENCHMARK_CAPTURE(Process, heads_up_1_thread, 0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Process, three_players_1_thread, 1, 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Process, six_players_1_thread, 2, 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Process, ten_players_1_thread, 3, 1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_CAPTURE(Process, six_players_2_threads, 2, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Process, ten_players_2_threads, 3, 2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
// Draws: a quarter of the default beside the default (error against time).
BENCHMARK_CAPTURE(InProcess, six_players_600_draws, 2, 600)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(InProcess, six_players_2400_draws, 2, 2400)->Unit(benchmark::kMillisecond);

// Bounties: twelve rounds without and with them (the rounds to the stop
// differ, as the games do), and the whole solve with them.
BENCHMARK_CAPTURE(InProcess, six_players_12_rounds, 2, 2400, 0.0, 12)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(InProcess, six_players_12_rounds_bounties, 2, 2400, 10.0, 12)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(InProcess, six_players_bounties, 2, 2400, 10.0, 0)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
