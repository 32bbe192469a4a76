/*
 * Where a field comes from: typed lists, a stacks file, the window's payout
 * structure file or its settings file. Exactly one source for the stacks and
 * one for the prizes.
 */
#ifndef OSTREL_CLI_COMMAND_INPUT_H
#define OSTREL_CLI_COMMAND_INPUT_H

#include <cstdint>
#include <string>
#include <vector>

#include "field.h"
#include "field_input.h"

namespace ostrel
{

// The most bytes read from a stacks file (a million seats of 10^15 chips take
// 17 MB) and from the window's payout structure and settings files.
constexpr size_t MaxStacksFileBytes = size_t{64} << 20;
constexpr size_t MaxWindowFileBytes = size_t{1} << 20;

// --names's help, for every command that takes --stacks.
constexpr const char *NamesHelp =
    "The players' names, one per seat, comma-separated, with --stacks (no comma in a name)";

// Each text is used when its flag says the option was given. Pool, when
// given, makes every prize a percentage of it.
struct InputOptions
{
    std::string Stacks, StacksFile, Prizes, PayoutFile, SettingsFile, PrizesFile, Pool, Names;
    bool HasStacks = false, HasStacksFile = false, HasPrizes = false, HasPayoutFile = false,
         HasSettingsFile = false, HasPrizesFile = false, HasPool = false, HasNames = false;
};

// Refuses two sources for one input, none, an empty list, names (--names)
// without typed stacks, and then what CheckFieldInput refuses.
Status ReadFieldInput(const InputOptions &options, FieldInput &input);

// The prizes alone, from --prizes or --pos, for questions that take no
// stacks; refuses two sources or none as ReadFieldInput does.
Status ReadPrizeInput(const InputOptions &options, std::vector<double> &prizes);

// The whole of a file, or of standard input for "-", refused past `limit`
// bytes with the limit named. A UTF-8 byte-order mark at its start is left out.
Status ReadWholeFile(const std::string &path, size_t limit, std::string &bytes);

} // namespace ostrel

#endif
