// ostrel-icm nash through its own process: the JSON's fields with all 169
// classes in every decision, ranges that read back to the frequencies, the
// same bytes for any thread count, an SVG picture with one chart per
// decision, the warning when the iterations run out, and bad input as one
// line with status 2.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "command_support.h"

namespace
{

using nlohmann::json;

const std::string Three = " --stacks 2000,1500,1000 --prizes 50,30,20 --button 1 --blinds 50,100";
const std::string HeadsUp = " --stacks 1000,1000 --chip-ev --button 1 --blinds 50,100";

std::set<std::string> Keys(const json &object)
{
    std::set<std::string> keys;
    for (const auto &item : object.items())
        keys.insert(item.key());
    return keys;
}

TEST(NashCommand, JsonFields)
{
    struct Row
    {
        std::string Table;
        size_t Decisions;
        std::vector<std::string> Actions; // in order
        std::vector<std::string> Positions; // of seats 1, 2, ...
    };
    const Row rows[] = {
        {HeadsUp, 2, {"shove", "call"}, {"BTN", "BB"}},
        {Three, 6, {"shove", "shove", "call", "call", "call", "overcall"}, {"BTN", "SB", "BB"}},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Table);
        const CommandRun run = RunCommand("nash" + row.Table + " --format json --threads 1");
        ASSERT_EQ(0, run.Status) << run.Err;
        EXPECT_EQ("", run.Err);
        const json answer = json::parse(run.Out, nullptr, false);
        ASSERT_TRUE(answer.is_object());
        EXPECT_EQ(Keys(answer),
                  (std::set<std::string>{"exploitability", "iterations", "seats", "decisions", "three_way_error",
                                         "max_hand_loss", "hand_loss_noise"}));
        EXPECT_GE(answer["max_hand_loss"].get<double>(), 0.0);
        // Heads-up every pot is exact: no draws to move a hand's loss.
        EXPECT_EQ(row.Table == HeadsUp, answer["hand_loss_noise"].get<double>() == 0.0);
        for (const json &seat : answer["seats"])
        {
            EXPECT_EQ(Keys(seat), (std::set<std::string>{"seat", "position", "stack", "ev_before", "ev_equilibrium"}));
            EXPECT_EQ(row.Positions[seat["seat"].get<size_t>() - 1], seat["position"]);
        }
        ASSERT_EQ(row.Decisions, answer["decisions"].size());
        for (size_t i = 0; i < row.Decisions; ++i)
        {
            const json &d = answer["decisions"][i];
            EXPECT_EQ(Keys(d), (std::set<std::string>{"seat", "position", "action", "versus", "range", "share",
                                                 "frequencies", "ev_play", "ev_fold", "reached"}));
            EXPECT_EQ(row.Actions[i], d["action"]);
            EXPECT_EQ(row.Positions[d["seat"].get<size_t>() - 1], d["position"]);
            EXPECT_EQ(d["action"] == "shove" ? 0u : d["action"] == "call" ? 1u : 2u, d["versus"].size());
            ASSERT_EQ(169u, d["frequencies"].size());
            // The share is the frequencies weighted by combos.
            double combos = 0.0;
            for (const auto &item : d["frequencies"].items())
            {
                const std::string &hand = item.key();
                const double f = item.value().get<double>();
                EXPECT_TRUE(f >= 0.0 && f <= 1.0) << hand;
                combos += f * (hand.size() == 2 ? 6.0 : hand[2] == 's' ? 4.0 : 12.0);
            }
            EXPECT_NEAR(combos / 1326.0, d["share"].get<double>(), 1e-12);
        }
        // Heads-up every pot is exact and the rounds go on to a 500th of
        // the tolerance: no hand loses 0.02 big blind by the ranges.
        if (row.Table == HeadsUp)
        {
            EXPECT_LE(answer["max_hand_loss"].get<double>(), 2.0);
        }
        // The first decision is the first player's shove: AA always.
        EXPECT_EQ(1.0, answer["decisions"][0]["frequencies"]["AA"].get<double>());
    }
}

