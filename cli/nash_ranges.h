/*
 * `spot --ranges nash`: the other players' ranges of a spot taken from the
 * push-or-fold equilibrium of the same table.
 */
#ifndef OSTREL_CLI_NASH_RANGES_H
#define OSTREL_CLI_NASH_RANGES_H

#include "spot.h"

namespace ostrel
{

/*
 * Solves the table's equilibrium (default tolerance and draws, `threads`)
 * and gives every range the spot needs and was not given: the shover's
 * shoving range (facing a shove), each later player's range for calling
 * that shove, and his range for overcalling it, which the equilibrium keeps
 * by caller: those are averaged, each caller weighted by his chance to be
 * the one who called (his calling share, the players before him folding).
 */
Status FillNashRanges(const HandField &field, const FieldEquity &valuation, bool chipEv, unsigned threads,
                      SpotQuestion &question);

} // namespace ostrel

#endif
