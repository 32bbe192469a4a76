// The spot against what must hold: the heads-up chip EV closed form with the
// equity from the cards library, ICM's linearity with two players left (and
// with a winner-take-all ladder), the README's example worked by hand, the
// three-way draws against exact enumeration, and the refusals. One file
// past 700 lines: its tables share the fixtures at its top, and each table
// reads alone.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "equilibrium.h"
#include "equity.h"
#include "preflop.h"
#include "spot.h"
#include "subset_method.h"
#include "suit_symmetry.h"

namespace
{

using Stacks = std::vector<int64_t>;
using RangeTexts = std::map<size_t, std::string>; // by 1-based seat

const ostrel::FieldEquity BySubsets = [](const ostrel::Field &field, double *equities) {
    return ostrel::SubsetEquities(field, equities, nullptr);
};

ostrel::cards::Range RangeOf(const std::string &text)
{
    ostrel::cards::Range range;
    EXPECT_TRUE(ostrel::cards::ParseRange(text, range).Ok) << text;
    return range;
}

int ComboOf(const char *text)
{
    std::vector<ostrel::cards::Card> cards;
    EXPECT_TRUE(ostrel::cards::ParseCards(text, cards).Ok);
    return ostrel::cards::ComboIndex(cards[0], cards[1]);
}

struct Table
{
    Stacks Seats;
    size_t Button; // 1-based
    int64_t SmallBlind, BigBlind, Ante;
    bool BigBlindAnte;
    Stacks Others;
    std::vector<double> Prizes;
};

ostrel::HandField FieldOf(const Table &table)
{
    ostrel::HandField field;
    field.Table.Stacks = table.Seats;
    field.Table.Button = table.Button - 1;
    field.Table.SmallBlind = table.SmallBlind;
    field.Table.BigBlind = table.BigBlind;
    field.Table.Ante = table.Ante;
    field.Table.BigBlindAnte = table.BigBlindAnte;
    field.Others = table.Others;
    field.Prizes = table.Prizes;
    return field;
}

ostrel::SpotQuestion QuestionOf(size_t hero, size_t shover, const RangeTexts &ranges, const RangeTexts &overcalls,
                                size_t seats)
{
    ostrel::SpotQuestion question;
    question.Hero = hero - 1;
    question.Action = shover == 0 ? ostrel::SpotAction::FirstIn : ostrel::SpotAction::Call;
    question.Shover = shover == 0 ? ostrel::NoSeat : shover - 1;
    question.Ranges.resize(seats);
    question.Overcalls.resize(seats);
    question.Shoves.resize(seats);
    for (const auto &range : ranges)
        question.Ranges[range.first - 1] = RangeOf(range.second);
    for (const auto &range : overcalls)
        question.Overcalls[range.first - 1] = RangeOf(range.second);
    return question;
}

ostrel::SpotAnswer Solve(const Table &table, bool chipEv, const ostrel::SpotQuestion &question)
{
    ostrel::SpotSolver solver;
    const ostrel::Status opened = solver.Open(FieldOf(table), BySubsets, chipEv, question);
    EXPECT_TRUE(opened.Ok) << opened.Message;
    ostrel::SpotAnswer answer;
    const ostrel::Status solved = solver.Solve(answer);
    EXPECT_TRUE(solved.Ok) << solved.Message;
    return answer;
}

TEST(Spot, ChipEvCallIsEquityTimesThePotLessTheCall)
{
    // The big blind facing a shove, no one after him: calling is worth
    // equity * (pot after the call) - (chips the call adds) more than folding.
    // Pots worked by hand from the posting; every pot even, so a split has no odd chip.
    struct Row
    {
        const char *Name;
        Table Hand;
        size_t Hero, Shover;
        const char *Range;
        double Pot, Adds;
    };
    const Row rows[] = {
        {"heads-up, the big blind covers: 2 * 2990 + 20", {{3000, 5000}, 1, 50, 100, 10, false, {}, {}}, 2, 1,
         "22+, A2s+, K9o+", 6000, 2890},
        {"heads-up, the shover covers: 2 * 1490 + 20", {{8000, 1500}, 1, 50, 100, 10, false, {}, {}}, 2, 1,
         "random", 3000, 1390},
        {"button shoves, the small blind's 50 folded", {{4000, 2000, 2500}, 1, 50, 100, 0, false, {}, {}}, 3, 1,
         "55+, A8+, KQ", 5050, 2400},
        {"big-blind ante: 2 * 3900 + 100", {{6000, 4000}, 1, 50, 100, 100, true, {}, {}}, 2, 1, "AhKh, QQ+, 72o",
         7900, 3800},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        const ostrel::SpotAnswer answer =
            Solve(row.Hand, true, QuestionOf(row.Hero, row.Shover, {{row.Shover, row.Range}}, {}, row.Hand.Seats.size()));
        EXPECT_EQ(answer.Draws, 0u);
        const ostrel::cards::Range range = RangeOf(row.Range);
        for (int c = 0; c < ostrel::cards::ClassCount; ++c)
        {
            ostrel::cards::HeadsUpEquity equity;
            ASSERT_TRUE(ostrel::cards::ClassVsRange(c, range, equity).Ok);
            const ostrel::SpotClass &one = answer.Classes[static_cast<size_t>(c)];
            EXPECT_NEAR(one.EvPlay - one.EvFold, equity.Equity * row.Pot - row.Adds, 1e-9 * row.Pot)
                << ostrel::cards::ClassName(c);
        }
    }
}

TEST(Spot, ABigBlindAllInFromPostingIsInThePotWithAnyHand)
{
    // Heads-up, the big blind has 150 of his 200: the small blind's shove
    // meets all of his hands. Pot 2 * 150; the shove adds 50 to the 100
    // posted; a fold leaves the big blind the small blind's 100.
    const Table table = {{5000, 150}, 1, 100, 200, 0, false, {}, {}};
    const ostrel::SpotAnswer answer = Solve(table, true, QuestionOf(1, 0, {}, {}, 2));
    const ostrel::cards::Range random = RangeOf("random");
    for (int c = 0; c < ostrel::cards::ClassCount; ++c)
    {
        ostrel::cards::HeadsUpEquity equity;
        ASSERT_TRUE(ostrel::cards::ClassVsRange(c, random, equity).Ok);
        const ostrel::SpotClass &one = answer.Classes[static_cast<size_t>(c)];
        EXPECT_EQ(one.EvFold, 4900.0);
        EXPECT_NEAR(one.EvPlay - one.EvFold, equity.Equity * 300.0 - 50.0, 1e-9) << ostrel::cards::ClassName(c);
    }
    // He takes no range.
    ostrel::SpotSolver solver;
    EXPECT_FALSE(solver.Open(FieldOf(table), BySubsets, true, QuestionOf(1, 0, {{2, "AA"}}, {}, 2)).Ok);
}

double IcmThree(double a, double b, double c, int who)
{
    // Malmuth-Harville with 50, 30, 20 written out for three players.
    const double s[3] = {a, b, c};
    const double total = a + b + c;
    double second = 0.0;
    for (int j = 0; j < 3; ++j)
        if (j != who)
            second += s[j] / total * s[who] / (total - s[j]);
    const double first = s[who] / total;
    return 50.0 * first + 30.0 * second + 20.0 * (1.0 - first - second);
}

TEST(Spot, AShortBigBlindsWalkGivesBackTheUnmatchedSmallBlind)
{
    // The big blind is all in for 60 of his 200; everyone folds to him: he
    // wins 60 of the small blind's 100, the other 40 go back. Worked by hand.
    struct Row
    {
        const char *Name;
        Table Hand;
        bool ChipEv;
        size_t Hero;
        double Fold;
    };
    const Row rows[] = {
        {"heads-up, chips: 2940", {{3000, 60}, 1, 100, 200, 0, false, {}, {}}, true, 1, 2940.0},
        {"heads-up with antes of 10, chips: 2940", {{3000, 60}, 1, 100, 200, 10, false, {}, {}}, true, 1, 2940.0},
        {"three-handed, ICM of 5000, 2940, 120", {{5000, 3000, 60}, 1, 100, 200, 0, false, {}, {50, 30, 20}}, false,
         2, IcmThree(5000, 2940, 120, 1)},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        const ostrel::SpotAnswer answer =
            Solve(row.Hand, row.ChipEv, QuestionOf(row.Hero, 0, {}, {}, row.Hand.Seats.size()));
        for (const ostrel::SpotClass &one : answer.Classes)
            EXPECT_NEAR(one.EvFold, row.Fold, 1e-12);
    }
}

// The same spot under a ladder and under chip EV: every difference scales by `factor`.
void ExpectScaled(const Table &table, const ostrel::SpotQuestion &question, double factor)
{
    const ostrel::SpotAnswer money = Solve(table, false, question);
    const ostrel::SpotAnswer chips = Solve(table, true, question);
    for (int c = 0; c < ostrel::cards::ClassCount; ++c)
    {
        const ostrel::SpotClass &m = money.Classes[static_cast<size_t>(c)];
        const ostrel::SpotClass &k = chips.Classes[static_cast<size_t>(c)];
        const double chipDifference = k.EvPlay - k.EvFold;
        EXPECT_NEAR(m.EvPlay - m.EvFold, chipDifference * factor, 1e-9 * std::fabs(chipDifference * factor) + 1e-12)
            << ostrel::cards::ClassName(c);
        EXPECT_EQ(m.EvPlay > m.EvFold, chipDifference > 0.0) << ostrel::cards::ClassName(c);
    }
}

TEST(Spot, TwoPlayersLeftIcmIsChipEvScaled)
{
    // $EV = p2 + (p1 - p2) * stack / total: differences scale by (p1 - p2) / total.
    struct Row
    {
        Stacks Seats;
        std::vector<double> Prizes;
        size_t Hero, Shover, Ranged; // Ranged: the seat whose range is given
        const char *Range;
        double Total;
    };
    const Row rows[] = {
        {{3000, 5000}, {60, 40}, 1, 0, 2, "22+, A2+, K5+, Q8+, J9+", 8000},
        {{3000, 5000}, {70, 30, 5}, 2, 1, 1, "55+, A7+, KT+", 8000},
        {{1234, 0, 9000}, {1000, 1}, 1, 0, 3, "random", 10234},
        {{7000, 2500}, {10, 9.5}, 2, 1, 1, "TT+, AQ+, 76s", 9500},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Range);
        const Table table = {row.Seats, 1, 50, 100, 10, false, {}, row.Prizes};
        ExpectScaled(table, QuestionOf(row.Hero, row.Shover, {{row.Ranged, row.Range}}, {}, row.Seats.size()),
                     (row.Prizes[0] - row.Prizes[1]) / row.Total);
    }
}

