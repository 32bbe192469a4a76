// Card text, combo numbering and the 169 classes against their definitions.
#include <gtest/gtest.h>

#include <set>

#include "card.h"
#include "hand_class.h"

namespace
{

using namespace ostrel::cards;

TEST(Cards, TextBothWays)
{
    struct Row
    {
        const char *Text;
        int Rank;
        int Suit;
    };
    const Row rows[] = {{"2c", 0, 0}, {"As", 12, 3}, {"td", 8, 1}, {"TD", 8, 1}, {"9h", 7, 2}, {"kS", 11, 3}};
    for (const Row &row : rows)
    {
        Card card = 0;
        ASSERT_TRUE(ParseCard(row.Text, card)) << row.Text;
        EXPECT_EQ(row.Rank, RankOf(card)) << row.Text;
        EXPECT_EQ(row.Suit, SuitOf(card)) << row.Text;
    }
    for (int card = 0; card < CardCount; ++card)
    {
        Card back = 0;
        ASSERT_TRUE(ParseCard(FormatCard(static_cast<Card>(card)), back));
        EXPECT_EQ(card, back);
    }
    for (const char *bad : {"", "A", "1s", "Ax", "10s", "Ass", "sA"})
    {
        Card card = 0;
        EXPECT_FALSE(ParseCard(bad, card)) << bad;
    }
}

TEST(Cards, ListsAndTheirErrors)
{
    struct Row
    {
        const char *Text;
        const char *Written; // nullptr: an error mentioning Named
        const char *Named;
    };
    const Row rows[] = {
        {"AsKdQh", "AsKdQh", ""},       {"as kd, qh", "AsKdQh", ""},  {"", "", ""},
        {"AsKdAs", nullptr, "As"},      {"AsXd", nullptr, "Xd"},      {"AsK", nullptr, "K"},
        {"As 1d", nullptr, "1d"},       {"AsAS", nullptr, "As"},
    };
    for (const Row &row : rows)
    {
        std::vector<Card> cards;
        const ostrel::Status status = ParseCards(row.Text, cards);
        if (row.Written != nullptr)
        {
            ASSERT_TRUE(status.Ok) << row.Text << ": " << status.Message;
            EXPECT_EQ(row.Written, FormatCards(cards));
        }
        else
        {
            EXPECT_FALSE(status.Ok) << row.Text;
            EXPECT_NE(std::string::npos, status.Message.find(row.Named)) << status.Message;
        }
    }
}

TEST(Combos, NumberingCoversEveryPairOfCardsOnce)
{
    std::set<int> seen;
    for (int a = 0; a < CardCount; ++a)
        for (int b = 0; b < a; ++b)
        {
            const int combo = ComboIndex(static_cast<Card>(a), static_cast<Card>(b));
            EXPECT_EQ(combo, ComboIndex(static_cast<Card>(b), static_cast<Card>(a)));
            const Combo cards = ComboCards(combo);
            EXPECT_EQ(a, cards.High);
            EXPECT_EQ(b, cards.Low);
            EXPECT_EQ(MaskOf(static_cast<Card>(a)) | MaskOf(static_cast<Card>(b)), ComboMask(combo));
            seen.insert(combo);
        }
    EXPECT_EQ(ComboCount, static_cast<int>(seen.size()));
    EXPECT_EQ(0, *seen.begin());
    EXPECT_EQ(ComboCount - 1, *seen.rbegin());
}

TEST(Classes, NamesChartPlacesAndCombos)
{
    struct Row
    {
        int Class;
        const char *Name;
        int Combos;
    };
    const Row rows[] = {{0, "AA", 6},   {1, "AKs", 4},   {13, "AKo", 12}, {14, "KK", 6},
                        {12, "A2s", 4}, {156, "A2o", 12}, {168, "22", 6}, {155, "32s", 4}, {167, "32o", 12}};
    for (const Row &row : rows)
    {
        EXPECT_EQ(row.Name, ClassName(row.Class));
        int parsed = -1;
        ASSERT_TRUE(ParseClassName(row.Name, parsed));
        EXPECT_EQ(row.Class, parsed);
        EXPECT_EQ(row.Combos, ComboCountOfClass(row.Class));
    }
    int total = 0;
    int perClass[ClassCount] = {};
    for (int combo = 0; combo < ComboCount; ++combo)
        perClass[ClassOfCombo(combo)] += 1;
    for (int c = 0; c < ClassCount; ++c)
    {
        int combos[MaxClassCombos];
        const int count = CombosOfClass(c, combos);
        EXPECT_EQ(perClass[c], count) << ClassName(c);
        EXPECT_EQ(ComboCountOfClass(c), count);
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(c, ClassOfCombo(combos[i]));
        int parsed = -1;
        ASSERT_TRUE(ParseClassName(ClassName(c), parsed));
        EXPECT_EQ(c, parsed);
        total += count;
    }
    EXPECT_EQ(ComboCount, total);
    for (const char *bad : {"AK", "A", "AKx", "AAs", "1A"})
    {
        int parsed = -1;
        EXPECT_FALSE(ParseClassName(bad, parsed)) << bad;
    }
}

} // namespace
