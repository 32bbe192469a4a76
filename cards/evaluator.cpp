/*
 * The evaluator's tables and the whole-set evaluation.
 *
 * Rank states are the multisets of up to 7 ranks with at most 4 of each
 * (76,155 of them), numbered size by size. A five-card state's value comes
 * from the hand's shape (quads, full house, ...) and its ranks; a six- or
 * seven-card state takes the best of the states one card smaller, which is
 * the best five of its cards. Flush values are the best straight flush or
 * flush among a suit's rank bits. The raw values of all 7,462 five-card hands
 * are then numbered within their category, which keeps their order and fits
 * them in 16 bits.
 *
 * Cost of the build: about 76,155 x 13 binary searches, a few milliseconds;
 * memory about 2 MB, kept for the life of the process.
 */
#include "evaluator.h"

#include <algorithm>
#include <array>

namespace ostrel
{
namespace cards
{
namespace
{

constexpr int MaxCards = 7;

struct RankStates
{
    // Base-5 codes (count of rank r times 5^r), sorted, one list per size.
    std::array<std::vector<uint32_t>, MaxCards + 1> Codes;
    std::array<uint32_t, MaxCards + 1> First{};
};

std::array<uint32_t, RankCount> PowersOfFive()
{
    std::array<uint32_t, RankCount> powers{};
    uint32_t power = 1;
    for (int rank = 0; rank < RankCount; ++rank)
    {
        powers[static_cast<size_t>(rank)] = power;
        power *= 5;
    }
    return powers;
}

using RankCounts = std::array<int, RankCount>;

RankCounts CountsOf(uint32_t code)
{
    RankCounts counts{};
    for (int rank = 0; rank < RankCount; ++rank)
    {
        counts[static_cast<size_t>(rank)] = static_cast<int>(code % 5);
        code /= 5;
    }
    return counts;
}


RankStates EnumerateStates(const std::array<uint32_t, RankCount> &powers)
{
    RankStates states;
    states.Codes[0].push_back(0);
    for (int size = 0; size < MaxCards; ++size)
    {
        std::vector<uint32_t> &next = states.Codes[static_cast<size_t>(size + 1)];
        for (uint32_t code : states.Codes[static_cast<size_t>(size)])
        {
            const RankCounts counts = CountsOf(code);
            for (int rank = 0; rank < RankCount; ++rank)
                if (counts[static_cast<size_t>(rank)] < 4)
                    next.push_back(code + powers[static_cast<size_t>(rank)]);
        }
        std::sort(next.begin(), next.end());
        next.erase(std::unique(next.begin(), next.end()), next.end());
    }
    uint32_t first = 0;
    for (int size = 0; size <= MaxCards; ++size)
    {
        states.First[static_cast<size_t>(size)] = first;
        first += static_cast<uint32_t>(states.Codes[static_cast<size_t>(size)].size());
    }
    return states;
}

uint32_t StateOf(const RankStates &states, int size, uint32_t code)
{
    const std::vector<uint32_t> &codes = states.Codes[static_cast<size_t>(size)];
    const auto at = std::lower_bound(codes.begin(), codes.end(), code);
    return states.First[static_cast<size_t>(size)] + static_cast<uint32_t>(at - codes.begin());
}

// Category in bits 20.., then up to five ranks, most significant first.
uint32_t Raw(Category category, std::initializer_list<int> ranks)
{
    uint32_t raw = static_cast<uint32_t>(category) << 20;
    int shift = 16;
    for (int rank : ranks)
    {
        raw |= static_cast<uint32_t>(rank) << shift;
        shift -= 4;
    }
    return raw;
}

// The top card of the best straight among 13 rank bits; -1 if none.
int StraightTop(uint32_t ranks)
{
    for (int top = 12; top >= 4; --top)
    {
        const uint32_t run = 0x1fu << (top - 4);
        if ((ranks & run) == run)
            return top;
    }
    const uint32_t wheel = 0x100fu; // A, 2, 3, 4, 5
    return (ranks & wheel) == wheel ? 3 : -1;
}

// Five ranks given as a base-5 count code, no flush.
uint32_t RawOfFive(uint32_t code)
{
    int byCount[5][5] = {};
    int groups[5] = {};
    uint32_t present = 0;
    const RankCounts counts = CountsOf(code);
    for (int rank = 12; rank >= 0; --rank)
    {
        const int count = counts[static_cast<size_t>(rank)];
        if (count > 0)
        {
            byCount[count][groups[count]++] = rank;
            present |= 1u << rank;
        }
    }
    if (groups[4] == 1)
        return Raw(Category::FourOfAKind, {byCount[4][0], byCount[1][0]});
    if (groups[3] == 1 && groups[2] == 1)
        return Raw(Category::FullHouse, {byCount[3][0], byCount[2][0]});
    if (groups[3] == 1)
        return Raw(Category::ThreeOfAKind, {byCount[3][0], byCount[1][0], byCount[1][1]});
    if (groups[2] == 2)
        return Raw(Category::TwoPair, {byCount[2][0], byCount[2][1], byCount[1][0]});
    if (groups[2] == 1)
        return Raw(Category::OnePair, {byCount[2][0], byCount[1][0], byCount[1][1], byCount[1][2]});
    const int top = StraightTop(present);
    if (top >= 0)
        return Raw(Category::Straight, {top});
    const int *r = byCount[1];
    return Raw(Category::HighCard, {r[0], r[1], r[2], r[3], r[4]});
}

// The best straight flush or flush among one suit's rank bits (5 or more).
uint32_t RawOfFlush(uint32_t ranks)
{
    const int top = StraightTop(ranks);
    if (top >= 0)
        return Raw(Category::StraightFlush, {top});
    int best[5] = {};
    int taken = 0;
    for (int rank = 12; rank >= 0 && taken < 5; --rank)
        if (ranks & (1u << rank))
            best[taken++] = rank;
    return Raw(Category::Flush, {best[0], best[1], best[2], best[3], best[4]});
}

int BitCount(uint32_t bits)
{
    int count = 0;
    for (; bits != 0; bits &= bits - 1)
        ++count;
    return count;
}

// Raw values to 16-bit values: category << 12 | order within the category.
struct Numbering
{
    std::vector<uint32_t> Raws;
    std::vector<HandValue> Values;