TEST(NashCommand, SameBytesForAnyThreadsAndFormats)
{
    // Three players: their pots are what the threads share out.
    const CommandRun one = RunCommand("nash" + Three + " --format json --threads 1");
    const CommandRun two = RunCommand("nash" + Three + " --format json --threads 3");
    ASSERT_EQ(0, one.Status);
    EXPECT_EQ(one.Out, two.Out);

    const CommandRun svg = RunCommand("nash" + HeadsUp + " --format svg");
    ASSERT_EQ(0, svg.Status);
    EXPECT_EQ(0u, svg.Out.find("<svg xmlns=\"http://www.w3.org/2000/svg\""));
    EXPECT_NE(std::string::npos, svg.Out.find("</svg>"));
    // One chart per decision: 169 cells each, each labelled.
    size_t cells = 0;
    for (size_t at = svg.Out.find("<rect x="); at != std::string::npos; at = svg.Out.find("<rect x=", at + 1))
        ++cells;
    EXPECT_EQ(2u * 169u, cells);
    EXPECT_NE(std::string::npos, svg.Out.find("Seat 2 (BB) calls seat 1 (BTN)'s shove"));
    EXPECT_NE(std::string::npos, svg.Out.find(">72o</text>"));

    const CommandRun table = RunCommand("nash" + HeadsUp);
    const CommandRun always = RunCommand("nash" + HeadsUp + " --color always");
    EXPECT_EQ(std::string::npos, table.Out.find('\x1b'));
    EXPECT_NE(std::string::npos, always.Out.find("\x1b["));
    EXPECT_NE(std::string::npos, table.Out.find("Seat 1 (BTN) shoves first in: "));
    EXPECT_NE(std::string::npos, table.Out.find("Exploitability "));
    EXPECT_NE(std::string::npos, table.Out.find("Hand by hand: following these ranges costs a hand at most "));
}

// Each class's values of playing and folding at each decision: folding is
// worth what the player keeps, the same for every class that gets there,
// and the margin grid shows their difference in % of the chips.
TEST(NashCommand, ValuesOfPlayAndFoldByClass)
{
    const json answer = json::parse(RunCommand("nash" + HeadsUp + " --format json").Out, nullptr, false);
    ASSERT_TRUE(answer.is_object());
    // Chip EV heads-up, 1000 each, blinds 50/100: the button folds to 950,
    // the big blind folds a shove to 900; the button always gets to act.
    const double folds[2] = {950.0, 900.0};
    for (size_t i = 0; i < 2; ++i)
    {
        const json &d = answer["decisions"][i];
        ASSERT_EQ(169u, d["ev_play"].size());
        ASSERT_EQ(169u, d["ev_fold"].size());
        for (const auto &item : d["ev_fold"].items())
            EXPECT_NEAR(folds[i], item.value().get<double>(), 1e-9) << item.key();
        EXPECT_GT(d["reached"].get<double>(), 0.0);
        EXPECT_LE(d["reached"].get<double>(), 1.0 + 1e-12);
        // Aces gain most by playing: 169 classes, none above them.
        const double aces = d["ev_play"]["AA"].get<double>();
        for (const auto &item : d["ev_play"].items())
            EXPECT_LE(item.value().get<double>(), aces) << item.key();
    }
    EXPECT_NEAR(1.0, answer["decisions"][0]["reached"].get<double>(), 1e-12);
    const CommandRun margin = RunCommand("nash" + HeadsUp + " --show margin");
    ASSERT_EQ(0, margin.Status) << margin.Err;
    const json &shove = answer["decisions"][0];
    char aces[32];
    std::snprintf(aces, sizeof aces, "\n  A %+6.2f ",
                  (shove["ev_play"]["AA"].get<double>() - 950.0) / 2000.0 * 100.0);
    EXPECT_NE(std::string::npos, margin.Out.find(aces)) << aces << "\n" << margin.Out;
    EXPECT_NE(std::string::npos, margin.Out.find("Each grid: the margin of playing the hand over folding it, in % of the chips"));
    ExpectRefused("nash" + HeadsUp + " --show edge", "--show: \"edge\" is not one of frequency or margin");
}

