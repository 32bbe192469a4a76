// All-in equity against published figures, against an enumeration written
// here from the evaluator alone, sampled against exact, and its errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "equity.h"
#include "evaluator.h"

namespace
{

using namespace ostrel::cards;

Range RangeOf(const char *text)
{
    Range range;
    EXPECT_TRUE(ParseRange(text, range).Ok) << text;
    return range;
}

std::vector<Card> CardsOf(const char *text)
{
    std::vector<Card> cards;
    EXPECT_TRUE(ParseCards(text, cards).Ok) << text;
    return cards;
}

EquityRequest RequestOf(std::vector<const char *> ranges, const char *board = "", const char *dead = "")
{
    EquityRequest request;
    for (const char *text : ranges)
        request.Players.push_back(RangeOf(text));
    request.Board = CardsOf(board);
    request.Dead = CardsOf(dead);
    return request;
}

EquityResult Solved(const EquityRequest &request)
{
    EquityResult result;
    const ostrel::Status status = AllInEquity(request, result);
    EXPECT_TRUE(status.Ok) << status.Message;
    return result;
}

// Published: AdAc against KhKs over all 1,712,304 boards wins 1,388,072,
// loses 317,694 and ties 6,538 times; by the table and by enumeration.
TEST(Equity, AcesAgainstKingsAsPublished)
{
    for (bool table : {true, false})
    {
        EquityRequest request = RequestOf({"AdAc", "KhKs"});
        request.UseTable = table;
        const EquityResult result = Solved(request);
        ASSERT_TRUE(result.Exact);
        EXPECT_EQ(1712304u, result.Boards);
        const double boards = 1712304.0;
        EXPECT_NEAR(1388072.0, result.Players[0].Win * boards, 1e-6) << table;
        EXPECT_NEAR(317694.0, result.Players[1].Win * boards, 1e-6) << table;
        EXPECT_NEAR(6538.0, result.Players[0].Tie * boards, 1e-6) << table;
        EXPECT_NEAR((1388072.0 + 6538.0 / 2) / boards, result.Players[0].Equity, 1e-15) << table;
    }
    // AA against KK over all their 36 pairs of combos: 81.946 %.
    const EquityResult ranges = Solved(RequestOf({"AA", "KK"}));
    EXPECT_NEAR(0.81946, ranges.Players[0].Equity, 5e-6);
    EXPECT_EQ(6, ranges.Players[0].Combos);
}

// The plain definition: every pair (or triple) of combos without a shared
// card, weighted by the product of weights, every board completion, each
// hand's value by EvaluateCards on its seven cards.
std::vector<double> EnumeratedHere(const EquityRequest &request)
{
    CardSet known = 0;
    for (Card card : request.Board)
        known |= MaskOf(card);
    for (Card card : request.Dead)
        known |= MaskOf(card);
    CardSet board = 0;
    for (Card card : request.Board)
        board |= MaskOf(card);
    const size_t n = request.Players.size();
    std::vector<double> points(n, 0.0);
    double total = 0.0;
    std::vector<int> held(n, 0);
    std::function<void(size_t, CardSet, double)> deal = [&](size_t player, CardSet used, double weight) {
        if (player < n)
        {
            for (int combo = 0; combo < ComboCount; ++combo)
            {
                const double w = request.Players[player].Weight[static_cast<size_t>(combo)];
                if (w > 0.0 && (ComboMask(combo) & used) == 0)
                {
                    held[player] = combo;
                    deal(player + 1, used | ComboMask(combo), weight * w);
                }
            }
            return;
        }
        std::vector<Card> deck;
        for (int card = 0; card < CardCount; ++card)
            if ((used & MaskOf(static_cast<Card>(card))) == 0)
                deck.push_back(static_cast<Card>(card));
        const int missing = 5 - static_cast<int>(request.Board.size());
        std::function<void(size_t, int, CardSet)> runout = [&](size_t from, int left, CardSet extra) {
            if (left > 0)
            {
                for (size_t i = from; i < deck.size(); ++i)
                    runout(i + 1, left - 1, extra | MaskOf(deck[i]));
                return;
            }
            std::vector<HandValue> values(n);
            HandValue best = 0;
            for (size_t p = 0; p < n; ++p)
            {
                values[p] = EvaluateCards(board | extra | ComboMask(held[p]));
                best = std::max(best, values[p]);
            }
            const double winners = static_cast<double>(std::count(values.begin(), values.end(), best));
            for (size_t p = 0; p < n; ++p)
                points[p] += values[p] == best ? weight / winners : 0.0;
            total += weight;
        };
        runout(0, missing, 0);
    };
    deal(0, known, 1.0);
    for (double &p : points)
        p /= total;
    return points;
}

struct CaseRow
{
    std::vector<const char *> Ranges;
    const char *Board;
    const char *Dead;
};

const CaseRow Cases[] = {
    {{"QQ+, AKs", "JTs, 99, AhQh:0.5"}, "Qs9h2c", ""},
    {{"AA, KK:0.3", "AsKs, T9s", "22-44"}, "Js8s3d4c", ""},
    {{"random", "AA"}, "Kd7h2s9c", "Ac5d"},
    {{"AhKh", "TT+", "A5s-A2s", "KQo"}, "Th9c2h3d", ""},
    {{"KK+:0.75, AQs", "JJ-88", "AK"}, "2c7d9h5s", "Qc"},
    {{"AhKh", "QsQd"}, "", "2c3c4c5c6c7c8c9c2d3d4d5d6d7d8d9d2h3h4h5h6h7h8h9h2s3s4s5s"},
    {{"AA, KK, 98s", "QQ, AK:0.4", "22+, A2s+, KTo+"}, "Ah7c2d9s3h", ""},
};

TEST(Equity, RangesAgreeWithAnEnumerationByCombos)
{
    for (const CaseRow &row : Cases)
    {
        const EquityRequest request = RequestOf(row.Ranges, row.Board, row.Dead);
        const EquityResult result = Solved(request);
        ASSERT_TRUE(result.Exact) << row.Board;
        const std::vector<double> expected = EnumeratedHere(request);
        double sum = 0.0;
        for (size_t p = 0; p < expected.size(); ++p)
        {
            EXPECT_NEAR(expected[p], result.Players[p].Equity, 1e-12) << row.Board << " player " << p;
            sum += result.Players[p].Equity;
            EXPECT_LE(result.Players[p].Win, result.Players[p].Equity);
            EXPECT_LE(result.Players[p].Equity, result.Players[p].Win + result.Players[p].Tie + 1e-15);
        }
        EXPECT_NEAR(1.0, sum, 1e-12) << row.Board;
    }
}

TEST(Equity, SampledLiesWithinFourStandardErrors)
{
    for (const CaseRow &row : Cases)
    {
        EquityRequest request = RequestOf(row.Ranges, row.Board, row.Dead);
        const EquityResult exact = Solved(request);
        request.Method = EquityMethod::Sampled;
        request.Samples = 100000;
        request.Seed = 11;
        const EquityResult sampled = Solved(request);
        ASSERT_FALSE(sampled.Exact);
        EXPECT_EQ(100000u, sampled.Samples);
        double sum = 0.0;
        for (size_t p = 0; p < exact.Players.size(); ++p)
        {
            const PlayerEquity &player = sampled.Players[p];
            EXPECT_GT(player.StandardError, 0.0);
            EXPECT_LE(player.StandardError, sampled.StandardError);
            EXPECT_LE(std::fabs(player.Equity - exact.Players[p].Equity), 4.0 * player.StandardError)
                << row.Board << " player " << p;
            sum += player.Equity;
        }
        EXPECT_NEAR(1.0, sum, 1e-9);
        // The same seed draws the same showdowns.
        EXPECT_EQ(sampled.Players[0].Equity, Solved(request).Players[0].Equity);
    }
}

// Heads-up preflop: the table, and boards enumerated, for ranges.
TEST(Equity, PreflopTableEqualsEnumeration)
{
    for (const char *villain : {"QsQh", "AsKs:0.5, 7c7d"})
    {
        EquityRequest request = RequestOf({"JhTh, AdAc:0.25", villain});
        const EquityResult table = Solved(request);
        request.UseTable = false;
        const EquityResult enumerated = Solved(request);
        EXPECT_NEAR(enumerated.Players[0].Equity, table.Players[0].Equity, 1e-12) << villain;
        EXPECT_NEAR(enumerated.Players[0].Win, table.Players[0].Win, 1e-12) << villain;
        EXPECT_NEAR(enumerated.Players[1].Tie, table.Players[1].Tie, 1e-12) << villain;
    }
}

// Side pots: with given hands, the pot between two of three players is their
// heads-up equity with the third hand's cards dead.
TEST(Equity, PotSharesOfThreePlayers)
{
    EquityRequest request = RequestOf({"AhKh", "QsQd", "7c6c"}, "Qh8h2c");
    request.PotShares = true;
    const EquityResult result = Solved(request);
    ASSERT_EQ(3u * 8u, result.PotShare.size());
    const char *hands[] = {"AhKh", "QsQd", "7c6c"};
    for (size_t subset = 1; subset < 8; ++subset)
    {
        double sum = 0.0;
        for (size_t p = 0; p < 3; ++p)
            sum += result.PotShare[subset * 3 + p];
        EXPECT_NEAR(1.0, sum, 1e-12) << subset;
        for (size_t p = 0; p < 3 && subset == 7; ++p)
        {
            EXPECT_EQ(result.Players[p].Equity, result.PotShare[7 * 3 + p]);
        }
        if (subset == 3 || subset == 5 || subset == 6)
        {
            size_t in[2];
            size_t out = 0;
            size_t k = 0;
            for (size_t p = 0; p < 3; ++p)
                if ((subset >> p) & 1)
                    in[k++] = p;
                else
                    out = p;
            const EquityResult pair = Solved(RequestOf({hands[in[0]], hands[in[1]]}, "Qh8h2c", hands[out]));
            EXPECT_NEAR(pair.Players[0].Equity, result.PotShare[subset * 3 + in[0]], 1e-12) << subset;
        }
    }
}

TEST(Equity, ErrorsNameTheProblem)
{
    struct Row
    {
        std::vector<const char *> Ranges;
        const char *Board;
        const char *Dead;
        EquityMethod Method;
        const char *Message;
    };
    const Row rows[] = {
        {{"AA"}, "", "", EquityMethod::Automatic, "2 to 6 players"},
        {{"AA", "KK", "QQ", "JJ", "TT", "99", "88"}, "", "", EquityMethod::Automatic, "2 to 6 players"},
        {{"AA", "KK"}, "2c", "", EquityMethod::Automatic, "0, 3, 4 or 5"},
        {{"AA", "KK"}, "2c3c", "", EquityMethod::Automatic, "0, 3, 4 or 5"},
        {{"AA", "KK"}, "2c3c4c5c6c7c", "", EquityMethod::Automatic, "0, 3, 4 or 5"},
        {{"AA", "KK"}, "2c3c4c", "4c", EquityMethod::Automatic, "4c is given twice"},
        {{"AsKs", "KK"}, "As2c3c", "", EquityMethod::Automatic, "player 1's range is empty"},
        {{"AA", ""}, "", "", EquityMethod::Sampled, "player 2's range is empty"},
        {{"AsKs", "AsKh"}, "", "", EquityMethod::Automatic, "card in common"},
        {{"AsKs", "AsKh"}, "", "", EquityMethod::Sampled, "card in common"},
        {{"random", "random", "random"}, "", "", EquityMethod::Exact, "sample instead"},
        // An empty range is not empty because of cards taken away.
        {{"", "QQ"}, "", "", EquityMethod::Automatic, "player 1's range is empty: no hand has a weight above 0"},
        // Too few cards left for the hole cards and the board: 52 - 44 = 8 < 4 + 5.
        {{"AhKh", "QsQd"}, "", "2c2d2h2s3c3d3h3s4c4d4h4s5c5d5h5s6c6d6h6s7c7d7h7s8c8d8h8s9c9d9h9sTcTdThTsJcJdJhJsQcQhKcKd",
         EquityMethod::Automatic, "leave 8 cards, too few for 2 players"},
        {{"AhKh", "QsQd"}, "", "2c2d2h2s3c3d3h3s4c4d4h4s5c5d5h5s6c6d6h6s7c7d7h7s8c8d8h8s9c9d9h9sTcTdThTsJcJdJhJsQcQhKcKd",
         EquityMethod::Sampled, "leave 8 cards"},
        // With a flop, 2 more board cards: 52 - 3 - 44 = 5 < 4 + 2.
        {{"AhKh", "QsQd"}, "2c2d2h",
         "2s3c3d3h3s4c4d4h4s5c5d5h5s6c6d6h6s7c7d7h7s8c8d8h8s9c9d9h9sTcTdThTsJcJdJhJsQcQhKcKdKsAcAd",
         EquityMethod::Exact, "leave 5 cards, too few for 2 players' hole cards and 2 more"},
        // Six players, 36 dead cards: 16 < 12 + 5.
        {{"AhKh", "QsQd", "JcTc", "9d8d", "7s6s", "5h4h"}, "",
         "2c2d2h2s3c3d3h3s4c4d4s5c5dKd5s6c6d6h7c7d7h8c8h8s9c9h9sTdThTsJdJhJsQcQhKc", EquityMethod::Sampled,
         "leave 16 cards, too few for 6 players"},
    };
    for (const Row &row : rows)
    {
        EquityRequest request = RequestOf(row.Ranges, "", "");
        request.Board = CardsOf(row.Board);
        // A card twice across board and dead cards is for AllInEquity to catch.
        request.Dead = CardsOf(row.Dead);
        request.Method = row.Method;
        EquityResult result;
        const ostrel::Status status = AllInEquity(request, result);
        EXPECT_FALSE(status.Ok) << row.Message;
        EXPECT_NE(std::string::npos, status.Message.find(row.Message)) << status.Message;
    }
}

} // namespace

