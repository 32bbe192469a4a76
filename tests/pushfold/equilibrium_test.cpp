// The equilibrium against what must hold: the published heads-up chip EV
// push/fold charts (range sizes and two thresholds), ICM's linearity with two
// players left and with a winner-take-all ladder (the ICM equilibrium is the
// chip EV one), the exploitability recomputed by the spot's best responses,
// the same answer for any thread count, and the refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "equilibrium.h"
#include "preflop.h"
#include "spot.h"
#include "subset_method.h"

namespace
{

using Stacks = std::vector<int64_t>;

const ostrel::FieldEquity BySubsets = [](const ostrel::Field &field, double *equities) {
    return ostrel::SubsetEquities(field, equities, nullptr);
};

ostrel::HandField Table(const Stacks &stacks, size_t button, int64_t sb, int64_t bb,
                        std::vector<double> prizes = {})
{
    ostrel::HandField field;
    field.Table.Stacks = stacks;
    field.Table.Button = button;
    field.Table.SmallBlind = sb;
    field.Table.BigBlind = bb;
    field.Prizes = std::move(prizes);
    return field;
}

ostrel::NashAnswer Solve(const ostrel::HandField &field, bool chipEv, double tolerance, unsigned threads = 1,
                         uint32_t draws = 200)
{
    ostrel::NashOptions options;
    options.Tolerance = tolerance;
    options.Threads = threads;
    options.DrawsPerClass = draws;
    ostrel::NashAnswer answer;
    const ostrel::Status status = ostrel::SolveNash(field, BySubsets, chipEv, options, answer);
    EXPECT_TRUE(status.Ok) << status.Message;
    return answer;
}

int ClassOf(const char *name)
{
    int c = -1;
    EXPECT_TRUE(ostrel::cards::ParseClassName(name, c)) << name;
    return c;
}

TEST(Equilibrium, HeadsUpChipEvMatchesThePublishedCharts)
{
    // Small blind 0.5, big blind 1, no ante; the share of combos each seat
    // plays in the published heads-up push/fold charts.
    struct Row
    {
        int64_t BigBlinds;
        double Shove, Call;
    };
    const Row rows[] = {{10, 58.0, 37.0}, {15, 46.0, 29.0}, {20, 40.0, 22.0}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.BigBlinds);
        const int64_t stack = row.BigBlinds * 100;
        // At the default tolerance (0.01 big blind).
        const ostrel::NashAnswer answer = Solve(Table({stack, stack}, 0, 50, 100), true, 0.0);
        ASSERT_TRUE(answer.Converged);
        ASSERT_EQ(2u, answer.Decisions.size());
        EXPECT_EQ(ostrel::NashAction::Shove, answer.Decisions[0].Action);
        EXPECT_EQ(0u, answer.Decisions[0].Seat);
        EXPECT_EQ(ostrel::NashAction::Call, answer.Decisions[1].Action);
        EXPECT_NEAR(row.Shove, answer.Decisions[0].Share * 100.0, 1.5);
        EXPECT_NEAR(row.Call, answer.Decisions[1].Share * 100.0, 1.5);
        EXPECT_EQ(0u, answer.Draws);
        EXPECT_EQ(0.0, answer.DrawError);
        // Chip EV is zero-sum: the values at equilibrium sum to the chips.
        EXPECT_NEAR(2.0 * static_cast<double>(stack), answer.EvEquilibrium[0] + answer.EvEquilibrium[1],
                    1e-9);
    }
}