TEST(Spot, WinnerTakeAllIsChipEvScaledForAnyField)
{
    // Four at the table and two elsewhere, with three-way pots drawn: the
    // draws are the same for both valuations, so the scaling is exact.
    const Table table = {{5000, 3000, 2000, 4000}, 4, 100, 200, 25, false, {6000, 1000}, {100}};
    ostrel::SpotQuestion first = QuestionOf(4, 0, {{1, "TT+, AQ+"}, {2, "99+, AJ+"}}, {{2, "QQ+"}}, 4);
    ostrel::SpotQuestion call = QuestionOf(1, 4, {{4, "22+, A2+, KT+"}, {2, "TT+, AK"}}, {{2, "KK+"}}, 4);
    first.Sampling.Draws = call.Sampling.Draws = 200;
    ExpectScaled(table, first, 100.0 / 21000.0);
    ExpectScaled(table, call, 100.0 / 21000.0);
}

TEST(Spot, WorkedExampleByHand)
{
    // 5000, 3000, 2000 for 50, 30, 20; button seat 1, blinds 100/200, ante 25.
    // Posting: seat 1 keeps 4975; seat 2 (small blind) 100 in, 2875 behind;
    // seat 3 (big blind) 200 in, 1775 behind; 75 in antes.
    // Seat 2 shoves AhKd (2975); seat 3 calls QQ+, AK: 21 combos of the 1,225
    // AhKd leaves (QQ 6, KK 3, AA 3, AK 3 * 3).
    // Fold: seat 3 takes 100 + 200 + 75: 4975, 2875, 2150.
    // No call: seat 2 takes 200 + 75: 4975, 3250, 1775.
    // Called, main pot 1975 * 2 + 75 = 4025, seat 2's last 1000 back:
    // wins 4975, 5025, 0 (seat 3 third: 20); loses 4975, 1000, 4025;
    // splits 4025 = 2013 (the odd chip, left of the button) + 2012.
    const Table table = {{5000, 3000, 2000}, 1, 100, 200, 25, false, {}, {50, 30, 20}};
    ostrel::SpotSolver solver;
    ASSERT_TRUE(solver.Open(FieldOf(table), BySubsets, false, QuestionOf(2, 0, {{3, "QQ+, AK"}}, {}, 3)).Ok);
    ostrel::HandBreakdown hand;
    ASSERT_TRUE(solver.Explain(ComboOf("AhKd"), hand).Ok);

    const ostrel::cards::Range calls = RangeOf("QQ+, AK");
    double win = 0.0, tie = 0.0, combos = 0.0;
    for (int villain = 0; villain < ostrel::cards::ComboCount; ++villain)
        if (calls.Weight[static_cast<size_t>(villain)] > 0.0 &&
            (ostrel::cards::ComboMask(villain) & ostrel::cards::ComboMask(ComboOf("AhKd"))) == 0)
        {
            const ostrel::cards::MatchupCounts counts = ostrel::cards::ComboVsCombo(ComboOf("AhKd"), villain);
            win += static_cast<double>(counts.Wins) / static_cast<double>(counts.Showdowns);
            tie += static_cast<double>(counts.Ties) / static_cast<double>(counts.Showdowns);
            combos += 1.0;
        }
    ASSERT_EQ(combos, 21.0);
    win /= 21.0;
    tie /= 21.0;
    const double call = 21.0 / 1225.0;
    const double evFold = IcmThree(4975, 2875, 2150, 1);
    const double evWin = 30.0 + 20.0 * 5025.0 / 10000.0;
    const double evLose = IcmThree(4975, 1000, 4025, 1);
    const double evSplit = IcmThree(4975, 3013, 2012, 1);
    const double evPlay = (1.0 - call) * IcmThree(4975, 3250, 1775, 1) +
                          call * (win * evWin + (1.0 - win - tie) * evLose + tie * evSplit);
    EXPECT_NEAR(hand.EvFold, evFold, 1e-12);
    EXPECT_NEAR(hand.EvPlay, evPlay, 1e-12);
    EXPECT_EQ(hand.Error, 0.0);

    ASSERT_EQ(hand.Fold.size(), 1u);
    EXPECT_EQ(hand.Fold[0].Stacks, (Stacks{4975, 2875, 2150}));
    EXPECT_EQ(hand.Fold[0].Chance, 1.0);
    const std::vector<Stacks> after = {{4975, 3250, 1775}, {4975, 5025, 0}, {4975, 1000, 4025}, {4975, 3013, 2012}};
    const std::vector<double> chances = {1.0 - call, call * win, call * (1.0 - win - tie), call * tie};
    const std::vector<double> values = {IcmThree(4975, 3250, 1775, 1), evWin, evLose, evSplit};
    ASSERT_EQ(hand.Play.size(), after.size());
    for (size_t o = 0; o < after.size(); ++o)
    {
        EXPECT_EQ(hand.Play[o].Stacks, after[o]) << o;
        EXPECT_NEAR(hand.Play[o].Chance, chances[o], 1e-15) << o;
        EXPECT_NEAR(hand.Play[o].Value, values[o], 1e-12) << o;
    }
}

