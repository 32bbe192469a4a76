// The main window created from its real template, driven with real messages:
// typing into edits, pressing buttons, menu commands; checked through texts,
// enabled states, visibility, positions and the colours it answers.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main_window.h"
#include "resource_ids.h"
#include "tournament_state.h"
#include "window_helpers.h"
#include "window_test_support.h"

namespace
{

class MainWindowTest : public MainWindowFixture
{
  protected:
    void Open()
    {
        OpenMainWindow();
    }

    void Command(int id)
    {
        SendMessageA(Main, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }

    void Press(int id)
    {
        SendMessageA(GetDlgItem(Main, id), BM_CLICK, 0, 0);
    }

    void TypeWorkedExample()
    {
        TypeInto(Main, IDC_CHIPS_FIRST, "5000");
        TypeInto(Main, IDC_CHIPS_FIRST + 1, "3000");
        TypeInto(Main, IDC_CHIPS_FIRST + 2, "2000");
        TypeInto(Main, IDC_PAYOUT_FIRST, "50");
        TypeInto(Main, IDC_PAYOUT_FIRST + 1, "30");
        TypeInto(Main, IDC_PAYOUT_FIRST + 2, "20");
    }

    std::string Result(int seat)
    {
        return ControlText(Main, IDC_RESULT_FIRST - 1 + seat);
    }

    // A length in dialog units of this window, in pixels.
    LONG Pixels(LONG units, bool vertical)
    {
        RECT rect = {0, 0, units, units};
        MapDialogRect(Main, &rect);
        return vertical ? rect.bottom : rect.right;
    }

    // The 10-seat layout worked out from the template's own pixel sizes:
    // margins above and below the seat group, the payout group's height, the
    // row pitch, the button size and the client width.
    LONG TenSeatClientHeight()
    {
        const LONG margins = Pixels(295, true) - Pixels(285, true);
        const LONG pitch = Pixels(30, true) - Pixels(15, true);
        return Pixels(295, true) + margins - 8 * pitch + Pixels(13, true);
    }

    LONG ButtonRowY()
    {
        return Pixels(295, true) - Pixels(285, true) + Pixels(165, true);
    }

    LONG ButtonRowX(int k)
    {
        const LONG width = Pixels(55, false);
        const LONG gap = (Pixels(285, false) - 3 * width) / 4;
        return (k + 1) * gap + k * width;
    }

    POINT ClientPosition(int id)
    {
        RECT rect;
        GetWindowRect(GetDlgItem(Main, id), &rect);
        POINT at = {rect.left, rect.top};
        ScreenToClient(Main, &at);
        return at;
    }
};

TEST_F(MainWindowTest, StartsCentredVisibleWithTheLadderAndCaption)
{
    Open();
    EXPECT_TRUE(IsWindowVisible(Main));
    EXPECT_EQ("Ostrel Calculator", [&] {
        char caption[64];
        GetWindowTextA(Main, caption, sizeof caption);
        return std::string(caption);
    }());
    EXPECT_EQ("250", ControlText(Main, IDC_PAYOUT_FIRST));
    EXPECT_EQ("150", ControlText(Main, IDC_PAYOUT_FIRST + 1));
    EXPECT_EQ("100", ControlText(Main, IDC_PAYOUT_FIRST + 2));
    EXPECT_EQ("Payouts(3)", ControlText(Main, IDC_PAYOUT_GROUP));
    for (int place = 1; place <= 10; ++place)
        EXPECT_EQ(place <= 4, ControlEnabled(Main, IDC_PAYOUT_FIRST - 1 + place)) << place;
    EXPECT_EQ(0, TournamentState.MainUpdating);
    EXPECT_EQ(GetDlgItem(Main, IDC_CHIPS_FIRST), GetFocus()) << "seat 1 has the focus";
    EXPECT_NE(0, SendMessageA(Main, WM_GETICON, ICON_BIG, 0));
    EXPECT_NE(0, SendMessageA(Main, WM_GETICON, ICON_SMALL, 0));
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const RECT extent = GetWindowExtent(Main);
    EXPECT_NEAR(work.left + (work.right - work.left - extent.right) / 2, extent.left, 1);
    EXPECT_NEAR(work.top + (work.bottom - work.top - extent.bottom) / 2, extent.top, 1);
}

TEST_F(MainWindowTest, TenSeatLayoutPutsTheButtonsInARowUnderBothGroups)
{
    Open();
    ASSERT_EQ(10, TournamentState.PlayerCount);
    for (int seat = 1; seat <= 18; ++seat)
    {
        EXPECT_EQ(seat <= 10, ControlVisible(Main, IDC_CHIPS_FIRST - 1 + seat)) << seat;
        EXPECT_EQ(seat <= 10, ControlVisible(Main, IDC_RESULT_FIRST - 1 + seat)) << seat;
        EXPECT_EQ(seat <= 10, ControlVisible(Main, IDC_SEAT_LABEL_FIRST - 1 + seat)) << seat;
    }
    RECT client;
    GetClientRect(Main, &client);
    EXPECT_EQ(TenSeatClientHeight(), client.bottom);
    // 198 dialog units, give or take the rounding of eight row pitches
    EXPECT_NEAR(Pixels(198, true), client.bottom, 6);
    const int buttons[3] = {IDC_PLAYERS, IDC_CALCULATE, IDC_EXIT};
    const LONG rowX[3] = {30, 115, 200};
    for (int k = 0; k < 3; ++k)
    {
        const POINT at = ClientPosition(buttons[k]);
        EXPECT_EQ(ButtonRowX(k), at.x) << k;
        EXPECT_EQ(ButtonRowY(), at.y) << k;
        EXPECT_NEAR(Pixels(rowX[k], false), at.x, 2) << k;
        EXPECT_NEAR(Pixels(175, true), at.y, 2) << k;
    }
    EXPECT_EQ(GetWindowExtent(GetDlgItem(Main, IDC_PAYOUT_GROUP)).bottom,
              GetWindowExtent(GetDlgItem(Main, IDC_SEAT_GROUP)).bottom);
    EXPECT_EQ("&Player 18", ControlText(Main, IDC_PLAYERS));
    char item[64];
    GetMenuStringA(GetMenu(Main), IDC_PLAYERS, item, sizeof item, MF_BYCOMMAND);
    EXPECT_STREQ("&Player 18\tAlt+P", item);
}

TEST_F(MainWindowTest, SwitchingEighteenTenEighteenKeepsTheCornerAndZeroesSeatsElevenUp)
{
    Open();
    const RECT before = GetWindowExtent(Main);
    Press(IDC_PLAYERS);
    ASSERT_EQ(18, TournamentState.PlayerCount);
    RECT client;
    GetClientRect(Main, &client);
    EXPECT_EQ(Pixels(295, true), client.bottom);
    const int buttons[3] = {IDC_PLAYERS, IDC_CALCULATE, IDC_EXIT};
    const LONG columnY[3] = {190, 230, 270};
    for (int k = 0; k < 3; ++k)
    {
        const POINT at = ClientPosition(buttons[k]);
        EXPECT_EQ(Pixels(200, false), at.x);
        EXPECT_EQ(Pixels(columnY[k], true), at.y);
    }
    EXPECT_EQ("&Player 10", ControlText(Main, IDC_PLAYERS));
    for (int seat = 11; seat <= 18; ++seat)
        EXPECT_TRUE(ControlVisible(Main, IDC_CHIPS_FIRST - 1 + seat));

    TypeInto(Main, IDC_CHIPS_FIRST + 11, "7000");
    TypeInto(Main, IDC_CHIPS_FIRST + 12, "-5");
    EXPECT_FALSE(ControlEnabled(Main, IDC_CALCULATE));
    Press(IDC_CALCULATE);
    Command(IDC_CALCULATE);
    Press(IDC_PLAYERS);
    EXPECT_EQ(10, TournamentState.PlayerCount);
    EXPECT_TRUE(ControlEnabled(Main, IDC_CALCULATE)) << "seat 13's rejected entry no longer counts";
    Press(IDC_PLAYERS);
    for (int seat = 11; seat <= 18; ++seat)
    {
        EXPECT_EQ("0", ControlText(Main, IDC_CHIPS_FIRST - 1 + seat)) << seat;
        EXPECT_EQ(0, TournamentState.PlayerChips[seat - 1]) << seat;
        EXPECT_EQ(0, TournamentState.ChipEntryInvalid[seat - 1]) << seat;
        EXPECT_EQ(RGB(255, 255, 255) != AskColors(Main, IDC_CHIPS_FIRST - 1 + seat, WM_CTLCOLOREDIT).Text,
                  true);
    }
    for (int seat = 1; seat <= 18; ++seat)
        EXPECT_EQ("", Result(seat)) << seat;
    const RECT after = GetWindowExtent(Main);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
}

TEST_F(MainWindowTest, WorkedExampleShowsThreeResultsAndEmptyFields)
{
    Open();
    TypeWorkedExample();
    ASSERT_TRUE(ControlEnabled(Main, IDC_CALCULATE));
    Press(IDC_CALCULATE);
    EXPECT_EQ("38.393", Result(1));
    EXPECT_EQ("32.750", Result(2));
    EXPECT_EQ("28.857", Result(3));
    for (int seat = 4; seat <= 10; ++seat)
        EXPECT_EQ("", Result(seat)) << seat;
}

TEST_F(MainWindowTest, ResultsStayWhileEntriesChangeUntilTheNextCalculation)
{
    Open();
    TypeWorkedExample();
    Press(IDC_CALCULATE);
    TypeInto(Main, IDC_CHIPS_FIRST, "9000");
    TypeInto(Main, IDC_PAYOUT_FIRST + 1, "x");
    EXPECT_EQ("38.393", Result(1));
    EXPECT_EQ("28.857", Result(3));
}

TEST_F(MainWindowTest, ARejectedChipEntryIsRedKeepsItsValueAndDisablesCalculate)
{
    Open();
    TypeInto(Main, IDC_CHIPS_FIRST, "1500");
    ASSERT_EQ(1500, TournamentState.PlayerChips[0]);
    const struct
    {
        const char *Typed;
        bool Valid;
        int32_t Stored;
    } rows[] = {
        {"", false, 1500},       {" 1500 ", true, 1500}, {"12.5", false, 1500}, {"-3", false, 1500},
        {"0", true, 0},          {"1 500", true, 1500},  {"abc", false, 1500},  {"\t42\t", true, 42},
        {"99999999999", true, 2147483647},
    };
    for (const auto &row : rows)
    {
        PasteInto(Main, IDC_CHIPS_FIRST, row.Typed);
        EXPECT_EQ(row.Stored, TournamentState.PlayerChips[0]) << row.Typed;
        EXPECT_EQ(row.Valid ? 0 : 1, TournamentState.ChipEntryInvalid[0]) << row.Typed;
        EXPECT_EQ(row.Valid, ControlEnabled(Main, IDC_CALCULATE)) << row.Typed;
        const AnsweredColors colors = AskColors(Main, IDC_CHIPS_FIRST, WM_CTLCOLOREDIT);
        EXPECT_EQ(row.Valid ? GetSysColor(COLOR_WINDOWTEXT) : RGB(255, 255, 255), colors.Text) << row.Typed;
        EXPECT_EQ(row.Valid ? GetSysColor(COLOR_WINDOW) : ErrorRed, colors.Background) << row.Typed;
        EXPECT_EQ(row.Valid ? GetSysColor(COLOR_WINDOW) : ErrorRed, colors.BrushColor) << row.Typed;
    }
}

TEST_F(MainWindowTest, PayoutEntriesKeepTheirDecimalsAndRejectSigns)
{
    Open();
    const struct
    {
        const char *Typed;
        bool Valid;
        double Stored;
        int32_t Decimals;
    } rows[] = {
        {"12,5", true, 12.5, 1},  {"-3", false, 12.5, -1}, {"12.50", true, 12.5, 2},
        {"1 500", true, 1500, 0}, {"1,000.50", false, 1500, -1}, {"0.1234567890", true, 0.123456789, 10},
    };
    for (const auto &row : rows)
    {
        PasteInto(Main, IDC_PAYOUT_FIRST, row.Typed);
        EXPECT_EQ(row.Stored, TournamentState.Payouts[0]) << row.Typed;
        EXPECT_EQ(row.Decimals, TournamentState.PayoutDecimals[0]) << row.Typed;
        EXPECT_EQ(row.Valid, ControlEnabled(Main, IDC_CALCULATE)) << row.Typed;
        EXPECT_EQ(row.Valid ? GetSysColor(COLOR_WINDOW) : ErrorRed,
                  AskColors(Main, IDC_PAYOUT_FIRST, WM_CTLCOLOREDIT).Background)
            << row.Typed;
    }
}

TEST_F(MainWindowTest, CalculateNeedsAPaidPlace)
{
    Open();
    TypeInto(Main, IDC_PAYOUT_FIRST, "0");
    EXPECT_EQ(0, TournamentState.PaidPlaces);
    EXPECT_EQ("Payouts(0)", ControlText(Main, IDC_PAYOUT_GROUP));
    EXPECT_FALSE(ControlEnabled(Main, IDC_CALCULATE));
    EXPECT_EQ("0", ControlText(Main, IDC_PAYOUT_FIRST + 1)) << "places behind the gap cleared";
    EXPECT_FALSE(ControlEnabled(Main, IDC_PAYOUT_FIRST + 1));
    TypeInto(Main, IDC_PAYOUT_FIRST, "90");
    EXPECT_EQ("Payouts(1)", ControlText(Main, IDC_PAYOUT_GROUP));
    EXPECT_TRUE(ControlEnabled(Main, IDC_CALCULATE));
    EXPECT_TRUE(ControlEnabled(Main, IDC_PAYOUT_FIRST + 1));
}

bool PaintedRejected(HWND window, int id)
{
    return AskColors(window, id, WM_CTLCOLOREDIT).Background == ErrorRed;
}

// Seats 1 and 2 hold 100 and 200, places 1 to 3 pay 50, 30, 20; then the
// row's entries are typed in order. Calculate must end enabled exactly when
// no entry is left rejected, also when the last key's ladder rule cleared a
// rejected place behind the ladder's new end.
TEST_F(MainWindowTest, CalculateFollowsWhatIsLeftRejectedAfterTheLadderRuleClearsAPlace)
{
    Open();
    struct Key
    {
        int Id;
        const char *Text;
    };
    const int Place2 = IDC_PAYOUT_FIRST + 1, Place3 = IDC_PAYOUT_FIRST + 2, Place4 = IDC_PAYOUT_FIRST + 3;
    const int Seat2 = IDC_CHIPS_FIRST + 1;
    const struct
    {
        const char *Name;
        bool Calculate;
        int32_t Paid;
        int RejectedId; // the one entry still rejected, 0 for none
        std::vector<Key> Typed;
    } rows[] = {
        {"abc in place 3, then 0 in place 2 clears it", true, 1, 0, {{Place3, "abc"}, {Place2, "0"}}},
        {"abc in place 2, inside the ladder", false, 3, Place2, {{Place2, "abc"}}},
        {"abc in place 2, then 0 in place 3", false, 2, Place2, {{Place2, "abc"}, {Place3, "0"}}},
        {"abc in place 4, whose prize 0 the rule leaves", false, 1, Place4, {{Place4, "abc"}, {Place2, "0"}}},
        {"a rejected chip entry", false, 1, Seat2, {{Seat2, "2x0"}, {Place3, "abc"}, {Place2, "0"}}},
    };
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.Name);
        TypeInto(Main, IDC_CHIPS_FIRST, "100");
        TypeInto(Main, Seat2, "200");
        const char *ladder[] = {"50", "30", "20", "0"};
        for (int place = 0; place < 4; ++place)
            TypeInto(Main, IDC_PAYOUT_FIRST + place, ladder[place]);
        ASSERT_TRUE(ControlEnabled(Main, IDC_CALCULATE));
        for (const Key &key : row.Typed)
            TypeInto(Main, key.Id, key.Text);
        EXPECT_EQ(row.Calculate, ControlEnabled(Main, IDC_CALCULATE));
        EXPECT_EQ(row.Paid, TournamentState.PaidPlaces);
        EXPECT_EQ("Payouts(" + std::to_string(row.Paid) + ")", ControlText(Main, IDC_PAYOUT_GROUP));
        for (int id = IDC_PAYOUT_FIRST; id < IDC_PAYOUT_FIRST + MainWindowPlaces; ++id)
        {
            EXPECT_EQ(id == row.RejectedId, TournamentState.PayoutDecimals[id - IDC_PAYOUT_FIRST] < 0) << id;
            EXPECT_EQ(id == row.RejectedId, PaintedRejected(Main, id)) << id;
        }
        for (int id = IDC_CHIPS_FIRST; id < IDC_CHIPS_FIRST + 2; ++id)
            EXPECT_EQ(id == row.RejectedId, PaintedRejected(Main, id)) << id;
        if (row.Paid < 3)
        {
            EXPECT_EQ("0", ControlText(Main, Place3)) << "place 3 shows 0";
        }
    }
}

