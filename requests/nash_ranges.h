/*
 * `spot --ranges nash`: the other players' ranges of a spot taken from the
 * push-or-fold equilibrium of the same table.
 */
#ifndef OSTREL_REQUESTS_NASH_RANGES_H
#define OSTREL_REQUESTS_NASH_RANGES_H

#include "spot.h"

namespace ostrel
{

/*
 * Solves the table's equilibrium (default tolerance and draws, `threads`)
 * and gives the spot the equilibrium's range for every situation of a seat
 * whose range by seat was not given: calling each shover's shove,
 * overcalling each shove and call, and shoving first in (the shover, or the
 * players after a hero who folds first in).
 */
Status FillNashRanges(const HandField &field, const FieldEquity &valuation, bool chipEv, unsigned threads,
                      SpotQuestion &question);

} // namespace ostrel

#endif