TEST(Spot, EquityNeededToCall)
{
    // The big blind's call of the worked example's shove: chips needed = the
    // call over the pot after it, 1775 / 4025; under ICM the fold, win and
    // loss values of the three-player formula.
    const Table table = {{5000, 3000, 2000}, 1, 100, 200, 25, false, {}, {50, 30, 20}};
    ostrel::SpotSolver solver;
    ASSERT_TRUE(solver.Open(FieldOf(table), BySubsets, false, QuestionOf(3, 2, {{2, "22+, A2+, K9+"}}, {}, 3)).Ok);
    ostrel::HandBreakdown hand;
    ASSERT_TRUE(solver.Explain(ComboOf("AhKd"), hand).Ok);
    ASSERT_TRUE(hand.Needed);
    EXPECT_NEAR(hand.NeededChips, 1775.0 / 4025.0, 1e-15);
    const double fold = IcmThree(4975, 3250, 1775, 2);
    const double lose = 20.0;
    const double win = IcmThree(4975, 1000, 4025, 2);
    EXPECT_NEAR(hand.NeededValue, (fold - lose) / (win - lose), 1e-12);
    ostrel::cards::HeadsUpEquity equity;
    ostrel::cards::Range one;
    one.Weight[static_cast<size_t>(ComboOf("AhKd"))] = 1.0;
    ASSERT_TRUE(ostrel::cards::HeadsUpPreflop(one, RangeOf("22+, A2+, K9+"), equity).Ok);
    EXPECT_NEAR(hand.Equity, equity.Equity, 1e-12);
}

