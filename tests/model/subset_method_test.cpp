// The model library's subset method on its own: the finish table's sums, the
// symmetry of equal stacks, closed forms of small fields and its refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "small_fields.h"
#include "subset_method.h"

namespace
{

struct SubsetRun
{
    ostrel::Status Status;
    std::vector<double> Equity;
    ostrel::FinishTable Finish;
};

SubsetRun Subsets(const std::vector<int64_t> &stacks, const std::vector<double> &prizes, bool finish)
{
    SubsetRun run;
    run.Equity.assign(stacks.size(), -1.0);
    const ostrel::Field field = {stacks.data(), stacks.size(), prizes.data(), prizes.size()};
    run.Status = ostrel::SubsetEquities(field, run.Equity.data(), finish ? &run.Finish : nullptr);
    return run;
}

TEST(SubsetMethod, FinishTableRowsAndColumnsSumToOne)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int64_t> stack(1, 1000000000);
    for (size_t players : {1u, 2u, 5u, 12u})
    {
        std::vector<int64_t> stacks(players + 2, 0); // two empty seats among them
        for (size_t seat = 1; seat <= players; ++seat)
            stacks[seat] = stack(random);
        const SubsetRun run = Subsets(stacks, {3, 2, 1}, true);
        ASSERT_TRUE(run.Status.Ok);
        ASSERT_EQ(run.Finish.Places, players);
        std::vector<double> column(players, 0.0);
        for (size_t seat = 0; seat < stacks.size(); ++seat)
        {
            double row = 0.0;
            for (size_t place = 0; place < players; ++place)
            {
                row += run.Finish.Chance[seat * players + place];
                column[place] += run.Finish.Chance[seat * players + place];
            }
            EXPECT_NEAR(row, stacks[seat] == 0 ? 0.0 : 1.0, 1e-12) << players << " seat " << seat;
        }
        for (double sum : column)
            EXPECT_NEAR(sum, 1.0, 1e-12);
    }
}

TEST(SubsetMethod, EqualStacksShareTheTableAndThePool)
{
    const std::vector<int64_t> stacks(7, 2500);
    const SubsetRun run = Subsets(stacks, {50, 30, 20, 0, 0, 0, 0, 9}, true); // place 8 is beyond the field
    ASSERT_TRUE(run.Status.Ok);
    for (size_t seat = 0; seat < stacks.size(); ++seat)
    {
        EXPECT_NEAR(run.Equity[seat], 100.0 / 7.0, 1e-12);
        for (size_t place = 0; place < 7; ++place)
            EXPECT_NEAR(run.Finish.Chance[seat * 7 + place], 1.0 / 7.0, 1e-14);
    }
}

TEST(SubsetMethod, SmallFieldsMatchClosedForms)
{
    for (const SmallField &row : SmallFields())
    {
        const SubsetRun run = Subsets(row.Stacks, row.Prizes, false);
        ASSERT_TRUE(run.Status.Ok);
        for (size_t seat = 0; seat < row.Stacks.size(); ++seat)
            EXPECT_NEAR(run.Equity[seat], row.Equity[seat], 1e-13 * (1 + row.Equity[seat]));
    }
}

TEST(SubsetMethod, RefusesWhatItCannotTake)
{
    struct Row
    {
        std::vector<int64_t> Stacks;
        std::vector<double> Prizes;
        const char *Says;
    };
    const Row rows[] = {
        {std::vector<int64_t>(25, 1), {1}, "at most 24 players"},
        {{1, -1}, {1}, "seat 2"},
        {{1, 1000000000000000000}, {1}, "more than 10^18 chips"},
        {{500000000000000000, 500000000000000000}, {1e308, 1e308}, "prizes add up"},
        {{1, 1}, {1, NAN}, "place 2"},
        {{1, 1}, {-0.5}, "place 1"},
    };
    for (const Row &row : rows)
    {
        const SubsetRun run = Subsets(row.Stacks, row.Prizes, false);
        EXPECT_FALSE(run.Status.Ok);
        EXPECT_NE(run.Status.Message.find(row.Says), std::string::npos) << run.Status.Message;
    }
    EXPECT_TRUE(Subsets(std::vector<int64_t>(24, 1), {1}, false).Status.Ok);
    // The total is the limit, not one stack: the winner of a hand may hold more than a seat may be given.
    EXPECT_TRUE(Subsets({999999999999999999, 1}, {1}, false).Status.Ok);
}

} // namespace
