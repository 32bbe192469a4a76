/*
 * The bubble grid by fields or by rows, whichever the method and the
 * estimates choose (field_methods.h), and the equal-stacks factor by the
 * window's own computation. Cost: up to n(n - 1) + 1 field evaluations.
 */
#include "bubble_request.h"

#include <chrono>

#include "equal_stacks_bust_paid.h"
#include "number_text.h"

namespace ostrel
{
namespace
{

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

Status CheckBubbleRequest(const BubbleRequest &request)
{
    Status status = CheckThreads(request.Threads);
    if (status.Ok)
        status = CheckFieldInput(request.Field);
    if (status.Ok)
        status = CheckFieldBounties(BountyInput(), request.Field, "bubble");
    if (!status.Ok)
        return status;
    const std::string seatText = request.SeatTyped.empty() ? std::to_string(request.Seat + 1) : request.SeatTyped;
    if (request.OneRow && request.Seat >= request.Field.Stacks.size())
    {
        int64_t number = 0;
        return Failure(ReadCount("--seat", seatText, 1, static_cast<int64_t>(request.Field.Stacks.size()),
                                 "a seat number", number));
    }
    if (request.OneRow && request.Field.Stacks[request.Seat] == 0)
        return Failure("--seat " + seatText + ": no player in play in that seat");
    const size_t players = PlayersInPlay(request.Field.View());
    if (players > (request.OneRow ? BubbleRowPlayers : BubbleGridPlayers))
        return Failure(request.OneRow ? "bubble --seat takes at most 1000 players in play; this field has " +
                                            std::to_string(players)
                                      : "the whole bubble grid takes at most 100 players in play (--seat N gives "
                                        "one row of up to 1000); this field has " +
                                            std::to_string(players));
    return Status();
}

Status RunBubbleRequest(const BubbleRequest &request, const RunProgress &progress, BubbleAnswer &answer)
{
    Status status = CheckBubbleRequest(request);
    if (!status.Ok)
        return status;
    const auto start = std::chrono::steady_clock::now();
    MethodLog log;
    const Field field = request.Field.View();
    const size_t players = PlayersInPlay(field);
    const Method method = MethodFor(request.Using, request.Field, false);
    HeroHands hands;
    ProgressSteps steps;
    steps.Progress = &progress;
    RunOptions runOptions;
    runOptions.Threads = ThreadsToUse(request.Threads);
    runOptions.Progress = StepProgress;
    runOptions.ProgressContext = &steps;
    const size_t rows = request.OneRow ? 1 : players;
    const bool byRows = HeroHandsBy(method, field, rows, runOptions, log, &steps, hands);
    status = byRows ? CheckRunTime(field, Method::Quadrature, 0, static_cast<double>(rows) * RowCostOverField,
                                   runOptions)
                    : CheckRunTime(field, method, 0, BubbleFields(players, rows), runOptions);
    if (!status.Ok)
        return status;
    // By rows, one step a row; by fields, one step a field.
    steps.Steps = byRows ? rows : static_cast<size_t>(BubbleFields(players, rows));
    status = ComputeBubbleGrid(field, request.OneRow ? &request.Seat : nullptr,
                               EquityBy(method, runOptions, log, &steps), answer.Grid, byRows ? &hands : nullptr);
    if (!status.Ok)
        return status;
    answer.Seats = SeatsOf(request.Field, false);
    answer.Methods = log.Names();
    answer.OneRow = request.OneRow;
    answer.Seat = request.Seat;
    answer.Notes.Warnings = RisingLadderWarnings(request.Field.Prizes);
    answer.Notes.Seconds = SecondsSince(start);
    return Status();
}

std::string WriteBubbleAnswer(const BubbleAnswer &answer, Format format)
{
    return FormatBubbleGrid(answer, format);
}

Status CheckEqualStacksRequest(const EqualStacksRequest &request)
{
    int64_t count = 0;
    std::string problem = ReadCount("--players", std::to_string(request.Players), 0, int64_t{1} << 53,
                                    "a number of players", count);
    if (problem.empty())
        problem = ReadCount("--chips", std::to_string(request.Chips), 0, int64_t{1} << 53, "a number of chips",
                            count);
    if (problem.empty() && request.Prizes.empty())
        problem = "no prizes: give --prizes, --prizes-file or --pos";
    return problem.empty() ? Status() : Failure(problem);
}

Status RunEqualStacksRequest(const EqualStacksRequest &request, EqualStacksAnswer &answer)
{
    Status status = CheckEqualStacksRequest(request);
    if (!status.Ok)
        return status;
    const auto start = std::chrono::steady_clock::now();
    const std::vector<double> &prizes = request.Prizes;
    const Field ladder = {nullptr, 0, prizes.data(), prizes.size()};
    const size_t paid = PaidPlaces(ladder, ladder.Places);
    status = EqualStacksBubbleFactor(request.Players, request.Chips, ladder.Prizes, paid, answer.Result);
    if (!status.Ok)
        return status;
    answer.Players = request.Players;
    answer.BustPaid = BustPrize(request.Players, prizes.data(), paid) > 0.0;
    answer.FactorBustPaid = EqualStacksFactorBustPaid(answer.Result, request.Players, prizes.data(), paid);
    answer.Notes.Warnings = RisingLadderWarnings(prizes);
    answer.Notes.Seconds = SecondsSince(start);
    return Status();
}

std::string WriteEqualStacksAnswer(const EqualStacksAnswer &answer, Format format)
{
    return FormatEqualStacks(answer, format);
}

} // namespace ostrel
