// The payout ladder rule walked without a window system: which edits it
// enables, which places it clears and writes "0" into, what it reports, and
// the nested run that a window answering EN_UPDATE makes from inside a write.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "recording_seam.h"
#include "resource_ids.h"
#include "tournament_state.h"

namespace
{

WindowHandle const Main = reinterpret_cast<WindowHandle>(0x201);
WindowHandle const Extra = reinterpret_cast<WindowHandle>(0x340);

void SetLadder(const std::vector<double> &payouts)
{
    ResetTournamentState();
    std::fill(std::begin(TournamentState.Payouts), std::end(TournamentState.Payouts), 0.0);
    std::copy(payouts.begin(), payouts.end(), TournamentState.Payouts);
    ClearSeamCalls();
}

int EditOf(int32_t place)
{
    return IDC_PAYOUT_FIRST - 1 + place;
}

struct LadderRow
{
    const char *Name;
    std::vector<double> Payouts;
    int32_t RejectedPlace; // 0 = none
    WindowHandle Window;
    int32_t ExtraDialog;
    int32_t Paid;
    int32_t Result;
    int32_t LastEnabledEdit; // highest place whose edit ends enabled
    std::vector<int32_t> ZeroWritten;
};

std::vector<double> Positive(int count)
{
    std::vector<double> ladder;
    for (int place = 0; place < count; ++place)
        ladder.push_back(1000.0 - place);
    return ladder;
}

TEST(RecountPaidPlaces, Table)
{
    std::vector<double> gapAtFive = Positive(12);
    gapAtFive[4] = 0;
    std::vector<double> gapAtThree = Positive(3);
    gapAtThree[2] = 0;
    gapAtThree.resize(15, 0.0);
    gapAtThree[14] = 75;
    const LadderRow rows[] = {
        {"start ladder", {250, 150, 100}, 0, Main, 0, 3, 1, 4, {}},
        {"100/0/50", {100, 0, 50}, 0, Main, 0, 1, 1, 2, {3}},
        {"all zeros", {}, 0, Main, 0, 0, 0, 1, {}},
        {"thirty places, main", Positive(30), 0, Main, 0, 30, 1, 10, {}},
        {"thirty places, extra", Positive(30), 0, Extra, 1, 30, 1, 30, {}},
        {"rejected place 2 remembered as 150", {250, 150, 100}, 2, Main, 0, 3, 0, 4, {}},
        {"extra: gap at 5 clears 6 to 12, writes 11 and 12", gapAtFive, 0, Extra, 1, 4, 1, 0, {11, 12}},
        {"main: gap at 3 clears 15 without writing", gapAtThree, 0, Main, 0, 2, 1, 3, {}},
    };
    for (const LadderRow &row : rows)
    {
        SCOPED_TRACE(row.Name);
        SetLadder(row.Payouts);
        if (row.RejectedPlace > 0)
            TournamentState.PayoutDecimals[row.RejectedPlace - 1] = -1;
        EXPECT_EQ(row.Result, RecountPaidPlaces(row.Window, row.ExtraDialog));
        EXPECT_EQ(row.Paid, TournamentState.PaidPlaces);
        const int32_t first = row.ExtraDialog ? 11 : 1;
        const int32_t last = row.ExtraDialog ? 30 : 10;
        for (int32_t place = 1; place <= 30; ++place)
        {
            const int expected = place < first || place > last ? -1 : place <= row.LastEnabledEdit ? 1 : 0;
            EXPECT_EQ(expected, LastSeamEnable(row.Window, EditOf(place))) << "place " << place;
        }
        std::vector<int32_t> written;
        for (const SeamCall &call : SeamCalls)
            if (call.Kind == 'T')
            {
                EXPECT_EQ("0", call.Text);
                written.push_back(call.ControlId - IDC_PAYOUT_FIRST + 1);
            }
        EXPECT_EQ(row.ZeroWritten, written);
        for (int32_t place = row.Paid + 1; place <= 30; ++place)
            EXPECT_EQ(0.0, TournamentState.Payouts[place - 1]) << "place " << place;
    }
}

TEST(RecountPaidPlaces, ClearedPlacesGetZeroDecimals)
{
    SetLadder({100, 0, 50.25});
    TournamentState.PayoutDecimals[2] = 2;
    RecountPaidPlaces(Main, 0);
    EXPECT_EQ(0.0, TournamentState.Payouts[2]);
    EXPECT_EQ(0, TournamentState.PayoutDecimals[2]);
}

TEST(RecountPaidPlaces, ARejectedPositivePlaceBehindTheGapIsClearedButCountsThisOnce)
{
    SetLadder({100, 0, 50});
    TournamentState.PayoutDecimals[2] = -1;
    EXPECT_EQ(0, RecountPaidPlaces(Main, 0)) << "this run saw the mark";
    EXPECT_EQ(0, TournamentState.PayoutDecimals[2]);
    EXPECT_EQ(1, RecountPaidPlaces(Main, 0)) << "the next run no longer does";
}

TEST(RecountPaidPlaces, AnEditIsEnabledBeforeItsPlaceIsJudged)
{
    SetLadder({100, 0, 50});
    RecountPaidPlaces(Main, 0);
    // place 3: enable(false) comes before its "0"
    std::vector<char> kinds;
    for (const SeamCall &call : SeamCalls)
        if (call.ControlId == EditOf(3))
            kinds.push_back(call.Kind);
    EXPECT_EQ((std::vector<char>{'E', 'T'}), kinds);
}

// A window that answers the "0" the rule writes: it reads the text as typed
// input, stores it and runs the rule again, as the main window does.
int NestedRuns = 0;
int32_t NestedPaid = -1;
void AnswerLikeAWindow(WindowHandle window, int32_t controlId, const char *text)
{
    const int32_t index = controlId - IDC_PAYOUT_FIRST;
    EXPECT_STREQ("0", text);
    TournamentState.Payouts[index] = 0.0;
    TournamentState.PayoutDecimals[index] = 0;
    ++NestedRuns;
    RecountPaidPlaces(window, window == Extra ? 1 : 0);
    NestedPaid = TournamentState.PaidPlaces;
}

TEST(RecountPaidPlaces, NestedRunFromInsideTheWriteLeavesAConsistentState)
{
    SetLadder({100, 0, 50, 0, 30});
    SeamTextHook = AnswerLikeAWindow;
    NestedRuns = 0;
    EXPECT_EQ(1, RecountPaidPlaces(Main, 0));
    EXPECT_EQ(2, NestedRuns) << "one nested run per cleared place";
    EXPECT_EQ(1, NestedPaid);
    EXPECT_EQ(1, TournamentState.PaidPlaces);
    EXPECT_EQ(0.0, TournamentState.Payouts[2]);
    EXPECT_EQ(0.0, TournamentState.Payouts[4]);
    // the outer walk went on to place 10 after the nested runs
    EXPECT_EQ(0, LastSeamEnable(Main, EditOf(10)));
    EXPECT_EQ(Main, SeamCalls.back().Window);
    EXPECT_EQ(EditOf(10), SeamCalls.back().ControlId);
}

TEST(RecountPaidPlaces, NestedRunInTheExtraDialog)
{
    std::vector<double> ladder = Positive(20);
    ladder[14] = 0; // place 15 typed as 0
    SetLadder(ladder);
    SeamTextHook = AnswerLikeAWindow;
    NestedRuns = 0;
    EXPECT_EQ(1, RecountPaidPlaces(Extra, 1));
    EXPECT_EQ(5, NestedRuns) << "places 16 to 20";
    EXPECT_EQ(14, TournamentState.PaidPlaces);
    for (int32_t place = 11; place <= 30; ++place)
        EXPECT_EQ(place <= 15 ? 1 : 0, LastSeamEnable(Extra, EditOf(place))) << place;
}

// A window as the calculator's windows now answer the "0": store it and
// judge the ladder again, from inside the outer run's write.
std::vector<bool> NestedVerdicts;
void AnswerAndSettle(WindowHandle window, int32_t controlId, const char *)
{
    TournamentState.Payouts[controlId - IDC_PAYOUT_FIRST] = 0.0;
    TournamentState.PayoutDecimals[controlId - IDC_PAYOUT_FIRST] = 0;
    NestedVerdicts.push_back(SettleLadder(window, window == Extra ? 1 : 0));
}

// The verdict counts only what is rejected once the rule is done: a rejected
// place that the rule clears no longer holds the ladder back, whether or not
// the window answered the clearing with a nested run.
TEST(SettleLadder, JudgesTheLadderTheRuleLeaves)
{
    std::vector<double> gapAtTwelve = Positive(13);
    gapAtTwelve[11] = 0;
    const struct
    {
        const char *Name;
        std::vector<double> Payouts;
        int32_t RejectedPlace; // 0 = none
        bool Answered;
        WindowHandle Window;
        bool Usable;
        int32_t Paid;
    } rows[] = {
        {"rejected 50 behind a gap, guarded window", {100, 0, 50}, 3, false, Main, true, 1},
        {"rejected 50 behind a gap, answering window", {100, 0, 50}, 3, true, Main, true, 1},
        {"extra: rejected place 13 behind a gap at 12", gapAtTwelve, 13, true, Extra, true, 11},
        {"main: rejected place 13 cleared without a write", gapAtTwelve, 13, true, Main, true, 11},
        {"rejected place inside the ladder", {100, 30, 50}, 2, true, Main, false, 3},
        {"rejected zero behind the ladder stays", {100, 0, 0}, 3, true, Main, false, 1},
        {"rejected place 1 remembered as 0", {0, 30}, 1, true, Main, false, 0},
        {"nothing paid", {0, 0, 50}, 0, true, Main, false, 0},
    };
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.Name);
        SetLadder(row.Payouts);
        if (row.RejectedPlace > 0)
            TournamentState.PayoutDecimals[row.RejectedPlace - 1] = -1;
        SeamTextHook = row.Answered ? AnswerAndSettle : nullptr;
        NestedVerdicts.clear();
        EXPECT_EQ(row.Usable, SettleLadder(row.Window, row.Window == Extra ? 1 : 0));
        EXPECT_EQ(row.Paid, TournamentState.PaidPlaces);
        EXPECT_EQ(row.Usable, LadderIsUsable()) << "nothing changes once settled";
        for (const bool nested : NestedVerdicts)
            EXPECT_EQ(row.Usable, nested) << "the nested run already sees the cleared ladder";
    }
}

} // namespace
