// The generated preflop table: entries recomputed with the evaluator, the
// symmetries and totals every correct table has, and range against range
// against the combo-by-combo definition.
#include <gtest/gtest.h>

#include <random>

#include "evaluator.h"
#include "preflop.h"
#include "preflop_build.h"
#include "range.h"
#include "suit_symmetry.h"

namespace
{

using namespace ostrel::cards;

// Hero against villain on every board of the other 48 cards, by the evaluator.
MatchupCounts Recomputed(int hero, int villain)
{
    const CardSet used = ComboMask(hero) | ComboMask(villain);
    std::vector<Card> deck;
    for (int card = 0; card < CardCount; ++card)
        if ((used & MaskOf(static_cast<Card>(card))) == 0)
            deck.push_back(static_cast<Card>(card));
    const Combo h = ComboCards(hero);
    const Combo v = ComboCards(villain);
    const Hand heroHand = Hand().Plus(h.High).Plus(h.Low);
    const Hand villainHand = Hand().Plus(v.High).Plus(v.Low);
    MatchupCounts counts;
    const size_t n = deck.size();
    for (size_t a = 0; a < n; ++a)
        for (size_t b = a + 1; b < n; ++b)
            for (size_t c = b + 1; c < n; ++c)
            {
                const Hand hc = heroHand.Plus(deck[a]).Plus(deck[b]).Plus(deck[c]);
                const Hand vc = villainHand.Plus(deck[a]).Plus(deck[b]).Plus(deck[c]);
                for (size_t d = c + 1; d < n; ++d)
                {
                    const Hand hd = hc.Plus(deck[d]);
                    const Hand vd = vc.Plus(deck[d]);
                    for (size_t e = d + 1; e < n; ++e)
                    {
                        const HandValue x = hd.Plus(deck[e]).Value();
                        const HandValue y = vd.Plus(deck[e]).Value();
                        counts.Wins += x > y;
                        counts.Ties += x == y;
                        counts.Showdowns += 1;
                    }
                }
            }
    return counts;
}

TEST(PreflopTable, RandomEntriesRecomputed)
{
    std::mt19937_64 random(static_cast<uint64_t>(::testing::UnitTest::GetInstance()->random_seed()) + 16);
    int checked = 0;
    while (checked < 3)
    {
        const int hero = static_cast<int>(random() % ComboCount);
        const int villain = static_cast<int>(random() % ComboCount);
        if ((ComboMask(hero) & ComboMask(villain)) != 0)
            continue;
        const MatchupCounts table = ComboVsCombo(hero, villain);
        const MatchupCounts fresh = Recomputed(hero, villain);
        EXPECT_EQ(fresh.Wins, table.Wins) << hero << " " << villain;
        EXPECT_EQ(fresh.Ties, table.Ties) << hero << " " << villain;
        EXPECT_EQ(fresh.Showdowns, table.Showdowns);
        ++checked;
    }
}

// The cells in the program's image (preflop_cells.inc) are those the builder
// makes from the records today, read through the library's own lookups.
TEST(PreflopTable, GeneratedCellsAreTheBuildersOwn)
{
    const BuiltPreflopCells built = BuildPreflopCells();
    ASSERT_EQ(size_t{ClassCount} * ComboCount * 2, built.HeroVsCombo.size());
    ASSERT_EQ(size_t{ClassCount} * ClassCount * 3, built.ClassVsComboOfClass.size());
    size_t differing = 0;
    for (int a = 0; a < ClassCount; ++a)
    {
        const int hero = CanonicalCombo(a);
        for (int v = 0; v < ComboCount; ++v)
        {
            const MatchupCounts counts = ComboVsCombo(hero, v);
            const size_t at = (static_cast<size_t>(a) * ComboCount + static_cast<size_t>(v)) * 2;
            differing += counts.Wins != built.HeroVsCombo[at] || counts.Ties != built.HeroVsCombo[at + 1];
        }
        for (int b = 0; b < ClassCount; ++b)
        {
            const MatchupCounts counts = ClassVsCombo(a, CanonicalCombo(b));
            const size_t at = (static_cast<size_t>(a) * ClassCount + static_cast<size_t>(b)) * 3;
            differing += counts.Wins != built.ClassVsComboOfClass[at] ||
                         counts.Ties != built.ClassVsComboOfClass[at + 1] ||
                         counts.Showdowns != uint64_t{built.ClassVsComboOfClass[at + 2]} * PreflopBoards;
        }
    }
    EXPECT_EQ(0u, differing);
    // Every record is a cell of its hero class's row as generated.
    const PreflopRecord *records = PreflopRecords();
    for (size_t i = 0; i < PreflopRecordCount(); i += 97)
    {
        const MatchupCounts counts = ComboVsCombo(CanonicalCombo(records[i].Hero), records[i].Villain);
        EXPECT_EQ(records[i].Wins, counts.Wins) << i;
        EXPECT_EQ(records[i].Ties, counts.Ties) << i;
    }
    EXPECT_EQ(47086u, PreflopRecordCount());
}

TEST(PreflopTable, PublishedMatchups)
{
    struct Row
    {
        const char *Hero;
        const char *Villain;
        uint64_t Wins;
        uint64_t Ties;
    };
    // AdAc against KhKs, as published.
    const Row rows[] = {{"AdAc", "KhKs", 1388072, 6538}, {"KhKs", "AdAc", 317694, 6538}};
    for (const Row &row : rows)
    {
        std::vector<Card> hero;
        std::vector<Card> villain;
        ASSERT_TRUE(ParseCards(row.Hero, hero).Ok && ParseCards(row.Villain, villain).Ok);
        const MatchupCounts counts = ComboVsCombo(ComboIndex(hero[0], hero[1]), ComboIndex(villain[0], villain[1]));
        EXPECT_EQ(row.Wins, counts.Wins);
        EXPECT_EQ(row.Ties, counts.Ties);
        EXPECT_EQ(PreflopBoards, counts.Showdowns);
    }
}

// wins(a, b) = losses(b, a), ties alike; the class table and the class
// against a combo are sums of the combo table; showdowns are the pairs without a shared card times the boards.
TEST(PreflopTable, SymmetriesAndTotals)
{
    uint64_t showdowns = 0;
    for (int a = 0; a < ClassCount; ++a)
    {
        int heroes[MaxClassCombos];
        const int heroCount = CombosOfClass(a, heroes);
        for (int b = 0; b < ClassCount; ++b)
        {
            const MatchupCounts ab = ClassVsClass(a, b);
            const MatchupCounts ba = ClassVsClass(b, a);
            EXPECT_EQ(ab.Showdowns, ba.Showdowns);
            EXPECT_EQ(ab.Ties, ba.Ties);
            EXPECT_EQ(ab.Wins, ba.Showdowns - ba.Wins - ba.Ties) << ClassName(a) << " " << ClassName(b);
            int villains[MaxClassCombos];
            const int villainCount = CombosOfClass(b, villains);
            MatchupCounts sum;
            uint64_t pairs = 0;
            for (int i = 0; i < heroCount; ++i)
                for (int j = 0; j < villainCount; ++j)
                {
                    const MatchupCounts one = ComboVsCombo(heroes[i], villains[j]);
                    sum.Wins += one.Wins;
                    sum.Ties += one.Ties;
                    pairs += (ComboMask(heroes[i]) & ComboMask(villains[j])) == 0;
                }
            for (int v = b; v < ComboCount; v += 97)
            {
                MatchupCounts column;
                for (int i = 0; i < heroCount; ++i)
                {
                    const MatchupCounts one = ComboVsCombo(heroes[i], v);
                    column.Wins += one.Wins;
                    column.Ties += one.Ties;
                    column.Showdowns += one.Showdowns;
                }
                const MatchupCounts classVsCombo = ClassVsCombo(a, v);
                EXPECT_EQ(column.Wins, classVsCombo.Wins);
                EXPECT_EQ(column.Ties, classVsCombo.Ties);
                EXPECT_EQ(column.Showdowns, classVsCombo.Showdowns);
            }
            EXPECT_EQ(sum.Wins, ab.Wins);
            EXPECT_EQ(sum.Ties, ab.Ties);
            EXPECT_EQ(pairs * PreflopBoards, ab.Showdowns);
            showdowns += ab.Showdowns;
        }
    }
    EXPECT_EQ(uint64_t{1326} * 1225 * PreflopBoards, showdowns);
}

// Range against range by the combo-by-combo definition over ComboVsCombo.
HeadsUpEquity ByCombos(const Range &hero, const Range &villain)
{
    double wins = 0.0;
    double ties = 0.0;
    double showdowns = 0.0;
    for (int h = 0; h < ComboCount; ++h)
        for (int v = 0; v < ComboCount; ++v)
        {
            const double w = hero.Weight[static_cast<size_t>(h)] * villain.Weight[static_cast<size_t>(v)];
            if (w == 0.0)
                continue;
            const MatchupCounts counts = ComboVsCombo(h, v);
            wins += w * static_cast<double>(counts.Wins);
            ties += w * static_cast<double>(counts.Ties);
            showdowns += w * static_cast<double>(counts.Showdowns);
        }
    HeadsUpEquity result;
    result.Equity = (wins + ties / 2) / showdowns;
    result.Win = wins / showdowns;
    result.Tie = ties / showdowns;
    return result;
}

TEST(PreflopTable, RangesAgainstTheComboDefinition)
{
    const char *const texts[][2] = {
        {"AA", "KK"},
        {"random", "random"},
        {"22+, A2s+, K9s+, AJo+", "15%"},
        {"AhKh, AsKs:0.5, QQ", "AK, JTs:0.3"},
        {"AA:0.5, AcAd", "AsKd, AcKh:0.25, KK"},
    };
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<std::pair<Range, Range>> pairs;
    for (const auto &row : texts)
    {
        std::pair<Range, Range> pair;
        ASSERT_TRUE(ParseRange(row[0], pair.first).Ok && ParseRange(row[1], pair.second).Ok);
        pairs.push_back(pair);
    }
    std::pair<Range, Range> scattered;
    for (size_t combo = 0; combo < ComboCount; ++combo)
    {
        scattered.first.Weight[combo] = combo % 7 == 0 ? unit(random) : 0.0;
        scattered.second.Weight[combo] = combo % 3 == 0 ? unit(random) : 0.0;
    }
    pairs.push_back(scattered);
    for (const auto &pair : pairs)
    {
        HeadsUpEquity fast;
        ASSERT_TRUE(HeadsUpPreflop(pair.first, pair.second, fast).Ok);
        const HeadsUpEquity plain = ByCombos(pair.first, pair.second);
        EXPECT_NEAR(plain.Equity, fast.Equity, 1e-12) << FormatRange(pair.first);
        EXPECT_NEAR(plain.Win, fast.Win, 1e-12);
        EXPECT_NEAR(plain.Tie, fast.Tie, 1e-12);
    }
    HeadsUpEquity aces;
    ASSERT_TRUE(ClassVsRange(0, pairs[0].second, aces).Ok);
    EXPECT_NEAR(0.81946, aces.Equity, 5e-6);
    Range none;
    EXPECT_FALSE(HeadsUpPreflop(pairs[0].first, none, aces).Ok);
}

} // namespace
