// ostrel-icm as people type it: every refusal in the command's own words,
// nothing typed silently misread, output fit to copy. Each row is a command
// line with its exit status, the line it must write on standard error and
// what standard output must hold.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "command_support.h"

namespace
{

using nlohmann::json;

std::string Repeated(const std::string &item, int count)
{
    std::string list;
    for (int i = 0; i < count; ++i)
        list += (i == 0 ? "" : ",") + item;
    return list;
}

struct Row
{
    std::string Arguments;
    int Status;
    std::string Err; // the one line on standard error ("" for none), without its end
    std::string Out; // a text standard output holds ("" for nothing when the status is 2)
};

// Standard error as lines ending in LF: Windows writes it in text mode.
CommandRun RunLines(const std::string &arguments)
{
    CommandRun run = RunCommand(arguments);
    for (size_t at = run.Err.find("\r\n"); at != std::string::npos; at = run.Err.find("\r\n", at))
        run.Err.erase(at, 1);
    return run;
}

// A shell word holding `text`: sh reads '$' in double quotes, cmd takes
// single quotes as they are.
std::string Word(const std::string &text)
{
#ifdef _WIN32
    return "\"" + text + "\"";
#else
    return "'" + text + "'";
#endif
}

void CheckRows(const std::vector<Row> &rows)
{
    for (const Row &row : rows)
    {
        const CommandRun run = RunLines(row.Arguments);
        SCOPED_TRACE(row.Arguments + "\nstderr: " + run.Err + "stdout: " + run.Out);
        EXPECT_EQ(row.Status, run.Status);
        EXPECT_EQ(row.Err.empty() ? "" : row.Err + "\n", run.Err);
        if (row.Status == 2)
        {
            EXPECT_EQ("", run.Out);
        }
        else
        {
            EXPECT_NE(std::string::npos, run.Out.find(row.Out));
        }
    }
}

const std::string E = "ostrel-icm: error: ";
const std::string W = "ostrel-icm: warning: ";

TEST(Typing, ListsAreNeverMisread)
{
    const std::string tab = TemporaryFile("tab.txt", "5000\n50\t00\n");
    const std::string bom = TemporaryFile("byte.txt", "5000\n7\xEF\n");
    const std::string tiny = "0." + std::string(330, '0') + "1";
    CheckRows({
        {"equity --stacks 2,450,000,1,875,000 --prizes 5,3", 2,
         E + "--stacks: stack 3: \"000\" starts with a zero: lists are separated by commas and numbers carry "
             "no "
             "thousands separators (2450000, not 2,450,000)",
         ""},
        {"equity --stacks 5,3 --prizes 7,050.00", 2,
         E + "--prizes: prize 2: \"050.00\" starts with a zero: lists are separated by commas and numbers "
             "carry no "
             "thousands separators (2450000, not 2,450,000)",
         ""},
        {"equity --stacks 0,0.5,5 --prizes 0,0.5", 0,
         W + "the prizes rise from place 1 (0) to place 2 (0.5); "
             "computed in the order given, place 1 first",
         "2 players, 2 places paid"},
        {"equity --stacks 1,2 --prizes " + Word("$7500"), 2,
         E + "--prizes: prize 1: \"$7500\" is not an amount: write it without a currency sign (7500)", ""},
        {"equity --stacks 1,2 --prizes 25%", 2,
         E + "--prizes: prize 1: \"25%\" is a percentage: give the prize pool with --pool AMOUNT to pay in "
             "percent "
             "of it",
         ""},
        {"equity --stacks 1,2 --prizes 1e3", 2,
         E + "--prizes: prize 1: \"1e3\" is not an amount (digits, optionally with a decimal point: 7500 or "
             "7500.50)",
         ""},
        {"equity --stacks 1,2 --prizes " + tiny, 2,
         E + "--prizes: prize 1: \"0.00000000000000000000000000000000000000...\" is too small an amount to "
             "compute "
             "with (the smallest is about 2.2e-308)",
         ""},
        {"equity --stacks 1,2 --prizes 1" + std::string(320, '0'), 2,
         E + "--prizes: prize 1: \"1000000000000000000000000000000000000000...\" is too large an amount", ""},
        {"equity --stacks 1,2 --prizes 50,50% --pool 100", 2,
         E + "--prizes: prize 1: \"50\" is not a percentage: with --pool every prize is a percentage of the "
             "pool "
             "(25%)",
         ""},
        {"equity --stacks 1,2 --prizes 60%,50% --pool 100", 2,
         E + "--prizes: prize 2: the percentages come to more than 100 % by this one", ""},
        {"equity --stacks 1,2 --prizes 50%,50% --pool " + Word("$100"), 2,
         E + "--pool: \"$100\" is not an amount: write it without a currency sign (100)", ""},
        {"equity --stacks 1,2 --pos x.pos --pool 100", 2,
         E + "--pool goes with percentages in --prizes or --prizes-file", ""},
        {"equity --stacks 1,2.45M,0.0000000000000001 --prizes 1", 2,
         E + "--stacks: stack 1: \"1\" is more than 10^15 units of \"0.0000000000000001\", the finest stack: "
             "give the stacks with fewer decimals",
         ""},
        {"equity --stacks 1,2x --prizes 1", 2,
         E + "--stacks: stack 2: \"2x\" is not a whole number of chips, a decimal (24.5) or a count with k "
             "or M "
             "(2.45M)",
         ""},
        {"equity --stacks-file \"" + tab + "\" --prizes 1", 2,
         E + "--stacks-file " + tab +
             ": line 2: \"50\\t00\" is not a whole number of chips, a decimal (24.5) or a count with k or M "
             "(2.45M)",
         ""},
        {"equity --stacks-file \"" + bom + "\" --prizes 1", 2,
         E + "--stacks-file " + bom +
             ": line 2: \"7\\xEF\" is not a whole number of chips, a decimal (24.5) or a count with k or M "
             "(2.45M)",
         ""},
    });
    for (const std::string &path : {tab, bom})
        std::remove(path.c_str());
}

TEST(Typing, ParserMessagesInTheCommandsVoice)
{
    CheckRows({
        {"equity --stacks 5,3,2 --prizes 50 30 20", 2,
         E + "unexpected \"30\" and \"20\" after --prizes 50: separate the values with commas, without "
             "spaces "
             "(--prizes 50,30,20)",
         ""},
        // A space after each comma: the line suggested is the one meant.
        {"equity --prizes 50,30,20 --stacks 5000, 3000, 2000", 2,
         E + "unexpected \"3000,\" and \"2000\" after --stacks 5000,: separate the values with commas, without "
             "spaces (--stacks 5000,3000,2000)",
         ""},
        {"equity --stack 5,3 --prizes 1", 2,
         E + "unknown option \"--stack\" for equity: did you mean --stacks?", ""},
        {"equity --stacks 5,3 --prizes 1 --seat 1", 2,
         E + "unknown option \"--seat\" for equity: --seat is an option of bubble", ""},
        {"equity --stacks 5,3 --prizes 1 --prizes 2", 2,
         E + "--prizes is given twice (\"1\" and \"2\"): give each option once", ""},
        {"equity --stacks 5,3 --prizes", 2,
         E + "--prizes needs a value: prize of each place from 1st, comma-separated", ""},
        {"equity --stacks 5,3 --prizes 1 --time=yes", 2, E + "--time takes no value", ""},
        {"equity --stacks 5,3 --prizes 1 --format xml", 2,
         E + "--format: \"xml\" is not one of table, csv or json", ""},
        {"equity --stacks 5,3 --prizes 1 --method quadratur", 2,
         E + "--method: \"quadratur\" is not one of auto, plain, subsets or quadrature (did you mean "
             "quadrature?)",
         ""},
        {"deal --stacks 5,3 --prizes 1 --split chips", 2,
         E + "--split: \"chips\" is not one of icm, chip or even (did you mean chip?)", ""},
        {"equty --stacks 5,3", 2, E + "unknown command \"equty\" (did you mean equity?)", ""},
        {"--stacks 5,3", 2,
         E + "give a command before the options: ostrel-icm equity, finish, deal, bubble, allin, spot or nash, then "
             "--stacks",
         ""},
        {"help nothing", 2, E + "unknown command \"nothing\" (commands: equity, finish, deal, bubble, allin, spot, nash)", ""},
        {"allin AA KK --format xml", 2, E + "--format: \"xml\" is not one of table, csv or json", ""},
        {"allin AA KK --samples 1e5", 2,
         E + "--samples 1e5: not a whole number (a number of showdowns from 1 to 10000000000)", ""},
        {"allin AA KK --seed 3", 2, E + "--seed goes with --samples N", ""},
        {"allin AA KK --exact --samples 5", 2,
         E + "--exact enumerates every board and --samples draws some: give one of them", ""},
        {"spot --stacks 100,200 --blinds 1,2 --button 1 --hero 1 --color red", 2,
         E + "--color: \"red\" is not one of auto, always or never", ""},
        {"spot --stacks 100,200 --blinds 1,2 --button 1", 2, E + "no hero: give --hero SEAT, the seat deciding", ""},
        {"spot --stacks 100.5,200 --prizes 1 --blinds 1,2 --button 1 --hero 1", 2,
         E + "the stacks at the table are whole chips (blinds and antes are counted in them), not decimals; "
             "stacks in big blinds are written 24.5bb, or give --in-bb",
         ""},
        {"spot --stacks 100,200 --prizes 1 --blinds 1,2.5 --button 1 --hero 1", 2,
         E + "--blinds 1,2.5: chips at the table are whole (blinds and antes are counted in them), not decimals",
         ""},
        // The equilibrium a spot takes its ranges from is nash's, with nash's limits.
        {"spot --stacks 1000,1000,1000,1000,1000,1000,1000,1000,1000,1000,1000 --prizes 50,30,20 --button 1 "
         "--blinds 10,20 --hero 4 --ranges nash",
         2,
         E + "--ranges nash: nash takes tables of at most 10 players, not 11: its work grows with the fourth power "
             "of the players",
         ""},
    });
}

TEST(Typing, NumbersForCountsNameTheTextAsTyped)
{
    const std::string huge = "99999999999999999999";
    CheckRows({
        {"bubble --stacks 5,4,3 --prizes 5,3 --seat " + huge, 2,
         E + "--seat " + huge + ": not a seat number from 1 to 3", ""},
        {"bubble --players " + huge + " --chips 10 --prizes 1", 2,
         E + "--players " + huge + ": not a number of players up to 9007199254740992", ""},
        {"bubble --players 10 --chips " + huge + " --prizes 1", 2,
         E + "--chips " + huge + ": not a number of chips up to 9007199254740992", ""},
        {"equity --stacks 5,3 --prizes 1 --threads " + huge, 2,
         E + "--threads " + huge + ": not a thread count from 1 to 256", ""},
        {"equity --stacks 5,3 --prizes 1 --threads 2.5", 2,
         E + "--threads 2.5: not a whole number (a thread count from 1 to 256)", ""},
        {"finish --stacks 5,3 --prizes 1 --places " + huge, 2,
         E + "--places " + huge + ": not a number of places from 1 to 1000000", ""},
    });
}

// Where the order of the prizes looks wrong, every command still answers
// and says so once.
TEST(Typing, RisingLadderIsComputedAsGivenWithOneWarning)
{
    const std::string line =
        W + "the prizes rise from place 2 (500) to place 3 (5000); computed in the order given, "
            "place 1 first";
    CheckRows({
        {"equity --stacks 5,3,2 --prizes 700,500,5000", 0, line, "Prize pool: 6200.00"},
        {"finish --stacks 5,3,2 --prizes 700,500,5000", 0, line, "3rd"},
        {"deal --stacks 5,3,2 --prizes 700,500,5000", 0, line, "dealt: 6200.00"},
        {"bubble --stacks 5,3,2 --prizes 700,500,5000", 0, line, "Bubble factor"},
        {"bubble --players 5 --chips 10 --prizes 700,500,5000", 0, line, "Bubble factor"},
        {"equity --stacks 5,3,2 --prizes 5000,700,500", 0, "", "Prize pool: 6200.00"},
    });
}

TEST(Typing, OutputFitToCopy)
{
    CheckRows({
        {"equity --stacks " + Repeated("1000", 9) + " --prizes 8,7,6,5,4,3,2,1", 0, "",
         "Prize pool: 36.00\n9 players, 8 places paid\nMethod: plain recursion\n"},
        {"equity --stacks 1,1 --prizes 0.123456789", 0, "", "Prize pool: 0.123456789\n"},
        {"equity --stacks 5,3 --prizes 1 --format csv", 0, "", "seat,stack,chip_share"},
        {"deal --stacks 7,7,7 --prizes 0.7,0.2,0.1 --split chip", 0, "",
         "0.33        0.33  0.33        0.00\n"},
        {"bubble --players 10 --chips 1500 --prizes 50,30,20", 0, "",
         " $EV with one stack  10.0000\n$EV with two stacks  18.4444\n      Bubble factor   1.1842\n"},
    });
    // No table carries a time, no default output a "-0.00"; --time writes it on standard error.
    const CommandRun timed = RunLines("equity --stacks 5,3 --prizes 1 --time");
    EXPECT_EQ(0, timed.Status);
    EXPECT_EQ(std::string::npos, timed.Out.find(" ms"));
    EXPECT_EQ(0u, timed.Err.find("ostrel-icm: time: "));
    EXPECT_EQ(timed.Err.size() - 4, timed.Err.find(" ms\n"));
    EXPECT_EQ(timed.Out, RunCommand("equity --stacks 5,3 --prizes 1").Out);
}

// Small chances keep significant digits: each cell reads back to within
// 5 % of the probability the JSON gives, and none shows a non-zero chance as
// zeros.
TEST(Typing, FinishCellsShowTheirDigits)
{
    const std::string field = "finish --stacks 1,1000000,300,2 --prizes 5,3";
    const json chances = json::parse(RunCommand(field + " --format json").Out, nullptr, false);
    const std::string table = RunCommand(field).Out;
    ASSERT_TRUE(chances.is_object());
    std::istringstream lines(table);
    std::string line;
    std::getline(lines, line);
    for (const json &player : chances["players"])
    {
        ASSERT_TRUE(std::getline(lines, line));
        std::istringstream cells(line);
        std::string seat, stack;
        cells >> seat >> stack;
        for (const json &chance : player["places"])
        {
            std::string cell;
            cells >> cell;
            ASSERT_EQ('%', cell.back()) << line;
            const double shown = std::stod(cell) / 100.0;
            EXPECT_NEAR(chance.get<double>(), shown, 0.05 * chance.get<double>()) << line;
            EXPECT_TRUE(shown > 0.0) << line;
        }
    }
}

// A table cut short of the paid places is the full table's first columns.
TEST(Typing, FinishPlacesCutShortAgreeWithTheWholeTable)
{
    const std::string field = "finish --stacks " + Repeated("1000", 40) + ",500,2500,7000,120,9999 --prizes " +
                              Repeated("1", 30) + " --method quadrature --format json";
    const json whole = json::parse(RunCommand(field).Out, nullptr, false);
    const json cut = json::parse(RunCommand(field + " --places 3").Out, nullptr, false);
    ASSERT_TRUE(whole.is_object() && cut.is_object());
    ASSERT_EQ(whole["players"].size(), cut["players"].size());
    for (size_t seat = 0; seat < whole["players"].size(); ++seat)
    {
        const json &places = cut["players"][seat]["places"];
        ASSERT_EQ(3u, places.size());
        for (size_t place = 0; place < 3; ++place)
        {
            const double expected = whole["players"][seat]["places"][place].get<double>();
            EXPECT_NEAR(expected, places[place].get<double>(), 1e-10 * expected) << seat << " " << place;
        }
    }
}

// Different ways of typing one field give one answer.
TEST(Typing, EquivalentInputs)
{
    const std::string prizesFile = TemporaryFile("prizes.txt", "# the ladder\n250, 150 # top two\n\n100\n");
    const std::string percentFile = TemporaryFile("percent.txt", "25%\n15%,10%\n");
    // A file name beyond ASCII is UTF-8 on the command line, on Windows too.
    const std::string accented = TemporaryFile("pr\xC3\xA9mios.txt", "250\n150\n100\n");
    const std::string seats = TemporaryFile("seats.txt", "3,2000\n1,5000\n");
    const std::string names = TemporaryFile("names.txt", "Anna,5000\n Bob , 3000\nZo\xC3\xAB,2000\n");
    const std::string csv = " --format csv";
    const struct
    {
        std::string Typed, Plain;
    } rows[] = {
        {"equity --stacks 2.45M,1875k,0 --prizes 5,3", "equity --stacks 2450000,1875000,0 --prizes 5,3"},
        {"equity --stacks 5,3,2 --pool 1000 --prizes 25%,15%,10%",
         "equity --stacks 5,3,2 --prizes 250,150,100"},
        {"equity --stacks 5,3,2 --pool 1000 --prizes-file \"" + percentFile + "\"",
         "equity --stacks 5,3,2 --prizes 250,150,100"},
        {"equity --stacks 5,3,2 --prizes-file \"" + accented + "\"", "equity --stacks 5,3,2 --prizes 250,150,100"},
        {"finish --stacks 5,3,2 --prizes-file \"" + prizesFile + "\"" + csv,
         "finish --stacks 5,3,2 --prizes 250,150,100" + csv},
        {"equity --stacks 5,3,2 --prizes-file - < \"" + prizesFile + "\"",
         "equity --stacks 5,3,2 --prizes 250,150,100"},
        {"equity --stacks-file \"" + seats + "\" --prizes 5,3" + csv,
         "equity --stacks 5000,0,2000 --prizes 5,3" + csv},
        {"deal --pool 0.3 --prizes 50%,30%,20% --stacks 1,1,1 --format json",
         "deal --prizes 0.15,0.09,0.06 --stacks 1,1,1 --format json"},
        // A rounded deal decides on the pool's shares, not on the typed "50%".
        {"deal --stacks 5000,3000,2000 --pool 100 --prizes 50%,30%,20% --round 1",
         "deal --stacks 5000,3000,2000 --prizes 50,30,20 --round 1"},
        {"deal --stacks 5000,3000,2000 --pool 1234.5 --prizes 50%,30%,20% --round 0.05 --format csv",
         "deal --stacks 5000,3000,2000 --prizes 617.25,370.35,246.9 --round 0.05 --format csv"},
    };
    for (const auto &row : rows)
    {
        const CommandRun typed = RunCommand(row.Typed);
        SCOPED_TRACE(row.Typed + "\n" + typed.Err);
        EXPECT_EQ(0, typed.Status);
        EXPECT_EQ(RunCommand(row.Plain).Out, typed.Out);
    }
    // Decimal stacks are counted in tenths: the same field as whole counts,
    // shown as typed, by a method named as ever.
    const json decimal =
        json::parse(RunCommand("equity --stacks 24.5,30,10 --prizes 5,3 --format json").Out, nullptr, false);
    const json whole =
        json::parse(RunCommand("equity --stacks 245,300,100 --prizes 5,3 --method subsets --format json").Out,
                    nullptr, false);
    ASSERT_TRUE(decimal.is_object() && whole.is_object());
    EXPECT_EQ("subsets", decimal["method"]);
    EXPECT_EQ(24.5, decimal["players"][0]["stack"].get<double>());
    for (size_t seat = 0; seat < 3; ++seat)
        EXPECT_EQ(whole["players"][seat]["equity"], decimal["players"][seat]["equity"]);
    // Names ride along in every format and change no number.
    const std::string plain = "--stacks 5000,3000,2000 --prizes 50,30,20";
    const std::string named = "--stacks-file \"" + names + "\" --prizes 50,30,20";
    const json withNames = json::parse(RunCommand("equity " + named + " --format json").Out, nullptr, false);
    const json without = json::parse(RunCommand("equity " + plain + " --format json").Out, nullptr, false);
    ASSERT_TRUE(withNames.is_object() && without.is_object());
    const char *expected[] = {"Anna", "Bob", "Zo\xC3\xAB"};
    for (size_t seat = 0; seat < 3; ++seat)
    {
        EXPECT_EQ(expected[seat], withNames["players"][seat]["name"]);
        EXPECT_EQ(without["players"][seat]["equity"], withNames["players"][seat]["equity"]);
    }
    for (const std::string command : {"equity ", "finish ", "deal ", "bubble "})
        for (const std::string format : {" --format table", " --format csv", " --format json"})
        {
            const std::string out = RunCommand(command + named + format).Out;
            for (const char *name : expected)
                EXPECT_NE(std::string::npos, out.find(name)) << command << format << "\n" << out;
            if (format == " --format json")
            {
                EXPECT_FALSE(json::parse(out, nullptr, false).is_discarded()) << out;
            }
        }
    for (const std::string &path : {prizesFile, percentFile, seats, names})
        std::remove(path.c_str());
}

TEST(Typing, StacksFileForms)
{
    const std::string mixed = TemporaryFile("mixed.txt", "Anna,5000\n2,3000\n");
    const std::string twice = TemporaryFile("twice.txt", "1,5000\n1,3000\n");
    const std::string control = TemporaryFile("control.txt", "A\x01,5000\nB,3000\n");
    CheckRows({
        {"equity --stacks-file \"" + mixed + "\" --prizes 1", 2,
         E + "--stacks-file " + mixed +
             ": line 2: a seat,stack line among name,stack lines; every line of the file takes the same form",
         ""},
        {"equity --stacks-file \"" + twice + "\" --prizes 1", 2,
         E + "--stacks-file " + twice + ": line 2: seat 1 is given twice (also on line 1)", ""},
        {"equity --stacks-file \"" + control + "\" --prizes 1", 2,
         E + "--stacks-file " + control +
             ": line 1: the name \"A\\x01\" holds a control character, a quote or bytes that are not UTF-8",
         ""},
    });
    for (const std::string &path : {mixed, twice, control})
        std::remove(path.c_str());
}

// Names typed after --stacks are a stacks file's names: every command that
// takes the stacks answers the same bytes, in every format, whichever way
// the names came.
TEST(Typing, NamesTypedAreAStacksFilesNames)
{
    const struct
    {
        std::string Stacks, Names, File;
    } fields[] = {
        {"5000,3000,2000", "Anna,Bob,Cy", "Anna,5000\nBob,3000\nCy,2000\n"},
        {"5000,3000,2000", "Anna,Bob,Zo\xC3\xAB", "Anna,5000\nBob,3000\nZo\xC3\xAB,2000\n"},
        // Blanks around a name are left out as a file leaves them out; those
        // inside it stay, and an empty seat is named too.
        {"4000,1500,2500,0", Word(" Anna Lee ,Bob,C. Arc-Dee,Dee "),
         "Anna Lee,4000\n Bob ,1500\nC. Arc-Dee,2500\nDee,0\n"},
    };
    const struct
    {
        std::string Command;
        std::vector<std::string> Formats;
    } commands[] = {
        {"equity --prizes 50,30,20", {"table", "csv", "json"}},
        {"finish --prizes 50,30,20", {"table", "csv", "json"}},
        {"deal --prizes 50,30,20 --round 1", {"table", "csv", "json"}},
        {"bubble --prizes 50,30,20", {"table", "csv", "json"}},
        {"bubble --prizes 50,30,20 --seat 2", {"table", "csv", "json"}},
        {"spot --prizes 50,30,20 --button 1 --blinds 100,200 --hero 2 --range 3=QQ+,AK --hand AhJd",
         {"table", "csv", "json"}},
        {"nash --chip-ev --button 1 --blinds 100,200 --max-iterations 20", {"table", "csv", "json", "svg"}},
    };
    for (const auto &field : fields)
    {
        const std::string path = TemporaryFile("named.txt", field.File);
        for (const auto &command : commands)
            for (const std::string &format : command.Formats)
            {
                const std::string line = command.Command + " --format " + format;
                const CommandRun typed =
                    RunLines(line + " --stacks " + field.Stacks + " --names " + field.Names);
                const CommandRun filed = RunLines(line + " --stacks-file \"" + path + "\"");
                SCOPED_TRACE(line + " --names " + field.Names + "\n" + typed.Err + typed.Out);
                EXPECT_EQ(0, typed.Status);
                EXPECT_EQ(filed.Err, typed.Err);
                EXPECT_EQ(filed.Out, typed.Out);
            }
        std::remove(path.c_str());
    }
    // Names a file's lines could not hold (digits alone read as a seat
    // number there, a leading '#' as a comment) are names here, as typed.
    const json shown = json::parse(
        RunCommand("equity --stacks 3,2,1 --prizes 1 --names 7,#2,x --format json").Out, nullptr, false);
    ASSERT_TRUE(shown.is_object());
    const char *typed[] = {"7", "#2", "x"};
    for (size_t seat = 0; seat < 3; ++seat)
        EXPECT_EQ(typed[seat], shown["players"][seat]["name"]);
}

// --names goes with --stacks alone, one name for each stack, each a name a
// stacks file takes.
TEST(Typing, NamesRefused)
{
    const std::string file = TemporaryFile("file.txt", "Anna,5000\nBob,3000\n");
    const std::string count = "; give one for each seat, in seat order";
    const std::string unshowable = " holds a control character, a quote or bytes that are not UTF-8";
    CheckRows({
        {"equity --stacks 5,3,2 --prizes 1 --names Anna,Bob", 2, E + "--names: 2 names for 3 stacks" + count,
         ""},
        {"deal --stacks 5,3 --prizes 1 --names Anna,Bob,Chloe", 2,
         E + "--names: 3 names for 2 stacks" + count, ""},
        {"bubble --stacks 5 --prizes 1 --names Anna,Bob", 2, E + "--names: 2 names for 1 stack" + count, ""},
        {"finish --stacks 5,0,3 --prizes 1 --names Anna", 2, E + "--names: 1 name for 3 stacks" + count, ""},
        {"equity --stacks 5,3,2 --prizes 1 --names Anna,,Bob", 2,
         E + "--names: name 2: no name given (every seat takes one)", ""},
        {"equity --stacks 5,3 --prizes 1 --names " + Word("Anna, "), 2,
         E + "--names: name 2: no name given (every seat takes one)", ""},
        {"equity --stacks 5,3 --prizes 1 --names " + Word(" "), 2, E + "--names: the list is empty", ""},
        {"equity --stacks 5,3 --prizes 1 --names Anna,Anna", 2,
         E + "--names: name 2: \"Anna\" is given twice (also name 1)", ""},
#ifndef _WIN32
        {"equity --stacks 5,3 --prizes 1 --names " + Word("Anna,B\"b"), 2,
         E + "--names: name 2: \"B\"b\"" + unshowable, ""},
        {"equity --stacks 5,3 --prizes 1 --names " + Word("A\tB,Bob"), 2,
         E + "--names: name 1: \"A\\tB\"" + unshowable, ""},
        {"equity --stacks 5,3 --prizes 1 --names " + Word("Zo\xEB,Bob"), 2,
         E + "--names: name 1: \"Zo\\xEB\"" + unshowable, ""},
#endif
        {"equity --prizes 1 --names Anna,Bob --stacks-file \"" + file + "\"", 2,
         E + "--names goes with --stacks, not --stacks-file: a stacks file gives the names on its lines "
             "(name,stack)",
         ""},
        {"nash --chip-ev --button 1 --blinds 1,2 --names Anna,Bob --stacks-file \"" + file + "\"", 2,
         E + "--names goes with --stacks, not --stacks-file: a stacks file gives the names on its lines "
             "(name,stack)",
         ""},
        {"equity --settings x.ini --names Anna,Bob", 2,
         E + "--names goes with --stacks, not --settings: give the stacks with --stacks", ""},
        {"bubble --players 2 --chips 10 --prizes 1 --names Anna,Bob", 2,
         E + "--players and --chips describe the field: they take no --stacks, --stacks-file, --names or "
             "--settings",
         ""},
        {"equity --prizes 1 --names Anna,Bob", 2, E + "no stacks: give --stacks, --stacks-file or --settings",
         ""},
        {"equity --stacks 5,3 --prizes 1 --names Anna, Bob", 2,
         E + "unexpected \"Bob\" after --names Anna,: separate the values with commas, without spaces "
             "(--names Anna,Bob)",
         ""},
        {"allin AA KK --names Anna,Bob", 2,
         E + "unknown option \"--names\" for allin: --names is an option of equity, finish, deal, bubble, spot "
             "and nash",
         ""},
        {"spot --stacks 5,3 --threads 2", 2,
         E + "unknown option \"--threads\" for spot: --threads is an option of equity, finish, deal, bubble and "
             "nash",
         ""},
    });
    std::remove(file.c_str());
}

// One seat's bubble row as one opponent per line: the grid's own numbers.
TEST(Typing, BubbleSeatOneOpponentPerLine)
{
    const std::string field = "bubble --stacks 5000,3000,0,2000,1000 --prizes 50,30,20";
    const json grid = json::parse(RunCommand(field + " --format json").Out, nullptr, false);
    ASSERT_TRUE(grid.is_object());
    const std::string table = RunCommand(field + " --seat 5").Out;
    EXPECT_EQ(0u, table.find("Seat 5, stack 1000, against each opponent:\n"
                             "Opponent  Stack  Bubble factor  Risk premium\n"));
    const char *stacks[] = {"5000", "3000", "2000"};
    for (size_t column = 0; column < 3; ++column)
    {
        char line[128];
        std::snprintf(line, sizeof line, "\n%8d  %5s  %13.3f  %11.1f%%\n", grid["seats"][column].get<int>(),
                      stacks[column], grid["bubble_factors"][3][column].get<double>(),
                      100.0 * grid["risk_premiums"][3][column].get<double>());
        EXPECT_NE(std::string::npos, table.find(line)) << line << "in\n" << table;
    }
}

// Where busting still pays, the equal-stacks tool also gives the factor of
// the grid between real stacks, which pays a bust the last place.
TEST(Typing, EqualStacksFactorWhereBustingPays)
{
    const struct
    {
        int Players;
        std::string Prizes;
    } rows[] = {{9, "9,8,7,6,5,4,3,2,1"}, {2, "50,30,20"}, {4, "40,30,20,10"}, {5, "10,6,4,3,2,1"}};
    for (const auto &row : rows)
    {
        const json tool = json::parse(RunCommand("bubble --players " + std::to_string(row.Players) +
                                                 " --chips 1500 --prizes " + row.Prizes + " --format json")
                                          .Out,
                                      nullptr, false);
        const json grid = json::parse(RunCommand("bubble --stacks " + Repeated("1500", row.Players) +
                                                 " --prizes " + row.Prizes + " --seat 1 --format json")
                                          .Out,
                                      nullptr, false);
        ASSERT_TRUE(tool.is_object() && grid.is_object()) << row.Prizes;
        const double real = grid["bubble_factors"][0][1].get<double>();
        EXPECT_NEAR(real, tool["bubble_factor_bust_paid"].get<double>(), 1e-12 * real) << row.Prizes;
        EXPECT_GT(tool["bubble_factor"].get<double>(), tool["bubble_factor_bust_paid"].get<double>());
    }
    const json two =
        json::parse(RunCommand("bubble --players 2 --chips 10 --prizes 50,30,20 --format json").Out);
    EXPECT_EQ(4.0, two["bubble_factor"].get<double>());           // 40 / (50 - 40)
    EXPECT_EQ(1.0, two["bubble_factor_bust_paid"].get<double>()); // (40 - 30) / (50 - 40)
    // Above the paid places the two agree, and only the window's is given.
    const json beyond =
        json::parse(RunCommand("bubble --players 4 --chips 10 --prizes 5,3,2 --format json").Out);
    EXPECT_FALSE(beyond.contains("bubble_factor_bust_paid"));
    const std::string table = RunCommand("bubble --players 2 --chips 10 --prizes 50,30,20").Out;
    EXPECT_NE(std::string::npos,
              table.find("Bubble factor, a bust taking nothing (the window's)   4.0000\n"));
    EXPECT_NE(std::string::npos, table.find("Bubble factor, a bust taking place 2   1.0000\n"));
    EXPECT_EQ("equity_one_stack,equity_two_stacks,bubble_factor,bubble_factor_bust_paid\n40,50,4,1\n",
              RunCommand("bubble --players 2 --chips 10 --prizes 50,30,20 --format csv").Out);
}

TEST(Typing, HelpInPlainWords)
{
    const CommandRun bare = RunLines("");
    EXPECT_EQ(2, bare.Status);
    EXPECT_EQ("", bare.Out);
    EXPECT_NE(std::string::npos, bare.Err.find("Usage: ostrel-icm [OPTIONS] COMMAND"));
    EXPECT_EQ(bare.Err.size() - bare.Err.rfind("\nostrel-icm: error: no command given") - 1,
              bare.Err.size() - bare.Err.rfind('\n', bare.Err.size() - 2) - 1)
        << "the error is the last line";
    const struct
    {
        const char *Arguments;
        const char *Shows;
    } rows[] = {{"--help", "Commands:\n  equity"},     {"help", "Commands:\n  equity"},
                {"help equity", "--prizes-file FILE"}, {"equity --help", "--pool AMOUNT"},
                {"help deal", "--split NAME"},         {"help bubble", "--seat N"},
                {"finish -h", "--places M"},           {"help finish", "--time"},
                {"help allin", "--samples N"},         {"help spot", "--range SEAT=RANGE"},
                {"help nash", "--max-iterations N"},   {"nash --help", "--tolerance AMOUNT"}};
    for (const auto &row : rows)
    {
        const CommandRun run = RunCommand(row.Arguments);
        SCOPED_TRACE(std::string(row.Arguments) + "\n" + run.Out);
        EXPECT_EQ(0, run.Status);
        EXPECT_EQ("", run.Err);
        EXPECT_NE(std::string::npos, run.Out.find(row.Shows));
        for (const char *jargon : {"TEXT", "UINT", "FLOAT", "POSITIVE", ":{", "[1 - 256]", "SUBCOMMAND",
                                   "Subcommand", "=auto", "[default"})
            EXPECT_EQ(std::string::npos, run.Out.find(jargon)) << jargon;
    }
    EXPECT_EQ("ostrel-icm 2.10.0.9\n", RunCommand("--version").Out);
}

// --separators groups the money in tables by thousands and changes nothing
// else: without its commas the table is the plain one; CSV and JSON stay.
TEST(Typing, SeparatorsGroupMoneyOnly)
{
    const struct
    {
        std::string Arguments;
        const char *Shows; // a grouped amount the table must hold
    } rows[] = {
        {"equity --stacks 5000,3000,2000 --pool 1234567.5 --prizes 50%,30%,20%", "Prize pool: 1,234,567.50\n"},
        {"equity --stacks 5000,3000,2000 --prizes 50,30,20", "Prize pool: 100.00\n"},
        {"deal --stacks 5000,3000,2000 --pool 1234567.5 --prizes 50%,30%,20% --round 0.05", "  473,985.75  "},
        {"deal --stacks 5000,3000 --prizes 123456789,1000", "dealt: 123,457,789.00\n"},
        {"equity --stacks 5,3 --prizes 1000000,0.001", "Prize pool: 1,000,000.001\n"},
    };
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.Arguments);
        const CommandRun grouped = RunCommand(row.Arguments + " --separators");
        ASSERT_EQ(0, grouped.Status) << grouped.Err;
        EXPECT_NE(std::string::npos, grouped.Out.find(row.Shows)) << grouped.Out;
        std::string without = grouped.Out;
        without.erase(std::remove(without.begin(), without.end(), ','), without.end());
        std::string plain = RunCommand(row.Arguments).Out;
        plain.erase(std::remove(plain.begin(), plain.end(), ','), plain.end()); // the footers' own commas
        // The columns narrow by the commas taken out: compare the words.
        const auto words = [](const std::string &text) {
            std::vector<std::string> list;
            std::istringstream in(text);
            for (std::string word; in >> word;)
                list.push_back(word);
            return list;
        };
        EXPECT_EQ(words(plain), words(without));
        for (const char *format : {" --format csv", " --format json"})
            EXPECT_EQ(RunCommand(row.Arguments + format).Out, RunCommand(row.Arguments + format + " --separators").Out);
    }
}

