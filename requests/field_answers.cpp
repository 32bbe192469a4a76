/*
 * Tables, CSV and JSON. Numbers for programs are written as the shortest text
 * that reads back to the same double (to_chars), which is also what makes the
 * Linux and Windows builds write the same bytes; tables for people round as
 * the window does.
 */
#include "field_answers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

SeatFigures FiguresOf(const EquityAnswer &report, double total, size_t seat)
{
    SeatFigures figures = {};
    if (report.Seats.Stacks[seat] == 0)
        return figures;
    figures.ChipShare = static_cast<double>(report.Seats.Stacks[seat]) / total;
    figures.Equity = report.Run.Equity[seat];
    figures.PoolShare = report.PrizePool > 0.0 ? figures.Equity / report.PrizePool : 0.0;
    return figures;
}

std::string Fixed(double value, int decimals)
{
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Characters on the screen: UTF-8 continuation bytes take no column.
size_t Width(const std::string &text)
{
    size_t width = 0;
    for (char c : text)
        width += (static_cast<unsigned char>(c) & 0xC0) == 0x80 ? 0 : 1;
    return width;
}

std::string Padded(const std::string &text, size_t width)
{
    const size_t own = Width(text);
    return own >= width ? text : std::string(width - own, ' ') + text;
}

// Right-aligned columns, each as wide as its widest cell.
std::string AlignedTable(const std::vector<std::vector<std::string>> &rows)
{
    std::vector<size_t> widths;
    for (const auto &row : rows)
        for (size_t column = 0; column < row.size(); ++column)
        {
            widths.resize(std::max(widths.size(), row.size()), 0);
            widths[column] = std::max(widths[column], Width(row[column]));
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
    return std::string("Method: ") + name + "\n";
}

std::string Counted(size_t count, const char *one, const char *many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// "9 players, 8 places paid": a forgotten place shows.
std::string PlayersLine(const SeatsShown &seats)
{
    return Counted(seats.Players, "player", "players") + ", " + Counted(seats.Paid, "place", "places") +
           " paid\n";
}

std::string StackOf(const SeatsShown &seats, size_t seat)
{
    return StackText(seats.Stacks[seat], seats.StackDecimals);
}

bool Named(const SeatsShown &seats)
{
    return !seats.Names.empty();
}

// Names hold no control character and no quote; a backslash is escaped.
std::string JsonText(const std::string &text)
{
    std::string escaped;
    for (char c : text)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return "\"" + escaped + "\"";
}

// The start of a seat's JSON object: seat, name where there is one, stack.
std::string JsonSeat(const SeatsShown &seats, size_t seat)
{
    return "{\"seat\": " + std::to_string(seat + 1) +
           (Named(seats) ? ", \"name\": " + JsonText(seats.Names[seat]) : std::string()) +
           ", \"stack\": " + StackOf(seats, seat);
}

std::string CsvSeatHeader(const SeatsShown &seats)
{
    return Named(seats) ? "seat,name,stack" : "seat,stack";
}

std::string CsvSeat(const SeatsShown &seats, size_t seat)
{
    return std::to_string(seat + 1) + (Named(seats) ? "," + seats.Names[seat] : std::string()) + "," +
           StackOf(seats, seat);
}

std::vector<std::string> TableSeatHeader(const SeatsShown &seats)
{
    return Named(seats) ? std::vector<std::string>{"Seat", "Player", "Stack"}
                        : std::vector<std::string>{"Seat", "Stack"};
}

std::vector<std::string> TableSeat(const SeatsShown &seats, size_t seat)
{
    std::vector<std::string> cells = {std::to_string(seat + 1)};
    if (Named(seats))
        cells.push_back(seats.Names[seat]);
    cells.push_back(StackOf(seats, seat));
    return cells;
}

std::string Ordinal(size_t place)
{
    const size_t tens = place % 100 / 10;
    const size_t last = place % 10;
    const char *suffix = tens == 1 || last == 0 || last > 3 ? "th"
                         : last == 1                        ? "st"
                         : last == 2                        ? "nd"
                                                            : "rd";
    return std::to_string(place) + suffix;
}

size_t PlacesShown(const EquityAnswer &report)
{
    return report.Run.Finish.Places;
}

double FinishChance(const EquityAnswer &report, size_t seat, size_t place)
{
    return report.Run.Finish.Chance[seat * PlacesShown(report) + place];
}

} // namespace

std::string Money(double value, int decimals)
{
    std::string text = Fixed(value, decimals);
    if (text[0] == '-' && text.find_first_of("123456789") == std::string::npos)
        text.erase(0, 1);
    return text;
}

std::string Grouped(const std::string &text)
{
    if (text.find_first_of("eE") != std::string::npos)
        return text;
    const size_t first = text.find_first_of("0123456789");
    if (first == std::string::npos)
        return text;
    const size_t end = std::min(text.find('.'), text.size());
    std::string grouped = text.substr(0, first);
    for (size_t i = first; i < end; ++i)
    {
        grouped += text[i];
        const size_t left = end - i - 1;
        if (left > 0 && left % 3 == 0)
            grouped += ',';
    }
    return grouped + text.substr(end);
}

std::string Amount(double value, int decimals)
{
    const std::string text = Money(value, decimals);
    if (value != 0.0 && text.find_first_of("123456789") == std::string::npos)
        return Readable(value, decimals);
    return text;
}

std::string Readable(double value, int decimals)
{
    if (value != 0.0 && std::isfinite(value))
    {
        // The magnitude of the value rounded to two significant digits, from
        // printf's %e, so that no platform's log10 or pow decides it and
        // 0.0000999 becomes 0.00010, not 0.000100.
        char text[64];
        std::snprintf(text, sizeof text, "%.1e", value);
        const char *mark = std::strchr(text, 'e');
        const int exponent = std::atoi(mark + 1);
        if (exponent < -11) // written out by hand: C libraries differ in their exponent digits
            return std::string(static_cast<const char *>(text), mark) + "e" + std::to_string(exponent);
        decimals = std::max(decimals, 1 - exponent);
    }
    return Money(value, decimals);
}

std::string FormatEquity(const EquityAnswer &report, Format format)
{
    const SeatsShown &shown = report.Seats;
    const size_t seats = shown.Stacks.size();
    const double total = TotalChips(shown.Stacks);
    const bool bounties = !report.BountyEquity.empty();
    std::string text;
    if (format == Format::Json)
    {
        text = std::string("{\"method\": \"") + MethodName(report.Run.Ran) +
               "\", \"prize_pool\": " + ShortestText(report.PrizePool) +
               (bounties ? ", \"bounty_money\": " + ShortestText(report.BountyMoney) : std::string()) +
               ", \"players\": [";
        for (size_t seat = 0; seat < seats; ++seat)
        {
            const SeatFigures figures = FiguresOf(report, total, seat);
            text += (seat == 0 ? "" : ", ") + JsonSeat(shown, seat) +
                    ", \"chip_share\": " + ShortestText(figures.ChipShare) +
                    ", \"equity\": " + ShortestText(figures.Equity) +
                    ", \"pool_share\": " + ShortestText(figures.PoolShare) +
                    (bounties ? ", \"bounty_ev\": " + ShortestText(report.BountyEquity[seat]) +
                                    ", \"total_ev\": " + ShortestText(figures.Equity + report.BountyEquity[seat])
                              : std::string()) +
                    "}";
        }
        return text + "]}\n";
    }
    if (format == Format::Csv)
    {
        text = CsvSeatHeader(shown) + ",chip_share,equity,pool_share" + (bounties ? ",bounty_ev,total_ev" : "") +
               "\n";
        for (size_t seat = 0; seat < seats; ++seat)
        {
            const SeatFigures figures = FiguresOf(report, total, seat);
            text += CsvSeat(shown, seat) + "," + ShortestText(figures.ChipShare) + "," +
                    ShortestText(figures.Equity) + "," + ShortestText(figures.PoolShare) +
                    (bounties ? "," + ShortestText(report.BountyEquity[seat]) + "," +
                                    ShortestText(figures.Equity + report.BountyEquity[seat])
                              : std::string()) +
                    "\n";
        }
        return text;
    }
    std::vector<std::vector<std::string>> rows = {TableSeatHeader(shown)};
    for (const char *title : {"Chips %", "$EV", "Pool %"})
        rows[0].push_back(title);
    if (bounties)
        for (const char *title : {"Bounty $EV", "Total $EV"})
            rows[0].push_back(title);
    const auto money = [&shown](double value) {
        const std::string amount = Amount(value, std::max(3, shown.MoneyDecimals));
        return shown.Separators ? Grouped(amount) : amount;
    };
    for (size_t seat = 0; seat < seats; ++seat)
    {
        const SeatFigures figures = FiguresOf(report, total, seat);
        std::vector<std::string> row = TableSeat(shown, seat);
        for (const std::string &cell :
             {Readable(figures.ChipShare * 100.0, 2), money(figures.Equity), Readable(figures.PoolShare * 100.0, 2)})
            row.push_back(cell);
        if (bounties)
            for (double value : {report.BountyEquity[seat], figures.Equity + report.BountyEquity[seat]})
                row.push_back(money(value));
        rows.push_back(row);
    }
    const std::string pool = Amount(report.PrizePool, shown.MoneyDecimals);
    const std::string bountyMoney = Amount(report.BountyMoney, shown.MoneyDecimals);
    return AlignedTable(rows) + "Prize pool: " + (shown.Separators ? Grouped(pool) : pool) + "\n" +
           (bounties ? "Bounty money in play: " + (shown.Separators ? Grouped(bountyMoney) : bountyMoney) + "\n"
                     : std::string()) +
           PlayersLine(shown) + MethodLine(report.Run);
}

std::string FormatFinish(const EquityAnswer &report, Format format)
{
    const SeatsShown &shown = report.Seats;
    const size_t seats = shown.Stacks.size();
    const size_t places = PlacesShown(report);
    std::string text;
    if (format == Format::Json)
    {
        text = std::string("{\"method\": \"") + MethodName(report.Run.Ran) + "\", \"players\": [";
        for (size_t seat = 0; seat < seats; ++seat)
        {
            text += (seat == 0 ? "" : ", ") + JsonSeat(shown, seat) + ", \"places\": [";
            for (size_t place = 0; place < places; ++place)
                text += (place == 0 ? "" : ", ") + ShortestText(FinishChance(report, seat, place));
            text += "]}";
        }
        return text + "]}\n";
    }
    if (format == Format::Csv)
    {
        text = CsvSeatHeader(shown);
        for (size_t place = 1; place <= places; ++place)
            text += ",place_" + std::to_string(place);
        text += "\n";
        for (size_t seat = 0; seat < seats; ++seat)
        {
            text += CsvSeat(shown, seat);
            for (size_t place = 0; place < places; ++place)
                text += "," + ShortestText(FinishChance(report, seat, place));
            text += "\n";
        }
        return text;
    }
    std::vector<std::vector<std::string>> rows(1, TableSeatHeader(shown));
    for (size_t place = 1; place <= places; ++place)
        rows[0].push_back(Ordinal(place));
    for (size_t seat = 0; seat < seats; ++seat)
    {
        std::vector<std::string> row = TableSeat(shown, seat);
        for (size_t place = 0; place < places; ++place)
            row.push_back(Readable(FinishChance(report, seat, place) * 100.0, 1) + "%");
        rows.push_back(row);
    }
    return AlignedTable(rows) + PlayersLine(shown) + MethodLine(report.Run);
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
    return std::isfinite(value) ? Readable(value * scale, decimals) + unit : "-";
}

} // namespace

std::string FormatDeal(const DealAnswer &report, Format format)
{
    const Deal &deal = report.Result;
    const SeatsShown &shown = report.Seats;
    const size_t seats = shown.Stacks.size();
    const bool bounties = !report.BountyEquity.empty();
    std::string text;
    if (format == Format::Json)
    {
        text = "{\"split\": \"" + report.Split + "\", \"method\": \"" + report.Methods +
               "\", \"prize_pool\": " + ShortestText(deal.PrizePool) +
               ", \"kept_for_winner\": " + ShortestText(report.Kept) +
               (bounties ? ", \"bounty_money\": " + ShortestText(report.BountyMoney) : std::string()) +
               ", \"players\": [";
        for (size_t seat = 0; seat < seats; ++seat)
        {
            const DealSeat &one = deal.Seats[seat];
            text += (seat == 0 ? "" : ", ") + JsonSeat(shown, seat) +
                    ", \"payment\": " + ShortestText(one.Payment) +
                    ", \"deal_value\": " + ShortestText(one.DealValue) +
                    ", \"equity\": " + ShortestText(one.Equity) +
                    ", \"difference\": " + ShortestText(one.Difference) +
                    (bounties ? ", \"bounty_ev\": " + ShortestText(report.BountyEquity[seat]) : std::string()) + "}";
        }
        return text + "]}\n";
    }
    if (format == Format::Csv)
    {
        text = CsvSeatHeader(shown) + ",payment,deal_value,equity,difference" + (bounties ? ",bounty_ev" : "") + "\n";
        for (size_t seat = 0; seat < seats; ++seat)
        {
            const DealSeat &one = deal.Seats[seat];
            text += CsvSeat(shown, seat) + "," + ShortestText(one.Payment) + "," +
                    ShortestText(one.DealValue) + "," + ShortestText(one.Equity) + "," +
                    ShortestText(one.Difference) +
                    (bounties ? "," + ShortestText(report.BountyEquity[seat]) : std::string()) + "\n";
        }
        return text;
    }
    const auto money = [&shown](double value) {
        const std::string amount = Money(value, shown.MoneyDecimals);
        return shown.Separators ? Grouped(amount) : amount;
    };
    std::vector<std::vector<std::string>> rows = {TableSeatHeader(shown)};
    for (const char *title : {"Payment", "Deal value", "$EV", "Difference"})
        rows[0].push_back(title);
    if (bounties)
        rows[0].push_back("Of it bounty");
    for (size_t seat = 0; seat < seats; ++seat)
    {
        const DealSeat &one = deal.Seats[seat];
        std::vector<std::string> row = TableSeat(shown, seat);
        for (double value : {one.Payment, one.DealValue, one.Equity, one.Difference})
            row.push_back(money(value));
        if (bounties)
            row.push_back(money(report.BountyEquity[seat]));
        rows.push_back(row);
    }
    return AlignedTable(rows) + "Prize pool: " + money(deal.PrizePool) +
           ", kept for the winner: " + money(report.Kept) + ", dealt: " + money(deal.Dealt) +
           (bounties ? "; bounty money dealt too: " + money(report.BountyMoney) : std::string()) + "\n" + PlayersLine(shown) + "Split: " + report.Split + ", method: " + report.Methods + "\n";
}

namespace
{

std::string FactorCell(double value)
{
    return TableNumber(value, 3, 1.0, "");
}

std::string PremiumCell(double value)
{
    return TableNumber(value, 1, 100.0, "%");
}

std::string SeatLabel(const SeatsShown &seats, size_t seat)
{
    return "Seat " + std::to_string(seat + 1) +
           (Named(seats) ? " (" + seats.Names[seat] + ")" : std::string());
}

// One seat against each opponent, a line each: long fields stay readable.
std::string BubbleRowTable(const BubbleAnswer &report)
{
    const BubbleGrid &grid = report.Grid;
    const SeatsShown &shown = report.Seats;
    const size_t hero = grid.Rows[0];
    std::vector<std::vector<std::string>> rows(1, {"Opponent"});
    if (Named(shown))
        rows[0].push_back("Player");
    for (const char *title : {"Stack", "Bubble factor", "Risk premium"})
        rows[0].push_back(title);
    for (size_t column = 0; column < grid.Seats.size(); ++column)
    {
        const size_t opponent = grid.Seats[column];
        if (opponent == hero)
            continue;
        std::vector<std::string> row = TableSeat(shown, opponent);
        row.push_back(FactorCell(grid.Factor[column]));
        row.push_back(PremiumCell(grid.Premium[column]));
        rows.push_back(row);
    }
    return SeatLabel(shown, hero) + ", stack " + StackOf(shown, hero) + ", against each opponent:\n" +
           AlignedTable(rows) + "\n" + PlayersLine(shown) + SeatLabel(shown, hero) +
           " risks its stack (up to the smaller one) against each opponent; method: " + report.Methods + "\n";
}

} // namespace

std::string FormatBubbleGrid(const BubbleAnswer &report, Format format)
{
    const BubbleGrid &grid = report.Grid;
    const SeatsShown &shown = report.Seats;
    const size_t columns = grid.Seats.size();
    std::string text;
    if (format == Format::Json)
    {
        text = "{\"method\": \"" + report.Methods + "\", ";
        if (report.OneRow)
            text += "\"seat\": " + std::to_string(report.Seat + 1) + ", ";
        text += "\"seats\": [";
        for (size_t column = 0; column < columns; ++column)
            text += (column == 0 ? "" : ", ") + std::to_string(grid.Seats[column] + 1);
        if (Named(shown))
        {
            text += "], \"names\": [";
            for (size_t column = 0; column < columns; ++column)
                text += (column == 0 ? "" : ", ") + JsonText(shown.Names[grid.Seats[column]]);
        }
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
        const bool named = Named(shown);
        text = named ? "seat,name,opponent,opponent_name,bubble_factor,risk_premium\n"
                     : "seat,opponent,bubble_factor,risk_premium\n";
        for (size_t row = 0; row < grid.Rows.size(); ++row)
            for (size_t column = 0; column < columns; ++column)
            {
                const size_t seat = grid.Rows[row];
                const size_t opponent = grid.Seats[column];
                if (seat == opponent)
                    continue;
                text += std::to_string(seat + 1) + (named ? "," + shown.Names[seat] : std::string()) + "," +
                        std::to_string(opponent + 1) + (named ? "," + shown.Names[opponent] : std::string()) +
                        "," + CsvNumber(grid.Factor[row * columns + column]) + "," +
                        CsvNumber(grid.Premium[row * columns + column]) + "\n";
            }
        return text;
    }
    if (report.OneRow)
        return BubbleRowTable(report);
    std::string tables;
    for (const std::vector<double> *values : {&grid.Factor, &grid.Premium})
    {
        const bool factors = values == &grid.Factor;
        std::vector<std::vector<std::string>> rows(1, {factors ? "Bubble factor" : "Risk premium"});
        for (size_t column = 0; column < columns; ++column)
            rows[0].push_back("vs " + std::to_string(grid.Seats[column] + 1));
        for (size_t row = 0; row < grid.Rows.size(); ++row)
        {
            std::vector<std::string> line = {SeatLabel(shown, grid.Rows[row])};
            for (size_t column = 0; column < columns; ++column)
                line.push_back(factors ? FactorCell((*values)[row * columns + column])
                                       : PremiumCell((*values)[row * columns + column]));
            rows.push_back(line);
        }
        tables += AlignedTable(rows) + "\n";
    }
    return tables + PlayersLine(shown) +
           "Rows risk their stack (up to the smaller one) against the column; method: " + report.Methods +
           "\n";
}

std::string FormatEqualStacks(const EqualStacksAnswer &report, Format format)
{
    const EqualStacksBubble &result = report.Result;
    const bool both = report.BustPaid;
    if (format == Format::Json)
        return "{\"equity_one_stack\": " + JsonNumber(result.EquityOneStack) +
               ", \"equity_two_stacks\": " + JsonNumber(result.EquityTwoStacks) +
               ", \"bubble_factor\": " + JsonNumber(result.BubbleFactor) +
               (both ? ", \"bubble_factor_bust_paid\": " + JsonNumber(report.FactorBustPaid)
                     : std::string()) +
               "}\n";
    if (format == Format::Csv)
        return std::string("equity_one_stack,equity_two_stacks,bubble_factor") +
               (both ? ",bubble_factor_bust_paid\n" : "\n") + CsvNumber(result.EquityOneStack) + "," +
               CsvNumber(result.EquityTwoStacks) + "," + CsvNumber(result.BubbleFactor) +
               (both ? "," + CsvNumber(report.FactorBustPaid) : std::string()) + "\n";
    std::vector<std::vector<std::string>> rows = {
        {"$EV with one stack", Amount(result.EquityOneStack, 4)},
        {"$EV with two stacks", Amount(result.EquityTwoStacks, 4)},
        {both ? "Bubble factor, a bust taking nothing (the window's)" : "Bubble factor",
         TableNumber(result.BubbleFactor, 4, 1.0, "")}};
    if (both)
        rows.push_back({"Bubble factor, a bust taking place " + std::to_string(report.Players),
                        TableNumber(report.FactorBustPaid, 4, 1.0, "")});
    return AlignedTable(rows);
}

} // namespace ostrel
