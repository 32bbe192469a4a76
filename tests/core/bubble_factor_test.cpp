// Bubble factor: the worked example and the start values to the bit, the
// texts shown, and the order in which the three fields are written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "bubble_factor.h"
#include "recording_seam.h"
#include "resource_ids.h"

namespace
{

WindowHandle const Dialog = reinterpret_cast<WindowHandle>(0x324);

void SetBubbleField(int32_t players, int32_t chips, const std::vector<double> &payouts)
{
    ResetTournamentState();
    std::fill(std::begin(TournamentState.Payouts), std::end(TournamentState.Payouts), 0.0);
    std::copy(payouts.begin(), payouts.end(), TournamentState.Payouts);
    TournamentState.InitPlayers = players;
    TournamentState.InitChips = chips;
    RecountPaidPlaces(nullptr, 1);
    ClearSeamCalls();
}

double Expectation(int32_t stacks)
{
    const TournamentStateRecord &s = TournamentState;
    return BubbleEquityRecurse(s.InitChips * s.InitPlayers, stacks, 0);
}

struct BubbleRow
{
    int32_t Players;
    int32_t Chips;
    std::vector<double> Payouts;
    double Single;
    double Doubled;
    const char *Texts[3];
};

TEST(BubbleFactor, ExactValuesAndTheirTexts)
{
    const BubbleRow rows[] = {
        {10, 1500, {50, 30, 20}, 10.0, 18.444444444444443, {"10.0000", "18.4444", "1.1842"}},
        {180, 1500, {250, 150, 100}, 2.7777777777777777, 5.53382991930478, {"2.7778", "5.5338", "1.0079"}},
        {10, 1500, {100}, 10.0, 20.0, {"10.0000", "20.0000", "1.0000"}},
        {2, 1500, {100}, 50.0, 100.0, {"50.0000", "100.0000", "1.0000"}},
        {3, 1000, {60, 40, 20}, 40.0, 53.333333333333336, {"40.0000", "53.3333", "3.0000"}},
        // equal prizes: doubling up gains nothing, the factor is infinite
        {2, 1500, {100, 100}, 100.0, 100.0, {"100.0000", "100.0000", "inf"}},
    };
    for (const BubbleRow &row : rows)
    {
        SetBubbleField(row.Players, row.Chips, row.Payouts);
        EXPECT_EQ(row.Single, Expectation(1)) << row.Players;
        EXPECT_EQ(row.Doubled, Expectation(2)) << row.Players;
        ComputeBubbleFactor(Dialog);
        EXPECT_EQ(row.Texts[0], LastSeamText(Dialog, IDC_BUBBLE_EV1));
        EXPECT_EQ(row.Texts[1], LastSeamText(Dialog, IDC_BUBBLE_EV2));
        EXPECT_EQ(row.Texts[2], LastSeamText(Dialog, IDC_BUBBLE_FACTOR));
    }
}

TEST(BubbleFactor, WorkedExampleFactorToTheBit)
{
    SetBubbleField(10, 1500, {50, 30, 20});
    const double single = Expectation(1);
    EXPECT_EQ(1.1842105263157896, single / (Expectation(2) - single));
    SetBubbleField(3, 1000, {60, 40, 20});
    EXPECT_EQ(2.9999999999999996, Expectation(1) / (Expectation(2) - Expectation(1)));
}

TEST(BubbleFactor, FieldsAreEmptiedFirstThenWrittenOneByOne)
{
    SetBubbleField(10, 1500, {50, 30, 20});
    ComputeBubbleFactor(Dialog);
    ASSERT_EQ(6u, SeamCalls.size());
    const int32_t order[6] = {IDC_BUBBLE_EV1, IDC_BUBBLE_EV2, IDC_BUBBLE_FACTOR,
                              IDC_BUBBLE_EV1, IDC_BUBBLE_EV2, IDC_BUBBLE_FACTOR};
    for (size_t call = 0; call < 6; ++call)
    {
        EXPECT_EQ(order[call], SeamCalls[call].ControlId);
        EXPECT_EQ(Dialog, SeamCalls[call].Window);
        if (call < 3)
        {
            EXPECT_EQ("", SeamCalls[call].Text);
        }
    }
}

TEST(BubbleFactor, MorePaidPlacesThanPlayersAddNothingBelowTheLastPlayer)
{
    std::vector<double> ladder;
    for (int place = 0; place < 30; ++place)
        ladder.push_back(300.0 - 9 * place);
    for (int32_t players = 2; players <= 12; ++players)
    {
        SetBubbleField(players, 2000, ladder);
        const double single = Expectation(1);
        const double doubled = Expectation(2);
        std::vector<double> cut(ladder.begin(), ladder.begin() + players);
        SetBubbleField(players, 2000, cut);
        EXPECT_EQ(single, Expectation(1)) << players;
        EXPECT_EQ(doubled, Expectation(2)) << players;
    }
}

TEST(BubbleFactor, NothingPaidShowsZeros)
{
    SetBubbleField(10, 1500, {});
    ComputeBubbleFactor(Dialog);
    EXPECT_EQ("0.0000", LastSeamText(Dialog, IDC_BUBBLE_EV1));
    EXPECT_EQ("0.0000", LastSeamText(Dialog, IDC_BUBBLE_EV2));
    EXPECT_EQ("nan", LastSeamText(Dialog, IDC_BUBBLE_FACTOR).substr(LastSeamText(Dialog, IDC_BUBBLE_FACTOR).size() - 3));
}

TEST(BubbleFactor, LargestFieldStaysFinite)
{
    std::vector<double> ladder(30, 0.0);
    for (int place = 0; place < 30; ++place)
        ladder[static_cast<size_t>(place)] = 1000.0 / (place + 1);
    SetBubbleField(1000, 100000, ladder);
    const double single = Expectation(1);
    const double doubled = Expectation(2);
    EXPECT_TRUE(std::isfinite(single));
    EXPECT_GT(doubled, single);
    EXPECT_LT(doubled, 2 * single + 1e-9);
}

} // namespace
