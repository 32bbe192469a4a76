// Each request's checks give the command's own message for the same bad
// question, word for word: the Python module raises with it, the page shows
// it. One row per refusal: the request built in C++, the command line that
// asks the same, and the message both give.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "allin_request.h"
#include "bounty_input.h"
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

struct RefusalRow
{
    std::string Arguments; // the command asking the same; "" where it cannot be typed
    std::function<Status()> Check;
    std::string Message;
};

void ExpectRefusals(const std::vector<RefusalRow> &rows)
{
    for (const RefusalRow &row : rows)
    {
        SCOPED_TRACE(row.Arguments.empty() ? row.Message : row.Arguments);
        const Status status = row.Check();
        EXPECT_FALSE(status.Ok);
        EXPECT_EQ(row.Message, status.Message);
        if (row.Arguments.empty())
            continue;
        const CommandRun run = RunCommand(row.Arguments);
        EXPECT_EQ(2, run.Status);
        EXPECT_EQ("", run.Out);
        EXPECT_EQ("ostrel-icm: error: " + row.Message + "\n", Lines(run.Err));
    }
}

const std::vector<int64_t> Three = {5000, 3000, 2000};
const std::vector<double> Ladder = {50, 30, 20};
const std::string ThreeTable = " --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200";

EquityRequest EquityOf(const FieldInput &field)
{
    EquityRequest request;
    request.Field = field;
    return request;
}

TEST(RequestChecks, FieldQuestions)
{
    EquityRequest threads = EquityOf(FieldOf({5000, 3000}, {50, 30}));
    threads.Threads = 300;
    FieldInput misnamed = FieldOf(Three, Ladder);
    misnamed.Names = {"Ann"};
    EquityRequest places = EquityOf(FieldOf(Three, Ladder));
    places.Finish = true;
    places.Places = 2000000;
    DealRequest keep;
    keep.Field = FieldOf(Three, Ladder);
    keep.Terms.Keep = 60;
    DealRequest negative = keep;
    negative.Terms.Keep = -5;
    BubbleRequest seat;
    seat.Field = FieldOf({5000, 3000, 2000, 1000}, Ladder);
    seat.OneRow = true;
    seat.Seat = 4;
    BubbleRequest empty = seat;
    empty.Field.Stacks[1] = 0;
    empty.Seat = 1;
    BubbleRequest grid;
    grid.Field = FieldOf(std::vector<int64_t>(101, 1000), Ladder);
    EqualStacksRequest players;
    players.Players = (int64_t{1} << 53) + 1;
    players.Chips = 1000;
    players.Prizes = Ladder;
    const std::vector<RefusalRow> rows = {
        {"equity --stacks 0,0 --prizes 50,30",
         [] { return CheckEquityRequest(EquityOf(FieldOf({0, 0}, {50, 30}))); }, "no player in play: every stack is 0"},
        {"equity --stacks 5000,3000 --prizes 50,30 --threads 300", [threads] { return CheckEquityRequest(threads); },
         "--threads 300: not a thread count from 1 to 256"},
        {"", [misnamed] { return CheckEquityRequest(EquityOf(misnamed)); },
         "the names are 1 and the seats 3: give one name per seat, or none"},
        {"equity --stacks 5000,3000,2000 --prizes 50,30,20 --names Ann,Bo", [] {
             FieldInput field = FieldOf(Three, Ladder);
             return ReadNamesTyped("Ann,Bo", field);
         },
         "--names: 2 names for 3 stacks; give one for each seat, in seat order"},
        {"equity --stacks 5000,3000,2000 --prizes 50,30,20 --names Ann,Bo,Ann", [] {
             FieldInput field = FieldOf(Three, Ladder);
             return ReadNamesTyped("Ann,Bo,Ann", field);
         },
         "--names: name 3: \"Ann\" is given twice (also name 1)"},
        {"", [places] { return CheckEquityRequest(places); },
         "--places 2000000: not a number of places from 1 to 1000000"},
        {"deal --stacks 5000,3000,2000 --prizes 50,30,20 --keep 60", [keep] { return CheckDealRequest(keep); },
         "--keep: 60 is above the first prize"},
        {"", [negative] { return CheckDealRequest(negative); }, "--keep: \"-5\" is not an amount of 0 or more"},
        {"bubble --stacks 5000,3000,2000,1000 --prizes 50,30,20 --seat 5", [seat] { return CheckBubbleRequest(seat); },
         "--seat 5: not a seat number from 1 to 4"},
        {"bubble --stacks 5000,0,2000,1000 --prizes 50,30,20 --seat 2", [empty] { return CheckBubbleRequest(empty); },
         "--seat 2: no player in play in that seat"},
        {"", [grid] { return CheckBubbleRequest(grid); },
         "the whole bubble grid takes at most 100 players in play (--seat N gives one row of up to 1000); this "
         "field has 101"},
        {"bubble --players 9007199254740993 --chips 1000 --prizes 50,30,20",
         [players] { return CheckEqualStacksRequest(players); },
         "--players 9007199254740993: not a number of players up to 9007199254740992"},
    };
    ExpectRefusals(rows);
}

