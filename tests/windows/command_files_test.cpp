// The command's own reading of the window's files against the platform's
// profile functions and the window's readers, file by file; and files the
// window writes, read back by the command to the same chips and results.
#include <windows.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <random>
#include <string>
#include <vector>

#include "command_support.h"
#include "profile_text.h"
#include "seat_equity.h"
#include "settings_file.h"
#include "storage_test_support.h"
#include "tournament_state.h"
#include "window_files.h"

namespace
{

std::string Utf16(const std::string &ascii)
{
    std::string bytes = "\xFF\xFE";
    for (char c : ascii)
        bytes += std::string{c, '\0'};
    return bytes;
}

std::vector<std::string> UnusualFiles()
{
    return {
        "",
        JunkBytes(1, 4096, "\xFF\xFE"),
        JunkBytes(2, 4096, std::string("\x00\x01[common]\x00", 11)),
        "[payouts]\r\nPayout1=" + std::string(100000, '7') + "\r\nPayout2=3\r\n[common]\r\nPlayerCount=18\r\n",
        std::string(100000, 'x') + "\r\n[common]\r\nPlayerCount=18\r\n[chips]\r\nChip1=5\r\n",
        "[payouts]\r\nPayout1=" + std::string(255, '1') + std::string(45, 'x') + "\r\n",
        "[payouts]\r\nPayout1=" + std::string(254, '1') + "x" + std::string(45, '1') + "\r\n",
        "[common]\r\nPlayerCount=18\r\nPlayerCount=10\r\n[payouts]\r\nPayout1=10\r\nPayout1=20\r\n",
        "[payouts]\r\nPayout1=10\r\n[common]\r\nPlayerCount=18\r\n[payouts]\r\nPayout2=20\r\n",
        "[COMMON]\r\nplayercount=18\r\n[Payouts]\r\npayout1=99\r\n[chips]\r\nCHIP1=5\r\n",
        "[ common ]\r\n  PlayerCount  =  18  \r\n[payouts]\r\n Payout1 =  1 500 \r\nPayout2=0\r\n",
        "[common]\nPlayerCount=18\n[payouts]\nPayout1=80\nPayout2=7\n[chips]\nChip1=5\n",
        "[payouts]\rPayout1=80\rPayout2=7\r[chips]\rChip2=9\r",
        "\xEF\xBB\xBF[common]\r\nPlayerCount=18\r\n[payouts]\r\nPayout1=80\r\n",
        Utf16("[common]\r\nPlayerCount=18\r\n[payouts]\r\nPayout1=80\r\nPayout2=0\r\n[chips]\r\nChip1=7\r\n"),
        "[payouts]\r\nPayout1=\"80\"\r\nPayout2='7'\r\nPayout3=\"5\r\nPayout4=\"\"\r\n",
        "[payouts]\r\nPayout1=\"" + std::string(254, '1') + "\"\r\n",
        "[payouts]\r\nPayout1=80\xA0\r\nPayout2=7\x1A\r\n[chips]\r\nChip1=\xA0" "12\r\n",
        "[payouts\r\nPayout1=5\r\n[payouts] junk\r\nPayout1=6\r\n",
        "Payout1=5\r\n[common]\r\nPlayerCount=0xA\r\n[payouts]\r\nPayout1 = 1 500.50\r\nPayout2=12,5\r\n",
        "[common]\r\nPlayerCount=4294967306\r\n[chips]\r\nChip1=0x10\r\nChip2=0b101\r\nChip3=+8\r\nChip4=9abc\r\n",
        "[common]\r\nPlayerCount= 10 \r\n[chips]\r\nChip1=2147483648\r\nChip2=-0\r\n",
        "[chips]\r\nChip1=100\r\nChip18=-3\r\n",
        "[common]\r\nPlayerCount=10\r\n[chips]\r\nChip1=5\r\nChip11=-1\r\n",
    };
}

// Reads the same text both ways: the raw values, the settings as the window
// starts with them, and a payout structure opened over an empty ladder.
TEST(CommandFiles, NativeReaderEqualsTheProfileFunctions)
{
    int row = 0;
    for (const std::string &bytes : UnusualFiles())
    {
        SCOPED_TRACE("file " + std::to_string(++row));
        ResetTournamentState();
        const std::string path = UseSettingsText("same.ini", bytes);
        const ostrel::ProfileText profile = ostrel::ParseProfileText(bytes);
        for (const char *key : {"Payout1", "Payout2", "Payout3", "Payout4"})
        {
            char text[256];
            GetPrivateProfileStringA("payouts", key, "", text, sizeof text, path.c_str());
            std::string value;
            ostrel::ProfileString(profile, "payouts", key, sizeof text, value);
            EXPECT_EQ(std::string(text), value) << key;
        }
        for (const char *key : {"Chip1", "Chip2", "Chip3", "Chip4"})
            EXPECT_EQ(static_cast<int32_t>(GetPrivateProfileIntA("chips", key, 0, path.c_str())),
                      ostrel::ProfileInteger(profile, "chips", key, 0))
                << key;
        EXPECT_EQ(static_cast<int32_t>(GetPrivateProfileIntA("common", "PlayerCount", 10, path.c_str())),
                  ostrel::ProfileInteger(profile, "common", "PlayerCount", 10));

        LoadSettings(nullptr);
        RecountPaidPlaces(nullptr, 0);
        ostrel::WindowSettings settings;
        const ostrel::Status read = ostrel::ReadSettings(bytes, settings);
        bool rejectedSeat = false;
        for (int32_t seat = 0; seat < SeatCount; ++seat)
            rejectedSeat = rejectedSeat || TournamentState.ChipEntryInvalid[seat] != 0;
        EXPECT_EQ(rejectedSeat, read.Message.find("negative") != std::string::npos) << read.Message;
        if (!rejectedSeat)
        {
            EXPECT_EQ(TournamentState.PlayerCount, settings.ShownSeats);
            for (int32_t seat = 0; seat < settings.ShownSeats; ++seat)
                EXPECT_EQ(TournamentState.PlayerChips[seat], settings.Stacks[static_cast<size_t>(seat)]);
            EXPECT_EQ(std::vector<double>(TournamentState.Payouts, TournamentState.Payouts + TournamentState.PaidPlaces),
                      settings.Prizes);
        }

        ResetTournamentState();
        for (double &prize : TournamentState.Payouts)
            prize = 0.0;
        LoadPayoutStructure(path.c_str());
        RecountPaidPlaces(nullptr, 0);
        std::vector<double> prizes;
        ostrel::ReadPayoutStructure(bytes, prizes);
        EXPECT_EQ(std::vector<double>(TournamentState.Payouts, TournamentState.Payouts + TournamentState.PaidPlaces),
                  prizes);
    }
}

// Files of random records written by the window; the command must see the
// chips and compute the window's own results from them.
TEST(CommandFiles, FilesTheWindowWritesReadBackThroughTheCommand)
{
    std::mt19937 random(11);
    for (int round = 0; round < 8; ++round)
    {
        ResetTournamentState();
        TournamentState.PlayerCount = round % 2 == 0 ? 10 : 18;
        for (int32_t seat = 0; seat < SeatCount; ++seat)
            TournamentState.PlayerChips[seat] = seat < 7 && random() % 4 != 0 ? static_cast<int32_t>(random() % 100000) : 0;
        TournamentState.PlayerChips[0] = 1 + static_cast<int32_t>(random() % 5000);
        const int32_t paid = 1 + static_cast<int32_t>(random() % 8);
        for (int32_t place = 1; place <= PlaceCount; ++place)
            SetPlace(place, place <= paid ? static_cast<double>(random() % 100000 + 1) / 100.0 : 0.0,
                     place <= paid ? 2 : 0);
        RecountPaidPlaces(nullptr, 0);
        const std::string settingsPath = NewTestPath("window.ini");
        UseSettingsPath(settingsPath);
        SaveSettings();
        const std::string payoutPath = NewTestPath("window.pos");
        SavePayoutStructure(payoutPath.c_str());

        const CommandRun run = RunCommand("equity --settings \"" + settingsPath + "\" --format json");
        ASSERT_EQ(0, run.Status) << run.Err;
        const nlohmann::json answer = nlohmann::json::parse(run.Out);
        ASSERT_EQ(static_cast<size_t>(TournamentState.PlayerCount), answer["players"].size());
        for (int32_t seat = 0; seat < TournamentState.PlayerCount; ++seat)
        {
            EXPECT_EQ(TournamentState.PlayerChips[seat], answer["players"][seat]["stack"].get<int64_t>());
            EXPECT_EQ(ComputeSeatEquity(static_cast<uint32_t>(seat)),
                      answer["players"][seat]["equity"].get<double>());
        }
        std::vector<double> prizes;
        ASSERT_TRUE(ostrel::ReadPayoutStructure(ReadFileBytes(payoutPath), prizes).Ok);
        EXPECT_EQ(std::vector<double>(TournamentState.Payouts, TournamentState.Payouts + paid), prizes);
        std::string stacks;
        for (int32_t seat = 0; seat < TournamentState.PlayerCount; ++seat)
            stacks += (seat == 0 ? "" : ",") + std::to_string(TournamentState.PlayerChips[seat]);
        const CommandRun pos = RunCommand("equity --stacks " + stacks + " --pos \"" + payoutPath + "\" --format json");
        EXPECT_EQ(run.Out, pos.Out) << pos.Err;
    }
}

} // namespace
