/*
 * `ostrel-icm nash`: the push-or-fold equilibrium of a table under the
 * finishing-order model (or chip EV), on the pushfold library: every seat's
 * shoving, calling and overcalling frequencies by hand class, as grids and
 * ranges for people, JSON for tools and an SVG picture of the grids.
 */
#ifndef OSTREL_CLI_NASH_COMMAND_H
#define OSTREL_CLI_NASH_COMMAND_H

#include <CLI/CLI.hpp>

#include <string>

#include "command_input.h"
#include "field.h"

namespace ostrel
{

struct HandField;

struct NashCommandOptions
{
    InputOptions Input;
    std::string Others, OthersFile;
    std::string Button, Blinds, Ante, BigBlindAnte;
    bool ChipEv = false;
    double Tolerance = 0.0;
    uint64_t MaxIterations = 100000;
    unsigned Threads = 1;
    std::string Color = "auto";
    std::string Format = "table";
    CLI::Option *Given[11] = {};
};

CLI::App *AddNashCommand(CLI::App &app, NashCommandOptions &options);

// The answer in `text`, or an error for the one-line message. Warnings (the
// iterations ran out) go to `warning`.
Status RunNashCommand(NashCommandOptions &options, std::string &text, std::string &warning);

} // namespace ostrel

#endif
