// The settings and payout structure files through the real profile functions
// under Wine: defaults and range checks of the "common" keys, the reading
// order of the ladder, the texts written, the exact layout of a new file, what
// a save keeps in an existing file, and random states saved and loaded again.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "number_entry.h"
#include "settings_file.h"
#include "storage_test_support.h"
#include "tournament_state.h"

namespace
{

class SettingsFile : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ResetTournamentState();
    }
};

TEST_F(SettingsFile, FirstStartWithoutAFileGivesTheDefaultsAndCreatesNothing)
{
    const std::string path = NewTestPath("absent.ini");
    UseSettingsPath(path);
    TournamentState.ChipEntryInvalid[3] = 1;
    LoadSettings(nullptr);
    EXPECT_EQ(10, TournamentState.PlayerCount);
    EXPECT_EQ(180, TournamentState.InitPlayers);
    EXPECT_EQ(1500, TournamentState.InitChips);
    for (int32_t seat = 0; seat < SeatCount; ++seat)
    {
        EXPECT_EQ(0, TournamentState.PlayerChips[seat]) << "seat " << seat + 1;
        EXPECT_EQ(0, TournamentState.ChipEntryInvalid[seat]) << "seat " << seat + 1;
    }
    const double ladder[4] = {250, 150, 100, 0};
    for (int32_t place = 0; place < 4; ++place)
    {
        EXPECT_EQ(ladder[place], TournamentState.Payouts[place]);
        EXPECT_EQ(0, TournamentState.PayoutDecimals[place]);
    }
    EXPECT_FALSE(PathExists(path)) << "reading never creates the file";
}

TEST_F(SettingsFile, CommonKeysFallBackAndAreRangeChecked)
{
    struct Row
    {
        const char *Lines;
        int32_t PlayerCount;
        int32_t InitPlayers;
        int32_t InitChips;
    };
    const Row rows[] = {
        {"", 10, 180, 1500},
        {"PlayerCount=10\r\nInitPlayers=2\r\nInitChips=10\r\n", 10, 2, 10},
        {"PlayerCount=18\r\nInitPlayers=1000\r\nInitChips=100000\r\n", 18, 1000, 100000},
        {"PlayerCount=12\r\nInitPlayers=1\r\nInitChips=9\r\n", 18, 180, 1500},
        {"PlayerCount=0\r\nInitPlayers=1001\r\nInitChips=100001\r\n", 18, 180, 1500},
        {"PlayerCount=ten\r\nInitPlayers=-5\r\nInitChips=0\r\n", 18, 180, 1500},
        {"PlayerCount=010\r\nInitPlayers=250\r\nInitChips=2500\r\n", 10, 250, 2500},
        // The profile reader gives the default for a key with an empty value.
        {"PlayerCount=\r\nInitPlayers=\r\nInitChips=\r\n", 10, 180, 1500},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Lines);
        TournamentState.PlayerCount = 0;
        TournamentState.InitPlayers = 7;
        TournamentState.InitChips = 7;
        UseSettingsText("common.ini", std::string("[common]\r\n") + row.Lines);
        LoadSettings(nullptr);
        EXPECT_EQ(row.PlayerCount, TournamentState.PlayerCount);
        EXPECT_EQ(row.InitPlayers, TournamentState.InitPlayers);
        EXPECT_EQ(row.InitChips, TournamentState.InitChips);
    }
}

struct Place
{
    double Value;
    int32_t Decimals;
};

