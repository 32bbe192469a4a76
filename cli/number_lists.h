/*
 * The number lists a person types or keeps in a file: stacks as whole chip
 * counts and prizes as amounts with a decimal point. Every item is judged;
 * a rejected one is named by its position and its text, never skipped.
 */
#ifndef OSTREL_CLI_NUMBER_LISTS_H
#define OSTREL_CLI_NUMBER_LISTS_H

#include <cstdint>
#include <string>
#include <vector>

namespace ostrel
{

// Comma-separated stacks, blanks allowed around each. Empty `error` on success.
std::vector<int64_t> ParseStackList(const std::string &text, std::string &error);

// One stack per line; blank lines and lines starting with '#' are skipped, and
// a rejected line is named by its number.
std::vector<int64_t> ParseStackLines(const std::string &text, std::string &error);

// Comma-separated prizes: digits with at most one decimal point, 0 or more.
std::vector<double> ParsePrizeList(const std::string &text, std::string &error);

// One item alone; what is wrong with it, or the empty text.
std::string ParseStack(const std::string &item, int64_t &stack);
std::string ParsePrize(const std::string &item, double &prize);

// The shortest text that reads back to the same double, as JSON and CSV
// write every number.
std::string ShortestText(double value);

} // namespace ostrel

#endif
