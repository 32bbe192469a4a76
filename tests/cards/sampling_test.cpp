// The sampler's draws: whole numbers below n and combos by weight against
// their definitions, and sampled equities in which players take any cards
// (drawn from the deck as the board is) against exact enumeration.
#include <gtest/gtest.h>

#include <cmath>

#include "equity.h"
#include "sampling.h"

namespace
{

using namespace ostrel::cards;

// Pearson's statistic of counts against expected counts.
double ChiSquare(const std::vector<uint64_t> &counts, const std::vector<double> &expected)
{
    double sum = 0.0;
    for (size_t i = 0; i < counts.size(); ++i)
    {
        const double d = static_cast<double>(counts[i]) - expected[i];
        sum += d * d / expected[i];
    }
    return sum;
}

// Below(n) over a million draws: every value below n, the counts within a
// chi-square bound (some 6 standard deviations above its mean, n - 1). The
// second n makes half of all half words redraw.
TEST(Sampling, BelowIsUniform)
{
    const uint32_t sizes[] = {1, 2, 7, 52, 1326, 2147483649u};
    for (uint32_t n : sizes)
    {
        Random random(n);
        const size_t buckets = n > 1326 ? 64 : n;
        std::vector<uint64_t> counts(buckets, 0);
        const int draws = 1000000;
        for (int i = 0; i < draws; ++i)
        {
            const uint32_t value = random.Below(n);
            ASSERT_LT(value, n);
            counts[static_cast<size_t>(uint64_t{value} * buckets / n)] += 1;
        }
        if (buckets == 1)
            continue;
        const std::vector<double> expected(buckets, draws / static_cast<double>(buckets));
        const double dof = static_cast<double>(buckets - 1);
        EXPECT_LT(ChiSquare(counts, expected), dof + 6.0 * std::sqrt(2.0 * dof)) << n;
    }
}

TEST(Sampling, AliasTableKeepsTheWeights)
{
    const std::vector<std::vector<double>> tables = {
        {1.0}, {0.5, 0.5, 0.5}, {1.0, 2.0, 3.0, 4.0}, {1e-9, 1.0, 0.25, 0.25, 1e-3, 0.75, 0.3333}, {0.9, 0.1},
    };
    for (const std::vector<double> &weights : tables)
    {
        const AliasTable alias(weights);
        ASSERT_EQ(weights.size(), alias.Size());
        double sum = 0.0;
        for (double w : weights)
            sum += w;
        const std::vector<double> chances = alias.Chances();
        std::vector<double> expected;
        for (size_t i = 0; i < weights.size(); ++i)
        {
            EXPECT_NEAR(weights[i] / sum, chances[i], 1e-15) << i;
            expected.push_back(weights[i] / sum * 400000.0);
        }
        Random random(3);
        std::vector<uint64_t> counts(weights.size(), 0);
        for (int i = 0; i < 400000; ++i)
            counts[alias.Draw(random)] += 1;
        if (weights.size() > 1 && weights[0] != 1e-9)
        {
            const double dof = static_cast<double>(weights.size() - 1);
            EXPECT_LT(ChiSquare(counts, expected), dof + 6.0 * std::sqrt(2.0 * dof));
        }
        if (weights.size() == 1)
        {
            EXPECT_EQ(400000u, counts[0]);
        }
    }
}

struct DealtRow
{
    std::vector<const char *> Ranges;
    const char *Board;
    const char *Dead;
};

// Players whose range is every combo left (at one weight) draw their cards
// with the board's; with others drawn by weight and rejected on a shared
// card, with dead cards, and with one combo of `random` weighted apart
// (then drawn by weight like any range).
const DealtRow DealtRows[] = {
    {{"random", "random"}, "Kd7h2s5c", "Ac5d9h"},
    {{"random", "AA:0.5, KK, QhJh"}, "Td8c3s", ""},
    {{"random", "random", "AhKh"}, "2c7d9sQh", "2d3d4d5d6d8d"},
    {{"TT+:0.7, AK", "random", "99-77"}, "2c7dJs4h", "Ad"},
    {{"random, 72o:0.3", "random"}, "Kd7h2s3c", "AcAdAh9c9d"},
    {{"random", "random", "random"}, "Ks9d4c3h2s", "2c3c5c6c7c8c9cTc2d3d4d5d6d7d8dTd2h4h5h6h7h8hTh3s4s"},
};

EquityResult Solved(const DealtRow &row, EquityMethod method)
{
    EquityRequest request;
    for (const char *text : row.Ranges)
    {
        request.Players.emplace_back();
        EXPECT_TRUE(ParseRange(text, request.Players.back()).Ok) << text;
    }
    EXPECT_TRUE(ParseCards(row.Board, request.Board).Ok);
    EXPECT_TRUE(ParseCards(row.Dead, request.Dead).Ok);
    request.Method = method;
    request.Samples = 200000;
    request.Seed = 21;
    EquityResult result;
    const ostrel::Status status = AllInEquity(request, result);
    EXPECT_TRUE(status.Ok) << status.Message;
    return result;
}

TEST(Sampling, DealtPlayersLieWithinFourStandardErrorsOfExact)
{
    for (const DealtRow &row : DealtRows)
    {
        const EquityResult exact = Solved(row, EquityMethod::Exact);
        const EquityResult sampled = Solved(row, EquityMethod::Sampled);
        ASSERT_TRUE(exact.Exact);
        ASSERT_FALSE(sampled.Exact);
        for (size_t p = 0; p < exact.Players.size(); ++p)
        {
            const PlayerEquity &player = sampled.Players[p];
            EXPECT_GT(player.StandardError, 0.0);
            EXPECT_LE(std::fabs(player.Equity - exact.Players[p].Equity), 4.0 * player.StandardError)
                << row.Board << " player " << p;
            EXPECT_LE(std::fabs(player.Win - exact.Players[p].Win), 4.0 * player.StandardError + 1e-3)
                << row.Board << " player " << p;
        }
    }
}

} // namespace