// The reading order: the file's ladder up to its first zero place; a missing
// or rejected value keeps what memory holds and reading goes on only while
// memory is positive there.
TEST_F(SettingsFile, PayoutStructureReadingOrderTable)
{
    struct Row
    {
        const char *Name;
        std::vector<Place> Before;
        const char *Payouts;
        std::vector<Place> After;
        int32_t PaidAfterRecount;
    };
    const Row rows[] = {
        {"500/300/0/200: place 4 keeps its value", {{250, 0}, {150, 0}, {100, 0}, {77, 1}},
         "Payout1=500\r\nPayout2=300\r\nPayout3=0\r\nPayout4=200\r\n",
         {{500, 0}, {300, 0}, {0, 0}, {77, 1}}, 2},
        {"a word at place 2 keeps 150", {{250, 0}, {150, 1}, {100, 0}},
         "Payout1=400\r\nPayout2=lots\r\nPayout3=90\r\n", {{400, 0}, {150, 1}, {90, 0}}, 3},
        {"no payout keys while place 1 holds 0", {{0, 0}, {40, 2}, {30, 0}}, "",
         {{0, 0}, {40, 2}, {30, 0}}, 0},
        {"place 1 missing and 0 in memory stops reading", {{0, 0}, {40, 2}, {30, 0}},
         "Payout2=99\r\nPayout3=98\r\n", {{0, 0}, {40, 2}, {30, 0}}, 0},
        {"place 1 missing but positive in memory reads on", {{250, 0}, {40, 2}},
         "Payout2=99\r\nPayout3=98\r\n", {{250, 0}, {99, 0}, {98, 0}}, 3},
        {"12,5 written by hand", {{250, 0}}, "Payout1=12,5\r\nPayout2=0\r\n", {{12.5, 1}, {0, 0}}, 1},
        {"a zero with decimals is stored and stops", {{250, 0}, {150, 0}},
         "Payout1=0.00\r\nPayout2=80\r\n", {{0, 2}, {150, 0}}, 0},
        {"a rejected entry in memory takes the file's value", {{250, -1}, {150, 0}},
         "Payout1=1 000.5\r\n", {{1000.5, 1}, {150, 0}}, 3},
        {"a sign is rejected: the place keeps its value", {{250, 0}, {150, 0}},
         "Payout1=-300\r\nPayout2=+20\r\n", {{250, 0}, {150, 0}}, 3},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Name);
        ResetTournamentState();
        for (size_t place = 0; place < row.Before.size(); ++place)
            SetPlace(static_cast<int32_t>(place + 1), row.Before[place].Value, row.Before[place].Decimals);
        const std::string path =
            UseSettingsText("ladder.pos", std::string("[common]\r\nPlayerCount=18\r\n[payouts]\r\n") + row.Payouts);
        LoadPayoutStructure(path.c_str());
        for (size_t place = 0; place < row.After.size(); ++place)
        {
            EXPECT_EQ(row.After[place].Value, TournamentState.Payouts[place]) << "place " << place + 1;
            EXPECT_EQ(row.After[place].Decimals, TournamentState.PayoutDecimals[place]) << "place " << place + 1;
        }
        EXPECT_EQ(0, TournamentState.PlayerCount) << "a payout structure holds no seat count";
        RecountPaidPlaces(nullptr, 0);
        EXPECT_EQ(row.PaidAfterRecount, TournamentState.PaidPlaces);
    }
}

TEST_F(SettingsFile, PrizesAreWrittenWithTheirTypedDecimalsAndReadBack)
{
    char typed[3][EntryTextCapacity] = {"12.50", "1 500", "0.1234567890"};
    for (int32_t place = 1; place <= 3; ++place)
    {
        double value = 0;
        int32_t decimals = 0;
        ASSERT_TRUE(ParsePayoutText(typed[place - 1], &value, &decimals));
        SetPlace(place, value, decimals);
    }
    SetPlace(4, 60, -1); // a rejected entry remembered as 60
    SetPlace(5, 0, 3);
    const std::string path = NewTestPath("typed.pos");
    SavePayoutStructure(path.c_str());
    const std::string text = ReadFileBytes(path);
    for (const char *line : {"Payout1=12.50\r\n", "Payout2=1500\r\n", "Payout3=0.1234567890\r\n", "Payout4=\r\n",
                             "Payout5=0.000\r\n", "Payout6=0\r\n"})
        EXPECT_NE(std::string::npos, text.find(line)) << line << " in\n" << text;

    ResetTournamentState();
    SetPlace(4, 45, 0);
    LoadPayoutStructure(path.c_str());
    const Place expected[5] = {{12.5, 2}, {1500, 0}, {0.123456789, 10}, {45, 0}, {0, 3}};
    for (int32_t place = 0; place < 5; ++place)
    {
        EXPECT_EQ(expected[place].Value, TournamentState.Payouts[place]) << "place " << place + 1;
        EXPECT_EQ(expected[place].Decimals, TournamentState.PayoutDecimals[place]) << "place " << place + 1;
    }
}

