/*
 * Tables, CSV and JSON. Numbers for programs are written as the shortest text
 * that reads back to the same double (to_chars), which is also what makes the
 * Linux and Windows builds write the same bytes; tables for people round as
 * the window does.
 */
#include "report.h"

#include <algorithm>
#include <cmath>
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

SeatFigures FiguresOf(const EquityReport &report, double total, size_t seat)
{
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
    const char *name = run.Ran == Method::Plain     ? "plain recursion"
                       : run.Ran == Method::Subsets ? "subset method"
                                                    : "quadrature method";
    return std::string("Method: ") + name + ", " +
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
    const double total = TotalChips(report.Stacks);
    std::string text;
    if (format == Format::Json)
    {
        text = std::string("{\"method\": \"") + MethodName(report.Run->Ran) + "\", \"prize_pool\": " +
               ShortestText(report.PrizePool) + ", \"players\": [";
        for (size_t seat = 0; seat < seats; ++seat)
        {
            const SeatFigures figures = FiguresOf(report, total, seat);
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
            const SeatFigures figures = FiguresOf(report, total, seat);
            text += std::to_string(seat + 1) + "," + std::to_string(report.Stacks[seat]) + "," +
                    ShortestText(figures.ChipShare) + "," + ShortestText(figures.Equity) + "," +
                    ShortestText(figures.PoolShare) + "\n";
        }
        return text;
    }
    std::vector<std::vector<std::string>> rows = {{"Seat", "Stack", "Chips %", "$EV", "Pool %"}};
    for (size_t seat = 0; seat < seats; ++seat)
    {
        const SeatFigures figures = FiguresOf(report, total, seat);
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

namespace
{

// JSON's null for what is not a number.
std::string JsonNumber(double value)
{
    return std::isfinite(value) ? ShortestText(value) : "null";
}

std::string CsvNumber(double value)
{
    return std::isfinite(value) ? ShortestText(value) : "";
}

std::string TableNumber(double value, int decimals, double scale, const char *unit)
{
    return std::isfinite(value) ? Fixed(value * scale, decimals) + unit : "-";
}

} // namespace

std::string FormatDeal(const DealReport &report, Format format)
{
    const Deal &deal = *report.Result;
    const size_t seats = report.Stacks.size();
    std::string text;
    if (format == Format::Json)
    {
        text = "{\"split\": \"" + report.Split + "\", \"method\": \"" + report.Methods +
               "\", \"prize_pool\": " + ShortestText(deal.PrizePool) +
               ", \"kept_for_winner\": " + ShortestText(report.Kept) + ", \"players\": [";
        for (size_t seat = 0; seat < seats; ++seat)
        {
            const DealSeat &one = deal.Seats[seat];
            text += (seat == 0 ? "" : ", ") + std::string("{\"seat\": ") + std::to_string(seat + 1) +
                    ", \"stack\": " + std::to_string(report.Stacks[seat]) +
                    ", \"payment\": " + ShortestText(one.Payment) + ", \"deal_value\": " + ShortestText(one.DealValue) +
                    ", \"equity\": " + ShortestText(one.Equity) + ", \"difference\": " + ShortestText(one.Difference) +
                    "}";
        }
        return text + "]}\n";
    }
    if (format == Format::Csv)
    {
        text = "seat,stack,payment,deal_value,equity,difference\n";
        for (size_t seat = 0; seat < seats; ++seat)
        {
            const DealSeat &one = deal.Seats[seat];
            text += std::to_string(seat + 1) + "," + std::to_string(report.Stacks[seat]) + "," +
                    ShortestText(one.Payment) + "," + ShortestText(one.DealValue) + "," + ShortestText(one.Equity) +
                    "," + ShortestText(one.Difference) + "\n";
        }
        return text;
    }
    std::vector<std::vector<std::string>> rows = {{"Seat", "Stack", "Payment", "Deal value", "$EV", "Difference"}};
    for (size_t seat = 0; seat < seats; ++seat)
    {
        const DealSeat &one = deal.Seats[seat];
        rows.push_back({std::to_string(seat + 1), std::to_string(report.Stacks[seat]), Fixed(one.Payment, 2),
                        Fixed(one.DealValue, 2), Fixed(one.Equity, 2), Fixed(one.Difference, 2)});
    }
    return AlignedTable(rows) + "Prize pool: " + Fixed(deal.PrizePool, 2) + ", kept for the winner: " +
           Fixed(report.Kept, 2) + ", dealt: " + Fixed(deal.Dealt, 2) + "\nSplit: " + report.Split +
           ", method: " + report.Methods + "\n";
}

std::string FormatBubbleGrid(const BubbleReport &report, Format format)
{
    const BubbleGrid &grid = *report.Grid;
    const size_t columns = grid.Seats.size();
    std::string text;
    if (format == Format::Json)
    {
        text = "{\"method\": \"" + report.Methods + "\", ";
        if (report.OnlySeat != nullptr)
            text += "\"seat\": " + std::to_string(*report.OnlySeat + 1) + ", ";
        text += "\"seats\": [";
        for (size_t column = 0; column < columns; ++column)
            text += (column == 0 ? "" : ", ") + std::to_string(grid.Seats[column] + 1);
        for (const std::vector<double> *values : {&grid.Factor, &grid.Premium})
        {
            text += values == &grid.Factor ? "], \"bubble_factors\": [" : "], \"risk_premiums\": [";
            for (size_t row = 0; row < grid.Rows.size(); ++row)
            {
                text += row == 0 ? "[" : ", [";
                for (size_t column = 0; column < columns; ++column)
                    text += (column == 0 ? "" : ", ") + JsonNumber((*values)[row * columns + column]);
                text += "]";
            }
        }
        return text + "]}\n";
    }
    if (format == Format::Csv)
    {
        text = "seat,opponent,bubble_factor,risk_premium\n";
        for (size_t row = 0; row < grid.Rows.size(); ++row)
            for (size_t column = 0; column < columns; ++column)
                if (grid.Rows[row] != grid.Seats[column])
                    text += std::to_string(grid.Rows[row] + 1) + "," + std::to_string(grid.Seats[column] + 1) + "," +
                            CsvNumber(grid.Factor[row * columns + column]) + "," +
                            CsvNumber(grid.Premium[row * columns + column]) + "\n";
        return text;
    }
    std::string tables;
    for (const std::vector<double> *values : {&grid.Factor, &grid.Premium})
    {
        const bool factors = values == &grid.Factor;
        std::vector<std::vector<std::string>> rows(1, {factors ? "Bubble factor" : "Risk premium"});
        for (size_t column = 0; column < columns; ++column)
            rows[0].push_back("vs " + std::to_string(grid.Seats[column] + 1));
        for (size_t row = 0; row < grid.Rows.size(); ++row)
        {
            std::vector<std::string> line = {"Seat " + std::to_string(grid.Rows[row] + 1)};
            for (size_t column = 0; column < columns; ++column)
                line.push_back(factors ? TableNumber((*values)[row * columns + column], 3, 1.0, "")
                                       : TableNumber((*values)[row * columns + column], 1, 100.0, "%"));
            rows.push_back(line);
        }
        tables += AlignedTable(rows) + "\n";
    }
    return tables + "Rows risk their stack (up to the smaller one) against the column; method: " + report.Methods +
           "\n";
}

std::string FormatEqualStacks(const EqualStacksBubble &result, Format format)
{
    if (format == Format::Json)
        return "{\"equity_one_stack\": " + JsonNumber(result.EquityOneStack) + ", \"equity_two_stacks\": " +
               JsonNumber(result.EquityTwoStacks) + ", \"bubble_factor\": " + JsonNumber(result.BubbleFactor) +
               "}\n";
    if (format == Format::Csv)
        return "equity_one_stack,equity_two_stacks,bubble_factor\n" + CsvNumber(result.EquityOneStack) + "," +
               CsvNumber(result.EquityTwoStacks) + "," + CsvNumber(result.BubbleFactor) + "\n";
    return AlignedTable({{"$EV with one stack", Fixed(result.EquityOneStack, 4)},
                         {"$EV with two stacks", Fixed(result.EquityTwoStacks, 4)},
                         {"Bubble factor", TableNumber(result.BubbleFactor, 4, 1.0, "")}});
}

} // namespace ostrel