TEST(Equilibrium, HeadsUpThresholds)
{
    // T3s is shoved by the small blind up to 7.7 big blinds, Q2o called by
    // the big blind up to 5.6 (within 0.3): played 0.3 below, not 0.3 above,
    // at the default tolerance.
    struct Row
    {
        const char *Hand;
        size_t Decision;
        int64_t Stack; // chips, big blind 100
        bool Played;
    };
    const Row rows[] = {
        {"T3s", 0, 740, true},
        {"T3s", 0, 800, false},
        {"Q2o", 1, 530, true},
        {"Q2o", 1, 590, false},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(std::string(row.Hand) + " at " + std::to_string(row.Stack));
        const ostrel::NashAnswer answer = Solve(Table({row.Stack, row.Stack}, 0, 50, 100), true, 0.0);
        const double f = answer.Decisions[row.Decision].Frequency[static_cast<size_t>(ClassOf(row.Hand))];
        EXPECT_EQ(row.Played, f > 0.5) << f;
    }
}

// The frequencies of every decision agree within `tolerance`.
void ExpectSameStrategies(const ostrel::NashAnswer &a, const ostrel::NashAnswer &b, double tolerance)
{
    ASSERT_EQ(a.Decisions.size(), b.Decisions.size());
    for (size_t n = 0; n < a.Decisions.size(); ++n)
        for (size_t c = 0; c < ostrel::cards::ClassCount; ++c)
            ASSERT_NEAR(a.Decisions[n].Frequency[c], b.Decisions[n].Frequency[c], tolerance)
                << "decision " << n << " class " << ostrel::cards::ClassName(static_cast<int>(c));
}

TEST(Equilibrium, IcmIsChipEvWhenLinear)
{
    // Two players left, any ladder: $EV = p2 + (p1 - p2) * stack / total;
    // winner-take-all, any number of players: $EV = p1 * stack / total. The
    // values are the chips' times a factor, so with the tolerance scaled by
    // it every round's best responses, and so the strategies, are chip EV's.
    struct Row
    {
        Stacks Chips;
        std::vector<double> Prizes;
        double P1MinusP2;
    };
    const Row rows[] = {
        {{1500, 900}, {65, 35}, 30},    {{2000, 400}, {50, 30, 20}, 20},      {{700, 1300}, {100}, 100},
        {{1500, 900, 600}, {100}, 100}, {{800, 1200, 1000, 600}, {100}, 100},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Chips.size());
        const ostrel::HandField field = Table(row.Chips, 0, 50, 100, row.Prizes);
        double total = 0.0;
        for (int64_t s : row.Chips)
            total += static_cast<double>(s);
        const double chipTolerance = 1.0; // 0.01 big blind
        const ostrel::NashAnswer chips = Solve(field, true, chipTolerance);
        const ostrel::NashAnswer money = Solve(field, false, chipTolerance * row.P1MinusP2 / total);
        EXPECT_EQ(chips.Iterations, money.Iterations);
        ExpectSameStrategies(chips, money, 1e-9);
        EXPECT_NEAR(chips.Exploitability * row.P1MinusP2 / total, money.Exploitability, 1e-9);
    }
}

// The spot's EVs of every class against the others' strategies as ranges.
ostrel::SpotAnswer SpotOf(const ostrel::HandField &field, bool chipEv, size_t hero, ostrel::SpotAction action,
                          size_t shover,
                          const std::vector<std::pair<size_t, const ostrel::NashDecision *>> &ranges,
                          const ostrel::NashDecision *overcall = nullptr)
{
    ostrel::SpotQuestion question;
    question.Sampling.Draws = 30000; // five times the spot's default: a fifth of the variance
    question.Hero = hero;
    question.Action = action;
    question.Shover = shover;
    question.Ranges.assign(field.Table.Stacks.size(), std::nullopt);
    question.Overcalls.assign(field.Table.Stacks.size(), std::nullopt);
    for (const auto &one : ranges)
    {
        ostrel::cards::Range range;
        for (int c = 0; c < ostrel::cards::ClassCount; ++c)
            ostrel::cards::SetClass(range, c, one.second->Frequency[static_cast<size_t>(c)]);
        question.Ranges[one.first] = range;
    }
    if (overcall != nullptr)
    {
        ostrel::cards::Range range;
        for (int c = 0; c < ostrel::cards::ClassCount; ++c)
            ostrel::cards::SetClass(range, c, overcall->Frequency[static_cast<size_t>(c)]);
        question.Overcalls[overcall->Seat] = range;
    }
    ostrel::SpotSolver solver;
    ostrel::Status status = solver.Open(field, BySubsets, chipEv, question);
    EXPECT_TRUE(status.Ok) << status.Message;
    ostrel::SpotAnswer answer;
    status = solver.Solve(answer);
    EXPECT_TRUE(status.Ok) << status.Message;
    return answer;
}

