/*
 * A whole spot, every hand class, one thread, the field valued as the
 * command values it (the subsets up to 20 players, else `auto`): against one
 * caller, against a caller and an overcaller (three-way pots drawn, at three
 * budgets of draws side by side), at a final table of 10 alone (beside the
 * window's recursion, which the command used before) and with 100 players
 * in the field. Each figure
 * counts the field valuations too; the cards library's tables are built
 * before the first iteration (the command pays that once, see
 * docs/performance.md).
 */
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "field_methods.h"
#include "nash_request.h"
#include "spot.h"

namespace
{

ostrel::cards::Range RangeOf(const char *text)
{
    ostrel::cards::Range range;
    ostrel::cards::ParseRange(text, range);
    return range;
}

struct Spot
{
    ostrel::HandField Field;
    ostrel::SpotQuestion Question;
};

// Six players, the small blind first in against the big blind.
Spot OneCaller()
{
    Spot spot;
    spot.Field.Table.Stacks = {9000, 4000, 2500, 7000, 3000, 1200};
    spot.Field.Table.Button = 2;
    spot.Field.Table.SmallBlind = 100;
    spot.Field.Table.BigBlind = 200;
    spot.Field.Table.Ante = 25;
    spot.Field.Prizes = {50, 30, 20};
    spot.Question.Hero = 3;
    spot.Question.Ranges.resize(6);
    spot.Question.Overcalls.resize(6);
    spot.Question.Ranges[4] = RangeOf("22+, A2s+, A7o+, K9s+, KJo+, QTs+");
    return spot;
}

// The button first in against both blinds: calls and overcalls.
Spot CallerAndOvercaller()
{
    Spot spot = OneCaller();
    spot.Question.Hero = 2;
    spot.Question.Ranges[3] = RangeOf("55+, A8+, KT+, QJs");
    spot.Question.Overcalls[4] = RangeOf("TT+, AQ+");
    return spot;
}

// Ten at the table, 90 elsewhere, the first to act shoving into nine.
Spot FinalTable()
{
    Spot spot;
    spot.Field.Table.Stacks = {9000, 4000, 2500, 7000, 3000, 1200, 6000, 5000, 800, 4400};
    spot.Field.Table.Button = 0;
    spot.Field.Table.SmallBlind = 200;
    spot.Field.Table.BigBlind = 400;
    spot.Field.Table.Ante = 50;
    for (int i = 0; i < 90; ++i)
        spot.Field.Others.push_back(1500 + i * 7919 % 9000);
    for (int place = 1; place <= 15; ++place)
        spot.Field.Prizes.push_back(1000.0 / place);
    spot.Question.Hero = 3;
    spot.Question.Ranges.resize(10);
    spot.Question.Overcalls.resize(10);
    for (size_t seat = 4; seat < 13; ++seat)
    {
        spot.Question.Ranges[seat % 10] = RangeOf("77+, AT+, KQ");
        if (seat > 4)
            spot.Question.Overcalls[seat % 10] = RangeOf("QQ+, AK");
    }
    return spot;
}

// The final table alone: no players elsewhere.
Spot FinalTableAlone()
{
    Spot spot = FinalTable();
    spot.Field.Others.clear();
    spot.Field.Prizes.resize(9);
    return spot;
}

// The same spots in a progressive knockout: 10 on every head at the table,
// half in cash, and as much again elsewhere.
template <Spot (*Make)()> Spot WithBounties()
{
    Spot spot = Make();
    spot.Field.Bounty.OnHead.assign(spot.Field.Table.Stacks.size(), 10.0);
    spot.Field.Bounty.InPlay = 20.0 * static_cast<double>(spot.Field.Table.Stacks.size());
    spot.Field.Bounty.CashShare = 0.5;
    return spot;
}

void Solve(benchmark::State &state, Spot (*make)(), uint64_t draws, bool suitSymmetry, bool recursion = false)
{
    Spot spot = make();
    spot.Question.Sampling.Draws = draws;
    spot.Question.SuitSymmetry = suitSymmetry;
    ostrel::RunOptions run; // one thread
    ostrel::MethodLog log;
    const ostrel::FieldEquity valuation = recursion
                                              ? ostrel::EquityBy(ostrel::Method::Automatic, run, log, nullptr)
                                              : ostrel::OutcomeValuation(spot.Field, run, log);
    ostrel::SpotAnswer answer;
    {
        ostrel::SpotSolver warm; // the cards library's tables, built once per process
        warm.Open(spot.Field, valuation, false, spot.Question);
        warm.Solve(answer);
    }
    size_t valued = 0;
    for (auto _ : state)
    {
        ostrel::SpotSolver solver;
        if (!solver.Open(spot.Field, valuation, false, spot.Question).Ok || !solver.Solve(answer).Ok)
            state.SkipWithError("refused");
        valued = solver.Book().Valued();
    }
    state.counters["fields"] = static_cast<double>(valued);
    state.counters["draws"] = static_cast<double>(answer.Draws);
    state.counters["largest_error"] = answer.LargestError;
    state.SetLabel(log.Names());
}

} // namespace

// Side by side: one combo per class (suit symmetry) and every combo, which it replaces.
BENCHMARK_CAPTURE(Solve, one_caller, OneCaller, 6000, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Solve, one_caller_every_combo, OneCaller, 6000, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Solve, caller_overcaller_draws_2000, CallerAndOvercaller, 2000, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Solve, caller_overcaller_draws_6000, CallerAndOvercaller, 6000, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Solve, caller_overcaller_draws_20000, CallerAndOvercaller, 20000, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Solve, caller_overcaller_every_combo, CallerAndOvercaller, 6000, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Solve, final_table_10_alone_window_recursion, FinalTableAlone, 6000, true, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Solve, final_table_10_alone, FinalTableAlone, 6000, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Solve, final_table_10_field_100, FinalTable, 6000, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Solve, final_table_10_field_100_every_combo, FinalTable, 6000, false)
    ->Unit(benchmark::kMillisecond);

// Bounties beside the same spots without them.
BENCHMARK_CAPTURE(Solve, one_caller_bounties, WithBounties<OneCaller>, 6000, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Solve, caller_overcaller_draws_6000_bounties, WithBounties<CallerAndOvercaller>, 6000, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Solve, final_table_10_field_100_bounties, WithBounties<FinalTable>, 6000, true)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
