/*
 * The spot asked: seats by number or position, SEAT=RANGE items read by the
 * cards library, the field valued as `equity` values it. Cost: one spot
 * over the 169 classes, and with NashRanges one equilibrium first.
 */
#include "spot_request.h"

#include "field_input.h"
#include "field_methods.h"
#include "nash_request.h"
#include "number_text.h"
#include "positions.h"
#include "range.h"

namespace ostrel
{
namespace
{

// SEAT=RANGE, each seat once.
Status ReadRanges(const std::string &option, const std::vector<std::string> &items,
                  const std::vector<std::string> &positions, std::vector<std::optional<cards::Range>> &ranges)
{
    ranges.assign(positions.size(), std::nullopt);
    for (const std::string &item : items)
    {
        const size_t equals = item.find('=');
        if (equals == std::string::npos)
            return Failure(option + " " + item + ": give SEAT=RANGE");
        size_t seat = 0;
        Status status = ParseSeat(option, item.substr(0, equals), positions, seat);
        if (!status.Ok)
            return status;
        if (ranges[seat])
            return Failure(option + ": seat " + SeatText(seat, positions) + " is given twice");
        const std::string text = item.substr(equals + 1);
        if (text.find_first_not_of(" \t") == std::string::npos)
            return Failure(option + " " + item + ": the range is empty; give hands after the seat, e.g. " +
                           item.substr(0, equals) + "=QQ+,AK");
        cards::Range range;
        status = cards::ParseRange(text, range);
        if (!status.Ok)
            return Failure(option + " " + item + ": " + status.Message);
        ranges[seat] = range;
    }
    return Status();
}

// A seat given as text, after `option`.
Status ReadSeat(const char *option, const std::optional<std::string> &text, const std::vector<std::string> &seats,
                size_t &seat)
{
    return ParseSeat(option, text.value_or(""), seats, seat);
}

Status ReadQuestion(const SpotRequest &request, const std::vector<std::string> &seats, SpotQuestion &question)
{
    if (!request.Hero)
        return Failure("no hero: give --hero SEAT, the seat deciding");
    Status status = ReadSeat("--hero", request.Hero, seats, question.Hero);
    if (!status.Ok)
        return status;
    question.Action = request.Action;
    const std::string action = request.Action == SpotAction::Call       ? "call"
                               : request.Action == SpotAction::Overcall ? "overcall"
                                                                        : "first-in";
    if (question.Action != SpotAction::FirstIn)
    {
        if (!request.Shover)
            return Failure("--action " + action + " needs --shover SEAT");
        status = ReadSeat("--shover", request.Shover, seats, question.Shover);
        if (!status.Ok)
            return status;
    }
    else if (request.Shover)
        return Failure("--shover goes with --action call or overcall");
    if (question.Action == SpotAction::Overcall)
    {
        if (!request.Caller)
            return Failure("--action overcall needs --caller SEAT, who called the shove");
        status = ReadSeat("--caller", request.Caller, seats, question.Caller);
        if (!status.Ok)
            return status;
    }
    else if (request.Caller)
        return Failure("--caller goes with --action overcall");
    int64_t number = 0;
    std::string problem;
    if (request.Draws && (*request.Draws < 1 || *request.Draws > 10000000))
        problem = ReadCount("--draws", std::to_string(*request.Draws), 1, 10000000, "a number of showdowns", number);
    if (problem.empty() && request.Seed && *request.Seed > static_cast<uint64_t>(INT64_MAX))
        problem = ReadCount("--seed", std::to_string(*request.Seed), 0, INT64_MAX, "a seed", number);
    if (!problem.empty())
        return Failure(problem);
    if (request.Draws)
        question.Sampling.Draws = *request.Draws;
    if (request.Seed)
        question.Sampling.Seed = *request.Seed;
    status = ReadRanges("--range", request.Ranges, seats, question.Ranges);
    if (status.Ok)
        status = ReadRanges("--overcall", request.Overcalls, seats, question.Overcalls);
    if (status.Ok)
        status = ReadRanges("--shove", request.Shoves, seats, question.Shoves);
    return status;
}

// The hand asked for: a class (its row) or two cards (its outcomes).
Status ReadHand(const SpotRequest &request, int &handClass, int &combo)
{
    handClass = -1;
    combo = -1;
    if (!request.Hand || cards::ParseClassName(*request.Hand, handClass))
        return Status();
    handClass = -1;
    const std::string &text = *request.Hand;
    std::vector<cards::Card> hand;
    const Status status = cards::ParseCards(text, hand);
    if (!status.Ok)
        return Failure("--hand " + text + ": " + status.Message +
                       "; a hand is its two cards (AhJd), a class its name (AJo: its row of the table)");
    if (hand.size() != 2)
        return Failure("--hand " + text + ": a hand is two cards, e.g. AhKd");
    combo = cards::ComboIndex(hand[0], hand[1]);
    return Status();
}

Status ReadSpot(const SpotRequest &request, SpotQuestion &question, int &handClass, int &combo)
{
    const std::vector<std::string> positions = PositionNames(request.Table.Table.Stacks, request.Table.Table.Button);
    Status status = CheckBountyInput(request.Bounty, request.Table.Table.Stacks.size(), request.Table.Others.size(),
                                     request.ChipEv);
    if (status.Ok)
        status = ReadQuestion(request, positions, question);
    return status.Ok ? ReadHand(request, handClass, combo) : status;
}

// Facing a shove with bounties: the equity the call needs when the same
// hand is valued without them.
Status NeededWithoutBounty(HandField field, const FieldEquity &valuation, bool chipEv, const SpotQuestion &question,
                           int combo, double &needed)
{
    field.Bounty = Bounties();
    SpotSolver solver;
    Status status = solver.Open(field, valuation, chipEv, question);
    HandBreakdown breakdown;
    if (status.Ok)
        status = solver.Explain(combo, breakdown);
    needed = breakdown.NeededValue;
    return status;
}

} // namespace

Status CheckSpotRequest(const SpotRequest &request)
{
    SpotQuestion question;
    int handClass = -1, combo = -1;
    return ReadSpot(request, question, handClass, combo);
}

Status RunSpotRequest(const SpotRequest &request, const RunProgress &progress, SpotReply &reply)
{
    SpotQuestion question;
    int handClass = -1, combo = -1;
    Status status = ReadSpot(request, question, handClass, combo);
    if (!status.Ok)
        return status;
    HandField field = request.Table;
    field.Bounty = BountiesOf(request.Bounty, request.ChipEv);
    const unsigned cores = ThreadsToUse(request.Threads);
    RunOptions run;
    run.Threads = cores;
    MethodLog log;
    // Valued as `nash` values the same outcomes, so that the spot's values
    // are those of the equilibrium it takes.
    const FieldEquity valuation = OutcomeValuation(field, run, log);
    if (request.NashRanges)
    {
        NashRequest nash;
        nash.Table = request.Table;
        nash.ChipEv = request.ChipEv;
        nash.Bounty = request.Bounty;
        nash.Threads = cores;
        NashReply equilibrium;
        status = RunNashRequest(nash, progress, equilibrium);
        if (!status.Ok)
            return status.Message == Stopped().Message ? status : Failure("--ranges nash: " + status.Message);
        TakeNashRanges(equilibrium.Table, equilibrium.Answer, question);
        for (const std::string &line : equilibrium.Warnings)
            reply.Warnings.push_back("--ranges nash: the equilibrium " + line);
    }
    SpotSolver solver;
    status = solver.Open(field, valuation, request.ChipEv, question);
    if (!status.Ok)
        return status;
    reply.Question = question;
    reply.ChipEv = request.ChipEv;
    reply.Table = field.Table;
    reply.Bounty = field.Bounty;
    reply.TableSeats = solver.Book().TableSeats();
    reply.Positions = PositionNames(field.Table.Stacks, field.Table.Button);
    reply.OnlyClass = handClass;
    if (combo < 0)
        return solver.Solve(reply.Answer);
    status = solver.Explain(combo, reply.Breakdown);
    if (!status.Ok)
        return status;
    reply.OneHand = true;
    reply.Answer.Pool = solver.Book().Worth(request.ChipEv);
    reply.Answer.EvBefore = solver.Book().Before()[question.Hero];
    if (reply.Breakdown.Needed && HasBounties(field.Bounty))
    {
        status = NeededWithoutBounty(field, valuation, request.ChipEv, question, combo, reply.NeededWithoutBounty);
        if (!status.Ok)
            return status;
    }
    const cards::Combo two = cards::ComboCards(combo);
    reply.Hand = cards::FormatCards({two.High, two.Low});
    return Status();
}

} // namespace ostrel
