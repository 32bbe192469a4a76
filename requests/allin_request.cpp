/*
 * The all-in's checks over the cards library's parsers, and its three
 * formats. Cost: the library's enumeration or sampling.
 */
#include "allin_request.h"

#include <cstdio>

#include "answer_text.h"
#include "number_text.h"

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

std::string Table(const AllinAnswer &report)
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

std::string Csv(const AllinAnswer &report)
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

std::string Json(const AllinAnswer &report)
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

// The request read into the library's terms; the command's messages.
Status ReadRequest(const AllinRequest &request, cards::EquityRequest &library)
{
    const Status sampling = CheckAllinSampling(request);
    if (!sampling.Ok)
        return sampling;
    const bool sampled = request.Samples > 0;
    const std::vector<std::string> &ranges = request.Ranges;
    const size_t players = ranges.size();
    if (players == 1 && ranges[0].find(',') != std::string::npos)
        return Failure("an all-in needs at least 2 ranges, and " + Quoted(ranges[0]) +
                       " is one: give each player's range as a word of its own (allin AKo 22) or put vs between "
                       "them (allin AKo vs 22)");
    if (players < 2)
        return Failure("an all-in needs at least 2 ranges");
    if (players > static_cast<size_t>(cards::MaxPlayers))
        return Failure("an all-in takes at most 6 players, not " + std::to_string(players));
    Status read = cards::ParseCards(request.Board, library.Board);
    if (!read.Ok)
        return Failure("--board: " + read.Message);
    read = cards::ParseCards(request.Dead, library.Dead);
    if (!read.Ok)
        return Failure("--dead: " + read.Message);
    library.Players.resize(players);
    for (size_t p = 0; p < players; ++p)
    {
        read = cards::ParseRange(ranges[p], library.Players[p]);
        if (!read.Ok)
            return Failure("range " + std::to_string(p + 1) + ": " + read.Message);
    }
    if (request.Exact)
        library.Method = cards::EquityMethod::Exact;
    else if (sampled)
    {
        library.Method = cards::EquityMethod::Sampled;
        library.Samples = request.Samples;
        library.Seed = request.Seed.value_or(1);
    }
    return Status();
}

} // namespace

Status CheckAllinSampling(const AllinRequest &request)
{
    const bool sampled = request.Samples > 0;
    if (request.Exact && sampled)
        return Failure("--exact enumerates every board and --samples draws some: give one of them");
    if (request.Seed && !sampled)
        return Failure("--seed goes with --samples N");
    int64_t count = 0;
    std::string problem;
    if (sampled && request.Samples > 10000000000)
        problem = ReadCount("--samples", std::to_string(request.Samples), 1, 10000000000, "a number of showdowns",
                            count);
    if (problem.empty() && sampled && request.Samples < cards::MinSamples)
        problem = "--samples " + std::to_string(request.Samples) +
                  ": one showdown gives no estimate of the standard error; give at least 2";
    if (problem.empty() && request.Seed && *request.Seed > static_cast<uint64_t>(INT64_MAX))
        problem = ReadCount("--seed", std::to_string(*request.Seed), 0, INT64_MAX, "a seed", count);
    return problem.empty() ? Status() : Failure(problem);
}

Status CheckAllinRequest(const AllinRequest &request)
{
    cards::EquityRequest library;
    return ReadRequest(request, library);
}

Status RunAllinRequest(const AllinRequest &request, AllinAnswer &answer)
{
    cards::EquityRequest library;
    const Status status = ReadRequest(request, library);
    if (!status.Ok)
        return status;
    answer.Ranges = request.Ranges;
    answer.Seed = library.Seed;
    return cards::AllInEquity(library, answer.Result);
}

std::string WriteAllinAnswer(const AllinAnswer &answer, Format format)
{
    return format == Format::Json ? Json(answer) : format == Format::Csv ? Csv(answer) : Table(answer);
}

} // namespace ostrel