TEST(Spot, OneComboPerClassIsEveryCombo)
{
    // Suit symmetry: the class's first combo stands for all of them. Exact
    // where every pot is heads-up; within the draws' error with three-way pots.
    struct Row
    {
        const char *Name;
        Table Hand;
        size_t Hero, Shover;
        RangeTexts Ranges, Overcalls;
        uint64_t Draws;
    };
    const Table four = {{5000, 3000, 2000, 4000}, 4, 100, 200, 25, false, {}, {50, 30, 20}};
    const Row rows[] = {
        {"first in against one caller", four, 1, 0, {{2, "TT+, AJ+, KQs"}}, {}, 0},
        {"a call, one player after", four, 1, 4, {{4, "22+, A2+, K9+"}, {2, "QQ+, AK"}}, {{2, "KK+"}}, 3000},
        {"first in against two", four, 4, 0, {{1, "TT+, AQ+"}, {2, "99+, AJ+"}}, {{2, "QQ+"}}, 3000},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        ostrel::SpotQuestion question = QuestionOf(row.Hero, row.Shover, row.Ranges, row.Overcalls, 4);
        question.Sampling.Draws = row.Draws;
        const ostrel::SpotAnswer reduced = Solve(row.Hand, false, question);
        question.SuitSymmetry = false;
        const ostrel::SpotAnswer every = Solve(row.Hand, false, question);
        for (int c = 0; c < ostrel::cards::ClassCount; ++c)
        {
            const ostrel::SpotClass &a = reduced.Classes[static_cast<size_t>(c)];
            const ostrel::SpotClass &b = every.Classes[static_cast<size_t>(c)];
            const double error = 5.0 * std::hypot(a.Error, b.Error) + 1e-12;
            EXPECT_NEAR(a.Combos, b.Combos, 1e-12) << ostrel::cards::ClassName(c);
            EXPECT_NEAR(a.EvFold, b.EvFold, error) << ostrel::cards::ClassName(c);
            EXPECT_NEAR(a.EvPlay, b.EvPlay, error) << ostrel::cards::ClassName(c);
        }
    }
}

TEST(HandLines, ThreeWayDrawsAgreeWithExactEnumeration)
{
    struct Row
    {
        const char *Shover, *Caller, *Overcaller;
    };
    const Row rows[] = {{"AhKd", "QsQc", "7h6h"}, {"2c2d", "AsKs", "JhTh"}, {"AcAd", "AhKh", "KdQd"}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Shover);
        const ostrel::cards::Range callRange = RangeOf(row.Caller), overRange = RangeOf(row.Overcaller);
        const ostrel::RangeTable call = ostrel::TableOfRange(callRange), over = ostrel::TableOfRange(overRange);
        ostrel::Line line;
        line.Shover = 0;
        line.After = {{1, &call, nullptr, -1, {}, -1}, {2, nullptr, &over, -1, {}, -1}};
        ostrel::LineOptions options;
        options.Draws = 200000;
        ostrel::LineChances chances;
        ostrel::LineChancesOf(line, {{ComboOf(row.Shover), 1.0}}, options, chances);
        const double mass = 1.0 / 1225.0 / 1128.0;
        ASSERT_EQ(chances.Sampled.size(), 1u);
        EXPECT_NEAR(chances.Sampled[0].Mass, mass, 1e-18);
        EXPECT_NEAR(chances.Chance[0], 1.0 - 1.0 / 1225.0, 1e-15);
        double sum = 0.0;
        for (double chance : chances.Chance)
            sum += chance;
        EXPECT_NEAR(sum, 1.0, 1e-14);

        ostrel::cards::EquityRequest request;
        request.Players = {RangeOf(row.Shover), callRange, overRange};
        request.Method = ostrel::cards::EquityMethod::Exact;
        ostrel::cards::EquityResult exact;
        ASSERT_TRUE(ostrel::cards::AllInEquity(request, exact).Ok);
        // Each player alone the best: the finishes where his rank is 0 and no one else's.
        const std::vector<ostrel::Showdown> outcomes = ostrel::LineOutcomes(line);
        for (size_t player = 0; player < 3; ++player)
        {
            double alone = 0.0;
            for (size_t o = chances.Sampled[0].First; o < chances.Sampled[0].First + 13; ++o)
            {
                const ostrel::Showdown &pot = outcomes[o];
                bool best = pot.Rank[player] == 0;
                for (size_t other = 0; other < 3; ++other)
                    best = best && (other == player || pot.Rank[other] > 0);
                alone += best ? chances.Chance[o] / mass : 0.0;
            }
            const double p = exact.Players[player].Win;
            EXPECT_NEAR(alone, p, 5.0 * std::sqrt(p * (1.0 - p) / 200000.0) + 1e-9) << "player " << player;
        }
    }
}

