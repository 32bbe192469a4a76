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

    ostrel::Field View() const
    {
        return {Stacks.data(), Stacks.size(), Prizes.data(), Prizes.size()};
    }
};

// The hero's $EV on `row`, or the prize of place `players` if he has no chips.
double HeroEquity(const ostrel::FieldEquity &equity, const Row &row, size_t hero, size_t players)
{
    if (row.Stacks[hero] == 0)
        return players <= row.Prizes.size() ? row.Prizes[players - 1] : 0.0;
    std::vector<double> equities(row.Stacks.size());
    EXPECT_TRUE(equity(row.View(), equities.data()).Ok);
    return equities[hero];
}

// now, won[j] and lost[j] against the fields after each hand, every `stride`-th opponent.
void ExpectRowOfFields(const Row &row, size_t hero, const ostrel::FieldEquity &equity, size_t stride)
{
    const size_t seats = row.Stacks.size();
    const size_t players = seats - static_cast<size_t>(std::count(row.Stacks.begin(), row.Stacks.end(), 0));
    double now = -1.0;
    std::vector<double> won(seats, -1.0), lost(seats, -1.0);
    const ostrel::Status status =
        ostrel::QuadratureHeroHands(row.View(), hero, {}, now, won.data(), lost.data());
    ASSERT_TRUE(status.Ok) << status.Message;
    const double expectedNow = HeroEquity(equity, row, hero, players);
    EXPECT_NEAR(now, expectedNow, 1e-10 * expectedNow) << "hero " << hero;
    for (size_t j = hero % stride; j < seats; j += stride)
        if (j != hero && row.Stacks[j] != 0)
            for (int64_t sign : {1, -1})
            {
                Row after = row;
                const int64_t risked = std::min(row.Stacks[hero], row.Stacks[j]);
                after.Stacks[hero] += sign * risked;
                after.Stacks[j] -= sign * risked;
                const double expected = HeroEquity(equity, after, hero, players);
                EXPECT_NEAR(sign > 0 ? won[j] : lost[j], expected, 1e-10 * expected)
                    << (sign > 0 ? "won" : "lost") << ", hero " << hero << " (" << row.Stacks[hero]
                    << ") against " << j << " (" << row.Stacks[j] << ")";
            }
}

// Stacks spread evenly on a log scale from 1 to `spread`, seat 1 empty; a
// falling ladder, or one of random prizes 0 to 2.
Row RandomRow(std::mt19937_64 &random, size_t players, double spread, size_t places, bool jumpy)
{
    std::uniform_real_distribution<double> exponent(0.0, std::log(spread));
    Row row;
    for (size_t seat = 0; seat < players; ++seat)
        row.Stacks.push_back(seat == 1 ? 0 : std::llround(std::exp(exponent(random))));
    for (size_t place = 0; place < places; ++place)
        row.Prizes.push_back(jumpy ? static_cast<double>(random() % 3)
                                   : 1000.0 / static_cast<double>(place + 1));
    return row;
}

TEST(HeroHands, RowsAgreeWithTheirFieldsOneByOne)
{
    const struct
    {
        size_t Players;
        double Spread;
        size_t Places;
        bool Jumpy;
        size_t Stride; // opponents checked: every Stride-th
    } cases[] = {{3, 1e3, 1, false, 1},  {4, 1, 4, false, 1},      {8, 1e9, 3, false, 1},
                 {14, 1e9, 14, true, 1}, {21, 1e3, 26, false, 1},  {41, 1, 41, false, 3},
                 {61, 1e9, 5, false, 2}, {151, 1e6, 151, true, 9}, {301, 1e4, 100, false, 25},
                 {301, 1, 30, false, 40}};
    std::mt19937_64 random(41);
    for (const auto &c : cases)
    {
        const Row row = RandomRow(random, c.Players, c.Spread, c.Places, c.Jumpy);
        SCOPED_TRACE(std::to_string(c.Players) + " seats, spread " + std::to_string(c.Spread));
        ExpectRowOfFields(row, 0, ByQuadrature, c.Stride);
        ExpectRowOfFields(row, 2 + random() % (c.Players - 2), ByQuadrature, c.Stride);
    }
    const Row small[] = {
        {{1000000000, 999999999, 500000000, 3, 77777}, {50, 30, 20, 10, 5}}, // a hand leaves 1 chip
        {{5, 5, 5, 5, 5, 5}, {6, 3, 1}},                                     // equal stacks
        {{4000, 0, 1000, 2500, 2500, 1, 9000}, {10, 8, 6, 4, 2, 1, 1, 1}},   // place n paid
        {{17, 17, 34, 8, 1}, {1, 1, 1, 1, 1}},                               // every place the same
        {{123456789, 987654321, 555, 1, 1, 40000000, 7, 70}, {0, 5, 0, 2}}};
    for (const Row &row : small)
        for (size_t hero = 0; hero < row.Stacks.size(); ++hero)
            if (row.Stacks[hero] != 0)
                ExpectRowOfFields(row, hero, BySubsets, 1);
}

TEST(HeroHands, GridFromRowsIsTheGridFromFields)
{
    std::mt19937_64 random(8);
    const struct
    {
        Row Field;
        ostrel::FieldEquity Equity;
    } cases[] = {{{{5000, 3000, 0, 2000, 700}, {100}}, BySubsets},
                 {{{2500, 2500, 2500, 2500, 2500, 2500}, {50, 30, 20}}, BySubsets},
                 {{{10, 10, 10}, {7, 7, 7}}, BySubsets}, // nothing at stake: no factor defined
                 {{{3, 1, 4, 1, 5, 9, 2, 6, 5}, {20, 12, 8, 5}}, BySubsets},
                 {RandomRow(random, 30, 1e5, 12, false), ByQuadrature}};
    for (const auto &c : cases)
    {
        ostrel::BubbleGrid byFields, byRows;
        ASSERT_TRUE(ostrel::ComputeBubbleGrid(c.Field.View(), nullptr, c.Equity, byFields).Ok);
        ASSERT_TRUE(ostrel::ComputeBubbleGrid(c.Field.View(), nullptr, c.Equity, byRows, &ByRows).Ok);
        ASSERT_EQ(byFields.Factor.size(), byRows.Factor.size());
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
    std::vector<double> results[3];
    const auto run = [&](unsigned threads, size_t hero, size_t memory, std::vector<double> &result) {
        ostrel::QuadratureOptions options;
        options.Threads = threads;
        options.MemoryLimit = memory;
        result.assign(2 * row.Stacks.size() + 1, -1.0); // won, lost, now
        return ostrel::QuadratureHeroHands(row.View(), hero, options, result.back(), result.data(),
                                           result.data() + row.Stacks.size());
    };
    for (unsigned threads : {1u, 2u, 3u})
    {
        ASSERT_TRUE(run(threads, 5, 1 << 24, results[threads - 1]).Ok);
        EXPECT_EQ(results[threads - 1], results[0]) << threads << " threads";
    }
    EXPECT_NE(run(1, 1, 1 << 24, results[1]).Message.find("seat 2 has no player"), std::string::npos);
    EXPECT_NE(run(1, 999, 1 << 24, results[1]).Message.find("seat 1000 has no player"), std::string::npos);
    EXPECT_NE(run(1, 5, 1000, results[1]).Message.find("over the limit of 1000"), std::string::npos);
}

} // namespace
