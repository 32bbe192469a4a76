// Bounties through the command: with no bounty money every answer is the
// answer without bounties, byte for byte (the README's examples run both
// ways); closed forms of the proportional model; a hand worked out by
// hand; and every kind of bad bounty refused in one line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "command_support.h"

namespace
{

// Standard error as lines ending in LF: Windows writes it in text mode.
std::string Lines(std::string text)
{
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.erase(at, 1);
    return text;
}

std::string Zeros(size_t count)
{
    std::string list;
    for (size_t i = 0; i < count; ++i)
        list += i == 0 ? "0" : ",0";
    return list;
}

// The items of the list after `option` in `arguments`; 0 when absent.
size_t ListLength(const std::string &arguments, const std::string &option)
{
    const size_t at = arguments.find(option + " ");
    if (at == std::string::npos)
        return 0;
    const size_t start = at + option.size() + 1;
    const std::string list = arguments.substr(start, arguments.find(' ', start) - start);
    return static_cast<size_t>(std::count(list.begin(), list.end(), ',')) + 1;
}

// The README's examples of equity, deal, spot and nash on typed stacks.
std::vector<std::string> ReadmeExamples()
{
    std::ifstream readme(OSTREL_SOURCE_DIR "/README.md");
    std::vector<std::string> lines;
    for (std::string line; std::getline(readme, line);)
        lines.push_back(line);
    const std::string prompt = "    $ ostrel-icm ";
    std::vector<std::string> examples;
    for (size_t i = 0; i < lines.size(); ++i)
    {
        if (lines[i].compare(0, prompt.size(), prompt) != 0)
            continue;
        std::string arguments = lines[i].substr(prompt.size() - 1);
        while (!arguments.empty() && arguments.back() == '\\' && i + 1 < lines.size())
        {
            const std::string &more = lines[++i];
            arguments = arguments.substr(0, arguments.size() - 1) + " " + more.substr(more.find_first_not_of(' '));
        }
        const std::string command = arguments.substr(1, arguments.find(' ', 1) - 1);
        const bool asked = command == "equity" || command == "deal" || command == "spot" || command == "nash";
        if (asked && ListLength(arguments, "--stacks") > 0 && arguments.find("--time") == std::string::npos &&
            arguments.find("--bounties") == std::string::npos)
            examples.push_back(arguments);
    }
    return examples;
}

TEST(BountyCommand, NoBountyMoneyChangesNoByteOfTheReadmesExamples)
{
    const std::vector<std::string> examples = ReadmeExamples();
    ASSERT_GE(examples.size(), 8u);
    size_t answered = 0; // the rest are refusals, which must stay the same too
    for (const std::string &arguments : examples)
    {
        SCOPED_TRACE(arguments);
        std::string zero = " --bounties " + Zeros(ListLength(arguments, "--stacks"));
        if (arguments.find(" deal ") == 0)
            zero += " --deal-bounties";
        if (arguments.find(" spot ") == 0 || arguments.find(" nash ") == 0)
            zero += " --bounty-share 0.5" + (ListLength(arguments, "--others") > 0
                                                  ? " --others-bounties " + Zeros(ListLength(arguments, "--others"))
                                                  : std::string());
        const CommandRun plain = RunCommand(arguments);
        const CommandRun none = RunCommand(arguments + zero);
        answered += plain.Status == 0 ? 1 : 0;
        EXPECT_EQ(plain.Status, none.Status) << none.Err;
        EXPECT_EQ(plain.Out, none.Out);
        EXPECT_EQ(Lines(plain.Err), Lines(none.Err));
    }
    EXPECT_GE(answered, 8u);
}

// The value of a JSON field after `key` (the first one from `from`).
double Field(const std::string &json, const std::string &key, size_t from = 0)
{
    const size_t at = json.find("\"" + key + "\": ", from);
    EXPECT_NE(std::string::npos, at) << key;
    return at == std::string::npos ? NAN : std::stod(json.substr(at + key.size() + 4));
}

std::vector<double> Fields(const std::string &json, const std::string &key)
{
    std::vector<double> values;
    for (size_t at = json.find("\"" + key + "\": "); at != std::string::npos;
         at = json.find("\"" + key + "\": ", at + 1))
        values.push_back(std::stod(json.substr(at + key.size() + 4)));
    return values;
}

TEST(BountyCommand, EquityAddsTheChipShareOfTheBountyMoney)
{
    // A knockout with bounties only: every player's value is his chip share
    // of the bounty money. Moving money between the prizes and the bounties
    // moves each player's total by the difference of the two shares.
    struct Row
    {
        const char *Arguments;
        std::vector<double> Bounty, Total;
    };
    const Row rows[] = {
        {"--stacks 5000,3000,2000 --prizes 0 --bounties 10,10,10", {15, 9, 6}, {15, 9, 6}},
        {"--stacks 5000,3000,2000 --prizes 0 --bounties 4,4,4 --bounty-pool 100", {50, 30, 20}, {50, 30, 20}},
        {"--stacks 6000,3000,1000 --prizes 1,1,1 --bounties 2,0,0", {1.2, 0.6, 0.2}, {2.2, 1.6, 1.2}},
        {"--stacks 5000,3000,2000 --prizes 0 --bounty-pool 100", {50, 30, 20}, {50, 30, 20}},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Arguments);
        const CommandRun run = RunCommand(std::string("equity ") + row.Arguments + " --format json");
        ASSERT_EQ(0, run.Status) << run.Err;
        const std::vector<double> bounty = Fields(run.Out, "bounty_ev"), total = Fields(run.Out, "total_ev");
        ASSERT_EQ(row.Bounty.size(), bounty.size());
        for (size_t seat = 0; seat < bounty.size(); ++seat)
        {
            EXPECT_NEAR(row.Bounty[seat], bounty[seat], 1e-13 * row.Bounty[0]);
            EXPECT_NEAR(row.Total[seat], total[seat], 1e-13 * row.Total[0]);
        }
    }
    // 30 of a pool of 100 moved into bounties: the prize $EV scales by 0.7
    // and the bounty equity is 0.3 of the pool by chips.
    const CommandRun prizes = RunCommand("equity --stacks 5000,3000,2000 --prizes 50,30,20 --format json");
    const CommandRun moved =
        RunCommand("equity --stacks 5000,3000,2000 --prizes 35,21,14 --bounties 10,10,10 --format json");
    const std::vector<double> before = Fields(prizes.Out, "equity"), after = Fields(moved.Out, "total_ev");
    const double shares[] = {0.5, 0.3, 0.2};
    ASSERT_EQ(3u, after.size());
    for (size_t seat = 0; seat < 3; ++seat)
        EXPECT_NEAR(0.7 * before[seat] + 30.0 * shares[seat], after[seat], 1e-12);
    EXPECT_EQ(30.0, Field(moved.Out, "bounty_money"));
}

