// The equal-stacks factor with a paid bust against the same call between real
// stacks by the subset method: before the hand N equal stacks, after a won
// call one stack of two in a field of N - 1, after a lost one place N's prize.
#include <gtest/gtest.h>

#include <vector>

#include "equal_stacks_bust_paid.h"
#include "subset_method.h"

namespace
{

double SeatEquity(const std::vector<int64_t> &stacks, const std::vector<double> &prizes)
{
    std::vector<double> equities(stacks.size());
    const ostrel::Status status = ostrel::SubsetEquities(
        {stacks.data(), stacks.size(), prizes.data(), prizes.size()}, equities.data(), nullptr);
    EXPECT_TRUE(status.Ok) << status.Message;
    return equities[0];
}

TEST(EqualStacksBustPaid, IsTheFactorBetweenRealStacks)
{
    const struct
    {
        int64_t Players;
        std::vector<double> Prizes;
    } rows[] = {
        {2, {50, 30, 20}},
        {3, {50, 30, 20}},
        {4, {40, 30, 20, 10}},
        {9, {9, 8, 7, 6, 5, 4, 3, 2, 1}},
        {6, {10, 6, 4, 3, 2, 1, 0.5}},
        {5, {7, 0, 3, 2, 1}},
    };
    const int64_t chips = 1500;
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.Players);
        ostrel::EqualStacksBubble window = {};
        const size_t paid = row.Prizes.size();
        ASSERT_TRUE(ostrel::EqualStacksBubbleFactor(row.Players, chips, row.Prizes.data(), paid, window).Ok);
        const std::vector<int64_t> before(static_cast<size_t>(row.Players), chips);
        std::vector<int64_t> after(before.begin() + 1, before.end());
        after[0] = 2 * chips;
        const double now = SeatEquity(before, row.Prizes);
        const double won = SeatEquity(after, row.Prizes);
        const double lost = ostrel::BustPrize(row.Players, row.Prizes.data(), paid);
        EXPECT_EQ(row.Prizes[static_cast<size_t>(row.Players) - 1], lost);
        const double real = (now - lost) / (won - now);
        EXPECT_NEAR(real, ostrel::EqualStacksFactorBustPaid(window, row.Players, row.Prizes.data(), paid),
                    1e-12 * real);
    }
}

// Beyond the paid places a bust takes nothing, and the factor is the window's.
TEST(EqualStacksBustPaid, BeyondThePaidPlacesIsTheWindows)
{
    const double prizes[] = {50, 30, 20};
    for (int64_t players : {4, 10, 180})
    {
        ostrel::EqualStacksBubble window = {};
        ASSERT_TRUE(ostrel::EqualStacksBubbleFactor(players, 1500, prizes, 3, window).Ok);
        EXPECT_EQ(0.0, ostrel::BustPrize(players, prizes, 3));
        EXPECT_EQ(window.BubbleFactor, ostrel::EqualStacksFactorBustPaid(window, players, prizes, 3));
    }
    EXPECT_EQ(0.0, ostrel::BustPrize(2, nullptr, 0));
}

} // namespace