// The CSV holds the JSON's numbers, a row per decision and class, each read
// back to the same double; a class never reached has empty values.
TEST(NashCommand, CsvRowsAreTheJsons)
{
    for (const std::string &table : {HeadsUp, Three})
    {
        SCOPED_TRACE(table);
        const json answer = json::parse(RunCommand("nash" + table + " --format json").Out, nullptr, false);
        ASSERT_TRUE(answer.is_object());
        const CommandRun csv = RunCommand("nash" + table + " --format csv");
        ASSERT_EQ(0, csv.Status) << csv.Err;
        std::vector<std::vector<std::string>> rows;
        size_t start = 0;
        for (size_t end; (end = csv.Out.find('\n', start)) != std::string::npos; start = end + 1)
        {
            std::vector<std::string> cells(1);
            for (char ch : csv.Out.substr(start, end - start))
                if (ch == ',')
                    cells.emplace_back();
                else
                    cells.back().push_back(ch);
            rows.push_back(cells);
        }
        ASSERT_EQ(rows.size(), 1 + 169 * answer["decisions"].size());
        EXPECT_EQ(rows[0], (std::vector<std::string>{"seat", "position", "action", "shover", "caller", "hand",
                                                     "frequency", "ev_play", "ev_fold", "margin"}));
        for (size_t r = 1; r < rows.size(); ++r)
        {
            const std::vector<std::string> &row = rows[r];
            ASSERT_EQ(row.size(), 10u) << r;
            const json &d = answer["decisions"][(r - 1) / 169];
            const std::string &hand = row[5];
            EXPECT_EQ(row[0], std::to_string(d["seat"].get<int>()));
            EXPECT_EQ(row[1], d["position"].get<std::string>());
            EXPECT_EQ(row[2], d["action"].get<std::string>());
            EXPECT_EQ(row[3], d["versus"].size() > 0 ? std::to_string(d["versus"][0].get<int>()) : "");
            EXPECT_EQ(std::stod(row[6]), d["frequencies"][hand].get<double>()) << hand;
            if (d["ev_play"][hand].is_number())
            {
                EXPECT_EQ(std::stod(row[7]), d["ev_play"][hand].get<double>()) << hand;
                EXPECT_EQ(std::stod(row[8]), d["ev_fold"][hand].get<double>()) << hand;
                EXPECT_EQ(std::stod(row[9]), d["ev_play"][hand].get<double>() - d["ev_fold"][hand].get<double>());
            }
            else
                EXPECT_EQ(row[7] + row[8] + row[9], "") << hand;
        }
    }
}

// Stacks typed in big blinds are the same table in chips: the same bytes,
// and the table shows each stack in both.
TEST(NashCommand, StacksInBigBlinds)
{
    const std::string file = TemporaryFile("nash-bb.txt", "# big blinds\n20\n7.5\n");
    const std::string chips = "nash --stacks 2000,750 --prizes 50,30 --button 1 --blinds 50,100 --format json";
    const std::string inBb = "nash --prizes 50,30 --button 1 --blinds 50,100 --format json";
    for (const std::string &typed : {inBb + " --stacks 20bb,7.5bb", inBb + " --stacks 20BB,7.5BB",
                                     inBb + " --stacks 20,7.5 --in-bb", inBb + " --stacks-file \"" + file + "\" --in-bb"})
    {
        const CommandRun run = RunCommand(typed);
        EXPECT_EQ(0, run.Status) << typed << "\n" << run.Err;
        EXPECT_EQ(RunCommand(chips).Out, run.Out) << typed;
    }
    const CommandRun table = RunCommand("nash --stacks 20bb,7.5bb --prizes 50,30 --button 1 --blinds 50,100");
    EXPECT_NE(std::string::npos, table.Out.find("Seat  Pos  Stack     bb  $EV before  $EV at equilibrium\n"
                                                "   1  BTN   2000   20.0 "));
    EXPECT_NE(std::string::npos, table.Out.find("\n   2   BB    750    7.5 "));
    const std::string rest = " --prizes 50,30 --button 1 --blinds 50,100";
    ExpectRefused("nash --stacks 20bb,750" + rest, "--stacks 20bb,750: give every stack in big blinds (15bb,22bb) or none");
    ExpectRefused("nash --stacks 20bb,7.555bb" + rest,
                  "--stacks: stack 2: 7.555 big blinds of 100 chips is not a whole number of chips");
    ExpectRefused("nash --stacks 20,7.5" + rest, "stacks in big blinds are written 24.5bb, or give --in-bb");
    std::remove(file.c_str());
}

TEST(NashCommand, DrawsAndSeedChangeOnlyTheThreeWayDraws)
{
    // Heads-up nothing is drawn: any seed and count give the same bytes;
    // three-handed another seed draws other showdowns, the same seed the
    // same ones.
    const std::string asJson = " --format json --threads 1";
    EXPECT_EQ(RunCommand("nash" + HeadsUp + asJson).Out,
              RunCommand("nash" + HeadsUp + asJson + " --seed 7 --draws 5").Out);
    const CommandRun first = RunCommand("nash" + Three + asJson + " --draws 300 --seed 3");
    const CommandRun again = RunCommand("nash" + Three + asJson + " --draws 300 --seed 3");
    const CommandRun other = RunCommand("nash" + Three + asJson + " --draws 300 --seed 4");
    ASSERT_EQ(0, first.Status) << first.Err;
    EXPECT_EQ(first.Out, again.Out);
    EXPECT_NE(first.Out, other.Out);
    EXPECT_NE(first.Out, RunCommand("nash" + Three + asJson).Out);
}

