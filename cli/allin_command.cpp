/*
 * The allin command: its options, and the words typed read into the
 * request (requests/allin_request.h), which judges, computes and writes.
 */
#include "allin_command.h"

#include <algorithm>
#include <cstdint>

#include "arguments.h"

namespace ostrel
{
namespace
{

// The players' ranges as typed: each word, or the parts of a word on either
// side of a "vs" ("AKo vs 22" as one quoted word, or vs as a word between).
std::vector<std::string> SplitAtVersus(const std::vector<std::string> &words)
{
    std::vector<std::string> ranges;
    for (const std::string &word : words)
    {
        const std::string padded = " " + word + " ";
        if (padded.find(" vs ") == std::string::npos && padded.find(" VS ") == std::string::npos &&
            padded.find(" Vs ") == std::string::npos)
        {
            ranges.push_back(word); // as typed, blanks and all
            continue;
        }
        std::string part;
        size_t at = 0;
        while (at <= word.size())
        {
            const size_t blank = std::min(word.find_first_of(" \t", at), word.size());
            const std::string token = word.substr(at, blank - at);
            if (token == "vs" || token == "VS" || token == "Vs")
            {
                if (!part.empty())
                    ranges.push_back(part);
                part.clear();
            }
            else if (!token.empty())
                part += (part.empty() ? "" : " ") + token;
            at = blank + 1;
        }
        if (!part.empty())
            ranges.push_back(part);
    }
    return ranges;
}

} // namespace

CLI::App *AddAllinCommand(CLI::App &app, AllinOptions &options)
{
    CLI::App *command =
        app.add_subcommand("allin", "All-in equity of 2 to 6 hands or ranges, with an optional board and dead cards");
    command->footer("Examples:\n"
                    "  ostrel-icm allin AdAc KhKs\n"
                    "  ostrel-icm allin AA KK\n"
                    "  ostrel-icm allin \"22+, A2s+, KTs+, AJo+\" 15% --format json\n"
                    "  ostrel-icm allin AhKh QQ+ JTs --board Qs9h2c --dead 3d\n"
                    "  ostrel-icm allin random random random --samples 1000000 --seed 7\n");
    command->add_option("ranges", options.Ranges,
                        "Each player's hand or range, e.g. AdAc, TT+, \"AKs, AQo:0.5\", random, 15%")
        ->option_text("RANGE RANGE [RANGE ...]");
    command->add_option("--board", options.Board, "0, 3, 4 or 5 board cards, e.g. Qs9h2c")->option_text("CARDS");
    command->add_option("--dead", options.Dead, "Cards out of play, e.g. 3d7c")->option_text("CARDS");
    command->add_flag("--exact", options.Exact, "Enumerate every board (an error when it would take too long)");
    options.SamplesGiven =
        command->add_option("--samples", options.Samples, "Monte Carlo with N showdowns, 2 to 10^10")
            ->option_text("N");
    options.SeedGiven = command->add_option("--seed", options.Seed, "Seed of the Monte Carlo draws (default: 1)")
                            ->option_text("S");
    command->add_option("--format", options.Format, "Output: table (the default), csv or json")
        ->option_text("NAME");
    return command;
}

Status RunAllinCommand(const AllinOptions &options, std::string &text)
{
    const std::string formatProblem = CheckChoice("--format", options.Format, {"table", "csv", "json"});
    if (!formatProblem.empty())
        return Failure(formatProblem);
    AllinRequest request;
    request.Exact = options.Exact;
    // What was given judged first, with stand-ins for the numbers not yet read.
    const bool sampled = options.SamplesGiven->count() > 0;
    request.Samples = sampled ? cards::MinSamples : 0;
    if (options.SeedGiven->count() > 0)
        request.Seed = 1;
    Status status = CheckAllinSampling(request);
    int64_t number = 0;
    if (status.Ok && sampled)
    {
        const std::string problem =
            ReadCount("--samples", options.Samples, 1, 10000000000, "a number of showdowns", number);
        request.Samples = static_cast<uint64_t>(number);
        status = problem.empty() ? CheckAllinSampling(request) : Failure(problem);
    }
    if (status.Ok && options.SeedGiven->count() > 0)
    {
        const std::string problem = ReadCount("--seed", options.Seed, 0, INT64_MAX, "a seed", number);
        request.Seed = static_cast<uint64_t>(number);
        status = problem.empty() ? Status() : Failure(problem);
    }
    if (!status.Ok)
        return status;
    request.Ranges = SplitAtVersus(options.Ranges);
    request.Board = options.Board;
    request.Dead = options.Dead;
    AllinAnswer answer;
    status = RunAllinRequest(request, answer);
    Format format = Format::Table;
    FormatNamed(options.Format, format); // judged above
    if (status.Ok)
        text = WriteAllinAnswer(answer, format);
    return status;
}

} // namespace ostrel