// Counts the paints an edit receives while a key is being handled.
int ErasesSeen = 0;
WNDPROC EditProcBefore = nullptr;
LRESULT CALLBACK CountingEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        ++ErasesSeen;
    return CallWindowProcA(EditProcBefore, edit, message, wParam, lParam);
}

TEST_F(MainWindowTest, AnEntryIsRepaintedOnlyWhenItsValidityChanges)
{
    Open();
    HWND edit = GetDlgItem(Main, IDC_CHIPS_FIRST);
    EditProcBefore = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingEditProc)));
    TypeInto(Main, IDC_CHIPS_FIRST, "12");
    PumpMessages();
    const struct
    {
        char Key;
        bool Repaint;
    } keys[] = {{'3', false}, {'x', true}, {'y', false}, {VK_BACK, false}, {VK_BACK, true}, {'4', false}};
    for (const auto &key : keys)
    {
        ErasesSeen = 0;
        SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(key.Key), 0);
        EXPECT_EQ(key.Repaint, ErasesSeen > 0) << "key " << static_cast<int>(key.Key);
        PumpMessages();
    }
    EXPECT_EQ("1234", ControlText(Main, IDC_CHIPS_FIRST));
    SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProcBefore));
}

TEST_F(MainWindowTest, MenuCalculateWorksWhileTheButtonIsDisabled)
{
    Open();
    TypeWorkedExample();
    TypeInto(Main, IDC_CHIPS_FIRST + 1, "3000x");
    ASSERT_FALSE(ControlEnabled(Main, IDC_CALCULATE));
    Command(IDC_CALCULATE);
    EXPECT_EQ("38.393", Result(1)) << "the last accepted 3000 is used";
    EXPECT_EQ("32.750", Result(2));
    char saved[32] = "";
    GetPrivateProfileStringA("chips", "Chip2", "", saved, sizeof saved, TournamentState.SettingsPath);
    EXPECT_STREQ("3000", saved) << "and saved with the settings";
}

