/*
 * `ostrel-icm spot`: one seat's push-or-fold decision under the
 * finishing-order model, over every starting hand or for one hand, on the
 * pushfold library. Registered on the main command by one call; its answer
 * is the whole text or an error, never half of one.
 */
#ifndef OSTREL_CLI_SPOT_COMMAND_H
#define OSTREL_CLI_SPOT_COMMAND_H

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

#include "table_options.h"

namespace ostrel
{

struct SpotOptions
{
    TableOptions Table;
    std::string Hero, Action = "first-in", Shover, Caller;
    std::vector<std::string> Ranges, Overcalls, Shoves;
    std::string Draws, Seed;
    CLI::Option *CallerGiven = nullptr, *DrawsGiven = nullptr, *SeedGiven = nullptr;
    std::string Hand;
    std::string Color = "auto";
    std::string Format = "table";
    unsigned Threads = 1;
    CLI::Option *HeroGiven = nullptr, *ShoverGiven = nullptr, *HandGiven = nullptr;
    std::string RangesFrom; // "nash": the others' ranges from the equilibrium
    CLI::Option *RangesGiven = nullptr;
};

CLI::App *AddSpotCommand(CLI::App &app, SpotOptions &options);

// The answer in `text` and any warnings' lines in `warning` (with --ranges
// nash, an equilibrium that stopped above its tolerance), or an error for
// the one-line message. With --ranges nash the equilibrium's rounds show on
// a terminal as nash shows them.
Status RunSpotCommand(SpotOptions &options, std::string &text, std::string &warning);

} // namespace ostrel

#endif
