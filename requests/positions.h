/*
 * Seats by their positions, as players name them at the table's size:
 * counted from the button over the seats in play, the button BTN, then SB
 * and BB; the first to act is UTG, and the seats just before the button are,
 * going back, CO, HJ and LJ; any left between UTG and LJ are UTG1, UTG2, ...
 *
 *   heads-up  BTN (the button posts the small blind; SB names it too), BB
 *   3         BTN SB BB
 *   4         UTG BTN SB BB
 *   5         UTG CO BTN SB BB
 *   6         UTG HJ CO BTN SB BB
 *   7         UTG LJ HJ CO BTN SB BB
 *   8         UTG UTG1 LJ HJ CO BTN SB BB
 *   9         UTG UTG1 UTG2 LJ HJ CO BTN SB BB
 *   10        UTG UTG1 UTG2 UTG3 LJ HJ CO BTN SB BB
 */
#ifndef OSTREL_REQUESTS_POSITIONS_H
#define OSTREL_REQUESTS_POSITIONS_H

#include <cstdint>
#include <string>
#include <vector>

#include "field.h"

namespace ostrel
{

// Each seat's position, "" for an empty seat; every seat "" when the button
// is not on a seat in play.
std::vector<std::string> PositionNames(const std::vector<int64_t> &stacks, size_t button);

// A seat as typed after `option`: its number (1 to positions.size()) or its
// position (any case, "UTG+1" for UTG1), as an index from 0. Positions may
// all be "" (the button's own seat, read before positions exist).
Status ParseSeat(const std::string &option, const std::string &text, const std::vector<std::string> &positions,
                 size_t &seat);

// "2 (SB)" for an answer's words; the number alone where the seat has none.
std::string SeatText(size_t seat, const std::vector<std::string> &positions);

} // namespace ostrel

#endif
