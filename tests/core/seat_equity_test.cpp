// Seat equity: the worked example to the bit, the model's invariants on random
// fields, and the contract of ComputeSeatEquity (range, empty seats, chips
// restored, totals beyond 32 bits).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

#include "equity_field.h"
#include "recording_seam.h"
#include "resource_ids.h"
#include "seat_equity.h"

namespace
{

// The model computed another way: over the set of players still in play,
// in long double, each place going to each remaining player by chip share.
long double EquityOverSets(const std::vector<int32_t> &chips, const std::vector<double> &payouts,
                           size_t hero, unsigned remaining, size_t place)
{
    if (place >= payouts.size())
        return 0;
    long double inPlay = 0;
    for (size_t seat = 0; seat < chips.size(); ++seat)
        if (remaining & (1u << seat))
            inPlay += chips[seat];
    long double equity = chips[hero] / inPlay * payouts[place];
    for (size_t seat = 0; seat < chips.size(); ++seat)
        if (seat != hero && (remaining & (1u << seat)))
            equity += chips[seat] / inPlay *
                      EquityOverSets(chips, payouts, hero, remaining & ~(1u << seat), place + 1);
    return equity;
}

double EquityByEnumeration(const std::vector<int32_t> &chips, const std::vector<double> &payouts,
                           size_t hero)
{
    if (chips[hero] == 0)
        return 0.0;
    unsigned remaining = 0;
    for (size_t seat = 0; seat < chips.size(); ++seat)
        if (chips[seat] > 0)
            remaining |= 1u << seat;
    return static_cast<double>(EquityOverSets(chips, payouts, hero, remaining, 0));
}

TEST(SeatEquity, WorkedExampleIsExactToTheBit)
{
    SetEquityField({5000, 3000, 2000}, {50, 30, 20});
    EXPECT_EQ(3, TournamentState.PaidPlaces);
    EXPECT_EQ(38.39285714285714, ComputeSeatEquity(0));
    EXPECT_EQ(32.75, ComputeSeatEquity(1));
    EXPECT_EQ(28.857142857142858, ComputeSeatEquity(2));
    for (uint32_t seat = 3; seat < 10; ++seat)
        EXPECT_EQ(0.0, ComputeSeatEquity(seat));
}

TEST(SeatEquity, DisplayRuleEmptiesShownFieldsFirstThenWritesInSeatOrder)
{
    SetEquityField({5000, 3000, 2000}, {50, 30, 20});
    WindowHandle window = reinterpret_cast<WindowHandle>(0x1234);
    ShowSeatEquities(window);
    ASSERT_EQ(20u, SeamCalls.size());
    for (int32_t seat = 0; seat < 10; ++seat)
    {
        EXPECT_EQ(IDC_RESULT_FIRST + seat, SeamCalls[static_cast<size_t>(seat)].ControlId);
        EXPECT_EQ("", SeamCalls[static_cast<size_t>(seat)].Text);
        EXPECT_EQ(IDC_RESULT_FIRST + seat, SeamCalls[static_cast<size_t>(10 + seat)].ControlId);
    }
    EXPECT_EQ("38.393", SeamCalls[10].Text);
    EXPECT_EQ("32.750", SeamCalls[11].Text);
    EXPECT_EQ("28.857", SeamCalls[12].Text);
    for (size_t call = 13; call < 20; ++call)
        EXPECT_EQ("", SeamCalls[call].Text);
    EXPECT_EQ(window, SeamCalls[19].Window);
}

TEST(SeatEquity, DisplayRuleWalksOnlyTheShownSeats)
{
    SetEquityField({5000, 3000, 2000}, {50, 30, 20}, 18);
    ShowSeatEquities(nullptr);
    EXPECT_EQ(36u, SeamCalls.size());
    EXPECT_EQ(IDC_RESULT_LAST, SeamCalls.back().ControlId);
}

struct SmallFieldRow
{
    std::vector<int32_t> Chips;
    std::vector<double> Payouts;
    std::vector<double> Expected;
};

TEST(SeatEquity, SmallFields)
{
    const SmallFieldRow rows[] = {
        // one seat with chips takes the first prize, the others nothing
        {{0, 0, 7000}, {250, 150, 100}, {0, 0, 250}},
        // equal stacks share the prizes equally
        {{3000, 3000}, {250, 150, 100}, {200, 200}},
        // one paid place: the chip share of the first prize
        {{1000, 3000}, {100}, {25, 75}},
        // an empty seat in the middle is as if it were not there
        {{5000, 0, 3000, 0, 2000}, {50, 30, 20}, {38.39285714285714, 0, 32.75, 0, 28.857142857142858}},
        // nothing paid: every seat 0
        {{5000, 3000}, {}, {0, 0}},
    };
    for (const SmallFieldRow &row : rows)
    {
        SetEquityField(row.Chips, row.Payouts);
        for (size_t seat = 0; seat < row.Expected.size(); ++seat)
            EXPECT_DOUBLE_EQ(row.Expected[seat], ComputeSeatEquity(static_cast<uint32_t>(seat)))
                << "seat " << seat;
    }
}

TEST(SeatEquity, IndexOutOfRangeYieldsZero)
{
    SetEquityField({5000, 3000, 2000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 900}, {50, 30, 20});
    EXPECT_EQ(0.0, ComputeSeatEquity(10));
    EXPECT_EQ(0.0, ComputeSeatEquity(17));
    EXPECT_EQ(0.0, ComputeSeatEquity(18));
    EXPECT_EQ(0.0, ComputeSeatEquity(UINT32_MAX));
    TournamentState.PlayerCount = 0;
    EXPECT_EQ(0.0, ComputeSeatEquity(0));
}

TEST(SeatEquity, ChipsAreTheSameAfterEveryCall)
{
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round)
    {
        std::vector<int32_t> chips(18);
        for (int32_t &c : chips)
            c = random() % 3 == 0 ? 0 : static_cast<int32_t>(random() % 100000);
        SetEquityField(chips, {40, 25, 15, 10}, 18);
        for (uint32_t seat = 0; seat < 18; ++seat)
        {
            ComputeSeatEquity(seat);
            ASSERT_TRUE(std::equal(chips.begin(), chips.end(), TournamentState.PlayerChips));
        }
    }
}

