/*
 * The equilibrium's answer as ranges and grids for people, CSV and JSON for
 * tools and an SVG picture of the grids. Numbers for programs are the
 * shortest text that reads back to the same double. Cost: one pass over
 * each decision's 169 classes.
 */
#include "nash_request.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "answer_text.h"
#include "number_text.h"
#include "positions.h"
#include "range.h"

namespace ostrel
{
namespace
{

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
    std::string text = std::string("Push or fold equilibrium; ") + PoolWords(answer.Pool, chipEv, field.Bounty) +
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
                WorthName(chipEv, field.Bounty) + "; - where the hand never gets there\n";
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

std::string XmlEscaped(const std::string &text)
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
               "\" font-size=\"13\" font-weight=\"bold\">" + XmlEscaped(DecisionTitle(d, at)) + "</text>\n";
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

} // namespace

std::string WriteNashReply(const NashReply &reply, Format format, bool color, bool margin)
{
    const NashAnswer &answer = reply.Answer;
    return format == Format::Json  ? NashJson(answer, reply.Table)
           : format == Format::Csv ? NashCsv(answer, reply.Table)
           : format == Format::Svg ? NashSvg(answer, reply.Table, reply.ChipEv)
                                   : NashTable(answer, reply.Table, reply.ChipEv, color, margin);
}

} // namespace ostrel
