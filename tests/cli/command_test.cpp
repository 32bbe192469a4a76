// ostrel-icm through its own process: the worked example to the byte, the
// window's Calculate against the command on a table of fields, the finish
// table's sums, the stacks file, and the error table.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "command_support.h"
#include "recording_seam.h"
#include "bubble_factor.h"
#include "resource_ids.h"
#include "seat_equity.h"
#include "tournament_state.h"

namespace
{

using nlohmann::json;

std::string Joined(const std::vector<std::string> &items)
{
    std::string text;
    for (const std::string &item : items)
        text += (text.empty() ? "" : ",") + item;
    return text;
}

json JsonOf(const std::string &arguments)
{
    const CommandRun run = RunCommand(arguments);
    EXPECT_EQ(0, run.Status) << arguments << "\n" << run.Err;
    EXPECT_EQ("", run.Err) << arguments;
    return json::parse(run.Out, nullptr, false);
}

TEST(Command, WorkedExampleInEveryFormat)
{
    EXPECT_EQ("{\"method\": \"plain\", \"prize_pool\": 100, \"players\": ["
              "{\"seat\": 1, \"stack\": 5000, \"chip_share\": 0.5, \"equity\": 38.39285714285714, "
              "\"pool_share\": 0.3839285714285714}, "
              "{\"seat\": 2, \"stack\": 3000, \"chip_share\": 0.3, \"equity\": 32.75, \"pool_share\": 0.3275}, "
              "{\"seat\": 3, \"stack\": 2000, \"chip_share\": 0.2, \"equity\": 28.857142857142858, "
              "\"pool_share\": 0.2885714285714286}]}\n",
              RunCommand("equity --stacks 5000,3000,2000 --prizes 50,30,20 --format json").Out);
    EXPECT_EQ("seat,stack,chip_share,equity,pool_share\n"
              "1,5000,0.5,38.39285714285714,0.3839285714285714\n"
              "2,0,0,0,0\n"
              "3,3000,0.3,32.75,0.3275\n"
              "4,2000,0.2,28.857142857142858,0.2885714285714286\n",
              RunCommand("equity --stacks 5000,0,3000,2000 --prizes 50,30,20 --format csv").Out);
    const std::string table = RunCommand("equity --stacks 5000,3000,2000 --prizes 50,30,20").Out;
    for (const char *text : {"38.393", "32.750", "28.857", "Method: plain recursion"})
        EXPECT_NE(std::string::npos, table.find(text)) << text << " in\n" << table;
}

struct FieldRow
{
    std::vector<int32_t> Chips;
    std::vector<double> Prizes;
    const char *Method;
};

// The window computes a field written into its record; the command must give
// the same doubles and, in its table, the texts Calculate shows.
TEST(Command, EqualsTheWindowsCalculate)
{
    const FieldRow rows[] = {
        {{6000, 4000, 4000, 6000}, {250, 150, 100}, "plain"},
        {{1, 2147483647, 0, 5}, {0.01, 0.01}, "plain"},
        {{100, 200, 300, 400, 500, 600, 700, 800, 900, 1000}, {40, 25, 15, 10, 5, 3, 1, 0.5, 0.25, 0.25}, "plain"},
        {{1500, 2500, 3500, 900, 1200, 8000, 300, 4400, 2600, 3100, 700, 5000, 2000},
         {100, 60, 40, 30, 25, 20, 15, 12, 10, 8, 6, 4, 2},
         "subsets"},
        {std::vector<int32_t>(18, 1000), std::vector<double>(30, 3.5), "subsets"},
    };
    for (const FieldRow &row : rows)
    {
        std::vector<std::string> chips;
        std::vector<std::string> prizes;
        for (int32_t count : row.Chips)
            chips.push_back(std::to_string(count));
        for (double prize : row.Prizes)
        {
            char text[32];
            std::snprintf(text, sizeof text, "%.17g", prize);
            prizes.push_back(text);
        }
        const std::string arguments = "equity --stacks " + Joined(chips) + " --prizes " + Joined(prizes);
        SCOPED_TRACE(arguments);
        const json answer = JsonOf(arguments + " --format json");
        const std::string table = RunCommand(arguments).Out;

        ResetTournamentState();
        TournamentState.PlayerCount = static_cast<int32_t>(row.Chips.size()) <= 10 ? 10 : 18;
        for (size_t seat = 0; seat < row.Chips.size(); ++seat)
            TournamentState.PlayerChips[seat] = row.Chips[seat];
        for (size_t place = 0; place < PlaceCount; ++place)
            TournamentState.Payouts[place] = place < row.Prizes.size() ? row.Prizes[place] : 0.0;
        RecountPaidPlaces(nullptr, 0);
        ClearSeamCalls();
        ShowSeatEquities(nullptr);

        ASSERT_TRUE(answer.is_object());
        EXPECT_EQ(row.Method, answer["method"]);
        for (size_t seat = 0; seat < row.Chips.size(); ++seat)
        {
            const double window = ComputeSeatEquity(static_cast<uint32_t>(seat));
            EXPECT_EQ(window, answer["players"][seat]["equity"].get<double>()) << "seat " << seat + 1;
            const std::string shown = LastSeamText(nullptr, IDC_RESULT_FIRST + static_cast<int32_t>(seat));
            if (!shown.empty())
            {
                EXPECT_NE(std::string::npos, table.find(" " + shown + " ")) << shown << " in\n" << table;
            }
        }
    }
}

TEST(Command, FinishTableSumsAndSymmetry)
{
    const json answer = JsonOf("finish --stacks 7000,0,2500,2500,900,12000,2500 --prizes 50,30,20 --format json");
    ASSERT_TRUE(answer.is_object());
    EXPECT_EQ("subsets", answer["method"]);
    const json &players = answer["players"];
    ASSERT_EQ(7u, players.size());
    std::vector<double> columns(6, 0.0);
    for (const json &player : players)
    {
        ASSERT_EQ(6u, player["places"].size());
        double row = 0.0;
        for (size_t place = 0; place < 6; ++place)
        {
            row += player["places"][place].get<double>();
            columns[place] += player["places"][place].get<double>();
        }
        EXPECT_NEAR(player["stack"] == 0 ? 0.0 : 1.0, row, 1e-12) << player.dump();
    }
    for (double column : columns)
        EXPECT_NEAR(1.0, column, 1e-12);
    for (size_t place = 0; place < 6; ++place)
    {
        EXPECT_NEAR(players[2]["places"][place].get<double>(), players[3]["places"][place].get<double>(), 1e-15);
        EXPECT_NEAR(players[2]["places"][place].get<double>(), players[6]["places"][place].get<double>(), 1e-15);
    }
}

TEST(Command, StacksFileAndStandardInput)
{
    const std::string path = TemporaryFile("stacks.txt", "# final table\r\n5000\r\n\r\n  3000  \n# gone\n0\n2000");
    const std::string expected = RunCommand("equity --stacks 5000,3000,0,2000 --prizes 50,30,20 --format csv").Out;
    EXPECT_EQ(expected, RunCommand("equity --stacks-file \"" + path + "\" --prizes 50,30,20 --format csv").Out);
    EXPECT_EQ(expected, RunCommand("equity --stacks-file - --prizes 50,30,20 --format csv < \"" + path + "\"").Out);
    std::remove(path.c_str());
}

// Every refusal: one line on standard error naming the problem, status 2,
// nothing on standard output.
TEST(Command, ErrorTable)
{
    const std::string junk = TemporaryFile("junk.pos", std::string("\x7F" "ELF\x01\x02\x00[x]", 9));
    const std::string noPaid = TemporaryFile("empty.pos", "[payouts]\r\nPayout1=0\r\n");
    const std::string negative = TemporaryFile("negative.ini", "[chips]\r\nChip1=100\r\nChip3=-5\r\n");
    const std::string stacksFile = TemporaryFile("bad.txt", "100\n# note\n1e5\n");
    std::string crowdLines;
    for (int seat = 0; seat < 200000; ++seat)
        crowdLines += "5\n";
    const std::string crowd = TemporaryFile("crowd.txt", crowdLines);
    struct Row
    {
        std::string Arguments;
        const char *Says;
    };
    const Row rows[] = {
        {"equity --stacks 5000,abc --prizes 1", "stack 2: \"abc\" is not a whole number"},
        {"equity --stacks -5,10 --prizes 1", "negative"},
        {"equity --stacks 1000000000000001 --prizes 1", "more than 10^15"},
        {"equity --stacks 99999999999999999999999 --prizes 1", "more than 10^15"},
        {"equity --stacks 10,,20 --prizes 1", "stack 2: no stack given"},
        {"equity --stacks 0,0 --prizes 1", "no player in play"},
        {"equity --stacks 1,2 --prizes \"\"", "--prizes: the list is empty"},
        {"equity --stacks 1,2 --prizes 5,-1", "prize 2"},
        {"equity --stacks 1,2 --prizes 5,inf", "prize 2"},
        {"equity --stacks 1,2 --prizes 1e3", "not an amount"},
        {"equity --stacks 1,2 --pos \"" + noPaid + "\"", "no paid place"},
        {"equity --stacks 1,2 --pos \"" + junk + "\"", "not a payout structure file"},
        {"equity --stacks 1,2 --pos no-such-file.pos", "no-such-file.pos: cannot open"},
        {"equity --settings \"" + negative + "\"", "seat 3"},
        {"equity --stacks-file \"" + stacksFile + "\" --prizes 1", "line 3"},
        {"finish --stacks " + Joined(std::vector<std::string>(25, "1")) + " --prizes 1 --method subsets",
         "at most 24 players"},
        {"equity --stacks " + Joined(std::vector<std::string>(19, "1")) + " --prizes 1 --method plain",
         "at most 18 seats"},
        {"finish --stacks 1,2 --prizes 1 --method plain", "no finish table"},
        {"equity --stacks 1,2 --prizes 1 --threads 0", "--threads"},
        {"finish --stacks 1,2 --prizes 1 --places 0", "--places"},
        {"bubble --stacks " + Joined(std::vector<std::string>(101, "7")) + " --prizes 1", "at most 100 players"},
        {"finish --stacks-file \"" + crowd + "\" --prizes 1 --places 1000", "over the limit"},
        {"equity --stacks 1 --stacks-file x --prizes 1", "two sources for the stacks"},
        {"equity --stacks 1 --prizes 1 --pos x", "two sources for the prizes"},
        {"equity --settings x --prizes 1", "--settings gives both"},
        {"equity --prizes 1", "no stacks"},
        {"equity --stacks 1", "no prizes"},
        {"equity --stacks", "--stacks"},
        {"equity --stacks 1 --prizes 1 --format xml", "--format"},
        {"equity --stacks 1 --prizes 1 --colour", "--colour"},
        {"payout --stacks 1", "unknown command \"payout\""},
        {"deal --stacks 1,2 --prizes 5,3 --split fair", "--split"},
        {"deal --stacks 1,2 --prizes 5,3 --keep 5.5", "above the first prize"},
        {"deal --stacks 1,2 --prizes 5,3 --round 0", "--round: the unit must be an amount above 0"},
        {"deal --stacks 1,2 --prizes 5,3 --round -1", "--round"},
        {"deal --stacks 1,2 --prizes 5,3 --round 3", "not a multiple of the rounding unit"},
        {"bubble --stacks 5,0,3 --prizes 5,3 --seat 2", "--seat 2"},
        {"bubble --stacks 5,4,3 --prizes 5,3 --seat 4", "--seat 4"},
        {"bubble --players 10 --chips 1500 --stacks 1,2 --prizes 1", "take no --stacks"},
        {"bubble --players 10 --prizes 1", "--players and --chips go together"},
        {"bubble --players 1 --chips 1500 --prizes 1", "at least 2 players"},
    };
    for (const Row &row : rows)
    {
        const CommandRun run = RunCommand(row.Arguments);
        SCOPED_TRACE(row.Arguments + "\n" + run.Err);
        EXPECT_EQ(2, run.Status);
        EXPECT_EQ("", run.Out);
        EXPECT_EQ(0u, run.Err.find("ostrel-icm: error: "));
        EXPECT_EQ(run.Err.size() - 1, run.Err.find('\n')) << "one line";
        EXPECT_NE(std::string::npos, run.Err.find(row.Says));
    }
    for (const std::string &path : {junk, noPaid, negative, stacksFile, crowd})
        std::remove(path.c_str());
}

// Within the window's ranges the equal-stacks tool gives the window's three
// numbers to the bit.
TEST(Command, EqualStacksBubbleIsTheWindows)
{
    const struct
    {
        int32_t Players, Chips;
        std::vector<double> Prizes;
    } rows[] = {
        {10, 1500, {50, 30, 20}},
        {180, 1500, {250, 150, 100}},
        {2, 10, {7, 3, 1}},
        {1000, 100000, std::vector<double>(30, 12.5)},
        {9, 777, {100, 50, 25, 12.5, 6.25, 3.125, 1.5625, 0.78125, 0.390625, 0.1953125}},
    };
    for (const auto &row : rows)
    {
        std::vector<std::string> prizes;
        for (double prize : row.Prizes)
        {
            char text[32];
            std::snprintf(text, sizeof text, "%.17g", prize);
            prizes.push_back(text);
        }
        const std::string arguments = "bubble --players " + std::to_string(row.Players) + " --chips " +
                                      std::to_string(row.Chips) + " --prizes " + Joined(prizes) + " --format json";
        SCOPED_TRACE(arguments);
        const json answer = JsonOf(arguments);
        ResetTournamentState();
        TournamentState.InitPlayers = row.Players;
        TournamentState.InitChips = row.Chips;
        for (size_t place = 0; place < row.Prizes.size(); ++place)
            TournamentState.Payouts[place] = row.Prizes[place];
        RecountPaidPlaces(nullptr, 0);
        const double one = BubbleEquityRecurse(row.Players * row.Chips, 1, 0);
        const double two = BubbleEquityRecurse(row.Players * row.Chips, 2, 0);
        ASSERT_TRUE(answer.is_object());
        EXPECT_EQ(one, answer["equity_one_stack"].get<double>());
        EXPECT_EQ(two, answer["equity_two_stacks"].get<double>());
        EXPECT_EQ(one / (two - one), answer["bubble_factor"].get<double>());
    }
}

TEST(Command, DealAndBubbleAnswers)
{
    const json deal = JsonOf("deal --stacks 5000,3000,2000 --prizes 50,30,20 --split chip --keep 10 --round 0.5 "
                             "--format json");
    ASSERT_TRUE(deal.is_object());
    EXPECT_EQ("chip", deal["split"]);
    EXPECT_EQ(10.0, deal["kept_for_winner"].get<double>());
    double paid = 0.0;
    for (const json &player : deal["players"])
    {
        paid += player["payment"].get<double>();
        EXPECT_DOUBLE_EQ(player["deal_value"].get<double>() - player["equity"].get<double>(),
                         player["difference"].get<double>());
    }
    EXPECT_EQ(90.0, paid);
    const json grid = JsonOf("bubble --stacks 5000,0,3000,2000,1000 --prizes 50,30,20 --format json");
    ASSERT_TRUE(grid.is_object());
    EXPECT_EQ(json::parse("[1, 3, 4, 5]"), grid["seats"]);
    ASSERT_EQ(4u, grid["bubble_factors"].size());
    for (size_t row = 0; row < 4; ++row)
    {
        EXPECT_TRUE(grid["bubble_factors"][row][row].is_null());
        EXPECT_TRUE(grid["risk_premiums"][row][row].is_null());
    }
    // Beyond the window, rows in one pass each agree with the fields one by one.
    const std::string twenty = "bubble --stacks 900,100,800,200,700,300,600,400,500,500,400,600,300,700,200,800,100,900,1000,1500 --prizes 5,3,2";
    const json byRows = JsonOf(twenty + " --format json");
    const json byFields = JsonOf(twenty + " --method subsets --format json");
    ASSERT_TRUE(byRows.is_object() && byFields.is_object());
    EXPECT_EQ("quadrature", byRows["method"]);
    for (size_t row = 0; row < 20; ++row)
        for (size_t column = 0; column < 20; ++column)
        {
            const json &fast = byRows["bubble_factors"][row][column];
            const json &exact = byFields["bubble_factors"][row][column];
            ASSERT_EQ(exact.is_null(), fast.is_null()) << row << "," << column;
            if (!exact.is_null())
            {
                EXPECT_NEAR(exact.get<double>(), fast.get<double>(), 1e-10 * exact.get<double>());
            }
        }
    const json one = JsonOf("bubble --stacks 5000,0,3000,2000,1000 --prizes 50,30,20 --seat 5 --format json");
    ASSERT_TRUE(one.is_object());
    EXPECT_EQ(grid["bubble_factors"][3], one["bubble_factors"][0]);
}

// auto keeps the window's choice where the window could compute, and beyond
// it takes the subset method only while that is the faster.
TEST(Command, AutomaticMethodChoice)
{
    const std::string big = "3000000000,";
    const struct
    {
        std::string Stacks;
        std::string Prizes;
        const char *Method;
    } rows[] = {
        {"5000,3000,2000", "50,30,20", "plain"},
        {Joined(std::vector<std::string>(13, "1000")), "13,12,11,10,9,8,7,6,5,4,3,2,1", "subsets"},
        {big + "1,2", "50,30,20", "subsets"},
        {big + Joined(std::vector<std::string>(13, "1000")), "50,30,20", "subsets"},
        {big + Joined(std::vector<std::string>(11, "1000")), "8,7,6,5,4,3,2,1", "quadrature"},
        {Joined(std::vector<std::string>(19, "1000")), "50,30,20", "quadrature"},
    };
    for (const auto &row : rows)
    {
        const json answer = JsonOf("equity --stacks " + row.Stacks + " --prizes " + row.Prizes + " --format json");
        ASSERT_TRUE(answer.is_object()) << row.Stacks;
        EXPECT_EQ(row.Method, answer["method"]) << row.Stacks;
    }
}

std::string FallingPrizes(int places)
{
    std::string prizes;
    for (int place = 1; place <= places; ++place)
        prizes += (place == 1 ? "" : ",") + std::to_string(2 * places + 1 - place);
    return prizes;
}

// Fields of thousands from a file: the $EV add up to the prizes, the finish
// table shows the paid places, and a run of over a second prints nothing on
// a standard error that is not a terminal.
TEST(Command, LargeFieldsFromAFile)
{
    std::string lines;
    for (int seat = 0; seat < 10000; ++seat)
        lines += std::to_string(1 + (seat * 7919) % 100000) + "\n";
    const std::string path = TemporaryFile("10000.txt", lines);
    const CommandRun slow = RunCommand("equity --stacks-file \"" + path + "\" --prizes " + FallingPrizes(1500) +
                                       " --format json");
    EXPECT_EQ(0, slow.Status);
    EXPECT_EQ("", slow.Err) << "no progress on a file";
    const json equity = json::parse(slow.Out, nullptr, false);
    ASSERT_TRUE(equity.is_object());
    EXPECT_EQ("quadrature", equity["method"]);
    double sum = 0.0;
    for (const json &player : equity["players"])
        sum += player["equity"].get<double>();
    EXPECT_NEAR(equity["prize_pool"].get<double>(), sum, 1e-9 * sum);
    const CommandRun finish = RunCommand("finish --stacks-file \"" + path + "\" --prizes " + FallingPrizes(40) +
                                         " --format csv");
    EXPECT_EQ(0, finish.Status);
    EXPECT_EQ(0u, finish.Out.find("seat,stack,place_1,"));
    EXPECT_NE(std::string::npos, finish.Out.find(",place_40\n"));
    EXPECT_EQ(std::string::npos, finish.Out.find("place_41"));
    std::remove(path.c_str());
}

std::string Repeated(const std::string &item, size_t count)
{
    return Joined(std::vector<std::string>(count, item));
}

// Inputs a user can type at the edges of what the command promises: each
// either answered, finite and parseable, or refused on one line.
TEST(Command, EdgesAnsweredOrRefused)
{
    std::string bigStacks;
    for (int seat = 0; seat < 1001; ++seat)
        bigStacks += "1000000000000000\n";
    const std::string overTotal = TemporaryFile("over-total.txt", bigStacks);
    std::string zeros = "5\n3\n";
    for (int seat = 0; seat < 1000000; ++seat)
        zeros += "0\n";
    const std::string manySeats = TemporaryFile("many-seats.txt", zeros);
    const std::string bigPos = TemporaryFile("big.pos", "[payouts]\r\nPayout1=50\r\n" + std::string(1 << 20, ';'));
    std::string crowdLines;
    for (int seat = 0; seat < 300000; ++seat)
        crowdLines += std::to_string(1 + seat % 1000) + "\n";
    const std::string crowd = TemporaryFile("crowd-60.txt", crowdLines);
    const std::string huge = "1" + std::string(305, '0');
    const std::string largest = "17" + std::string(307, '0');
    const std::string eighteen = "1000,1037,1074,1111,1148,1185,1222,1259,1296,1333,1370,1407,1444,1481,1518,1555,1592,1629";
    const std::string ladder18 = "100,95,90,85,80,75,70,65,60,55,50,45,40,35,30,25,20,15";
    struct Row
    {
        std::string Arguments;
        const char *Says; // in the error, or "" where the command answers
    };
    const Row rows[] = {
        {"deal --stacks 5000,3000 --prizes 2000000.5 --round 1",
         "the money dealt, 2000000.5, is not a multiple of the rounding unit 1"},
        {"deal --stacks 5000,3000,2000 --prizes 617283.95,370370.37,246913.57 --round 1",
         "the money dealt, 1234567.89, is not a multiple of the rounding unit 1"},
        {"deal --stacks 1,2 --prizes 80 --split even --round 3",
         "the money dealt, 80, is not a multiple of the rounding unit 3"},
        {"deal --stacks 1,2 --prizes 1234567890123456789.01 --round 0.01", "more digits than a double keeps"},
        {"deal --stacks 5000,3000 --pool 1234567.891 --prizes 12.345678901%,87.654321099% --round 0.01",
         "\"12.345678901%\" (152415.78763770767791 of the pool) has more digits than a double keeps"},
        {"deal --stacks 1,2 --prizes 5,3 --keep 0.10000000000000000001 --round 0.01", "--keep"},
        {"bubble --stacks 800000000000000,500000000000000,300000000000000 --prizes 5,3", ""},
        {"equity --stacks-file \"" + overTotal + "\" --prizes 1", "more than 10^18 chips"},
        {"equity --stacks 5000,3000 --prizes " + huge + ",0,0", ""},
        {"equity --stacks 5000,3000 --prizes " + largest + "," + largest, "the prizes add up to more than"},
        {"finish --stacks 5000,3000,1," + Repeated("1", 20) + " --prizes " + huge + "," + huge, ""},
        {"bubble --players 10 --chips 1500 --prizes " + huge + ",1", ""},
        {"equity --stacks-file \"" + manySeats + "\" --prizes 1", "at most 1000000 are taken, empty seats included"},
        {"equity --stacks 1,2 --pos \"" + bigPos + "\"", "larger than 1 MiB"},
        {"finish --stacks-file \"" + crowd + "\" --prizes " + FallingPrizes(60), "for the answer's text"},
        {"equity --stacks " + eighteen + " --prizes " + ladder18 + " --method plain",
         "--method plain would take about"},
        {"deal --stacks " + eighteen + " --prizes " + ladder18 + " --method plain", "--method quadrature takes about"},
        {"bubble --stacks " + eighteen + " --prizes " + ladder18 + " --method plain", "--method plain would take about"},
    };
    for (const std::string format : {"table", "csv", "json"})
        for (const Row &row : rows)
        {
            const CommandRun run = RunCommand(row.Arguments + " --format " + format);
            SCOPED_TRACE(row.Arguments.substr(0, 200) + " --format " + format + "\n" + run.Err);
            if (row.Says[0] != '\0')
            {
                EXPECT_EQ(2, run.Status);
                EXPECT_EQ("", run.Out);
                EXPECT_EQ(0u, run.Err.find("ostrel-icm: error: "));
                EXPECT_EQ(run.Err.size() - 1, run.Err.find('\n')) << "one line";
                EXPECT_NE(std::string::npos, run.Err.find(row.Says));
                continue;
            }
            EXPECT_EQ(0, run.Status);
            for (const char *word : {"inf", "nan"})
                EXPECT_EQ(std::string::npos, run.Out.find(word)) << word;
            if (format == "json")
            {
                EXPECT_FALSE(json::parse(run.Out, nullptr, false).is_discarded());
            }
        }
#ifndef _WIN32
    for (const char *option : {"--stacks-file", "--pos", "--settings"})
    {
        const CommandRun run = RunCommand(std::string("equity ") + option + " /dev/zero" +
                                          (option[2] == 'p' ? " --stacks 1,2" : option[2] == 's' && option[3] == 't' ? " --prizes 1" : ""));
        EXPECT_EQ(2, run.Status) << option;
        EXPECT_NE(std::string::npos, run.Err.find("/dev/zero: the file is larger than")) << run.Err;
    }
#endif
    for (const std::string &path : {overTotal, manySeats, bigPos, crowd})
        std::remove(path.c_str());
}

// The figures at the edges, against what they must be.
TEST(Command, EdgeAnswersAreExact)
{
    // 256.085 and 768.255: a tie, to the larger stack, by chips and by $EV alike.
    for (const char *split : {"chip", "icm"})
    {
        const json deal = JsonOf(std::string("deal --stacks 10000,30000 --prizes 1024.34 --round 0.01 --format json "
                                             "--split ") + split);
        ASSERT_TRUE(deal.is_object());
        EXPECT_EQ(256.08, deal["players"][0]["payment"].get<double>()) << split;
        EXPECT_EQ(768.26, deal["players"][1]["payment"].get<double>()) << split;
    }
    // The winner of a hand may hold more than a seat may be given.
    const json grid = JsonOf("bubble --stacks 800000000000000,500000000000000,300000000000000 --prizes 5,3 --format json");
    ASSERT_TRUE(grid.is_object());
    EXPECT_TRUE(grid["bubble_factors"][0][1].is_number());
    // A prize of 10^305 typed out: one player's share of it by chips (one paid place).
    const json equity = JsonOf("equity --stacks 5000,3000 --prizes 1" + std::string(305, '0') + ",0,0 --format json");
    ASSERT_TRUE(equity.is_object());
    EXPECT_DOUBLE_EQ(0.625e305, equity["players"][0]["equity"].get<double>());
    // A stacks file that begins with a byte-order mark reads like one without.
    const std::string marked = TemporaryFile("marked.txt", "\xEF\xBB\xBF" "5000\n3000\n2000\n");
    EXPECT_EQ(RunCommand("equity --stacks 5000,3000,2000 --prizes 50,30,20 --format csv").Out,
              RunCommand("equity --stacks-file \"" + marked + "\" --prizes 50,30,20 --format csv").Out);
    std::remove(marked.c_str());
    // The 18-player grid by default: rows by the quadrature method, within
    // its promise of the subset method's fields.
    const std::string eighteen = "bubble --stacks 1000,1037,1074,1111,1148,1185,1222,1259,1296,1333,1370,1407,1444,"
                                 "1481,1518,1555,1592,1629 --prizes 100,95,90,85,80,75,70,65,60,55,50,45,40,35,30,25,20,15 "
                                 "--format json";
    const json fast = JsonOf(eighteen);
    const json exact = JsonOf(eighteen + " --method subsets");
    ASSERT_TRUE(fast.is_object() && exact.is_object());
    EXPECT_EQ("quadrature", fast["method"]);
    for (size_t row = 0; row < 18; ++row)
        for (size_t column = 0; column < 18; ++column)
            if (row != column)
            {
                const double factor = exact["bubble_factors"][row][column].get<double>();
                EXPECT_NEAR(factor, fast["bubble_factors"][row][column].get<double>(), 1e-9 * factor);
            }
}

#ifndef _WIN32
// On a terminal a run of over a second shows how far it has got, whatever
// the method: the plain recursion, about 2 s on 16 players with 8 paid; and
// the equilibrium a spot takes its ranges from, some 3 s at ten seats.
TEST(Command, ProgressOnATerminalForEveryMethod)
{
    if (std::system("script -V > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "no script(1) for a pseudo-terminal";
    const struct
    {
        std::string Arguments, Shows;
    } rows[] = {
        {" equity --stacks 1000,1037,1074,1111,1148,1185,1222,1259,1296,1333,1370,1407,1444,1481,1518,1555 "
         "--prizes 8,7,6,5,4,3,2,1 --method plain --format csv",
         "% ("},
        {" spot --stacks 9000,4000,2500,7000,3000,1200,6000,5000,800,4400 --prizes 30,20,14,10,8,6,5,4,3 "
         "--button 1 --blinds 200,400 --ante 50 --hero 4 --ranges nash --format csv",
         "iteration "},
    };
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.Arguments);
        FILE *pipe = popen(("script -q -e -c '" + CommandPath + row.Arguments + " > /dev/null' /dev/null").c_str(), "r");
        ASSERT_NE(nullptr, pipe);
        std::string terminal;
        char block[4096];
        for (size_t got = 0; (got = std::fread(block, 1, sizeof block, pipe)) > 0;)
            terminal.append(block, got);
        EXPECT_EQ(0, pclose(pipe));
        EXPECT_NE(std::string::npos, terminal.find("ostrel-icm: ")) << terminal;
        EXPECT_NE(std::string::npos, terminal.find(row.Shows)) << terminal;
    }
}
#endif

TEST(Command, HelpAndVersion)
{
    EXPECT_EQ("ostrel-icm 2.10.0.9\n", RunCommand("--version").Out);
    const struct
    {
        const char *Arguments;
        const char *Shows;
    } rows[] = {{"--help", "finish"}, {"equity --help", "--stacks-file"}, {"finish --help", "--settings"}};
    for (const auto &row : rows)
    {
        const CommandRun run = RunCommand(row.Arguments);
        EXPECT_EQ(0, run.Status) << row.Arguments;
        EXPECT_NE(std::string::npos, run.Out.find(row.Shows)) << row.Arguments << "\n" << run.Out;
    }
}

} // namespace
