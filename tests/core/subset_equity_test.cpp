// The subset method against the plain recursion, the model's invariants on
// full 18-seat tables with 30 paid places, and the budget that chooses between
// the two: exact to the bit below it, the subset method above it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "equity_field.h"
#include "recording_seam.h"
#include "resource_ids.h"
#include "seat_equity.h"
#include "subset_equity.h"

namespace
{

// A few units in the last place; the subset method is measured at 2 at most.
const double Agreement = 1e-14;

// `inPlay` of the `shown` seats, chosen at random, hold 1..maxChips chips.
std::vector<int32_t> RandomChips(std::mt19937 &random, int32_t shown, int32_t inPlay,
                                 int32_t maxChips)
{
    std::vector<int32_t> chips(static_cast<size_t>(shown), 0);
    std::uniform_int_distribution<int32_t> stack(1, maxChips);
    for (int32_t seat = 0; seat < inPlay; ++seat)
        chips[static_cast<size_t>(seat)] = stack(random);
    std::shuffle(chips.begin(), chips.end(), random);
    return chips;
}

// Falling prizes with cents, all different, so a bigger stack earns more.
std::vector<double> RandomPrizes(std::mt19937 &random, int32_t paid)
{
    std::vector<double> prizes;
    std::uniform_int_distribution<int32_t> cents(1, 2000000);
    while (prizes.size() < static_cast<size_t>(paid))
    {
        const double prize = cents(random) / 100.0;
        if (std::find(prizes.begin(), prizes.end(), prize) == prizes.end())
            prizes.push_back(prize);
    }
    std::sort(prizes.rbegin(), prizes.rend());
    return prizes;
}

int32_t LayoutFor(int32_t inPlay)
{
    return inPlay <= 10 ? 10 : 18;
}

std::vector<double> EquitiesBySubsets()
{
    double equities[SeatCount];
    ComputeEquitiesBySubsets(equities);
    return std::vector<double>(equities, equities + SeatCount);
}

double SumOfFirstPrizes(const std::vector<double> &prizes, int32_t count)
{
    const size_t counted = std::min(prizes.size(), static_cast<size_t>(count));
    return std::accumulate(prizes.begin(), prizes.begin() + static_cast<long>(counted), 0.0);
}

struct AgreementRow
{
    int32_t Shown;
    int32_t InPlay;
    int32_t Paid;
    int32_t MaxChips;
};

TEST(SubsetEquity, AgreesWithThePlainRecursionOnRandomFields)
{
    const AgreementRow rows[] = {
        {10, 10, 10, 50000},      // the full 10-seat table, every place below paid
        {10, 10, 30, INT32_MAX},  // the same with totals far beyond 32 bits
        {18, 11, 8, 100000},      // empty seats between the players
        {18, 12, 7, INT32_MAX},
        {18, 18, 5, 1000},        // the full table, few places
        {18, 18, 1, INT32_MAX},   // one place: the chip share of the first prize
        {10, 9, 9, 3},            // tiny stacks, many of them equal
    };
    std::mt19937 random(2024);
    for (const AgreementRow &row : rows)
        for (int round = 0; round < 2; ++round)
        {
            SetEquityField(RandomChips(random, row.Shown, row.InPlay, row.MaxChips),
                           RandomPrizes(random, row.Paid), row.Shown);
            const std::vector<double> fast = EquitiesBySubsets();
            for (int32_t seat = 0; seat < SeatCount; ++seat)
            {
                const double plain = PlainSeatEquity(static_cast<uint32_t>(seat));
                const double bySubsets = fast[static_cast<size_t>(seat)];
                if (plain == 0.0)
                {
                    EXPECT_EQ(0.0, bySubsets) << "seat " << seat;
                }
                else
                {
                    EXPECT_NEAR(plain, bySubsets, Agreement * plain)
                        << row.InPlay << " in play, " << row.Paid << " paid, seat " << seat;
                }
            }
        }
}

struct InvariantRow
{
    int32_t InPlay;
    int32_t MaxChips;
    int32_t ChipStep; // stacks are multiples of it, so that some are equal
};

TEST(SubsetEquity, FullTablesWithThirtyPaidPlacesKeepTheModelsInvariants)
{
    const InvariantRow rows[] = {
        {18, 6000, 1000},
        {18, 2000000000, 250000000}, // totals up to 3.6e10
        {18, 100000, 1},
        {15, 9000, 1500}, // three empty seats
    };
    std::mt19937 random(99);
    for (const InvariantRow &row : rows)
        for (int round = 0; round < 3; ++round)
        {
            std::vector<int32_t> chips =
                RandomChips(random, SeatCount, row.InPlay, row.MaxChips / row.ChipStep);
            for (int32_t &c : chips)
                c *= row.ChipStep;
            const std::vector<double> prizes = RandomPrizes(random, PlaceCount);
            SetEquityField(chips, prizes, SeatCount);
            const std::vector<double> equities = EquitiesBySubsets();
            const double total = std::accumulate(equities.begin(), equities.end(), 0.0);
            const double prizesWon = SumOfFirstPrizes(prizes, row.InPlay);
            EXPECT_NEAR(prizesWon, total, Agreement * prizesWon);
            for (size_t i = 0; i < chips.size(); ++i)
                for (size_t j = 0; j < chips.size(); ++j)
                {
                    if (chips[i] == chips[j])
                    {
                        EXPECT_NEAR(equities[i], equities[j], Agreement * equities[i]) << i << ", " << j;
                    }
                    else if (chips[i] > chips[j])
                    {
                        EXPECT_GT(equities[i], equities[j]) << i << ", " << j;
                    }
                }
        }
}

struct EqualStacksRow
{
    int32_t Chips;
    int32_t InPlay;
};

TEST(SubsetEquity, EqualStacksShareThePrizesEvenly)
{
    // 18 stacks of 2^31 - 1 chips make a total of 36 bits.
    const EqualStacksRow rows[] = {{INT32_MAX, 18}, {1, 18}, {1500, 16}, {7, 2}};
    for (const EqualStacksRow &row : rows)
    {
        const std::vector<double> prizes = {5000, 3000, 2000, 1500, 1200, 1000, 900, 800, 700, 600,
                                            500,  450,  400,  350,  300,  250,  200, 150, 125, 100,
                                            90,   80,   70,   60,   50,   40,   30,  20,  15,  10};
        SetEquityField(std::vector<int32_t>(static_cast<size_t>(row.InPlay), row.Chips), prizes,
                       SeatCount);
        const double share = SumOfFirstPrizes(prizes, row.InPlay) / row.InPlay;
        const std::vector<double> equities = EquitiesBySubsets();
        for (int32_t seat = 0; seat < SeatCount; ++seat)
            EXPECT_NEAR(seat < row.InPlay ? share : 0.0, equities[static_cast<size_t>(seat)],
                        Agreement * share)
                << row.Chips << " chips, seat " << seat;
    }
}

TEST(SubsetEquity, WritesEveryShownSeatAndZeroBeyondThem)
{
    SetEquityField({0, 3000, 0, 2000, 5000}, {50, 30, 20}, 10);
    double equities[SeatCount];
    std::fill(equities, equities + SeatCount, -1.0);
    ComputeEquitiesBySubsets(equities);
    const double expected[SeatCount] = {0, 32.75, 0, 28.857142857142858, 38.39285714285714};
    for (int32_t seat = 0; seat < SeatCount; ++seat)
        EXPECT_NEAR(expected[seat], equities[seat], 1e-13) << "seat " << seat;
}

struct CostRow
{
    std::vector<int32_t> Chips;
    int32_t PlayerCount;
    int32_t Paid;
    uint64_t Calls;
};

TEST(PlainCalculateCalls, CountsEveryShownSeatInPlay)
{
    const std::vector<int32_t> ten(10, 1000);
    const std::vector<int32_t> thirteen = {1, 2, 3, 0, 4, 5, 6, 7, 8, 9, 10, 0, 11, 12, 13};
    const std::vector<int32_t> eighteen(18, 1000);
    const CostRow rows[] = {
        {ten, 10, 10, 9864100},
        {thirteen, 18, 7, 10057645},
        {eighteen, 18, 3, 5220},
        {eighteen, 18, 30, 17403456103284420u},
        {eighteen, 10, 10, 9864100}, // seats 11-18 are not shown, so not counted
        {{}, 10, 3, 0},
    };
    for (const CostRow &row : rows)
    {
        SetEquityField(row.Chips, std::vector<double>(static_cast<size_t>(row.Paid), 10.0),
                       row.PlayerCount);
        EXPECT_EQ(row.Calls, PlainCalculateCalls()) << row.Chips.size() << " seats, " << row.Paid;
    }
}

struct BudgetRow
{
    int32_t InPlay;
    int32_t Paid;
    bool BySubsets;
};

// The methods differ in the last bits of some seat of every field below, so
// equality to the bit shows which one produced a result.
TEST(Calculate, UsesThePlainRecursionToTheBitUpToTheBudgetAndSubsetsAboveIt)
{
    const BudgetRow rows[] = {
        {10, 10, false}, // 9,864,100 calls
        {11, 8, false},  // 8,713,111
        {17, 6, false},  // 9,714,769
        {13, 7, true},   // 10,057,645
        {11, 9, true},   // 28,671,511
    };
    std::mt19937 random(5);
    for (const BudgetRow &row : rows)
    {
        const int32_t shown = LayoutFor(row.InPlay);
        SetEquityField(RandomChips(random, shown, row.InPlay, 80000),
                       RandomPrizes(random, row.Paid), shown);
        ASSERT_EQ(row.BySubsets, PlainCalculateCalls() > PlainCallBudget) << row.InPlay;
        const std::vector<double> fast = EquitiesBySubsets();
        std::vector<double> plain;
        for (int32_t seat = 0; seat < shown; ++seat)
            plain.push_back(PlainSeatEquity(static_cast<uint32_t>(seat)));
        EXPECT_FALSE(std::equal(plain.begin(), plain.end(), fast.begin())) << row.InPlay;
        const std::vector<double> &expected = row.BySubsets ? fast : plain;

        ShowSeatEquities(nullptr);
        ASSERT_EQ(static_cast<size_t>(2 * shown), SeamCalls.size());
        for (int32_t seat = 0; seat < shown; ++seat)
        {
            const size_t index = static_cast<size_t>(seat);
            EXPECT_EQ(expected[index], ComputeSeatEquity(static_cast<uint32_t>(seat)))
                << row.InPlay << " in play, " << row.Paid << " paid, seat " << seat;
            char text[32] = "";
            if (expected[index] > 0.0)
                std::snprintf(text, sizeof text, "%0.3f", expected[index]);
            EXPECT_EQ(IDC_RESULT_FIRST + seat, SeamCalls[index].ControlId);
            EXPECT_EQ("", SeamCalls[index].Text);
            EXPECT_EQ(IDC_RESULT_FIRST + seat, SeamCalls[index + static_cast<size_t>(shown)].ControlId);
            EXPECT_EQ(text, SeamCalls[index + static_cast<size_t>(shown)].Text);
        }
    }
}

TEST(Calculate, FullTableKeepsTheSeatContract)
{
    std::mt19937 random(17);
    const std::vector<int32_t> chips = RandomChips(random, SeatCount, 15, INT32_MAX);
    SetEquityField(chips, RandomPrizes(random, PlaceCount), SeatCount);
    const std::vector<double> expected = EquitiesBySubsets();
    for (uint32_t seat = 0; seat < SeatCount; ++seat)
    {
        EXPECT_EQ(expected[seat], ComputeSeatEquity(seat)) << "seat " << seat;
        EXPECT_EQ(chips[seat] == 0, expected[seat] == 0.0) << "seat " << seat;
        ASSERT_TRUE(std::equal(chips.begin(), chips.end(), TournamentState.PlayerChips));
    }
    for (uint32_t seat : {18u, 30u, UINT32_MAX})
        EXPECT_EQ(0.0, ComputeSeatEquity(seat)) << "seat " << seat;
}

} // namespace
