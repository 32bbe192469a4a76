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

} // namespace
