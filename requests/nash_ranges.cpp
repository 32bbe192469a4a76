/*
 * The spot's ranges from the equilibrium, situation by situation. Cost:
 * one SolveNash of the table.
 */
#include "nash_ranges.h"

#include "equilibrium.h"

namespace ostrel
{

Status FillNashRanges(const HandField &field, const FieldEquity &valuation, bool chipEv, unsigned threads,
                      SpotQuestion &question)
{
    NashOptions options;
    options.Threads = threads;
    NashAnswer answer;
    const Status status = SolveNash(field, valuation, chipEv, options, answer);
    if (!status.Ok)
        return Failure("--ranges nash: " + status.Message);
    TakeNashRanges(field, answer, question);
    return Status();
}

} // namespace ostrel
