/*
 * Texas hold'em hand values for 5, 6 and 7 cards: the best five-card hand,
 * as one number where a larger value wins and equal values split. The value
 * is Category << 12 | order within the category (1 = the lowest), so the
 * 7,462 distinct five-card hands keep their exact order.
 *
 * The rank part is a walk through a table of rank multisets (one lookup a
 * card, the order of the cards not mattering) and flushes a lookup by the
 * suit's rank bits, so a board enumeration adds one card at a time (Hand).
 * The tables (about 2 MB) are built once, on first use, thread-safely, and
 * never change.
 */
#ifndef OSTREL_CARDS_EVALUATOR_H
#define OSTREL_CARDS_EVALUATOR_H

#include <cstdint>
#include <vector>

#include "card.h"

namespace ostrel
{
namespace cards
{

using HandValue = uint16_t;

enum class Category : uint8_t
{
    HighCard,
    OnePair,
    TwoPair,
    ThreeOfAKind,
    Straight,
    Flush,
    FullHouse,
    FourOfAKind,
    StraightFlush,
};

constexpr Category CategoryOf(HandValue value)
{
    return static_cast<Category>(value >> 12);
}
const char *CategoryName(Category category);

// Rank multisets of up to 7 cards are numbered states; Next[state * 13 +
// rank] adds a card of that rank (states of 7 cards have no row) and
// RankValue[state] is the best hand without a flush. FlushValue[ranks] is the
// best straight flush or flush among the 13-bit rank set of one suit.
// LastValue[(state - SixCardFirst) * 13 + rank] is RankValue after Next
// from a six-card state: the last card of a board in one lookup.
struct EvaluatorTables
{
    std::vector<uint32_t> Next;
    std::vector<HandValue> RankValue;
    std::vector<HandValue> FlushValue;
    std::vector<HandValue> LastValue;
    uint32_t SixCardFirst = 0;
};

// The tables, built on the first call. Cost of that call: a few milliseconds.
const EvaluatorTables &Tables();

// A set of up to 7 cards built one card at a time. Adding a card costs one
// table lookup and two additions; Value() one or two lookups.
class Hand
{
  public:
    Hand();
    explicit Hand(const EvaluatorTables &tables);

    // This hand and one more card, which must not be in it already.
    Hand Plus(Card card) const
    {
        Hand more = *this;
        more.RankState = Table->Next[RankState * RankCount + static_cast<uint32_t>(RankOf(card))];
        more.SuitCounts += uint32_t{1} << (4 * SuitOf(card));
        more.SuitRanks |= uint64_t{1} << (16 * SuitOf(card) + RankOf(card));
        more.Cards += 1;
        return more;
    }
    // The best five-card hand's value; the hand must hold 5, 6 or 7 cards.
    // Five cards of one suit among seven leave no room for a full house or
    // four of a kind, so a flush, when there is one, is the answer.
    HandValue Value() const
    {
        const uint32_t flush = SuitCounts & 0x8888u;
        if (flush == 0)
            return Table->RankValue[RankState];
        const int suit = flush & 0x8u ? 0 : flush & 0x80u ? 1 : flush & 0x800u ? 2 : 3;
        return Table->FlushValue[(SuitRanks >> (16 * suit)) & 0x1fffu];
    }
    // Plus(card).Value() without building the larger hand: the innermost
    // step of a board enumeration. The hand must hold 4, 5 or 6 cards.
    HandValue ValuePlus(Card card) const
    {
        const uint32_t rank = static_cast<uint32_t>(RankOf(card));
        if (((SuitCounts + (uint32_t{1} << (4 * SuitOf(card)))) & 0x8888u) != 0)
            return Plus(card).Value();
        if (Cards == 6)
            return Table->LastValue[(RankState - Table->SixCardFirst) * RankCount + rank];
        return Table->RankValue[Table->Next[RankState * RankCount + rank]];
    }
    int Count() const
    {
        return Cards;
    }

  private:
    const EvaluatorTables *Table;
    uint32_t RankState;
    uint32_t SuitCounts;
    uint64_t SuitRanks;
    int Cards;
};

// The value of 5, 6 or 7 cards given as a set; 0 for any other count.
HandValue EvaluateCards(CardSet cards);

} // namespace cards
} // namespace ostrel

#endif
