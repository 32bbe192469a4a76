/*
 * The nash command: the table read as `spot` reads it, the equilibrium from
 * the pushfold library, and its answer as ranges and grids, JSON or SVG.
 * The field is valued by the same method choice as `equity`. Numbers for
 * programs are the shortest text that reads back to the same double.
 */
#include "nash_command.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#ifdef _WIN32
#include <io.h>
#define OSTREL_NASH_ISATTY(f) _isatty(_fileno(f))
#else
#include <unistd.h>
#define OSTREL_NASH_ISATTY(f) isatty(fileno(f))
#endif

#include "equilibrium.h"
#include "field_methods.h"
#include "number_lists.h"
#include "range.h"

namespace ostrel
{
namespace
{

enum GivenOption
{
    GivenStacks,
    GivenStacksFile,
    GivenPrizes,
    GivenPos,
    GivenOthers,
    GivenOthersFile,
    GivenButton,
    GivenBlinds,
    GivenAnte,
    GivenBigBlindAnte,
    GivenTolerance,
};

bool Given(const NashCommandOptions &options, GivenOption which)
{
    return options.Given[which] != nullptr && options.Given[which]->count() > 0;
}

std::string Fixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return "-";
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string JsonNumber(double value)
{
    return std::isfinite(value) ? ShortestText(value) : "null";
}

std::string Padded(const std::string &text, size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

Status ParseSeat(const std::string &option, const std::string &text, size_t seats, size_t &seat)
{
    int64_t number = 0;
    const std::string problem = ParseStack(text, number);
    if (!problem.empty() || number < 1)
        return Failure(option + " " + text + ": a seat is a number from 1" + (problem.empty() ? "" : ": " + problem));
    if (static_cast<uint64_t>(number) > seats)
        return Failure(option + " " + text + ": the table has " + std::to_string(seats) + " seats");
    seat = static_cast<size_t>(number - 1);
    return Status();
}

Status ParseChips(const std::string &option, const std::string &text, int64_t &chips)
{
    const std::string problem = ParseStack(text, chips);
    return problem.empty() ? Status() : Failure(option + " " + text + ": " + problem + " (whole chips)");
}

Status ReadOthers(const NashCommandOptions &options, std::vector<int64_t> &others)
{
    std::string error;
    if (Given(options, GivenOthers) && Given(options, GivenOthersFile))
        return Failure("two sources for the players at other tables: give --others or --others-file, not both");
    if (Given(options, GivenOthers))
    {
        others = ParseStackList(options.Others, error);
        return error.empty() ? Status() : Failure("--others: " + error);
    }
    if (Given(options, GivenOthersFile))
    {
        std::string bytes;
        const Status read = ReadWholeFile(options.OthersFile, MaxStacksFileBytes, bytes);
        if (!read.Ok)
            return Failure("--others-file " + options.OthersFile + ": " + read.Message);
        others = ParseStackLines(bytes, error);
        return error.empty() ? Status() : Failure("--others-file " + options.OthersFile + ": " + error);
    }
    return Status();
}

// The table as `spot` reads it.
Status ReadTable(NashCommandOptions &options, HandField &field)
{
    InputOptions &input = options.Input;
    input.HasStacks = Given(options, GivenStacks);
    input.HasStacksFile = Given(options, GivenStacksFile);
    input.HasPrizes = Given(options, GivenPrizes);
    input.HasPayoutFile = Given(options, GivenPos);
    if (options.ChipEv && (input.HasPrizes || input.HasPayoutFile))
        return Failure("--chip-ev values chips: it takes no --prizes or --pos");
    InputOptions read = input;
    if (options.ChipEv)
    {
        read.HasPrizes = true; // stacks alone: a placeholder ladder, not used
        read.Prizes = "0";
    }
    FieldInput fieldInput;
    Status status = ReadFieldInput(read, fieldInput);
    if (!status.Ok)
        return status;
    field.Table.Stacks = fieldInput.Stacks;
    if (!options.ChipEv)
        field.Prizes = fieldInput.Prizes;
    status = ReadOthers(options, field.Others);
    if (!status.Ok)
        return status;
    const size_t seats = field.Table.Stacks.size();
    if (!Given(options, GivenButton))
        return Failure("no button: give --button SEAT");
    status = ParseSeat("--button", options.Button, seats, field.Table.Button);
    if (!status.Ok)
        return status;
    if (!Given(options, GivenBlinds))
        return Failure("no blinds: give --blinds SB,BB");
    std::string error;
    const std::vector<int64_t> blinds = ParseStackList(options.Blinds, error);
    if (!error.empty())
        return Failure("--blinds " + options.Blinds + ": " + error + " (whole chips)");
    if (blinds.size() != 2)
        return Failure("--blinds " + options.Blinds + ": give the small and the big blind, as SB,BB");
    field.Table.SmallBlind = blinds[0];
    field.Table.BigBlind = blinds[1];
    if (Given(options, GivenAnte) && Given(options, GivenBigBlindAnte))
        return Failure("give --ante or --bb-ante, not both");
    if (Given(options, GivenAnte))
        status = ParseChips("--ante", options.Ante, field.Table.Ante);
    if (Given(options, GivenBigBlindAnte))
    {
        status = ParseChips("--bb-ante", options.BigBlindAnte, field.Table.Ante);
        field.Table.BigBlindAnte = true;
    }
    return status;
}

const char *ActionName(NashAction action)
{
    return action == NashAction::Shove ? "shove" : action == NashAction::Call ? "call" : "overcall";
}

std::string DecisionTitle(const NashDecision &d)
{
    std::string title = "Seat " + std::to_string(d.Seat + 1) + " ";
    if (d.Action == NashAction::Shove)
        return title + "shoves first in";
    if (d.Action == NashAction::Call)
        return title + "calls seat " + std::to_string(d.Versus[0] + 1) + "'s shove";
    return title + "overcalls seat " + std::to_string(d.Versus[0] + 1) + "'s shove and seat " +
           std::to_string(d.Versus[1] + 1) + "'s call";
}

// Frequencies rounded to hundredths for the range text: fictitious play
// leaves a trace of its first rounds in the averages.
cards::Range RangeOf(const NashDecision &d)
{
    cards::Range range;
    for (int c = 0; c < cards::ClassCount; ++c)
    {
        const double rounded = std::round(d.Frequency[static_cast<size_t>(c)] * 100.0) / 100.0;
        if (rounded > 0.0)
            cards::SetClass(range, c, rounded);
    }
    return range;
}

std::string RangeText(const NashDecision &d)
{
    const std::string text = cards::FormatRange(RangeOf(d));
    return text.empty() ? "nothing" : text;
}

// Background from white (never) to green (always), 256 colours.
std::string CellColour(double frequency)
{
    const int fade = static_cast<int>(std::lround(5.0 * (1.0 - std::min(1.0, std::max(0.0, frequency)))));
    return "\x1b[30;48;5;" + std::to_string(16 + 36 * fade + 6 * 5 + fade) + "m";
}

std::string Grid(const NashDecision &d, bool color)
{
    std::string text = "   ";
    for (int column = 0; column < cards::RankCount; ++column)
        text += Padded(std::string(1, cards::RankChar(12 - column)), 5);
    text += "\n";
    for (int row = 0; row < cards::RankCount; ++row)
    {
        text += Padded(std::string(1, cards::RankChar(12 - row)), 3);
        for (int column = 0; column < cards::RankCount; ++column)
        {
            const double f = d.Frequency[static_cast<size_t>(row * 13 + column)];
            const std::string cell = Padded(Fixed(f * 100.0, 0), 4);
            text += color ? " " + CellColour(f) + cell + "\x1b[0m" : " " + cell;
        }
        text += "\n";
    }
    return text;
}

std::string DrawLine(const NashAnswer &answer)
{
    if (answer.Draws == 0)
        return "Every pot heads-up: every chance exact (the preflop table)\n";
    return "Three-way pots over " + std::to_string(answer.Draws) +
           " drawn showdowns (fixed seed); on an independent set the values and gains move by up to " +
           Fixed(answer.DrawError, 6) + "; heads-up pots exact\n";
}

std::string NashTable(const NashAnswer &answer, const HandField &field, bool chipEv, bool color)
{
    const std::string unit = chipEv ? "chips" : "$EV";
    std::string text = std::string("Push or fold equilibrium; ") +
                       (chipEv ? "chip EV, " + Fixed(answer.Pool, 0) + " chips in play"
                               : "prize pool " + Fixed(answer.Pool, 2)) +
                       "\nExploitability " + Fixed(answer.Exploitability, 6) + " (" +
                       Fixed(answer.Pool > 0.0 ? answer.Exploitability / answer.Pool * 100.0 : 0.0, 4) +
                       "% of the " + (chipEv ? "chips" : "pool") + "; tolerance " + Fixed(answer.Tolerance, 6) +
                       ") after " + std::to_string(answer.Iterations) + " iterations" +
                       (answer.Converged ? "" : ": NOT converged") + "\n" + DrawLine(answer) + "\n";
    text += "Seat  Stack  " + unit + " before  " + unit + " at equilibrium\n";
    for (size_t seat : answer.Order)
        text += Padded(std::to_string(seat + 1), 4) + Padded(std::to_string(field.Table.Stacks[seat]), 7) +
                Padded(Fixed(answer.EvBefore[seat], 4), 12) + Padded(Fixed(answer.EvEquilibrium[seat], 4), 21) +
                "\n";
    for (const NashDecision &d : answer.Decisions)
        text += "\n" + DecisionTitle(d) + ": " + RangeText(d) + " (" + Fixed(d.Share * 100.0, 1) +
                "% of combos)\n" + Grid(d, color);
    return text;
}

std::string NashJson(const NashAnswer &answer, const HandField &field)
{
    std::string text = "{\"exploitability\": " + JsonNumber(answer.Exploitability) +
                       ", \"iterations\": " + std::to_string(answer.Iterations) + ", \"seats\": [";
    for (size_t i = 0; i < answer.Order.size(); ++i)
    {
        const size_t seat = answer.Order[i];
        text += std::string(i == 0 ? "" : ", ") + "{\"seat\": " + std::to_string(seat + 1) +
                ", \"stack\": " + std::to_string(field.Table.Stacks[seat]) +
                ", \"ev_before\": " + JsonNumber(answer.EvBefore[seat]) +
                ", \"ev_equilibrium\": " + JsonNumber(answer.EvEquilibrium[seat]) + "}";
    }
    text += "], \"decisions\": [";
    for (size_t i = 0; i < answer.Decisions.size(); ++i)
    {
        const NashDecision &d = answer.Decisions[i];
        std::string versus;
        for (size_t k = 0; k < d.Versus.size(); ++k)
            versus += (k == 0 ? "" : ", ") + std::to_string(d.Versus[k] + 1);
        const std::string range = cards::FormatRange(RangeOf(d));
        text += std::string(i == 0 ? "" : ", ") + "{\"seat\": " + std::to_string(d.Seat + 1) + ", \"action\": \"" +
                ActionName(d.Action) + "\", \"versus\": [" + versus + "], \"range\": \"" + range +
                "\", \"share\": " + JsonNumber(d.Share) + ", \"frequencies\": {";
        for (int c = 0; c < cards::ClassCount; ++c)
            text += std::string(c == 0 ? "" : ", ") + "\"" + cards::ClassName(c) +
                    "\": " + JsonNumber(d.Frequency[static_cast<size_t>(c)]);
        text += "}}";
    }
    return text + "], \"three_way_error\": " + JsonNumber(answer.DrawError) + "}\n";
}

// White (never) through yellow to green (always).
std::string SvgColour(double f)
{
    f = std::min(1.0, std::max(0.0, f));
    const double r = f < 0.5 ? 255.0 : 255.0 - (f - 0.5) * 2.0 * (255.0 - 46.0);
    const double g = f < 0.5 ? 255.0 - f * 2.0 * (255.0 - 214.0) : 214.0 - (f - 0.5) * 2.0 * (214.0 - 160.0);
    const double b = f < 0.5 ? 255.0 - f * 2.0 * (255.0 - 80.0) : 80.0 - (f - 0.5) * 2.0 * (80.0 - 60.0);
    char text[16];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<int>(std::lround(r)),
                  static_cast<int>(std::lround(g)), static_cast<int>(std::lround(b)));
    return text;
}

std::string Escaped(const std::string &text)
{
    std::string out;
    for (char c : text)
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return out;
}

std::string NashSvg(const NashAnswer &answer, bool chipEv)
{
    const int cell = 28, chart = 13 * cell, gap = 24, title = 40, columns = 3;
    const int count = static_cast<int>(answer.Decisions.size());
    const int rows = (count + columns - 1) / columns;
    const int width = columns * chart + (columns + 1) * gap;
    const int height = 60 + rows * (chart + title + gap) + 30;
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) + "\" height=\"" +
                      std::to_string(height) + "\" viewBox=\"0 0 " + std::to_string(width) + " " +
                      std::to_string(height) + "\" font-family=\"DejaVu Sans, Arial, sans-serif\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    svg += "<text x=\"" + std::to_string(gap) + "\" y=\"30\" font-size=\"18\" font-weight=\"bold\">Push or fold "
           "equilibrium" + std::string(chipEv ? " (chip EV)" : " (ICM)") + "</text>\n";
    svg += "<text x=\"" + std::to_string(gap) + "\" y=\"50\" font-size=\"12\">Exploitability " +
           Fixed(answer.Exploitability, 6) + " after " + std::to_string(answer.Iterations) +
           " iterations; cells: frequency of playing the hand, white never, green always</text>\n";
    for (int i = 0; i < count; ++i)
    {
        const NashDecision &d = answer.Decisions[static_cast<size_t>(i)];
        const int x0 = gap + (i % columns) * (chart + gap);
        const int y0 = 60 + (i / columns) * (chart + title + gap);
        svg += "<text x=\"" + std::to_string(x0) + "\" y=\"" + std::to_string(y0 + 18) +
               "\" font-size=\"13\" font-weight=\"bold\">" + Escaped(DecisionTitle(d)) + "</text>\n";
        svg += "<text x=\"" + std::to_string(x0) + "\" y=\"" + std::to_string(y0 + 34) + "\" font-size=\"12\">" +
               Fixed(d.Share * 100.0, 1) + "% of combos</text>\n";
        for (int c = 0; c < cards::ClassCount; ++c)
        {
            const int x = x0 + (c % 13) * cell, y = y0 + title + (c / 13) * cell;
            const double f = d.Frequency[static_cast<size_t>(c)];
            svg += "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" width=\"" +
                   std::to_string(cell) + "\" height=\"" + std::to_string(cell) + "\" fill=\"" + SvgColour(f) +
                   "\" stroke=\"#999999\" stroke-width=\"0.5\"><title>" + cards::ClassName(c) + " " +
                   Fixed(f * 100.0, 1) + "%</title></rect>";
            svg += "<text x=\"" + std::to_string(x + cell / 2) + "\" y=\"" + std::to_string(y + cell / 2 + 4) +
                   "\" font-size=\"9\" text-anchor=\"middle\">" + cards::ClassName(c) + "</text>\n";
        }
    }
    return svg + "</svg>\n";
}

struct Progress
{
    std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point Last = Start;
    bool Terminal = false;
    bool Shown = false;
};

void ShowNashProgress(void *context, uint64_t iterations, double exploitability)
{
    Progress &progress = *static_cast<Progress *>(context);
    if (!progress.Terminal)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - progress.Start < std::chrono::seconds(1) || now - progress.Last < std::chrono::milliseconds(200))
        return;
    progress.Last = now;
    progress.Shown = true;
    std::fprintf(stderr, "\rostrel-icm: iteration %llu, exploitability %.6g (%.0f s)   ",
                 static_cast<unsigned long long>(iterations), exploitability,
                 std::chrono::duration<double>(now - progress.Start).count());
    std::fflush(stderr);
}

} // namespace

