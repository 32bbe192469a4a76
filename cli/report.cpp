/*
 * Tables, CSV and JSON. Numbers for programs are written as the shortest text
 * that reads back to the same double (to_chars), which is also what makes the
 * Linux and Windows builds write the same bytes; tables for people round as
 * the window does.
 */
#include "report.h"

#include <algorithm>
#include <cstdio>

namespace ostrel
{
namespace
{

struct SeatFigures
{
    double ChipShare;
    double Equity;
    double PoolShare;
};

double TotalChips(const std::vector<int64_t> &stacks)
{
    double total = 0.0;
    for (int64_t stack : stacks)
        total += static_cast<double>(stack);
    return total;
}

SeatFigures FiguresOf(const EquityReport &report, size_t seat)
{
    const double total = TotalChips(report.Stacks);
    SeatFigures figures = {};
    if (report.Stacks[seat] == 0)
        return figures;
    figures.ChipShare = static_cast<double>(report.Stacks[seat]) / total;
    figures.Equity = report.Run->Equity[seat];
    figures.PoolShare = report.PrizePool > 0.0 ? figures.Equity / report.PrizePool : 0.0;
    return figures;
}

std::string Fixed(double value, int decimals)
{
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Padded(const std::string &text, size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// Right-aligned columns, each as wide as its widest cell.
std::string AlignedTable(const std::vector<std::vector<std::string>> &rows)
{
    std::vector<size_t> widths;
    for (const auto &row : rows)
        for (size_t column = 0; column < row.size(); ++column)
        {
            widths.resize(std::max(widths.size(), row.size()), 0);
            widths[column] = std::max(widths[column], row[column].size());
        }
    std::string text;
    for (const auto &row : rows)
    {
        for (size_t column = 0; column < row.size(); ++column)
            text += (column == 0 ? "" : "  ") + Padded(row[column], widths[column]);
        text += "\n";
    }
    return text;
}

std::string MethodLine(const FieldRun &run)
{
    const char *names[] = {"", "plain recursion", "subset method"};
    return std::string("Method: ") + names[static_cast<int>(run.Ran)] + ", " +
           Fixed(run.Seconds * 1000.0, 3) + " ms\n";
}

std::string Ordinal(size_t place)
{
    const size_t tens = place % 100 / 10;
    const size_t last = place % 10;
    const char *suffix = tens == 1 || last == 0 || last > 3 ? "th" : last == 1 ? "st" : last == 2 ? "nd" : "rd";
    return std::to_string(place) + suffix;
}

size_t PlacesShown(const EquityReport &report)
{
    return report.Run->Finish.Places;
}

double FinishChance(const EquityReport &report, size_t seat, size_t place)
{
    return report.Run->Finish.Chance[seat * PlacesShown(report) + place];
}

} // namespace

std::string FormatEquity(const EquityReport &report, Format format)
{
    const size_t seats = report.Stacks.size();
    std::string text;
    if (format == Format::Json)
    {
        text = std::string("{\"method\": \"") + MethodName(report.Run->Ran) + "\", \"prize_pool\": " +
               ShortestText(report.PrizePool) + ", \"players\": [";
        for (size_t seat = 0; seat < seats; ++seat)
        {
            const SeatFigures figures = FiguresOf(report, seat);
            text += (seat == 0 ? "" : ", ") + std::string("{\"seat\": ") + std::to_string(seat + 1) +
                    ", \"stack\": " + std::to_string(report.Stacks[seat]) +
                    ", \"chip_share\": " + ShortestText(figures.ChipShare) +
                    ", \"equity\": " + ShortestText(figures.Equity) +
                    ", \"pool_share\": " + ShortestText(figures.PoolShare) + "}";
        }
        return text + "]}\n";
    }
    if (format == Format::Csv)
    {
        text = "seat,stack,chip_share,equity,pool_share\n";
        for (size_t seat = 0; seat < seats; ++seat)
        {
            const SeatFigures figures = FiguresOf(report, seat);
            text += std::to_string(seat + 1) + "," + std::to_string(report.Stacks[seat]) + "," +
                    ShortestText(figures.ChipShare) + "," + ShortestText(figures.Equity) + "," +
                    ShortestText(figures.PoolShare) + "\n";
        }
        return text;
    }
    std::vector<std::vector<std::string>> rows = {{"Seat", "Stack", "Chips %", "$EV", "Pool %"}};
    for (size_t seat = 0; seat < seats; ++seat)
    {
        const SeatFigures figures = FiguresOf(report, seat);
        rows.push_back({std::to_string(seat + 1), std::to_string(report.Stacks[seat]),
                        Fixed(figures.ChipShare * 100.0, 2), Fixed(figures.Equity, 3),
                        Fixed(figures.PoolShare * 100.0, 2)});
    }
    return AlignedTable(rows) + "Prize pool: " + Fixed(report.PrizePool, 2) + "\n" + MethodLine(*report.Run);
}

std::string FormatFinish(const EquityReport &report, Format format)
{
    const size_t seats = report.Stacks.size();
    const size_t places = PlacesShown(report);
    std::string text;
    if (format == Format::Json)
    {
        text = std::string("{\"method\": \"") + MethodName(report.Run->Ran) + "\", \"players\": [";
        for (size_t seat = 0; seat < seats; ++seat)
        {
            text += (seat == 0 ? "" : ", ") + std::string("{\"seat\": ") + std::to_string(seat + 1) +
                    ", \"stack\": " + std::to_string(report.Stacks[seat]) + ", \"places\": [";
            for (size_t place = 0; place < places; ++place)
                text += (place == 0 ? "" : ", ") + ShortestText(FinishChance(report, seat, place));
            text += "]}";
        }
        return text + "]}\n";
    }
    if (format == Format::Csv)
    {
        text = "seat,stack";
        for (size_t place = 1; place <= places; ++place)
            text += ",place_" + std::to_string(place);
        text += "\n";
        for (size_t seat = 0; seat < seats; ++seat)
        {
            text += std::to_string(seat + 1) + "," + std::to_string(report.Stacks[seat]);
            for (size_t place = 0; place < places; ++place)
                text += "," + ShortestText(FinishChance(report, seat, place));
            text += "\n";
        }
        return text;
    }
    std::vector<std::vector<std::string>> rows(1, {"Seat", "Stack"});
    for (size_t place = 1; place <= places; ++place)
        rows[0].push_back(Ordinal(place));
    for (size_t seat = 0; seat < seats; ++seat)
    {
        std::vector<std::string> row = {std::to_string(seat + 1), std::to_string(report.Stacks[seat])};
        for (size_t place = 0; place < places; ++place)
            row.push_back(Fixed(FinishChance(report, seat, place) * 100.0, 1) + "%");
        rows.push_back(row);
    }
    return AlignedTable(rows) + MethodLine(*report.Run);
}

} // namespace ostrel
