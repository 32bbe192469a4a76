/*
 * Judging list items. Numbers are read as decimal digits and an exponent
 * before anything is converted: stacks then scale to whole counts exactly,
 * percentages of a pool multiply out in decimal, and amounts convert once
 * with from_chars, which rounds correctly and the same on every platform,
 * so both builds read the same doubles.
 */
#include "number_lists.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>

#include "field.h"

namespace ostrel
{
namespace
{

constexpr size_t MaxSeatNumber = 1000000;
constexpr int32_t PercentDecimals = 9;

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

// Digits × 10^Exponent, Digits without leading or trailing zeros ("" is 0).
struct Decimal
{
    std::string Digits;
    int32_t Exponent = 0;
};

const char *const NoSeparators =
    " starts with a zero: lists are separated by commas and numbers carry no thousands separators "
    "(2450000, not 2,450,000)";

// A decimal text as typed; "" when it is one, else what is wrong, for
// "not a number" cases left to the caller (returned as "?").
std::string ReadDecimal(const std::string &text, Decimal &number)
{
    size_t point = 0;
    if (!IsDecimal(text, point))
        return "?";
    const std::string whole = text.substr(0, point);
    if (whole.size() > 1 && whole[0] == '0')
        return Quoted(text) + NoSeparators;
    std::string digits = whole;
    int32_t exponent = 0;
    if (point != std::string::npos)
    {
        const std::string fraction = text.substr(point + 1);
        if (fraction.size() > 100000)
            return Quoted(text) + " has too many digits";
        digits += fraction;
        exponent = -static_cast<int32_t>(fraction.size());
    }
    const size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
    {
        number = Decimal();
        return "";
    }
    digits.erase(0, first);
    while (digits.back() == '0')
    {
        digits.pop_back();
        exponent += 1;
    }
    number.Digits = digits;
    number.Exponent = exponent;
    return "";
}

// The number of digits before the point (may be 0 or negative).
int64_t Magnitude(const Decimal &number)
{
    return static_cast<int64_t>(number.Digits.size()) + number.Exponent;
}

// Whether the number, times 10^shift, is above 10^15.
bool AboveMaxStack(const Decimal &number, int32_t shift)
{
    if (number.Digits.empty())
        return false;
    const int64_t magnitude = Magnitude(number) + shift;
    return magnitude > 16 || (magnitude == 16 && number.Digits != "1");
}

// The number as fixed-point text: "0.0025", "7500".
std::string FixedText(const Decimal &number)
{
    if (number.Digits.empty())
        return "0";
    if (number.Exponent >= 0)
        return number.Digits + std::string(static_cast<size_t>(number.Exponent), '0');
    const int64_t magnitude = Magnitude(number);
    if (magnitude <= 0)
        return "0." + std::string(static_cast<size_t>(-magnitude), '0') + number.Digits;
    return number.Digits.substr(0, static_cast<size_t>(magnitude)) + "." +
           number.Digits.substr(static_cast<size_t>(magnitude));
}

// The nearest double to a decimal; what is wrong where there is none.
std::string ToDouble(const Decimal &number, const std::string &typed, double &value)
{
    const std::string text = FixedText(number);
    const std::from_chars_result read =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    const bool tiny = !number.Digits.empty() && Magnitude(number) <= 0;
    if (tiny && (read.ec == std::errc::result_out_of_range || !(std::fabs(value) >= DBL_MIN)))
        return Quoted(typed) + " is too small an amount to compute with (the smallest is about 2.2e-308)";
    if (read.ec != std::errc() || read.ptr != text.data() + text.size() || !std::isfinite(value))
        return Quoted(typed) + " is too large an amount";
    return "";
}

// The product of two digit strings, schoolbook.
std::string TimesDigits(const std::string &a, const std::string &b)
{
    if (a.empty() || b.empty())
        return "";
    std::vector<int> sum(a.size() + b.size(), 0);
    for (size_t i = a.size(); i-- > 0;)
        for (size_t j = b.size(); j-- > 0;)
        {
            const int at = static_cast<int>(i + j + 1);
            const int total = sum[static_cast<size_t>(at)] + (a[i] - '0') * (b[j] - '0');
            sum[static_cast<size_t>(at)] = total % 10;
            sum[static_cast<size_t>(at - 1)] += total / 10;
        }
    std::string digits;
    for (int digit : sum)
        if (!digits.empty() || digit != 0)
            digits += static_cast<char>('0' + digit);
    return digits;
}

Decimal Times(const Decimal &a, const Decimal &b, int32_t exponent)
{
    Decimal product;
    product.Digits = TimesDigits(a.Digits, b.Digits);
    product.Exponent = a.Exponent + b.Exponent + exponent;
    if (product.Digits.empty())
        product.Exponent = 0;
    while (!product.Digits.empty() && product.Digits.back() == '0')
    {
        product.Digits.pop_back();
        product.Exponent += 1;
    }
    return product;
}

// A stack item before the list decides its units.
std::string ReadStack(const std::string &item, Decimal &stack)
{
    const std::string text = Trimmed(item);
    if (text.empty())
        return "no stack given (an empty seat is 0)";
    if (text[0] == '-' && text.size() > 1)
        return Quoted(text) + " is negative; a stack is 0 or more chips";
    if (text.find(',') != std::string::npos)
        return Quoted(text) +
               " holds a comma: numbers carry no thousands separators (2450000, not 2,450,000)";
    const char last = text.back();
    const int32_t suffix = last == 'k' || last == 'K' ? 3 : last == 'M' ? 6 : 0;
    const std::string number = suffix == 0 ? text : Trimmed(text.substr(0, text.size() - 1));
    const std::string problem = ReadDecimal(number, stack);
    if (problem == "?")
        return Quoted(text) +
               " is not a whole number of chips, a decimal (24.5) or a count with k or M (2.45M)";
    if (!problem.empty())
        return problem;
    if (!stack.Digits.empty())
        stack.Exponent += suffix;
    if (AboveMaxStack(stack, 0))
        return Quoted(text) + " is more than 10^15 chips";
    return "";
}

// Stacks in common units: the finest any of them needs.
std::string ScaleStacks(const std::vector<Decimal> &stacks, const std::vector<std::string> &texts,
                        const char *what, StackList &list)
{
    int32_t decimals = 0;
    size_t finest = 0;
    for (size_t i = 0; i < stacks.size(); ++i)
        if (!stacks[i].Digits.empty() && -stacks[i].Exponent > decimals)
        {
            decimals = -stacks[i].Exponent;
            finest = i;
        }
    list.Decimals = decimals;
    list.Chips.assign(stacks.size(), 0);
    for (size_t i = 0; i < stacks.size(); ++i)
    {
        if (stacks[i].Digits.empty())
            continue;
        if (AboveMaxStack(stacks[i], decimals))
            return std::string(what) + " " + std::to_string(i + 1) + ": " + Quoted(texts[i]) +
                   " is more than 10^15 units of " + Quoted(texts[finest]) +
                   ", the finest stack: give the stacks with fewer decimals";
        const std::string digits =
            stacks[i].Digits + std::string(static_cast<size_t>(stacks[i].Exponent + decimals), '0');
        std::from_chars(digits.data(), digits.data() + digits.size(), list.Chips[i]);
    }
    return "";
}

// A percentage item: in units of 10^-9 %, at most 100 %.
std::string ReadPercent(const std::string &text, Decimal &percent, int64_t &units)
{
    if (text.empty() || text.back() != '%')
        return Quoted(text) +
               " is not a percentage: with --pool every prize is a percentage of the pool (25%)";
    const std::string number = Trimmed(text.substr(0, text.size() - 1));
    const std::string problem = ReadDecimal(number, percent);
    if (problem == "?")
        return Quoted(text) + " is not a percentage (digits, optionally with a decimal point: 25% or 12.5%)";
    if (!problem.empty())
        return problem;
    if (!percent.Digits.empty() && -percent.Exponent > PercentDecimals)
        return Quoted(text) + " has more than 9 decimals";
    if (Magnitude(percent) > 3 || (Magnitude(percent) == 3 && percent.Digits != "1"))
        return Quoted(text) + " is more than 100 %";
    const std::string digits =
        percent.Digits.empty()
            ? "0"
            : percent.Digits + std::string(static_cast<size_t>(percent.Exponent + PercentDecimals), '0');
    std::from_chars(digits.data(), digits.data() + digits.size(), units);
    return "";
}

// Reads prize items one by one, as amounts or as percentages of a pool.
class PrizeReader
{
  public:
    explicit PrizeReader(const std::string &pool) : HasPool(!pool.empty())
    {
        double amount = 0.0;
        if (HasPool)
            PoolProblem = ParsePrize(pool, amount);
        if (HasPool && PoolProblem.empty())
            ReadDecimal(Trimmed(pool), Pool);
    }

