/*
 * A whole ostrel-icm process, start to exit, on the benchmarks' 18-seat field
 * with 30 paid places, beside the same field computed in process by the
 * window's Calculate: the difference is what starting the command costs.
 */
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_field.h"
#include "run_process.h"
#include "seat_equity.h"
#include "tournament_state.h"

namespace
{

std::vector<std::string> CommandArguments()
{
    SetBenchField(18, 30);
    std::string stacks;
    std::string prizes;
    for (int32_t seat = 0; seat < SeatCount; ++seat)
        stacks += (seat == 0 ? "" : ",") + std::to_string(TournamentState.PlayerChips[seat]);
    for (int32_t place = 0; place < PlaceCount; ++place)
    {
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", TournamentState.Payouts[place]);
        prizes += (place == 0 ? "" : ",") + std::string(text);
    }
    return {OSTREL_ICM_PATH, "equity", "--stacks", stacks, "--prizes", prizes, "--format", "json"};
}

void CommandProcess(benchmark::State &state)
{
    RunProcesses(state, CommandArguments());
}

/*
 * The whole bubble grid of the 18-seat field with 18 paid places, as a
 * process: by default (the quadrature method's rows, arg 0) beside the
 * subset method's 613 fields one by one (arg 1), which `auto` took before.
 */
void BubbleGridProcess(benchmark::State &state)
{
    SetBenchField(18, 18);
    std::string stacks;
    std::string prizes;
    for (int32_t seat = 0; seat < SeatCount; ++seat)
        stacks += (seat == 0 ? "" : ",") + std::to_string(TournamentState.PlayerChips[seat]);
    for (int32_t place = 0; place < 18; ++place)
    {
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", TournamentState.Payouts[place]);
        prizes += (place == 0 ? "" : ",") + std::string(text);
    }
    RunProcesses(state, {OSTREL_ICM_PATH, "bubble", "--stacks", stacks, "--prizes", prizes, "--format", "json",
                         "--method", state.range(0) == 0 ? "auto" : "subsets"});
}

void CalculateInProcess(benchmark::State &state)
{
    SetBenchField(18, 30);
    for (auto _ : state)
        ShowSeatEquities(nullptr);
}

} // namespace

BENCHMARK(CommandProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CalculateInProcess)->Unit(benchmark::kMillisecond);
BENCHMARK(BubbleGridProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