TEST(Spot, AFirstInFoldIsTheChanceWeightedSumOfTheLinesAfterIt)
{
    // Button 5000, small blind 3000, big blind 2000; 50, 30, 20. The button
    // folds; the small blind shoves `Shove` and the big blind calls it with
    // his range for that situation. The fold's value is the walk's (the big
    // blind takes 4975, 2875, 2150) for the hands the small blind folds, and
    // for the others his own first-in line, read outcome by outcome from the
    // small blind's spot and valued for the button by the three-player model.
    struct Row
    {
        const char *Name, *Shove, *BigBlindCalls;
    };
    const Row rows[] = {
        {"a wide shove, a tight call", "22+, A2+, K9+, QT+", "TT+, AQ+"},
        {"every hand shoves, a wide call", "random", "22+, A2+, KT+"},
        {"one pair shoves, no call", "77", "AhAd"},
    };
    const Table table = {{5000, 3000, 2000}, 1, 100, 200, 25, false, {}, {50, 30, 20}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        ostrel::SpotQuestion question = QuestionOf(1, 0, {{2, "QQ+, AK"}, {3, "JJ+, AK"}}, {{3, "KK+"}}, 3);
        question.Shoves[1] = RangeOf(row.Shove);
        question.Calls[{2, 1}] = RangeOf(row.BigBlindCalls);
        const ostrel::SpotAnswer answer = Solve(table, false, question);

        ostrel::SpotSolver small;
        ASSERT_TRUE(small.Open(FieldOf(table), BySubsets, false, QuestionOf(2, 0, {{3, row.BigBlindCalls}}, {}, 3)).Ok);
        const ostrel::cards::Range shove = RangeOf(row.Shove);
        double fold = 0.0, shares = 0.0;
        for (int c = 0; c < ostrel::cards::ClassCount; ++c)
        {
            const int combo = ostrel::cards::CanonicalCombo(c);
            const double share = shove.Weight[static_cast<size_t>(combo)] * ostrel::cards::ComboCountOfClass(c) / 1326.0;
            if (!(share > 0.0))
                continue;
            ostrel::HandBreakdown line;
            ASSERT_TRUE(small.Explain(combo, line).Ok);
            for (const ostrel::OutcomeView &one : line.Play)
                fold += share * one.Chance *
                        IcmThree(static_cast<double>(one.Stacks[0]), static_cast<double>(one.Stacks[1]),
                                 static_cast<double>(one.Stacks[2]), 0);
            shares += share;
        }
        fold += (1.0 - shares) * IcmThree(4975, 2875, 2150, 0);
        for (const ostrel::SpotClass &one : answer.Classes)
            EXPECT_NEAR(one.EvFold, fold, 1e-12);
    }
}

TEST(Spot, AFirstInFoldWithoutShovesAfterItIsTheWalk)
{
    // Empty shoving ranges change nothing, to the bit; with chip EV a folded
    // hero keeps his chips less his posts whatever the others do.
    struct Row
    {
        const char *Name;
        Table Hand;
        size_t Hero;
        RangeTexts Ranges, Overcalls, Shoves;
        double ChipsAfterFold;
    };
    const Table five = {{5000, 3000, 2000, 4000, 2500}, 5, 100, 200, 25, false, {}, {50, 30, 20}};
    const Row rows[] = {
        {"under the gun, four after him", five, 3, {{4, "TT+"}, {5, "99+, AK"}, {1, "88+, AQ+"}, {2, "JJ+"}},
         {{5, "QQ+"}, {1, "KK+"}, {2, "AA"}}, {{4, "55+, A9+"}, {5, "22+, A2+, K9+"}, {1, "random"}}, 1975},
        {"the button, the small blind shoves all", five, 5, {{1, "TT+"}, {2, "AJ+, 99+"}}, {{2, "QQ+"}},
         {{1, "random"}}, 2475},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        ostrel::SpotQuestion plain = QuestionOf(row.Hero, 0, row.Ranges, row.Overcalls, row.Hand.Seats.size());
        plain.Sampling.Draws = 600;
        ostrel::SpotQuestion empty = plain, shoving = plain;
        for (const auto &range : row.Shoves)
        {
            empty.Shoves.resize(row.Hand.Seats.size());
            empty.Shoves[range.first - 1] = ostrel::cards::Range();
            shoving.Shoves.resize(row.Hand.Seats.size());
            shoving.Shoves[range.first - 1] = RangeOf(range.second);
        }
        for (bool chipEv : {false, true})
        {
            const ostrel::SpotAnswer before = Solve(row.Hand, chipEv, plain);
            const ostrel::SpotAnswer after = Solve(row.Hand, chipEv, empty);
            for (int c = 0; c < ostrel::cards::ClassCount; ++c)
            {
                EXPECT_EQ(before.Classes[static_cast<size_t>(c)].EvFold, after.Classes[static_cast<size_t>(c)].EvFold);
                EXPECT_EQ(before.Classes[static_cast<size_t>(c)].EvPlay, after.Classes[static_cast<size_t>(c)].EvPlay);
            }
        }
        const ostrel::SpotAnswer chips = Solve(row.Hand, true, shoving);
        EXPECT_NEAR(chips.Classes[0].EvFold, row.ChipsAfterFold, 1e-9);
        EXPECT_NEAR(chips.Classes[0].ChipsFold, row.ChipsAfterFold, 1e-9);
        // Under ICM the others' play moves the folded hero's money.
        EXPECT_NE(Solve(row.Hand, false, shoving).Classes[0].EvFold, Solve(row.Hand, false, plain).Classes[0].EvFold);
    }
}

