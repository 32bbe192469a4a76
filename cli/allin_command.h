/*
 * `ostrel-icm allin`: all-in equity of 2 to 6 ranges with an optional board
 * and dead cards, over the cards library. Registered on the main command by
 * one call; its answer is the whole text or an error, never half of one.
 */
#ifndef OSTREL_CLI_ALLIN_COMMAND_H
#define OSTREL_CLI_ALLIN_COMMAND_H

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>
#include <vector>

#include "allin_request.h"

namespace ostrel
{

struct AllinOptions
{
    std::vector<std::string> Ranges;
    std::string Board;
    std::string Dead;
    bool Exact = false;
    std::string Samples;
    std::string Seed;
    std::string Format = "table";
    CLI::Option *SamplesGiven = nullptr;
    CLI::Option *SeedGiven = nullptr;
};

CLI::App *AddAllinCommand(CLI::App &app, AllinOptions &options);

// The answer in `text`, or an error for the one-line message.
Status RunAllinCommand(const AllinOptions &options, std::string &text);

} // namespace ostrel

#endif
