/*
 * Seat equity of every seat at once by a forward pass over the sets of
 * players that can fill the top places. It evaluates the same model as the
 * plain recursion in about 2^n * n steps for n players in play, so it serves
 * the fields whose finishing orders are too many to walk one by one.
 */
#ifndef OSTREL_SUBSET_EQUITY_H
#define OSTREL_SUBSET_EQUITY_H

#include "tournament_state.h"

// Writes the equity of seat i of the shown seats into equities[i], 0.0 for an
// empty seat and for every slot beyond PlayerCount. Reads PlayerChips,
// PlayerCount, Payouts and PaidPlaces; writes nothing else. The results agree
// with the plain recursion to within a few units in the last place; the heap
// holds 2^n doubles (2 MiB for 18 players) for the length of the call.
void ComputeEquitiesBySubsets(double equities[SeatCount]);

#endif
