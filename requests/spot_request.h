/*
 * `spot`: one seat's push-or-fold decision under the finishing-order model
 * (or chip EV), over every starting hand, one class's row or one hand's
 * every outcome, on the pushfold library. The field is valued as `nash`
 * values it (the subsets up to 20 players, else `equity`'s choice), so that
 * the equilibrium `--ranges nash` takes is `nash`'s own.
 */
#ifndef OSTREL_REQUESTS_SPOT_REQUEST_H
#define OSTREL_REQUESTS_SPOT_REQUEST_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "answer_format.h"
#include "bounty_input.h"
#include "run_progress.h"
#include "spot.h"

namespace ostrel
{

struct SpotRequest
{
    HandField Table;   // stacks in whole chips, button, blinds, ante, other tables, prizes (none with ChipEv)
    bool ChipEv = false;
    BountyInput Bounty; // read into Table's bounties
    std::optional<std::string> Hero; // the seat deciding: its number or its position (BTN, SB, BB, UTG, ...)
    SpotAction Action = SpotAction::FirstIn;
    std::optional<std::string> Shover, Caller; // seats, with Call and Overcall, and with Overcall
    // SEAT=RANGE items, each seat once: the shover's range or a range for
    // calling a shove; ranges for overcalling; ranges for shoving after the
    // hero folds first in.
    std::vector<std::string> Ranges, Overcalls, Shoves;
    std::optional<uint64_t> Draws; // three-way showdowns per hand, 1 to 10^7 (default 6000)
    std::optional<uint64_t> Seed;  // of the draws (default 1)
    bool NashRanges = false;       // the ranges not given, from the table's equilibrium
    std::optional<std::string> Hand; // one hand (AhKd): its outcomes; or a class (AJo): its row
    unsigned Threads = 0;            // 0: one per core
};

struct SpotReply
{
    SpotQuestion Question;
    SpotAnswer Answer;        // every class; Pool and EvBefore also with one hand
    bool ChipEv = false;
    TableSetup Table;
    size_t TableSeats = 0;
    std::vector<std::string> Positions; // of every seat, for the answer's words
    int OnlyClass = -1;                 // a class asked for: its row alone
    bool OneHand = false;               // one hand asked for: Hand and Breakdown
    std::string Hand;
    HandBreakdown Breakdown;
    Bounties Bounty;                  // in play in the hand (none: as without bounties)
    double NeededWithoutBounty = 0.0; // facing a shove with bounties: the equity a call needs valued without them
    std::vector<std::string> Warnings; // with NashRanges: the equilibrium's rounds ran out before its tolerance
};

// The hero, the action's seats, the draws, the ranges and the hand, in the
// command's words.
Status CheckSpotRequest(const SpotRequest &request);

// Checks, values the field, takes the equilibrium's ranges where asked (the
// `nash` request of the same table: its checks, its progress, a stop asked
// through `progress`, its warnings) and solves the spot (or explains the one
// hand).
Status RunSpotRequest(const SpotRequest &request, const RunProgress &progress, SpotReply &reply);

// A grid and a list for people (coloured for a terminal with `color`), CSV
// and JSON for tools: the shortest text that reads back to the same double.
std::string WriteSpotReply(const SpotReply &reply, Format format, bool color = false);

} // namespace ostrel

#endif
