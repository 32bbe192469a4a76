/*
 * The allin command: its options, the reading of ranges and cards, and its
 * three formats. Fractions for programs are the shortest text that reads
 * back to the same double; the table shows percentages to 3 decimals.
 */
#include "allin_command.h"

#include <algorithm>
#include <cstdint>

#include <cstdio>

#include "answer_text.h"
#include "arguments.h"
#include "number_lists.h"

namespace ostrel
{
namespace
{

std::string Percent(double fraction)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3f%%", fraction * 100.0);
    return text;
}

std::string JsonString(const std::string &text)
{
    std::string quoted = "\"";
    for (char c : text)
    {
        if (c == '"' || c == '\\')
            quoted += std::string("\\") + c;
        else if (static_cast<unsigned char>(c) < 0x20)
        {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
            quoted += escaped;
        }
        else
            quoted += c;
    }
    return quoted + "\"";
}

// A field with a comma or a quote is quoted, its quotes doubled.
std::string CsvField(const std::string &text)
{
    if (text.find_first_of(",\"\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string Table(const AllinReport &report)
{
    std::vector<std::vector<std::string>> rows = {{"player", "range", "combos", "equity", "win", "tie"}};
    for (size_t p = 0; p < report.Result.Players.size(); ++p)
    {
        const cards::PlayerEquity &player = report.Result.Players[p];
        rows.push_back({std::to_string(p + 1), report.Ranges[p], std::to_string(player.Combos), Percent(player.Equity),
                        Percent(player.Win), Percent(player.Tie)});
    }
    std::string text = Aligned(rows, {1});
    const cards::EquityResult &result = report.Result;
    if (result.Exact)
        text += "Exact: every board, " + std::to_string(result.Boards) + " for each deal of hole cards\n";
    else
        text += "Sampled: " + std::to_string(result.Samples) + " showdowns (seed " + std::to_string(report.Seed) +
                "), standard error " + Percent(result.StandardError) + "\n";
    return text;
}

std::string Csv(const AllinReport &report)
{
    std::string text = "player,range,combos,equity,win,tie\n";
    for (size_t p = 0; p < report.Result.Players.size(); ++p)
    {
        const cards::PlayerEquity &player = report.Result.Players[p];
        text += std::to_string(p + 1) + "," + CsvField(report.Ranges[p]) + "," + std::to_string(player.Combos) + "," +
                ShortestText(player.Equity) + "," + ShortestText(player.Win) + "," + ShortestText(player.Tie) + "\n";
    }
    return text;
}

std::string Json(const AllinReport &report)
{
    const cards::EquityResult &result = report.Result;
    std::string text = result.Exact ? "{\"exact\": true, \"boards\": " + std::to_string(result.Boards)
                                    : "{\"exact\": false, \"samples\": " + std::to_string(result.Samples) +
                                          ", \"standard_error\": " + ShortestText(result.StandardError);
    text += ", \"players\": [";
    for (size_t p = 0; p < result.Players.size(); ++p)
    {
        const cards::PlayerEquity &player = result.Players[p];
        text += (p == 0 ? "" : ", ") + std::string("{\"range\": ") + JsonString(report.Ranges[p]) +
                ", \"combos\": " + std::to_string(player.Combos) + ", \"equity\": " + ShortestText(player.Equity) +
                ", \"win\": " + ShortestText(player.Win) + ", \"tie\": " + ShortestText(player.Tie) + "}";
    }
    return text + "]}\n";
}

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
    const std::string format = CheckChoice("--format", options.Format, {"table", "csv", "json"});
    if (!format.empty())
        return Failure(format);
    const bool sampled = options.SamplesGiven->count() > 0;
    if (options.Exact && sampled)
        return Failure("--exact enumerates every board and --samples draws some: give one of them");
    if (options.SeedGiven->count() > 0 && !sampled)
        return Failure("--seed goes with --samples N");
    int64_t samples = 0;
    int64_t seed = 1;
    std::string problem;
    if (sampled)
        problem = ReadCount("--samples", options.Samples, 1, 10000000000, "a number of showdowns", samples);
    if (problem.empty() && sampled && samples < static_cast<int64_t>(cards::MinSamples))
        problem = "--samples " + options.Samples +
                  ": one showdown gives no estimate of the standard error; give at least 2";
    if (problem.empty() && options.SeedGiven->count() > 0)
        problem = ReadCount("--seed", options.Seed, 0, INT64_MAX, "a seed", seed);
    if (!problem.empty())
        return Failure(problem);
    const std::vector<std::string> ranges = SplitAtVersus(options.Ranges);
    const size_t players = ranges.size();
    if (players == 1 && ranges[0].find(',') != std::string::npos)
        return Failure("an all-in needs at least 2 ranges, and " + Quoted(ranges[0]) +
                       " is one: give each player's range as a word of its own (allin AKo 22) or put vs between "
                       "them (allin AKo vs 22)");
    if (players < 2)
        return Failure("an all-in needs at least 2 ranges");
    if (players > static_cast<size_t>(cards::MaxPlayers))
        return Failure("an all-in takes at most 6 players, not " + std::to_string(players));
    cards::EquityRequest request;
    Status read = cards::ParseCards(options.Board, request.Board);
    if (!read.Ok)
        return Failure("--board: " + read.Message);
    read = cards::ParseCards(options.Dead, request.Dead);
    if (!read.Ok)
        return Failure("--dead: " + read.Message);
    request.Players.resize(players);
    for (size_t p = 0; p < players; ++p)
    {
        read = cards::ParseRange(ranges[p], request.Players[p]);
        if (!read.Ok)
            return Failure("range " + std::to_string(p + 1) + ": " + read.Message);
    }
    if (options.Exact)
        request.Method = cards::EquityMethod::Exact;
    else if (sampled)
    {
        request.Method = cards::EquityMethod::Sampled;
        request.Samples = static_cast<uint64_t>(samples);
        request.Seed = static_cast<uint64_t>(seed);
    }
    AllinReport report;
    report.Ranges = ranges;
    report.Seed = request.Seed;
    const Status computed = cards::AllInEquity(request, report.Result);
    if (!computed.Ok)
        return computed;
    text = FormatAllin(report, options.Format);
    return Status();
}

std::string FormatAllin(const AllinReport &report, const std::string &format)
{
    return format == "json" ? Json(report) : format == "csv" ? Csv(report) : Table(report);
}

} // namespace ostrel
