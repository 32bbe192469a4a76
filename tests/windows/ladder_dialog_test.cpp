// The payout ladder rule on a real dialog under Wine: edits 220 to 249 are
// enabled and rewritten by the rule, and the dialog answers each EN_UPDATE as
// the calculator's windows do (store the entry, run the rule again), so the
// "0" the rule writes re-enters it from inside the write.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "number_entry.h"
#include "resource_ids.h"
#include "test_dialogs.h"
#include "tournament_state.h"

namespace
{

int32_t DialogExtraFlag = 0;
int NotificationsHandled = 0;
int MaxNesting = 0;
int Nesting = 0;

void OnPayoutUpdate(HWND dialog, int id)
{
    ++NotificationsHandled;
    MaxNesting = std::max(MaxNesting, ++Nesting);
    char text[EntryTextCapacity];
    GetDlgItemTextA(dialog, id, text, sizeof text);
    double value = 0;
    int32_t decimals = 0;
    const int32_t place = id - IDC_PAYOUT_FIRST;
    if (ParsePayoutText(text, &value, &decimals))
    {
        TournamentState.Payouts[place] = value;
        TournamentState.PayoutDecimals[place] = decimals;
    }
    else
    {
        TournamentState.PayoutDecimals[place] = -1;
    }
    RecountPaidPlaces(dialog, DialogExtraFlag);
    --Nesting;
}

INT_PTR CALLBACK LadderTestProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && HIWORD(wParam) == EN_UPDATE && LOWORD(wParam) >= IDC_PAYOUT_FIRST &&
        LOWORD(wParam) <= IDC_PAYOUT_LAST)
    {
        OnPayoutUpdate(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

class LadderDialog : public ::testing::Test
{
  protected:
    HWND Dialog = nullptr;

    void SetUp() override
    {
        ResetTournamentState();
        std::fill(std::begin(TournamentState.Payouts), std::end(TournamentState.Payouts), 0.0);
        DialogExtraFlag = 0;
        Dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST_LADDER),
                                    nullptr, LadderTestProc, 0);
        ASSERT_NE(nullptr, Dialog) << "is there an X display?";
        NotificationsHandled = 0;
        MaxNesting = 0;
    }

    void TearDown() override
    {
        DestroyWindow(Dialog);
    }

    void SetLadder(const std::vector<double> &ladder)
    {
        std::copy(ladder.begin(), ladder.end(), TournamentState.Payouts);
    }

    bool EditEnabled(int32_t place)
    {
        return IsWindowEnabled(GetDlgItem(Dialog, IDC_PAYOUT_FIRST - 1 + place)) != FALSE;
    }

    std::string EditText(int32_t place)
    {
        char text[EntryTextCapacity];
        GetDlgItemTextA(Dialog, IDC_PAYOUT_FIRST - 1 + place, text, sizeof text);
        return text;
    }

    // Types a text the way a user does: the edit's own text changes, one
    // EN_UPDATE per character.
    void Type(int32_t place, const char *text)
    {
        HWND edit = GetDlgItem(Dialog, IDC_PAYOUT_FIRST - 1 + place);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        SendMessageA(edit, WM_CLEAR, 0, 0);
        for (const char *c = text; *c; ++c)
            SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(*c)), 0);
    }
};

TEST_F(LadderDialog, StartLadderEnablesPlacesOneToFour)
{
    SetLadder({250, 150, 100});
    EXPECT_EQ(1, RecountPaidPlaces(Dialog, 0));
    EXPECT_EQ(3, TournamentState.PaidPlaces);
    for (int32_t place = 1; place <= 10; ++place)
        EXPECT_EQ(place <= 4, EditEnabled(place)) << place;
    for (int32_t place = 11; place <= 30; ++place)
        EXPECT_TRUE(EditEnabled(place)) << "not the main window's edit: untouched " << place;
}

TEST_F(LadderDialog, PositivePlaceBehindAGapIsClearedAndItsEditReadsZero)
{
    SetLadder({100, 0, 50});
    for (int32_t place = 1; place <= 30; ++place)
        SetDlgItemTextA(Dialog, IDC_PAYOUT_FIRST - 1 + place, "x");
    NotificationsHandled = 0;
    std::fill(std::begin(TournamentState.PayoutDecimals), std::end(TournamentState.PayoutDecimals), 0);
    SetLadder({100, 0, 50});
    EXPECT_EQ(1, RecountPaidPlaces(Dialog, 0));
    EXPECT_EQ(1, TournamentState.PaidPlaces);
    EXPECT_EQ("0", EditText(3));
    EXPECT_EQ(0.0, TournamentState.Payouts[2]);
    EXPECT_EQ(1, NotificationsHandled) << "the write of \"0\" was handled as typed input";
    EXPECT_TRUE(EditEnabled(1));
    EXPECT_TRUE(EditEnabled(2));
    for (int32_t place = 3; place <= 10; ++place)
        EXPECT_FALSE(EditEnabled(place)) << place;
}

