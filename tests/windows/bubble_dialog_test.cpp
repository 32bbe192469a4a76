// The bubble factor dialog driven while it runs: its entries' ranges and
// colours, the Do it rule, the results it shows and keeps.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "bubble_dialog.h"
#include "main_window.h"
#include "resource_ids.h"
#include "tournament_state.h"
#include "window_helpers.h"
#include "window_test_support.h"

namespace
{

class BubbleDialogTest : public MainWindowFixture
{
  protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        OpenMainWindow();
    }
};

void Click(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

struct RangeRow
{
    int Id;
    const char *Typed;
    bool Valid;
    int32_t Stored;
};

void JudgeEveryRow(HWND dialog)
{
    EXPECT_EQ("180", ControlText(dialog, IDC_BUBBLE_PLAYERS));
    EXPECT_EQ("1500", ControlText(dialog, IDC_BUBBLE_CHIPS));
    EXPECT_TRUE(ControlEnabled(dialog, IDC_BUBBLE_DO_IT));
    const RangeRow rows[] = {
        {IDC_BUBBLE_PLAYERS, "1", false, 180},     {IDC_BUBBLE_PLAYERS, "2", true, 2},
        {IDC_BUBBLE_PLAYERS, "1000", true, 1000},  {IDC_BUBBLE_PLAYERS, "1001", false, 1000},
        {IDC_BUBBLE_PLAYERS, "1 000", true, 1000}, {IDC_BUBBLE_PLAYERS, "12.0", false, 1000},
        {IDC_BUBBLE_PLAYERS, "12,0", false, 1000}, {IDC_BUBBLE_PLAYERS, "", false, 1000},
        {IDC_BUBBLE_PLAYERS, "-5", false, 1000},   {IDC_BUBBLE_PLAYERS, "ten", false, 1000},
        {IDC_BUBBLE_PLAYERS, " 10 ", true, 10},    {IDC_BUBBLE_CHIPS, "9", false, 1500},
        {IDC_BUBBLE_CHIPS, "10", true, 10},        {IDC_BUBBLE_CHIPS, "100000", true, 100000},
        {IDC_BUBBLE_CHIPS, "100001", false, 100000}, {IDC_BUBBLE_CHIPS, "1 500", true, 1500},
    };
    for (const RangeRow &row : rows)
    {
        PasteInto(dialog, row.Id, row.Typed);
        const bool players = row.Id == IDC_BUBBLE_PLAYERS;
        EXPECT_EQ(row.Stored, players ? TournamentState.InitPlayers : TournamentState.InitChips) << row.Typed;
        EXPECT_EQ(row.Valid ? 1 : 0, players ? TournamentState.BubblePlayersValid : TournamentState.BubbleChipsValid)
            << row.Typed;
        EXPECT_EQ(row.Valid, ControlEnabled(dialog, IDC_BUBBLE_DO_IT)) << row.Typed;
        const AnsweredColors colors = AskColors(dialog, row.Id, WM_CTLCOLOREDIT);
        EXPECT_EQ(row.Valid ? GetSysColor(COLOR_WINDOW) : ErrorRed, colors.BrushColor) << row.Typed;
        EXPECT_EQ(row.Valid ? GetSysColor(COLOR_WINDOWTEXT) : RGB(255, 255, 255), colors.Text) << row.Typed;
    }
    EndDialog(dialog, 0);
}

TEST_F(BubbleDialogTest, EntriesAcceptOnlyWholeCountsInTheirRanges)
{
    TournamentState.InitPlayers = 180;
    TournamentState.InitChips = 1500;
    WhenDialogAppears("Bubble factor calculation", JudgeEveryRow);
    RunBubbleDialog();
    EXPECT_EQ(10, TournamentState.InitPlayers) << "accepted entries stay after the dialog";
    EXPECT_EQ(1500, TournamentState.InitChips);
}

void CalculateAndKeep(HWND dialog)
{
    Click(dialog, IDC_BUBBLE_DO_IT);
    EXPECT_EQ("10.0000", ControlText(dialog, IDC_BUBBLE_EV1));
    EXPECT_EQ("18.4444", ControlText(dialog, IDC_BUBBLE_EV2));
    EXPECT_EQ("1.1842", ControlText(dialog, IDC_BUBBLE_FACTOR));
    TypeInto(dialog, IDC_BUBBLE_PLAYERS, "25");
    PasteInto(dialog, IDC_BUBBLE_CHIPS, "x");
    EXPECT_EQ("10.0000", ControlText(dialog, IDC_BUBBLE_EV1)) << "results stay while entries change";
    EXPECT_EQ("1.1842", ControlText(dialog, IDC_BUBBLE_FACTOR));
    const AnsweredColors result = AskColors(dialog, IDC_BUBBLE_EV2, WM_CTLCOLORSTATIC);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), result.BrushColor);
    PostMessageA(GetFocus() != nullptr ? GetFocus() : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(BubbleDialogTest, DoItShowsTheThreeResultsWithFourDecimals)
{
    TournamentState.InitPlayers = 10;
    TournamentState.InitChips = 1500;
    TournamentState.Payouts[0] = 50;
    TournamentState.Payouts[1] = 30;
    TournamentState.Payouts[2] = 20;
    RecountPaidPlaces(Main, 0);
    WhenDialogAppears("Bubble factor calculation", CalculateAndKeep);
    RunBubbleDialog();
    EXPECT_EQ(25, TournamentState.InitPlayers);
    EXPECT_EQ(1500, TournamentState.InitChips) << "the rejected chips kept their last value";
}

bool DoItWasEnabled = true;
void ReadDoItAndClose(HWND dialog)
{
    DoItWasEnabled = ControlEnabled(dialog, IDC_BUBBLE_DO_IT);
    Click(dialog, IDC_CANCEL);
}

TEST_F(BubbleDialogTest, DoItNeedsAPaidPlace)
{
    TournamentState.InitPlayers = 10;
    TournamentState.InitChips = 1500;
    for (double &prize : TournamentState.Payouts)
        prize = 0;
    RecountPaidPlaces(Main, 0);
    WhenDialogAppears("Bubble factor calculation", ReadDoItAndClose);
    RunBubbleDialog();
    EXPECT_FALSE(DoItWasEnabled);
}

RECT Placed = {};
void MeasureAndClose(HWND dialog)
{
    Placed = GetWindowExtent(dialog);
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

TEST_F(BubbleDialogTest, OpensCentredOnTheMainWindowAndCloses)
{
    TournamentState.InitPlayers = 180;
    TournamentState.InitChips = 1500;
    SetWindowPos(Main, nullptr, 300, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    WhenDialogAppears("Bubble factor calculation", MeasureAndClose);
    SendMessageA(Main, WM_COMMAND, MAKEWPARAM(IDM_BUBBLE, 0), 0);
    const RECT main = GetWindowExtent(Main);
    EXPECT_EQ(main.left + (main.right - Placed.right) / 2, Placed.left);
    EXPECT_EQ(main.top + (main.bottom - Placed.bottom) / 2, Placed.top);
}

// The file dialog that Open shows: a name typed into its name box and OK,
// or Cancel when there is no name.
const char *NameToOpen = nullptr;
void AnswerOpenDialog(HWND fileDialog)
{
    if (NameToOpen != nullptr)
        SetDlgItemTextA(fileDialog, 1148, NameToOpen);
    PostMessageA(fileDialog, WM_COMMAND, MAKEWPARAM(NameToOpen != nullptr ? IDOK : IDCANCEL, BN_CLICKED), 0);
}

void OpenFromTheDialog(HWND dialog, const char *name)
{
    NameToOpen = name;
    WhenDialogAppears("Open payout structure", AnswerOpenDialog);
    Click(dialog, IDC_BUBBLE_OPEN);
}

struct OpenSeen
{
    std::string Players, Chips;
    bool PlayersRed, DoIt;
} Seen;

void RejectThenOpenAndCancel(HWND dialog)
{
    PasteInto(dialog, IDC_BUBBLE_PLAYERS, "1001");
    PasteInto(dialog, IDC_BUBBLE_CHIPS, "abc");
    OpenFromTheDialog(dialog, nullptr);
    Seen = {ControlText(dialog, IDC_BUBBLE_PLAYERS), ControlText(dialog, IDC_BUBBLE_CHIPS),
            AskColors(dialog, IDC_BUBBLE_PLAYERS, WM_CTLCOLOREDIT).Background == ErrorRed,
            ControlEnabled(dialog, IDC_BUBBLE_DO_IT)};
    EndDialog(dialog, 0);
}

TEST_F(BubbleDialogTest, OpenThenCancelRewritesBothEntriesFromTheRecord)
{
    TournamentState.InitPlayers = 45;
    TournamentState.InitChips = 2500;
    WhenDialogAppears("Bubble factor calculation", RejectThenOpenAndCancel);
    RunBubbleDialog();
    EXPECT_EQ("45", Seen.Players);
    EXPECT_EQ("2500", Seen.Chips);
    EXPECT_FALSE(Seen.PlayersRed);
    EXPECT_TRUE(Seen.DoIt);
    EXPECT_EQ(1, TournamentState.BubblePlayersValid);
    EXPECT_EQ(1, TournamentState.BubbleChipsValid);
}

void OpenAPaidLadder(HWND dialog)
{
    EXPECT_FALSE(ControlEnabled(dialog, IDC_BUBBLE_DO_IT));
    OpenFromTheDialog(dialog, "paid.pos");
    Seen = {ControlText(dialog, IDC_BUBBLE_PLAYERS), ControlText(dialog, IDC_BUBBLE_CHIPS), false,
            ControlEnabled(dialog, IDC_BUBBLE_DO_IT)};
    EndDialog(dialog, 0);
}

TEST_F(BubbleDialogTest, OpeningAPaidLadderFromTheDialogEnablesDoIt)
{
    const std::string file = Folder + "paid.pos";
    WritePrivateProfileStringA("common", "InitChips", "3000", file.c_str());
    WritePrivateProfileStringA("common", "InitPlayers", "5000", file.c_str());
    WritePrivateProfileStringA("payouts", "Payout1", "70", file.c_str());
    WritePrivateProfileStringA("payouts", "Payout2", "30", file.c_str());
    TournamentState.InitPlayers = 12;
    TournamentState.InitChips = 700;
    for (double &prize : TournamentState.Payouts)
        prize = 0;
    RecountPaidPlaces(Main, 0);
    WhenDialogAppears("Bubble factor calculation", OpenAPaidLadder);
    RunBubbleDialog();
    EXPECT_EQ("180", Seen.Players) << "players out of range in the file read as 180";
    EXPECT_EQ("3000", Seen.Chips);
    EXPECT_TRUE(Seen.DoIt);
    EXPECT_EQ("Payouts(2)", ControlText(Main, IDC_PAYOUT_GROUP)) << "the main window follows the file";
    EXPECT_EQ("70", ControlText(Main, IDC_PAYOUT_FIRST));
}

} // namespace