    std::string Add(const std::string &item)
    {
        const std::string text = Trimmed(item);
        double prize = 0.0;
        if (!HasPool)
        {
            const std::string problem = ParsePrize(text, prize);
            if (!problem.empty())
                return problem;
            Decimal typed;
            ReadDecimal(text, typed);
            Exact.push_back(FixedText(typed));
        }
        else
        {
            if (text.empty())
                return "no percentage given (a place that pays nothing is 0%)";
            Decimal percent;
            int64_t units = 0;
            std::string problem = ReadPercent(text, percent, units);
            const Decimal share = Times(Pool, percent, -2);
            if (problem.empty())
                problem = ToDouble(share, text, prize);
            if (!problem.empty())
                return problem;
            Exact.push_back(FixedText(share));
            PercentUnits += units;
            if (PercentUnits > 100 * Billion)
                return "the percentages come to more than 100 % by this one";
        }
        Prizes.push_back(prize);
        return "";
    }

    const bool HasPool;
    std::string PoolProblem;
    std::vector<double> Prizes;
    // Each prize as the decimal it stands for, before conversion.
    std::vector<std::string> Exact;

  private:
    static constexpr int64_t Billion = 1000000000;
    Decimal Pool;
    int64_t PercentUnits = 0;
};

template <typename Add> std::string EachItem(const std::string &text, Add add)
{
    size_t start = 0;
    for (size_t number = 1;; ++number)
    {
        const size_t comma = text.find(',', start);
        const std::string problem =
            add(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start), number);
        if (!problem.empty())
            return problem;
        if (comma == std::string::npos)
            return "";
        start = comma + 1;
    }
}

bool IsControl(unsigned char c)
{
    return c < ' ' || c == 127;
}

// Whether a name can be written as it is to a table, CSV and JSON.
bool IsShowableName(const std::string &name)
{
    size_t following = 0;
    for (const char typed : name)
    {
        const auto c = static_cast<unsigned char>(typed);
        if (following > 0)
        {
            if ((c & 0xC0) != 0x80)
                return false;
            following -= 1;
        }
        else if (c >= 0xF0 && c <= 0xF4)
            following = 3;
        else if (c >= 0xE0 && c < 0xF0)
            following = 2;
        else if (c >= 0xC2 && c < 0xE0)
            following = 1;
        else if (c >= 0x80 || IsControl(c) || c == '"')
            return false;
    }
    return following == 0;
}

enum class LineForm
{
    None,
    Stack,
    Seat,
    Name,
};

const char *FormName(LineForm form)
{
    return form == LineForm::Seat ? "seat,stack" : form == LineForm::Name ? "name,stack" : "stack";
}

} // namespace