TEST(NashCommand, ConvergesAtFourAndFiveSeats)
{
    // Tables where a player who covers a shove and a call can overcall:
    // chip EV and winner-take-all converge, with no warning.
    const char *const tables[] = {
        " --stacks 800,4000,2500,1200 --chip-ev --button 1 --blinds 200,400 --ante 50",
        " --stacks 2000,2000,2000,2000,2000 --prizes 100 --button 1 --blinds 100,200",
        " --stacks 1200,2400,3600,4800,6000 --prizes 100 --button 1 --blinds 50,100",
    };
    for (const char *table : tables)
    {
        SCOPED_TRACE(table);
        const CommandRun run = RunCommand(std::string("nash") + table + " --format json --threads 2");
        ASSERT_EQ(0, run.Status) << run.Err;
        EXPECT_EQ("", run.Err);
        const json answer = json::parse(run.Out, nullptr, false);
        ASSERT_TRUE(answer.is_object());
        EXPECT_LT(answer["iterations"].get<int>(), 100);
    }
}

TEST(NashCommand, WarnsWhenTheIterationsRunOut)
{
    const CommandRun run = RunCommand("nash" + Three + " --max-iterations 1 --tolerance 0.000001 --format json");
    EXPECT_EQ(0, run.Status);
    EXPECT_EQ(0u, run.Err.find("ostrel-icm: warning: stopped after 1 iterations")) << run.Err;
    const json answer = json::parse(run.Out, nullptr, false);
    ASSERT_TRUE(answer.is_object());
    EXPECT_EQ(1, answer["iterations"]);
    EXPECT_GT(answer["exploitability"].get<double>(), 0.000001);
}

TEST(NashCommand, SpotTakesTheEquilibriumsRanges)
{
    // The big blind facing the small blind's shove (the button folded): the
    // spot with --ranges nash is the spot given the equilibrium's shoving
    // range, and its best response is the equilibrium's calling range up to
    // the hands the tolerance leaves nearly indifferent.
    const std::string table = " --stacks 5000,3000,2000 --chip-ev --button 1 --blinds 100,200 --ante 25";
    const json nash = json::parse(RunCommand("nash" + table + " --format json").Out, nullptr, false);
    ASSERT_TRUE(nash.is_object());
    std::string shove;
    double calls = -1.0;
    json frequencies;
    for (const json &d : nash["decisions"])
    {
        if (d["seat"] == 2 && d["action"] == "shove")
            shove = d["range"].get<std::string>();
        if (d["seat"] == 3 && d["action"] == "call" && d["versus"] == json::array({2}))
        {
            calls = d["share"].get<double>();
            frequencies = d["frequencies"];
        }
    }
    ASSERT_FALSE(shove.empty());
    const std::string spot = "spot" + table + " --hero 3 --action call --shover 2 --format json";
    const CommandRun byNash = RunCommand(spot + " --ranges nash");
    const CommandRun given = RunCommand(spot + " --range \"2=" + shove + "\"");
    ASSERT_EQ(0, byNash.Status) << byNash.Err;
    EXPECT_EQ(given.Out, byNash.Out);
    const json answer = json::parse(byNash.Out, nullptr, false);
    EXPECT_NEAR(calls, answer["range_share"].get<double>(), 0.05);
    // Every hand a quarter of a big blind or more from indifferent is played
    // as the equilibrium plays it.
    for (const json &hand : answer["hands"])
    {
        const double difference = hand["difference"].get<double>();
        if (std::fabs(difference) < 50.0)
            continue;
        EXPECT_EQ(difference > 0.0, frequencies[hand["hand"].get<std::string>()].get<double>() > 0.5)
            << hand["hand"] << " " << difference;
    }
}

