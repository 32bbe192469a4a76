/*
 * The spot's ranges from the equilibrium. Cost: one SolveNash of the table.
 */
#include "nash_ranges.h"

#include "equilibrium.h"

namespace ostrel
{
namespace
{

const NashDecision *Find(const NashAnswer &answer, size_t seat, NashAction action, std::vector<size_t> versus)
{
    for (const NashDecision &d : answer.Decisions)
        if (d.Seat == seat && d.Action == action && d.Versus == versus)
            return &d;
    return nullptr;
}

cards::Range RangeOf(const std::array<double, cards::ClassCount> &frequency)
{
    cards::Range range;
    for (int c = 0; c < cards::ClassCount; ++c)
        cards::SetClass(range, c, frequency[static_cast<size_t>(c)]);
    return range;
}

} // namespace

Status FillNashRanges(const HandField &field, const FieldEquity &valuation, bool chipEv, unsigned threads,
                      SpotQuestion &question)
{
    NashOptions options;
    options.Threads = threads;
    NashAnswer answer;
    const Status status = SolveNash(field, valuation, chipEv, options, answer);
    if (!status.Ok)
        return Failure("--ranges nash: " + status.Message);
    const size_t seats = field.Table.Stacks.size();
    question.Ranges.resize(seats);
    question.Overcalls.resize(seats);
    const bool call = question.Action == SpotAction::Call;
    const size_t shover = call ? question.Shover : question.Hero;
    const std::vector<size_t> &order = answer.Order;
    size_t heroAt = order.size(), shoverAt = order.size();
    for (size_t i = 0; i < order.size(); ++i)
    {
        heroAt = order[i] == question.Hero ? i : heroAt;
        shoverAt = order[i] == shover ? i : shoverAt;
    }
    if (heroAt == order.size() || shoverAt == order.size())
        return Status(); // the spot names what is wrong with the seats
    if (call && !question.Ranges[shover])
        if (const NashDecision *d = Find(answer, shover, NashAction::Shove, {}))
            question.Ranges[shover] = RangeOf(d->Frequency);
    for (size_t t = heroAt + 1; t < order.size(); ++t)
    {
        const size_t seat = order[t];
        if (!question.Ranges[seat])
            if (const NashDecision *d = Find(answer, seat, NashAction::Call, {shover}))
                question.Ranges[seat] = RangeOf(d->Frequency);
        if (question.Overcalls[seat] || !(call || t > heroAt + 1))
            continue;
        // Overcalls by caller, each weighted by the chance he is the caller.
        std::array<double, cards::ClassCount> mixed{};
        double total = 0.0, nobodyYet = 1.0;
        for (size_t c = shoverAt + 1; c < t; ++c)
        {
            const NashDecision *calls = Find(answer, order[c], NashAction::Call, {shover});
            const NashDecision *over = Find(answer, seat, NashAction::Overcall, {shover, order[c]});
            if (calls == nullptr || over == nullptr)
                continue;
            const double weight = nobodyYet * calls->Share;
            nobodyYet *= 1.0 - calls->Share;
            total += weight;
            for (size_t k = 0; k < mixed.size(); ++k)
                mixed[k] += weight * over->Frequency[k];
        }
        if (total > 0.0)
            for (double &f : mixed)
                f /= total;
        question.Overcalls[seat] = RangeOf(mixed);
    }
    return Status();
}

} // namespace ostrel