CLI::App *AddNashCommand(CLI::App &app, NashCommandOptions &options)
{
    CLI::App *nash = app.add_subcommand("nash", "Push or fold equilibrium of a table under ICM");
    InputOptions &input = options.Input;
    options.Given[GivenStacks] =
        nash->add_option("--stacks", input.Stacks, "Chips of each seat before posting, comma-separated");
    options.Given[GivenStacksFile] = nash->add_option("--stacks-file", input.StacksFile, "One stack per line");
    options.Given[GivenPrizes] = nash->add_option("--prizes", input.Prizes, "Prize of each place from 1st");
    options.Given[GivenPos] = nash->add_option("--pos", input.PayoutFile, "The prizes from a payout structure file");
    options.Given[GivenOthers] =
        nash->add_option("--others", options.Others, "Stacks of the players at other tables, comma-separated");
    options.Given[GivenOthersFile] =
        nash->add_option("--others-file", options.OthersFile, "Stacks at other tables, one per line");
    options.Given[GivenButton] = nash->add_option("--button", options.Button, "The button's seat");
    options.Given[GivenBlinds] = nash->add_option("--blinds", options.Blinds, "Small and big blind: SB,BB");
    options.Given[GivenAnte] = nash->add_option("--ante", options.Ante, "Ante posted by every player");
    options.Given[GivenBigBlindAnte] =
        nash->add_option("--bb-ante", options.BigBlindAnte, "Ante posted by the big blind for the table");
    nash->add_flag("--chip-ev", options.ChipEv, "Value chips instead of money");
    options.Given[GivenTolerance] = nash->add_option(
        "--tolerance", options.Tolerance,
        "Stop when no player gains more than this (default 0.01% of the prize pool; with --chip-ev 0.01 big blind)");
    nash->add_option("--max-iterations", options.MaxIterations, "Stop after this many iterations (default 100000)")
        ->check(CLI::PositiveNumber);
    const unsigned cores = std::thread::hardware_concurrency();
    options.Threads = cores == 0 ? 1 : cores;
    nash->add_option("--threads", options.Threads, "Threads (default: every core); the answer is the same")
        ->check(CLI::PositiveNumber);
    nash->add_option("--color", options.Color, "Colour the grids: auto (on a terminal), always or never")
        ->check(CLI::IsMember({"auto", "always", "never"}))
        ->default_str("auto");
    nash->add_option("--format", options.Format, "Output: table, json or svg")
        ->check(CLI::IsMember({"table", "json", "svg"}))
        ->default_str("table");
    return nash;
}

