/*
 * The spot command: its options, and the table and question typed read
 * into the request (requests/spot_request.h), which judges, computes and
 * writes.
 */
#include "spot_command.h"

#include <thread>
#include <tuple>

#include "arguments.h"
#include "progress.h"
#include "spot_request.h"
#include "table_options.h"

namespace ostrel
{

CLI::App *AddSpotCommand(CLI::App &app, SpotOptions &options)
{
    CLI::App *spot = app.add_subcommand("spot", "Push or fold under ICM: one seat's decision over every hand");
    spot->footer("Examples:\n"
                 "  ostrel-icm spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 "
                 "--ante 25 --hero 2 --range 3=QQ+,AK\n"
                 "  ostrel-icm spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 "
                 "--hero 3 --action call --shover 2 --range 2=22+,A2+,K9+ --hand AhKd\n"
                 "  ostrel-icm spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 "
                 "--hero 1 --ranges nash\n"
                 "  ostrel-icm spot --stacks 25bb,15bb,10bb --prizes 50,30,20 --button 1 --blinds 0.5,1 --ante 0.125 "
                 "--hero BB --action call --shover BTN --range BTN=22+,A2+ --hand AJo\n");
    AddTableOptions(*spot, options.Table);
    options.HeroGiven = spot->add_option("--hero", options.Hero, "The seat deciding: its number or its position (BTN, SB, BB, UTG, HJ, CO, ...)")->option_text("SEAT");
    spot->add_option("--action", options.Action,
                     "first-in (shove or fold; the default), call (call a shove or fold) or overcall (call a shove "
                     "and a call, or fold)")
        ->option_text("NAME");
    options.ShoverGiven =
        spot->add_option("--shover", options.Shover, "With --action call or overcall: who shoved")->option_text("SEAT");
    options.CallerGiven =
        spot->add_option("--caller", options.Caller, "With --action overcall: who called the shove")->option_text("SEAT");
    spot->add_option("--range", options.Ranges,
                     "The shover's range, or a player's range for calling a shove (repeatable)")
        ->option_text("SEAT=RANGE");
    spot->add_option("--overcall", options.Overcalls,
                     "A player's range for calling after a shove and a call (repeatable)")
        ->option_text("SEAT=RANGE");
    spot->add_option("--shove", options.Shoves,
                     "First in: a later player's range for shoving when the hero folds; without it he folds "
                     "(repeatable)")
        ->option_text("SEAT=RANGE");
    options.DrawsGiven = spot->add_option("--draws", options.Draws,
                                          "Three-way showdowns drawn for each hand (default: 6000)")
                             ->option_text("N");
    options.SeedGiven = spot->add_option("--seed", options.Seed, "Seed of the three-way draws (default: 1)")
                            ->option_text("S");
    options.RangesGiven = spot->add_option("--ranges", options.RangesFrom,
                                           "nash: the ranges not given, from the table's push-or-fold equilibrium")
                              ->option_text("NAME");
    options.HandGiven = spot->add_option("--hand", options.Hand, "One hand, e.g. AhKd: every outcome of it; or a class, e.g. AJo: its row")->option_text("CARDS");
    spot->add_option("--color", options.Color, "Colour the grid: auto (on a terminal; the default), always or never")
        ->option_text("WHEN");
    spot->add_option("--format", options.Format, "Output: table (the default), csv or json")->option_text("NAME");
    const unsigned cores = std::thread::hardware_concurrency();
    options.Threads = cores == 0 ? 1 : cores;
    return spot;
}

Status RunSpotCommand(SpotOptions &options, std::string &text, std::string &warning)
{
    for (const auto &[option, value, choices] :
         {std::tuple<const char *, const std::string &, std::vector<std::string>>{"--action", options.Action,
                                                                                  {"first-in", "call", "overcall"}},
          {"--color", options.Color, {"auto", "always", "never"}},
          {"--format", options.Format, {"table", "csv", "json"}}})
    {
        const std::string problem = CheckChoice(option, value, choices);
        if (!problem.empty())
            return Failure(problem);
    }
    if (Given(options.RangesGiven))
    {
        const std::string problem = CheckChoice("--ranges", options.RangesFrom, {"nash"});
        if (!problem.empty())
            return Failure(problem);
    }
    SpotRequest request;
    if (Given(options.HeroGiven))
        request.Hero = options.Hero;
    Status status = request.Hero ? ReadTable(options.Table, request.Table, request.Bounty) : CheckSpotRequest(request);
    if (!status.Ok)
        return status;
    request.ChipEv = options.Table.ChipEv;
    request.Action = options.Action == "call"       ? SpotAction::Call
                     : options.Action == "overcall" ? SpotAction::Overcall
                                                    : SpotAction::FirstIn;
    if (Given(options.ShoverGiven))
        request.Shover = options.Shover;
    if (Given(options.CallerGiven))
        request.Caller = options.Caller;
    request.Ranges = options.Ranges;
    request.Overcalls = options.Overcalls;
    request.Shoves = options.Shoves;
    int64_t number = 0;
    std::string problem;
    if (Given(options.DrawsGiven))
        problem = ReadCount("--draws", options.Draws, 1, 10000000, "a number of showdowns", number);
    if (problem.empty() && Given(options.DrawsGiven))
        request.Draws = static_cast<uint64_t>(number);
    if (problem.empty() && Given(options.SeedGiven))
        problem = ReadCount("--seed", options.Seed, 0, INT64_MAX, "a seed", number);
    if (problem.empty() && Given(options.SeedGiven))
        request.Seed = static_cast<uint64_t>(number);
    if (!problem.empty())
        return Failure(problem);
    request.NashRanges = Given(options.RangesGiven);
    if (Given(options.HandGiven))
        request.Hand = options.Hand;
    request.Threads = options.Threads;
    SpotReply reply;
    ProgressDisplay display = StartProgress();
    status = RunSpotRequest(request, ProgressOn(display), reply);
    EndProgress(display);
    if (!status.Ok)
        return status;
    for (const std::string &line : reply.Warnings)
        warning += "ostrel-icm: warning: " + line + "\n";
    const bool color = options.Color == "always" || (options.Color == "auto" && IsTerminal(stdout));
    Format format = Format::Table;
    FormatNamed(options.Format, format); // judged above
    text = WriteSpotReply(reply, format, color);
    return Status();
}

} // namespace ostrel
