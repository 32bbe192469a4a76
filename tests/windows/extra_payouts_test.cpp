// Places 11 to 30 in their modal dialog, driven while it runs: the OK rule,
// the ladder rule's clearing through nested notifications, and the snapshot
// that every way out but OK puts back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "extra_payouts_dialog.h"
#include "main_window.h"
#include "main_window_refresh.h"
#include "resource_ids.h"
#include "tournament_state.h"
#include "window_helpers.h"
#include "window_test_support.h"

namespace
{

int EditOf(int place)
{
    return IDC_PAYOUT_FIRST - 1 + place;
}

class ExtraPayoutsTest : public MainWindowFixture
{
  protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        OpenMainWindow();
    }

    // Places 1 to `paid` positive, the rest 0, shown in the main window.
    void SetLadder(int paid)
    {
        for (int place = 1; place <= PlaceCount; ++place)
        {
            TournamentState.Payouts[place - 1] = place <= paid ? 1000.0 - 10 * place : 0.0;
            TournamentState.PayoutDecimals[place - 1] = 0;
        }
        TournamentState.MainUpdating = 1;
        ShowPayouts(Main, 0);
        UpdateCalculateEnable(Main);
        ShowPaidPlaces(Main);
        TournamentState.MainUpdating = 0;
    }
};

HWND Dialog = nullptr;

bool Enabled(int id)
{
    return ControlEnabled(Dialog, id);
}

void Click(int id)
{
    SendMessageA(GetDlgItem(Dialog, id), BM_CLICK, 0, 0);
}

void OkNeedsPlaceEleven(HWND dialog)
{
    Dialog = dialog;
    EXPECT_TRUE(Enabled(EditOf(11)));
    EXPECT_FALSE(Enabled(EditOf(12)));
    EXPECT_FALSE(Enabled(IDC_OK));
    EXPECT_EQ("0", ControlText(dialog, EditOf(11)));
    TypeInto(dialog, EditOf(11), "75");
    EXPECT_TRUE(Enabled(EditOf(12)));
    EXPECT_TRUE(Enabled(IDC_OK));
    EXPECT_EQ(11, TournamentState.PaidPlaces);
    Click(IDC_OK);
}

TEST_F(ExtraPayoutsTest, OkStaysDisabledUntilPlaceElevenIsPaid)
{
    SetLadder(10);
    WhenDialogAppears("Payouts over 10", OkNeedsPlaceEleven);
    EXPECT_TRUE(RunExtraPayoutsDialog());
    EXPECT_EQ(75.0, TournamentState.Payouts[10]);
}

TEST_F(ExtraPayoutsTest, MorePayoutsCommandShowsTheNewCountAfterOk)
{
    SetLadder(10);
    ASSERT_EQ("Payouts(10)", ControlText(Main, IDC_PAYOUT_GROUP));
    WhenDialogAppears("Payouts over 10", OkNeedsPlaceEleven);
    SendMessageA(Main, WM_COMMAND, MAKEWPARAM(IDM_MORE_PAYOUTS, 0), 0);
    EXPECT_EQ("Payouts(11)", ControlText(Main, IDC_PAYOUT_GROUP));
}

void RejectedEntriesBlockOk(HWND dialog)
{
    Dialog = dialog;
    EXPECT_FALSE(Enabled(IDC_OK)) << "place 3 of the main window is rejected";
    EXPECT_TRUE(Enabled(EditOf(12)));
    PasteInto(dialog, EditOf(12), "1,000.50");
    EXPECT_EQ(-1, TournamentState.PayoutDecimals[11]);
    const AnsweredColors red = AskColors(dialog, EditOf(12), WM_CTLCOLOREDIT);
    EXPECT_EQ(ErrorRed, red.Background);
    EXPECT_EQ(RGB(255, 255, 255), red.Text);
    PasteInto(dialog, EditOf(12), "12,5");
    EXPECT_EQ(12.5, TournamentState.Payouts[11]);
    EXPECT_EQ(1, TournamentState.PayoutDecimals[11]);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), AskColors(dialog, EditOf(12), WM_CTLCOLOREDIT).Background);
    EXPECT_FALSE(Enabled(IDC_OK)) << "still the main window's place 3";
    Click(IDC_CANCEL);
}

TEST_F(ExtraPayoutsTest, OkStaysDisabledWhileAnyOfTheThirtyEntriesIsRejected)
{
    SetLadder(12);
    TypeInto(Main, EditOf(3), "98x");
    ASSERT_EQ(-1, TournamentState.PayoutDecimals[2]);
    WhenDialogAppears("Payouts over 10", RejectedEntriesBlockOk);
    EXPECT_FALSE(RunExtraPayoutsDialog());
}

