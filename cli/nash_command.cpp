/*
 * The nash command: the table read as `spot` reads it, the equilibrium from
 * the pushfold library, and its answer as ranges and grids, JSON or SVG.
 * The field is valued by the same method choice as `equity`. Numbers for
 * programs are the shortest text that reads back to the same double.
 */
#include "nash_command.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <thread>
#include <tuple>
#include <vector>

#include "answer_text.h"
#include "progress.h"
#include "arguments.h"
#include "equilibrium.h"
#include "equities.h"
#include "field_methods.h"
#include "number_lists.h"
#include "positions.h"
#include "range.h"
#include "table_options.h"

namespace ostrel
{
namespace
{

constexpr int64_t MostIterations = 1000000000;
constexpr int64_t MostDraws = 1000000;
// A round costs the fourth power of the players: ten take half a minute.
constexpr size_t MostPlayers = 10;

// A tolerance as typed: a decimal number above 0 ("0.05", "1e-6").
Status ReadTolerance(const std::string &text, double &tolerance)
{
    const Status refused = Failure("--tolerance " + Escaped(text) + ": give a number above 0, e.g. 0.05");
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string::npos)
        return refused;
    char *end = nullptr;
    tolerance = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(tolerance) && tolerance > 0.0 ? Status() : refused;
}

// The options of nash's own, judged in its words.
Status ReadNashOptions(const NashCommandOptions &options, NashOptions &nash)
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
    std::string problem = ReadCount("--max-iterations", options.MaxIterations, 1, MostIterations,
                                    "a number of iterations", count);
    if (!problem.empty())
        return Failure(problem);
    nash.MaxIterations = static_cast<uint64_t>(count);
    problem = ReadCount("--draws", options.Draws, 1, MostDraws, "a number of showdowns", count);
    if (!problem.empty())
        return Failure(problem);
    nash.DrawsPerClass = static_cast<uint32_t>(count);
    problem = ReadCount("--seed", options.Seed, 0, std::numeric_limits<int64_t>::max(), "a seed", count);
    if (!problem.empty())
        return Failure(problem);
    nash.Seed = static_cast<uint64_t>(count);
    const unsigned cores = std::thread::hardware_concurrency();
    nash.Threads = cores == 0 ? 1 : cores;
    if (Given(options.ThreadsGiven))
    {
        problem = ReadCount("--threads", options.Threads, 1, 256, "a thread count", count);
        if (!problem.empty())
            return Failure(problem);
        nash.Threads = static_cast<unsigned>(count);
    }
    nash.Tolerance = 0.0; // the library's default
    return Given(options.ToleranceGiven) ? ReadTolerance(options.Tolerance, nash.Tolerance) : Status();
}

const char *ActionName(NashAction action)
{
    return action == NashAction::Shove ? "shove" : action == NashAction::Call ? "call" : "overcall";
}

std::string DecisionTitle(const NashDecision &d, const std::vector<std::string> &at)
{
    std::string title = "Seat " + SeatText(d.Seat, at) + " ";
    if (d.Action == NashAction::Shove)
        return title + "shoves first in";
    if (d.Action == NashAction::Call)
        return title + "calls seat " + SeatText(d.Versus[0], at) + "'s shove";
    return title + "overcalls seat " + SeatText(d.Versus[0], at) + "'s shove and seat " + SeatText(d.Versus[1], at) +
           "'s call";
}