namespace
{

// An amount of 0 or more from trimmed `text`, the empty and the negative
// text named as `none` and `what` say; "?" when it is no number at all, for
// the caller to say why.
std::string ReadAmount(const std::string &text, const std::string &none, const char *what, double &amount)
{
    if (text.empty())
        return none;
    if (text[0] == '-' && text.size() > 1)
        return Quoted(text) + " is negative; a " + what + " is 0 or more";
    Decimal number;
    const std::string problem = ReadDecimal(text, number);
    return problem.empty() ? ToDouble(number, text, amount) : problem;
}

} // namespace

std::string ParsePrize(const std::string &item, double &prize)
{
    const std::string text = Trimmed(item);
    const std::string problem = ReadAmount(text, "no amount given (a place that pays nothing is 0)", "prize", prize);
    if (problem != "?")
        return problem;
    if (text.find('$') != std::string::npos)
    {
        std::string bare = text;
        bare.erase(std::remove(bare.begin(), bare.end(), '$'), bare.end());
        return Quoted(text) + " is not an amount: write it without a currency sign (" + Escaped(bare) + ")";
    }
    if (text.back() == '%')
        return Quoted(text) +
               " is a percentage: give the prize pool with --pool AMOUNT to pay in percent of it";
    return Quoted(text) + " is not an amount (digits, optionally with a decimal point: 7500 or 7500.50)";
}

std::string ParseBounty(const std::string &item, const char *what, double &amount)
{
    const std::string text = Trimmed(item);
    const std::string problem = ReadAmount(text, std::string("no ") + what + " given (none is 0)", what, amount);
    if (problem != "?")
        return problem;
    return Quoted(text) + " is not an amount (digits, optionally with a decimal point: 25 or 12.50)";
}