namespace
{

// A range whose weights are all below TinyWeight is divided by its largest:
// the answer of the same hands at weight 1, to the bit (the products of
// such weights would underflow to 0).
TEST(Equity, TinyWeightsGiveTheAnswerOfWeightOne)
{
    struct Row
    {
        std::vector<const char *> Tiny;
        std::vector<const char *> Plain;
        EquityMethod Method;
    };
    const Row rows[] = {
        {{"AhKh:1e-200", "QsQd:1e-200"}, {"AhKh", "QsQd"}, EquityMethod::Automatic},
        {{"AhKh:1e-200", "QsQd:1e-200"}, {"AhKh", "QsQd"}, EquityMethod::Exact},
        {{"AA:1e-200, KK:2e-200", "QQ:1e-300"}, {"AA:0.5, KK", "QQ"}, EquityMethod::Automatic},
        {{"AhKh:1e-120", "QsQd:1e-120", "7c6c:1e-120"}, {"AhKh", "QsQd", "7c6c"}, EquityMethod::Exact},
        {{"AhKh:1e-120", "QQ:1e-150", "76s:1e-200"}, {"AhKh", "QQ", "76s"}, EquityMethod::Sampled},
    };
    for (const Row &row : rows)
    {
        EquityRequest tiny = RequestOf(row.Tiny);
        EquityRequest plain = RequestOf(row.Plain);
        tiny.Method = plain.Method = row.Method;
        tiny.Samples = plain.Samples = 20000;
        const EquityResult a = Solved(tiny);
        const EquityResult b = Solved(plain);
        ASSERT_EQ(b.Players.size(), a.Players.size()) << row.Tiny[0];
        for (size_t p = 0; p < a.Players.size(); ++p)
        {
            EXPECT_EQ(b.Players[p].Equity, a.Players[p].Equity) << row.Tiny[0] << " player " << p;
            EXPECT_EQ(b.Players[p].Win, a.Players[p].Win) << row.Tiny[0];
            EXPECT_EQ(b.Players[p].Tie, a.Players[p].Tie) << row.Tiny[0];
            EXPECT_EQ(b.Players[p].StandardError, a.Players[p].StandardError) << row.Tiny[0];
        }
    }
}

// One showdown estimates no error; two do.
TEST(Equity, SamplingNeedsTwoShowdowns)
{
    EquityRequest request = RequestOf({"AA", "KK"});
    request.Method = EquityMethod::Sampled;
    request.Samples = 1;
    EquityResult result;
    const ostrel::Status one = AllInEquity(request, result);
    EXPECT_FALSE(one.Ok);
    EXPECT_NE(std::string::npos, one.Message.find("no estimate of its standard error")) << one.Message;
    request.Samples = MinSamples;
    EXPECT_TRUE(AllInEquity(request, result).Ok);
}

} // namespace

