/*
 * Numbers and cells of the poker questions' answers. Cost: one formatting each.
 */
#include "answer_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "number_text.h"

namespace ostrel
{

std::string Fixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return "-";
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Signed(double value, int decimals)
{
    if (!std::isfinite(value))
        return "-";
    char text[400];
    std::snprintf(text, sizeof text, "%+.*f", decimals, value);
    // A value that rounds to zero has no sign: never "-0.00".
    const std::string shown = text;
    return shown.find_first_not_of("+-0.") == std::string::npos ? shown.substr(1) : shown;
}

std::string JsonNumber(double value)
{
    return std::isfinite(value) ? ShortestText(value) : "null";
}

std::string Padded(const std::string &text, size_t width, bool left)
{
    if (text.size() >= width)
        return text;
    const std::string fill(width - text.size(), ' ');
    return left ? text + fill : fill + text;
}

std::string Aligned(const std::vector<std::vector<std::string>> &rows, const std::vector<size_t> &leftColumns)
{
    std::vector<size_t> widths;
    for (const auto &row : rows)
    {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    }
    std::string text;
    for (const auto &row : rows)
    {
        std::string line;
        for (size_t column = 0; column < row.size(); ++column)
        {
            const bool left = std::find(leftColumns.begin(), leftColumns.end(), column) != leftColumns.end();
            line += (column == 0 ? "" : "  ") + Padded(row[column], widths[column], left);
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        text += line + "\n";
    }
    return text;
}

std::string PoolWords(double worth, bool chipEv, const Bounties &bounties)
{
    if (!HasBounties(bounties))
        return chipEv ? "chip EV, " + Fixed(worth, 0) + " chips in play" : "prize pool " + Fixed(worth, 2);
    const double rest = worth - bounties.Scale * bounties.InPlay;
    return (chipEv ? "chip EV, " + Fixed(rest, 0) + " chips" : "prize pool " + Fixed(rest, 2)) + " and bounty money " +
           Fixed(bounties.InPlay, 2) + " in play (" + Fixed(bounties.CashShare * 100.0, 0) + "% of a bounty in cash" +
           (chipEv ? ", " + JsonNumber(bounties.Scale) + " chips a unit" : std::string()) + ")";
}

std::string WorthName(bool chipEv, const Bounties &bounties)
{
    const std::string name = chipEv ? "chips" : "prize pool";
    return HasBounties(bounties) ? name + " and bounty money" : name;
}

} // namespace ostrel
