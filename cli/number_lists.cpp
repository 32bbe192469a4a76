/*
 * Judging list items: a stack is digits only (a zero fraction such as
 * "1500.00" is still a whole count), a prize is digits with at most one
 * point. Prizes convert with from_chars, which rounds correctly and the same
 * on every platform, so both builds read the same doubles.
 */
#include "number_lists.h"

#include <charconv>
#include <cmath>

#include "field.h"

namespace ostrel
{
namespace
{

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string Trimmed(const std::string &text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        begin += 1;
    while (end > begin && IsBlank(text[end - 1]))
        end -= 1;
    return text.substr(begin, end - begin);
}

// A short, printable rendering of what was typed, for messages.
std::string Quoted(const std::string &item)
{
    std::string shown;
    for (char c : item.substr(0, 40))
        shown += (c >= ' ' && c < 127) ? c : '?';
    return "\"" + shown + (item.size() > 40 ? "...\"" : "\"");
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits, then optionally a point and digits; at least one digit in all.
bool IsDecimal(const std::string &text, size_t &point)
{
    point = text.find('.');
    size_t digits = 0;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (i == point)
            continue;
        if (!IsDigit(text[i]))
            return false;
        digits += 1;
    }
    return digits > 0;
}

template <typename Item, typename Parse>
std::vector<Item> ParseList(const std::string &text, const char *what, Parse parse, std::string &error)
{
    std::vector<Item> items;
    error.clear();
    size_t start = 0;
    for (size_t number = 1;; ++number)
    {
        const size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        Item value{};
        const std::string problem = parse(item, value);
        if (!problem.empty())
        {
            error = std::string(what) + " " + std::to_string(number) + ": " + problem;
            return {};
        }
        items.push_back(value);
        if (comma == std::string::npos)
            return items;
        start = comma + 1;
    }
}

} // namespace

std::string ParseStack(const std::string &item, int64_t &stack)
{
    const std::string text = Trimmed(item);
    if (text.empty())
        return "no stack given (an empty seat is 0)";
    if (text[0] == '-' && text.size() > 1)
        return Quoted(text) + " is negative; a stack is 0 or more chips";
    size_t point = 0;
    if (!IsDecimal(text, point))
        return Quoted(text) + " is not a whole number of chips";
    if (point != std::string::npos && text.find_first_not_of('0', point + 1) != std::string::npos)
        return Quoted(text) + " is a fraction of a chip; a stack is a whole number";
    const std::string whole = text.substr(0, point);
    const size_t first = whole.find_first_not_of('0');
    const std::string digits = first == std::string::npos ? "0" : whole.substr(first);
    if (digits.size() > 16)
        return Quoted(text) + " is more than 10^15 chips";
    int64_t value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (value > MaxStack)
        return Quoted(text) + " is more than 10^15 chips";
    stack = value;
    return "";
}

std::string ParsePrize(const std::string &item, double &prize)
{
    const std::string text = Trimmed(item);
    if (text.empty())
        return "no amount given (a place that pays nothing is 0)";
    if (text[0] == '-' && text.size() > 1)
        return Quoted(text) + " is negative; a prize is 0 or more";
    size_t point = 0;
    if (!IsDecimal(text, point))
        return Quoted(text) + " is not an amount (digits with a decimal point)";
    double value = 0.0;
    const std::from_chars_result read = std::from_chars(text.data(), text.data() + text.size(), value,
                                                        std::chars_format::fixed);
    if (read.ec != std::errc() || read.ptr != text.data() + text.size() || !std::isfinite(value))
        return Quoted(text) + " is too large an amount";
    prize = value;
    return "";
}

std::string ShortestText(double value)
{
    char text[64];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

std::vector<int64_t> ParseStackList(const std::string &text, std::string &error)
{
    return ParseList<int64_t>(text, "stack", ParseStack, error);
}

std::vector<double> ParsePrizeList(const std::string &text, std::string &error)
{
    return ParseList<double>(text, "prize", ParsePrize, error);
}

std::vector<int64_t> ParseStackLines(const std::string &text, std::string &error)
{
    std::vector<int64_t> stacks;
    error.clear();
    size_t start = 0;
    for (size_t line = 1; start < text.size(); ++line)
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string item = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (item.empty() || item[0] == '#')
            continue;
        int64_t stack = 0;
        const std::string problem = ParseStack(item, stack);
        if (!problem.empty())
        {
            error = "line " + std::to_string(line) + ": " + problem;
            return {};
        }
        stacks.push_back(stack);
    }
    return stacks;
}

} // namespace ostrel