TEST(BountyCommand, ADealOfTheBountiesPaysEachHisShare)
{
    const CommandRun plain = RunCommand("deal --stacks 5000,3000,2000 --prizes 50,30,20 --format json");
    const CommandRun dealt =
        RunCommand("deal --stacks 5000,3000,2000 --prizes 50,30,20 --bounties 10,10,10 --deal-bounties --format json");
    ASSERT_EQ(0, dealt.Status) << dealt.Err;
    const double shares[] = {15, 9, 6};
    for (const char *key : {"payment", "deal_value", "equity"})
    {
        const std::vector<double> without = Fields(plain.Out, key), with = Fields(dealt.Out, key);
        ASSERT_EQ(3u, with.size());
        for (size_t seat = 0; seat < 3; ++seat)
            EXPECT_NEAR(without[seat] + shares[seat], with[seat], 1e-12) << key;
    }
    EXPECT_EQ(Fields(plain.Out, "difference"), Fields(dealt.Out, "difference"));
}

TEST(BountyCommand, HeadsUpWithoutPrizesACallIsChipEvPlusTheBounties)
{
    // Two players left, each sure of 10 (the prizes are equal), the hero
    // covering the shover: winning busts him, and his bounty in cash with
    // the money left in play on the hero's chips make all the bounty money
    // M; otherwise the chips carry their share of M. So folding and calling
    // are worth 10 + M * chips / all chips, with the chips' own EV.
    const std::string table = "spot --stacks 600,1000 --prizes 10,10 --button 1 --blinds 50,100 --hero 2 "
                              "--action call --shover 1 --range 1=22+,A2+ --hand KsKd --format json";
    struct Row
    {
        const char *Bounties;
        double Money, Cash;
    };
    const Row rows[] = {
        {" --bounties 20,8", 28, 20},
        {" --bounties 20,8 --bounty-share 0.5", 28, 10},
        {" --bounties 20,8 --bounty-pool 50", 50, 20},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.Bounties);
        const CommandRun run = RunCommand(table + row.Bounties);
        ASSERT_EQ(0, run.Status) << run.Err;
        EXPECT_NEAR(10.0 + row.Money * Field(run.Out, "chips_play") / 1600.0, Field(run.Out, "ev_play"), 1e-12);
        EXPECT_NEAR(10.0 + row.Money * Field(run.Out, "chips_fold") / 1600.0, Field(run.Out, "ev_fold"), 1e-12);
        const std::string play = run.Out.substr(run.Out.find("\"play\": "));
        const std::vector<double> values = Fields(play, "value"), cash = Fields(play, "bounty_cash");
        ASSERT_EQ(3u, values.size()); // the shover wins, the hero wins, they split
        EXPECT_NEAR(10.0 + row.Money / 4.0, values[0], 1e-12);
        EXPECT_NEAR(10.0 + row.Money, values[1], 1e-12);
        EXPECT_EQ(row.Cash, cash[1]);
        EXPECT_EQ(0.0, cash[0] + cash[2]);
    }
}