TEST(Spot, RangesBySituationComeBeforeRangesBySeat)
{
    // Seat 3 shoves, seat 4 folds, seat 1 (the small blind) decides, seat 2
    // (the big blind) is after him. The same ranges given by situation or
    // by seat: the same answer to the bit; by situation a range is taken only
    // where it applies.
    const Table four = {{5000, 3000, 2000, 4000}, 4, 100, 200, 25, false, {}, {50, 30, 20}};
    ostrel::SpotQuestion bySeat =
        QuestionOf(1, 3, {{3, "22+, A2+, K9+"}, {4, "QQ+, AK"}, {2, "TT+"}}, {{2, "QQ+"}}, 4);
    bySeat.Sampling.Draws = 600;
    ostrel::SpotQuestion bySituation = bySeat;
    bySituation.Ranges[3] = bySituation.Ranges[1] = std::nullopt;
    bySituation.Overcalls[1] = std::nullopt;
    bySituation.Calls[{3, 2}] = RangeOf("QQ+, AK");
    bySituation.Calls[{1, 2}] = RangeOf("TT+");
    bySituation.Calls[{1, 0}] = RangeOf("72o"); // not a situation of this spot
    bySituation.OvercallsAfter[{1, 2, 0}] = RangeOf("QQ+");
    const ostrel::SpotAnswer a = Solve(four, false, bySeat);
    const ostrel::SpotAnswer b = Solve(four, false, bySituation);
    for (int c = 0; c < ostrel::cards::ClassCount; ++c)
    {
        EXPECT_EQ(a.Classes[static_cast<size_t>(c)].EvFold, b.Classes[static_cast<size_t>(c)].EvFold);
        EXPECT_EQ(a.Classes[static_cast<size_t>(c)].EvPlay, b.Classes[static_cast<size_t>(c)].EvPlay);
    }
    // The big blind calling seat 3's shove only with AA: the fold changes,
    // the call (where he overcalls) does not.
    bySituation.Calls[{1, 2}] = RangeOf("AA");
    const ostrel::SpotAnswer c = Solve(four, false, bySituation);
    EXPECT_NE(a.Classes[0].EvFold, c.Classes[0].EvFold);
    EXPECT_EQ(a.Classes[0].EvPlay, c.Classes[0].EvPlay);
}

TEST(Spot, ChipEvOvercallIsThreeWayEquityTimesThePot)
{
    // Three players all in for 2000 each, no antes: the pot is 6000, the
    // big blind has 1800 behind to fold with, and his share of a three-way
    // pot is his equity from the cards library (every board enumerated).
    struct Row
    {
        const char *Shove, *Call, *Hero;
    };
    const Row rows[] = {{"AhAd", "KhKd", "QQ"}, {"AsKs", "QcJc", "72o"}, {"8c8d", "AhKh", "T9s"}};
    const Table table = {{2000, 2000, 2000}, 1, 100, 200, 0, false, {}, {}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Hero);
        ostrel::SpotQuestion question = QuestionOf(3, 1, {{1, row.Shove}, {2, row.Call}}, {}, 3);
        question.Action = ostrel::SpotAction::Overcall;
        question.Caller = 1;
        question.Sampling.Draws = 20000;
        const ostrel::SpotAnswer answer = Solve(table, true, question);
        int hero = -1;
        ASSERT_TRUE(ostrel::cards::ParseClassName(row.Hero, hero));
        const ostrel::SpotClass &one = answer.Classes[static_cast<size_t>(hero)];
        ostrel::cards::EquityRequest request;
        request.Players = {RangeOf(row.Shove), RangeOf(row.Call), RangeOf(row.Hero)};
        request.Method = ostrel::cards::EquityMethod::Exact;
        ostrel::cards::EquityResult exact;
        ASSERT_TRUE(ostrel::cards::AllInEquity(request, exact).Ok);
        EXPECT_EQ(one.EvFold, 1800.0);
        EXPECT_GT(one.Error, 0.0);
        EXPECT_NEAR(one.EvPlay, exact.Players[2].Equity * 6000.0, 5.0 * one.Error);
        double combos = 0.0;
        for (const ostrel::SpotClass &each : answer.Classes)
            combos += each.Combos;
        EXPECT_NEAR(combos, 1326.0, 1e-9);
    }
}

