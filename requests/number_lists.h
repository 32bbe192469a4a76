/*
 * The number lists a person types or keeps in a file: stacks (whole chip
 * counts, decimals such as 24.5 big blinds, or 2.45M) and prizes (amounts,
 * or percentages of a pool). Every item is judged; a rejected one is named
 * by its position and its text, never skipped.
 */
#ifndef OSTREL_REQUESTS_NUMBER_LISTS_H
#define OSTREL_REQUESTS_NUMBER_LISTS_H

#include <cstdint>
#include <string>
#include <vector>

#include "number_text.h"

namespace ostrel
{

// Stacks as read. Only proportions matter to the model, so decimal stacks are
// counted in units of 10^-Decimals: "24.5,30" is Chips {245, 300} with
// Decimals 1. Names holds one name per seat when a file names its players.
struct StackList
{
    std::vector<int64_t> Chips;
    int32_t Decimals = 0;
    std::vector<std::string> Names;
    std::vector<double> Bounties; // one per seat when a file gives them (seat,stack,bounty lines)
};

// Comma-separated stacks, blanks allowed around each; "k" and "M" multiply
// by 1000 and 1000000. Empty `error` on success.
StackList ReadStackList(const std::string &text, std::string &error);

// One seat per line: "stack", "seat,stack" (seats not listed are empty) or
// "name,stack", the same form on every line; blank lines and lines starting
// with '#' are skipped, and a rejected line is named by its number.
StackList ReadStackLines(const std::string &text, std::string &error);

// What is wrong with a player's name (blanks around it already taken off),
// as both a stacks file's name column and --names judge it: a control
// character, a quote or bytes that are not UTF-8, which no format could
// show as typed. The empty text for a name every format shows as it is.
std::string NameProblem(const std::string &name);

// Comma-separated player names, one per seat, blanks around each taken off:
// each judged by NameProblem, none empty, none given twice; a rejected one is
// named by its number. Empty `error` on success.
std::vector<std::string> ReadNameList(const std::string &text, std::string &error);

// The chip counts alone, as above.
std::vector<int64_t> ParseStackList(const std::string &text, std::string &error);
std::vector<int64_t> ParseStackLines(const std::string &text, std::string &error);

// One whole chip count alone ("1500", "2k"); what is wrong with it, or the
// empty text.
std::string ParseStack(const std::string &item, int64_t &stack);

// Comma-separated prizes: digits with at most one decimal point, 0 or more.
// With a `pool` (an amount's text; empty for none) every item is instead a
// percentage of it ("25%"), and together they make at most 100 %.
std::vector<double> ParsePrizeList(const std::string &text, std::string &error);
std::vector<double> ReadPrizeList(const std::string &text, const std::string &pool, std::string &error);

// Each item of such a list as the exact decimal it stands for, before it is
// converted to a double: "7500.50" is "7500.5", "25%" of 10000 is "2500".
std::vector<std::string> ReadPrizeDecimals(const std::string &text, const std::string &pool, std::string &error);

// A prizes file: comma-separated items on any number of lines, '#' starting
// a comment that runs to the end of its line; items named by line.
std::vector<double> ReadPrizeLines(const std::string &text, const std::string &pool, std::string &error);

// One amount alone; what is wrong with it, or the empty text.
std::string ParsePrize(const std::string &item, double &prize);

// A bounty (or the bounty money in play): an amount of 0 or more in the
// prize unit, read as a prize is, named as `what` in its messages.
std::string ParseBounty(const std::string &item, const char *what, double &amount);

// Comma-separated bounties, each judged by ParseBounty and named by its
// number. Empty `error` on success.
std::vector<double> ReadBountyList(const std::string &text, std::string &error);

} // namespace ostrel

#endif
