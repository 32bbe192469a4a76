// Bounties in a hand against hand arithmetic (who takes a bounty, with side
// pots and split pots), the sum that every outcome keeps (prizes and bounty
// money in play), and the spot's values against the heads-up equity of the
// cards library.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "bounty_equity.h"
#include "preflop.h"
#include "spot.h"
#include "subset_method.h"

namespace
{

using Stacks = std::vector<int64_t>;

const ostrel::FieldEquity BySubsets = [](const ostrel::Field &field, double *equities) {
    return ostrel::SubsetEquities(field, equities, nullptr);
};

// Seat 1 the button; blinds 50 and 100, no ante.
ostrel::HandField FieldOf(const Stacks &stacks, const std::vector<double> &bounties, double inPlay, double share,
                          const Stacks &others = {}, const std::vector<double> &prizes = {})
{
    ostrel::HandField field;
    field.Table.Stacks = stacks;
    field.Table.Button = 0;
    field.Table.SmallBlind = 50;
    field.Table.BigBlind = 100;
    field.Others = others;
    field.Prizes = prizes;
    field.Bounty.OnHead = bounties;
    field.Bounty.InPlay = inPlay;
    field.Bounty.CashShare = share;
    return field;
}

ostrel::Showdown ShowdownOf(std::vector<size_t> seats, std::vector<uint8_t> ranks)
{
    ostrel::Showdown showdown;
    showdown.Count = seats.size();
    for (size_t k = 0; k < seats.size(); ++k)
    {
        showdown.Seats[k] = seats[k];
        showdown.Rank[k] = ranks[k];
    }
    return showdown;
}

TEST(Bounties, TheBountyGoesToWhoeverTakesTheHighestPotTheBustedPlayerWasIn)
{
    // Chips valued as chips, so every value is worked by hand: the stack,
    // the cash won, and the stack's share of the bounty money left.
    struct Row
    {
        const char *Name;
        Stacks Chips;
        double Share;
        std::vector<size_t> Seats;
        std::vector<uint8_t> Ranks;
        Stacks After;
        std::vector<double> Cash;
    };
    // Bounties 10, 20, 30 at the table; 100 in play in all (40 elsewhere).
    const Row rows[] = {
        {"the big blind calls the button and busts him; the small blind's 50 is in the pot",
         {1000, 3000, 2000}, 1.0, {0, 2}, {1, 0}, {0, 2950, 3050}, {0, 0, 10}},
        {"the same in a progressive knockout: half in cash", {1000, 3000, 2000}, 0.5, {0, 2}, {1, 0},
         {0, 2950, 3050}, {0, 0, 5}},
        {"two equal hands bust the short stack: they share his bounty", {1000, 3000, 2000}, 1.0, {0, 1, 2},
         {1, 0, 0}, {0, 3500, 2500}, {0, 5, 5}},
        {"the small blind wins the main pot, the big blind the side pot the button busts in", {2000, 1000, 3000},
         1.0, {0, 1, 2}, {2, 0, 1}, {0, 3000, 3000}, {0, 0, 10}},
        {"the big blind busts both", {1000, 2000, 3000}, 1.0, {0, 1, 2}, {1, 2, 0}, {0, 0, 6000}, {0, 0, 30}},
        {"a split heads-up pot busts no one", {1000, 3000, 2000}, 1.0, {0, 2}, {0, 0}, {1025, 2950, 2025},
         {0, 0, 0}},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        ostrel::OutcomeBook book;
        const ostrel::HandField field = FieldOf(row.Chips, {10, 20, 30}, 100, row.Share);
        ASSERT_TRUE(book.Open(field, ostrel::ChipValuation(), false).Ok);
        const ostrel::Showdown showdown = ShowdownOf(row.Seats, row.Ranks);
        EXPECT_EQ(book.StacksAfterShowdown(showdown), row.After);
        EXPECT_EQ(book.CashAfterShowdown(showdown), row.Cash);
        const double *values = nullptr;
        ASSERT_TRUE(book.Values(showdown, values).Ok);
        double cash = 0.0;
        for (double won : row.Cash)
            cash += won;
        for (size_t seat = 0; seat < 3; ++seat)
        {
            const double chips = static_cast<double>(row.After[seat]);
            EXPECT_DOUBLE_EQ(values[seat], chips + row.Cash[seat] + chips / 6000.0 * (100.0 - cash)) << seat;
        }
        for (size_t seat = 0; seat < 3; ++seat)
            EXPECT_DOUBLE_EQ(book.Before()[seat], static_cast<double>(row.Chips[seat]) * (1.0 + 100.0 / 6000.0));
    }
}

TEST(Bounties, EveryOutcomeKeepsThePrizesAndTheBountyMoney)
{
    // Prize $EV of the field adds up to the pool, bounty cash and bounty
    // equity to the money in play: every outcome of every pot is worth the
    // pool plus the money in play over the whole field.
    struct Row
    {
        const char *Name;
        Stacks Chips, Others;
        std::vector<double> Bounties;
        double InPlay, Share;
        std::vector<double> Prizes;
    };
    const Row rows[] = {
        {"knockout, three at the table", {1500, 900, 2600}, {}, {5, 5, 5}, 15, 1.0, {50, 30, 20}},
        {"progressive knockout, bounties elsewhere", {1500, 900, 2600}, {3000, 700}, {7.5, 5, 12}, 40, 0.5,
         {40, 25, 15, 10, 5, 5}},
        {"a short stack all in from his blind", {3000, 1000, 80, 2000}, {1200}, {4, 3, 2, 1}, 12, 0.5,
         {60, 30, 10}},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        ostrel::OutcomeBook book;
        const ostrel::HandField field = FieldOf(row.Chips, row.Bounties, row.InPlay, row.Share, row.Others, row.Prizes);
        ASSERT_TRUE(book.Open(field, BySubsets, true).Ok);
        const double whole = book.Pool() + row.InPlay;
        double before = 0.0;
        for (size_t seat = 0; seat < book.Seats(); ++seat)
            before += book.Before()[seat];
        EXPECT_NEAR(before, whole, 1e-12 * whole);
        const size_t seats = row.Chips.size();
        size_t outcomes = 0;
        for (size_t a = 0; a < seats; ++a)
            for (size_t b = 0; b < seats; ++b)
                for (size_t c = 0; c <= seats; ++c)
                {
                    if (b == a || c == a || c == b)
                        continue;
                    std::vector<size_t> in = {a, b};
                    if (c < seats)
                        in.push_back(c);
                    for (size_t finish = 0; finish < ostrel::FinishCount(in.size()); ++finish)
                    {
                        ostrel::Showdown showdown = ShowdownOf(in, std::vector<uint8_t>(in.size()));
                        ostrel::FinishRanks(in.size(), finish, showdown.Rank);
                        const double *values = nullptr;
                        ASSERT_TRUE(book.Values(showdown, values).Ok);
                        double sum = 0.0;
                        for (size_t seat = 0; seat < book.Seats(); ++seat)
                            sum += values[seat];
                        EXPECT_NEAR(sum, whole, 1e-12 * whole) << a << b << c << " finish " << finish;
                        ++outcomes;
                    }
                }
        EXPECT_GT(outcomes, 0u);
    }
}

TEST(Bounties, ACallIsWorthItsChipsAndTheBountyItsCardsWin)
{
    // The big blind covers the button's shove; chips with the bounty worth
    // 20 chips a unit, a player elsewhere. What the bounties add to each
    // hand follows from the hand's chances against the range (the cards
    // library's heads-up equity) and the stacks worked by hand:
    // fold 4,900; win 8,000 and the button's bounty; tie 5,000; lose 2,000,
    // out of 10,000 chips in the field.
    const double scale = 20.0, money = 100.0, bounty = 40.0;
    for (double share : {1.0, 0.5, 0.0})
    {
        SCOPED_TRACE(share);
        ostrel::HandField field = FieldOf({3000, 5000}, {bounty, 25}, money, share, {2000});
        field.Bounty.Scale = scale;
        ostrel::HandField plain = field;
        plain.Bounty = ostrel::Bounties();
        ostrel::SpotQuestion question;
        question.Hero = 1;
        question.Action = ostrel::SpotAction::Call;
        question.Shover = 0;
        question.Ranges.resize(2);
        question.Overcalls.resize(2);
        question.Shoves.resize(2);
        ostrel::cards::Range range;
        ASSERT_TRUE(ostrel::cards::ParseRange("22+, A2+, K9+, QTs+", range).Ok);
        question.Ranges[0] = range;
        ostrel::SpotAnswer with, without;
        for (auto *run : {&with, &without})
        {
            ostrel::SpotSolver solver;
            ASSERT_TRUE(solver.Open(run == &with ? field : plain, BySubsets, true, question).Ok);
            ASSERT_TRUE(solver.Solve(*run).Ok);
        }
        for (int c = 0; c < ostrel::cards::ClassCount; ++c)
        {
            ostrel::cards::HeadsUpEquity equity;
            ASSERT_TRUE(ostrel::cards::ClassVsRange(c, range, equity).Ok);
            const double lose = 1.0 - equity.Win - equity.Tie;
            const double play = equity.Win * (share * bounty + 0.8 * (money - share * bounty)) +
                                equity.Tie * 0.5 * money + lose * 0.2 * money;
            const ostrel::SpotClass &a = with.Classes[static_cast<size_t>(c)];
            const ostrel::SpotClass &b = without.Classes[static_cast<size_t>(c)];
            EXPECT_NEAR(a.EvPlay - b.EvPlay, scale * play, 1e-9 * scale * money) << ostrel::cards::ClassName(c);
            EXPECT_NEAR(a.EvFold - b.EvFold, scale * 0.49 * money, 1e-9 * scale * money);
            EXPECT_EQ(a.ChipsPlay, b.ChipsPlay);
        }
    }
}

TEST(Bounties, BadBountiesAreRefused)
{
    struct Row
    {
        const char *Name;
        std::vector<double> Bounties;
        double InPlay, Share, Scale;
        const char *Message;
    };
    const double inf = INFINITY;
    const Row rows[] = {
        {"a count that is not the seats", {1, 2}, 10, 1, 1, "give a bounty for each of the table's 3 seats"},
        {"a negative bounty", {1, -2, 3}, 10, 1, 1, "a bounty must be a finite amount of 0 or more"},
        {"an infinite bounty", {1, inf, 3}, inf, 1, 1, "a bounty must be a finite amount of 0 or more"},
        {"less money in play than at the table", {1, 2, 3}, 5.5, 1, 1,
         "the bounty money in play is less than the bounties at the table"},
        {"a share above 1", {1, 2, 3}, 6, 1.5, 1, "the bounty's cash share must be 0 to 1"},
        {"a share that is not a number", {1, 2, 3}, 6, NAN, 1, "the bounty's cash share must be 0 to 1"},
        {"no value for a unit", {1, 2, 3}, 6, 1, 0, "the value of a unit of bounty must be finite and above 0"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        ostrel::HandField field = FieldOf({1000, 2000, 3000}, row.Bounties, row.InPlay, row.Share);
        field.Bounty.Scale = row.Scale;
        ostrel::OutcomeBook book;
        const ostrel::Status status = book.Open(field, ostrel::ChipValuation(), false);
        EXPECT_FALSE(status.Ok);
        EXPECT_EQ(status.Message, row.Message);
    }
    // The sum of the table's bounties, typed as the pool, passes however it rounds.
    ostrel::OutcomeBook book;
    EXPECT_TRUE(book.Open(FieldOf({1000, 2000, 3000}, {0.1, 0.2, 0.0}, 0.3, 1), ostrel::ChipValuation(), false).Ok);
}

TEST(BountyEquity, IsTheShareOfTheChips)
{
    const int64_t stacks[] = {500, 0, 1500, 2000};
    const ostrel::Field field = {stacks, 4, nullptr, 0};
    double equity[4] = {};
    ASSERT_TRUE(ostrel::BountyEquity(field, 80.0, equity).Ok);
    const double expected[] = {10.0, 0.0, 30.0, 40.0};
    for (size_t seat = 0; seat < 4; ++seat)
        EXPECT_EQ(equity[seat], expected[seat]);
    EXPECT_FALSE(ostrel::BountyEquity(field, -1.0, equity).Ok);
    EXPECT_FALSE(ostrel::BountyEquity(field, NAN, equity).Ok);
    const int64_t none[] = {0, 0};
    EXPECT_FALSE(ostrel::BountyEquity({none, 2, nullptr, 0}, 1.0, equity).Ok);
    EXPECT_TRUE(ostrel::BountyEquity({none, 2, nullptr, 0}, 0.0, equity).Ok);
}

} // namespace

TEST(Bounties, ABustedPlayersBountyIsPaidOnceInEveryOrderOfStacks)
{
    // Three players all in, side pots from every order of three different
    // stacks (and two equal ones), every finish: the cash paid is exactly
    // the busted players' bounties times the cash share, each paid once, to
    // players who are still in.
    const std::vector<Stacks> orders = {{600, 1500, 3000}, {600, 3000, 1500}, {1500, 600, 3000},
                                        {1500, 3000, 600}, {3000, 600, 1500}, {3000, 1500, 600},
                                        {1500, 1500, 600}, {600, 1500, 1500}};
    const std::vector<double> bounties = {8, 4, 2};
    for (const double share : {1.0, 0.5})
        for (const Stacks &stacks : orders)
        {
            SCOPED_TRACE(std::to_string(stacks[0]) + " " + std::to_string(stacks[1]) + " " +
                         std::to_string(stacks[2]) + " share " + std::to_string(share));
            ostrel::OutcomeBook book;
            ASSERT_TRUE(book.Open(FieldOf(stacks, bounties, 14, share, {}, {50, 30, 20}), BySubsets, true).Ok);
            const std::vector<size_t> in = {0, 1, 2};
            for (size_t finish = 0; finish < ostrel::FinishCount(3); ++finish)
            {
                ostrel::Showdown showdown = ShowdownOf(in, {0, 0, 0});
                ostrel::FinishRanks(3, finish, showdown.Rank);
                const std::vector<int64_t> after = book.StacksAfterShowdown(showdown);
                const std::vector<double> cash = book.CashAfterShowdown(showdown);
                double busted = 0.0, paid = 0.0;
                for (size_t seat = 0; seat < 3; ++seat)
                {
                    busted += after[seat] == 0 ? bounties[seat] : 0.0;
                    paid += cash[seat];
                    if (after[seat] == 0)
                    {
                        EXPECT_EQ(0.0, cash[seat]) << "seat " << seat << " busted and was paid";
                    }
                }
                EXPECT_EQ(busted * share, paid) << "finish " << finish;
            }
        }
}
