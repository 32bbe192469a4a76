/*
 * Card text both ways. Cost: constant per card; ParseCards linear in the
 * text.
 */
#include "card.h"

namespace ostrel
{
namespace cards
{

int CountCards(CardSet cards)
{
    int count = 0;
    for (; cards != 0; cards &= cards - 1)
        ++count;
    return count;
}

int ParseRank(char c)
{
    static const char ranks[] = "23456789TJQKA";
    const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    for (int rank = 0; rank < RankCount; ++rank)
        if (ranks[rank] == upper)
            return rank;
    return -1;
}

int ParseSuit(char c)
{
    static const char suits[] = "cdhs";
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    for (int suit = 0; suit < SuitCount; ++suit)
        if (suits[suit] == lower)
            return suit;
    return -1;
}

char RankChar(int rank)
{
    return "23456789TJQKA"[rank];
}

char SuitChar(int suit)
{
    return "cdhs"[suit];
}

bool ParseCard(std::string_view text, Card &card)
{
    if (text.size() != 2)
        return false;
    const int rank = ParseRank(text[0]);
    const int suit = ParseSuit(text[1]);
    if (rank < 0 || suit < 0)
        return false;
    card = MakeCard(rank, suit);
    return true;
}

std::string FormatCard(Card card)
{
    return std::string{RankChar(RankOf(card)), SuitChar(SuitOf(card))};
}

Status ParseCards(std::string_view text, std::vector<Card> &cards)
{
    cards.clear();
    CardSet seen = 0;
    size_t at = 0;
    while (at < text.size())
    {
        if (text[at] == ' ' || text[at] == ',' || text[at] == '\t')
        {
            ++at;
            continue;
        }
        const std::string_view token = text.substr(at, 2);
        Card card = 0;
        if (!ParseCard(token, card))
        {
            size_t end = at;
            while (end < text.size() && text[end] != ' ' && text[end] != ',')
                ++end;
            return Failure("\"" + std::string(text.substr(at, end - at)) +
                           "\" is not a card (a rank of 23456789TJQKA and a suit of cdhs, like As or Td)");
        }
        if ((seen & MaskOf(card)) != 0)
            return Failure(FormatCard(card) + " is given twice");
        seen |= MaskOf(card);
        cards.push_back(card);
        at += 2;
    }
    return Status();
}

std::string FormatCards(const std::vector<Card> &cards)
{
    std::string text;
    for (Card card : cards)
        text += FormatCard(card);
    return text;
}

} // namespace cards
} // namespace ostrel