TEST_F(MainWindowTest, ResultFieldsAnswerWindowColours)
{
    Open();
    const AnsweredColors colors = AskColors(Main, IDC_RESULT_FIRST, WM_CTLCOLORSTATIC);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), colors.Text);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), colors.BrushColor);
    EXPECT_EQ(RGB(4, 5, 6), colors.Background) << "the text background is left alone";
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), AskColors(Main, IDC_PAYOUT_GROUP, WM_CTLCOLORSTATIC).BrushColor)
        << "other statics keep the dialog's colours";
}

TEST_F(MainWindowTest, TheEntryCheckReadsTheFirst255Characters)
{
    Open();
    std::string text(255, '7');
    text += "x";
    SetDlgItemTextA(Main, IDC_PAYOUT_FIRST, text.c_str());
    EXPECT_EQ(0, TournamentState.PayoutDecimals[0]) << "judged on 255 digits, the x unseen";
    EXPECT_GT(TournamentState.Payouts[0], 7e254);
    EXPECT_EQ(31, SendDlgItemMessageA(Main, IDC_CHIPS_FIRST + 17, EM_GETLIMITTEXT, 0, 0));
}

TEST_F(MainWindowTest, EscapeDoesNothingAndExitEndsTheLoopWithZero)
{
    Open();
    Command(IDC_CANCEL);
    EXPECT_TRUE(IsWindow(Main));
    Command(IDC_EXIT);
    EXPECT_FALSE(IsWindow(Main));
    int code = -1;
    EXPECT_TRUE(TakeQuitMessage(&code));
    EXPECT_EQ(0, code);
}

