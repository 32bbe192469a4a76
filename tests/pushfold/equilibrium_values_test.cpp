// Each decision's values at the equilibrium against what must hold whatever
// the strategies: with chip EV a player who folds keeps exactly the chips
// he has behind (nobody can take them, nobody gives him any), and aces call
// and overcall every all-in (a call risks at most a third of the pot with
// over half the equity against any two ranges).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "equilibrium.h"
#include "spot.h"
#include "subset_method.h"

namespace
{

using Stacks = std::vector<int64_t>;

const ostrel::FieldEquity BySubsets = [](const ostrel::Field &field, double *equities) {
    return ostrel::SubsetEquities(field, equities, nullptr);
};

struct ChipTable
{
    Stacks Chips;
    size_t Button;
    int64_t SmallBlind, BigBlind, Ante;
};

// Four to six seats, stacks from 2 to 20 big blinds, every order of the
// short and the deep: players who cover a shove and a call, and players
// who do not.
const ChipTable ChipTables[] = {
    {{800, 4000, 2500, 1200}, 0, 200, 400, 50},
    {{3000, 1500, 6000, 2200}, 1, 100, 200, 0},
    {{2000, 2000, 2000, 2000, 2000}, 2, 100, 200, 25},
    {{5000, 900, 3000, 4000, 1600}, 0, 150, 300, 30},
    {{2500, 4000, 1200, 3300, 1800, 6000}, 3, 100, 200, 20},
    // A big blind, then a small blind, all in from posting: in every pot.
    {{3000, 1500, 150, 2200}, 0, 100, 200, 0},
    {{2500, 80, 3000, 1800, 2200}, 0, 100, 200, 25},
};

ostrel::HandField FieldOf(const ChipTable &t)
{
    ostrel::HandField field;
    field.Table.Stacks = t.Chips;
    field.Table.Button = t.Button;
    field.Table.SmallBlind = t.SmallBlind;
    field.Table.BigBlind = t.BigBlind;
    field.Table.Ante = t.Ante;
    return field;
}

// A few rounds: what is checked holds for any strategies.
ostrel::NashAnswer SolveChips(const ostrel::HandField &field, uint64_t rounds)
{
    ostrel::NashOptions options;
    options.DrawsPerClass = 200;
    options.MaxIterations = rounds;
    options.Threads = 2;
    ostrel::NashAnswer answer;
    const ostrel::Status status = ostrel::SolveNash(field, BySubsets, true, options, answer);
    EXPECT_TRUE(status.Ok) << status.Message;
    return answer;
}

std::string Name(const ostrel::NashDecision &d)
{
    std::string name = "seat " + std::to_string(d.Seat + 1) +
                       (d.Action == ostrel::NashAction::Shove  ? " shoves"
                        : d.Action == ostrel::NashAction::Call ? " calls"
                                                                : " overcalls");
    for (size_t v : d.Versus)
        name += " " + std::to_string(v + 1);
    return name;
}

TEST(EquilibriumValues, ChipEvFoldKeepsTheChipsBehind)
{
    for (const ChipTable &t : ChipTables)
    {
        const ostrel::HandField field = FieldOf(t);
        ostrel::Posting post;
        ASSERT_TRUE(ostrel::PostBlinds(field.Table, post).Ok);
        const ostrel::NashAnswer answer = SolveChips(field, 3);
        for (const ostrel::NashDecision &d : answer.Decisions)
        {
            SCOPED_TRACE(Name(d));
            const double behind = static_cast<double>(post.Behind[d.Seat]);
            int reached = 0;
            for (size_t c = 0; c < ostrel::cards::ClassCount; ++c)
            {
                if (std::isnan(d.EvFold[c]))
                    continue;
                ++reached;
                ASSERT_NEAR(behind, d.EvFold[c], 1e-9 * behind) << ostrel::cards::ClassName(static_cast<int>(c));
                ASSERT_NEAR(d.EvPlay[c] - d.EvFold[c], d.Advantage[c], 1e-9 * behind);
            }
            EXPECT_GT(reached, 0);
        }
    }
}

TEST(EquilibriumValues, ChipEvAcesCallAndOvercallEveryAllIn)
{
    // Against whatever the others play after a few rounds, aces are worth
    // more in the pot at every decision (shoving first in too: a shove wins
    // the blinds or an all-in at least as good as a call). Every round's
    // best response plays them, so the averages do from the first guess on.
    int aces = -1;
    ASSERT_TRUE(ostrel::cards::ParseClassName("AA", aces));
    const size_t c = static_cast<size_t>(aces);
    // With knockout bounties too, in chips at 50 a unit: a bounty only
    // adds to what aces win in the pot.
    for (bool bounties : {false, true})
    {
        for (const ChipTable &t : ChipTables)
        {
            ostrel::HandField field = FieldOf(t);
            if (bounties)
            {
                const double seats = static_cast<double>(t.Chips.size());
                field.Bounty = {std::vector<double>(t.Chips.size(), 2.0), 2.0 * seats + 10.0, 1.0, 50.0};
            }
            const ostrel::NashAnswer answer = SolveChips(field, 3);
            for (const ostrel::NashDecision &d : answer.Decisions)
            {
                EXPECT_EQ(1.0, d.Frequency[c]) << Name(d) << (bounties ? " with bounties" : "");
                if (!std::isnan(d.Advantage[c]))
                {
                    EXPECT_GT(d.Advantage[c], 0.0) << Name(d);
                }
            }
        }
    }
}

// The button on seat 1, blinds 50 and 100; no prizes: chip EV.
ostrel::HandField BlindsOf50And100(const Stacks &chips, const std::vector<double> &prizes)
{
    ostrel::HandField field;
    field.Table.Stacks = chips;
    field.Table.Button = 0;
    field.Table.SmallBlind = 50;
    field.Table.BigBlind = 100;
    field.Prizes = prizes;
    return field;
}

ostrel::cards::Range RangeOf(const ostrel::NashDecision &d)
{
    ostrel::cards::Range range;
    for (int c = 0; c < ostrel::cards::ClassCount; ++c)
        ostrel::cards::SetClass(range, c, d.Frequency[static_cast<size_t>(c)]);
    return range;
}

TEST(EquilibriumValues, HandLossHeadsUpIsTheSpots)
{
    // Heads-up both decisions are spots against the other's range, exact
    // both ways: the most a hand loses by the answer's frequencies against
    // its better action, by the spot's values, is the loss reported.
    struct Row
    {
        Stacks Chips;
        std::vector<double> Prizes;
    };
    const Row rows[] = {{{1000, 1000}, {}}, {{1500, 700}, {}}, {{3000, 2000}, {65, 35}}};
    for (const Row &row : rows)
    {
        const ostrel::HandField field = BlindsOf50And100(row.Chips, row.Prizes);
        const bool chipEv = row.Prizes.empty();
        ostrel::NashAnswer answer;
        ASSERT_TRUE(ostrel::SolveNash(field, BySubsets, chipEv, ostrel::NashOptions(), answer).Ok);
        ASSERT_EQ(2u, answer.Decisions.size());
        const ostrel::NashDecision &shove = answer.Decisions[0], &call = answer.Decisions[1];
        double most = 0.0;
        for (const ostrel::NashDecision *d : {&shove, &call})
        {
            ostrel::SpotQuestion question;
            question.Hero = d->Seat;
            question.Ranges.assign(2, std::nullopt);
            if (d == &call)
            {
                question.Action = ostrel::SpotAction::Call;
                question.Shover = shove.Seat;
                question.Ranges[shove.Seat] = RangeOf(shove);
            }
            else
                question.Ranges[call.Seat] = RangeOf(call);
            ostrel::SpotSolver solver;
            ASSERT_TRUE(solver.Open(field, BySubsets, chipEv, question).Ok);
            ostrel::SpotAnswer spot;
            ASSERT_TRUE(solver.Solve(spot).Ok);
            for (size_t c = 0; c < ostrel::cards::ClassCount; ++c)
            {
                const ostrel::SpotClass &one = spot.Classes[c];
                if (std::isnan(one.EvPlay))
                    continue;
                const double f = d->Frequency[c], advantage = one.EvPlay - one.EvFold;
                most = std::max(most, advantage > 0.0 ? (1.0 - f) * advantage : f * -advantage);
            }
        }
        EXPECT_NEAR(most, answer.MaxHandLoss, 1e-9 * (1.0 + most));
        EXPECT_LE(answer.MaxHandLoss, answer.HandBound);
    }
}

TEST(EquilibriumValues, AllInFromPostingIsCalledWithAnyHandWhenCheap)
{
    // Heads-up, the big blind all in from posting for at most the small
    // blind and a little more: the small blind puts in a few chips for a
    // pot of the blinds, against a hand dealt at random, and plays every
    // hand (the worst hand has 30 % against a random one, the price asks
    // for at most 20 %). With chip EV and with money.
    struct Row
    {
        Stacks Chips;
        std::vector<double> Prizes;
    };
    const Row rows[] = {{{3000, 60}, {}}, {{3000, 70}, {}}, {{5000, 3000, 60}, {50, 30, 20}}};
    for (const Row &row : rows)
    {
        const ostrel::HandField field = BlindsOf50And100(row.Chips, row.Prizes);
        ostrel::NashOptions options;
        options.DrawsPerClass = 800;
        options.Threads = 2;
        ostrel::NashAnswer answer;
        const ostrel::Status status = ostrel::SolveNash(field, BySubsets, row.Prizes.empty(), options, answer);
        ASSERT_TRUE(status.Ok) << status.Message;
        EXPECT_TRUE(answer.Converged);
        const size_t smallBlind = row.Chips.size() == 2 ? 0 : 1;
        for (const ostrel::NashDecision &d : answer.Decisions)
        {
            if (d.Seat == smallBlind && d.Action == ostrel::NashAction::Shove)
            {
                EXPECT_NEAR(1.0, d.Share, 1e-12) << Name(d);
            }
        }
    }
}

} // namespace
