/*
 * Building the evaluator's tables: the rank multisets' values as before
 * (a five-card multiset's value from its shape and ranks, a six- or
 * seven-card one's the best of those one card smaller; flushes from a
 * suit's rank bits; raw values numbered within their category), then the
 * greedy rank keys and the row-offset hash of their sums.
 */
#include "evaluator_build.h"

#include <algorithm>
#include <initializer_list>

namespace ostrel
{
namespace cards
{
namespace
{

constexpr int MaxCards = 7;

using RankCounts = std::array<int, RankCount>;

std::array<uint32_t, RankCount> PowersOfFive()
{
    std::array<uint32_t, RankCount> powers{};
    uint32_t power = 1;
    for (size_t rank = 0; rank < RankCount; ++rank)
    {
        powers[rank] = power;
        power *= 5;
    }
    return powers;
}

RankCounts CountsOf(uint32_t code)
{
    RankCounts counts{};
    for (size_t rank = 0; rank < RankCount; ++rank)
    {
        counts[rank] = static_cast<int>(code % 5);
        code /= 5;
    }
    return counts;
}

// Base-5 codes (count of rank r times 5^r) of the multisets of each size, sorted.
std::array<std::vector<uint32_t>, MaxCards + 1> EnumerateCodes(const std::array<uint32_t, RankCount> &powers)
{
    std::array<std::vector<uint32_t>, MaxCards + 1> codes;
    codes[0].push_back(0);
    for (size_t size = 0; size < MaxCards; ++size)
    {
        std::vector<uint32_t> &next = codes[size + 1];
        for (uint32_t code : codes[size])
        {
            const RankCounts counts = CountsOf(code);
            for (size_t rank = 0; rank < RankCount; ++rank)
                if (counts[rank] < 4)
                    next.push_back(code + powers[rank]);
        }
        std::sort(next.begin(), next.end());
        next.erase(std::unique(next.begin(), next.end()), next.end());
    }
    return codes;
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

} // namespace

// `stamp` marks sums taken or proposed for the candidate (its number),
// grown as sums grow.
std::array<uint32_t, RankCount> GreedyRankKeys()
{
    struct Partial
    {
        uint32_t Sum;
        int Size;
    };
    std::vector<Partial> partials = {{0, 0}};
    std::vector<uint32_t> stamp(1, 0);
    const uint32_t taken = 0xffffffffu;
    stamp[0] = taken;
    std::array<uint32_t, RankCount> keys{};
    uint32_t key = 0;
    uint32_t candidate = 0;
    for (size_t rank = 0; rank < RankCount; ++rank)
    {
        for (;;)
        {
            key += 1;
            candidate += 1;
            if (stamp.size() <= size_t{key} * 4 + partials.back().Sum + 1)
                stamp.resize((size_t{key} * 4 + partials.back().Sum + 1) * 2, 0);
            bool apart = true;
            for (const Partial &partial : partials)
            {
                for (int more = 1; more <= 4 && partial.Size + more <= MaxCards && apart; ++more)
                {
                    uint32_t &mark = stamp[partial.Sum + static_cast<uint32_t>(more) * key];
                    apart = mark != taken && mark != candidate;
                    mark = apart ? candidate : mark;
                }
                if (!apart)
                    break;
            }
            if (apart)
                break;
        }
        keys[rank] = key;
        const size_t before = partials.size();
        for (size_t i = 0; i < before; ++i)
            for (int more = 1; more <= 4 && partials[i].Size + more <= MaxCards; ++more)
            {
                const uint32_t sum = partials[i].Sum + static_cast<uint32_t>(more) * key;
                partials.push_back({sum, partials[i].Size + more});
                stamp[sum] = taken;
            }
        std::sort(partials.begin(), partials.end(), [](const Partial &a, const Partial &b) { return a.Sum < b.Sum; });
    }
    return keys;
}

bool RankKeysApart(const std::array<uint32_t, RankCount> &keys)
{
    const std::array<std::vector<uint32_t>, MaxCards + 1> codes = EnumerateCodes(PowersOfFive());
    std::vector<uint64_t> sums;
    for (const std::vector<uint32_t> &ofSize : codes)
        for (uint32_t code : ofSize)
        {
            const RankCounts counts = CountsOf(code);
            uint64_t sum = 0;
            for (size_t rank = 0; rank < RankCount; ++rank)
                sum += static_cast<uint64_t>(counts[rank]) * keys[rank];
            sums.push_back(sum);
        }
    std::sort(sums.begin(), sums.end());
    return std::adjacent_find(sums.begin(), sums.end()) == sums.end() && sums.back() <= 0xffffffffu;
}

namespace
{

struct Entry
{
    uint32_t Sum;
    HandValue Value;
};

// First-fit row offsets: rows with more sums placed first, each at the
// lowest offset where all its columns fall on free entries.
void PlaceRows(const std::vector<Entry> &entries, BuiltEvaluatorTables &tables)
{
    const uint32_t columns = uint32_t{1} << RankHashShift;
    uint32_t largest = 0;
    for (const Entry &entry : entries)
        largest = std::max(largest, entry.Sum);
    const size_t rows = (largest >> RankHashShift) + 1;
    std::vector<std::vector<const Entry *>> byRow(rows);
    for (const Entry &entry : entries)
        byRow[entry.Sum >> RankHashShift].push_back(&entry);
    std::vector<size_t> order(rows);
    for (size_t row = 0; row < rows; ++row)
        order[row] = row;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return byRow[a].size() > byRow[b].size(); });
    std::vector<uint8_t> used(entries.size() + columns, 0);
    tables.HashOffsets.assign(rows, 0);
    tables.RankValues.assign(used.size(), 0);
    size_t end = 0;
    size_t firstFree = 0;
    for (size_t row : order)
    {
        if (byRow[row].empty())
            continue;
        // Below `firstFree` every entry is used.
        while (firstFree < used.size() && used[firstFree])
            ++firstFree;
        uint32_t lowest = columns;
        for (const Entry *entry : byRow[row])
            lowest = std::min(lowest, entry->Sum & (columns - 1));
        uint32_t offset = firstFree > lowest ? static_cast<uint32_t>(firstFree - lowest) : 0;
        for (;; ++offset)
        {
            if (offset + columns > used.size())
            {
                used.resize(offset + columns, 0);
                tables.RankValues.resize(used.size(), 0);
            }
            bool fits = true;
            for (size_t i = 0; i < byRow[row].size() && fits; ++i)
                fits = !used[offset + (byRow[row][i]->Sum & (columns - 1))];
            if (fits)
                break;
        }
        tables.HashOffsets[row] = offset;
        for (const Entry *entry : byRow[row])
        {
            const size_t at = offset + (entry->Sum & (columns - 1));
            used[at] = 1;
            tables.RankValues[at] = entry->Value;
            end = std::max(end, at + 1);
        }
    }
    tables.RankValues.resize(end);
}

} // namespace

BuiltEvaluatorTables BuildEvaluatorTables(const std::array<uint32_t, RankCount> &rankKeys)
{
    const std::array<uint32_t, RankCount> powers = PowersOfFive();
    const std::array<std::vector<uint32_t>, MaxCards + 1> codes = EnumerateCodes(powers);

    std::vector<uint32_t> raws;
    for (uint32_t code : codes[5])
        raws.push_back(RawOfFive(code));
    for (uint32_t ranks = 0; ranks < 8192; ++ranks)
        if (BitCount(ranks) == 5)
            raws.push_back(RawOfFlush(ranks));
    const Numbering numbering = NumberAll(raws);

    // Values of the multisets of 5, 6 and 7 ranks, in the order of codes[size].
    std::array<std::vector<HandValue>, MaxCards + 1> values;
    for (uint32_t code : codes[5])
        values[5].push_back(numbering.Of(RawOfFive(code)));
    for (size_t size = 6; size <= MaxCards; ++size)
        for (uint32_t code : codes[size])
        {
            HandValue best = 0;
            const RankCounts counts = CountsOf(code);
            for (size_t rank = 0; rank < RankCount; ++rank)
                if (counts[rank] > 0)
                {
                    const std::vector<uint32_t> &smaller = codes[size - 1];
                    const auto at = std::lower_bound(smaller.begin(), smaller.end(), code - powers[rank]);
                    best = std::max(best, values[size - 1][static_cast<size_t>(at - smaller.begin())]);
                }
            values[size].push_back(best);
        }

    BuiltEvaluatorTables tables;
    tables.RankKeys = rankKeys;
    std::vector<Entry> entries;
    for (size_t size = 5; size <= MaxCards; ++size)
        for (size_t i = 0; i < codes[size].size(); ++i)
        {
            const RankCounts counts = CountsOf(codes[size][i]);
            uint32_t sum = 0;
            for (size_t rank = 0; rank < RankCount; ++rank)
                sum += static_cast<uint32_t>(counts[rank]) * tables.RankKeys[rank];
            entries.push_back({sum, values[size][i]});
        }
    PlaceRows(entries, tables);
    tables.FlushValues.assign(8192, 0);
    for (uint32_t ranks = 0; ranks < 8192; ++ranks)
        if (BitCount(ranks) >= 5)
            tables.FlushValues[ranks] = numbering.Of(RawOfFlush(ranks));
    return tables;
}

} // namespace cards
} // namespace ostrel
