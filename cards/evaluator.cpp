/*
 * The evaluator's generated tables, their description, and the whole-set
 * evaluation. The tables are constant data in the program's image: no work
 * at start-up, nothing built or changed at run time.
 */
#include "evaluator.h"

namespace ostrel
{
namespace cards
{
namespace generated
{

extern const uint32_t RankKeys[RankCount];
extern const size_t HashRows;
extern const size_t RankEntries;

#include "evaluator_tables.inc"

} // namespace generated

const char *CategoryName(Category category)
{
    static const char *const names[] = {"high card",       "one pair",   "two pair",
                                        "three of a kind", "straight",   "flush",
                                        "full house",      "four of a kind", "straight flush"};
    return names[static_cast<int>(category)];
}

const EvaluatorTables &Tables()
{
    static const EvaluatorTables tables = {generated::RankKeys,  generated::CardKeys,   generated::HashOffsets,
                                           generated::HashRows,  generated::RankValues, generated::RankEntries,
                                           generated::FlushValues};
    return tables;
}

HandValue EvaluateCards(CardSet cards)
{
    const int count = CountCards(cards);
    if (count < 5 || count > 7)
        return 0;
    Hand hand;
    for (; cards != 0; cards &= cards - 1)
    {
#if defined(__GNUC__) || defined(__clang__)
        const int card = __builtin_ctzll(cards);
#else
        int card = 0;
        while (((cards >> card) & 1) == 0)
            ++card;
#endif
        hand = hand.Plus(static_cast<Card>(card));
    }
    return hand.Value();
}

} // namespace cards
} // namespace ostrel
