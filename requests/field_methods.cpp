/*
 * The plain recursion works on the window's record, as the window runs it:
 * the field is written into the record and each seat computed by the same
 * procedures as Calculate, with the same budget deciding when the subset
 * method takes over. The library's methods take the field as it is.
 */
#include "field_methods.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "equities.h"
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

// The library's options for a run's.
EquityOptions LibraryOptions(const RunOptions &options)
{
    EquityOptions library;
    library.Threads = options.Threads;
    library.MemoryLimit = options.MemoryLimit;
    library.Progress = options.Progress;
    library.ProgressContext = options.ProgressContext;
    return library;
}

// Calculate's own procedure: every seat by the plain recursion below the
// budget, all seats by the subset method above it. Progress seat by seat.
Method RunWindowCalculate(const Field &field, bool forcePlain, std::vector<double> &equity,
                          const RunOptions &options)
{
    WriteWindowRecord(field);
    double equities[SeatCount] = {};
    const bool bySubsets = !forcePlain && FieldNeedsSubsets();
    if (bySubsets)
        ComputeEquitiesBySubsets(equities);
    else
        for (uint32_t seat = 0; seat < field.Seats; ++seat)
        {
            equities[seat] = PlainSeatEquity(seat);
            if (options.Progress != nullptr)
                options.Progress(options.ProgressContext,
                                 static_cast<double>(seat + 1) / static_cast<double>(field.Seats));
        }
    equity.assign(equities, equities + field.Seats);
    return bySubsets ? Method::Subsets : Method::Plain;
}

// The plain recursion's calls for the whole field, as the window counts them.
double PlainCalls(const Field &field)
{
    const size_t players = PlayersInPlay(field);
    if (players == 0)
        return 0.0;
    const size_t paid = std::min<size_t>(PaidInPlay(field), 64);
    const uint64_t perSeat = PlainEquityCalls(static_cast<int32_t>(players - 1), static_cast<int32_t>(paid));
    return static_cast<double>(perSeat) * static_cast<double>(players);
}

// Measured: about 305 million calls a second (docs/performance.md).
constexpr double PlainCallSeconds = 1.0 / 305e6;

// The window's computation, on prizes scaled like the library's methods
// scale them, so that no product overflows; results are scaled back.
Status RunWindowPath(const Field &field, bool forcePlain, const RunOptions &options, FieldRun &run)
{
    double scale = 1.0;
    std::vector<double> scaled;
    const Status scaling = ScaledPrizes(field, scale, scaled);
    if (!scaling.Ok)
        return scaling;
    const Field window = {field.Stacks, field.Seats, scaled.data(), scaled.size()};
    run.Ran = RunWindowCalculate(window, forcePlain, run.Equity, options);
    for (size_t seat = 0; seat < field.Seats; ++seat)
    {
        run.Equity[seat] /= scale;
        if (!std::isfinite(run.Equity[seat]))
            return Failure("seat " + std::to_string(seat + 1) + ": the $EV passes the largest number a double holds");
    }
    return Status();
}

EquityMethod LibraryMethod(Method method)
{
    return method == Method::Subsets      ? EquityMethod::Subsets
           : method == Method::Quadrature ? EquityMethod::Quadrature
                                          : EquityMethod::Automatic;
}

Method RequestMethod(EquityMethod method)
{
    return method == EquityMethod::Subsets ? Method::Subsets : Method::Quadrature;
}

std::string Bytes(double bytes)
{
    char text[80];
    std::snprintf(text, sizeof text, "%.0f bytes (%.2f GiB)", bytes, bytes / 1073741824.0);
    return text;
}

