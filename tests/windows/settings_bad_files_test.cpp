// Damaged and unusual settings files, and saves that fail. Nothing may crash,
// and nothing in memory may change beyond what the reading rules allow; a
// file read that way and saved again must read back to the same record.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "settings_file.h"
#include "storage_test_support.h"
#include "tournament_state.h"

namespace
{

double Number(const std::string &digits)
{
    return std::strtod(digits.c_str(), nullptr);
}

// The fields a settings file holds, compared one by one.
void ExpectSameSettings(const TournamentStateRecord &expected)
{
    EXPECT_EQ(expected.PlayerCount, TournamentState.PlayerCount);
    EXPECT_EQ(expected.InitPlayers, TournamentState.InitPlayers);
    EXPECT_EQ(expected.InitChips, TournamentState.InitChips);
    for (int32_t seat = 0; seat < SeatCount; ++seat)
        EXPECT_EQ(expected.PlayerChips[seat], TournamentState.PlayerChips[seat]) << "seat " << seat + 1;
    for (int32_t place = 0; place < PlaceCount; ++place)
    {
        EXPECT_EQ(expected.Payouts[place], TournamentState.Payouts[place]) << "place " << place + 1;
        EXPECT_EQ(expected.PayoutDecimals[place], TournamentState.PayoutDecimals[place]) << "place " << place + 1;
    }
}

void StartWithLadder()
{
    ResetTournamentState();
    SetPlace(2, 150.5, 1);
}

struct BadFileRow
{
    const char *Name;
    std::string Bytes;
    int32_t PlayerCount;
    int32_t InitPlayers;
    int32_t Chip1;
    double Payout1;
    double Payout2;
    int32_t Decimals2;
};

TEST(BadSettingsFile, ReadsWhatTheRulesAllowAndSavesBackFaithfully)
{
    const std::string sevens(255, '7');
    const std::string ones(255, '1');
    const BadFileRow rows[] = {
        {"empty file", "", 10, 180, 0, 250, 150.5, 1},
        {"binary junk behind a UTF-16 mark", JunkBytes(1, 4096, "\xFF\xFE"), 10, 180, 0, 250, 150.5, 1},
        {"binary junk with NULs", JunkBytes(2, 4096, std::string("\x00\x01[common]\x00", 11)), 10, 180, 0, 250, 150.5, 1},
        {"a line of 100,000 characters",
         "[payouts]\r\nPayout1=" + std::string(100000, '7') + "\r\nPayout2=3\r\n[common]\r\nPlayerCount=18\r\n", 18,
         180, 0, Number(sevens), 3, 0},
        {"a junk line of 100,000 characters before the keys",
         std::string(100000, 'x') + "\r\n[common]\r\nPlayerCount=18\r\n[chips]\r\nChip1=5\r\n", 18, 180, 5, 250,
         150.5, 1},
        {"a value of 300 characters judged on its first 255",
         "[payouts]\r\nPayout1=" + ones + std::string(45, 'x') + "\r\n", 10, 180, 0, Number(ones), 150.5, 1},
        {"a letter within the first 255 characters rejects",
         "[payouts]\r\nPayout1=" + std::string(254, '1') + "x" + std::string(45, '1') + "\r\n", 10, 180, 0, 250,
         150.5, 1},
        {"duplicated keys: the first counts",
         "[common]\r\nPlayerCount=18\r\nPlayerCount=10\r\n[payouts]\r\nPayout1=10\r\nPayout1=20\r\n", 18, 180, 0, 10,
         150.5, 1},
        {"duplicated sections: only the first is read",
         "[payouts]\r\nPayout1=10\r\n[common]\r\nPlayerCount=18\r\n[payouts]\r\nPayout2=20\r\n", 18, 180, 0, 10, 150.5,
         1},
        {"names in other letter cases",
         "[COMMON]\r\nplayercount=18\r\n[Payouts]\r\npayout1=99\r\n[chips]\r\nCHIP1=5\r\n", 18, 180, 5, 99, 150.5, 1},
        {"blanks and tabs around names and values",
         "[ common ]\r\n  PlayerCount  =  18  \r\n\tInitPlayers\t=\t300\t\r\n[payouts]\r\n Payout1 =  1 500 \r\n", 18,
         300, 0, 1500, 150.5, 1},
        {"LF line ends", "[common]\nPlayerCount=18\n[payouts]\nPayout1=80\nPayout2=7\n[chips]\nChip1=5\n", 18, 180, 5,
         80, 7, 0},
        {"CRLF line ends",
         "[common]\r\nPlayerCount=18\r\n[payouts]\r\nPayout1=80\r\nPayout2=7\r\n[chips]\r\nChip1=5\r\n", 18, 180, 5,
         80, 7, 0},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF[common]\r\nPlayerCount=18\r\n[payouts]\r\nPayout1=80\r\n", 18, 180, 0,
         80, 150.5, 1},
        {"quoted value", "[payouts]\r\nPayout1=\"80\"\r\n", 10, 180, 0, 80, 150.5, 1},
    };
    for (const BadFileRow &row : rows)
    {
        SCOPED_TRACE(row.Name);
        StartWithLadder();
        const std::string path = UseSettingsText("bad.ini", row.Bytes);
        LoadSettings(nullptr);
        EXPECT_EQ(row.PlayerCount, TournamentState.PlayerCount);
        EXPECT_EQ(row.InitPlayers, TournamentState.InitPlayers);
        EXPECT_EQ(1500, TournamentState.InitChips);
        EXPECT_EQ(row.Chip1, TournamentState.PlayerChips[0]);
        EXPECT_EQ(row.Payout1, TournamentState.Payouts[0]);
        EXPECT_EQ(row.Payout2, TournamentState.Payouts[1]);
        EXPECT_EQ(row.Decimals2, TournamentState.PayoutDecimals[1]);
        EXPECT_EQ(100.0, TournamentState.Payouts[2]) << "no file here gives place 3";

        const TournamentStateRecord loaded = TournamentState;
        SaveSettings();
        StartWithLadder();
        UseSettingsPath(path);
        LoadSettings(nullptr);
        ExpectSameSettings(loaded);
    }
}