void ZeroAtFifteen(HWND dialog)
{
    Dialog = dialog;
    EXPECT_TRUE(Enabled(IDC_OK));
    TypeInto(dialog, EditOf(15), "0");
    EXPECT_EQ(14, TournamentState.PaidPlaces);
    for (int place = 16; place <= 20; ++place)
    {
        EXPECT_EQ("0", ControlText(dialog, EditOf(place))) << place;
        EXPECT_EQ(0.0, TournamentState.Payouts[place - 1]) << place;
    }
    EXPECT_TRUE(Enabled(EditOf(15)));
    for (int place = 16; place <= 30; ++place)
        EXPECT_FALSE(Enabled(EditOf(place))) << place;
    EXPECT_TRUE(Enabled(IDC_OK)) << "fourteen paid places are more than ten";
    TypeInto(dialog, EditOf(11), "0");
    EXPECT_EQ(10, TournamentState.PaidPlaces);
    EXPECT_FALSE(Enabled(IDC_OK)) << "ten are not";
    Click(IDC_CANCEL);
}

TEST_F(ExtraPayoutsTest, TypingZeroIntoPlaceFifteenClearsPlacesSixteenToTwenty)
{
    SetLadder(20);
    WhenDialogAppears("Payouts over 10", ZeroAtFifteen);
    RunExtraPayoutsDialog();
}

// Places 1 to 13 paid; a row's entries typed in the dialog, then OK or
// Cancel. Every row ends with no entry rejected, so OK must end enabled.
struct ClearingRow
{
    const char *Name;
    int TypedPlace; // "0" typed here after "x" in place 13
    int32_t Paid;
    bool LeaveWithOk;
    int32_t PaidAfter; // and the main window's count once the dialog is gone
};
const ClearingRow *Row = nullptr;

void TypeThenJudgeOk(HWND dialog)
{
    Dialog = dialog;
    TypeInto(dialog, EditOf(13), "x");
    EXPECT_FALSE(Enabled(IDC_OK)) << "place 13 is rejected";
    TypeInto(dialog, EditOf(Row->TypedPlace), "0");
    EXPECT_TRUE(Enabled(IDC_OK));
    EXPECT_EQ(Row->Paid, TournamentState.PaidPlaces);
    for (int place = 11; place <= PlaceCount; ++place)
    {
        EXPECT_LE(0, TournamentState.PayoutDecimals[place - 1]) << place;
        EXPECT_NE(ErrorRed, AskColors(dialog, EditOf(place), WM_CTLCOLOREDIT).Background) << place;
    }
    EXPECT_EQ("0", ControlText(dialog, EditOf(13)));
    Click(Row->LeaveWithOk ? IDC_OK : IDC_CANCEL);
}

TEST_F(ExtraPayoutsTest, TypingZeroBeforeARejectedPlaceClearsItAndEnablesOk)
{
    const ClearingRow rows[] = {
        {"0 in place 12 clears place 13; OK", 12, 11, true, 11},
        {"the same, then Cancel", 12, 11, false, 13},
        {"0 typed over place 13", 13, 12, true, 12},
    };
    for (const ClearingRow &row : rows)
    {
        SCOPED_TRACE(row.Name);
        Row = &row;
        SetLadder(13);
        WhenDialogAppears("Payouts over 10", TypeThenJudgeOk);
        SendMessageA(Main, WM_COMMAND, MAKEWPARAM(IDM_MORE_PAYOUTS, 0), 0);
        EXPECT_EQ(row.PaidAfter, TournamentState.PaidPlaces);
        EXPECT_EQ("Payouts(" + std::to_string(row.PaidAfter) + ")", ControlText(Main, IDC_PAYOUT_GROUP));
        EXPECT_TRUE(ControlEnabled(Main, IDC_CALCULATE));
        for (int place = 1; place <= PlaceCount; ++place)
            EXPECT_LE(0, TournamentState.PayoutDecimals[place - 1]) << place;
    }
}

void RejectedInsideStaysRejected(HWND dialog)
{
    Dialog = dialog;
    TypeInto(dialog, EditOf(12), "x");
    TypeInto(dialog, EditOf(13), "0");
    EXPECT_EQ(12, TournamentState.PaidPlaces) << "place 12 counts with its last prize";
    EXPECT_EQ(-1, TournamentState.PayoutDecimals[11]);
    EXPECT_FALSE(Enabled(IDC_OK));
    TypeInto(dialog, EditOf(13), "5");
    EXPECT_FALSE(Enabled(IDC_OK));
    Click(IDC_CANCEL);
}

TEST_F(ExtraPayoutsTest, ARejectedPlaceInsideTheLadderKeepsOkDisabled)
{
    SetLadder(13);
    WhenDialogAppears("Payouts over 10", RejectedInsideStaysRejected);
    EXPECT_FALSE(RunExtraPayoutsDialog());
    EXPECT_EQ(13, TournamentState.PaidPlaces);
}

