// A hero's bubble row in one pass of the quadrature method, against the same
// row field by field (by the quadrature method, and by the subset method on
// small fields), and the bubble grid built from such rows against the grid
// built from whole fields.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "decisions.h"
#include "quadrature_method.h"
#include "subset_method.h"

namespace
{

const ostrel::FieldEquity ByQuadrature = [](const ostrel::Field &field, double *equities) {
    return ostrel::QuadratureEquities(field, {}, equities, nullptr);
};

const ostrel::FieldEquity BySubsets = [](const ostrel::Field &field, double *equities) {
    return ostrel::SubsetEquities(field, equities, nullptr);
};

const ostrel::HeroHands ByRows = [](const ostrel::Field &field, size_t hero, double &now, double *won,
                                    double *lost) {
    return ostrel::QuadratureHeroHands(field, hero, {}, now, won, lost);
};

struct Row
{
    std::vector<int64_t> Stacks;
    std::vector<double> Prizes;
};

// The hero's $EV on `stacks`, or the prize of place `players` if he has none.
double HeroEquity(const ostrel::FieldEquity &equity, const std::vector<int64_t> &stacks,
                  const std::vector<double> &prizes, size_t hero, size_t players)
{
    if (stacks[hero] == 0)
        return players <= prizes.size() ? prizes[players - 1] : 0.0;
    std::vector<double> equities(stacks.size());
    EXPECT_TRUE(equity({stacks.data(), stacks.size(), prizes.data(), prizes.size()}, equities.data()).Ok);
    return equities[hero];
}

// now, won[j] and lost[j] against the fields after each hand, for every
// `stride`-th opponent.
void ExpectRowOfFields(const Row &row, size_t hero, const ostrel::FieldEquity &equity, size_t stride)
{
    const size_t seats = row.Stacks.size();
    const size_t players = seats - static_cast<size_t>(std::count(row.Stacks.begin(), row.Stacks.end(), 0));
    double now = -1.0;
    std::vector<double> won(seats, -1.0), lost(seats, -1.0);
    const ostrel::Field field = {row.Stacks.data(), seats, row.Prizes.data(), row.Prizes.size()};
    const ostrel::Status status = ostrel::QuadratureHeroHands(field, hero, {}, now, won.data(), lost.data());
    ASSERT_TRUE(status.Ok) << status.Message;
    const double expectedNow = HeroEquity(equity, row.Stacks, row.Prizes, hero, players);
    EXPECT_NEAR(now, expectedNow, 1e-10 * expectedNow);
    for (size_t j = hero % stride; j < seats; j += stride)
    {
        if (j == hero || row.Stacks[j] == 0)
            continue;
        const int64_t risked = std::min(row.Stacks[hero], row.Stacks[j]);
        for (int64_t sign : {1, -1})
        {
            std::vector<int64_t> after = row.Stacks;
            after[hero] += sign * risked;
            after[j] -= sign * risked;
            const double expected = HeroEquity(equity, after, row.Prizes, hero, players);
            EXPECT_NEAR(sign > 0 ? won[j] : lost[j], expected, 1e-10 * expected)
                << (sign > 0 ? "won" : "lost") << " against seat " << j << " (" << row.Stacks[j]
                << " chips, hero " << row.Stacks[hero] << ")";
        }
    }
}

// Stacks spread evenly on a log scale from 1 to `spread`; one seat empty.
Row RandomRow(std::mt19937_64 &random, size_t players, double spread, size_t places, bool jumpy)
{
    std::uniform_real_distribution<double> exponent(0.0, std::log(spread));
    Row row;
    for (size_t seat = 0; seat < players; ++seat)
        row.Stacks.push_back(std::llround(std::exp(exponent(random))));
    row.Stacks.insert(row.Stacks.begin() + 1, 0);
    for (size_t place = 0; place < places; ++place)
        row.Prizes.push_back(jumpy ? static_cast<double>(random() % 3)
                                   : 1000.0 / static_cast<double>(place + 1));
    return row;
}

TEST(HeroHands, RowsAgreeWithTheirFieldsOneByOne)
{
    struct Case
    {
        size_t Players;
        double Spread;
        size_t Places;
        bool Jumpy;
        size_t Stride; // opponents checked: every Stride-th
    };
    const Case cases[] = {
        {2, 1e3, 1, false, 1},      {3, 1, 3, false, 1},     {7, 1e9, 3, false, 1},  {13, 1e9, 13, true, 1},
        {20, 1e3, 25, false, 1},    {40, 1, 40, false, 3},   {60, 1e9, 5, false, 2}, {150, 1e6, 150, true, 9},
        {300, 1e4, 100, false, 25}, {300, 1, 30, false, 40},
    };
    std::mt19937_64 random(41);
    for (const Case &c : cases)
    {
        const Row row = RandomRow(random, c.Players, c.Spread, c.Places, c.Jumpy);
        for (size_t hero : {size_t{0}, static_cast<size_t>(2 + random() % (row.Stacks.size() - 2))})
        {
            SCOPED_TRACE(std::to_string(c.Players) + " players, spread " + std::to_string(c.Spread) +
                         ", hero " + std::to_string(hero));
            ExpectRowOfFields(row, hero, ByQuadrature, c.Stride);
        }
    }
}

TEST(HeroHands, RowsAgreeWithTheSubsetMethod)
{
    const Row rows[] = {
        {{1000000000, 999999999, 500000000, 3, 77777}, {50, 30, 20, 10, 5}}, // a hand leaves 1 chip
        {{5, 5, 5, 5, 5, 5}, {6, 3, 1}},                                     // equal stacks: someone busts
        {{4000, 0, 1000, 2500, 2500, 1, 9000}, {10, 8, 6, 4, 2, 1, 1, 1}},
        {{17, 17, 34, 8, 1}, {1, 1, 1, 1, 1}}, // every place pays the same
        {{123456789, 987654321, 555, 1, 1, 40000000, 7, 70}, {0, 5, 0, 2}},
    };
    for (const Row &row : rows)
        for (size_t hero = 0; hero < row.Stacks.size(); ++hero)
            if (row.Stacks[hero] != 0)
            {
                SCOPED_TRACE("hero " + std::to_string(hero) + " of " + std::to_string(row.Stacks.size()));
                ExpectRowOfFields(row, hero, BySubsets, 1);
            }
}

TEST(HeroHands, GridFromRowsIsTheGridFromFields)
{
    struct Case
    {
        Row Field;
        ostrel::FieldEquity Equity;
    };
    std::mt19937_64 random(8);
    const Case cases[] = {
        {{{5000, 3000, 0, 2000, 700}, {100}}, BySubsets},
        {{{2500, 2500, 2500, 2500, 2500, 2500}, {50, 30, 20}}, BySubsets},
        {{{10, 10, 10}, {7, 7, 7}}, BySubsets}, // nothing at stake: no factor defined
        {{{3, 1, 4, 1, 5, 9, 2, 6, 5}, {20, 12, 8, 5}}, BySubsets},
        {RandomRow(random, 30, 1e5, 12, false), ByQuadrature},
    };
    for (const Case &c : cases)
    {
        const ostrel::Field field = {c.Field.Stacks.data(), c.Field.Stacks.size(), c.Field.Prizes.data(),
                                     c.Field.Prizes.size()};
        ostrel::BubbleGrid byFields, byRows;
        ASSERT_TRUE(ostrel::ComputeBubbleGrid(field, nullptr, c.Equity, byFields).Ok);
        ASSERT_TRUE(ostrel::ComputeBubbleGrid(field, nullptr, c.Equity, byRows, &ByRows).Ok);
        ASSERT_EQ(byFields.Factor.size(), byRows.Factor.size());
        EXPECT_EQ(byFields.Rows, byRows.Rows);
        for (size_t cell = 0; cell < byFields.Factor.size(); ++cell)
        {
            const double expected = byFields.Factor[cell];
            EXPECT_EQ(std::isnan(expected), std::isnan(byRows.Factor[cell])) << "cell " << cell;
            if (!std::isnan(expected))
            {
                EXPECT_NEAR(byRows.Factor[cell], expected, 1e-10 * expected) << "cell " << cell;
                EXPECT_NEAR(byRows.Premium[cell], byFields.Premium[cell], 1e-10) << "cell " << cell;
            }
        }
    }
}

TEST(HeroHands, SameBitsOnAnyNumberOfThreadsAndRefusals)
{
    std::mt19937_64 random(12);
    const Row row = RandomRow(random, 200, 1e4, 40, false);
    const ostrel::Field field = {row.Stacks.data(), row.Stacks.size(), row.Prizes.data(), row.Prizes.size()};
    struct Result
    {
        double Now = 0.0;
        std::vector<double> Won, Lost;
        ostrel::Status Status;
    };
    const auto run = [&](unsigned threads, size_t hero, size_t memory) {
        ostrel::QuadratureOptions options;
        options.Threads = threads;
        options.MemoryLimit = memory;
        Result result;
        result.Won.assign(row.Stacks.size(), -1.0);
        result.Lost.assign(row.Stacks.size(), -1.0);
        result.Status = ostrel::QuadratureHeroHands(field, hero, options, result.Now, result.Won.data(),
                                                    result.Lost.data());
        return result;
    };
    const Result alone = run(1, 5, 1 << 24);
    ASSERT_TRUE(alone.Status.Ok);
    for (unsigned threads : {2u, 3u})
    {
        const Result shared = run(threads, 5, 1 << 24);
        EXPECT_EQ(shared.Now, alone.Now);
        EXPECT_EQ(shared.Won, alone.Won) << threads << " threads";
        EXPECT_EQ(shared.Lost, alone.Lost) << threads << " threads";
    }
    EXPECT_NE(run(1, 1, 1 << 24).Status.Message.find("seat 2 has no player"), std::string::npos);
    EXPECT_NE(run(1, 999, 1 << 24).Status.Message.find("seat 1000 has no player"), std::string::npos);
    EXPECT_NE(run(1, 5, 1000).Status.Message.find("over the limit of 1000"), std::string::npos);
}

} // namespace