TEST(SeatEquity, AgreesWithEnumerationOfAllFinishingOrders)
{
    std::mt19937 random(11);
    for (int round = 0; round < 40; ++round)
    {
        const size_t seats = 2 + random() % 6;
        std::vector<int32_t> chips(seats);
        for (int32_t &c : chips)
            c = random() % 4 == 0 ? 0 : 1 + static_cast<int32_t>(random() % 50000);
        std::vector<double> payouts;
        const size_t paid = 1 + random() % 8;
        for (size_t place = 0; place < paid; ++place)
            payouts.push_back(static_cast<double>(1 + random() % 1000));
        std::sort(payouts.rbegin(), payouts.rend());
        SetEquityField(chips, payouts);
        for (size_t seat = 0; seat < seats; ++seat)
        {
            const double expected = EquityByEnumeration(chips, payouts, seat);
            EXPECT_NEAR(expected, ComputeSeatEquity(static_cast<uint32_t>(seat)), 1e-9 * expected)
                << "round " << round << " seat " << seat;
        }
    }
}

TEST(SeatEquity, RandomFieldsKeepTheModelsInvariants)
{
    std::mt19937 random(3);
    for (int round = 0; round < 60; ++round)
    {
        const int32_t seats = 2 + static_cast<int32_t>(random() % 9);
        std::vector<int32_t> chips(static_cast<size_t>(seats));
        int32_t inPlay = 0;
        for (int32_t &c : chips)
        {
            c = random() % 5 == 0 ? 0 : 1 + static_cast<int32_t>(random() % 20000);
            inPlay += c > 0;
        }
        std::vector<double> payouts(1 + random() % 12);
        for (double &p : payouts)
            p = static_cast<double>(1 + random() % 5000) / 4;
        SetEquityField(chips, payouts);
        double total = 0;
        for (int32_t seat = 0; seat < seats; ++seat)
            total += ComputeSeatEquity(static_cast<uint32_t>(seat));
        const size_t counted = std::min(payouts.size(), static_cast<size_t>(inPlay));
        const double prizes = std::accumulate(payouts.begin(), payouts.begin() + static_cast<long>(counted), 0.0);
        EXPECT_NEAR(prizes, total, 1e-9 * prizes) << "round " << round;

        // The order of the seats moves a seat's equity by a few last bits at most.
        std::vector<int32_t> shuffled = chips;
        std::vector<size_t> where(chips.size());
        std::iota(where.begin(), where.end(), 0);
        std::shuffle(where.begin(), where.end(), random);
        for (size_t i = 0; i < where.size(); ++i)
            shuffled[i] = chips[where[i]];
        std::vector<double> before(chips.size());
        for (size_t seat = 0; seat < chips.size(); ++seat)
            before[seat] = ComputeSeatEquity(static_cast<uint32_t>(seat));
        SetEquityField(shuffled, payouts);
        for (size_t i = 0; i < where.size(); ++i)
            EXPECT_NEAR(before[where[i]], ComputeSeatEquity(static_cast<uint32_t>(i)), 1e-12 * prizes);
    }
}

