// LoadSettings filling the chip edits of a window (a test dialog that holds
// edits 250 to 267), and the settings path of real modules: the test program
// itself and copies of it loaded from a folder with a dot, from paths at the
// edge of the module name buffer and from one beyond it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "resource_ids.h"
#include "settings_file.h"
#include "storage_test_support.h"
#include "test_dialogs.h"
#include "tournament_state.h"

namespace
{

INT_PTR CALLBACK ChipsTestProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::string EditText(HWND dialog, int32_t seat)
{
    char text[EntryTextCapacity];
    GetDlgItemTextA(dialog, IDC_CHIPS_FIRST - 1 + seat, text, sizeof text);
    return text;
}

TEST(LoadSettingsWindow, ChipEditsShowEveryStoredCountAndTakeAtMost31Characters)
{
    struct Row
    {
        int32_t Seat;
        const char *Stored; // nullptr: no key
        const char *Shown;
        int32_t Chips;
        int32_t Invalid;
    };
    const Row rows[] = {
        {1, "1500", "1500", 1500, 0},
        {2, "-5", "-5", 0, 1},
        {3, "2147483647", "2147483647", 2147483647, 0},
        {4, "-2147483648", "-2147483648", 0, 1},
        {5, "abc", "0", 0, 0},
        {6, nullptr, "0", 0, 0},
        {7, " 42 ", "42", 42, 0},
        {8, "0", "0", 0, 0},
        {12, "7", "7", 7, 0},
        {18, "-1", "-1", 0, 1},
    };
    std::string chips = "[chips]\r\n";
    for (const Row &row : rows)
    {
        if (row.Stored != nullptr)
            chips += "Chip" + std::to_string(row.Seat) + "=" + row.Stored + "\r\n";
    }
    ResetTournamentState();
    UseSettingsText("chips.ini", "[common]\r\nPlayerCount=10\r\n" + chips);
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST_CHIPS), nullptr,
                                     ChipsTestProc, 0);
    ASSERT_NE(nullptr, dialog) << "is there an X display?";
    for (int32_t seat = 1; seat <= SeatCount; ++seat)
    {
        SetDlgItemTextA(dialog, IDC_CHIPS_FIRST - 1 + seat, "old");
        TournamentState.ChipEntryInvalid[seat - 1] = 1;
    }
    TournamentState.MainUpdating = 1;
    LoadSettings(dialog);
    EXPECT_EQ(1, TournamentState.MainUpdating) << "the caller owns the guard";
    EXPECT_EQ(10, TournamentState.PlayerCount);
    for (int32_t seat = 1; seat <= SeatCount; ++seat)
    {
        EXPECT_EQ(31, SendDlgItemMessageA(dialog, IDC_CHIPS_FIRST - 1 + seat, EM_GETLIMITTEXT, 0, 0))
            << "seat " << seat;
        const Row *row = nullptr;
        for (const Row &candidate : rows)
            row = candidate.Seat == seat ? &candidate : row;
        EXPECT_EQ(row ? row->Shown : "0", EditText(dialog, seat)) << "seat " << seat;
        EXPECT_EQ(row ? row->Chips : 0, TournamentState.PlayerChips[seat - 1]) << "seat " << seat;
        EXPECT_EQ(row ? row->Invalid : 0, TournamentState.ChipEntryInvalid[seat - 1]) << "seat " << seat;
    }
    HWND edit = GetDlgItem(dialog, IDC_CHIPS_FIRST);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CLEAR, 0, 0);
    for (int typed = 0; typed < 40; ++typed)
        SendMessageA(edit, WM_CHAR, '9', 0);
    EXPECT_EQ(std::string(31, '9'), EditText(dialog, 1)) << "typing stops at 31 characters";
    DestroyWindow(dialog);
}

std::string ModuleName(HMODULE module)
{
    char name[MAX_PATH];
    GetModuleFileNameA(module, name, MAX_PATH);
    return name;
}

TEST(SettingsPathOfModule, TheProgramKeepsItsSettingsBesideIt)
{
    const std::string program = ModuleName(nullptr);
    ASSERT_EQ(".exe", program.substr(program.size() - 4));
    char path[PathCapacity];
    MakeSettingsPath(GetModuleHandleA(nullptr), path);
    EXPECT_EQ(program.substr(0, program.size() - 4) + ".ini", path);
    char directory[DirectoryCapacity];
    SplitDirectory(path, directory);
    EXPECT_EQ(program.substr(0, program.rfind('\\') + 1), directory);
}

std::wstring Long(const std::string &path)
{
    return L"\\\\?\\" + std::wstring(path.begin(), path.end());
}

// A copy of this program at `folder` + `name`, made with the wide functions
// that take paths of any length, loaded as a module without running it.
HMODULE LoadCopyOfProgram(const std::string &folder, const std::string &name)
{
    size_t next = TestFolder().size();
    while ((next = folder.find('\\', next)) != std::string::npos)
        CreateDirectoryW(Long(folder.substr(0, next++)).c_str(), nullptr);
    const std::wstring copy = Long(folder + name);
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (!CopyFileW(program, copy.c_str(), FALSE))
        return nullptr;
    return LoadLibraryExW(copy.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
}

// A new folder path whose length with `name` after it is `length`.
std::string FolderFor(size_t length, const std::string &name)
{
    const std::string folder = NewTestPath("") + "\\";
    return folder + std::string(length - folder.size() - name.size() - 1, 'd') + "\\";
}

TEST(SettingsPathOfModule, CopiesInUnusualPlaces)
{
    struct Row
    {
        std::string Folder;
        std::string Name;
        std::string Settings;
    };
    const std::string dotted = NewTestPath("calc.v2") + "\\";
    const std::string fits = FolderFor(PathCapacity - 3, "x.e");
    const std::string tooLong = FolderFor(PathCapacity - 2, "x.e");
    const std::string beyond = FolderFor(PathCapacity + 40, "calc.exe");
    const Row rows[] = {
        {dotted, "x.e", dotted + "x.ini"},
        {fits, "x.e", fits + "x.ini"},
        {tooLong, "x.e", ""},
        {beyond, "calc.exe", ""},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Folder + row.Name);
        HMODULE module = LoadCopyOfProgram(row.Folder, row.Name);
        ASSERT_NE(nullptr, module);
        char name[PathCapacity];
        const DWORD length = GetModuleFileNameA(module, name, PathCapacity);
        EXPECT_EQ(std::min<size_t>(row.Folder.size() + row.Name.size(), PathCapacity), length);
        char path[PathCapacity] = "old";
        MakeSettingsPath(module, path);
        EXPECT_EQ(row.Settings, path);
        FreeLibrary(module);
    }
}

TEST(SettingsPathOfModule, WithoutASettingsPathTheProgramStartsWithDefaults)
{
    ResetTournamentState();
    TournamentState.SettingsPath[0] = '\0';
    LoadSettings(nullptr);
    EXPECT_EQ(10, TournamentState.PlayerCount);
    EXPECT_EQ(0, TournamentState.PlayerChips[0]);
    EXPECT_EQ(180, TournamentState.InitPlayers);
    EXPECT_EQ(1500, TournamentState.InitChips);
    EXPECT_EQ(250.0, TournamentState.Payouts[0]);
}

} // namespace
