// ostrel-icm spot through its own process: the values before the hand and
// after every outcome are `equity`'s to the bit, the JSON holds exactly its
// fields, colour only when asked or on a terminal, and bad input is one line
// with status 2.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <set>
#include <string>

#include "command_support.h"

namespace
{

using nlohmann::json;

const std::string Table = " --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25";

json JsonRun(const std::string &arguments)
{
    const CommandRun run = RunCommand(arguments);
    EXPECT_EQ(0, run.Status) << arguments << "\n" << run.Err;
    EXPECT_EQ("", run.Err) << arguments;
    return json::parse(run.Out, nullptr, false);
}

std::string Joined(const json &numbers)
{
    std::string text;
    for (const json &number : numbers)
        text += (text.empty() ? "" : ",") + std::to_string(number.get<int64_t>());
    return text;
}

// Up to 20 players `equity --method subsets` (the window's recursion agrees to
// rounding); beyond, the method `equity` chooses.
TEST(SpotCommand, ValuesAreEquitysToTheBit)
{
    struct Row
    {
        std::string Stacks, Others, Prizes, Spot;
    };
    const Row rows[] = {
        // Six seats, where the recursion and the subsets differ in the last bit.
        {"5000,3000,2000,1500,1000,800", "", "40,25,15,10,6,4",
         " --button 2 --blinds 100,200 --ante 20 --hero 5 --range 6=88+ --range 1=TT+,AK --range 2=55+,A9+ "
         "--range 3=22+,A2+ --range 4=22+,A2+,K9+ --overcall 1=KK+ --overcall 2=QQ+ --overcall 3=QQ+ "
         "--overcall 4=JJ+"},
        {"5000,3000,2000", "", "50,30,20", " --button 1 --blinds 100,200 --ante 25 --hero 2 --range 3=QQ+,AK"},
        {"5000,3000,2000", "", "50,30,20",
         " --button 1 --blinds 100,200 --ante 25 --hero 3 --action call --shover 2 --range 2=22+,A2+"},
        // 30 players in the field: the quadrature method, chosen as `equity` chooses it.
        {"9000,4000,2500,7000,3000,1200,6000,5000,800", "3000,4100,2200,900,6000,1500,2500,3500,1800,2700,5200,1300,"
         "4400,3900,2000,1000,2600,3100,700,4800,1600",
         "30,20,14,10,8,6,5,4,3", " --button 9 --blinds 200,400 --bb-ante 400 --hero 8 --range 9=55+,A9+,KQ "
         "--range 1=TT+,AQ+ --range 2=JJ+,AK --overcall 1=QQ+ --overcall 2=KK+"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Spot);
        const std::string field = " --stacks " + row.Stacks + " --prizes " + row.Prizes;
        const std::string others = row.Others.empty() ? "" : " --others " + row.Others;
        const json hand = JsonRun("spot" + field + others + row.Spot + " --hand AhKd --format json");
        ASSERT_TRUE(hand.is_object());
        const size_t hero = hand["hero"].get<size_t>() - 1;
        const std::string all = row.Stacks + (row.Others.empty() ? "" : "," + row.Others);
        const std::string method = row.Others.empty() ? " --method subsets" : "";
        const json before = JsonRun("equity --stacks " + all + " --prizes " + row.Prizes + method + " --format json");
        EXPECT_EQ(hand["ev_before"].get<double>(), before["players"][hero]["equity"].get<double>());
        size_t compared = 0;
        for (const char *branch : {"fold", "play"})
            for (const json &outcome : hand[branch])
            {
                if (outcome["stacks"][hero].get<int64_t>() == 0 || compared == 6)
                    continue; // a busted hero takes his place's prize
                const json after = JsonRun("equity --stacks " + Joined(outcome["stacks"]) + " --prizes " + row.Prizes +
                                           method + " --format json");
                EXPECT_EQ(outcome["value"].get<double>(), after["players"][hero]["equity"].get<double>())
                    << outcome.dump();
                compared += 1;
            }
        EXPECT_GT(compared, 1u);
    }
}

TEST(SpotCommand, JsonFieldsAndFormats)
{
    const json answer = JsonRun("spot" + Table + " --hero 2 --range 3=QQ+,AK --format json");
    ASSERT_TRUE(answer.is_object());
    std::set<std::string> keys;
    for (const auto &item : answer.items())
        keys.insert(item.key());
    EXPECT_EQ(keys, (std::set<std::string>{"hero", "position", "action", "pool", "hands", "range", "range_share"}));
    EXPECT_EQ(answer["hero"], 2);
    EXPECT_EQ(answer["position"], "SB");
    EXPECT_EQ(answer["action"], "first-in");
    EXPECT_EQ(answer["pool"].get<double>(), 100.0);
    ASSERT_EQ(answer["hands"].size(), 169u);
    double combos = 0.0, playing = 0.0;
    for (const json &hand : answer["hands"])
    {
        std::set<std::string> fields;
        for (const auto &item : hand.items())
            fields.insert(item.key());
        EXPECT_EQ(fields, (std::set<std::string>{"hand", "combos", "ev_fold", "ev_play", "difference"}));
        EXPECT_EQ(hand["difference"].get<double>(), hand["ev_play"].get<double>() - hand["ev_fold"].get<double>());
        combos += hand["combos"].get<double>();
        playing += hand["difference"].get<double>() > 0.0 ? hand["combos"].get<double>() : 0.0;
    }
    EXPECT_EQ(combos, 1326.0);
    EXPECT_DOUBLE_EQ(answer["range_share"].get<double>(), playing / 1326.0);
    EXPECT_EQ(answer["hands"][0]["hand"], "AA");

    const CommandRun csv = RunCommand("spot" + Table + " --hero 2 --range 3=QQ+,AK --format csv");
    EXPECT_EQ(0, csv.Status);
    EXPECT_EQ(170, std::count(csv.Out.begin(), csv.Out.end(), '\n'));
    EXPECT_EQ(csv.Out.find('\x1b'), std::string::npos);

    const CommandRun plain = RunCommand("spot" + Table + " --hero 2 --range 3=QQ+,AK");
    const CommandRun never = RunCommand("spot" + Table + " --hero 2 --range 3=QQ+,AK --color never");
    const CommandRun always = RunCommand("spot" + Table + " --hero 2 --range 3=QQ+,AK --color always");
    EXPECT_EQ(plain.Out, never.Out); // not a terminal: no colour
    EXPECT_EQ(plain.Out.find('\x1b'), std::string::npos);
    EXPECT_NE(always.Out.find("\x1b["), std::string::npos);
    EXPECT_NE(plain.Out.find("Shove: "), std::string::npos);
}

TEST(SpotCommand, AShortBigBlindsWalkGivesBackTheUnmatchedSmallBlind)
{
    // The big blind all in for 60 of his 200 wins 60 of the small blind's
    // 100 when all fold to him: 2940 and 120.
    const json chips = JsonRun("spot --stacks 3000,60 --chip-ev --button 1 --blinds 100,200 --hero 1 --hand AhKd "
                               "--format json");
    ASSERT_TRUE(chips.is_object());
    EXPECT_EQ(chips["ev_fold"].get<double>(), 2940.0);
    ASSERT_EQ(chips["fold"].size(), 1u);
    EXPECT_EQ(Joined(chips["fold"][0]["stacks"]), "2940,120");
    // Under ICM the fold is `equity`'s value of 5000, 2940, 120 to the bit.
    const json icm =
        JsonRun("spot --stacks 5000,3000,60 --prizes 50,30,20 --button 1 --blinds 100,200 --hero 2 --hand AhKd "
                "--format json");
    const json walk = JsonRun("equity --stacks 5000,2940,120 --prizes 50,30,20 --format json");
    EXPECT_EQ(icm["ev_fold"].get<double>(), walk["players"][1]["equity"].get<double>());
}

TEST(SpotCommand, OvercallShovesAfterAFoldDrawsAndSeed)
{
    // Facing a shove and a call with no one after him: one three-way pot a
    // hand, so every class draws --draws showdowns.
    const std::string overcall =
        "spot" + Table + " --hero 3 --action overcall --shover 1 --caller 2 --range 1=22+,A2+,K9+ --range 2=TT+,AQ+";
    const CommandRun table = RunCommand(overcall + " --draws 3000 --seed 9");
    EXPECT_EQ(0, table.Status) << table.Err;
    EXPECT_NE(table.Out.find("Seat 3 (BB) facing seat 1 (BTN)'s shove and seat 2 (SB)'s call: overcall or fold"), std::string::npos);
    EXPECT_NE(table.Out.find("Three-way pots drawn at random: 507000 showdowns, seed 9;"), std::string::npos)
        << table.Out;
    EXPECT_NE(table.Out.find("Overcall: "), std::string::npos);
    EXPECT_EQ(table.Out, RunCommand(overcall + " --draws 3000 --seed 9").Out);
    EXPECT_NE(table.Out, RunCommand(overcall + " --draws 3000 --seed 10").Out);

    const json answer = JsonRun(overcall + " --format json");
    ASSERT_TRUE(answer.is_object());
    EXPECT_EQ(answer["action"], "overcall");
    double combos = 0.0;
    for (const json &hand : answer["hands"])
        combos += hand["combos"].get<double>();
    EXPECT_NEAR(combos, 1326.0, 1e-9);

    // First in, the players after a folding hero shove with --shove: with
    // chip EV the fold keeps the hero's chips less his ante; under ICM
    // their play moves his money.
    const std::string first = " --hero 1 --range 2=QQ+,AK --range 3=JJ+,AK --overcall 3=KK+";
    const std::string chipTable = " --stacks 5000,3000,2000 --chip-ev --button 1 --blinds 100,200 --ante 25";
    const json quiet = JsonRun("spot" + chipTable + first + " --format json");
    const json shoving = JsonRun("spot" + chipTable + first + " --shove 2=22+,A2+,K9+ --format json");
    EXPECT_EQ(quiet["hands"][0]["ev_fold"].get<double>(), 4975.0);
    EXPECT_NEAR(shoving["hands"][0]["ev_fold"].get<double>(), 4975.0, 1e-9);
    const json icmQuiet = JsonRun("spot" + Table + first + " --format json");
    const json icmShoving = JsonRun("spot" + Table + first + " --shove 2=22+,A2+,K9+ --format json");
    EXPECT_NE(icmQuiet["hands"][0]["ev_fold"].get<double>(), icmShoving["hands"][0]["ev_fold"].get<double>());
    EXPECT_EQ(icmQuiet["hands"][0]["ev_play"].get<double>(), icmShoving["hands"][0]["ev_play"].get<double>());
}

TEST(SpotCommand, APlayerAllInFromPostingIsInEveryPot)
{
    // The small blind all in for 40: the big blind facing the button's shove
    // plays a pot with him in it; folding keeps his 2,400 chips behind,
    // exactly, and every outcome of the call leaves the 5,540 chips in play.
    const json facing = JsonRun("spot --stacks 3000,40,2500 --chip-ev --button 1 --blinds 50,100 --hero 3 "
                                "--action call --shover 1 --range 1=random --hand AhAd --format json");
    ASSERT_TRUE(facing.is_object());
    EXPECT_EQ(facing["ev_fold"].get<double>(), 2400.0);
    EXPECT_GT(facing["ev_play"].get<double>(), facing["ev_fold"].get<double>());
    for (const json &outcome : facing["play"])
    {
        int64_t chips = 0;
        for (const json &stack : outcome["stacks"])
            chips += stack.get<int64_t>();
        EXPECT_EQ(chips, 5540);
        EXPECT_EQ(outcome["players"].size(), 3u); // shover, hero and the small blind
    }
    // With chip EV the equity a call needs is said once.
    const CommandRun text = RunCommand("spot --stacks 3000,40,2500 --chip-ev --button 1 --blinds 50,100 --hero 3 "
                                       "--action call --shover 1 --range 1=random --hand AhAd");
    EXPECT_NE(text.Out.find("Equity needed to call in a heads-up pot: 47.62% under chip EV; AhAd has"),
              std::string::npos)
        << text.Out;
    // First in with the big blind all in from posting, the players after a
    // folding hero shove with --shove: with chip EV his fold keeps his chips
    // whatever they do; the big blind takes the pot when all fold (0.7 x 0.6).
    const std::string first = "spot --stacks 3000,2500,150,2000 --chip-ev --button 1 --blinds 100,200 --hero 4 "
                              "--range 1=22+,A2+ --range 2=22+,A2+ --hand 7h2d --format json";
    const json quiet = JsonRun(first);
    const json shoving = JsonRun(first + " --shove 1=30% --shove 2=40%");
    EXPECT_EQ(quiet["ev_fold"].get<double>(), 2000.0);
    EXPECT_NEAR(shoving["ev_fold"].get<double>(), 2000.0, 1e-9);
    EXPECT_EQ(quiet["ev_play"].get<double>(), shoving["ev_play"].get<double>());
    double walk = 0.0;
    for (const json &outcome : shoving["fold"])
        if (outcome["players"].size() == 1)
            walk += outcome["chance"].get<double>();
    EXPECT_NEAR(walk, 0.7 * 0.6, 0.02); // the shares of 30% and 40% are whole classes near them
}

// A seat typed by its position is the seat typed by its number: the same
// bytes in every format.
TEST(SpotCommand, SeatsByPosition)
{
    // Six-max with the button on seat 4: UTG 1, HJ 2, CO 3, BTN 4, SB 5, BB 6.
    const std::string six = " --stacks 1500,2000,2500,3000,3500,4000 --chip-ev --button 4 --blinds 50,100";
    const struct
    {
        std::string Positions, Numbers;
    } rows[] = {
        {"spot" + Table + " --hero sb --range BB=QQ+,AK", "spot" + Table + " --hero 2 --range 3=QQ+,AK"},
        {"spot" + Table + " --hero BB --action call --shover BTN --range btn=22+",
         "spot" + Table + " --hero 3 --action call --shover 1 --range 1=22+"},
        {"spot" + Table + " --hero BB --action overcall --shover BTN --caller SB --range BTN=22+,A2+ --range SB=TT+",
         "spot" + Table + " --hero 3 --action overcall --shover 1 --caller 2 --range 1=22+,A2+ --range 2=TT+"},
        {"spot" + six + " --hero CO --range BTN=22+ --range SB=55+ --range BB=77+ --overcall SB=QQ+ --overcall BB=KK+ "
         "--shove btn=A2+ --hand 9h8h",
         "spot" + six + " --hero 3 --range 4=22+ --range 5=55+ --range 6=77+ --overcall 5=QQ+ --overcall 6=KK+ "
         "--shove 4=A2+ --hand 9h8h"},
        {"spot" + six + " --hero bb --action call --shover hj --range HJ=22+",
         "spot" + six + " --hero 6 --action call --shover 2 --range 2=22+"},
        {"spot --stacks 500,300 --prizes 50,30 --button 2 --blinds 10,20 --hero SB --range BB=AA",
         "spot --stacks 500,300 --prizes 50,30 --button 2 --blinds 10,20 --hero 2 --range 1=AA"},
    };
    for (const auto &row : rows)
        for (const char *format : {" --format table", " --format csv", " --format json"})
        {
            const CommandRun typed = RunCommand(row.Positions + format);
            SCOPED_TRACE(row.Positions + format + "\n" + typed.Err);
            EXPECT_EQ(0, typed.Status);
            EXPECT_EQ(RunCommand(row.Numbers + format).Out, typed.Out);
        }
    // The hero's position beside his number, in words and in JSON.
    const CommandRun call = RunCommand("spot" + six + " --hero 6 --action call --shover 3 --range 3=22+");
    EXPECT_EQ(0u, call.Out.find("Seat 6 (BB) facing seat 3 (CO)'s shove: call or fold;")) << call.Out;
    // Under it every seat in play with its position, chips and big blinds.
    EXPECT_NE(std::string::npos,
              call.Out.find("\nStacks: 1 UTG 1500 (15.0bb), 2 HJ 2000 (20.0bb), 3 CO 2500 (25.0bb), 4 BTN 3000 "
                            "(30.0bb), 5 SB 3500 (35.0bb), 6 BB 4000 (40.0bb); blinds 50/100\n"))
        << call.Out;
    const CommandRun empty = RunCommand("spot --stacks 5000,0,3000,2060 --chip-ev --button 1 --blinds 100,200 "
                                        "--bb-ante 200 --hero 3 --range 4=QQ+ --hand AhKd");
    EXPECT_NE(std::string::npos, empty.Out.find("\nStacks: 1 BTN 5000 (25.0bb), 3 SB 3000 (15.0bb), 4 BB 2060 "
                                                 "(10.3bb); blinds 100/200, big blind ante 200\n"))
        << empty.Out;
    const json hand = JsonRun("spot" + six + " --hero 3 --range 4=22+ --range 5=55+ --range 6=77+ --overcall 5=QQ+ "
                              "--overcall 6=KK+ --hand AhKd --format json");
    EXPECT_EQ(3, hand["hero"]);
    EXPECT_EQ("CO", hand["position"]);
}

// The prizes come as equity takes them: percentages of a pool, or a file.
TEST(SpotCommand, PrizesAsEquityTakesThem)
{
    const std::string percent = TemporaryFile("spot-percent.txt", "# the ladder\n50%\n30%, 20%\n");
    const std::string amounts = TemporaryFile("spot-amounts.txt", "50,30\n20\n");
    const std::string spot = "spot --stacks 5000,3000,2000 --button 1 --blinds 100,200 --hero 2 --range 3=QQ+,AK";
    const std::string nash = "nash --stacks 5000,3000 --button 1 --blinds 100,200";
    const struct
    {
        std::string Typed, Plain;
    } rows[] = {
        {spot + " --pool 100 --prizes 50%,30%,20%", spot + " --prizes 50,30,20"},
        {spot + " --prizes-file \"" + amounts + "\" --format json", spot + " --prizes 50,30,20 --format json"},
        {spot + " --pool 1000 --prizes-file \"" + percent + "\" --hand AhKd",
         spot + " --prizes 500,300,200 --hand AhKd"},
        {nash + " --pool 1000 --prizes 65%,35% --format json", nash + " --prizes 650,350 --format json"},
    };
    for (const auto &row : rows)
    {
        const CommandRun typed = RunCommand(row.Typed);
        SCOPED_TRACE(row.Typed + "\n" + typed.Err);
        EXPECT_EQ(0, typed.Status);
        EXPECT_EQ(RunCommand(row.Plain).Out, typed.Out);
    }
    ExpectRefused(spot + " --pool 100 --prizes-file \"" + amounts + "\"", "\"50\" is not a percentage");
    ExpectRefused(spot + " --chip-ev --pool 100 --prizes 50%", "--chip-ev values chips: it takes no --prizes");
    ExpectRefused(spot + " --prizes 50 --prizes-file \"" + amounts + "\"", "--prizes");
    for (const std::string &path : {percent, amounts})
        std::remove(path.c_str());
}

// The table says what its Combos column counts: whole classes first in,
// what card removal leaves facing a shove (AA below 6 against QQ+, AK).
TEST(SpotCommand, CombosColumnExplained)
{
    const CommandRun first = RunCommand("spot" + Table + " --hero 2 --range 3=QQ+,AK");
    EXPECT_NE(std::string::npos,
              first.Out.find("\nCombos: how many ways each hand is dealt (6 a pair, 4 suited, 12 offsuit, of 1,326)\n"
                             "Hand  Combos"));
    EXPECT_NE(std::string::npos, first.Out.find("\nAA      6.00 "));
    const CommandRun call = RunCommand("spot" + Table + " --hero 3 --action call --shover 2 --range 2=QQ+,AK");
    EXPECT_NE(std::string::npos, call.Out.find("left once the players already in the pot hold their cards: card "
                                               "removal, weighted by their ranges\nHand  Combos"));
    const json answer = JsonRun("spot" + Table + " --hero 3 --action call --shover 2 --range 2=QQ+,AK --format json");
    ASSERT_TRUE(answer.is_object());
    EXPECT_LT(answer["hands"][0]["combos"].get<double>(), 6.0);
}

// --hand naming a class gives that class's row of the whole answer, the
// same bytes in every format, and says how to name one hand.
TEST(SpotCommand, HandClassShowsItsRow)
{
    const std::string spot = "spot" + Table + " --hero 3 --action call --shover 2 --range 2=QQ+,AK";
    for (const char *hand : {"AJo", "ajo", "KK", "T9s"})
    {
        SCOPED_TRACE(hand);
        const CommandRun csv = RunCommand(spot + " --hand " + hand + " --format csv");
        EXPECT_EQ(0, csv.Status) << csv.Err;
        const std::string whole = RunCommand(spot + " --format csv").Out;
        const size_t header = csv.Out.find('\n');
        ASSERT_NE(std::string::npos, header);
        EXPECT_EQ(whole.substr(0, header + 1), csv.Out.substr(0, header + 1));
        const std::string row = csv.Out.substr(header + 1);
        EXPECT_EQ(row.size() - 1, row.find('\n')) << "one row";
        EXPECT_NE(std::string::npos, whole.find("\n" + row)) << row;
        const json one = JsonRun(spot + " --hand " + hand + " --format json");
        const json all = JsonRun(spot + " --format json");
        ASSERT_EQ(1u, one["hands"].size());
        bool found = false;
        for (const json &entry : all["hands"])
            if (entry["hand"] == one["hands"][0]["hand"])
            {
                EXPECT_EQ(entry, one["hands"][0]);
                found = true;
            }
        EXPECT_TRUE(found);
    }
    const CommandRun table = RunCommand(spot + " --hand AJo");
    EXPECT_NE(std::string::npos, table.Out.find("\nAJo "));
    EXPECT_NE(std::string::npos, table.Out.find("AJo stands for each of its combos, its values their average; name "
                                                "one hand by its cards for its outcomes (--hand AhKd)"));
    ExpectRefused(spot + " --hand AJx", "; a hand is its two cards (AhJd), a class its name (AJo: its row of the table)");
}

// Everything in big blinds, the blinds and antes as fractions of one: the
// table in chips of the finest fraction typed, the same bytes.
TEST(SpotCommand, BlindsAsFractionsOfABigBlind)
{
    const struct
    {
        std::string InBigBlinds, InChips;
    } rows[] = {
        {"spot --stacks 12.5bb,8bb,20bb --chip-ev --button 2 --blinds 0.4,1 --bb-ante 1 --hero 3 --range 1=22+,A2+",
         "spot --stacks 125,80,200 --chip-ev --button 2 --blinds 4,10 --bb-ante 10 --hero 3 --range 1=22+,A2+"},
        {"spot --stacks 25,15,10 --in-bb --prizes 50,30,20 --button 1 --blinds 0.5,1 --ante 0.125 --hero 2 --range 3=QQ+",
         "spot --stacks 25000,15000,10000 --prizes 50,30,20 --button 1 --blinds 500,1000 --ante 125 --hero 2 "
         "--range 3=QQ+"},
        {"nash --stacks 25bb,15bb,10bb --prizes 50,30,20 --button 1 --blinds 0.5,1 --ante 0.125",
         "nash --stacks 25000,15000,10000 --prizes 50,30,20 --button 1 --blinds 500,1000 --ante 125"},
    };
    for (const auto &row : rows)
        for (const char *format : {" --format csv", " --format json"})
        {
            if (row.InBigBlinds.compare(0, 4, "nash") == 0 && std::string(format) == " --format csv")
                continue; // nash writes no CSV
            const CommandRun typed = RunCommand(row.InBigBlinds + format);
            SCOPED_TRACE(row.InBigBlinds + format + "\n" + typed.Err);
            EXPECT_EQ(0, typed.Status);
            EXPECT_EQ(RunCommand(row.InChips + format).Out, typed.Out);
        }
    const std::string table = "spot --stacks 25bb,15bb,10bb --prizes 50,30,20 --button 1 --hero 2 --range 3=QQ+";
    ExpectRefused(table + " --blinds 0.5,2", "--blinds 0.5,2: with the stacks in big blinds the big blind is 1 "
                                             "(--blinds 0.5,1), or give the blinds in whole chips (--blinds 100,200)");
    ExpectRefused(table + " --blinds 0.5,1 --ante x", "--ante x: the ante is not a number of big blinds (0.5, 0.125)");
    ExpectRefused(table + " --blinds 0.5,1 --ante -0.1", "--ante -0.1: the ante is negative");
    ExpectRefused(table + " --blinds 0.5,1 --ante 0.1234567", "amounts in big blinds take at most 6 decimals");
    ExpectRefused(table + " --blinds 0.5,1 --ante 0.1 --bb-ante 1", "give --ante or --bb-ante, not both");
}

TEST(SpotCommand, BadInputIsOneLine)
{
    struct Row
    {
        std::string Arguments;
        const char *Says;
    };
    const Row rows[] = {
        {"spot" + Table + " --hero 3 --range 1=AA", "big blind cannot be first in"},
        {"spot" + Table + " --hero 4", "--hero 4: the table has 3 seats"},
        {"spot" + Table + " --hero 2 --range 5=AA", "--range 5: the table has 3 seats"},
        {"spot" + Table + " --hero 0", "--hero 0"},
        // A table without prizes names this command's sources, not the window's settings.
        {"spot --stacks 5000,3000 --button 1 --blinds 100,200 --hero 1",
         "no prizes: give --prizes, --prizes-file or --pos, or value chips with --chip-ev"},
        // A seat typed wrong is named as a seat, with the table's positions.
        {"spot" + Table + " --hero CO --range 3=AA", "--hero CO: give a seat's number (1 to 3) or its position (BTN, SB, BB)"},
        {"spot" + Table + " --hero 1.5 --range 3=AA", "--hero 1.5: give a seat's number (1 to 3) or its position"},
        {"spot" + Table + " --hero 2 --range UTG=AA", "--range UTG: give a seat's number (1 to 3) or its position"},
        {"spot" + Table + " --hero 2 --range 3=AA --range bb=KK", "--range: seat 3 (BB) is given twice"},
        {"spot --stacks 5000,3000,2000 --prizes 50 --button 1.5 --blinds 100,200 --hero 2 --range 3=AA",
         "--button 1.5: give the seat's number, 1 to 3"},
        {"spot --stacks 5000,3000,2000 --prizes 50 --button BTN --blinds 100,200 --hero 2 --range 3=AA",
         "--button BTN: give the seat's number, 1 to 3 (positions are named from the button's seat)"},
        {"spot --stacks 5000,3000,2000 --prizes 50 --button 1 --blinds 100/200 --hero 2 --range 3=AA",
         "--blinds 100/200: give the small and the big blind, as SB,BB"},
        {"spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200.5 --hero 2 --range 3=AA",
         "--blinds 100,200.5"},
        {"spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 2.5 --hero 2 --range 3=AA",
         "--ante 2.5"},
        {"spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --bb-ante 1.5 --hero 2 "
         "--range 3=AA",
         "--bb-ante 1.5"},
        {"spot" + Table + " --hero 3 --action call --shover 2 --range 2=AhAd --hand AhKc", "empty"},
        {"spot" + Table + " --hero 2", "seat 3"},
        {"spot" + Table + " --hero 2 --range 3=AX", "--range 3=AX"},
        {"spot" + Table + " --hero 2 --range 3=AA --hand AhAh", "--hand AhAh"},
        {"spot" + Table + " --hero 3 --action call --range 2=AA", "--shover"},
        {"spot --stacks 5000,3000,2000 --prizes 50,-30 --button 1 --blinds 100,200 --hero 2 --range 3=AA", "--prizes"},
        {"spot --stacks 5000,3000,2000000000000000 --prizes 50 --button 1 --blinds 100,200 --hero 2 --range 3=AA",
         "--stacks"},
        {"spot --stacks 5000,3000,2000 --prizes 50 --chip-ev --button 1 --blinds 100,200 --hero 2 --range 3=AA",
         "--chip-ev"},
        {"spot --stacks 5000,3000,2000 --prizes 50 --blinds 100,200 --hero 2 --range 3=AA", "--button"},
        // The option typed is named, not the stack reader's words.
        {"spot --stacks 5000,3000,2000 --prizes 50 --button 1 --blinds 100,200 --ante -5 --hero 2 --range 3=AA",
         "--ante -5: the ante is negative"},
        {"spot --stacks 5000,3000,2000 --prizes 50 --button 1 --blinds -100,200 --hero 2 --range 3=AA",
         "--blinds -100,200: the small blind is negative"},
        {"spot --stacks 5000,3000,2000 --prizes 50 --button 1 --blinds 100,-200 --hero 2 --range 3=AA",
         "--blinds 100,-200: the big blind is negative"},
        {"spot --stacks 5000,3000,2000 --prizes 50 --button 1 --blinds ,200 --hero 2 --range 3=AA",
         "--blinds ,200: no small blind given"},
        {"spot --stacks 5000,3000,2000 --prizes 50 --button 1 --blinds 100,200,300 --hero 2 --range 3=AA",
         "give the small and the big blind"},
        // An empty range is not a range that never calls.
        {"spot" + Table + " --hero 2 --range 3=", "--range 3=: the range is empty"},
        {"spot" + Table + " --hero 1 --range 2=AA --range 3=KK --overcall 3=", "--overcall 3=: the range is empty"},
        {"spot" + Table + " --hero 1 --range 2=AA --range 3=KK --overcall 3=QQ --shove 2=", "--shove 2=: the range is empty"},
        {"spot" + Table + " --hero 3 --action overcall --shover 1 --range 1=AA --range 2=KK", "needs --caller SEAT"},
        {"spot" + Table + " --hero 3 --action call --shover 1 --caller 2 --range 1=AA", "--caller goes with --action overcall"},
        {"spot" + Table + " --hero 3 --action overcall --caller 2 --range 1=AA", "needs --shover SEAT"},
        {"spot" + Table + " --hero 2 --action overcall --shover 1 --caller 3 --range 1=AA --range 3=KK", "before the hero"},
        {"spot" + Table + " --hero 2 --range 3=AA --draws 0", "--draws 0"},
        {"spot" + Table + " --hero 2 --range 3=AA --seed x", "--seed x"},
        {"spot" + Table + " --hero 1 --range 2=AA --range 3=KK --overcall 3=QQ --shove 3=AA", "--shove 3"},
    };
    for (const Row &row : rows)
        ExpectRefused(row.Arguments, row.Says);
}

} // namespace