// The README's examples, run: every "    $ ostrel-icm ..." line and the
// indented lines under it, up to the next line that is not indented (blank
// lines inside kept, blank lines at the end dropped), are the command and
// exactly what it writes ("..." in the README stands for any text).
bool Matches(const std::string &pattern, const std::string &text)
{
    const size_t gap = pattern.find("...");
    if (gap == std::string::npos)
        return pattern == text;
    if (text.compare(0, gap, pattern, 0, gap) != 0)
        return false;
    const std::string rest = pattern.substr(gap + 3);
    for (size_t at = gap; at <= text.size(); ++at)
        if (Matches(rest, text.substr(at)))
            return true;
    return false;
}

TEST(Typing, ReadmeExamples)
{
    std::ifstream readme(OSTREL_SOURCE_DIR "/README.md");
    if (!readme)
        GTEST_SKIP() << "README.md is not readable from here";
    std::vector<std::string> lines;
    for (std::string line; std::getline(readme, line);)
        lines.push_back(line);
    const std::string prompt = "    $ ostrel-icm";
    int examples = 0;
    // The examples name files as from the top of the sources.
    std::error_code failed;
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(OSTREL_SOURCE_DIR, failed);
    ASSERT_FALSE(failed) << failed.message();
    for (size_t i = 0; i < lines.size(); ++i)
    {
        if (lines[i].compare(0, prompt.size(), prompt) != 0)
            continue;
        // A long command goes on over lines ending in a backslash.
        std::string arguments = lines[i].substr(prompt.size());
        while (!arguments.empty() && arguments.back() == '\\' && i + 1 < lines.size())
        {
            const std::string &more = lines[++i];
            arguments = arguments.substr(0, arguments.size() - 1) + " " + more.substr(more.find_first_not_of(' '));
        }
        std::string expected;
        size_t next = i + 1;
        size_t blanks = 0;
        for (; next < lines.size() && (lines[next].empty() || lines[next].compare(0, 4, "    ") == 0) &&
               lines[next].compare(0, prompt.size(), prompt) != 0;
             ++next)
        {
            blanks = lines[next].empty() ? blanks + 1 : 0;
            expected += (lines[next].empty() ? "" : lines[next].substr(4)) + "\n";
        }
        expected.resize(expected.size() - blanks);
        next -= blanks;
        const CommandRun run = RunLines(arguments);
        EXPECT_TRUE(Matches(expected, run.Err + run.Out))
            << "README line " << i + 1 << ": ostrel-icm" << arguments << "\nREADME:\n"
            << expected << "command:\n"
            << run.Err + run.Out;
        examples += 1;
        i = next - 1;
    }
    std::filesystem::current_path(here, failed);
    EXPECT_GE(examples, 5);
}

// The README's tour: every command in its table answers, on standard output
// alone, and the answer each stands for is one its section explains.
TEST(Typing, ReadmeTourCommandsAnswer)
{
    std::ifstream readme(OSTREL_SOURCE_DIR "/README.md");
    if (!readme)
        GTEST_SKIP() << "README.md is not readable from here";
    const std::string start = "`ostrel-icm ";
    int commands = 0;
    for (std::string line; std::getline(readme, line);)
    {
        const size_t at = line.find(start);
        if (line.compare(0, 2, "| ") != 0 || at == std::string::npos)
            continue;
        const size_t end = line.find('`', at + 1);
        ASSERT_NE(std::string::npos, end) << line;
        const std::string arguments = line.substr(at + start.size() - 1, end - at - start.size() + 1);
        const CommandRun run = RunLines(arguments);
        EXPECT_EQ(0, run.Status) << arguments << "\n" << run.Err;
        EXPECT_EQ("", run.Err) << arguments;
        EXPECT_FALSE(run.Out.empty()) << arguments;
        commands += 1;
    }
    EXPECT_EQ(6, commands);
}

} // namespace