namespace
{

// Preflop boards counted by their ranks, and flops and turns by the combos'
// rows, against every board enumerated one by one: the same integer counts,
// so the same doubles, for hands that can and cannot make flushes, dead
// cards and side pots (which take the boards one by one on flops and turns).
TEST(Equity, BoardsByRanksEqualEveryBoard)
{
    struct Row
    {
        std::vector<const char *> Ranges;
        const char *Dead;
        const char *Board;
    };
    const Row rows[] = {
        {{"AdAc", "KhKs", "7c6c"}, "", ""},
        {{"AdAc", "KhKs", "QsQh", "JcTc", "9d8d", "7h6h"}, "", ""},
        {{"AsKs", "QsJs", "9s8s"}, "", ""},
        {{"AsKs", "QsJs", "9s8s", "7s6s", "5s4s", "3s2s"}, "2c3d4h5c8d9hTc", ""},
        {{"AhKh", "QsQd", "7c6c"}, "2c3c4c5c8c9cTcJcQcKc", ""},
        {{"AdAh, AcAs:0.5", "QQ, AcKc", "7s6s"}, "2c3d4h5c8d9hTc2d3h4s", ""},
        {{"AhKh", "QsQd"}, "", ""},
        {{"AA", "KK", "random"}, "", "2h7d9sKc"},
        {{"QQ+, AKs", "JTs, 99, AhQh:0.5", "22-55"}, "", "Qs9h2c"},
        {{"AsKs", "QsJs", "9s8s", "7s6s", "5s4s", "3s2s"}, "", "Ts2h3d"},
        {{"AA, KK:0.3", "AsKs, T9s", "22-44", "76s, 65s"}, "Ah", "Js8s3d4c"},
    };
    for (const Row &row : rows)
    {
        EquityRequest request = RequestOf(row.Ranges, row.Board, row.Dead);
        request.Method = EquityMethod::Exact;
        request.UseTable = false;
        request.PotShares = row.Ranges.size() <= 3 && row.Board[0] == '\0';
        const EquityResult grouped = Solved(request);
        request.GroupBoards = false;
        const EquityResult plain = Solved(request);
        ASSERT_EQ(plain.Players.size(), grouped.Players.size());
        EXPECT_EQ(plain.Boards, grouped.Boards) << row.Ranges[0];
        EXPECT_EQ(plain.Deals, grouped.Deals) << row.Ranges[0];
        for (size_t p = 0; p < plain.Players.size(); ++p)
        {
            EXPECT_EQ(plain.Players[p].Win, grouped.Players[p].Win) << row.Ranges[0] << " player " << p;
            EXPECT_EQ(plain.Players[p].Tie, grouped.Players[p].Tie) << row.Ranges[0] << " player " << p;
            EXPECT_EQ(plain.Players[p].Equity, grouped.Players[p].Equity) << row.Ranges[0] << " player " << p;
        }
        EXPECT_EQ(plain.PotShare, grouped.PotShare) << row.Ranges[0];
    }
}

} // namespace
