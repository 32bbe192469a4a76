/*
 * `equity` and `finish`: each seat's money expectation ($EV), or each
 * player's chance of finishing in each place, by the window's own
 * computation for the window's fields and the library's methods beyond.
 */
#ifndef OSTREL_REQUESTS_EQUITY_REQUEST_H
#define OSTREL_REQUESTS_EQUITY_REQUEST_H

#include <cstddef>
#include <string>

#include "bounty_input.h"
#include "field_answers.h"
#include "field_input.h"
#include "run_progress.h"

namespace ostrel
{

// Fields up to this many players (the finish table's --places too).
constexpr int64_t MaxPlayers = 1000000;

struct EquityRequest
{
    FieldInput Field;
    Method Using = Method::Automatic;
    unsigned Threads = 0;    // 0: one per core
    bool Finish = false;     // the finish table instead of the $EV
    size_t Places = 0;       // finish: places 1 to Places; 0: every place, or the paid ones above 100 players
    bool Separators = false; // money in tables grouped by thousands
    BountyInput Bounty;      // $EV: each seat's share of the bounty money besides (OnHead and Pool only)
};

Status CheckEquityRequest(const EquityRequest &request);

// Checks, estimates time and memory (the answer's text counted in it),
// refuses a run over the limits and computes; progress within the field.
Status RunEquityRequest(const EquityRequest &request, const RunProgress &progress, EquityAnswer &answer);

// The $EV table or the finish table, as the answer holds.
std::string WriteEquityAnswer(const EquityAnswer &answer, Format format);

} // namespace ostrel

#endif