TEST(BountyCommand, TheBigBlindCallsWiderForABounty)
{
    // The README's worked example: three-handed, the big blind covers the
    // small blind's shove. By hand (prizes 50,30,20; a knockout of 20 a
    // head): folding leaves 1000, 600, 1400 ($EV 37.5 + 28 of bounty
    // equity); winning busts the small blind for 20 in cash, his 20 then
    // played for on 2000 of 3000 chips.
    const std::string table = "spot --stacks 1000,500,1500 --prizes 50,30,20 --button 1 --blinds 50,100 --hero 3 "
                              "--action call --shover 2 --range 2=50%";
    const CommandRun with = RunCommand(table + " --hand Kh8c --bounties 20,20,20 --format json");
    ASSERT_EQ(0, with.Status) << with.Err;
    const double win = 50.0 * 2.0 / 3.0 + 30.0 / 3.0 + 20.0 + 40.0 * 2.0 / 3.0;
    const size_t play = with.Out.find("\"play\": ");
    const std::vector<double> values = Fields(with.Out.substr(play), "value");
    ASSERT_EQ(3u, values.size());
    EXPECT_NEAR(win, values[1], 1e-12);
    EXPECT_NEAR(37.5 + 28.0, Field(with.Out, "ev_fold"), 1e-12);
    EXPECT_LT(Field(with.Out, "equity_needed"), Field(with.Out, "equity_needed_without_bounties"));
    // The range: every class that calls without the bounty calls with it.
    const CommandRun plain = RunCommand(table + " --format json");
    const CommandRun bounty = RunCommand(table + " --bounties 20,20,20 --format json");
    const std::vector<double> without = Fields(plain.Out, "difference"), withBounty = Fields(bounty.Out, "difference");
    ASSERT_EQ(169u, without.size());
    ASSERT_EQ(169u, withBounty.size());
    size_t calls = 0, callsWith = 0;
    for (size_t c = 0; c < 169; ++c)
    {
        calls += without[c] > 0.0;
        callsWith += withBounty[c] > 0.0;
        if (without[c] > 0.0)
        {
            EXPECT_GT(withBounty[c], 0.0) << "class " << c;
        }
    }
    EXPECT_GT(callsWith, calls);
}

