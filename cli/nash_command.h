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

#include "table_options.h"

namespace ostrel
{

// Nash's own options as typed, judged when it runs.
struct NashCommandOptions
{
    TableOptions Table;
    std::string Tolerance;
    std::string MaxIterations = "100000";
    std::string Threads;
    std::string Draws = "2400";
    std::string Seed = "1";
    std::string Color = "auto";
    std::string Format = "table";
    std::string Show = "frequency"; // what the table's grids show: frequency or margin
    CLI::Option *ToleranceGiven = nullptr, *ThreadsGiven = nullptr;
};

CLI::App *AddNashCommand(CLI::App &app, NashCommandOptions &options);

// The answer in `text`, or an error for the one-line message. Warnings (the
// iterations ran out) go to `warning`.
Status RunNashCommand(NashCommandOptions &options, std::string &text, std::string &warning);

} // namespace ostrel

#endif
