/*
 * The equal-stacks bubble factor where busting still pays. The window's
 * factor, $EV(1) / ($EV(2) - $EV(1)), counts a bust as losing all of $EV(1);
 * between real stacks a busted player takes the last place of the field as
 * it stood, which pays something when the field is not above the paid
 * places.
 */
#ifndef OSTREL_MODEL_EQUAL_STACKS_BUST_PAID_H
#define OSTREL_MODEL_EQUAL_STACKS_BUST_PAID_H

#include "equal_stacks.h"

namespace ostrel
{

// The prize a bust takes in a field of `players`: place `players`, or 0
// beyond the `paid` places of `prizes`.
double BustPrize(int64_t players, const double *prizes, size_t paid);

// ($EV(1) - BustPrize) / ($EV(2) - $EV(1)) from the window's two equities;
// the same value as the window's factor where the bust pays nothing. inf or
// NaN where nothing is gained, as the window's. Cost: O(1).
double EqualStacksFactorBustPaid(const EqualStacksBubble &bubble, int64_t players, const double *prizes,
                                 size_t paid);

} // namespace ostrel

#endif
