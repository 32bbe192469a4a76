/*
 * The proportional model of bounties: every player's share of the bounty
 * money still in play (on heads at this table and elsewhere) is his share of
 * the chips. The tournament's winner collects the bounty on his own head, so
 * all of it is paid in the end, and the chips say how much of it each player
 * can expect. Cost: O(seats). Accuracy: one division and one product a seat,
 * rounded once each.
 */
#ifndef OSTREL_MODEL_BOUNTY_EQUITY_H
#define OSTREL_MODEL_BOUNTY_EQUITY_H

#include "field.h"

namespace ostrel
{

// equity[seat] = Stacks[seat] / (all chips) * money, for field.Seats seats
// (the field's prizes are not read). Refuses money that is negative or not
// finite, and a field without chips while money is in play.
Status BountyEquity(const Field &field, double money, double *equity);

} // namespace ostrel

#endif
