/*
 * Cards as numbers and card sets as bit masks. A card is rank * 4 + suit,
 * rank 0 = '2' .. 12 = 'A', suit 0..3 = c, d, h, s; a set of cards is a
 * 64-bit mask with bit `card` set. Text is read as players write it (`As`,
 * `td`, upper- or lower-case) and written as `As`.
 */
#ifndef OSTREL_CARDS_CARD_H
#define OSTREL_CARDS_CARD_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "field.h"

namespace ostrel
{
namespace cards
{

using Card = uint8_t;
using CardSet = uint64_t;

constexpr int CardCount = 52;
constexpr int RankCount = 13;
constexpr int SuitCount = 4;
constexpr CardSet FullDeck = (CardSet{1} << CardCount) - 1;

constexpr Card MakeCard(int rank, int suit)
{
    return static_cast<Card>(rank * 4 + suit);
}
constexpr int RankOf(Card card)
{
    return card >> 2;
}
constexpr int SuitOf(Card card)
{
    return card & 3;
}
constexpr CardSet MaskOf(Card card)
{
    return CardSet{1} << card;
}

// Number of cards in a set.
int CountCards(CardSet cards);

// 'A' -> 12, 't' -> 8; -1 for anything else.
int ParseRank(char c);
// 's' -> 3; -1 for anything else.
int ParseSuit(char c);
char RankChar(int rank);
char SuitChar(int suit);

// Exactly two characters, rank then suit. False for anything else.
bool ParseCard(std::string_view text, Card &card);
std::string FormatCard(Card card);

// A list of cards written together or apart: "AsKdQh", "As Kd Qh",
// "As,Kd,Qh". A bad card or a card given twice fails with a message that
// names it. Cost: linear in the text.
Status ParseCards(std::string_view text, std::vector<Card> &cards);

// "AsKdQh", in the order given.
std::string FormatCards(const std::vector<Card> &cards);

} // namespace cards
} // namespace ostrel

#endif