std::vector<double> ReadBountyList(const std::string &text, std::string &error)
{
    std::vector<double> bounties;
    error = EachItem(text, [&bounties](const std::string &item, size_t number) {
        double amount = 0.0;
        const std::string problem = ParseBounty(item, "bounty", amount);
        bounties.push_back(amount);
        return problem.empty() ? problem : "bounty " + std::to_string(number) + ": " + problem;
    });
    return error.empty() ? bounties : std::vector<double>();
}

StackList ReadStackList(const std::string &text, std::string &error)
{
    std::vector<Decimal> stacks;
    std::vector<std::string> texts;
    error = EachItem(text, [&](const std::string &item, size_t number) {
        Decimal stack;
        const std::string problem = ReadStack(item, stack);
        if (!problem.empty())
            return "stack " + std::to_string(number) + ": " + problem;
        stacks.push_back(stack);
        texts.push_back(Trimmed(item));
        return std::string();
    });
    StackList list;
    if (error.empty())
        error = ScaleStacks(stacks, texts, "stack", list);
    return error.empty() ? list : StackList();
}

std::string ParseStack(const std::string &item, int64_t &stack)
{
    Decimal number;
    const std::string problem = ReadStack(item, number);
    if (!problem.empty())
        return problem;
    StackList list;
    const std::string scaled = ScaleStacks({number}, {Trimmed(item)}, "stack", list);
    if (!scaled.empty())
        return scaled;
    if (list.Decimals != 0)
        return Quoted(Trimmed(item)) + " is not a whole number of chips";
    stack = list.Chips[0];
    return "";
}

StackList ReadStackLines(const std::string &text, std::string &error)
{
    std::vector<Decimal> stacks;
    std::vector<std::string> texts;
    std::vector<std::string> names;
    std::vector<size_t> lineOf;
    std::vector<double> bounties;
    int withBounty = -1; // unknown, 0 or 1: every line gives a bounty or none does
    LineForm form = LineForm::None;
    error.clear();
    size_t start = 0;
    for (size_t line = 1; start < text.size() && error.empty(); ++line)
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string content = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (content.empty() || content[0] == '#')
            continue;
        const size_t comma = content.find(',');
        const std::string key = comma == std::string::npos ? "" : Trimmed(content.substr(0, comma));
        std::string item = comma == std::string::npos ? content : content.substr(comma + 1);
        const size_t second = comma == std::string::npos ? std::string::npos : item.find(',');
        double bounty = 0.0;
        std::string bountyProblem;
        if (second != std::string::npos)
        {
            bountyProblem = ParseBounty(item.substr(second + 1), "bounty", bounty);
            item = item.substr(0, second);
        }
        const LineForm here = comma == std::string::npos ? LineForm::Stack
                              : !key.empty() && key.find_first_not_of("0123456789") == std::string::npos
                                  ? LineForm::Seat
                                  : LineForm::Name;
        const std::string at = "line " + std::to_string(line) + ": ";
        if (form != LineForm::None && here != form)
        {
            error = at + "a " + FormName(here) + " line among " + FormName(form) +
                    " lines; every line of the file takes the same form";
            break;
        }
        form = here;
        const int bountyHere = second != std::string::npos ? 1 : 0;
        if (withBounty >= 0 && bountyHere != withBounty)
        {
            error = at + (bountyHere ? "a bounty among lines without one" : "no bounty among lines with one") +
                    "; give every seat's bounty (seat,stack,bounty) or none";
            break;
        }
        withBounty = bountyHere;
        Decimal stack;
        std::string problem = ReadStack(item, stack);
        if (problem.empty() && !bountyProblem.empty())
            problem = "the bounty: " + bountyProblem;
        if (problem.empty() && here == LineForm::Seat)
        {
            size_t seat = 0;
            std::from_chars(key.data(), key.data() + std::min<size_t>(key.size(), 8), seat);
            if (key.size() > 7 || seat < 1 || seat > MaxSeatNumber)
                problem = "seat " + Quoted(key) + " is not a seat number from 1 to 1000000";
            else if (seat <= stacks.size() && lineOf[seat - 1] != 0)
                problem =
                    "seat " + key + " is given twice (also on line " + std::to_string(lineOf[seat - 1]) + ")";
            else
            {
                if (seat > stacks.size())
                {
                    stacks.resize(seat);
                    texts.resize(seat, "0");
                    lineOf.resize(seat, 0);
                }
                stacks[seat - 1] = stack;
                texts[seat - 1] = Trimmed(item);
                lineOf[seat - 1] = line;
                if (bountyHere)
                {
                    bounties.resize(stacks.size(), 0.0);
                    bounties[seat - 1] = bounty;
                }
            }
        }
        else if (problem.empty())
        {
            const std::string nameProblem = here == LineForm::Name ? NameProblem(key) : "";
            if (here == LineForm::Name && key.empty())
                problem = "no name before the comma";
            else if (!nameProblem.empty())
                problem = "the name " + nameProblem;
            else if (here == LineForm::Name && std::find(names.begin(), names.end(), key) != names.end())
                problem = "the name " + Quoted(key) + " is given twice";
            else
            {
                stacks.push_back(stack);
                texts.push_back(Trimmed(item));
                if (here == LineForm::Name)
                    names.push_back(key);
                if (bountyHere)
                    bounties.push_back(bounty);
            }
        }
        if (!problem.empty())
            error = at + problem;
    }
    StackList list;
    if (error.empty())
        error = ScaleStacks(stacks, texts, "seat", list);
    if (!error.empty())
        return StackList();
    list.Names = names;
    if (withBounty == 1)
    {
        bounties.resize(list.Chips.size(), 0.0);
        list.Bounties = bounties;
    }
    return list;
}