TEST_F(SettingsFile, NewSettingsFileHasSectionsAndKeysInTableOrder)
{
    const std::string path = NewTestPath("new.ini");
    UseSettingsPath(path);
    TournamentState.PlayerCount = 18;
    TournamentState.InitPlayers = 200;
    TournamentState.InitChips = 3000;
    SetPlace(1, 1000, 0);
    SetPlace(2, 500.5, 1);
    SetPlace(3, 0, 3);
    const int32_t chips[SeatCount] = {1,  0,  2147483647, 40, 5000, 6, 7, 8, 9,
                                      10, 11, 12,         13, 14,   15, 16, 17, 123456};
    std::memcpy(TournamentState.PlayerChips, chips, sizeof chips);
    SaveSettings();

    // The profile writer ends every line with CR LF and puts no blank line
    // between sections.
    std::string expected = "[common]\r\nPlayerCount=18\r\nInitPlayers=200\r\nInitChips=3000\r\n"
                           "[payouts]\r\nPayout1=1000\r\nPayout2=500.5\r\nPayout3=0.000\r\n";
    for (int32_t place = 4; place <= PlaceCount; ++place)
        expected += "Payout" + std::to_string(place) + "=0\r\n";
    expected += "[chips]\r\n";
    for (int32_t seat = 1; seat <= SeatCount; ++seat)
        expected += "Chip" + std::to_string(seat) + "=" + std::to_string(chips[seat - 1]) + "\r\n";
    EXPECT_EQ(expected, ReadFileBytes(path));
}

// Lines of a file without line ends and blank lines, which the profile writer
// may drop or change.
std::vector<std::string> TextLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

TEST_F(SettingsFile, SavingIntoAnExistingFileChangesOnlyTheKeysWritten)
{
    const std::string path = UseSettingsText("existing.ini", "; kept comment\n"
                                                             "[common]\n"
                                                             "PlayerCount=18\n"
                                                             "Unknown=keep me\n"
                                                             "InitPlayers=9\n"
                                                             "\n"
                                                             "[extra]\n"
                                                             "Anything=1\n"
                                                             "[payouts]\n"
                                                             "; note on the ladder\n"
                                                             "Payout2=old\n"
                                                             "PayoutNote=x\n"
                                                             "[chips]\n"
                                                             "Chip3=777\n");
    TournamentState.InitPlayers = 300;
    TournamentState.InitChips = 2000;
    SavePayoutStructure(path.c_str());
    std::vector<std::string> expected = {"; kept comment", "[common]",   "PlayerCount=18",
                                         "Unknown=keep me", "InitPlayers=300", "InitChips=2000",
                                         "[extra]",        "Anything=1", "[payouts]",
                                         "; note on the ladder", "Payout2=150", "PayoutNote=x",
                                         "Payout1=250",    "Payout3=100"};
    for (int32_t place = 4; place <= PlaceCount; ++place)
        expected.push_back("Payout" + std::to_string(place) + "=0");
    expected.push_back("[chips]");
    expected.push_back("Chip3=777");
    EXPECT_EQ(expected, TextLines(ReadFileBytes(path)));

    ResetTournamentState();
    UseSettingsPath(path);
    LoadSettings(nullptr);
    EXPECT_EQ(18, TournamentState.PlayerCount) << "a payout structure saved over settings keeps the seat count";
    EXPECT_EQ(777, TournamentState.PlayerChips[2]) << "and the chips";
    EXPECT_EQ(300, TournamentState.InitPlayers);
}

TEST_F(SettingsFile, OpeningASettingsFileAsPayoutStructureReadsOnlyItsCommonAndPayouts)
{
    const std::string path = UseSettingsText("settings-as.pos", "[common]\r\nPlayerCount=18\r\nInitPlayers=50\r\n"
                                                                "[payouts]\r\nPayout1=70\r\nPayout2=0\r\n"
                                                                "[chips]\r\nChip1=999\r\n");
    TournamentState.PlayerCount = 10;
    LoadPayoutStructure(path.c_str());
    EXPECT_EQ(10, TournamentState.PlayerCount);
    EXPECT_EQ(6000, TournamentState.PlayerChips[0]);
    EXPECT_EQ(50, TournamentState.InitPlayers);
    EXPECT_EQ(70.0, TournamentState.Payouts[0]);
}

/*
 * A random state the program can hold: prizes as a user types them (digit
 * groups, comma or point, up to 25 decimals) in normal form, chips of the
 * shown seats from the whole non-negative range, bubble inputs at and between
 * their bounds.
 */