TEST_F(MainWindowTest, TheCloseBoxDestroysTheWindow)
{
    Open();
    SendMessageA(Main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(Main));
    int code = -1;
    EXPECT_TRUE(TakeQuitMessage(&code));
    EXPECT_EQ(0, code);
}

TEST_F(MainWindowTest, EnterInAnEditPressesCalculate)
{
    Open();
    TypeWorkedExample();
    HWND edit = GetDlgItem(Main, IDC_CHIPS_FIRST + 2);
    SetFocus(edit);
    MSG message = {};
    message.hwnd = edit;
    message.message = WM_KEYDOWN;
    message.wParam = VK_RETURN;
    ASSERT_TRUE(IsDialogMessageA(Main, &message));
    PumpMessages();
    EXPECT_EQ("28.857", Result(3));
}

TEST_F(MainWindowTest, TheMenuAndAcceleratorsAreAsDrawn)
{
    Open();
    HMENU menu = GetMenu(Main);
    const struct
    {
        int Id;
        const char *Text;
    } items[] = {
        {IDC_CALCULATE, "&Calculate\tAlt+C"}, {IDM_BUBBLE, "&Bubble factor\tAlt+B"},
        {IDM_MORE_PAYOUTS, "&More\tAlt+M"},   {IDM_OPEN_PAYOUTS, "&Open\tAlt+O"},
        {IDM_SAVE_PAYOUTS, "&Save\tAlt+S"},   {IDC_EXIT, "E&xit\tAlt+X"},
        {IDM_ABOUT, "&About"},
    };
    for (const auto &item : items)
    {
        char text[64] = "";
        GetMenuStringA(menu, static_cast<UINT>(item.Id), text, sizeof text, MF_BYCOMMAND);
        EXPECT_STREQ(item.Text, text);
    }
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_ACCELERATORS), reinterpret_cast<LPCSTR>(RT_ACCELERATOR));
    ASSERT_NE(nullptr, found);
    ASSERT_EQ(4u * 8u, SizeofResource(nullptr, found));
    const unsigned char *table = static_cast<const unsigned char *>(LockResource(LoadResource(nullptr, found)));
    const struct
    {
        unsigned char Flags;
        char Key;
        int Command;
    } entries[] = {{0x13, 'B', IDM_BUBBLE}, {0x13, 'O', IDM_OPEN_PAYOUTS}, {0x13, 'M', IDM_MORE_PAYOUTS},
                   {0x93, 'S', IDM_SAVE_PAYOUTS}};
    for (int k = 0; k < 4; ++k)
    {
        EXPECT_EQ(entries[k].Flags, table[8 * k]) << k;
        EXPECT_EQ(entries[k].Key, table[8 * k + 2]) << k;
        EXPECT_EQ(entries[k].Command, table[8 * k + 4] | table[8 * k + 5] << 8) << k;
    }
}

} // namespace
