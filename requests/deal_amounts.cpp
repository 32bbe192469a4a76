/*
 * The amounts of a rounded deal, judged as typed: the rounding unit kept in
 * decimal, and every prize (or a pool's share) and the amount kept for the
 * winner held exactly by its double, since the deal decides in decimals.
 */
#include "deal_amounts.h"

#include <algorithm>

#include "exact_money.h"
#include "number_lists.h"

namespace ostrel
{
namespace
{

// An amount as typed, in the form DecimalText writes: no leading zeros
// before the units, no trailing zeros after the point.
std::string PlainDecimal(std::string text)
{
    text.erase(0, text.find_first_not_of(" \t\r"));
    text.erase(text.find_last_not_of(" \t\r") + 1);
    if (text.find('.') != std::string::npos)
    {
        text.erase(text.find_last_not_of('0') + 1);
        if (!text.empty() && text.back() == '.')
            text.pop_back();
    }
    text.erase(0, std::min(text.find_first_not_of('0'), text.size()));
    if (text.empty() || text[0] == '.')
        text.insert(0, "0");
    return text;
}

// A rounded deal decides in exact decimals on the amounts the computation
// holds: each amount (as typed, or a pool's share) must be the shortest
// decimal of its double.
Status ExactAmount(const std::string &what, const std::string &typed, const std::string &exact,
                           double value)
{
    const DecimalAmount held = DecimalOf(value);
    const std::string kept = DecimalText(held.Digits, held.Decimals);
    if (PlainDecimal(exact) == kept)
        return Status();
    const std::string amount = PlainDecimal(typed) == PlainDecimal(exact) ? "" : " (" + exact + " of the pool)";
    return Failure(what + " \"" + typed + "\"" + amount + " has more digits than a double keeps (it is held as " +
                           kept + "): a rounded deal needs every amount exactly");
}

} // namespace

// A rounding unit as typed, kept in decimal so that payments come out exact.
Status ParseRoundingUnit(const std::string &text, MoneyUnit &unit)
{
    double value = 0.0;
    const std::string problem = ParsePrize(text, value);
    if (!problem.empty() || !(value > 0.0))
        return Failure("--round: the unit must be an amount above 0" +
                               (problem.empty() ? "" : ": " + problem));
    std::string digits;
    int32_t decimals = 0;
    bool afterPoint = false;
    for (char c : text)
        if (c == '.')
            afterPoint = true;
        else if (c >= '0' && c <= '9')
        {
            digits += c;
            decimals += afterPoint ? 1 : 0;
        }
    while (decimals > 0 && digits.back() == '0')
    {
        digits.pop_back();
        decimals -= 1;
    }
    const size_t first = digits.find_first_not_of('0');
    if (digits.size() - first > 15 || decimals > 15)
        return Failure("--round: the unit has more than 15 significant digits");
    unit.Count = std::stoll(digits.substr(first));
    unit.Decimals = decimals;
    return Status();
}

Status CheckExactAmounts(const std::string &keepText, bool prizesTyped, const std::string &prizesText,
                         const std::string &poolText, const std::vector<double> &prizes)
{
    double keep = 0.0;
    ParsePrize(keepText, keep);
    Status status = ExactAmount("--keep:", keepText, keepText, keep);
    if (!status.Ok || !prizesTyped)
        return status;
    std::string error;
    const std::vector<std::string> exact = ReadPrizeDecimals(prizesText, poolText, error);
    size_t start = 0;
    for (size_t place = 0; place < prizes.size() && place < exact.size() && status.Ok; ++place)
    {
        const size_t comma = prizesText.find(',', start);
        status = ExactAmount("--prizes: prize " + std::to_string(place + 1) + ":",
                             prizesText.substr(start, comma - start), exact[place], prizes[place]);
        start = comma + 1;
    }
    return status;
}

} // namespace ostrel
