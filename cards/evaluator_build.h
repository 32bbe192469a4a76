/*
 * The code that builds the evaluator's tables, which the generator
 * (tools/make_evaluator_tables.cpp) writes into evaluator_tables.inc and a
 * test builds again to compare. Not needed at run time.
 *
 * Rank keys: 13 numbers such that any two multisets of up to 7 ranks (at
 * most 4 of each) have different sums, chosen greedily, each the smallest
 * above the last that keeps the sums apart. Hash: the sum's row (sum >>
 * RankHashShift) gives an offset to which its column (the low bits) is
 * added; the offsets are placed first fit, fullest rows first, so that the
 * 73,775 multisets of 5, 6 and 7 ranks land on distinct entries. Values:
 * the best five-card hand (Category << 12 | order), as documented in
 * evaluator.h. Memory: some 100 MB while it runs.
 */
#ifndef OSTREL_CARDS_EVALUATOR_BUILD_H
#define OSTREL_CARDS_EVALUATOR_BUILD_H

#include <array>
#include <cstdint>
#include <vector>

#include "evaluator.h"

namespace ostrel
{
namespace cards
{

struct BuiltEvaluatorTables
{
    std::array<uint32_t, RankCount> RankKeys{};
    std::vector<uint32_t> HashOffsets; // [sum >> RankHashShift]
    std::vector<HandValue> RankValues; // [HashOffsets[row] + column]; 0 where no multiset lands
    std::vector<HandValue> FlushValues; // [13 rank bits of one suit]; 0 below five ranks
};

// The greedy keys. Cost: seconds (each candidate key is tried against the
// sums so far), so the test checks the generated keys with RankKeysApart.
std::array<uint32_t, RankCount> GreedyRankKeys();
// Whether all multisets of up to 7 ranks have different sums (below 2^32).
bool RankKeysApart(const std::array<uint32_t, RankCount> &keys);
// The rest of the tables from the keys. Cost: some 100 ms.
BuiltEvaluatorTables BuildEvaluatorTables(const std::array<uint32_t, RankCount> &rankKeys);

} // namespace cards
} // namespace ostrel

#endif
