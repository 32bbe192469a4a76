// The request layer asked directly, as the Python module will ask it, gives
// the bytes the command writes on standard output for the same question:
// one row per command and format, the question once as a request and once
// as the command's arguments.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "allin_request.h"
#include "bubble_request.h"
#include "command_support.h"
#include "deal_request.h"
#include "equity_request.h"
#include "nash_request.h"
#include "request_support.h"
#include "spot_request.h"

namespace
{

using namespace ostrel;

// The answer's text, or the error's message after "error: " when refused.
using Asked = std::function<std::string()>;

template <typename Request, typename Answered, typename Run, typename Write>
std::string AskField(const Request &request, Run run, Write write, Format format)
{
    Answered answer;
    const Status status = run(request, RunProgress(), answer);
    return status.Ok ? write(answer, format) : "error: " + status.Message;
}

std::string Equity(const EquityRequest &request, Format format)
{
    return AskField<EquityRequest, EquityAnswer>(request, RunEquityRequest, WriteEquityAnswer, format);
}

EquityRequest EquityOf(const FieldInput &field, bool finish = false)
{
    EquityRequest request;
    request.Field = field;
    request.Finish = finish;
    return request;
}

std::string Deal(const DealRequest &request, Format format)
{
    return AskField<DealRequest, DealAnswer>(request, RunDealRequest, WriteDealAnswer, format);
}

std::string Bubble(const BubbleRequest &request, Format format)
{
    return AskField<BubbleRequest, BubbleAnswer>(request, RunBubbleRequest, WriteBubbleAnswer, format);
}

std::string Allin(const AllinRequest &request, Format format)
{
    AllinAnswer answer;
    const Status status = RunAllinRequest(request, answer);
    return status.Ok ? WriteAllinAnswer(answer, format) : "error: " + status.Message;
}

std::string Spot(const SpotRequest &request, Format format)
{
    SpotReply reply;
    const Status status = RunSpotRequest(request, RunProgress(), reply);
    return status.Ok ? WriteSpotReply(reply, format) : "error: " + status.Message;
}

std::string Nash(const NashRequest &request, Format format, bool margin = false)
{
    NashReply reply;
    const Status status = RunNashRequest(request, RunProgress(), reply);
    return status.Ok ? WriteNashReply(reply, format, false, margin) : "error: " + status.Message;
}

const std::vector<int64_t> Three = {5000, 3000, 2000};
const std::vector<double> Ladder = {50, 30, 20};

struct SameAnswerRow
{
    const char *Arguments;
    Asked Ask;
};

void ExpectSameAnswers(const std::vector<SameAnswerRow> &rows)
{
    for (const SameAnswerRow &row : rows)
    {
        SCOPED_TRACE(row.Arguments);
        const CommandRun run = RunCommand(row.Arguments);
        ASSERT_EQ(0, run.Status) << run.Err;
        EXPECT_EQ(run.Out, row.Ask());
    }
}

TEST(SameAnswer, EquityAndFinishInEveryFormat)
{
    FieldInput named = FieldOf(Three, Ladder);
    named.Names = {"Ann", "Bo", "Cy"};
    const std::string names = TemporaryFile("named.txt", "Ann,5000\nBo,3000\nCy,2000\n");
    const std::string namedArguments = "equity --stacks-file \"" + names + "\" --prizes 50,30,20 --format json";
    EquityRequest grouped = EquityOf(FieldOf({5000000, 3000000, 2000000}, {500000, 300000, 200000}));
    grouped.Separators = true;
    EquityRequest twoPlaces = EquityOf(FieldOf({5, 4, 3, 2, 1}, {40, 30, 20, 10}), true);
    twoPlaces.Places = 2;
    // Beyond the window's 18 seats: the library's choice.
    std::vector<int64_t> large;
    for (int64_t seat = 1; seat <= 30; ++seat)
        large.push_back(seat * 100);
    const std::vector<SameAnswerRow> rows = {
        {"equity --stacks 5000,3000,2000 --prizes 50,30,20", [] { return Equity(EquityOf(FieldOf(Three, Ladder)), Format::Table); }},
        {"equity --stacks 5000,3000,2000 --prizes 50,30,20 --format csv",
         [] { return Equity(EquityOf(FieldOf(Three, Ladder)), Format::Csv); }},
        {namedArguments.c_str(), [named] { return Equity(EquityOf(named), Format::Json); }},
        // The names typed as a list, read by the layer as the command reads them.
        {"equity --stacks 5000,3000,2000 --names Ann,Bo,Cy --prizes 50,30,20 --format csv",
         [] {
             FieldInput typed = FieldOf({}, Ladder);
             const bool read =
                 ReadStacksTyped("5000,3000,2000", typed).Ok && ReadNamesTyped("Ann,Bo,Cy", typed).Ok;
             return read ? Equity(EquityOf(typed), Format::Csv) : "error: not read";
         }},
        {"equity --stacks 24.5,30,10 --prizes 50,30,20 --format json",
         [] { return Equity(EquityOf(FieldOf({245, 300, 100}, Ladder, 1)), Format::Json); }},
        {"equity --stacks 5000000,3000000,2000000 --prizes 500000,300000,200000 --separators",
         [grouped] { return Equity(grouped, Format::Table); }},
        {"equity --stacks 100,200,300,400,500,600,700,800,900,1000,1100,1200,1300,1400,1500,1600,1700,1800,1900,"
         "2000,2100,2200,2300,2400,2500,2600,2700,2800,2900,3000 --prizes 50,30,20 --format json",
         [large] { return Equity(EquityOf(FieldOf(large, Ladder)), Format::Json); }},
        {"finish --stacks 5000,3000,2000 --prizes 50,30,20",
         [] { return Equity(EquityOf(FieldOf(Three, Ladder), true), Format::Table); }},
        {"finish --stacks 5,4,3,2,1 --prizes 40,30,20,10 --places 2 --format csv",
         [twoPlaces] { return Equity(twoPlaces, Format::Csv); }},
    };
    ExpectSameAnswers(rows);
}

TEST(SameAnswer, DealsAndBubbles)
{
    DealRequest chip;
    chip.Field = FieldOf(Three, Ladder);
    chip.Terms.Split = DealSplit::Chip;
    chip.Terms.Round.Count = 1;
    DealRequest kept;
    kept.Field = FieldOf(Three, {100, 60, 40});
    kept.Terms.Keep = 10;
    BubbleRequest grid;
    grid.Field = FieldOf({5000, 3000, 2000, 1000}, Ladder);
    BubbleRequest row = grid;
    row.OneRow = true;
    row.Seat = 3;
    EqualStacksRequest equal;
    equal.Players = 10;
    equal.Chips = 1000;
    equal.Prizes = Ladder;
    const std::vector<SameAnswerRow> rows = {
        {"deal --stacks 5000,3000,2000 --prizes 50,30,20 --split chip --round 1",
         [chip] { return Deal(chip, Format::Table); }},
        {"deal --stacks 5000,3000,2000 --prizes 100,60,40 --keep 10 --format json",
         [kept] { return Deal(kept, Format::Json); }},
        {"bubble --stacks 5000,3000,2000,1000 --prizes 50,30,20", [grid] { return Bubble(grid, Format::Table); }},
        {"bubble --stacks 5000,3000,2000,1000 --prizes 50,30,20 --format csv",
         [grid] { return Bubble(grid, Format::Csv); }},
        {"bubble --stacks 5000,3000,2000,1000 --prizes 50,30,20 --seat 4 --format json",
         [row] { return Bubble(row, Format::Json); }},
        {"bubble --players 10 --chips 1000 --prizes 50,30,20",
         [equal] {
             EqualStacksAnswer answer;
             const Status status = RunEqualStacksRequest(equal, answer);
             return status.Ok ? WriteEqualStacksAnswer(answer, Format::Table) : status.Message;
         }},
    };
    ExpectSameAnswers(rows);
}

TEST(SameAnswer, AllinSpotAndNash)
{
    AllinRequest aces;
    aces.Ranges = {"AdAc", "KhKs"};
    AllinRequest sampled;
    sampled.Ranges = {"22+, AK", "random", "76s"};
    sampled.Samples = 20000;
    sampled.Seed = 5;
    SpotRequest firstIn;
    firstIn.Table = TableOf(Three, Ladder, 0, 100, 200, 25);
    firstIn.Hero = "2";
    firstIn.Ranges = {"3=QQ+,AK"};
    SpotRequest call = firstIn;
    call.Hero = "BB";
    call.Action = SpotAction::Call;
    call.Shover = "SB";
    call.Ranges = {"SB=22+,A2+,K9+"};
    call.Hand = "AhKd";
    SpotRequest row = firstIn;
    row.Hand = "AJo";
    NashRequest headsUp;
    headsUp.Table = TableOf({1000, 1000}, {}, 0, 50, 100);
    headsUp.ChipEv = true;
    NashRequest three;
    three.Table = TableOf({2000, 1500, 1000}, Ladder, 0, 50, 100);
    three.Draws = 300;
    const std::vector<SameAnswerRow> rows = {
        {"allin AdAc KhKs", [aces] { return Allin(aces, Format::Table); }},
        {"allin AdAc vs KhKs --format csv", [aces] { return Allin(aces, Format::Csv); }},
        {"allin \"22+, AK\" random 76s --samples 20000 --seed 5 --format json",
         [sampled] { return Allin(sampled, Format::Json); }},
        {"spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --hero 2 "
         "--range 3=QQ+,AK --color never",
         [firstIn] { return Spot(firstIn, Format::Table); }},
        {"spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --hero 2 "
         "--range 3=QQ+,AK --format csv",
         [firstIn] { return Spot(firstIn, Format::Csv); }},
        {"spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --hero BB "
         "--action call --shover SB --range SB=22+,A2+,K9+ --hand AhKd --format json",
         [call] { return Spot(call, Format::Json); }},
        {"spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --hero 2 "
         "--range 3=QQ+,AK --hand AJo",
         [row] { return Spot(row, Format::Table); }},
        {"nash --stacks 1000,1000 --chip-ev --button 1 --blinds 50,100 --format json",
         [headsUp] { return Nash(headsUp, Format::Json); }},
        {"nash --stacks 1000,1000 --chip-ev --button 1 --blinds 50,100 --format svg",
         [headsUp] { return Nash(headsUp, Format::Svg); }},
        {"nash --stacks 2000,1500,1000 --prizes 50,30,20 --button 1 --blinds 50,100 --draws 300 --color never",
         [three] { return Nash(three, Format::Table); }},
        {"nash --stacks 2000,1500,1000 --prizes 50,30,20 --button 1 --blinds 50,100 --draws 300 --show margin "
         "--format csv",
         [three] { return Nash(three, Format::Csv, true); }},
    };
    ExpectSameAnswers(rows);
}

// Warnings are the answer's, without the command's prefix: the command
// writes each after "ostrel-icm: warning: " on standard error.
TEST(SameAnswer, WarningsAreTheCommandsLines)
{
    EquityAnswer answer;
    ASSERT_TRUE(RunEquityRequest(EquityOf(FieldOf(Three, {20, 30, 50})), RunProgress(), answer).Ok);
    ASSERT_EQ(1u, answer.Notes.Warnings.size());
    const CommandRun run = RunCommand("equity --stacks 5000,3000,2000 --prizes 20,30,50");
    EXPECT_EQ(0, run.Status);
    EXPECT_EQ("ostrel-icm: warning: " + answer.Notes.Warnings[0] + "\n", Lines(run.Err));
    EXPECT_EQ(run.Out, WriteEquityAnswer(answer, Format::Table));

    EquityAnswer falling;
    ASSERT_TRUE(RunEquityRequest(EquityOf(FieldOf(Three, Ladder)), RunProgress(), falling).Ok);
    EXPECT_TRUE(falling.Notes.Warnings.empty());
}

} // namespace
