// Payout > Save and Payout > Open: the platform's real Open and Save dialogs
// driven while they run, from the main window created from its real template.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <string>

#include "file_dialogs.h"
#include "resource_ids.h"
#include "tournament_state.h"
#include "window_helpers.h"
#include "window_test_support.h"

namespace
{

// The file dialog's controls, as Wine and Windows number them.
const int FileNameBox = 1148;  // cmb13
const int FilterBox = 0x470;   // cmb1
const int ReadOnlyBox = 0x410; // chx1
const int PlacesBar = 0x4A0;   // ctl1

void Click(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void ChooseName(HWND fileDialog, const char *name)
{
    SetDlgItemTextA(fileDialog, FileNameBox, name);
    Click(fileDialog, IDOK);
}

// Chooses `name`, answers the message box the dialog then shows over itself
// with `answer`, and cancels the dialog once it takes input again.
void ChooseNameAnswerAndCancel(HWND fileDialog, const char *name, int answer, bool *shown)
{
    WhenWindowAppears("a message over the file dialog", OwnedBy(fileDialog), [=](HWND message) {
        *shown = true;
        PostMessageA(message, WM_COMMAND, static_cast<WPARAM>(answer), 0);
        const auto takesInput = [fileDialog](HWND window) {
            return window == fileDialog && IsWindowEnabled(window);
        };
        WhenWindowAppears("the file dialog again", takesInput, [](HWND again) { Click(again, IDCANCEL); });
    });
    ChooseName(fileDialog, name);
}

std::string FolderShown(HWND fileDialog)
{
    char folder[MAX_PATH] = "";
    SendMessageA(fileDialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
    return folder;
}

// LVS_ICON, LVS_REPORT, LVS_SMALLICON or LVS_LIST of the file view's list.
LONG FileViewMode(HWND fileDialog)
{
    HWND list = FindWindowExA(GetDlgItem(fileDialog, FileViewControl), nullptr, "SysListView32", nullptr);
    return list == nullptr ? -1 : GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK;
}

std::string WithoutTrailingBackslash(std::string folder)
{
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

// What a file dialog showed when it came up.
struct DialogLook
{
    std::string Folder;
    std::string FileName;
    std::string Filters;
    bool PlacesBarShown = true;
    bool ReadOnlyBoxShown = true;
    bool Sizable = false;
    RECT Extent = {};
    LONG ViewMode = -1;
};

DialogLook LookAt(HWND fileDialog)
{
    DialogLook look;
    look.Folder = FolderShown(fileDialog);
    look.FileName = ControlText(fileDialog, FileNameBox);
    HWND filters = GetDlgItem(fileDialog, FilterBox);
    const LRESULT count = SendMessageA(filters, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
    {
        char text[128] = "";
        SendMessageA(filters, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        look.Filters += std::string(text) + ";";
    }
    look.PlacesBarShown = IsWindowVisible(GetDlgItem(fileDialog, PlacesBar)) != FALSE;
    look.ReadOnlyBoxShown = IsWindowVisible(GetDlgItem(fileDialog, ReadOnlyBox)) != FALSE;
    look.Sizable = (GetWindowLongA(fileDialog, GWL_STYLE) & WS_THICKFRAME) != 0;
    look.Extent = GetWindowExtent(fileDialog);
    look.ViewMode = FileViewMode(fileDialog);
    return look;
}

void WriteText(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ProfileText(const std::string &path, const char *section, const char *key)
{
    char text[256] = "";
    GetPrivateProfileStringA(section, key, "(none)", text, sizeof text, path.c_str());
    return text;
}

bool FileExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The main window from its real template, its settings in a fresh folder,
// placed off the screen's centre so that centring on it can be told apart.
class PayoutFileCommandsTest : public MainWindowFixture
{
  protected:
    HWND Window = nullptr;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        OpenMainWindow();
        Window = Main;
        SetWindowPos(Window, nullptr, 240, 180, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }

    void TearDown() override
    {
        StopAwaiting();
        MainWindowFixture::TearDown();
    }

    void Command(int id)
    {
        SendMessageA(Window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }

    // Runs the command; when its dialog shows, looks at it and acts on it.
    DialogLook RunDialog(int command, const char *caption, const std::function<void(HWND)> &act)
    {
        DialogLook look;
        WhenWindowAppears(caption, CaptionIs(caption), [&](HWND dialog) {
            look = LookAt(dialog);
            act(dialog);
        });
        Command(command);
        return look;
    }

    void TypeLadder(const char *const *prizes, int count)
    {
        for (int place = 0; place < count; ++place)
            TypeInto(Window, IDC_PAYOUT_FIRST + place, prizes[place]);
    }

    void CalculateWorkedExample()
    {
        TypeInto(Window, IDC_CHIPS_FIRST, "5000");
        TypeInto(Window, IDC_CHIPS_FIRST + 1, "3000");
        TypeInto(Window, IDC_CHIPS_FIRST + 2, "2000");
        const char *ladder[] = {"50", "30", "20"};
        TypeLadder(ladder, 3);
        Command(IDC_CALCULATE);
        ASSERT_NE("", ControlText(Window, IDC_RESULT_FIRST));
    }

    // Both dialogs come up in the settings folder with no name, the one
    // filter, no places bar, a sizing frame, and centred on the main window.
    void ExpectFreshDialog(const DialogLook &look)
    {
        EXPECT_EQ(0, lstrcmpiA(WithoutTrailingBackslash(Folder).c_str(), look.Folder.c_str())) << look.Folder;
        EXPECT_EQ("", look.FileName);
        EXPECT_EQ("Payout structure (*.pos);", look.Filters);
        EXPECT_FALSE(look.PlacesBarShown);
        EXPECT_FALSE(look.ReadOnlyBoxShown);
        EXPECT_TRUE(look.Sizable);
        const RECT owner = GetWindowExtent(Window);
        EXPECT_NEAR(owner.left + (owner.right - look.Extent.right) / 2, look.Extent.left, 1);
        EXPECT_NEAR(owner.top + (owner.bottom - look.Extent.bottom) / 2, look.Extent.top, 1);
    }
};

TEST_F(PayoutFileCommandsTest, SaveCompletesANameWithoutExtensionAndWritesTheLadder)
{
    const char *ladder[] = {"500", "300", "200.50", "1 000"};
    TypeInto(Window, IDC_PAYOUT_FIRST + 3, "0");
    TypeLadder(ladder, 3);
    TypeInto(Window, IDC_PAYOUT_FIRST + 3, "99,5");
    const DialogLook look =
        RunDialog(IDM_SAVE_PAYOUTS, "Save payout structure", [](HWND dialog) { ChooseName(dialog, "ladder"); });
    ExpectFreshDialog(look);
    EXPECT_NE(LVS_REPORT, look.ViewMode) << "the Save dialog keeps the platform's view";
    const std::string path = Folder + "ladder.pos";
    ASSERT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(Folder + "ladder"));
    const struct
    {
        const char *Section;
        const char *Key;
        const char *Value;
    } rows[] = {
        {"common", "InitPlayers", "180"}, {"common", "InitChips", "1500"},     {"payouts", "Payout1", "500"},
        {"payouts", "Payout2", "300"},    {"payouts", "Payout3", "200.50"},    {"payouts", "Payout4", "99.5"},
        {"payouts", "Payout5", "0"},      {"payouts", "Payout30", "0"},        {"common", "PlayerCount", "(none)"},
        {"chips", "Chip1", "(none)"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.Value, ProfileText(path, row.Section, row.Key)) << row.Key;
}

TEST_F(PayoutFileCommandsTest, OpenRefreshesPayoutsCaptionCalculateAndResults)
{
    const struct
    {
        const char *File;
        const char *Shown[4]; // places 1 to 4
        const char *Caption;
        bool Calculate;
        int32_t Players;
    } rows[] = {
        {"[common]\r\nInitPlayers=90\r\nInitChips=2000\r\n[payouts]\r\nPayout1=700\r\nPayout2=12.50\r\n"
         "Payout3=5\r\nPayout4=1,5\r\nPayout5=0\r\n",
         {"700", "12.50", "5", "1.5"}, "Payouts(4)", true, 90},
        {"[payouts]\r\nPayout1=0\r\nPayout2=40\r\n", {"0", "0", "0", "0"}, "Payouts(0)", false, 180},
        {"[payouts]\r\nPayout1=1\r\nPayout2=1\r\nPayout3=1\r\nPayout4=1\r\nPayout5=1\r\nPayout6=1\r\n"
         "Payout7=1\r\nPayout8=1\r\nPayout9=1\r\nPayout10=1\r\nPayout11=1\r\nPayout12=1\r\n",
         {"1", "1", "1", "1"}, "Payouts(12)", true, 180},
    };
    int n = 0;
    for (const auto &row : rows)
    {
        const std::string name = "ladder" + std::to_string(++n);
        WriteText(Folder + name + ".pos", row.File);
        CalculateWorkedExample();
        const DialogLook look = RunDialog(IDM_OPEN_PAYOUTS, "Open payout structure",
                                          [&](HWND dialog) { ChooseName(dialog, (name + ".pos").c_str()); });
        SCOPED_TRACE(name);
        ExpectFreshDialog(look);
        EXPECT_EQ(LVS_REPORT, look.ViewMode) << "the Open dialog lists in details";
        for (int place = 1; place <= 4; ++place)
            EXPECT_EQ(row.Shown[place - 1], ControlText(Window, IDC_PAYOUT_FIRST - 1 + place)) << place;
        EXPECT_EQ(row.Caption, ControlText(Window, IDC_PAYOUT_GROUP));
        EXPECT_EQ(row.Calculate, ControlEnabled(Window, IDC_CALCULATE));
        EXPECT_EQ(row.Players, TournamentState.InitPlayers);
        for (int id = IDC_RESULT_FIRST; id <= IDC_RESULT_LAST; ++id)
            EXPECT_EQ("", ControlText(Window, id)) << id;
        EXPECT_EQ(0, TournamentState.MainUpdating);
        EXPECT_EQ("5000", ControlText(Window, IDC_CHIPS_FIRST)) << "chips are not in the file";
    }
}

// The whole ladder, the bubble inputs and every text of the main window.
struct Snapshot
{
    TournamentStateRecord State;
    std::string Texts[IDC_RESULT_LAST - IDC_PAYOUT_FIRST + 1];
    bool Calculate;
};

Snapshot TakeSnapshot(HWND window)
{
    Snapshot snapshot;
    snapshot.State = TournamentState;
    for (int id = IDC_PAYOUT_FIRST; id <= IDC_RESULT_LAST; ++id)
        snapshot.Texts[id - IDC_PAYOUT_FIRST] = ControlText(window, id);
    snapshot.Calculate = ControlEnabled(window, IDC_CALCULATE);
    return snapshot;
}

void ExpectSameSnapshot(const Snapshot &before, const Snapshot &after)
{
    EXPECT_EQ(0, std::memcmp(before.State.Payouts, after.State.Payouts, sizeof before.State.Payouts));
    EXPECT_EQ(0, std::memcmp(before.State.PayoutDecimals, after.State.PayoutDecimals,
                             sizeof before.State.PayoutDecimals));
    EXPECT_EQ(before.State.PaidPlaces, after.State.PaidPlaces);
    EXPECT_EQ(before.State.InitPlayers, after.State.InitPlayers);
    EXPECT_EQ(before.State.InitChips, after.State.InitChips);
    for (int id = IDC_PAYOUT_FIRST; id <= IDC_RESULT_LAST; ++id)
        EXPECT_EQ(before.Texts[id - IDC_PAYOUT_FIRST], after.Texts[id - IDC_PAYOUT_FIRST]) << id;
    EXPECT_EQ(before.Calculate, after.Calculate);
}

TEST_F(PayoutFileCommandsTest, CancelChangesNothingAndWritesNothing)
{
    WriteText(Folder + "ladder.pos", "[payouts]\r\nPayout1=1\r\nPayout2=0\r\n");
    CalculateWorkedExample();
    TypeInto(Window, IDC_PAYOUT_FIRST + 1, "abc");
    const Snapshot before = TakeSnapshot(Window);
    const int commands[] = {IDM_OPEN_PAYOUTS, IDM_SAVE_PAYOUTS};
    const char *captions[] = {"Open payout structure", "Save payout structure"};
    for (int k = 0; k < 2; ++k)
    {
        RunDialog(commands[k], captions[k], [](HWND dialog) {
            SetDlgItemTextA(dialog, FileNameBox, "ladder");
            Click(dialog, IDCANCEL);
        });
        ExpectSameSnapshot(before, TakeSnapshot(Window));
    }
    EXPECT_EQ("1", ProfileText(Folder + "ladder.pos", "payouts", "Payout1"));
    EXPECT_EQ("(none)", ProfileText(Folder + "ladder.pos", "common", "InitPlayers"));
}

TEST_F(PayoutFileCommandsTest, SavingOntoAFileAsksFirstAndNoKeepsIt)
{
    const std::string path = Folder + "ladder.pos";
    WriteText(path, "[payouts]\r\nPayout1=1\r\n");
    bool asked = false;
    RunDialog(IDM_SAVE_PAYOUTS, "Save payout structure",
              [&](HWND dialog) { ChooseNameAnswerAndCancel(dialog, "ladder", IDNO, &asked); });
    EXPECT_TRUE(asked);
    EXPECT_EQ("1", ProfileText(path, "payouts", "Payout1"));
    EXPECT_EQ("(none)", ProfileText(path, "common", "InitChips"));
}

TEST_F(PayoutFileCommandsTest, OpenTakesOnlyAFileThatExists)
{
    const Snapshot before = TakeSnapshot(Window);
    bool told = false;
    RunDialog(IDM_OPEN_PAYOUTS, "Open payout structure",
              [&](HWND dialog) { ChooseNameAnswerAndCancel(dialog, "missing", IDOK, &told); });
    EXPECT_TRUE(told);
    ExpectSameSnapshot(before, TakeSnapshot(Window));
}

bool PaintedRejected(HWND window, int id)
{
    const AnsweredColors colors = AskColors(window, id, WM_CTLCOLOREDIT);
    return colors.Text == RGB(255, 255, 255) && colors.Background == ErrorRed && colors.BrushColor == ErrorRed;
}

TEST_F(PayoutFileCommandsTest, ARejectedPlaceTheFileDoesNotSetStaysMarkedUnlessTheLadderClearsIt)
{
    const struct
    {
        const char *Name;
        int Place;      // typed with rejected text before the Open
        const char *File;
        double Prize;   // the place's prize after the Open
        int32_t Decimals;
        const char *Shown;
        bool Enabled;
        const char *Caption;
        bool Calculate;
    } rows[] = {
        {"missing key", 2, "[payouts]\r\nPayout1=400\r\nPayout3=90\r\n", 150, -1, "", true, "Payouts(3)", false},
        {"not a number", 2, "[payouts]\r\nPayout1=400\r\nPayout2=ten\r\nPayout3=0\r\n", 150, -1, "", true,
         "Payouts(2)", false},
        {"behind the ladder, old prize 0", 4, "[payouts]\r\nPayout1=400\r\nPayout2=0\r\n", 0, -1, "", false,
         "Payouts(1)", false},
        {"behind the ladder, old prize 100", 3, "[payouts]\r\nPayout1=400\r\nPayout2=0\r\n", 0, 0, "0", false,
         "Payouts(1)", true},
    };
    int n = 0;
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.Name);
        const char *start[] = {"250", "150", "100", "0"};
        TypeLadder(start, 4);
        TypeInto(Window, IDC_PAYOUT_FIRST - 1 + row.Place, "abc");
        ASSERT_EQ(-1, TournamentState.PayoutDecimals[row.Place - 1]);
        const std::string name = "ladder" + std::to_string(++n) + ".pos";
        WriteText(Folder + name, row.File);
        RunDialog(IDM_OPEN_PAYOUTS, "Open payout structure",
                  [&](HWND dialog) { ChooseName(dialog, name.c_str()); });
        const int id = IDC_PAYOUT_FIRST - 1 + row.Place;
        EXPECT_EQ(400, TournamentState.Payouts[0]);
        EXPECT_EQ(row.Prize, TournamentState.Payouts[row.Place - 1]);
        EXPECT_EQ(row.Decimals, TournamentState.PayoutDecimals[row.Place - 1]);
        EXPECT_EQ(row.Shown, ControlText(Window, id));
        EXPECT_EQ(row.Enabled, ControlEnabled(Window, id));
        EXPECT_EQ(row.Decimals < 0, PaintedRejected(Window, id));
        EXPECT_EQ(row.Caption, ControlText(Window, IDC_PAYOUT_GROUP));
        EXPECT_EQ(row.Calculate, ControlEnabled(Window, IDC_CALCULATE));
        if (row.Enabled && row.Decimals < 0)
        {
            TypeInto(Window, id, "120");
            EXPECT_TRUE(ControlEnabled(Window, IDC_CALCULATE)) << "corrected";
            EXPECT_FALSE(PaintedRejected(Window, id));
        }
    }
}

TEST_F(PayoutFileCommandsTest, OpenListsInDetailsOnceAndThenKeepsTheUsersView)
{
    CreateDirectoryA((Folder + "sub").c_str(), nullptr);
    LONG first = -1, chosen = -1, later = -1;
    std::string laterFolder;
    RunDialog(IDM_OPEN_PAYOUTS, "Open payout structure", [&](HWND dialog) {
        first = FileViewMode(dialog);
        SendDlgItemMessageA(dialog, FileViewControl, WM_COMMAND, 0x702A, 0); // the user picks small icons
        chosen = FileViewMode(dialog);
        const std::string sub = WithoutTrailingBackslash(Folder) + "\\sub";
        WhenWindowAppears(
            "the Open dialog in the subfolder",
            [dialog, sub](HWND window) {
                return window == dialog && lstrcmpiA(FolderShown(dialog).c_str(), sub.c_str()) == 0;
            },
            [&](HWND again) {
                later = FileViewMode(again);
                laterFolder = FolderShown(again);
                Click(again, IDCANCEL);
            });
        ChooseName(dialog, "sub"); // a folder's name opens the folder
    });
    EXPECT_EQ(LVS_REPORT, first);
    EXPECT_EQ(LVS_SMALLICON, chosen);
    EXPECT_EQ(LVS_SMALLICON, later) << laterFolder;
}

TEST_F(PayoutFileCommandsTest, OpenFromAnotherDialogCentresOnItAndStillRefreshesTheMainWindow)
{
    WriteText(Folder + "ladder.pos",
              "[common]\r\nInitChips=3000\r\n[payouts]\r\nPayout1=80\r\nPayout2=20\r\nPayout3=0\r\n");
    CalculateWorkedExample();
    HWND tool = MakeBlankDialog(Window, WS_POPUP | WS_CAPTION | WS_VISIBLE, 700, 520, 300, 200);
    DialogLook look;
    WhenWindowAppears("Open payout structure", CaptionIs("Open payout structure"), [&](HWND dialog) {
        look = LookAt(dialog);
        ChooseName(dialog, "ladder.pos");
    });
    OpenPayoutStructureCommand(tool);
    const RECT owner = GetWindowExtent(tool);
    EXPECT_NEAR(owner.left + (owner.right - look.Extent.right) / 2, look.Extent.left, 1);
    EXPECT_NEAR(owner.top + (owner.bottom - look.Extent.bottom) / 2, look.Extent.top, 1);
    EXPECT_EQ("80", ControlText(Window, IDC_PAYOUT_FIRST));
    EXPECT_EQ("20", ControlText(Window, IDC_PAYOUT_FIRST + 1));
    EXPECT_EQ("0", ControlText(Window, IDC_PAYOUT_FIRST + 2));
    EXPECT_EQ("Payouts(2)", ControlText(Window, IDC_PAYOUT_GROUP));
    EXPECT_EQ("", ControlText(Window, IDC_RESULT_FIRST));
    EXPECT_EQ(3000, TournamentState.InitChips);
    DestroyWindow(tool);
}

std::string PathsOffered;
int32_t CALLBACK RefuseFirstPath(HWND, const char *path)
{
    PathsOffered += std::string(path) + ";";
    return PathsOffered.find(';') != PathsOffered.size() - 1;
}

TEST_F(PayoutFileCommandsTest, ARefusingAcceptCallbackKeepsTheRealDialogOpen)
{
    PathsOffered.clear();
    char fileName[FileNameCapacity] = "";
    int oks = 0;
    std::function<void(HWND)> pressOk = [&](HWND dialog) {
        ++oks;
        if (oks < 2)
            WhenWindowAppears("the Save dialog after the refusal",
                              [dialog, &oks](HWND window) { return window == dialog && PathsOffered.size() > 0; },
                              pressOk);
        ChooseName(dialog, oks == 1 ? "first" : "second");
    };
    WhenWindowAppears("Pick", CaptionIs("Pick"), pressOk);
    const BOOL chosen = AskSaveFileName(Window, "Pick", fileName, Folder.c_str(), PayoutFilter, ".pos",
                                        PayoutSaveFlags, 0, RefuseFirstPath);
    EXPECT_NE(FALSE, chosen);
    EXPECT_EQ(Folder + "first.pos;" + Folder + "second.pos;", PathsOffered);
    EXPECT_EQ(Folder + "second.pos", std::string(fileName));
}

} // namespace