// The library's methods, with the memory limit shared with the answer's text.
Status RunLibrary(const Field &field, Method method, size_t finishPlaces, const RunOptions &options,
                  FieldRun &run, FinishTable *finish)
{
    const size_t players = PlayersInPlay(field);
    const size_t columns = std::min(finishPlaces, players);
    const EquityMethod chosen =
        method == Method::Automatic ? ChooseEquityMethod(field, finish != nullptr ? 1 : 0) : LibraryMethod(method);
    const size_t forText = std::min(options.OutputBytes, options.MemoryLimit);
    EquityOptions library = LibraryOptions(options);
    library.MemoryLimit = options.MemoryLimit - forText;
    library.FinishPlaces = columns;
    double needed = 0.0;
    if (chosen == EquityMethod::Quadrature)
    {
        QuadratureOptions quadrature;
        quadrature.Threads = 1;
        quadrature.FinishPlaces = columns;
        quadrature.MemoryLimit = library.MemoryLimit;
        needed = static_cast<double>(QuadratureMemory(field, quadrature, finish != nullptr));
    }
    else if (players <= SubsetMaxPlayers)
        needed = std::ldexp(8.0, static_cast<int>(players));
    const double total = needed + static_cast<double>(options.OutputBytes);
    if (total > static_cast<double>(options.MemoryLimit))
        return Failure("this run would hold about " + Bytes(total) + ", " + Bytes(needed) +
                       " for the computation and " + Bytes(static_cast<double>(options.OutputBytes)) +
                       " for the answer's text, over the limit of " +
                       Bytes(static_cast<double>(options.MemoryLimit)));
    EquityMethod ran = chosen;
    const Status status = ComputeEquities(field, chosen, library, run.Equity.data(), finish, &ran);
    run.Ran = RequestMethod(ran);
    return status;
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

bool MethodNamed(const std::string &name, Method &method)
{
    for (Method named : {Method::Automatic, Method::Plain, Method::Subsets, Method::Quadrature})
        if (name == MethodName(named))
        {
            method = named;
            return true;
        }
    return false;
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
    return RequestMethod(ChooseEquityMethod(field, finish ? 1 : 0));
}

double EstimatedFieldSeconds(const Field &field, Method method, size_t finishPlaces)
{
    const bool windowField = WindowTakesField(field);
    if (method == Method::Plain)
        return windowField && finishPlaces == 0 ? PlainCalls(field) * PlainCallSeconds : HUGE_VAL;
    if (method == Method::Automatic && windowField && finishPlaces == 0)
    {
        const double calls = PlainCalls(field);
        return calls <= static_cast<double>(PlainCallBudget) ? calls * PlainCallSeconds
                                                              : EstimatedSeconds(field, EquityMethod::Subsets, 0);
    }
    return EstimatedSeconds(field, LibraryMethod(method), finishPlaces);
}

Status CheckRunTime(const Field &field, Method method, size_t finishPlaces, double fields, const RunOptions &options)
{
    if (!(options.SecondsLimit > 0.0))
        return Status();
    const double seconds = fields * EstimatedFieldSeconds(field, method, finishPlaces);
    // A method that cannot take the field at all says so itself.
    if (seconds <= options.SecondsLimit || std::isinf(seconds))
        return Status();
    Method fastest = Method::Quadrature;
    double fastestSeconds = HUGE_VAL;
    for (Method other : {Method::Plain, Method::Subsets, Method::Quadrature})
    {
        const double otherSeconds = fields * EstimatedFieldSeconds(field, other, finishPlaces);
        if (otherSeconds < fastestSeconds)
        {
            fastest = other;
            fastestSeconds = otherSeconds;
        }
    }
    std::string message = "--method " + std::string(MethodName(method)) + " would take about " +
                          DurationText(seconds) + " on this field, over the limit of " +
                          DurationText(options.SecondsLimit);
    if (method == Method::Plain)
    {
        char calls[64];
        std::snprintf(calls, sizeof calls, " (%.3g calls of the recursion)", fields * PlainCalls(field));
        message += calls;
    }
    if (fastest != method && fastestSeconds < seconds)
        message += "; --method " + std::string(MethodName(fastest)) + " takes about " + DurationText(fastestSeconds);
    return Failure(message);
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
    run.Outcome = CheckRunTime(field, method, 0, 1.0, options);
    if (!run.Outcome.Ok)
        return run;
    run.Equity.assign(field.Seats, 0.0);
    if ((method == Method::Automatic && windowField) || method == Method::Plain)
        run.Outcome = RunWindowPath(field, method == Method::Plain, options, run);
    else
        run.Outcome = RunLibrary(field, method, 0, options, run, nullptr);
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
    run.Outcome = CheckField(field);
    if (!run.Outcome.Ok)
        return run;
    // The chances of places 1..M hang on no prize: a table that stops short of
    // the paid places is computed on a ladder of M places, at a cost in
    // proportion to M rather than to the paid places.
    const std::vector<double> shortLadder(std::max<size_t>(places, 1), 1.0);
    const bool cut = places < PaidPlaces(field, PlayersInPlay(field));
    const Field table = cut ? Field{field.Stacks, field.Seats, shortLadder.data(), shortLadder.size()} : field;
    run.Outcome = CheckRunTime(table, method, std::max<size_t>(places, 1), 1.0, options);
    if (!run.Outcome.Ok)
        return run;
    run.Equity.assign(field.Seats, 0.0);
    run.Outcome = RunLibrary(table, method, places, options, run, &run.Finish);
    if (cut)
        run.Equity.assign(field.Seats, 0.0);
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

FieldEquity EquityBy(Method method, const RunOptions &options, MethodLog &log, ProgressSteps *progress)
{
    return [method, options, &log, progress](const Field &field, double *equities) {
        if (progress != nullptr && progress->StopAsked)
            return Stopped();
        const FieldRun run = RunEquity(field, method, options);
        if (progress != nullptr)
            progress->StepDone();
        if (run.Outcome.Ok)
        {
            log.Ran[static_cast<int>(run.Ran)] = true;
            std::copy(run.Equity.begin(), run.Equity.end(), equities);
        }
        return run.Outcome;
    };
}

double BubbleFields(size_t players, size_t rows)
{
    const double n = static_cast<double>(players);
    return rows == 1 ? 2.0 * n - 1.0 : n * (n - 1.0) + 1.0;
}

double BubbleRowSeconds(const Field &field, size_t rows)
{
    return static_cast<double>(rows) * RowCostOverField * EstimatedSeconds(field, EquityMethod::Quadrature, 0);
}

bool HeroHandsBy(Method method, const Field &field, size_t rows, const RunOptions &options, MethodLog &log,
                 ProgressSteps *progress, HeroHands &hands)
{
    const double byFields =
        BubbleFields(PlayersInPlay(field), rows) * EstimatedFieldSeconds(field, Method::Automatic, 0);
    const bool quadrature =
        method == Method::Quadrature || (method == Method::Automatic && BubbleRowSeconds(field, rows) < byFields);
    if (!quadrature)
        return false;
    hands = [options, &log, progress](const Field &row, size_t hero, double &now, double *won, double *lost) {
        if (progress != nullptr && progress->StopAsked)
            return Stopped();
        // Factors are ratios: the row's values may stay in the scaled prizes.
        double scale = 1.0;
        std::vector<double> scaled;
        const Status scaling = ScaledPrizes(row, scale, scaled);
        if (!scaling.Ok)
            return scaling;
        const Field scaledRow = {row.Stacks, row.Seats, scaled.data(), scaled.size()};
        const Status status = QuadratureHeroHands(scaledRow, hero, QuadratureFor(scaledRow, LibraryOptions(options), 0), now, won,
                                                  lost);
        if (status.Ok)
            log.Ran[static_cast<int>(Method::Quadrature)] = true;
        if (progress != nullptr)
            progress->StepDone();
        return status;
    };
    return true;
}

} // namespace ostrel