TEST(Equilibrium, HeadsUpExploitabilityByTheSpot)
{
    // Each player's best response computed by the spot against the other's
    // returned strategy: the most he gains is the exploitability reported,
    // and it is below the tolerance.
    struct Row
    {
        Stacks Chips;
        bool ChipEv;
        std::vector<double> Prizes;
    };
    const Row rows[] = {{{1000, 1000}, true, {}}, {{1200, 500}, false, {70, 30}}, {{300, 2500}, true, {}}};
    for (const Row &row : rows)
    {
        const ostrel::HandField field = Table(row.Chips, 0, 50, 100, row.Prizes);
        const ostrel::NashAnswer answer = Solve(field, row.ChipEv, 0.0);
        ASSERT_TRUE(answer.Converged);
        const ostrel::NashDecision &shove = answer.Decisions[0], &call = answer.Decisions[1];
        // The small blind (the button) first in, against the big blind's calls.
        const ostrel::SpotAnswer sb =
            SpotOf(field, row.ChipEv, 0, ostrel::SpotAction::FirstIn, ostrel::NoSeat, {{1, &call}});
        double gainSb = 0.0;
        for (size_t c = 0; c < ostrel::cards::ClassCount; ++c)
        {
            const ostrel::SpotClass &one = sb.Classes[c];
            const double f = shove.Frequency[c];
            gainSb += one.Combos / 1326.0 *
                      (std::max(one.EvPlay, one.EvFold) - (f * one.EvPlay + (1.0 - f) * one.EvFold));
        }
        // The big blind facing the shove: a class's chance to be there is
        // its combos with card removal times the shoving range's weight.
        const ostrel::SpotAnswer bb =
            SpotOf(field, row.ChipEv, 1, ostrel::SpotAction::Call, 0, {{0, &shove}});
        double total = 0.0;
        for (int c = 0; c < ostrel::cards::ClassCount; ++c)
            total += shove.Frequency[static_cast<size_t>(c)] * ostrel::cards::ComboCountOfClass(c);
        double gainBb = 0.0;
        for (size_t c = 0; c < ostrel::cards::ClassCount; ++c)
        {
            const ostrel::SpotClass &one = bb.Classes[c];
            if (!std::isfinite(one.EvPlay))
                continue;
            const double f = call.Frequency[c];
            gainBb += one.Combos * total / (1326.0 * 1326.0) *
                      (std::max(one.EvPlay, one.EvFold) - (f * one.EvPlay + (1.0 - f) * one.EvFold));
        }
        const double scale = std::max(1.0, answer.Pool);
        EXPECT_NEAR(gainSb, answer.Gain[0], 1e-9 * scale);
        EXPECT_NEAR(gainBb, answer.Gain[1], 1e-9 * scale);
        EXPECT_LT(std::max(gainSb, gainBb), answer.Tolerance);
        EXPECT_NEAR(std::max(gainSb, gainBb), answer.Exploitability, 1e-9 * scale);
        // The values at equilibrium against the values before the hand: the
        // spot's fold for the small blind is the walk of his blind.
        double sbValue = 0.0;
        for (size_t c = 0; c < ostrel::cards::ClassCount; ++c)
        {
            const ostrel::SpotClass &one = sb.Classes[c];
            const double f = shove.Frequency[c];
            sbValue += one.Combos / 1326.0 * (f * one.EvPlay + (1.0 - f) * one.EvFold);
        }
        EXPECT_NEAR(sbValue, answer.EvEquilibrium[0], 1e-9 * scale);
    }
}