std::vector<std::string> Positions(const HandField &field)
{
    return PositionNames(field.Table.Stacks, field.Table.Button);
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

// The frequencies in %, or with a pool the margins: the value of playing
// less folding's, in % of the pool ("-" where a class never gets there);
// coloured by frequency either way.
std::string Grid(const NashDecision &d, bool color, double marginPool)
{
    const bool margin = marginPool > 0.0;
    const size_t width = margin ? 7 : 5;
    std::string text = "   ";
    for (int column = 0; column < cards::RankCount; ++column)
        text += Padded(std::string(1, cards::RankChar(12 - column)), width);
    text += "\n";
    for (int row = 0; row < cards::RankCount; ++row)
    {
        text += Padded(std::string(1, cards::RankChar(12 - row)), 3);
        for (int column = 0; column < cards::RankCount; ++column)
        {
            const size_t c = static_cast<size_t>(row * 13 + column);
            const double f = d.Frequency[c];
            const std::string cell =
                margin ? Padded(Signed((d.EvPlay[c] - d.EvFold[c]) / marginPool * 100.0, 2), width - 1)
                       : Padded(Fixed(f * 100.0, 0), width - 1);
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

// What following the ranges costs a single hand, and where it costs the most.
std::string HandLossLine(const NashAnswer &answer, const std::vector<std::string> &at)
{
    std::string text = "Hand by hand: following these ranges costs a hand at most " + Fixed(answer.MaxHandLoss, 6) +
                       " against its better action (aim " + Fixed(answer.HandBound, 6) +
                       ", at decisions reached 1% of the time or more";
    if (answer.Draws > 0)
        text += "; on the independent set of draws a hand's loss moves by up to " + Fixed(answer.HandLossNoise, 6);
    text += ")";
    if (answer.HandLossDecision < answer.Decisions.size() && answer.MaxHandLoss > answer.HandBound)
        text += "; the most: " + cards::ClassName(answer.HandLossClass) + " where " +
                DecisionTitle(answer.Decisions[answer.HandLossDecision], at);
    return text + "\n";
}

std::string NashTable(const NashAnswer &answer, const HandField &field, bool chipEv, bool color, bool margin)
{
    const std::vector<std::string> at = Positions(field);
    const std::string unit = chipEv ? "chips" : "$EV";
    std::string text = std::string("Push or fold equilibrium; ") +
                       (chipEv ? "chip EV, " + Fixed(answer.Pool, 0) + " chips in play"
                               : "prize pool " + Fixed(answer.Pool, 2)) +
                       "\nExploitability " + Fixed(answer.Exploitability, 6) + " (" +
                       Fixed(answer.Pool > 0.0 ? answer.Exploitability / answer.Pool * 100.0 : 0.0, 4) +
                       "% of the " + (chipEv ? "chips" : "pool") + "; tolerance " + Fixed(answer.Tolerance, 6) +
                       ") after " + std::to_string(answer.Iterations) + " iterations" +
                       (answer.Converged ? "" : ": NOT converged") + "\n" + DrawLine(answer) +
                       HandLossLine(answer, at) + "\n";
    text += "Seat  Pos  Stack     bb  " + unit + " before  " + unit + " at equilibrium\n";
    const double bigBlind = static_cast<double>(field.Table.BigBlind);
    for (size_t seat : answer.Order)
        text += Padded(std::to_string(seat + 1), 4) + Padded(at[seat], 5) +
                Padded(std::to_string(field.Table.Stacks[seat]), 7) +
                Padded(Fixed(static_cast<double>(field.Table.Stacks[seat]) / bigBlind, 1), 7) +
                Padded(Fixed(answer.EvBefore[seat], 4), 12) + Padded(Fixed(answer.EvEquilibrium[seat], 4), 21) +
                "\n";
    if (margin)
        text += std::string("\nEach grid: the margin of playing the hand over folding it, in % of the ") +
                (chipEv ? "chips" : "prize pool") + "; - where the hand never gets there\n";
    for (const NashDecision &d : answer.Decisions)
        text += "\n" + DecisionTitle(d, at) + ": " + RangeText(d) + " (" + Fixed(d.Share * 100.0, 1) +
                "% of combos)\n" + Grid(d, color, margin ? answer.Pool : 0.0);
    return text;
}

// {"AA": ..., "72o": ...} after its opening brace; null where a class never
// reaches the decision.
std::string ByClassJson(const std::array<double, cards::ClassCount> &values)
{
    std::string text;
    for (int c = 0; c < cards::ClassCount; ++c)
        text += std::string(c == 0 ? "" : ", ") + "\"" + cards::ClassName(c) +
                "\": " + JsonNumber(values[static_cast<size_t>(c)]);
    return text + "}";
}

std::string NashJson(const NashAnswer &answer, const HandField &field)
{
    const std::vector<std::string> at = Positions(field);
    std::string text = "{\"exploitability\": " + JsonNumber(answer.Exploitability) +
                       ", \"iterations\": " + std::to_string(answer.Iterations) + ", \"seats\": [";
    for (size_t i = 0; i < answer.Order.size(); ++i)
    {
        const size_t seat = answer.Order[i];
        text += std::string(i == 0 ? "" : ", ") + "{\"seat\": " + std::to_string(seat + 1) +
                ", \"position\": \"" + at[seat] + "\", \"stack\": " + std::to_string(field.Table.Stacks[seat]) +
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
        text += std::string(i == 0 ? "" : ", ") + "{\"seat\": " + std::to_string(d.Seat + 1) + ", \"position\": \"" +
                at[d.Seat] + "\", \"action\": \"" +
                ActionName(d.Action) + "\", \"versus\": [" + versus + "], \"range\": \"" + range +
                "\", \"share\": " + JsonNumber(d.Share) + ", \"frequencies\": {";
        text += ByClassJson(d.Frequency) + ", \"ev_play\": {" + ByClassJson(d.EvPlay) + ", \"ev_fold\": {" +
                ByClassJson(d.EvFold) + ", \"reached\": " + JsonNumber(d.Reached) + "}";
    }
    return text + "], \"three_way_error\": " + JsonNumber(answer.DrawError) +
           ", \"max_hand_loss\": " + JsonNumber(answer.MaxHandLoss) +
           ", \"hand_loss_noise\": " + JsonNumber(answer.HandLossNoise) + "}\n";
}

// One row per decision and class, for tools: what the grids and the
// JSON show, with each class's values (empty where never reached).
std::string NashCsv(const NashAnswer &answer, const HandField &field)
{
    const std::vector<std::string> at = Positions(field);
    const auto number = [](double value) { return std::isfinite(value) ? ShortestText(value) : std::string(); };
    std::string text = "seat,position,action,shover,caller,hand,frequency,ev_play,ev_fold,margin\n";
    for (const NashDecision &d : answer.Decisions)
    {
        const std::string head = std::to_string(d.Seat + 1) + "," + at[d.Seat] + "," + ActionName(d.Action) + "," +
                                 (d.Versus.size() > 0 ? std::to_string(d.Versus[0] + 1) : "") + "," +
                                 (d.Versus.size() > 1 ? std::to_string(d.Versus[1] + 1) : "") + ",";
        for (size_t c = 0; c < static_cast<size_t>(cards::ClassCount); ++c)
            text += head + cards::ClassName(static_cast<int>(c)) + "," + ShortestText(d.Frequency[c]) + "," +
                    number(d.EvPlay[c]) + "," + number(d.EvFold[c]) + "," + number(d.EvPlay[c] - d.EvFold[c]) + "\n";
    }
    return text;
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

std::string NashSvg(const NashAnswer &answer, const HandField &field, bool chipEv)
{
    const std::vector<std::string> at = Positions(field);
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
               "\" font-size=\"13\" font-weight=\"bold\">" + Escaped(DecisionTitle(d, at)) + "</text>\n";
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
    double Estimate = 0.0; // seconds, rough
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
    const double seconds = std::chrono::duration<double>(now - progress.Start).count();
    char of[48] = "";
    if (progress.Estimate > seconds)
        std::snprintf(of, sizeof of, " of about %.0f s", progress.Estimate);
    std::fprintf(stderr, "\rostrel-icm: iteration %llu, exploitability %.6g (%.0f s%s)   ",
                 static_cast<unsigned long long>(iterations), exploitability, seconds, of);
    std::fflush(stderr);
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
    NashOptions nash;
    Status status = ReadNashOptions(options, nash);
    if (!status.Ok)
        return status;
    HandField field;
    status = ReadTable(options.Table, field);
    if (!status.Ok)
        return status;
    size_t players = 0;
    for (int64_t stack : field.Table.Stacks)
        players += stack > 0 ? 1 : 0;
    if (players > MostPlayers)
        return Failure("nash takes tables of at most " + std::to_string(MostPlayers) + " players, not " +
                       std::to_string(players) + ": its work grows with the fourth power of the players");
    RunOptions run;
    run.Threads = nash.Threads;
    // Judged before it starts, as every command's run: some hours of
    // draws are refused with the number that fits.
    const double estimate = EstimatedNashSeconds(players, nash);
    if (estimate > run.SecondsLimit)
    {
        const double fits = std::floor(nash.DrawsPerClass * (run.SecondsLimit - 0.2) / (estimate - 0.2));
        return Failure("nash would take about " + DurationText(estimate) + " on " + std::to_string(players) +
                       " players with --draws " + std::to_string(nash.DrawsPerClass) + ", over the limit of " +
                       DurationText(run.SecondsLimit) + "; --draws " + ShortestText(std::max(1.0, fits)) +
                       " or fewer fits");
    }
    MethodLog log;
    // The outcomes need no window bits: up to 20 players the subsets are
    // exact to rounding and the fastest.
    const size_t fieldPlayers = players + field.Others.size();
    const FieldEquity valuation = EquityBy(fieldPlayers <= 20 ? Method::Subsets : Method::Automatic, run, log, nullptr);
    Progress progress;
    progress.Terminal = IsTerminal(stderr);
    progress.Estimate = estimate;
    nash.Progress = ShowNashProgress;
    nash.ProgressContext = &progress;
    NashAnswer answer;
    status = SolveNash(field, valuation, options.Table.ChipEv, nash, answer);
    if (progress.Shown)
        std::fprintf(stderr, "\r%70s\r", "");
    if (!status.Ok)
        return status;
    if (!answer.Converged)
        warning = "ostrel-icm: warning: stopped after " + std::to_string(answer.Iterations) +
                  " iterations with exploitability " + ShortestText(answer.Exploitability) + " above the tolerance " +
                  ShortestText(answer.Tolerance) + "\n";
    const bool color = options.Color == "always" || (options.Color == "auto" && IsTerminal(stdout));
    text = options.Format == "json"  ? NashJson(answer, field)
           : options.Format == "csv" ? NashCsv(answer, field)
           : options.Format == "svg" ? NashSvg(answer, field, options.Table.ChipEv)
                                     : NashTable(answer, field, options.Table.ChipEv, color, options.Show == "margin");
    return Status();
}

} // namespace ostrel
