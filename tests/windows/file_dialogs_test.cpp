// The payout structure file dialogs: the record and the hook, checked with
// records and stand-in dialogs built here (payout_file_commands_test.cpp
// drives the platform's real dialogs).
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

int32_t CALLBACK AcceptNothing(HWND, const char *)
{
    return 0;
}

TEST(FileDialogRecord, IsFilledFieldByFieldAndZeroElsewhere)
{
    char fileName[FileNameCapacity] = "";
    const char folder[] = "C:\\ostrel\\";
    HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    const DWORD common = OFN_EXPLORER | OFN_ENABLEHOOK;
    ASSERT_TRUE(IsNewShellPlatform()) << "Wine reports an NT version of 5 or more";
    const struct
    {
        const char *Title;
        DWORD Flags;
        const char *Extension;
        const char *StoredExtension;
        uint32_t ViewCommand;
        FileAcceptCallback Accept;
        DWORD ExpectedFlags;
    } rows[] = {
        {"Save payout structure", PayoutSaveFlags, ".pos", "pos", 0, nullptr,
         OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN | OFN_ENABLESIZING |
             common},
        {"Open payout structure", PayoutOpenFlags, ".pos", "pos", 0x702C, nullptr,
         OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ENABLESIZING | common},
        {"t", 0, "pos", "pos", 7, AcceptNothing, common},
        {"t", OFN_EXPLORER, nullptr, nullptr, 0, nullptr, common},
        {"t", 0, ".", "", 0, nullptr, common},
    };
    for (const auto &row : rows)
    {
        OPENFILENAMEA record;
        std::memset(&record, 0xCD, sizeof record);
        FileDialogOptions options = {0xCDCDCDCD, nullptr};
        FillFileDialogRecord(&record, &options, owner, row.Title, fileName, FileNameCapacity, folder,
                             PayoutFilter, row.Extension, row.Flags, row.ViewCommand, row.Accept);
        SCOPED_TRACE(row.Title);
        EXPECT_EQ(sizeof(OPENFILENAMEA), record.lStructSize);
        EXPECT_EQ(owner, record.hwndOwner);
        EXPECT_EQ(PayoutFilter, record.lpstrFilter);
        EXPECT_EQ(fileName, record.lpstrFile);
        EXPECT_EQ(260u, record.nMaxFile);
        EXPECT_EQ(folder, record.lpstrInitialDir);
        EXPECT_STREQ(row.Title, record.lpstrTitle);
        EXPECT_EQ(row.ExpectedFlags, record.Flags);
        if (row.StoredExtension == nullptr)
            EXPECT_EQ(nullptr, record.lpstrDefExt);
        else
            EXPECT_STREQ(row.StoredExtension, record.lpstrDefExt);
        EXPECT_EQ(reinterpret_cast<LPARAM>(&options), record.lCustData);
        EXPECT_EQ(reinterpret_cast<LPOFNHOOKPROC>(FileDialogHook), record.lpfnHook);
        EXPECT_EQ(static_cast<DWORD>(OFN_EX_NOPLACESBAR), record.FlagsEx);
        EXPECT_EQ(row.ViewCommand, options.ViewCommand);
        EXPECT_EQ(row.Accept, options.AcceptCallback);

        // With the members above cleared, not a byte may be left: no
        // instance, custom filter, filter index, file title or template.
        OPENFILENAMEA rest = record;
        rest.lStructSize = 0;
        rest.hwndOwner = nullptr;
        rest.lpstrFilter = rest.lpstrFile = nullptr;
        rest.lpstrInitialDir = rest.lpstrTitle = rest.lpstrDefExt = nullptr;
        rest.nMaxFile = rest.Flags = rest.FlagsEx = 0;
        rest.lCustData = 0;
        rest.lpfnHook = nullptr;
        const OPENFILENAMEA zero = {};
        EXPECT_EQ(0, std::memcmp(&zero, &rest, sizeof rest));
    }
}

TEST(FileDialogRecord, TheFilterListsOnePatternAndEndsWithAnEmptyText)
{
    const char expected[] = "Payout structure (*.pos)\0*.pos\0"; // with the literal's own final 0
    EXPECT_EQ(0, std::memcmp(expected, PayoutFilter, sizeof expected));
    EXPECT_STREQ(".pos", PayoutExtension);
}

TEST(FileDialogRecord, ZeroFillClearsExactlyTheCountAndIgnoresNull)
{
    const struct
    {
        size_t Offset;
        size_t Count;
        const char *After; // 'a' kept, '0' cleared
    } rows[] = {{1, 5, "a00000aa"}, {0, 8, "00000000"}, {3, 0, "aaaaaaaa"}, {7, 1, "aaaaaaa0"}};
    for (const auto &row : rows)
    {
        char bytes[8];
        std::memset(bytes, 'a', sizeof bytes);
        ZeroFill(bytes + row.Offset, row.Count);
        for (size_t i = 0; i < sizeof bytes; ++i)
            EXPECT_EQ(row.After[i] == '0' ? 0 : 'a', bytes[i]) << row.Offset << "+" << row.Count << " @" << i;
    }
    ZeroFill(nullptr, 16);
}

// A stand-in for the platform's file dialog: a popup owned by `Owner`, the
// hook's child dialog inside it, and a file view 0x461 that counts commands.
class FileDialogHookTest : public ::testing::Test
{
  protected:
    HWND Owner = nullptr;
    HWND FileDialog = nullptr;
    HWND HookDialog = nullptr;
    HWND View = nullptr;
    OPENFILENAMEA Record = {};
    FileDialogOptions Options = {};
    char FileName[FileNameCapacity] = "C:\\ostrel\\ladder.pos";
    static std::string ViewCommands; // "wParam/lParam;" per WM_COMMAND the view got

