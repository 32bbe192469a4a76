/*
 * The plain recursion works on the window's record, as the window runs it:
 * the field is written into the record and each seat computed by the same
 * procedures as Calculate, with the same budget deciding when the subset
 * method takes over. The library's methods take the field as it is.
 */
#include "field_methods.h"

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "quadrature_method.h"
#include "seat_equity.h"
#include "subset_equity.h"
#include "subset_method.h"
#include "tournament_state.h"

namespace ostrel
{
namespace
{

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

size_t PaidInPlay(const Field &field)
{
    return PaidPlaces(field, PlayersInPlay(field));
}

void WriteWindowRecord(const Field &field)
{
    ResetTournamentState();
    TournamentStateRecord &state = TournamentState;
    state.PlayerCount = SeatCount;
    for (size_t seat = 0; seat < SeatCount; ++seat)
        state.PlayerChips[seat] = seat < field.Seats ? static_cast<int32_t>(field.Stacks[seat]) : 0;
    const size_t paid = PaidInPlay(field);
    for (size_t place = 0; place < PlaceCount; ++place)
        state.Payouts[place] = place < paid ? field.Prizes[place] : 0.0;
    state.PaidPlaces = static_cast<int32_t>(paid);
}

// Calculate's own procedure: every seat by the plain recursion below the
// budget, all seats by the subset method above it.
Method RunWindowCalculate(const Field &field, bool forcePlain, std::vector<double> &equity)
{
    WriteWindowRecord(field);
    double equities[SeatCount] = {};
    const bool bySubsets = !forcePlain && FieldNeedsSubsets();
    if (bySubsets)
        ComputeEquitiesBySubsets(equities);
    else
        for (uint32_t seat = 0; seat < field.Seats; ++seat)
            equities[seat] = PlainSeatEquity(seat);
    equity.assign(equities, equities + field.Seats);
    return bySubsets ? Method::Subsets : Method::Plain;
}

/*
 * Beyond the window, the subset method is taken while it is faster, as
 * measured (docs/performance.md): below 12 players in play always, below 17
 * while players and paid places together are under 20. With a table of every
 * finishing place the quadrature method is faster from 12 players.
 */
bool SubsetsFaster(size_t players, size_t places, bool finish)
{
    if (players < 12)
        return true;
    return !finish && players < 17 && players + places < 20;
}

// Starting threads costs more than a small field's whole run; the results do
// not depend on the count.
constexpr double ThreadedSteps = 200000.0;

QuadratureOptions QuadratureFor(const Field &field, const RunOptions &options, size_t finishPlaces)
{
    QuadratureOptions quadrature;
    const size_t players = PlayersInPlay(field);
    const size_t places = std::max(PaidInPlay(field), finishPlaces);
    const bool large = static_cast<double>(players) * static_cast<double>(std::max<size_t>(places, 1)) >= ThreadedSteps;
    quadrature.Threads = large ? options.Threads : 1;
    quadrature.FinishPlaces = finishPlaces;
    quadrature.MemoryLimit = options.MemoryLimit;
    quadrature.Progress = options.Progress;
    quadrature.ProgressContext = options.ProgressContext;
    return quadrature;
}

} // namespace

const char *MethodName(Method method)
{
    switch (method)
    {
    case Method::Plain: return "plain";
    case Method::Subsets: return "subsets";
    case Method::Quadrature: return "quadrature";
    default: return "auto";
    }
}

bool WindowTakesField(const Field &field)
{
    if (field.Seats > SeatCount)
        return false;
    for (size_t seat = 0; seat < field.Seats; ++seat)
        if (field.Stacks[seat] > INT32_MAX)
            return false;
    return true;
}

Method ChosenMethod(const Field &field, bool finish)
{
    const size_t players = PlayersInPlay(field);
    return SubsetsFaster(players, PaidInPlay(field), finish) ? Method::Subsets : Method::Quadrature;
}

FieldRun RunEquity(const Field &field, Method method, const RunOptions &options)
{
    const auto start = std::chrono::steady_clock::now();
    FieldRun run;
    run.Outcome = CheckField(field);
    if (!run.Outcome.Ok)
        return run;
    const bool windowField = WindowTakesField(field);
    if (method == Method::Plain && !windowField)
    {
        run.Outcome = Failure("the plain method takes at most 18 seats and stacks up to 2147483647 chips");
        return run;
    }
    run.Equity.assign(field.Seats, 0.0);
    if (method == Method::Automatic && windowField)
        run.Ran = RunWindowCalculate(field, false, run.Equity);
    else if (method == Method::Plain)
        run.Ran = RunWindowCalculate(field, true, run.Equity);
    else if ((method == Method::Automatic ? ChosenMethod(field, false) : method) == Method::Subsets)
    {
        run.Ran = Method::Subsets;
        run.Outcome = SubsetEquities(field, run.Equity.data(), nullptr);
    }
    else
    {
        run.Ran = Method::Quadrature;
        run.Outcome = QuadratureEquities(field, QuadratureFor(field, options, 0), run.Equity.data(), nullptr);
    }
    run.Seconds = SecondsSince(start);
    return run;
}

FieldRun RunFinish(const Field &field, Method method, size_t places, const RunOptions &options)
{
    const auto start = std::chrono::steady_clock::now();
    FieldRun run;
    if (method == Method::Plain)
    {
        run.Outcome = Failure("the plain method gives no finish table: use auto, subsets or quadrature");
        return run;
    }
    if (method == Method::Automatic)
        method = ChosenMethod(field, true);
    run.Ran = method;
    run.Equity.assign(field.Seats, 0.0);
    if (method == Method::Subsets)
    {
        run.Outcome = SubsetEquities(field, run.Equity.data(), &run.Finish);
        const size_t all = run.Finish.Places;
        if (run.Outcome.Ok && places < all)
        {
            // Keep the first `places` columns of every row.
            for (size_t seat = 0; seat < run.Finish.Seats; ++seat)
                std::copy_n(run.Finish.Chance.begin() + static_cast<long>(seat * all), places,
                            run.Finish.Chance.begin() + static_cast<long>(seat * places));
            run.Finish.Chance.resize(run.Finish.Seats * places);
            run.Finish.Places = places;
        }
    }
    else
        run.Outcome = QuadratureEquities(field, QuadratureFor(field, options, places), run.Equity.data(), &run.Finish);
    run.Seconds = SecondsSince(start);
    return run;
}

std::string MethodLog::Names() const
{
    std::string names;
    for (Method method : {Method::Plain, Method::Subsets, Method::Quadrature})
        if (Ran[static_cast<int>(method)])
            names += (names.empty() ? "" : "+") + std::string(MethodName(method));
    return names;
}

FieldEquity EquityBy(Method method, const RunOptions &options, MethodLog &log, ProgressDisplay *progress)
{
    return [method, options, &log, progress](const Field &field, double *equities) {
        const FieldRun run = RunEquity(field, method, options);
        if (progress != nullptr)
            StepDone(*progress);
        if (run.Outcome.Ok)
        {
            log.Ran[static_cast<int>(run.Ran)] = true;
            std::copy(run.Equity.begin(), run.Equity.end(), equities);
        }
        return run.Outcome;
    };
}

bool HeroHandsBy(Method method, const Field &field, const RunOptions &options, MethodLog &log,
                 ProgressDisplay *progress, HeroHands &hands)
{
    const bool quadrature = method == Method::Quadrature ||
                            (method == Method::Automatic && !WindowTakesField(field) &&
                             ChosenMethod(field, false) == Method::Quadrature);
    if (!quadrature)
        return false;
    hands = [options, &log, progress](const Field &row, size_t hero, double &now, double *won, double *lost) {
        const Status status = QuadratureHeroHands(row, hero, QuadratureFor(row, options, 0), now, won, lost);
        if (status.Ok)
            log.Ran[static_cast<int>(Method::Quadrature)] = true;
        if (progress != nullptr)
            StepDone(*progress);
        return status;
    };
    return true;
}

} // namespace ostrel
