/*
 * The quadrature method's entry points: the field checked, the threads
 * chosen within the memory limit, the nodes planned and evaluated by the
 * pass that suits the field. The pieces, each with its contract:
 *   quadrature_plan.h     the players, their bins and the nodes;
 *   quadrature_levels.h   nested levels for a falling ladder;
 *   quadrature_run.h      one run's state, workspace and kernels;
 *   quadrature_passes.h   the four evaluations of a node (band, windowed,
 *                         tree, row);
 *   quadrature_threads.h  the nodes over threads.
 */
#include "quadrature_method.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "quadrature_levels.h"
#include "quadrature_plan.h"
#include "quadrature_run.h"
#include "quadrature_threads.h"

namespace ostrel
{

using namespace quadrature;

namespace
{

// More threads than this are taken as this many.
constexpr unsigned MostThreads = 256;

struct Setup
{
    Status Checked;
    size_t InPlay = 0;
    size_t Paid = 0;
    size_t Columns = 0;
    size_t Threads = 1;
    size_t Bytes = 0;
};

/*
 * The pass for a field's $EV (a finish table and a row take the full band).
 * Measured on the benchmark fields (docs/performance.md, QuadratureCrossover):
 * with its sixteen-wide schoolbook sums the product tree is as fast as the
 * full band at 50 to 70 paid places and faster from there, whatever the
 * field's size; the windowed pass, on its own, seldom beats the full band
 * and serves as the tree's fallback.
 */
constexpr size_t TreeFromPaid = 80;

QuadraturePass ChoosePass(const QuadratureOptions &options, size_t players, size_t paid, size_t columns)
{
    if (columns > 0 || paid == 0 || players < 2)
        return QuadraturePass::FullBand;
    if (options.Pass != QuadraturePass::Auto)
        return options.Pass;
    return paid >= TreeFromPaid ? QuadraturePass::ProductTree : QuadraturePass::FullBand;
}

size_t BlockFor(size_t n)
{
    size_t block = static_cast<size_t>(std::ceil(std::sqrt(static_cast<double>(n))));
    return std::max<size_t>(block, 1);
}

// Checks the field and picks the thread count that fits the memory limit;
// `row` for a hero's row, which keeps two terms per player and node.
Setup Prepare(const Field &field, const QuadratureOptions &options, bool finish, bool row)
{
    Setup setup;
    setup.Checked = CheckField(field);
    if (!setup.Checked.Ok)
        return setup;
    setup.InPlay = PlayersInPlay(field);
    setup.Paid = PaidPlaces(field, setup.InPlay);
    setup.Columns = finish ? std::min(options.FinishPlaces, setup.InPlay) : 0;
    const size_t n = setup.InPlay;
    const size_t outputs = row ? 2 : setup.Columns;
    Run shape = {nullptr,
                 nullptr,
                 setup.Paid,
                 setup.Columns,
                 std::max(setup.Paid, setup.Columns),
                 BlockFor(n),
                 NodePlan(),
                 outputs,
                 0,
                 nullptr,
                 row ? QuadraturePass::FullBand : ChoosePass(options, n, setup.Paid, setup.Columns)};
    // The players' stacks and seats, their bins and the finish table; a row's
    // hands and its totals.
    const double players = static_cast<double>(n);
    const double fixed =
        players * static_cast<double>(sizeof(double) + sizeof(size_t) + sizeof(int) + sizeof(StackBin)) +
        static_cast<double>(field.Seats) * static_cast<double>(setup.Columns) * sizeof(double) +
        (row || (!finish && TriesLevels(field, n, setup.Paid)) // a row's totals, or the nested levels' sums
             ? static_cast<double>(field.Seats) * 3.0 * sizeof(double)
             : 0.0);
    const double hands = row ? players * sizeof(Hand) : 0.0;
    const size_t wanted = std::min(std::max<unsigned>(options.Threads, 1u), MostThreads);
    for (size_t threads = wanted; threads >= 1; --threads)
    {
        const double bytes = fixed + hands + static_cast<double>(threads) *
                                         WorkspaceDoubles(shape, players, threads > 1) * sizeof(double);
        setup.Threads = threads;
        setup.Bytes = bytes < static_cast<double>(SIZE_MAX) ? static_cast<size_t>(bytes) : SIZE_MAX;
        if (bytes <= static_cast<double>(options.MemoryLimit))
            break;
    }
    return setup;
}

Status Refusal(const Setup &setup, const QuadratureOptions &options)
{
    if (!setup.Checked.Ok)
        return setup.Checked;
    if (setup.InPlay > QuadratureMaxPlayers)
        return Failure("the quadrature method takes at most " + std::to_string(QuadratureMaxPlayers) +
                       " players in play; this field has " + std::to_string(setup.InPlay));
    if (setup.Bytes > options.MemoryLimit)
        return Failure("the quadrature method would need " + std::to_string(setup.Bytes) +
                       " bytes of memory for this field, over the limit of " +
                       std::to_string(options.MemoryLimit));
    return Status();
}

void FinishSeats(const Field &field, size_t columns, FinishTable *finish)
{
    finish->Seats = field.Seats;
    finish->Places = columns;
    finish->Chance.assign(field.Seats * columns, 0.0);
}

} // namespace

double QuadratureSteps(const Field &field, size_t finishPlaces)
{
    if (!CheckField(field).Ok)
        return HUGE_VAL;
    const size_t n = PlayersInPlay(field);
    if (n > QuadratureMaxPlayers)
        return HUGE_VAL;
    const size_t columns = std::min(finishPlaces, n);
    const size_t places = std::max(PaidPlaces(field, n), columns);
    if (n < 2 || places == 0)
        return 0.0;
    const Players players = GatherPlayers(field, n);
    NodePlan plan = PlanNodes(players, BinStacks(players.Stack), places, 0);
    if (columns == 0 && TriesLevels(field, n, places))
        PlanLevels(plan, BinStacks(players.Stack), n, places); // the finest level: an upper bound
    // Each player costs about as much per node as 50 places: his clock's exponential and his share of the passes.
    const double width =
        50.0 + static_cast<double>(places) + 0.5 * static_cast<double>(columns) * static_cast<double>(columns);
    return static_cast<double>(plan.Count) * static_cast<double>(n) * width;
}

size_t QuadratureMemory(const Field &field, const QuadratureOptions &options, bool finish)
{
    return Prepare(field, options, finish, false).Bytes;
}

Status QuadratureEquities(const Field &field, const QuadratureOptions &options, double *equities,
                          FinishTable *finish)
{
    if (equities == nullptr && field.Seats > 0)
        return Failure("no room given for the results");
    const Setup setup = Prepare(field, options, finish != nullptr, false);
    const Status refused = Refusal(setup, options);
    if (!refused.Ok)
        return refused;
    try
    {
        Players players = GatherPlayers(field, setup.InPlay);
        const size_t places = std::max(setup.Paid, setup.Columns);
        Run run = {&players,
                   field.Prizes,
                   setup.Paid,
                   setup.Columns,
                   places,
                   BlockFor(setup.InPlay),
                   NodePlan(),
                   setup.Columns,
                   0,
                   nullptr,
                   ChoosePass(options, setup.InPlay, setup.Paid, setup.Columns)};
        Totals totals = {equities, nullptr, players.Seat.data()};
        if (finish != nullptr)
        {
            FinishSeats(field, setup.Columns, finish);
            totals.Finish = finish->Chance.data();
        }
        std::fill_n(equities, field.Seats, 0.0);
        if (setup.InPlay == 1)
        {
            // One player takes place 1.
            if (setup.Paid > 0)
                equities[players.Seat[0]] = field.Prizes[0];
            if (setup.Columns > 0)
                totals.Finish[players.Seat[0]] = 1.0;
        }
        if (setup.InPlay < 2 || places == 0)
        {
            if (options.Report != nullptr)
                *options.Report = QuadratureReport();
            ReportProgress(options, 1.0);
            return Status();
        }
        run.Plan = PlanNodes(players, BinStacks(players.Stack), places, 0);
        QuadratureReport report;
        report.PlannedNodes = run.Plan.Count;
        report.Top = setup.Columns == 0 && options.Nested && TriesLevels(field, setup.InPlay, setup.Paid)
                         ? PlanLevels(run.Plan, BinStacks(players.Stack), setup.InPlay, setup.Paid)
                         : 0;
        std::vector<Workspace> work(std::min(setup.Threads, run.Plan.Count));
        for (Workspace &space : work)
            space.Allocate(run, work.size() > 1);
        if (report.Top > 0)
        {
            RunLevels(run, work, totals, field.Seats, options, report.Top, PrizePool(field, setup.InPlay),
                      report);
            ReportProgress(options, 1.0);
        }
        else
        {
            const double planned = static_cast<double>(run.Plan.Count);
            RunAllThreads(run, work, totals, options, {0, 1, run.Plan.Count, 0.0, planned});
            report.Nodes = run.Plan.Count;
        }
        if (options.Report != nullptr)
            *options.Report = report;
    }
    catch (const std::bad_alloc &)
    {
        return Failure("the quadrature method could not get the " + std::to_string(setup.Bytes) +
                       " bytes of memory it needs");
    }
    return Status();
}

/*
 * The row's fields all hold the same chips and differ from the field in two
 * stacks, so one plan made with changed = 2, the smallest stack taken over
 * every field, serves them all.
 */
Status QuadratureHeroHands(const Field &field, size_t hero, const QuadratureOptions &options, double &now,
                           double *won, double *lost)
{
    if ((won == nullptr || lost == nullptr) && field.Seats > 0)
        return Failure("no room given for the results");
    const Setup setup = Prepare(field, options, false, true);
    const Status refused = Refusal(setup, options);
    if (!refused.Ok)
        return refused;
    if (hero >= field.Seats || field.Stacks[hero] == 0)
        return Failure("seat " + std::to_string(hero + 1) + " has no player in play");
    const size_t n = setup.InPlay;
    const double lastPlace = n <= field.Places ? field.Prizes[n - 1] : 0.0; // the busted hero's
    try
    {
        Players players = GatherPlayers(field, n);
        const size_t heroPlayer = static_cast<size_t>(
            std::find(players.Seat.begin(), players.Seat.end(), hero) - players.Seat.begin());
        const double heroStack = players.Stack[heroPlayer];
        std::vector<Hand> hands(n);
        for (size_t j = 0; j < n; ++j)
        {
            const double risked = std::min(heroStack, players.Stack[j]);
            hands[j] = {heroStack + risked, players.Stack[j] - risked, heroStack - risked};
            for (double stack : {hands[j].OtherWon, hands[j].HeroLost})
                if (j != heroPlayer && stack > 0.0)
                    players.Smallest = std::min(players.Smallest, stack);
        }
        std::vector<double> nowTotal(field.Seats, 0.0);
        std::vector<double> handTotals(field.Seats * 2, 0.0);
        if (n == 1 && setup.Paid > 0)
            nowTotal[hero] = field.Prizes[0];
        if (n >= 2 && setup.Paid > 0)
        {
            Run run = {&players,
                       field.Prizes,
                       setup.Paid,
                       0,
                       setup.Paid,
                       BlockFor(n),
                       NodePlan(),
                       2,
                       heroPlayer,
                       hands.data(),
                       QuadraturePass::FullBand};
            run.Plan = PlanNodes(players, BinStacks(players.Stack), setup.Paid, 2);
            std::vector<Workspace> work(std::min(setup.Threads, run.Plan.Count));
            for (Workspace &space : work)
                space.Allocate(run, work.size() > 1);
            const double planned = static_cast<double>(run.Plan.Count);
            RunAllThreads(run, work, {nowTotal.data(), handTotals.data(), players.Seat.data()}, options,
                          {0, 1, run.Plan.Count, 0.0, planned});
        }
        else
            ReportProgress(options, 1.0);
        now = nowTotal[hero];
        std::fill_n(won, field.Seats, 0.0);
        std::fill_n(lost, field.Seats, 0.0);
        for (size_t j = 0; j < n; ++j)
        {
            const size_t seat = players.Seat[j];
            won[seat] = handTotals[seat * 2];
            lost[seat] = hands[j].HeroLost > 0.0 ? handTotals[seat * 2 + 1] : lastPlace;
        }
        won[hero] = lost[hero] = 0.0;
    }
    catch (const std::bad_alloc &)
    {
        return Failure("the quadrature method could not get the " + std::to_string(setup.Bytes) +
                       " bytes of memory it needs");
    }
    return Status();
}

} // namespace ostrel
