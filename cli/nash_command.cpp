/*
 * The nash command: its options, and the table and options typed read into
 * the request (requests/nash_request.h), which judges, solves and writes;
 * the rounds shown on a terminal.
 */
#include "nash_command.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <thread>
#include <tuple>
#include <vector>

#include "arguments.h"
#include "nash_request.h"
#include "progress.h"
#include "table_options.h"

namespace ostrel
{
namespace
{

// The options of nash's own, judged in its words.
Status ReadNashOptions(const NashCommandOptions &options, NashRequest &nash)
{
    for (const auto &[option, value, choices] :
         {std::tuple<const char *, const std::string &, std::vector<std::string>>{"--color", options.Color,
                                                                                  {"auto", "always", "never"}},
          {"--format", options.Format, {"table", "csv", "json", "svg"}},
          {"--show", options.Show, {"frequency", "margin"}}})
    {
        const std::string problem = CheckChoice(option, value, choices);
        if (!problem.empty())
            return Failure(problem);
    }
    int64_t count = 0;
    std::string problem = ReadCount("--max-iterations", options.MaxIterations, 1, NashMostIterations,
                                    "a number of iterations", count);
    if (!problem.empty())
        return Failure(problem);
    nash.MaxIterations = static_cast<uint64_t>(count);
    problem = ReadCount("--draws", options.Draws, 1, NashMostDraws, "a number of showdowns", count);
    if (!problem.empty())
        return Failure(problem);
    nash.Draws = static_cast<uint32_t>(count);
    problem = ReadCount("--seed", options.Seed, 0, std::numeric_limits<int64_t>::max(), "a seed", count);
    if (!problem.empty())
        return Failure(problem);
    nash.Seed = static_cast<uint64_t>(count);
    if (Given(options.ThreadsGiven))
    {
        problem = ReadCount("--threads", options.Threads, 1, 256, "a thread count", count);
        if (!problem.empty())
            return Failure(problem);
        nash.Threads = static_cast<unsigned>(count);
    }
    return Given(options.ToleranceGiven) ? ReadTolerance(options.Tolerance, nash.Tolerance) : Status();
}

} // namespace

CLI::App *AddNashCommand(CLI::App &app, NashCommandOptions &options)
{
    CLI::App *nash = app.add_subcommand("nash", "Push or fold equilibrium of a table under ICM");
    nash->footer("Examples:\n"
                 "  ostrel-icm nash --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25\n"
                 "  ostrel-icm nash --stacks 1000,1000 --chip-ev --button 1 --blinds 50,100 --format svg\n");
    AddTableOptions(*nash, options.Table);
    options.ToleranceGiven =
        nash->add_option("--tolerance", options.Tolerance,
                         "Stop when no player gains more than this (default: 0.01% of the prize pool; with "
                         "--chip-ev 0.01 big blind)")
            ->option_text("AMOUNT");
    nash->add_option("--max-iterations", options.MaxIterations,
                     "Stop after this many iterations, 1 to 1000000000 (default: 100000)")
        ->option_text("N");
    const unsigned cores = std::thread::hardware_concurrency();
    options.ThreadsGiven =
        nash->add_option("--threads", options.Threads,
                         "Threads, 1 to 256 (default: the cores, " + std::to_string(cores == 0 ? 1 : cores) +
                             " here); the answer is the same for any")
            ->option_text("N");
    nash->add_option("--draws", options.Draws,
                     "Three-way showdowns drawn for each hand class, 1 to 1000000 (default: 2400); the overcalls "
                     "draw a quarter as many from the ranges")
        ->option_text("N");
    nash->add_option("--seed", options.Seed, "Seed of the drawn showdowns (default: 1)")->option_text("N");
    nash->add_option("--color", options.Color, "Colour the grids: auto (on a terminal; the default), always or never")
        ->option_text("WHEN");
    nash->add_option("--format", options.Format, "Output: table (the default), csv, json or svg")->option_text("NAME");
    nash->add_option("--show", options.Show,
                     "The table's grids: frequency (in %, the default) or margin (play less fold, in % of the "
                     "pool)")
        ->option_text("WHAT");
    return nash;
}

Status RunNashCommand(NashCommandOptions &options, std::string &text, std::string &warning)
{
    NashRequest request;
    Status status = ReadNashOptions(options, request);
    if (!status.Ok)
        return status;
    status = ReadTable(options.Table, request.Table, request.Bounty);
    if (!status.Ok)
        return status;
    request.ChipEv = options.Table.ChipEv;
    ProgressDisplay display = StartProgress();
    NashReply reply;
    status = RunNashRequest(request, ProgressOn(display), reply);
    EndProgress(display);
    if (!status.Ok)
        return status;
    for (const std::string &line : reply.Warnings)
        warning += "ostrel-icm: warning: " + line + "\n";
    const bool color = options.Color == "always" || (options.Color == "auto" && IsTerminal(stdout));
    Format format = Format::Table;
    FormatNamed(options.Format, format); // judged above
    text = WriteNashReply(reply, format, color, options.Show == "margin");
    return Status();
}

} // namespace ostrel
