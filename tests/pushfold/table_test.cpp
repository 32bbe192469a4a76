// Posting, side pots and the outcome book against hands worked by hand:
// who posts what, who acts when, where every chip goes, and what each
// outcome is worth (closed forms of two players, places of busted players).
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "outcomes.h"
#include "pots.h"
#include "subset_method.h"
#include "table.h"

namespace
{

using Stacks = std::vector<int64_t>;

ostrel::TableSetup TableOf(Stacks stacks, size_t button, int64_t sb, int64_t bb, int64_t ante, bool bbAnte)
{
    ostrel::TableSetup table;
    table.Stacks = std::move(stacks);
    table.Button = button;
    table.SmallBlind = sb;
    table.BigBlind = bb;
    table.Ante = ante;
    table.BigBlindAnte = bbAnte;
    return table;
}

TEST(Posting, BlindsAntesAndTheOrderOfAction)
{
    struct Row
    {
        const char *Name;
        ostrel::TableSetup Table;
        Stacks Dead, Live, Behind;
        size_t SmallBlind, BigBlind;
        std::vector<size_t> Order;
    };
    const Row rows[] = {
        {"three players, antes", TableOf({1000, 1000, 1000}, 0, 50, 100, 10, false), {10, 10, 10}, {0, 50, 100},
         {990, 940, 890}, 1, 2, {0, 1, 2}},
        {"heads-up: the button posts the small blind and acts first", TableOf({500, 0, 300}, 2, 50, 100, 0, false),
         {0, 0, 0}, {100, 0, 50}, {400, 0, 250}, 2, 0, {2, 0}},
        {"empty seats are skipped", TableOf({0, 800, 0, 600, 400}, 1, 20, 40, 0, false), {0, 0, 0, 0, 0},
         {0, 0, 0, 20, 40}, {0, 800, 0, 580, 360}, 3, 4, {1, 3, 4}},
        {"a big blind who cannot cover it is all in, the ante first", TableOf({1000, 1000, 60}, 0, 50, 100, 10, false),
         {10, 10, 10}, {0, 50, 50}, {990, 940, 0}, 1, 2, {0, 1, 2}},
        {"a big-blind ante", TableOf({1000, 1000, 1000, 1000}, 0, 50, 100, 100, true), {0, 0, 100, 0},
         {0, 50, 100, 0}, {1000, 950, 800, 1000}, 1, 2, {3, 0, 1, 2}},
        {"a big-blind ante he cannot cover: the blind first", TableOf({1000, 1000, 150, 1000}, 0, 50, 100, 100, true),
         {0, 0, 50, 0}, {0, 50, 100, 0}, {1000, 950, 0, 1000}, 1, 2, {3, 0, 1, 2}},
        {"a small blind all in for the ante", TableOf({1000, 5, 1000}, 0, 50, 100, 10, false), {10, 5, 10},
         {0, 0, 100}, {990, 0, 890}, 1, 2, {0, 1, 2}},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        ostrel::Posting posting;
        ASSERT_TRUE(ostrel::PostBlinds(row.Table, posting).Ok);
        EXPECT_EQ(posting.Dead, row.Dead);
        EXPECT_EQ(posting.Live, row.Live);
        EXPECT_EQ(posting.Behind, row.Behind);
        EXPECT_EQ(posting.SmallBlindSeat, row.SmallBlind);
        EXPECT_EQ(posting.BigBlindSeat, row.BigBlind);
        EXPECT_EQ(posting.Order, row.Order);
        EXPECT_EQ(posting.DeadMoney, std::accumulate(row.Dead.begin(), row.Dead.end(), int64_t{0}));
    }
}

TEST(Posting, RefusesTablesThatCannotDeal)
{
    const ostrel::TableSetup rows[] = {
        TableOf({1000, 0, 0}, 0, 50, 100, 0, false),    // one player
        TableOf({1000, 0, 1000}, 1, 50, 100, 0, false), // button on an empty seat
        TableOf({1000, 1000}, 2, 50, 100, 0, false),    // button off the table
        TableOf({1000, 1000}, 0, 0, 100, 0, false),     // no small blind
        TableOf({1000, 1000}, 0, 100, 50, 0, false),    // big blind below the small
        TableOf({1000, 1000}, 0, 50, 100, -1, false),   // negative ante
        TableOf({1000, -5}, 0, 50, 100, 0, false),      // negative stack
    };
    for (const ostrel::TableSetup &table : rows)
    {
        ostrel::Posting posting;
        const ostrel::Status status = ostrel::PostBlinds(table, posting);
        EXPECT_FALSE(status.Ok);
        EXPECT_FALSE(status.Message.empty());
    }
}

TEST(Pots, SidePotsAndSplitsWorkedByHand)
{
    // A: 3 seats, button 0, 50/100, ante 10. Seat 0 shoves 990, seat 1
    // (small blind) calls all in for 390, the big blind folds his 100.
    // Main pot: 390 + 390 + 100 + 30 antes = 910; seat 0's last 600 come back.
    // B: 4 seats, button 3, 10/20. Seat 2 shoves 1000, seat 3 calls 700,
    // seat 0 (small blind) overcalls all in for 300, the big blind folds 20.
    // Main 300 * 3 + 20 = 920, side 400 * 2 = 800, seat 2's last 300 back.
    // Split three ways, 920 = 3 * 306 + 2: the odd chips go to seat 0, then
    // seat 2 (seat order from the button's left).
    struct Row
    {
        const char *Name;
        ostrel::TableSetup Table;
        std::vector<size_t> Seats;
        std::vector<uint8_t> Ranks;
        Stacks After;
    };
    const ostrel::TableSetup a = TableOf({1000, 400, 2000}, 0, 50, 100, 10, false);
    const ostrel::TableSetup b = TableOf({300, 500, 1000, 700}, 3, 10, 20, 0, false);
    const Row rows[] = {
        {"covering shover wins", a, {0, 1}, {0, 1}, {1510, 0, 1890}},
        {"short caller wins the main pot", a, {0, 1}, {1, 0}, {600, 910, 1890}},
        {"split main pot", a, {0, 1}, {0, 0}, {1055, 455, 1890}},
        {"uncontested: the shover takes blinds and antes", a, {0}, {0}, {1170, 340, 1890}},
        {"shortest best, then the caller", b, {2, 3, 0}, {2, 1, 0}, {920, 480, 300, 800}},
        {"shover best takes everything", b, {2, 3, 0}, {0, 1, 2}, {0, 480, 2020, 0}},
        {"caller best: main and side pot", b, {2, 3, 0}, {1, 0, 2}, {0, 480, 300, 1720}},
        {"all three equal, odd chips from the button's left", b, {2, 3, 0}, {0, 0, 0}, {307, 480, 1007, 706}},
        // The big blind all in for 60 of his 200 takes the pot alone: he wins
        // 60 of the small blind's 100, the other 40 go back (2940, 120).
        {"heads-up walk of a short big blind", TableOf({3000, 60}, 0, 100, 200, 0, false), {1}, {0}, {2940, 120}},
        // With an ante of 10: he has 50 live, the pot 20 + 50 + 50 = 120.
        {"the same with antes", TableOf({3000, 60}, 0, 100, 200, 10, false), {1}, {0}, {2940, 120}},
        {"three-handed walk of a short big blind", TableOf({5000, 3000, 60}, 0, 100, 200, 0, false), {2}, {0},
         {5000, 2940, 120}},
        // The button's shove matched the small blind's 100: the 40 above the
        // big blind's 60 go to the side pot the button takes back.
        {"a short big blind beats the button's shove", TableOf({5000, 3000, 60}, 0, 100, 200, 0, false), {0, 2},
         {1, 0}, {4980, 2900, 180}},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        ostrel::Posting posting;
        ASSERT_TRUE(ostrel::PostBlinds(row.Table, posting).Ok);
        ostrel::Showdown showdown;
        showdown.Count = row.Seats.size();
        for (size_t k = 0; k < showdown.Count; ++k)
        {
            showdown.Seats[k] = row.Seats[k];
            showdown.Rank[k] = row.Ranks[k];
        }
        Stacks after(row.Table.Stacks.size(), -1);
        ostrel::StacksAfter(posting, row.Table.Button, showdown, after.data());
        EXPECT_EQ(after, row.After);
        EXPECT_EQ(std::accumulate(after.begin(), after.end(), int64_t{0}),
                  std::accumulate(row.Table.Stacks.begin(), row.Table.Stacks.end(), int64_t{0}));
    }
}

TEST(Pots, EveryFinishOrderOnce)
{
    for (size_t count : {1, 2, 3})
    {
        std::vector<std::vector<uint8_t>> seen;
        for (size_t index = 0; index < ostrel::FinishCount(count); ++index)
        {
            std::vector<uint8_t> ranks(count);
            ostrel::FinishRanks(count, index, ranks.data());
            // Ranks are dense from 0: a weak order written once.
            for (uint8_t r = 0; r < *std::max_element(ranks.begin(), ranks.end()); ++r)
                EXPECT_NE(std::find(ranks.begin(), ranks.end(), r), ranks.end());
            EXPECT_EQ(std::find(seen.begin(), seen.end(), ranks), seen.end());
            seen.push_back(ranks);
        }
    }
    EXPECT_EQ(ostrel::FinishCount(2), 3u);
    EXPECT_EQ(ostrel::FinishCount(3), 13u);
}

const ostrel::FieldEquity BySubsets = [](const ostrel::Field &field, double *equities) {
    return ostrel::SubsetEquities(field, equities, nullptr);
};

TEST(OutcomeBook, ValuesOfOutcomesWorkedByHand)
{
    // Four players 4000, 1000, 2000, 3000 (button 0, 10/20): seat 3 shoves,
    // the small blind calls, the big blind overcalls and seat 3 wins it all.
    // 2000 and 1000 bust, in places 3 and 4; the two left play for 50 and 30:
    // $EV = 30 + 20 * stack / 10000.
    // With equal stacks busted together they share places 3 and 4: (20 + 10) / 2.
    struct Row
    {
        const char *Name;
        Stacks Table;
        Stacks Others;
        std::vector<double> Prizes;
        std::vector<size_t> Seats;
        std::vector<uint8_t> Ranks;
        std::vector<double> Values;
    };
    const Row rows[] = {
        {"two bust, two left", {4000, 1000, 2000, 3000}, {}, {50, 30, 20}, {3, 1, 2}, {0, 1, 2}, {38, 0, 20, 42}},
        {"equal busted stacks share", {4000, 1000, 1000, 3000}, {}, {50, 30, 20, 10}, {3, 1, 2}, {0, 1, 1},
         {30 + 20 * 4.0 / 9.0, 15, 15, 30 + 20 * 5.0 / 9.0}},
        {"a player elsewhere keeps his chips", {1000, 3000}, {6000}, {50, 30, 20}, {0, 1}, {1, 0},
         {20, 30 + 20 * 0.4, 30 + 20 * 0.6}},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        ostrel::HandField field;
        field.Table = TableOf(row.Table, 0, 10, 20, 0, false);
        field.Others = row.Others;
        field.Prizes = row.Prizes;
        ostrel::OutcomeBook book;
        ASSERT_TRUE(book.Open(field, BySubsets, true).Ok);
        ostrel::Showdown showdown;
        showdown.Count = row.Seats.size();
        for (size_t k = 0; k < showdown.Count; ++k)
        {
            showdown.Seats[k] = row.Seats[k];
            showdown.Rank[k] = row.Ranks[k];
        }
        const double *values = nullptr;
        ASSERT_TRUE(book.Values(showdown, values).Ok);
        for (size_t seat = 0; seat < row.Values.size(); ++seat)
            EXPECT_NEAR(values[seat], row.Values[seat], 1e-12) << "seat " << seat;

        // Before the hand: the valuation of the field as given, to the bit.
        Stacks all = row.Table;
        all.insert(all.end(), row.Others.begin(), row.Others.end());
        std::vector<double> direct(all.size());
        const ostrel::Field before = {all.data(), all.size(), row.Prizes.data(), row.Prizes.size()};
        ASSERT_TRUE(BySubsets(before, direct.data()).Ok);
        for (size_t seat = 0; seat < all.size(); ++seat)
            EXPECT_EQ(book.Before()[seat], direct[seat]);
    }
}

TEST(OutcomeBook, ChipsAreChipsAndRefusalsPassThrough)
{
    ostrel::HandField field;
    field.Table = TableOf({1000, 3000}, 0, 10, 20, 0, false);
    ostrel::OutcomeBook chips;
    ASSERT_TRUE(chips.Open(field, ostrel::ChipValuation(), false).Ok);
    ostrel::Showdown showdown;
    showdown.Count = 2;
    showdown.Seats[0] = 0;
    showdown.Seats[1] = 1;
    showdown.Rank[0] = 1;
    const double *values = nullptr;
    ASSERT_TRUE(chips.Values(showdown, values).Ok);
    EXPECT_EQ(values[0], 0.0);
    EXPECT_EQ(values[1], 4000.0);

    // The valuation's refusal is the book's.
    const ostrel::FieldEquity refuses = [](const ostrel::Field &, double *) {
        return ostrel::Failure("too many players");
    };
    ostrel::OutcomeBook book;
    const ostrel::Status status = book.Open(field, refuses, true);
    EXPECT_FALSE(status.Ok);
    EXPECT_EQ(status.Message, "too many players");
}

} // namespace
