/*
 * The equilibrium asked: the options judged, the time estimated before the
 * run, the field valued and the solver's rounds passed on. Cost: the
 * solver's, about the fourth power of the players a round.
 */
#include "nash_request.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "equities.h"
#include "field_input.h"
#include "field_methods.h"
#include "number_text.h"

namespace ostrel
{
namespace
{

size_t PlayersAtTable(const HandField &field)
{
    size_t players = 0;
    for (int64_t stack : field.Table.Stacks)
        players += stack > 0 ? 1 : 0;
    return players;
}

// A count out of its range, in ReadCount's words.
std::string CountProblem(const char *option, uint64_t value, int64_t low, int64_t high, const char *what)
{
    if (value >= static_cast<uint64_t>(low) && value <= static_cast<uint64_t>(high))
        return "";
    int64_t count = 0;
    return ReadCount(option, std::to_string(value), low, high, what, count);
}

NashOptions LibraryOptions(const NashRequest &request)
{
    NashOptions nash;
    nash.MaxIterations = request.MaxIterations;
    nash.DrawsPerClass = request.Draws;
    nash.Seed = request.Seed;
    nash.Threads = ThreadsToUse(request.Threads);
    nash.Tolerance = request.Tolerance;
    return nash;
}

struct RoundsHeard
{
    const RunProgress *Progress = nullptr;
    double Estimate = 0.0;
    bool StopAsked = false;
};

void HearRound(void *context, uint64_t rounds, double exploitability)
{
    const RoundsHeard &heard = *static_cast<const RoundsHeard *>(context);
    if (heard.Progress->Rounds)
        heard.Progress->Rounds(rounds, exploitability, heard.Estimate);
}

bool ProceedAsked(void *context)
{
    RoundsHeard &heard = *static_cast<RoundsHeard *>(context);
    if (heard.Progress->Proceed && !heard.Progress->Proceed())
        heard.StopAsked = true;
    return !heard.StopAsked;
}

} // namespace

Status ReadTolerance(const std::string &text, double &tolerance)
{
    const Status refused = Failure("--tolerance " + Escaped(text) + ": give a number above 0, e.g. 0.05");
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string::npos)
        return refused;
    char *end = nullptr;
    tolerance = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(tolerance) && tolerance > 0.0 ? Status() : refused;
}

Status CheckNashRequest(const NashRequest &request)
{
    std::string problem = CountProblem("--max-iterations", request.MaxIterations, 1, NashMostIterations,
                                       "a number of iterations");
    if (problem.empty())
        problem = CountProblem("--draws", request.Draws, 1, NashMostDraws, "a number of showdowns");
    if (problem.empty())
        problem = CountProblem("--seed", request.Seed, 0, std::numeric_limits<int64_t>::max(), "a seed");
    if (!problem.empty())
        return Failure(problem);
    const Status threads = CheckThreads(request.Threads);
    if (!threads.Ok)
        return threads;
    const Status bounties =
        CheckBountyInput(request.Bounty, request.Table.Table.Stacks.size(), request.Table.Others.size(), request.ChipEv);
    if (!bounties.Ok)
        return bounties;
    if (!(request.Tolerance >= 0.0) || !std::isfinite(request.Tolerance))
        return Failure("--tolerance " + ShortestText(request.Tolerance) + ": give a number above 0, e.g. 0.05");
    const size_t players = PlayersAtTable(request.Table);
    if (players > NashMostPlayers)
        return Failure("nash takes tables of at most " + std::to_string(NashMostPlayers) + " players, not " +
                       std::to_string(players) + ": its work grows with the fourth power of the players");
    // Judged before it starts, as every request's run: some hours of
    // draws are refused with the number that fits.
    const NashOptions nash = LibraryOptions(request);
    const double estimate = EstimatedNashSeconds(players, nash);
    const double limit = RunOptions().SecondsLimit;
    if (estimate > limit)
    {
        const double fits = std::floor(nash.DrawsPerClass * (limit - 0.2) / (estimate - 0.2));
        return Failure("nash would take about " + DurationText(estimate) + " on " + std::to_string(players) +
                       " players with --draws " + std::to_string(nash.DrawsPerClass) + ", over the limit of " +
                       DurationText(limit) + "; --draws " + ShortestText(std::max(1.0, fits)) + " or fewer fits");
    }
    return Status();
}

FieldEquity OutcomeValuation(const HandField &table, const RunOptions &run, MethodLog &log)
{
    const size_t players = PlayersAtTable(table) + table.Others.size();
    return EquityBy(players <= 20 ? Method::Subsets : Method::Automatic, run, log, nullptr);
}

Status RunNashRequest(const NashRequest &request, const RunProgress &progress, NashReply &reply)
{
    Status status = CheckNashRequest(request);
    if (!status.Ok)
        return status;
    NashOptions nash = LibraryOptions(request);
    const size_t players = PlayersAtTable(request.Table);
    RunOptions run;
    run.Threads = nash.Threads;
    MethodLog log;
    const FieldEquity valuation = OutcomeValuation(request.Table, run, log);
    RoundsHeard heard;
    heard.Progress = &progress;
    heard.Estimate = EstimatedNashSeconds(players, nash);
    nash.Progress = HearRound;
    nash.Proceed = ProceedAsked;
    nash.ProgressContext = &heard;
    HandField table = request.Table;
    table.Bounty = BountiesOf(request.Bounty, request.ChipEv);
    status = SolveNash(table, valuation, request.ChipEv, nash, reply.Answer);
    if (heard.StopAsked)
        return Stopped();
    if (!status.Ok)
        return status;
    reply.Table = table;
    reply.ChipEv = request.ChipEv;
    if (!reply.Answer.Converged)
        reply.Warnings.push_back("stopped after " + std::to_string(reply.Answer.Iterations) +
                                 " iterations with exploitability " + ShortestText(reply.Answer.Exploitability) +
                                 " above the tolerance " + ShortestText(reply.Answer.Tolerance));
    return Status();
}

} // namespace ostrel