TEST_F(LadderDialog, AllZerosLeaveOnlyPlaceOneEnabled)
{
    EXPECT_EQ(0, RecountPaidPlaces(Dialog, 0));
    EXPECT_EQ(0, TournamentState.PaidPlaces);
    EXPECT_TRUE(EditEnabled(1));
    for (int32_t place = 2; place <= 10; ++place)
        EXPECT_FALSE(EditEnabled(place)) << place;
}

TEST_F(LadderDialog, ThirtyPaidPlacesEnableEveryExtraEdit)
{
    for (int32_t place = 0; place < 30; ++place)
        TournamentState.Payouts[place] = 300.0 - place;
    EXPECT_EQ(1, RecountPaidPlaces(Dialog, 1));
    EXPECT_EQ(30, TournamentState.PaidPlaces);
    for (int32_t place = 11; place <= 30; ++place)
        EXPECT_TRUE(EditEnabled(place)) << place;
}

TEST_F(LadderDialog, RejectedPlaceTwoCountsWithItsRememberedValue)
{
    SetLadder({250, 150, 100});
    RecountPaidPlaces(Dialog, 0);
    SetDlgItemTextA(Dialog, IDC_PAYOUT_FIRST + 1, "150");
    HWND edit = GetDlgItem(Dialog, IDC_PAYOUT_FIRST + 1);
    SendMessageA(edit, EM_SETSEL, 3, 3);
    SendMessageA(edit, WM_CHAR, 'o', 0);
    EXPECT_EQ("150o", EditText(2));
    EXPECT_EQ(-1, TournamentState.PayoutDecimals[1]);
    EXPECT_EQ(150.0, TournamentState.Payouts[1]);
    EXPECT_EQ(0, RecountPaidPlaces(Dialog, 0));
    EXPECT_EQ(3, TournamentState.PaidPlaces);
    EXPECT_TRUE(EditEnabled(4));
}

TEST_F(LadderDialog, ExtraDialogClearsPlaceTwelveBehindAnUnpaidPlaceFive)
{
    DialogExtraFlag = 1;
    SetDlgItemTextA(Dialog, IDC_PAYOUT_FIRST + 2, "98");
    for (int32_t place = 0; place < 12; ++place)
        TournamentState.Payouts[place] = 100.0 - place;
    TournamentState.Payouts[4] = 0;
    EXPECT_EQ(1, RecountPaidPlaces(Dialog, 1));
    EXPECT_EQ(4, TournamentState.PaidPlaces);
    EXPECT_EQ("0", EditText(12));
    EXPECT_FALSE(EditEnabled(12));
    EXPECT_EQ("98", EditText(3)) << "edits 220 to 229 are not the extra dialog's";
    EXPECT_TRUE(EditEnabled(10)) << "nor are their enabled states";
}

TEST_F(LadderDialog, TypingZeroIntoPlaceFifteenClearsSixteenToTwentyThroughNestedRuns)
{
    DialogExtraFlag = 1;
    for (int32_t place = 0; place < 20; ++place)
        TournamentState.Payouts[place] = 500.0 - place;
    RecountPaidPlaces(Dialog, 1);
    ASSERT_EQ(20, TournamentState.PaidPlaces);
    Type(15, "0");
    EXPECT_EQ(14, TournamentState.PaidPlaces);
    EXPECT_GE(MaxNesting, 2) << "the rule's writes re-entered the dialog";
    for (int32_t place = 16; place <= 20; ++place)
    {
        EXPECT_EQ("0", EditText(place)) << place;
        EXPECT_EQ(0.0, TournamentState.Payouts[place - 1]) << place;
        EXPECT_EQ(0, TournamentState.PayoutDecimals[place - 1]) << place;
    }
    EXPECT_TRUE(EditEnabled(15));
    for (int32_t place = 16; place <= 30; ++place)
        EXPECT_FALSE(EditEnabled(place)) << place;
}

} // namespace