    HandValue Of(uint32_t raw) const
    {
        const auto at = std::lower_bound(Raws.begin(), Raws.end(), raw);
        return Values[static_cast<size_t>(at - Raws.begin())];
    }
};

Numbering NumberAll(std::vector<uint32_t> raws)
{
    std::sort(raws.begin(), raws.end());
    raws.erase(std::unique(raws.begin(), raws.end()), raws.end());
    Numbering numbering;
    numbering.Values.reserve(raws.size());
    uint32_t category = 99;
    uint32_t order = 0;
    for (uint32_t raw : raws)
    {
        if (raw >> 20 != category)
        {
            category = raw >> 20;
            order = 0;
        }
        order += 1;
        numbering.Values.push_back(static_cast<HandValue>(category << 12 | order));
    }
    numbering.Raws = std::move(raws);
    return numbering;
}

EvaluatorTables BuildTables()
{
    const std::array<uint32_t, RankCount> powers = PowersOfFive();
    const RankStates states = EnumerateStates(powers);
    const uint32_t total = states.First[MaxCards] + static_cast<uint32_t>(states.Codes[MaxCards].size());

    std::vector<uint32_t> raws;
    for (uint32_t code : states.Codes[5])
        raws.push_back(RawOfFive(code));
    for (uint32_t ranks = 0; ranks < 8192; ++ranks)
        if (BitCount(ranks) == 5)
            raws.push_back(RawOfFlush(ranks));
    const Numbering numbering = NumberAll(raws);

    EvaluatorTables tables;
    tables.Next.assign(static_cast<size_t>(states.First[MaxCards]) * RankCount, 0);
    tables.RankValue.assign(total, 0);
    tables.FlushValue.assign(8192, 0);
    for (int size = 0; size < MaxCards; ++size)
        for (uint32_t code : states.Codes[static_cast<size_t>(size)])
        {
            const uint32_t state = StateOf(states, size, code);
            const RankCounts counts = CountsOf(code);
            for (int rank = 0; rank < RankCount; ++rank)
                if (counts[static_cast<size_t>(rank)] < 4)
                    tables.Next[state * RankCount + static_cast<uint32_t>(rank)] =
                        StateOf(states, size + 1, code + powers[static_cast<size_t>(rank)]);
        }
    for (uint32_t code : states.Codes[5])
        tables.RankValue[StateOf(states, 5, code)] = numbering.Of(RawOfFive(code));
    for (int size = 6; size <= MaxCards; ++size)
        for (uint32_t code : states.Codes[static_cast<size_t>(size)])
        {
            HandValue best = 0;
            const RankCounts counts = CountsOf(code);
            for (int rank = 0; rank < RankCount; ++rank)
                if (counts[static_cast<size_t>(rank)] > 0)
                    best = std::max(best, tables.RankValue[StateOf(states, size - 1,
                                                                   code - powers[static_cast<size_t>(rank)])]);
            tables.RankValue[StateOf(states, size, code)] = best;
        }
    for (uint32_t ranks = 0; ranks < 8192; ++ranks)
        if (BitCount(ranks) >= 5)
            tables.FlushValue[ranks] = numbering.Of(RawOfFlush(ranks));
    tables.SixCardFirst = states.First[6];
    tables.LastValue.assign(states.Codes[6].size() * RankCount, 0);
    for (uint32_t state = states.First[6]; state < states.First[MaxCards]; ++state)
        for (uint32_t rank = 0; rank < RankCount; ++rank)
            tables.LastValue[(state - states.First[6]) * RankCount + rank] =
                tables.RankValue[tables.Next[state * RankCount + rank]];
    return tables;
}

} // namespace

const char *CategoryName(Category category)
{
    static const char *const names[] = {"high card",       "one pair",   "two pair",
                                        "three of a kind", "straight",   "flush",
                                        "full house",      "four of a kind", "straight flush"};
    return names[static_cast<int>(category)];
}

const EvaluatorTables &Tables()
{
    static const EvaluatorTables tables = BuildTables();
    return tables;
}

Hand::Hand() : Hand(Tables())
{
}

// Each suit's count starts at 3 so that its nibble reaches 8 at five cards.
Hand::Hand(const EvaluatorTables &tables) : Table(&tables), RankState(0), SuitCounts(0x3333u), SuitRanks(0), Cards(0)
{
}

HandValue EvaluateCards(CardSet cards)
{
    const int count = CountCards(cards);
    if (count < 5 || count > 7)
        return 0;
    Hand hand;
    for (; cards != 0; cards &= cards - 1)
    {
        int card = 0;
        while (((cards >> card) & 1) == 0)
            ++card;
        hand = hand.Plus(static_cast<Card>(card));
    }
    return hand.Value();
}

} // namespace cards
} // namespace ostrel
