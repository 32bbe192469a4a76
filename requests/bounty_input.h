/*
 * Bounties as a question gives them: the bounty on each seat's head, those
 * at other tables or all the bounty money in play, the share paid in cash,
 * and for chip EV the chips a unit of bounty money is worth. Judged here
 * with the options' names, so that every front end refuses them in the
 * command's words; then read into the push/fold library's Bounties.
 */
#ifndef OSTREL_REQUESTS_BOUNTY_INPUT_H
#define OSTREL_REQUESTS_BOUNTY_INPUT_H

#include <optional>
#include <string>
#include <vector>

#include "bounties.h"

namespace ostrel
{

struct BountyInput
{
    std::vector<double> OnHead;         // by seat, in the prize unit; empty: no bounties
    std::vector<double> Others;         // on the heads of the players at other tables
    std::optional<double> Pool;         // all bounty money in play, this table's included
    double Share = 1.0;                 // paid in cash: 1 a knockout, 0.5 a progressive knockout
    std::optional<double> ChipsPerUnit; // with chip EV: the chips one unit of bounty money is worth
};

// The bounty options as typed (--bounties, --others-bounties, --bounty-pool,
// --bounty-share, --chips-per-unit), each empty when not given.
struct BountyTyped
{
    std::optional<std::string> OnHead, Others, Pool, Share, ChipsPerUnit;
};

// Reads the options given, in that order, each amount judged in the
// command's words; the rest of the input is left to CheckBountyInput. The
// options not given keep BountyInput's defaults.
Status ReadBountyTyped(const BountyTyped &typed, BountyInput &input);

// Whether any bounty money is in play (none: every answer is as without
// bounties).
bool BountyMoneyInPlay(const BountyInput &input);

// All bounty money in play: the pool when given, else every bounty on a
// head here and at other tables.
double BountyMoney(const BountyInput &input);

/*
 * Refuses a count of bounties that is not `seats` (nor `others` for the
 * other tables), an amount that is negative or not finite, both the other
 * tables' bounties and a pool, players at other tables with bounties here
 * and neither, a pool below the bounties it holds, a share outside [0, 1],
 * and with chip EV bounty money without a rate (or a rate without chip EV,
 * or one that is not finite and above 0).
 */
Status CheckBountyInput(const BountyInput &input, size_t seats, size_t others, bool chipEv);

// The library's bounties of a table (nothing in play when none is given).
Bounties BountiesOf(const BountyInput &input, bool chipEv);

} // namespace ostrel

#endif