AllinRequest AllinOf(std::vector<std::string> ranges)
{
    AllinRequest request;
    request.Ranges = std::move(ranges);
    return request;
}

TEST(RequestChecks, Allin)
{
    AllinRequest both = AllinOf({"AA", "KK"});
    both.Exact = true;
    both.Samples = 100;
    AllinRequest seed = AllinOf({"AA", "KK"});
    seed.Seed = 3;
    AllinRequest one = AllinOf({"AA", "KK"});
    one.Samples = 1;
    AllinRequest board = AllinOf({"AA", "KK"});
    board.Board = "Qs9hZz";
    const std::vector<RefusalRow> rows = {
        {"allin AKo", [] { return CheckAllinRequest(AllinOf({"AKo"})); }, "an all-in needs at least 2 ranges"},
        {"allin \"AKo,22\"", [] { return CheckAllinRequest(AllinOf({"AKo,22"})); },
         "an all-in needs at least 2 ranges, and \"AKo,22\" is one: give each player's range as a word of its own "
         "(allin AKo 22) or put vs between them (allin AKo vs 22)"},
        {"allin AA KK QQ JJ TT 99 88", [] { return CheckAllinRequest(AllinOf({"AA", "KK", "QQ", "JJ", "TT", "99", "88"})); },
         "an all-in takes at most 6 players, not 7"},
        {"allin AA KK --exact --samples 100", [both] { return CheckAllinRequest(both); },
         "--exact enumerates every board and --samples draws some: give one of them"},
        {"allin AA KK --seed 3", [seed] { return CheckAllinRequest(seed); }, "--seed goes with --samples N"},
        {"allin AA KK --samples 1", [one] { return CheckAllinRequest(one); },
         "--samples 1: one showdown gives no estimate of the standard error; give at least 2"},
        {"allin AA KK --board Qs9hZz", [board] { return CheckAllinRequest(board); },
         "--board: \"Zz\" is not a card (a rank of 23456789TJQKA and a suit of cdhs, like As or Td)"},
        {"allin AA KX", [] { return CheckAllinRequest(AllinOf({"AA", "KX"})); },
         "range 2: \"KX\" is not a hand or range of hands (like TT+, 22-55, AKs, A2s+, T9s-T6s, KTo+, AhKh, random, "
         "15%, AKs:0.5)"},
    };
    ExpectRefusals(rows);
}

SpotRequest SpotOf(const char *hero)
{
    SpotRequest request;
    request.Table = TableOf(Three, Ladder, 0, 100, 200);
    if (hero != nullptr)
        request.Hero = hero;
    return request;
}

