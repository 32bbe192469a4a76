/*
 * The field every field question (equity, finish, deal, bubble) is asked
 * on, as already-read numbers, and what those questions share: the checks
 * of the field, the method `auto` takes, the seats as an answer shows them
 * and the warning of a rising ladder.
 */
#ifndef OSTREL_REQUESTS_FIELD_INPUT_H
#define OSTREL_REQUESTS_FIELD_INPUT_H

#include <cstdint>
#include <string>
#include <vector>

#include "bounty_input.h"
#include "field.h"
#include "field_answers.h"
#include "field_methods.h"

namespace ostrel
{

// Seats a field may have, empty or not.
constexpr size_t MaxSeats = 1000000;

// Stacks in units of 10^-StackDecimals (whole chips when 0); Names, when the
// player names are known, one per seat.
struct FieldInput
{
    std::vector<int64_t> Stacks;
    std::vector<double> Prizes;
    int32_t StackDecimals = 0;
    std::vector<std::string> Names;
    std::vector<double> Bounties; // one per seat when a stacks file gives them
    Field View() const;
};

// Refuses more than MaxSeats seats, a field with no player in play and what
// CheckField refuses (the chips' total, the prizes' sum).
Status CheckFieldInput(const FieldInput &input);

// The stacks and the prizes typed as lists (--stacks, --prizes; `pool`, the
// amount's text or empty, makes the prizes percentages of it), read into
// `input` and judged item by item in the command's words. The field as a
// whole is judged by CheckFieldInput.
Status ReadStacksTyped(const std::string &stacks, FieldInput &input);
Status ReadPrizesTyped(const std::string &prizes, const std::string &pool, FieldInput &input);

// The players' names typed as a list (--names), one per stack already read
// into `input`, in seat order: each judged as a stacks file's name column
// judges it, and their count against the stacks'. A name holding a comma
// cannot be typed so; a stacks file takes none either.
Status ReadNamesTyped(const std::string &names, FieldInput &input);

// Threads asked for (1 to 256; 0 for one per core of this machine), with
// --threads's message when out of range.
Status CheckThreads(unsigned threads);
unsigned ThreadsToUse(unsigned threads);

// The method a run takes: decimal stacks are no field of the window's, so
// `auto` then chooses as for any field beyond it.
Method MethodFor(Method asked, const FieldInput &input, bool finish);

// The seats as an answer shows them; money with the decimals the prizes
// have, at least 2.
SeatsShown SeatsOf(const FieldInput &input, bool separators);

// A ladder that rises from one place to the next is almost always typed in
// the wrong order; it is computed as given, with this warning (none when
// the ladder does not rise).
std::vector<std::string> RisingLadderWarnings(const std::vector<double> &prizes);

// Bounties on a whole field (`equity`, `deal`): one per seat, from the
// request or from the stacks file (not both), or all the bounty money in
// play; no other tables, no cash share, no chip rate. `refusing` names a
// command that takes no bounties (null: every command takes them).
Status CheckFieldBounties(const BountyInput &bounty, const FieldInput &input, const char *refusing);

// Each seat's bounty equity, by its chips (none without bounty money).
Status FieldBountyEquity(const BountyInput &bounty, const FieldInput &input, double &money,
                         std::vector<double> &equity);

} // namespace ostrel

#endif
