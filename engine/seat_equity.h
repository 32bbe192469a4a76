/*
 * Seat equity under the chip-proportional finishing-order model: each player
 * still in play takes the best open place with probability equal to his share
 * of the chips in play. The plain recursion defines every result to the bit.
 */
#ifndef OSTREL_SEAT_EQUITY_H
#define OSTREL_SEAT_EQUITY_H

#include <cstdint>

#include "tournament_state.h"

// Money expectation of seat `seatIndex` (0-based) among the first PlayerCount
// seats; 0.0 for an index out of range or an empty seat. PlayerChips is the
// same after the call as before it.
double ComputeSeatEquity(uint32_t seatIndex);

// The recursion over finishing orders; reads the equity scratch.
double EquityRecurse(int32_t depth, int64_t chipsInPlay);

// Calls of EquityRecurse that one seat costs with `opponents` other seats in
// play: the sum of m!/(m-i)! for i = 0..min(m, paidPlaces - 1), saturating.
uint64_t PlainEquityCalls(int32_t opponents, int32_t paidPlaces);

// The Calculate command's display: empties the result fields of the shown
// seats, then writes each seat's equity with three decimals, or nothing when
// it is not positive, seat by seat in order.
void ShowSeatEquities(WindowHandle window);

#endif
