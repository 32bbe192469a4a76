/*
 * Range text both ways. Reading judges every token and names the first bad
 * one; writing groups classes of one weight into runs (pairs, then suited,
 * then offsuit hands by their top card) and writes combos of a class whose
 * weights differ one by one. Weights are written as the shortest text that
 * reads back to the same double, so a written range reads back bit for bit.
 * Cost: linear in the text, or in the 1,326 combos.
 */
#include "range.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "preflop.h"

namespace ostrel
{
namespace cards
{
namespace
{

std::string Trimmed(std::string_view text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && (text[first] == ' ' || text[first] == '\t'))
        ++first;
    while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t'))
        --last;
    return std::string(text.substr(first, last - first));
}

bool ParseNumber(const std::string &text, double &value)
{
    if (text.empty() || !((text[0] >= '0' && text[0] <= '9') || text[0] == '.'))
        return false;
    const char *end = text.data() + text.size();
    const std::from_chars_result read = std::from_chars(text.data(), end, value);
    return read.ec == std::errc() && read.ptr == end && std::isfinite(value);
}

std::string ShortestText(double value)
{
    char text[64];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

std::string Lower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// A class written as "AA", "AKs", "AKo" or "AK": the ranks and which kinds
// (bit 0 suited, bit 1 offsuit; a pair is 3).
struct ClassForm
{
    int High = -1;
    int Low = -1;
    int Kinds = 0;
};

bool ParseClassForm(const std::string &text, ClassForm &form)
{
    if (text.size() < 2 || text.size() > 3)
        return false;
    const int a = ParseRank(text[0]);
    const int b = ParseRank(text[1]);
    if (a < 0 || b < 0)
        return false;
    form.High = std::max(a, b);
    form.Low = std::min(a, b);
    if (a == b)
    {
        form.Kinds = 3;
        return text.size() == 2;
    }
    if (a < b) // written low card first, as in "KA"
        return false;
    if (text.size() == 2)
        form.Kinds = 3;
    else if (text[2] == 's' || text[2] == 'S')
        form.Kinds = 1;
    else if (text[2] == 'o' || text[2] == 'O')
        form.Kinds = 2;
    else
        return false;
    return true;
}

void SetForm(Range &range, int high, int low, int kinds, double weight)
{
    if (high == low)
    {
        SetClass(range, ClassOfRanks(high, low, false), weight);
        return;
    }
    if (kinds & 1)
        SetClass(range, ClassOfRanks(high, low, true), weight);
    if (kinds & 2)
        SetClass(range, ClassOfRanks(high, low, false), weight);
}

bool ApplyBody(const std::string &body, double weight, Range &range)
{
    if (Lower(body) == "random")
    {
        range.Weight.fill(weight);
        return true;
    }
    if (!body.empty() && body.back() == '%')
    {
        double percent = 0.0;
        if (!ParseNumber(body.substr(0, body.size() - 1), percent) || percent > 100.0)
            return false;
        const Range top = TopShare(percent);
        for (size_t combo = 0; combo < ComboCount; ++combo)
            if (top.Weight[combo] > 0.0)
                range.Weight[combo] = weight;
        return true;
    }
    Card first = 0;
    Card second = 0;
    if (body.size() == 4 && ParseCard(body.substr(0, 2), first) && ParseCard(body.substr(2, 2), second))
    {
        if (first == second)
            return false;
        range.Weight[static_cast<size_t>(ComboIndex(first, second))] = weight;
        return true;
    }
    const size_t dash = body.find('-');
    if (dash != std::string::npos)
    {
        ClassForm from;
        ClassForm to;
        if (!ParseClassForm(body.substr(0, dash), from) || !ParseClassForm(body.substr(dash + 1), to) ||
            from.Kinds != to.Kinds)
            return false;
        if (from.High == from.Low && to.High == to.Low)
        {
            for (int rank = std::min(from.High, to.High); rank <= std::max(from.High, to.High); ++rank)
                SetForm(range, rank, rank, 3, weight);
            return true;
        }
        if (from.High != to.High || from.High == from.Low || to.High == to.Low)
            return false;
        for (int low = std::min(from.Low, to.Low); low <= std::max(from.Low, to.Low); ++low)
            SetForm(range, from.High, low, from.Kinds, weight);
        return true;
    }
    ClassForm form;
    if (!body.empty() && body.back() == '+')
    {
        if (!ParseClassForm(body.substr(0, body.size() - 1), form))
            return false;
        if (form.High == form.Low)
            for (int rank = form.High; rank < RankCount; ++rank)
                SetForm(range, rank, rank, 3, weight);
        else
            for (int low = form.Low; low < form.High; ++low)
                SetForm(range, form.High, low, form.Kinds, weight);
        return true;
    }
    if (!ParseClassForm(body, form))
        return false;
    SetForm(range, form.High, form.Low, form.Kinds, weight);
    return true;
}

Status ApplyToken(const std::string &token, Range &range)
{
    if (token.empty())
        return Failure("an empty item between commas in the range");
    const size_t colon = token.find(':');
    double weight = 1.0;
    const std::string body = Trimmed(token.substr(0, colon));
    if (colon != std::string::npos)
    {
        const std::string text = Trimmed(token.substr(colon + 1));
        if (!ParseNumber(text, weight) || weight > 1.0)
            return Failure("\"" + token + "\": the weight after ':' must be a number from 0 to 1");
    }
    if (!ApplyBody(body, weight, range))
        return Failure("\"" + token +
                       "\" is not a hand or range of hands (like TT+, 22-55, AKs, A2s+, T9s-T6s, KTo+, AhKh, "
                       "random, 15%, AKs:0.5)");
    return Status();
}

// The classes' weights: one per class, or -1 when its combos differ.
std::array<double, ClassCount> ClassWeights(const Range &range)
{
    std::array<double, ClassCount> weights{};
    for (int c = 0; c < ClassCount; ++c)
    {
        int combos[MaxClassCombos];
        const int count = CombosOfClass(c, combos);
        double weight = range.Weight[static_cast<size_t>(combos[0])];
        for (int i = 1; i < count; ++i)
            if (range.Weight[static_cast<size_t>(combos[i])] != weight)
                weight = -1.0;
        weights[static_cast<size_t>(c)] = weight;
    }
    return weights;
}

std::string WithWeight(const std::string &text, double weight)
{
    return weight == 1.0 ? text : text + ":" + ShortestText(weight);
}

std::string PairName(int rank)
{
    return std::string(2, RankChar(rank));
}

void WritePairs(const std::array<double, ClassCount> &weights, std::vector<std::string> &tokens)
{
    for (int top = 12; top >= 0;)
    {
        const double weight = weights[static_cast<size_t>(ClassOfRanks(top, top, false))];
        if (!(weight > 0.0))
        {
            --top;
            continue;
        }
        int bottom = top;
        while (bottom > 0 && weights[static_cast<size_t>(ClassOfRanks(bottom - 1, bottom - 1, false))] == weight)
            --bottom;
        const std::string text = bottom == top   ? PairName(top)
                                 : top == 12     ? PairName(bottom) + "+"
                                                 : PairName(bottom) + "-" + PairName(top);
        tokens.push_back(WithWeight(text, weight));
        top = bottom - 1;
    }
}

void WriteKickers(const std::array<double, ClassCount> &weights, bool suited, std::vector<std::string> &tokens)
{
    const char kind = suited ? 's' : 'o';
    for (int high = 12; high >= 1; --high)
    {
        const auto name = [&](int low) { return std::string{RankChar(high), RankChar(low), kind}; };
        for (int top = high - 1; top >= 0;)
        {
            const double weight = weights[static_cast<size_t>(ClassOfRanks(high, top, suited))];
            if (!(weight > 0.0))
            {
                --top;
                continue;
            }
            int bottom = top;
            while (bottom > 0 && weights[static_cast<size_t>(ClassOfRanks(high, bottom - 1, suited))] == weight)
                --bottom;
            const std::string text = bottom == top      ? name(top)
                                     : top == high - 1 ? name(bottom) + "+"
                                                        : name(top) + "-" + name(bottom);
            tokens.push_back(WithWeight(text, weight));
            top = bottom - 1;
        }
    }
}

std::array<uint8_t, ClassCount> RankClasses()
{
    std::array<double, ClassCount> equity{};
    for (int a = 0; a < ClassCount; ++a)
    {
        double points = 0.0;
        double showdowns = 0.0;
        for (int b = 0; b < ClassCount; ++b)
        {
            const MatchupCounts counts = ClassVsClass(a, b);
            points += static_cast<double>(2 * counts.Wins + counts.Ties);
            showdowns += static_cast<double>(2 * counts.Showdowns);
        }
        equity[static_cast<size_t>(a)] = points / showdowns;
    }
    std::array<uint8_t, ClassCount> order{};
    for (int c = 0; c < ClassCount; ++c)
        order[static_cast<size_t>(c)] = static_cast<uint8_t>(c);
    std::stable_sort(order.begin(), order.end(), [&](uint8_t a, uint8_t b) { return equity[a] > equity[b]; });
    return order;
}

} // namespace

Status ParseRange(std::string_view text, Range &range)
{
    range = Range();
    const std::string all = Trimmed(text);
    if (all.empty())
        return Status();
    size_t start = 0;
    for (;;)
    {
        const size_t comma = all.find(',', start);
        const std::string token =
            Trimmed(std::string_view(all).substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        const Status applied = ApplyToken(token, range);
        if (!applied.Ok)
            return applied;
        if (comma == std::string::npos)
            return Status();
        start = comma + 1;
    }
}

std::string FormatRange(const Range &range)
{
    if (std::all_of(range.Weight.begin(), range.Weight.end(), [](double w) { return w == 1.0; }))
        return "random";
    const std::array<double, ClassCount> weights = ClassWeights(range);
    std::vector<std::string> tokens;
    WritePairs(weights, tokens);
    WriteKickers(weights, true, tokens);
    WriteKickers(weights, false, tokens);
    for (int c = 0; c < ClassCount; ++c)
    {
        if (weights[static_cast<size_t>(c)] >= 0.0)
            continue;
        int combos[MaxClassCombos];
        const int count = CombosOfClass(c, combos);
        for (int i = 0; i < count; ++i)
        {
            const double weight = range.Weight[static_cast<size_t>(combos[i])];
            if (weight > 0.0)
            {
                const Combo cards = ComboCards(combos[i]);
                tokens.push_back(WithWeight(FormatCard(cards.High) + FormatCard(cards.Low), weight));
            }
        }
    }
    std::string text;
    for (const std::string &token : tokens)
        text += (text.empty() ? "" : ", ") + token;
    return text;
}

const std::array<uint8_t, ClassCount> &ClassRanking()
{
    static const std::array<uint8_t, ClassCount> ranking = RankClasses();
    return ranking;
}

Range TopShare(double percent)
{
    Range range;
    const double wanted = percent / 100.0 * ComboCount;
    int taken = 0;
    for (uint8_t handClass : ClassRanking())
    {
        if (!(static_cast<double>(taken) < wanted))
            break;
        SetClass(range, handClass, 1.0);
        taken += ComboCountOfClass(handClass);
    }
    return range;
}

} // namespace cards
} // namespace ostrel