TEST(NashCommand, BadInputIsOneLine)
{
    struct Row
    {
        std::string Arguments;
        const char *Says;
    };
    const Row rows[] = {
        {"nash --stacks 2000,1500 --prizes 50,30 --blinds 50,100", "--button"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1", "--blinds"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 3 --blinds 50,100", "--button 3: the table has 2 seats"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100.5", "--blinds 50,100.5"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --ante 2.5", "--ante 2.5"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --ante 5 --bb-ante 5", "--bb-ante"},
        {"nash --stacks 2000,1500 --prizes 50,30 --chip-ev --button 1 --blinds 50,100", "--chip-ev"},
        {"nash --stacks 2000,1500 --prizes 50,-30 --button 1 --blinds 50,100", "--prizes"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --tolerance 0", "--tolerance"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --tolerance -1", "--tolerance"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --max-iterations 0", "--max-iterations"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --threads 0", "--threads"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --format xml", "--format"},
        {"nash --stacks 2000,40,60,1500 --prizes 50,30 --button 1 --blinds 50,100",
         "seats 2 and 3 are both all in from the blinds or the ante"},
        {"nash --stacks 2000 --prizes 50,30 --button 1 --blinds 50,100", "two"},
        {"nash --stacks 1,2,3,4,5,6,7,8,9,10,11 --prizes 100 --button 1 --blinds 1,2",
         "nash takes tables of at most 10 players, not 11"},
        // Judged before the run: hours of draws are refused with what fits.
        {"nash --stacks 900,800,700,600,500,400,300,200,150,100 --prizes 50,30,20 --button 1 --blinds 10,20 "
         "--draws 1000000 --threads 1",
         "on 10 players with --draws 1000000, over the limit of 10 minutes; --draws "},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --draws 0",
         "--draws 0: not a number of showdowns from 1 to 1000000"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --seed -1", "--seed -1"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --seed x", "--seed x: not a whole number"},
        {"spot --stacks 2000,40,60,1500 --prizes 50,30 --button 1 --blinds 50,100 --hero 1 --ranges nash",
         "seats 2 and 3 are both all in"},
        {"spot --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --hero 1 --ranges icm", "--ranges"},
        // Nash's own options in its words.
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --format xml",
         "--format: \"xml\" is not one of table, csv, json or svg"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --color sometimes",
         "--color: \"sometimes\" is not one of auto, always or never"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --max-iterations 1.5",
         "--max-iterations 1.5: not a whole number"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --max-iterations 1000000001",
         "--max-iterations 1000000001: not a number of iterations from 1 to 1000000000"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --max-iterations many",
         "--max-iterations many: not a whole number"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --threads 257",
         "--threads 257: not a thread count from 1 to 256"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --tolerance small",
         "--tolerance small: give a number above 0"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --tolerance 1e-400",
         "--tolerance 1e-400: give a number above 0"},
        // Chips at the table are whole: decimals are refused, never scaled.
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100.5",
         "--blinds 50,100.5: chips at the table are whole"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 0.5,1", "--blinds 0.5,1: chips"},
        {"nash --stacks 20.5,15 --prizes 50,30 --button 1 --blinds 1,2", "whole chips"},
        {"nash --stacks 2000,1500 --prizes 50,30,20 --others 1000.5 --button 1 --blinds 50,100",
         "--others: chips at the table are whole"},
    };
    for (const Row &row : rows)
        ExpectRefused(row.Arguments, row.Says);
}

TEST(NashCommand, JudgesTheTableAsSpotDoes)
{
    // One reader for both commands: each bad table gets the same words.
    const char *const tables[] = {
        " --stacks 2000,1500 --prizes 50,30 --blinds 50,100",
        " --stacks 2000,1500 --prizes 50,30 --button 1",
        " --stacks 2000,1500 --prizes 50,30 --button 0 --blinds 50,100",
        " --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50",
        " --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100.5",
        " --stacks 2000,1500.5 --prizes 50,30 --button 1 --blinds 50,100",
        " --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --ante 1.5",
        " --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --bb-ante x",
        " --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --ante 5 --bb-ante 5",
        " --stacks 2000,1500 --prizes 50,30 --others 1k --others-file x --button 1 --blinds 50,100",
        " --stacks 2000,1500 --prizes 50,30 --others-file no-such-file --button 1 --blinds 50,100",
        " --stacks 2000,1500 --prizes 50,30 --chip-ev --button 1 --blinds 50,100",
    };
    for (const char *table : tables)
    {
        SCOPED_TRACE(table);
        const CommandRun nash = RunCommand(std::string("nash") + table);
        const CommandRun spot = RunCommand(std::string("spot") + table + " --hero 2");
        EXPECT_EQ(2, nash.Status);
        EXPECT_EQ(0u, nash.Err.find("ostrel-icm: error: ")) << nash.Err;
        EXPECT_EQ(spot.Err, nash.Err);
        EXPECT_EQ("", nash.Out + spot.Out);
    }
}

} // namespace