struct RandomState
{
    std::mt19937 Random;

    int32_t Between(int32_t low, int32_t high)
    {
        return std::uniform_int_distribution<int32_t>(low, high)(Random);
    }

    std::string Digits(int32_t count, bool leadingNonZero)
    {
        std::string digits;
        for (int32_t index = 0; index < count; ++index)
            digits += static_cast<char>('0' + Between(index == 0 && leadingNonZero ? 1 : 0, 9));
        return digits;
    }

    Place TypedPrize(bool positive)
    {
        const int32_t decimals = Between(0, 3) == 0 ? Between(10, 25) : Between(0, 4);
        std::string text = positive ? Digits(Between(1, 12), true) : "0";
        if (Between(0, 3) == 0 && text.size() > 3)
            text.insert(1, " ");
        if (decimals > 0 || Between(0, 5) == 0)
            text += (Between(0, 1) ? "," : ".") + (positive ? Digits(decimals, false) : std::string(decimals, '0'));
        char entry[EntryTextCapacity];
        std::strcpy(entry, text.c_str());
        Place place = {0, 0};
        EXPECT_TRUE(ParsePayoutText(entry, &place.Value, &place.Decimals)) << text;
        return place;
    }

    int32_t Bounded(int32_t low, int32_t high)
    {
        const int32_t pick = Between(0, 3);
        return pick == 0 ? low : pick == 1 ? high : Between(low, high);
    }

    int32_t Paid()
    {
        return Bounded(0, PlaceCount);
    }

    void Fill(int32_t paid)
    {
        TournamentState.PlayerCount = Between(0, 1) ? 18 : 10;
        TournamentState.InitPlayers = Bounded(2, 1000);
        TournamentState.InitChips = Bounded(10, 100000);
        for (int32_t seat = 0; seat < SeatCount; ++seat)
        {
            const bool shown = seat < TournamentState.PlayerCount;
            TournamentState.PlayerChips[seat] = shown ? Bounded(0, 2147483647) : 0;
        }
        for (int32_t place = 1; place <= PlaceCount; ++place)
        {
            const Place prize = TypedPrize(place <= paid);
            SetPlace(place, prize.Value, prize.Decimals);
        }
    }
};

TEST_F(SettingsFile, RandomStatesSurviveSaveAndLoadFieldByField)
{
    RandomState random{std::mt19937(20240611)};
    const std::string path = NewTestPath("round-trip.ini");
    for (int run = 0; run < 60; ++run)
    {
        ResetTournamentState();
        UseSettingsPath(path);
        const int32_t paid = random.Paid();
        random.Fill(paid);
        RecountPaidPlaces(nullptr, 0);
        const TournamentStateRecord saved = TournamentState;
        SaveSettings();

        ResetTournamentState();
        UseSettingsPath(path);
        LoadSettings(nullptr);
        RecountPaidPlaces(nullptr, 0);
        SCOPED_TRACE("run " + std::to_string(run) + ", paid " + std::to_string(paid));
        EXPECT_EQ(saved.PlayerCount, TournamentState.PlayerCount);
        EXPECT_EQ(saved.InitPlayers, TournamentState.InitPlayers);
        EXPECT_EQ(saved.InitChips, TournamentState.InitChips);
        EXPECT_EQ(saved.PaidPlaces, TournamentState.PaidPlaces);
        for (int32_t seat = 0; seat < SeatCount; ++seat)
        {
            EXPECT_EQ(saved.PlayerChips[seat], TournamentState.PlayerChips[seat]) << "seat " << seat + 1;
            EXPECT_EQ(0, TournamentState.ChipEntryInvalid[seat]) << "seat " << seat + 1;
        }
        // Reading stops after the first zero place: the places behind it come
        // back as the zeros of a fresh start, without their typed decimals.
        for (int32_t place = 0; place < PlaceCount; ++place)
        {
            const bool read = place <= paid;
            EXPECT_EQ(saved.Payouts[place], TournamentState.Payouts[place]) << "place " << place + 1;
            EXPECT_EQ(read ? saved.PayoutDecimals[place] : 0, TournamentState.PayoutDecimals[place])
                << "place " << place + 1;
        }
    }
}

} // namespace