TEST(SeatEquity, EqualStacksGetEqualEquities)
{
    for (int32_t seats = 2; seats <= 9; ++seats)
    {
        SetEquityField(std::vector<int32_t>(static_cast<size_t>(seats), 1500), {50, 30, 20, 10, 5, 3, 2});
        const double first = ComputeSeatEquity(0);
        for (int32_t seat = 1; seat < seats; ++seat)
            EXPECT_NEAR(first, ComputeSeatEquity(static_cast<uint32_t>(seat)), 1e-13 * first);
    }
}

TEST(SeatEquity, TotalsBeyond32BitsStayRight)
{
    // 18 seats of two billion chips: the total needs 36 bits.
    SetEquityField(std::vector<int32_t>(18, 2000000000), {100, 60, 40}, 18);
    double total = 0;
    for (uint32_t seat = 0; seat < 18; ++seat)
    {
        const double equity = ComputeSeatEquity(seat);
        EXPECT_NEAR(200.0 / 18, equity, 1e-12);
        total += equity;
    }
    EXPECT_NEAR(200.0, total, 1e-11);

    // The same shares at one thousandth of the chips give the same results.
    SetEquityField({2000000000, 2147483647, 1000000000, 2147483647}, {70, 30});
    std::vector<double> large;
    for (uint32_t seat = 0; seat < 4; ++seat)
        large.push_back(ComputeSeatEquity(seat));
    EXPECT_NEAR(EquityByEnumeration({2000000000, 2147483647, 1000000000, 2147483647}, {70, 30}, 0),
                large[0], 1e-12);
    EXPECT_NEAR(100.0, large[0] + large[1] + large[2] + large[3], 1e-12);
}

TEST(PlainEquityCalls, CountsTheRecursionsCallsPerSeat)
{
    EXPECT_EQ(986410u, PlainEquityCalls(9, 10));
    EXPECT_EQ(290u, PlainEquityCalls(17, 3));
    EXPECT_EQ(804050u, PlainEquityCalls(17, 6));
    EXPECT_EQ(107732690u, PlainEquityCalls(17, 8));
    EXPECT_EQ(9909524690u, PlainEquityCalls(17, 10));
    EXPECT_EQ(1u, PlainEquityCalls(17, 0));
    EXPECT_EQ(1u, PlainEquityCalls(0, 30));
}

} // namespace
