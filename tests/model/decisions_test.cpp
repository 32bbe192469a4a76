// Deals and bubble factors against what the model must give: factors of 1
// where nothing is at stake, the equal-stacks chain on equal fields, deals
// that pay out exactly what is dealt; and the chain against its recursion.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "decisions.h"
#include "equal_stacks.h"
#include "exact_money.h"
#include "subset_method.h"

namespace
{

const ostrel::FieldEquity BySubsets = [](const ostrel::Field &field, double *equities) {
    return ostrel::SubsetEquities(field, equities, nullptr);
};

ostrel::BubbleGrid Grid(const std::vector<int64_t> &stacks, const std::vector<double> &prizes)
{
    ostrel::BubbleGrid grid;
    const ostrel::Field field = {stacks.data(), stacks.size(), prizes.data(), prizes.size()};
    EXPECT_TRUE(ostrel::ComputeBubbleGrid(field, nullptr, BySubsets, grid).Ok);
    return grid;
}

TEST(BubbleGrid, FactorsWhereTheAnswerIsKnown)
{
    struct Row
    {
        const char *Name;
        std::vector<int64_t> Stacks;
        std::vector<double> Prizes;
        double Factor; // every defined factor; 0 for the equal-stacks tool's
    };
    const Row rows[] = {
        {"winner takes all", {5000, 3000, 0, 2000, 700}, {100}, 1.0},
        {"two players", {1234, 9876}, {60, 40}, 1.0},
        {"six equal stacks, three paid", std::vector<int64_t>(6, 2500), {50, 30, 20}, 0.0},
        {"nine equal stacks, eight paid", std::vector<int64_t>(9, 10), {9, 8, 7, 6, 5, 4, 3, 2}, 0.0},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        double expected = row.Factor;
        if (expected == 0.0)
        {
            ostrel::EqualStacksBubble tool = {};
            ASSERT_TRUE(ostrel::EqualStacksBubbleFactor(static_cast<int64_t>(row.Stacks.size()), row.Stacks[0],
                                                        row.Prizes.data(), row.Prizes.size(), tool)
                            .Ok);
            expected = tool.BubbleFactor;
        }
        const ostrel::BubbleGrid grid = Grid(row.Stacks, row.Prizes);
        const size_t n = grid.Seats.size();
        for (size_t r = 0; r < n; ++r)
            for (size_t c = 0; c < n; ++c)
            {
                const double factor = grid.Factor[r * n + c];
                EXPECT_EQ(r == c, std::isnan(factor)) << r << "," << c;
                if (r != c)
                {
                    EXPECT_NEAR(expected, factor, 1e-12 * expected) << r << "," << c;
                    EXPECT_NEAR(factor / (factor + 1) - 0.5, grid.Premium[r * n + c], 1e-15);
                }
            }
    }
}

TEST(BubbleGrid, OneRowIsThatRowOfTheGrid)
{
    const std::vector<int64_t> stacks = {5000, 3000, 2000, 1000};
    const std::vector<double> prizes = {50, 30, 20};
    const ostrel::BubbleGrid whole = Grid(stacks, prizes);
    ostrel::BubbleGrid row;
    const size_t seat = 2;
    ASSERT_TRUE(ostrel::ComputeBubbleGrid({stacks.data(), 4, prizes.data(), 3}, &seat, BySubsets, row).Ok);
    ASSERT_EQ(4u, row.Factor.size());
    for (size_t c = 0; c < 4; ++c)
        EXPECT_EQ(std::isnan(whole.Factor[8 + c]) ? -1.0 : whole.Factor[8 + c],
                  std::isnan(row.Factor[c]) ? -1.0 : row.Factor[c]);
    EXPECT_GT(whole.Factor[3 * 4 + 0], 1.0) << "the short stack risks more than he gains on the bubble";
}

ostrel::Deal DealOf(const std::vector<int64_t> &stacks, const std::vector<double> &prizes, ostrel::DealTerms terms)
{
    ostrel::Deal deal;
    const ostrel::Status status =
        ostrel::ComputeDeal({stacks.data(), stacks.size(), prizes.data(), prizes.size()}, terms, BySubsets, deal);
    EXPECT_TRUE(status.Ok) << status.Message;
    return deal;
}

double Paid(const ostrel::Deal &deal)
{
    double sum = 0.0;
    for (const ostrel::DealSeat &seat : deal.Seats)
        sum += seat.Payment;
    return sum;
}

TEST(Deal, SplitsAndTheirInvariants)
{
    const std::vector<int64_t> stacks = {5000, 3000, 0, 2000};
    const std::vector<double> prizes = {50, 30, 20, 10};
    const ostrel::Deal icm = DealOf(stacks, prizes, {});
    for (const ostrel::DealSeat &seat : icm.Seats)
    {
        EXPECT_EQ(seat.Equity, seat.Payment);
        EXPECT_EQ(0.0, seat.Difference);
    }
    EXPECT_EQ(100.0, icm.PrizePool) << "place 4 is beyond the three players";

    ostrel::DealTerms keep0;
    keep0.Split = ostrel::DealSplit::Chip;
    const ostrel::Deal chip = DealOf(stacks, prizes, keep0);
    const double chipPayments[] = {20 + 40 * 0.5, 20 + 40 * 0.3, 0, 20 + 40 * 0.2};
    for (size_t seat = 0; seat < 4; ++seat)
        EXPECT_NEAR(chipPayments[seat], chip.Seats[seat].Payment, 1e-12);

    const std::vector<int64_t> equal(5, 700);
    ostrel::DealTerms even;
    even.Split = ostrel::DealSplit::Even;
    const ostrel::Deal byChips = DealOf(equal, prizes, keep0);
    const ostrel::Deal evenly = DealOf(equal, prizes, even);
    for (size_t seat = 0; seat < 5; ++seat)
        EXPECT_NEAR(evenly.Seats[seat].Payment, byChips.Seats[seat].Payment, 1e-12);

    // A big stack is held at the first prize; the rest is shared by chips.
    ostrel::DealTerms kept = keep0;
    kept.Keep = 10;
    const ostrel::Deal capped = DealOf({8000, 1000, 1000}, {50, 30, 20}, kept);
    EXPECT_EQ(40.0, capped.Seats[0].Payment);
    EXPECT_NEAR(25.0, capped.Seats[1].Payment, 1e-12);
    EXPECT_NEAR(48.0, capped.Seats[0].DealValue, 1e-12);
    EXPECT_NEAR(90.0, Paid(capped), 1e-12);
}

TEST(Deal, RoundedPaymentsAddUpToTheMoneyDealt)
{
    std::mt19937 random(5);
    for (int round = 0; round < 40; ++round)
    {
        std::vector<int64_t> stacks(2 + random() % 7);
        for (int64_t &stack : stacks)
            stack = 1 + static_cast<int64_t>(random() % 100000);
        const std::vector<double> prizes = {500, 300.25, 120.5, 79.25};
        ostrel::DealTerms terms;
        terms.Split = static_cast<ostrel::DealSplit>(round % 3);
        terms.Round = {25, 2}; // 0.25
        const ostrel::Deal deal = DealOf(stacks, prizes, terms);
        double units = 0.0;
        for (const ostrel::DealSeat &seat : deal.Seats)
        {
            const double count = seat.Payment * 4.0;
            EXPECT_EQ(std::floor(count), count) << seat.Payment;
            units += count;
        }
        EXPECT_EQ(deal.Dealt * 4.0, units);
    }
    ostrel::Deal deal;
    ostrel::DealTerms odd;
    odd.Round = {3, 2};
    EXPECT_FALSE(ostrel::ComputeDeal({std::vector<int64_t>{1, 2}.data(), 2, std::vector<double>{1}.data(), 1}, odd,
                                     BySubsets, deal)
                     .Ok);
}

// Rounded deals decide in exact decimals on the amounts as typed: the money
// dealt must be a whole number of units, the payments add up to it exactly,
// and remainders that tie exactly go to the larger stack, then the lower seat.
TEST(Deal, RoundsInExactDecimals)
{
    struct Row
    {
        const char *Name;
        std::vector<int64_t> Stacks;
        std::vector<double> Prizes;
        ostrel::DealSplit Split;
        ostrel::MoneyUnit Unit;
        std::vector<double> Payments; // by seat; empty where the deal is refused
        const char *Says;
    };
    const auto icm = ostrel::DealSplit::Icm;
    const auto chip = ostrel::DealSplit::Chip;
    const auto even = ostrel::DealSplit::Even;
    const Row rows[] = {
        {"half a unit over", {5000, 3000}, {2000000.5}, icm, {1, 0}, {},
         "the money dealt, 2000000.5, is not a multiple of the rounding unit 1"},
        {"cents of a million", {5000, 3000, 2000}, {617283.95, 370370.37, 246913.57}, icm, {1, 0}, {},
         "the money dealt, 1234567.89, is not a multiple of the rounding unit 1"},
        {"both amounts named", {1, 2}, {80}, even, {3, 0}, {}, "the money dealt, 80, is not a multiple of the rounding unit 3"},
        // 256.085 and 768.255 exactly: a tie, to the larger stack.
        {"chip tie", {10000, 30000}, {1024.34}, chip, {1, 2}, {256.08, 768.26}, ""},
        // The icm shares are the same up to the method's rounding: tied within 1e-9 of a unit.
        {"icm tie", {10000, 30000}, {1024.34}, icm, {1, 2}, {256.08, 768.26}, ""},
        {"even to the larger stack", {100, 300, 200}, {10}, even, {1, 0}, {3, 4, 3}, ""},
        {"even to the lower seat", {5, 5, 5}, {10}, even, {1, 0}, {4, 3, 3}, ""},
        // 0.15 each, a tie: the larger stack takes the odd unit.
        {"0.1 + 0.2 is 0.3", {1, 2}, {0.1, 0.2}, even, {1, 1}, {0.1, 0.2}, ""},
        // 2^53 / 3 = 3002399751580330.67 and twice it 6004799503160661.33.
        {"2^53 units", {1, 2}, {9007199254740992.0}, chip, {1, 0}, {3002399751580331.0, 6004799503160661.0}, ""},
        {"past 2^53 units", {1, 2}, {9007199254740994.0}, chip, {1, 0}, {}, "more than 2^53 rounding units of 1"},
        {"no ladder", {1, 2}, {}, even, {1, 0}, {0, 0}, ""},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        ostrel::DealTerms terms;
        terms.Split = row.Split;
        terms.Round = row.Unit;
        ostrel::Deal deal;
        const ostrel::Field field = {row.Stacks.data(), row.Stacks.size(), row.Prizes.data(), row.Prizes.size()};
        const ostrel::Status status = ostrel::ComputeDeal(field, terms, BySubsets, deal);
        ASSERT_EQ(row.Payments.empty(), !status.Ok) << status.Message;
        if (!status.Ok)
        {
            EXPECT_NE(std::string::npos, status.Message.find(row.Says)) << status.Message;
            continue;
        }
        for (size_t seat = 0; seat < row.Payments.size(); ++seat)
            EXPECT_EQ(row.Payments[seat], deal.Seats[seat].Payment) << "seat " << seat + 1;
    }
}

// Amounts as the shortest decimal of their double, and exact quotients.
TEST(ExactMoney, DecimalsAndQuotients)
{
    const struct
    {
        double Amount;
        const char *Text;
    } decimals[] = {{0.0, "0"},           {80.0, "80"},       {2000000.5, "2000000.5"}, {617283.95, "617283.95"},
                    {0.1, "0.1"},         {1e22, "10000000000000000000000"}, {1.5e-7, "0.00000015"},
                    {9007199254740993.0, "9007199254740992"}};
    for (const auto &row : decimals)
    {
        const ostrel::DecimalAmount amount = ostrel::DecimalOf(row.Amount);
        EXPECT_EQ(row.Text, ostrel::DecimalText(amount.Digits, amount.Decimals));
        EXPECT_EQ(row.Amount, ostrel::NearestDouble(amount.Digits, amount.Decimals));
    }
    // 123456789012345678901234567890 = 987654321 * 10^12 * 124999998 + 862654320901234567890.
    ostrel::BigNumber big;
    for (char digit : std::string("123456789012345678901234567890"))
        big = ostrel::Add(ostrel::Multiply(big, 10), ostrel::BigOf(static_cast<uint64_t>(digit - '0')));
    uint64_t quotient = 0;
    ostrel::BigNumber rest;
    EXPECT_FALSE(ostrel::SmallQuotient(big, ostrel::BigOf(987654321), quotient, rest)) << "above 2^63";
    const ostrel::BigNumber divisor = ostrel::Multiply(ostrel::BigOf(987654321), 1000000000000ull);
    ASSERT_TRUE(ostrel::SmallQuotient(big, divisor, quotient, rest));
    EXPECT_EQ(124999998u, quotient);
    EXPECT_EQ(0, ostrel::Compare(ostrel::Add(ostrel::Multiply(divisor, quotient), rest), big));
    EXPECT_EQ("862654320901234567890", ostrel::DecimalText(rest, 0));
}

// Every public function judges its arguments: a refusal, never a crash.
TEST(Decisions, RefuseWhatTheyCannotTake)
{
    const std::vector<int64_t> stacks = {5, 3};
    const std::vector<double> prizes = {5, 3};
    const ostrel::Field field = {stacks.data(), 2, prizes.data(), 2};
    const ostrel::FieldEquity none;
    const ostrel::HeroHands noHands;
    ostrel::Deal deal;
    ostrel::BubbleGrid grid;
    ostrel::EqualStacksBubble bubble = {};
    ostrel::DealTerms badUnit;
    badUnit.Round = {1, 40};
    const struct
    {
        const char *Name;
        ostrel::Status Status;
        const char *Says;
    } rows[] = {
        {"deal without a method", ostrel::ComputeDeal(field, {}, none, deal), "no method"},
        {"deal, a unit of 40 decimals", ostrel::ComputeDeal(field, badUnit, BySubsets, deal), "rounding unit"},
        {"grid without a method", ostrel::ComputeBubbleGrid(field, nullptr, none, grid), "no method"},
        {"grid with empty rows", ostrel::ComputeBubbleGrid(field, nullptr, BySubsets, grid, &noHands), "no method"},
        {"equal stacks, prizes missing", ostrel::EqualStacksBubbleFactor(10, 1500, nullptr, 3, bubble), "no prizes"},
        {"equal stacks, 1.7e308 twice", ostrel::EqualStacksBubbleFactor(10, 1500, std::vector<double>{1.7e308, 1.7e308}.data(), 2, bubble),
         "add up"},
    };
    for (const auto &row : rows)
    {
        EXPECT_FALSE(row.Status.Ok) << row.Name;
        EXPECT_NE(std::string::npos, row.Status.Message.find(row.Says)) << row.Name << ": " << row.Status.Message;
    }
    // A deal on an empty ladder pays nothing; an empty ladder's equal-stacks values are 0.
    EXPECT_TRUE(ostrel::ComputeDeal({stacks.data(), 2, nullptr, 0}, {}, BySubsets, deal).Ok);
    EXPECT_EQ(0.0, deal.Seats[0].Payment + deal.Seats[1].Payment);
    ASSERT_TRUE(ostrel::EqualStacksBubbleFactor(10, 1500, nullptr, 0, bubble).Ok);
    EXPECT_EQ(0.0, bubble.EquityOneStack);
    // A prize near the largest double: the values scale with it exactly.
    const std::vector<double> huge = {std::ldexp(1.0, 1020), std::ldexp(1.0, 1019)};
    const std::vector<double> small = {1.0, 0.5};
    ostrel::EqualStacksBubble scaled = {};
    ASSERT_TRUE(ostrel::EqualStacksBubbleFactor(10, 1500, huge.data(), 2, scaled).Ok);
    ASSERT_TRUE(ostrel::EqualStacksBubbleFactor(10, 1500, small.data(), 2, bubble).Ok);
    EXPECT_EQ(std::ldexp(bubble.EquityOneStack, 1020), scaled.EquityOneStack);
    EXPECT_EQ(bubble.BubbleFactor, scaled.BubbleFactor);
    // Not a state of the chain: worth nothing.
    const ostrel::EqualStacksField chain = {10, 1500, 1, prizes.data(), 2};
    EXPECT_EQ(0.0, ostrel::EqualStacksEquity(chain, 15000, 5));
    EXPECT_EQ(0.0, ostrel::EqualStacksEquity(chain, 15001, 0));
}

TEST(Deal, KeepingNothingIsNoKeep)
{
    ostrel::DealTerms none;
    ostrel::DealTerms zero;
    zero.Keep = 0.0;
    for (ostrel::DealSplit split : {ostrel::DealSplit::Icm, ostrel::DealSplit::Chip, ostrel::DealSplit::Even})
    {
        none.Split = zero.Split = split;
        const ostrel::Deal a = DealOf({10, 20, 30}, {6, 3, 1}, none);
        const ostrel::Deal b = DealOf({10, 20, 30}, {6, 3, 1}, zero);
        for (size_t seat = 0; seat < 3; ++seat)
            EXPECT_EQ(a.Seats[seat].DealValue, b.Seats[seat].DealValue);
    }
}

// The recursion that defines the equal-stacks chain, step by step.
double Recursion(const ostrel::EqualStacksField &field, int64_t chips, int64_t depth)
{
    if (chips == 0)
        return 0.0;
    const double stack = static_cast<double>(field.Stack);
    const double own = stack * field.Prizes[depth] * static_cast<double>(field.Held) / static_cast<double>(chips);
    if (depth + 1 >= static_cast<int64_t>(field.Paid))
        return own;
    const double below = Recursion(field, chips - field.Stack, depth + 1);
    return below * stack * static_cast<double>(field.Players - field.Held - depth) / static_cast<double>(chips) + own;
}

TEST(EqualStacks, ChainEqualsItsRecursionToTheBit)
{
    std::mt19937 random(3);
    for (int round = 0; round < 300; ++round)
    {
        std::vector<double> prizes(1 + random() % 30);
        for (double &prize : prizes)
            prize = static_cast<double>(1 + random() % 100000) / 100.0;
        const int64_t players = 2 + static_cast<int64_t>(random() % 999);
        const int64_t stack = 10 + static_cast<int64_t>(random() % 99991);
        for (int64_t held : {1, 2})
        {
            const ostrel::EqualStacksField field = {players, stack, held, prizes.data(), prizes.size()};
            EXPECT_EQ(Recursion(field, players * stack, 0), ostrel::EqualStacksEquity(field, players * stack, 0))
                << players << " x " << stack << ", " << prizes.size() << " paid";
        }
    }
}

} // namespace