Status RunNashCommand(NashCommandOptions &options, std::string &text, std::string &warning)
{
    HandField field;
    Status status = ReadTable(options, field);
    if (!status.Ok)
        return status;
    if (Given(options, GivenTolerance) && !(options.Tolerance > 0.0 && std::isfinite(options.Tolerance)))
        return Failure("--tolerance " + ShortestText(options.Tolerance) + ": give a number above 0");
    RunOptions run;
    run.Threads = options.Threads;
    MethodLog log;
    const FieldEquity valuation = EquityBy(Method::Automatic, run, log, nullptr);
    NashOptions nash;
    nash.Tolerance = Given(options, GivenTolerance) ? options.Tolerance : 0.0;
    nash.MaxIterations = options.MaxIterations;
    nash.Threads = options.Threads;
    Progress progress;
    progress.Terminal = OSTREL_NASH_ISATTY(stderr) != 0;
    nash.Progress = ShowNashProgress;
    nash.ProgressContext = &progress;
    NashAnswer answer;
    status = SolveNash(field, valuation, options.ChipEv, nash, answer);
    if (progress.Shown)
        std::fprintf(stderr, "\r%70s\r", "");
    if (!status.Ok)
        return status;
    if (!answer.Converged)
        warning = "ostrel-icm: warning: stopped after " + std::to_string(answer.Iterations) +
                  " iterations with exploitability " + ShortestText(answer.Exploitability) + " above the tolerance " +
                  ShortestText(answer.Tolerance) + "\n";
    const bool color = options.Color == "always" || (options.Color == "auto" && OSTREL_NASH_ISATTY(stdout) != 0);
    text = options.Format == "json"  ? NashJson(answer, field)
           : options.Format == "svg" ? NashSvg(answer, options.ChipEv)
                                     : NashTable(answer, field, options.ChipEv, color);
    return Status();
}

} // namespace ostrel
