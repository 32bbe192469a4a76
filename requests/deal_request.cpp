/*
 * The deal over the field's method choice. Cost: two field evaluations
 * (one for the chip and even splits).
 */
#include "deal_request.h"

#include <chrono>
#include <cmath>

#include "number_text.h"

namespace ostrel
{

const char *DealSplitName(DealSplit split)
{
    return split == DealSplit::Chip ? "chip" : split == DealSplit::Even ? "even" : "icm";
}

Status CheckDealRequest(const DealRequest &request)
{
    const std::string keep = request.KeepTyped.empty() ? ShortestText(request.Terms.Keep) : request.KeepTyped;
    if (!(request.Terms.Keep >= 0.0) || !std::isfinite(request.Terms.Keep))
        return Failure("--keep: " + Quoted(keep) + " is not an amount of 0 or more");
    if (request.Terms.Round.Count < 0 || request.Terms.Round.Decimals < 0 || request.Terms.Round.Decimals > 15)
        return Failure("--round: the unit must be an amount above 0");
    Status status = CheckThreads(request.Threads);
    if (status.Ok)
        status = CheckFieldInput(request.Field);
    if (!status.Ok)
        return status;
    if (request.Terms.Keep > request.Field.Prizes[0])
        return Failure("--keep: " + keep + " is above the first prize");
    status = CheckFieldBounties(request.Bounty, request.Field, nullptr);
    if (!status.Ok)
        return status;
    const bool bounties = !request.Bounty.OnHead.empty() || request.Bounty.Pool || !request.Field.Bounties.empty();
    if (bounties && !request.DealBounties)
        return Failure("bounties given to a deal: add --deal-bounties to deal the bounty money too");
    if (!bounties && request.DealBounties)
        return Failure("--deal-bounties: no bounties to deal; give --bounties");
    return Status();
}

Status RunDealRequest(const DealRequest &request, const RunProgress &progress, DealAnswer &answer)
{
    Status status = CheckDealRequest(request);
    if (!status.Ok)
        return status;
    const auto start = std::chrono::steady_clock::now();
    MethodLog log;
    ProgressSteps steps;
    steps.Progress = &progress;
    steps.Steps = 2;
    RunOptions runOptions;
    runOptions.Threads = ThreadsToUse(request.Threads);
    runOptions.Progress = StepProgress;
    runOptions.ProgressContext = &steps;
    const Method method = MethodFor(request.Using, request.Field, false);
    status = CheckRunTime(request.Field.View(), method, 0, 2.0, runOptions);
    if (status.Ok)
        status = ComputeDeal(request.Field.View(), request.Terms, EquityBy(method, runOptions, log, &steps),
                             answer.Result);
    if (!status.Ok)
        return status;
    answer.Seats = SeatsOf(request.Field, request.Separators);
    answer.Split = DealSplitName(request.Terms.Split);
    answer.Methods = log.Names();
    answer.Kept = request.Terms.Keep;
    answer.Notes.Warnings = RisingLadderWarnings(request.Field.Prizes);
    answer.Notes.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    status = FieldBountyEquity(request.Bounty, request.Field, answer.BountyMoney, answer.BountyEquity);
    // Dealt as well: every seat's payment, deal value and $EV gain his
    // share, so the difference to playing on stays the prizes'.
    for (size_t seat = 0; seat < answer.BountyEquity.size() && seat < answer.Result.Seats.size(); ++seat)
    {
        DealSeat &one = answer.Result.Seats[seat];
        one.Payment += answer.BountyEquity[seat];
        one.DealValue += answer.BountyEquity[seat];
        one.Equity += answer.BountyEquity[seat];
    }
    return status;
}

std::string WriteDealAnswer(const DealAnswer &answer, Format format)
{
    return FormatDeal(answer, format);
}

} // namespace ostrel