TEST(RequestChecks, Spot)
{
    SpotRequest call = SpotOf("BB");
    call.Action = SpotAction::Call;
    SpotRequest shover = SpotOf("BB");
    shover.Shover = "SB";
    SpotRequest overcall = SpotOf("BB");
    overcall.Action = SpotAction::Overcall;
    overcall.Shover = "BTN";
    SpotRequest caller = SpotOf("BB");
    caller.Caller = "SB";
    SpotRequest range = SpotOf("2");
    range.Ranges = {"3=QQ+,AX"};
    SpotRequest twice = SpotOf("2");
    twice.Ranges = {"3=QQ", "3=KK"};
    SpotRequest bare = SpotOf("2");
    bare.Ranges = {"3"};
    SpotRequest three = SpotOf("2");
    three.Hand = "AhKhQh";
    SpotRequest draws = SpotOf("2");
    draws.Draws = 0;
    const std::vector<RefusalRow> rows = {
        {"spot" + ThreeTable, [] { return CheckSpotRequest(SpotOf(nullptr)); },
         "no hero: give --hero SEAT, the seat deciding"},
        {"spot" + ThreeTable + " --hero 4", [] { return CheckSpotRequest(SpotOf("4")); },
         "--hero 4: the table has 3 seats"},
        {"spot" + ThreeTable + " --hero BB --action call", [call] { return CheckSpotRequest(call); },
         "--action call needs --shover SEAT"},
        {"spot" + ThreeTable + " --hero BB --shover SB", [shover] { return CheckSpotRequest(shover); },
         "--shover goes with --action call or overcall"},
        {"spot" + ThreeTable + " --hero BB --action overcall --shover BTN", [overcall] { return CheckSpotRequest(overcall); },
         "--action overcall needs --caller SEAT, who called the shove"},
        {"spot" + ThreeTable + " --hero BB --caller SB", [caller] { return CheckSpotRequest(caller); },
         "--caller goes with --action overcall"},
        {"spot" + ThreeTable + " --hero 2 --range 3=QQ+,AX", [range] { return CheckSpotRequest(range); },
         "--range 3=QQ+,AX: \"AX\" is not a hand or range of hands (like TT+, 22-55, AKs, A2s+, T9s-T6s, KTo+, AhKh, "
         "random, 15%, AKs:0.5)"},
        {"spot" + ThreeTable + " --hero 2 --range 3=QQ --range 3=KK", [twice] { return CheckSpotRequest(twice); },
         "--range: seat 3 (BB) is given twice"},
        {"spot" + ThreeTable + " --hero 2 --range 3", [bare] { return CheckSpotRequest(bare); },
         "--range 3: give SEAT=RANGE"},
        {"spot" + ThreeTable + " --hero 2 --hand AhKhQh", [three] { return CheckSpotRequest(three); },
         "--hand AhKhQh: a hand is two cards, e.g. AhKd"},
        {"spot" + ThreeTable + " --hero 2 --draws 0", [draws] { return CheckSpotRequest(draws); },
         "--draws 0: not a number of showdowns from 1 to 10000000"},
    };
    ExpectRefusals(rows);
}

TEST(RequestChecks, Nash)
{
    NashRequest eleven;
    eleven.Table = TableOf(std::vector<int64_t>(11, 1), Ladder, 0, 0, 0);
    NashRequest hours;
    hours.Table = TableOf({2000, 1500, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000}, Ladder, 0, 50, 100);
    hours.Draws = 1000000;
    NashRequest draws;
    draws.Table = TableOf({2000, 1500}, {50, 30}, 0, 50, 100);
    draws.Draws = 0;
    NashRequest rounds = draws;
    rounds.Draws = 2400;
    rounds.MaxIterations = 0;
    NashRequest tolerance = rounds;
    tolerance.MaxIterations = 100;
    tolerance.Tolerance = -0.5;
    const std::vector<RefusalRow> rows = {
        {"nash --stacks 1,1,1,1,1,1,1,1,1,1,1 --prizes 50,30,20 --button 1 --blinds 0,0",
         [eleven] { return CheckNashRequest(eleven); },
         "nash takes tables of at most 10 players, not 11: its work grows with the fourth power of the players"},
        {"nash --stacks 2000,1500,1000,1000,1000,1000,1000,1000,1000,1000 --prizes 50,30,20 --button 1 --blinds "
         "50,100 --draws 1000000",
         [hours] { return CheckNashRequest(hours); },
         "nash would take about 40 minutes on 10 players with --draws 1000000, over the limit of 10 minutes; "
         "--draws 251431 or fewer fits"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --draws 0",
         [draws] { return CheckNashRequest(draws); }, "--draws 0: not a number of showdowns from 1 to 1000000"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --max-iterations 0",
         [rounds] { return CheckNashRequest(rounds); },
         "--max-iterations 0: not a number of iterations from 1 to 1000000000"},
        {"nash --stacks 2000,1500 --prizes 50,30 --button 1 --blinds 50,100 --tolerance -0.5",
         [tolerance] { return CheckNashRequest(tolerance); }, "--tolerance -0.5: give a number above 0, e.g. 0.05"},
    };
    ExpectRefusals(rows);
}

// The bounty options as typed, read by the layer as the command reads them:
// each amount refused in the command's words before the bounties are judged.
BountyTyped BountiesTyped(const char *onHead)
{
    BountyTyped typed;
    typed.OnHead = onHead;
    return typed;
}

Status ReadBounties(const BountyTyped &typed)
{
    BountyInput input;
    return ReadBountyTyped(typed, input);
}