TEST(Spot, ChipEvAcesPlayAgainstAnyAllIn)
{
    // AA needs at most a third of a pot it is in and holds more than half
    // against any two ranges: with chip EV it calls and overcalls every shove.
    struct Row
    {
        const char *Name;
        Table Hand;
        size_t Hero, Shover, Caller;
        RangeTexts Ranges, Overcalls;
    };
    const Table four = {{800, 4000, 2500, 1200}, 1, 200, 400, 50, false, {}, {}};
    const Table six = {{9000, 4000, 2500, 7000, 3000, 1200}, 1, 200, 400, 50, false, {}, {}};
    const Row rows[] = {
        {"the small blind overcalls a short shove and call", four, 2, 4, 1, {{4, "22+, A2+, K2+"}, {1, "55+, A7+"}},
         {{3, "KK+"}}},
        {"the big blind overcalls", four, 3, 4, 1, {{4, "22+, A2+"}, {1, "QQ+"}}, {}},
        {"the big blind calls a wide shove", four, 3, 1, 0, {{1, "random"}}, {}},
        {"six-handed, players after the overcall", six, 6, 4, 5, {{4, "AA, KK"}, {5, "QQ+"}},
         {{1, "KK+"}, {2, "QQ+"}, {3, "JJ+"}}},
        {"six-handed, a deep caller behind", six, 2, 5, 6, {{5, "22+, A2+, K7+"}, {6, "88+, AT+"}},
         {{1, "KK+"}, {3, "AA"}}},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        ostrel::SpotQuestion question = QuestionOf(row.Hero, row.Shover, row.Ranges, row.Overcalls, row.Hand.Seats.size());
        if (row.Caller != 0)
        {
            question.Action = ostrel::SpotAction::Overcall;
            question.Caller = row.Caller - 1;
        }
        question.Sampling.Draws = 3000;
        const ostrel::SpotAnswer answer = Solve(row.Hand, true, question);
        const ostrel::SpotClass &aces = answer.Classes[0];
        EXPECT_GT(aces.EvPlay - aces.EvFold, 5.0 * aces.Error);
    }
}

ostrel::SpotQuestion QuestionOfDecision(const ostrel::HandField &field, const ostrel::NashAnswer &answer,
                                        const ostrel::NashDecision &d, uint64_t draws)
{
    ostrel::SpotQuestion question;
    question.Hero = d.Seat;
    question.Action = d.Action == ostrel::NashAction::Shove  ? ostrel::SpotAction::FirstIn
                      : d.Action == ostrel::NashAction::Call ? ostrel::SpotAction::Call
                                                             : ostrel::SpotAction::Overcall;
    question.Shover = d.Versus.size() > 0 ? d.Versus[0] : ostrel::NoSeat;
    question.Caller = d.Versus.size() > 1 ? d.Versus[1] : ostrel::NoSeat;
    question.Sampling.Draws = draws;
    ostrel::TakeNashRanges(field, answer, question);
    return question;
}

TEST(Spot, AgreesWithTheEquilibriumOnEveryDecision)
{
    // Every decision of the equilibrium asked of the spot with the
    // equilibrium's ranges by situation: the two settle the same pots, so
    // where every pot is heads-up each class's value of playing over folding
    // is the same to rounding (the lines after a first-in fold, the
    // shover's hands weighed by the folds between him and the hero, ranges
    // by situation). Decisions with three-way pots are compared only for
    // being asked: the equilibrium states no error per class.
    struct Row
    {
        const char *Name;
        Table Hand;
        bool ChipEv;
    };
    const Row rows[] = {
        {"three-handed chip EV", {{1500, 1000, 500}, 1, 50, 100, 0, false, {}, {}}, true},
        {"three-handed ICM with antes", {{5000, 3000, 2000}, 1, 100, 200, 25, false, {}, {50, 30, 20}}, false},
        {"four-handed chip EV", {{2500, 4000, 1200, 3000}, 1, 100, 200, 25, false, {}, {}}, true},
    };
    const uint64_t draws = 1; // three-way values are not compared: the fewest draws
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        const ostrel::HandField field = FieldOf(row.Hand);
        ostrel::NashAnswer nash;
        ASSERT_TRUE(ostrel::SolveNash(field, BySubsets, row.ChipEv, ostrel::NashOptions(), nash).Ok);
        size_t exact = 0;
        for (const ostrel::NashDecision &d : nash.Decisions)
        {
            // An overcaller with players after him: his fold is the equilibrium's open fault.
            if (d.Action == ostrel::NashAction::Overcall && d.Seat != nash.Order.back())
                continue;
            SCOPED_TRACE("seat " + std::to_string(d.Seat + 1) + ", action " + std::to_string(static_cast<int>(d.Action)));
            ostrel::SpotSolver solver;
            const ostrel::Status opened =
                solver.Open(field, BySubsets, row.ChipEv, QuestionOfDecision(field, nash, d, draws));
            ASSERT_TRUE(opened.Ok) << opened.Message;
            ostrel::SpotAnswer spot;
            ASSERT_TRUE(solver.Solve(spot).Ok);
            exact += spot.Draws == 0 ? 1 : 0;
            for (size_t c = 0; c < ostrel::cards::ClassCount; ++c)
            {
                const ostrel::SpotClass &one = spot.Classes[c];
                if (!std::isfinite(d.Advantage[c]))
                    continue;
                ASSERT_TRUE(std::isfinite(one.EvPlay)) << ostrel::cards::ClassName(static_cast<int>(c));
                if (spot.Draws == 0)
                {
                    EXPECT_NEAR(one.EvPlay - one.EvFold, d.Advantage[c], 1e-9 * nash.Pool)
                        << ostrel::cards::ClassName(static_cast<int>(c));
                }
            }
        }
        EXPECT_GE(exact, 3u);
    }
}