// Random-looking ladder with decimals, some of them ten or more.
void SetDecoratedLadder(int paid)
{
    for (int place = 1; place <= PlaceCount; ++place)
    {
        TournamentState.Payouts[place - 1] = place <= paid ? 5000.0 / place + 0.125 * place : 0.0;
        TournamentState.PayoutDecimals[place - 1] = place <= paid ? place % 12 : 0;
    }
    RecountPaidPlaces(nullptr, 1);
}

void EditThenLeave(HWND dialog, void (*leave)(HWND))
{
    Dialog = dialog;
    TypeInto(dialog, EditOf(13), "0");
    TypeInto(dialog, EditOf(11), "7,25");
    PasteInto(dialog, EditOf(12), "oops");
    ASSERT_EQ(12, TournamentState.PaidPlaces);
    leave(dialog);
}

void PressEscapeKey(HWND dialog)
{
    PostMessageA(GetFocus() != nullptr ? GetFocus() : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
}

void PressCancelButton(HWND dialog)
{
    SendMessageA(GetDlgItem(dialog, IDC_CANCEL), BM_CLICK, 0, 0);
}

void PressTheCloseBox(HWND dialog)
{
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void EditThenEscape(HWND dialog)
{
    EditThenLeave(dialog, PressEscapeKey);
}

void EditThenCancel(HWND dialog)
{
    EditThenLeave(dialog, PressCancelButton);
}

void EditThenCloseBox(HWND dialog)
{
    EditThenLeave(dialog, PressTheCloseBox);
}

TEST_F(ExtraPayoutsTest, EveryWayOutButOkPutsAllThirtyPlacesBack)
{
    for (void (*action)(HWND) : {EditThenCancel, EditThenEscape, EditThenCloseBox})
    {
        SetDecoratedLadder(25);
        SetLadder(0);
        SetDecoratedLadder(25);
        TournamentStateRecord before = TournamentState;
        const std::string caption = ControlText(Main, IDC_PAYOUT_GROUP);
        WhenDialogAppears("Payouts over 10", action);
        SendMessageA(Main, WM_COMMAND, MAKEWPARAM(IDM_MORE_PAYOUTS, 0), 0);
        EXPECT_EQ(0, std::memcmp(before.Payouts, TournamentState.Payouts, sizeof before.Payouts));
        EXPECT_EQ(0, std::memcmp(before.PayoutDecimals, TournamentState.PayoutDecimals,
                                 sizeof before.PayoutDecimals));
        EXPECT_EQ(25, TournamentState.PaidPlaces);
        EXPECT_EQ(caption, ControlText(Main, IDC_PAYOUT_GROUP)) << "the main window is not touched";
    }
}

void KeepEdits(HWND dialog)
{
    Dialog = dialog;
    EXPECT_EQ("4000.0000000000", ControlText(dialog, EditOf(11))) << "shown with its own decimals";
    TypeInto(dialog, EditOf(14), "1 000");
    EXPECT_EQ(1000.0, TournamentState.Payouts[13]);
    EXPECT_EQ(0, TournamentState.PayoutDecimals[13]);
    Click(IDC_OK);
}

TEST_F(ExtraPayoutsTest, OkKeepsTheEditedValues)
{
    SetLadder(20);
    TournamentState.Payouts[10] = 4000.0;
    TournamentState.PayoutDecimals[10] = 10;
    WhenDialogAppears("Payouts over 10", KeepEdits);
    EXPECT_TRUE(RunExtraPayoutsDialog());
    EXPECT_EQ(1000.0, TournamentState.Payouts[13]);
    EXPECT_EQ(4000.0, TournamentState.Payouts[10]);
}

RECT Placed = {};
void MeasureAndCancel(HWND dialog)
{
    Placed = GetWindowExtent(dialog);
    EndDialog(dialog, 0);
}

TEST_F(ExtraPayoutsTest, OpensCentredOnTheMainWindow)
{
    SetWindowPos(Main, nullptr, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(Main, SW_SHOW);
    WhenDialogAppears("Payouts over 10", MeasureAndCancel);
    RunExtraPayoutsDialog();
    const RECT main = GetWindowExtent(Main);
    EXPECT_EQ(main.left + (main.right - Placed.right) / 2, Placed.left);
    EXPECT_EQ(main.top + (main.bottom - Placed.bottom) / 2, Placed.top);
}

TEST_F(ExtraPayoutsTest, ADialogThatCannotOpenChangesNothing)
{
    SetLadder(12);
    TournamentState.AppInstance = GetModuleHandleA("kernel32.dll");
    EXPECT_FALSE(RunExtraPayoutsDialog());
    EXPECT_EQ(12, TournamentState.PaidPlaces);
    TournamentState.AppInstance = GetModuleHandleA(nullptr);
}

} // namespace
