/*
 * The bubble factor of an all-in in a field of equal stacks: what busting
 * costs ($EV(1)) against what doubling up gains ($EV(2) - $EV(1)), under the
 * same finishing-order model and payout ladder as the seat equity.
 */
#ifndef OSTREL_BUBBLE_FACTOR_H
#define OSTREL_BUBBLE_FACTOR_H

#include <cstdint>

#include "tournament_state.h"

// Hero's expected prize with `stacks` stacks of InitChips among `chipsInPlay`
// chips, `depth` places already taken by opponents.
double BubbleEquityRecurse(int32_t chipsInPlay, int32_t stacks, int32_t depth);

// Empties the three result fields of the bubble dialog, then writes $EV(1),
// $EV(2) and the bubble factor with four decimals, each as soon as known.
void ComputeBubbleFactor(WindowHandle dialog);

#endif
