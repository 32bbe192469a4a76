// The evaluator against the published counts of five-card hands, against a
// plain best-of-five definition on random 6- and 7-card hands, and on a table
// of hands whose order players know.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "evaluator.h"
#include "evaluator_build.h"

namespace
{

using namespace ostrel::cards;

CardSet CardsOf(const char *text)
{
    std::vector<Card> cards;
    EXPECT_TRUE(ParseCards(text, cards).Ok) << text;
    CardSet set = 0;
    for (Card card : cards)
        set |= MaskOf(card);
    return set;
}

// Every five-card hand: 2,598,960 of them in the published categories, with
// 7,462 distinct values.
TEST(Evaluator, EveryFiveCardHand)
{
    const uint64_t expected[] = {1302540, 1098240, 123552, 54912, 10200, 5108, 3744, 624, 40};
    const size_t distinct[] = {1277, 2860, 858, 858, 10, 1277, 156, 156, 10};
    uint64_t counts[9] = {};
    std::set<HandValue> values;
    uint64_t royals = 0;
    const Hand empty;
    for (int a = 0; a < CardCount; ++a)
    {
        const Hand ha = empty.Plus(static_cast<Card>(a));
        for (int b = a + 1; b < CardCount; ++b)
        {
            const Hand hb = ha.Plus(static_cast<Card>(b));
            for (int c = b + 1; c < CardCount; ++c)
            {
                const Hand hc = hb.Plus(static_cast<Card>(c));
                for (int d = c + 1; d < CardCount; ++d)
                {
                    const Hand hd = hc.Plus(static_cast<Card>(d));
                    for (int e = d + 1; e < CardCount; ++e)
                    {
                        const HandValue value = hd.Plus(static_cast<Card>(e)).Value();
                        counts[static_cast<int>(CategoryOf(value))] += 1;
                        values.insert(value);
                        royals += RankOf(static_cast<Card>(a)) == 8 && CategoryOf(value) == Category::StraightFlush;
                    }
                }
            }
        }
    }
    for (int category = 0; category < 9; ++category)
    {
        EXPECT_EQ(expected[category], counts[category]) << CategoryName(static_cast<Category>(category));
        const size_t inCategory = static_cast<size_t>(std::count_if(values.begin(), values.end(), [&](HandValue v) {
            return static_cast<int>(CategoryOf(v)) == category;
        }));
        EXPECT_EQ(distinct[category], inCategory) << CategoryName(static_cast<Category>(category));
    }
    EXPECT_EQ(7462u, values.size());
    EXPECT_EQ(4u, royals);
}

// Hands in increasing strength, each strictly above the one before.
TEST(Evaluator, OrderPlayersKnow)
{
    const char *const ascending[] = {
        "7c5d4h3s2c",      // the lowest hand
        "8c6d4h3s2c",      "AcKdQhJs9c",    "2c2d3h4s5c", "2c2d3h4s6c", "AcAdKhQsJc",
        "3c3d2h2s4c",      "AcAdKhKsQc",    "2c2d2h3s4c", "AcAdAhKsQc",
        "Ac2d3h4s5c",      // the wheel, the lowest straight
        "2c3d4h5s6c",      "TcJdQhKsAc",    "2c3c4c5c7c", "AcKcQcJc9c", "2c2d2h3s3c", "AcAdAhKsKc",
        "2c2d2h2s3c",      "AcAdAhAsKc",
        "Ac2c3c4c5c",      // the steel wheel
        "9cTcJcQcKc",      "TcJcQcKcAc",    // the royal flush
    };
    HandValue before = 0;
    for (const char *text : ascending)
    {
        const HandValue value = EvaluateCards(CardsOf(text));
        EXPECT_GT(value, before) << text;
        before = value;
    }
    EXPECT_EQ(Category::StraightFlush, CategoryOf(before));
    // Equal hands in other suits split.
    EXPECT_EQ(EvaluateCards(CardsOf("AcKdQhJs9c")), EvaluateCards(CardsOf("AdKhQsJc9d")));
    // The sixth and seventh cards count only through the best five.
    EXPECT_EQ(EvaluateCards(CardsOf("AcAdKhKsQc")), EvaluateCards(CardsOf("AcAdKhKsQc2d3h")));
    EXPECT_EQ(EvaluateCards(CardsOf("AsKsQsJsTs")), EvaluateCards(CardsOf("AsKsQsJsTs9s8s")));
    EXPECT_EQ(0, EvaluateCards(CardsOf("AsKsQsJs")));
}

// Best of the five-card subsets, by the evaluator's own five-card values
// (checked exhaustively above).
HandValue BestOfFive(const std::vector<Card> &cards)
{
    HandValue best = 0;
    const size_t n = cards.size();
    for (uint32_t pick = 0; pick < (1u << n); ++pick)
    {
        CardSet set = 0;
        int count = 0;
        for (size_t i = 0; i < n; ++i)
            if (pick & (1u << i))
            {
                set |= MaskOf(cards[i]);
                ++count;
            }
        if (count == 5)
            best = std::max(best, EvaluateCards(set));
    }
    return best;
}

TEST(Evaluator, SixAndSevenCardsAreTheBestFive)
{
    std::mt19937_64 random(20261208);
    for (int size : {6, 7})
        for (int trial = 0; trial < 20000; ++trial)
        {
            std::vector<Card> deck(CardCount);
            for (int i = 0; i < CardCount; ++i)
                deck[static_cast<size_t>(i)] = static_cast<Card>(i);
            std::shuffle(deck.begin(), deck.end(), random);
            deck.resize(static_cast<size_t>(size));
            // Flushes are rare among random hands: give a third of them five of one suit.
            if (trial % 3 == 0)
                for (size_t i = 0; i < 5; ++i)
                    deck[i] = MakeCard(RankOf(deck[i]), 2);
            std::sort(deck.begin(), deck.end());
            if (std::adjacent_find(deck.begin(), deck.end()) != deck.end())
                continue;
            CardSet set = 0;
            for (Card card : deck)
                set |= MaskOf(card);
            ASSERT_EQ(BestOfFive(deck), EvaluateCards(set)) << FormatCards(deck);
        }
}

// The generated tables are those the builder makes: the keys keep every
// multiset of up to 7 ranks apart, and the offsets, rank values and flush
// values built from them are the generated ones, entry for entry.
TEST(Evaluator, GeneratedTablesAreTheBuildersOwn)
{
    const EvaluatorTables &generated = Tables();
    std::array<uint32_t, RankCount> keys{};
    std::copy(generated.RankKeys, generated.RankKeys + RankCount, keys.begin());
    EXPECT_TRUE(RankKeysApart(keys));
    // Two sizes' multisets with one sum would share an entry.
    EXPECT_FALSE(RankKeysApart({0, 5, 24, 112, 521, 2247, 9244, 30823, 103066, 250154, 667453, 1526359, 3453520}));
    for (int card = 0; card < CardCount; ++card)
        EXPECT_EQ(keys[static_cast<size_t>(RankOf(static_cast<Card>(card)))] +
                      (uint64_t{1} << (SuitCountShift + 4 * SuitOf(static_cast<Card>(card)))),
                  generated.CardKeys[card])
            << card;
    const BuiltEvaluatorTables built = BuildEvaluatorTables(keys);
    ASSERT_EQ(built.HashOffsets.size(), generated.HashRows);
    ASSERT_EQ(built.RankValues.size(), generated.RankEntries);
    ASSERT_EQ(8192u, built.FlushValues.size());
    EXPECT_TRUE(std::equal(built.HashOffsets.begin(), built.HashOffsets.end(), generated.HashOffsets));
    EXPECT_TRUE(std::equal(built.RankValues.begin(), built.RankValues.end(), generated.RankValues));
    EXPECT_TRUE(std::equal(built.FlushValues.begin(), built.FlushValues.end(), generated.FlushValues));
}

// A hand's value does not depend on the order its cards were added in.
TEST(Evaluator, AnyOrderOfCards)
{
    std::mt19937_64 random(7);
    std::vector<Card> deck(CardCount);
    for (int i = 0; i < CardCount; ++i)
        deck[static_cast<size_t>(i)] = static_cast<Card>(i);
    for (int trial = 0; trial < 20000; ++trial)
    {
        std::shuffle(deck.begin(), deck.end(), random);
        const size_t size = 5 + static_cast<size_t>(trial % 3);
        Hand forward;
        Hand backward;
        CardSet set = 0;
        for (size_t i = 0; i < size; ++i)
        {
            forward = forward.Plus(deck[i]);
            backward = backward.Plus(deck[size - 1 - i]);
            set |= MaskOf(deck[i]);
        }
        ASSERT_EQ(EvaluateCards(set), forward.Value()) << trial;
        ASSERT_EQ(EvaluateCards(set), backward.Value()) << trial;
    }
}

} // namespace
