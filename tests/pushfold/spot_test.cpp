// The spot against what must hold: the heads-up chip EV closed form with the
// equity from the cards library, ICM's linearity with two players left (and
// with a winner-take-all ladder), the README's example worked by hand, the
// three-way draws against exact enumeration, and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "equity.h"
#include "preflop.h"
#include "spot.h"
#include "subset_method.h"

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

    // Card removal that empties the shover's range: the hero holds its only combo's cards.
    ostrel::SpotSolver solver;
    ASSERT_TRUE(solver.Open(FieldOf(three), BySubsets, false, QuestionOf(3, 2, {{2, "AhAd"}}, {}, 3)).Ok);
    ostrel::HandBreakdown hand;
    const ostrel::Status empty = solver.Explain(ComboOf("AhKc"), hand);
    EXPECT_FALSE(empty.Ok);
    EXPECT_NE(empty.Message.find("empty"), std::string::npos) << empty.Message;
}

} // namespace