// What a settings file that cannot be written is set up as; it holds
// PlayerCount 18, Chip1 5 and Payout1 70 when it exists.
const char OldSettings[] = "[common]\r\nPlayerCount=18\r\n[payouts]\r\nPayout1=70\r\n[chips]\r\nChip1=5\r\n";

// Changes every field the settings hold, saves, and checks that the save
// changed nothing in memory.
void SaveChangedRecord()
{
    TournamentState.PlayerCount = 10;
    TournamentState.PlayerChips[0] = 99;
    TournamentState.InitPlayers = 999;
    SetPlace(1, 55, 2);
    const TournamentStateRecord before = TournamentState;
    SaveSettings();
    EXPECT_EQ(0, std::memcmp(&before, &TournamentState, sizeof before)) << "the failed save changed the record";
}

void ExpectOldValuesOnNextLoad(const std::string &path)
{
    ResetTournamentState();
    UseSettingsPath(path);
    LoadSettings(nullptr);
    EXPECT_EQ(18, TournamentState.PlayerCount);
    EXPECT_EQ(5, TournamentState.PlayerChips[0]);
    EXPECT_EQ(70.0, TournamentState.Payouts[0]);
    EXPECT_EQ(180, TournamentState.InitPlayers);
}

TEST(FailedSave, FileHeldOpenWithoutWriteSharingKeepsTheOldFile)
{
    ResetTournamentState();
    const std::string path = UseSettingsText("held.ini", OldSettings);
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    SaveChangedRecord();
    EXPECT_EQ(OldSettings, ReadFileBytes(path));
    CloseHandle(held);
    ExpectOldValuesOnNextLoad(path);
}

TEST(FailedSave, MissingFolderOrAFolderInPlaceOfTheFileWriteNothing)
{
    const std::string missingFolder = TestFolder() + "no-such-folder";
    const std::string folderInPlace = NewTestPath("folder.ini");
    ASSERT_TRUE(CreateDirectoryA(folderInPlace.c_str(), nullptr));
    for (const std::string &path : {missingFolder + "\\settings.ini", folderInPlace})
    {
        SCOPED_TRACE(path);
        ResetTournamentState();
        UseSettingsPath(path);
        LoadSettings(nullptr);
        EXPECT_EQ(10, TournamentState.PlayerCount) << "defaults";
        EXPECT_EQ(0, TournamentState.PlayerChips[0]) << "defaults";
        SaveChangedRecord();
    }
    EXPECT_FALSE(PathExists(missingFolder));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY),
              GetFileAttributesA(folderInPlace.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether the platform keeps this process from opening `path` for writing,
// or, for a folder, from creating a file in it. A process running as root
// under Wine is not kept from either by a read-only mark.
bool WritingIsRefused(const std::string &path, bool folder)
{
    const std::string probe = folder ? path + "\\probe" : path;
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              folder ? CREATE_NEW : OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return true;
    CloseHandle(file);
    if (folder)
        DeleteFileA(probe.c_str());
    return false;
}

TEST(FailedSave, ReadOnlyFileOrFolderKeepOldValuesWhereThePlatformRefusesTheWrite)
{
    const std::string folder = NewTestPath("read-only-folder");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string readOnlyFile = NewTestPath("read-only.ini");
    WriteFileBytes(readOnlyFile, OldSettings);
    ASSERT_TRUE(SetFileAttributesA(readOnlyFile.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_READONLY));
    struct Row
    {
        std::string Settings;
        bool Refused;
    };
    const Row rows[] = {
        {readOnlyFile, WritingIsRefused(readOnlyFile, false)},
        {folder + "\\settings.ini", WritingIsRefused(folder, true)},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Settings + (row.Refused ? ": write refused" : ": this platform lets the write through"));
        if (!row.Refused)
            std::printf("note: a read-only mark does not stop writing %s here\n", row.Settings.c_str());
        ResetTournamentState();
        UseSettingsPath(row.Settings);
        const std::string before = ReadFileBytes(row.Settings);
        SaveChangedRecord();
        ResetTournamentState();
        UseSettingsPath(row.Settings);
        LoadSettings(nullptr);
        if (row.Refused)
        {
            EXPECT_EQ(before, ReadFileBytes(row.Settings));
            EXPECT_NE(55.0, TournamentState.Payouts[0]);
        }
        else
        {
            EXPECT_EQ(55.0, TournamentState.Payouts[0]);
            EXPECT_EQ(99, TournamentState.PlayerChips[0]);
        }
    }
}

} // namespace