TEST(BountyCommand, BadBountiesAreRefusedInOneLine)
{
    const std::string table = "spot --stacks 1500,1000,500 --prizes 50,30,20 --button 1 --blinds 50,100 --hero 1";
    const std::string chips = "nash --stacks 1500,1000,500 --chip-ev --button 1 --blinds 50,100";
    const struct
    {
        std::string Arguments, Says;
    } rows[] = {
        {table + " --bounties 10,10", "--bounties: 2 bounties for 3 seats"},
        {table + " --bounties 10,-1,10", "--bounties: bounty 2: \"-1\" is negative"},
        {table + " --bounties 10,inf,10", "--bounties: bounty 2: "},
        {table + " --bounties 10,,10", "--bounties: bounty 2: no bounty given"},
        {table + " --bounties 10,10,10 --bounty-share 1.5", "--bounty-share 1.5: the share of a bounty paid in cash is 0 to 1"},
        {table + " --bounties 10,10,10 --bounty-share -0.5", "--bounty-share -0.5: "},
        {table + " --bounties 10,10,10 --bounty-pool 29.99", "--bounty-pool 29.99: less than the bounties at the table"},
        {table + " --bounties 10,10,10 --others 2000", "with players at other tables, give their bounties"},
        {table + " --bounties 10,10,10 --others 2000,3000 --others-bounties 5", "--others-bounties: 1 bounties for 2"},
        {table + " --bounties 10,10,10 --others 2000 --others-bounties 5 --bounty-pool 50", "two sources"},
        {table + " --bounty-pool 50", "need the bounties at the table"},
        {table + " --bounties 10,10,10 --chips-per-unit 50", "--chips-per-unit converts bounty money into chips"},
        {chips + " --bounties 10,10,10", "--chip-ev with bounties: give --chips-per-unit"},
        {chips + " --bounties 10,10,10 --chips-per-unit 0", "--chips-per-unit 0: "},
        {"equity --stacks 5000,3000 --prizes 50,30 --bounties 1,2,3", "--bounties: 3 bounties for 2 seats"},
        {"equity --stacks 5000,3000 --prizes 50,30 --bounties 1,x", "--bounties: bounty 2: \"x\" is not an amount"},
        {"deal --stacks 5000,3000 --prizes 50,30 --bounties 1,2", "add --deal-bounties"},
        {"deal --stacks 5000,3000 --prizes 50,30 --deal-bounties", "--deal-bounties: no bounties to deal"},
    };
    for (const auto &row : rows)
        ExpectRefused(row.Arguments, row.Says);
    const std::string mixed = TemporaryFile("bounties.txt", "1,5000,10\n2,3000\n");
    ExpectRefused("equity --stacks-file " + mixed + " --prizes 50,30", "no bounty among lines with one");
    const std::string named = TemporaryFile("named.txt", "ann,5000,10\nbob,3000,5\n");
    ExpectRefused("finish --stacks-file " + named + " --prizes 50,30", "finish takes no bounties");
    ExpectRefused("bubble --stacks-file " + named + " --prizes 50,30", "bubble takes no bounties");
    ExpectRefused("equity --stacks-file " + named + " --prizes 50,30 --bounties 1,1", "two sources for the bounties");
    const CommandRun read = RunCommand("equity --stacks-file " + named + " --prizes 50,30 --format csv");
    ASSERT_EQ(0, read.Status) << read.Err;
    EXPECT_NE(std::string::npos, read.Out.find("ann,5000,0.625,"));
    EXPECT_NE(std::string::npos, read.Out.find(",9.375,"));
}

} // namespace