// A best response's gain from the spot's EVs: `reach` is the chance the
// decision is reached at all, and facing a shove a class's chance to be
// there is its combos with card removal times the shoving range's weight.
// `error` gets the gain's error bound from the spot's draws: five standard
// errors of each class's EV, weighted alike.
double SpotGain(const ostrel::SpotAnswer &spot, const std::array<double, ostrel::cards::ClassCount> &played,
                double reach, double shoveWeight, double &error)
{
    double gain = 0.0;
    error = 0.0;
    for (size_t c = 0; c < ostrel::cards::ClassCount; ++c)
    {
        const ostrel::SpotClass &one = spot.Classes[c];
        if (!std::isfinite(one.EvPlay))
            continue;
        const double chance =
            shoveWeight > 0.0 ? one.Combos * shoveWeight / (1326.0 * 1326.0) : one.Combos / 1326.0;
        const double f = played[c];
        gain +=
            reach * chance * (std::max(one.EvPlay, one.EvFold) - (f * one.EvPlay + (1.0 - f) * one.EvFold));
        error += reach * chance * 5.0 * one.Error;
    }
    return gain;
}

TEST(Equilibrium, ThreeHandedChipEvGainsByTheSpot)
{
    // Chip EV, three players: every decision but the overcall is a spot
    // (folding first in is worth one's own chips in both models). The
    // spot's best responses against the returned strategies gain no more
    // than the tolerance, up to the three-way draws' error of either. The
    // big blind facing the button's shove after the small blind folded sees
    // the button's range weighted by that fold: P(fold | button's class)
    // from the preflop table's pair counts.
    const ostrel::HandField field = Table({5000, 3000, 2000}, 0, 100, 200);
    const ostrel::NashAnswer answer = Solve(field, true, 0.0, 2, ostrel::NashOptions().DrawsPerClass);
    ASSERT_TRUE(answer.Converged);
    const auto &d = answer.Decisions;
    ASSERT_EQ(6u, d.size());
    auto weight = [](const std::array<double, ostrel::cards::ClassCount> &f) {
        double total = 0.0;
        for (int c = 0; c < ostrel::cards::ClassCount; ++c)
            total += f[static_cast<size_t>(c)] * ostrel::cards::ComboCountOfClass(c);
        return total;
    };
    // The button's shoves that the small blind folds to.
    ostrel::NashDecision folded = d[0];
    for (int a = 0; a < ostrel::cards::ClassCount; ++a)
    {
        double calls = 0.0;
        for (int b = 0; b < ostrel::cards::ClassCount; ++b)
        {
            const ostrel::cards::MatchupCounts m = ostrel::cards::ClassVsClass(a, b);
            calls += static_cast<double>(m.Showdowns / ostrel::cards::PreflopBoards) /
                     (ostrel::cards::ComboCountOfClass(a) * 1225.0) * d[2].Frequency[static_cast<size_t>(b)];
        }
        folded.Frequency[static_cast<size_t>(a)] *= 1.0 - calls;
    }
    const double buttonFolds = 1.0 - d[0].Share;
    const ostrel::SpotAnswer button =
        SpotOf(field, true, 0, ostrel::SpotAction::FirstIn, ostrel::NoSeat, {{1, &d[2]}, {2, &d[3]}}, &d[5]);
    const ostrel::SpotAnswer small =
        SpotOf(field, true, 1, ostrel::SpotAction::FirstIn, ostrel::NoSeat, {{2, &d[4]}});
    const ostrel::SpotAnswer smallCalls =
        SpotOf(field, true, 1, ostrel::SpotAction::Call, 0, {{0, &d[0]}, {2, &d[3]}}, &d[5]);
    const ostrel::SpotAnswer bigCallsButton =
        SpotOf(field, true, 2, ostrel::SpotAction::Call, 0, {{0, &folded}});
    const ostrel::SpotAnswer bigCallsSmall =
        SpotOf(field, true, 2, ostrel::SpotAction::Call, 1, {{1, &d[1]}});
    double errors[5] = {};
    const double gains[] = {
        SpotGain(button, d[0].Frequency, 1.0, 0.0, errors[0]),
        SpotGain(small, d[1].Frequency, buttonFolds, 0.0, errors[1]),
        SpotGain(smallCalls, d[2].Frequency, 1.0, weight(d[0].Frequency), errors[2]),
        SpotGain(bigCallsButton, d[3].Frequency, 1.0, weight(folded.Frequency), errors[3]),
        SpotGain(bigCallsSmall, d[4].Frequency, buttonFolds, weight(d[1].Frequency), errors[4]),
    };
    EXPECT_EQ(0.0, errors[1] + errors[3] + errors[4]); // heads-up: exact
    const size_t owner[] = {0, 1, 1, 2, 2};
    double bySeat[3] = {0.0, 0.0, 0.0}, errorBySeat[3] = {0.0, 0.0, 0.0};
    for (size_t i = 0; i < 5; ++i)
    {
        const double error = errors[i] + answer.DrawError;
        EXPECT_LT(gains[i], answer.Tolerance + error) << "decision " << i;
        bySeat[owner[i]] += gains[i];
        errorBySeat[owner[i]] += error;
    }
    // A seat's gains in these decisions are part of his gain in all.
    for (size_t seat = 0; seat < 3; ++seat)
        EXPECT_LT(bySeat[seat], answer.Gain[seat] + errorBySeat[seat] + 1e-9) << "seat " << seat + 1;
}