    static LRESULT CALLBACK ViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_COMMAND)
            ViewCommands += std::to_string(wParam) + "/" + std::to_string(lParam) + ";";
        return DefWindowProcA(view, message, wParam, lParam);
    }

    void SetUp() override
    {
        WNDCLASSA counting = {};
        counting.lpfnWndProc = ViewProc;
        counting.hInstance = GetModuleHandleA(nullptr);
        counting.lpszClassName = "OstrelCountingView";
        RegisterClassA(&counting);
        ViewCommands.clear();
        Owner = MakeBlankDialog(nullptr, WS_POPUP, 400, 300, 500, 400);
        FileDialog = MakeBlankDialog(Owner, WS_POPUP, 0, 0, 300, 200);
        HookDialog = MakeBlankDialog(FileDialog, WS_CHILD, 0, 0, 10, 10);
        View = CreateWindowExA(0, "OstrelCountingView", "", WS_CHILD, 0, 0, 10, 10, FileDialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(0x461)), GetModuleHandleA(nullptr),
                               nullptr);
        ASSERT_NE(nullptr, View) << "is there an X display?";
    }

    void TearDown() override
    {
        DestroyWindow(Owner);
    }

    void Fill(uint32_t viewCommand, FileAcceptCallback accept)
    {
        FillFileDialogRecord(&Record, &Options, FileDialog, "t", FileName, FileNameCapacity, "", PayoutFilter,
                             "pos", PayoutOpenFlags, viewCommand, accept);
    }

    UINT_PTR Notify(UINT code, OPENFILENAMEA *record)
    {
        OFNOTIFYA notice = {};
        notice.hdr.hwndFrom = FileDialog;
        notice.hdr.code = code;
        notice.lpOFN = record;
        return FileDialogHook(HookDialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice));
    }
};

std::string FileDialogHookTest::ViewCommands;

TEST_F(FileDialogHookTest, TheViewCommandReachesTheFileViewAtTheFirstFolderOnly)
{
    const struct
    {
        uint32_t ViewCommand;
        const char *Seen;
    } rows[] = {{0x702C, "28716/0;"}, {0x7029, "28713/0;"}, {0, ""}};
    for (const auto &row : rows)
    {
        ViewCommands.clear();
        Fill(row.ViewCommand, nullptr);
        EXPECT_EQ(0u, Notify(CDN_FOLDERCHANGE, &Record));
        EXPECT_EQ(0u, Notify(CDN_FOLDERCHANGE, &Record));
        EXPECT_EQ(row.Seen, ViewCommands) << row.ViewCommand;
        EXPECT_EQ(0u, Options.ViewCommand);
    }
}

HWND CalledWith = nullptr;
std::string PathGiven;
int32_t Answer = 0;
int32_t CALLBACK RecordingAccept(HWND hookDialog, const char *path)
{
    CalledWith = hookDialog;
    PathGiven = path;
    return Answer;
}

TEST_F(FileDialogHookTest, FileOkAsksTheCallbackAndARefusalKeepsTheDialogOpen)
{
    const struct
    {
        FileAcceptCallback Accept;
        int32_t Answer;
        UINT_PTR Returned;
        LONG_PTR MessageResult;
    } rows[] = {{RecordingAccept, 0, 1, 1}, {RecordingAccept, 1, 0, 0}, {RecordingAccept, -7, 0, 0},
                {nullptr, 0, 0, 0}};
    for (const auto &row : rows)
    {
        CalledWith = nullptr;
        PathGiven.clear();
        Answer = row.Answer;
        SetWindowLongPtrA(HookDialog, DWLP_MSGRESULT, 0);
        Fill(0, row.Accept);
        EXPECT_EQ(row.Returned, Notify(CDN_FILEOK, &Record)) << row.Answer;
        EXPECT_EQ(row.MessageResult, GetWindowLongPtrA(HookDialog, DWLP_MSGRESULT)) << row.Answer;
        if (row.Accept != nullptr)
        {
            EXPECT_EQ(HookDialog, CalledWith);
            EXPECT_EQ("C:\\ostrel\\ladder.pos", PathGiven);
        }
    }
    Answer = 0;
    EXPECT_EQ(0u, Notify(CDN_SELCHANGE, &Record)) << "only file OK asks";
    EXPECT_EQ(nullptr, CalledWith);
}

TEST_F(FileDialogHookTest, InitDoneCentresTheFileDialogOnItsOwner)
{
    Fill(0, nullptr);
    EXPECT_EQ(0u, Notify(CDN_INITDONE, &Record));
    const RECT at = GetWindowExtent(FileDialog);
    EXPECT_EQ(400 + (500 - 300) / 2, at.left);
    EXPECT_EQ(300 + (400 - 200) / 2, at.top);
    EXPECT_EQ(300, at.right) << "moved, not sized";
}

TEST_F(FileDialogHookTest, ARecordWithoutOptionsIsLeftAlone)
{
    Fill(0x702C, RecordingAccept);
    Record.lCustData = 0;
    CalledWith = nullptr;
    EXPECT_EQ(0u, Notify(CDN_FOLDERCHANGE, &Record));
    EXPECT_EQ(0u, Notify(CDN_FILEOK, &Record));
    EXPECT_EQ(0u, Notify(CDN_FOLDERCHANGE, nullptr));
    EXPECT_EQ("", ViewCommands);
    EXPECT_EQ(nullptr, CalledWith);
}

} // namespace
