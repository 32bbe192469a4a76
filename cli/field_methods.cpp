/*
 * The plain recursion works on the window's record, as the window runs it:
 * the field is written into the record and each seat computed by the same
 * procedures as Calculate, with the same budget deciding when the subset
 * method takes over.
 */
#include "field_methods.h"

#include <algorithm>
#include <chrono>
#include <cstdint>

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

void WriteWindowRecord(const Field &field)
{
    ResetTournamentState();
    TournamentStateRecord &state = TournamentState;
    state.PlayerCount = SeatCount;
    for (size_t seat = 0; seat < SeatCount; ++seat)
        state.PlayerChips[seat] = seat < field.Seats ? static_cast<int32_t>(field.Stacks[seat]) : 0;
    const size_t paid = PaidPlaces(field, field.Places);
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

} // namespace

const char *MethodName(Method method)
{
    switch (method)
    {
    case Method::Plain: return "plain";
    case Method::Subsets: return "subsets";
    default: return "auto";
    }
}

bool WindowTakesField(const Field &field)
{
    if (field.Seats > SeatCount || PaidPlaces(field, field.Places) > PlaceCount)
        return false;
    for (size_t seat = 0; seat < field.Seats; ++seat)
        if (field.Stacks[seat] > INT32_MAX)
            return false;
    return true;
}

FieldRun RunEquity(const Field &field, Method method)
{
    const auto start = std::chrono::steady_clock::now();
    FieldRun run;
    run.Outcome = CheckField(field);
    if (!run.Outcome.Ok)
        return run;
    const bool windowField = WindowTakesField(field);
    if (method == Method::Plain && !windowField)
    {
        run.Outcome = Failure("the plain method takes at most 18 seats, 30 paid places and stacks up to "
                              "2147483647 chips");
        return run;
    }
    if (windowField && method != Method::Subsets)
    {
        run.Ran = RunWindowCalculate(field, method == Method::Plain, run.Equity);
    }
    else
    {
        run.Ran = Method::Subsets;
        run.Equity.assign(field.Seats, 0.0);
        run.Outcome = SubsetEquities(field, run.Equity.data(), nullptr);
    }
    run.Seconds = SecondsSince(start);
    return run;
}

FieldRun RunFinish(const Field &field)
{
    const auto start = std::chrono::steady_clock::now();
    FieldRun run;
    run.Ran = Method::Subsets;
    run.Equity.assign(field.Seats, 0.0);
    run.Outcome = SubsetEquities(field, run.Equity.data(), &run.Finish);
    run.Seconds = SecondsSince(start);
    return run;
}

std::string MethodLog::Names() const
{
    std::string names;
    for (Method method : {Method::Plain, Method::Subsets})
        if (Ran[static_cast<int>(method)])
            names += (names.empty() ? "" : "+") + std::string(MethodName(method));
    return names;
}

FieldEquity EquityBy(Method method, MethodLog &log)
{
    return [method, &log](const Field &field, double *equities) {
        const FieldRun run = RunEquity(field, method);
        if (run.Outcome.Ok)
        {
            log.Ran[static_cast<int>(run.Ran)] = true;
            std::copy(run.Equity.begin(), run.Equity.end(), equities);
        }
        return run.Outcome;
    };
}

} // namespace ostrel