TEST(Equilibrium, ThreeHandedGainsBelowToleranceAndThreadsAgree)
{
    // Three players with overcalls: converged, the gains recomputed on the
    // same draws from the returned strategies are the ones reported, the
    // values at equilibrium sum to the pool, and any thread count gives the
    // same numbers.
    const ostrel::HandField field = Table({2000, 1500, 1000}, 0, 50, 100, {50, 30, 20});
    const ostrel::NashAnswer one = Solve(field, false, 0.0, 1);
    const ostrel::NashAnswer two = Solve(field, false, 0.0, 3);
    ASSERT_TRUE(one.Converged);
    EXPECT_EQ(6u, one.Decisions.size()); // two shoves, three calls, one overcall
    EXPECT_LT(one.Exploitability, one.Tolerance);
    EXPECT_GT(one.Draws, 0u);
    EXPECT_EQ(one.Iterations, two.Iterations);
    ExpectSameStrategies(one, two, 0.0);
    EXPECT_EQ(one.Exploitability, two.Exploitability);
    double sum = 0.0;
    for (double ev : one.EvEquilibrium)
        sum += ev;
    EXPECT_NEAR(100.0, sum, 1e-9);
    ostrel::NashOptions options;
    options.DrawsPerClass = 200;
    std::vector<double> gain, ev;
    ASSERT_TRUE(ostrel::NashGains(field, BySubsets, false, options, one.Decisions, gain, ev).Ok);
    for (size_t seat = 0; seat < 3; ++seat)
    {
        EXPECT_EQ(one.Gain[seat], gain[seat]);
        EXPECT_EQ(one.EvEquilibrium[seat], ev[seat]);
    }
}

