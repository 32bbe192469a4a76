/*
 * Texas hold'em hand values for 5, 6 and 7 cards: the best five-card hand,
 * as one number where a larger value wins and equal values split. The value
 * is Category << 12 | order within the category (1 = the lowest), so the
 * 7,462 distinct five-card hands keep their exact order.
 *
 * A hand is two sums over its cards: a 64-bit key (the ranks' keys, which
 * add up to a different number for every multiset of up to 7 ranks, and a
 * count of each suit) and the rank bits of each suit. Adding a card is an
 * addition and an or, in any order; the value is one lookup in a table of
 * 8,192 flushes when five cards share a suit (which among seven leaves no
 * room for a full house or four of a kind), else two: the key's row offset
 * (4 KB) and the value (about 150 KB). The tables are constant data
 * generated into evaluator_tables.inc by tools/make_evaluator_tables.cpp:
 * nothing is built at run time. Cost: some 2.5 ns a hand from 7 cards in
 * random order, where the value's lookup misses the first-level cache;
 * under a nanosecond a hand in an enumeration that looks up the last card
 * once per rank (NoFlushPlus, RankValuePlus).
 */
#ifndef OSTREL_CARDS_EVALUATOR_H
#define OSTREL_CARDS_EVALUATOR_H

#include <cstddef>
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

// A rank-key sum's row is sum >> RankHashShift; its entry is the row's
// offset plus the sum's low RankHashShift bits.
constexpr int RankHashShift = 11;
// A card's key: its rank's key in bits 0..31 and 1 in its suit's nibble at
// bits 48 + 4 * suit.
constexpr int SuitCountShift = 48;

// The generated tables (evaluator_tables.inc), as constant data.
struct EvaluatorTables
{
    const uint32_t *RankKeys;    // [13]
    const uint64_t *CardKeys;    // [52]
    const uint32_t *HashOffsets; // [rows]
    size_t HashRows;
    const HandValue *RankValues; // [entries]
    size_t RankEntries;
    const HandValue *FlushValues; // [8192]
};

const EvaluatorTables &Tables();

namespace generated
{
extern const uint64_t CardKeys[CardCount];
extern const uint32_t HashOffsets[];
extern const HandValue RankValues[];
extern const HandValue FlushValues[8192];

// Each card's bit among the suits' rank bits: bit 16 * suit + rank.
struct CardBitTable
{
    uint64_t Bits[CardCount];
};
constexpr CardBitTable MakeCardBits()
{
    CardBitTable table{};
    for (int card = 0; card < CardCount; ++card)
        table.Bits[card] = uint64_t{1} << (16 * SuitOf(static_cast<Card>(card)) + RankOf(static_cast<Card>(card)));
    return table;
}
inline constexpr CardBitTable CardBits = MakeCardBits();

} // namespace generated

// A set of up to 7 cards built one card at a time, in any order.
class Hand
{
  public:
    Hand() : Key(StartKey), SuitRanks(0)
    {
    }
    // The same as Hand(): the tables are constant data.
    explicit Hand(const EvaluatorTables &) : Hand()
    {
    }

    // This hand and one more card, which must not be in it already.
    Hand Plus(Card card) const
    {
        Hand more = *this;
        more.Key += generated::CardKeys[card];
        more.SuitRanks |= generated::CardBits.Bits[card];
        return more;
    }
    // The best five-card hand's value; the hand must hold 5, 6 or 7 cards.
    // Each suit's count starts at 3, so its nibble reaches 8 at five cards.
    HandValue Value() const
    {
        const uint32_t flush = static_cast<uint32_t>(Key >> SuitCountShift) & 0x8888u;
        if (flush == 0)
            return RankValueOf(static_cast<uint32_t>(Key));
        const int suit = flush & 0x8u ? 0 : flush & 0x80u ? 1 : flush & 0x800u ? 2 : 3;
        return generated::FlushValues[(SuitRanks >> (16 * suit)) & 0x1fffu];
    }
    // Plus(card).Value(): the innermost step of a board enumeration. The
    // hand must hold 4, 5 or 6 cards.
    HandValue ValuePlus(Card card) const
    {
        return Plus(card).Value();
    }
    // This hand and the cards of another, which shares none of them.
    Hand With(const Hand &other) const
    {
        Hand both = *this;
        both.Key += other.Key - StartKey;
        both.SuitRanks |= other.SuitRanks;
        return both;
    }
    // Whether Plus(card) holds five cards of one suit.
    bool FlushPlus(Card card) const
    {
        return ((static_cast<uint32_t>(Key >> SuitCountShift) + (uint32_t{1} << (4 * SuitOf(card)))) & 0x8888u) != 0;
    }
    // Whether no card added makes five of one suit (no suit has four yet):
    // then every card of one rank gives the same value.
    bool NoFlushPlus() const
    {
        return ((static_cast<uint32_t>(Key >> SuitCountShift) + 0x1111u) & 0x8888u) == 0;
    }
    // ValuePlus(card) when FlushPlus(card) is false; the same for every card
    // of that rank, so an enumeration looks it up once per rank.
    HandValue RankValuePlus(Card card) const
    {
        return RankValueOf(static_cast<uint32_t>(Key + generated::CardKeys[card]));
    }

    // The hand's cards of one suit.
    int SuitCount(int suit) const
    {
        return static_cast<int>((Key >> (SuitCountShift + 4 * suit)) & 0xfu) - 3;
    }
    // The sum of the hand's rank keys.
    uint32_t RankSum() const
    {
        return static_cast<uint32_t>(Key);
    }
    // The value without a flush of this hand and more cards whose rank keys
    // add up to `ranks`, 5 to 7 cards in all.
    HandValue RankValueWith(uint32_t ranks) const
    {
        return RankValueOf(static_cast<uint32_t>(Key) + ranks);
    }
    // A number below Tables().RankEntries, different for every multiset of 5
    // to 7 ranks, from its rank keys' sum.
    static size_t RankEntry(uint32_t sum)
    {
        return generated::HashOffsets[sum >> RankHashShift] + (sum & ((uint32_t{1} << RankHashShift) - 1));
    }

  private:
    static HandValue RankValueOf(uint32_t sum)
    {
        return generated::RankValues[RankEntry(sum)];
    }

    static constexpr uint64_t StartKey = uint64_t{0x3333} << SuitCountShift;
    uint64_t Key;
    uint64_t SuitRanks;
};

// The value of 5, 6 or 7 cards given as a set; 0 for any other count.
HandValue EvaluateCards(CardSet cards);

} // namespace cards
} // namespace ostrel

#endif