TEST(Spot, RefusesWhatCannotBeAsked)
{
    struct Row
    {
        const char *Name;
        Table Hand;
        size_t Hero, Shover;
        RangeTexts Ranges, Overcalls;
        const char *Says;
    };
    const Table three = {{5000, 3000, 2000}, 1, 100, 200, 0, false, {}, {50, 30, 20}};
    const Table shortBlind = {{5000, 3000, 150}, 1, 100, 200, 0, false, {}, {50, 30, 20}};
    const Table shortStack = {{5000, 3000, 2000, 150}, 1, 100, 200, 0, false, {}, {50, 30, 20}};
    const Table four = {{5000, 3000, 2000, 4000}, 1, 100, 200, 0, false, {}, {50, 30, 20}};
    const Row rows[] = {
        {"the big blind first in", three, 3, 0, {}, {}, "big blind cannot be first in"},
        {"an empty seat", {{5000, 0, 3000, 2000}, 1, 100, 200, 0, false, {}, {50}}, 2, 0, {}, {}, "no player"},
        {"a hero all in from posting", shortBlind, 3, 1, {{1, "AA"}}, {}, "all in from posting"},
        {"a shover who acts after the hero", three, 1, 2, {{2, "AA"}, {3, "AA"}}, {}, "acts after"},
        {"the hero's own shove", three, 2, 2, {{2, "AA"}}, {}, "own shove"},
        {"a missing calling range names the seat", three, 1, 0, {{2, "AA"}}, {{3, "AA"}}, "seat 3"},
        {"a missing overcalling range names the seat", three, 1, 0, {{2, "AA"}, {3, "AA"}}, {}, "--overcall 3"},
        {"an overcall for the first after the hero", three, 1, 0, {{2, "AA"}, {3, "AA"}},
         {{2, "AA"}, {3, "AA"}}, "cannot overcall"},
        {"a range for a seat that folded before", three, 2, 0, {{1, "AA"}, {3, "AA"}}, {}, "--range 1"},
        {"the shover's range missing", three, 3, 1, {}, {}, "--range 1"},
        {"a shove that does not raise the big blind", shortStack, 4, 0, {{1, "AA"}, {2, "AA"}, {3, "AA"}},
         {{2, "AA"}, {3, "AA"}}, "does not raise"},
        {"a shove that does not raise the big blind, facing it", shortStack, 1, 4, {{4, "AA"}, {2, "AA"}, {3, "AA"}},
         {{2, "AA"}, {3, "AA"}}, "does not raise"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        ostrel::SpotSolver solver;
        const ostrel::Status status = solver.Open(
            FieldOf(row.Hand), BySubsets, false, QuestionOf(row.Hero, row.Shover, row.Ranges, row.Overcalls,
                                                            row.Hand.Seats.size()));
        EXPECT_FALSE(status.Ok);
        EXPECT_NE(status.Message.find(row.Says), std::string::npos) << status.Message;
    }

    // Facing a shove and a call: seat 4 shoves, seat 1 (the button) calls, seat 2 decides, seat 3 is after him.
    const Row overcalls[] = {
        {"a calling range for a player after a shove and a call", four, 2, 4, {{4, "AA"}, {1, "AA"}, {3, "KK"}},
         {{3, "QQ"}}, "--range 3"},
        {"no overcalling range for a player after the hero", four, 2, 4, {{4, "AA"}, {1, "AA"}}, {}, "--overcall 3"},
        {"no calling range for the caller", four, 2, 4, {{4, "AA"}}, {{3, "AA"}}, "--range 1"},
        {"a caller after the hero", four, 1, 4, {{4, "AA"}, {2, "AA"}}, {{3, "AA"}}, "before the hero"},
        {"a shoving range for a player who did not shove", four, 2, 4, {{4, "AA"}, {1, "AA"}}, {{3, "AA"}}, "--shove 3"},
    };
    for (const Row &row : overcalls)
    {
        SCOPED_TRACE(row.Name);
        ostrel::SpotQuestion question = QuestionOf(row.Hero, row.Shover, row.Ranges, row.Overcalls, 4);
        question.Action = ostrel::SpotAction::Overcall;
        question.Caller = row.Hero == 1 ? 1 : 0;
        question.Shoves.resize(4);
        if (std::string(row.Says) == "--shove 3")
            question.Shoves[2] = RangeOf("AA");
        ostrel::SpotSolver solver;
        const ostrel::Status status = solver.Open(FieldOf(row.Hand), BySubsets, false, question);
        EXPECT_FALSE(status.Ok);
        EXPECT_NE(status.Message.find(row.Says), std::string::npos) << status.Message;
    }
    // First in: no shoving range for the big blind, nor for a player before the hero.
    for (const size_t seat : {size_t{3}, size_t{4}})
    {
        ostrel::SpotQuestion question = QuestionOf(1, 0, {{2, "AA"}, {3, "AA"}}, {{3, "AA"}}, 4);
        question.Shoves[seat - 1] = RangeOf("QQ+");
        ostrel::SpotSolver solver;
        const ostrel::Status status = solver.Open(FieldOf(four), BySubsets, false, question);
        EXPECT_FALSE(status.Ok);
        EXPECT_NE(status.Message.find("--shove " + std::to_string(seat)), std::string::npos) << status.Message;
    }

    // Card removal that empties the shover's range: the hero holds its only combo's cards.
    ostrel::SpotSolver solver;
    ASSERT_TRUE(solver.Open(FieldOf(three), BySubsets, false, QuestionOf(3, 2, {{2, "AhAd"}}, {}, 3)).Ok);
    ostrel::HandBreakdown hand;
    const ostrel::Status empty = solver.Explain(ComboOf("AhKc"), hand);
    EXPECT_FALSE(empty.Ok);
    EXPECT_NE(empty.Message.find("empty"), std::string::npos) << empty.Message;
}

} // namespace