TEST(Equilibrium, ReportedExploitabilityIsMeasuredOnTheReportedStrategies)
{
    // Six and four players, ICM: the exploitability reported is that of the
    // strategies reported (NashGains draws the same sets from them), and an
    // independent set of draws moves the values by less than the tolerance.
    struct Row
    {
        Stacks Chips;
        std::vector<double> Prizes;
    };
    const Row rows[] = {
        {{9000, 4000, 2500, 7000, 3000, 1200}, {50, 30, 20}},
        {{3000, 1800, 2500, 2200}, {60, 40}},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Chips.size());
        const ostrel::HandField field = Table(row.Chips, 0, 100, 200, row.Prizes);
        const ostrel::NashAnswer answer = Solve(field, false, 0.0, 2, 1200);
        ASSERT_TRUE(answer.Converged);
        EXPECT_LT(answer.Exploitability, answer.Tolerance);
        EXPECT_LT(answer.DrawError, answer.Tolerance);
        // No residue of early rounds: pure, or a mix in hundredths as printed.
        for (const ostrel::NashDecision &d : answer.Decisions)
            for (double f : d.Frequency)
                EXPECT_TRUE(f == 0.0 || f == 1.0 ||
                            (f >= 0.02 && f <= 0.98 && std::fabs(f * 100.0 - std::round(f * 100.0)) < 1e-9))
                    << f;
        ostrel::NashOptions options;
        options.DrawsPerClass = 1200;
        std::vector<double> gain, ev;
        ASSERT_TRUE(ostrel::NashGains(field, BySubsets, false, options, answer.Decisions, gain, ev).Ok);
        EXPECT_EQ(answer.Exploitability, *std::max_element(gain.begin(), gain.end()));
        EXPECT_EQ(answer.EvEquilibrium, ev);
    }
}

TEST(Equilibrium, Refusals)
{
    struct Row
    {
        ostrel::HandField Field;
        double Tolerance;
        uint64_t Iterations;
        const char *Says;
    };
    const Row rows[] = {
        {Table({1000}, 0, 50, 100, {100}), 0.0, 10, "two"},
        {Table({1000, 50, 60, 800}, 0, 50, 100, {50, 50}), 0.0, 10, "seats 2 and 3 are both all in"},
        {Table({50, 1000}, 0, 50, 100, {100}), 0.0, 10, "nobody has one"},
        {Table({1000, 1000}, 0, 50, 100, {100}), -1.0, 10, "tolerance"},
        {Table({1000, 1000}, 0, 50, 100, {100}), 0.0, 0, "iterations"},
        {Table({1000, 1000}, 0, 100, 50, {100}), 0.0, 10, "blind"},
    };
    for (const Row &row : rows)
    {
        ostrel::NashOptions options;
        options.Tolerance = row.Tolerance;
        options.MaxIterations = row.Iterations;
        ostrel::NashAnswer answer;
        const ostrel::Status status = ostrel::SolveNash(row.Field, BySubsets, false, options, answer);
        EXPECT_FALSE(status.Ok) << row.Says;
        EXPECT_NE(std::string::npos, status.Message.find(row.Says)) << status.Message;
    }
}

} // namespace

TEST(Equilibrium, EstimateGrowsWithTheDrawsAndThePlayers)
{
    // Linear in the draws past the start (so that the most draws within a
    // limit follow by a rule of three), growing with the players, falling
    // with the threads; heads-up, exact, well under a second.
    ostrel::NashOptions options;
    EXPECT_LT(ostrel::EstimatedNashSeconds(2, options), 1.0);
    double last = 0.0;
    for (size_t players = 3; players <= 10; ++players)
    {
        SCOPED_TRACE(players);
        ostrel::NashOptions more = options;
        more.DrawsPerClass = 4 * options.DrawsPerClass;
        const double base = ostrel::EstimatedNashSeconds(players, options);
        EXPECT_NEAR(4.0 * (base - 0.2), ostrel::EstimatedNashSeconds(players, more) - 0.2, 1e-9 * base);
        ostrel::NashOptions two = options;
        two.Threads = 2;
        EXPECT_LT(ostrel::EstimatedNashSeconds(players, two), base);
        if (players > 6) // past the polish, which the tables of up to five add
            EXPECT_GT(base, last);
        last = base;
    }
    // The default ten-seat table: seconds, not minutes.
    EXPECT_LT(ostrel::EstimatedNashSeconds(10, options), 60.0);
}