TEST(RequestChecks, BountyOptionsAsTyped)
{
    const std::string table = "spot" + ThreeTable + " --hero 2 --bounties 10,10,10";
    BountyTyped others = BountiesTyped("10,10,10");
    others.Others = "5,-1";
    BountyTyped pool = BountiesTyped("10,10,10");
    pool.Pool = "lots";
    BountyTyped share = BountiesTyped("10,10,10");
    share.Share = "1.5";
    BountyTyped word = BountiesTyped("10,10,10");
    word.Share = "half";
    BountyTyped rate = BountiesTyped("10,10,10");
    rate.ChipsPerUnit = "0";
    const std::string notAmount = " is not an amount (digits, optionally with a decimal point: 25 or 12.50)";
    const std::string shareWords = ": the share of a bounty paid in cash is 0 to 1 (1 a knockout, 0.5 the usual "
                                   "progressive knockout)";
    const std::vector<RefusalRow> rows = {
        {"spot" + ThreeTable + " --hero 2 --bounties 10,x,10", [] { return ReadBounties(BountiesTyped("10,x,10")); },
         "--bounties: bounty 2: \"x\"" + notAmount},
        {"equity --stacks 5000,3000,2000 --prizes 50,30,20 --bounties 1e999,1,1",
         [] { return ReadBounties(BountiesTyped("1e999,1,1")); }, "--bounties: bounty 1: \"1e999\"" + notAmount},
        {table + " --others-bounties=5,-1", [others] { return ReadBounties(others); },
         "--others-bounties: bounty 2: \"-1\" is negative; a bounty is 0 or more"},
        {table + " --bounty-pool lots", [pool] { return ReadBounties(pool); }, "--bounty-pool: \"lots\"" + notAmount},
        {table + " --bounty-share 1.5", [share] { return ReadBounties(share); }, "--bounty-share 1.5" + shareWords},
        {table + " --bounty-share half", [word] { return ReadBounties(word); }, "--bounty-share half" + shareWords},
        {table + " --chips-per-unit 0", [rate] { return ReadBounties(rate); },
         "--chips-per-unit 0: the chips a unit of bounty money is worth is a number above 0"},
    };
    ExpectRefusals(rows);
}

// Every option given is read to its amounts; those not given keep the
// defaults (a knockout, no rate, no pool).
TEST(RequestChecks, BountyOptionsRead)
{
    BountyTyped typed = BountiesTyped("10, 12.50,0");
    typed.Others = "7.25";
    typed.Pool = "60";
    typed.Share = "0.5";
    typed.ChipsPerUnit = "12.5";
    BountyInput input;
    ASSERT_TRUE(ReadBountyTyped(typed, input).Ok);
    EXPECT_EQ((std::vector<double>{10.0, 12.5, 0.0}), input.OnHead);
    EXPECT_EQ(std::vector<double>{7.25}, input.Others);
    EXPECT_EQ(std::optional<double>(60.0), input.Pool);
    EXPECT_EQ(0.5, input.Share);
    EXPECT_EQ(std::optional<double>(12.5), input.ChipsPerUnit);

    input.Share = 0.25; // read again: what is not typed is the default
    ASSERT_TRUE(ReadBountyTyped(BountiesTyped("5"), input).Ok);
    EXPECT_EQ(std::vector<double>{5.0}, input.OnHead);
    EXPECT_TRUE(input.Others.empty());
    EXPECT_FALSE(input.Pool.has_value());
    EXPECT_EQ(1.0, input.Share);
    EXPECT_FALSE(input.ChipsPerUnit.has_value());
}

} // namespace

namespace
{

// The names a front end passes read back to themselves; any other is refused.
TEST(RequestChecks, MethodAndFormatNames)
{
    for (const char *name : {"auto", "plain", "subsets", "quadrature"})
    {
        ostrel::Method method = ostrel::Method::Quadrature;
        EXPECT_TRUE(ostrel::MethodNamed(name, method)) << name;
        EXPECT_STREQ(name, ostrel::MethodName(method));
    }
    const struct
    {
        const char *Name;
        ostrel::Format Named;
    } formats[] = {{"table", ostrel::Format::Table}, {"csv", ostrel::Format::Csv},
                   {"json", ostrel::Format::Json}, {"svg", ostrel::Format::Svg}};
    for (const auto &row : formats)
    {
        ostrel::Format format = ostrel::Format::Table;
        EXPECT_TRUE(ostrel::FormatNamed(row.Name, format)) << row.Name;
        EXPECT_EQ(row.Named, format) << row.Name;
    }
    for (const char *other : {"", "Plain", "fast", "JSON", "xml"})
    {
        ostrel::Method method = ostrel::Method::Subsets;
        ostrel::Format format = ostrel::Format::Csv;
        EXPECT_FALSE(ostrel::MethodNamed(other, method)) << other;
        EXPECT_FALSE(ostrel::FormatNamed(other, format)) << other;
        EXPECT_EQ(ostrel::Method::Subsets, method);
        EXPECT_EQ(ostrel::Format::Csv, format);
    }
}

} // namespace