std::string NameProblem(const std::string &name)
{
    return IsShowableName(name)
               ? ""
               : Quoted(name) + " holds a control character, a quote or bytes that are not UTF-8";
}

std::vector<std::string> ReadNameList(const std::string &text, std::string &error)
{
    std::vector<std::string> names;
    error = EachItem(text, [&names](const std::string &item, size_t number) {
        const std::string name = Trimmed(item);
        std::string problem = name.empty() ? "no name given (every seat takes one)" : NameProblem(name);
        const auto before = std::find(names.begin(), names.end(), name);
        if (problem.empty() && before != names.end())
            problem = Quoted(name) + " is given twice (also name " +
                      std::to_string(before - names.begin() + 1) + ")";
        names.push_back(name);
        return problem.empty() ? problem : "name " + std::to_string(number) + ": " + problem;
    });
    return error.empty() ? names : std::vector<std::string>();
}

std::vector<int64_t> ParseStackList(const std::string &text, std::string &error)
{
    return ReadStackList(text, error).Chips;
}

std::vector<int64_t> ParseStackLines(const std::string &text, std::string &error)
{
    return ReadStackLines(text, error).Chips;
}

std::vector<double> ReadPrizeList(const std::string &text, const std::string &pool, std::string &error)
{
    PrizeReader reader(pool);
    if (!reader.PoolProblem.empty())
    {
        error = "--pool: " + reader.PoolProblem;
        return {};
    }
    error = EachItem(text, [&reader](const std::string &item, size_t number) {
        const std::string problem = reader.Add(item);
        return problem.empty() ? problem : "prize " + std::to_string(number) + ": " + problem;
    });
    return error.empty() ? reader.Prizes : std::vector<double>();
}

std::vector<std::string> ReadPrizeDecimals(const std::string &text, const std::string &pool, std::string &error)
{
    PrizeReader reader(pool);
    error = reader.PoolProblem;
    if (error.empty())
        error = EachItem(text, [&reader](const std::string &item, size_t) { return reader.Add(item); });
    return error.empty() ? reader.Exact : std::vector<std::string>();
}

std::vector<double> ParsePrizeList(const std::string &text, std::string &error)
{
    return ReadPrizeList(text, "", error);
}

std::vector<double> ReadPrizeLines(const std::string &text, const std::string &pool, std::string &error)
{
    PrizeReader reader(pool);
    error.clear();
    if (!reader.PoolProblem.empty())
        error = "--pool: " + reader.PoolProblem;
    size_t start = 0;
    for (size_t line = 1; start < text.size() && error.empty(); ++line)
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string content = text.substr(start, end - start);
        start = end + 1;
        content = Trimmed(content.substr(0, content.find('#')));
        if (content.empty())
            continue;
        if (content.back() == ',')
            content.pop_back();
        error = EachItem(content, [&reader, line](const std::string &item, size_t) {
            const std::string problem = reader.Add(item);
            return problem.empty() ? problem
                                   : "line " + std::to_string(line) + ", place " +
                                         std::to_string(reader.Prizes.size() + 1) + ": " + problem;
        });
    }
    return error.empty() ? reader.Prizes : std::vector<double>();
}

} // namespace ostrel
