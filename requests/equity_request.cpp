/*
 * One field, one run. The answer's text is held whole before it is
 * written, so its size counts against the run's memory limit.
 */
#include "equity_request.h"

#include <algorithm>
#include <cstdint>

#include "number_text.h"

namespace ostrel
{
namespace
{

// Memory the answer's text takes per number while it is built: up to 25
// characters held in a string that may grow to twice its length and is
// copied once, or a table cell's string and its share of the aligned text.
constexpr size_t OutputBytesPerNumber = 80;

// Finish tables of large fields show the paid places unless asked otherwise.
size_t FinishPlaces(const EquityRequest &request)
{
    const Field field = request.Field.View();
    const size_t players = PlayersInPlay(field);
    if (request.Places > 0)
        return std::min(request.Places, players);
    return players > 100 ? std::max<size_t>(PaidPlaces(field, players), 1) : players;
}

} // namespace

Status CheckEquityRequest(const EquityRequest &request)
{
    Status status = CheckThreads(request.Threads);
    if (status.Ok)
        status = CheckFieldInput(request.Field);
    int64_t count = 0;
    const std::string places = std::to_string(request.Places);
    if (status.Ok)
        status = CheckFieldBounties(request.Bounty, request.Field, request.Finish ? "finish" : nullptr);
    if (status.Ok && request.Finish && request.Places > static_cast<size_t>(MaxPlayers))
        status = Failure(ReadCount("--places", places, 1, MaxPlayers, "a number of places", count));
    return status;
}

Status RunEquityRequest(const EquityRequest &request, const RunProgress &progress, EquityAnswer &answer)
{
    const Status status = CheckEquityRequest(request);
    if (!status.Ok)
        return status;
    const Field field = request.Field.View();
    const size_t places = request.Finish ? FinishPlaces(request) : 0;
    ProgressSteps steps;
    steps.Progress = &progress;
    RunOptions runOptions;
    runOptions.Threads = ThreadsToUse(request.Threads);
    runOptions.Progress = StepProgress;
    runOptions.ProgressContext = &steps;
    runOptions.OutputBytes = static_cast<size_t>(
        std::min(static_cast<double>(SIZE_MAX), static_cast<double>(field.Seats) *
                                                    static_cast<double>(request.Finish ? places : 5) *
                                                    static_cast<double>(OutputBytesPerNumber)));
    const Method method = MethodFor(request.Using, request.Field, request.Finish);
    answer.Run = request.Finish ? RunFinish(field, method, places, runOptions) : RunEquity(field, method, runOptions);
    if (!answer.Run.Outcome.Ok)
        return answer.Run.Outcome;
    answer.Finish = request.Finish;
    answer.Seats = SeatsOf(request.Field, request.Separators);
    answer.PrizePool = PrizePool(field, PlayersInPlay(field));
    answer.Notes.Warnings = RisingLadderWarnings(request.Field.Prizes);
    answer.Notes.Seconds = answer.Run.Seconds;
    return FieldBountyEquity(request.Bounty, request.Field, answer.BountyMoney, answer.BountyEquity);
}

std::string WriteEquityAnswer(const EquityAnswer &answer, Format format)
{
    return answer.Finish ? FormatFinish(answer, format) : FormatEquity(answer, format);
}

} // namespace ostrel
