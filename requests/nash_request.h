/*
 * `nash`: the push-or-fold equilibrium of a table under the finishing-order
 * model (or chip EV), on the pushfold library: every seat's shoving,
 * calling and overcalling frequencies by hand class. The field is valued by
 * the subset method up to 20 players (exact to rounding, no window bits
 * needed), else by `equity`'s choice.
 */
#ifndef OSTREL_REQUESTS_NASH_REQUEST_H
#define OSTREL_REQUESTS_NASH_REQUEST_H

#include <cstdint>
#include <string>
#include <vector>

#include "answer_format.h"
#include "bounty_input.h"
#include "equilibrium.h"
#include "field_methods.h"
#include "run_progress.h"

namespace ostrel
{

// A round costs the fourth power of the players: ten take half a minute.
constexpr size_t NashMostPlayers = 10;
constexpr int64_t NashMostIterations = 1000000000;
constexpr int64_t NashMostDraws = 1000000;

struct NashRequest
{
    HandField Table; // stacks in whole chips, button, blinds, ante, other tables, prizes (none with ChipEv)
    bool ChipEv = false;
    BountyInput Bounty; // read into Table's bounties
    double Tolerance = 0.0;          // above 0; 0: 0.01% of the prize pool, or 0.01 big blind with ChipEv
    uint64_t MaxIterations = 100000; // 1 to 10^9
    unsigned Threads = 0;            // 1 to 256; 0: one per core. The answer is the same for any
    uint32_t Draws = 2400;           // three-way showdowns per hand class, 1 to 10^6
    uint64_t Seed = 1;               // of the drawn showdowns
};

struct NashReply
{
    NashAnswer Answer;
    HandField Table;
    bool ChipEv = false;
    std::vector<std::string> Warnings; // the rounds ran out before the tolerance
};

// A tolerance as typed after --tolerance: a decimal number above 0 ("0.05",
// "1e-6"), or the command's message.
Status ReadTolerance(const std::string &text, double &tolerance);

// The options' ranges, the players at the table and the estimated time
// (refused over 10 minutes, naming the draws that fit), in the command's words.
Status CheckNashRequest(const NashRequest &request);

// How a hand's outcomes at `table` are valued, by `spot` as by `nash`: they
// need no window bits, so up to 20 players in the field the subsets, exact
// to rounding and the fastest (a ten-player table's outcomes by the
// window's recursion take tens of seconds); beyond, `equity`'s choice.
FieldEquity OutcomeValuation(const HandField &table, const RunOptions &run, MethodLog &log);

// Checks and solves; after each round `progress.Rounds` hears of it.
Status RunNashRequest(const NashRequest &request, const RunProgress &progress, NashReply &reply);

// Ranges and grids for people (`color` for a terminal; `margin`: the grids
// show the margin of playing over folding instead of the frequency), CSV
// and JSON for tools, an SVG picture of the grids.
std::string WriteNashReply(const NashReply &reply, Format format, bool color = false, bool margin = false);

} // namespace ostrel

#endif
