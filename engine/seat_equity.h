/*
 * Seat equity under the chip-proportional finishing-order model: each player
 * still in play takes the best open place with probability equal to his share
 * of the chips in play. The plain recursion defines every result to the bit;
 * fields beyond its call budget are computed by the subset method.
 */
#ifndef OSTREL_SEAT_EQUITY_H
#define OSTREL_SEAT_EQUITY_H

#include <cstdint>

#include "tournament_state.h"

// Calls of EquityRecurse a whole Calculate may cost and still be walked by the
// plain recursion: about 30 ms here (docs/performance.md). It keeps the full
// 10-seat layout (9,864,100 calls at most) exact to the bit.
constexpr uint64_t PlainCallBudget = 10000000;

// Money expectation of seat `seatIndex` (0-based) among the first PlayerCount
// seats; 0.0 for an index out of range or an empty seat. PlayerChips is the
// same after the call as before it. By the plain recursion while the whole
// field costs at most PlainCallBudget calls, else by the subset method.
double ComputeSeatEquity(uint32_t seatIndex);

// The same by the plain recursion alone, whatever it costs.
double PlainSeatEquity(uint32_t seatIndex);

// The recursion over finishing orders; reads the equity scratch.
double EquityRecurse(int32_t depth, int64_t chipsInPlay);

// Calls of EquityRecurse that one seat costs with `opponents` other seats in
// play: the sum of m!/(m-i)! for i = 0..min(m, paidPlaces - 1), saturating.
uint64_t PlainEquityCalls(int32_t opponents, int32_t paidPlaces);

// Calls of EquityRecurse the plain recursion would make for every shown seat
// of the current field together, saturating.
uint64_t PlainCalculateCalls();

// Whether the current field costs more than PlainCallBudget calls, so that
// Calculate takes the subset method.
bool FieldNeedsSubsets();

// The Calculate command's display: empties the result fields of the shown
// seats, then writes each seat's equity with three decimals, or nothing when
// it is not positive, seat by seat in order. Plain recursion while the whole
// Calculate costs at most PlainCallBudget calls, else the subset method.
void ShowSeatEquities(WindowHandle window);

#endif
