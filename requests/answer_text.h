/*
 * Small pieces of the poker questions' answers (`allin`, `spot`, `nash`):
 * numbers for people and for programs, and padded cells.
 */
#ifndef OSTREL_REQUESTS_ANSWER_TEXT_H
#define OSTREL_REQUESTS_ANSWER_TEXT_H

#include <cstddef>
#include <string>
#include <vector>

#include "bounties.h"

namespace ostrel
{

// `decimals` decimals; "-" for a value that is not finite.
std::string Fixed(double value, int decimals);

// With its sign ("+1.20", "-0.35"; "0.00" for what rounds to zero); "-"
// for a value that is not finite.
std::string Signed(double value, int decimals);

// The shortest text that reads back to the same double; null when not finite.
std::string JsonNumber(double value);

// `text` filled with blanks to `width`: on the left (right-aligned), or on
// the right with `left`.
std::string Padded(const std::string &text, size_t width, bool left = false);

// Rows of cells as columns two blanks apart, each as wide as its widest
// cell, right-aligned but for `leftColumns`; no blanks at line ends.
std::string Aligned(const std::vector<std::vector<std::string>> &rows,
                    const std::vector<size_t> &leftColumns);

// What a push-or-fold answer plays for, in words: "prize pool 100.00",
// "chip EV, 3000 chips in play", and the bounty money in play beside them;
// `worth` is the whole (the prizes or chips and the scaled bounty money).
std::string PoolWords(double worth, bool chipEv, const Bounties &bounties);

// What the answer's percentages are of: "prize pool", "chips", with the
// bounty money when it is in play.
std::string WorthName(bool chipEv, const Bounties &bounties);

} // namespace ostrel

#endif
